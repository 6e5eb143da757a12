// Copy Account.

#include "setup/copy_account_dialog.h"

#include <algorithm>
#include <cctype>

#include "engine/accounts.h"
#include "platform/message_box.h"
#include "records/record.h"
#include "shell/fillers.h"

namespace setup {
namespace {

using namespace platform;
using D = CCopyAccountDlg;

DialogTemplate CopyAccountTemplate() {
    return {kCopyAccountDialogId, "Copy Account",
            Column({Row({Group(IDC_STATIC, "Old Account", {ListBox(D::kOldList, kSorted).Chars(10).Lines(8)}),
                         Column({Label("New Account"), Edit(D::kNewEdit).Chars(8), Stretch()})}),
                    Row({Stretch(), Button(D::kCopy, "Done", kDefault), Button(IDCANCEL, "Cancel")})})};
}

void IdError(Window& w, const std::string& text) {
    MessageBox(text, "ID Error", MB_OK | MB_ICONEXCLAMATION, w.GetSafeHwnd());
}

}  // namespace

CCopyAccountDlg::CCopyAccountDlg(Window* parent) : Dialog(CopyAccountTemplate(), parent) {
    Bind(kCopy, Notify::Clicked, &D::OnCopy);
}

bool CCopyAccountDlg::OnInitDialog() {
    Control list = GetDlgItem(kOldList);
    shell::FillAccountCombo(list);
    list.SetCurSel(list.GetCount() > 0 ? 0 : -1);
    return true;
}

void CCopyAccountDlg::OnCopy() {
    const Control list = GetDlgItem(kOldList);
    const int line = list.GetCurSel();
    if (line < 0) {
        IdError(*this, "Old account not selected.");
        return;
    }
    std::string target = GetDlgItemText(kNewEdit);
    if (target.empty()) {
        IdError(*this, "New account ID is empty.");
        return;
    }
    if (target.size() > 6) {
        IdError(*this, "New account ID limited to 6 characters.");
        return;
    }
    std::transform(target.begin(), target.end(), target.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    const std::string source = records::Fixed(list.GetText(line), 8);
    int16_t error = 0;
    std::string message(engine::kCopyMessageWidth, ' ');
    engine::Cpyacc(source, records::Fixed(target, 8), error, message);
    if (error == 0) {
        EndDialog(IDOK);
        return;
    }
    std::string shown = records::TrimRight(message);
    if (shown.size() > 79) shown.resize(79);
    IdError(*this, shown);
}

}  // namespace setup
