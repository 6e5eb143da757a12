#pragma once

// The account directory (report code 83): for the accounts of a portfolio
// manager code ("?" a wildcard; "????" every account), a two-line entry per
// account with its name, objective, its broker's account executive, firm
// and telephone, the date it opened, its market value and cash as of a
// date and the cash as a percentage, in one of six orders, closed by the
// manager's totals. Beside the report it writes BALANCES.BAL, one line per
// listed account: custodian account number, date (MMDDYY), market value.

#include <cstdint>
#include <string_view>

namespace reports {

inline constexpr const char* kBalancesFile = "BALANCES.BAL";
inline constexpr const char* kDirectoryWorkFile = "TLSTCLNT.TMP";

// Sort codes (the first character, any case): blank the index order, "I"
// investment objective, "M" market value, "C" cash, "P" percent cash (the
// three descending), "A" account name. Output mode 0 or below does
// nothing; 3 copies the report into the output file.
void Clnregtr(std::string_view as_of_date, std::string_view manager, std::string_view sort_code,
              int16_t output_mode, std::string_view output_name);

}  // namespace reports
