#pragma once

// Historical Data (dialog 174, Utilities/Historical Portfolio Values): an
// account's month-end market values, capital flows and incomes of one year
// of its value history HL<acct>.DAT. "Get Data" reads the year of the
// chosen account and shows the 36 values; "Save Data" checks them all and
// writes them back at the place the read gave; Done drops what was not
// saved.

#include <array>
#include <cstdint>
#include <string>

#include "engine/value_history.h"
#include "platform/dialog.h"

namespace setup {

inline constexpr int kHistoricalDataDialogId = 174;

class CHistoricalDataDlg : public platform::Dialog {
public:
    static constexpr int kYear = 1123;
    static constexpr int kAccounts = 1125;
    static constexpr int kGetData = 1126;
    static constexpr int kSaveData = 1127;
    static constexpr int kDone = 1004;
    // The edits of months 1 to 12.
    static constexpr std::array<int, 12> kMarketValueIds = {1129, 1133, 1141, 1161, 1165, 1169,
                                                            1173, 1177, 1181, 1185, 1189, 1193};
    static constexpr std::array<int, 12> kCapitalFlowIds = {1130, 1134, 1142, 1162, 1166, 1170,
                                                            1174, 1178, 1182, 1186, 1190, 1194};
    static constexpr std::array<int, 12> kIncomeIds = {1131, 1135, 1143, 1163, 1167, 1171,
                                                       1175, 1179, 1183, 1187, 1191, 1195};
    // The years a value history holds.
    static constexpr int kFirstYear = 1951;
    static constexpr int kLastYear = 2050;

    explicit CHistoricalDataDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

private:
    std::string Account() const;
    void ShowValues(bool shown);
    void OnGetData();
    void OnSaveData();

    engine::MonthlyValues market_values_{};
    engine::MonthlyValues capital_flows_{};
    engine::MonthlyValues incomes_{};
    int16_t year_ = 0;
    std::string year_text_;
    int16_t record_ = 0;
    int16_t year_word_ = 0;
};

}  // namespace setup
