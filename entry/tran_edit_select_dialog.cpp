#include "entry/tran_edit_select_dialog.h"

#include "shell/dispatch.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/main_frame.h"
#include "shell/tran_selection.h"

namespace entry {
namespace {

using namespace platform;
using D = CTranEditSelectDlg;

DialogTemplate SelectTemplate() {
    return {kTranEditSelectDialogId, "Transaction Editor",
            Column({Row({Label("Account").Chars(10), ListBox(D::kAccountList).Chars(12).Lines(6)}),
                    Row({Radio(D::kDateRadio, "Date", kGroupStart), Radio(D::kSecurityRadio, "Security")}),
                    Row({Static(D::kDateLabel, "Start Date").Chars(10), Edit(D::kDateEdit).Chars(10)}),
                    Row({Static(D::kSecurityLabel, "Security").Chars(10),
                         ListBox(D::kSecurityList).Chars(14).Lines(8)}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

CTranEditSelectDlg::CTranEditSelectDlg(Window* parent) : Dialog(SelectTemplate(), parent) {
    Bind(kAccountList, Notify::SelChange, &D::OnAccountChange);
    Bind(kDateEdit, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kDateEdit)); });
    Bind(kDateRadio, Notify::Clicked, [this] {
        if (mode_ == 1) ShowDateMode();
    });
    Bind(kSecurityRadio, Notify::Clicked, [this] {
        if (mode_ == 0) ShowSecurityMode();
    });
    Bind(kOk, Notify::Clicked, &D::OnOkClicked);
}

bool CTranEditSelectDlg::OnInitDialog() {
    Control accounts = GetDlgItem(kAccountList);
    shell::FillAccountCombo(accounts);
    const int line = accounts.SelectString(-1, shell::g_tran_selection.Account);
    if (line >= 0) accounts.SetCurSel(line);
    if (shell::g_tran_selection.SortOption == shell::kTranSortBySecurity) {
        ShowSecurityMode();
    } else {
        ShowDateMode();
        SetDlgItemText(kDateEdit, shell::g_tran_selection.Date);
    }
    return true;
}

// The dialog asks which transactions to list, not for data: Enter presses
// OK (or the push button that has the focus), as in a desktop program's
// dialogs.
bool CTranEditSelectDlg::OnEnterKey() {
    return PressDefaultButton() || Dialog::OnEnterKey();
}

void CTranEditSelectDlg::ShowDateMode() {
    mode_ = 0;
    CheckRadioButton(kDateRadio, kSecurityRadio, kDateRadio);
    GetDlgItem(kSecurityRadio).SetCheck(0);
    for (const int id : {kDateEdit, kDateLabel}) {
        GetDlgItem(id).EnableWindow(true);
        GetDlgItem(id).ShowWindow(SW_SHOW);
    }
    for (const int id : {kSecurityList, kSecurityLabel}) {
        GetDlgItem(id).EnableWindow(false);
        GetDlgItem(id).ShowWindow(SW_HIDE);
    }
}

void CTranEditSelectDlg::ShowSecurityMode() {
    mode_ = 1;
    CheckRadioButton(kDateRadio, kSecurityRadio, kSecurityRadio);
    GetDlgItem(kDateRadio).SetCheck(0);
    for (const int id : {kDateEdit, kDateLabel}) {
        GetDlgItem(id).ShowWindow(SW_HIDE);
        GetDlgItem(id).EnableWindow(false);
    }
    for (const int id : {kSecurityList, kSecurityLabel}) {
        GetDlgItem(id).EnableWindow(true);
        GetDlgItem(id).ShowWindow(SW_SHOW);
    }
    FillSecurityList();
}

// Every symbol of SECURITY.IDX but the empty ones and those beginning with
// "$" (the index's end marker among them); the first line selected.
void CTranEditSelectDlg::FillSecurityList() {
    Control list = GetDlgItem(kSecurityList);
    list.ResetContent();
    shell::FillSecurityCombo(&list, nullptr);
    list.SetCurSel(0);
}

void CTranEditSelectDlg::OnAccountChange() {
    if (GetDlgItem(kSecurityList).IsWindowVisible()) FillSecurityList();
}

void CTranEditSelectDlg::OnOkClicked() {
    const bool by_security = GetDlgItem(kDateRadio).GetCheck() == 0;
    std::string security = shell::g_tran_selection.Security;
    if (by_security) {
        const Control list = GetDlgItem(kSecurityList);
        security = list.GetText(list.GetCurSel());
    }
    const Control accounts = GetDlgItem(kAccountList);
    const std::string account = accounts.GetText(accounts.GetCurSel());
    shell::SetTranSelection(by_security ? shell::kTranSortBySecurity : shell::kTranSortByDate, security,
                            GetDlgItemText(kDateEdit), account);
    EndDialog(IDOK);
}

void RegisterTranEditSelect() {
    shell::RegisterCodeDialog(21, [](int, shell::CMainFrame& frame) {
        CTranEditSelectDlg dialog(&frame);
        return dialog.DoModal() == IDOK;
    });
}

}  // namespace entry
