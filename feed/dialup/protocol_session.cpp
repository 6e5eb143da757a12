// The data-feed session: its start (the parameter file, then the dialogue
// script that opens the port, dials and logs in) and its end (the closing
// exchange with the server, the exit dialogue, the port closed).

#include <charconv>
#include <string>

#include "feed/dialup/block_codec.h"
#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/params.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/script.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/variables.h"

namespace feed {
namespace {

constexpr std::int64_t kIdleMs = 3600 * 1000;
constexpr std::int64_t kCloseTurnaroundMs = 3 * 1000;
constexpr std::int64_t kCloseIdleMs = 80 * 1000;
constexpr int kDefaultTquiet = 40;

int TquietSetting() {
    const std::string text = md_get_var("%tquiet");
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return kDefaultTquiet;
    return value;
}

bool ReadParams(std::string_view path) {
    const ScopedEscapes no_escapes(false);
    return md_read_params(path);
}

}  // namespace

int md_session_open(std::string_view params_path) {
    ProtocolState& p = Protocol();
    if (p.open) return md_report_error(kErrPortOpen);
    p = ProtocolState();
    p.idle_ms = ProtocolNowMs() + kIdleMs;
    md_close_port();
    ErrorCell() = 0;
    if (ReadParams(md_params_path(params_path))) {
        md_send_message(kChannelTraceControl, md_get_var("%trace_control"));
        p.tquiet = TquietSetting();
        const std::string script = md_get_var("%active_file");
        if (!script.empty()) md_run_script(script);
    }
    p.turnaround_mark = ProtocolState::Mark::kFresh;
    p.injected = -1;
    const int code = ErrorCell();
    if (code != 0) {
        md_close_port();
        ErrorCell() = code;
        return code;
    }
    p.open = true;
    md_set_carrier_watch(true);
    return 0;
}

int md_session_close(int reason) {
    ProtocolState& p = Protocol();
    // A hang-up that arrives while the close exchange waits on the line (the
    // waits run the caller's handlers and timers) leaves it to finish.
    if (p.closing) return 0;
    const std::string closing = std::string{kMarker, kEot} + std::to_string(reason);
    p.closing = true;
    p.turnaround_mark = ProtocolState::Mark::kNone;
    p.turnaround_ms = ProtocolNowMs() + kCloseTurnaroundMs;
    p.idle_ms = ProtocolNowMs() + kCloseIdleMs;
    int result = 0;
    const int cell = ErrorCell() != 0 ? ErrorCell() : p.line_fault;
    if (cell == kErrRetries || cell == kErrCarrierLost || cell == kErrNoAnswer || cell == kErrReadFailed) {
        // The line is no longer fit for an exchange.
        result = cell;
    } else if (cell == kErrServerEnded || cell == kErrIdle) {
        result = 0;
    } else if (!p.open) {
        result = md_report_error(kErrNoOpenSession);
    } else {
        result = md_wait_line_ready();
        if (result == 0) result = md_send_data(closing, 0);
        if (result == 0) result = md_send_data(closing, -1);
    }
    p.closing = false;
    p.open = false;
    md_set_carrier_watch(false);
    if (result == 0 && md_get_var("%PORT").empty()) result = ReadParams(md_get_var("%!CFN")) ? 0 : 1;
    const std::string exit_dialog = md_get_var("%EXIT_DIALOG");
    SetVarElements("%ACTIVE_FILE",
                   exit_dialog.empty() ? std::vector<std::string>{} : std::vector<std::string>{exit_dialog});
    if (ErrorCell() == 0) md_send_message(kChannelTraceControl, md_get_var("%trace_control"));
    md_clear_vars("%KEEP");
    if (result == 0 && !exit_dialog.empty()) result = md_run_script(exit_dialog);
    md_close_port();
    return result;
}

}  // namespace feed
