#include "shell/color_dialog.h"

#include "platform/common_dialogs.h"
#include "shell/colors.h"
#include "shell/command_ids.h"

namespace shell {
namespace {

using namespace platform;

DialogTemplate ColorSelectTemplate() {
    return {kColorSelectDialogId, "Dialog",
            Column({ListBox(CColorSelectDlg::kEntryList).Chars(40).Lines(12),
                    Row({Button(CColorSelectDlg::kSelectColor, "Select Color"), Stretch(),
                         Button(IDOK, "OK", kDefault)})})};
}

}  // namespace

CColorSelectDlg::CColorSelectDlg(Window* parent) : Dialog(ColorSelectTemplate(), parent) {
    Bind(kSelectColor, Notify::Clicked, &CColorSelectDlg::OnSelectColor);
}

bool CColorSelectDlg::OnInitDialog() {
    Control list = GetDlgItem(kEntryList);
    for (const CColorCntrl& entry : ColorList()) list.AddString(entry.name);
    list.SetCurSel(0);
    return true;
}

void CColorSelectDlg::OnSelectColor() {
    Control list = GetDlgItem(kEntryList);
    const int selected = list.GetCurSel();
    if (selected < 0) return;
    const std::string name = list.GetText(selected);
    ColorRequest request;
    request.owner = GetSafeHwnd();
    if (CColorCntrl* entry = FindColorEntry(name)) request.initial = entry->desc.background;
    const std::optional<ColorRef> color = ChooseColor(request);
    if (!color) return;
    if (CColorCntrl* entry = FindColorEntry(name)) entry->desc.background = *color;
}

}  // namespace shell
