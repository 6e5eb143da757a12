#pragma once

// Fee Schedule (dialog 172, Modules/Billing/Fee Schedule): the 36 fee
// schedules of BILTABLE.DAT, one billing code at a time. A code is a flat
// fee, a straight percentage or incremental percentages over five break
// points; percentages are shown and typed as per cent and stored as
// fractions. Done clears what a code's type does not use and writes the
// whole table; any other way out writes nothing.

#include <array>

#include "platform/dialog.h"
#include "records/fee_table.h"

namespace setup {

inline constexpr int kFeeScheduleDialogId = 172;

class CFeeScheduleDlg : public platform::Dialog {
public:
    static constexpr int kCode = 1116;
    static constexpr int kSpin = 1039;
    static constexpr int kFlatFee = 1117;
    static constexpr int kStraight = 1118;
    static constexpr int kIncremental = 1119;
    static constexpr int kFirstLabel = 1367;
    static constexpr int kFirstValue = 1120;
    // Break point 1, percentage 2, break point 2, ... percentage 5, break
    // point 5: their labels and edits.
    static constexpr std::array<int, 9> kStepLabels = {1358, 1368, 1369, 1370, 1371, 1372, 1373, 1374, 1375};
    static constexpr std::array<int, 9> kStepValues = {1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129};
    static constexpr int kDone = 1004;

    enum FeeType : int16_t { kFlat = 0, kStraightPercentage = 1, kIncrementalPercentages = 2 };

    explicit CFeeScheduleDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    int CurrentCode() const { return code_; }
    // The table as edited (percentages as per cent).
    const records::FeeTable& Table() const { return table_; }

private:
    void ShowCode();
    // The value edit id's place in the table of the current code.
    double& ValueOf(int id);
    void OnType(int16_t type);
    void OnValueLeft(int id);
    void OnValueChange(int id);
    void OnCodeChange();
    void OnCodeLeft();
    void OnSpin(const platform::Notification& n);
    void OnDone();

    records::FeeTable table_;
    int code_ = 1;
    // On while the dialog sets a text itself, so that the keystroke filters
    // leave it alone.
    bool setting_ = false;
};

}  // namespace setup
