#pragma once

// The Group Editor (dialog 170, Utilities/Groups): edits the account
// groups of group.dat and the super groups of super.dat. In group mode an
// entry's members are account identifiers chosen from ACCOUNT.IDX, in super
// group mode they are group names. A name typed into the name field that
// no entry begins with becomes a new, empty entry when the field is left.
// Done writes both files; Escape closes without writing.

#include <string>

#include "platform/dialog.h"
#include "records/groups.h"

namespace setup {

inline constexpr int kGroupEditorDialogId = 170;

class CGroupEditorDlg : public platform::Dialog {
public:
    static constexpr int kGroupMode = 1100;
    static constexpr int kSuperMode = 1101;
    static constexpr int kNameFrame = 1097;
    static constexpr int kNameList = 1114;
    static constexpr int kNameEdit = 1245;
    static constexpr int kNameShown = 1104;
    static constexpr int kMemberFrame = 1103;
    static constexpr int kMemberList = 1105;
    static constexpr int kCandidateFrame = 1107;
    static constexpr int kCandidateList = 1108;
    static constexpr int kDescriptionLabel = 1189;
    static constexpr int kDescriptionEdit = 1190;
    static constexpr int kAddPrompt = 1113;
    static constexpr int kRemovePrompt = 1112;
    static constexpr int kDeleteButton = 1099;
    static constexpr int kDone = 1004;

    explicit CGroupEditorDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void Refresh();

    const records::CGroupList& Groups() const { return groups_; }
    const records::CGroupList& SuperGroups() const { return supers_; }

private:
    bool SuperMode() const;
    records::CGroupList& ModeList() { return SuperMode() ? supers_ : groups_; }
    // The entry named exactly like the name field, or nullptr.
    records::CGroupEntry* CurrentEntry();
    void ShowMembers();

    void OnNameChange();
    void OnNameLeft();
    void OnNameChosen();
    void OnCandidateChosen();
    void OnMemberChosen();
    void OnDescriptionLeft();
    void OnDelete();
    void OnDone();

    records::CGroupList groups_;
    records::CGroupList supers_;
};

}  // namespace setup
