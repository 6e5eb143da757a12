#include "records/holdings_control.h"

#include <bit>
#include <cstring>

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
    DecodeFrom(r.data(), h);
    return h;
}

Record HoldingsWorkRecord::Encode() const {
    Record r = Blank();
    EncodeTo(r.data());
    return r;
}

namespace {

int16_t LoadI16(const unsigned char* b) {
    return static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
}

template <class T>
T Load(const unsigned char* b) {
    T v;
    std::memcpy(&v, b, sizeof v);
    return v;
}

void StoreI16(unsigned char* b, int16_t v) {
    const auto u = static_cast<uint16_t>(v);
    b[0] = static_cast<unsigned char>(u & 0xff);
    b[1] = static_cast<unsigned char>(u >> 8);
}

template <class T>
void Store(unsigned char* b, T v) {
    std::memcpy(b, &v, sizeof v);
}

// A text field of N bytes into a kept string: copied in place once the
// string has the field's width.
template <std::size_t N>
void LoadText(std::string& text, const unsigned char* b) {
    if (text.size() == N)
        std::memcpy(text.data(), b, N);
    else
        text.assign(reinterpret_cast<const char*>(b), N);
}

// A text into a field of N bytes: cut when longer, blank padded when
// shorter.
template <std::size_t N>
void StoreText(unsigned char* b, const std::string& s) {
    if (s.size() >= N) {
        std::memcpy(b, s.data(), N);
        return;
    }
    std::memset(b, ' ', N);
    std::memcpy(b, s.data(), s.size());
}

}  // namespace

static_assert(std::endian::native == std::endian::little, "record numbers are stored little-endian");

void HoldingsWorkRecord::DecodeFrom(const unsigned char* b, HoldingsWorkRecord& h) {
    h.type_index = LoadI16(b + 0);
    h.category = LoadI16(b + 2);
    LoadText<10>(h.symbol_head, b + 4);
    LoadText<12>(h.symbol, b + 14);
    h.quantity = Load<double>(b + 26);
    LoadText<32>(h.description, b + 34);
    h.rate = Load<float>(b + 66);
    LoadText<8>(h.trade_date, b + 70);
    LoadText<32>(h.description2, b + 78);
    h.cost = Load<double>(b + 110);
    h.market_value = Load<double>(b + 118);
    h.percent_priced = LoadI16(b + 126);
    h.month_change = Load<float>(b + 128);
    h.reserved = Load<double>(b + 132);
    h.extended_yield = Load<float>(b + 140);
    LoadText<4>(h.type_code, b + 144);
    h.reclassified = LoadI16(b + 148);
    LoadText<8>(h.call_date, b + 150);
    h.call_price = Load<double>(b + 158);
    LoadText<4>(h.rating1, b + 166);
    LoadText<4>(h.rating2, b + 170);
    LoadText<5>(h.insurance, b + 174);
    LoadText<4>(h.call_feature, b + 179);
    LoadText<4>(h.put_feature, b + 183);
    LoadText<8>(h.put_date, b + 187);
    h.put_price = Load<double>(b + 195);
    LoadText<8>(h.maturity_date, b + 203);
    h.extended = b[211];
    h.security = LoadI16(b + 212);
}

void HoldingsWorkRecord::EncodeTo(unsigned char* b) const {
    StoreI16(b + 0, type_index);
    StoreI16(b + 2, category);
    StoreText<10>(b + 4, symbol_head);
    StoreText<12>(b + 14, symbol);
    Store(b + 26, quantity);
    StoreText<32>(b + 34, description);
    Store(b + 66, rate);
    StoreText<8>(b + 70, trade_date);
    StoreText<32>(b + 78, description2);
    Store(b + 110, cost);
    Store(b + 118, market_value);
    StoreI16(b + 126, percent_priced);
    Store(b + 128, month_change);
    Store(b + 132, reserved);
    Store(b + 140, extended_yield);
    StoreText<4>(b + 144, type_code);
    StoreI16(b + 148, reclassified);
    StoreText<8>(b + 150, call_date);
    Store(b + 158, call_price);
    StoreText<4>(b + 166, rating1);
    StoreText<4>(b + 170, rating2);
    StoreText<5>(b + 174, insurance);
    StoreText<4>(b + 179, call_feature);
    StoreText<4>(b + 183, put_feature);
    StoreText<8>(b + 187, put_date);
    Store(b + 195, put_price);
    StoreText<8>(b + 203, maturity_date);
    b[211] = extended;
    StoreI16(b + 212, security);
    std::memset(b + 214, 0, kHoldingsControlLength - 214);
}

}  // namespace records
