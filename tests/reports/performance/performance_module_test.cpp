// The performance module run (Mperf, Mprfacct, Combpf) over the fixture
// directory of perf_module_fixture.h: golden reports of the five report
// types, the control file a run leaves, and the composite history
// HLCOMB$$.DAT byte for byte.

#include "reports/performance/performance_module.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/account_lists.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/index.h"
#include "records/performance_control.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/combined_performance.h"
#include "reports/performance/performance_accounts.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/performance/performance_module_fixture.h"

namespace {

using fixtures::TempDataDir;
using pmfix::Months;
using pmfix::Year;

constexpr double kNone = -99999.99;

struct ModuleRun {
    int16_t type = 1;
    std::string selection = "S   ";
    std::string manager = "????";
    std::string account = "H1";
    std::string start = "        ";
    std::string end = " 6/30/97";
    int16_t choice = 1;  // the dialog's asset class, 1 to 5
    std::string frequency = "M   ";
    int16_t output_mode = 1;
    std::string output_name = "XXX.TXT";
};

std::string WorkText() {
    std::string text;
    const records::DirectFile file(records::kReportWorkFile, 132, false);
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) text += records::TrimRight(rec.Text(0, 132)) + "\n";
    return text;
}

std::string RunMperf(ModuleRun r) {
    records::Purge(records::kReportWorkFile);
    reports::Mperf(r.type, r.selection, r.manager, r.account, r.start, r.end, r.choice, r.frequency,
                   r.output_mode, r.output_name, 12, records::kAccountListFile, 12, 0, "GROWTH ACCOUNTS");
    return WorkText();
}

ModuleRun All(int16_t type) {
    ModuleRun r;
    r.type = type;
    r.selection = "A   ";
    return r;
}

ModuleRun AssetClass(int16_t choice) {
    ModuleRun r;
    r.type = 5;
    r.account = "R1";
    r.choice = choice;
    return r;
}

struct Case {
    std::string name;
    ModuleRun run;
    unsigned char option29 = 1;
};

class PerformanceModule : public ::testing::TestWithParam<Case> {};

TEST_P(PerformanceModule, MatchesItsGolden) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    const Case& c = GetParam();
    fixtures::SetOptions({{records::Opt::kPerformanceSummaryType, c.option29}});
    if (c.run.type == 2) records::WriteAccountLines({"H1", "H3"}, records::kAccountListFile);
    fixtures::CompareWithGolden("reports/performance/performance_module_" + c.name + ".txt", RunMperf(c.run));
}

INSTANTIATE_TEST_SUITE_P(
    Golden, PerformanceModule,
    ::testing::Values(Case{"type1_one_account", ModuleRun{}, 1}, Case{"type1_all_with_summaries", All(1), 1},
                      Case{"type1_all_tables_only", All(1), 2}, Case{"type3_all", All(3)},
                      Case{"type4_all", All(4)}, Case{"type5_cash_equivalents", AssetClass(1), 2},
                      Case{"type5_equities", AssetClass(2), 2}, Case{"type5_fixed_income", AssetClass(3), 2},
                      Case{"type5_security", AssetClass(4), 2}, Case{"type5_all_classes", AssetClass(5), 2},
                      Case{"type2_group", ModuleRun{.type = 2}, 2}),
    [](const auto& info) { return info.param.name; });

// The control file a run leaves: -99 in record 10 after types 1, 3, 4 and
// 5 (a one-account run has its account in record 20); no file after a
// composite run.
TEST(PerformanceModuleRuns, ControlFileAfterEachType) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    records::WriteAccountLines({"H1", "H3"}, records::kAccountListFile);
    const ModuleRun runs[] = {ModuleRun{}, All(1), All(3), All(4), AssetClass(1), AssetClass(5)};
    for (const ModuleRun& r : runs) {
        SCOPED_TRACE(std::to_string(r.type) + " " + r.selection + " " + std::to_string(r.choice));
        RunMperf(r);
        records::PerformanceHeader h;
        ASSERT_TRUE(records::ReadPerformanceHeader(h));
        EXPECT_EQ(h.slot, records::kPerformanceFinished);
    }
    RunMperf(ModuleRun{});
    records::PerformanceAccount a;
    ASSERT_TRUE(records::ReadPerformanceAccount(10, a));
    EXPECT_EQ(a.account, "H1      ");
    EXPECT_EQ(a.title, records::Fixed("SMITH FAMILY TRUST", 32));
    EXPECT_EQ(a.end_date, " 6/30/97");
    EXPECT_EQ(a.selection, "S   ");

    ModuleRun composite;
    composite.type = 2;
    EXPECT_NE(RunMperf(composite).find("GROWTH ACCOUNTS"), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists(records::kPerformanceControlFile));
    EXPECT_TRUE(TempDataDir::Exists(reports::kCompositeHistory));
}

// A control file that an aborted run left (account R1 ready to print) is
// not resumed: the run reports the account it was asked for.
TEST(PerformanceModuleRuns, AStaleControlFileIsNotResumed) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    records::PerformanceHeader h;
    h.slot = 10;
    h.slot_flags[9] = 1;
    h.written = 1;
    h.frequency = "M   ";
    h.output_mode = 1;
    ASSERT_TRUE(records::WritePerformanceHeader(h));
    records::PerformanceAccount stale;
    stale.account = "R1      ";
    stale.title = records::Fixed("REPLAY ACCOUNT", 32);
    stale.end_date = " 3/31/97";
    ASSERT_TRUE(records::WritePerformanceAccount(10, stale));
    const std::string text = RunMperf(ModuleRun{});
    EXPECT_NE(text.find("SMITH FAMILY TRUST"), std::string::npos);
    EXPECT_EQ(text.find("REPLAY ACCOUNT"), std::string::npos);
}

// Manager patterns take the accounts whose code matches, each once, in
// index order; the deleted entry is passed over; a type outside 1 to 5
// writes nothing.
TEST(PerformanceModuleRuns, ManagerPatternsAndReportTypes) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    fixtures::SetOptions({{records::Opt::kPerformanceSummaryType, 2}});
    struct Pattern {
        const char* manager;
        std::vector<std::string> shown, left_out;
    };
    const Pattern patterns[] = {
        {"????", {"SMITH FAMILY TRUST", "JONES ACCOUNT", "REPLAY ACCOUNT"}, {}},
        {"A???", {"SMITH FAMILY TRUST", "REPLAY ACCOUNT"}, {"JONES ACCOUNT"}},
        {"CD  ", {"JONES ACCOUNT"}, {"SMITH FAMILY TRUST", "REPLAY ACCOUNT"}},
    };
    for (const Pattern& p : patterns) {
        SCOPED_TRACE(p.manager);
        ModuleRun r = All(1);
        r.manager = p.manager;
        const std::string text = RunMperf(r);
        std::size_t at = 0;
        for (const std::string& name : p.shown) {
            const std::size_t found = text.find(name, at);
            ASSERT_NE(found, std::string::npos) << name;
            EXPECT_EQ(text.find(name, found + name.size()), std::string::npos) << name << " twice";
            at = found;
        }
        for (const std::string& name : p.left_out) EXPECT_EQ(text.find(name), std::string::npos) << name;
    }
    ModuleRun none = All(1);
    none.manager = "XY??";
    EXPECT_NE(RunMperf(none).find(" NO ACCOUNT OF MANAGER CODE XY?? TO REPORT"), std::string::npos);
    ModuleRun missing;
    missing.account = "ZZ";
    EXPECT_NE(RunMperf(missing).find(" ACCOUNT ZZ       IS NOT IN ACCOUNT.IDX"), std::string::npos);

    for (const int16_t type : {0, 6, 995}) {
        ModuleRun r = All(type);
        EXPECT_EQ(RunMperf(r), "") << type;
        EXPECT_FALSE(TempDataDir::Exists(records::kReportWorkFile)) << type;
    }
}

// The asset class reaches the driver re-coded for type 5 (4 and 5
// exchanged), as 0 for the other types; the named file gets the copy.
TEST(PerformanceModuleRuns, AssetClassChoiceAndNamedFile) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    struct Choice {
        int16_t type, given, passed;
    };
    for (const Choice& c :
         {Choice{5, 4, 5}, Choice{5, 5, 4}, Choice{5, 2, 2}, Choice{1, 5, 0}, Choice{3, 4, 0}}) {
        ModuleRun r = c.type == 5 ? AssetClass(c.given) : All(c.type);
        r.choice = c.given;
        RunMperf(r);
        EXPECT_EQ(r.choice, c.given);
        int16_t choice = c.given;
        reports::Mperf(c.type, r.selection, r.manager, r.account, r.start, r.end, choice, r.frequency, 1,
                       "XXX.TXT", 12, records::kAccountListFile, 12, 0, "");
        EXPECT_EQ(choice, c.passed) << c.type << " " << c.given;
    }
    ModuleRun file;
    file.output_mode = 3;
    file.output_name = "H1PERF.TXT";
    const std::string text = RunMperf(file);
    ASSERT_TRUE(TempDataDir::Exists("H1PERF.TXT"));
    EXPECT_NE(fixtures::ReportText("H1PERF.TXT").find("SMITH FAMILY TRUST"), std::string::npos);
    EXPECT_NE(text.find("SMITH FAMILY TRUST"), std::string::npos);
}

// The date step: the start date is checked against [low, program date]
// unless the run is by account or over a manager pattern with a blank
// start; the end date against [start, program date]. Accepted dates are
// rewritten MM/DD/YY.
TEST(PerformanceModuleRuns, DateStep) {
    struct Case {
        const char* start;
        const char* end;
        const char* selection;
        int16_t sub_kind;
        float low;
        bool accepted;
        float start_number, end_number;
    };
    const Case cases[] = {
        {"1/31/97", "6/30/97", "S   ", 0, 0, true, 970131, 970630},
        {"1/31/97", "6/30/97", "S   ", 0, 970201, false, 970131, 970630},  // before the opening
        {"        ", "6/30/97", "A   ", 0, 0, true, 0, 970630},            // blank start of a manager run
        {"        ", "6/30/97", "S   ", 0, 0, false, 0, 970630},           // blank start of one account
        {"        ", "6/30/97", "A   ", 1, 0, true, 0, 970630},            // by account: no start
        {"3/31/97", "2/28/97", "S   ", 0, 0, false, 970331, 970228},       // end before start
        {"1/31/97", "7/31/97", "S   ", 0, 0, false, 970131, 970731},       // after the program date
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end);
        std::string start = c.start, end = c.end;
        float start_number = 0, end_number = 0;
        int16_t status = 7;
        EXPECT_EQ(reports::Mprfstep(" 6/30/97", 970630, start, start_number, end, end_number, status,
                                    c.selection, c.low, c.sub_kind),
                  c.accepted);
        EXPECT_EQ(status, 7);
        EXPECT_EQ(start_number, c.start_number);
        EXPECT_EQ(end_number, c.end_number);
    }
    std::string start = "1/5/97", end = "6/30/97";
    float s = 0, e = 0;
    int16_t status = 0;
    reports::Mprfstep(" 6/30/97", 970630, start, s, end, e, status, "S   ", 0, 0);
    EXPECT_EQ(start, " 1/ 5/97");
    EXPECT_EQ(end, " 6/30/97");
}

TEST(Composite, CmbaddTakesTheNoValueRule) {
    Year composite = Months({{1, 10}, {2, kNone}, {3, kNone}, {4, 40}, {5, 50}});
    const Year member = Months({{1, 1}, {2, kNone}, {3, 3}, {4, kNone}, {5, 5}});
    reports::Cmbadd(composite, member, 2);
    EXPECT_EQ(composite[0], 10) << "before the start month";
    EXPECT_EQ(composite[1], kNone) << "both without a value";
    EXPECT_EQ(composite[2], 3) << "the composite without a value takes the member's";
    EXPECT_EQ(composite[3], 40) << "the member without a value leaves the composite's";
    EXPECT_EQ(composite[4], 55);
}

// Two members of different first years: the first (M1, from 12/96) is
// copied, the second (M2, opened 3/15/97) added from its first month with
// the no-value rule; the third series holds M2's funding flow.
TEST(Composite, HistoryOfTwoMembersByteForByte) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    pmfix::WritePerfAccounts({{"M2", "AB", "SECOND", " 3/15/97", 2000, 701, 402},
                              {"M1", "AB", "FIRST", "12/31/96", 1000, 700, 400}});
    const Year zeros = Months({});
    const Year m1_96 = Months({{12, 1000}}, kNone);
    const Year m1_97 = Months({{1, 1100}, {2, 1200}, {3, kNone}, {4, 1300}, {5, 1400}, {6, 1500}}, kNone);
    const Year m1_flow97 = Months({{2, 50}});
    const Year m1_income97 = Months({{3, 5}});
    perffix::WriteHistory("M1", 12, 96, {m1_96, m1_97}, {Months({{12, 1000}}), m1_flow97},
                          {zeros, m1_income97});
    const Year m2_97 = Months({{1, 0}, {2, 0}, {3, 2000}, {4, kNone}, {5, 2100}, {6, 2200}}, kNone);
    perffix::WriteHistory("M2", 3, 97, {m2_97}, {Months({{3, 2000}})}, {Months({{6, 7}})});
    records::WriteAccountLines({"M2", "M1"}, records::kAccountListFile);

    int16_t status = 5;
    reports::CompositeRequest rq;
    rq.to = " 6/30/97";
    rq.description = records::Fixed("TWO MEMBERS", 32);
    reports::Combpf(status, rq);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(rq.account, "M1      ");
    EXPECT_EQ(rq.from, "12/31/96");

    // Expected: the header, M1's 1996 as it is, 1997 with M2 added.
    std::vector<records::Record> expected;
    engine::ValueHistoryHeader h;
    h.account = "COMB$$  ";
    h.start_month = 12;
    h.first_year = 96;
    h.end_month = 6;
    h.last_year = 97;
    h.years = 2;
    records::Record head(128, 0);
    h.Encode(head);
    expected.push_back(head);
    auto year = [&](int16_t y, const Year& values) {
        engine::ValueHistoryYear r;
        r.year = y;
        r.values = values;
        records::Record rec(128, 0);
        r.Encode(rec);
        expected.push_back(rec);
    };
    year(96, m1_96);
    year(96, Months({{12, 1000}}));
    year(96, zeros);
    year(96, zeros);
    year(97, Months({{1, 1100}, {2, 1200}, {3, 2000}, {4, 1300}, {5, 3500}, {6, 3700}}, kNone));
    year(97, Months({{2, 50}, {3, 2000}}));
    year(97, Months({{3, 2000}}));  // M2 funded in March from a value of 0
    year(97, Months({{3, 5}, {6, 7}}));

    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(reports::kCompositeHistory);
    ASSERT_EQ(bytes.size(), expected.size() * 128);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE("record " + std::to_string(k + 1));
        const std::vector<unsigned char> want(expected[k].data(), expected[k].data() + 128);
        const std::vector<unsigned char> got(bytes.begin() + static_cast<long>(k * 128),
                                             bytes.begin() + static_cast<long>((k + 1) * 128));
        EXPECT_EQ(got, want);
    }
}

// An account funded from 0 by 10,000 to 10,500 in January: its own table
// shows +5.0 for the month, a composite of it alone +10.0 (the composite
// keeps the zero start).
TEST(Composite, OneMemberAgainstItsOwnTable) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    pmfix::WritePerfAccounts({{"F1", "AB", "FUNDED ACCOUNT", "12/31/96", 0, 700, 400}});
    perffix::WriteHistory("F1", 12, 96, {Months({{12, 0}}), Months({{1, 10500}})},
                          {Months({}), Months({{1, 10000}})}, {Months({}), Months({})});
    records::WriteAccountLines({"F1"}, records::kAccountListFile);
    fixtures::SetOptions({{records::Opt::kPerformanceSummaryType, 2}});
    auto january = [](const std::string& text) {
        const std::size_t at = text.find("01/31/97");
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    ModuleRun own;
    own.account = "F1";
    const std::string own_row = january(RunMperf(own));
    ModuleRun composite;
    composite.type = 2;
    const std::string composite_row = january(RunMperf(composite));
    EXPECT_NE(own_row.find("  +5.0"), std::string::npos) << own_row;
    EXPECT_EQ(own_row.find(" +10.0"), std::string::npos) << own_row;
    EXPECT_NE(composite_row.find(" +10.0"), std::string::npos) << composite_row;
}

// A member that cannot be gathered gives one line naming it, and no
// composite: neither HLCOMB$$.DAT nor PCONTROL.FIL is written.
TEST(Composite, GatheringFailuresWriteOneLineAndNoComposite) {
    struct Case {
        std::string name;
        std::vector<std::string> list;
        bool remove_history;
        std::string line;
    };
    const Case cases[] = {
        {"unknown account",
         {"H1", "ZZ"},
         false,
         " ACCOUNT ZZ       IS NOT IN ACCOUNT.IDX: NO COMPOSITE IS REPORTED"},
        {"unreadable history", {"H1", "H3"}, true, " HLH3.DAT COULD NOT BE READ: NO COMPOSITE IS REPORTED"},
        {"no list", {}, false, " compfile.lst COULD NOT BE READ: NO COMPOSITE IS REPORTED"},
        {"account records cut short",
         {"H1", "H3"},
         false,
         " ACCOUNT.REC COULD NOT BE READ: NO COMPOSITE IS REPORTED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        pmfix::WriteDirectory();
        if (!c.list.empty()) records::WriteAccountLines(c.list, records::kAccountListFile);
        if (c.remove_history) records::Purge("HLH3.DAT");
        // H3 (entry 3, records 17 to 24) keeps its second record, not its
        // fourth.
        if (c.name == "account records cut short") fixtures::CutFile(records::kAccountRecords, 19);
        records::Purge(records::kReportWorkFile);
        int16_t status = 3;
        reports::CompositeRequest rq;
        rq.to = " 6/30/97";
        reports::Combpf(status, rq);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(WorkText(), c.line + "\n");
        EXPECT_FALSE(TempDataDir::Exists(reports::kCompositeHistory));
        EXPECT_FALSE(TempDataDir::Exists(records::kPerformanceControlFile));
    }
}

// Kind A takes the accounts of the request's manager pattern; kind C the
// composite account and the accounts its third and fourth records list.
// The control record of the composite carries every field.
TEST(Composite, ManagerPatternAndCompositeAccount) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    reports::CompositeRequest rq;
    rq.kind = "A   ";
    rq.manager = "CD  ";
    rq.to = " 6/30/97";
    rq.description = records::Fixed("MANAGER CD", 32);
    int16_t status = 0;
    reports::Combpf(status, rq);
    EXPECT_EQ(rq.account, "H3      ") << "the one account of CD";
    EXPECT_EQ(rq.from, " 1/15/97");
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.slot, records::kPerformanceFinished);
    EXPECT_EQ(h.remaining, 1);
    EXPECT_EQ(h.manager, "CD  ");
    EXPECT_EQ(h.start_date, " 1/15/97");
    records::PerformanceAccount a;
    ASSERT_TRUE(records::ReadPerformanceAccount(1, a));
    EXPECT_EQ(a.account, "COMB$$  ");
    EXPECT_EQ(a.title, records::Fixed("MANAGER CD", 32));
    EXPECT_EQ(a.manager, "CD  ");
    EXPECT_EQ(a.opening_date, " 1/15/97");
    EXPECT_EQ(a.initial_value, 50000);
    EXPECT_EQ(a.index1_base, 703.5f);
    EXPECT_EQ(a.end_date_number, 970630);
    EXPECT_EQ(a.end_day, 30);
    EXPECT_EQ(a.end_month, 6);
    EXPECT_EQ(a.history, 1);
    EXPECT_EQ(a.fiscal_month, 12);
    EXPECT_EQ(a.selection, "S   ");

    // C1's combined accounts: 1 H3 and 2 R1 (R4, in two pieces each), 3
    // never written (the list ends there, before H1 in combined account 6
    // of R3); an address line 4 that is not a member.
    pmfix::WritePerfAccounts({{"H1", "AB", "SMITH FAMILY TRUST", "12/31/96", 0, 700, 400, "SPX", "LEH"},
                              {"H3", "CD", "JONES ACCOUNT", " 1/15/97", 50000, 703.5f, 401},
                              {"R1", "AB", "REPLAY ACCOUNT", " 1/02/97", 0, 700, 400, "NOPE"},
                              {"C1", "AB", "COMPOSITE", " 2/01/97", 0, 700, 400}});
    {
        records::DirectFile accounts(records::kAccountRecords, 128);
        records::Record r3, r4;
        ASSERT_TRUE(accounts.Read(8 * 4 - 5, r3));
        ASSERT_TRUE(accounts.Read(8 * 4 - 4, r4));
        r3.SetText(0, 32, "CHICAGO IL 60601");
        r3.SetText(82, 6, "H1");
        r4.SetText(47, 4, "H3  ");
        r4.SetText(67, 2, "  ");
        r4.SetText(51, 4, "R1  ");
        r4.SetText(71, 2, "  ");
        r4.SetText(55, 4, std::string(4, '\0'));
        r4.SetText(75, 2, std::string(2, '\0'));
        ASSERT_TRUE(accounts.Write(8 * 4 - 5, r3));
        ASSERT_TRUE(accounts.Write(8 * 4 - 4, r4));
    }
    perffix::WriteHistory("C1", 2, 97, {Months({}, kNone)}, {Months({})}, {Months({})});
    rq = reports::CompositeRequest{};
    rq.kind = "C   ";
    rq.account = "C1      ";
    rq.to = " 6/30/97";
    reports::Combpf(status, rq);
    EXPECT_EQ(rq.account, "R1      ") << "the earliest of C1, H3 and R1";
    EXPECT_EQ(rq.from, " 1/ 2/97");
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.remaining, 3);
}

// The composite starts at its first member's value at the start when the
// member's fourth record names a start month and year, else at its
// initial value; blanks there (new accounts) name none.
TEST(Composite, StartingValueOfTheFirstMember) {
    struct Case {
        const char* name;
        std::string start;  // bytes 17-20 of the fourth record
        double expected;
    };
    auto words = [](int16_t month, int16_t year) {
        records::Record r(4, 0);
        r.SetI16(0, month);
        r.SetI16(2, year);
        return r.Text(0, 4);
    };
    const Case cases[] = {
        {"start 3/97", words(3, 97), 7777},
        {"blank start", "    ", 1000},
        {"month 13", words(13, 97), 1000},
        {"year 151", words(3, 151), 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        pmfix::WriteDirectory();
        pmfix::WritePerfAccounts({{"S1", "AB", "FIRST", "12/31/96", 1000, 700, 400}});
        {
            records::DirectFile accounts(records::kAccountRecords, 128);
            records::Record r4;
            ASSERT_TRUE(accounts.Read(4, r4));
            r4.SetText(16, 4, c.start);
            r4.SetR8(20, 7777);
            ASSERT_TRUE(accounts.Write(4, r4));
        }
        perffix::WriteHistory("S1", 12, 96, {Months({{12, 1000}}), Months({}, 1000)},
                              {Months({}), Months({})}, {Months({}), Months({})});
        records::WriteAccountLines({"S1"}, records::kAccountListFile);
        int16_t status = 0;
        reports::CompositeRequest rq;
        rq.to = " 6/30/97";
        reports::Combpf(status, rq);
        records::PerformanceAccount a;
        ASSERT_TRUE(records::ReadPerformanceAccount(1, a));
        EXPECT_EQ(a.initial_value, c.expected);
    }
}

// A member whose history begins before the composite's first year: only
// its years from the composite's first year on are added (an earlier year
// has no place in the composite's file).
TEST(Composite, MemberYearsBeforeTheFirstYearAreLeftOut) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    pmfix::WritePerfAccounts({{"M1", "AB", "FIRST", "12/31/96", 1000, 700, 400},
                              {"M3", "AB", "OLD HISTORY", " 6/30/97", 0, 700, 400}});
    perffix::WriteHistory("M1", 12, 96, {Months({{12, 1000}}, kNone), Months({}, 1100)},
                          {Months({}), Months({})}, {Months({}), Months({})});
    perffix::WriteHistory("M3", 1, 95, {Months({}, 1), Months({}, 2), Months({}, 3)},
                          {Months({}), Months({}), Months({})}, {Months({}), Months({}), Months({})});
    records::WriteAccountLines({"M1", "M3"}, records::kAccountListFile);
    int16_t status = 0;
    reports::CompositeRequest rq;
    rq.to = " 6/30/97";
    reports::Combpf(status, rq);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(reports::kCompositeHistory);
    ASSERT_EQ(bytes.size(), 9u * 128) << "the header and two years";
    auto values = [&](long record) {
        records::Record rec(128, 0);
        std::copy(bytes.begin() + (record - 1) * 128, bytes.begin() + record * 128, rec.data());
        return engine::ValueHistoryYear::Decode(rec);
    };
    const engine::ValueHistoryYear y96 = values(2), y97 = values(6);
    EXPECT_EQ(y96.year, 96);
    EXPECT_EQ(y96.values, Months({{12, 1002}}, 2)) << "M3's 1996 into M1's";
    EXPECT_EQ(y97.year, 97);
    EXPECT_EQ(y97.values, Months({}, 1103));
}

// The by-account reports pass over an account opened after their end
// date; the monthly performance reports it.
TEST(PerformanceModuleRuns, ByAccountPassesOverAnAccountOpenedAfterTheEnd) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    ModuleRun r = All(3);
    r.end = " 1/10/97";
    const std::string text = RunMperf(r);
    EXPECT_NE(text.find("SMITH FAMILY TRUST"), std::string::npos);
    EXPECT_NE(text.find("REPLAY ACCOUNT"), std::string::npos);
    EXPECT_EQ(text.find("JONES ACCOUNT"), std::string::npos) << "opened 1/15/97";
}

// "Q   " reports quarters; any other frequency months.
TEST(PerformanceModuleRuns, FrequencyQuarterlyOrMonthly) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    fixtures::SetOptions({{records::Opt::kPerformanceSummaryType, 2}});
    for (const char* frequency : {"Q   ", "M   ", "X   ", "    "}) {
        SCOPED_TRACE(frequency);
        ModuleRun r;
        r.frequency = frequency;
        const std::string text = RunMperf(r);
        const bool quarterly = std::string(frequency) == "Q   ";
        EXPECT_EQ(text.find("QUARTERLY PERFORMANCE") != std::string::npos, quarterly);
        EXPECT_EQ(text.find("MONTHLY PERFORMANCE") != std::string::npos, !quarterly);
        EXPECT_EQ(text.find("02/28/97") != std::string::npos, !quarterly);
        EXPECT_NE(text.find("03/31/97"), std::string::npos);
    }
}

// The member table has no limit: a composite of 501 accounts (kind A)
// takes them all.
TEST(Composite, MoreThan500Members) {
    TempDataDir dir;
    pmfix::WriteDirectory();
    std::vector<pmfix::PerfAccount> accounts;
    for (int k = 1; k <= 501; ++k) {
        char id[8];
        std::snprintf(id, sizeof id, "C%03d", k);
        accounts.push_back({id, "AB", id, "12/31/96", 0, 700, 400});
        perffix::WriteHistory(id, 12, 96, {Months({{12, 10}}), Months({}, 11)}, {Months({}), Months({})},
                              {Months({}), Months({})});
    }
    pmfix::WritePerfAccounts(accounts);
    int16_t status = 0;
    reports::CompositeRequest rq;
    rq.kind = "A   ";
    rq.manager = "????";
    rq.to = " 6/30/97";
    reports::Combpf(status, rq);
    EXPECT_EQ(rq.account, "C001    ");
    records::PerformanceHeader h;
    ASSERT_TRUE(records::ReadPerformanceHeader(h));
    EXPECT_EQ(h.remaining, 501);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(reports::kCompositeHistory);
    ASSERT_GE(bytes.size(), 6u * 128);
    records::Record rec(128, 0);
    std::copy(bytes.begin() + 5 * 128, bytes.begin() + 6 * 128, rec.data());
    EXPECT_EQ(engine::ValueHistoryYear::Decode(rec).values, Months({}, 11 * 501));
}

}  // namespace
