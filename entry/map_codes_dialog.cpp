// Map Transaction Codes.

#include "entry/map_codes_dialog.h"

#include "records/record.h"
#include "records/tran_code_maps.h"
#include "shell/main_frame.h"

namespace entry {
namespace {

using namespace platform;
using D = CMapTransactionCodesDlg;

constexpr const char* kMapSourceNames[] = {"Bear Stearns",
                                           "DataLynx",
                                           "DST Systems",
                                           "Fidelity",
                                           "Jack White & Company",
                                           "Rydex",
                                           "Schwab",
                                           "Smith Barney",
                                           "Vanguard",
                                           "Waterhouse",
                                           "Credit Union...(not used)",
                                           "American Skandia"};

// The labels of the slots, in slot order.
constexpr const char* kSlotLabels[21] = {"Buy",
                                         "Sell",
                                         "Short Sale",
                                         "Cover Short",
                                         "Stock Split",
                                         "Transfer In",
                                         "Transfer Out",
                                         "Funds In",
                                         "Funds Out",
                                         "Adjustment In",
                                         "Adjustment Out",
                                         "Dividend Income",
                                         "Dividened Expense",
                                         "Interest Income",
                                         "Interest Expense",
                                         "Miscellaneous Income",
                                         "Miscellaneous Expense",
                                         "Bond Purchase Interest",
                                         "Bond Sale Interest",
                                         "Management Fee",
                                         "Bank Charge"};

// The two columns of the dialog, by slot: Buy, Short Sale, Stock Split, ...
// on the left, Sell, Cover Short, Transfer In, ... on the right.
constexpr int kLeftSlots[] = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
constexpr int kRightSlots[] = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19};

Node SlotRow(int slot) {
    return Row({Label(kSlotLabels[slot]).Chars(22), Edit(D::kSlotEdits[slot]).Chars(6)});
}

DialogTemplate MapCodesTemplate() {
    std::vector<Node> left, right;
    for (const int s : kLeftSlots) left.push_back(SlotRow(s));
    for (const int s : kRightSlots) right.push_back(SlotRow(s));
    right.push_back(Stretch());
    return {kMapCodesDialogId, "Transaction Codes",
            Column({Row({Column(left), Column(right)}),
                    Row({Stretch(), Button(D::kCancel, "Cancel"), Button(D::kOk, "OK", kDefault)})})};
}

}  // namespace

std::string MapSourceName(int index) {
    return index >= 1 && index <= 12 ? kMapSourceNames[index - 1] : "";
}

CMapTransactionCodesDlg::CMapTransactionCodesDlg(Window* parent) : Dialog(MapCodesTemplate(), parent) {
    Bind(kOk, Notify::Clicked, &D::SaveCodeMap);
    Bind(kCancel, Notify::Clicked, [this] { EndDialog(IDCANCEL); });
}

bool CMapTransactionCodesDlg::OnInitDialog() {
    SetWindowText("Transaction Codes for " + MapSourceName(source_index_));
    const records::TranCodeMapRecord map = records::ReadTranCodeMap(source_index_);
    for (int s = 0; s < records::kTranCodeSlots; ++s) {
        Control edit = GetDlgItem(kSlotEdits[s]);
        edit.LimitText(4);
        edit.SetWindowText(records::TrimRight(map.codes[static_cast<std::size_t>(s)]));
    }
    return true;
}

bool CMapTransactionCodesDlg::OnEnterKey() {
    NextDlgCtrl();
    return true;
}

bool CMapTransactionCodesDlg::OnEscapeKey() {
    NextDlgCtrl();
    return true;
}

void CMapTransactionCodesDlg::SaveCodeMap() {
    records::TranCodeMapRecord map;
    for (int s = 0; s < records::kTranCodeSlots; ++s)
        map.codes[static_cast<std::size_t>(s)] = records::Fixed(GetDlgItemText(kSlotEdits[s]), 4);
    records::WriteTranCodeMap(source_index_, map);
    EndDialog(IDOK);
}

void ShowMapCodesDialog(shell::CMainFrame& frame, int16_t source_index) {
    CMapTransactionCodesDlg dialog(&frame);
    dialog.SetSourceIndex(source_index);
    dialog.DoModal();
}

}  // namespace entry
