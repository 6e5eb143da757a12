#pragma once

// The composite gains and losses report (report code 203): the realised
// lots of many accounts (every account of a manager code, or the accounts
// of a group's account-list file) in one list by date sold, each classed
// short-term or long-term, with one totals line for the run. The lots are
// collected in the work file GLCOMB.REC, which the run deletes at its end.

#include <cstdint>
#include <string_view>

namespace reports {

inline constexpr const char* kCombinedGainsFile = "GLCOMB.REC";
// The most lots one run collects: GLCOMB.REC's record 1 counts its last
// record in 16 bits.
inline constexpr int kMaxCombinedLots = 32766;

// kind "S": the accounts named in list_file; anything else every account
// whose manager code matches `manager` ("?" on either side takes any
// character). Dates MM/DD/YY. The report is copied into output_name; group
// is the description of the chosen group (blank otherwise).
void Combgl(std::string_view kind, std::string_view manager, std::string_view start, std::string_view end,
            std::string_view list_file, int16_t list_length, std::string_view output_name,
            int16_t output_length, std::string_view group);

}  // namespace reports
