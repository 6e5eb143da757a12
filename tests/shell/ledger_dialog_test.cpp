// The transaction ledger dialog: the set-up of its three report codes, the
// filters (at most five transaction codes, a transaction type of letters
// and digits in upper case, one security type that a second click takes
// back), what Generate Report stores, its messages, and the account list
// file of the composite ledger.

#include "shell/ledger_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/report_dialog_parts.h"
#include "tests/shell/report_dialog_fixture.h"

namespace {

using namespace platform;
using namespace shell;
using namespace dialog_test;
using D = CTransactionLedgerDlg;

const std::vector<int> kWatched = {
    D::kAllRadio,  D::kSelectRadio,       D::kGroupRadio,       D::kAccountLabel,  D::kAccountList,
    D::kGroupList, D::kManagerLabel,      D::kManagerCombo,     D::kStartLabel,    D::kStartDate,
    D::kEndLabel,  D::kEndDate,           D::kCodeLabel,        D::kCodeList,      D::kTypeLabel,
    D::kTranType,  D::kSecurityTypeLabel, D::kSecurityTypeList, D::kSecondFileEdit};

const std::set<int> kFilters = {D::kStartLabel,        D::kStartDate,       D::kEndLabel,  D::kEndDate,
                                D::kCodeLabel,         D::kCodeList,        D::kTypeLabel, D::kTranType,
                                D::kSecurityTypeLabel, D::kSecurityTypeList};

class LedgerTest : public ReportDialogTest {
protected:
    void SetUp() override {
        ReportDialogTest::SetUp();
        // The firm's security type codes, two characters each.
        records::Record r27(128, ' ');
        r27.SetText(0, 6, "CSPFBD");
        fixtures::WriteCommonRecord(27, r27);
    }
};

struct SetupCase {
    int code;
    std::string title;
    std::set<int> shown;
    std::string select_caption;
    bool all_checked;
    int accounts;  // lines of the account list
};

void PrintTo(const SetupCase& c, std::ostream* os) {
    *os << "code " << c.code;
}

class LedgerSetup : public LedgerTest, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(LedgerSetup, TitleControlsAndLists) {
    const SetupCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectOnOpening<D>(kLedgerDialogId, "set-up", [&](const D& dialog) {
        std::string out;
        if (dialog.GetWindowText() != c.title) out += "title \"" + dialog.GetWindowText() + "\"; ";
        out += CompareIds("shown", VisibleIds(dialog, kWatched), c.shown);
        if (dialog.GetDlgItemText(D::kSelectRadio) != c.select_caption) out += "select caption; ";
        if ((dialog.IsDlgButtonChecked(D::kAllRadio) != 0) != c.all_checked) out += "all; ";
        if (dialog.GetDlgItem(D::kAccountList).GetCount() != c.accounts) out += "accounts; ";
        const Control codes = dialog.GetDlgItem(D::kCodeList);
        if (codes.GetCount() != 21 || codes.GetText(0) != "FI - Cash Received" ||
            codes.GetText(14) != "B  - Buy" || codes.GetText(15) != "S  - Sell" ||
            codes.GetText(20) != "SO - Security Withdrawal")
            out += "transaction codes; ";
        const Control types = dialog.GetDlgItem(D::kSecurityTypeList);
        if (types.GetCount() != 22 || types.GetText(0).substr(0, 5) != "CS - " || types.GetCurSel() != -1)
            out += "security types; ";
        if (dialog.GetDlgItemText(D::kStartDate) != "01/01/98" ||
            dialog.GetDlgItemText(D::kEndDate) != "12/08/98")
            out += "dates; ";
        if (dialog.GetDlgItemText(D::kManagerCombo) != "????") out += "manager; ";
        return out;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LedgerSetup,
    ::testing::Values(
        SetupCase{81, "Transaction Ledger",
                  Join({kFilters, {D::kAllRadio, D::kSelectRadio, D::kAccountLabel, D::kAccountList}}),
                  "Select", false, 3},
        SetupCase{90, "Member Statement",
                  Join({kFilters, {D::kAllRadio, D::kSelectRadio, D::kAccountLabel, D::kAccountList}}),
                  "Select", false, 3},
        SetupCase{204, "Composite Transaction Ledger",
                  Join({kFilters,
                        {D::kAllRadio, D::kSelectRadio, D::kGroupRadio, D::kManagerLabel, D::kManagerCombo}}),
                  "Super Gps", true, 0}),
    [](const auto& info) { return "Code" + std::to_string(info.param.code); });

struct StoreCase {
    std::string name;
    int code;
    std::function<void(ScriptedInteraction&)> steps;
    std::string tran_codes;
    std::string tran_type;
    std::string security_type;
};

void PrintTo(const StoreCase& c, std::ostream* os) {
    *os << c.name;
}

class LedgerStore : public LedgerTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(LedgerStore, FiltersStoredInTheirSlots) {
    const StoreCase& c = GetParam();
    g_report.ReportCode = c.code;
    ExpectGenerated<D>(kLedgerDialogId, c.steps);
    EXPECT_EQ(g_report.LedgerTranCodes, c.tran_codes);
    EXPECT_EQ(g_report.LedgerTranType, c.tran_type);
    EXPECT_EQ(g_report.LedgerSecurityType, c.security_type);
}

const std::string k20Blanks(20, ' ');

INSTANTIATE_TEST_SUITE_P(
    Cases, LedgerStore,
    ::testing::Values(
        StoreCase{"NothingChosen", 81, [](ScriptedInteraction&) {}, k20Blanks, "    ", "    "},
        StoreCase{"OnlyBuy", 81, [](ScriptedInteraction& s) { s.SelectText(D::kCodeList, "B  - Buy"); },
                  "B   " + std::string(16, ' '), "    ", "    "},
        StoreCase{"FiveCodesInListOrder", 90,
                  [](ScriptedInteraction& s) {
                      s.Select(D::kCodeList, 20)
                          .Select(D::kCodeList, 0)
                          .Select(D::kCodeList, 4)
                          .Select(D::kCodeList, 14);
                      s.Select(D::kCodeList, 16);
                  },
                  "FI  DI  B   SS  SO  ", "    ", "    "},
        StoreCase{"ACodeChosenTwiceIsNotChosen", 81,
                  [](ScriptedInteraction& s) {
                      s.Select(D::kCodeList, 2).Select(D::kCodeList, 3).Select(D::kCodeList, 2);
                  },
                  "AO  " + std::string(16, ' '), "    ", "    "},
        StoreCase{"TypedTypeInUpperCase", 81, [](ScriptedInteraction& s) { s.Type(D::kTranType, "1a"); },
                  k20Blanks, "1A  ", "    "},
        StoreCase{"SecurityType", 204, [](ScriptedInteraction& s) { s.Select(D::kSecurityTypeList, 1); },
                  k20Blanks, "    ", "PF  "},
        StoreCase{
            "SecurityTypeChosenTwiceIsNone", 81,
            [](ScriptedInteraction& s) { s.Select(D::kSecurityTypeList, 2).Select(D::kSecurityTypeList, 2); },
            k20Blanks, "    ", "    "},
        StoreCase{"AnotherSecurityTypeAfterTakingOneBack", 81,
                  [](ScriptedInteraction& s) {
                      s.Select(D::kSecurityTypeList, 2)
                          .Select(D::kSecurityTypeList, 2)
                          .Select(D::kSecurityTypeList, 0);
                  },
                  k20Blanks, "    ", "CS  "}),
    [](const auto& info) { return info.param.name; });

TEST_F(LedgerTest, SelectionDatesOutputAndManagerStored) {
    g_report.ReportCode = 81;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kLedgerDialogId)
        .SelectText(D::kAccountList, "ACC003")
        .SetText(D::kStartDate, "7/1/98")
        .SetText(D::kEndDate, "9/30/98")
        .Click(kFileRadio)
        .SetText(kFileNameEdit, "LEDGER.TXT")
        .Click(D::kAllRadio)
        .ExpectVisible(D::kManagerCombo, true)
        .SetText(D::kManagerCombo, "cc4?")
        .Click(D::kGenerate)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_EQ(g_report.SelectionScope, 1);
    // The list lost its enabling with All, but its line is still taken.
    EXPECT_EQ(g_report.SelectedAccount, "ACC003");
    EXPECT_EQ(g_report.StartDate, "07/01/98");
    EXPECT_EQ(g_report.EndDate, "09/30/98");
    EXPECT_EQ(g_report.OutputDestination, kOutputFile);
    EXPECT_EQ(g_report.OutputFileName, "LEDGER.TXT");
    EXPECT_EQ(g_report.ManagerCode, "CC4?");
}

TEST_F(LedgerTest, SixthTransactionCodeIsRefusedAtOnce) {
    g_report.ReportCode = 81;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kLedgerDialogId);
    for (const int line : {1, 3, 5, 7, 9}) script.Select(D::kCodeList, line);
    script.Select(D::kCodeList, 0)
        .ExpectMessageBox("A Maximum of 5 Transaction codes are allowed.", IDOK,
                          "Transaction Ledger Diagnostic")
        .Run("the sixth is taken back",
             [&]() -> std::string {
                 const std::vector<int> chosen = dialog.GetDlgItem(D::kCodeList).GetSelItems();
                 return chosen == std::vector<int>{1, 3, 5, 7, 9} ? "" : "chosen lines";
             })
        // Another one may be chosen after one is taken back.
        .Select(D::kCodeList, 3)
        .Select(D::kCodeList, 2)
        .Click(D::kGenerate)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    ASSERT_EQ(script.MessageBoxes().size(), 1u);
    EXPECT_EQ(script.MessageBoxes()[0].flags & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(g_report.LedgerTranCodes, "FO  AI  DE  IE  ME  ");
}

TEST_F(LedgerTest, TransactionTypeTakesLettersAndDigitsInUpperCase) {
    g_report.ReportCode = 81;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kLedgerDialogId)
        .Type(D::kTranType, "b")
        .ExpectText(D::kTranType, "B")
        .Type(D::kTranType, " ")
        .ExpectText(D::kTranType, "B")
        .Type(D::kTranType, "-")
        .ExpectText(D::kTranType, "B")
        .SetText(D::kTranType, "xy")
        .ExpectText(D::kTranType, "XY")
        .SetText(D::kTranType, "a.")
        .ExpectText(D::kTranType, "A")
        .Click(IDCANCEL)
        .ExpectClosed();
    D dialog;
    dialog.DoModal();
    ExpectNoFailures(script);
    EXPECT_EQ(script.Beeps(), (std::vector<unsigned>{MB_ICONASTERISK, MB_ICONASTERISK, MB_ICONASTERISK}));
}

struct ErrorCase {
    std::string name;
    std::function<void(ScriptedInteraction&)> steps;
    std::vector<std::string> messages;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class LedgerErrors : public LedgerTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(LedgerErrors, BadEntriesAreListedAndTheDialogStaysOpen) {
    const ErrorCase& c = GetParam();
    g_report.ReportCode = 90;
    ExpectRefused<D>(kLedgerDialogId, c.steps, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LedgerErrors,
    ::testing::Values(
        ErrorCase{"EmptyStartDate",
                  [](ScriptedInteraction& s) { s.SetText(D::kStartDate, ""); },
                  {"1.Illegal start date"}},
        ErrorCase{"EndDate",
                  [](ScriptedInteraction& s) { s.SetText(D::kEndDate, "9/31/98"); },
                  {"1.Illegal end date"}},
        ErrorCase{"FileName",
                  [](ScriptedInteraction& s) { s.Click(kFileRadio).SetText(kFileNameEdit, "TOO_LONG_NAME"); },
                  {"1.Illegal file name"}},
        ErrorCase{"ManagerCode",
                  [](ScriptedInteraction& s) { s.Click(D::kAllRadio).SetText(D::kManagerCombo, "NONE"); },
                  {"1.Illegal secode"}},
        ErrorCase{"AllAtOnce",
                  [](ScriptedInteraction& s) {
                      s.SetText(D::kStartDate, "0/1/98").SetText(D::kEndDate, "1/0/98").Click(kFileRadio);
                  },
                  {"1.Illegal start date", "2.Illegal end date", "3.Illegal file name"}}),
    [](const auto& info) { return info.param.name; });

struct CompositeCase {
    std::string name;
    int radio;
    std::string entry;
    std::string list_file;
};

void PrintTo(const CompositeCase& c, std::ostream* os) {
    *os << c.name;
}

class LedgerComposite : public LedgerTest, public ::testing::WithParamInterface<CompositeCase> {};

TEST_P(LedgerComposite, GroupChoiceWritesTheAccountListFile) {
    const CompositeCase& c = GetParam();
    g_report.ReportCode = 204;
    ExpectGenerated<D>(kLedgerDialogId, [&](ScriptedInteraction& script) {
        if (c.radio)
            script.Click(c.radio).ExpectEnabled(D::kGroupList, true).SelectText(D::kGroupList, c.entry);
    });
    if (c.list_file.empty()) {
        EXPECT_FALSE(fixtures::TempDataDir::Exists("compfile.lst"));
        EXPECT_EQ(g_report.SelectionScope, 1);
        EXPECT_EQ(g_report.ListFileName, "");
    } else {
        EXPECT_EQ(ReadText("compfile.lst"), c.list_file);
        EXPECT_EQ(g_report.ListFileName, "compfile.lst");
        EXPECT_EQ(g_report.SelectionScope, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LedgerComposite,
    ::testing::Values(CompositeCase{"AllAccountsNeedsNoGroup", 0, "", ""},
                      CompositeCase{"SuperGroup", D::kSelectRadio, "BOTH", "ACC001\r\nACC002\r\nACC003\r\n"},
                      CompositeCase{"Group", D::kGroupRadio, "GROWTH", "ACC001\r\nACC002\r\n"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
