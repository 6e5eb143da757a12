#pragma once

// The Security Types dialog (dialog 158, Utilities/Security Type): gives
// each of the 22 fixed security types the two-character code and the
// 28-character name under which the other dialogs and the reports show it.
// A directory without a type table opens on the standard one.
// Choosing a line leaves the focus in the list, so that the arrow keys walk
// it; the prompts always name the chosen type. A name or code takes effect
// in the list when its edit is left; Done writes COMMON.FIL record 27 and
// the 22 TYPENAME.DAT records, Escape closes without writing.

#include "platform/dialog.h"
#include "records/security_types.h"

namespace setup {

inline constexpr int kSecurityTypesDialogId = 158;

class CSecurityTypesDlg : public platform::Dialog {
public:
    static constexpr int kTypeList = 1088;
    static constexpr int kListFrame = 1087;
    static constexpr int kCodeEdit = 1090;
    static constexpr int kCodePrompt = 1092;
    static constexpr int kNameEdit = 1089;
    static constexpr int kNamePrompt = 1091;
    static constexpr int kDone = 1004;

    explicit CSecurityTypesDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    const records::TypeNames& Types() const { return types_; }

private:
    // The list line of a position: code, " - ", name without trailing blanks.
    std::string Line(int position) const;
    // The two prompts name the current type by its code and its name.
    void ShowPrompts();
    // Shows the current type's edited code or name in its line and prompts.
    void ReplaceLine();

    void OnSelect();
    void OnNameLeft();
    void OnCodeLeft();
    void OnDone();

    records::TypeNames types_;
    int current_ = 0;
};

}  // namespace setup
