#include "entry/transfers_dialog.h"

#include <algorithm>
#include <vector>

#include "engine/transfer_posting.h"
#include "records/broker_files.h"
#include "records/record.h"
#include "records/transaction_lines.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace entry {
namespace {

using namespace platform;
using D = CTransfersDlg;

const FieldLabels kLabels = {"Account",     "Symbol", "Tran. Code", "Transaction Date",
                             "Record Date", "Taxlot", "Broker",     "Purchase Date",
                             " ",           "Shares", "Amount",     "Cost",
                             " ",           " ",      " ",          " ",
                             " ",           " "};

Node Field(const char* label, Node control) {
    return Row({Label(label).Chars(14), control});
}

DialogTemplate TransfersTemplate() {
    return {
        kTransfersDialogId, "Transfers",
        Column(
            {Row({Column({Field("Account", ComboBox(kAccountBox).Chars(10)),
                          Row({Static(kAccountStatic, "").Chars(10), Stretch()}),
                          Field("Symbol", ComboBox(kSymbolBox).Chars(14)),
                          Field("Tran. Code", ComboBox(kCodeBox).Chars(24)),
                          Field("Type", Edit(kTypeEdit).Chars(4)), Field("Taxlot", Edit(D::kTaxLot).Chars(6)),
                          Field("Trans. Date", Edit(kDateEdit).Chars(10)),
                          Field("Broker", ComboBox(D::kBroker).Chars(10))}),
                  Column(
                      {Field("Shares", Edit(D::kShares).Chars(16)),
                       Field("Amount", Edit(D::kAmount).Chars(16)),
                       Group(D::kHistoricalGroup, "Historical",
                             {Row({Static(D::kPurchaseDateLabel, "Purchase Date").Chars(14),
                                   Edit(D::kPurchaseDate).Chars(10)}),
                              Row({Static(D::kCostLabel, "Cost").Chars(14), Edit(D::kCost).Chars(16)})})})}),
             Static(kBalanceStatic, "").Chars(36), Static(IDC_STATIC, kLotsHeading, kFixedPitch),
             ListBox(kLotsList, kFixedPitch).Chars(50).Lines(5),
             Row({Stretch(), Button(kPostButton, "Done", kDefault), Button(kDeleteButton, "Delete"),
                  Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

CTransfersDlg::CTransfersDlg(Window* parent) : CTransactionDlg(TransfersTemplate(), parent) {
    BindButtons();
    for (const int id : {kAmount, kCost, kShares})
        Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    for (const int id : {kDateEdit, kPurchaseDate}) {
        Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
        Bind(id, Notify::FocusGained, [this, id] { SelectAll(id); });
    }
    Bind(kCodeBox, Notify::Changed, [this] { ShowHistorical(GetDlgItemText(kCodeBox)); });
    Bind(kCodeBox, Notify::SelChange, [this] {
        Control box = GetDlgItem(kCodeBox);
        ShowHistorical(box.GetCurSel() >= 0 ? box.GetText(box.GetCurSel()) : box.GetWindowText());
    });
    for (const int id : {kAccountBox, kSymbolBox}) {
        Bind(id, Notify::SelChange, [this, id] { RefreshHoldings(id); });
        Bind(id, Notify::FocusLost, [this] { RefreshHoldings(0); });
    }
}

void CTransfersDlg::ShowHistorical(const std::string& code_text) {
    const std::string code = code_text.substr(0, 2);
    if (code != "SI" && code != "SO") return;
    const int show = code == "SI" ? SW_SHOW : SW_HIDE;
    for (const int id : {kHistoricalGroup, kPurchaseDateLabel, kPurchaseDate, kCostLabel, kCost})
        GetDlgItem(id).ShowWindow(show);
}

bool CTransfersDlg::OnInitDialog() {
    const CTranRecord* t = CurrentTranRecord;
    auto trimmed = [](const std::string& s) { return records::TrimRight(s); };
    Control symbol = GetDlgItem(kSymbolBox);
    symbol.LimitText(12);
    shell::FillSecurityCombo(&symbol, nullptr);
    if (t) symbol.SetWindowText(trimmed(t->symbol));
    Control code = GetDlgItem(kCodeBox);
    code.LimitText(4);
    if (t) {
        code.SetWindowText(trimmed(t->code));
        ShowHistorical(t->code);
    }
    GetDlgItem(kTaxLot).LimitText(4);
    GetDlgItem(kTypeEdit).LimitText(2);
    GetDlgItem(kDateEdit).LimitText(8);
    GetDlgItem(kPurchaseDate).LimitText(8);
    for (const int id : {kShares, kAmount, kCost}) GetDlgItem(id).LimitText(20);
    if (t) {
        SetDlgItemText(kTaxLot, trimmed(t->tax_lot));
        SetDlgItemText(kTypeEdit, trimmed(t->entry_kind).substr(0, 2));
        SetDlgItemText(kDateEdit, trimmed(t->trade_date));
        SetDlgItemText(kPurchaseDate, trimmed(t->second_date));
        SetDlgItemText(kShares, FormatDouble(t->quantity));
        SetDlgItemText(kAmount, FormatDouble(t->amount));
        SetDlgItemText(kCost, FormatDouble(t->second_amount));
    }
    // Broker codes, each put at the top.
    Control broker = GetDlgItem(kBroker);
    broker.LimitText(8);
    int16_t count = 0;
    if (records::Opnbrk(count) == 1) {
        for (int rec = 2, left = count; left > 0; ++rec, left -= 16) {
            std::vector<std::string> keys;
            if (records::Rdbidx(std::min(left, 16), rec, keys) % 10 != 1) break;
            for (const std::string& key : keys) broker.InsertString(0, records::TrimRight(key));
        }
    }
    records::Clsbrk();
    if (t) broker.SetWindowText(trimmed(t->broker));

    ShowAccount();
    if (!t) FillAccounts(true);
    // SI and SO, each put at the top: SO stands first.
    code.InsertString(0, "SI - Security Received");
    code.InsertString(0, "SO - Security Withdrawal");
    if (!t) {
        SetDlgItemText(kPostButton, "Post");
        GetDlgItem(kDeleteButton).EnableWindow(false);
    }
    RefreshHoldings(0);
    return true;
}

bool CTransfersDlg::PostTransaction(bool remove) {
    std::string date = GetDlgItemText(kDateEdit);
    const std::string typed_date = date;
    if (!shell::CheckDateText(date)) shell::AddMessage("Illegal transaction date: " + typed_date);
    std::string purchase = GetDlgItemText(kPurchaseDate);
    const std::string typed_purchase = purchase;
    if (!shell::CheckBlankOrDate(purchase)) shell::AddMessage("Illegal purchase date: " + typed_purchase);
    const std::string amount_text = GetDlgItemText(kAmount);
    const shell::NumberText amount = shell::ReadNumberText(amount_text);
    if (!amount.valid) shell::AddMessage("Illegal AMOUNT value: " + amount_text);
    const std::string cost_text = GetDlgItemText(kCost);
    const shell::NumberText cost = shell::ReadNumberText(cost_text);
    if (!cost.valid) shell::AddMessage("Illegal COST value: " + cost_text);
    const std::string shares_text = GetDlgItemText(kShares);
    const shell::NumberText shares = shell::ReadNumberText(shares_text);
    if (!shares.valid) shell::AddMessage("Illegal SHARES value: " + shares_text);
    if (shell::GetMessageCount() > 0) {
        shell::ShowMessageList();
        return false;
    }
    const std::string account = AccountText();
    const std::string symbol = GetDlgItemText(kSymbolBox);
    const std::string code = CodeText();
    const std::string lot = GetDlgItemText(kTaxLot);
    const std::string broker = GetDlgItemText(kBroker);
    const std::string type = GetDlgItemText(kTypeEdit);

    if (OfflineMode())
        return RewriteLine(remove, [&](std::string& view) {
            records::Record r(view.size());
            std::copy(view.begin(), view.end(), r.data());
            records::OfflineTranRecord o = records::OfflineTranRecord::Decode(r);
            o.account = records::Fixed(account, 8);
            o.symbol = records::Fixed(symbol, 12);
            o.tax_lot = records::Fixed(lot, 4);
            o.trade_date = records::Fixed(date, 8);
            o.code = records::Fixed(code, 4);
            o.shares = shares.value;
            o.amount = amount.value;
            o.broker = records::Fixed(broker, 8);
            o.second_date = records::Fixed(purchase, 8);
            o.second_amount = cost.value;
            o.entry_kind = records::Fixed(type, 4);
            o.Encode(r);
            view.assign(reinterpret_cast<const char*>(r.data()), r.size());
        });

    engine::EntryForm form;
    form.SetField(1, account);
    form.SetField(2, symbol);
    form.SetField(3, code);
    form.SetField(4, date);
    form.SetField(6, lot);
    form.SetField(7, broker);
    form.SetField(8, purchase);
    form.SetField(9, type);
    form.SetField(10, shares.text);
    form.SetField(11, amount.text);
    form.SetField(12, cost.text);
    form.ClearResults();
    int32_t record = PostingRecord();
    engine::Fasset(Mode(remove), record, form);
    if (!form.Rejected(1, engine::kEntryStatusCount)) return true;
    AddPostingMessages(form, kLabels);
    shell::ShowMessageList();
    return false;
}

}  // namespace entry
