#pragma once

// The income autopost module's entry side. "Income Distribution
// Initialization" (dialog 184) asks for a year and a security; "Income
// Distributions" (185) edits that security's twelve monthly distribution
// rows of the year, opened from INCDIST.DAT and written back on OK;
// "Initial Post Date" (188) sets the income post date in COMMON.FIL record
// 7, which Post Income offers.

#include <array>
#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "records/module_stores.h"

namespace shell {
class CMainFrame;
}

namespace setup {

inline constexpr int kIncomeDistInitDialogId = 184;
inline constexpr int kIncomeDistributionsDialogId = 185;
inline constexpr int kInitialPostDateDialogId = 188;

class CIncomeDistInitDlg : public platform::Dialog {
public:
    static constexpr int kYear = 1123;
    static constexpr int kSecurity = 1338;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;
    static constexpr int kFirstYear = 1951;
    static constexpr int kLastYear = 2050;

    explicit CIncomeDistInitDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // What the dialog ended with OK on.
    int16_t Year() const { return year_; }
    const std::string& Security() const { return security_; }

private:
    int16_t year_ = 0;
    std::string security_;
};

class CIncomeDistributionsDlg : public platform::Dialog {
public:
    using Ids = std::array<int, 12>;
    static constexpr int kCaption = 1164;
    // The controls of the months January to December, by column.
    static constexpr Ids kDividendRateIds = {1214, 1222, 1230, 1238, 1246, 1254,
                                             1262, 1270, 1278, 1286, 1294, 1302};
    static constexpr Ids kInterestRateIds = {1215, 1223, 1231, 1239, 1247, 1255,
                                             1263, 1271, 1279, 1287, 1295, 1303};
    static constexpr Ids kCapitalDistIds = {1309, 1131, 1132, 1133, 1310, 1135,
                                            1136, 1137, 1138, 1139, 1141, 1142};
    static constexpr Ids kExDateIds = {1216, 1224, 1232, 1240, 1248, 1256,
                                       1264, 1272, 1280, 1288, 1296, 1304};
    static constexpr Ids kPayDateIds = {1218, 1225, 1233, 1241, 1249, 1257,
                                        1265, 1273, 1281, 1289, 1297, 1305};
    static constexpr Ids kReinvestPriceIds = {1219, 1226, 1234, 1242, 1250, 1258,
                                              1266, 1274, 1282, 1290, 1298, 1306};
    static constexpr Ids kDividendExpenseIds = {1220, 1227, 1235, 1243, 1251, 1259,
                                                1267, 1275, 1283, 1291, 1299, 1307};
    static constexpr Ids kExpenseFlagIds = {1221, 1228, 1236, 1244, 1252, 1260,
                                            1268, 1276, 1284, 1292, 1300, 1308};
    static constexpr std::array<const char*, 12> kMonthLabels = {"Jan",  "Feb", "Mar",  "Apr", "May", "June",
                                                                 "July", "Aug", "Sept", "Oct", "Nov", "Dec"};
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    CIncomeDistributionsDlg(int16_t year, std::string security, platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The rows as OK read them.
    const records::DistributionRows& Rows() const { return rows_; }

private:
    int16_t year_;
    std::string security_;
    records::DistributionRows rows_{};
};

class CInitialPostDateDlg : public platform::Dialog {
public:
    static constexpr int kDate = 1151;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    explicit CInitialPostDateDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

// Modules/Income Autopost/Input Income Distributions: dialog 184, and after
// its OK dialog 185 with the chosen year and security.
void RunIncomeDistributions(shell::CMainFrame& frame);

}  // namespace setup
