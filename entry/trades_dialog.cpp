#include "entry/trades_dialog.h"

#include <cstdio>

#include "engine/trade_posting.h"
#include "platform/message_box.h"
#include "records/record.h"
#include "records/transaction_lines.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace entry {
namespace {

using namespace platform;
using D = CTradesDlg;

constexpr const char* kCodes[] = {"B  - Buy", "S  - Sell", "SS - Short Sale", "CS - Cover Short",
                                  "SP - Stock Split"};

// Flag 9 has no field of its own: posting sets it mainly when a sale or
// cover is larger than what its lot holds, which the shares must mend, so
// its messages are shown under the shares.
const FieldLabels kLabels = {"Account",     "Symbol",   "Tran. Code",   "Taxlot", "Transaction Date",
                             "Settle Date", "Symmmf",   "Broker",       "Shares", "Shares",
                             "Price",       "Ccur",     "Local Price",  "Bint",   "Comm/Share",
                             "Commission",  "Sec. Fee", "Misc. Expense"};

constexpr int kNumberIds[] = {D::kBondInterest, D::kCurrency,    D::kCommission,
                              D::kCommPerShare, D::kMiscExpense, D::kPrice,
                              D::kLocalPrice,   D::kSecFee,      D::kShares};

Node Field(const char* label, Node control) {
    return Row({Label(label).Chars(14), control});
}

DialogTemplate TradesTemplate() {
    return {
        kTradesDialogId, "Trades",
        Column(
            {Row({Column({Field("Account", ComboBox(kAccountBox).Chars(10)),
                          Row({Static(kAccountStatic, "").Chars(10), Stretch()}),
                          Field("Symbol", ComboBox(kSymbolBox).Chars(14)),
                          Field("Tran. Code", ComboBox(kCodeBox).Chars(18)),
                          Field("Taxlot", Edit(D::kTaxLot).Chars(6)), Field("Type", Edit(kTypeEdit).Chars(4)),
                          Field("Trans. Date", Edit(kDateEdit).Chars(10)),
                          Field("Settle Date", Edit(D::kSettleDate).Chars(10)),
                          Field("Symmmf", ComboBox(D::kMoneyMarket).Chars(14)),
                          Field("Broker", ComboBox(D::kBroker).Chars(10))}),
                  Column({Field("Shares", Edit(D::kShares).Chars(16)),
                          Field("Price", Edit(D::kPrice).Chars(16)),
                          Field("Ccur", Edit(D::kCurrency).Chars(16)),
                          Field("Local Price", Edit(D::kLocalPrice).Chars(16)),
                          Field("Bond Interest", Edit(D::kBondInterest).Chars(16)),
                          Field("Comm/Share", Edit(D::kCommPerShare).Chars(16)),
                          Field("Commission", Edit(D::kCommission).Chars(16)),
                          Field("Sec. Fee", Edit(D::kSecFee).Chars(16)),
                          Field("Misc. Expense", Edit(D::kMiscExpense).Chars(16))})}),
             Row({Static(D::kBlockTotal, "", kHidden).Chars(14),
                  Static(D::kBlockAllocated, "", kHidden).Chars(14),
                  Static(D::kBlockSymbol, "", kHidden).Chars(14),
                  Static(D::kBlockCode, "", kHidden).Chars(6)}),
             Static(kBalanceStatic, "").Chars(36), Static(IDC_STATIC, kLotsHeading, kFixedPitch),
             ListBox(kLotsList, kFixedPitch).Chars(50).Lines(5),
             Row({Stretch(), Button(kPostButton, "Done", kDefault), Button(kDeleteButton, "Delete"),
                  Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

CTradesDlg::CTradesDlg(Window* parent) : CTransactionDlg(TradesTemplate(), parent) {
    BindButtons();
    for (const int id : kNumberIds)
        Bind(id, Notify::Changed, [this, id] {
            shell::FilterNumberKey(GetDlgItem(id));
            EnablePost();
        });
    for (const int id : {kSettleDate, kDateEdit}) {
        Bind(id, Notify::Changed, [this, id] {
            shell::FilterDateKey(GetDlgItem(id));
            EnablePost();
        });
        Bind(id, Notify::FocusGained, [this, id] { SelectAll(id); });
    }
    for (const int id : {kTaxLot, kTypeEdit}) Bind(id, Notify::Changed, &D::EnablePost);
    for (const int id : {kBroker, kCodeBox}) {
        Bind(id, Notify::Changed, &D::EnablePost);
        Bind(id, Notify::SelChange, &D::EnablePost);
    }
    for (const int id : {kAccountBox, kSymbolBox}) {
        Bind(id, Notify::Changed, &D::EnablePost);
        Bind(id, Notify::SelChange, [this, id] {
            RefreshHoldings(id);
            EnablePost();
        });
        Bind(id, Notify::FocusLost, [this] { RefreshHoldings(0); });
    }
}

void CTradesDlg::EnablePost() {
    GetDlgItem(kPostButton).EnableWindow(true);
}

bool CTradesDlg::OnInitDialog() {
    const CTranRecord* t = CurrentTranRecord;
    auto trimmed = [](const std::string& s) { return records::TrimRight(s); };
    Control symbol = GetDlgItem(kSymbolBox);
    symbol.LimitText(12);
    shell::FillSecurityCombo(&symbol, nullptr);
    if (t) symbol.SetWindowText(trimmed(t->symbol));

    Control code = GetDlgItem(kCodeBox);
    code.LimitText(4);
    GetDlgItem(kTaxLot).LimitText(4);
    GetDlgItem(kTypeEdit).LimitText(2);
    GetDlgItem(kDateEdit).LimitText(8);
    GetDlgItem(kSettleDate).LimitText(8);
    if (t) {
        code.SetWindowText(trimmed(t->code));
        SetDlgItemText(kTaxLot, trimmed(t->tax_lot));
        SetDlgItemText(kTypeEdit, trimmed(t->entry_kind).substr(0, 2));
        SetDlgItemText(kDateEdit, trimmed(t->trade_date));
    }
    Control money = GetDlgItem(kMoneyMarket);
    money.LimitText(12);
    shell::FillSecurityCombo(&money, nullptr);

    for (const int id : kNumberIds) GetDlgItem(id).LimitText(20);
    if (t) {
        SetDlgItemText(kShares, FormatDouble(t->quantity));
        SetDlgItemText(kPrice, FormatPrice(t->price));
        SetDlgItemText(kBondInterest, FormatDouble(t->bond_interest));
        SetDlgItemText(kCommission, FormatDouble(t->commission));
        SetDlgItemText(kSecFee, FormatDouble(t->sec_fee));
    }
    Control broker = GetDlgItem(kBroker);
    shell::FillCodeCombo(broker);
    if (t) broker.SetWindowText(trimmed(t->broker));

    ShowAccount();
    if (!t) FillAccounts(false);
    for (const char* entry : kCodes) code.AddString(entry);
    if (!t) {
        SetDlgItemText(kPostButton, "Post");
        GetDlgItem(kDeleteButton).EnableWindow(false);
    }
    RefreshHoldings(0);
    if (BlockMode()) ShowBlock();
    return true;
}

void CTradesDlg::ShowBlock() {
    SetDlgItemText(kPostButton, "Done");
    records::BlockDefinition block;
    const bool defined = records::ReadBlockDefinition(block);
    for (const int id : {kSymbolBox, kCodeBox}) {
        GetDlgItem(id).ShowWindow(SW_HIDE);
        GetDlgItem(id).EnableWindow(false);
    }
    if (defined) {
        // An allocation is of the block's security and code.
        SetDlgItemText(kSymbolBox, records::TrimRight(block.symbol));
        SetDlgItemText(kCodeBox, records::TrimRight(block.code));
    }
    // The shares allocated so far: every allocation still listed.
    const double allocated = records::AllocatedBlockShares();
    SetDlgItemText(kBlockTotal, defined ? FormatDouble(block.quantity) : "");
    SetDlgItemText(kBlockAllocated, FormatDouble(allocated));
    SetDlgItemText(kBlockSymbol, defined ? records::TrimRight(block.symbol) : "");
    SetDlgItemText(kBlockCode, defined ? records::TrimRight(block.code) : "");
    for (const int id : {kBlockTotal, kBlockAllocated, kBlockSymbol, kBlockCode})
        GetDlgItem(id).ShowWindow(SW_SHOW);
}

bool CTradesDlg::PostTransaction(bool remove) {
    std::string date = GetDlgItemText(kDateEdit);
    const std::string typed_date = date;
    if (!shell::CheckDateText(date)) shell::AddMessage("Illegal transaction date: " + typed_date);
    std::string settle = GetDlgItemText(kSettleDate);
    const std::string typed_settle = settle;
    if (!shell::CheckBlankOrDate(settle)) shell::AddMessage("Illegal settlement date: " + typed_settle);
    struct NumberCheck {
        int id;
        const char* message;
    };
    static constexpr NumberCheck kChecks[] = {
        {kShares, "Illegal SHARES value: "},
        {kPrice, "Illegal PRICE value: "},
        {kCurrency, "Illegal CCUR value: "},
        {kLocalPrice, "Illegal LOCAL PRICE value: "},
        {kBondInterest, "Illegal BOND INTEREST value: "},
        {kCommPerShare, "Illegal COMM/SHARE value: "},
        {kCommission, "Illegal  COMMISSION value: "},
        {kSecFee, "Illegal SECURITY FEE value: "},
        {kMiscExpense, "Illegal MISC EXPENSE value: "},
    };
    for (const NumberCheck& c : kChecks) {
        const std::string text = GetDlgItemText(c.id);
        if (!shell::ReadNumberText(text).valid) shell::AddMessage(c.message + text);
    }
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
    auto fill = [&](std::string& view) {
        records::Record r(view.size());
        std::copy(view.begin(), view.end(), r.data());
        records::OfflineTranRecord o = records::OfflineTranRecord::Decode(r);
        o.account = records::Fixed(account, 8);
        o.symbol = records::Fixed(symbol, 12);
        o.tax_lot = records::Fixed(lot, 4);
        o.trade_date = records::Fixed(date, 8);
        o.code = records::Fixed(code, 4);
        o.shares = NumberValue(GetDlgItemText(kShares));
        o.price = static_cast<float>(NumberValue(GetDlgItemText(kPrice)));
        o.broker = records::Fixed(broker, 8);
        o.commission = NumberValue(GetDlgItemText(kCommission));
        o.bond_interest = NumberValue(GetDlgItemText(kBondInterest));
        o.entry_kind = records::Fixed(type.substr(0, 2), 4);
        o.Encode(r);
        view.assign(reinterpret_cast<const char*>(r.data()), r.size());
    };
    if (OfflineMode()) return RewriteLine(remove, fill);
    if (BlockMode()) return WriteAllocation(remove);

    engine::EntryForm form;
    const std::string fields[] = {account,
                                  symbol,
                                  code,
                                  lot,
                                  date,
                                  settle,
                                  GetDlgItemText(kMoneyMarket),
                                  broker,
                                  type,
                                  NumberField(GetDlgItemText(kShares)),
                                  NumberField(GetDlgItemText(kPrice)),
                                  NumberField(GetDlgItemText(kCurrency)),
                                  NumberField(GetDlgItemText(kLocalPrice)),
                                  NumberField(GetDlgItemText(kBondInterest)),
                                  NumberField(GetDlgItemText(kCommPerShare)),
                                  NumberField(GetDlgItemText(kCommission)),
                                  NumberField(GetDlgItemText(kSecFee)),
                                  NumberField(GetDlgItemText(kMiscExpense))};
    for (int k = 0; k < engine::kEntryFieldCount; ++k) form.SetField(k + 1, fields[k]);
    form.ClearResults();
    int32_t record = PostingRecord();
    engine::Fbuysell(Mode(remove), record, form);
    if (!form.Rejected(1, engine::kEntryStatusCount)) return true;
    AddPostingMessages(form, kLabels);
    shell::ShowMessageList();
    return false;
}

bool CTradesDlg::WriteAllocation(bool remove) {
    auto fill = [&](std::string& view) {
        records::Record r(view.size());
        std::copy(view.begin(), view.end(), r.data());
        records::BlockAllocation a = records::BlockAllocation::Decode(r);
        std::string date = GetDlgItemText(kDateEdit);
        shell::CheckDateText(date);
        a.account = records::Fixed(AccountText(), 8);
        a.symbol = records::Fixed(GetDlgItemText(kSymbolBox), 12);
        a.tax_lot = records::Fixed(GetDlgItemText(kTaxLot), 4);
        a.trade_date = records::Fixed(date, 8);
        a.code = records::Fixed(CodeText(), 4);
        a.shares = NumberValue(GetDlgItemText(kShares));
        a.price = static_cast<float>(NumberValue(GetDlgItemText(kPrice)));
        a.broker = records::Fixed(GetDlgItemText(kBroker), 8);
        a.commission = NumberValue(GetDlgItemText(kCommission));
        a.bond_interest = NumberValue(GetDlgItemText(kBondInterest));
        a.word = 0;
        a.kind = "  ";
        a.sec_fee = NumberValue(GetDlgItemText(kSecFee));
        a.Encode(r);
        view.assign(reinterpret_cast<const char*>(r.data()), r.size());
    };
    if (Editing()) return RewriteLine(remove, fill);
    // A new allocation goes after the last line; without a block there is
    // nothing to allocate.
    records::BlockDefinition block;
    if (!records::ReadBlockDefinition(block)) {
        MessageBox("No Block to Allocate", {}, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        return false;
    }
    std::string view(records::kEditViewLength, ' ');
    fill(view);
    long rec = 0;
    std::string refused;
    if (records::AppendBlockAllocation(view, rec, &refused) != 0) {
        shell::AddMessage(!refused.empty() ? refused : std::string("Could not write ") + records::kBlockTradeFile + ".");
        shell::ShowMessageList();
        return false;
    }
    return true;
}

}  // namespace entry
