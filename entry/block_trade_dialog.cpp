#include "entry/block_trade_dialog.h"

#include <cstdio>
#include <string>

#include "records/record.h"
#include "shell/command_ids.h"
#include "shell/commands.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"

namespace entry {
namespace {

using namespace platform;
using D = CBlockTradeDlg;

DialogTemplate BlockTemplate() {
    auto field = [](const char* label, Node control) { return Row({Label(label).Chars(18), control}); };
    return {kBlockTradeDialogId, "Define Block Trade",
            Column({field("Security", ComboBox(D::kSecurity).Chars(14)),
                    Group(IDC_STATIC, "Transaction Code",
                          {Row({Radio(D::kBuy, "Buy", kGroupStart), Radio(D::kSell, "Sell"),
                                Radio(D::kShort, "Short"), Radio(D::kCover, "Cover")})}),
                    field("Trade Date", Edit(D::kTradeDate).Chars(10)),
                    field("Quantity", Edit(D::kQuantity).Chars(16)),
                    field("Unit Price", Edit(D::kPrice).Chars(16)),
                    field("Bond Interest", Edit(D::kBondInterest).Chars(16)),
                    field("Broker", ComboBox(D::kBroker).Chars(10)),
                    field("Commission/Share", Edit(D::kPerShare).Chars(16)),
                    field("Total Commission", Edit(D::kTotalCommission).Chars(16)),
                    field("Misc. Expense", Edit(D::kMiscExpense).Chars(16)),
                    Row({Stretch(), Button(D::kDone, "Done", kDefault), Button(D::kCancel, "Cancel")})})};
}

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// True when the text is exactly one of the box's lines.
bool Listed(const Control& box, const std::string& text) {
    for (int i = 0; i < box.GetCount(); ++i)
        if (box.GetText(i) == text) return true;
    return false;
}

constexpr int kNumberEdits[] = {D::kTotalCommission, D::kQuantity, D::kPrice,
                                D::kMiscExpense,     D::kPerShare, D::kBondInterest};

}  // namespace

CBlockTradeDlg::CBlockTradeDlg(const records::BlockDefinition& block, Window* parent)
    : Dialog(BlockTemplate(), parent), block_(block) {
    for (const int id : kNumberEdits)
        Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    Bind(kTradeDate, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kTradeDate)); });
    Bind(kDone, Notify::Clicked, &D::OnDone);
    Bind(kCancel, Notify::Clicked, [this] { EndDialog(IDCANCEL); });
}

bool CBlockTradeDlg::OnInitDialog() {
    Control broker = GetDlgItem(kBroker);
    broker.LimitText(6);
    shell::FillCodeCombo(broker);
    for (const int id : kNumberEdits) GetDlgItem(id).LimitText(20);
    GetDlgItem(kTradeDate).LimitText(8);
    Control security = GetDlgItem(kSecurity);
    security.LimitText(12);
    shell::FillSecurityCombo(&security, nullptr);

    security.SetWindowText(Trim(block_.symbol));
    const std::string code = records::Fixed(block_.code, 2);
    const int checked = code[0] == 'B' ? kBuy : code[0] == 'C' ? kCover : code[1] == ' ' ? kSell : kShort;
    for (const int id : {kBuy, kSell, kShort, kCover}) CheckDlgButton(id, id == checked ? 1 : 0);
    SetDlgItemText(kTradeDate, Trim(block_.trade_date.substr(0, 8)));
    SetDlgItemText(kQuantity, Format("%lf", block_.quantity));
    SetDlgItemText(kPrice, Format("%f", block_.price));
    SetDlgItemText(kBondInterest, Format("%lf", block_.bond_interest));
    broker.SetWindowText(Trim(block_.broker.substr(0, 6)));
    SetDlgItemText(kPerShare, Format("%lf", block_.commission_per_share));
    SetDlgItemText(kTotalCommission, Format("%lf", block_.total_commission));
    SetDlgItemText(kMiscExpense, Format("%lf", block_.misc_expense));
    return true;
}

void CBlockTradeDlg::OnDone() {
    shell::ClearMessageList();
    struct NumberField {
        int id;
        const char* message;
    };
    const NumberField numbers[] = {
        {kTotalCommission, "Illegal Total Commission: "},
        {kQuantity, "Illegal Shares: "},
        {kPrice, "Illegal Price: "},
        {kMiscExpense, "Illegal Misc. Expense: "},
        {kPerShare, "Illegal Commission per Share: "},
        {kBondInterest, "Illegal Bond Interest: "},
    };
    for (const NumberField& f : numbers)
        if (!shell::CheckNumberText(GetDlgItemText(f.id)))
            shell::AddMessage(f.message + GetDlgItemText(f.id));
    std::string date = GetDlgItemText(kTradeDate);
    if (!shell::CheckDateText(date))
        shell::AddMessage("Illegal transaction date: " + GetDlgItemText(kTradeDate));
    const Control broker = GetDlgItem(kBroker);
    if (!Listed(broker, broker.GetWindowText()))
        shell::AddMessage("Illegal Broker ID: " + broker.GetWindowText());
    const Control security = GetDlgItem(kSecurity);
    if (!Listed(security, security.GetWindowText()))
        shell::AddMessage("Illegal Security ID: " + security.GetWindowText());
    if (!shell::GetMessages().empty()) {
        shell::ShowMessageList();
        return;
    }

    block_.symbol = records::Fixed(security.GetWindowText(), 12);
    block_.code = IsDlgButtonChecked(kShort)   ? "SS  "
                  : IsDlgButtonChecked(kSell)  ? "S   "
                  : IsDlgButtonChecked(kCover) ? "CS  "
                                               : "B   ";
    int month = 0, day = 0, year = 0;
    std::sscanf(date.c_str(), "%d/%d/%d", &month, &day, &year);
    char stored[16];
    std::snprintf(stored, sizeof stored, "%2d/%2d/%2d", month, day, year);
    block_.trade_date = stored;
    auto number = [this](int id) { return shell::ReadNumberText(GetDlgItemText(id)).value; };
    block_.quantity = number(kQuantity);
    block_.price = static_cast<float>(number(kPrice));
    block_.bond_interest = number(kBondInterest);
    block_.broker = records::Fixed(broker.GetWindowText(), 6);
    block_.commission_per_share = number(kPerShare);
    block_.total_commission = number(kTotalCommission);
    block_.misc_expense = number(kMiscExpense);
    EndDialog(IDOK);
}

void RegisterBlockTradeCommand() {
    shell::RegisterCommand(shell::kCmdBlockDefine, [](shell::CMainFrame& frame) {
        records::BlockDefinition block;
        if (!records::ReadBlockDefinition(block)) block = records::BlockDefinition();
        CBlockTradeDlg dialog(block, &frame);
        if (dialog.DoModal() != IDOK) return;
        records::BlockDefinition stored = dialog.Block();
        stored.marker = std::string(records::kBlockMarker);
        stored.last_record = records::ReadLineCounter(records::kBlockTradeFile);
        records::WriteBlockDefinition(stored);
    });
}

}  // namespace entry
