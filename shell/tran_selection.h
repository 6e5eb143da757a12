#pragma once

// The transaction selection: which account's transactions the transaction
// list starts from, in which order and from which security or date. It is
// program-wide; the main frame fills it when it is made (the first account,
// from January 1 of the program year) and the transaction editor's
// selection dialog when the user confirms it.

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/field_helpers.h"

namespace shell {

enum TranSortOption : int32_t {
    kTranSortByDate = 0,
    kTranSortBySecurity = 1,
};

struct TranSelection {
    int32_t SortOption = kTranSortByDate;
    std::string Account;
    std::string Security;
    std::string Date;   // MM/DD/YY
    ParsedDate parsed;  // the date's parts and number; -1 when it is not a date
};

extern TranSelection g_tran_selection;

// Stores the four values (account, security and date first, then the date's
// parts, then the sort option).
void SetTranSelection(int32_t sort_option, std::string_view security, std::string_view date,
                      std::string_view account);

}  // namespace shell
