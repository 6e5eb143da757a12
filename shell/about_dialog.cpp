#include "shell/about_dialog.h"

#include "shell/command_ids.h"

namespace shell {
namespace {

using namespace platform;

DialogTemplate AboutTemplate() {
    return {
        kAboutDialogId, "About TREL1",
        Column({Row({IconStatic(IDC_STATIC, Picture::Application), Label("TREL1 Version 6.08"), Stretch()}),
                Row({Stretch(), Button(IDOK, "OK", kDefault)})})};
}

}  // namespace

CAboutDlg::CAboutDlg(Window* parent) : Dialog(AboutTemplate(), parent) {}

}  // namespace shell
