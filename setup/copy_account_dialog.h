#pragma once

// Copy Account (dialog 152, Utilities/Copy Account): copies an account
// chosen from the list to a new identifier through Cpyacc, which adds the
// new account to the account files and copies its holdings, transactions,
// gains and value history.

#include "platform/dialog.h"

namespace setup {

inline constexpr int kCopyAccountDialogId = 152;

class CCopyAccountDlg : public platform::Dialog {
public:
    static constexpr int kOldList = 1075;
    static constexpr int kNewEdit = 1076;
    static constexpr int kCopy = 1004;

    explicit CCopyAccountDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;

private:
    void OnCopy();
};

}  // namespace setup
