// The performance reports dialog: the report list and the controls each
// report uses, and Generate Report.

#include "shell/performance_dialog.h"

#include <algorithm>
#include <cctype>

#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/group_lists.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace shell {
namespace {

using namespace platform;
using D = CPerformanceReportsDlg;

constexpr const char* kReportNames[] = {"Monthly Performance and Performance Summary", "Combined Performance",
                                        "Summary of Performance by Account", "Monthly Performance by Account",
                                        "Asset Class Performance"};
constexpr int kReportCount = 5;

constexpr int kAssetRadios[] = {D::kCashEquivalents, D::kEquities, D::kFixedIncome, D::kSecurityPerformance,
                                D::kAllClasses};

// What each report uses.
struct ReportControls {
    bool groups_shown;
    int all_state;     // 0 unchecked, 1 checked, -1 left as it is
    int select_state;  // 0 unchecked, 1 checked, -1 left as it is
    bool select_shown;
    const char* select_caption;
    bool start_date;
    bool account_list;  // the account list, else the manager code
    bool period;
    bool asset_class;
};

constexpr ReportControls kReportControls[kReportCount] = {
    {false, 0, 1, true, "Select", true, true, true, false},
    {true, 1, 0, true, "Super Gps", true, false, true, true},
    {false, 1, 0, false, "Select", false, false, false, false},
    {false, 1, 0, false, "Select", false, false, false, false},
    {false, -1, -1, true, "Select", true, true, false, true},
};

DialogTemplate PerformanceTemplate() {
    return {
        kPerformanceDialogId, "Performance Reports",
        Column({
            ListBox(D::kReportList).Chars(44).Lines(5),
            Row({Group(D::kAccountGroup, "Account",
                       {Radio(D::kAllRadio, "All"), Radio(D::kGroupsRadio, "Groups"),
                        Radio(D::kSelectRadio, "Select", kChecked)}),
                 // The accounts, or the groups, or neither beside the
                 // manager code.
                 Part({ListBox(D::kAccountList).Chars(12).Lines(6),
                       ListBox(D::kGroupList, kHidden).Chars(14).Lines(6)}),
                 Group(D::kManagerGroup, "Manager Code", {ComboBox(D::kManagerCombo).Chars(8)})}),
            Row({Group(D::kAssetGroup, "Asset Class",
                       {Radio(D::kCashEquivalents, "Cash Equiv."), Radio(D::kEquities, "Equities"),
                        Radio(D::kFixedIncome, "Fixed Income"),
                        Radio(D::kSecurityPerformance, "Security Perf."), Radio(D::kAllClasses, "All")}),
                 Group(IDC_STATIC, "Period",
                       {Radio(D::kMonthly, "Monthly"), Radio(D::kQuarterly, "Quarterly"), Stretch()})}),
            Row({Static(D::kStartLabel, "Start Date"), Edit(D::kStartDate).Chars(10),
                 Static(D::kEndLabel, "End Date"), Edit(D::kEndDate).Chars(10), Stretch()}),
            Group(
                IDC_STATIC, "Sort Option",
                {Row({Radio(1341, "Investment Objective"), Radio(1342, "Market Value"), Radio(1343, "Cash"),
                      Radio(1344, "Percent Cash"), Radio(1345, "Account Name"), Radio(1346, "Account ID")})}),
            OutputGroup(D::kOutputGroup),
            FileNameRow(),
            Row({Stretch(), Button(D::kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel")}),
        })};
}

}  // namespace

CPerformanceReportsDlg::CPerformanceReportsDlg(Window* parent) : Dialog(PerformanceTemplate(), parent) {
    Bind(kGenerate, Notify::Clicked, &D::OnGenerateReport);
    Bind(kAllRadio, Notify::Clicked, &D::OnAll);
    Bind(kGroupsRadio, Notify::Clicked, &D::OnGroups);
    Bind(kSelectRadio, Notify::Clicked, &D::OnSelect);
    Bind(kReportList, Notify::SelChange, &D::OnReportChange);
    BindOutputRadios(*this);
    for (const int id : {kStartDate, kEndDate})
        Bind(id, Notify::Changed, [this, id] { FilterDateKey(GetDlgItem(id)); });
}

bool CPerformanceReportsDlg::OnInitDialog() {
    Control reports = GetDlgItem(kReportList);
    for (const char* name : kReportNames) reports.AddString(name);
    const int index = g_report.PerformanceReportIndex;
    reports.SetCurSel(index >= 0 && index < kReportCount ? index : 0);

    Enable(*this,
           {kAssetGroup,  kCashEquivalents, kEquities,     kFixedIncome,  kSecurityPerformance, kAllClasses,
            kMonthly,     kQuarterly,       kAccountGroup, kAllRadio,     kGroupsRadio,         kSelectRadio,
            kAccountList, kOutputGroup,     kPrintRadio,   kPreviewRadio, kDisplayRadio,        kFileRadio,
            kGenerate,    kStartDate,       kEndDate},
           false);
    GetDlgItem(kStartDate).LimitText(kDateLimit);
    GetDlgItem(kEndDate).LimitText(kDateLimit);
    GetDlgItem(kFileNameEdit).LimitText(kFileNameLimit);
    Show(*this, {kFileNameEdit, kFileNameLabel}, false);
    SetDlgItemText(kStartLabel, "Start Date");

    FillAccountCombo(GetDlgItem(kAccountList));
    FillManagerCombo(GetDlgItem(kManagerCombo));
    SetDlgItemText(kStartDate, g_report.StartDate);
    SetDlgItemText(kEndDate, g_report.EndDate);
    OnReportChange();
    return true;
}

void CPerformanceReportsDlg::ShowAccountList(bool accounts) {
    ShowEnable(*this, {kAccountList}, accounts);
    if (accounts) {
        Show(*this, {kManagerGroup, kManagerCombo}, false);
    } else {
        Show(*this, {kManagerGroup}, true);
        ShowEnable(*this, {kManagerCombo}, true);
    }
}

void CPerformanceReportsDlg::OnReportChange() {
    const int index = GetDlgItem(kReportList).GetCurSel();
    if (index < 0 || index >= kReportCount) return;
    g_report.PerformanceReportIndex = static_cast<int16_t>(index);
    const ReportControls& c = kReportControls[index];

    ShowEnable(*this, {kGroupsRadio}, c.groups_shown);
    CheckDlgButton(kGroupsRadio, 0);
    ShowEnable(*this, {kAllRadio}, true);
    if (c.all_state >= 0) CheckDlgButton(kAllRadio, c.all_state);
    ShowEnable(*this, {kSelectRadio}, c.select_shown);
    if (c.select_state >= 0) CheckDlgButton(kSelectRadio, c.select_state);
    SetDlgItemText(kSelectRadio, c.select_caption);

    Enable(*this, {kStartLabel, kStartDate}, c.start_date);
    Enable(*this, {kEndLabel, kEndDate}, true);
    ShowAccountList(c.account_list);
    Enable(*this, {kAccountGroup}, c.account_list);
    // The group list belongs to the choice of groups, which a new report
    // starts without.
    ShowEnable(*this, {kGroupList}, false);

    Enable(*this, {kMonthly, kQuarterly}, c.period);
    if (c.period)
        CheckRadioButton(kQuarterly, kMonthly, g_report.PerformancePeriod == 0 ? kMonthly : kQuarterly);
    Enable(*this, {kAssetGroup, kCashEquivalents, kEquities, kFixedIncome, kSecurityPerformance},
           c.asset_class);
    if (c.asset_class && g_report.PerformanceAssetClass >= 0 && g_report.PerformanceAssetClass < 5)
        CheckRadioButton(kCashEquivalents, kAllClasses, kAssetRadios[g_report.PerformanceAssetClass]);

    Enable(*this,
           {kOutputGroup, kGenerate, kManagerGroup, kPrintRadio, kPreviewRadio, kDisplayRadio, kFileRadio},
           true);
    ResetOutput(*this);
}

void CPerformanceReportsDlg::OnAll() {
    ShowEnable(*this, {kAccountList}, false);
    Show(*this, {kManagerGroup}, true);
    ShowEnable(*this, {kManagerCombo}, true);
    Show(*this, {kGroupList}, false);
}

void CPerformanceReportsDlg::OnGroups() {
    // The list is enabled with its names, so that a group can be chosen.
    ShowEnable(*this, {kGroupList}, true);
    FillGroupListBox(GetDlgItem(kGroupList));
    Show(*this, {kAccountList, kManagerGroup, kManagerCombo}, false);
}

void CPerformanceReportsDlg::OnSelect() {
    if (GetDlgItem(kReportList).GetCurSel() == kCombined) {
        Show(*this, {kAccountList}, false);
        ShowEnable(*this, {kGroupList}, true);
        FillSuperGroupListBox(GetDlgItem(kGroupList));
    } else {
        ShowEnable(*this, {kAccountList}, true);
    }
    Show(*this, {kManagerGroup, kManagerCombo}, false);
}

void CPerformanceReportsDlg::OnCancel() {
    ClearMessageList();
    EndDialog(IDCANCEL);
}

void CPerformanceReportsDlg::OnGenerateReport() {
    ClearMessageList();
    const int report = GetDlgItem(kReportList).GetCurSel();

    if (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupsRadio))
        g_report.SelectionScope = 2;
    else if (IsDlgButtonChecked(kAllRadio))
        g_report.SelectionScope = 1;
    g_report.PerformancePeriod = IsDlgButtonChecked(kMonthly) ? 0 : 1;
    for (int k = 0; k < 5; ++k)
        if (IsDlgButtonChecked(kAssetRadios[k])) g_report.PerformanceAssetClass = k;
    // The report routine takes the asset class as its performance kind.
    g_report.PerformanceKind = g_report.PerformanceAssetClass;

    const Control accounts = GetDlgItem(kAccountList);
    g_report.SelectedAccount = accounts.GetText(accounts.GetCurSel());
    std::string manager = GetDlgItemText(kManagerCombo);
    std::transform(manager.begin(), manager.end(), manager.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    g_report.ManagerCode = manager;

    const int32_t destination = CheckedDestination(*this);
    if (destination >= 0) g_report.OutputDestination = destination;
    if (destination == kOutputFile) g_report.OutputFileName = GetDlgItemText(kFileNameEdit);

    static constexpr const char* kSorts[] = {"I   ", "M   ", "C   ", "P   ", "A   "};
    g_report.SortOption = "    ";
    for (int k = 0; k < 5; ++k)
        if (IsDlgButtonChecked(kSortObjective + k)) g_report.SortOption = kSorts[k];

    std::string start = GetDlgItemText(kStartDate);
    std::string end = GetDlgItemText(kEndDate);
    if (GetDlgItem(kStartDate).IsWindowEnabled() && !CheckBlankOrDate(start))
        AddMessage("Illegal start date:" + start);
    if (GetDlgItem(kEndDate).IsWindowEnabled() && !CheckDateText(end)) AddMessage("Illegal end date:" + end);
    g_report.StartDate = start;
    g_report.EndDate = end;

    if (destination == kOutputFile && !CheckFileNameText(g_report.OutputFileName))
        AddMessage("Illegal file name:" + g_report.OutputFileName);
    if (!ManagerCodeInCombo(g_report.ManagerCode, GetDlgItem(kManagerCombo))) AddMessage("Illegal secode");

    g_report.ReportVariant = static_cast<int16_t>(report + 1);
    if (report == kCombined && (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupsRadio)))
        WriteCompositeAccountList(IsDlgButtonChecked(kSelectRadio) != 0, GetDlgItem(kGroupList));

    if (GetMessageCount() == 0) EndDialog(IDOK);
    ShowMessageList();
}

}  // namespace shell
