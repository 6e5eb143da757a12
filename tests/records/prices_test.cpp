#include "records/prices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

void StorePrices(const std::string& name, const std::vector<double>& prices) {
    DirectFile f(name, 8);
    Record rec(8);
    for (std::size_t i = 0; i < prices.size(); ++i) {
        rec.SetR8(0, prices[i]);
        f.Write(static_cast<long>(i + 1), rec);
    }
}

TEST(PricesPrcdat, DigitsOfTheDate) {
    struct Case {
        const char* date;
        const char* digits;
        const char* price_file;
    } cases[] = {
        {" 3/ 5/97", "030597", "SE030597.PRC"},
        {"12/31/05", "123105", "SE123105.PRC"},
        {" 1/ 2/ 3", "010203", "SE010203.PRC"},
        {"        ", "000000", "SE000000.PRC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Prcdat(c.date), c.digits) << c.date;
        std::string out = "junk";
        Prcdat(c.date, out);
        EXPECT_EQ(out, c.digits);
        EXPECT_EQ(PriceFileName(c.date), c.price_file);
    }
    EXPECT_EQ(RateFileName(" 3/ 5/97"), "SE030597.CUR");
}

TEST(PricesRwpric, ReadRoundsAndMarksMissingPrices) {
    TempDataDir dir;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double stored;
        double expected;
    } cases[] = {
        {12.34567891, 12.345679},
        {-99999.999999, kNoPriceValue},  // a writer's "known missing"
        {1000000.00, kNoPriceValue},
        {999999.99, 999999.99},
        {999999.995, kNoPriceValue},  // above the highest price
        {0.0, 0.0},
        {-0.01, kNoPriceValue},
        {1e30, kNoPriceValue},  // too wide to round
        {nan, kNoPriceValue},
    };
    std::vector<double> stored;
    for (const auto& c : cases) stored.push_back(c.stored);
    StorePrices("SE030597.PRC", stored);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        double price = 123.0;
        Rwpric(0, -9, " 3/ 5/97", static_cast<long>(i + 1), price);
        EXPECT_EQ(price, cases[i].expected) << "record " << i + 1;
    }
    EXPECT_FALSE(IsOpen(9));  // opened and closed by the call
}

// The one rounding of a stored price, which Rwpric and Rdprc share: a
// failure leaves the price alone for each caller to place.
TEST(PricesRoundStoredPrice, SixDecimalsOrUnchanged) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double price;
        bool rounded;
        double expected;
    } cases[] = {
        {12.3456789, true, 12.345679}, {-12.3456789, true, -12.345679},
        {0.0000004, true, 0.0},        {999999.994, true, 999999.994},
        {1e15, false, 1e15},           {-1e14, false, -1e14},
    };
    for (const auto& c : cases) {
        double price = c.price;
        EXPECT_EQ(RoundStoredPrice(price), c.rounded) << c.price;
        EXPECT_EQ(price, c.expected) << c.price;
    }
    double price = nan;
    EXPECT_FALSE(RoundStoredPrice(price));
    EXPECT_TRUE(std::isnan(price));
}

TEST(PricesRwpric, MissingRecordsAndFiles) {
    TempDataDir dir;
    StorePrices("SE030597.PRC", {1.0, 2.0, 3.0});
    double price = 5.0;
    Rwpric(0, -9, " 3/ 5/97", 5, price);  // beyond the three records
    EXPECT_EQ(price, kNoPriceValue);
    price = 5.0;
    Rwpric(-1, -9, " 3/ 6/97", 1, price);  // no price file for the date
    EXPECT_EQ(price, kNoPriceValue);
    price = 5.0;
    Rwpric(0, 0, " 3/ 5/97", 1, price);  // unit 0 does nothing
    EXPECT_EQ(price, 5.0);
}

TEST(PricesRwpric, WriteThenReadOnCallersUnit) {
    TempDataDir dir;
    double price = 42.125;
    Rwpric(1, -9, "12/31/05", 4, price);
    EXPECT_EQ(TempDataDir::ReadBytes("SE123105.PRC").size(), 32u);
    Open8(12, "SE123105.PRC");
    double back = 0;
    Rwpric(0, 12, "whatever", 4, back);
    EXPECT_EQ(back, 42.125);
    EXPECT_TRUE(IsOpen(12));             // the caller's unit stays open
    Rwpric(0, 12, "whatever", 2, back);  // the gap reads as 0.0
    EXPECT_EQ(back, 0.0);
    Close(12);
}

TEST(PricesGetai, ThirtyThreeSixtyAccruedInterest) {
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        double face;
        float rate;
        int16_t mode;
        int decimals_option;  // option 81
        double expected;
    } cases[] = {
        {"mode 0", " 1/ 1/95", " 3/31/95", 1000.0, 0.06f, 0, 0, 0.0},
        {"mode 2", " 1/ 1/95", " 3/31/95", 1000.0, 0.06f, 2, 0, 0.0},
        {"90 days", " 1/ 1/95", " 3/31/95", 1000.0, 0.06f, 1, 0, 15.0},
        {"rounded to 4 decimals", " 1/ 1/95", " 1/31/95", 10000.0, 0.08f, 1, 0, 66.6667},
        // The rate is a 4-byte real: 0.08 is held just below 0.08.
        {"rounded to 6 decimals", " 1/ 1/95", " 1/31/95", 10000.0, 0.08f, 1, 6, 66.666665},
        {"across the century", "12/ 1/99", " 1/31/00", 1000.0, 0.06f, 1, 0, 10.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        Options options{};
        records::SetOption(options, records::Opt::kSystemDecimals,
                           static_cast<unsigned char>(c.decimals_option));
        Wropts(options);
        double result = -1;
        Getai(c.from, c.to, c.face, c.rate, c.mode, result);
        EXPECT_DOUBLE_EQ(result, c.expected);
    }
}

// One rule for every valuation: the last coupon date steps six months at a
// time from the stored coupon date (or the maturity date when it is
// blank), either way, on the stored day or the last day of a shorter
// month; the accrual is Getai's 30/360 count, end date included, on a face
// of 10,000 at 6%.
TEST(BondAccruedInterest, FromTheLastCouponDateOnOrBeforeTheDate) {
    struct Case {
        const char* name;
        const char* coupon;
        const char* maturity;
        const char* date;
        const char* last;
        double accrued;
    } cases[] = {
        {"stale coupon date, years back", "12/31/14", "12/31/24", " 7/10/16", " 6/30/16", 18.3333},
        {"first coupon years back", "01/15/95", "        ", " 3/15/98", " 1/15/98", 101.6667},
        {"coupon date after the date", " 1/15/99", "        ", " 3/15/98", " 1/15/98", 101.6667},
        {"15th across 2000", "11/15/99", "        ", " 6/01/00", " 5/15/ 0", 28.3333},
        {"31st on the 30th of December: a whole period", "12/31/15", "        ", "12/30/16", " 6/30/16",
         300.0},
        {"31st comes back after June", "12/31/15", "        ", "12/31/16", "12/31/16", 1.6667},
        {"31st to February", " 8/31/14", "        ", " 3/01/15", " 2/28/15", 3.3333},
        {"31st to February of a leap year", " 8/31/15", "        ", " 3/01/16", " 2/29/16", 3.3333},
        {"31st back after a leap February", " 8/31/15", "        ", " 8/31/16", " 8/31/16", 1.6667},
        {"31st on the 30th of August", " 8/31/15", "        ", " 8/30/16", " 2/29/16", 301.6667},
        {"30th to a leap February", " 8/30/15", "        ", " 2/29/16", " 2/29/16", 1.6667},
        {"29th to a short February", " 2/29/16", "        ", " 3/01/17", " 2/28/17", 3.3333},
        {"29th back in August", " 2/29/16", "        ", " 8/29/17", " 8/29/17", 1.6667},
        {"28th", " 2/28/15", "        ", " 8/27/15", " 2/28/15", 296.6667},
        {"settlement on a coupon date", " 3/15/98", "        ", " 3/15/98", " 3/15/98", 1.6667},
        // The 30/360 count from February 28 of a leap year to itself is -1
        // day: no interest, never a negative amount.
        {"28th on the 28th of a leap February", " 2/28/91", " 2/28/11", " 2/28/96", " 2/28/96", 0.0},
        {"blank coupon date: from the maturity", "        ", " 6/15/20", " 3/15/98", "12/15/97", 151.6667},
        {"00/00/00 coupon date: from the maturity", "00/00/00", " 6/15/20", " 3/15/98", "12/15/97", 151.6667},
        {"neither date", "        ", "        ", " 3/15/98", "", 0.0},
        {"unreadable coupon date", "AB/CD/EF", "        ", " 3/15/98", "", 0.0},
    };
    TempDataDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string last = LastCouponDate(DateTextNumber(c.date), c.coupon, c.maturity);
        EXPECT_EQ(last, c.last);
        EXPECT_NEAR(AccruedInterest(last, c.date, 10000.0, 6.0f), c.accrued, 1e-6);
    }
    // A date before the window is met by no coupon date.
    EXPECT_EQ(LastCouponDate(0.0f, " 8/31/95", "        "), "");
}

TEST(PricesSplitFiles, OneFileAYearWithWindowedYear) {
    struct Case {
        int year;
        const char* name;
    } cases[] = {
        {97, "SECR1997.SPL"}, {51, "SECR1951.SPL"},  {50, "SECR2050.SPL"},   {5, "SECR2005.SPL"},
        {0, "SECR2000.SPL"},  {105, "SECR2005.SPL"}, {1998, "SECR1998.SPL"},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitFileName(c.year), c.name) << c.year;
    EXPECT_EQ(SplitFileNameOfDate(" 6/15/05"), "SECR2005.SPL");
    EXPECT_EQ(SplitFileNameOfDate("12/31/99"), "SECR1999.SPL");
}

TEST(PricesSplitFiles, RecordLayoutMatchesTheWriters) {
    Record rec(256, 0xAB);  // bytes beyond the splits must survive
    SplitRecord s;
    s.symbol = "IBM";
    s.count = 2;
    s.splits[0] = {2.0f, 970301.0f, 970315.0f, 1};
    s.splits[1] = {1.5f, 1050102.0f, 1050110.0f, 2};
    s.Encode(rec);
    EXPECT_EQ(rec.Text(0, 12), "IBM         ");
    EXPECT_EQ(rec.I16(12), 2);
    // Entry k at offset 14 + 13 (k - 1): ratio, ex-date, pay date, flag.
    EXPECT_EQ(rec.R4(14), 2.0f);
    EXPECT_EQ(rec.R4(18), 970301.0f);
    EXPECT_EQ(rec.R4(22), 970315.0f);
    EXPECT_EQ(rec.data()[26], 1);
    EXPECT_EQ(rec.R4(27), 1.5f);
    EXPECT_EQ(rec.R4(31), 1050102.0f);
    EXPECT_EQ(rec.R4(35), 1050110.0f);
    EXPECT_EQ(rec.data()[39], 2);
    EXPECT_EQ(rec.R4(14 + 13 * 7), 0.0f);  // entry 8 cleared
    EXPECT_EQ(rec.data()[117], 0);         // last byte of entry 8
    EXPECT_EQ(rec.data()[118], 0xAB);
    EXPECT_EQ(rec.data()[255], 0xAB);

    SplitRecord back = SplitRecord::Decode(rec);
    EXPECT_EQ(back.symbol, "IBM         ");
    EXPECT_EQ(back.count, 2);
    EXPECT_EQ(back.splits[1].ratio, 1.5f);
    EXPECT_EQ(back.splits[1].pay_date, 1050110.0f);
    EXPECT_EQ(back.splits[1].posted, 2);

    Record first(256, 0xCD);
    SplitFileHeader{3}.Encode(first);
    EXPECT_EQ(first.I16(0), 3);
    EXPECT_EQ(first.data()[2], 0xCD);
    EXPECT_EQ(SplitFileHeader::Decode(first).last_record, 3);

    Record fresh;  // a new record is extended with zeros
    s.Encode(fresh);
    EXPECT_EQ(fresh.size(), 256u);
    EXPECT_EQ(fresh.data()[200], 0);
}

}  // namespace
