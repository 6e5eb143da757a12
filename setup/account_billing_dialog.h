#pragma once

// Account Billing Information (dialog 187, Modules/Billing/Update): the
// billing state of one account at a time, kept in ACCTBILL.DAT. The fields
// show the chosen account's stored entry (blank for an account without
// one); OK, and choosing another account, check the fields shown and write
// the shown account's entry, and a failed check keeps the dialog and the
// account where they were.

#include <string>

#include "platform/dialog.h"
#include "records/module_stores.h"

namespace setup {

inline constexpr int kAccountBillingDialogId = 187;

class CAccountBillingDlg : public platform::Dialog {
public:
    static constexpr int kAccounts = 1125;
    static constexpr int kBalanceDue = 1317;
    static constexpr int kPayment = 1318;
    static constexpr int kPaymentDate = 1319;
    static constexpr int kPaymentMethod = 1320;
    static constexpr int kTotalBilled = 1321;
    static constexpr int kLastMonth = 1322;
    static constexpr int kLastYear = 1323;
    static constexpr int kClosingDate = 1324;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    explicit CAccountBillingDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowSelected();
    // Checks the fields and writes the shown account's entry; false (with
    // the messages shown) when a check or the write failed.
    bool CheckAndStore();
    void OnAccountChange();

    int current_ = -1;
    std::string account_;
};

}  // namespace setup
