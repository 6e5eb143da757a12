#include "records/holdings_control.h"

namespace records {

namespace {

// A record as read may be shorter than 256 bytes (a file cut short): it is
// read as if zero-filled.
Record Wide(const Record& rec) {
    return rec.Widened(kHoldingsControlLength);
}

Record Blank() {
    return Record(kHoldingsControlLength, 0);
}

}  // namespace

HoldingsControlRecord HoldingsControlRecord::Decode(const Record& rec) {
    const Record r = Wide(rec);
    HoldingsControlRecord c;
    c.index = r.I16(0);
    for (int k = 0; k < kHoldingsSlotCount; ++k) c.slot_flags[k] = r.I16(2 + 2 * k);
    c.budget = r.I16(202);
    c.manager = r.Text(204, 4);
    c.value_option = r.I16(208);
    c.output_mode = r.I16(210);
    return c;
}

Record HoldingsControlRecord::Encode() const {
    Record r = Blank();
    r.SetI16(0, index);
    for (int k = 0; k < kHoldingsSlotCount; ++k) r.SetI16(2 + 2 * k, slot_flags[k]);
    r.SetI16(202, budget);
    r.SetText(204, 4, manager);
    r.SetI16(208, value_option);
    r.SetI16(210, output_mode);
    return r;
}

void MarkHoldingsRunFinished(Record& rec) {
    rec = Wide(rec);
    rec.SetI16(0, kHoldingsRunFinished);
}

AccountCursorRecord AccountCursorRecord::Decode(const Record& rec) {
    const Record r = Wide(rec);
    AccountCursorRecord c;
    c.account = r.Text(0, 8);
    c.month = r.I16(8);
    c.year = r.I16(10);
    c.position = r.I16(12);
    c.count = r.I16(14);
    c.program_date = r.Text(16, 8);
    c.report_date = r.Text(24, 8);
    c.date_number = r.R4(32);
    return c;
}

Record AccountCursorRecord::Encode() const {
    Record r = Blank();
    r.SetText(0, 8, account);
    r.SetI16(8, month);
    r.SetI16(10, year);
    r.SetI16(12, position);
    r.SetI16(14, count);
    r.SetText(16, 8, program_date);
    r.SetText(24, 8, report_date);
    r.SetR4(32, date_number);
    return r;
}

HoldingsWorkHeader HoldingsWorkHeader::Decode(const Record& rec) {
    const Record r = Wide(rec);
    HoldingsWorkHeader h;
    h.account = r.Text(0, 8);
    h.pricing_date = r.Text(8, 8);
    h.count = r.I16(16);
    h.portfolio_value = r.R8(18);
    h.name = r.Text(26, 32);
    h.largest_value = r.R8(58);
    for (int k = 0; k < 37; ++k) h.type_flags[k] = r.I16(66 + 2 * k);
    h.reserved_byte = r.data()[140];
    h.run_kind = r.I16(141);
    h.reserved = r.R8(143);
    h.accrued_interest = r.R8(151);
    h.no_category_totals = r.I16(159);
    h.average_years = r.R8(161);
    h.second_name = r.Text(169, 32);
    h.second_code = r.Text(201, 8);
    h.objective = r.Text(209, 4);
    return h;
}

Record HoldingsWorkHeader::Encode() const {
    Record r = Blank();
    r.SetText(0, 8, account);
    r.SetText(8, 8, pricing_date);
    r.SetI16(16, count);
    r.SetR8(18, portfolio_value);
    r.SetText(26, 32, name);
    r.SetR8(58, largest_value);
    for (int k = 0; k < 37; ++k) r.SetI16(66 + 2 * k, type_flags[k]);
    r.data()[140] = reserved_byte;
    r.SetI16(141, run_kind);
    r.SetR8(143, reserved);
    r.SetR8(151, accrued_interest);
    r.SetI16(159, no_category_totals);
    r.SetR8(161, average_years);
    r.SetText(169, 32, second_name);
    r.SetText(201, 8, second_code);
    r.SetText(209, 4, objective);
    return r;
}

HoldingsWorkRecord HoldingsWorkRecord::Decode(const Record& rec) {
    const Record r = Wide(rec);
    HoldingsWorkRecord h;
    h.type_index = r.I16(0);
    h.category = r.I16(2);
    h.symbol_head = r.Text(4, 10);
    h.symbol = r.Text(14, 12);
    h.quantity = r.R8(26);
    h.description = r.Text(34, 32);
    h.rate = r.R4(66);
    h.trade_date = r.Text(70, 8);
    h.description2 = r.Text(78, 32);
    h.cost = r.R8(110);
    h.market_value = r.R8(118);
    h.percent_priced = r.I16(126);
    h.month_change = r.R4(128);
    h.reserved = r.R8(132);
    h.extended_yield = r.R4(140);
    h.type_code = r.Text(144, 4);
    h.reclassified = r.I16(148);
    h.call_date = r.Text(150, 8);
    h.call_price = r.R8(158);
    h.rating1 = r.Text(166, 4);
    h.rating2 = r.Text(170, 4);
    h.insurance = r.Text(174, 5);
    h.call_feature = r.Text(179, 4);
    h.put_feature = r.Text(183, 4);
    h.put_date = r.Text(187, 8);
    h.put_price = r.R8(195);
    h.maturity_date = r.Text(203, 8);
    h.extended = r.data()[211];
    h.security = r.I16(212);
    return h;
}

Record HoldingsWorkRecord::Encode() const {
    Record r = Blank();
    r.SetI16(0, type_index);
    r.SetI16(2, category);
    r.SetText(4, 10, symbol_head);
    r.SetText(14, 12, symbol);
    r.SetR8(26, quantity);
    r.SetText(34, 32, description);
    r.SetR4(66, rate);
    r.SetText(70, 8, trade_date);
    r.SetText(78, 32, description2);
    r.SetR8(110, cost);
    r.SetR8(118, market_value);
    r.SetI16(126, percent_priced);
    r.SetR4(128, month_change);
    r.SetR8(132, reserved);
    r.SetR4(140, extended_yield);
    r.SetText(144, 4, type_code);
    r.SetI16(148, reclassified);
    r.SetText(150, 8, call_date);
    r.SetR8(158, call_price);
    r.SetText(166, 4, rating1);
    r.SetText(170, 4, rating2);
    r.SetText(174, 5, insurance);
    r.SetText(179, 4, call_feature);
    r.SetText(183, 4, put_feature);
    r.SetText(187, 8, put_date);
    r.SetR8(195, put_price);
    r.SetText(203, 8, maturity_date);
    r.data()[211] = extended;
    r.SetI16(212, security);
    return r;
}

}  // namespace records
