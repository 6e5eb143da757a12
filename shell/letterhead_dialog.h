#pragma once

// Letterhead (dialog 191): the firm's eight letterhead lines, five of the
// name and address (40 characters each) and three of the contact (32
// characters each), read from COMMON.FIL when the dialog opens and written
// back on OK.

#include <array>

#include "platform/dialog.h"

namespace shell {

class CLetterheadDlg : public platform::Dialog {
public:
    static constexpr int kDialogId = 191;
    // The edits of lines 1 to 8, in line order.
    static constexpr std::array<int, 8> kLineIds = {1246, 1248, 1249, 1247, 1250, 1251, 1252, 1253};
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    explicit CLetterheadDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
};

}  // namespace shell
