// The Transaction Editor selection dialog: its display in each sort order,
// the security list without "$" symbols, switching modes and what OK and
// Cancel (Enter presses OK) leave in the transaction selection.

#include <gtest/gtest.h>

#include <string>

#include "entry/tran_edit_select_dialog.h"
#include "platform/scripted_interaction.h"
#include "shell/tran_selection.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using entry::CTranEditSelectDlg;
using entry::kTranEditSelectDialogId;
using D = CTranEditSelectDlg;

class TranEditSelect : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteAccounts({{.id = "ACC1"}, {.id = "ACC2"}, {.id = "ACC3"}});
        fixtures::WriteSecurityIndex({"CASH", "$CASH", "IBM", "", "MSFT", "$$$$"});
        shell::SetTranSelection(shell::kTranSortByDate, "MSFT", "01/01/98", "ACC2");
    }
    void TearDown() override { shell::SetTranSelection(shell::kTranSortByDate, "", "", ""); }

    int Run() {
        CTranEditSelectDlg dialog;
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    fixtures::TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

std::function<std::string()> Lines(CTranEditSelectDlg*& dialog, int id, std::string expected) {
    return [&dialog, id, expected] {
        const Control list = dialog->GetDlgItem(id);
        std::string all;
        for (int i = 0; i < list.GetCount(); ++i) all += "[" + list.GetText(i) + "]";
        if (list.GetCurSel() >= 0) all += " sel " + list.GetText(list.GetCurSel());
        return all == expected ? std::string() : "lines " + all;
    };
}

TEST_F(TranEditSelect, DateModeShowsTheSelectionAndOkKeepsTheSecurity) {
    script_.ExpectDialog(kTranEditSelectDialogId)
        .ExpectChecked(D::kDateRadio, true)
        .ExpectChecked(D::kSecurityRadio, false)
        .ExpectText(D::kDateEdit, "01/01/98")
        .ExpectVisible(D::kDateEdit, true)
        .ExpectVisible(D::kDateLabel, true)
        .ExpectVisible(D::kSecurityList, false)
        .ExpectVisible(D::kSecurityLabel, false)
        .ExpectEnabled(D::kSecurityList, false)
        .SelectText(D::kAccountList, "ACC3")
        .SetText(D::kDateEdit, "06/30/98")
        .Press(Key::Enter)  // presses OK
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    const shell::TranSelection& s = shell::g_tran_selection;
    EXPECT_EQ(s.SortOption, shell::kTranSortByDate);
    EXPECT_EQ(s.Account, "ACC3");
    EXPECT_EQ(s.Security, "MSFT");
    EXPECT_EQ(s.Date, "06/30/98");
    EXPECT_EQ(s.parsed.month, 6);
    EXPECT_EQ(s.parsed.day, 30);
}

TEST_F(TranEditSelect, SecurityModeListsNoDollarSymbolsAndSwitchingKeepsTheDate) {
    CTranEditSelectDlg* shown = nullptr;
    script_.ExpectDialog(kTranEditSelectDialogId)
        .Run("the dialog",
             [&] {
                 shown = static_cast<CTranEditSelectDlg*>(Dialog::FindOpen(kTranEditSelectDialogId));
                 return shown ? "" : "not open";
             })
        .Run("the selection's account", Lines(shown, D::kAccountList, "[ACC1][ACC2][ACC3] sel ACC2"))
        .SetText(D::kDateEdit, "02/15/98")
        .Click(D::kSecurityRadio)
        .ExpectChecked(D::kSecurityRadio, true)
        .ExpectChecked(D::kDateRadio, false)
        .ExpectVisible(D::kDateEdit, false)
        .ExpectEnabled(D::kDateEdit, false)
        .ExpectVisible(D::kSecurityList, true)
        .Run("symbols without $ and blanks", Lines(shown, D::kSecurityList, "[CASH][IBM][MSFT] sel CASH"))
        .Click(D::kDateRadio)
        .ExpectText(D::kDateEdit, "02/15/98")
        .ExpectVisible(D::kSecurityList, false)
        .Click(D::kSecurityRadio)
        .SelectText(D::kSecurityList, "IBM")
        .Click(D::kOk)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    const shell::TranSelection& s = shell::g_tran_selection;
    EXPECT_EQ(s.SortOption, shell::kTranSortBySecurity);
    EXPECT_EQ(s.Security, "IBM");
    EXPECT_EQ(s.Account, "ACC2");
    EXPECT_EQ(s.Date, "02/15/98");
}

TEST_F(TranEditSelect, OpensInSecurityModeAndCancelKeepsTheSelection) {
    shell::SetTranSelection(shell::kTranSortBySecurity, "IBM", "bad", "ACC1");
    script_.ExpectDialog(kTranEditSelectDialogId)
        .ExpectChecked(D::kSecurityRadio, true)
        .ExpectVisible(D::kSecurityList, true)
        .ExpectVisible(D::kDateLabel, false)
        .SelectText(D::kAccountList, "ACC3")
        .Focus(IDCANCEL)
        .Press(Key::Enter)  // presses the button that has the focus
        .ExpectClosed();
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(shell::g_tran_selection.Account, "ACC1");
    EXPECT_EQ(shell::g_tran_selection.SortOption, shell::kTranSortBySecurity);
    EXPECT_EQ(shell::g_tran_selection.Security, "IBM");
}

}  // namespace
