#pragma once

// Portfolio Manager Codes (dialog 176, Utilities/Portfolio Manager Codes):
// the manager code table of COMMON.FIL as the lines of a combo box. A text
// typed into the box that no line equals becomes a new line when the box is
// left; Delete removes the line equal to the text. Done stores line n in
// slot n of the table (the slots after the last line blank) and writes only
// the slot bytes of the four records; Escape closes without writing.

#include "platform/dialog.h"

namespace setup {

inline constexpr int kManagerCodesDialogId = 176;

class CManagerCodesDlg : public platform::Dialog {
public:
    static constexpr int kCodes = 1161;
    static constexpr int kDelete = 1377;
    static constexpr int kDone = 1004;

    explicit CManagerCodesDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    // Enter moves the focus to the next control.
    bool OnEnterKey() override;

private:
    void OnCodesLeft();
    void OnDelete();
    void OnDone();
};

}  // namespace setup
