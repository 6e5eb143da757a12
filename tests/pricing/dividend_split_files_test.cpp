// The dividend and split files as the pricing run leaves them, byte for
// byte: slots by pay month, files by pay year through the date window,
// splits after a security's entries or in a new record, repeats and
// ninth splits leaving the file as it was, and what the split dialogs read
// back.

#include "pricing/dividend_split_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/prices.h"
#include "records/record.h"
#include "records/stock_splits.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace pricing;
using Bytes = std::vector<unsigned char>;

void PutR4(Bytes& b, std::size_t off, float v) {
    std::memcpy(b.data() + off, &v, 4);  // the test machine is little-endian, as the files are
}

void PutI16(Bytes& b, std::size_t off, int16_t v) {
    b[off] = static_cast<unsigned char>(v & 0xff);
    b[off + 1] = static_cast<unsigned char>((v >> 8) & 0xff);
}

// A new dividend file: records of 128 blanks, then zeros.
Bytes NewDividendFile(int records) {
    Bytes b(384 * static_cast<std::size_t>(records), 0);
    for (int r = 0; r < records; ++r) std::memset(b.data() + 384 * r, ' ', 128);
    return b;
}

void PutDividend(Bytes& b, int record, int month, float amount, float ex, unsigned char day) {
    const std::size_t off =
        384 * static_cast<std::size_t>(record - 1) + 27 * static_cast<std::size_t>(month - 1);
    PutR4(b, off, amount);
    PutR4(b, off + 4, ex);
    b[off + 8] = day;
}

class DividendFileTest : public ::testing::Test {
protected:
    std::string warnings_;
    WarningSink sink_ = StringWarnings(warnings_);
    TempDataDir dir_;
};

TEST_F(DividendFileTest, DividendsFillTheSlotsOfTheirPayMonths) {
    Wrdiv(0.25f, "03/01/98", "03/15/98", 2, 3, sink_);
    Bytes expected = NewDividendFile(3);
    PutDividend(expected, 2, 3, 0.25f, 980301.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), expected);

    Wrdiv(0.30f, " 6/ 1/98", " 6/15/98", 2, 3, sink_);
    PutDividend(expected, 2, 6, 0.30f, 980601.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), expected);

    // A second March dividend replaces the first.
    Wrdiv(0.40f, "3/2/98", "3/20/98", 2, 3, sink_);
    PutDividend(expected, 2, 3, 0.40f, 980302.0f, 20);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), expected);
    EXPECT_EQ(warnings_, "");
}

TEST_F(DividendFileTest, TheFileIsThatOfThePayYear) {
    Wrdiv(0.25f, "12/15/98", " 1/15/99", 1, 2, sink_);
    EXPECT_FALSE(TempDataDir::Exists("SECR1998.DIV"));
    Bytes expected = NewDividendFile(2);
    PutDividend(expected, 1, 1, 0.25f, 981215.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1999.DIV"), expected);

    // A pay date in 2003 files under 2003; the slot keeps the plain ex-date
    // number.
    Wrdiv(0.5f, "12/15/02", " 1/15/03", 1, 2, sink_);
    EXPECT_FALSE(TempDataDir::Exists("SECR1903.DIV"));
    expected = NewDividendFile(2);
    PutDividend(expected, 1, 1, 0.5f, 21215.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR2003.DIV"), expected);
}

TEST_F(DividendFileTest, ANewFileReachesTheRecordWritten) {
    Wrdiv(1.0f, "03/01/98", "03/15/98", 4, 2, sink_);
    Bytes expected = NewDividendFile(4);
    PutDividend(expected, 4, 3, 1.0f, 980301.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), expected);

    // A record past the end of an existing file starts from zeros.
    Wrdiv(2.0f, "03/01/98", "03/15/98", 6, 2, sink_);
    expected.resize(384 * 6, 0);
    PutDividend(expected, 6, 3, 2.0f, 980301.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), expected);
}

TEST_F(DividendFileTest, OnlyTheSlotsValuesChange) {
    Bytes file(384 * 2);
    for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<unsigned char>(i * 7 + 1);
    TempDataDir::WriteBytes("SECR1998.DIV", file);
    Wrdiv(0.25f, "12/01/98", "12/15/98", 2, 2, sink_);
    PutDividend(file, 2, 12, 0.25f, 981201.0f, 15);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.DIV"), file);
}

TEST_F(DividendFileTest, WhatIsNotADateFilesNothing) {
    struct Case {
        const char* ex;
        const char* pay;
    };
    const std::vector<Case> cases = {
        {"N/A     ", "03/15/98"}, {"03/01/98", "N/A"},      {"03/01/98", "13/15/98"},
        {"03/01/98", " 0/15/98"}, {"03/01/98", "        "}, {"03/01/98", "  /  /Q "},
        {"03/01/98", "03/00/98"}, {"03/01/98", "3/15/198"}, {"03/01/98", "1/3/15/9"},
    };
    for (const Case& c : cases) {
        warnings_.clear();
        Wrdiv(0.25f, c.ex, c.pay, 1, 1, sink_);
        EXPECT_EQ(warnings_, std::string(" Warning: dividend not filed, ex-date ") + records::Fixed(c.ex, 8) +
                                 ", pay date " + records::Fixed(c.pay, 8) + "\n")
            << c.ex << " " << c.pay;
    }
    EXPECT_FALSE(TempDataDir::Exists("SECR1998.DIV"));
    Wrdiv(0.25f, "03/01/98", "03/15/98", 0, 5, sink_);  // a security whose dividends are not filed
    EXPECT_FALSE(TempDataDir::Exists("SECR1998.DIV"));
}

// ---- Splits

const std::string kIbm = "IBM         ";
const std::string kMsft = "MSFT        ";

Bytes SplitHeader(int16_t last, int records) {
    Bytes b(256 * static_cast<std::size_t>(records), 0);
    PutI16(b, 0, last);
    return b;
}

void PutSymbol(Bytes& b, int record, const std::string& symbol, int16_t count) {
    const std::size_t off = 256 * static_cast<std::size_t>(record - 1);
    std::memcpy(b.data() + off, symbol.data(), 12);
    PutI16(b, off + 12, count);
}

void PutSplit(Bytes& b, int record, int k, float ratio, float ex, float pay, unsigned char code) {
    const std::size_t off =
        256 * static_cast<std::size_t>(record - 1) + 14 + 13 * static_cast<std::size_t>(k - 1);
    PutR4(b, off, ratio);
    PutR4(b, off + 4, ex);
    PutR4(b, off + 8, pay);
    b[off + 12] = code;
}

class SplitFileTest : public DividendFileTest {
protected:
    void SetUp() override { fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "MSFT"}}); }
};

TEST_F(SplitFileTest, SplitsTakeRecordsByFirstFiling) {
    Wrspl(kIbm, "03/01/98", "03/15/98", 2.0f, sink_);
    Bytes expected = SplitHeader(2, 2);
    PutSymbol(expected, 2, kIbm, 1);
    PutSplit(expected, 2, 1, 2.0f, 980301.0f, 980315.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);

    Wrspl("MSFT", " 6/ 1/98", " 6/10/98", 1.5f, sink_);
    expected.resize(256 * 3, 0);
    PutI16(expected, 0, 3);
    PutSymbol(expected, 3, kMsft, 1);
    PutSplit(expected, 3, 1, 1.5f, 980601.0f, 980610.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);

    // A second split of IBM follows its first.
    Wrspl(kIbm, "09/01/98", "09/15/98", 3.0f, sink_);
    PutSymbol(expected, 2, kIbm, 2);
    PutSplit(expected, 2, 2, 3.0f, 980901.0f, 980915.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);

    // Reported again: nothing changes.
    Wrspl(kIbm, "09/01/98", "09/15/98", 3.0f, sink_);
    Wrspl(kIbm, "03/01/98", "03/15/98", 2.0f, sink_);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);
    EXPECT_EQ(warnings_, "");
}

TEST_F(SplitFileTest, DatesFrom2000TakeTheSplitDialogsForm) {
    Wrspl(kIbm, "12/20/02", " 1/ 5/03", 2.0f, sink_);
    EXPECT_FALSE(TempDataDir::Exists("SECR1903.SPL"));
    Bytes expected = SplitHeader(2, 2);
    PutSymbol(expected, 2, kIbm, 1);
    PutSplit(expected, 2, 1, 2.0f, 1021220.0f, 1030105.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR2003.SPL"), expected);

    // The split dialogs read it back, as entered and not yet posted.
    std::string message;
    records::SplitList list;
    records::Rdsplt(kIbm, 2003, message, list);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.position, 2);
    EXPECT_FLOAT_EQ(list.splits[0].ratio, 2.0f);
    EXPECT_EQ(list.splits[0].ex_month, 12);
    EXPECT_EQ(list.splits[0].ex_year, 2);
    EXPECT_EQ(list.splits[0].pay_day, 5);
    EXPECT_EQ(list.splits[0].posted, 2);
}

TEST_F(SplitFileTest, ARepeatMatchesEitherStoredDateForm) {
    // One split stored in the plain form of an earlier run, one by the
    // split dialogs.
    Bytes file = SplitHeader(2, 2);
    PutSymbol(file, 2, kIbm, 2);
    PutSplit(file, 2, 1, 2.0f, 30301.0f, 30315.0f, 1);
    PutSplit(file, 2, 2, 1.5f, 1030601.0f, 1030615.0f, 2);
    TempDataDir::WriteBytes("SECR2003.SPL", file);
    Wrspl(kIbm, "03/01/03", "03/15/03", 2.0f, sink_);
    Wrspl(kIbm, "06/01/03", "06/15/03", 1.5f, sink_);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR2003.SPL"), file);

    // A different ratio or date is a new split.
    Wrspl(kIbm, "03/01/03", "03/16/03", 2.0f, sink_);
    PutSymbol(file, 2, kIbm, 3);
    PutSplit(file, 2, 3, 2.0f, 1030301.0f, 1030316.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR2003.SPL"), file);
}

TEST_F(SplitFileTest, ANinthSplitIsRefused) {
    for (int month = 1; month <= 8; ++month) {
        const std::string date = " " + std::to_string(month) + "/10/98";
        Wrspl(kIbm, date, date, 2.0f, sink_);
    }
    const Bytes full = TempDataDir::ReadBytes("SECR1998.SPL");
    ASSERT_EQ(full.size(), 512u);
    EXPECT_EQ(full[256 + 12], 8);
    EXPECT_EQ(warnings_, "");

    Wrspl(kIbm, " 9/10/98", " 9/10/98", 2.0f, sink_);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), full);
    EXPECT_EQ(warnings_, " Warning: split of IBM          not filed, eight splits already in SECR1998.SPL\n");
}

// The split dialogs read records 2 to the last in use: a last record in use
// beyond the file (a header promising 20,302 records over one and a short
// one), below 1, or at 32,767 files nothing and says why.
TEST_F(SplitFileTest, ALastRecordOutOfRangeOrFullFilesNothing) {
    struct Case {
        int16_t last;
        int records;
        std::string warning;
    };
    const std::string start = " Warning: split of IBM not filed, SECR1998.SPL ";
    const std::vector<Case> cases = {
        {20302, 1, start + "is damaged: its last record in use (20302) is out of range.\n"},
        {-32768, 3, start + "is damaged: its last record in use (-32768) is out of range.\n"},
        {32767, 32767, start + "is full.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        warnings_.clear();
        Bytes file = SplitHeader(c.last, 1);
        file.resize(c.last == 20302 ? 256 + 100 : 256u * static_cast<std::size_t>(c.records), 1);
        PutI16(file, 0, c.last);
        TempDataDir::WriteBytes("SECR1998.SPL", file);
        Wrspl(kIbm, "03/01/98", "03/15/98", 2.0f, sink_);
        EXPECT_EQ(warnings_, c.warning);
        EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), file);
    }
}

TEST_F(SplitFileTest, ARecordWhoseSplitsWereDeletedTakesTheNextOne) {
    Wrspl(kIbm, "03/01/98", "03/15/98", 2.0f, sink_);
    Wrspl(kIbm, "04/01/98", "04/15/98", 3.0f, sink_);
    // The split dialogs delete both.
    std::string message;
    records::SplitList list;
    records::Rdsplt(kIbm, 1998, message, list);
    list.count = 0;
    records::Wrsplt(kIbm, 1998, list);

    Wrspl(kIbm, "05/01/98", "05/15/98", 4.0f, sink_);
    Bytes expected = SplitHeader(2, 2);
    PutSymbol(expected, 2, kIbm, 1);
    PutSplit(expected, 2, 1, 4.0f, 980501.0f, 980515.0f, 2);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);
    records::Rdsplt(kIbm, 1998, message, list);
    EXPECT_EQ(list.count, 1);
    EXPECT_FLOAT_EQ(list.splits[0].ratio, 4.0f);
}

TEST_F(SplitFileTest, WhatIsNotADateFilesNothing) {
    Wrspl(kIbm, "N/A     ", "03/15/98", 2.0f, sink_);
    Wrspl("MSFT", "03/01/98", "  /  /  ", 2.0f, sink_);
    Wrspl(kIbm, "03/01/98", "13/15/98", 2.0f, sink_);
    EXPECT_EQ(warnings_,
              " Warning: split of IBM          not filed, ex-date N/A     , pay date 03/15/98\n"
              " Warning: split of MSFT         not filed, ex-date 03/01/98, pay date   /  /  \n"
              " Warning: split of IBM          not filed, ex-date 03/01/98, pay date 13/15/98\n");
    EXPECT_FALSE(TempDataDir::Exists("SECR1998.SPL"));
    EXPECT_FALSE(TempDataDir::Exists("SECR1900.SPL"));
    EXPECT_FALSE(TempDataDir::Exists("SECR2000.SPL"));
}

}  // namespace
