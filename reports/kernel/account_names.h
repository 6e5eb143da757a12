#pragma once

// Gtacnm: where an account stands in ACCOUNT.IDX, and its short name. The
// account list and the transaction reports take one account's records
// from it.

#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

struct AccountPlace {
    int16_t position = 0;                           // 1-16 within its index record; 0: not in the index
    int16_t index_record = 0;                       // the index record holding it (2 on)
    std::string short_name = std::string(32, ' ');  // ACCOUNT.REC record 2 bytes 52-83

    // The account's entry number and first ACCOUNT.REC record; meaningful
    // only when position is above 0.
    int entry() const { return 16 * (index_record - 2) + position; }
    long first_record() const { return 8L * entry() - 7; }
};

// Finds the identifier (both 4-character halves equal) among the entries of
// ACCOUNT.IDX up to the count of record 1. An identifier that is not there,
// and an index that cannot be read, give position 0 (callers test it). The
// short name is blank when the account's second record cannot be read.
AccountPlace Gtacnm(std::string_view account_id);

}  // namespace reports
