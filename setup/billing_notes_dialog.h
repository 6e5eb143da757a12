#pragma once

// Billing Notes (dialog 186, Modules/Billing/Notes): the firm's six billing
// note lines of 64 characters, read from COMMON.FIL when the dialog opens
// and written back on OK; Cancel writes nothing.

#include <array>

#include "platform/dialog.h"

namespace setup {

inline constexpr int kBillingNotesDialogId = 186;

class CBillingNotesDlg : public platform::Dialog {
public:
    // The edits of lines 1 to 6.
    static constexpr std::array<int, 6> kLineIds = {1313, 1314, 1315, 1316, 1317, 1318};
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    explicit CBillingNotesDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
};

}  // namespace setup
