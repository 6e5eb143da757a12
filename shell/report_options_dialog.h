#pragma once

// The report options dialog (dialog 123), shared by thirty reports: the
// position and appraisal reports, the list and fixed-income reports, the
// composite appraisals and gains, and several trade reports. The report
// code chooses the title and which controls show and how they read: one
// report date or two dates, accounts or a manager code, the composite
// choice of all accounts, a super group or a group, flags, a security, the
// sort order and the tax and cross-reference fields. Generate Report checks
// the entries, stores the selection in the report globals and closes with
// IDOK; with errors it shows them in the message list and stays open. For
// the composite reports over a group it writes compfile.lst.

#include <string>

#include "platform/dialog.h"

namespace shell {

inline constexpr int kReportOptionsDialogId = 123;

class CReportOptionsDlg : public platform::Dialog {
public:
    static constexpr int kAccountGroup = 1200;
    static constexpr int kAllRadio = 1170;
    static constexpr int kSelectRadio = 1176;
    static constexpr int kGroupRadio = 1100;
    static constexpr int kClientListGroup = 1237;
    static constexpr int kAccountList = 1159;
    static constexpr int kGroupList = 1111;
    static constexpr int kManagerGroup = 1238;
    static constexpr int kManagerCombo = 1161;
    static constexpr int kFirstDateLabel = 1219;
    static constexpr int kFirstDate = 1162;
    static constexpr int kSecondDateLabel = 1220;
    static constexpr int kSecondDate = 1163;
    static constexpr int kFlag1 = 1231;
    static constexpr int kFlag2 = 1347;
    static constexpr int kSecurityLabel = 1151;
    static constexpr int kSecurityCombo = 1338;
    static constexpr int kSortGroup = 1340;
    static constexpr int kSortObjective = 1341;
    static constexpr int kSortMarketValue = 1342;
    static constexpr int kSortCash = 1343;
    static constexpr int kSortPercentCash = 1344;
    static constexpr int kSortName = 1345;
    static constexpr int kSortId = 1346;
    static constexpr int kTagLabel = 1377;
    static constexpr int kTagEdit = 1378;
    static constexpr int kNumberLabel = 1379;
    static constexpr int kNumberEdit = 1380;
    static constexpr int kNameLabel = 1381;
    static constexpr int kNameEdit = 1382;
    static constexpr int kTransmitterLabel = 1383;
    static constexpr int kTransmitterEdit = 1385;
    static constexpr int kPayerLabel = 1384;
    static constexpr int kPayerEdit = 1386;
    static constexpr int kSecondFileLabel = 1072;
    static constexpr int kSecondFileEdit = 1073;
    static constexpr int kGenerate = 1169;

    explicit CReportOptionsDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnCancel() override;
    void OnGenerateReport();

    // 1 while the dialog asks for one report date (it then stands for the
    // end date).
    int ReportDateMode() const { return report_date_mode_; }

private:
    void OnAll();
    void OnSelect();
    void OnGroup();
    void CheckDates(int code);

    int report_date_mode_ = 0;
};

// True for the report codes this dialog serves.
bool IsReportOptionsCode(int code);
// The dialog's title for a code; empty for a code it does not serve.
std::string ReportOptionsTitle(int code);

}  // namespace shell
