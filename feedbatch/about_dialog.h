#pragma once

// The batch program's About dialog (dialog 101, "About ORLIN"): the product
// name, its version and icon, the system it runs on (control 1000) and the
// build (control 1002); OK closes it.

#include "platform/dialog.h"

namespace feedbatch {

inline constexpr int kAboutDialogId = 101;
inline constexpr int kAboutSystemId = 1000;
inline constexpr int kAboutBuildId = 1002;

class BatchAboutDialog : public platform::Dialog {
public:
    explicit BatchAboutDialog(platform::Window* parent = nullptr);
    bool OnInitDialog() override;
};

}  // namespace feedbatch
