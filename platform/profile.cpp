#include "platform/profile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace platform {
namespace {

std::string_view Trim(std::string_view s) {
    const auto not_blank = [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; };
    while (!s.empty() && !not_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && !not_blank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// One line of a profile as found in the file, without its line end.
struct Line {
    std::string text;
};

struct Profile {
    std::vector<Line> lines;
    std::string eol = "\n";  // kept from the file, so a CR LF file stays CR LF
    bool ends_with_eol = true;
};

std::optional<Profile> Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string all = buffer.str();
    Profile p;
    p.ends_with_eol = all.empty() || all.back() == '\n';
    std::size_t start = 0;
    bool first = true;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::string text = all.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
            if (first) p.eol = "\r\n";
        }
        first = false;
        p.lines.push_back({std::move(text)});
        start = end + 1;
    }
    return p;
}

bool IsComment(std::string_view t) {
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// The section name of a header line, or nothing.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// Key and value of a "key=value" line, or nothing.
std::optional<std::pair<std::string_view, std::string_view>> EntryOf(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty() || IsComment(t) || SectionOf(t)) return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::make_pair(Trim(t.substr(0, eq)), Trim(t.substr(eq + 1)));
}

// Line range [begin, end) of the body of the first section with this name;
// begin is the header's index + 1. Nothing when there is no such section.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const Profile& p, std::string_view section) {
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
        const auto name = SectionOf(p.lines[i].text);
        if (!name || !SameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < p.lines.size() && !SectionOf(p.lines[end].text)) ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const Profile& p, std::pair<std::size_t, std::size_t> range,
                                   std::string_view key) {
    for (std::size_t i = range.first; i < range.second; ++i) {
        const auto entry = EntryOf(p.lines[i].text);
        if (entry && SameName(entry->first, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> Lookup(std::string_view section, std::string_view key, std::string_view file) {
    const auto p = Load(ProfilePath(file));
    if (!p) return std::nullopt;
    const auto range = FindSection(*p, section);
    if (!range) return std::nullopt;
    const auto at = FindKey(*p, *range, key);
    if (!at) return std::nullopt;
    return std::string(EntryOf(p->lines[*at].text)->second);
}

bool Save(const std::filesystem::path& path, const Profile& p) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::filesystem::path temp = path;
    temp += ".new" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (std::size_t i = 0; i < p.lines.size(); ++i) {
            out << p.lines[i].text;
            if (i + 1 < p.lines.size() || p.ends_with_eol) out << p.eol;
        }
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace

std::filesystem::path ProfileDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return std::filesystem::path(xdg) / "ledra";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".config" / "ledra";
}

std::filesystem::path ProfilePath(std::string_view file) {
    if (file.find('/') != std::string_view::npos) return std::filesystem::path(file);
    return ProfileDirectory() / std::filesystem::path(file);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::string_view file) {
    if (auto value = Lookup(section, key, file)) return *value;
    return std::string(Trim(default_value));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         std::string_view file) {
    const auto value = Lookup(section, key, file);
    if (!value) return default_value;
    std::string_view v = *value;
    bool negative = false;
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    long long n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = std::min<long long>(n * 10 + (c - '0'), 0x7FFFFFFF);
    }
    return negative ? 0 : static_cast<int>(n);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view file) {
    const std::filesystem::path path = ProfilePath(file);
    Profile p = Load(path).value_or(Profile{});
    const std::string new_value(Trim(value));
    if (const auto range = FindSection(p, section)) {
        if (const auto at = FindKey(p, *range, key)) {
            // Keep the key's own spelling and indentation; replace the value.
            std::string& text = p.lines[*at].text;
            const std::size_t eq = text.find('=');
            std::string head = text.substr(0, eq);
            while (!head.empty() && (head.back() == ' ' || head.back() == '\t')) head.pop_back();
            text = head + "=" + new_value;
        } else {
            // After the section's last line that is not blank.
            std::size_t insert = range->first;
            for (std::size_t i = range->first; i < range->second; ++i)
                if (!Trim(p.lines[i].text).empty()) insert = i + 1;
            p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(insert),
                           Line{std::string(key) + "=" + new_value});
        }
    } else {
        if (!p.lines.empty() && !Trim(p.lines.back().text).empty()) p.lines.push_back({""});
        p.lines.push_back({"[" + std::string(section) + "]"});
        p.lines.push_back({std::string(key) + "=" + new_value});
        p.ends_with_eol = true;
    }
    return Save(path, p);
}

}  // namespace platform
