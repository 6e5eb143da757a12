#include "records/dates.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <tuple>

#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(DatesWindow, TwoDigitYearsAndWidening) {
    struct Year {
        int yy, window, four;
    } years[] = {
        {0, 100, 2000},   {3, 103, 2003},     {50, 150, 2050},    {51, 51, 1951},
        {99, 99, 1999},   {-1, 99, 1999},  // a signed year read from a text counts back from 100
        {100, 100, 2000},                  // already windowed
        {150, 150, 2050}, {1999, 1999, 3899}, {2000, 2000, 3900},  // four digits are not two
    };
    for (const auto& y : years) {
        EXPECT_EQ(WindowYear(y.yy), y.window) << y.yy;
        EXPECT_EQ(FourDigitYear(y.yy), y.four) << y.yy;
    }
    EXPECT_EQ(WindowedDateNumber(12, 31, 99), 991231.0f);
    EXPECT_EQ(WindowedDateNumber(1, 2, 3), 1030102.0f);

    struct Widen {
        double number, widened;
    } widen[] = {
        {991231, 19991231},
        {1030102, 20030102},
        {1501231, 20501231},  // windowed 2000s
        {30102, 20030102},
        {791231, 20791231},  // unwindowed 2000s
        {800101, 19800101},
        {800000, 0},
        {0, 0},
        {-5, 0},
    };
    for (const auto& w : widen) EXPECT_EQ(WidenDate(w.number), w.widened) << w.number;
}

TEST(DatesWindow, SplitDateNumber) {
    struct Split {
        long number;
        int year, month, day;
    } splits[] = {
        {101, 0, 1, 1},        // 01/01/00 unwindowed
        {1000101, 100, 1, 1},  // 01/01/00 windowed
        {500101, 50, 1, 1},   {1500101, 150, 1, 1},     {510101, 51, 1, 1}, {991231, 99, 12, 31},
        {0, 0, 0, 0},         {-991231, -99, -12, -31},  // each part truncated toward zero
    };
    for (const auto& s : splits) {
        const DateNumberParts parts = SplitDateNumber(s.number);
        EXPECT_EQ(parts.year, s.year) << s.number;
        EXPECT_EQ(parts.month, s.month) << s.number;
        EXPECT_EQ(parts.day, s.day) << s.number;
    }
}

TEST(DatesText, RedateWrdateGtdate) {
    struct Split {
        const char* text;
        bool read;
        int16_t month, day, year;
    } splits[] = {
        {"12/31/95", true, 12, 31, 95}, {" 1/ 5/03", true, 1, 5, 3},  {"01-05-03", true, 1, 5, 3},
        {"        ", true, 0, 0, 0},    {"AB/CD/EF", false, 0, 0, 0}, {"12/31/9X", false, 0, 0, 0},
    };
    for (const auto& s : splits) {
        int16_t m = 9, d = 9, y = 9;
        EXPECT_EQ(Redate(s.text, m, d, y), s.read) << s.text;
        EXPECT_EQ(m, s.month) << s.text;
        EXPECT_EQ(d, s.day) << s.text;
        EXPECT_EQ(y, s.year) << s.text;
    }

    // Any text reads as the layout "(I2,1X,I2,1X,I2)" reads it.
    std::mt19937 rng(57);
    const std::string_view alphabet = "0123456789 /-+.X";
    for (int i = 0; i < 200000; ++i) {
        std::string text(rng() % 11, ' ');
        for (char& c : text) c = alphabet[rng() % (i % 2 == 0 ? 11 : alphabet.size())];
        int16_t m = 7, d = 7, y = 7, lm = 7, ld = 7, ly = 7;
        const bool read = Redate(text, m, d, y);
        const bool layout = Read(text, "(I2,1X,I2,1X,I2)", {&lm, &ld, &ly});
        ASSERT_EQ(read, layout) << '"' << text << '"';
        if (!layout) lm = ld = ly = 0;
        ASSERT_EQ(std::tie(m, d, y), std::tie(lm, ld, ly)) << '"' << text << '"';
    }

    struct Write {
        int16_t month, day, year;
        const char* text;
        int16_t year_after;
    } writes[] = {{12, 31, 105, "12/31/ 5", 5}, {1, 5, 3, " 1/ 5/ 3", 3}, {12, 31, 99, "12/31/99", 99}};
    for (const auto& w : writes) {
        std::string text = "old text";
        int16_t y = w.year;
        Wrdate(text, w.month, w.day, y);
        EXPECT_EQ(text, w.text);
        EXPECT_EQ(y, w.year_after);
    }

    struct Get {
        const char* text;
        const char* after;
        float number;
    } gets[] = {
        {"12/ 5/95", "12/05/95", 951205},
        {"12/25/95", "12/25/95", 951225},
        {" 1/ 2/03", " 1/02/ 3", 30102},  // no window: the year stays 3
        {"AB/CD/EF", "AB/CD/EF", 0},      // unreadable: zeros, text kept
    };
    for (const auto& g : gets) {
        std::string text = g.text;
        float number = -1;
        int16_t m, d, y;
        Gtdate(text, number, m, d, y);
        EXPECT_EQ(text, g.after) << g.text;
        EXPECT_EQ(number, g.number) << g.text;
    }
}

TEST(DatesDays, SetfebAndAddday) {
    for (int16_t year : {96, 0, 1900, 2000, -4, 104}) {
        MonthLengths t{};
        Setfeb(t, year);
        EXPECT_EQ(t[1], 29) << year;
    }
    for (int16_t year : {95, 1999, -3}) {
        MonthLengths t = MonthLengthTable;
        Setfeb(t, year);
        EXPECT_EQ(t[1], 28) << year;
        EXPECT_EQ(t[0], 31);
    }

    struct Step {
        int16_t m, d, y, m2, d2, y2;
    } steps[] = {
        {2, 28, 95, 3, 1, 95},  {2, 28, 96, 2, 29, 96}, {2, 29, 96, 3, 1, 96}, {12, 31, 99, 1, 1, 100},
        {4, 30, 95, 5, 1, 95},  {1, 15, 95, 1, 16, 95}, {0, 31, 95, 1, 1, 95},  // damaged month: no fault
        {40, 31, 95, 1, 1, 96},
    };
    for (const auto& s : steps) {
        int16_t m = s.m, d = s.d, y = s.y;
        Addday(m, d, y);
        EXPECT_EQ(m, s.m2) << s.m << "/" << s.d << "/" << s.y;
        EXPECT_EQ(d, s.d2) << s.m << "/" << s.d << "/" << s.y;
        EXPECT_EQ(y, s.y2) << s.m << "/" << s.d << "/" << s.y;
    }
}

TEST(DatesDays, JuldayAndDtrunc) {
    EXPECT_EQ(Julday(1, 1, 2000), 2451545.0);
    EXPECT_EQ(Julday(12, 31, 1999), 2451544.0);
    EXPECT_EQ(Julday(1, 1, 1970), 2440588.0);
    EXPECT_EQ(Julday(3, 1, 2000) - Julday(2, 28, 2000), 2.0);

    struct Trunc {
        double value, expected;
    } cases[] = {
        {2.7, 2},         {-2.7, -2},
        {5, 5},           {-0.5, 0},
        {-1.0833333, -1}, {2.99996, 3},              // rounds to four decimals first
        {0.99994, 0},     {1e10 + 0.5, 1e10 + 0.5},  // too wide for "(F14.4)": unchanged
    };
    for (const auto& c : cases) {
        double v = c.value;
        Dtrunc(v);
        EXPECT_EQ(v, c.expected) << c.value;
    }
}

// Dtrunc works most values out in binary; it must give exactly what the
// layout's write and read give, bit for bit: random values of every
// magnitude and sign, the doubles nearest to the four-decimal ties and to
// whole numbers and their neighbours, the edge of the 14 positions, zeros,
// infinities and NaN.
TEST(DatesDays, DtruncAgreesWithTheLayout) {
    long differing = 0;
    auto check = [&](double value) {
        double fast = value, want = value;
        Dtrunc(fast);
        dates_detail::DtruncThroughLayout(want);
        if (std::bit_cast<uint64_t>(fast) != std::bit_cast<uint64_t>(want) && ++differing <= 10)
            ADD_FAILURE() << std::hexfloat << value << ": " << fast << ", the layout gives " << want;
    };
    auto around = [&](double value) {
        double v = value;
        for (int i = 0; i < 4; ++i) v = std::nextafter(v, -INFINITY);
        for (int i = 0; i < 9; ++i, v = std::nextafter(v, INFINITY)) {
            check(v);
            check(-v);
        }
    };
    for (double v : {0.0, 0.5, 1.0, 0.00005, 0.99995, 2.99995, 1e8, 99999999.99995, 99999999.9999, 1e9, 1e10,
                     1e-300, 5e-324, 1e300, std::numeric_limits<double>::infinity()})
        around(v);
    check(std::numeric_limits<double>::quiet_NaN());
    std::mt19937_64 rng(20261210);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 200'000; ++i) {
        // A random value of 10^-6 to 10^10, and a tie of four decimals
        // (or a whole number) of up to nine digits before the point.
        check((rng() % 2 ? 1 : -1) * std::pow(10.0, -6 + 16 * unit(rng)));
        const double whole = static_cast<double>(rng() % 1'000'000'000);
        if (i % 50 == 0) {
            around(whole);
            around(whole + static_cast<double>(rng() % 10000) / 1e4 + 0.00005);
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(DatesDays, Daycb) {
    struct Case {
        const char* first;
        const char* second;
        int16_t mode;
        double days;
    } cases[] = {
        {"12/31/99", " 1/ 1/00", 0, 1},
        {" 1/ 1/95", " 1/ 1/96", 0, 365},
        {" 2/28/96", " 3/ 1/96", 0, 2},
        {" 1/ 2/95", " 1/ 1/95", 0, -1},
        {" 1/ 1/51", " 1/ 1/50", 0, 36160},  // the window's full span
        {" 1/ 1/95", " 1/31/95", 1, 30},
        {" 1/31/95", " 2/28/95", 1, 31},
        {" 2/28/95", " 3/31/95", 1, 31},
        {" 1/ 1/95", " 1/ 1/96", 1, 361},
        // The end date counts inclusively: 3/30 becomes 3/31, which after a
        // start day of 30 or more counts as the 30th.
        {" 1/30/95", " 3/30/95", 1, 60},
        // 3/31 becomes 4/1 before the end-day-31 rule could apply.
        {" 1/30/95", " 3/31/95", 1, 61},
        {" 1/29/95", " 3/30/95", 1, 62},  // a start day before 30 keeps the 31st
        {" 1/ 1/51", " 1/ 1/40", 1, 32041},
        {" 1/ 1/51", " 1/ 1/41", 1, 0},       // 90 years apart
        {" 1/ 1/41", " 1/ 1/51", 1, -32399},  // backwards: no limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(Daycb(c.first, c.second, c.mode), c.days)
            << c.first << " to " << c.second << " mode " << c.mode;
}

struct CheckCase {
    const char* text;
    float low, high;
    int16_t error;
    const char* after;
    float number;  // -1: untouched
};

TEST(DatesCkdate, ChecksAndNormalises) {
    const float kHigh = 1991231;
    const CheckCase cases[] = {
        {"2/29/95", 0, kHigh, 0, " 2/29/95", 950229},  // February always allows 29
        {"1/5/3", 0, kHigh, 0, " 1/ 5/03", 1030105},
        {"12/31/99", 0, kHigh, 0, "12/31/99", 991231},
        {"01/01/51", 0, kHigh, 0, " 1/ 1/51", 510101},
        {"1/2/3/45", 0, kHigh, 0, " 2/ 3/45", 1450203},  // left of the month is not looked at
        {"1 /5/ 95", 0, kHigh, 0, " 1/ 5/95", 950105},   // blanks inside a group are skipped
        {"12-31-95", 0, kHigh, 1, "12-31-95", -1},
        {"123/1/95", 0, kHigh, 1, "123/1/95", -1},
        {"a1/01/95", 0, kHigh, 1, "a1/01/95", -1},
        {"  /  /  ", 0, kHigh, 1, "  /  /  ", -1},
        {"1/1/", 0, kHigh, 1, "1/1/", -1},
        {"      95", 0, kHigh, 1, "      95", -1},
        {"02/30/95", 0, kHigh, 1, "02/30/95", -1},
        {"04/31/95", 0, kHigh, 1, "04/31/95", -1},
        {"13/01/95", 0, kHigh, 1, "13/01/95", -1},
        {"00/10/95", 0, kHigh, 1, "00/10/95", -1},
        {"01/00/95", 0, kHigh, 1, "01/00/95", -1},
        // Limits are inclusive; outside them the text is still normalised and
        // the number stored.
        {"01/01/95", 950101, 950101, 0, " 1/ 1/95", 950101},
        {"01/01/95", 0, 941231, 1, " 1/ 1/95", 950101},
        {"01/01/03", 0, 991231, 1, " 1/ 1/03", 1030101},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int16_t mode = 2, error = 7;
        float number = -1;
        Ckdate(text, mode, error, number, c.low, c.high);
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(mode, c.error ? 1 : 2) << c.text;
        EXPECT_EQ(text, c.after) << c.text;
        EXPECT_EQ(number, c.number) << c.text;
    }
}

TEST(DatesCkdate, ModeThreeChecksNothing) {
    std::string text = "garbage!";
    int16_t mode = 3, error = 7;
    float number = -1;
    Ckdate(text, mode, error, number, 0, 1991231);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(mode, 3);
    EXPECT_EQ(text, "garbage!");
    EXPECT_EQ(number, -1);
}

TEST(DatesChkdat, SofterFailureRuleAndParts) {
    struct Case {
        const char* text;
        float high;
        int16_t strict;
        int16_t error, mode_after;
        std::array<int16_t, 3> parts;  // year, day, month; {-1,-1,-1}: untouched
    } cases[] = {
        {"12/31/95", 1991231, 0, 0, 2, {95, 31, 12}},
        {"02/30/95", 1991231, 0, 1, 1, {95, 30, 2}},  // out of range: always mode 1
        {"13/01/95", 1991231, 1, 1, 1, {95, 1, 13}},
        {"12-31-95", 1991231, 0, 1, 2, {-1, -1, -1}},  // malformed: mode kept unless strict
        {"12-31-95", 1991231, 1, 1, 1, {-1, -1, -1}},
        {"  /  /  ", 1991231, 0, 1, 2, {-1, -1, -1}},
        {"01/01/95", 941231, 0, 1, 2, {95, 1, 1}},  // outside the limits: likewise
        {"01/01/95", 941231, 2, 1, 1, {95, 1, 1}},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int16_t mode = 2, error = 7;
        float number = -1;
        std::array<int16_t, 3> parts = {-1, -1, -1};
        Chkdat(text, mode, error, number, 0, c.high, c.strict, parts);
        EXPECT_EQ(error, c.error) << c.text << " strict " << c.strict;
        EXPECT_EQ(mode, c.mode_after) << c.text << " strict " << c.strict;
        EXPECT_EQ(parts, c.parts) << c.text;
    }
}

TEST(DatesSameDate, ComparesDaysNotTexts) {
    struct Case {
        const char* first;
        const char* second;
        bool same;
    } cases[] = {
        {" 7/31/ 0", " 7/31/00", true},  // Wrdate's year against the date check's
        {" 7/31/ 9", "07/31/09", true},  {" 7/31/99", " 7/31/99", true},  {" 7/31/ 0", " 7/31/99", false},
        {" 7/31/10", " 7/31/ 1", false}, {"        ", "        ", true},   // equal texts, dates or not
        {"AB/CD/EF", "AB/CD/EF", true},  {"00/00/00", "        ", false},  // neither names a day
        {"AB/CD/EF", "        ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameDate(c.first, c.second), c.same) << "'" << c.first << "' '" << c.second << "'";
        EXPECT_EQ(SameDate(c.second, c.first), c.same) << "'" << c.second << "' '" << c.first << "'";
    }
    EXPECT_EQ(DateTextNumber(" 7/31/ 0"), 1000731.0f);
    EXPECT_EQ(DateTextNumber("12/31/99"), 991231.0f);
}

TEST(DatesH2000, StyleFromOption69) {
    struct Case {
        int style;  // -1: no COMMON.FIL
        const char* date;
        const char* printed;
        const char* date_after;
    } cases[] = {
        {-1, "12/31/99", "12/31/99    ", "12/31/99"}, {0, " 1/ 5/ 3", " 1/ 5/03    ", " 1/ 5/03"},
        {1, "12/31/99", "12/31/99    ", "12/31/99"},  {2, " 1/ 5/ 3", "01052003    ", "01/05/03"},
        {2, "12/31/51", "12311951    ", "12/31/51"},  {3, "12/31/99", "12/31/1999  ", "12/31/99"},
        {3, "01/05/50", " 1/ 5/2050  ", "01/05/50"},  {3, " 1/ 5/ 0", " 1/ 5/2000  ", " 1/ 5/00"},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        if (c.style >= 0)
            fixtures::WriteSingleOption(records::Opt::kDateFormat, static_cast<unsigned char>(c.style));
        std::string date = c.date;
        EXPECT_EQ(H2000(date), c.printed) << "style " << c.style << " " << c.date;
        EXPECT_EQ(date, c.date_after) << "style " << c.style << " " << c.date;
    }
}

class DatesSetdat : public ::testing::Test {
protected:
    // Record 7 as a dialog left it: an older post date and bytes beyond it.
    void SetUp() override {
        DirectFile common("COMMON.FIL", 128);
        Record rec(128, 'k');
        rec.SetText(0, 8, " 1/ 1/90");
        rec.SetR4(8, 900101);
        ASSERT_TRUE(common.Write(7, rec));
    }
    Record PostDate() {
        DirectFile common("COMMON.FIL", 128);
        Record rec;
        EXPECT_TRUE(common.Read(7, rec));
        return rec;
    }
    TempDataDir dir_;
};

TEST_F(DatesSetdat, StoresCheckedDateAndKeepsOtherBytes) {
    EXPECT_EQ(Setdat("1/5/3"), PostDateStatus::kStored);
    Record rec = PostDate();
    EXPECT_EQ(rec.Text(0, 8), " 1/ 5/03");
    EXPECT_EQ(rec.R4(8), 1030105.0f);
    EXPECT_EQ(rec.Text(12, 116), std::string(116, 'k'));
}

TEST_F(DatesSetdat, FailedCheckWritesNothing) {
    const auto before = TempDataDir::ReadBytes("COMMON.FIL");
    for (const char* bad : {"12-31-95", "02/30/95", "        ", "AB/CD/EF"}) {
        EXPECT_EQ(Setdat(bad), PostDateStatus::kRefused) << bad;
        EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), before) << bad;
    }
    Setdat("12/31/99");  // a later good date is still taken
    EXPECT_EQ(PostDate().Text(0, 8), "12/31/99");
    EXPECT_EQ(PostDate().R4(8), 991231.0f);
}

TEST(DatesSetdatNew, SaysSoWhenCommonFileCannotBeWritten) {
    TempDataDir dir;
    // A directory that is not empty: no file can take its name.
    std::filesystem::create_directories("COMMON.FIL/keep");
    EXPECT_EQ(Setdat("06/15/09"), PostDateStatus::kNotWritten);
}

TEST(DatesSetdatNew, CreatesRecordWhenMissing) {
    TempDataDir dir;
    Setdat("06/15/09");
    DirectFile common("COMMON.FIL", 128);
    Record rec;
    ASSERT_TRUE(common.Read(7, rec));
    EXPECT_EQ(rec.Text(0, 8), " 6/15/09");
    EXPECT_EQ(rec.R4(8), 1090615.0f);
}

TEST(DatesGtprcd, HoldingKeys) {
    // Symbol IBM followed by three blanks, two digits a character.
    const double ibm = 73e10 + 66e8 + 77e6 + 32e4 + 32e2 + 32;
    struct Case {
        char cls;
        const char* subclass;
        float date;
        const char* symbol;
        double key;
    } cases[] = {
        {'B', "03", 0, "IBM", 12e14 + 3e12 + ibm},
        {'B', "03", 800000, "IBM         ", 12e14 + 3e12 + ibm},
        {'B', "03", -1, "IBM", 12e14 + 3e12 + ibm},
        {'1', "10", 951231, "IBM", 2e14 + 10e12 + 19951231},
        {'0', " 5", 1030102, "X", 1e14 + 5e12 + 20030102},
        {' ', "  ", 1030102, "X", 37e14 + 20030102},
        {'b', "  ", 1030102, "X", 37e14 + 20030102},  // not in the list
        {'Z', "XY", 1030102, "X", 36e14 + 20030102},  // unreadable subclass counts 0
        {'A', "01", 0, "ab", 11e14 + 1e12 + 97e10 + 98e8 + 32e6 + 32e4 + 32e2 + 32},
        {'A', "01", 0, "dd", 11e14 + 1e12 + 100e10 + 100e8 + 32e6 + 32e4 + 32e2 + 32},  // codes overlap
    };
    for (const auto& c : cases)
        EXPECT_EQ(Gtprcd(c.cls, c.subclass, c.date, c.symbol), c.key)
            << c.cls << c.subclass << " " << c.symbol;
}

TEST(DaysInMonth, LeapFebruaryByTwoOrFourDigitYearsAndDamagedMonths) {
    struct Case {
        int month, year, days;
    };
    const Case cases[] = {
        {1, 99, 31},  {2, 99, 28}, {2, 0, 29},   {2, 96, 29}, {2, 2000, 29}, {2, 1900, 29},
        {2, 101, 28}, {4, 24, 30}, {12, 24, 31}, {0, 24, 31}, {13, 24, 31},  {-1, 24, 31},
    };
    for (const Case& c : cases)
        EXPECT_EQ(records::DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

}  // namespace
