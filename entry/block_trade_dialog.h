#pragma once

// Define Block Trade (dialog 198, Modules / Block Trades / Define): one
// trade in one security for a block of accounts, whose allocations are
// then entered through the transaction list in block mode. The dialog
// shows a definition and, when "Done" finds every field valid, gives it
// back in its stored form; the command keeps it in TRADEBLK.DAT record 1.

#include "platform/dialog.h"
#include "records/transaction_lines.h"

namespace entry {

inline constexpr int kBlockTradeDialogId = 198;

class CBlockTradeDlg : public platform::Dialog {
public:
    static constexpr int kBroker = 1469;
    static constexpr int kShort = 1459;
    static constexpr int kSell = 1458;
    static constexpr int kCover = 1460;
    static constexpr int kBuy = 1391;
    static constexpr int kTotalCommission = 1467;
    static constexpr int kTradeDate = 1461;
    static constexpr int kQuantity = 1462;
    static constexpr int kPrice = 1463;
    static constexpr int kMiscExpense = 1468;
    static constexpr int kPerShare = 1466;
    static constexpr int kBondInterest = 1464;
    static constexpr int kSecurity = 1338;
    static constexpr int kDone = 1004;
    static constexpr int kCancel = 1140;

    explicit CBlockTradeDlg(const records::BlockDefinition& block, platform::Window* parent = nullptr);
    bool OnInitDialog() override;

    // The definition as shown, or as "Done" converted it.
    const records::BlockDefinition& Block() const { return block_; }

private:
    void OnDone();

    records::BlockDefinition block_;
};

// Registers Modules / Block Trades / Define: the stored definition (blank
// fields when none) in the dialog; "Done" stores the new one in record 1,
// keeping the file's counter and allocations.
void RegisterBlockTradeCommand();

}  // namespace entry
