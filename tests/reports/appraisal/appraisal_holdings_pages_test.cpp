#include "reports/appraisal/appraisal_holdings_pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "engine/valuation.h"
#include "platform/chart_files.h"
#include "records/appraisal_files.h"
#include "records/appraisal_summary.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_types.h"
#include "reports/appraisal/appraisal_page_parts.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "reports/kernel/report_frame.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::AppraisalHeader;
using records::AppraisalSummaryHeader;
using records::AppraisalSummaryLine;
using records::Record;
using records::ValuedHolding;

constexpr double kNoPrice = records::kNoPriceValue;
constexpr const char* kCopy = "APPRAISE.TXT";

void SetOptions(const std::vector<std::pair<records::Opt, unsigned char>>& options) {
    records::Options record{};
    for (const auto& [n, value] : options) records::SetOption(record, n, value);
    records::Wropts(record);
}

int16_t TwoCharacters(const char* code) {
    return static_cast<int16_t>(static_cast<unsigned char>(code[0]) |
                                (static_cast<unsigned char>(code[1]) << 8));
}

ValuedHolding Holding(int16_t type, const std::string& symbol, double quantity, const std::string& desc,
                      float rate, double cost, double value, const std::string& code, int16_t category = 0) {
    ValuedHolding h;
    h.type_number = type;
    h.category = category;
    h.sort_key = records::Fixed(symbol, 10);
    h.symbol = records::Fixed(symbol, 12);
    h.quantity = quantity;
    h.description1 = records::Fixed(desc, 32);
    h.rate = rate;
    h.lot_date = " 1/15/99";
    h.cost = cost;
    h.market_value = value;
    h.type_code = records::Fixed(code, 4);
    return h;
}

// The sample account: cash, a money fund (type code "1"), a note maturing
// within the year (moved to type 2), a bond with accrued interest, common
// stocks in categories 35 and 20 (one short) and one of category 0, and a
// lot held away (type 36).
std::vector<ValuedHolding> SampleHoldings() {
    std::vector<ValuedHolding> h;
    h.push_back(Holding(2, "CASH", 1500.25, "CASH", 0, 1500.25, 1500.25, "1"));
    h.push_back(Holding(2, "MMF", 2000, "MONEY FUND", 5.0f, 2000, 2000, "1"));
    ValuedHolding note = Holding(2, "NOTE", 5000, "TREASURY NOTE", 5.0f, 4950, 4962.5, "5");
    note.per_hundred = 1;
    note.matures_within_year = 1;
    note.extension_percent = 4.25f;
    note.extension_read = 1;
    note.maturity_date = " 3/01/01";
    h.push_back(note);
    ValuedHolding bond = Holding(5, "BOND", 10000, "CITY BOND", 6.0f, 9800, 10000, "4");
    bond.per_hundred = 1;
    bond.extension_percent = 5.5f;
    bond.extension_read = 1;
    bond.maturity_date = "12/15/10";
    bond.extension_word2 = {'A', 'A', 'A', ' '};
    bond.extension_word3 = {'A', 'A', '+', ' '};
    bond.extension_code = "AMBAC";
    bond.extension_word4 = {'C', 'L', ' ', ' '};
    bond.extension_date1 = "12/15/05";
    bond.extension_value1 = 101.5;
    bond.extension_word5 = {'P', 'T', ' ', ' '};
    bond.extension_date2 = "12/15/07";
    bond.extension_value2 = 100.0;
    h.push_back(bond);
    ValuedHolding ibm = Holding(18, "IBM", 150, "INTL BUS MACH", 1.5f, 14000, 15075, "H", 35);
    ibm.security_last_word = 50;  // loan value 50% of the market value
    ibm.security_first_word = TwoCharacters("ST");
    ibm.lot_date = " 2/15/99";
    h.push_back(ibm);
    ValuedHolding xyz = Holding(18, "XYZ", -100, "XYZ CORP", 1.0f, -2000, -2500, "H", 20);
    h.push_back(xyz);
    ValuedHolding dell = Holding(18, "DELL", 200.5, "DELL COMPUTER", 0, 5000, 6015, "H", 35);
    dell.security_first_word = TwoCharacters("IT");
    h.push_back(dell);
    h.push_back(Holding(18, "ACME", 50, "ACME WIDGETS", 0, 1000, 1250, "H", 0));
    h.push_back(Holding(36, "AWAY", 5, "HELD AWAY", 0, 80, 100, "H"));
    return h;
}

AppraisalHeader HeaderFor(const std::vector<ValuedHolding>& holdings, double accrued = 0) {
    AppraisalHeader head;
    head.account = "AB1234  ";
    head.report_date = " 6/30/00";
    head.name = records::Fixed("SMITH ACCOUNT", 32);
    head.order = records::kReaderOrders;
    head.page_word = 3;
    head.total_accrued = accrued;
    head.average_years = 7.25;
    head.account_word = {'G', 'R', 'T', 'H'};
    double total = 0;
    bool unpriced = false;
    for (const ValuedHolding& h : holdings) {
        head.type_flags[static_cast<std::size_t>(h.type_number - 1)] = 1;
        if (h.type_number == 36) continue;
        if (h.market_value == kNoPrice) unpriced = true;
        total += h.market_value;
    }
    head.total_market_value = unpriced ? kNoPrice : total + accrued;
    return head;
}

void WriteNames() {
    fixtures::WriteNameFile(records::kTypeNameFile, {{2, "CASH AND EQUIVALENTS"},
                                                     {5, "MUNICIPAL BONDS"},
                                                     {18, "COMMON STOCKS"},
                                                     {36, "ASSETS HELD AWAY"}});
    fixtures::WriteNameFile(records::kCategoryNameFile,
                            {{20, "TECHNOLOGY"}, {35, "COMPUTERS"}, {99, "OTHER"}});
}

class ClientAppraisalTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteProgramDate(" 6/30/00");
        fixtures::WriteFirmHeading("FIRST FIRM", 58);
        WriteNames();
        fixtures::WriteClients({
            {.id = "OTHER"},
            {.id = "AB1234",
             .address = {"JOHN SMITH", "1 MAIN ST", "SPRINGFIELD", "IL", ""},
             .short_name = "SMITH ACCOUNT",
             .custodian_account = "CUST-778899-SMITH-ACCOUNT-NUMBER",
             .notes = {"FIRST NOTE", "", "THIRD NOTE", "FOURTH NOTE"}},
        });
        run_.current.id = "AB1234  ";
        run_.current.index = 2;
        run_.current.lines = {records::Fixed("JOHN SMITH", 32), records::Fixed("1 MAIN ST", 32),
                              records::Fixed("SPRINGFIELD", 32), records::Fixed("IL", 32),
                              std::string(32, ' ')};
        SetOptions({});
    }

    // Prints the pages of the work file into OUTPUT.TMP (copied to kCopy)
    // and returns them as golden text.
    std::string Pages(const AppraisalHeader& head, const std::vector<ValuedHolding>& holdings,
                      const std::vector<int16_t>& order = {}) {
        fixtures::WriteAppraisalWork(head, holdings, head.count != 0);
        records::Gcn();
        {
            reports::ReportFrame frame(kCopy, /*copy=*/true);
            int16_t title_flag = 0;
            step_ = reports::kStepHoldingsPages;
            reports::Clntapr2(run_, step_, order, title_flag, std::string(64, ' '),
                              engine::DefaultCategoryTable());
            EXPECT_EQ(title_flag, 1);
        }
        EXPECT_EQ(step_, reports::kStepSummaryPage);
        EXPECT_FALSE(TempDataDir::Exists(records::kAppraisalWorkFile)) << "the work file is deleted";
        return fixtures::ReportText(kCopy);
    }

    std::vector<Record> Summary() const {
        std::vector<Record> recs;
        const records::DirectFile file(records::kAppraisalSummaryFile, records::kWorkRecordLength, false);
        Record rec;
        for (long n = 1; file.Read(n, rec); ++n) recs.push_back(rec);
        return recs;
    }

    TempDataDir dir_;
    reports::AppraisalRun run_;
    int16_t step_ = 0;
};

// ---- Golden pages, each read line by line against the layouts.

TEST_F(ClientAppraisalTest, PagesWithoutOptions) {
    const auto holdings = SampleHoldings();
    fixtures::CompareWithGolden("reports/appraisal/appraisal_holdings_pages_plain.txt",
                                Pages(HeaderFor(holdings, 150), holdings));
}

TEST_F(ClientAppraisalTest, PagesWithBondLinesLoanLimitAndYieldOnCost) {
    SetOptions({{records::Opt::kRateOrYieldToMaturity, 2},
                {records::Opt::kYieldOnCost, 1},
                {records::Opt::kBondDetails, 1},
                {records::Opt::kLoanLimitAndExtracts, 1}});
    const auto holdings = SampleHoldings();
    fixtures::CompareWithGolden("reports/appraisal/appraisal_holdings_pages_bonds.txt",
                                Pages(HeaderFor(holdings, 150), holdings));
}

TEST_F(ClientAppraisalTest, PagesByAssetClassWithReturnsSortedStocksAndNotes) {
    SetOptions({{records::Opt::kAccountAddress, 1},
                {records::Opt::kNoIndustryCategories, 1},
                {records::Opt::kAppendNotes, 1},
                {records::Opt::kTimeWeightedReturn, 1},
                {records::Opt::kAssetClassPercent, 1}});
    run_.current.address_word = 1;
    auto holdings = SampleHoldings();
    holdings[4].performance = 12.5f;
    holdings[5].performance = -3.25f;
    holdings[6].performance = -999.99f;
    for (const ValuedHolding& h : holdings)
        if (h.market_value != kNoPrice)
            run_.market_by_type[static_cast<std::size_t>(h.type_number - 1)] += h.market_value;
    fixtures::CompareWithGolden("reports/appraisal/appraisal_holdings_pages_classes.txt",
                                Pages(HeaderFor(holdings, 150), holdings));
}

TEST_F(ClientAppraisalTest, PagesWithAnUnpricedStock) {
    std::vector<ValuedHolding> holdings = {
        Holding(2, "CASH", 500, "CASH", 0, 500, 500, "1"),
        Holding(18, "IBM", 10, "INTL BUS MACH", 1.5f, 900, 1005, "H", 35),
        Holding(18, "NOPRICE", 20, "UNPRICED CORP", 2.0f, 400, kNoPrice, "H", 35),
        Holding(18, "XYZ", 30, "XYZ CORP", 0, 300, 450, "H", 20),
    };
    fixtures::CompareWithGolden("reports/appraisal/appraisal_holdings_pages_unpriced.txt",
                                Pages(HeaderFor(holdings), holdings));
}

TEST_F(ClientAppraisalTest, EmptyWorkFilePrintsTheHeadingAndZeroTotals) {
    SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    AppraisalHeader head = HeaderFor({});
    head.page_word = 2;
    fixtures::CompareWithGolden("reports/appraisal/appraisal_holdings_pages_empty.txt", Pages(head, {}));
}

// ---- Rules of the holding lines, by line.

std::string LineOf(const std::string& text, const std::string& what) {
    std::size_t at = text.find(what);
    if (at == std::string::npos) return "";
    const std::size_t start = text.rfind('\n', at) + 1;
    return text.substr(start, text.find('\n', at) - start);
}

// A market value from a damaged price (not a number, infinite, far too
// large) prints as N/A, is told once in a line naming the security and
// stays out of every total: the portfolio's total and the allocation
// shares are those of the other holdings.
TEST_F(ClientAppraisalTest, AMarketValueThatIsNotANumberOrTooLargeIsLeftOutOfTheTotals) {
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 1e300, -2e15}) {
        SCOPED_TRACE(bad);
        ValuedHolding ibm = Holding(18, "IBM", 10, "INTL BUS MACH", 1.5f, 900, 1000, "H", 35);
        ibm.security_first_word = TwoCharacters("ST");
        ValuedHolding damaged = Holding(18, "BADPRICE", 20, "BAD PRICE CORP", 2.0f, 400, bad, "H", 35);
        damaged.security_first_word = TwoCharacters("ST");
        std::vector<ValuedHolding> holdings = {Holding(2, "CASH", 500, "CASH", 0, 500, 500, "1"), ibm,
                                               damaged};
        AppraisalHeader head = HeaderFor({holdings[0], holdings[1]});
        head.type_flags[17] = 1;
        const std::string text = Pages(head, holdings);
        const std::string told =
            " *** BADPRICE: MARKET VALUE NOT A NUMBER OR TOO LARGE, N/A AND LEFT OUT OF THE TOTALS";
        EXPECT_NE(text.find(told + "\n"), std::string::npos) << text;
        EXPECT_EQ(text.find(told), text.rfind(told)) << "told once";
        EXPECT_NE(LineOf(text, "BAD PRICE CORP").find("N/A"), std::string::npos)
            << LineOf(text, "BAD PRICE CORP");
        EXPECT_NE(LineOf(text, "TOTAL PORTFOLIO").find("1,500.00"), std::string::npos)
            << LineOf(text, "TOTAL PORTFOLIO");
        // The summary header's allocation: IBM's 1,000 of 1,500 is 67%.
        const std::vector<Record> summary = Summary();
        ASSERT_FALSE(summary.empty());
        const AppraisalSummaryHeader h = AppraisalSummaryHeader::Decode(summary[0]);
        std::size_t st = 0;
        while (st < records::kSummaryAllocationCodes.size() &&
               std::string(records::kSummaryAllocationCodes[st]) != "ST")
            ++st;
        ASSERT_LT(st, records::kSummaryAllocationCodes.size());
        EXPECT_EQ(h.allocation[st], 67);
    }
}

TEST_F(ClientAppraisalTest, ShortIncomeIsNotOneTooLargeAndTheYieldToMaturityShows) {
    const auto holdings = SampleHoldings();
    const std::string text = Pages(HeaderFor(holdings, 150), holdings);
    // 100 shares short at 1.00: income (100), not (101).
    EXPECT_EQ(LineOf(text, "XYZ CORP").substr(102, 8), "   (100)") << LineOf(text, "XYZ CORP");
    // The note maturing within the year shows its yield to maturity, the
    // bond its own; the money fund its rate.
    EXPECT_EQ(LineOf(text, "TREASURY NOTE").substr(93, 9), "   4.25  ");
    EXPECT_EQ(LineOf(text, "CITY BOND").substr(93, 9), "   5.50  ");
    EXPECT_EQ(LineOf(text, "MONEY FUND").substr(93, 9), "   5.00  ");
    // Option 16 = 1: rates only.
    SetOptions({{records::Opt::kRateOrYieldToMaturity, 1}});
    WriteNames();
    const std::string rates = Pages(HeaderFor(holdings, 150), holdings);
    EXPECT_EQ(LineOf(rates, "TREASURY NOTE").substr(93, 9), "   5.00  ");
}

// The line printed under the first line holding the text.
std::string LineAfter(const std::string& text, const std::string& what) {
    const std::size_t at = text.find(what);
    if (at == std::string::npos) return "";
    const std::size_t next = text.find('\n', at) + 1;
    return text.substr(next, text.find('\n', next) - next);
}

TEST_F(ClientAppraisalTest, EmptySecondDescriptionTakesTheRateAndMaturityWithOption2) {
    SetOptions({{records::Opt::kCouponDueDescription, 1}});
    const auto holdings = SampleHoldings();
    const std::string text = Pages(HeaderFor(holdings, 150), holdings);
    // "(2X,F7.3,'%  ',2A4,...)" under "(17X,8A4)"; the cash and the type
    // "1" fund get none.
    EXPECT_EQ(LineAfter(text, "TREASURY NOTE"), std::string(21, ' ') + "5.000%   3/01/01");
    EXPECT_NE(LineAfter(text, "CASH     ").find("MONEY FUND"), std::string::npos);
    EXPECT_NE(LineAfter(text, "MONEY FUND").find("TREASURY NOTE"), std::string::npos);
    // With option 50 the bond lines take its place: "(17X,F7.3,'%',2X,2A4)".
    SetOptions({{records::Opt::kCouponDueDescription, 1}, {records::Opt::kBondDetails, 1}});
    WriteNames();
    const std::string bonds = Pages(HeaderFor(holdings, 150), holdings);
    EXPECT_EQ(LineAfter(bonds, "TREASURY NOTE"), std::string(19, ' ') + "5.000%   3/01/01");
}

// A bond whose SECURITY.EXT record was never written (zero bytes: the file
// only grew past it) has no terms: with option 50 it gets no bond lines,
// neither blank ones nor lines of zero bytes.
TEST_F(ClientAppraisalTest, BondTermsNeverWrittenPrintNoBondLines) {
    SetOptions({{records::Opt::kBondDetails, 1}});
    ValuedHolding bare = Holding(5, "BARE", 1000, "BARE BOND", 0, 1000, 1000, "4");
    bare.per_hundred = 1;
    bare.extension_read = 1;
    bare.extension_code = std::string(5, '\0');
    bare.extension_date1 = std::string(8, '\0');
    bare.extension_date2 = std::string(8, '\0');
    bare.maturity_date = std::string(8, '\0');
    ValuedHolding next = Holding(5, "NEXT", 1000, "NEXT BOND", 0, 1000, 1000, "4");
    next.per_hundred = 1;
    const std::vector<ValuedHolding> holdings = {bare, next};
    const std::string text = Pages(HeaderFor(holdings), holdings);
    EXPECT_NE(LineAfter(text, "BARE BOND").find("NEXT BOND"), std::string::npos) << text;
    EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST_F(ClientAppraisalTest, CategoriesOutsideTheRangePrintUnder99) {
    std::vector<ValuedHolding> holdings = {
        Holding(18, "ZERO", 10, "NO CATEGORY", 0, 100, 100, "H", 0),
        Holding(18, "WIDE", 10, "CATEGORY 150", 0, 100, 100, "H", 150),
        Holding(18, "IBM", 10, "INTL BUS MACH", 0, 100, 100, "H", 35),
    };
    const std::string text = Pages(HeaderFor(holdings), holdings);
    const std::size_t other = text.find("\n                     OTHER\n");
    ASSERT_NE(other, std::string::npos) << text;
    EXPECT_GT(text.find("NO CATEGORY"), other);
    EXPECT_GT(text.find("CATEGORY 150"), other);
    EXPECT_LT(text.find("INTL BUS MACH"), other);
}

TEST_F(ClientAppraisalTest, ZeroQuantityPrintsBlankUnitCostAndPrice) {
    std::vector<ValuedHolding> holdings = {
        Holding(18, "IBM", 10, "INTL BUS MACH", 0, 900, 1000, "H", 35),
        Holding(18, "ZERO", 0, "ZERO SHARES", 0, 50, 0, "H", 35),
    };
    const std::string text = Pages(HeaderFor(holdings), holdings);
    const std::string line = LineOf(text, "ZERO SHARES");
    EXPECT_EQ(line.substr(36, 8), std::string(8, ' ')) << line;
    EXPECT_EQ(line.substr(60, 8), std::string(8, ' ')) << line;
}

TEST_F(ClientAppraisalTest, ZeroBaseGivesZeroPercentages) {
    std::vector<ValuedHolding> holdings = {
        Holding(18, "IBM", 10, "INTL BUS MACH", 0, 900, 1000, "H", 35),
        Holding(18, "XYZ", -10, "XYZ CORP", 0, -900, -1000, "H", 35),
    };
    const std::string text = Pages(HeaderFor(holdings), holdings);
    EXPECT_EQ(LineOf(text, "INTL BUS MACH").substr(84, 8), "    0.0 ") << LineOf(text, "INTL BUS MACH");
    EXPECT_EQ(LineOf(text, "XYZ CORP").substr(84, 8), "    0.0 ");
}

// Without the type and category name files every group still prints (the
// types then take the standard names, the categories none), and a blank
// subtitle is underlined with one dash.
TEST_F(ClientAppraisalTest, WithoutTheNameFilesEveryGroupPrints) {
    TempDataDir::WriteBytes(records::kTypeNameFile, {});
    std::remove(records::kTypeNameFile);
    std::remove(records::kCategoryNameFile);
    const auto holdings = SampleHoldings();
    const std::string text = Pages(HeaderFor(holdings, 150), holdings);
    for (const char* desc :
         {"CASH", "MONEY FUND", "CITY BOND", "INTL BUS MACH", "XYZ CORP", "ACME WIDGETS", "HELD AWAY"})
        EXPECT_NE(LineOf(text, desc), "") << desc;
    EXPECT_NE(text.find("TOTAL PORTFOLIO"), std::string::npos);
    // A blank name is underlined with one dash.
    EXPECT_NE(text.find("\n                     -\n"), std::string::npos);
}

// A directory without a type table titles the groups with the standard
// names (type 4 is not the fixture's municipal bonds but certificates of
// deposit) and the names file is not made.
TEST_F(ClientAppraisalTest, WithoutATypeTableTheSubtitlesAreTheStandardNames) {
    std::remove(records::kTypeNameFile);
    ASSERT_FALSE(records::HasTypeTable());
    const auto holdings = SampleHoldings();
    const std::string text = Pages(HeaderFor(holdings, 150), holdings);
    for (const char* subtitle : {"CASH AND EQUIVALENTS", "CERTIFICATES OF DEPOSIT", "COMMON STOCKS"})
        EXPECT_NE(text.find("\n" + std::string(21, ' ') + subtitle + "\n"), std::string::npos) << subtitle;
    EXPECT_EQ(text.find("MUNICIPAL BONDS"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists(records::kTypeNameFile));
}

TEST_F(ClientAppraisalTest, ShortWorkFileEndsThePagesWithALine) {
    const auto holdings = SampleHoldings();
    AppraisalHeader head = HeaderFor(holdings, 150);
    head.count = 12;
    const std::string text = Pages(head, holdings);
    EXPECT_NE(
        text.find(" ACCOUNT AB1234: TEMP1.WRK holds 9 of its 12 holdings; the appraisal pages end here."),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("TOTAL PORTFOLIO"), std::string::npos);
}

TEST_F(ClientAppraisalTest, CallerOrderTakesTheGroupsRecordsInListOrder) {
    auto holdings = SampleHoldings();
    AppraisalHeader head = HeaderFor(holdings, 150);
    head.order = 2;
    // Records: 2 CASH, 3 MMF, 4 NOTE, 5 BOND, 6 IBM, 7 XYZ, 8 DELL, 9 ACME,
    // 10 AWAY. The list puts MMF before CASH and DELL before IBM, leaves
    // the note out and holds entries of 0 and below, which are passed over.
    const std::string text = Pages(head, holdings, {3, 0, 2, 5, -1, 8, 6, 7, 9, 10});
    EXPECT_LT(text.find("MONEY FUND"), text.find("\n CASH"));
    EXPECT_LT(text.find("DELL COMPUTER"), text.find("INTL BUS MACH"));
    EXPECT_EQ(text.find("TREASURY NOTE"), std::string::npos);
    EXPECT_NE(text.find("HELD AWAY"), std::string::npos);
}

TEST_F(ClientAppraisalTest, CountingPassWritesNoLineButTheSameFiles) {
    SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}, {records::Opt::kAppraisalExportType, 1}});
    const auto holdings = SampleHoldings();
    Pages(HeaderFor(holdings, 150), holdings);
    const auto printed_summary = TempDataDir::ReadBytes(records::kAppraisalSummaryFile);
    const auto printed_export = TempDataDir::ReadBytes(reports::kAllocationExportFile);
    const auto printed_loans = TempDataDir::ReadBytes(reports::kLoanFile);
    std::remove(reports::kLoanFile);
    std::remove(records::kAppraisalSummaryFile);
    run_.output_mode = reports::kOutputModeCount;
    EXPECT_EQ(Pages(HeaderFor(holdings, 150), holdings), "");
    EXPECT_EQ(TempDataDir::ReadBytes(records::kAppraisalSummaryFile), printed_summary);
    EXPECT_EQ(TempDataDir::ReadBytes(reports::kAllocationExportFile), printed_export);
    EXPECT_EQ(TempDataDir::ReadBytes(reports::kLoanFile), printed_loans);
}

TEST_F(ClientAppraisalTest, SharedTotalsByAssetClassAndGroup) {
    SetOptions({{records::Opt::kPortfolioSummaryType, 2}});
    const auto holdings = SampleHoldings();
    Pages(HeaderFor(holdings, 150), holdings);
    // CE: cash, fund and the note (type "1" and "5" by the default table:
    // "1" CE, "5" FI). The note's type code is "5", but its type number is
    // 2, the cash type, whose class is CE.
    EXPECT_DOUBLE_EQ(run_.classes.market_value[0], 1500.25 + 2000 + 4962.5 + 150);
    EXPECT_DOUBLE_EQ(run_.classes.market_value[1], 10000);
    EXPECT_DOUBLE_EQ(run_.classes.market_value[2], 15075 - 2500 + 6015 + 1250);
    EXPECT_DOUBLE_EQ(run_.classes.annual_income[2], 225 - 100);
    // Slots: cash group, bonds, accrued interest, common stocks; type 36 in
    // its own slot.
    EXPECT_FLOAT_EQ(run_.group_income[0], 100 + 250);
    EXPECT_FLOAT_EQ(run_.group_income[1], 600);
    EXPECT_FLOAT_EQ(run_.group_income[2], -999.99f);
    EXPECT_FLOAT_EQ(run_.group_gain[2], -999.99f);
    EXPECT_FLOAT_EQ(run_.group_income[3], 125);
    EXPECT_FLOAT_EQ(run_.group_gain[3], 19840 - 18000);
    EXPECT_FLOAT_EQ(run_.group_gain[reports::kUnmanagedGroupSlot], 20);
}

// ---- TEMPHSUM.FIL, byte for byte.

std::string Text(const std::string& s, std::size_t n) {
    return records::Fixed(s, n);
}

TEST_F(ClientAppraisalTest, SummaryFileRecordsInWritingOrder) {
    const auto holdings = SampleHoldings();
    Pages(HeaderFor(holdings, 150), holdings);
    const std::vector<Record> recs = Summary();
    ASSERT_EQ(recs.size(), 11u);
    // Header: 99 bytes, zero after.
    const Record& h = recs[0];
    for (std::size_t b = 99; b < h.size(); ++b) ASSERT_EQ(h.data()[b], 0) << b;
    EXPECT_EQ(h.I16(0), 9);
    EXPECT_EQ(h.Text(2, 8), " 6/30/00");
    EXPECT_EQ(h.I16(10), 4);  // categories 20, 35, 99 and the total
    EXPECT_DOUBLE_EQ(h.R8(12), 19840);
    EXPECT_EQ(h.I16(20), 4);  // records 5 to 8 (indexes 4 to 7)
    EXPECT_EQ(h.I16(22), 7);
    EXPECT_EQ(h.Text(24, 32), Text("         SMITH ACCOUNT", 32));
    EXPECT_EQ(h.Text(56, 4), "GRTH");
    // Allocation shares: IBM (ST) 15,075 and DELL (IT) 6,015 of 38,452.75.
    const unsigned char shares[7] = {39, 16, 0, 0, 0, 0, 0};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(h.data()[60 + k], shares[k]) << k;
    EXPECT_EQ(h.Text(67, 32), Text("SMITH ACCOUNT", 32));

    auto line = [&](std::size_t n) {
        for (std::size_t b = 224; b < recs[n].size(); ++b) EXPECT_EQ(recs[n].data()[b], 0) << n << " " << b;
        return AppraisalSummaryLine::Decode(recs[n]);
    };
    const AppraisalSummaryLine cash = line(1);
    EXPECT_EQ(cash.kind, 2);
    EXPECT_EQ(cash.name, Text("CASH AND EQUIVALENTS", 28));
    EXPECT_EQ(cash.texts[0], Text("  22.0% ", 32));
    EXPECT_EQ(cash.texts[1], Text("       8,450.25 ", 32));
    EXPECT_EQ(cash.texts[2], Text("       8,462.75 ", 32));
    EXPECT_EQ(cash.texts[3], Text("         13 ", 32));
    EXPECT_EQ(cash.texts[4], Text("   4.1% ", 32));
    EXPECT_EQ(cash.texts[5], Text("      350 ", 32));
    EXPECT_EQ(cash.last_type, 2);
    EXPECT_EQ(line(2).kind, 5);
    const AppraisalSummaryLine accrued = line(3);
    EXPECT_EQ(accrued.kind, 40);
    EXPECT_EQ(accrued.name, Text("TOTAL ACCRUED INTEREST", 28));
    EXPECT_EQ(accrued.texts[0], Text("   0.4% ", 32));
    EXPECT_EQ(accrued.texts[1], Text("", 32));
    EXPECT_EQ(accrued.texts[2], Text("         150.00 ", 32));
    EXPECT_EQ(accrued.last_type, 2);
    const AppraisalSummaryLine tech = line(4);
    EXPECT_EQ(tech.kind, 0);
    EXPECT_EQ(tech.name, Text("TECHNOLOGY", 28));
    EXPECT_EQ(tech.texts[0], Text("          -2500.0000", 32));
    EXPECT_EQ(tech.texts[1], Text("  -6.5% ", 32));
    EXPECT_EQ(line(5).name, Text("COMPUTERS", 28));
    EXPECT_EQ(line(6).name, Text("OTHER", 28));
    const AppraisalSummaryLine stocks = line(7);
    EXPECT_EQ(stocks.kind, 0);
    EXPECT_EQ(stocks.name, Text("COMMON STOCKS", 28));
    EXPECT_EQ(stocks.texts[0], Text("          19840.0000", 32));
    EXPECT_EQ(stocks.texts[2], Text("      19,840.00 ", 32));
    EXPECT_EQ(line(8).kind, 18);
}

TEST_F(ClientAppraisalTest, SummaryFileTotalsAndTheUnmanagedGroupBeyondTheCount) {
    const auto holdings = SampleHoldings();
    Pages(HeaderFor(holdings, 150), holdings);
    const std::vector<Record> recs = Summary();
    ASSERT_EQ(recs.size(), 11u);
    const AppraisalSummaryLine totals = AppraisalSummaryLine::Decode(recs[9]);
    EXPECT_EQ(totals.kind, 0);
    EXPECT_EQ(totals.name, Text("COMMON STOCKS", 28));
    EXPECT_EQ(totals.texts[0], Text("      36,250.25 ", 32));
    EXPECT_EQ(totals.texts[1], Text("      38,452.75 ", 32));
    EXPECT_EQ(totals.texts[2], Text("      2,053 ", 32));
    EXPECT_EQ(totals.texts[3], Text("   2.8% ", 32));
    EXPECT_EQ(totals.texts[4], Text("    1,075 ", 32));
    EXPECT_EQ(totals.texts[5], Text("", 32));
    const AppraisalSummaryLine away = AppraisalSummaryLine::Decode(recs[10]);
    EXPECT_EQ(away.kind, 36);
    EXPECT_EQ(away.name, Text("ASSETS HELD AWAY", 28));
    EXPECT_EQ(away.texts[0], Text("", 32));
    EXPECT_EQ(away.texts[2], Text("         100.00 ", 32));
}

TEST_F(ClientAppraisalTest, SummaryFileWithoutCommonStocksOrWithOnlyTheUnmanagedGroup) {
    std::vector<ValuedHolding> cash = {Holding(2, "CASH", 500, "CASH", 0, 500, 500, "1")};
    Pages(HeaderFor(cash), cash);
    AppraisalSummaryHeader head = AppraisalSummaryHeader::Decode(Summary()[0]);
    EXPECT_EQ(head.count, 2);
    EXPECT_EQ(head.stock_records, 0);
    EXPECT_EQ(head.first_category_index, 0);
    EXPECT_EQ(head.stock_total_index, 0);

    std::remove(records::kAppraisalSummaryFile);
    std::vector<ValuedHolding> away = {Holding(36, "AWAY", 5, "HELD AWAY", 0, 80, 100, "H")};
    Pages(HeaderFor(away), away);
    const std::vector<Record> recs = Summary();
    ASSERT_EQ(recs.size(), 3u);
    head = AppraisalSummaryHeader::Decode(recs[0]);
    EXPECT_EQ(head.count, 1);
    EXPECT_EQ(AppraisalSummaryLine::Decode(recs[1]).kind, 0);
    EXPECT_EQ(AppraisalSummaryLine::Decode(recs[2]).kind, 36);
}

// ---- The option 72 files and LDL.DAT.

std::vector<std::string> FileLines(const std::string& name) {
    std::vector<std::string> lines;
    records::TextFile file(name, false);
    std::string line;
    while (file.ReadLine(line)) lines.push_back(line);
    return lines;
}

TEST_F(ClientAppraisalTest, AllocationExport) {
    SetOptions({{records::Opt::kAppraisalExportType, 1}});
    std::vector<ValuedHolding> holdings = {
        Holding(2, "CASH", 500, "CASH", 0, 500, 500, "1"),
        Holding(18, "IBM", 10, "INTL BUS MACH", 1.5f, 900, 1500, "H", 35),
        Holding(18, "NOPRICE", 20, "UNPRICED CORP", 0, 400, kNoPrice, "H", 35),
        Holding(36, "AWAY", 5, "HELD AWAY", 0, 80, 100, "H"),
    };
    AppraisalHeader head = HeaderFor(holdings);
    head.total_market_value = 2000;  // as if the unpriced lot were held away
    Pages(head, holdings);
    EXPECT_EQ(FileLines(reports::kAllocationExportFile),
              (std::vector<std::string>{"           500.00   25.0 ", "          1500.00   75.0 ",
                                        "        -99999.99    N/A ", "           100.00        "}));
}

TEST_F(ClientAppraisalTest, AccountExportsQuotedAndCommaSeparated) {
    std::vector<ValuedHolding> holdings = {
        Holding(2, "CASH", 500, "CASH", 0, 500, 500, "1"),
        Holding(18, "IBM", 10.5, "INTL BUS MACH", 1.5f, 900, 1050, "H", 35),
    };
    SetOptions({{records::Opt::kAppraisalExportType, 2}});
    Pages(HeaderFor(holdings), holdings);
    EXPECT_EQ(FileLines("ASAB1234.TXT"),
              (std::vector<std::string>{"AB1234  SMITH ACCOUNT                   ",
                                        " \"CASH        \"        500.0000                  500.00"
                                        "                  500.00",
                                        " \"IBM         \"         10.5000   85.71          900.00"
                                        " 100.000         1050.00"}));
    SetOptions({{records::Opt::kAppraisalExportType, 4}});
    WriteNames();
    Pages(HeaderFor(holdings), holdings);
    EXPECT_EQ(FileLines("ASAB1234.TXT"),
              (std::vector<std::string>{"A,\" \",B1234 SMITH ACCOUNT                   ",
                                        "\"CASH        \",\" \",        500.0000",
                                        "\"IBM         \",\" \",         10.5000"}));
}

TEST_F(ClientAppraisalTest, PieChartReadBackByTheChartView) {
    SetOptions({{records::Opt::kAppraisalExportType, 3}});
    const auto holdings = SampleHoldings();
    Pages(HeaderFor(holdings, 150), holdings);
    const auto read = platform::ReadPieChartFile(dir_.path(), platform::ChartFile::AssetAllocation);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.data.title, "ASSET ALLOCATION - SMITH ACCOUN");
    ASSERT_EQ(read.data.slices.size(), 4u);
    EXPECT_EQ(read.data.slices[0].name, "CASH AND EQUIVALENTS");
    EXPECT_NEAR(read.data.slices[0].percent, 22.0, 1e-9);
    EXPECT_EQ(read.data.slices[1].name, "MUNICIPAL BONDS");
    EXPECT_NEAR(read.data.slices[1].percent, 26.0, 1e-9);
    EXPECT_EQ(read.data.slices[2].name, "TOTAL ACCRUED INTEREST");
    EXPECT_NEAR(read.data.slices[2].percent, 0.4, 1e-9);
    EXPECT_EQ(read.data.slices[3].name, "COMMON STOCKS");
    EXPECT_NEAR(read.data.slices[3].percent, 51.6, 1e-9);
}

TEST_F(ClientAppraisalTest, LoanRecordsAppendedWithTheirCount) {
    SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    auto holdings = SampleHoldings();
    holdings[6].security_last_word = 40;  // DELL
    holdings.push_back(Holding(18, "NOPRICE", 20, "UNPRICED CORP", 0, 400, kNoPrice, "H", 35));
    holdings.back().security_last_word = 50;  // no loan value without a price
    Pages(HeaderFor(holdings, 150), holdings);
    const auto bytes = TempDataDir::ReadBytes(reports::kLoanFile);
    ASSERT_EQ(bytes.size(), 3u * 128);
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(file.substr(0, 128), "000003" + std::string(120, ' ') + "\r\n");
    const std::string ibm =
        "AB1234  CUST-778899-SMITH-AC 6/30/00         7537.50 IBM                150.000" +
        std::string(47, ' ') + "\r\n";
    const std::string dell =
        "AB1234  CUST-778899-SMITH-AC 6/30/00         2406.00 DELL               200.500" +
        std::string(47, ' ') + "\r\n";
    EXPECT_EQ(file.substr(128, 128), ibm);
    EXPECT_EQ(file.substr(256, 128), dell);
    EXPECT_EQ(reports::LoanRecord("AB1234", "CUST", " 6/30/00", 1.5, "IBM", 2).size(), 128u);
}

}  // namespace

namespace {

// ---- The heading's column words, by option.

struct HeadingCase {
    std::vector<std::pair<records::Opt, unsigned char>> options;
    std::string line1, line2, line3, line4;
};

TEST(AppraisalHeadingTest, ColumnWordsByOption) {
    const std::string lead2 =
        "   PAR VALUE                            UNIT        TOTAL     MARKET      MARKET      ";
    const std::string lead3 =
        "   OR SHARES         DESCRIPTION        COST         COST      PRICE       VALUE      ";
    const std::string lead4 =
        "   ---------         -----------        ----         ----      -----       -----      ";
    const std::vector<HeadingCase> cases = {
        {{},
         std::string(96, ' ') + "IND. ESTIMATED YLD",
         lead2 + " % OF   DIV/INT  ANNUAL   TO",
         lead3 + "ASSETS    RATE   INCOME   MKT",
         lead4 + "------    ----   ------   ---"},
        {{{records::Opt::kYieldOnCost, 1}, {records::Opt::kAssetClassPercent, 1}},
         std::string(86, ' ') + "% OF      IND. ESTIMATED YLD",
         lead2 + "ASSET   DIV/INT  ANNUAL   TO",
         lead3 + "CLASS     RATE   INCOME   COST",
         lead4 + "-----     ----   ------   ----"},
        {{{records::Opt::kTimeWeightedReturn, 1}},
         std::string(101, ' ') + "ESTIMATED YLD",
         lead2 + " % OF      T/W   ANNUAL   TO",
         lead3 + "ASSETS     ROR   INCOME   MKT",
         lead4 + "------     ---   ------   ---"},
        {{{records::Opt::kRateOrYieldToMaturity, 2}},
         std::string(102, ' ') + "ESTIMATED YLD",
         lead2 + " % OF   DIV/INT/  ANNUAL  TO",
         lead3 + "ASSETS    YTM     INCOME   MKT",
         lead4 + "------    ---     ------   ---"},
        {{{records::Opt::kRateOrYieldToMaturity, 2}, {records::Opt::kTimeWeightedReturn, 1}},
         std::string(102, ' ') + "ESTIMATED YLD",
         lead2 + " % OF      T/W    ANNUAL  TO",
         lead3 + "ASSETS     ROR    INCOME   MKT",
         lead4 + "------     ---    ------   ---"},
    };
    for (const HeadingCase& c : cases) {
        TempDataDir dir;
        fixtures::WriteFirmHeading("FIRM", 58);
        records::Gcn();
        reports::AppraisalPages pages;
        for (const auto& [n, value] : c.options) records::SetOption(pages.options, n, value);
        pages.page = -2;
        pages.report_date = " 6/30/00";
        {
            reports::ReportFrame frame(kCopy, true);
            reports::Aphead(pages);
        }
        const std::vector<std::string> lines = fixtures::ReportFileLines(kCopy);
        ASSERT_EQ(lines.size(), 15u);
        EXPECT_EQ(records::TrimRight(lines[10]), c.line1);
        EXPECT_EQ(records::TrimRight(lines[11]), c.line2);
        EXPECT_EQ(records::TrimRight(lines[12]), c.line3);
        EXPECT_EQ(records::TrimRight(lines[13]), c.line4);
        EXPECT_EQ(pages.lines, 15) << "every line of the heading is counted";
        EXPECT_EQ(pages.page, 3);
        EXPECT_EQ(pages.title_flag, 1);
    }
}

}  // namespace
