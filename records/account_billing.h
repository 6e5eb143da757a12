#pragma once

// The billing fields of an account's fourth record (ACCOUNT.REC R4) that
// the billing module writes and the account list prints, beside the
// fields of the account file codec (account_file.h). Offsets from 0:
//   91-94 total billed (float), 95-98 balance due (float), 99-100 period
//   end month (0-12, 0: none), 101-102 period end year (two digits),
//   103-110 master account ID.
// An account saved by the account dialogs holds blanks there: the month
// and year then read as 8224.

#include <cstdint>
#include <string>

#include "records/record.h"

namespace records {

struct AccountBilling {
    float total_billed = 0;
    float balance_due = 0;
    int16_t period_month = 0;
    int16_t period_year = 0;
    std::string master = std::string(8, ' ');  // as stored, 8 bytes

    static AccountBilling Decode(const Record& r4);
};

}  // namespace records
