// Output destination controls and show/enable helpers of the report
// dialogs.

#include "shell/report_dialog_parts.h"

#include "shell/group_lists.h"
#include "shell/report_globals.h"

namespace shell {

using namespace platform;

Node OutputGroup(int group_id) {
    return Group(group_id, "Output",
                 {Row({Radio(kPrintRadio, "Print"), Radio(kPreviewRadio, "Print Preview"),
                       Radio(kDisplayRadio, "Display", kChecked), Radio(kFileRadio, "File")})});
}

Node FileNameRow() {
    return Row(
        {Static(kFileNameLabel, "File Name", kHidden), Edit(kFileNameEdit, kHidden).Chars(14), Stretch()});
}

void ResetOutput(Window& dialog) {
    for (const int id : {kPrintRadio, kPreviewRadio, kFileRadio}) dialog.CheckDlgButton(id, 0);
    dialog.CheckDlgButton(kDisplayRadio, 1);
    Show(dialog, {kFileNameEdit, kFileNameLabel}, false);
    dialog.GetDlgItem(kFileNameEdit).LimitText(kFileNameLimit);
}

void BindOutputRadios(Window& dialog) {
    for (const int id : {kPrintRadio, kPreviewRadio, kDisplayRadio})
        dialog.Bind(id, Notify::Clicked, [&dialog] { ShowFileName(dialog, false); });
    dialog.Bind(kFileRadio, Notify::Clicked, [&dialog] { ShowFileName(dialog, true); });
}

void ShowFileName(Window& dialog, bool show) {
    if (show)
        ShowEnable(dialog, {kFileNameEdit, kFileNameLabel}, true);
    else
        Show(dialog, {kFileNameEdit, kFileNameLabel}, false);
}

int32_t CheckedDestination(const Window& dialog) {
    if (dialog.IsDlgButtonChecked(kPrintRadio)) return kOutputPrint;
    if (dialog.IsDlgButtonChecked(kPreviewRadio)) return kOutputPreview;
    if (dialog.IsDlgButtonChecked(kFileRadio)) return kOutputFile;
    if (dialog.IsDlgButtonChecked(kDisplayRadio)) return kOutputDisplay;
    return -1;
}

void Show(Window& dialog, std::initializer_list<int> ids, bool show) {
    for (const int id : ids) dialog.GetDlgItem(id).ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void Enable(Window& dialog, std::initializer_list<int> ids, bool enable) {
    for (const int id : ids) dialog.GetDlgItem(id).EnableWindow(enable);
}

void ShowEnable(Window& dialog, std::initializer_list<int> ids, bool on) {
    Show(dialog, ids, on);
    Enable(dialog, ids, on);
}

void ChooseAllAccounts(Window& dialog, const AccountChoiceIds& ids) {
    ShowEnable(dialog, {ids.account_frame, ids.account_list, ids.group_list}, false);
    ShowEnable(dialog, {ids.manager_frame, ids.manager_combo}, true);
}

void ChooseSelectedAccounts(Window& dialog, const AccountChoiceIds& ids, bool composite) {
    if (composite) {
        Show(dialog, {ids.account_list}, false);
        // The list is enabled with its names, so that a super group can be
        // chosen in it.
        ShowEnable(dialog, {ids.group_list}, true);
        FillSuperGroupListBox(dialog.GetDlgItem(ids.group_list));
    } else {
        ShowEnable(dialog, {ids.account_frame, ids.account_list}, true);
        Show(dialog, {ids.group_list}, false);
    }
    ShowEnable(dialog, {ids.manager_frame, ids.manager_combo}, false);
}

void ChooseGroupOfAccounts(Window& dialog, const AccountChoiceIds& ids) {
    ShowEnable(dialog, {ids.group_list}, true);
    FillGroupListBox(dialog.GetDlgItem(ids.group_list));
    Show(dialog, {ids.account_list}, false);
    ShowEnable(dialog, {ids.manager_frame, ids.manager_combo}, false);
}

}  // namespace shell
