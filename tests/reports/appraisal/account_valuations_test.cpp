// The account valuations of the summaries, the currency conversion and the
// position summary's ordering key.

#include "reports/appraisal/account_valuations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/appraisal/position_summary.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/position_summary_fixture.h"

namespace {

using fixtures::TempDataDir;

void WriteRates(const std::string& name, const std::vector<double>& rates) {
    records::DirectFile file(name, 8);
    for (std::size_t i = 0; i < rates.size(); ++i) {
        records::Record rec(8);
        rec.SetR8(0, rates[i]);
        file.Write(static_cast<long>(i + 1), rec);
    }
}

struct Acs {
    double market = 0, income = 0, yield = 0, cost = 0;
    int16_t missing = 0;
};

Acs RunAcsval(const char* account, const char* date, float number, records::Options options = {}) {
    Acs a;
    reports::Acsval(account, date, number, 981231, a.market, a.income, a.yield, a.missing, a.cost, options);
    return a;
}

struct Aum {
    double market = 0, cash = 0, equities = 0, fixed = 0, cash_eq = 0;
    int16_t missing = 0;
};

Aum RunAumval(const char* account, const char* date = possum::kReportDate, float number = 981231) {
    Aum a;
    reports::Aumval(account, date, number, 981231, a.market, a.cash, a.equities, a.fixed, a.cash_eq,
                    a.missing, reports::DefaultAssetClasses());
    return a;
}

TEST(Curcnv, RatesOutsideTheirRangeConvertWithOne) {
    TempDataDir dir;
    WriteRates("SE123198.CUR", {0, -2, 10000001, 10000000, 2.0});
    struct Case {
        int16_t security;
        int16_t mode;
        double expected;
    };
    const Case cases[] = {
        {1, 0, 100}, {2, 0, 100}, {3, 0, 100}, {4, 0, 0.00001}, {5, 0, 50},
        {5, 1, 200}, {5, 2, 100}, {0, 0, 100}, {-3, 1, 100},    {6, 0, 100},  // past the file
    };
    for (const Case& c : cases) {
        double amount = 100;
        reports::Curcnv("12/31/98", c.security, amount, c.mode);
        EXPECT_DOUBLE_EQ(amount, c.expected) << c.security << " mode " << c.mode;
    }
    double amount = 100;
    reports::Curcnv(" 1/29/99", 5, amount, 0);  // no rate file for the date
    EXPECT_DOUBLE_EQ(amount, 100);
}

TEST(Hldkey, TypeThenDueDateOrSymbol) {
    const double symbol_ibm = 73e10 + 66e8 + 77e6 + 32e4 + 32e2 + 32;
    EXPECT_DOUBLE_EQ(reports::Hldkey("N   ", 0, "IBM         "), 24e14 + symbol_ibm);
    EXPECT_DOUBLE_EQ(reports::Hldkey("N   ", 800000, "IBM         "), 24e14 + symbol_ibm);  // no date
    EXPECT_DOUBLE_EQ(reports::Hldkey("B   ", 51115, "BOND10"), 12e14 + 20051115);
    EXPECT_DOUBLE_EQ(reports::Hldkey("B   ", 991231, "BOND10"), 12e14 + 19991231);
    EXPECT_DOUBLE_EQ(reports::Hldkey("0   ", 0, ""), 1e14 + 32323232.0 * 10000 + 3232);
    EXPECT_DOUBLE_EQ(reports::Hldkey("    ", 991231, "X"), 37e14 + 19991231);
    EXPECT_DOUBLE_EQ(reports::Hldkey("$   ", 991231, "X"), 38e14 + 19991231);
    EXPECT_LT(reports::Hldkey("B", 991231, "Z"), reports::Hldkey("B", 51115, "A"));  // 1999 before 2005
}

TEST(Acsval, ValueIncomeYieldAndCost) {
    TempDataDir dir;
    possum::WriteData();
    const Acs a = RunAcsval("ALPHA", possum::kReportDate, 981231);
    // Cash 5,000 + IBM 150 x 120 + bond 10,000 at 98.5 + type 4 at par +
    // trust 2,000 at 1; the "S" lot counts for nothing. Accrued interest:
    // the bond from 12/30/98 (1 day), type 4 from 11/15/98 (46 days).
    const double accrued = 10000 * 0.06 * 1 / 360 + 10000 * 0.07 * 46 / 360;
    EXPECT_NEAR(a.market, 44850 + accrued, 0.01);
    EXPECT_NEAR(a.income, 250 + 150 + 600 + 700, 1e-6);
    EXPECT_NEAR(a.cost, 38800, 1e-9);
    EXPECT_NEAR(a.yield, a.income * 100 / a.market, 1e-9);
    EXPECT_EQ(a.missing, 0);

    records::Options on_cost{};
    on_cost[43] = 1;
    EXPECT_NEAR(RunAcsval("ALPHA", possum::kReportDate, 981231, on_cost).yield, 1700.0 * 100 / 38800, 1e-9);

    const Acs cash_only = RunAcsval("BETA", possum::kReportDate, 981231);
    EXPECT_DOUBLE_EQ(cash_only.market, 2500);
    EXPECT_DOUBLE_EQ(cash_only.income, 125);
    EXPECT_DOUBLE_EQ(cash_only.yield, 5);

    const Acs unpriced = RunAcsval("GAMMA", possum::kReportDate, 981231);
    EXPECT_EQ(unpriced.missing, 1);
    EXPECT_DOUBLE_EQ(unpriced.market, -99999.99);
}

TEST(Acsval, CurrencyRatesConvertIncomeAndAMissingRateStaysMissing) {
    TempDataDir dir;
    possum::WriteData();
    // IBM's dividend in a currency at 2; the trust has no rate, which a
    // rate of 2 must not turn into a negative income.
    WriteRates("SE123198.CUR", {1, 2, 1, 1, 2});
    const Acs a = RunAcsval("ALPHA", possum::kReportDate, 981231);
    EXPECT_NEAR(a.income, 250 + 75 + 600 + 700, 1e-6);
}

TEST(Acsval, EarlierDateValuesTheRebuiltHoldings) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::WriteTransactions("DELTA",
                                {fixtures::Transaction("B", "IBM", "", " 3/15/96", 100, 10000, 1, 2)});
    fixtures::WritePrices("12/31/97", {1.0, 80.0});
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("TRDELTA.REC");
    const Acs a = RunAcsval("DELTA", "12/31/97", 971231);
    EXPECT_TRUE(TempDataDir::Exists("HL.TMP"));
    EXPECT_NEAR(a.market, 8000 - 10000, 1e-6);  // 100 at 80 and the cash the purchase took
    EXPECT_EQ(TempDataDir::ReadBytes("TRDELTA.REC"), before);
    EXPECT_FALSE(TempDataDir::Exists("GL.TMP"));
}

TEST(Aumval, SplitByAssetClass) {
    TempDataDir dir;
    possum::WriteData();
    const Aum a = RunAumval("ALPHA");
    EXPECT_DOUBLE_EQ(a.market, 44850);
    EXPECT_DOUBLE_EQ(a.cash, 5000);
    EXPECT_DOUBLE_EQ(a.cash_eq, 5000);
    EXPECT_DOUBLE_EQ(a.equities, 18000);
    EXPECT_DOUBLE_EQ(a.fixed, 9850 + 10000);  // 985,000.00 x 0.01 and type 4 at par
    EXPECT_EQ(a.missing, 0);

    const Aum cash_only = RunAumval("BETA");
    EXPECT_DOUBLE_EQ(cash_only.market, 2500);
    EXPECT_DOUBLE_EQ(cash_only.cash, 2500);
    EXPECT_DOUBLE_EQ(cash_only.cash_eq, 2500);

    const Aum gamma = RunAumval("GAMMA");
    EXPECT_EQ(gamma.missing, 1);
    EXPECT_DOUBLE_EQ(gamma.equities, 50000);  // the REIT: 1,000 at 0.5 x 100, the unpriced lot 0

    // A lot whose security cannot be read is unpriced and worth nothing.
    fixtures::WriteHoldings("BETA",
                            {possum::Lot("CASH", 1, 2500, 2500, "", 0), possum::Lot("GONE", 40, 10, 10)});
    const Aum gone = RunAumval("BETA");
    EXPECT_EQ(gone.missing, 1);
    EXPECT_DOUBLE_EQ(gone.market, 2500);
}

}  // namespace
