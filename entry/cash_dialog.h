#pragma once

// Cash (dialog 145, Transactions/Cash): one of the fourteen cash
// transactions of an account, posted through Fcash; or, opened with a
// CurrentTranRecord, a change or deletion of it, or a rewrite of a line of
// OFFLINET.DAT. The account's cash balance shows above the fields.

#include "entry/transaction_dialog.h"

namespace entry {

inline constexpr int kCashDialogId = 145;

class CCashDlg : public CTransactionDlg {
public:
    static constexpr int kAmount = 1127;
    static constexpr int kHiddenSymbol = 1122;
    // The label "Symmmf" of the hidden symbol box, hidden with it.
    static constexpr int kHiddenSymbolLabel = 1125;

    explicit CCashDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;
    bool PostTransaction(bool remove) override;
    void ShowCashBalance();

private:
    void EnablePost();
    void OnBoxSelection();
};

}  // namespace entry
