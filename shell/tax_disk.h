#pragma once

// The tax disk check ("Check A:", dialog 190). Before the gains and loss
// report and the income summary write their tax form records to A:IRSTAX
// (option 52), the person is asked for the disk; OK proves that the file
// can be made there by creating and deleting it, and says so when it
// cannot ("A:" is the folder A of the data directory). Enter and Escape do
// not close the dialog; only OK (after a good check) and Cancel do.

#include "platform/dialog.h"

namespace shell {

class CMainFrame;

inline constexpr int kCheckDriveADialogId = 190;

class CCheckDriveADlg : public platform::Dialog {
public:
    static constexpr int kOkButton = 1380;
    static constexpr int kCancelButton = 1140;

    static constexpr const char* kDiskErrorText = "Unable to create file on A: (floppy drive)";
    static constexpr const char* kDiskErrorCaption = "Disk Error";

    explicit CCheckDriveADlg(platform::Window* parent = nullptr);

    void OnOK() override;
    void OnCancel() override;
    void OnCheckDisk();
};

// Runs the check: true when the disk is ready, false when the person gave
// up (the report command then ends).
bool RunTaxDiskCheck(CMainFrame& frame);

// Hands RunTaxDiskCheck to the dispatcher, which runs it after the options
// dialog of the gains and income reports while option 52 is set.
void RegisterTaxDiskCheckDialog();

}  // namespace shell
