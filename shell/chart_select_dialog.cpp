#include "shell/chart_select_dialog.h"

namespace shell {

int16_t ChartKind = 1;
int16_t ChartType = 2;

namespace {

using namespace platform;

DialogTemplate ChartSelectTemplate() {
    using D = CChartSelectDlg;
    return {
        kChartSelectDialogId, "Charts",
        Column({Row({Group(IDC_STATIC, "Select Chart",
                           {Radio(D::kAssetAllocation, "Asset Allocation"),
                            Radio(D::kIndustryCategory, "Industry Category"),
                            Radio(D::kPerformance, "Performance")}),
                     Group(D::kTypeGroup, "Select Type",
                           {Radio(D::kPieChart, "Pie Chart"), Radio(D::kBarChart, "Bar Chart"), Stretch()})}),
                Row({Stretch(), Button(IDOK, "OK", kDefault), Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

CChartSelectDlg::CChartSelectDlg(Window* parent) : Dialog(ChartSelectTemplate(), parent) {
    Bind(kPerformance, Notify::Clicked, [this] { EnableType(false); });
    Bind(kAssetAllocation, Notify::Clicked, [this] { EnableType(true); });
    Bind(kIndustryCategory, Notify::Clicked, [this] { EnableType(true); });
}

bool CChartSelectDlg::OnInitDialog() {
    CheckDlgButton(kBarChart, 1);
    CheckDlgButton(kAssetAllocation, 1);
    return true;
}

void CChartSelectDlg::EnableType(bool enable) {
    for (const int id : {kTypeGroup, kPieChart, kBarChart}) GetDlgItem(id).EnableWindow(enable);
}

void CChartSelectDlg::OnOK() {
    ChartType = IsDlgButtonChecked(kBarChart) ? 2 : 1;
    if (IsDlgButtonChecked(kAssetAllocation))
        ChartKind = 1;
    else if (IsDlgButtonChecked(kIndustryCategory))
        ChartKind = 2;
    else
        ChartKind = 3;
    EndDialog(IDOK);
}

}  // namespace shell
