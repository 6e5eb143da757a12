#pragma once

// The summary client list (report code 186).

#include <string_view>

namespace reports {

// "SUMMARY CLIENT LIST": one line per account whose manager code matches
// the requested pattern ("?" takes any character, so "????" lists all), in
// account ID order, with the total of the opening values. The work file is
// always copied to output_name.
void Acctlst2(std::string_view manager, std::string_view output_name);

}  // namespace reports
