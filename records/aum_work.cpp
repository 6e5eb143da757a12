#include "records/aum_work.h"

namespace records {

AumWorkRecord AumWorkRecord::Decode(const Record& rec) {
    AumWorkRecord r;
    r.account = rec.Text(0, 8);
    r.name = rec.Text(8, 32);
    r.field4 = rec.Text(40, 4);
    r.field2 = rec.Text(44, 8);
    r.market_value = rec.R8(52);
    r.cash = rec.R8(60);
    r.equities = rec.R8(68);
    r.fixed_income = rec.R8(76);
    r.cash_equivalents = rec.R8(84);
    r.other_assets = rec.R8(92);
    return r;
}

Record AumWorkRecord::Encode() const {
    Record rec(kAumWorkRecordLength);
    rec.SetText(0, 8, account);
    rec.SetText(8, 32, name);
    rec.SetText(40, 4, field4);
    rec.SetText(44, 8, field2);
    rec.SetR8(52, market_value);
    rec.SetR8(60, cash);
    rec.SetR8(68, equities);
    rec.SetR8(76, fixed_income);
    rec.SetR8(84, cash_equivalents);
    rec.SetR8(92, other_assets);
    return rec;
}

}  // namespace records
