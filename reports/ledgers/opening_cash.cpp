// The ledger's opening cash: its as-of date and the type of the cash
// security.

#include "reports/ledgers/opening_cash.h"

#include <cstdint>

#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "reports/ledgers/ledger_code_table.h"

namespace reports {

bool CashSecurityIsCash() {
    records::Record cash;
    const records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    return securities.Read(1, cash) && SecurityTypeWord(cash.Widened(128)) == "1   ";
}

float LedgerAsOf(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(records::Fixed(date, 8), month, day, year);
    year = static_cast<int16_t>(records::WindowYear(year));
    return static_cast<float>(year * 10000 + month * 100 + day);
}

}  // namespace reports
