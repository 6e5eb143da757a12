#include "reports/aum/aum_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/security_file.h"
#include "records/security_holdings_files.h"
#include "reports/aum/aum_index.h"
#include "reports/aum/aum_page.h"
#include "reports/aum/aum_security_pages.h"
#include "reports/kernel/amount_texts.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/aum/aum_run_fixture.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

void SetOptions(const std::vector<std::pair<records::Opt, unsigned char>>& options) {
    records::Options record = records::Rdopts();
    for (const auto& [n, value] : options) records::SetOption(record, n, value);
    records::Wropts(record);
}

// Runs code 88 ("N   ") or 107 ("Y   ") to REPORT.TXT and returns its text.
std::string RunMeom(const std::string& choice, const std::string& manager,
                    const std::string& accrued = "N   ", std::string date = "12/31/98") {
    reports::Meom(0, date, manager, accrued, "N   ", "N   ", choice, 3, "REPORT.TXT");
    return fixtures::ReportText("REPORT.TXT");
}

// ---- The holdings index.

TEST(HoldingsIndex, KeysOrderSymbolsAndBucketsTakeTheThirdByte) {
    EXPECT_LT(reports::HoldingKey("AAA"), reports::HoldingKey("AAB"));
    EXPECT_LT(reports::HoldingKey("AB"), reports::HoldingKey("ABC"));  // a blank comes before letters
    EXPECT_LT(reports::HoldingKey("9ZZZZZZZ"), reports::HoldingKey("A"));
    EXPECT_EQ(reports::HoldingKey("ABCDEFGHX"), reports::HoldingKey("ABCDEFGHY"));
    EXPECT_DOUBLE_EQ(reports::HoldingKey("A"), 65e14 + 32 * (1e12 + 1e10 + 1e8 + 1e6 + 1e4 + 1e2 + 1));

    double key = 0;
    unsigned char bytes[8] = {0, 0, 200, 0, 0, 0, 0x40, 0x42};
    std::memcpy(&key, bytes, 8);
    EXPECT_EQ(reports::HoldingBucket(key), 73);
    bytes[2] = 127;
    std::memcpy(&key, bytes, 8);
    EXPECT_EQ(reports::HoldingBucket(key), 128);
}

TEST(HoldingsIndex, LotsOfOneSecurityChainInWritingOrder) {
    reports::HoldingsIndex index;
    index.Aumclr();
    const double ibm = reports::HoldingKey("IBM");
    index.Aumidx(ibm, 2);
    index.Aumidx(reports::HoldingKey("ABCDEFGHX"), 3);
    index.Aumidx(ibm, 4);
    index.Aumidx(reports::HoldingKey("ABCDEFGHY"), 5);
    index.Aumidx(ibm, 40000);  // record numbers beyond 16 bits are held
    ASSERT_EQ(index.entry_count(), 2);
    EXPECT_EQ(index.entry(1).first_record, 2);
    EXPECT_EQ(index.entry(1).last_record, 40000);
    EXPECT_EQ(index.next_record(2), 4);
    EXPECT_EQ(index.next_record(4), 40000);
    EXPECT_EQ(index.next_record(40000), -1);
    EXPECT_EQ(index.entry(2).first_record, 3);
    EXPECT_EQ(index.next_record(3), 5);
    EXPECT_EQ(index.next_record(5), -1);
    // Sorted by key: ABCDEFGH before IBM.
    EXPECT_EQ(index.SortedEntries(), (std::vector<int16_t>{2, 1}));

    // Two keys of one bucket: the newer entry heads it.
    reports::HoldingsIndex bucket;
    const double a = 1.0, b = 2.0;  // both have a zero third byte
    ASSERT_EQ(reports::HoldingBucket(a), reports::HoldingBucket(b));
    bucket.Aumidx(a, 2);
    bucket.Aumidx(b, 3);
    EXPECT_EQ(bucket.bucket_head(reports::HoldingBucket(a)), 2);
    EXPECT_EQ(bucket.entry(2).next_in_bucket, 1);
    bucket.Aumclr();
    EXPECT_EQ(bucket.entry_count(), 0);
    EXPECT_EQ(bucket.bucket_head(reports::HoldingBucket(a)), 0);
}

// ---- The work file as one account's walk writes it.

class MeomTest : public ::testing::Test {
protected:
    void SetUp() override { meomfix::WriteData(); }
    TempDataDir dir_;
};

// Writes the records of one account the way the run does and reads them
// back.
std::vector<records::SecurityHolding> HoldingsOf(const std::string& id, reports::AumAccount& account) {
    reports::AumRun run;
    run.as_of_date = "12/31/98";
    run.as_of_number = 981231;
    run.program_date_number = 981231;
    run.options = records::Rdopts();
    run.accrued_flag = "Y   ";
    run.cash_position = meomfix::kCash;
    run.work.emplace(records::kSecurityHoldingsFile, records::kSecurityHoldingsRecordLength);
    run.securities.emplace("SECURITY.REC", 128, false);
    run.prices.emplace(records::PriceFileName(run.as_of_date), 8, false);
    account.id = records::Fixed(id, 8);
    account.title = records::Fixed(id + " ACCOUNT", 32);
    reports::Aumhld(run, account);
    std::vector<records::SecurityHolding> out;
    Record rec;
    for (int32_t r = 2; r <= run.record_counter; ++r) {
        EXPECT_TRUE(run.work->Read(r, rec));
        out.push_back(records::SecurityHolding::Decode(rec));
    }
    return out;
}

TEST_F(MeomTest, LotsAreValuedByTheirTypeAndUnmanagedLotsLeftOut) {
    reports::AumAccount account;
    const auto lots = HoldingsOf("AXBY", account);
    // Cash at its amount, IBM 100 x 100.25, the type "5" bond 98.5 per 100
    // of 10,000, the type "4" bond at its face; the "S" lot is not there.
    ASSERT_EQ(lots.size(), 4u);
    EXPECT_EQ(lots[0].symbol, "CASH        ");
    EXPECT_DOUBLE_EQ(lots[0].market_value, 5000);
    EXPECT_DOUBLE_EQ(lots[1].market_value, 10025);
    EXPECT_DOUBLE_EQ(lots[2].market_value, 9850);
    EXPECT_EQ(lots[2].valuation_kind, records::kValuedPerHundred);
    EXPECT_DOUBLE_EQ(lots[3].market_value, 5000);
    EXPECT_DOUBLE_EQ(account.value, 29875);
    EXPECT_NEAR(lots[1].percent_of_account, 100.0 * 10025 / 29875, 1e-4);
    EXPECT_EQ(lots[1].account_id, "AXBY    ");
    EXPECT_EQ(lots[1].lot_date, " 3/15/97");
    EXPECT_FLOAT_EQ(lots[1].rate, 1.5f);
    EXPECT_EQ(lots[3].description2, records::Fixed("INSURED", 32));
    // Accrued interest of the type "5" bond from its last coupon, 12/15/98
    // (its stored 6/15/98 stepped forward), 26.67; the type "4" bond has no
    // coupon date and pays on its maturity's day, 12/01: 20.83.
    EXPECT_NEAR(account.accrued, 26.6667 + 20.8333, 1e-9);

    const auto others = HoldingsOf("A1B2", account);
    ASSERT_EQ(others.size(), 4u);
    // Type "1": 1.0 per unit, the quantity is the lot's amount; type "R"
    // is valued x 100 with its rate 0.
    EXPECT_DOUBLE_EQ(others[1].market_value, 2500);
    EXPECT_DOUBLE_EQ(others[2].market_value, 25000);
    EXPECT_EQ(others[2].valuation_kind, records::kValuedTimes100);
    EXPECT_FLOAT_EQ(others[2].rate, 0);
}

TEST_F(MeomTest, AnUnpricedLotKeepsTheMarkerAndItsAccountHasNoPercents) {
    reports::AumAccount account;
    const auto lots = HoldingsOf("BABA", account);
    ASSERT_EQ(lots.size(), 2u);
    EXPECT_DOUBLE_EQ(lots[0].market_value, 1002.5);
    EXPECT_DOUBLE_EQ(lots[1].market_value, records::kNoPriceValue);
    EXPECT_TRUE(account.missing_price);
    for (const auto& lot : lots) EXPECT_FLOAT_EQ(lot.percent_of_account, reports::kNoPercent);
}

// ---- The pages.

TEST_F(MeomTest, CrossReferenceOfEveryAccount) {
    const std::string text = RunMeom("N   ", "????");
    fixtures::CompareWithGolden("reports/aum/aum_run_cross_reference_all.txt", text);
    EXPECT_FALSE(TempDataDir::Exists(records::kSecurityHoldingsFile));
}

TEST_F(MeomTest, AssetsUnderManagementWithAnUnpricedLot) {
    const std::string text = RunMeom("Y   ", "????", "N   ");
    fixtures::CompareWithGolden("reports/aum/aum_run_assets_all.txt", text);
}

TEST_F(MeomTest, AssetsUnderManagementWithAccruedInterest) {
    // The grand value holds the accrued interest of the bond, so the
    // shares of the total add up to less than 100.
    const std::string text = RunMeom("Y   ", "A?B?", "Y   ");
    fixtures::CompareWithGolden("reports/aum/aum_run_assets_selected.txt", text);
}

TEST_F(MeomTest, PagesBreakWithinThePageLength) {
    // A page of 24 lines: each page repeats the heading and none runs
    // past its length; the last page still ends with the grand totals.
    fixtures::WriteFirmHeading("LEDRA TEST FIRM", 24);
    for (const char* choice : {"N   ", "Y   "}) {
        SCOPED_TRACE(choice);
        const std::string text = RunMeom(choice, "????");
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(text.substr(at, end - at));
        std::vector<std::size_t> pages;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].find("PAGE ") != std::string::npos) pages.push_back(i);
        ASSERT_GT(pages.size(), 1u);
        pages.push_back(lines.size() + 1);
        for (std::size_t p = 0; p + 1 < pages.size(); ++p) {
            EXPECT_LE(pages[p + 1] - pages[p], 24u) << "page " << p + 1;
            EXPECT_NE(lines[pages[p] + 3].find(choice[0] == 'N' ? "DETAILED SECURITY CROSS REFERENCE"
                                                                : "ASSETS UNDER MANAGEMENT"),
                      std::string::npos);
        }
        EXPECT_NE(text.find("TOTALS FOR   8 ISSUES"), std::string::npos);
    }
}

TEST_F(MeomTest, LotsBeyondTheWorkFileAreLeftOutWithALine) {
    // 3 x 10,923 lots: the work file takes 32,766 of them; the report says
    // that the totals leave the others out.
    std::vector<fixtures::LotFields> lots(10923, meomfix::Lot("IBM", meomfix::kIbm, 1, 1, 100, " 1/15/98"));
    for (const char* id : {"AXBY", "A1B2", "BABA"}) fixtures::WriteHoldings(id, lots);
    const std::string text = RunMeom("Y   ", "????");
    EXPECT_NE(text.find("MSTRSUMM.HLD is full at 32766 lots"), std::string::npos) << text;
    // 32,766 shares of IBM: 10,923 x 3 less 3, with BLNK's 5 never taken.
    EXPECT_NE(text.find("32,766.000"), std::string::npos) << text;
}

TEST_F(MeomTest, ManagerSelectionsTakeTheirAccounts) {
    struct Case {
        const char* manager;
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const Case cases[] = {
        {"A?B?", {"AXBY  -AXBY ACCOUNT", "A1B2  -A1B2 ACCOUNT"}, {"BABA", "BLNK"}},
        {"    ", {"BLNK  -BLANK MANAGER"}, {"AXBY", "A1B2", "BABA"}},
        {"BABA", {"BABA  -BABA ACCOUNT"}, {"AXBY", "A1B2", "BLNK"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.manager);
        const std::string text = RunMeom("N   ", c.manager);
        for (const std::string& s : c.in) EXPECT_NE(text.find(s), std::string::npos) << s;
        for (const std::string& s : c.out) EXPECT_EQ(text.find(s), std::string::npos) << s;
    }
}

TEST_F(MeomTest, OptionsOfTheSecurityBlock) {
    // Option 57 blanks the dividend rate; option 44 yields on cost, and a
    // fixed-income lot of cost 0 gives 0.00.
    fixtures::WriteHoldings("AXBY", {meomfix::Lot("BOND5", meomfix::kBond, 2, 10000, 0, "10/01/98"),
                                     meomfix::Lot("IBM", meomfix::kIbm, 1, 100, 8000, " 3/15/97")});
    std::string text = RunMeom("N   ", "AXBY");
    EXPECT_NE(text.find("YIELD TO MKT =  6.09"), std::string::npos) << text;
    EXPECT_NE(text.find("DIV. RATE =    1.50"), std::string::npos) << text;
    EXPECT_NE(text.find("\n CUST-111\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("ACCOUNT NO: "), std::string::npos) << text;
    // Option 84 drops the custodian account line, option 36 adds the
    // lot's account number line.
    SetOptions({{records::Opt::kYieldOnCost, 1},
                {records::Opt::kNoCrossReferenceRate, 1},
                {records::Opt::kNoCrossReferenceCustodian, 1},
                {records::Opt::kTransactionTexts, 1}});
    text = RunMeom("N   ", "AXBY");
    EXPECT_EQ(text.find("CUST-111"), std::string::npos) << text;
    EXPECT_NE(text.find("\n    ACCOUNT NO:\n"), std::string::npos) << text;
    EXPECT_NE(text.find("YIELD TO COST=  0.00"), std::string::npos) << text;
    EXPECT_EQ(text.find("DIV. RATE"), std::string::npos) << text;
}

TEST_F(MeomTest, AnAccountHoldingTwoLotsOfASecurityCountsOnce) {
    // AXBY holds IBM in two lots, A1B2 in one: the last column of the IBM
    // line counts the accounts that hold it.
    fixtures::WriteHoldings("AXBY", {meomfix::Lot("IBM", meomfix::kIbm, 1, 100, 8000, " 3/15/97"),
                                     meomfix::Lot("IBM", meomfix::kIbm, 2, 50, 4500, " 6/15/98")});
    struct Case {
        const char* manager;
        const char* accounts;
    } cases[] = {{"AXBY", "     1"}, {"A?B?", "     2"}};
    for (const Case& c : cases) {
        const std::string text = RunMeom("Y   ", c.manager);
        const std::size_t at = text.find(" INTL BUSINESS MACHINES");
        ASSERT_NE(at, std::string::npos) << text;
        const std::string line = text.substr(at, text.find('\n', at) - at);
        EXPECT_EQ(line.substr(line.size() - 6), c.accounts) << c.manager << "\n" << line;
    }
}

TEST_F(MeomTest, AccruedInterestIsAddedToTheGrandValue) {
    const double accrued = 26.6667 + 20.8333;  // from 12/15/98 and 12/01/98
    const std::string without = RunMeom("N   ", "AXBY", "N   ");
    const std::string with = RunMeom("N   ", "AXBY", "Y   ");
    EXPECT_NE(without.find("TOTALS FOR   4 ISSUES :"), std::string::npos) << without;
    EXPECT_NE(without.find("29,875.00"), std::string::npos) << without;
    EXPECT_NE(with.find(reports::Amount12(29875 + accrued)), std::string::npos) << with;
}

TEST_F(MeomTest, HoldingPeriodsTakeWindowedDates) {
    // A lot of 1999 priced in 2001 is long-term; one of 2001 priced in
    // 2001 short-term; six and a half months count long-term in 1986.
    struct Case {
        const char* pricing;
        const char* lot;
        bool long_term;
    };
    const Case cases[] = {
        {"12/31/01", " 6/15/99", true},
        {"12/31/01", " 6/15/01", false},
        {"12/31/86", " 6/15/86", true},
        {"12/31/91", " 6/15/91", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pricing) + " " + c.lot);
        fixtures::WriteProgramDate(c.pricing);
        fixtures::WritePrices(c.pricing, {1.0, 110.0});
        fixtures::WriteHoldings("BLNK", {meomfix::Lot("IBM", meomfix::kIbm, 1, 10, 1000, c.lot)});
        RunMeom("Y   ", "    ", "N   ", c.pricing);
        // The summary file stays: its IBM record holds the gain of 100.
        const records::DirectFile cmp(records::kSecuritySummaryFile, 128, false);
        Record rec;
        ASSERT_TRUE(cmp.Read(2, rec));
        const auto s = records::SecuritySummary::Decode(rec);
        EXPECT_DOUBLE_EQ(s.long_term_gain, c.long_term ? 100 : 0);
        EXPECT_DOUBLE_EQ(s.short_term_gain, c.long_term ? 0 : 100);
    }
}

TEST_F(MeomTest, AnEmptyOrUnreadableAccountIndexSaysSoAndEndsTheReport) {
    fixtures::WriteAccountKeys({}, 0);
    std::string text = RunMeom("N   ", "????");
    EXPECT_NE(text.find("ACCOUNT.IDX holds no accounts"), std::string::npos) << text;
    std::filesystem::remove("ACCOUNT.IDX");
    text = RunMeom("Y   ", "????");
    EXPECT_NE(text.find("ACCOUNT.IDX record 1 could not be read."), std::string::npos) << text;
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));
}

TEST_F(MeomTest, AnUnreadableAccountRecordSaysSo) {
    fixtures::CutFile("ACCOUNT.REC", 8 + 2);  // the second account's records end early
    const std::string text = RunMeom("N   ", "????");
    EXPECT_NE(text.find("ACCOUNT.REC record 10 could not be read."), std::string::npos) << text;
}

TEST_F(MeomTest, ReadingCreatesNoFile) {
    std::filesystem::remove(records::PriceFileName("12/31/98"));
    std::filesystem::remove("HLBLNK.REC");
    RunMeom("N   ", "????");
    EXPECT_FALSE(TempDataDir::Exists(records::PriceFileName("12/31/98")));
    EXPECT_FALSE(TempDataDir::Exists("HLBLNK.REC"));
}

TEST_F(MeomTest, ADateBeforeTheProgramDateRebuildsTheHoldings) {
    // No transactions: the rebuild gives no lots, so only the heading and
    // the totals show.
    const std::string text = RunMeom("N   ", "????", "N   ", "12/30/98");
    EXPECT_NE(text.find("DETAILED SECURITY CROSS REFERENCE"), std::string::npos);
    EXPECT_EQ(text.find("INTL BUSINESS MACHINES"), std::string::npos) << text;
}

TEST_F(MeomTest, AFailedRebuildIsNamedAndItsLotsAsRebuiltCount) {
    // A buy, then a sale of a lot code no lot has: the rebuild stops with
    // status 2 after the buy, whose lot is reported.
    auto buy = fixtures::Transaction("B", "IBM", "", " 3/01/98", 10, 1000, 1, meomfix::kIbm);
    auto sale = fixtures::Transaction("S", "IBM", "ZZ", " 4/01/98", 5, 600, 1, meomfix::kIbm);
    fixtures::WriteTransactions("BLNK", {buy, sale});
    const std::string text = RunMeom("N   ", "    ", "N   ", "12/30/98");
    EXPECT_NE(text.find("BLNK: the holdings rebuild as of 12/30/98 stopped with status 2"), std::string::npos)
        << text;
    EXPECT_NE(text.find("BLNK  -BLANK MANAGER                3/01/98      10.000"), std::string::npos)
        << text;
}

// ---- Autoprice mode.

char Flag(long position) {
    records::SecurityRecord sec;
    EXPECT_TRUE(records::ReadSecurity(position, sec));
    return sec.autopricing;
}

void SetFlag(long position, char flag) {
    Record rec;
    ASSERT_TRUE(records::ReadSecurityRecord(position, rec));
    records::SecurityRecord sec = records::SecurityRecord::Decode(rec);
    sec.autopricing = flag;
    sec.Encode(rec);
    ASSERT_TRUE(records::WriteSecurityRecord(position, rec));
}

TEST_F(MeomTest, AutopriceMarksTheHeldSecuritiesAndPrintsNothing) {
    using namespace meomfix;
    for (long p = 1; p <= kTrust; ++p) SetFlag(p, 'Q');
    // The held-away security is held by an "S" lot only.
    std::string date = "12/31/98";
    reports::Meom(1, date, "????", "N   ", "Y   ", "N   ", "N   ", 1, "OUTPUT.TMP");
    EXPECT_EQ(Flag(kIbm), 'Y');
    EXPECT_EQ(Flag(kBond), 'Y');
    EXPECT_EQ(Flag(kHeldAway), 'Y');  // its only lot is "S"
    EXPECT_EQ(Flag(kNoPrice), 'Y');
    EXPECT_EQ(Flag(kRSec), 'Y');
    EXPECT_EQ(Flag(kUnheld), 'N');
    EXPECT_EQ(Flag(kIndex), 'Q');  // unheld, "INDEX" in its description
    EXPECT_EQ(Flag(kTrust), 'Q');  // type "T", held
    EXPECT_EQ(Flag(kMuni), 'Q');   // type "4"
    EXPECT_EQ(Flag(kMoney), 'Q');  // type "1"
    EXPECT_EQ(Flag(kCash), 'Q');
    EXPECT_FALSE(TempDataDir::Exists(records::kSecurityHoldingsFile));
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));

    // A held security whose description holds "INDEX" is marked "Y".
    fixtures::WriteHoldings("BLNK", {Lot("SPX", kIndex, 1, 5, 450, " 7/01/98")});
    reports::Meom(1, date, "????", "N   ", "Y   ", "N   ", "N   ", 1, "OUTPUT.TMP");
    EXPECT_EQ(Flag(kIndex), 'Y');
}

TEST_F(MeomTest, AutopriceWritesNoRecordForAnUnreadableSecurity) {
    // A lot pointing past SECURITY.REC: nothing is written there, and the
    // record before it keeps its bytes.
    fixtures::WriteHoldings(
        "BLNK", {meomfix::Lot("GONE", static_cast<meomfix::Position>(40), 1, 5, 450, " 7/01/98")});
    const auto before = TempDataDir::ReadBytes("SECURITY.REC");
    std::string date = "12/31/98";
    reports::Meom(1, date, "    ", "N   ", "Y   ", "N   ", "N   ", 1, "OUTPUT.TMP");
    EXPECT_EQ(TempDataDir::ReadBytes("SECURITY.REC").size(), before.size());
}

// ---- The assets under management page from a summary file.

void WriteSummaries(const records::SecuritySummaryHeader& header,
                    const std::vector<records::SecuritySummary>& summaries) {
    records::DirectFile file(records::kSecuritySummaryFile, 128);
    file.Truncate(0);
    file.Write(1, header.Encode());
    for (std::size_t i = 0; i < summaries.size(); ++i)
        file.Write(static_cast<long>(i) + 2, summaries[i].Encode());
}

std::string PrintPage() {
    {
        reports::ReportFrame frame("PAGE.TXT", true);
        const records::DirectFile file(records::kSecuritySummaryFile, 128, false);
        reports::Aumprt(1, "    ", " ALL SECURITY TYPES ", "ALL ", file, frame);
    }
    return fixtures::ReportText("PAGE.TXT");
}

TEST_F(MeomTest, ThePageScalesUnitValuesByKind) {
    records::SecuritySummaryHeader header;
    header.count = 2;
    header.pricing_date = "12/31/98";
    header.market_value = 0;
    records::SecuritySummary bond;
    bond.description1 = "A BOND";
    bond.unit_value = 0.985f;
    bond.quantity = 1000;
    bond.cost = 950;
    bond.market_value = 985;
    bond.accounts = 1;
    bond.valuation_kind = records::kValuedPerHundred;
    records::SecuritySummary r = bond;
    r.description1 = "AN R SECURITY";
    r.unit_value = 2500;
    r.valuation_kind = records::kValuedTimes100;
    WriteSummaries(header, {bond, r});
    const std::string text = PrintPage();
    // Unit value 98.50 and 25.00; a grand value of 0 gives 0.0 shares.
    EXPECT_NE(text.find(" A BOND                              1,000.000   95.00       950.00   98.50"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("   25.00"), std::string::npos) << text;
    EXPECT_NE(text.find("  0.0     1"), std::string::npos) << text;
    EXPECT_NE(text.find("TOTALS FOR   2 ISSUES:"), std::string::npos) << text;

    header.count = 0;
    WriteSummaries(header, {});
    const std::string empty = PrintPage();
    EXPECT_NE(empty.find("ASSETS UNDER MANAGEMENT"), std::string::npos);
    EXPECT_EQ(empty.find("TOTALS FOR"), std::string::npos) << empty;
}

}  // namespace
