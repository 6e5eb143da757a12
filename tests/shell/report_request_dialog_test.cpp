// The report request dialog: the set-up of each of its report codes (title,
// controls, broker or custodian list, the extra fields), what Generate
// Report stores, and the message of each bad entry.

#include "shell/report_request_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeySequence>
#include <QLabel>
#include <functional>
#include <map>

#include "shell/report_dialog_parts.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;
using D = CReportRequestDlg;

const std::vector<int> kWatched = {
    D::kReportDateLabel, D::kReportDate,  D::kAccountGroup,    D::kAllRadio,
    D::kSelectRadio,     D::kBrokerGroup, D::kBrokerList,      D::kManagerCombo,
    D::kPostedLabel,     D::kPostedDate,  D::kSecondDateLabel, D::kSecondDate,
    D::kSearchLabel,     D::kSearchEdit,  D::kYearLabel,       D::kYearEdit};

const std::set<int> kReportDate = {D::kReportDateLabel, D::kReportDate};
const std::set<int> kBrokers = {D::kAllRadio, D::kSelectRadio, D::kBrokerGroup, D::kBrokerList};
const std::set<int> kManager = {D::kManagerCombo};
// The Account frame shows while one of its radios does.
const std::set<int> kAccountFrame = {D::kAccountGroup};

struct SetupCase {
    int code;
    std::string title;
    std::set<int> shown;
    std::vector<std::string> list;  // lines of the broker list
    std::vector<std::pair<int, std::string>> texts = {};
};

void PrintTo(const SetupCase& c, std::ostream* os) {
    *os << "code " << c.code;
}

const std::vector<std::string> kBrokerLines = {"BRK1", "BRK2"};

// The dialog's keys: Alt+G is Generate Report, and no two controls share a
// letter.
std::string KeyProblems(const D& dialog) {
    std::string out;
    std::map<QString, QString> owners;
    const auto take = [&](const QString& text) {
        const QString key = QKeySequence::mnemonic(text).toString();
        if (key.isEmpty()) return;
        if (!owners.emplace(key, text).second)
            out += "\"" + text.toStdString() + "\" shares " + key.toStdString() + "; ";
    };
    for (const QAbstractButton* b : dialog.GetWidget()->findChildren<QAbstractButton*>()) take(b->text());
    for (const QLabel* l : dialog.GetWidget()->findChildren<QLabel*>())
        if (l->buddy()) take(l->text());
    const auto* generate = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(D::kGenerate).Widget());
    if (!generate || QKeySequence::mnemonic(generate->text()) != QKeySequence("Alt+G"))
        out += "Generate Report is not Alt+G; ";
    return out;
}

const std::vector<SetupCase> kSetups = {
    {183, "Broker List", kBrokers, kBrokerLines, {{D::kBrokerGroup, "Broker"}}},
    {185, "Custodian List", kBrokers, {"CUS1", "CUS2", "CUS3"}, {{D::kBrokerGroup, "Custodian"}}},
    {94,
     "Commission Detail by Broker",
     Join({kReportDate, kBrokers, kAccountFrame, kManager}),
     kBrokerLines,
     {{D::kReportDate, "12/08/98"}}},
    {86, "Commissions By Broker", Join({kReportDate, kBrokers, kAccountFrame, kManager}), kBrokerLines},
    {87, "Maturity and Expiration Alert", Join({kReportDate, kManager}), {}},
    {93, "Commissions by Account", Join({kReportDate, kManager}), {}},
    {109,
     "Summary of Accounts",
     Join({kReportDate, kManager, {D::kSecondDateLabel, D::kSecondDate}}),
     {},
     {{D::kSecondDateLabel, "Pricing Date"}, {D::kSecondDate, ""}}},
    {262, "Billing Summary", kManager, {}},
    {303,
     "Post Income",
     Join({kReportDate, kManager, {D::kSecondDateLabel, D::kSecondDate, D::kPostedLabel, D::kPostedDate}}),
     {},
     {{D::kReportDateLabel, "Post Through"},
      {D::kSecondDate, "12/08/98"},
      {D::kSecondDateLabel, "Posting to be Done Through"},
      {D::kPostedLabel, "Income Has Been Posted Through"},
      {D::kPostedDate, "11/30/98"}}},
    {243, "Transaction Import Report", {}, {}},
    {302, "Securities with Payable Dates", {}, {}},
    {244, "Post Import Transactions", {}, {}},
    {362, "Stock Split Report", {D::kYearLabel, D::kYearEdit}, {}, {{D::kYearEdit, "1998"}}},
    {363, "Post Stock Splits", {D::kYearLabel, D::kYearEdit}, {}, {{D::kYearEdit, "1998"}}},
    {341,
     "Account ID Search",
     {D::kSearchLabel, D::kSearchEdit},
     {},
     {{D::kSearchLabel, "Account Short Name"}}},
    {342,
     "Custodian ID Search",
     {D::kSearchLabel, D::kSearchEdit},
     {},
     {{D::kSearchLabel, "Custodian Account Number"}}},
    {343,
     "Security ID Search",
     {D::kSearchLabel, D::kSearchEdit},
     {},
     {{D::kSearchLabel, "Security Description"}}},
};

class ReportRequestSetup : public ReportDialogTest, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(ReportRequestSetup, TitleControlsListsAndFields) {
    const SetupCase& c = GetParam();
    g_report.ReportCode = c.code;
    records::Record r7(128, ' ');
    r7.SetText(0, 8, "11/30/98");
    fixtures::WriteCommonRecord(7, r7);
    ExpectOnOpening<D>(kReportRequestDialogId, "set-up", [&](const D& dialog) {
        std::string out;
        if (dialog.GetWindowText() != c.title) out += "title \"" + dialog.GetWindowText() + "\"; ";
        out += CompareIds("shown", VisibleIds(dialog, kWatched), c.shown);
        const Control list = dialog.GetDlgItem(D::kBrokerList);
        std::vector<std::string> lines;
        for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
        if (lines != c.list) out += "broker list; ";
        if (!lines.empty() && (list.GetCurSel() != 0 || !list.IsWindowEnabled())) out += "first line; ";
        for (const auto& [id, text] : c.texts)
            if (dialog.GetDlgItemText(id) != text)
                out += std::to_string(id) + " reads \"" + dialog.GetDlgItemText(id) + "\"; ";
        if (!dialog.IsDlgButtonChecked(D::kSelectRadio) || dialog.IsDlgButtonChecked(D::kAllRadio))
            out += "account radios; ";
        if (!dialog.IsDlgButtonChecked(kDisplayRadio)) out += "not on Display; ";
        out += KeyProblems(dialog);
        const bool managers = c.code != 183 && c.code != 185;
        const Control combo = dialog.GetDlgItem(D::kManagerCombo);
        if (managers != (combo.GetCount() == 7)) out += "manager codes " + std::to_string(combo.GetCount());
        return out;
    });
}

INSTANTIATE_TEST_SUITE_P(Codes, ReportRequestSetup, ::testing::ValuesIn(kSetups),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

TEST(ReportRequestCodes, SeventeenCodes) {
    int served = 0;
    for (int code = 0; code < 400; ++code) served += IsReportRequestCode(code) ? 1 : 0;
    EXPECT_EQ(served, 17);
}

TEST(ReportRequestCodes, SplitYearFollowsTheTwoDigitYearWindow) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"12/08/98", 1998}, {"01/01/05", 2005}, {"01/01/50", 2050}, {"01/01/51", 1951}, {"06/30/00", 2000},
        {"", 2000},         {"1/1", 2000},      {"1/1/123", 2000},  {"1/1/-5", 2000},   {"1/1/99", 1999}};
    for (const auto& [date, year] : cases) EXPECT_EQ(DefaultSplitYear(date), year) << date;
}

struct StoreCase {
    std::string name;
    int code;
    std::function<void(ScriptedInteraction&)> steps;
    std::function<std::string()> check;
};

void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<StoreCase> kStores = {
    {"BrokerManagerAndDate", 94,
     [](ScriptedInteraction& s) {
         s.Select(D::kBrokerList, 1).SetText(D::kManagerCombo, "mgr2").SetText(D::kReportDate, "1/4/99");
     },
     [] {
         return Expect("account", g_report.SelectedAccount, "BRK2") +
                Expect("manager", g_report.ManagerCode, "MGR2") +
                Expect("end", g_report.EndDate, "01/04/99") + Expect("scope", g_report.SelectionScope, 2) +
                Expect("destination", g_report.OutputDestination, kOutputDisplay);
     }},
    {"AllBrokersStillTakeTheSelectedLine", 183,
     [](ScriptedInteraction& s) { s.Click(D::kAllRadio).ExpectEnabled(D::kBrokerList, false); },
     [] {
         return Expect("scope", g_report.SelectionScope, 1) +
                Expect("account", g_report.SelectedAccount, "BRK1") +
                Expect("manager untouched", g_report.ManagerCode, "KEEP");
     }},
    {"Custodian", 185, [](ScriptedInteraction& s) { s.SelectText(D::kBrokerList, "CUS3"); },
     [] { return Expect("account", g_report.SelectedAccount, "CUS3"); }},
    {"NoBrokerKeepsTheAccount", 87, [](ScriptedInteraction& s) { s.SelectText(D::kManagerCombo, "DD74"); },
     [] {
         return Expect("account", g_report.SelectedAccount, "KEEP") +
                Expect("manager", g_report.ManagerCode, "DD74");
     }},
    {"PricingDate", 109, [](ScriptedInteraction& s) { s.SetText(D::kSecondDate, "11/30/98"); },
     [] {
         return Expect("start", g_report.StartDate, "11/30/98") + Expect("end", g_report.EndDate, "12/08/98");
     }},
    {"PostThroughDate", 303, [](ScriptedInteraction& s) { s.SetText(D::kSecondDate, "12/31/98"); },
     [] { return Expect("start", g_report.StartDate, "12/31/98"); }},
    {"SplitYear", 362, [](ScriptedInteraction& s) { s.SetText(D::kYearEdit, "2100"); },
     [] {
         return Expect("year", g_report.SplitYear, 2100) +
                Expect("manager untouched", g_report.ManagerCode, "KEEP");
     }},
    {"SplitYearAsOffered", 363, [](ScriptedInteraction&) {},
     [] { return Expect("year", g_report.SplitYear, 1998); }},
    {"SearchTextWithoutManagerCheck", 343,
     [](ScriptedInteraction& s) { s.SetText(D::kSearchEdit, "INTL BUSINESS MACHINES CORP 1234"); },
     [] {
         return Expect("search", g_report.SelectedAccount, "INTL BUSINESS MACHINES CORP 1234") +
                Expect("manager untouched", g_report.ManagerCode, "KEEP");
     }},
    {"UtilityRunToAFile", 243,
     [](ScriptedInteraction& s) { s.Click(kFileRadio).SetText(kFileNameEdit, "IMPORT.RPT"); },
     [] {
         return Expect("destination", g_report.OutputDestination, kOutputFile) +
                Expect("file", g_report.OutputFileName, "IMPORT.RPT") +
                Expect("end", g_report.EndDate, "12/08/98");
     }},
};

class ReportRequestStore : public ReportDialogTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(ReportRequestStore, GenerateReportStoresTheSelection) {
    const StoreCase& c = GetParam();
    g_report.ReportCode = c.code;
    g_report.SelectedAccount = "KEEP";
    g_report.ManagerCode = "KEEP";
    ExpectGenerated<D>(kReportRequestDialogId, c.steps);
    EXPECT_EQ(c.check(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportRequestStore, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return info.param.name; });

struct ErrorCase {
    std::string name;
    int code;
    std::function<void(ScriptedInteraction&)> steps;
    std::vector<std::string> messages;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<ErrorCase> kErrors = {
    {"ReportDate",
     94,
     [](ScriptedInteraction& s) { s.SetText(D::kReportDate, "13/13/98"); },
     {"1.Illegal report date"}},
    {"EmptyPricingDate", 109, [](ScriptedInteraction&) {}, {"1.Illegal Pricing Date: "}},
    {"PostThroughDate",
     303,
     [](ScriptedInteraction& s) { s.SetText(D::kSecondDate, "2/30/98"); },
     {"1.Illegal Post Thru date: 2/30/98"}},
    {"TwoDigitYear",
     362,
     [](ScriptedInteraction& s) { s.SetText(D::kYearEdit, "98"); },
     {"1.Illegal year: 98"}},
    {"YearAfter2100",
     363,
     [](ScriptedInteraction& s) { s.SetText(D::kYearEdit, "2101"); },
     {"1.Illegal year: 2101"}},
    {"YearBefore1900",
     362,
     [](ScriptedInteraction& s) { s.SetText(D::kYearEdit, "1899"); },
     {"1.Illegal year: 1899"}},
    {"YearNotANumber",
     362,
     [](ScriptedInteraction& s) { s.SetText(D::kYearEdit, "19x9"); },
     {"1.Illegal year: 19x9"}},
    {"ManagerCodeInLowerCase",
     87,
     [](ScriptedInteraction& s) { s.SetText(D::kManagerCombo, "qqqq"); },
     {"1.Illegal id: QQQQ"}},
    {"FileName",
     93,
     [](ScriptedInteraction& s) { s.Click(kFileRadio).SetText(kFileNameEdit, "A.B.C"); },
     {"1.Illegal file name"}},
    {"EverythingAtOnce",
     109,
     [](ScriptedInteraction& s) {
         s.SetText(D::kReportDate, "")
             .SetText(D::kSecondDate, "1/32/98")
             .SetText(D::kManagerCombo, "X")
             .Click(kFileRadio);
     },
     {"1.Illegal Pricing Date: 1/32/98", "2.Illegal report date", "3.Illegal file name", "4.Illegal id: X"}},
};

class ReportRequestErrors : public ReportDialogTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ReportRequestErrors, BadEntriesAreListedAndTheDialogStaysOpen) {
    const ErrorCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectRefused<D>(kReportRequestDialogId, c.steps, c.messages);
    EXPECT_EQ(GetMessageCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportRequestErrors, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return info.param.name; });

TEST_F(ReportDialogTest, RequestDialogHiddenReportDateStillChecked) {
    // The billing summary hides its report date, which still holds the end
    // date it started with; an empty one is refused.
    g_report.ReportCode = 262;
    g_report.EndDate = "";
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportRequestDialogId)
        .Click(D::kGenerate)
        .ExpectDialog(kReportErrorsDialogId)
        .Run("message",
             [] { return Messages() == std::vector<std::string>{"1.Illegal report date"} ? "" : "messages"; })
        .Click(IDOK)
        .ExpectClosed()
        .Click(IDCANCEL)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
}

TEST_F(ReportDialogTest, RequestDialogRadiosAndOutput) {
    g_report.ReportCode = 86;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kReportRequestDialogId)
        .Click(D::kAllRadio)
        .ExpectEnabled(D::kBrokerList, false)
        .Click(D::kSelectRadio)
        .ExpectEnabled(D::kBrokerList, true)
        .Click(kFileRadio)
        .ExpectVisible(kFileNameLabel, true)
        .Click(kDisplayRadio)
        .ExpectVisible(kFileNameEdit, false)
        // Escape is Cancel.
        .Press(Key::Escape)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
}

}  // namespace
