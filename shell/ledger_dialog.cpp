// The transaction ledger dialog: set-up, the filters of the transaction
// codes, transaction type and security type, and Generate Report.

#include "shell/ledger_dialog.h"

#include <algorithm>

#include "platform/feedback.h"
#include "platform/message_box.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/group_lists.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace shell {
namespace {

using namespace platform;
using D = CTransactionLedgerDlg;

constexpr int kCompositeLedger = 204;

constexpr AccountChoiceIds kAccountChoice = {D::kAccountLabel, D::kAccountList, D::kGroupList,
                                             D::kManagerLabel, D::kManagerCombo};

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

DialogTemplate LedgerTemplate() {
    constexpr unsigned kOff = kHidden | kDisabled;
    return {
        kLedgerDialogId, "Transaction Ledger",
        Column({
            Row({Group(IDC_STATIC, "Account",
                       {Radio(D::kAllRadio, "All"), Radio(D::kSelectRadio, "Select", kChecked),
                        Radio(D::kGroupRadio, "Group", kOff)}),
                 // The accounts, or the manager code in their place.
                 Part({Static(D::kAccountLabel, "Account"), ListBox(D::kAccountList).Chars(12).Lines(6),
                       ListBox(D::kGroupList, kHidden).Chars(14).Lines(6)}),
                 Part({Static(D::kManagerLabel, "Manager Code"), ComboBox(D::kManagerCombo).Chars(8),
                       Stretch()})}),
            Row({Static(D::kStartLabel, "Start Date"), Edit(D::kStartDate).Chars(10),
                 Static(D::kEndLabel, "End Date"), Edit(D::kEndDate).Chars(10), Stretch()}),
            Row({Column({Static(D::kCodeLabel, "Transaction Code"),
                         ListBox(D::kCodeList, kMultiSelect).Chars(26).Lines(8)}),
                 Column({Static(D::kTypeLabel, "Transaction Type"), Edit(D::kTranType).Chars(4), Stretch()}),
                 Column({Static(D::kSecurityTypeLabel, "Security Type"),
                         ListBox(D::kSecurityTypeList).Chars(30).Lines(8)})}),
            OutputGroup(),
            FileNameRow(),
            Row({Static(D::kSecondFileLabel, "File Name", kOff), Edit(D::kSecondFileEdit, kOff).Chars(14),
                 Stretch()}),
            Row({Stretch(), Button(D::kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel")}),
        })};
}

}  // namespace

const std::vector<const char*>& LedgerCodeLines() {
    static const std::vector<const char*> lines = {"FI - Cash Received",
                                                   "FO - Cash Withdrawal",
                                                   "AI - Adj to Cash In",
                                                   "AO - Adj to Cash Out",
                                                   "DI - Dividend Income",
                                                   "DE - Dividend Expense",
                                                   "II - Interest In",
                                                   "IE - Interest Expense",
                                                   "MI - Misc Income",
                                                   "ME - Misc Expense",
                                                   "IP - Bond Prch Int",
                                                   "IS - Bond Sale Int",
                                                   "MF - Management Fee",
                                                   "BC - Bank Charges",
                                                   "B  - Buy",
                                                   "S  - Sell",
                                                   "SS - Short Sale",
                                                   "CS - Cover Short",
                                                   "SP - Stock Split",
                                                   "SI - Security Received",
                                                   "SO - Security Withdrawal"};
    return lines;
}

CTransactionLedgerDlg::CTransactionLedgerDlg(Window* parent) : Dialog(LedgerTemplate(), parent) {
    Bind(kGenerate, Notify::Clicked, &D::OnGenerateReport);
    Bind(kAllRadio, Notify::Clicked, &D::OnAll);
    Bind(kSelectRadio, Notify::Clicked, &D::OnSelect);
    Bind(kGroupRadio, Notify::Clicked, &D::OnGroup);
    BindOutputRadios(*this);
    for (const int id : {kStartDate, kEndDate})
        Bind(id, Notify::Changed, [this, id] { FilterDateKey(GetDlgItem(id)); });
    Bind(kTranType, Notify::Changed, &D::OnTranTypeChange);
    Bind(kCodeList, Notify::SelChange, &D::OnCodeSelection);
    Bind(kSecurityTypeList, Notify::SelChange, &D::OnSecurityTypeSelection);
}

bool CTransactionLedgerDlg::OnInitDialog() {
    const int code = g_report.ReportCode;
    CheckDlgButton(kAllRadio, 0);
    CheckDlgButton(kSelectRadio, 1);
    Show(*this, {kAccountLabel, kAccountList}, true);
    Show(*this, {kGroupList}, false);
    ShowEnable(*this, {kManagerLabel, kManagerCombo}, false);
    ResetOutput(*this);
    GetDlgItem(kStartDate).LimitText(kDateLimit);
    GetDlgItem(kEndDate).LimitText(kDateLimit);
    SetDlgItemText(kStartLabel, "Start Date");
    Show(*this, {kStartDate, kEndDate}, true);
    ShowEnable(*this, {kCodeLabel, kCodeList, kTypeLabel, kTranType, kSecurityTypeLabel, kSecurityTypeList},
               true);

    if (code == kCompositeLedger) {
        SetWindowText("Composite Transaction Ledger");
        ShowEnable(*this, {kAllRadio}, true);
        CheckDlgButton(kAllRadio, 1);
        CheckDlgButton(kSelectRadio, 0);
        SetDlgItemText(kSelectRadio, "Super Gps");
        ShowEnable(*this, {kGroupRadio}, true);
        CheckDlgButton(kGroupRadio, 0);
        Show(*this, {kAccountLabel, kAccountList}, false);
        ShowEnable(*this, {kManagerLabel, kManagerCombo}, true);
    } else {
        if (code == 81) SetWindowText("Transaction Ledger");
        if (code == 90) SetWindowText("Member Statement");
        FillAccountCombo(GetDlgItem(kAccountList));
    }
    GetDlgItem(kAccountList).SetCurSel(0);
    FillManagerCombo(GetDlgItem(kManagerCombo));
    GetDlgItem(kTranType).LimitText(2);
    Control codes = GetDlgItem(kCodeList);
    for (const char* line : LedgerCodeLines()) codes.AddString(line);
    FillTypeCombo(GetDlgItem(kSecurityTypeList));
    saved_security_type_ = -1;
    SetDlgItemText(kStartDate, g_report.StartDate);
    SetDlgItemText(kEndDate, g_report.EndDate);
    return true;
}

void CTransactionLedgerDlg::OnAll() {
    ChooseAllAccounts(*this, kAccountChoice);
}

void CTransactionLedgerDlg::OnSelect() {
    ChooseSelectedAccounts(*this, kAccountChoice, g_report.ReportCode == kCompositeLedger);
}

void CTransactionLedgerDlg::OnGroup() {
    ChooseGroupOfAccounts(*this, kAccountChoice);
}

void CTransactionLedgerDlg::OnCancel() {
    ClearMessageList();
    EndDialog(IDCANCEL);
}

void CTransactionLedgerDlg::OnTranTypeChange() {
    Control edit = GetDlgItem(kTranType);
    std::string text = edit.GetWindowText();
    const auto refused =
        std::find_if(text.begin(), text.end(), [](char c) { return !IsAsciiLetterOrDigit(c); });
    if (refused != text.end()) {
        const int at = static_cast<int>(refused - text.begin());
        text.erase(refused);
        edit.SetWindowText(text);
        edit.SetSel(at, at);
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    const auto lower = std::find_if(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (lower == text.end()) return;
    const int at = static_cast<int>(lower - text.begin());
    *lower = static_cast<char>(*lower - 'a' + 'A');
    // Setting the text runs this filter again, which takes the next
    // lower-case letter.
    edit.SetWindowText(text);
    const int caret = std::min(at + 2, static_cast<int>(edit.GetWindowText().size()));
    edit.SetSel(caret, caret);
}

void CTransactionLedgerDlg::OnCodeSelection() {
    Control codes = GetDlgItem(kCodeList);
    const int count = codes.GetSelCount();
    if (count < kMaxCodes) return;
    const std::vector<int> selected = codes.GetSelItems();
    if (count == kMaxCodes) {
        std::copy_n(selected.begin(), kMaxCodes, remembered_codes_.begin());
        return;
    }
    MessageBox("A Maximum of 5 Transaction codes are allowed.", "Transaction Ledger Diagnostic",
               MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
    const std::size_t considered = std::min<std::size_t>(selected.size(), kMaxCodes + 1);
    for (std::size_t i = 0; i < considered; ++i) {
        if (std::find(remembered_codes_.begin(), remembered_codes_.end(), selected[i]) !=
            remembered_codes_.end())
            continue;
        codes.SetItemSelected(selected[i], false);
        break;
    }
}

void CTransactionLedgerDlg::OnSecurityTypeSelection() {
    Control types = GetDlgItem(kSecurityTypeList);
    // A second click on the chosen type takes the choice back.
    if (types.GetCurSel() == saved_security_type_) types.SetCurSel(-1);
    saved_security_type_ = types.GetCurSel();
}

void CTransactionLedgerDlg::OnGenerateReport() {
    const int code = g_report.ReportCode;
    ClearMessageList();

    if (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupRadio))
        g_report.SelectionScope = 2;
    else if (IsDlgButtonChecked(kAllRadio))
        g_report.SelectionScope = 1;
    if (code != kCompositeLedger) {
        const Control accounts = GetDlgItem(kAccountList);
        g_report.SelectedAccount = accounts.GetText(accounts.GetCurSel());
    }
    g_report.ManagerCode = UpperCase(GetDlgItemText(kManagerCombo));
    g_report.StartDate = GetDlgItemText(kStartDate);
    g_report.EndDate = GetDlgItemText(kEndDate);
    const int32_t destination = CheckedDestination(*this);
    if (destination >= 0) g_report.OutputDestination = destination;
    if (destination == kOutputFile) g_report.OutputFileName = GetDlgItemText(kFileNameEdit);

    if (!CheckDateText(g_report.StartDate)) AddMessage("Illegal start date");
    if (!CheckDateText(g_report.EndDate)) AddMessage("Illegal end date");
    if (destination == kOutputFile && !CheckFileNameText(g_report.OutputFileName))
        AddMessage("Illegal file name");
    if (!ManagerCodeInCombo(g_report.ManagerCode, GetDlgItem(kManagerCombo))) AddMessage("Illegal secode");

    std::string type(4, ' ');
    const std::string typed = GetDlgItemText(kTranType);
    type.replace(0, std::min<std::size_t>(typed.size(), 4), typed.substr(0, 4));
    g_report.LedgerTranType = type;

    const Control types = GetDlgItem(kSecurityTypeList);
    g_report.LedgerSecurityType = "    ";
    if (const int line = types.GetCurSel(); line >= 0)
        g_report.LedgerSecurityType = PadFieldTo(types.GetText(line).substr(0, 2), 2) + "  ";

    std::string codes(20, ' ');
    const Control code_list = GetDlgItem(kCodeList);
    const std::vector<int> selected = code_list.GetSelItems();
    for (std::size_t k = 0; k < selected.size() && k < static_cast<std::size_t>(kMaxCodes); ++k)
        codes.replace(4 * k, 2, PadFieldTo(code_list.GetText(selected[k]), 2).substr(0, 2));
    g_report.LedgerTranCodes = codes;

    if (code == kCompositeLedger && (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupRadio)))
        WriteCompositeAccountList(IsDlgButtonChecked(kSelectRadio) != 0, GetDlgItem(kGroupList));

    if (GetMessageCount() == 0) {
        EndDialog(IDOK);
        return;
    }
    ShowMessageList();
}

}  // namespace shell
