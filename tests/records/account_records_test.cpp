#include "records/account_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

using Bytes = std::vector<unsigned char>;

Bytes Txt(std::string_view s) {
    return Bytes(s.begin(), s.end());
}
Bytes I2(int16_t v) {
    Record r(2);
    r.SetI16(0, v);
    return r.bytes();
}
Bytes F4(float v) {
    Record r(4);
    r.SetR4(0, v);
    return r.bytes();
}
Bytes F8(double v) {
    Record r(8);
    r.SetR8(0, v);
    return r.bytes();
}

// One field of a layout: its name, 1-based first byte as the layouts give
// it, and the bytes an encoded sample must hold there.
struct FieldCheck {
    const char* name;
    std::size_t first_byte;
    Bytes expected;
};

constexpr unsigned char kFill = 0xEE;

// Encodes into a record full of a fill byte, then checks every field's
// bytes at its offset and that every byte no field owns still holds the
// fill byte (the encoder keeps bytes it does not own).
void CheckLayout(const std::function<void(Record&)>& encode, const std::vector<FieldCheck>& fields) {
    Record rec(128, kFill);
    encode(rec);
    ASSERT_EQ(rec.size(), 128u);
    std::vector<bool> owned(128, false);
    for (const auto& f : fields) {
        std::size_t off = f.first_byte - 1;
        ASSERT_LE(off + f.expected.size(), 128u) << f.name;
        Bytes got(rec.bytes().begin() + off, rec.bytes().begin() + off + f.expected.size());
        EXPECT_EQ(got, f.expected) << f.name << " at byte " << f.first_byte;
        for (std::size_t i = 0; i < f.expected.size(); ++i) {
            EXPECT_FALSE(owned[off + i]) << f.name << " overlaps another field";
            owned[off + i] = true;
        }
    }
    for (std::size_t i = 0; i < 128; ++i) {
        if (!owned[i]) {
            EXPECT_EQ(rec.bytes()[i], kFill) << "byte " << i + 1 << " not kept";
        }
    }
}

// Decoding any stored bytes and encoding the result into the same record
// gives the same bytes back.
template <class T>
void CheckBytesSurvive(unsigned seed, const std::function<void(Record&)>& shape = nullptr) {
    std::mt19937 gen(seed);
    for (int round = 0; round < 50; ++round) {
        Record stored(128);
        for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
        if (shape) shape(stored);
        Record copy = stored;
        T::Decode(stored).Encode(copy);
        EXPECT_EQ(copy.bytes(), stored.bytes()) << "round " << round;
    }
}

TEST(AccountRecordsLayout, TransactionFieldsAtTheirBytes) {
    TransactionRecord t;
    t.symbol = "IBM";
    t.tax_lot = "A";
    t.trade_date = "03/15/02";
    t.code = "B";
    t.quantity = 100.5;
    t.price = 12.25f;
    t.amount = 1231.13;
    t.broker = "MLY";
    t.commission = 9.95;
    t.bond_interest = 1.5;
    t.lot_date = "03/14/02";
    t.lot_cost = 1200.0;
    t.date_number = 1020315.0f;
    t.holding_key = 4.25;
    t.security_record = 17;
    t.type = "N";
    t.gain_record = 3;
    t.SetTradeExtra("03/18/02", 0.07);
    Bytes extra = Txt("03/18/02");
    Bytes fee = F8(0.07);
    extra.insert(extra.end(), fee.begin(), fee.end());
    extra.insert(extra.end(), 4, 0);  // bytes 125-128 are carried with field 18
    CheckLayout([&](Record& r) { t.Encode(r); }, {{"symbol", 1, Txt("IBM         ")},
                                                  {"tax lot", 13, Txt("A   ")},
                                                  {"trade date", 17, Txt("03/15/02")},
                                                  {"code", 25, Txt("B   ")},
                                                  {"quantity", 29, F8(100.5)},
                                                  {"price", 37, F4(12.25f)},
                                                  {"amount", 41, F8(1231.13)},
                                                  {"broker", 49, Txt("MLY     ")},
                                                  {"commission", 57, F8(9.95)},
                                                  {"bond interest", 65, F8(1.5)},
                                                  {"lot date", 73, Txt("03/14/02")},
                                                  {"lot cost", 81, F8(1200.0)},
                                                  {"date number", 89, F4(1020315.0f)},
                                                  {"holding key", 93, F8(4.25)},
                                                  {"security record", 101, I2(17)},
                                                  {"type", 103, Txt("N   ")},
                                                  {"gain record", 107, I2(3)},
                                                  {"settlement date, SEC fee and unused tail", 109, extra}});
}

TEST(AccountRecordsLayout, HoldingsFieldsAtTheirBytes) {
    HoldingsHeader h;
    h.first_lot = 3;
    h.account = "AB1";
    h.records_in_use = 7;
    h.next_free = 8;
    h.label = "REPORT";
    CheckLayout([&](Record& r) { h.Encode(r); }, {{"first lot", 1, I2(3)},
                                                  {"account", 3, Txt("AB1     ")},
                                                  {"records in use", 11, I2(7)},
                                                  {"next free", 13, I2(8)},
                                                  {"label", 15, Txt("REPORT  ")},
                                                  {"zero word", 23, I2(0)}});

    HoldingRecord lot;
    lot.next = 5;
    lot.holding_key = 2.5;
    lot.symbol = "XYZ";
    lot.security_record = 9;
    lot.broker = "BRK1";
    lot.tax_lot = "a";
    lot.quantity = -50;
    lot.cost = 1234.56;
    lot.open_date = "01/02/99";
    lot.bond_interest = 3.25;
    lot.reference = "12/31/98";
    lot.memo = "gift from uncle";
    CheckLayout([&](Record& r) { lot.Encode(r); }, {{"next", 1, I2(5)},
                                                    {"holding key", 3, F8(2.5)},
                                                    {"symbol", 11, Txt("XYZ         ")},
                                                    {"security record", 23, I2(9)},
                                                    {"broker", 25, Txt("BRK1    ")},
                                                    {"tax lot", 33, Txt("a   ")},
                                                    {"quantity", 37, F8(-50)},
                                                    {"cost", 45, F8(1234.56)},
                                                    {"open date", 53, Txt("01/02/99")},
                                                    {"bond interest", 61, F8(3.25)},
                                                    {"reference", 69, Txt("12/31/98")},
                                                    {"memo", 77, Txt("gift from uncle     ")}});

    DeletedLot gone{12};
    CheckLayout([&](Record& r) { gone.Encode(r); }, {{"next free", 1, I2(12)}, {"mark", 3, Txt("$$$$")}});

    HoldingExtension hx{"04/01/03", "held at custodian"};
    CheckLayout([&](Record& r) { hx.Encode(r); },
                {{"settlement", 1, Txt("04/01/03")}, {"text", 9, Txt(Fixed("held at custodian", 32))}});
}

TEST(AccountRecordsLayout, FundLotAddsTheTotalCostAfterTheLot) {
    FundLotRecord f;
    f.lot.next = -1;
    f.lot.holding_key = 7;
    f.lot.symbol = "FUND";
    f.lot.security_record = 4;
    f.lot.broker = "BRK2";
    f.lot.tax_lot = "A";
    f.lot.quantity = 12.5;
    f.lot.cost = 0;
    f.lot.open_date = "03/04/99";
    f.lot.bond_interest = 1.5;
    f.lot.reference = "03/05/99";
    f.lot.memo = "switch";
    f.total_cost = 250.75;
    CheckLayout([&](Record& r) { f.Encode(r); }, {{"next", 1, I2(-1)},
                                                  {"holding key", 3, F8(7)},
                                                  {"symbol", 11, Txt("FUND        ")},
                                                  {"security record", 23, I2(4)},
                                                  {"date text", 25, Txt("BRK2    ")},
                                                  {"tax lot", 33, Txt("A   ")},
                                                  {"quantity", 37, F8(12.5)},
                                                  {"amount invested", 45, F8(0)},
                                                  {"purchase date", 53, Txt("03/04/99")},
                                                  {"added amount", 61, F8(1.5)},
                                                  {"transfer date", 69, Txt("03/05/99")},
                                                  {"switching text", 77, Txt(Fixed("switch", 20))},
                                                  {"total cost", 97, F8(250.75)}});
    Record rec(128, kFill);
    FundLotRecord::SetTotalCost(rec, -3.5);
    EXPECT_EQ(FundLotRecord::TotalCostOf(rec), -3.5);
    EXPECT_EQ(rec.bytes()[95], kFill);
    EXPECT_EQ(rec.bytes()[104], kFill);
    EXPECT_EQ(FundLotRecord::TotalCostOf(Record()), 0.0);  // a short record reads as zeros
}

TEST(AccountRecordsLayout, TransactionHeaderExtensionAndGainsAtTheirBytes) {
    TransactionFileHeader th{42};
    CheckLayout([&](Record& r) { th.Encode(r); }, {{"last record", 1, I2(42)}});

    TransactionExtension tx{"lot memo", "05/06/07", "note"};
    CheckLayout([&](Record& r) { tx.Encode(r); }, {{"memo", 1, Txt(Fixed("lot memo", 20))},
                                                   {"settlement", 21, Txt("05/06/07")},
                                                   {"text", 29, Txt(Fixed("note", 32))}});

    GainsHeader gh{"AB1", "REPORT", 4};
    CheckLayout([&](Record& r) { gh.Encode(r); },
                {{"account", 1, Txt("AB1     ")}, {"label", 9, Txt("REPORT  ")}, {"count", 17, I2(4)}});

    GainRecord g;
    g.sale_date = 1050630.0f;
    g.open_date = "01/15/04";
    g.description1 = "INTL BUSINESS MACHINES";
    g.description2 = "COMMON";
    g.gain = -12.5;
    g.proceeds = 987.5;
    g.cost = 1000;
    g.quantity = 10;
    g.symbol = "IBM";
    g.short_cover = 1;
    g.security_record = 33;
    CheckLayout([&](Record& r) { g.Encode(r); },
                {{"sale date", 1, F4(1050630.0f)},
                 {"open date", 5, Txt("01/15/04")},
                 {"description 1", 13, Txt(Fixed("INTL BUSINESS MACHINES", 32))},
                 {"description 2", 45, Txt(Fixed("COMMON", 32))},
                 {"gain", 77, F8(-12.5)},
                 {"proceeds", 85, F8(987.5)},
                 {"cost", 93, F8(1000)},
                 {"quantity", 101, F8(10)},
                 {"symbol", 109, Txt("IBM         ")},
                 {"short cover", 121, I2(1)},
                 {"security record", 123, I2(33)}});
}

TEST(AccountRecordsLayout, StoredBytesSurviveDecodeAndEncode) {
    CheckBytesSurvive<TransactionFileHeader>(1);
    CheckBytesSurvive<TransactionRecord>(2);
    CheckBytesSurvive<TransactionExtension>(3);
    CheckBytesSurvive<HoldingRecord>(4);
    CheckBytesSurvive<DeletedLot>(5, [](Record& r) { r.SetText(2, 4, "$$$$"); });
    CheckBytesSurvive<HoldingExtension>(6);
    CheckBytesSurvive<GainsHeader>(7);
    CheckBytesSurvive<GainRecord>(8);
    CheckBytesSurvive<FundLotRecord>(10);
    // A holdings header survives unless it reads as empty (a zero in one of
    // its three counters).
    CheckBytesSurvive<HoldingsHeader>(9, [](Record& r) {
        for (std::size_t off : {0, 10, 12})
            if (r.I16(off) == 0) r.SetI16(off, 1);
    });
}

// Decoding one record after another into the same kept object (as the
// record walks do) gives what a fresh decode gives, whatever the kept
// texts held before: other lengths (a caller changed them) or a short
// record's zeros.
template <class T>
void CheckDecodeIntoKept(unsigned seed, const std::function<void(T&)>& disturb) {
    std::mt19937 gen(seed);
    T kept;
    for (int round = 0; round < 20; ++round) {
        Record stored(round % 5 == 4 ? 40 : 128);  // now and then a short record
        for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
        if (round % 3 == 2) disturb(kept);
        T::DecodeInto(stored, kept);
        Record fresh(128), reused(128);
        T::Decode(stored).Encode(fresh);
        kept.Encode(reused);
        EXPECT_EQ(reused.bytes(), fresh.bytes()) << "round " << round;
    }
}

TEST(AccountRecordsLayout, DecodeIntoAKeptRecordEqualsAFreshDecode) {
    CheckDecodeIntoKept<TransactionRecord>(11, [](TransactionRecord& t) {
        t.symbol = "X";
        t.code = "LONGER THAN FOUR";
        t.lot_date.clear();
        t.type = "N   ";
    });
    CheckDecodeIntoKept<HoldingRecord>(12, [](HoldingRecord& h) {
        h.symbol.clear();
        h.memo = "A MEMO LONGER THAN TWENTY CHARACTERS";
        h.tax_lot = "S";
    });
}

TEST(AccountRecordsLayout, ShortRecordsDecodeAsZerosAndEncodeToFullLength) {
    Record empty;
    TransactionRecord t = TransactionRecord::Decode(empty);
    EXPECT_EQ(t.symbol, std::string(12, '\0'));
    EXPECT_EQ(t.quantity, 0.0);
    Record out;
    GainRecord{}.Encode(out);
    EXPECT_EQ(out.size(), 128u);
    EXPECT_EQ(out.Text(108, 12), std::string(12, ' '));
    EXPECT_EQ(out.I16(124), 0);  // unused tail of a new record is zero
}

TEST(AccountRecordsTransaction, FieldEighteenViews) {
    Record stored(128, 0);
    for (std::size_t i = 124; i < 128; ++i) stored.bytes()[i] = 0x5A;  // unused tail of a trade

    TransactionRecord trade = TransactionRecord::Decode(stored);
    trade.SetTradeExtra("06/01/05", 1.25);
    EXPECT_EQ(trade.SettlementDate(), "06/01/05");
    EXPECT_EQ(trade.SecFee(), 1.25);
    Record r = stored;
    trade.Encode(r);
    EXPECT_EQ(r.Text(108, 8), "06/01/05");
    EXPECT_EQ(r.R8(116), 1.25);
    EXPECT_EQ(r.U32(124), 0x5A5A5A5Au);

    TransactionRecord cash = TransactionRecord::Decode(stored);
    cash.SetCashText("IBM         DIVIDEND");
    EXPECT_EQ(cash.CashText(), "IBM         DIVIDEND");
    EXPECT_EQ(cash.SourceSymbol(), "IBM         ");
    cash.SetCashText("SHORT");
    EXPECT_EQ(cash.CashText(), Fixed("SHORT", 20));
    cash.SetCashText("A TEXT LONGER THAN TWENTY CHARACTERS");
    EXPECT_EQ(cash.CashText(), "A TEXT LONGER THAN T");

    TransactionRecord transfer = cash;
    transfer.SetTransferExtra();
    r = stored;
    transfer.Encode(r);
    for (std::size_t i = 108; i < 124; ++i) EXPECT_EQ(r.bytes()[i], 0) << i;
    EXPECT_EQ(r.Text(124, 4), "AN T");  // the unused tail is carried, not cleared
}

TEST(AccountRecordsTransaction, DeletedWhenTheSymbolBeginsWithFourBlanks) {
    struct Case {
        std::string symbol;
        bool deleted;
    } cases[] = {
        {std::string(12, ' '), true}, {"    X       ", true}, {"   X        ", false}, {"IBM", false}};
    for (const auto& c : cases) {
        TransactionRecord t;
        t.symbol = c.symbol;
        Record r;
        t.Encode(r);
        EXPECT_EQ(TransactionRecord::Decode(r).IsDeleted(), c.deleted) << '"' << c.symbol << '"';
    }
    Record blanks(128, ' ');
    EXPECT_TRUE(TransactionRecord::Decode(blanks).IsDeleted());
    // A symbol set shorter than four characters is never a deleted one.
    TransactionRecord t;
    t.symbol = "   ";
    EXPECT_FALSE(t.IsDeleted());
    t.symbol = "    ";
    EXPECT_TRUE(t.IsDeleted());
}

// EncodesTo tells, without an encode, whether Encode would leave the stored
// bytes as they are: the same answer as encoding and comparing, for changes
// to every kind of field, texts of other lengths than their fields (cut or
// blank padded as Encode puts them) and numbers whose bits differ though
// they compare equal (-0, NaN payloads).
TEST(AccountRecordsTransaction, EncodesToAnswersAsAnEncodeAndCompare) {
    struct Case {
        const char* name;
        std::function<void(Record&)> stored;  // shapes the stored bytes first
        std::function<void(TransactionRecord&)> change;
    };
    const auto nan_with = [](uint64_t payload) {
        const uint64_t bits = 0x7FF0000000000000ull | payload;
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    };
    const std::vector<Case> cases = {
        {"unchanged", nullptr, [](TransactionRecord&) {}},
        {"symbol", nullptr, [](TransactionRecord& t) { t.symbol[11] ^= 1; }},
        {"code", nullptr, [](TransactionRecord& t) { t.code[0] ^= 1; }},
        {"type", nullptr, [](TransactionRecord& t) { t.type[3] ^= 1; }},
        {"quantity", nullptr, [](TransactionRecord& t) { t.quantity = t.quantity + 1; }},
        {"price", nullptr, [](TransactionRecord& t) { t.price = t.price + 1; }},
        {"holding key", nullptr, [](TransactionRecord& t) { t.holding_key = 12.5; }},
        {"security record", nullptr, [](TransactionRecord& t) { ++t.security_record; }},
        {"gain record", nullptr, [](TransactionRecord& t) { ++t.gain_record; }},
        {"date number", nullptr, [](TransactionRecord& t) { t.date_number = 970110; }},
        {"extra's last byte", nullptr, [](TransactionRecord& t) { t.extra[19] ^= 1; }},
        {"short symbol over blanks", [](Record& r) { r.SetText(0, 12, "IBM"); },
         [](TransactionRecord& t) { t.symbol = "IBM"; }},
        {"short symbol over other bytes", [](Record& r) { r.SetText(0, 12, "IBMX"); },
         [](TransactionRecord& t) { t.symbol = "IBM"; }},
        {"long code cut to its field", [](Record& r) { r.SetText(24, 4, "BUY "); },
         [](TransactionRecord& t) { t.code = "BUY AND MORE"; }},
        {"empty broker over blanks", [](Record& r) { r.SetText(48, 8, ""); },
         [](TransactionRecord& t) { t.broker.clear(); }},
        {"empty broker over zeros", [](Record& r) { std::memset(r.data() + 48, 0, 8); },
         [](TransactionRecord& t) { t.broker.clear(); }},
        {"-0 over 0", [](Record& r) { r.SetR8(80, 0.0); }, [](TransactionRecord& t) { t.lot_cost = -0.0; }},
        {"another NaN", [&](Record& r) { r.SetR8(40, nan_with(1)); },
         [&](TransactionRecord& t) { t.amount = nan_with(2); }},
        {"the same NaN", [&](Record& r) { r.SetR8(40, nan_with(1)); }, [](TransactionRecord&) {}},
    };
    std::mt19937 gen(57);
    for (const Case& c : cases) {
        for (int round = 0; round < 4; ++round) {
            Record stored(128);
            for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
            if (c.stored) c.stored(stored);
            TransactionRecord t = TransactionRecord::Decode(stored);
            c.change(t);
            Record encoded = stored;
            t.Encode(encoded);
            EXPECT_EQ(t.EncodesTo(stored.data()), encoded.bytes() == stored.bytes())
                << c.name << ", round " << round;
        }
    }
}

// The gain record's texts written in place, as Encode puts them, and its
// security record read in place; the other bytes are kept.
TEST(AccountRecordsGains, TextsWrittenInPlaceAsEncodePutsThem) {
    std::mt19937 gen(58);
    Record stored(128);
    for (auto& b : stored.bytes()) b = static_cast<unsigned char>(gen());
    stored.SetI16(122, 417);
    EXPECT_EQ(GainRecord::SecurityRecordOf(stored), 417);

    Record in_place = stored;
    GainRecord::SetTexts(in_place, "INTL BUSINESS MACHINES", std::string(40, 'D'), "IBM");
    GainRecord g = GainRecord::Decode(stored);
    g.description1 = "INTL BUSINESS MACHINES";
    g.description2 = std::string(40, 'D');
    g.symbol = "IBM";
    Record encoded = stored;
    g.Encode(encoded);
    EXPECT_EQ(in_place.bytes(), encoded.bytes());
    EXPECT_EQ(GainRecord::SecurityRecordOf(Record()), 0);  // a short record reads as zeros
}

TEST(AccountRecordsHoldings, HeaderWithAZeroCounterReadsAsEmpty) {
    struct Case {
        int16_t first, in_use, next_free;
        int16_t want_first, want_in_use, want_next_free;
    } cases[] = {
        {3, 7, 8, 3, 7, 8},    // a list as stored
        {-1, 1, 2, -1, 1, 2},  // an empty list as the replay writes it
        {0, 7, 8, -1, 1, 2},   // no first lot
        {3, 0, 8, -1, 1, 2},   // no records in use
        {3, 7, 0, -1, 1, 2},   // no next free record
        {0, 0, 0, -1, 1, 2},   // a record never written
    };
    for (const auto& c : cases) {
        Record r(128, 0);
        r.SetI16(0, c.first);
        r.SetText(2, 8, "AB1");
        r.SetI16(10, c.in_use);
        r.SetI16(12, c.next_free);
        HoldingsHeader h = HoldingsHeader::Decode(r);
        EXPECT_EQ(h.first_lot, c.want_first) << c.first << "," << c.in_use << "," << c.next_free;
        EXPECT_EQ(h.records_in_use, c.want_in_use);
        EXPECT_EQ(h.next_free, c.want_next_free);
        EXPECT_EQ(h.account, "AB1     ");
        EXPECT_EQ(h.IsEmpty(), c.want_first == -1);
    }
}

TEST(AccountRecordsHoldings, UnreadableHeaderAndExtensionReadAsEmpty) {
    TempDataDir dir;
    Open(16, "HLAB1.REC");  // a new, empty file: record 1 cannot be read
    HoldingsHeader h = ReadHoldingsHeader(16);
    EXPECT_EQ(h.first_lot, -1);
    EXPECT_EQ(h.records_in_use, 1);
    EXPECT_EQ(h.next_free, 2);
    Close(16);

    Open(16, "TRAB1.EXT");
    TransactionExtension e{"memo", "01/01/01", "text"};
    Record r;
    e.Encode(r);
    ASSERT_TRUE(WriteRecord(16, 2, r));
    EXPECT_EQ(ReadTransactionExtension(16, 2).memo, Fixed("memo", 20));
    TransactionExtension missing = ReadTransactionExtension(16, 5);
    EXPECT_EQ(missing.memo, std::string(20, ' '));
    EXPECT_EQ(missing.settlement_date, std::string(8, ' '));
    EXPECT_EQ(missing.text, std::string(32, ' '));
    Close(16);
}

TEST(AccountRecordsHoldings, DeletedLotKeepsTheRestOfItsBytes) {
    HoldingRecord lot;
    lot.symbol = "XYZ";
    lot.quantity = 10;
    Record r;
    lot.Encode(r);
    EXPECT_FALSE(DeletedLot::Is(r));
    DeletedLot{6}.Encode(r);
    EXPECT_TRUE(DeletedLot::Is(r));
    EXPECT_EQ(DeletedLot::Decode(r).next_free, 6);
    EXPECT_EQ(r.R8(36), 10.0);  // the old quantity stays where it was
}

}  // namespace
