// Input Asset Allocation.

#include "setup/asset_allocation_dialog.h"

#include <array>
#include <charconv>
#include <type_traits>

#include "platform/feedback.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"

namespace setup {
namespace {

using namespace platform;
using D = CInputAssetAllocationDlg;

constexpr int kDateWidth = 8;

// The tax-lot dispositions by radio, "NONE" stored as blanks.
struct Disposition {
    int id;
    const char* stored;
};
constexpr std::array<Disposition, 5> kDispositions = {
    {{D::kFifo, "FIFO"}, {D::kLifo, "LIFO"}, {D::kHico, "HICO"}, {D::kLoco, "LOCO"}, {D::kNone, "    "}}};

DialogTemplate InputAssetAllocationTemplate() {
    auto field = [](const char* label, int id, int chars = 12) {
        return Row({Label(label).Chars(18), Edit(id).Chars(chars)});
    };
    Node sell =
        Group(IDC_STATIC, "Sell",
              {Row({Radio(D::kByIdentifier, "Security Identifier", kChecked | kGroupStart),
                    Radio(D::kByType, "Security Type")}),
               Row({Static(D::kSellLabel, "Security ID").Chars(18),
                    Column({ComboBox(D::kSellSecurity, kSorted).Chars(14).Lines(10),
                            ListBox(D::kSellType, kHidden | kDisabled).Chars(24).Lines(5)})}),
               field("Transaction Date", D::kSellDate, 10), field("Price per Share", D::kSellPrice),
               field("Comm per Share", D::kSellCommission), field("Misc Expense", D::kSellExpense),
               field("% of Position", D::kPositionPercent), field("Quantity/Face Value", D::kQuantity),
               Row({Label("Broker").Chars(18), ComboBox(D::kSellBroker, kSorted).Chars(10).Lines(8)})});
    Node buy =
        Group(IDC_STATIC, "Buy",
              {Row({Label("Security ID").Chars(18), ComboBox(D::kBuySecurity, kSorted).Chars(14).Lines(10)}),
               field("Transaction Date", D::kBuyDate, 10), field("Price per Share", D::kBuyPrice),
               field("Comm per Share", D::kBuyCommission), field("Misc Expense", D::kBuyExpense),
               field("Share Ratio", D::kShareRatio),
               Row({Label("Broker").Chars(18), ComboBox(D::kBuyBroker, kSorted).Chars(10).Lines(8)})});
    return {kInputAssetAllocationDialogId, "Input Asset Allocation",
            Column({Row({Group(IDC_STATIC, "Generate",
                               {Radio(D::kTrades, "Trades", kChecked | kGroupStart),
                                Radio(D::kTransfers, "Transfers")}),
                         Group(IDC_STATIC, "Accounts",
                               {Radio(D::kAllRadio, "All", kChecked | kGroupStart),
                                Radio(D::kSelectRadio, "Select")}),
                         Group(D::kAccountGroup, "Account",
                               {ComboBox(D::kManagerCombo).Chars(8).Lines(8),
                                ListBox(D::kAccounts, kHidden | kDisabled).Chars(10).Lines(5)}),
                         Group(IDC_STATIC, "Tax Lots",
                               {Radio(D::kFifo, "FIFO", kChecked | kGroupStart), Radio(D::kLifo, "LIFO"),
                                Radio(D::kHico, "HICO"), Radio(D::kLoco, "LOCO"), Radio(D::kNone, "NONE")})}),
                    Row({sell, buy}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})};
}

// A number as the dialog shows it: the shortest fixed-point text that
// reads back as the same value.
template <class T>
std::string Number(T value) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

// Selects the line that reads as the text, or leaves the text in the edit
// part when no line does.
void ShowInCombo(Control combo, const std::string& text) {
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetText(i) == text) {
            combo.SetCurSel(i);
            return;
        }
    combo.SetWindowText(text);
}

// The security type code of a line "code - name" of the type list.
std::string TypeCode(const std::string& line) {
    const std::size_t dash = line.find(" - ");
    return records::TrimRight(line.substr(0, dash));
}

}  // namespace

CInputAssetAllocationDlg::CInputAssetAllocationDlg(Window* parent)
    : Dialog(InputAssetAllocationTemplate(), parent) {
    Bind(kAllRadio, Notify::Clicked, &D::OnAll);
    Bind(kSelectRadio, Notify::Clicked, &D::OnSelect);
    Bind(kByIdentifier, Notify::Clicked, &D::OnByIdentifier);
    Bind(kByType, Notify::Clicked, &D::OnByType);
    for (const int id : {kSellDate, kBuyDate})
        Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
    for (const int id : {kSellPrice, kSellCommission, kSellExpense, kPositionPercent, kBuyPrice,
                         kBuyCommission, kBuyExpense, kShareRatio, kQuantity})
        Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    Bind(kOk, Notify::Clicked, &D::OnOK);
    Bind(kCancel, Notify::Clicked, &D::OnCancel);
}

bool CInputAssetAllocationDlg::OnInitDialog() {
    shell::ClearMessageList();
    shell::FillManagerCombo(GetDlgItem(kManagerCombo));
    shell::FillAccountCombo(GetDlgItem(kAccounts));
    shell::FillCodeCombo(GetDlgItem(kSellBroker));
    shell::FillCodeCombo(GetDlgItem(kBuyBroker));
    shell::FillTypeCombo(GetDlgItem(kSellType));
    for (const int id : {kSellSecurity, kBuySecurity}) {
        Control securities = GetDlgItem(id);
        shell::FillSecurityCombo(&securities, nullptr);
    }
    for (const int id : {kSellDate, kBuyDate}) GetDlgItem(id).LimitText(kDateWidth);
    records::AssetAllocation stored;
    if (records::ReadAssetAllocation(stored)) ShowStored(stored);
    return true;
}

// The kept allocation: its choices first (which show the controls they
// need), then its selections and texts.
void CInputAssetAllocationDlg::ShowStored(const records::AssetAllocation& a) {
    CheckDlgButton(kTrades, a.transaction_kind == 'R' ? 0 : 1);
    CheckDlgButton(kTransfers, a.transaction_kind == 'R' ? 1 : 0);
    const bool select = a.selection_kind.starts_with('S');
    CheckDlgButton(kAllRadio, select ? 0 : 1);
    CheckDlgButton(kSelectRadio, select ? 1 : 0);
    if (select) {
        OnSelect();
        const std::string account = records::TrimRight(a.manager_or_account);
        Control accounts = GetDlgItem(kAccounts);
        for (int i = 0; i < accounts.GetCount(); ++i)
            if (accounts.GetText(i) == account) accounts.SetCurSel(i);
    } else {
        OnAll();
        ShowInCombo(GetDlgItem(kManagerCombo), records::TrimRight(a.manager_or_account.substr(0, 4)));
    }
    const bool by_type = a.sell_side == 'T';
    CheckDlgButton(kByIdentifier, by_type ? 0 : 1);
    CheckDlgButton(kByType, by_type ? 1 : 0);
    if (by_type) {
        OnByType();
        const std::string code = records::TrimRight(a.sell_security);
        Control types = GetDlgItem(kSellType);
        for (int i = 0; i < types.GetCount(); ++i)
            if (TypeCode(types.GetText(i)) == code) {
                types.SetCurSel(i);
                break;
            }
    } else {
        OnByIdentifier();
        ShowInCombo(GetDlgItem(kSellSecurity), records::TrimRight(a.sell_security));
    }
    ShowInCombo(GetDlgItem(kBuySecurity), records::TrimRight(a.buy_security));
    ShowInCombo(GetDlgItem(kSellBroker), records::TrimRight(a.sell_broker));
    ShowInCombo(GetDlgItem(kBuyBroker), records::TrimRight(a.buy_broker));
    for (const Disposition& d : kDispositions)
        CheckDlgButton(d.id, a.disposition == d.stored || (d.id == kNone && records::IsBlank(a.disposition)));
    SetDlgItemText(kSellDate, records::TrimRight(a.sell_date));
    SetDlgItemText(kBuyDate, records::TrimRight(a.buy_date));
    SetDlgItemText(kSellPrice, Number(a.sell_price));
    SetDlgItemText(kBuyPrice, Number(a.buy_price));
    SetDlgItemText(kSellCommission, Number(a.sell_commission));
    SetDlgItemText(kBuyCommission, Number(a.buy_commission));
    SetDlgItemText(kSellExpense, Number(a.sell_expense));
    SetDlgItemText(kBuyExpense, Number(a.buy_expense));
    SetDlgItemText(kQuantity, Number(a.quantity));
    SetDlgItemText(kPositionPercent, Number(a.position_percent));
    SetDlgItemText(kShareRatio, Number(a.share_ratio));
}

void CInputAssetAllocationDlg::OnAll() {
    shell::Show(*this, {kAccounts}, false);
    shell::ShowEnable(*this, {kManagerCombo}, true);
    SetDlgItemText(kManagerCombo, shell::kAllManagers);
    SetDlgItemText(kAccountGroup, "Account");
}

void CInputAssetAllocationDlg::OnSelect() {
    shell::ShowEnable(*this, {kAccounts}, true);
    GetDlgItem(kAccounts).SetCurSel(-1);
    shell::Show(*this, {kManagerCombo}, false);
    SetDlgItemText(kAccountGroup, "Client");
}

void CInputAssetAllocationDlg::OnByIdentifier() {
    SetDlgItemText(kSellLabel, "Security ID");
    shell::Show(*this, {kSellType}, false);
    shell::ShowEnable(*this, {kSellSecurity}, true);
}

void CInputAssetAllocationDlg::OnByType() {
    SetDlgItemText(kSellLabel, "Security Type");
    shell::ShowEnable(*this, {kSellType}, true);
    GetDlgItem(kSellType).SetCurSel(-1);
    shell::Show(*this, {kSellSecurity}, false);
}

void CInputAssetAllocationDlg::OnOK() {
    shell::ClearMessageList();
    records::AssetAllocation a;
    const auto number = [this](int id, const char* message, auto& value) {
        const std::string text = GetDlgItemText(id);
        const shell::NumberText read = shell::ReadNumberText(text);
        if (!read.valid) shell::AddMessage(message + text);
        value = static_cast<std::remove_reference_t<decltype(value)>>(read.value);
    };
    const auto date = [this](int id, const char* message, std::string& stored) {
        const std::string text = GetDlgItemText(id);
        std::string checked = text;
        if (!shell::CheckDateText(checked)) {
            shell::AddMessage(message + text);
            return;
        }
        SetDlgItemText(id, checked);
        stored = checked;
    };
    number(kShareRatio, "Illegal Share Ratio: ", a.share_ratio);
    number(kQuantity, "Illegal Sell Quantity: ", a.quantity);
    number(kSellPrice, "Illegal Sell Price: ", a.sell_price);
    number(kBuyPrice, "Illegal Buy Price: ", a.buy_price);
    number(kPositionPercent, "Illegal % of Position: ", a.position_percent);
    number(kSellExpense, "Illegal Sell Misc Exp: ", a.sell_expense);
    number(kBuyExpense, "Illegal Buy Misc Exp: ", a.buy_expense);
    date(kSellDate, "Illegal Sell Date: ", a.sell_date);
    date(kBuyDate, "Illegal Buy Date: ", a.buy_date);
    number(kBuyCommission, "Illegal Buy Comm per Share: ", a.buy_commission);
    number(kSellCommission, "Illegal Sell Comm per Share: ", a.sell_commission);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    shell::ClearMessageList();

    {
        WaitCursor wait;
        a.transaction_kind = IsDlgButtonChecked(kTransfers) ? 'R' : 'T';
        const bool all = IsDlgButtonChecked(kAllRadio) != 0;
        a.selection_kind = all ? "A   " : "S   ";
        if (all) {
            a.manager_or_account = records::Fixed(GetDlgItemText(kManagerCombo), 4);
        } else {
            const Control accounts = GetDlgItem(kAccounts);
            const int line = accounts.GetCurSel();
            a.manager_or_account = line < 0 ? std::string() : accounts.GetText(line);
        }
        if (IsDlgButtonChecked(kByType)) {
            a.sell_side = 'T';
            const Control types = GetDlgItem(kSellType);
            const int line = types.GetCurSel();
            a.sell_security = line < 0 ? std::string() : TypeCode(types.GetText(line));
        } else {
            a.sell_side = 'I';
            a.sell_security = GetDlgItemText(kSellSecurity);
        }
        a.buy_security = GetDlgItemText(kBuySecurity);
        a.sell_broker = GetDlgItemText(kSellBroker);
        a.buy_broker = GetDlgItemText(kBuyBroker);
        a.disposition = "    ";
        for (const Disposition& d : kDispositions)
            if (IsDlgButtonChecked(d.id)) a.disposition = d.stored;
    }
    if (!records::WriteAssetAllocation(a)) {
        shell::AddMessage(std::string("Could not write ") + records::kAssetAllocationFile + ".");
        shell::ShowMessageList();
        return;
    }
    allocation_ = a;
    EndDialog(IDOK);
}

void CInputAssetAllocationDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

}  // namespace setup
