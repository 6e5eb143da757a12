#include "records/account_billing.h"

namespace records {

AccountBilling AccountBilling::Decode(const Record& r4) {
    AccountBilling b;
    if (r4.size() < 111) return b;
    b.total_billed = r4.R4(91);
    b.balance_due = r4.R4(95);
    b.period_month = r4.I16(99);
    b.period_year = r4.I16(101);
    b.master = r4.Text(103, 8);
    return b;
}

}  // namespace records
