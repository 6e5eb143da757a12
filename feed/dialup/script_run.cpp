// Running a dialogue script: finding and opening its file, the exit
// dialogue after a failed or unfinished script, the script-error exit of the
// commands, and the filter that shapes the received text into trace lines
// while a script runs.

#include <dlfcn.h>

#include <memory>
#include <string>

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/params.h"
#include "feed/dialup/paths.h"
#include "feed/dialup/script.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

constexpr std::size_t kTraceWidth = 77;

MessageCallback g_outer_callback = nullptr;
std::string g_received_line;

int Pass(int channel, std::string_view text, int code) {
    return g_outer_callback ? g_outer_callback(channel, text, code) : 0;
}

void FlushReceivedLine() {
    if (g_received_line.empty()) return;
    const std::string line = g_received_line + "\n";
    g_received_line.clear();
    Pass(kChannelReceiveTrace, line, 0);
}

// The message callback while a script runs: received text (channel 5) is
// gathered into lines of printable characters, passed on at a LF or when a
// line grows past 77 characters; any other message (but the script echo)
// first passes on the line gathered so far.
int ScriptOutput(int channel, std::string_view text, int code) {
    if (channel != kChannelReceiveTrace) {
        if (channel != kChannelScriptEcho) FlushReceivedLine();
        return Pass(channel, text, code);
    }
    for (const char c : text) {
        if (c == '\n') {
            FlushReceivedLine();
            continue;
        }
        if (static_cast<unsigned char>(c) < 32 || c == 127) continue;
        g_received_line += c;
        if (g_received_line.size() > kTraceWidth) FlushReceivedLine();
    }
    return channel;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The directory of this library (the program's, when the routines are
// linked into it), where the shipped dialogue script lies.
std::string LibraryDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&md_run_script), &info) == 0 || !info.dli_fname) return {};
    return BesideFile(info.dli_fname, "");
}

// Opens a script as named, beside the parameter file, or else the copy of
// that name shipped beside the library.
std::FILE* OpenScript(std::string_view name) {
    if (std::FILE* f = md_open_in_dirs(name, "rb")) return f;
    const std::string dir = LibraryDirectory();
    if (dir.empty()) return nullptr;
    const std::string path = HostPath(name);
    const std::size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return std::fopen((dir + base).c_str(), "rb");
}

// Runs one file at the top level with a fresh label table. kExecEnd,
// kExecExit or kExecError (also when the file does not open).
long RunFile(std::string_view name) {
    ScriptState& s = Script();
    std::unique_ptr<std::FILE, FileCloser> file(OpenScript(name));
    if (!file) {
        md_report_error(kErrScriptOpen, name);
        return kExecError;
    }
    s.file = file.get();
    s.file_name = name;
    s.labels.clear();
    s.jump = {};
    const long outcome = md_exec_script(kBlockTop, 0);
    s.file = nullptr;
    return outcome;
}

}  // namespace

ScriptState& Script() {
    static ScriptState state;
    return state;
}

int md_run_script(std::string_view name) {
    ScriptState& s = Script();
    const ScopedEscapes escapes(true);
    // Each run starts with an empty return stack: a script that ended inside
    // a subroutine must not leave its return positions to the next one.
    s.return_stack.clear();
    s.received.clear();
    g_received_line.clear();
    g_outer_callback = md_set_message_callback(ScriptOutput);

    long outcome = RunFile(name);
    const std::string exit_dialog = md_get_var("%EXIT_DIALOG");
    if ((outcome == kExecEnd || outcome == kExecError) && !md_get_var("%ON").empty() &&
        !exit_dialog.empty()) {
        const int saved = ErrorCell();
        ErrorCell() = 0;
        s.return_stack.clear();
        RunFile(exit_dialog);
        ErrorCell() = saved;
    }
    const int code = ErrorCell();

    FlushReceivedLine();
    s.received.clear();
    s.labels.clear();
    s.jump = {};
    if (md_get_var("%KEEP").empty()) md_clear_vars();
    md_set_message_callback(g_outer_callback);
    g_outer_callback = nullptr;
    if (outcome == kExecEnd || outcome == kExecExit) return 0;
    return code != 0 ? code : kErrScriptOpen;
}

int md_script_error(int code) {
    md_report_error(code);
    if (code >= kErrScriptExit) Script().received.clear();
    md_close_port();
    ErrorCell() = code;
    return code;
}

}  // namespace feed
