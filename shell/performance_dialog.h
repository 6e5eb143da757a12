#pragma once

// The performance reports dialog (dialog 140): the performance module's
// five reports share it. The user picks the report, the accounts (all, a
// selection, or groups), the manager code, the period and asset class, the
// dates, the sort order and the output; Generate Report checks the entries,
// stores them in the report globals and, for the combined report over a
// group or super group, writes compfile.lst.

#include "platform/dialog.h"

namespace shell {

inline constexpr int kPerformanceDialogId = 140;

class CPerformanceReportsDlg : public platform::Dialog {
public:
    static constexpr int kReportList = 1422;
    static constexpr int kAccountGroup = 1200;  // the "Account" frame
    static constexpr int kAllRadio = 1170;
    static constexpr int kGroupsRadio = 1100;
    static constexpr int kSelectRadio = 1176;
    static constexpr int kAccountList = 1159;
    static constexpr int kGroupList = 1111;
    static constexpr int kManagerGroup = 1238;
    static constexpr int kManagerCombo = 1161;
    static constexpr int kAssetGroup = 1424;  // the "Asset Class" frame
    static constexpr int kCashEquivalents = 1425;
    static constexpr int kEquities = 1426;
    static constexpr int kFixedIncome = 1427;
    static constexpr int kSecurityPerformance = 1428;
    static constexpr int kAllClasses = 1429;
    static constexpr int kMonthly = 1285;
    static constexpr int kQuarterly = 1284;
    static constexpr int kStartLabel = 1219;
    static constexpr int kStartDate = 1162;
    static constexpr int kEndLabel = 1220;
    static constexpr int kEndDate = 1163;
    static constexpr int kOutputGroup = 1430;  // the "Output" frame
    static constexpr int kSortObjective = 1341;
    static constexpr int kSortId = 1346;
    static constexpr int kGenerate = 1380;

    // The reports of the list, in list order.
    enum Report {
        kMonthlyAndSummary = 0,
        kCombined = 1,
        kSummaryByAccount = 2,
        kMonthlyByAccount = 3,
        kAssetClass = 4,
    };

    explicit CPerformanceReportsDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnCancel() override;
    void OnGenerateReport();
    // Sets the controls for the report chosen in the list.
    void OnReportChange();

private:
    void OnAll();
    void OnGroups();
    void OnSelect();
    void ShowAccountList(bool accounts);
};

}  // namespace shell
