// The Group Editor.

#include "setup/group_editor_dialog.h"

#include <algorithm>

#include "platform/feedback.h"
#include "platform/message_box.h"
#include "shell/fillers.h"

namespace setup {
namespace {

using namespace platform;
using D = CGroupEditorDlg;

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

DialogTemplate GroupEditorTemplate() {
    return {kGroupEditorDialogId, "Group Editor",
            Column({
                Row({Radio(D::kGroupMode, "Edit Groups", kChecked), Radio(D::kSuperMode, "Edit Super Groups"),
                     Stretch()}),
                Row({Group(D::kNameFrame, "Select Group to Edit",
                           {ListBox(D::kNameList).Chars(14).Lines(8), Edit(D::kNameEdit).Chars(14)}),
                     Column({Static(D::kNameShown, "").Chars(14),
                             Group(D::kMemberFrame, "Contents of Group",
                                   {Static(D::kRemovePrompt, "").Chars(36),
                                    ListBox(D::kMemberList).Chars(14).Lines(7)})}),
                     Group(D::kCandidateFrame, "Accounts",
                           {Static(D::kAddPrompt, "").Chars(36),
                            ListBox(D::kCandidateList).Chars(14).Lines(7)})}),
                Row({Static(D::kDescriptionLabel, "Description of Group").Chars(36),
                     Edit(D::kDescriptionEdit).Chars(34), Stretch()}),
                Row({Button(D::kDeleteButton, "Delete Group XXXXXXXX"), Stretch(),
                     Button(D::kDone, "Done", kDefault)}),
            })};
}

}  // namespace

CGroupEditorDlg::CGroupEditorDlg(Window* parent) : Dialog(GroupEditorTemplate(), parent) {
    Bind(kGroupMode, Notify::Clicked, &D::Refresh);
    Bind(kSuperMode, Notify::Clicked, &D::Refresh);
    Bind(kNameEdit, Notify::Changed, &D::OnNameChange);
    Bind(kNameEdit, Notify::FocusLost, &D::OnNameLeft);
    Bind(kNameList, Notify::SelChange, &D::OnNameChosen);
    Bind(kCandidateList, Notify::SelChange, &D::OnCandidateChosen);
    Bind(kMemberList, Notify::SelChange, &D::OnMemberChosen);
    Bind(kDescriptionEdit, Notify::FocusLost, &D::OnDescriptionLeft);
    Bind(kDeleteButton, Notify::Clicked, &D::OnDelete);
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CGroupEditorDlg::OnInitDialog() {
    groups_.Load(records::kGroupFile);
    supers_.Load(records::kSuperGroupFile);
    CheckDlgButton(kGroupMode, 1);
    CheckDlgButton(kSuperMode, 0);
    GetDlgItem(kNameEdit).LimitText(static_cast<int>(records::kGroupNameLength));
    GetDlgItem(kDescriptionEdit).LimitText(static_cast<int>(records::kGroupDescriptionLength));
    Refresh();
    return true;
}

bool CGroupEditorDlg::SuperMode() const {
    return IsDlgButtonChecked(kSuperMode) != 0;
}

records::CGroupEntry* CGroupEditorDlg::CurrentEntry() {
    return ModeList().Find(GetDlgItemText(kNameEdit));
}

void CGroupEditorDlg::Refresh() {
    const bool super = SuperMode();
    const std::string kind = super ? "Super Group" : "Group";
    const std::string member = super ? "Group" : "Account";
    const std::string name = GetDlgItemText(kNameEdit);
    const bool named = !name.empty();

    Control names = GetDlgItem(kNameList);
    names.ResetContent();
    for (const std::string& entry : ModeList().Names()) names.AddString(entry);

    SetDlgItemText(kCandidateFrame, super ? "Groups" : "Accounts");
    SetDlgItemText(kDeleteButton, "Delete " + kind + " " + name);
    SetDlgItemText(kRemovePrompt, "Select " + member + " to Remove From " + kind + " " + name);
    SetDlgItemText(kAddPrompt, "Select " + member + " to Add to " + kind + " " + name);
    SetDlgItemText(kMemberFrame, "Contents of " + kind);
    SetDlgItemText(kNameFrame, "Select " + kind + " to Edit");
    SetDlgItemText(kDescriptionLabel, "Description of " + kind + " " + name);
    for (const int id :
         {kDeleteButton, kMemberFrame, kCandidateFrame, kCandidateList, kDescriptionLabel, kDescriptionEdit})
        GetDlgItem(id).EnableWindow(named);
    // The prompts follow the lists as they stand before they are filled
    // again below.
    GetDlgItem(kRemovePrompt).EnableWindow(named && GetDlgItem(kMemberList).GetCount() > 0);
    GetDlgItem(kAddPrompt).EnableWindow(named && GetDlgItem(kCandidateList).GetCount() > 0);
    SetDlgItemText(kNameShown, name);

    ShowMembers();
    const records::CGroupEntry* entry = CurrentEntry();
    SetDlgItemText(kDescriptionEdit, entry ? entry->description : "");

    Control candidates = GetDlgItem(kCandidateList);
    candidates.ResetContent();
    if (super) {
        for (const std::string& group : groups_.Names()) candidates.AddString(group);
    } else {
        shell::FillAccountCombo(candidates);
    }
}

void CGroupEditorDlg::ShowMembers() {
    Control members = GetDlgItem(kMemberList);
    members.ResetContent();
    if (const records::CGroupEntry* entry = CurrentEntry())
        for (std::size_t i = 1; i < entry->names.size(); ++i) members.AddString(entry->names[i]);
}

void CGroupEditorDlg::OnNameChange() {
    Control edit = GetDlgItem(kNameEdit);
    const std::string text = edit.GetWindowText();
    int start = 0, end = 0;
    edit.GetSel(start, end);
    std::string kept;
    int caret = end;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLetterOrDigit(text[i]))
            kept += text[i];
        else if (static_cast<int>(i) < end)
            --caret;
    }
    if (kept == text) return;
    edit.SetWindowText(kept);
    edit.SetSel(caret, caret);
    MessageBeep(MB_ICONASTERISK);
}

void CGroupEditorDlg::OnNameLeft() {
    const std::string name = GetDlgItemText(kNameEdit);
    // An empty field names nothing to create.
    if (!name.empty() && GetDlgItem(kNameList).FindString(-1, name) == LB_ERR) {
        GetDlgItem(kNameList).AddString(name);
        ModeList().Entries().push_back({{name}, ""});
    }
    Refresh();
}

void CGroupEditorDlg::OnNameChosen() {
    const Control names = GetDlgItem(kNameList);
    const int line = names.GetCurSel();
    if (line < 0) return;
    SetDlgItemText(kNameEdit, names.GetText(line));
    Refresh();
}

void CGroupEditorDlg::OnCandidateChosen() {
    const Control candidates = GetDlgItem(kCandidateList);
    const int line = candidates.GetCurSel();
    records::CGroupEntry* entry = CurrentEntry();
    if (line < 0 || !entry) return;
    const std::string candidate = candidates.GetText(line);
    if (std::find(entry->names.begin() + 1, entry->names.end(), candidate) == entry->names.end())
        entry->names.push_back(candidate);
    ShowMembers();
}

void CGroupEditorDlg::OnMemberChosen() {
    const Control members = GetDlgItem(kMemberList);
    const int line = members.GetCurSel();
    records::CGroupEntry* entry = CurrentEntry();
    if (line < 0 || !entry || line + 1 >= static_cast<int>(entry->names.size())) return;
    entry->names.erase(entry->names.begin() + 1 + line);
    ShowMembers();
}

void CGroupEditorDlg::OnDescriptionLeft() {
    if (records::CGroupEntry* entry = CurrentEntry()) entry->description = GetDlgItemText(kDescriptionEdit);
}

void CGroupEditorDlg::OnDelete() {
    const std::string name = GetDlgItemText(kNameEdit);
    const std::string kind = SuperMode() ? "Super Group " : "Group ";
    if (MessageBox("Are you sure you want to delete " + kind + name, "Confirm Delete", MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    auto& entries = ModeList().Entries();
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const records::CGroupEntry& e) { return e.Name() == name; });
    if (it != entries.end()) entries.erase(it);
    // The name goes with its entry, so that leaving the field later does
    // not make the entry again.
    SetDlgItemText(kNameEdit, "");
    Refresh();
}

void CGroupEditorDlg::OnDone() {
    // A file that cannot be written keeps its previous content; the dialog
    // stays open with the edits, so that nothing is lost unseen.
    for (const auto& [list, file] :
         {std::pair{&groups_, records::kGroupFile}, std::pair{&supers_, records::kSuperGroupFile}}) {
        if (list->Save(file)) continue;
        MessageBox(std::string("Unable to write ") + file, "Group Editor", MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
        return;
    }
    EndDialog(IDOK);
}

}  // namespace setup
