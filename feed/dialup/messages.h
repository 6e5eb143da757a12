#pragma once

// The message road of the dial-up library: every error, status, trace and
// answer text leaves the library through one installed callback (channel,
// text, code). At load the library installs its delivery to the caller's
// window (md_deliver); while a dialogue script runs, the script layer puts
// its own filter in front of it and restores the old callback afterwards.
//
// Beside it live the library-wide error cell (the one current error code that
// the request driver, the parameter reader, the session and the serial layer
// all store their results in) and the detail text that the next error report
// puts in place of the "^" of its message.

#include <string>
#include <string_view>

namespace feed {

// Data-feed channels of the records sent to the caller's window.
inline constexpr int kChannelTraceControl = 0;
inline constexpr int kChannelError = 1;
inline constexpr int kChannelStatus = 3;
inline constexpr int kChannelReceiveTrace = 5;
inline constexpr int kChannelSendTrace = 6;
inline constexpr int kChannelAnswer = 25;

using MessageCallback = int (*)(int channel, std::string_view text, int code);

// Installs the callback (nullptr: none) and returns the previous one.
MessageCallback md_set_message_callback(MessageCallback callback);
MessageCallback md_message_callback();
// Passes a text on a channel through the installed callback; returns the
// callback's result, or 0 when none is installed.
int md_send_message(int channel, std::string_view text, int code = 0);

// The library's current error code.
int& ErrorCell();

// The detail of the next error report (a file name, an option word, a request
// line). The report uses it once and clears it.
void md_set_error_detail(std::string_view detail);
// Takes the detail, leaving it empty.
std::string md_take_error_detail();

}  // namespace feed
