#include "records/security_holdings_files.h"

namespace records {

SecurityHoldingsHeader SecurityHoldingsHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kSecurityHoldingsRecordLength);
    SecurityHoldingsHeader h;
    h.record_count = r.I16(0);
    h.as_of_date = r.Text(2, 8);
    h.manager = r.Text(10, 4);
    return h;
}

Record SecurityHoldingsHeader::Encode() const {
    Record r(kSecurityHoldingsRecordLength, 0);
    r.SetI16(0, record_count);
    r.SetText(2, 8, as_of_date);
    r.SetText(10, 4, manager);
    return r;
}

SecurityHolding SecurityHolding::Decode(const Record& rec) {
    const Record r = rec.Widened(kSecurityHoldingsRecordLength);
    SecurityHolding h;
    h.market_value = r.R8(0);
    h.symbol = r.Text(8, 12);
    h.account_title = r.Text(20, 32);
    h.account_id = r.Text(52, 8);
    h.lot_date = r.Text(60, 8);
    h.quantity = r.R8(68);
    h.cost = r.R8(76);
    h.percent_of_account = r.R4(84);
    h.rate = r.R4(88);
    h.lot_code = r.Text(92, 2);
    h.security_number = r.I16(94);
    h.valuation_kind = static_cast<int8_t>(r.data()[96]);
    h.description1 = r.Text(97, 32);
    h.description2 = r.Text(129, 32);
    h.security_type = r.Text(161, 4);
    h.maturity_date = r.Text(165, 8);
    h.rate2 = r.R4(173);
    h.lot_text20 = r.Text(177, 20);
    h.custodian_account = r.Text(197, 32);
    return h;
}

Record SecurityHolding::Encode() const {
    Record r(kSecurityHoldingsRecordLength, 0);
    r.SetR8(0, market_value);
    r.SetText(8, 12, symbol);
    r.SetText(20, 32, account_title);
    r.SetText(52, 8, account_id);
    r.SetText(60, 8, lot_date);
    r.SetR8(68, quantity);
    r.SetR8(76, cost);
    r.SetR4(84, percent_of_account);
    r.SetR4(88, rate);
    r.SetText(92, 2, lot_code);
    r.SetI16(94, security_number);
    r.data()[96] = static_cast<unsigned char>(valuation_kind);
    r.SetText(97, 32, description1);
    r.SetText(129, 32, description2);
    r.SetText(161, 4, security_type);
    r.SetText(165, 8, maturity_date);
    r.SetR4(173, rate2);
    r.SetText(177, 20, lot_text20);
    r.SetText(197, 32, custodian_account);
    return r;
}

SecuritySummaryHeader SecuritySummaryHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kSecuritySummaryRecordLength);
    SecuritySummaryHeader h;
    h.count = r.I16(0);
    h.pricing_date = r.Text(2, 8);
    h.market_value = r.R8(10);
    h.cost = r.R8(18);
    h.short_term_gain = r.R8(26);
    h.long_term_gain = r.R8(34);
    return h;
}

Record SecuritySummaryHeader::Encode() const {
    Record r(kSecuritySummaryRecordLength, 0);
    r.SetI16(0, count);
    r.SetText(2, 8, pricing_date);
    r.SetR8(10, market_value);
    r.SetR8(18, cost);
    r.SetR8(26, short_term_gain);
    r.SetR8(34, long_term_gain);
    return r;
}

SecuritySummary SecuritySummary::Decode(const Record& rec) {
    const Record r = rec.Widened(kSecuritySummaryRecordLength);
    SecuritySummary s;
    s.description1 = r.Text(0, 32);
    s.description2 = r.Text(32, 32);
    s.symbol = r.Text(64, 12);
    s.unit_value = r.R4(76);
    s.quantity = r.R8(80);
    s.cost = r.R8(88);
    s.market_value = r.R8(96);
    s.short_term_gain = r.R8(104);
    s.long_term_gain = r.R8(112);
    s.accounts = r.I16(120);
    s.security_number = r.I16(122);
    s.valuation_kind = static_cast<int8_t>(r.data()[124]);
    return s;
}

Record SecuritySummary::Encode() const {
    Record r(kSecuritySummaryRecordLength, 0);
    r.SetText(0, 32, description1);
    r.SetText(32, 32, description2);
    r.SetText(64, 12, symbol);
    r.SetR4(76, unit_value);
    r.SetR8(80, quantity);
    r.SetR8(88, cost);
    r.SetR8(96, market_value);
    r.SetR8(104, short_term_gain);
    r.SetR8(112, long_term_gain);
    r.SetI16(120, accounts);
    r.SetI16(122, security_number);
    r.data()[124] = static_cast<unsigned char>(valuation_kind);
    return r;
}

}  // namespace records
