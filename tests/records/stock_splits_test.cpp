// Rdsplt and Wrsplt on the yearly split files: the security's record found
// among records 2 to the last in use, a new record taken at the end, both
// date forms read back as two-digit years, the counts the files may hold.

#include "records/stock_splits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

const std::string kIbm = "IBM         ";
const std::string kMsft = "MSFT        ";

class StockSplitFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "MSFT"}, {.symbol = "T"}});
    }

    static SplitEntry Entry(float ratio, int16_t em, int16_t ed, int16_t ey, int16_t pm, int16_t pd,
                            int16_t py, uint8_t posted) {
        return {ratio, em, ed, ey, pm, pd, py, posted};
    }

    static Record ReadRecord(const std::string& file, long n) {
        const DirectFile f(file, kSplitRecordLength, false);
        Record rec;
        EXPECT_TRUE(f.Read(n, rec)) << file << " record " << n;
        return rec;
    }

    TempDataDir dir_;
};

TEST_F(StockSplitFileTest, AnUnknownSymbolGivesTheMessageAndNoSplits) {
    SplitList list;
    list.count = 3;
    list.position = 7;
    std::string message;
    Rdsplt("XYZ", 1998, message, list);
    EXPECT_EQ(message, "XYZ          is not a recognized security identifier.");
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.position, 0);
    EXPECT_FALSE(TempDataDir::Exists("SECR1998.SPL"));
}

TEST_F(StockSplitFileTest, FirstSplitsStartTheFileAndASecondSymbolTakesRecordThree) {
    std::string message;
    SplitList ibm;
    Rdsplt(kIbm, 2003, message, ibm);
    EXPECT_EQ(message, "");
    EXPECT_EQ(ibm.position, 0);
    EXPECT_EQ(ibm.last_record, 0);
    EXPECT_FALSE(TempDataDir::Exists("SECR2003.SPL"));  // reading makes no file

    ibm.count = 1;
    ibm.splits[0] = Entry(2.0f, 3, 2, 3, 4, 15, 3, 2);
    Wrsplt(kIbm, 2003, ibm);
    // The caller's years take the form the file holds.
    EXPECT_EQ(ibm.splits[0].ex_year, 103);
    EXPECT_EQ(ibm.splits[0].pay_year, 103);
    EXPECT_EQ(ibm.position, 2);

    SplitList msft;
    Rdsplt(kMsft, 2003, message, msft);
    EXPECT_EQ(msft.position, 0);
    EXPECT_EQ(msft.last_record, 2);
    msft.count = 2;
    msft.splits[0] = Entry(1.5f, 12, 31, 2, 1, 5, 3, 2);
    msft.splits[1] = Entry(3.0f, 6, 1, 3, 6, 20, 3, 1);
    Wrsplt(kMsft, 2003, msft);

    EXPECT_EQ(ReadRecord("SECR2003.SPL", 1).I16(0), 3);
    const Record r2 = ReadRecord("SECR2003.SPL", 2);
    EXPECT_EQ(r2.Text(0, 12), kIbm);
    EXPECT_EQ(r2.I16(12), 1);
    EXPECT_EQ(r2.R4(14), 2.0f);
    EXPECT_EQ(r2.R4(18), 1030302.0f);  // 03/02/03
    EXPECT_EQ(r2.R4(22), 1030415.0f);
    EXPECT_EQ(r2.data()[26], 2);
    for (std::size_t b = 27; b < 118; ++b) EXPECT_EQ(r2.data()[b], 0) << "byte " << b;
    const Record r3 = ReadRecord("SECR2003.SPL", 3);
    EXPECT_EQ(r3.Text(0, 12), kMsft);
    EXPECT_EQ(r3.R4(18), 1021231.0f);  // 12/31/02

    SplitList back;
    Rdsplt(kMsft, 2003, message, back);
    EXPECT_EQ(back.position, 3);
    EXPECT_EQ(back.last_record, 3);
    ASSERT_EQ(back.count, 2);
    const SplitEntry& s = back.splits[1];
    EXPECT_EQ(s.ratio, 3.0f);
    EXPECT_EQ((std::vector<int>{s.ex_month, s.ex_day, s.ex_year, s.pay_month, s.pay_day, s.pay_year}),
              (std::vector<int>{6, 1, 3, 6, 20, 3}));
    EXPECT_EQ(s.posted, 1);
    EXPECT_EQ(back.splits[0].ex_year, 2);

    // Rewriting the earlier record leaves record 1 at the last record in
    // use, so the later one is still found.
    SplitList again;
    Rdsplt(kIbm, 2003, message, again);
    ASSERT_EQ(again.position, 2);
    again.count = 2;
    again.splits[1] = Entry(3.0f, 9, 1, 3, 9, 15, 3, 1);
    Wrsplt(kIbm, 2003, again);
    EXPECT_EQ(ReadRecord("SECR2003.SPL", 1).I16(0), 3);
    EXPECT_EQ(ReadRecord("SECR2003.SPL", 2).I16(12), 2);
    Rdsplt(kMsft, 2003, message, back);
    EXPECT_EQ(back.position, 3);
    EXPECT_EQ(back.count, 2);
}

// The pricing run writes plain YYMMDD date numbers, this program 1YYMMDD
// for 2000-2050: both read back as two-digit years; the count is kept
// within 0 to 8.
TEST_F(StockSplitFileTest, StoredRecordsReadInBothDateFormsWithTheirCountBounded) {
    struct Case {
        int16_t count;
        float ex_date;
        int expect_count;
        std::vector<int> expect_ex;  // month, day, year of split 1
    } cases[] = {
        {1, 980315.0f, 1, {3, 15, 98}},  // the pricing run, 1998
        {1, 30302.0f, 1, {3, 2, 3}},     // the pricing run, 2003
        {1, 1030302.0f, 1, {3, 2, 3}},   // this program, 2003
        {12, 1000105.0f, 8, {1, 5, 0}},  // too many: eight
        {-3, 1000105.0f, 0, {0, 0, 0}},  // below none: none
    };
    for (const Case& c : cases) {
        DirectFile f("SECR1998.SPL", kSplitRecordLength);
        Record head(kSplitRecordLength, 0);
        head.SetI16(0, 3);
        f.Write(1, head);
        Record other(kSplitRecordLength, 0);
        other.SetText(0, 12, kMsft);
        f.Write(2, other);
        Record rec(kSplitRecordLength, 0);
        rec.SetText(0, 12, kIbm);
        rec.SetI16(12, c.count);
        for (int k = 0; k < kMaxSplits; ++k) {
            rec.SetR4(14 + 13 * k, 2.0f);
            rec.SetR4(18 + 13 * k, c.ex_date);
            rec.SetR4(22 + 13 * k, c.ex_date);
            rec.data()[26 + 13 * k] = 2;
        }
        f.Write(3, rec);

        std::string message;
        SplitList list;
        Rdsplt(kIbm, 1998, message, list);
        EXPECT_EQ(list.position, 3) << c.ex_date;
        EXPECT_EQ(list.count, c.expect_count) << c.count;
        const SplitEntry& s = list.splits[0];
        EXPECT_EQ((std::vector<int>{s.ex_month, s.ex_day, s.ex_year}), c.expect_ex) << c.ex_date;
        if (c.expect_count > 0) {
            EXPECT_EQ(s.posted, 2);
        }
    }
}

TEST_F(StockSplitFileTest, UnreadableRecordsAndEmptyListsWriteNothingOrOnlyTheCount) {
    // A last record in use that lies past the end of the file: no splits.
    {
        DirectFile f("SECR1999.SPL", kSplitRecordLength);
        Record head(kSplitRecordLength, 0);
        head.SetI16(0, 5);
        f.Write(1, head);
    }
    std::string message;
    SplitList list;
    Rdsplt(kIbm, 1999, message, list);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.position, 0);

    // No record and no splits: nothing is written, no file is made.
    SplitList empty;
    Wrsplt(kIbm, 2001, empty);
    EXPECT_FALSE(TempDataDir::Exists("SECR2001.SPL"));

    // Every split deleted: the count becomes 0, the entries stay as stored.
    SplitList ibm;
    ibm.count = 1;
    ibm.splits[0] = Entry(2.0f, 5, 1, 98, 5, 20, 98, 2);
    Wrsplt(kIbm, 1998, ibm);
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("SECR1998.SPL");
    ibm.count = 0;
    ibm.splits[0] = SplitEntry{};
    Wrsplt(kIbm, 1998, ibm);
    std::vector<unsigned char> after = TempDataDir::ReadBytes("SECR1998.SPL");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[256 + 12], 0);
    after[256 + 12] = before[256 + 12];
    EXPECT_EQ(after, before);
}

}  // namespace
