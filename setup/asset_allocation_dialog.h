#pragma once

// Input Asset Allocation (dialog 189, Modules/Asset Allocation/Input/
// Modify): a sell-and-buy instruction over a set of accounts. The dialog
// opens on the allocation kept in ASSETALC.DAT (its choices, texts and
// selections), checks every entry on OK and writes the allocation back.

#include "platform/dialog.h"
#include "records/module_stores.h"

namespace setup {

inline constexpr int kInputAssetAllocationDialogId = 189;

class CInputAssetAllocationDlg : public platform::Dialog {
public:
    static constexpr int kTrades = 1329;
    static constexpr int kTransfers = 1330;
    static constexpr int kAllRadio = 1429;
    static constexpr int kSelectRadio = 1143;
    static constexpr int kAccountGroup = 1146;
    static constexpr int kManagerCombo = 1145;
    static constexpr int kAccounts = 1125;
    static constexpr int kByIdentifier = 1355;
    static constexpr int kByType = 1354;
    static constexpr int kSellLabel = 1230;
    static constexpr int kSellSecurity = 1341;
    static constexpr int kSellType = 1235;
    static constexpr int kSellBroker = 1356;
    static constexpr int kBuyBroker = 1358;
    static constexpr int kBuySecurity = 1345;
    static constexpr int kFifo = 1335;
    static constexpr int kLifo = 1336;
    static constexpr int kHico = 1337;
    static constexpr int kLoco = 1338;
    static constexpr int kNone = 1339;
    static constexpr int kSellDate = 1331;
    static constexpr int kSellPrice = 1332;
    static constexpr int kSellCommission = 1333;
    static constexpr int kSellExpense = 1334;
    static constexpr int kBuyDate = 1340;
    static constexpr int kPositionPercent = 1344;
    static constexpr int kBuyPrice = 1348;
    static constexpr int kBuyCommission = 1349;
    static constexpr int kBuyExpense = 1350;
    static constexpr int kShareRatio = 1351;
    static constexpr int kQuantity = 1352;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    explicit CInputAssetAllocationDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The allocation OK built.
    const records::AssetAllocation& Allocation() const { return allocation_; }

private:
    void OnAll();
    void OnSelect();
    void OnByIdentifier();
    void OnByType();
    void ShowStored(const records::AssetAllocation& stored);

    records::AssetAllocation allocation_;
};

}  // namespace setup
