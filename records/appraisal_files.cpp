#include "records/appraisal_files.h"

#include <cstring>

namespace records {

namespace {

// A record as read may be shorter than 256 bytes (a file cut short): it is
// read as if zero-filled.
template <std::size_t N>
std::array<unsigned char, N> Bytes(const Record& r, std::size_t off) {
    std::array<unsigned char, N> out{};
    std::memcpy(out.data(), r.data() + off, N);
    return out;
}

template <std::size_t N>
void SetBytes(Record& r, std::size_t off, const std::array<unsigned char, N>& bytes) {
    std::memcpy(r.data() + off, bytes.data(), N);
}

// The fields the two TEMP1.WRK headers share, offsets 0-160.
template <typename Header>
void DecodeCommon(const Record& r, Header& h) {
    h.account = r.Text(0, 8);
    h.report_date = r.Text(8, 8);
    h.count = r.I16(16);
    h.total_market_value = r.R8(18);
    h.name = r.Text(26, 32);
    h.largest_value = r.R8(58);
    for (int k = 0; k < kTypeNumberCount; ++k) h.type_flags[k] = r.I16(66 + 2 * k);
    h.spare = r.data()[140];
    h.order = r.I16(141);
    h.last_accrued = r.R8(143);
    h.total_accrued = r.R8(151);
    h.combined = r.I16(159);
}

template <typename Header>
void EncodeCommon(const Header& h, Record& r) {
    r.SetText(0, 8, h.account);
    r.SetText(8, 8, h.report_date);
    r.SetI16(16, h.count);
    r.SetR8(18, h.total_market_value);
    r.SetText(26, 32, h.name);
    r.SetR8(58, h.largest_value);
    for (int k = 0; k < kTypeNumberCount; ++k) r.SetI16(66 + 2 * k, h.type_flags[k]);
    r.data()[140] = h.spare;
    r.SetI16(141, h.order);
    r.SetR8(143, h.last_accrued);
    r.SetR8(151, h.total_accrued);
    r.SetI16(159, h.combined);
}

}  // namespace

AppraisalHeader AppraisalHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    AppraisalHeader h;
    DecodeCommon(r, h);
    h.page_word = r.I16(161);
    h.average_years = r.R8(163);
    h.account_word = Bytes<4>(r, 171);
    return h;
}

Record AppraisalHeader::Encode() const {
    Record r(kWorkRecordLength, 0);
    EncodeCommon(*this, r);
    r.SetI16(161, page_word);
    r.SetR8(163, average_years);
    SetBytes(r, 171, account_word);
    return r;
}

WorkingAppraisalHeader WorkingAppraisalHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    WorkingAppraisalHeader h;
    DecodeCommon(r, h);
    h.average_years = r.R8(161);
    h.text32 = r.Text(169, 32);
    h.text8 = r.Text(201, 8);
    h.word = Bytes<4>(r, 209);
    return h;
}

Record WorkingAppraisalHeader::Encode() const {
    Record r(kWorkRecordLength, 0);
    EncodeCommon(*this, r);
    r.SetR8(161, average_years);
    r.SetText(169, 32, text32);
    r.SetText(201, 8, text8);
    SetBytes(r, 209, word);
    return r;
}

Record EmptyAppraisalHeader() {
    return Record(kWorkRecordLength, 0);
}

ValuedHolding ValuedHolding::Decode(const Record& rec) {
    ValuedHolding h;
    if (rec.size() >= kWorkRecordLength) {
        DecodeFrom(rec.data(), h);
    } else {
        const Record r = rec.Widened(kWorkRecordLength);
        DecodeFrom(r.data(), h);
    }
    return h;
}

void ValuedHolding::DecodeFrom(const unsigned char* bytes, ValuedHolding& h) {
    const char* b = reinterpret_cast<const char*>(bytes);
    auto text = [b](std::string& field, std::size_t off, std::size_t n) {
        if (field.size() == n)
            std::memcpy(field.data(), b + off, n);
        else
            field.assign(b + off, n);
    };
    auto i16 = [bytes](std::size_t off) { return static_cast<int16_t>(bytes[off] | (bytes[off + 1] << 8)); };
    auto r4 = [bytes](std::size_t off) {
        float v;
        std::memcpy(&v, bytes + off, sizeof v);
        return v;
    };
    auto r8 = [bytes](std::size_t off) {
        double v;
        std::memcpy(&v, bytes + off, sizeof v);
        return v;
    };
    auto word = [bytes](std::array<unsigned char, 4>& w, std::size_t off) { std::memcpy(w.data(), bytes + off, 4); };
    h.type_number = i16(0);
    h.category = i16(2);
    text(h.sort_key, 4, 10);
    text(h.symbol, 14, 12);
    h.quantity = r8(26);
    text(h.description1, 34, 32);
    h.rate = r4(66);
    text(h.lot_date, 70, 8);
    text(h.description2, 78, 32);
    h.cost = r8(110);
    h.market_value = r8(118);
    h.per_hundred = i16(126);
    h.month_change = r4(128);
    h.combining_key = r8(132);
    h.extension_percent = r4(140);
    text(h.type_code, 144, 4);
    h.matures_within_year = i16(148);
    text(h.extension_date1, 150, 8);
    h.extension_value1 = r8(158);
    word(h.extension_word2, 166);
    word(h.extension_word3, 170);
    text(h.extension_code, 174, 5);
    word(h.extension_word4, 179);
    word(h.extension_word5, 183);
    text(h.extension_date2, 187, 8);
    h.extension_value2 = r8(195);
    text(h.maturity_date, 203, 8);
    h.extension_read = bytes[211];
    h.security_last_word = i16(212);
    h.performance = r4(214);
    h.security_first_word = i16(218);
    h.cost_basis = r8(220);
}

Record ValuedHolding::Encode() const {
    Record r;
    EncodeInto(r);
    return r;
}

void ValuedHolding::EncodeInto(Record& r) const {
    r.bytes().assign(kWorkRecordLength, 0);
    r.SetI16(0, type_number);
    r.SetI16(2, category);
    r.SetText(4, 10, sort_key);
    r.SetText(14, 12, symbol);
    r.SetR8(26, quantity);
    r.SetText(34, 32, description1);
    r.SetR4(66, rate);
    r.SetText(70, 8, lot_date);
    r.SetText(78, 32, description2);
    r.SetR8(110, cost);
    r.SetR8(118, market_value);
    r.SetI16(126, per_hundred);
    r.SetR4(128, month_change);
    r.SetR8(132, combining_key);
    r.SetR4(140, extension_percent);
    r.SetText(144, 4, type_code);
    r.SetI16(148, matures_within_year);
    r.SetText(150, 8, extension_date1);
    r.SetR8(158, extension_value1);
    SetBytes(r, 166, extension_word2);
    SetBytes(r, 170, extension_word3);
    r.SetText(174, 5, extension_code);
    SetBytes(r, 179, extension_word4);
    SetBytes(r, 183, extension_word5);
    r.SetText(187, 8, extension_date2);
    r.SetR8(195, extension_value2);
    r.SetText(203, 8, maturity_date);
    r.data()[211] = extension_read;
    r.SetI16(212, security_last_word);
    r.SetR4(214, performance);
    r.SetI16(218, security_first_word);
    r.SetR8(220, cost_basis);
}

AppraisalControlHeader AppraisalControlHeader::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    AppraisalControlHeader h;
    h.slot = r.I16(0);
    for (int k = 0; k < kControlSlotCount; ++k) h.slot_flags[k] = r.I16(2 + 2 * k);
    h.countdown = r.I16(202);
    h.manager = r.Text(204, 4);
    h.output_mode = r.I16(208);
    return h;
}

Record AppraisalControlHeader::Encode() const {
    Record r(kWorkRecordLength, 0);
    r.SetI16(0, slot);
    for (int k = 0; k < kControlSlotCount; ++k) r.SetI16(2 + 2 * k, slot_flags[k]);
    r.SetI16(202, countdown);
    r.SetText(204, 4, manager);
    r.SetI16(208, output_mode);
    return r;
}

Record FinishedControlHeader() {
    Record r(kWorkRecordLength, 0);
    r.SetI16(0, kRunFinished);
    return r;
}

AppraisalControlAccount AppraisalControlAccount::Decode(const Record& rec) {
    const Record r = rec.Widened(kWorkRecordLength);
    AppraisalControlAccount a;
    a.account = r.Text(0, 8);
    a.month = r.I16(8);
    a.year = r.I16(10);
    a.index = r.I16(12);
    a.count = r.I16(14);
    a.carried = Bytes<8>(r, 16);
    a.report_date = r.Text(24, 8);
    a.date_number = r.R4(32);
    a.name = r.Text(36, 32);
    return a;
}

Record AppraisalControlAccount::Encode() const {
    Record r(kWorkRecordLength, 0);
    r.SetText(0, 8, account);
    r.SetI16(8, month);
    r.SetI16(10, year);
    r.SetI16(12, index);
    r.SetI16(14, count);
    SetBytes(r, 16, carried);
    r.SetText(24, 8, report_date);
    r.SetR4(32, date_number);
    r.SetText(36, 32, name);
    return r;
}

}  // namespace records
