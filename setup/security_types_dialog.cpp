// The Security Types dialog.

#include "setup/security_types_dialog.h"

#include "platform/message_box.h"
#include "records/record.h"
#include "setup/security_text.h"

namespace setup {
namespace {

using namespace platform;
using D = CSecurityTypesDlg;

// Each prompt stands above its edit: a prompt names the chosen type, so
// its width changes from line to line, and the edits keep their places
// however long the type's name is.
DialogTemplate SecurityTypesTemplate() {
    return {
        kSecurityTypesDialogId, "Security Types",
        Column({
            Group(D::kListFrame, "Select Security Type to Edit", {ListBox(D::kTypeList).Chars(40).Lines(12)}),
            Static(D::kCodePrompt, "").Chars(52),
            Row({Edit(D::kCodeEdit).Chars(4), Stretch()}),
            Static(D::kNamePrompt, "").Chars(52),
            Row({Edit(D::kNameEdit).Chars(30), Stretch()}),
            Row({Stretch(), Button(D::kDone, "Done", kDefault)}),
        })};
}

}  // namespace

CSecurityTypesDlg::CSecurityTypesDlg(Window* parent) : Dialog(SecurityTypesTemplate(), parent) {
    Bind(kTypeList, Notify::SelChange, &D::OnSelect);
    Bind(kNameEdit, Notify::FocusLost, &D::OnNameLeft);
    Bind(kCodeEdit, Notify::FocusLost, &D::OnCodeLeft);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CSecurityTypesDlg::OnInitDialog() {
    // A directory without a type table starts from the standard one, so
    // that Done leaves every type named; Escape still writes nothing.
    types_ = records::ReadTypeNames();
    GetDlgItem(kCodeEdit).LimitText(static_cast<int>(records::kTypeCodeWidth));
    GetDlgItem(kNameEdit).LimitText(static_cast<int>(records::kTypeNameWidth));
    Control list = GetDlgItem(kTypeList);
    for (int k = 0; k < records::kListedTypeCount; ++k) list.AddString(Line(k));
    list.SetCurSel(0);
    OnSelect();
    // The focus starts in the list, so that the arrow keys walk the types.
    GotoDlgCtrl(kTypeList);
    return false;
}

std::string CSecurityTypesDlg::Line(int position) const {
    const std::size_t i = static_cast<std::size_t>(position);
    return Blanked(types_.codes[i]) + " - " + ShownText(types_.names[i]);
}

void CSecurityTypesDlg::ShowPrompts() {
    const std::size_t i = static_cast<std::size_t>(current_);
    SetDlgItemText(kNamePrompt, "Enter Description for Code " + ShownText(types_.codes[i]));
    SetDlgItemText(kCodePrompt, "Enter Code for " + ShownText(types_.names[i]));
}

void CSecurityTypesDlg::ReplaceLine() {
    // The prompts name the type as it now is, whatever the line shows.
    ShowPrompts();
    Control list = GetDlgItem(kTypeList);
    if (list.GetText(current_) == Line(current_)) return;
    list.DeleteString(current_);
    list.InsertString(current_, Line(current_));
    list.SetCurSel(current_);
}

void CSecurityTypesDlg::OnSelect() {
    const int line = GetDlgItem(kTypeList).GetCurSel();
    if (line < 0 || line >= records::kListedTypeCount) return;
    current_ = line;
    const std::size_t i = static_cast<std::size_t>(line);
    ShowPrompts();
    SetDlgItemText(kNameEdit, ShownText(types_.names[i]));
    SetDlgItemText(kCodeEdit, ShownText(types_.codes[i]));
    // The focus stays where it is: in the list the arrow keys go on
    // walking the types; the edits are a Tab or a click away.
}

void CSecurityTypesDlg::OnNameLeft() {
    types_.names[static_cast<std::size_t>(current_)] =
        records::Fixed(GetDlgItemText(kNameEdit), records::kTypeNameWidth);
    ReplaceLine();
}

void CSecurityTypesDlg::OnCodeLeft() {
    types_.codes[static_cast<std::size_t>(current_)] =
        records::Fixed(GetDlgItemText(kCodeEdit), records::kTypeCodeWidth);
    ReplaceLine();
}

void CSecurityTypesDlg::OnDone() {
    // A file that cannot be written keeps the dialog open with the edits.
    if (!records::WriteTypeNames(types_)) {
        MessageBox("Unable to write TYPENAME.DAT", "Security Types", MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
        return;
    }
    EndDialog(IDOK);
}

}  // namespace setup
