#pragma once

// The find commands: accounts by short name (report code 341) or by
// custodian account number (342), securities by description (343).

#include <cstdint>
#include <string_view>

namespace reports {

// True when the 32-character target contains the search text: its first L
// characters, L the place of its last character above the blank (1 for an
// all-blank text, which then searches for one blank). Case-sensitive,
// leading blanks kept.
bool Clntxt(std::string_view search, std::string_view target);

// Lists the accounts whose short name (kind below 1) or custodian account
// number (kind 1 or more) contains the search text, walking the account
// records in file order. The work file is always copied to output_name.
void Clntnm(int16_t kind, std::string_view search, std::string_view output_name);

// Lists the securities either of whose description lines contains the
// search text. The work file is always copied to output_name.
void Secrnm(std::string_view search, std::string_view output_name);

}  // namespace reports
