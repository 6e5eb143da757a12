// The performance reports dialog: the controls each of the five reports
// uses, what Generate Report stores (report variant, period, asset class,
// dates, sort order), its messages, and the account list file of the
// combined report over a group or super group.

#include "shell/performance_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/report_dialog_parts.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;
using D = CPerformanceReportsDlg;

struct ReportCase {
    int index;
    std::set<int> shown;    // among the watched controls
    std::set<int> enabled;  // among the watched controls
    std::string select_caption;
    std::set<int> checked;  // among the account radios
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << "report " << c.index;
}

const std::vector<int> kWatched = {
    D::kAllRadio,        D::kGroupsRadio,  D::kSelectRadio,  D::kAccountList,
    D::kGroupList,       D::kManagerGroup, D::kManagerCombo, D::kStartDate,
    D::kStartLabel,      D::kEndDate,      D::kMonthly,      D::kQuarterly,
    D::kCashEquivalents, D::kEquities,     D::kFixedIncome,  D::kSecurityPerformance,
    D::kAllClasses,      D::kAssetGroup,   D::kGenerate,     kDisplayRadio};

std::set<int> Checked(const Window& w) {
    std::set<int> on;
    for (const int id : {D::kAllRadio, D::kGroupsRadio, D::kSelectRadio})
        if (w.IsDlgButtonChecked(id)) on.insert(id);
    return on;
}

// Controls that show and are enabled for every report.
const std::set<int> kAlways = {
    D::kAllRadio,   D::kStartDate,       D::kStartLabel, D::kEndDate,     D::kMonthly,
    D::kQuarterly,  D::kCashEquivalents, D::kEquities,   D::kFixedIncome, D::kSecurityPerformance,
    D::kAllClasses, D::kAssetGroup,      D::kGenerate,   kDisplayRadio};
const std::set<int> kAlwaysOn = {D::kAllRadio,  D::kEndDate,      D::kGenerate,
                                 kDisplayRadio, D::kManagerCombo, D::kManagerGroup};

const std::set<int> kAssets = {D::kAssetGroup, D::kCashEquivalents, D::kEquities, D::kFixedIncome,
                               D::kSecurityPerformance};

const std::vector<ReportCase> kReports = {
    {D::kMonthlyAndSummary,
     Join({kAlways, {D::kSelectRadio, D::kAccountList}}),
     Join({kAlwaysOn,
           {D::kSelectRadio, D::kAccountList, D::kStartDate, D::kStartLabel, D::kMonthly, D::kQuarterly}}),
     "Select",
     {D::kSelectRadio}},
    {D::kCombined,
     Join({kAlways, {D::kSelectRadio, D::kGroupsRadio, D::kManagerGroup, D::kManagerCombo}}),
     Join({kAlwaysOn,
           kAssets,
           {D::kSelectRadio, D::kGroupsRadio, D::kStartDate, D::kStartLabel, D::kMonthly, D::kQuarterly}}),
     "Super Gps",
     {D::kAllRadio}},
    {D::kSummaryByAccount,
     Join({kAlways, {D::kManagerGroup, D::kManagerCombo}}),
     kAlwaysOn,
     "Select",
     {D::kAllRadio}},
    {D::kMonthlyByAccount,
     Join({kAlways, {D::kManagerGroup, D::kManagerCombo}}),
     kAlwaysOn,
     "Select",
     {D::kAllRadio}},
    // All and Select keep what they were: here as the dialog opened them.
    {D::kAssetClass,
     Join({kAlways, {D::kSelectRadio, D::kAccountList}}),
     Join({kAlwaysOn, kAssets, {D::kSelectRadio, D::kAccountList, D::kStartDate, D::kStartLabel}}),
     "Select",
     {D::kSelectRadio}},
};

std::string CheckReport(const D& dialog, const ReportCase& c) {
    std::string out = CompareIds("shown", VisibleIds(dialog, kWatched), c.shown);
    std::set<int> enabled = EnabledIds(dialog, kWatched);
    // The manager box of a report on accounts is hidden; whether it is
    // enabled then does not matter.
    std::set<int> want = c.enabled;
    if (!c.shown.count(D::kManagerCombo)) {
        enabled.erase(D::kManagerCombo);
        want.erase(D::kManagerCombo);
    }
    out += CompareIds("enabled", enabled, want);
    if (dialog.GetDlgItemText(D::kSelectRadio) != c.select_caption) out += "select caption; ";
    if (Checked(dialog) != c.checked) out += "checked " + Describe(Checked(dialog)) + "; ";
    if (!dialog.IsDlgButtonChecked(kDisplayRadio)) out += "not on Display; ";
    if (c.enabled.count(D::kMonthly) && !dialog.IsDlgButtonChecked(D::kMonthly)) out += "not monthly; ";
    if (g_report.PerformanceReportIndex != c.index) out += "report index; ";
    return out;
}

class PerformanceReports : public ReportDialogTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(PerformanceReports, OpeningOnTheReport) {
    const ReportCase& c = GetParam();
    g_report.ReportCode = 121;
    g_report.PerformanceReportIndex = static_cast<int16_t>(c.index);
    ExpectOnOpening<D>(kPerformanceDialogId, "report",
                       [&](const D& dialog) { return CheckReport(dialog, c); });
}

TEST_P(PerformanceReports, ChoosingTheReport) {
    const ReportCase& c = GetParam();
    g_report.ReportCode = 121;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kPerformanceDialogId)
        .Click(kFileRadio)
        .Select(D::kReportList, c.index)
        .Run("report", [&] { return CheckReport(dialog, c); })
        .ExpectVisible(kFileNameEdit, false)
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
}

INSTANTIATE_TEST_SUITE_P(Reports, PerformanceReports, ::testing::ValuesIn(kReports),
                         [](const auto& info) { return "Report" + std::to_string(info.param.index); });

TEST_F(ReportDialogTest, PerformanceDialogListsTheFiveReports) {
    g_report.ReportCode = 121;
    g_report.PerformanceReportIndex = 7;  // out of range: the first report
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kPerformanceDialogId)
        .Run("reports",
             [&]() -> std::string {
                 const Control list = dialog.GetDlgItem(D::kReportList);
                 const std::vector<std::string> want = {
                     "Monthly Performance and Performance Summary", "Combined Performance",
                     "Summary of Performance by Account", "Monthly Performance by Account",
                     "Asset Class Performance"};
                 std::vector<std::string> got;
                 for (int i = 0; i < list.GetCount(); ++i) got.push_back(list.GetText(i));
                 if (got != want) return "report names";
                 return list.GetCurSel() == 0 ? "" : "selection";
             })
        .ExpectText(D::kStartLabel, "Start Date")
        .ExpectText(D::kStartDate, "01/01/98")
        .ExpectText(D::kEndDate, "12/08/98")
        .ExpectText(D::kManagerCombo, "????")
        .Click(IDCANCEL)
        .ExpectClosed();
    dialog.DoModal();
    ExpectNoFailures(script);
}

struct StoreCase {
    std::string name;
    int16_t index;
    std::function<void(ScriptedInteraction&)> steps;
    std::function<std::string()> check;
};

void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<StoreCase> kStores = {
    {"MonthlySummaryOfOneAccount", 0,
     [](ScriptedInteraction& s) { s.SelectText(D::kAccountList, "ACC002").SetText(D::kStartDate, "1/1/97"); },
     [] {
         return Expect("variant", g_report.ReportVariant, 1) + Expect("scope", g_report.SelectionScope, 2) +
                Expect("account", g_report.SelectedAccount, "ACC002") +
                Expect("period", g_report.PerformancePeriod, 0) +
                Expect("start", g_report.StartDate, "01/01/97") +
                Expect("end", g_report.EndDate, "12/08/98") + Expect("sort", g_report.SortOption, "    ") +
                Expect("destination", g_report.OutputDestination, kOutputDisplay);
     }},
    {"EmptyStartDateAccepted", 0, [](ScriptedInteraction& s) { s.SetText(D::kStartDate, ""); },
     [] { return Expect("start", g_report.StartDate, ""); }},
    {"CombinedQuarterlyEquitiesForAManager", 1,
     [](ScriptedInteraction& s) {
         s.Click(D::kQuarterly).Click(D::kEquities).SetText(D::kManagerCombo, "abcd");
     },
     [] {
         return Expect("variant", g_report.ReportVariant, 2) + Expect("scope", g_report.SelectionScope, 1) +
                Expect("period", g_report.PerformancePeriod, 1) +
                Expect("class", g_report.PerformanceAssetClass, 1) +
                Expect("kind", g_report.PerformanceKind, 1) + Expect("manager", g_report.ManagerCode, "ABCD");
     }},
    {"StartDateOfASummaryByAccountIsNotChecked", 2, [](ScriptedInteraction& s) { s.Click(1342); },
     [] {
         return Expect("variant", g_report.ReportVariant, 3) +
                Expect("start", g_report.StartDate, "13/13/98") + Expect("sort", g_report.SortOption, "M   ");
     }},
    {"MonthlyByAccountSortedByName", 3, [](ScriptedInteraction& s) { s.Click(1345); },
     [] {
         return Expect("variant", g_report.ReportVariant, 4) + Expect("sort", g_report.SortOption, "A   ");
     }},
    {"AssetClassFixedIncomeToAFile", 4,
     [](ScriptedInteraction& s) {
         s.Click(D::kFixedIncome).Click(kFileRadio).SetText(kFileNameEdit, "PERF.TXT");
     },
     [] {
         return Expect("variant", g_report.ReportVariant, 5) +
                Expect("class", g_report.PerformanceAssetClass, 2) +
                Expect("destination", g_report.OutputDestination, kOutputFile) +
                Expect("file", g_report.OutputFileName, "PERF.TXT") +
                Expect("index", g_report.PerformanceReportIndex, 4);
     }},
    {"CombinedOverAGroup", 1,
     [](ScriptedInteraction& s) {
         s.Click(D::kGroupsRadio).ExpectEnabled(D::kGroupList, true).SelectText(D::kGroupList, "INCOME");
     },
     [] {
         return Expect("scope", g_report.SelectionScope, 2) +
                Expect("list", g_report.ListFileName, "compfile.lst") +
                Expect("file", ReadText("compfile.lst"), "ACC002\r\nACC003\r\n") +
                Expect("title", g_report.GroupDescription, "Income accounts");
     }},
    {"CombinedOverASuperGroup", 1,
     [](ScriptedInteraction& s) { s.Click(D::kSelectRadio).SelectText(D::kGroupList, "BOTH"); },
     [] {
         return Expect("file", ReadText("compfile.lst"), "ACC001\r\nACC002\r\nACC003\r\n") +
                Expect("title", g_report.GroupDescription, "Growth and income");
     }},
};

class PerformanceStore : public ReportDialogTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(PerformanceStore, GenerateReportStoresTheSelection) {
    const StoreCase& c = GetParam();
    g_report.ReportCode = 121;
    g_report.PerformanceReportIndex = c.index;
    if (c.index == 2) g_report.StartDate = "13/13/98";
    ExpectGenerated<D>(kPerformanceDialogId, c.steps);
    EXPECT_EQ(c.check(), "");
    EXPECT_FALSE(ReportErrorsDialog().IsWindow());
}

INSTANTIATE_TEST_SUITE_P(Cases, PerformanceStore, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return info.param.name; });

struct ErrorCase {
    std::string name;
    int16_t index;
    std::function<void(ScriptedInteraction&)> steps;
    std::vector<std::string> messages;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class PerformanceErrors : public ReportDialogTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(PerformanceErrors, BadEntriesAreListedAndTheDialogStaysOpen) {
    const ErrorCase& c = GetParam();
    g_report.ReportCode = 121;
    g_report.PerformanceReportIndex = c.index;
    ExpectRefused<D>(kPerformanceDialogId, c.steps, c.messages);
    EXPECT_FALSE(fixtures::TempDataDir::Exists("compfile.lst"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PerformanceErrors,
    ::testing::Values(
        ErrorCase{"StartDate",
                  0,
                  [](ScriptedInteraction& s) { s.SetText(D::kStartDate, "13/01/98"); },
                  {"1.Illegal start date:13/01/98"}},
        ErrorCase{"EndDateOfASummaryByAccount",
                  2,
                  [](ScriptedInteraction& s) { s.SetText(D::kEndDate, ""); },
                  {"1.Illegal end date:"}},
        ErrorCase{"FileNameOfNineCharacters",
                  4,
                  [](ScriptedInteraction& s) { s.Click(kFileRadio).SetText(kFileNameEdit, "ABCDEFGHI"); },
                  {"1.Illegal file name:ABCDEFGHI"}},
        ErrorCase{"ManagerCode",
                  3,
                  [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "AB?E"); },
                  {"1.Illegal secode"}},
        ErrorCase{"EmptySuperGroup",
                  1,
                  [](ScriptedInteraction& s) { s.Click(D::kSelectRadio).SelectText(D::kGroupList, "NONE"); },
                  {"1.Groups are empty. No accounts selected."}},
        ErrorCase{"DatesAndFile",
                  1,
                  [](ScriptedInteraction& s) {
                      s.SetText(D::kStartDate, "2/30/98").SetText(D::kEndDate, "1/1").Click(kFileRadio);
                  },
                  {"1.Illegal start date:2/30/98", "2.Illegal end date:1/1", "3.Illegal file name:"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReportDialogTest, PerformanceAccountRadios) {
    g_report.ReportCode = 121;
    g_report.PerformanceReportIndex = 1;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kPerformanceDialogId)
        .Click(D::kGroupsRadio)
        .ExpectVisible(D::kGroupList, true)
        .ExpectVisible(D::kAccountList, false)
        .ExpectVisible(D::kManagerCombo, false)
        .Click(D::kSelectRadio)
        .ExpectVisible(D::kGroupList, true)
        .ExpectText(D::kSelectRadio, "Super Gps")
        .Click(D::kAllRadio)
        .ExpectVisible(D::kGroupList, false)
        .ExpectVisible(D::kManagerCombo, true)
        .ExpectEnabled(D::kManagerCombo, true)
        .Select(D::kReportList, 0)
        .Click(D::kSelectRadio)
        .ExpectVisible(D::kAccountList, true)
        .ExpectVisible(D::kGroupList, false)
        .ExpectVisible(D::kManagerCombo, false)
        .Click(IDCANCEL)
        .ExpectClosed();
    D dialog;
    dialog.DoModal();
    ExpectNoFailures(script);
}

}  // namespace
