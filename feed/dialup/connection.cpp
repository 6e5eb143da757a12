#include "feed/dialup/connection.h"

#include <memory>

#include "feed/dialup/data_request.h"
#include "feed/dialup/inactivity_dialog.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/params.h"
#include "feed/dialup/request_files.h"
#include "feed/dialup/request_line.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"
#include "platform/feedback.h"
#include "platform/message_box.h"
#include "platform/plain_window.h"
#include "platform/timer.h"

namespace feed {
namespace {

constexpr const char* kStatusTitle = "ORLIN DataServer";
constexpr const char* kTimerFailure =
    "Too many clocks or timers are already running.\n Click OK to continue without a time out check or\n"
    "Click CANCEL to hangup";

// The status window: disabled, at 0,0 with no size, shown only minimised as
// the line's icon. Its timer ticks go to the idle procedure, never to itself.
class StatusWindow : public platform::PlainWindow {
public:
    void Make() {
        // Without a screen the window is a bare handle: records and timers
        // still work.
        if (!Create(kStatusTitle)) AttachHandleOnly();
        EnableWindow(false);
        MoveWindow(0, 0, 0, 0);
    }
    void OnTimer(unsigned) override {}
};

std::unique_ptr<StatusWindow>& TheStatusWindow() {
    static std::unique_ptr<StatusWindow> window;
    return window;
}

void CreateStatusWindow() {
    auto& window = TheStatusWindow();
    if (window && window->IsWindow()) window->DestroyWindow();
    window = std::make_unique<StatusWindow>();
    window->Make();
}

void DestroyStatusWindow() {
    auto& window = TheStatusWindow();
    if (window) window->DestroyWindow();
    window.reset();
    State().connection.icon = 0;
}

platform::Picture IconPicture(int icon) {
    switch (icon) {
        case kIconDialling:
            return platform::Picture::LineDialling;
        case kIconConnected:
            return platform::Picture::LineUp;
        default:
            return platform::Picture::LineDown;
    }
}

}  // namespace

platform::WindowHandle StatusWindowHandle() {
    const auto& window = TheStatusWindow();
    return window ? window->GetSafeHwnd() : 0;
}

bool StatusWindowVisible() {
    const auto& window = TheStatusWindow();
    return window && window->IsWindowVisible();
}

void md_set_icon(int icon) {
    auto& window = TheStatusWindow();
    if (!State().options.icons || !window || !window->IsWindow()) return;
    window->SetIcon(IconPicture(icon));
    window->ShowWindow(platform::SW_HIDE);
    window->ShowWindow(platform::SW_SHOWMINNOACTIVE);
    State().connection.icon = icon;
}

bool StartIdleTimer() {
    return platform::SetTimer(StatusWindowHandle(), kIdleTimer, kIdleTickMs,
                              [](platform::WindowHandle, unsigned) { md_idle_timer_proc(); }) != 0;
}

bool ContinueWithoutTimer() {
    return platform::MessageBox(kTimerFailure, kStatusTitle,
                                platform::MB_OKCANCEL | platform::MB_ICONEXCLAMATION,
                                State().request.caller) == platform::IDOK;
}

int md_connect() {
    ConnectionState& connection = State().connection;
    if (connection.connected) return 1;
    if (connection.connecting) return 0;
    CreateStatusWindow();
    md_set_icon(kIconNotConnected);
    connection.connecting = true;
    connection.hung_up_while_connecting = false;
    connection.idle_counter = 0;
    // The greeting is read like an answer and stops on a cleared run flag;
    // a flag left cleared by an earlier cancel must not fail it.
    State().request.run = 1;
    md_check_port(State().request.params_path);
    md_set_icon(kIconDialling);
    const int opened = md_session().Open(State().request.params_path);
    if (opened != 0 || connection.hung_up_while_connecting) {
        // A hang-up while dialling dropped the port; a session that opened
        // all the same is closed again.
        if (opened == 0) md_session().Close(kHangupReason);
        DestroyStatusWindow();
        connection.connecting = connection.connected = false;
        return 0;
    }
    connection.connected = true;
    connection.connecting = false;
    if (!md_read_response()) {
        // Without its greeting the line is of no use: close the session
        // rather than leave it marked connected.
        md_session().Close(kHangupReason);
        connection.connected = false;
        DestroyStatusWindow();
        return 0;
    }
    md_send_message(kChannelStatus, std::string(State().request.response));
    md_set_icon(kIconConnected);
    if (State().options.idle_check == 0) return 1;
    if (!StartIdleTimer()) {
        if (ContinueWithoutTimer()) return 1;
        char hangup[] = "HANGUP";
        DataRequest(State().request.caller, "", hangup);
        return 0;
    }
    return 1;
}

int md_hangup() {
    ConnectionState& connection = State().connection;
    RequestState& request = State().request;
    if (connection.connected && request.busy) {
        // A call is running on the line: stop it; it hangs up as it ends,
        // when the session can be closed.
        request.hangup_pending = true;
        request.run = 0;
        return 1;
    }
    md_set_icon(kIconNotConnected);
    if (connection.connecting) {
        md_send_message(kChannelStatus, "Closing connection . . .");
        md_session().HangupPort();
        connection.hung_up_while_connecting = true;
    } else if (connection.connected) {
        md_session().Close(kHangupReason);
    }
    connection.connected = false;
    request.hangup_pending = false;
    md_close_files();
    CloseInactivityDialog();
    DestroyStatusWindow();
    return 1;
}

int md_cancel_request() {
    md_send_message(kChannelStatus, "Cancelling request . . .");
    State().request.run = 0;
    return 1;
}

void md_idle_timer_proc() {
    ConnectionState& connection = State().connection;
    const OptionState& options = State().options;
    if (State().request.busy) {
        connection.idle_counter = 0;
        return;
    }
    if (options.idle_check == 0) return;
    ++connection.idle_counter;
    if (connection.idle_counter / 60 < options.idle_minutes) return;
    platform::KillTimer(StatusWindowHandle(), kIdleTimer);
    platform::MessageBeep(platform::MB_OK);
    OpenInactivityDialog();
}

void ReleaseConnectionWindows() {
    ReleaseInactivityDialog();
    DestroyStatusWindow();
}

}  // namespace feed
