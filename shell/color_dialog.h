#pragma once

// The colour dialog (dialog 134): the names of all colour entries in a list;
// Select Color gives the selected entry the background colour the user
// picks in the colour dialog.

#include "platform/dialog.h"

namespace shell {

class CColorSelectDlg : public platform::Dialog {
public:
    static constexpr int kEntryList = 1028;
    static constexpr int kSelectColor = 1029;

    explicit CColorSelectDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;

private:
    void OnSelectColor();
};

}  // namespace shell
