#pragma once

// The data-feed session: everything below the request driver that talks to
// the remote price server — the serial port and modem, the dialogue script
// that dials and logs in, and the block protocol that carries request and
// answer lines. The request driver and the connection control use only this
// interface:
//
//   connect    ProbePort (the connect pre-check), Open, and HangupPort while
//              Open is still dialling;
//   exchange   Send a request line (or the "C" that asks for the next part of
//              an answer) and Receive its answer in parts;
//   hang up    Close.
//
// The library talks through one installed session. The serial session of the
// modem line is the default; tests install a double of their own.
//
// Errors: an implementation reports its own errors through md_report_error
// (error_text.h), which leaves the code in the library's error cell, and
// returns the code. Texts for the caller (status, traces) go through
// md_send_message (messages.h).

#include <cstddef>
#include <string>
#include <string_view>

namespace feed {

// The reason the library gives when it closes a session to hang up.
inline constexpr int kHangupReason = 66;

class Session {
public:
    virtual ~Session() = default;

    // The connect pre-check, run just after the parameter file was read into
    // the variables: opens the serial port those settings name and closes it
    // again. Its outcome is not used (Open reports what matters).
    virtual void ProbePort() = 0;

    // Opens the session: reads the parameter file (CALLSFILE or
    // `params_path`), opens the port and runs the dialogue script that dials
    // and logs in. 0 when the session is open, else the error code (already
    // reported). While it runs, a hang-up may call HangupPort.
    virtual int Open(const std::string& params_path) = 0;

    // Drops the line (DTR) and closes the port while Open is still dialling.
    virtual void HangupPort() = 0;

    // Sends one request line, or the text "C" that asks for the next part of
    // a long answer, as data. 0 when sent, else an error code.
    virtual int Send(std::string_view data) = 0;

    // Hands over received answer data: at most `room` bytes into `buffer`,
    // their number in `received`. Returns 1 when more of this answer part is
    // to come, 0 when the part is complete, or a negative error code (already
    // reported). An answer part whose last character is "M" is followed by
    // another part once the library sends "C".
    virtual int Receive(char* buffer, std::size_t room, std::size_t& received) = 0;

    // Ends the session (kHangupReason for a hang-up): the closing exchange
    // with the server, the exit dialogue, the port closed. 0 or an error code.
    virtual int Close(int reason) = 0;

    // True between a successful Open and Close.
    virtual bool IsOpen() const = 0;

    // An error was just reported while the session is open (not the user's
    // cancel): the serial session sends its input history as a trace and
    // forgets what it had pending.
    virtual void ErrorReported(int code) { (void)code; }
};

// The installed session.
Session& md_session();
// Installs a session (nullptr: the default serial session) and returns the
// one installed before (nullptr when it was the default).
Session* md_install_session(Session* session);

}  // namespace feed
