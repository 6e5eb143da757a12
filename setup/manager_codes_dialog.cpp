// Portfolio Manager Codes.

#include "setup/manager_codes_dialog.h"

#include "platform/message_box.h"
#include "records/manager_table.h"
#include "shell/manager_codes.h"

namespace setup {
namespace {

using namespace platform;
using D = CManagerCodesDlg;

DialogTemplate ManagerCodesTemplate() {
    return {kManagerCodesDialogId, "Portfolio Manager Codes",
            Column({Row({Label("Manager Code"), ComboBox(D::kCodes).Chars(8).Lines(10)}),
                    Row({Button(D::kDelete, "Delete"), Stretch(), Button(D::kDone, "Done")})})};
}

// A slot is listed when one of its bytes is above the blank; bytes below
// the blank (zeros of a record never written) show as blanks.
bool IsListed(const std::string& slot) {
    for (const char c : slot)
        if (static_cast<unsigned char>(c) > ' ') return true;
    return false;
}

std::string SlotLine(std::string slot) {
    for (char& c : slot)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    return slot;
}

// The line that equals the text, case counting; CB_ERR when none does.
int LineEqualTo(const Control& codes, const std::string& text) {
    for (int i = 0; i < codes.GetCount(); ++i)
        if (codes.GetText(i) == text) return i;
    return CB_ERR;
}

}  // namespace

CManagerCodesDlg::CManagerCodesDlg(Window* parent) : Dialog(ManagerCodesTemplate(), parent) {
    Bind(kCodes, Notify::FocusLost, &D::OnCodesLeft);
    Bind(kDelete, Notify::Clicked, &D::OnDelete);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CManagerCodesDlg::OnInitDialog() {
    Control codes = GetDlgItem(kCodes);
    for (const std::string& slot : records::ReadManagerTable())
        if (IsListed(slot)) codes.AddString(SlotLine(slot));
    codes.SetCurSel(0);
    codes.LimitText(static_cast<int>(records::kManagerCodeLength));
    return true;
}

bool CManagerCodesDlg::OnEnterKey() {
    NextDlgCtrl();
    return true;
}

void CManagerCodesDlg::OnCodesLeft() {
    Control codes = GetDlgItem(kCodes);
    const std::string text = codes.GetWindowText();
    // An empty text is a free slot, not a code.
    if (text.empty() || LineEqualTo(codes, text) != CB_ERR) return;
    // Done stores one line a slot: a line beyond the last slot would be
    // lost, so a full table takes no new code.
    if (codes.GetCount() >= records::kManagerCodeCount) {
        MessageBox(shell::kManagerTableFullText, shell::kManagerTableFullCaption, MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
        return;
    }
    codes.AddString(text);
}

void CManagerCodesDlg::OnDelete() {
    Control codes = GetDlgItem(kCodes);
    const std::string text = codes.GetWindowText();
    if (MessageBox("Are you sure you want to delete Manager Code " + text, "Confirm Delete", MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    const int line = LineEqualTo(codes, text);
    if (line != CB_ERR) codes.DeleteString(line);
    codes.SetCurSel(0);
}

void CManagerCodesDlg::OnDone() {
    const Control codes = GetDlgItem(kCodes);
    records::ManagerSlots table;
    for (int i = 0; i < records::kManagerCodeCount; ++i)
        table[i] = (codes.GetText(i) + "    ").substr(0, records::kManagerCodeLength);
    records::WriteManagerTable(table);
    EndDialog(IDOK);
}

}  // namespace setup
