#pragma once

// Block Size Computation (dialog 183, code 89): the request of a block
// trade across one manager's accounts: security, broker, pricing and
// settlement dates, commission per unit, unit price, portfolio
// percentage, lot type and whether to post. "Generate Report" checks the
// five typed values and stores the request in the report globals; the
// dispatcher then runs the output road. Enter and Escape move to the next
// field; only Cancel closes without storing.

#include "platform/dialog.h"

namespace entry {

inline constexpr int kBlockSizeDialogId = 183;
inline constexpr int kBlockSizeCode = 89;

class CBlockSizeDlg : public platform::Dialog {
public:
    static constexpr int kPriceDate = 1196;
    static constexpr int kSettlementDate = 1197;
    static constexpr int kSymbol = 1338;
    static constexpr int kBrokers = 1069;
    static constexpr int kCommission = 1201;
    static constexpr int kUnitPrice = 1202;
    static constexpr int kPercentage = 1203;
    static constexpr int kOddRadio = 1204;
    static constexpr int kRoundRadio = 1205;
    static constexpr int kPostCheck = 1206;
    static constexpr int kManagerCombo = 1207;
    static constexpr int kGenerate = 1139;
    static constexpr int kCancel = 1140;

    explicit CBlockSizeDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnEnterKey() override;
    bool OnEscapeKey() override;
    // "Generate Report".
    void OnGenerateReport();
};

}  // namespace entry
