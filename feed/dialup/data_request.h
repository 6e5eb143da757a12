#pragma once

// The entry of the dial-up library: one data request of the caller. The
// exported C function ol_DataRequest of VEXA32MD calls DataRequest.
//
// A call checks its texts, handles HANGUP and CANCEL (which act on a call
// that is running, when they come from one of the caller's handlers while
// it runs), applies the option words, opens the LOG and OUTPUT files,
// connects when asked to, cuts the request text (or the INPUT file's text in
// a call without request text) into lines of at most 500 characters and
// exchanges them one by one. Everything it has to tell the caller reaches the
// caller's window as copy-data records while the call runs (delivery.h).

#include "platform/handle.h"

namespace feed {

inline constexpr int kErrNothingToDo = -216;  // neither request nor option text
inline constexpr int kErrBusy = -218;         // a call while another one runs
inline constexpr int kErrNoMemory = -219;     // no memory for the INPUT file's text
inline constexpr std::size_t kRequestLineLimit = 500;

// 1 when every request line went through (or there was nothing to send),
// else 0. A null text counts as empty. The option text is upper-cased in
// place.
int DataRequest(platform::WindowHandle caller, const char* request, char* options);

// The library's start: installs the delivery as the message callback and
// builds the parameter-file path from "home_dir" of section "config" of
// VEXA.INI.
void md_dll_main();

// Back to the state at load: hangs up without a closing exchange, closes the
// files and windows, forgets options, variables and flags. For tests.
void ResetLibraryForTesting();

}  // namespace feed
