// The report options dialog: set-up by report code, and Generate Report.

#include "shell/report_options_dialog.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "records/common_file.h"
#include "records/cross_reference_files.h"
#include "records/options.h"
#include "records/record_services.h"
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
using D = CReportOptionsDlg;

constexpr AccountChoiceIds kAccountChoice = {D::kClientListGroup, D::kAccountList, D::kGroupList,
                                             D::kManagerGroup, D::kManagerCombo};

// Option 52 (byte 52 of the options record): the tax and cross-reference
// fields of the extract files.

// How a report asks for its dates.
enum class Dates {
    Both,             // "Start Date" and "End Date"
    Report,           // one "Report Date", which is the end date
    None,             // no dates shown
    Pricing,          // one "Pricing Date", which is the start date
    TradeSettlement,  // "Trade Date" and "Settlement Date"
};

// Fields some reports add.
enum class Extra { None, CrossReference, TaxForm };

struct Setup {
    const char* title;
    Dates dates;
    const char* flag1 = nullptr;  // caption of check box 1231 when shown
    bool flag1_checked = false;
    const char* flag2 = nullptr;  // caption of check box 1347 when shown
    bool manager_only = false;    // the manager code in place of the accounts
    bool composite = false;       // all accounts, a super group or a group
    bool security = false;        // the security combo
    bool sort = false;            // the sort options
    bool no_accounts = false;     // neither accounts nor their frames
    Extra extra = Extra::None;
};

constexpr const char* kAccrued = "Accrued Interest";

const std::map<int, Setup>& Setups() {
    static const std::map<int, Setup> setups = {
        {103, {"Account Appraisal", Dates::Report, kAccrued}},
        {106, {"Mutual Fund Appraisal", Dates::Report, kAccrued}},
        {101, {"Working Appraisal", Dates::Report, kAccrued, false, "Post Market Value"}},
        {88,
         {"Detailed Security Cross Reference", Dates::Report, kAccrued, false, "Post Market Value", true}},
        {107, {"Assets Under Management", Dates::Report, kAccrued, false, "Post Market Value", true}},
        {104, {"Investment History", Dates::Both, kAccrued}},
        {102, {"Position Summary", Dates::Report}},
        {221, {"Fixed Income Appraisal", Dates::Report}},
        {222, {"Maturity Analysis", Dates::Report}},
        {223, {"Rating Analysis", Dates::Report}},
        {224, {"Coupon Analysis", Dates::Report}},
        {225, {"Yield Analysis", Dates::Report}},
        {226, {"Income Flow Analysis (fixed)", Dates::Report}},
        {227, {"Income Flow Analysis (other)", Dates::Report}},
        {228, {"Fixed Income Summary", Dates::Report}},
        {82,
         {"Security Cross Reference", Dates::Report, "Long Report", true, nullptr, true, false, true, false,
          false, Extra::CrossReference}},
        {186, {"Account List (Summary)", Dates::None, nullptr, false, nullptr, true}},
        {181, {"Account List", Dates::None}},
        {182, {"Security List", Dates::Pricing, nullptr, false, nullptr, false, false, false, false, true}},
        {184, {"Bond List", Dates::Pricing, nullptr, false, nullptr, false, false, false, false, true}},
        {201, {"Composite Account Appraisal", Dates::Report, kAccrued, false, nullptr, false, true}},
        {202, {"Composite Working Appraisal", Dates::Report, kAccrued, false, nullptr, false, true}},
        {203, {"Composite Gain/Loss Report", Dates::Both, nullptr, false, nullptr, false, true}},
        {91, {"Form 1099B", Dates::TradeSettlement}},
        {92, {"Trade Memorandum", Dates::TradeSettlement}},
        {95, {"Portfolio Changes", Dates::Both}},
        {83, {"Account Directory", Dates::Report, nullptr, false, nullptr, true, false, false, true}},
        {108,
         {"Summary of Assets Under Management", Dates::Report, nullptr, false, nullptr, true, false, false,
          true}},
        {84,
         {"Gain/Loss Report", Dates::Both, nullptr, false, nullptr, false, false, false, false, false,
          Extra::TaxForm}},
        {85,
         {"Income Summary", Dates::Both, "Correction File", false, nullptr, false, false, false, false, false,
          Extra::TaxForm}},
    };
    return setups;
}

const Setup* FindSetup(int code) {
    const auto it = Setups().find(code);
    return it == Setups().end() ? nullptr : &it->second;
}

bool IsComposite(int code) {
    return code >= 201 && code <= 203;
}

// Codes whose first date field is checked as the report date.
bool ChecksReportDate(int code) {
    switch (code) {
        case 103:
        case 102:
        case 101:
        case 107:
        case 88:
        case 95:
        case 106:
        case 82:
        case 83:
        case 108:
        case 203:
            return true;
        default:
            return false;
    }
}

bool ExtractOptionSet() {
    return records::OptionOn(records::Rdopts(), records::Opt::kLoanLimitAndExtracts);
}

// A field of the broker/bank record as the dialog shows it: bytes below the blank
// (zero bytes of a record never written) as blanks, trailing blanks cut.
std::string RecordField(const std::string& record, std::size_t offset, std::size_t width) {
    std::string text = record.substr(offset, width);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return TrimField(text, width);
}

DialogTemplate ReportOptionsTemplate() {
    constexpr unsigned kOff = kHidden | kDisabled;
    return {
        kReportOptionsDialogId, "",
        Column({
            Row({Group(D::kAccountGroup, "Account",
                       {Radio(D::kAllRadio, "All"), Radio(D::kSelectRadio, "Select", kChecked),
                        Radio(D::kGroupRadio, "Group", kOff)}),
                 // Goes with its lists where a report takes the manager
                 // code in their place.
                 Group(D::kClientListGroup, "Client List",
                       {ListBox(D::kAccountList).Chars(12).Lines(6),
                        ListBox(D::kGroupList, kOff).Chars(14).Lines(6)},
                       kHiddenWithControls),
                 Group(D::kManagerGroup, "Manager Code", {ComboBox(D::kManagerCombo).Chars(8)})}),
            Row({Static(D::kFirstDateLabel, "Start Date"), Edit(D::kFirstDate).Chars(10),
                 Static(D::kSecondDateLabel, "End Date"), Edit(D::kSecondDate).Chars(10), Stretch()}),
            Row({CheckBox(D::kFlag1, "Check1"), CheckBox(D::kFlag2, "Check2", kOff), Stretch()}),
            Row({Static(D::kSecurityLabel, "Security Selection", kOff),
                 ComboBox(D::kSecurityCombo, kOff | kDropDownList).Chars(14), Stretch()}),
            Group(D::kSortGroup, "Sort Option",
                  {Row({Radio(D::kSortObjective, "Investment Objective", kOff),
                        Radio(D::kSortMarketValue, "Market Value", kOff), Radio(D::kSortCash, "Cash", kOff),
                        Radio(D::kSortPercentCash, "Percent Cash"), Radio(D::kSortName, "Account Name", kOff),
                        Radio(D::kSortId, "Account ID", kOff)})},
                  kOff),
            Row({Static(D::kTagLabel, "OBO/NBO Tag", kOff), Edit(D::kTagEdit, kOff).Chars(3),
                 Static(D::kNumberLabel, "Broker/Bank Number", kOff), Edit(D::kNumberEdit, kOff).Chars(5),
                 Stretch()}),
            Row({Static(D::kNameLabel, "Broker/Bank Name", kOff), Edit(D::kNameEdit, kOff).Chars(40),
                 Stretch()}),
            Row({Static(D::kTransmitterLabel, "Transmitter Control Code", kOff),
                 Edit(D::kTransmitterEdit, kOff).Chars(7), Static(D::kPayerLabel, "Payer Name Control", kOff),
                 Edit(D::kPayerEdit, kOff).Chars(6), Stretch()}),
            OutputGroup(),
            FileNameRow(),
            Row({Static(D::kSecondFileLabel, "File Name", kOff), Edit(D::kSecondFileEdit, kOff).Chars(14),
                 Stretch()}),
            Row({Stretch(), Button(D::kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel")}),
        })};
}

}  // namespace

bool IsReportOptionsCode(int code) {
    return FindSetup(code) != nullptr;
}

std::string ReportOptionsTitle(int code) {
    const Setup* setup = FindSetup(code);
    return setup ? setup->title : "";
}

CReportOptionsDlg::CReportOptionsDlg(Window* parent) : Dialog(ReportOptionsTemplate(), parent) {
    Bind(kGenerate, Notify::Clicked, &D::OnGenerateReport);
    Bind(kAllRadio, Notify::Clicked, &D::OnAll);
    Bind(kSelectRadio, Notify::Clicked, &D::OnSelect);
    Bind(kGroupRadio, Notify::Clicked, &D::OnGroup);
    BindOutputRadios(*this);
    for (const int id : {kFirstDate, kSecondDate})
        Bind(id, Notify::Changed, [this, id] { FilterDateKey(GetDlgItem(id)); });
}

bool CReportOptionsDlg::OnInitDialog() {
    const int code = g_report.ReportCode;
    const Setup* setup = FindSetup(code);

    // The common set-up.
    report_date_mode_ = 0;
    CheckDlgButton(kAllRadio, 0);
    CheckDlgButton(kSelectRadio, 1);
    ShowEnable(*this, {kClientListGroup, kAccountList}, true);
    ShowEnable(*this, {kGroupList, kManagerGroup, kManagerCombo}, false);
    ResetOutput(*this);
    GetDlgItem(kFirstDate).LimitText(kDateLimit);
    GetDlgItem(kSecondDate).LimitText(kDateLimit);
    GetDlgItem(kManagerCombo).LimitText(4);
    GetDlgItem(kTagEdit).LimitText(1);
    GetDlgItem(kNumberEdit).LimitText(3);
    GetDlgItem(kNameEdit).LimitText(40);
    GetDlgItem(kTransmitterEdit).LimitText(5);
    GetDlgItem(kPayerEdit).LimitText(4);
    ShowEnable(*this, {kFlag1, kFlag2}, false);
    SetDlgItemText(kFirstDateLabel, "Start Date");
    Enable(*this, {kSecondDateLabel}, true);
    ShowEnable(*this, {kSecondDate}, true);
    ShowEnable(
        *this,
        {kSortGroup, kSortObjective, kSortMarketValue, kSortCash, kSortPercentCash, kSortName, kSortId},
        false);

    SetWindowText(setup ? setup->title : "");
    if (setup) {
        if (setup->flag1) {
            ShowEnable(*this, {kFlag1}, true);
            SetDlgItemText(kFlag1, setup->flag1);
            CheckDlgButton(kFlag1, setup->flag1_checked ? 1 : 0);
        }
        if (setup->flag2) {
            ShowEnable(*this, {kFlag2}, true);
            SetDlgItemText(kFlag2, setup->flag2);
        }
        switch (setup->dates) {
            case Dates::Both:
                break;
            case Dates::Report:
                SetDlgItemText(kFirstDateLabel, "Report Date");
                ShowEnable(*this, {kSecondDateLabel, kSecondDate}, false);
                report_date_mode_ = 1;
                break;
            case Dates::None:
                Show(*this, {kFirstDateLabel, kSecondDateLabel, kFirstDate, kSecondDate}, false);
                break;
            case Dates::Pricing:
                SetDlgItemText(kFirstDateLabel, "Pricing Date");
                Show(*this, {kFirstDate}, true);
                Show(*this, {kSecondDateLabel, kSecondDate}, false);
                break;
            case Dates::TradeSettlement:
                SetDlgItemText(kFirstDateLabel, "Trade Date");
                SetDlgItemText(kSecondDateLabel, "Settlement Date");
                break;
        }
        if (setup->security) ShowEnable(*this, {kSecurityLabel, kSecurityCombo}, true);
        if (setup->manager_only) {
            ShowEnable(*this, {kManagerGroup, kManagerCombo}, true);
            ShowEnable(*this, {kAccountGroup, kAccountList, kAllRadio, kSelectRadio}, false);
        }
        if (setup->no_accounts)
            Show(*this, {kAccountGroup, kClientListGroup, kAllRadio, kSelectRadio, kAccountList, kGroupList},
                 false);
        if (setup->sort) {
            ShowEnable(*this,
                       {kSortGroup, kSortObjective, kSortMarketValue, kSortCash, kSortPercentCash, kSortName,
                        kSortId},
                       true);
            CheckRadioButton(kSortObjective, kSortId, kSortId);
        }
        if (setup->composite) {
            ShowEnable(*this, {kAllRadio}, true);
            CheckDlgButton(kAllRadio, 1);
            Enable(*this, {kSelectRadio}, true);
            CheckDlgButton(kSelectRadio, 0);
            SetDlgItemText(kSelectRadio, "Super Gps");
            ShowEnable(*this, {kGroupRadio}, true);
            CheckDlgButton(kGroupRadio, 0);
            Show(*this, {kClientListGroup, kAccountList, kGroupList}, false);
            ShowEnable(*this, {kManagerGroup, kManagerCombo}, true);
        }
        if (setup->extra == Extra::CrossReference && ExtractOptionSet()) {
            ShowEnable(*this, {kTagLabel, kNumberLabel, kNameLabel, kTagEdit, kNumberEdit, kNameEdit}, true);
            std::string number(4, ' '), name(40, ' '), tag(4, ' ');
            records::Rdcom69(number, name, tag);
            const std::string record = number + name + tag;
            SetDlgItemText(kTagEdit, RecordField(record, 44, 1));
            SetDlgItemText(kNumberEdit, RecordField(record, 0, 3));
            SetDlgItemText(kNameEdit, RecordField(record, 4, 40));
        }
        if (setup->extra == Extra::TaxForm && ExtractOptionSet()) {
            ShowEnable(*this, {kTransmitterLabel, kPayerLabel, kTransmitterEdit, kPayerEdit}, true);
            SetDlgItemText(kTransmitterEdit, "");
            SetDlgItemText(kPayerEdit, "");
        }
    }

    if (!IsComposite(code)) FillAccountCombo(GetDlgItem(kAccountList));
    GetDlgItem(kAccountList).SetCurSel(0);
    if (GetDlgItem(kSecurityCombo).IsWindowEnabled()) {
        Control securities = GetDlgItem(kSecurityCombo);
        FillSecurityCombo(&securities, nullptr);
        securities.SetCurSel(0);
    }
    FillManagerCombo(GetDlgItem(kManagerCombo));
    SetDlgItemText(kFirstDate, report_date_mode_ ? g_report.EndDate : g_report.StartDate);
    SetDlgItemText(kSecondDate, g_report.EndDate);
    return true;
}

void CReportOptionsDlg::OnAll() {
    // The second file name pair stays hidden whatever the code.
    ChooseAllAccounts(*this, kAccountChoice);
}

void CReportOptionsDlg::OnSelect() {
    ChooseSelectedAccounts(*this, kAccountChoice, IsComposite(g_report.ReportCode));
}

void CReportOptionsDlg::OnGroup() {
    ChooseGroupOfAccounts(*this, kAccountChoice);
}

void CReportOptionsDlg::OnCancel() {
    ClearMessageList();
    EndDialog(IDCANCEL);
}

void CReportOptionsDlg::CheckDates(int code) {
    if (ChecksReportDate(code)) {
        std::string& first = report_date_mode_ ? g_report.EndDate : g_report.StartDate;
        if (!CheckDateText(first)) AddMessage("Illegal report date");
        return;
    }
    if (code == 91 || code == 92) {
        if (!CheckDateText(g_report.StartDate)) AddMessage("Illegal trade date: " + g_report.StartDate);
        if (!g_report.EndDate.empty() && !CheckDateText(g_report.EndDate))
            AddMessage("Illegal settlement datei: " + g_report.EndDate);
        return;
    }
    const bool start_ok =
        code == 104 ? CheckBlankOrDate(g_report.StartDate) : CheckDateText(g_report.StartDate);
    if (!start_ok) AddMessage("Illegal start date");
    if (!CheckDateText(g_report.EndDate)) AddMessage("Illegal end date");
}

void CReportOptionsDlg::OnGenerateReport() {
    const int code = g_report.ReportCode;
    ClearMessageList();

    if (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupRadio))
        g_report.SelectionScope = 2;
    else if (IsDlgButtonChecked(kAllRadio))
        g_report.SelectionScope = 1;
    g_report.ReportFlag1 = IsDlgButtonChecked(kFlag1) ? 1 : 0;
    g_report.ReportFlag2 = IsDlgButtonChecked(kFlag2) ? 1 : 0;

    if (const Control accounts = GetDlgItem(kAccountList); accounts.IsWindowEnabled())
        g_report.SelectedAccount = accounts.GetText(accounts.GetCurSel());
    if (const Control securities = GetDlgItem(kSecurityCombo); securities.IsWindowEnabled())
        g_report.SelectedSecurity = securities.GetWindowText();
    std::string manager = GetDlgItemText(kManagerCombo);
    std::transform(manager.begin(), manager.end(), manager.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    g_report.ManagerCode = manager;

    if (report_date_mode_) {
        g_report.EndDate = GetDlgItemText(kFirstDate);
    } else {
        g_report.StartDate = GetDlgItemText(kFirstDate);
        g_report.EndDate = GetDlgItemText(kSecondDate);
    }

    const int32_t destination = CheckedDestination(*this);
    if (destination >= 0) g_report.OutputDestination = destination;
    if (destination == kOutputFile) g_report.OutputFileName = GetDlgItemText(kFileNameEdit);

    static constexpr std::pair<int, const char*> kSortCodes[] = {{kSortObjective, "I   "},
                                                                 {kSortMarketValue, "M   "},
                                                                 {kSortCash, "C   "},
                                                                 {kSortPercentCash, "P   "},
                                                                 {kSortName, "A   "}};
    g_report.SortOption = "    ";
    for (const auto& [id, sort] : kSortCodes)
        if (IsDlgButtonChecked(id)) g_report.SortOption = sort;

    CheckDates(code);
    if (destination == kOutputFile && !CheckFileNameText(g_report.OutputFileName))
        AddMessage("Illegal file name");

    if (IsComposite(code) && (IsDlgButtonChecked(kSelectRadio) || IsDlgButtonChecked(kGroupRadio)))
        WriteCompositeAccountList(IsDlgButtonChecked(kSelectRadio) != 0, GetDlgItem(kGroupList));

    if (!ManagerCodeInCombo(g_report.ManagerCode, GetDlgItem(kManagerCombo))) AddMessage("Illegal secode");

    if (code == 82) {
        const bool shown = ExtractOptionSet();
        g_report.CrossRefTag = shown ? GetDlgItemText(kTagEdit) : "";
        g_report.CrossRefNumber = shown ? GetDlgItemText(kNumberEdit) : "";
        g_report.CrossRefName = shown ? GetDlgItemText(kNameEdit) : "";
    }
    if (code == 84 || code == 85) {
        const bool shown = ExtractOptionSet();
        g_report.TaxTransmitterCode = shown ? GetDlgItemText(kTransmitterEdit) : "";
        g_report.PayerNameControl = shown ? GetDlgItemText(kPayerEdit) : "";
    }

    if (GetMessageCount() == 0) {
        EndDialog(IDOK);
        return;
    }
    ShowMessageList();
}

}  // namespace shell
