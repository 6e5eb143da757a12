#include "records/transaction_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;
using Bytes = std::vector<unsigned char>;

// A record whose byte i holds (i % 250) + 1, so that every kept byte shows.
Record Numbered(std::size_t length) {
    Record rec(length);
    for (std::size_t i = 0; i < length; ++i) rec.data()[i] = static_cast<unsigned char>(i % 250 + 1);
    return rec;
}

OfflineTranRecord SampleLine() {
    OfflineTranRecord o;
    o.account = "ACC1    ";
    o.symbol = "IBM         ";
    o.tax_lot = "A   ";
    o.trade_date = "12/08/98";
    o.code = "B   ";
    o.shares = 100.5;
    o.price = 50.25f;
    o.amount = 5050.125;
    o.broker = "BRK1    ";
    o.commission = 25.0;
    o.bond_interest = 1.5;
    o.second_date = "01/02/97";
    o.second_amount = 4000.0;
    o.date_number = 981208.0f;
    o.sort_key = 123456.75;
    o.security_entry = 7;
    o.match_code = 3;
    o.entry_kind = "A   ";
    o.reserved = std::string(20, 'r');
    o.member = std::string(20, 'm');
    o.address = std::string(240, 'x');
    return o;
}

TEST(OfflineTranRecord, EveryFieldAtItsOffset) {
    Record rec(kTransactionLineLength, 0xEE);
    SampleLine().Encode(rec);
    EXPECT_EQ(rec.Text(0, 8), "ACC1    ");
    EXPECT_EQ(rec.Text(8, 12), "IBM         ");
    EXPECT_EQ(rec.Text(20, 4), "A   ");
    EXPECT_EQ(rec.Text(24, 8), "12/08/98");
    EXPECT_EQ(rec.Text(32, 4), "B   ");
    EXPECT_EQ(rec.R8(36), 100.5);
    EXPECT_EQ(rec.R4(44), 50.25f);
    EXPECT_EQ(rec.R8(48), 5050.125);
    EXPECT_EQ(rec.Text(56, 8), "BRK1    ");
    EXPECT_EQ(rec.R8(64), 25.0);
    EXPECT_EQ(rec.R8(72), 1.5);
    EXPECT_EQ(rec.Text(80, 8), "01/02/97");
    EXPECT_EQ(rec.R8(88), 4000.0);
    EXPECT_EQ(rec.R4(96), 981208.0f);
    EXPECT_EQ(rec.R8(100), 123456.75);
    EXPECT_EQ(rec.I16(108), 7);
    EXPECT_EQ(rec.I16(110), 3);
    EXPECT_EQ(rec.Text(112, 4), "A   ");
    EXPECT_EQ(rec.Text(116, 20), std::string(20, 'r'));
    EXPECT_EQ(rec.Text(136, 20), std::string(20, 'm'));
    EXPECT_EQ(rec.Text(156, 240), std::string(240, 'x'));
    for (std::size_t i = 396; i < kTransactionLineLength; ++i) ASSERT_EQ(rec.data()[i], 0xEE) << i;

    const OfflineTranRecord back = OfflineTranRecord::Decode(rec);
    EXPECT_EQ(back.account, "ACC1    ");
    EXPECT_EQ(back.price, 50.25f);
    EXPECT_EQ(back.match_code, 3);
    EXPECT_EQ(back.address, std::string(240, 'x'));
}

TEST(OfflineTranRecord, TheEditViewHoldsTheFirst140BytesAndRoundTripsExactly) {
    // Decoding and encoding a view changes nothing, field 20 included as
    // far as the view reaches it; fields beyond the view keep defaults.
    Record view = Numbered(kEditViewLength);
    const Record before = view;
    OfflineTranRecord o = OfflineTranRecord::Decode(view);
    EXPECT_EQ(o.member.substr(0, 4), view.Text(136, 4));
    EXPECT_EQ(o.member.substr(4), std::string(16, ' '));
    EXPECT_EQ(o.address, std::string(240, ' '));
    o.Encode(view);
    EXPECT_EQ(view.bytes(), before.bytes());
}

TEST(TransactionLines, RewritingATradeLinesPriceChangesBytes44To47AloneAndKeepsTheRestOfTheRecord) {
    TempDataDir dir;
    Bytes file(3 * kTransactionLineLength, 0);
    file[0] = 2;  // counter: one line, in record 2
    Record line = Numbered(kTransactionLineLength);
    SampleLine().Encode(line);
    std::memcpy(file.data() + kTransactionLineLength, line.data(), kTransactionLineLength);
    // A third record that must stay untouched.
    for (std::size_t i = 0; i < kTransactionLineLength; ++i) file[2 * kTransactionLineLength + i] = 0x5A;
    TempDataDir::WriteBytes("OFFLINET.DAT", file);

    std::string view;
    ASSERT_EQ(ReadEditView(kOfflineTransactionFile, 2, view), 0);
    ASSERT_EQ(view.size(), kEditViewLength);
    Record r(view.size());
    std::memcpy(r.data(), view.data(), view.size());
    OfflineTranRecord o = OfflineTranRecord::Decode(r);
    o.price = 61.5f;
    o.Encode(r);
    ASSERT_EQ(WriteEditView(kOfflineTransactionFile, 2,
                            std::string(reinterpret_cast<const char*>(r.data()), r.size())),
              0);

    const Bytes after = TempDataDir::ReadBytes("OFFLINET.DAT");
    ASSERT_EQ(after.size(), file.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::size_t in_record = i % kTransactionLineLength;
        if (i / kTransactionLineLength == 1 && in_record >= 44 && in_record < 48) continue;
        ASSERT_EQ(after[i], file[i]) << "byte " << i;
    }
    Record stored(4);
    std::memcpy(stored.data(), after.data() + kTransactionLineLength + 44, 4);
    EXPECT_EQ(stored.R4(0), 61.5f);
    EXPECT_EQ(ReadLineCounter(kOfflineTransactionFile), 2);
}

TEST(TransactionLines, AMissingFileCountsAsCounterOneAndItsLinesCannotBeRead) {
    TempDataDir dir;
    EXPECT_EQ(ReadLineCounter(kOfflineTransactionFile), 1);
    std::string view = "unchanged";
    EXPECT_EQ(ReadEditView(kOfflineTransactionFile, 2, view), 1);
    EXPECT_EQ(view, "unchanged");
}

TEST(BlockTradeFile, AllocationFieldsAtTheirOffsets) {
    BlockAllocation a;
    a.account = "ACC2";
    a.symbol = "XYZ";
    a.tax_lot = "B";
    a.trade_date = "01/05/99";
    a.code = "S";
    a.shares = 300;
    a.price = 12.5f;
    a.broker = "BRK";
    a.commission = 9.75;
    a.bond_interest = 0.25;
    a.word = 0;
    a.kind = "  ";
    a.sec_fee = 0.5;
    Record view = Numbered(kEditViewLength);
    const Record before = view;
    a.Encode(view);
    EXPECT_EQ(view.Text(0, 8), "ACC2    ");
    EXPECT_EQ(view.Text(8, 12), "XYZ         ");
    EXPECT_EQ(view.Text(20, 4), "B   ");
    EXPECT_EQ(view.Text(24, 8), "01/05/99");
    EXPECT_EQ(view.Text(32, 4), "S   ");
    EXPECT_EQ(view.R8(36), 300.0);
    EXPECT_EQ(view.R4(44), 12.5f);
    EXPECT_EQ(view.Text(56, 8), "BRK     ");
    EXPECT_EQ(view.R8(64), 9.75);
    EXPECT_EQ(view.R8(72), 0.25);
    EXPECT_EQ(view.I16(110), 0);
    EXPECT_EQ(view.Text(112, 2), "  ");
    EXPECT_EQ(view.R8(114), 0.5);
    // The bytes no allocation field owns keep what was read.
    for (std::size_t i : {48u, 55u, 80u, 109u, 122u, 139u}) EXPECT_EQ(view.data()[i], before.data()[i]) << i;
    const BlockAllocation back = BlockAllocation::Decode(view);
    EXPECT_EQ(back.sec_fee, 0.5);
    EXPECT_EQ(back.symbol, "XYZ         ");
}

TEST(BlockTradeFile, ADefinedBlockTakesAllocationsAfterItsLastLine) {
    TempDataDir dir;
    long rec = 0;
    // No block: nothing to allocate to, nothing written.
    EXPECT_EQ(AppendBlockAllocation(std::string(kEditViewLength, ' '), rec), 1);
    EXPECT_EQ(rec, -1);
    BlockDefinition none;
    EXPECT_FALSE(ReadBlockDefinition(none));

    BlockDefinition block;
    block.marker = std::string(kBlockMarker);
    block.symbol = "XYZ";
    block.code = "B";
    block.trade_date = " 1/ 5/99";
    block.quantity = 1000;
    block.price = 12.5f;
    block.broker = "BRK";
    block.total_commission = 100;
    ASSERT_TRUE(WriteBlockDefinition(block));
    Bytes bytes = TempDataDir::ReadBytes("TRADEBLK.DAT");
    ASSERT_EQ(bytes.size(), kTransactionLineLength);
    EXPECT_EQ(std::string(bytes.begin() + 2, bytes.begin() + 6), "BLOK");
    EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 18), "XYZ         ");
    EXPECT_EQ(std::string(bytes.begin() + 50, bytes.begin() + 58), "BRK     ");

    std::string view(kEditViewLength, ' ');
    view.replace(8, 3, "XYZ");
    ASSERT_EQ(AppendBlockAllocation(view, rec), 0);
    EXPECT_EQ(rec, 2);
    ASSERT_EQ(AppendBlockAllocation(view, rec), 0);
    EXPECT_EQ(rec, 3);
    BlockDefinition read;
    ASSERT_TRUE(ReadBlockDefinition(read));
    EXPECT_EQ(read.last_record, 3);
    EXPECT_EQ(read.quantity, 1000.0);
    EXPECT_EQ(read.symbol, "XYZ         ");
    EXPECT_EQ(ReadLineCounter(kBlockTradeFile), 3);
}

}  // namespace
