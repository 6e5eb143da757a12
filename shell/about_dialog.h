#pragma once

// The About dialog (dialog 100): the program's icon and version, OK only.

#include "platform/dialog.h"

namespace shell {

class CAboutDlg : public platform::Dialog {
public:
    explicit CAboutDlg(platform::Window* parent = nullptr);
};

}  // namespace shell
