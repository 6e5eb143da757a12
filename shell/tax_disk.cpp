// The tax disk check.

#include "shell/tax_disk.h"

#include "platform/message_box.h"
#include "records/file_names.h"
#include "shell/dispatch.h"
#include "shell/main_frame.h"

namespace shell {
namespace {

using namespace platform;

DialogTemplate CheckDriveATemplate() {
    return {kCheckDriveADialogId, "Check A:",
            Column({Label("Please insert a disk in Drive A: for IRSTAX"),
                    Row({Stretch(), Button(CCheckDriveADlg::kOkButton, "OK", kDefault),
                         Button(CCheckDriveADlg::kCancelButton, "Cancel")})})};
}

}  // namespace

CCheckDriveADlg::CCheckDriveADlg(Window* parent) : Dialog(CheckDriveATemplate(), parent) {
    Bind(kOkButton, Notify::Clicked, &CCheckDriveADlg::OnCheckDisk);
    Bind(kCancelButton, Notify::Clicked, [this] { EndDialog(IDCANCEL); });
}

void CCheckDriveADlg::OnOK() {
    NextDlgCtrl();
}

void CCheckDriveADlg::OnCancel() {
    NextDlgCtrl();
}

void CCheckDriveADlg::OnCheckDisk() {
    // Creating and deleting the file proves the disk is there and
    // writable; the report makes the file anew.
    if (records::Delirs() != 0) {
        MessageBox(kDiskErrorText, kDiskErrorCaption, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        return;
    }
    EndDialog(IDOK);
}

bool RunTaxDiskCheck(CMainFrame& frame) {
    CCheckDriveADlg dialog(&frame);
    return dialog.DoModal() == IDOK;
}

void RegisterTaxDiskCheckDialog() {
    RegisterTaxDiskCheck(RunTaxDiskCheck);
}

}  // namespace shell
