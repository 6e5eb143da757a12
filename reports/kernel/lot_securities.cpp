#include "reports/kernel/lot_securities.h"

#include <algorithm>
#include <cstdio>

#include "records/dates.h"
#include "records/record.h"
#include "records/security_file.h"

namespace reports {

LotSecurity DecodeLotSecurity(const records::Record* rec) {
    LotSecurity s;
    s.type_code = "T   ";
    if (!rec) return s;
    // A record never written (zero bytes) names no security.
    if (rec->NeverWritten()) return s;
    const records::SecurityRecord sec = records::SecurityRecord::Decode(*rec);
    s.found = true;
    s.type_code = sec.type;
    s.description1 = sec.description1;
    s.description2 = sec.description2;
    s.category = sec.category;
    s.maturity = sec.due_date;
    s.maturity_number = LotDateNumber(s.maturity);
    s.coupon_date = sec.pay_date;
    s.rate = sec.rate;
    s.first_word = rec->I16(84);
    s.last_word = rec->I16(126);
    return s;
}

LotSecurity ReadLotSecurity(const records::DirectFile& securities, long position) {
    records::Record rec;
    return DecodeLotSecurity(position >= 1 && securities.Read(position, rec) ? &rec : nullptr);
}

std::array<unsigned char, 4> WordAt(const records::Record& rec, std::size_t offset) {
    std::array<unsigned char, 4> out{};
    for (std::size_t i = 0; i < 4 && offset + i < rec.size(); ++i) out[i] = rec.data()[offset + i];
    return out;
}

LotExtension DecodeLotExtension(const records::Record* ext) {
    LotExtension e;
    if (!ext) return e;
    const records::SecurityExtension terms = records::SecurityExtension::Decode(*ext);
    e.read = true;
    if (terms.yield_to_maturity > 0 && terms.yield_to_maturity < 100)
        e.yield_to_maturity = terms.yield_to_maturity;
    e.call_date = terms.call_date;
    e.call_price = terms.call_price;
    e.word2 = WordAt(*ext, 68);
    e.word3 = WordAt(*ext, 72);
    e.code = terms.insurer;
    e.word4 = WordAt(*ext, 89);
    e.word5 = WordAt(*ext, 93);
    e.put_date = terms.put_date;
    e.put_price = terms.put_price;
    e.yield_to_call = ext->Widened(records::kSecurityRecordLength).R4(58);
    return e;
}

void LotExtension::CopyTerms(records::ValuedHolding& h) const {
    h.extension_date1 = call_date;
    h.extension_value1 = call_price;
    h.extension_word2 = word2;
    h.extension_word3 = word3;
    h.extension_code = code;
    h.extension_word4 = word4;
    h.extension_word5 = word5;
    h.extension_date2 = put_date;
    h.extension_value2 = put_price;
}

bool IsCashSymbol(std::string_view symbol) {
    return records::FixedIs(symbol, "CASH        ");
}

float LotDateNumber(const std::string& date) {
    return records::DateTextNumber(date);
}

}  // namespace reports
