#pragma once

// Combined performance: one composite account "COMB$$" built from several
// real accounts, whose value history HLCOMB$$.DAT is the month-by-month sum
// of the members' histories (aligned by calendar year, starting with the
// earliest member), reported by the performance account driver as one
// account. The members are the accounts of an account-list file (kind
// "S   "), the accounts of a manager pattern (kind "A   ") or the composite
// account named by the request and the accounts listed in its own third
// and fourth account records (kind "C   ").

#include <array>
#include <cstdint>
#include <string>

#include "records/common_file.h"

namespace reports {

inline constexpr const char* kCompositeAccount = "COMB$$  ";
inline constexpr const char* kCompositeHistory = "HLCOMB$$.DAT";

struct CompositeRequest {
    records::Options options{};
    std::string kind = "S   ";
    std::string manager = "????";
    // Kind C: the composite account. On return: the first (earliest)
    // member.
    std::string account = std::string(8, ' ');
    std::string from = std::string(8, ' ');  // on return: the earliest opening date
    std::string to = std::string(8, ' ');    // MM/DD/YY
    std::string frequency = "M   ";
    int16_t output_mode = 1;  // 1 the work file, 3 also a copy into output_name
    std::string output_name = "XXX.TXT     ";
    std::string list_file = "compfile.lst";
    std::string description = std::string(32, ' ');  // the title of the composite's pages
};

// Builds the composite and prints its performance pages. A member that
// cannot be gathered (an identifier ACCOUNT.IDX lacks, a file that cannot
// be read) is named in one report line and no composite is built. Status
// is set to 0: one composite a call.
void Combpf(int16_t& status, CompositeRequest& request);

// Adds twelve monthly values of a member into the composite's, from the
// start month (1-12) to December: a month without a value (-99999.99) in
// the member leaves the composite's; one without a value in the composite
// takes the member's; otherwise the two are added.
void Cmbadd(std::array<double, 12>& composite, const std::array<double, 12>& member, int start_month);

}  // namespace reports
