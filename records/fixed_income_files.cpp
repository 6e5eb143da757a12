#include "records/fixed_income_files.h"

namespace records {

FixedIncomeRunRecord FixedIncomeRunRecord::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    FixedIncomeRunRecord f;
    f.account = r.Text(0, 8);
    f.month = r.I16(8);
    f.year = r.I16(10);
    f.entry = r.I16(12);
    f.count = r.I16(14);
    f.carried = r.Text(16, 8);
    f.report_date = r.Text(24, 8);
    f.date_number = r.R4(32);
    return f;
}

Record FixedIncomeRunRecord::Encode() const {
    Record r(kWorkRecordLength, 0);
    r.SetText(0, 8, account);
    r.SetI16(8, month);
    r.SetI16(10, year);
    r.SetI16(12, entry);
    r.SetI16(14, count);
    r.SetText(16, 8, carried);
    r.SetText(24, 8, report_date);
    r.SetR4(32, date_number);
    return r;
}

FixedIncomeHolding FixedIncomeHolding::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    FixedIncomeHolding f;
    f.holding = ValuedHolding::Decode(r);
    f.accrued = r.R8(228);
    f.yield_to_call = r.R4(236);
    return f;
}

Record FixedIncomeHolding::Encode() const {
    Record r = holding.Encode().Widened(kWorkRecordLength);
    r.SetR8(228, accrued);
    r.SetR4(236, yield_to_call);
    return r;
}

}  // namespace records
