#pragma once

// Trades (dialog 125, Transactions/Trades): a buy, sell, short sale, cover
// or stock split of one account and security, posted through Fbuysell; or,
// opened with a CurrentTranRecord, a change or deletion of that trade, a
// rewrite of a line of OFFLINET.DAT, or a block allocation of TRADEBLK.DAT.
// Beside the fields it shows the account's cash balance and its lots of
// the security.

#include "entry/transaction_dialog.h"

namespace entry {

inline constexpr int kTradesDialogId = 125;

class CTradesDlg : public CTransactionDlg {
public:
    static constexpr int kBondInterest = 1213;
    static constexpr int kBroker = 1128;
    static constexpr int kCurrency = 1212;
    static constexpr int kCommission = 1129;
    static constexpr int kMiscExpense = 1217;
    static constexpr int kPrice = 1126;
    static constexpr int kLocalPrice = 1203;
    static constexpr int kSettleDate = 1206;
    static constexpr int kSecFee = 1216;
    static constexpr int kShares = 1125;
    static constexpr int kMoneyMarket = 1210;
    static constexpr int kTaxLot = 1122;
    static constexpr int kCommPerShare = 1214;
    static constexpr int kBlockTotal = 1471;
    static constexpr int kBlockAllocated = 1472;
    static constexpr int kBlockSymbol = 1473;
    static constexpr int kBlockCode = 1474;

    explicit CTradesDlg(platform::Window* parent = nullptr);
    bool OnInitDialog() override;
    bool PostTransaction(bool remove) override;

private:
    void EnablePost();
    void ShowBlock();
    bool WriteAllocation(bool remove);
};

}  // namespace entry
