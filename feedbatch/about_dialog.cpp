#include "feedbatch/about_dialog.h"

#include <string>

namespace feedbatch {
namespace {

using namespace platform;

DialogTemplate AboutTemplate() {
    return {kAboutDialogId, "About ORLIN",
            Column({Row({IconStatic(IDC_STATIC, Picture::LineDown),
                         Column({Label("ORLIN 32"), Label("Version 4.00"), Static(kAboutSystemId, ""),
                                 Static(kAboutBuildId, "32 Bit Build")}),
                         Stretch()}),
                    Row({Stretch(), Button(IDOK, "OK", kDefault)})})};
}

// The desktop system the dialog names. The names it knows are those of the
// systems the program was first written for; this one is none of them.
std::string SystemName() {
    return "Unknown";
}

}  // namespace

BatchAboutDialog::BatchAboutDialog(Window* parent) : Dialog(AboutTemplate(), parent) {}

bool BatchAboutDialog::OnInitDialog() {
    SetDlgItemText(kAboutSystemId, "Windows Version: " + SystemName());
    return true;
}

}  // namespace feedbatch
