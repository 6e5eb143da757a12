#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/appraisal/appraisal_side_files.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::AppraisalControlAccount;
using records::AppraisalControlHeader;
using records::AppraisalHeader;
using records::Record;
using records::ValuedHolding;

constexpr double kNoPrice = records::kNoPriceValue;

void SetOptions(const std::vector<std::pair<records::Opt, unsigned char>>& options) {
    records::Options record = records::Rdopts();
    for (const auto& [n, value] : options) records::SetOption(record, n, value);
    records::Wropts(record);
}

// The securities of the sample directory, by position.
enum Position : int16_t { kCash = 1, kIbm, kBond, kNote, kXyz, kUnmg };

void WriteSecurities() {
    fixtures::WriteSecurityFiles({
        {.symbol = "CASH", .description1 = "CASH", .type = "1", .rate = 0},
        {.symbol = "IBM",
         .description1 = "INTL BUS MACH",
         .type = "H",
         .category = "35",
         .rate = 1.5f,
         .first_word = 7,
         .last_word = 50},
        {.symbol = "BOND",
         .description1 = "CITY BOND",
         .description2 = "6% 2010",
         .type = "4",
         .maturity = "12/15/10",
         .rate = 6.0f,
         .coupon_date = "12/15/99",
         .call_date = "12/15/05",
         .call_price = 101.5,
         .yield = 5.5f,
         .insurer = "AMBAC",
         .put_date = "12/15/07",
         .put_price = 100.0},
        {.symbol = "NOTE",
         .description1 = "TREASURY NOTE",
         .type = "5",
         .maturity = " 3/01/01",
         .rate = 5.0f,
         .coupon_date = " 3/01/00",
         .call_date = " 3/01/00",
         .call_price = 99.0,
         .yield = 150.0f},
        {.symbol = "XYZ", .description1 = "XYZ CORP", .type = "H", .category = "20", .rate = 0},
        {.symbol = "UNMG", .description1 = "HELD AWAY", .type = "H", .rate = 0},
    });
    // Prices of 06/30/00; XYZ has none (a negative price reads as none).
    fixtures::WritePrices(" 6/30/00", {1.0, 100.5, 97.0, 99.25, -1.0, 20.0});
}

fixtures::LotFields Lot(const std::string& symbol, Position pos, double key, double quantity, double cost,
                        const std::string& date, const std::string& code = "") {
    return {.symbol = symbol,
            .security_record = pos,
            .quantity = quantity,
            .cost = cost,
            .open_date = date,
            .tax_lot = code,
            .holding_key = key};
}

// Account 100001 (manager AB): cash, two IBM lots that combine, a short IBM
// lot, a bond priced at 100 and a note maturing within the year.
// Account 100002 (manager CD): zero cash, a near-zero cash lot, an unpriced
// lot and an unmanaged ("S") lot. Account 100003 (manager AB): one IBM lot.
void WriteSampleDirectory() {
    fixtures::WriteProgramDate(" 6/30/00");
    fixtures::WriteFirmHeading("FIRM", 58);
    WriteSecurities();
    fixtures::WriteClients({
        {.id = "100001",
         .address = {"JOHN SMITH", "1 MAIN ST", "SPRINGFIELD", "IL", "USA"},
         .manager = "AB",
         .short_name = "SMITH ACCOUNT",
         .opened = " 1/02/95",
         .fiscal_year_end = 6,
         .index1_price = 1200.5f,
         .opening_value = 25000,
         .objective = "GRTH"},
        {.id = "$$$$$$"},
        {.id = "100002", .address = {"MARY JONES"}, .manager = "CD", .short_name = "JONES ACCOUNT"},
        {.id = "100003", .address = {"AL BROWN"}, .manager = "AB", .short_name = "BROWN ACCOUNT"},
    });
    fixtures::WriteHoldings("100001", {
                                          Lot("CASH", kCash, 0, 1500.25, 1500.25, " 6/30/00"),
                                          Lot("IBM", kIbm, 1, 100, 9000, " 1/15/99"),
                                          Lot("IBM", kIbm, 1, 50, 5000, " 2/15/99"),
                                          Lot("IBM", kIbm, 1, -20, 2100, " 3/15/99"),
                                          Lot("BOND", kBond, 2, 10000, 9800, " 4/01/98"),
                                          Lot("NOTE", kNote, 3, 5000, 4950, " 5/01/99"),
                                      });
    fixtures::WriteHoldings("100002", {
                                          Lot("CASH", kCash, 0, 0, 0, " 6/30/00"),
                                          Lot("CASH", kCash, 0, 0.004, 0.004, " 6/30/00"),
                                          Lot("XYZ", kXyz, 1, 10, 300, " 1/05/00"),
                                          Lot("UNMG", kUnmg, 2, 5, 80, " 2/05/00", "S"),
                                      });
    fixtures::WriteHoldings("100003", {Lot("IBM", kIbm, 1, 10, 900, " 1/15/99")});
}

reports::AppraisalRun SingleRun(const std::string& account, const std::string& accrued = "N   ") {
    reports::AppraisalRun run;
    run.selection = "S   ";
    run.account = account;
    run.report_date = " 6/30/00";
    run.accrued_switch = accrued;
    run.output_mode = 1;
    return run;
}

std::vector<Record> WorkRecords() {
    std::vector<Record> recs;
    const records::DirectFile file(records::kAppraisalWorkFile, records::kWorkRecordLength, false);
    Record rec;
    for (long n = 1; file.Read(n, rec); ++n) recs.push_back(rec);
    return recs;
}

// ---- The expected records of account 100001, by hand.

struct Options100001 {
    bool opt63 = false;  // no move to cash equivalents
    bool opt43 = false;  // categories cleared
    bool opt37 = false;  // page word less 1
    bool opt50 = false;  // average years to maturity
    bool accrued = false;
    int16_t page_length = 58;
};

ValuedHolding Holding(int16_t type, const std::string& symbol, double quantity, const std::string& desc,
                      float rate, const std::string& date, double cost, double value,
                      const std::string& code) {
    ValuedHolding h;
    h.type_number = type;
    h.sort_key = records::Fixed(symbol, 10);
    h.symbol = records::Fixed(symbol, 12);
    h.quantity = quantity;
    h.description1 = records::Fixed(desc, 32);
    h.rate = rate;
    h.lot_date = date;
    h.cost = cost;
    h.market_value = value;
    h.type_code = records::Fixed(code, 4);
    return h;
}

void SetBondExtension(ValuedHolding& h) {
    h.extension_date1 = "12/15/05";
    h.extension_value1 = 101.5;
    h.extension_code = "AMBAC";
    h.extension_date2 = "12/15/07";
    h.extension_value2 = 100.0;
}

std::vector<Record> Expected100001(const Options100001& o) {
    std::vector<ValuedHolding> h;
    h.push_back(Holding(2, "CASH", 1500.25, "CASH", 0, " 6/30/00", 1500.25, 1500.25, "1"));
    h.push_back(Holding(18, "IBM", 150, "INTL BUS MACH", 1.5f, " 2/15/99", 14000, 15075, "H"));
    h.push_back(Holding(18, "IBM", -20, "INTL BUS MACH", 1.5f, " 3/15/99", -2100, -2010, "H"));
    h.push_back(Holding(5, "BOND", 10000, "CITY BOND", 6.0f, " 4/01/98", 9800, 10000, "4"));
    h.push_back(Holding(6, "NOTE", 5000, "TREASURY NOTE", 5.0f, " 5/01/99", 4950, 4962.5, "5"));
    for (int i : {1, 2}) {
        h[i].category = o.opt43 ? 0 : 35;
        h[i].security_first_word = 7;
        h[i].security_last_word = 50;
    }
    h[3].description2 = records::Fixed("6% 2010", 32);
    h[3].per_hundred = 1;
    h[3].extension_percent = 5.5f;
    h[3].extension_read = 1;
    h[3].maturity_date = "12/15/10";
    SetBondExtension(h[3]);
    h[4].per_hundred = 1;
    h[4].extension_percent = -999.99f;
    h[4].extension_read = 1;
    h[4].maturity_date = " 3/01/01";
    h[4].extension_date1 = " 3/01/00";
    h[4].extension_value1 = 99.0;
    h[4].extension_code = std::string(5, '\0');
    h[4].extension_date2 = std::string(8, '\0');
    if (!o.opt63) {
        h[4].type_number = 2;  // 03/01/01 lies within a year of 06/30/00
        h[4].matures_within_year = 1;
    }

    AppraisalHeader head;
    head.account = "100001  ";
    head.report_date = " 6/30/00";
    head.count = 5;
    head.name = records::Fixed("SMITH ACCOUNT", 32);
    head.largest_value = 10050;
    for (int t : {2, 5, 6, 18}) head.type_flags[t - 1] = 1;
    head.order = 9;
    if (o.accrued) {
        // Bond: 10,000 at 6% from 06/15/00 (its stored 12/15/99 stepped
        // forward); note: 5,000 at 5% from 03/01/00; 30/360 days over 180
        // times half the rate.
        const double bond_days = records::Daycb(" 6/15/00", " 6/30/00", 1);
        const double note_days = records::Daycb(" 3/01/00", " 6/30/00", 1);
        EXPECT_EQ(bond_days, 16);
        EXPECT_EQ(note_days, 120);
        head.total_accrued = 26.6667;   // 16 / 180 x 0.03 x 10,000
        head.total_accrued += 83.3333;  // 120 / 180 x 0.025 x 5,000
    }
    head.total_market_value = 1500.25 + 15075 - 2010 + 10000 + 4962.5 + head.total_accrued;
    // 2, or 3 with a common stock in a category; plus (one category in use
    // + 14) / (page length - 4), nothing when that divisor is 0 or less.
    head.page_word = static_cast<int16_t>((o.opt43 ? 2 : 3) - (o.opt37 ? 1 : 0));
    if (o.page_length == 10) head.page_word += 15 / 6;
    if (o.opt50) head.average_years = 244.0 / 365.0;  // 06/30/00 to 03/01/01, the note only
    head.account_word = {'G', 'R', 'T', 'H'};

    std::vector<Record> recs{head.Encode()};
    for (const ValuedHolding& x : h) recs.push_back(x.Encode());
    return recs;
}

struct ValuationCase {
    const char* what;
    std::vector<std::pair<records::Opt, unsigned char>> options;
    Options100001 expected;
    std::string accrued = "N   ";
};

class AccountValuation : public ::testing::TestWithParam<ValuationCase> {};

TEST_P(AccountValuation, WritesTheValuedHoldingsByteForByte) {
    TempDataDir dir;
    WriteSampleDirectory();
    const ValuationCase& c = GetParam();
    SetOptions(c.options);
    fixtures::WriteFirmHeading("FIRM", c.expected.page_length);
    reports::AppraisalRun run = SingleRun("100001", c.accrued);
    int16_t step = 0;
    reports::Apgath(run, step);
    EXPECT_EQ(step, reports::kStepHoldingsPages);

    const std::vector<Record> got = WorkRecords();
    const std::vector<Record> want = Expected100001(c.expected);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        for (std::size_t b = 0; b < records::kWorkRecordLength; ++b)
            if (got[i].data()[b] != want[i].data()[b]) {
                ADD_FAILURE() << "record " << i + 1 << " byte " << b;
                break;
            }
    }
    // The table by type number sums the written holdings by their final
    // type: 1,500.25 cash plus the note when it moved.
    EXPECT_DOUBLE_EQ(run.market_by_type[1], c.expected.opt63 ? 1500.25 : 1500.25 + 4962.5);
    EXPECT_DOUBLE_EQ(run.market_by_type[17], 15075 - 2010);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccountValuation,
    ::testing::Values(
        ValuationCase{"plain", {}, {}},
        ValuationCase{"option63_keeps_types", {{records::Opt::kMaturingBondsNotCash, 1}}, {.opt63 = true}},
        ValuationCase{
            "option43_clears_categories", {{records::Opt::kNoIndustryCategories, 1}}, {.opt43 = true}},
        ValuationCase{
            "option37_lowers_the_page_word", {{records::Opt::kNoPortfolioSummary, 1}}, {.opt37 = true}},
        ValuationCase{"option50_years_to_maturity", {{records::Opt::kBondDetails, 1}}, {.opt50 = true}},
        ValuationCase{"short_page_adds_to_the_page_word", {}, {.page_length = 10}},
        ValuationCase{"page_of_four_lines_adds_nothing", {}, {.page_length = 4}},
        ValuationCase{"accrued_interest", {}, {.accrued = true}, "Y   "}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(AccountValuation, UnpricedCashAndUnmanagedLots) {
    struct Case {
        const char* what;
        std::vector<std::pair<records::Opt, unsigned char>> options;
        std::vector<std::string> symbols;  // holdings written
        int16_t unmanaged_type;
        double total;
    };
    const std::vector<Case> cases = {
        // The zero cash lot is always left out; the unpriced XYZ makes the
        // total unpriced; the "S" lot files as type 36.
        {"plain", {}, {"CASH", "XYZ", "UNMG"}, 36, kNoPrice},
        {"option41_drops_near_zero_cash", {{records::Opt::kNoZeroCash, 1}}, {"XYZ", "UNMG"}, 36, kNoPrice},
        {"option46_keeps_unmanaged_in_type",
         {{records::Opt::kUnmanagedInBody, 1}},
         {"CASH", "XYZ", "UNMG"},
         18,
         kNoPrice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        WriteSampleDirectory();
        SetOptions(c.options);
        reports::AppraisalRun run = SingleRun("100002");
        int16_t step = 0;
        reports::Apgath(run, step);
        ASSERT_EQ(step, reports::kStepHoldingsPages);
        const std::vector<Record> recs = WorkRecords();
        const AppraisalHeader head = AppraisalHeader::Decode(recs.at(0));
        ASSERT_EQ(head.count, static_cast<int16_t>(c.symbols.size()));
        for (std::size_t i = 0; i < c.symbols.size(); ++i)
            EXPECT_EQ(ValuedHolding::Decode(recs[i + 1]).symbol, records::Fixed(c.symbols[i], 12));
        const ValuedHolding xyz = ValuedHolding::Decode(recs[c.symbols.size() - 1]);
        EXPECT_EQ(xyz.market_value, kNoPrice);
        const ValuedHolding unmg = ValuedHolding::Decode(recs.back());
        EXPECT_EQ(unmg.type_number, c.unmanaged_type);
        EXPECT_DOUBLE_EQ(unmg.market_value, 100.0);
        EXPECT_EQ(head.total_market_value, c.total);
    }
}

TEST(AccountValuation, AnUnpricedUnmanagedLotLeavesTheTotalPriced) {
    TempDataDir dir;
    WriteSampleDirectory();
    fixtures::WriteHoldings(
        "100002", {Lot("IBM", kIbm, 1, 10, 900, " 1/15/99"), Lot("XYZ", kXyz, 2, 10, 300, " 1/05/00", "S")});
    reports::AppraisalRun run = SingleRun("100002");
    int16_t step = 0;
    reports::Apgath(run, step);
    const std::vector<Record> recs = WorkRecords();
    EXPECT_DOUBLE_EQ(AppraisalHeader::Decode(recs.at(0)).total_market_value, 1005.0);
    EXPECT_EQ(ValuedHolding::Decode(recs.at(2)).market_value, kNoPrice);
}

TEST(AccountValuation, MissingSecuritiesAndFilesAreReadAsAbsent) {
    TempDataDir dir;
    WriteSampleDirectory();
    // A lot at position 0, one past the securities, one at a record of zero
    // bytes (priced in the price file all the same).
    fixtures::WriteHoldings("100003", {Lot("GONE", static_cast<Position>(0), 1, 10, 100, " 1/15/99"),
                                       Lot("FAR", static_cast<Position>(40), 2, 10, 100, " 1/15/99"),
                                       Lot("ZERO", static_cast<Position>(7), 3, 10, 100, " 1/15/99"),
                                       Lot("BOND", kBond, 4, 1000, 990, " 1/15/99")});
    {
        records::DirectFile recs("SECURITY.REC", 128);
        recs.Write(7, Record(128, 0));
        records::DirectFile prices("SE063000.PRC", 8);
        Record price(8, 0);
        price.SetR8(0, 12.0);
        prices.Write(7, price);
    }
    {
        // With every file there, the zero record is still a missing security.
        reports::AppraisalRun run = SingleRun("100003");
        int16_t step = 0;
        reports::Apgath(run, step);
        const ValuedHolding zero = ValuedHolding::Decode(WorkRecords().at(3));
        EXPECT_EQ(zero.type_number, 30);
        EXPECT_EQ(zero.market_value, kNoPrice);
        EXPECT_EQ(zero.description1, std::string(32, ' '));
    }
    std::filesystem::remove(dir.path() / "SECURITY.EXT");
    std::filesystem::remove(dir.path() / "SE063000.PRC");
    reports::AppraisalRun run = SingleRun("100003");
    int16_t step = 0;
    reports::Apgath(run, step);
    ASSERT_EQ(step, reports::kStepHoldingsPages);
    const std::vector<Record> recs = WorkRecords();
    ASSERT_EQ(recs.size(), 5u);
    for (int i : {1, 2, 3}) {
        const ValuedHolding h = ValuedHolding::Decode(recs[i]);
        EXPECT_EQ(h.type_number, 30);
        EXPECT_EQ(h.type_code, "T   ");
        EXPECT_EQ(h.description1, std::string(32, ' '));
        EXPECT_EQ(h.rate, 0.0f);
        EXPECT_EQ(h.market_value, kNoPrice);
    }
    // The bond is priced at 100 without a price file; its extension record
    // cannot be read.
    const ValuedHolding bond = ValuedHolding::Decode(recs[4]);
    EXPECT_DOUBLE_EQ(bond.market_value, 1000.0);
    EXPECT_EQ(bond.extension_percent, -999.99f);
    EXPECT_EQ(AppraisalHeader::Decode(recs[0]).total_market_value, kNoPrice);
    EXPECT_FALSE(TempDataDir::Exists("SECURITY.EXT"));
    EXPECT_FALSE(TempDataDir::Exists("SE063000.PRC"));
}

TEST(AccountValuation, AnAccountWithoutHoldingsWritesAnEmptyHeader) {
    TempDataDir dir;
    WriteSampleDirectory();
    std::filesystem::remove(dir.path() / "HL100003.REC");
    reports::AppraisalRun run = SingleRun("100003");
    int16_t step = 0;
    reports::Apgath(run, step);
    EXPECT_EQ(step, reports::kStepHoldingsPages);
    const std::vector<Record> recs = WorkRecords();
    ASSERT_EQ(recs.size(), 1u);
    const AppraisalHeader head = AppraisalHeader::Decode(recs[0]);
    EXPECT_EQ(head.count, 0);
    EXPECT_EQ(head.total_market_value, 0.0);
    EXPECT_EQ(head.name, records::Fixed("BROWN ACCOUNT", 32));
    EXPECT_FALSE(TempDataDir::Exists("HL100003.REC"));
}

TEST(AccountValuation, ABrokenLotListStopsTheRunWithALine) {
    for (const std::vector<int16_t>& links : {std::vector<int16_t>{3, 2}, std::vector<int16_t>{3, 9}}) {
        TempDataDir dir;
        WriteSampleDirectory();
        fixtures::WriteHoldings(
            "100003",
            {Lot("IBM", kIbm, 1, 10, 900, " 1/15/99"), Lot("BOND", kBond, 2, 1000, 990, " 1/15/99")}, links);
        int16_t step = 0;
        {
            reports::AppraisalRun run = SingleRun("100003");
            run.output_mode = 3;
            run.output_name = "APPR.TXT";
            reports::Apgath(run, step);
        }
        EXPECT_EQ(step, reports::kStepLotReadFailed);
        const std::string text = fixtures::ReportText("APPR.TXT");
        EXPECT_NE(text.find(" ACCOUNT 100003: the lots of HL100003.REC could not all be read"),
                  std::string::npos)
            << text;
    }
}

TEST(AccountValuation, TargetAllocation) {
    struct Case {
        std::string bytes;
        std::array<int8_t, 23> want;
    };
    std::string mixed(23, '\0');
    mixed[0] = 40;
    mixed[1] = static_cast<char>(120);
    mixed[2] = static_cast<char>(-5);
    mixed[22] = 60;
    std::array<int8_t, 23> mixed_want{};
    mixed_want[0] = 40;
    mixed_want[22] = 60;
    const std::vector<Case> cases = {
        {"", {}}, {std::string(23, ' '), {}}, {std::string(23, '\0'), {}}, {mixed, mixed_want}};
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteSampleDirectory();
        fixtures::WriteClients({{.id = "100001", .manager = "AB", .targets = c.bytes}});
        reports::AppraisalRun run = SingleRun("100001");
        int16_t step = 0;
        reports::Apgath(run, step);
        EXPECT_EQ(run.target, c.want);
    }
}

TEST(AccountValuation, SharedAccountData) {
    TempDataDir dir;
    WriteSampleDirectory();
    fixtures::SetOptions({{records::Opt::kAccountAddress, 1}});
    reports::AppraisalRun run = SingleRun("100001");
    int16_t step = 0;
    reports::Apgath(run, step);
    const reports::AppraisalAccount& a = run.current;
    EXPECT_EQ(a.id, "100001  ");
    EXPECT_EQ(a.lines[0], records::Fixed("JOHN SMITH", 32));
    EXPECT_EQ(a.lines[4], records::Fixed("USA", 32));
    EXPECT_EQ(a.address_word, 1);
    EXPECT_EQ(a.index, 1);
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.date_opened, " 1/02/95");
    EXPECT_EQ(a.fiscal_year_end, 6);
    EXPECT_EQ(a.index1_level, 1200.5f);
    EXPECT_EQ(a.opening_value, 25000.0);
}

// ---- The control file.

AppraisalControlHeader ControlHeader() {
    const records::DirectFile file(records::kAppraisalControlFile, records::kWorkRecordLength, false);
    Record rec;
    EXPECT_TRUE(file.Read(1, rec));
    return AppraisalControlHeader::Decode(rec);
}

long ControlRecords() {
    const records::DirectFile file(records::kAppraisalControlFile, records::kWorkRecordLength, false);
    return file.Count();
}

TEST(AppraisalControl, AManagerRunRewritesItsRecordPerAccountAndEndsFinished) {
    TempDataDir dir;
    WriteSampleDirectory();
    reports::AppraisalRun run;
    run.selection = "A   ";
    run.manager = "????";
    run.report_date = " 6/30/00";
    std::vector<std::string> valued;
    int16_t step = 0;
    for (int call = 0; call < 3; ++call) {
        reports::Apgath(run, step);
        ASSERT_EQ(step, reports::kStepHoldingsPages);
        valued.push_back(run.current.id);
        const AppraisalControlHeader head = ControlHeader();
        EXPECT_EQ(head.slot, 1);
        EXPECT_EQ(head.slot_flags[0], 1);
        EXPECT_EQ(head.manager, "????");
        EXPECT_EQ(head.output_mode, 1);
        EXPECT_EQ(ControlRecords(), 2);
        const records::DirectFile file(records::kAppraisalControlFile, records::kWorkRecordLength, false);
        Record rec;
        ASSERT_TRUE(file.Read(2, rec));
        const AppraisalControlAccount acc = AppraisalControlAccount::Decode(rec);
        EXPECT_EQ(acc.account, run.current.id);
        EXPECT_EQ(acc.index, run.current.index);
        EXPECT_EQ(acc.count, 4);
        EXPECT_EQ(acc.month, 6);
        EXPECT_EQ(acc.year, 100);
        EXPECT_EQ(acc.date_number, 1000630.0f);
        EXPECT_EQ(acc.report_date, " 6/30/00");
        EXPECT_EQ(acc.name, run.current.short_name);
        // Bytes past the 68 of the record are zero.
        for (std::size_t b = 68; b < rec.size(); ++b) ASSERT_EQ(rec.data()[b], 0);
    }
    EXPECT_EQ(valued, (std::vector<std::string>{"100001  ", "100002  ", "100003  "}));
    EXPECT_EQ(run.current.index, 4);  // the deleted entry 2 is passed over
    reports::Apgath(run, step);
    EXPECT_EQ(step, reports::kStepFinished);
    EXPECT_EQ(ControlHeader().slot, records::kRunFinished);
}

TEST(AppraisalControl, APatternTakesOnlyItsManagersAccounts) {
    TempDataDir dir;
    WriteSampleDirectory();
    reports::AppraisalRun run;
    run.selection = "X   ";  // anything but "S" runs over a pattern
    run.manager = "A???";
    run.report_date = " 6/30/00";
    std::vector<std::string> valued;
    int16_t step = 0;
    for (reports::Apgath(run, step); step == reports::kStepHoldingsPages; reports::Apgath(run, step))
        valued.push_back(run.current.id);
    EXPECT_EQ(step, reports::kStepFinished);
    EXPECT_EQ(valued, (std::vector<std::string>{"100001  ", "100003  "}));
}

TEST(AppraisalControl, AManagerRunGoesToItsLastAccountPastAThousand) {
    TempDataDir dir;
    WriteSampleDirectory();
    std::vector<fixtures::ClientFields> clients;
    for (int i = 0; i < 1001; ++i)
        clients.push_back({.id = "A" + std::to_string(10000 + i), .manager = "AB", .short_name = "X"});
    fixtures::WriteClients(clients);
    reports::AppraisalRun run;
    run.selection = "A   ";
    run.report_date = " 6/30/00";
    int16_t step = 0;
    int valued = 0;
    std::string last;
    for (reports::Apgath(run, step); step == reports::kStepHoldingsPages; reports::Apgath(run, step)) {
        ++valued;
        last = run.current.id;
    }
    EXPECT_EQ(valued, 1001);
    EXPECT_EQ(last, "A11000  ");
    EXPECT_EQ(step, reports::kStepFinished);
    EXPECT_EQ(ControlHeader().slot, records::kRunFinished);
}

TEST(AppraisalControl, AnEmptyDirectory) {
    for (const char* selection : {"A   ", "S   "}) {
        SCOPED_TRACE(selection);
        TempDataDir dir;
        int16_t step = 0;
        {
            reports::AppraisalRun run = SingleRun("100001");
            run.selection = selection;
            reports::Apgath(run, step);
        }
        EXPECT_EQ(step, reports::kStepFinished);
        EXPECT_EQ(ControlHeader().slot, records::kRunFinished);
        EXPECT_TRUE(TempDataDir::Exists("OUTPUT.TMP"));
        EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));
        EXPECT_FALSE(TempDataDir::Exists("COMMON.FIL"));
    }
}

TEST(AppraisalControl, ASingleAccountRunLeavesNZeroAndNoAccountRecord) {
    for (bool stale : {false, true}) {
        SCOPED_TRACE(stale ? "over a stale file" : "no file");
        TempDataDir dir;
        WriteSampleDirectory();
        if (stale) {
            // An earlier manager run broke off in slot 5, in counting mode.
            AppraisalControlHeader old;
            old.slot = 5;
            old.slot_flags[4] = 1;
            old.countdown = 500;
            old.manager = "CD  ";
            old.output_mode = 2;
            AppraisalControlAccount acc;
            acc.account = "100002  ";
            acc.index = 3;
            acc.count = 4;
            records::DirectFile file(records::kAppraisalControlFile, records::kWorkRecordLength);
            file.Write(1, old.Encode());
            file.Write(6, acc.Encode());
        }
        reports::AppraisalRun run = SingleRun("100001");
        int16_t step = 0;
        reports::Apgath(run, step);
        EXPECT_EQ(step, reports::kStepHoldingsPages);
        EXPECT_EQ(run.output_mode, 1);
        EXPECT_EQ(run.current.id, "100001  ");
        EXPECT_EQ(ControlRecords(), 1);
        const AppraisalControlHeader head = ControlHeader();
        EXPECT_EQ(head.slot, 0);
        EXPECT_EQ(head.slot_flags, (std::array<int16_t, 100>{}));
        EXPECT_EQ(head.countdown, 998);
        EXPECT_EQ(head.output_mode, 1);
        EXPECT_EQ(AppraisalHeader::Decode(WorkRecords().at(0)).account, "100001  ");
        reports::Apgath(run, step);
        EXPECT_EQ(step, reports::kStepFinished);
    }
}

TEST(AppraisalControl, OutputModeZeroAbandonsBeforeAnything) {
    TempDataDir dir;
    WriteSampleDirectory();
    reports::AppraisalRun run = SingleRun("100001");
    run.output_mode = 0;
    int16_t step = 0;
    reports::Apgath(run, step);
    EXPECT_EQ(step, reports::kStepAbandoned);
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_FALSE(TempDataDir::Exists("CCONTROL.FIL"));
}

TEST(AppraisalControl, AnAccountNotInTheIndexIsSaid) {
    TempDataDir dir;
    WriteSampleDirectory();
    int16_t step = 0;
    {
        reports::AppraisalRun run = SingleRun("999999");
        run.output_mode = 3;
        run.output_name = "APPR.TXT";
        reports::Apgath(run, step);
    }
    EXPECT_EQ(step, reports::kStepFinished);
    EXPECT_NE(fixtures::ReportText("APPR.TXT").find("ACCOUNT 999999 is not in ACCOUNT.IDX"),
              std::string::npos);
    EXPECT_EQ(ControlHeader().slot, records::kRunFinished);
}

// ---- A report date before the program date.

std::set<std::string> Files(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

TEST(AccountValuation, AnEarlierReportDateReadsTheReplayedHoldings) {
    TempDataDir dir;
    WriteSampleDirectory();
    fixtures::WriteProgramDate(" 7/31/00");
    fixtures::WriteTransactions("100003",
                                {fixtures::Transaction("B", "IBM", "", " 1/10/00", 10, 900, 1, kIbm),
                                 fixtures::Transaction("B", "BOND", "", " 7/10/00", 10, 900, 2, kBond)});
    const std::set<std::string> before = Files(dir.path());
    reports::AppraisalRun run = SingleRun("100003");
    int16_t step = 0;
    reports::Apgath(run, step);
    ASSERT_EQ(step, reports::kStepHoldingsPages);
    const std::vector<Record> recs = WorkRecords();
    // The replay holds the cash the purchase paid and the IBM lot; the bond
    // bought after the report date is not there.
    ASSERT_EQ(AppraisalHeader::Decode(recs.at(0)).count, 2);
    EXPECT_EQ(ValuedHolding::Decode(recs.at(1)).symbol, records::Fixed("CASH", 12));
    const ValuedHolding ibm = ValuedHolding::Decode(recs.at(2));
    EXPECT_EQ(ibm.symbol, records::Fixed("IBM", 12));
    EXPECT_DOUBLE_EQ(ibm.quantity, 10);
    EXPECT_DOUBLE_EQ(ibm.market_value, 1005);

    std::set<std::string> created;
    for (const std::string& f : Files(dir.path()))
        if (!before.count(f)) created.insert(f);
    run.frame.reset();
    EXPECT_EQ(created, (std::set<std::string>{"CCONTROL.FIL", "HL.TMP", "OUTPUT.TMP", "TEMP1.WRK"}));
}

TEST(AccountValuation, Option55GivesEachHoldingItsPerformanceFigure) {
    // 100003's IBM: bought 10 for 900 on 11/10/99, priced 90 at every month
    // end to May 00 and 100.5 on 06/30/00. From the mid-month start the
    // count runs from October 99: N = 9, level 100 to 111.6667; fraction
    // of the first month 20/30, months 7.6667, annualized
    // 1.116667^(12 / 7.6667) - 1 = 18.8532%. Without the account's value
    // history there is no figure.
    for (const bool history : {true, false}) {
        TempDataDir dir;
        WriteSampleDirectory();
        SetOptions({{records::Opt::kTimeWeightedReturn, 1}});
        fixtures::WriteTransactions("100003",
                                    {fixtures::Transaction("B", "IBM", "", "11/10/99", 10, 900, 1, kIbm)});
        for (const char* date :
             {"11/30/99", "12/31/99", " 1/31/00", " 2/29/00", " 3/31/00", " 4/30/00", " 5/31/00"})
            fixtures::WritePrices(date, {1.0, 90.0});
        if (history) {
            records::Record head(128, 0);
            head.SetText(0, 8, "100003  ");
            head.SetI16(8, 1);
            head.SetI16(10, 99);
            head.SetI16(12, 12);
            head.SetI16(14, 100);
            head.SetI16(16, 2);
            records::DirectFile("HL100003.DAT", 128).Write(1, head);
        }
        const std::vector<unsigned char> hl_tmp(128, 7);
        TempDataDir::WriteBytes("HL.TMP", hl_tmp);
        const std::set<std::string> before = Files(dir.path());
        reports::AppraisalRun run = SingleRun("100003");
        int16_t step = 0;
        reports::Apgath(run, step);
        ASSERT_EQ(step, reports::kStepHoldingsPages);
        const std::vector<Record> recs = WorkRecords();
        ASSERT_EQ(AppraisalHeader::Decode(recs.at(0)).count, 1);
        const ValuedHolding ibm = ValuedHolding::Decode(recs.at(1));
        if (history)
            EXPECT_NEAR(ibm.performance, 18.8532f, 0.001);
        else
            EXPECT_EQ(ibm.performance, -999.99f);
        EXPECT_EQ(TempDataDir::ReadBytes("HL.TMP"), hl_tmp);
        std::set<std::string> created;
        for (const std::string& f : Files(dir.path()))
            if (!before.count(f)) created.insert(f);
        run.frame.reset();
        EXPECT_EQ(created, (std::set<std::string>{"CCONTROL.FIL", "OUTPUT.TMP", "TEMP1.WRK"}));
    }
}

// ---- The codecs.

TEST(AppraisalFiles, RecordsAreZeroFilledAndFieldsSitAtTheirOffsets) {
    records::WorkingAppraisalHeader w;
    w.account = "ACC1";
    w.count = 3;
    w.order = 1;
    w.average_years = 2.5;
    w.text32 = "NAME";
    w.text8 = "ID";
    w.word = {1, 2, 3, 4};
    const Record r = w.Encode();
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.I16(16), 3);
    EXPECT_EQ(r.I16(141), 1);
    EXPECT_EQ(r.R8(161), 2.5);
    EXPECT_EQ(r.Text(169, 4), "NAME");
    EXPECT_EQ(r.Text(201, 2), "ID");
    EXPECT_EQ(r.data()[212], 4);
    for (std::size_t b = 213; b < 256; ++b) ASSERT_EQ(r.data()[b], 0);

    ValuedHolding h;
    h.cost_basis = 12.5;
    h.security_first_word = 9;
    const Record hr = h.Encode();
    EXPECT_EQ(hr.I16(218), 9);
    EXPECT_EQ(hr.R8(220), 12.5);
    EXPECT_EQ(ValuedHolding::Decode(hr).cost_basis, 12.5);
    // A short record reads as zero-filled.
    EXPECT_EQ(ValuedHolding::Decode(Record(10, 0)).cost_basis, 0.0);
    EXPECT_EQ(records::FinishedControlHeader().I16(0), -99);
}

TEST(AccountValuation, ARunWithTheLoanLimitStartsLdlDatAfresh) {
    for (const int16_t mode : {int16_t{1}, reports::kOutputModeCount}) {
        TempDataDir dir;
        WriteSampleDirectory();
        SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
        TempDataDir::WriteBytes(reports::kLoanFile, std::vector<unsigned char>(128, 'x'));
        reports::AppraisalRun run = SingleRun("100001");
        run.output_mode = mode;
        int16_t step = 0;
        reports::Apgath(run, step);
        EXPECT_EQ(step, reports::kStepHoldingsPages);
        EXPECT_EQ(TempDataDir::Exists(reports::kLoanFile), mode == reports::kOutputModeCount) << mode;
    }
}

}  // namespace
