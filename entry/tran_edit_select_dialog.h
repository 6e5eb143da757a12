#pragma once

// Transaction Editor (dialog 122, report code 21): the account and order of
// the transaction list, by date from a typed date or by security. Its OK
// stores the choice in the transaction selection (shell::SetTranSelection)
// and is the go-ahead for the list window.

#include "platform/dialog.h"

namespace entry {

inline constexpr int kTranEditSelectDialogId = 122;

class CTranEditSelectDlg : public platform::Dialog {
public:
    static constexpr int kOk = 1000;
    static constexpr int kDateLabel = 1141;
    static constexpr int kDateRadio = 1145;
    static constexpr int kAccountList = 1148;
    static constexpr int kDateEdit = 1149;
    static constexpr int kSecurityList = 1150;
    static constexpr int kSecurityLabel = 1151;
    static constexpr int kSecurityRadio = 1152;

    explicit CTranEditSelectDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;
    bool OnEnterKey() override;

private:
    void ShowDateMode();
    void ShowSecurityMode();
    void FillSecurityList();
    void OnAccountChange();
    void OnOkClicked();

    int mode_ = 0;  // 0 date, 1 security
};

// Registers the dialog as report code 21's selection.
void RegisterTranEditSelect();

}  // namespace entry
