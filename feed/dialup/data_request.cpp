#include "feed/dialup/data_request.h"

#include <cctype>
#include <exception>
#include <string>

#include "feed/dialup/connection.h"
#include "feed/dialup/delivery.h"
#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/options.h"
#include "feed/dialup/paths.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/request_files.h"
#include "feed/dialup/request_line.h"
#include "feed/dialup/script.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/state.h"
#include "feed/dialup/variables.h"
#include "platform/profile.h"

namespace feed {
namespace {

constexpr int kErrFile = -220;

bool IsLineSpace(char c) {
    return c == '\r' || c == '\n' || c == ' ';
}

// The whole INPUT file as text; a NUL ends the text as it would a request.
bool ReadInputFile(std::string& text) {
    FileSlot& input = State().options.input;
    if (!md_open_file(input, input.name, kOpenRead)) return false;
    const long long length = md_file_length(input.file);
    try {
        text.assign(static_cast<std::size_t>(length), '\0');
    } catch (const std::exception&) {  // no memory for a file of that size
        md_report_error(kErrNoMemory);
        return false;
    }
    const std::size_t read = std::fread(text.data(), 1, text.size(), input.file);
    const bool failed = std::ferror(input.file) != 0;
    std::fclose(input.file);
    input.file = nullptr;
    if (failed) {
        md_report_error(kErrFile, input.name);
        return false;
    }
    text.resize(read);
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return true;
}

// Ends the working part of a call: a hang-up asked for while it ran is
// carried out now that the session can be closed.
void EndBusy() {
    State().request.busy = false;
    if (State().request.hangup_pending) md_hangup();
}

int FailCall() {
    md_close_files();
    EndBusy();
    return 0;
}

}  // namespace

int DataRequest(platform::WindowHandle caller, const char* request_text, char* option_text) {
    RequestState& request = State().request;
    OptionState& options = State().options;
    ErrorCell() = 0;
    request.caller = caller;
    const std::string requested = request_text ? request_text : "";
    // File names are taken from the options as the caller wrote them; the
    // caller's buffer is still upper-cased, as callers expect.
    const std::string given = option_text ? option_text : "";
    if (requested.empty() && given.empty()) {
        md_report_error(kErrNothingToDo);
        return 0;
    }
    if (option_text)
        for (char* c = option_text; *c; ++c)
            *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));

    if (HasOptionWord(given, "HANGUP")) {
        request.hangup_pending = true;
        request.connect_requested = false;
        return request.in_line ? md_cancel_request() : md_hangup();
    }
    if (HasOptionWord(given, "CANCEL")) return request.in_line ? md_cancel_request() : 0;
    if (request.busy) {
        md_report_error(kErrBusy);
        return 0;
    }
    if (!given.empty() && md_parse_options(given) != 0) return 0;

    request.busy = true;
    const bool request_call = !requested.empty();
    if (request_call) request.connect_requested = true;
    if (!options.log.name.empty() && !options.log.file &&
        !md_open_file(options.log, options.log.name, kOpenAppend)) {
        EndBusy();
        return 0;
    }
    if (!options.output.name.empty() && !options.output.file &&
        !md_open_file(options.output, options.output.name, kOpenAppend)) {
        EndBusy();
        return 0;
    }
    std::string text = requested;
    if (!request_call && !options.input.name.empty() && !ReadInputFile(text)) return FailCall();
    if (request.connect_requested && !State().connection.connected && !md_connect()) return FailCall();
    std::size_t pos = 0;
    while (pos < text.size() && IsLineSpace(text[pos])) ++pos;
    if (pos >= text.size()) {
        // Nothing to send (blank lines count as nothing): LOG and OUTPUT
        // stay open for the next call.
        EndBusy();
        return 1;
    }
    while (pos < text.size()) {
        if (request.hangup_pending) {
            request.run = 0;
            break;
        }
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        end = std::min(end, pos + kRequestLineLimit);
        const std::string line = text.substr(pos, end - pos);
        pos = end;
        if (!md_send_request_line(line)) {
            request.run = 0;
            break;
        }
        while (pos < text.size() && IsLineSpace(text[pos])) ++pos;
        if (!request.run) break;
    }
    request.busy = false;
    if (!request_call && request.run) md_send_message(kChannelStatus, "Batch processing complete");
    if (request.hangup_pending) md_hangup();
    md_close_files();
    return request.run;
}

void md_dll_main() {
    md_set_message_callback(md_deliver);
    const std::string home_dir = platform::GetPrivateProfileString("config", "home_dir", "", "VEXA.INI");
    State().request.params_path = JoinHomeDir(home_dir, "qordata.par");
}

void ResetLibraryForTesting() {
    ReleaseConnectionWindows();
    md_close_files();
    md_port_init();
    Protocol() = ProtocolState();
    Script() = ScriptState();
    CharacterDelay() = 0;
    State() = LibraryState();
    md_dll_main();
    md_clear_vars();
    SetVarElements("%!CFN", {});
    ErrorCell() = 0;
    md_take_error_detail();
    SetEscapes(true);
    SavedNonFatalError() = 0;
}

}  // namespace feed
