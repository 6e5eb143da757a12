#pragma once

// Error reports. A negative code is turned into a text from the error-text
// file qorcomm.err and sent to the caller on the error channel as
// "ERROR <code>: <text>". Each line of the file holds a code right-aligned in
// its first four characters ("-214", "  10"), blanks or tabs, and the text; a
// "^" in the text marks where the report's detail goes (the rest of the line
// after it is replaced).

#include <string_view>

namespace feed {

// Codes 1 to 10 are not errors: 10 is the user's cancel.
inline constexpr int kCodeUserCancel = 10;

// Reports a code with the detail set before (md_set_error_detail) and keeps
// it in the error cell (codes below 0 or above 10). Returns the code.
int md_report_error(int code);
// The same with this detail.
int md_report_error(int code, std::string_view detail);

// The message of a code as the error-text file gives it, with the detail put
// in at "^". When the file cannot be opened, a note naming it, or naming the
// parameter file when that is what the code reports missing.
std::string md_error_message(int code, std::string_view detail);

}  // namespace feed
