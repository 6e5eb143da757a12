// The mutual fund appraisal (report code 106): the pages of one account
// against goldens, the run over a manager code, and the files it reads and
// writes (TEMP1.WRK's item 32, CCONTROL.FIL, LDL.DAT, COMMON.FIL record
// 70).

#include "reports/position/mclntamu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/position/apexport.h"
#include "reports/position/mfvalu.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/position/mutual_fund_fixture.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

constexpr const char* kCopy = "FUND.TXT";

std::string Appraise(const std::string& selection, const std::string& account,
                     const std::string& manager = "????", const std::string& accrued = "N   ") {
    reports::Mclntamu(selection, manager, account, mffix::kDate, accrued, kCopy, 12);
    return fixtures::ReportText(kCopy);
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

// The report line that holds the text (empty when none does).
std::string LineWith(const std::string& text, const std::string& what) {
    const std::size_t at = text.find(what);
    if (at == std::string::npos) return {};
    const std::size_t start = text.rfind('\n', at);
    const std::size_t end = text.find('\n', at);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1));
}

// ---- Golden runs of one account, each read line by line against the
// layouts of the pages.

struct GoldenCase {
    const char* golden;
    std::vector<std::pair<int, unsigned char>> options;
    const char* account;
    const char* accrued;
};

class MutualFundAppraisalGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(MutualFundAppraisalGolden, PagesOfOneAccount) {
    const GoldenCase& c = GetParam();
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions(c.options);
    const std::string text = Appraise("S   ", c.account, "????", c.accrued);
    fixtures::CompareWithGolden(std::string("reports/position/") + c.golden, text);
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalControlFile));
    EXPECT_FALSE(TempDataDir::Exists("TEMPHSUM.FIL"));
    EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile));
}

INSTANTIATE_TEST_SUITE_P(
    Options, MutualFundAppraisalGolden,
    ::testing::Values(
        // By type, without accrued interest.
        GoldenCase{"mclntamu_by_type.txt", {}, "MF1", "N   "},
        // The address block, accrued interest, the years to maturity and
        // the bond lines, yields on cost, the DIV/INT/YTM headings and the
        // loan disbursement limit.
        GoldenCase{"mclntamu_options.txt", {{6, 1}, {16, 2}, {44, 1}, {50, 1}, {52, 1}}, "MF1", "Y   "},
        // By asset class.
        GoldenCase{"mclntamu_by_class.txt", {{47, 2}}, "MF1", "N   "},
        // Against the target allocation.
        GoldenCase{"mclntamu_target.txt", {}, "MF2", "N   "}));

// ---- The holdings lines.

TEST(MutualFundAppraisalPages, AReinvestedPurchaseCountsInTheUnitCostButNotInTheAmountInvested) {
    TempDataDir dir;
    mffix::WriteDirectory();
    mffix::SetOptions({});
    const std::string text = Appraise("S   ", "MF1");
    const std::string line = LineWith(text, "GROWTH FUND");
    // 110 shares, unit cost 1,100.00 / 110, amount invested 1,000.00, price
    // 12.50, market value 1,375.00.
    EXPECT_EQ(line.substr(0, 15), "       110     ");
    EXPECT_EQ(line.substr(36, 8), "   10.00");
    EXPECT_EQ(line.substr(44, 16), "       1,000.00 ");
    EXPECT_EQ(line.substr(60, 8), "  12.500");
    EXPECT_EQ(line.substr(68, 16), "       1,375.00 ");
    // The held-away stock prints after the total.
    EXPECT_LT(text.find("TOTAL PORTFOLIO"), text.find("HELD AWAY"));
    // The bond maturing within the year is a cash equivalent.
    EXPECT_LT(text.find("CASH AND EQUIVALENTS"), text.find("CITY BOND"));
    EXPECT_LT(text.find("CITY BOND"), text.find("CORPORATE NOTES"));
    EXPECT_EQ(text.find("MUNICIPAL BONDS"), std::string::npos);
}

}  // namespace
