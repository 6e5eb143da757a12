#pragma once

// Transfers (dialog 144, Transactions/Transfers): a security received into
// an account (SI, with the lot's historical purchase date and cost) or
// withdrawn from it (SO), posted through Fasset; or, opened with a
// CurrentTranRecord, a change or deletion of it, or a rewrite of a line of
// OFFLINET.DAT. Beside the fields: the cash balance and the account's lots
// of the security.

#include "entry/transaction_dialog.h"

namespace entry {

inline constexpr int kTransfersDialogId = 144;

class CTransfersDlg : public CTransactionDlg {
public:
    static constexpr int kBroker = 1128;
    static constexpr int kTaxLot = 1122;
    static constexpr int kShares = 1125;
    static constexpr int kAmount = 1127;
    static constexpr int kPurchaseDate = 1443;
    static constexpr int kCost = 1444;
    static constexpr int kHistoricalGroup = 1061;
    static constexpr int kPurchaseDateLabel = 1024;
    static constexpr int kCostLabel = 1062;

    explicit CTransfersDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;
    bool PostTransaction(bool remove) override;

private:
    void ShowHistorical(const std::string& code_text);
};

}  // namespace entry
