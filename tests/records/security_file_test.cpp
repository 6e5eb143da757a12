#include "records/security_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

using Bytes = std::vector<unsigned char>;

std::string Slice(const Bytes& b, std::size_t off, std::size_t len) {
    return std::string(b.begin() + static_cast<long>(off), b.begin() + static_cast<long>(off + len));
}

// A record whose byte i holds i + 1, so that every kept byte is visible.
Record Numbered() {
    Record rec(128);
    for (std::size_t i = 0; i < 128; ++i) rec.data()[i] = static_cast<unsigned char>(i + 1);
    return rec;
}

TEST(SecurityIndexFile, TwentyThreePositionsFillFourRecords) {
    TempDataDir dir;
    std::vector<std::string> ids;
    for (int i = 1; i <= 23; ++i) ids.push_back("SEC" + std::to_string(i));
    ids[4] = std::string(kDeletedSecurityKey);  // a deleted position keeps its place and the count
    ASSERT_TRUE(WriteSecurityIndex(ids));

    const Bytes bytes = TempDataDir::ReadBytes("SECURITY.IDX");
    ASSERT_EQ(bytes.size(), 4u * 128u);
    EXPECT_EQ(bytes[0], 23);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(Slice(bytes, 2, 126), std::string(126, '\0'));
    // Record 2: positions 1-10, each 12 characters, then 8 blanks.
    EXPECT_EQ(Slice(bytes, 128, 12), "SEC1        ");
    EXPECT_EQ(Slice(bytes, 128 + 48, 12), "$$$$$$$$$$$$");
    EXPECT_EQ(Slice(bytes, 128 + 108, 12), "SEC10       ");
    EXPECT_EQ(Slice(bytes, 128 + 120, 8), std::string(8, ' '));
    EXPECT_EQ(Slice(bytes, 256, 12), "SEC11       ");
    // Record 4: three identifiers, then blanks.
    EXPECT_EQ(Slice(bytes, 384, 36), "SEC21       SEC22       SEC23       ");
    EXPECT_EQ(Slice(bytes, 384 + 36, 92), std::string(92, ' '));

    const std::vector<std::string> read = ReadSecurityIndex();
    ASSERT_EQ(read.size(), 23u);
    EXPECT_EQ(read[0], "SEC1        ");
    EXPECT_EQ(read[4], "$$$$$$$$$$$$");
    EXPECT_EQ(read[22], "SEC23       ");
}

TEST(SecurityIndexFile, RewriteReplacesTheWholeFileAndEmptyIsACountOfZero) {
    TempDataDir dir;
    std::vector<std::string> ids(15, "A");
    ASSERT_TRUE(WriteSecurityIndex(ids));
    ASSERT_TRUE(WriteSecurityIndex({"B"}));
    EXPECT_EQ(TempDataDir::ReadBytes("SECURITY.IDX").size(), 2u * 128u);
    ASSERT_TRUE(WriteSecurityIndex({}));
    const Bytes bytes = TempDataDir::ReadBytes("SECURITY.IDX");
    EXPECT_EQ(bytes, Bytes(128, 0));
    EXPECT_TRUE(ReadSecurityIndex().empty());
}

TEST(SecurityIndexFile, CountBeyondTheRecordsListsTheIdentifiersThatRead) {
    TempDataDir dir;
    ASSERT_TRUE(WriteSecurityIndex({"A", "B", "C"}));
    Bytes bytes = TempDataDir::ReadBytes("SECURITY.IDX");
    bytes[0] = 25;  // claims three records of keys; only one is there
    TempDataDir::WriteBytes("SECURITY.IDX", bytes);
    const std::vector<std::string> read = ReadSecurityIndex();
    ASSERT_EQ(read.size(), 10u);  // the whole record that read, blanks after C
    EXPECT_EQ(read[2], "C           ");
    EXPECT_EQ(read[3], std::string(12, ' '));

    TempDataDir::WriteBytes("SECURITY.IDX", Bytes(60, 7));  // not even record 1
    EXPECT_TRUE(ReadSecurityIndex().empty());
}

TEST(SecurityRecordFile, NewRecordHasTheCusipOnlyWithTheOption) {
    struct Case {
        bool option;
        std::string cusip;
    } cases[] = {{false, std::string(12, '\0')}, {true, "IBM         "}};
    for (const Case& c : cases) {
        const Record rec = NewSecurityRecord("IBM", 7, c.option);
        ASSERT_EQ(rec.size(), 128u);
        EXPECT_EQ(rec.Text(0, 12), c.cusip) << c.option;
        EXPECT_EQ(rec.Text(12, 64), std::string(64, '\0'));
        EXPECT_EQ(rec.Text(76, 4), "    ");
        EXPECT_EQ(rec.Text(80, 44), std::string(44, '\0'));
        EXPECT_EQ(rec.I16(124), 7);
        EXPECT_EQ(rec.I16(126), 0);
    }
    // A twelve-character identifier fills the CUSIP field exactly.
    EXPECT_EQ(NewSecurityRecord("ABCDEFGHIJKL", 1, true).Text(0, 12), "ABCDEFGHIJKL");
    EXPECT_EQ(NewSecurityExtension().bytes(), Bytes(128, 0));
}

TEST(SecurityRecordFile, FieldsLieAtTheirBytesAndUnownedBytesAreKept) {
    Record rec = Numbered();
    SecurityRecord s = SecurityRecord::Decode(rec);
    s.cusip = "459200101";
    s.description1 = "INTL BUSINESS MACHINES";
    s.description2 = "";
    s.type = "H";
    s.category = "35";
    s.allocation = "EQ";
    s.due_date = "06/15/10";
    s.rate = 1.25f;
    s.exchange = "NYSE";
    s.autopricing = 'Y';
    s.payment_frequency = 4;
    s.ex_date = "02/08/01";
    s.pay_date = "03/10/01";
    s.entry = 300;
    s.loan_limit = 50;
    s.Encode(rec);

    EXPECT_EQ(rec.Text(0, 12), "459200101   ");
    EXPECT_EQ(rec.Text(12, 32), "INTL BUSINESS MACHINES          ");
    EXPECT_EQ(rec.Text(44, 32), std::string(32, ' '));
    EXPECT_EQ(rec.Text(76, 4), "H   ");
    EXPECT_EQ(rec.Text(80, 4), "35  ");
    EXPECT_EQ(rec.Text(84, 2), "EQ");
    EXPECT_EQ(rec.data()[86], 87);  // bytes 87-88 kept
    EXPECT_EQ(rec.data()[87], 88);
    EXPECT_EQ(rec.Text(88, 8), "06/15/10");
    EXPECT_FLOAT_EQ(rec.R4(96), 1.25f);
    EXPECT_EQ(rec.Text(100, 4), "NYSE");
    EXPECT_EQ(rec.Text(104, 1), "Y");
    EXPECT_EQ(rec.data()[105], 4);
    EXPECT_EQ(rec.data()[106], 107);  // bytes 107-108 kept
    EXPECT_EQ(rec.data()[107], 108);
    EXPECT_EQ(rec.Text(108, 8), "02/08/01");
    EXPECT_EQ(rec.Text(116, 8), "03/10/01");
    EXPECT_EQ(rec.I16(124), 300);
    EXPECT_EQ(rec.I16(126), 50);

    const SecurityRecord back = SecurityRecord::Decode(rec);
    EXPECT_EQ(back.TypeCharacter(), 'H');
    EXPECT_EQ(back.payment_frequency, 4);
    EXPECT_EQ(back.loan_limit, 50);
    EXPECT_FLOAT_EQ(back.rate, 1.25f);
}

TEST(SecurityExtensionFile, FieldsLieAtTheirBytesAndUnownedBytesAreKept) {
    Record rec = Numbered();
    SecurityExtension e = SecurityExtension::Decode(rec);
    e.issue_date = "01/01/95";
    e.first_coupon_date = "07/01/95";
    e.last_coupon_date = "";
    e.prerefunded_date = "01/01/05";
    e.call_date = "01/01/03";
    e.call_price = 102.5;
    e.yield_to_maturity = 5.5f;
    e.bond_type = "GO";
    e.moody_rating = "AAA";
    e.sp_rating = "AA+";
    e.insurer = "MBIAX";
    e.oid = 'Y';
    e.oid_yield = 6.25f;
    e.call_feature = 'C';
    e.put_feature = 'P';
    e.put_date = "01/01/08";
    e.put_price = 100.0;
    e.Encode(rec);

    const int kept[] = {1,  2,  35, 36, 37, 38, 59, 60, 61, 62,  63, 64,
                        83, 84, 85, 91, 92, 93, 95, 96, 97, 114, 128};
    for (int b : kept) EXPECT_EQ(rec.data()[b - 1], b) << "byte " << b;
    EXPECT_EQ(rec.Text(2, 8), "01/01/95");
    EXPECT_EQ(rec.Text(10, 8), "07/01/95");
    EXPECT_EQ(rec.Text(18, 8), std::string(8, ' '));
    EXPECT_EQ(rec.Text(26, 8), "01/01/05");
    EXPECT_EQ(rec.Text(38, 8), "01/01/03");
    EXPECT_DOUBLE_EQ(rec.R8(46), 102.5);
    EXPECT_FLOAT_EQ(rec.R4(54), 5.5f);
    EXPECT_EQ(rec.Text(64, 17), "GO  AAA AA+ MBIAX");
    EXPECT_EQ(rec.Text(81, 1), "Y");
    EXPECT_FLOAT_EQ(rec.R4(85), 6.25f);
    EXPECT_EQ(rec.Text(89, 1), "C");
    EXPECT_EQ(rec.Text(93, 1), "P");
    EXPECT_EQ(rec.Text(97, 8), "01/01/08");
    EXPECT_DOUBLE_EQ(rec.R8(105), 100.0);

    const SecurityExtension back = SecurityExtension::Decode(rec);
    EXPECT_EQ(back.insurer, "MBIAX");
    EXPECT_DOUBLE_EQ(back.call_price, 102.5);
    EXPECT_EQ(back.call_feature, 'C');
}

TEST(SecurityRecordFile, RecordsAreReadAndWrittenByPosition) {
    TempDataDir dir;
    Record rec;
    EXPECT_FALSE(ReadSecurityRecord(1, rec));  // no file: nothing read, nothing created
    EXPECT_FALSE(TempDataDir::Exists("SECURITY.REC"));

    ASSERT_TRUE(WriteSecurityRecord(3, NewSecurityRecord("XYZ", 3, true)));
    ASSERT_TRUE(WriteSecurityExtension(3, NewSecurityExtension()));
    EXPECT_EQ(TempDataDir::ReadBytes("SECURITY.REC").size(), 3u * 128u);
    EXPECT_EQ(TempDataDir::ReadBytes("SECURITY.EXT"), Bytes(3u * 128u, 0));

    SecurityRecord s;
    ASSERT_TRUE(ReadSecurity(3, s));
    EXPECT_EQ(s.cusip, "XYZ         ");
    EXPECT_EQ(s.entry, 3);
    EXPECT_FALSE(ReadSecurity(4, s));  // past the end decodes as zeros
    EXPECT_EQ(s.cusip, std::string(12, '\0'));
    EXPECT_EQ(s.entry, 0);

    SecurityExtension e;
    ASSERT_TRUE(ReadSecurityTerms(3, e));
    EXPECT_EQ(e.call_feature, '\0');
}

// A master is started with the cash security only when it is new: neither
// an index naming a position nor a first security record. An index lost
// beside a SECURITY.REC that still holds its securities must not turn
// their first one into CASH and the index into CASH alone.
TEST(SecurityMasterStart, TheCashSecurityStartsANewMasterOnly) {
    enum class Index { kNone, kNoPosition, kIbm };
    struct Case {
        const char* name;
        Index index;
        bool record;  // SECURITY.REC holds IBM as record 1
        bool started;
    } cases[] = {
        {"new directory", Index::kNone, false, true},
        {"index of no position, no records", Index::kNoPosition, false, true},
        {"index and records", Index::kIbm, true, false},
        {"index lost, records kept", Index::kNone, true, false},
        {"index of no position, records kept", Index::kNoPosition, true, false},
    };
    // A start that wrote the cash security but not its index is finished.
    {
        TempDataDir dir;
        Record cash(128, 0);
        CashSecurity().Encode(cash);
        ASSERT_TRUE(WriteSecurityRecord(kCashSecurityEntry, cash));
        EXPECT_TRUE(StartSecurityMaster());
        EXPECT_EQ(ReadSecurityIndex(), std::vector<std::string>{"CASH        "});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        if (c.index != Index::kNone) {
            ASSERT_TRUE(WriteSecurityIndex(c.index == Index::kIbm ? std::vector<std::string>{"IBM"}
                                                                  : std::vector<std::string>{}));
        }
        if (c.record) {
            ASSERT_TRUE(WriteSecurityRecord(1, NewSecurityRecord("IBM", 1, true)));
        }
        const Bytes index_before =
            TempDataDir::Exists("SECURITY.IDX") ? TempDataDir::ReadBytes("SECURITY.IDX") : Bytes();

        EXPECT_EQ(StartSecurityMaster(), c.started);
        SecurityRecord first;
        if (c.started) {
            ASSERT_TRUE(ReadSecurity(kCashSecurityEntry, first));
            EXPECT_EQ(first.description1.substr(0, 4), "CASH");
            EXPECT_EQ(first.type, "1   ");
            EXPECT_EQ(first.entry, kCashSecurityEntry);
            ASSERT_EQ(ReadSecurityIndex().size(), 1u);
            EXPECT_EQ(ReadSecurityIndex()[0], "CASH        ");
            EXPECT_FALSE(StartSecurityMaster());  // once only
        } else {
            if (c.record) {
                ASSERT_TRUE(ReadSecurity(1, first));
                EXPECT_EQ(first.cusip, "IBM         ");
            }
            const Bytes index_after =
                TempDataDir::Exists("SECURITY.IDX") ? TempDataDir::ReadBytes("SECURITY.IDX") : Bytes();
            EXPECT_EQ(index_after, index_before);
        }
    }
}

}  // namespace
