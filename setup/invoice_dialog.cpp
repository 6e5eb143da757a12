// Client Invoices.

#include "setup/invoice_dialog.h"

#include <cctype>

#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace setup {
namespace {

using namespace platform;
using D = CClientInvoicesDlg;

DialogTemplate ClientInvoicesTemplate() {
    return {kClientInvoicesDialogId, "Client Invoices",
            Column({Row({Group(IDC_STATIC, "Account",
                               {Radio(D::kAllRadio, "All"), Radio(D::kSelectRadio, "Select", kChecked)}),
                         Group(D::kAccountGroup, "Account",
                               {ComboBox(D::kManagerCombo, kHidden | kDisabled).Chars(8).Lines(8),
                                ListBox(D::kAccounts).Chars(10).Lines(6)}),
                         Column({CheckBox(D::kPostFees, "Post Management Fees"),
                                 CheckBox(D::kAccruedInterest, "Report Accrued Interest"),
                                 CheckBox(D::kUpdateBalance, "Update Balance Due"), Stretch()})}),
                    Row({Label("Position Priced as of Date"), Edit(D::kPricedDate).Chars(10), Stretch()}),
                    Row({Static(D::kPostDateLabel, "Post Fees as of Date", kHidden | kDisabled),
                         Edit(D::kPostDate, kHidden | kDisabled).Chars(10), Stretch()}),
                    shell::OutputGroup(), shell::FileNameRow(),
                    Row({Stretch(), Button(D::kGenerate, "Generate Report", kDefault),
                         Button(D::kCancel, "Cancel")})})};
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

CClientInvoicesDlg::CClientInvoicesDlg(Window* parent) : Dialog(ClientInvoicesTemplate(), parent) {
    Bind(kAllRadio, Notify::Clicked, &D::OnAll);
    Bind(kSelectRadio, Notify::Clicked, &D::OnSelect);
    Bind(kPostFees, Notify::Clicked, &D::OnPostFees);
    for (const int id : {kPricedDate, kPostDate})
        Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
    shell::BindOutputRadios(*this);
    Bind(kGenerate, Notify::Clicked, &D::OnOK);
    Bind(kCancel, Notify::Clicked, &D::OnCancel);
}

bool CClientInvoicesDlg::OnInitDialog() {
    shell::FillManagerCombo(GetDlgItem(kManagerCombo));
    shell::FillAccountCombo(GetDlgItem(kAccounts));
    CheckDlgButton(kSelectRadio, 1);
    CheckDlgButton(kAllRadio, 0);
    shell::ResetOutput(*this);
    for (const int id : {kPricedDate, kPostDate}) GetDlgItem(id).LimitText(shell::kDateLimit);
    return true;
}

void CClientInvoicesDlg::OnAll() {
    shell::ShowEnable(*this, {kAccounts}, false);
    SetDlgItemText(kAccountGroup, "Manager Code");
    shell::ShowEnable(*this, {kManagerCombo}, true);
}

void CClientInvoicesDlg::OnSelect() {
    shell::ShowEnable(*this, {kAccounts}, true);
    SetDlgItemText(kAccountGroup, "Account");
    shell::ShowEnable(*this, {kManagerCombo}, false);
}

void CClientInvoicesDlg::OnPostFees() {
    shell::ShowEnable(*this, {kPostDateLabel, kPostDate}, IsDlgButtonChecked(kPostFees) != 0);
}

void CClientInvoicesDlg::OnOK() {
    shell::ClearMessageList();
    shell::ReportGlobals& g = shell::g_report;
    // What the checks below refuse stays in the globals: the request is
    // only run once every check passes.
    g.SelectionScope = IsDlgButtonChecked(kAllRadio) ? 1 : 2;
    g.ReportFlag1 = IsDlgButtonChecked(kPostFees) ? 1 : 0;
    g.ReportFlag2 = IsDlgButtonChecked(kAccruedInterest) ? 1 : 0;
    g.ReportFlag3 = IsDlgButtonChecked(kUpdateBalance) ? 1 : 0;
    const Control accounts = GetDlgItem(kAccounts);
    g.SelectedAccount = accounts.GetCurSel() < 0 ? std::string() : accounts.GetText(accounts.GetCurSel());
    g.ManagerCode = Upper(GetDlgItemText(kManagerCombo));
    const int32_t destination = shell::CheckedDestination(*this);
    if (destination >= 0) g.OutputDestination = destination;
    if (destination == shell::kOutputFile) g.OutputFileName = GetDlgItemText(shell::kFileNameEdit);

    g.EndDate = GetDlgItemText(kPricedDate);
    if (!shell::CheckDateText(g.EndDate)) shell::AddMessage("Illegal date");
    if (IsDlgButtonChecked(kPostFees)) {
        g.StartDate = GetDlgItemText(kPostDate);
        if (!shell::CheckDateText(g.StartDate)) shell::AddMessage("Illegal post date");
    }
    if (destination == shell::kOutputFile && !shell::CheckFileNameText(g.OutputFileName))
        shell::AddMessage("Illegal file name");

    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    EndDialog(IDOK);
}

void CClientInvoicesDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

}  // namespace setup
