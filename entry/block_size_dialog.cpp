// Block Size Computation.

#include "entry/block_size_dialog.h"

#include <cctype>
#include <string>
#include <vector>

#include "records/broker_files.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace entry {
namespace {

using namespace platform;
using D = CBlockSizeDlg;

DialogTemplate BlockSizeTemplate() {
    return {
        kBlockSizeDialogId, "Block Size Computation",
        Column(
            {Row({Column({Row({Label("Price Date"), Edit(D::kPriceDate).Chars(10)}),
                          Row({Label("Settlement Date"), Edit(D::kSettlementDate).Chars(10)}),
                          Row({Label("Symbol"), ComboBox(D::kSymbol).Chars(14).Lines(8)}),
                          Row({Label("Commission per Unit"), Edit(D::kCommission).Chars(10)}),
                          Row({Label("Unit Price"), Edit(D::kUnitPrice).Chars(10)}),
                          Row({Label("Portfolio Percentage"), Edit(D::kPercentage).Chars(10)})}),
                  Column({Group(IDC_STATIC, "Broker", {ListBox(D::kBrokers).Chars(10).Lines(5)}),
                          Group(IDC_STATIC, "Manager Code", {ComboBox(D::kManagerCombo).Chars(6).Lines(8)})}),
                  Column({Group(IDC_STATIC, "Lot Type",
                                {Radio(D::kOddRadio, "Odd", kChecked), Radio(D::kRoundRadio, "Round")}),
                          CheckBox(D::kPostCheck, "Post Block Trades"), shell::OutputGroup()})}),
             shell::FileNameRow(),
             Row({Stretch(), Button(D::kCancel, "Cancel"),
                  Button(D::kGenerate, "Generate Report", kDefault)})})};
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A number field: empty or all blanks fails; anything else as the number
// check judges it.
bool NumberField(const std::string& text) {
    return !records::Trim(text).empty() && shell::CheckNumberText(text);
}

}  // namespace

CBlockSizeDlg::CBlockSizeDlg(Window* parent) : Dialog(BlockSizeTemplate(), parent) {
    for (const int id : {kCommission, kUnitPrice, kPercentage})
        Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    for (const int id : {kPriceDate, kSettlementDate})
        Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
    for (const int id : {kCommission, kUnitPrice, kPercentage, kPriceDate, kSettlementDate})
        Bind(id, Notify::FocusGained, [this, id] { GetDlgItem(id).SetSel(0, -1); });
    shell::BindOutputRadios(*this);
    Bind(kGenerate, Notify::Clicked, &D::OnGenerateReport);
    Bind(kCancel, Notify::Clicked, [this] { EndDialog(IDCANCEL); });
}

bool CBlockSizeDlg::OnInitDialog() {
    // The brokers in index order, the first selected.
    Control brokers = GetDlgItem(kBrokers);
    int16_t count = 0;
    if (records::Opnbrk(count) == 1) {
        for (int rec = 2, left = count; left > 0; ++rec, left -= records::kBrokerKeysPerRecord) {
            std::vector<std::string> keys;
            const int n = left < records::kBrokerKeysPerRecord ? left : records::kBrokerKeysPerRecord;
            if (records::Rdbidx(n, rec, keys) % 10 != 1) break;
            for (const std::string& key : keys) brokers.AddString(records::TrimRight(key));
        }
    }
    records::Clsbrk();
    brokers.SetCurSel(0);

    Control symbols = GetDlgItem(kSymbol);
    shell::FillSecurityCombo(&symbols, nullptr);
    CheckDlgButton(kOddRadio, 1);
    CheckDlgButton(kRoundRadio, 0);
    shell::ResetOutput(*this);

    // "????" first, then each code of the table inserted at the top: the
    // last code read ends up first and is selected.
    Control managers = GetDlgItem(kManagerCombo);
    managers.AddString(shell::kAllManagers);
    for (const std::string& code : shell::ListedManagerCodes()) managers.InsertString(0, code);
    managers.SetCurSel(0);
    managers.LimitText(4);
    return true;
}

bool CBlockSizeDlg::OnEnterKey() {
    NextDlgCtrl();
    return true;
}

bool CBlockSizeDlg::OnEscapeKey() {
    NextDlgCtrl();
    return true;
}

void CBlockSizeDlg::OnGenerateReport() {
    shell::ReportGlobals& g = shell::g_report;
    const int32_t destination = shell::CheckedDestination(*this);
    if (destination >= 0) g.OutputDestination = destination;
    if (destination == shell::kOutputFile) g.OutputFileName = GetDlgItemText(shell::kFileNameEdit);

    shell::ClearMessageList();
    const std::string unit_price = GetDlgItemText(kUnitPrice);
    std::string settlement = GetDlgItemText(kSettlementDate);
    std::string pricing = GetDlgItemText(kPriceDate);
    const std::string percentage = GetDlgItemText(kPercentage);
    const std::string commission = GetDlgItemText(kCommission);
    if (!NumberField(unit_price)) shell::AddMessage("Invalid unit price:" + unit_price);
    if (!shell::CheckDateText(settlement)) shell::AddMessage("Invalid settlement date:" + settlement);
    if (!shell::CheckDateText(pricing)) shell::AddMessage("Invalid pricing date:" + pricing);
    if (!NumberField(percentage)) shell::AddMessage("Invalid percentage:" + percentage);
    if (!NumberField(commission)) shell::AddMessage("Invalid commission:" + commission);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }

    g.StartDate = settlement;
    g.EndDate = pricing;
    g.SelectedSecurity = GetDlgItemText(kSymbol);
    const Control brokers = GetDlgItem(kBrokers);
    g.BlockBroker = brokers.GetCurSel() < 0 ? std::string() : brokers.GetText(brokers.GetCurSel());
    g.ManagerCode = Upper(GetDlgItemText(kManagerCombo));
    g.BlockCommission = shell::ReadNumberText(commission).value;
    g.BlockUnitPrice = shell::ReadNumberText(unit_price).value;
    g.BlockPercentage = static_cast<float>(shell::ReadNumberText(percentage).value);
    g.BlockPostFlag = IsDlgButtonChecked(kPostCheck) ? "Y   " : "N   ";
    g.BlockLotType = IsDlgButtonChecked(kRoundRadio) ? "R   " : "O   ";
    EndDialog(IDOK);
}

}  // namespace entry
