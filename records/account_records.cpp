#include "records/account_records.h"

#include <bit>
#include <cstring>

#include "records/files.h"

namespace records {

namespace {

// Offsets below are 0-based: byte b of a layout is offset b - 1.

// Decoding works on a full-length copy, so a short or empty record (a read
// that failed) decodes as zeros instead of reading past its end.
Record Full(const Record& rec) {
    if (rec.size() >= kAccountRecordLength) return rec;
    Record copy(kAccountRecordLength, 0);
    if (rec.size() > 0) std::memcpy(copy.data(), rec.data(), rec.size());
    return copy;
}

// A fixed-width text field into a decoded record's text. The text of a
// record decoded before already has the width, so the bytes are copied in
// place (a fixed-size copy) instead of through a general assign.
template <std::size_t N>
void AssignField(std::string& text, const char* bytes) {
    if (text.size() == N)
        std::memcpy(text.data(), bytes, N);
    else
        text.assign(bytes, N);
}

// A text into a fixed-width field, as Record::SetText puts it: a text of
// the field's width (as every decoded text is) in one fixed-size copy.
template <std::size_t N>
void PutText(Record& rec, std::size_t off, std::string_view text) {
    if (text.size() == N)
        std::memcpy(rec.data() + off, text.data(), N);
    else
        rec.SetText(off, N, text);
}

// Whether SetText would leave the field's bytes as they are: the text's
// bytes (cut to the width), then blanks.
template <std::size_t N>
bool TextHolds(const unsigned char* field, const std::string& text) {
    if (text.size() == N) return std::memcmp(field, text.data(), N) == 0;
    const std::size_t n = text.size() < N ? text.size() : N;
    if (std::memcmp(field, text.data(), n) != 0) return false;
    for (std::size_t i = n; i < N; ++i)
        if (field[i] != ' ') return false;
    return true;
}

// Whether a number's bits are those the field holds, little-endian as the
// record's setters write them.
template <class Bits, class T>
bool BitsHold(const unsigned char* field, T value) {
    static_assert(sizeof(Bits) == sizeof(T));
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    Bits stored = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&stored, field, sizeof stored);
    } else {
        for (std::size_t i = 0; i < sizeof bits; ++i) stored |= static_cast<Bits>(Bits{field[i]} << (8 * i));
    }
    return bits == stored;
}

// A real at its offset of a full-length record, read and written as the
// record's R8 and SetR8 do (little-endian), in one copy on a little-endian
// machine.
double R8At(const Record& rec, std::size_t off) {
    if constexpr (std::endian::native == std::endian::little) {
        double v;
        std::memcpy(&v, rec.data() + off, sizeof v);
        return v;
    } else {
        return rec.R8(off);
    }
}
void SetR8At(Record& rec, std::size_t off, double v) {
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(rec.data() + off, &v, sizeof v);
    else
        rec.SetR8(off, v);
}
void SetR4At(Record& rec, std::size_t off, float v) {
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(rec.data() + off, &v, sizeof v);
    else
        rec.SetR4(off, v);
}
void SetI16At(Record& rec, std::size_t off, int16_t v) {
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(rec.data() + off, &v, sizeof v);
    else
        rec.SetI16(off, v);
}

// The record itself when it is full length (no copy), else its padded
// copy in `padded`.
const Record& FullView(const Record& rec, Record& padded) {
    if (rec.size() >= kAccountRecordLength) return rec;
    padded = Full(rec);
    return padded;
}

// A record about to be written keeps its bytes; a new or short one is
// extended with zeros, as a never-written record holds.
void Extend(Record& rec) {
    if (rec.size() < kAccountRecordLength) rec.bytes().resize(kAccountRecordLength, 0);
}

}  // namespace

// ---- TR<acct>.REC

int16_t TransactionFileHeader::LastRecordOf(const unsigned char* bytes) {
    return static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
}

TransactionFileHeader TransactionFileHeader::Decode(const Record& rec) {
    TransactionFileHeader h;
    Record padded;
    h.last_record = FullView(rec, padded).I16(0);
    return h;
}

void TransactionFileHeader::Encode(Record& rec) const {
    Extend(rec);
    SetI16At(rec, 0, last_record);
}

TransactionRecord TransactionRecord::Decode(const Record& in) {
    TransactionRecord t;
    DecodeInto(in, t);
    return t;
}

void TransactionRecord::DecodeInto(const Record& in, TransactionRecord& t) {
    Record padded;
    DecodeFrom(FullView(in, padded).data(), t);
}

void TransactionRecord::DecodeFrom(const unsigned char* bytes, TransactionRecord& t) {
    const char* b = reinterpret_cast<const char*>(bytes);
    auto r8 = [&](std::size_t off) {
        double v;
        std::memcpy(&v, bytes + off, sizeof v);
        return v;
    };
    auto r4 = [&](std::size_t off) {
        float v;
        std::memcpy(&v, bytes + off, sizeof v);
        return v;
    };
    auto i16 = [&](std::size_t off) { return static_cast<int16_t>(bytes[off] | (bytes[off + 1] << 8)); };
    AssignField<12>(t.symbol, b);
    AssignField<4>(t.tax_lot, b + 12);
    AssignField<8>(t.trade_date, b + 16);
    AssignField<4>(t.code, b + 24);
    t.quantity = r8(28);
    t.price = r4(36);
    t.amount = r8(40);
    AssignField<8>(t.broker, b + 48);
    t.commission = r8(56);
    t.bond_interest = r8(64);
    AssignField<8>(t.lot_date, b + 72);
    t.lot_cost = r8(80);
    t.date_number = r4(88);
    t.holding_key = r8(92);
    t.security_record = i16(100);
    AssignField<4>(t.type, b + 102);
    t.gain_record = i16(106);
    std::memcpy(t.extra.data(), bytes + 108, t.extra.size());
}

void TransactionRecord::Encode(Record& rec) const {
    Extend(rec);
    PutText<12>(rec, 0, symbol);
    PutText<4>(rec, 12, tax_lot);
    PutText<8>(rec, 16, trade_date);
    PutText<4>(rec, 24, code);
    SetR8At(rec, 28, quantity);
    SetR4At(rec, 36, price);
    SetR8At(rec, 40, amount);
    PutText<8>(rec, 48, broker);
    SetR8At(rec, 56, commission);
    SetR8At(rec, 64, bond_interest);
    PutText<8>(rec, 72, lot_date);
    SetR8At(rec, 80, lot_cost);
    SetR4At(rec, 88, date_number);
    SetR8At(rec, 92, holding_key);
    SetI16At(rec, 100, security_record);
    PutText<4>(rec, 102, type);
    SetI16At(rec, 106, gain_record);
    std::memcpy(rec.data() + 108, extra.data(), extra.size());
}

bool TransactionRecord::EncodesTo(const unsigned char* b) const {
    // Every byte of the record belongs to a field, so the record encodes
    // to the bytes exactly when each field does.
    return TextHolds<12>(b, symbol) && TextHolds<4>(b + 12, tax_lot) && TextHolds<8>(b + 16, trade_date) &&
           TextHolds<4>(b + 24, code) && BitsHold<uint64_t>(b + 28, quantity) &&
           BitsHold<uint32_t>(b + 36, price) && BitsHold<uint64_t>(b + 40, amount) &&
           TextHolds<8>(b + 48, broker) && BitsHold<uint64_t>(b + 56, commission) &&
           BitsHold<uint64_t>(b + 64, bond_interest) && TextHolds<8>(b + 72, lot_date) &&
           BitsHold<uint64_t>(b + 80, lot_cost) && BitsHold<uint32_t>(b + 88, date_number) &&
           BitsHold<uint64_t>(b + 92, holding_key) && BitsHold<uint16_t>(b + 100, security_record) &&
           TextHolds<4>(b + 102, type) && BitsHold<uint16_t>(b + 106, gain_record) &&
           std::memcmp(b + 108, extra.data(), extra.size()) == 0;
}

bool TransactionRecord::IsDeleted() const {
    return symbol.size() >= 4 && std::memcmp(symbol.data(), "    ", 4) == 0;
}

std::string TransactionRecord::SettlementDate() const {
    return std::string(reinterpret_cast<const char*>(extra.data()), 8);
}

double TransactionRecord::SecFee() const {
    Record r(8);
    std::memcpy(r.data(), extra.data() + 8, 8);
    return r.R8(0);
}

void TransactionRecord::SetTradeExtra(std::string_view settlement_date, double sec_fee) {
    Record r(16);
    r.SetText(0, 8, settlement_date);
    r.SetR8(8, sec_fee);
    std::memcpy(extra.data(), r.data(), 16);
}

std::string TransactionRecord::CashText() const {
    return std::string(reinterpret_cast<const char*>(extra.data()), extra.size());
}

std::string TransactionRecord::SourceSymbol() const {
    return CashText().substr(0, 12);
}

void TransactionRecord::SetCashText(std::string_view text) {
    std::string t = Fixed(text, extra.size());
    std::memcpy(extra.data(), t.data(), extra.size());
}

void TransactionRecord::SetTransferExtra() {
    std::memset(extra.data(), 0, 16);
}

// ---- TR<acct>.EXT

TransactionExtension TransactionExtension::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    TransactionExtension e;
    e.memo = rec.Text(0, 20);
    e.settlement_date = rec.Text(20, 8);
    e.text = rec.Text(28, 32);
    return e;
}

void TransactionExtension::Encode(Record& rec) const {
    Extend(rec);
    PutText<20>(rec, 0, memo);
    PutText<8>(rec, 20, settlement_date);
    PutText<32>(rec, 28, text);
}

TransactionExtension ReadTransactionExtension(int unit, long n) {
    Record rec;
    if (!ReadRecord(unit, n, rec)) return TransactionExtension{};
    return TransactionExtension::Decode(rec);
}

// ---- HL.TMP / HL<acct>.REC

HoldingsHeader HoldingsHeader::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    HoldingsHeader h;
    h.first_lot = rec.I16(0);
    h.account = rec.Text(2, 8);
    h.records_in_use = rec.I16(10);
    h.next_free = rec.I16(12);
    h.label = rec.Text(14, 8);
    h.spare = rec.I16(22);
    if (h.first_lot == 0 || h.records_in_use == 0 || h.next_free == 0) {
        h.first_lot = -1;
        h.records_in_use = 1;
        h.next_free = 2;
    }
    return h;
}

void HoldingsHeader::Encode(Record& rec) const {
    Extend(rec);
    SetI16At(rec, 0, first_lot);
    PutText<8>(rec, 2, account);
    SetI16At(rec, 10, records_in_use);
    SetI16At(rec, 12, next_free);
    PutText<8>(rec, 14, label);
    SetI16At(rec, 22, spare);
}

HoldingsHeader ReadHoldingsHeader(int unit) {
    Record rec;
    if (!ReadRecord(unit, 1, rec)) return HoldingsHeader{};
    return HoldingsHeader::Decode(rec);
}

HoldingRecord HoldingRecord::Decode(const Record& in) {
    HoldingRecord h;
    DecodeInto(in, h);
    return h;
}

void HoldingRecord::DecodeInto(const Record& in, HoldingRecord& h) {
    Record padded;
    const Record& rec = FullView(in, padded);
    const char* b = reinterpret_cast<const char*>(rec.data());
    h.next = rec.I16(0);
    h.holding_key = rec.R8(2);
    AssignField<12>(h.symbol, b + 10);
    h.security_record = rec.I16(22);
    AssignField<8>(h.broker, b + 24);
    AssignField<4>(h.tax_lot, b + 32);
    h.quantity = rec.R8(36);
    h.cost = rec.R8(44);
    AssignField<8>(h.open_date, b + 52);
    h.bond_interest = rec.R8(60);
    AssignField<8>(h.reference, b + 68);
    AssignField<20>(h.memo, b + 76);
}

double HoldingRecord::QuantityOf(const Record& rec) {
    if (rec.size() >= kAccountRecordLength) return R8At(rec, 36);
    Record padded;
    return FullView(rec, padded).R8(36);
}

double HoldingRecord::CostOf(const Record& rec) {
    if (rec.size() >= kAccountRecordLength) return R8At(rec, 44);
    Record padded;
    return FullView(rec, padded).R8(44);
}

void HoldingRecord::SetQuantityAndCost(Record& rec, double quantity, double cost) {
    Extend(rec);
    SetR8At(rec, 36, quantity);
    SetR8At(rec, 44, cost);
}

void HoldingRecord::SetMemo(Record& rec, std::string_view memo) {
    Extend(rec);
    rec.SetText(76, 20, memo);
}

void HoldingRecord::Encode(Record& rec) const {
    Extend(rec);
    SetI16At(rec, 0, next);
    SetR8At(rec, 2, holding_key);
    PutText<12>(rec, 10, symbol);
    SetI16At(rec, 22, security_record);
    PutText<8>(rec, 24, broker);
    PutText<4>(rec, 32, tax_lot);
    SetR8At(rec, 36, quantity);
    SetR8At(rec, 44, cost);
    PutText<8>(rec, 52, open_date);
    SetR8At(rec, 60, bond_interest);
    PutText<8>(rec, 68, reference);
    PutText<20>(rec, 76, memo);
}

namespace {

// Up to n bytes of text (blank padded) as a big-endian integer.
uint64_t BigEndian(std::string_view text, std::size_t from, std::size_t n) {
    uint64_t v = 0;
    for (std::size_t i = from; i < from + n; ++i)
        v = (v << 8) | static_cast<unsigned char>(i < text.size() ? text[i] : ' ');
    return v;
}

// The same for whole fields, as the lot records hold them: one load (and
// a byte swap on a little-endian machine) instead of a loop over the bytes.
uint64_t BigEndian8(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
    return v;
}
uint32_t BigEndian4(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap32(v);
    return v;
}
uint16_t BigEndian2(const char* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap16(v);
    return v;
}

}  // namespace

LotOrder LotOrder::Of(double holding_key, std::string_view symbol, std::string_view tax_lot) {
    LotOrder o;
    if (holding_key == 0) holding_key = 0;  // -0 orders as 0, as it compares
    uint64_t bits;
    std::memcpy(&bits, &holding_key, 8);
    // A positive real gains the sign bit, a negative one has every bit
    // flipped, so larger reals give larger integers.
    o.key = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
    if (symbol.size() >= 12) {
        o.symbol_high = BigEndian8(symbol.data());
        o.symbol_low = BigEndian4(symbol.data() + 8);
    } else {
        o.symbol_high = BigEndian(symbol, 0, 8);
        o.symbol_low = static_cast<uint32_t>(BigEndian(symbol, 8, 4));
    }
    o.code =
        tax_lot.size() >= 2 ? BigEndian2(tax_lot.data()) : static_cast<uint16_t>(BigEndian(tax_lot, 0, 2));
    return o;
}

LotOrder LotOrder::OfRecord(const Record& lot) {
    if (lot.size() < kAccountRecordLength) return OfRecord(Full(lot));
    const auto* b = lot.bytes().data();
    const std::string_view symbol(reinterpret_cast<const char*>(b) + 10, 12);
    const std::string_view code(reinterpret_cast<const char*>(b) + 32, 2);
    return Of(lot.R8(2), symbol, code);
}

bool DeletedLot::Is(const Record& rec) {
    Record padded;
    const Record& full = FullView(rec, padded);
    return full.data()[2] == '$' && full.data()[3] == '$' && full.data()[4] == '$' && full.data()[5] == '$';
}

DeletedLot DeletedLot::Decode(const Record& rec) {
    DeletedLot d;
    Record padded;
    d.next_free = FullView(rec, padded).I16(0);
    return d;
}

void DeletedLot::Encode(Record& rec) const {
    Extend(rec);
    SetI16At(rec, 0, next_free);
    rec.SetText(2, 4, "$$$$");
}

// ---- The fund lots of HL.TMP

FundLotRecord FundLotRecord::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    FundLotRecord f;
    f.lot = HoldingRecord::Decode(rec);
    f.total_cost = rec.R8(96);
    return f;
}

void FundLotRecord::Encode(Record& rec) const {
    lot.Encode(rec);
    SetR8At(rec, 96, total_cost);
}

double FundLotRecord::TotalCostOf(const Record& rec) {
    Record padded;
    return FullView(rec, padded).R8(96);
}

void FundLotRecord::SetTotalCost(Record& rec, double total_cost) {
    Extend(rec);
    SetR8At(rec, 96, total_cost);
}

// ---- HL.EXT / HL<acct>.EXT

HoldingExtension HoldingExtension::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    HoldingExtension e;
    e.settlement_date = rec.Text(0, 8);
    e.text = rec.Text(8, 32);
    return e;
}

void HoldingExtension::Encode(Record& rec) const {
    Extend(rec);
    PutText<8>(rec, 0, settlement_date);
    PutText<32>(rec, 8, text);
}

// ---- GL.TMP / GL<acct>.REC

GainsHeader GainsHeader::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    GainsHeader h;
    h.account = rec.Text(0, 8);
    h.label = rec.Text(8, 8);
    h.count = rec.I16(16);
    return h;
}

void GainsHeader::Encode(Record& rec) const {
    Extend(rec);
    PutText<8>(rec, 0, account);
    PutText<8>(rec, 8, label);
    SetI16At(rec, 16, count);
}

GainRecord GainRecord::Decode(const Record& in) {
    Record padded;
    const Record& rec = FullView(in, padded);
    GainRecord g;
    g.sale_date = rec.R4(0);
    g.open_date = rec.Text(4, 8);
    g.description1 = rec.Text(12, 32);
    g.description2 = rec.Text(44, 32);
    g.gain = rec.R8(76);
    g.proceeds = rec.R8(84);
    g.cost = rec.R8(92);
    g.quantity = rec.R8(100);
    g.symbol = rec.Text(108, 12);
    g.short_cover = rec.I16(120);
    g.security_record = rec.I16(122);
    return g;
}

void GainRecord::Encode(Record& rec) const {
    Extend(rec);
    SetR4At(rec, 0, sale_date);
    PutText<8>(rec, 4, open_date);
    PutText<32>(rec, 12, description1);
    PutText<32>(rec, 44, description2);
    SetR8At(rec, 76, gain);
    SetR8At(rec, 84, proceeds);
    SetR8At(rec, 92, cost);
    SetR8At(rec, 100, quantity);
    PutText<12>(rec, 108, symbol);
    SetI16At(rec, 120, short_cover);
    SetI16At(rec, 122, security_record);
}

int16_t GainRecord::SecurityRecordOf(const Record& rec) {
    Record padded;
    return FullView(rec, padded).I16(122);
}

void GainRecord::SetTexts(Record& rec, std::string_view description1, std::string_view description2,
                          std::string_view symbol) {
    Extend(rec);
    PutText<32>(rec, 12, description1);
    PutText<32>(rec, 44, description2);
    PutText<12>(rec, 108, symbol);
}

}  // namespace records
