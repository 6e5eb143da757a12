// The report options dialog: how each of its thirty report codes sets it up
// (title, controls shown, captions, the date it starts with), what Generate
// Report stores, the message of each bad entry, and the account list file
// of the composite reports over a group or super group.

#include "shell/report_options_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/report_dialog_parts.h"
#include "shell/runner.h"
#include "tests/fixtures/account_builder.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;
using D = CReportOptionsDlg;

// Every control whose showing depends on the report code.
const std::vector<int> kWatched = {
    D::kAccountGroup,     D::kAllRadio,        D::kSelectRadio,  D::kGroupRadio,    D::kClientListGroup,
    D::kAccountList,      D::kGroupList,       D::kManagerGroup, D::kManagerCombo,  D::kFirstDateLabel,
    D::kFirstDate,        D::kSecondDateLabel, D::kSecondDate,   D::kFlag1,         D::kFlag2,
    D::kSecurityLabel,    D::kSecurityCombo,   D::kSortGroup,    D::kSortObjective, D::kSortMarketValue,
    D::kSortCash,         D::kSortPercentCash, D::kSortName,     D::kSortId,        D::kTagLabel,
    D::kTagEdit,          D::kNumberLabel,     D::kNumberEdit,   D::kNameLabel,     D::kNameEdit,
    D::kTransmitterLabel, D::kTransmitterEdit, D::kPayerLabel,   D::kPayerEdit,
};

// Groups of controls that show together.
const std::set<int> kAccounts = {D::kAccountGroup, D::kAllRadio, D::kSelectRadio, D::kClientListGroup,
                                 D::kAccountList};
// The manager code in place of the accounts; the client list frame goes
// with its lists.
const std::set<int> kManagerOnly = {D::kManagerGroup, D::kManagerCombo};
const std::set<int> kComposite = {D::kAccountGroup, D::kAllRadio,     D::kSelectRadio,
                                  D::kGroupRadio,   D::kManagerGroup, D::kManagerCombo};
const std::set<int> kBothDates = {D::kFirstDateLabel, D::kFirstDate, D::kSecondDateLabel, D::kSecondDate};
const std::set<int> kOneDate = {D::kFirstDateLabel, D::kFirstDate};
const std::set<int> kFlag1 = {D::kFlag1};
const std::set<int> kFlags = {D::kFlag1, D::kFlag2};
const std::set<int> kSort = {D::kSortGroup,       D::kSortObjective, D::kSortMarketValue, D::kSortCash,
                             D::kSortPercentCash, D::kSortName,      D::kSortId};

struct SetupCase {
    int code;
    std::string title;
    std::set<int> shown;
    std::string first_label = "Start Date";
    std::string second_label = "End Date";
    std::string flag1 = "";  // caption when shown
    std::string flag2 = "";
    bool flag1_checked = false;
    bool report_date = false;  // one date, which starts as the end date
};

void PrintTo(const SetupCase& c, std::ostream* os) {
    *os << "code " << c.code;
}

std::string CaseName(const ::testing::TestParamInfo<SetupCase>& info) {
    return "Code" + std::to_string(info.param.code);
}

const std::vector<SetupCase> kSetups = {
    {103, "Account Appraisal", Join({kAccounts, kOneDate, kFlag1}), "Report Date", "End Date",
     "Accrued Interest", "", false, true},
    {106, "Mutual Fund Appraisal", Join({kAccounts, kOneDate, kFlag1}), "Report Date", "End Date",
     "Accrued Interest", "", false, true},
    {101, "Working Appraisal", Join({kAccounts, kOneDate, kFlags}), "Report Date", "End Date",
     "Accrued Interest", "Post Market Value", false, true},
    {88, "Detailed Security Cross Reference", Join({kManagerOnly, kOneDate, kFlags}), "Report Date",
     "End Date", "Accrued Interest", "Post Market Value", false, true},
    {107, "Assets Under Management", Join({kManagerOnly, kOneDate, kFlags}), "Report Date", "End Date",
     "Accrued Interest", "Post Market Value", false, true},
    {104, "Investment History", Join({kAccounts, kBothDates, kFlag1}), "Start Date", "End Date",
     "Accrued Interest"},
    {102, "Position Summary", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false, true},
    {221, "Fixed Income Appraisal", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false,
     true},
    {222, "Maturity Analysis", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false, true},
    {223, "Rating Analysis", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false, true},
    {224, "Coupon Analysis", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false, true},
    {225, "Yield Analysis", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false, true},
    {226, "Income Flow Analysis (fixed)", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "",
     false, true},
    {227, "Income Flow Analysis (other)", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "",
     false, true},
    {228, "Fixed Income Summary", Join({kAccounts, kOneDate}), "Report Date", "End Date", "", "", false,
     true},
    {82, "Security Cross Reference",
     Join({kManagerOnly, kOneDate, kFlag1, {D::kSecurityLabel, D::kSecurityCombo}}), "Report Date",
     "End Date", "Long Report", "", true, true},
    {186, "Account List (Summary)", kManagerOnly},
    {181, "Account List", kAccounts},
    {182, "Security List", kOneDate, "Pricing Date"},
    {184, "Bond List", kOneDate, "Pricing Date"},
    {201, "Composite Account Appraisal", Join({kComposite, kOneDate, kFlag1}), "Report Date", "End Date",
     "Accrued Interest", "", false, true},
    {202, "Composite Working Appraisal", Join({kComposite, kOneDate, kFlag1}), "Report Date", "End Date",
     "Accrued Interest", "", false, true},
    {203, "Composite Gain/Loss Report", Join({kComposite, kBothDates})},
    {91, "Form 1099B", Join({kAccounts, kBothDates}), "Trade Date", "Settlement Date"},
    {92, "Trade Memorandum", Join({kAccounts, kBothDates}), "Trade Date", "Settlement Date"},
    {95, "Portfolio Changes", Join({kAccounts, kBothDates})},
    {83, "Account Directory", Join({kManagerOnly, kOneDate, kSort}), "Report Date", "End Date", "", "", false,
     true},
    {108, "Summary of Assets Under Management", Join({kManagerOnly, kOneDate, kSort}), "Report Date",
     "End Date", "", "", false, true},
    {84, "Gain/Loss Report", Join({kAccounts, kBothDates})},
    {85, "Income Summary", Join({kAccounts, kBothDates, kFlag1}), "Start Date", "End Date",
     "Correction File"},
};

class ReportOptionsSetup : public ReportDialogTest, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(ReportOptionsSetup, TitleControlsCaptionsAndDates) {
    const SetupCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectOnOpening<D>(kReportOptionsDialogId, "set-up", [&](const D& dialog) {
        std::string out;
        if (dialog.GetWindowText() != c.title) out += "title \"" + dialog.GetWindowText() + "\"; ";
        out += CompareIds("shown", VisibleIds(dialog, kWatched), c.shown);
        if (dialog.GetDlgItemText(D::kFirstDateLabel) != c.first_label) out += "first label; ";
        if (dialog.GetDlgItemText(D::kSecondDateLabel) != c.second_label) out += "second label; ";
        if (!c.flag1.empty() && dialog.GetDlgItemText(D::kFlag1) != c.flag1) out += "flag 1 caption; ";
        if (!c.flag2.empty() && dialog.GetDlgItemText(D::kFlag2) != c.flag2) out += "flag 2 caption; ";
        if ((dialog.IsDlgButtonChecked(D::kFlag1) != 0) != c.flag1_checked) out += "flag 1 check; ";
        if (dialog.ReportDateMode() != (c.report_date ? 1 : 0)) out += "report date mode; ";
        const std::string first = dialog.GetDlgItemText(D::kFirstDate);
        if (first != (c.report_date ? "12/08/98" : "01/01/98")) out += "first date " + first + "; ";
        // Every dialog starts on Display with the file name hidden.
        if (!dialog.IsDlgButtonChecked(kDisplayRadio)) out += "not on Display; ";
        if (dialog.GetDlgItem(kFileNameEdit).IsWindowVisible()) out += "file name shown; ";
        // The manager box starts on all managers.
        if (dialog.GetDlgItemText(D::kManagerCombo) != "????") out += "manager; ";
        return out;
    });
}

INSTANTIATE_TEST_SUITE_P(Codes, ReportOptionsSetup, ::testing::ValuesIn(kSetups), CaseName);

TEST(ReportOptionsCodes, ThirtyCodesWithTheirTitles) {
    int served = 0;
    for (int code = 0; code < 400; ++code) served += IsReportOptionsCode(code) ? 1 : 0;
    EXPECT_EQ(served, 30);
    EXPECT_EQ(ReportOptionsTitle(203), "Composite Gain/Loss Report");
    EXPECT_EQ(ReportOptionsTitle(105), "");
}

// ---- Generate Report: what is stored

struct StoreCase {
    std::string name;
    int code;
    std::function<void(ScriptedInteraction&)> steps;  // before Generate Report
    std::function<std::string()> check;               // on the globals afterwards
};

const std::vector<StoreCase> kStores = {
    {"ReportDateBecomesTheEndDateRewritten", 103,
     [](ScriptedInteraction& s) {
         s.Select(D::kAccountList, 1).SetText(D::kFirstDate, "1/5/99").Check(D::kFlag1);
     },
     [] {
         return Expect("scope", g_report.SelectionScope, 2) +
                Expect("account", g_report.SelectedAccount, "ACC002") +
                Expect("end", g_report.EndDate, "01/05/99") +
                Expect("start", g_report.StartDate, "01/01/98") + Expect("flag 1", g_report.ReportFlag1, 1) +
                Expect("flag 2", g_report.ReportFlag2, 0) + Expect("manager", g_report.ManagerCode, "????") +
                Expect("destination", g_report.OutputDestination, kOutputDisplay) +
                Expect("sort", g_report.SortOption, "    ");
     }},
    {"BothDatesAndAFile", 104,
     [](ScriptedInteraction& s) {
         s.SetText(D::kFirstDate, "")
             .SetText(D::kSecondDate, "6/30/98")
             .Click(kFileRadio)
             .SetText(kFileNameEdit, "HIST.TXT");
     },
     [] {
         return Expect("start", g_report.StartDate, "") + Expect("end", g_report.EndDate, "06/30/98") +
                Expect("destination", g_report.OutputDestination, kOutputFile) +
                Expect("file", g_report.OutputFileName, "HIST.TXT");
     }},
    {"WorkingAppraisalFlagsAndPreview", 101,
     [](ScriptedInteraction& s) { s.Check(D::kFlag2).Click(kPreviewRadio); },
     [] {
         return Expect("flag 1", g_report.ReportFlag1, 0) + Expect("flag 2", g_report.ReportFlag2, 1) +
                Expect("destination", g_report.OutputDestination, kOutputPreview);
     }},
    {"AllAccountsAndPrint", 181, [](ScriptedInteraction& s) { s.Click(D::kAllRadio).Click(kPrintRadio); },
     [] {
         return Expect("scope", g_report.SelectionScope, 1) +
                Expect("destination", g_report.OutputDestination, kOutputPrint);
     }},
    {"SecurityAndLongReport", 82,
     [](ScriptedInteraction& s) { s.SelectText(D::kSecurityCombo, "MSFT").Check(D::kFlag1, false); },
     [] {
         return Expect("security", g_report.SelectedSecurity, "MSFT") +
                Expect("flag 1", g_report.ReportFlag1, 0) + Expect("tag", g_report.CrossRefTag, "") +
                Expect("name", g_report.CrossRefName, "");
     }},
    {"SortByCash", 83, [](ScriptedInteraction& s) { s.Click(D::kSortCash); },
     [] { return Expect("sort", g_report.SortOption, "C   "); }},
    {"SortByAccountIdIsBlank", 108, [](ScriptedInteraction&) {},
     [] { return Expect("sort", g_report.SortOption, "    "); }},
    {"ManagerInLowerCaseStoredUpperAndMatched", 186,
     [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "ab?d"); },
     [] { return Expect("manager", g_report.ManagerCode, "AB?D"); }},
    {"CodeAtTheEndOfRecord81CanBeChosen", 88,
     [](ScriptedInteraction& s) { s.SelectText(D::kManagerCombo, "CC42"); },
     [] { return Expect("manager", g_report.ManagerCode, "CC42"); }},
    {"CodeAtTheEndOfRecord82CanBeTyped", 107,
     [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "DD7?"); },
     [] { return Expect("manager", g_report.ManagerCode, "DD7?"); }},
    {"TradeAndSettlementDates", 92,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "3/2/98").SetText(D::kSecondDate, ""); },
     [] { return Expect("start", g_report.StartDate, "03/02/98") + Expect("end", g_report.EndDate, ""); }},
    {"PricingDateIsTheStartDate", 182, [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "11/30/98"); },
     [] {
         return Expect("start", g_report.StartDate, "11/30/98") + Expect("end", g_report.EndDate, "12/08/98");
     }},
    {"CompositeWithAllAccountsWritesNoList", 203, [](ScriptedInteraction&) {},
     [] {
         return Expect("scope", g_report.SelectionScope, 1) + Expect("list", g_report.ListFileName, "") +
                Expect("compfile.lst", fixtures::TempDataDir::Exists("compfile.lst"), false);
     }},
};

void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportOptionsStore : public ReportDialogTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(ReportOptionsStore, GenerateReportStoresTheSelection) {
    const StoreCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectGenerated<D>(kReportOptionsDialogId, c.steps);
    EXPECT_EQ(c.check(), "");
    EXPECT_EQ(GetMessageCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportOptionsStore, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return info.param.name; });

// ---- Generate Report: bad entries

struct ErrorCase {
    std::string name;
    int code;
    std::function<void(ScriptedInteraction&)> steps;
    std::vector<std::string> messages;  // as the message list shows them
};

const std::vector<ErrorCase> kErrors = {
    {"ReportDate",
     103,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "13/01/98"); },
     {"1.Illegal report date"}},
    {"ReportDateOfTheCompositeGains",
     203,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "2/30/98"); },
     {"1.Illegal report date"}},
    {"ShortStartDate",
     104,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "1/2"); },
     {"1.Illegal start date"}},
    {"EmptyStartDateOutsideInvestmentHistory",
     84,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, ""); },
     {"1.Illegal start date"}},
    {"BothDates",
     85,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "4/31/98").SetText(D::kSecondDate, "2/29/97"); },
     {"1.Illegal start date", "2.Illegal end date"}},
    {"TradeAndSettlementDates",
     91,
     [](ScriptedInteraction& s) { s.SetText(D::kFirstDate, "13/45/98").SetText(D::kSecondDate, "02/30/98"); },
     {"1.Illegal trade date: 13/45/98", "2.Illegal settlement datei: 02/30/98"}},
    {"EmptyFileName", 181, [](ScriptedInteraction& s) { s.Click(kFileRadio); }, {"1.Illegal file name"}},
    {"FileNameTooLong",
     102,
     [](ScriptedInteraction& s) { s.Click(kFileRadio).SetText(kFileNameEdit, "ABCDEFGHI"); },
     {"1.Illegal file name"}},
    {"ManagerCodeNotInTheList",
     186,
     [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "ZZZZ"); },
     {"1.Illegal secode"}},
    {"ManagerCodeOfAnotherLength",
     83,
     [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "???"); },
     {"1.Illegal secode"}},
    {"EveryErrorAtOnce",
     101,
     [](ScriptedInteraction& s) {
         s.SetText(D::kFirstDate, "00/00/00").Click(kFileRadio).SetText(kFileNameEdit, "9.TXT");
     },
     {"1.Illegal report date", "2.Illegal file name"}},
    {"EmptySuperGroup",
     201,
     [](ScriptedInteraction& s) { s.Click(D::kSelectRadio).SelectText(D::kGroupList, "NONE"); },
     {"1.Groups are empty. No accounts selected."}},
    {"SuperGroupNamingADeletedGroup",
     202,
     [](ScriptedInteraction& s) { s.Click(D::kSelectRadio).SelectText(D::kGroupList, "STALE"); },
     {"1.Group does not exist:GONE"}},
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportOptionsErrors : public ReportDialogTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ReportOptionsErrors, BadEntriesAreListedAndTheDialogStaysOpen) {
    const ErrorCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectRefused<D>(kReportOptionsDialogId, c.steps, c.messages, []() -> std::string {
        return ReportErrorsDialog().IsWindow() ? "" : "the errors window is not open";
    });
    // Cancel empties the list and closes the errors window.
    EXPECT_EQ(GetMessageCount(), 0);
    EXPECT_FALSE(ReportErrorsDialog().IsWindow());
    // No list is left for a composite report that found errors.
    EXPECT_FALSE(fixtures::TempDataDir::Exists("compfile.lst"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportOptionsErrors, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return info.param.name; });

// ---- Composite reports over groups

struct CompositeCase {
    std::string name;
    int code;
    int radio;
    std::string entry;
    std::string list_file;    // compfile.lst as written
    std::string description;  // GroupDescription
};

void PrintTo(const CompositeCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportOptionsComposite : public ReportDialogTest,
                               public ::testing::WithParamInterface<CompositeCase> {};

TEST_P(ReportOptionsComposite, ChosenEntryBecomesTheAccountListFile) {
    const CompositeCase& c = GetParam();
    g_report.ReportCode = c.code;
    WriteText("compfile.lst", "OLD\r\n");
    ExpectGenerated<D>(kReportOptionsDialogId, [&](ScriptedInteraction& script) {
        script.Click(c.radio)
            .ExpectVisible(D::kGroupList, true)
            .ExpectVisible(D::kAccountList, false)
            .ExpectVisible(D::kManagerCombo, false)
            .SelectText(D::kGroupList, c.entry);
    });
    EXPECT_EQ(ReadText("compfile.lst"), c.list_file);
    EXPECT_EQ(g_report.ListFileName, "compfile.lst");
    EXPECT_EQ(g_report.SelectionScope, 2);
    EXPECT_EQ(g_report.GroupDescription, c.description);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportOptionsComposite,
                         ::testing::Values(CompositeCase{"SuperGroupOverlappingGroups", 201, D::kSelectRadio,
                                                         "BOTH", "ACC001\r\nACC002\r\nACC003\r\n",
                                                         "Growth and income"},
                                           CompositeCase{"Group", 202, D::kGroupRadio, "INCOME",
                                                         "ACC002\r\nACC003\r\n", "Income accounts"},
                                           CompositeCase{"FirstGroupAsOffered", 203, D::kGroupRadio, "GROWTH",
                                                         "ACC001\r\nACC002\r\n", "Growth accounts"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReportDialogTest, CompositeListsFollowTheRadios) {
    g_report.ReportCode = 201;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kReportOptionsDialogId)
        .ExpectText(D::kSelectRadio, "Super Gps")
        .ExpectChecked(D::kAllRadio, true)
        .Click(D::kSelectRadio)
        .Run("super groups listed",
             [&]() -> std::string {
                 const Control list = dialog.GetDlgItem(D::kGroupList);
                 if (list.GetCount() != 3 || list.GetText(0) != "BOTH" || list.GetCurSel() != 0)
                     return "super groups";
                 return "";
             })
        .Click(D::kGroupRadio)
        .Run("groups listed",
             [&]() -> std::string {
                 const Control list = dialog.GetDlgItem(D::kGroupList);
                 return list.GetCount() == 3 && list.GetText(2) == "EMPTY" ? "" : "groups";
             })
        .Click(D::kAllRadio)
        .ExpectVisible(D::kGroupList, false)
        .ExpectVisible(D::kManagerCombo, true)
        .ExpectEnabled(D::kManagerCombo, true)
        .Click(IDCANCEL)
        .ExpectClosed();
    dialog.DoModal();
    ExpectNoFailures(script);
}

TEST_F(ReportDialogTest, ReportOptionsRadiosShowTheirLists) {
    g_report.ReportCode = 103;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .Click(D::kAllRadio)
        .ExpectVisible(D::kAccountList, false)
        .ExpectVisible(D::kClientListGroup, false)
        .ExpectVisible(D::kManagerCombo, true)
        .Click(D::kSelectRadio)
        .ExpectVisible(D::kAccountList, true)
        .ExpectEnabled(D::kAccountList, true)
        .ExpectVisible(D::kManagerCombo, false)
        .Click(kFileRadio)
        .ExpectVisible(kFileNameEdit, true)
        .ExpectVisible(kFileNameLabel, true)
        .Click(kPrintRadio)
        .ExpectVisible(kFileNameEdit, false)
        // Enter in a field moves on and never closes the dialog.
        .Focus(D::kFirstDate)
        .Press(Key::Enter)
        .Run("still open", [] { return std::string(); })
        .Click(IDCANCEL)
        .ExpectClosed();
    const ReportGlobals before = g_report;
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
    // Cancel leaves the globals as they were.
    EXPECT_EQ(g_report.OutputDestination, before.OutputDestination);
    EXPECT_EQ(g_report.SelectionScope, before.SelectionScope);
}

TEST_F(ReportDialogTest, EnterMovesTheFocusToTheNextField) {
    g_report.ReportCode = 104;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kReportOptionsDialogId)
        .Focus(D::kFirstDate)
        .Press(Key::Enter)
        .Run("focus",
             [&]() -> std::string {
                 if (dialog.IsEnded()) return "closed";
                 return dialog.GetFocusId() == D::kFirstDate ? "the focus stayed" : "";
             })
        .Click(IDCANCEL)
        .ExpectClosed();
    dialog.DoModal();
    ExpectNoFailures(script);
}

// ---- Option 52: the cross-reference and tax form fields

TEST_F(ReportDialogTest, CrossReferenceFieldsShowRecord69WithOption52) {
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    records::Record r69(128, 0);
    r69.SetText(0, 4, "123");
    r69.SetText(4, 40, "First Bank");
    r69.SetText(44, 4, "N");
    fixtures::WriteCommonRecord(69, r69);
    g_report.ReportCode = 82;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .ExpectVisible(D::kTagEdit, true)
        .ExpectVisible(D::kNumberLabel, true)
        .ExpectText(D::kTagEdit, "N")
        .ExpectText(D::kNumberEdit, "123")
        .ExpectText(D::kNameEdit, "First Bank")
        .SetText(D::kNameEdit, "Second Bank")
        .Click(D::kGenerate)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_EQ(g_report.CrossRefTag, "N");
    EXPECT_EQ(g_report.CrossRefNumber, "123");
    EXPECT_EQ(g_report.CrossRefName, "Second Bank");
}

// A run of the cross reference with option 52 keeps the fields it was
// given; the next opening of the dialog shows them.
TEST_F(ReportDialogTest, CrossReferenceFieldsOfARunShowAtTheNextOpening) {
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    g_report.ReportCode = 82;
    {
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(kReportOptionsDialogId)
            .SetText(D::kTagEdit, "B")
            .SetText(D::kNumberEdit, "456")
            .SetText(D::kNameEdit, "Harbor Trust Company")
            .Click(D::kGenerate)
            .ExpectClosed();
        D dialog;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        ExpectNoFailures(script);
    }
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "XREF.TXT";
    ReportFields fields = PrepareReportFields(g_report);
    const ReportRoutineEntry* routine = FindReportRoutine(82);
    ASSERT_NE(routine, nullptr);
    routine->run(fields);
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .ExpectText(D::kTagEdit, "B")
        .ExpectText(D::kNumberEdit, "456")
        .ExpectText(D::kNameEdit, "Harbor Trust Company")
        .Click(IDCANCEL)
        .ExpectClosed();
    D dialog;
    dialog.DoModal();
    ExpectNoFailures(script);
}

TEST_F(ReportDialogTest, CrossReferenceFieldsOfARecordNeverWrittenAreEmpty) {
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    g_report.ReportCode = 82;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .ExpectText(D::kTagEdit, "")
        .ExpectText(D::kNumberEdit, "")
        .ExpectText(D::kNameEdit, "")
        .Click(IDCANCEL)
        .ExpectClosed();
    D dialog;
    dialog.DoModal();
    ExpectNoFailures(script);
}

TEST_F(ReportDialogTest, TaxFormFieldsWithOption52) {
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 1}});
    for (const int code : {84, 85}) {
        g_report.ReportCode = code;
        g_report.TaxTransmitterCode = "OLD";
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(kReportOptionsDialogId)
            .ExpectVisible(D::kTransmitterEdit, true)
            .ExpectVisible(D::kPayerLabel, true)
            .ExpectText(D::kTransmitterEdit, "")
            .SetText(D::kTransmitterEdit, "12345")
            .SetText(D::kPayerEdit, "SMIT")
            .Click(D::kGenerate)
            .ExpectClosed();
        D dialog;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        ExpectNoFailures(script);
        EXPECT_EQ(g_report.TaxTransmitterCode, "12345");
        EXPECT_EQ(g_report.PayerNameControl, "SMIT");
    }
    // Without the option the fields stay hidden and are emptied.
    fixtures::SetOptions({{records::Opt::kLoanLimitAndExtracts, 0}});
    g_report.ReportCode = 84;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .ExpectVisible(D::kTransmitterEdit, false)
        .Click(D::kGenerate)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_EQ(g_report.TaxTransmitterCode, "");
    EXPECT_EQ(g_report.PayerNameControl, "");
}

TEST_F(ReportDialogTest, ValuesStoredBeforeAFailedCheckStayStored) {
    g_report.ReportCode = 95;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportOptionsDialogId)
        .Click(D::kAllRadio)
        .SetText(D::kFirstDate, "2/30/98")
        .Click(D::kGenerate)
        .ExpectDialog(kReportErrorsDialogId)
        .Click(IDOK)
        .ExpectClosed()
        .SetText(D::kFirstDate, "2/28/98")
        .Click(D::kGenerate)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_EQ(g_report.StartDate, "02/28/98");
    EXPECT_EQ(g_report.SelectionScope, 1);
}

}  // namespace
