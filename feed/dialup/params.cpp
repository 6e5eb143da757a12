#include "feed/dialup/params.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/paths.h"
#include "feed/dialup/scramble.h"
#include "feed/dialup/session.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

using Row = SettingRow;

constexpr std::array<Row, 10> kCallTable = {{
    {"call set", "%call_name", true, Row::kDefaulted, "standard"},
    {"call type", "%call_type", true, Row::kDefaulted, "dialup"},
    {"call dialog", "%active_file", true, Row::kDefaulted, "dialup.dlg"},
    {"remote user", "%remote_user", false, Row::kScrambled, nullptr},
    {"remote password", "%remote_password", false, Row::kScrambled, nullptr},
    {"trace control", "%trace_control", true, Row::kDefaulted, "-default"},
    {"exit dialog file", "%exit_dialog", true, Row::kOptional, nullptr},
    {"turnaround timer", "%tquiet", true, Row::kDefaulted, "40"},
    {"Home Dir", "%homedir", true, Row::kDefaulted, nullptr},
    {"System", "%system", true, Row::kDefaulted, "q4std"},
}};

constexpr std::array<Row, 7> kPortTable = {{
    {"line speed", "%line_speed", false, Row::kDefaulted, "2400"},
    {"port", "%port", false, Row::kDefaulted, ""},
    {"telephone number", "%telephone_number", false, Row::kDefaulted, "none"},
    {"modem setup", "%modem_setup", true, Row::kDefaulted, "ATZ"},
    {"modem reset", "%reset", true, Row::kDefaulted, "Yes"},
    {"network", "%pdn", false, Row::kDefaulted, "Pelnet"},
    {"control line", "%cline", true, Row::kDefaulted, "DCD"},
}};

// Lines are read in pieces of at most this many characters, as a fixed line
// buffer would; the rest of a longer line is read as the next line.
constexpr std::size_t kLineLimit = 249;
// A name that would grow to this length drops the word that makes it so.
constexpr std::size_t kNameLimit = 58;

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const Row* FindRow(std::string_view name) {
    for (const Row& r : kCallTable)
        if (EqualNoCase(r.setting, name)) return &r;
    for (const Row& r : kPortTable)
        if (EqualNoCase(r.setting, name)) return &r;
    return nullptr;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c;
    while (line.size() < kLineLimit && (c = std::fgetc(file)) != EOF) {
        line += static_cast<char>(c);
        if (c == '\n') break;
    }
    return !line.empty();
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The name part of a line: its words joined by single blanks. `stopped` is
// set when a word beginning with "#" or "[" ended it.
std::string NamePart(std::string_view part, bool& stopped) {
    std::string name;
    stopped = false;
    std::size_t pos = 0;
    while (pos < part.size()) {
        while (pos < part.size() && IsBlank(part[pos])) ++pos;
        if (pos >= part.size()) break;
        std::size_t end = pos;
        while (end < part.size() && !IsBlank(part[end])) ++end;
        const std::string_view word = part.substr(pos, end - pos);
        pos = end;
        if (word.front() == '#' || word.front() == '[') {
            stopped = true;
            break;
        }
        const std::size_t grown = name.size() + (name.empty() ? 0 : 1) + word.size();
        if (grown >= kNameLimit) continue;
        if (!name.empty()) name += ' ';
        name += word;
    }
    return name;
}

std::string SelectedCallSet() {
    const char* env = std::getenv("CALLSET");
    if (env) return env;
    return kCallTable[0].default_text;
}

}  // namespace

std::span<const SettingRow> CallTable() {
    return kCallTable;
}
std::span<const SettingRow> PortTable() {
    return kPortTable;
}

std::string md_params_path(std::string_view default_path) {
    const char* env = std::getenv("CALLSFILE");
    return env ? std::string(env) : std::string(default_path);
}

bool md_read_params(std::string_view path) {
    SetVarElements("%!CFN", {std::string(path)});
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(HostPath(path).c_str(), "r"));
    if (!file) {
        md_report_error(kErrParamsOpen, path);
        return false;
    }
    const ScopedEscapes no_escapes(false);
    md_set_var("%call_name", SelectedCallSet());
    const std::string call_name = md_get_var("%call_name");

    std::string line;
    std::string detail;
    int line_number = 0;
    bool in_selected_set = false;
    bool taken = false;
    bool failed = false;
    while (ReadLine(file.get(), line)) {
        ++line_number;
        const std::size_t equals = line.find('=');
        bool stopped = false;
        const std::string name =
            NamePart(std::string_view(line).substr(0, std::min(equals, line.size())), stopped);
        if (name.empty()) continue;
        if (equals == std::string::npos || stopped) {
            detail = "Missing '=' in '" + std::string(path) + "' on line " + std::to_string(line_number);
            failed = true;
            break;
        }
        const Row* row = FindRow(name);
        if (!row) continue;
        const std::string_view value = std::string_view(line).substr(equals + 1);
        bool parsed = true;
        if (row == &kCallTable[0]) {
            parsed = md_set_var("%_TEMP", value);
            const auto elements = GetVarElements("%_TEMP");
            if (parsed && elements && elements->size() > 1) parsed = false;
            if (parsed) in_selected_set = EqualNoCase(md_get_var("%_TEMP"), call_name);
        } else if (in_selected_set) {
            parsed = md_set_var(row->variable, value);
            taken = taken || parsed;
        }
        if (!parsed) {
            detail =
                "Syntax error in '" + std::string(path) + "' on line '" + std::to_string(line_number) + "'";
            failed = true;
            break;
        }
    }
    file.reset();
    if (failed) {
        md_report_error(kErrParamsSyntax, detail);
        return false;
    }
    if (!taken) {
        md_report_error(kErrCallSetMissing);
        return false;
    }
    if (md_check_settings(kCallTable) != 0) return false;
    return md_check_settings(kPortTable) == 0;
}

int md_check_settings(std::span<const SettingRow> table) {
    for (const Row& row : table) {
        std::optional<std::vector<std::string>> value = GetVarElements(row.variable);
        if (value && !value->empty()) {
            if (row.single && value->size() > 1) return md_report_error(kErrSettingSingle, row.setting);
            if (row.kind == Row::kScrambled) {
                md_unscramble_value(*value);
                SetVarElements(row.variable, std::move(*value));
            }
            continue;
        }
        if (row.kind == Row::kRequired) return md_report_error(kErrSettingRequired, row.setting);
        if (row.kind == Row::kDefaulted && row.default_text) {
            const ScopedEscapes no_escapes(false);
            if (!md_set_var(row.variable, row.default_text)) return md_report_error(kErrDefaultFailed);
        }
    }
    return 0;
}

int md_check_port(std::string_view path) {
    const std::string params = md_params_path(path);
    const ScopedEscapes no_escapes(false);
    if (md_read_params(params)) md_session().ProbePort();
    return 0;
}

std::FILE* md_open_in_dirs(std::string_view name, const char* mode) {
    if (std::FILE* f = std::fopen(HostPath(name).c_str(), mode)) return f;
    const std::string beside = BesideFile(md_get_var("%!CFN"), name);
    if (beside.empty()) return nullptr;
    return std::fopen(HostPath(beside).c_str(), mode);
}

}  // namespace feed
