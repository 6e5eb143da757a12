#include "entry/cash_dialog.h"

#include <cstdio>

#include "engine/cash_posting.h"
#include "engine/lot_lists.h"
#include "records/record.h"
#include "records/transaction_lines.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace entry {
namespace {

using namespace platform;
using D = CCashDlg;

// The fourteen kinds, walked from the last and each put at the top, so
// that the box lists them from BC down to FI.
constexpr const char* kKinds[] = {"BC - Bank Charges",     "MF - Management Fee",  "IS - Bond Sale Int",
                                  "IP - Bond Prch Int",    "ME - Misc Expense",    "MI - Misc Income",
                                  "IE - Interest Expense", "II - Interest In",     "DE - Dividend Expense",
                                  "DI - Dividend Income",  "AO - Adj to Cash Out", "AI - Adj to Cash In",
                                  "FO - Cash Withdrawal",  "FI - Cash Received"};

const FieldLabels kLabels = {"Account", "Symbol", "Tran. Code", "Transaction Date",
                             "Symmmf",  "Amount", " ",          " ",
                             " ",       " ",      " ",          " ",
                             " ",       " ",      " ",          " ",
                             " ",       " "};

Node Field(const char* label, Node control) {
    return Row({Label(label).Chars(14), control});
}

DialogTemplate CashTemplate() {
    return {
        kCashDialogId, "Cash",
        Column({Static(kBalanceStatic, "").Chars(36), Field("Account", ComboBox(kAccountBox).Chars(10)),
                Row({Static(kAccountStatic, "").Chars(10), Stretch()}),
                Field("Symbol/Desc.", ComboBox(kSymbolBox).Chars(22)),
                Row({Static(D::kHiddenSymbolLabel, "Symmmf", kHidden | kDisabled).Chars(14),
                     ComboBox(D::kHiddenSymbol, kHidden | kDisabled).Chars(14)}),
                Field("Tran. Code", ComboBox(kCodeBox).Chars(22)), Field("Type", Edit(kTypeEdit).Chars(4)),
                Field("Trans. Date", Edit(kDateEdit).Chars(10)), Field("Amount", Edit(D::kAmount).Chars(16)),
                Row({Stretch(), Button(kPostButton, "Done", kDefault), Button(kDeleteButton, "Delete"),
                     Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

CCashDlg::CCashDlg(Window* parent) : CTransactionDlg(CashTemplate(), parent) {
    BindButtons();
    Bind(kAmount, Notify::Changed, [this] {
        shell::FilterNumberKey(GetDlgItem(kAmount));
        EnablePost();
    });
    Bind(kDateEdit, Notify::Changed, [this] {
        shell::FilterDateKey(GetDlgItem(kDateEdit));
        EnablePost();
    });
    Bind(kDateEdit, Notify::FocusGained, [this] { SelectAll(kDateEdit); });
    for (const int id : {kAccountBox, kSymbolBox}) Bind(id, Notify::SelChange, &D::OnBoxSelection);
    Bind(kAccountBox, Notify::FocusLost, &D::ShowCashBalance);
    for (const int id : {kAccountBox, kSymbolBox, kHiddenSymbol, kCodeBox})
        Bind(id, Notify::Changed, &D::EnablePost);
    for (const int id : {kHiddenSymbol, kCodeBox}) Bind(id, Notify::SelChange, &D::EnablePost);
    Bind(kTypeEdit, Notify::Changed, &D::EnablePost);
}

void CCashDlg::EnablePost() {
    GetDlgItem(kPostButton).EnableWindow(true);
}

void CCashDlg::OnBoxSelection() {
    Control box = GetDlgItem(kAccountBox);
    if (box.GetCurSel() >= 0) box.SetWindowText(box.GetText(box.GetCurSel()));
    ShowCashBalance();
    EnablePost();
}

void CCashDlg::ShowCashBalance() {
    double balance = 0;
    engine::Cashbal(records::Fixed(AccountText(), 8), balance);
    char text[64];
    std::snprintf(text, sizeof text, "Current cash bal: $%13.2lf", balance);
    SetDlgItemText(kBalanceStatic, text);
}

bool CCashDlg::OnInitDialog() {
    const CTranRecord* t = CurrentTranRecord;
    GetDlgItem(kAmount).LimitText(20);
    if (t) SetDlgItemText(kAmount, FormatDouble(t->amount));
    Control symbol = GetDlgItem(kSymbolBox);
    symbol.LimitText(20);
    shell::FillSecurityCombo(&symbol, nullptr);
    if (t) {
        // A cash line names its security or carries a description.
        const std::string text = records::TrimRight(t->description);
        symbol.SetWindowText(text.empty() ? records::TrimRight(t->symbol) : text);
    }
    Control code = GetDlgItem(kCodeBox);
    code.LimitText(4);
    if (t) code.SetWindowText(records::TrimRight(t->code));
    GetDlgItem(kTypeEdit).LimitText(2);
    GetDlgItem(kDateEdit).LimitText(8);
    if (t) {
        SetDlgItemText(kTypeEdit, records::TrimRight(t->entry_kind).substr(0, 2));
        SetDlgItemText(kDateEdit, records::TrimRight(t->trade_date));
    }
    Control hidden = GetDlgItem(kHiddenSymbol);
    hidden.LimitText(12);
    shell::FillSecurityCombo(&hidden, nullptr);

    ShowAccount();
    if (!t) {
        FillAccounts(true);
        SetDlgItemText(kPostButton, "Post");
        GetDlgItem(kDeleteButton).EnableWindow(false);
    }
    for (int k = 13; k >= 0; --k) code.InsertString(0, kKinds[k]);
    ShowCashBalance();
    return true;
}

bool CCashDlg::PostTransaction(bool remove) {
    std::string date = GetDlgItemText(kDateEdit);
    const std::string typed_date = date;
    if (!shell::CheckDateText(date)) shell::AddMessage("Illegal transaction date: " + typed_date);
    const std::string amount = GetDlgItemText(kAmount);
    const shell::NumberText number = shell::ReadNumberText(amount);
    if (!number.valid) shell::AddMessage("Illegal AMOUNT value: " + amount);
    if (shell::GetMessageCount() > 0) {
        shell::ShowMessageList();
        return false;
    }
    const std::string account = AccountText();
    const std::string code = CodeText();
    const std::string description = GetDlgItemText(kSymbolBox);
    const std::string type = GetDlgItemText(kTypeEdit).substr(0, 2);

    if (OfflineMode())
        return RewriteLine(remove, [&](std::string& view) {
            records::Record r(view.size());
            std::copy(view.begin(), view.end(), r.data());
            records::OfflineTranRecord o = records::OfflineTranRecord::Decode(r);
            o.account = records::Fixed(account, 8);
            o.symbol = records::Fixed(description, 12);
            o.trade_date = records::Fixed(date, 8);
            o.code = records::Fixed(code, 4);
            o.amount = number.value;
            // The type's characters over what was read.
            o.entry_kind.replace(0, type.size(), type);
            o.Encode(r);
            view.assign(reinterpret_cast<const char*>(r.data()), r.size());
        });

    engine::EntryForm form;
    form.SetField(1, account);
    form.SetField(3, code);
    form.SetField(4, date);
    form.SetField(5, GetDlgItemText(kHiddenSymbol));
    form.SetField(6, number.text);
    form.SetField(7, description);
    form.SetField(9, type);
    form.ClearResults();
    int32_t record = PostingRecord();
    engine::Fcash(Mode(remove), record, form);
    if (!form.Rejected(1, engine::kEntryStatusCount)) return true;
    AddPostingMessages(form, kLabels);
    shell::ShowMessageList();
    return false;
}

}  // namespace entry
