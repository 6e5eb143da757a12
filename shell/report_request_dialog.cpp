// The report request dialog: set-up by report code, and Generate Report.

#include "shell/report_request_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>

#include "records/broker_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/module_stores.h"
#include "records/record_services.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/manager_codes.h"
#include "shell/message_list.h"
#include "shell/report_dialog_parts.h"
#include "shell/report_globals.h"

namespace shell {
namespace {

using namespace platform;
using D = CReportRequestDlg;

// The label of the manager code box, hidden with it.
constexpr int kManagerLabel = 1160;

constexpr int kSearchLimit = 32;
constexpr int kYearLimit = 4;

// What a code changes after the common set-up.
enum class Kind {
    BrokerList,     // the brokers to choose from
    CustodianList,  // the custodians to choose from
    NoBrokers,      // report date and manager code only
    Utility,        // the search-and-utility set-up: nothing but the extras
};

struct Setup {
    const char* title;  // nullptr: the resource's caption
    Kind kind;
    bool hide_accounts_frame = false;  // group box 1200, combo 1161, the report date
};

const std::map<int, Setup>& Setups() {
    static const std::map<int, Setup> setups = {
        {183, {"Broker List", Kind::BrokerList, true}},
        {185, {"Custodian List", Kind::CustodianList, true}},
        {94, {"Commission Detail by Broker", Kind::BrokerList}},
        {86, {nullptr, Kind::BrokerList}},
        {87, {"Maturity and Expiration Alert", Kind::NoBrokers}},
        {93, {"Commissions by Account", Kind::NoBrokers}},
        {109, {"Summary of Accounts", Kind::NoBrokers}},
        {262, {"Billing Summary", Kind::NoBrokers}},
        {303, {"Post Income", Kind::NoBrokers}},
        {243, {"Transaction Import Report", Kind::Utility}},
        {302, {"Securities with Payable Dates", Kind::Utility}},
        {244, {"Post Import Transactions", Kind::Utility}},
        {362, {"Stock Split Report", Kind::Utility}},
        {363, {"Post Stock Splits", Kind::Utility}},
        {341, {"Account ID Search", Kind::Utility}},
        {342, {"Custodian ID Search", Kind::Utility}},
        {343, {"Security ID Search", Kind::Utility}},
    };
    return setups;
}

// Codes whose selected broker line does not become the selection.
const std::set<int> kNoSelectedLine = {87, 93, 362, 363, 341, 342, 343, 262, 243, 302, 303, 109, 244};
// Codes that take no manager code.
const std::set<int> kNoManager = {183, 185, 362, 363, 341, 342, 343, 243, 302, 244};

bool IsSearch(int code) {
    return code >= 341 && code <= 343;
}
bool IsSplit(int code) {
    return code == 362 || code == 363;
}

DialogTemplate ReportRequestTemplate() {
    return {
        kReportRequestDialogId, D::kResourceCaption,
        Column({
            Row({Static(D::kReportDateLabel, "Report Date"), Edit(D::kReportDate).Chars(10),
                 Static(D::kPostedLabel, "Income Has Been Posted Through", kHidden),
                 Static(D::kPostedDate, "xxxxx", kHidden).Chars(10), Stretch()}),
            Row({Static(D::kSecondDateLabel, "Posting to be Done Through", kHidden),
                 Edit(D::kSecondDate, kHidden).Chars(10), Stretch()}),
            // The Account frame goes with its radios where a report
            // chooses no brokers.
            Row({Group(D::kAccountGroup, "Account",
                       {Radio(D::kAllRadio, "All"), Radio(D::kSelectRadio, "Select")}, kHiddenWithControls),
                 Group(D::kBrokerGroup, "Broker", {ListBox(D::kBrokerList).Chars(12).Lines(6)}),
                 Column({Static(kManagerLabel, "Manager Code"), ComboBox(D::kManagerCombo).Chars(8),
                         Stretch()}),
                 Stretch()}),
            Row({Static(D::kSearchLabel, "What to Find", kHidden), Edit(D::kSearchEdit, kHidden).Chars(34)}),
            Row({Static(D::kYearLabel, "Year", kHidden), Edit(D::kYearEdit, kHidden).Chars(6), Stretch()}),
            OutputGroup(),
            FileNameRow(),
            Row({Stretch(), Button(D::kGenerate, "Generate Report", kDefault), Button(IDCANCEL, "Cancel")}),
        })};
}

}  // namespace

bool IsReportRequestCode(int code) {
    return Setups().count(code) != 0;
}

int DefaultSplitYear(const std::string& system_date) {
    short month = 0, day = 0, year = 0;
    if (std::sscanf(system_date.c_str(), "%hd/%hd/%hd", &month, &day, &year) < 3) year = 0;
    if (year < 0 || year > 99) year = 0;
    return records::FourDigitYear(year);
}

CReportRequestDlg::CReportRequestDlg(Window* parent) : Dialog(ReportRequestTemplate(), parent) {
    Bind(kGenerate, Notify::Clicked, &D::OnGenerateReport);
    Bind(kAllRadio, Notify::Clicked, [this] { Enable(*this, {kBrokerList}, false); });
    Bind(kSelectRadio, Notify::Clicked, [this] { Enable(*this, {kBrokerList}, true); });
    BindOutputRadios(*this);
    for (const int id : {kReportDate, kSecondDate})
        Bind(id, Notify::Changed, [this, id] { FilterDateKey(GetDlgItem(id)); });
}

void CReportRequestDlg::FillBrokers(bool custodians) {
    Control list = GetDlgItem(kBrokerList);
    int16_t count = 0;
    if ((custodians ? records::Opncus(count) : records::Opnbrk(count)) == 1) {
        int left = count;
        for (int rec = 2; left > 0; ++rec) {
            const int n = std::min(records::kBrokerKeysPerRecord, left);
            std::vector<std::string> keys;
            if (records::Rdbidx(n, rec, keys) % 10 != 1) break;
            for (const std::string& key : keys) list.AddString(TrimField(key, key.size()));
            left -= n;
        }
    }
    records::Clsbrk();
    list.SetCurSel(0);
    list.EnableWindow(true);
}

bool CReportRequestDlg::OnInitDialog() {
    const int code = g_report.ReportCode;
    CheckDlgButton(kAllRadio, 0);
    CheckDlgButton(kSelectRadio, 1);
    ResetOutput(*this);
    SetDlgItemText(kReportDate, g_report.EndDate);
    GetDlgItem(kReportDate).LimitText(kDateLimit);

    const auto it = Setups().find(code);
    if (it != Setups().end()) {
        const Setup& setup = it->second;
        if (setup.title) SetWindowText(setup.title);
        switch (setup.kind) {
            case Kind::BrokerList:
            case Kind::CustodianList:
                if (setup.hide_accounts_frame)
                    Show(*this, {kAccountGroup, kManagerCombo, kManagerLabel, kReportDate, kReportDateLabel},
                         false);
                if (setup.kind == Kind::CustodianList) SetDlgItemText(kBrokerGroup, "Custodian");
                FillBrokers(setup.kind == Kind::CustodianList);
                break;
            case Kind::NoBrokers:
                Show(*this, {kBrokerGroup, kBrokerList, kAllRadio, kSelectRadio}, false);
                break;
            case Kind::Utility:
                Show(*this,
                     {kBrokerGroup, kAccountGroup, kBrokerList, kAllRadio, kSelectRadio, kManagerCombo,
                      kManagerLabel, kReportDate, kReportDateLabel},
                     false);
                break;
        }
        if (code == 109) {
            SetDlgItemText(kSecondDateLabel, "Pricing Date");
            Show(*this, {kSecondDateLabel}, true);
            ShowEnable(*this, {kSecondDate}, true);
            GetDlgItem(kSecondDate).LimitText(kDateLimit);
        }
        if (code == 262) Show(*this, {kReportDate, kReportDateLabel}, false);
        if (code == 303) {
            SetDlgItemText(kReportDateLabel, "Post Through");
            Show(*this, {kSecondDate}, true);
            SetDlgItemText(kSecondDate, g_report.EndDate);
            GetDlgItem(kSecondDate).LimitText(kDateLimit);
            Show(*this, {kSecondDateLabel, kPostedLabel, kPostedDate}, true);
            SetDlgItemText(kPostedDate, records::Dipost());
        }
        if (IsSplit(code)) {
            ShowEnable(*this, {kYearLabel, kYearEdit}, true);
            GetDlgItem(kYearEdit).LimitText(kYearLimit);
            SetDlgItemText(kYearEdit, std::to_string(DefaultSplitYear(g_report.SystemDate)));
        }
        if (IsSearch(code)) {
            static const char* const kSearchLabels[] = {"Account Short Name", "Custodian Account Number",
                                                        "Security Description"};
            SetDlgItemText(kSearchLabel, kSearchLabels[code - 341]);
            Show(*this, {kSearchLabel}, true);
            ShowEnable(*this, {kSearchEdit}, true);
            GetDlgItem(kSearchEdit).LimitText(kSearchLimit);
        }
    }

    if (code != 183 && code != 185) FillManagerCombo(GetDlgItem(kManagerCombo));
    return true;
}

void CReportRequestDlg::OnCancel() {
    ClearMessageList();
    EndDialog(IDCANCEL);
}

void CReportRequestDlg::OnGenerateReport() {
    const int code = g_report.ReportCode;
    ClearMessageList();

    if (IsDlgButtonChecked(kSelectRadio))
        g_report.SelectionScope = 2;
    else if (IsDlgButtonChecked(kAllRadio))
        g_report.SelectionScope = 1;
    g_report.EndDate = GetDlgItemText(kReportDate);

    if (code == 303 || code == 109) {
        g_report.StartDate = GetDlgItemText(kSecondDate);
        const std::string typed = g_report.StartDate;
        if (!CheckDateText(g_report.StartDate))
            AddMessage((code == 303 ? "Illegal Post Thru date: " : "Illegal Pricing Date: ") + typed);
    }

    const int32_t destination = CheckedDestination(*this);
    if (destination >= 0) g_report.OutputDestination = destination;
    if (destination == kOutputFile) g_report.OutputFileName = GetDlgItemText(kFileNameEdit);

    if (!CheckDateText(g_report.EndDate)) AddMessage("Illegal report date");
    if (destination == kOutputFile && !CheckFileNameText(g_report.OutputFileName))
        AddMessage("Illegal file name");

    if (!kNoSelectedLine.count(code)) {
        const Control brokers = GetDlgItem(kBrokerList);
        g_report.SelectedAccount = brokers.GetText(brokers.GetCurSel());
    }

    if (!kNoManager.count(code)) {
        const Control managers = GetDlgItem(kManagerCombo);
        if (managers.GetCount() > 0) {
            std::string manager = managers.GetWindowText();
            std::transform(manager.begin(), manager.end(), manager.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            g_report.ManagerCode = manager;
            if (!ManagerCodeInCombo(manager, managers)) AddMessage("Illegal id: " + manager);
        } else {
            g_report.ManagerCode.clear();
        }
    }

    if (IsSearch(code)) g_report.SelectedAccount = GetDlgItemText(kSearchEdit);

    if (IsSplit(code)) {
        const std::string year = GetDlgItemText(kYearEdit);
        short value = 0;
        if (year.size() == 4 && std::sscanf(year.c_str(), "%hd", &value) == 1 && value >= 1900 &&
            value <= 2100)
            g_report.SplitYear = value;
        else
            AddMessage("Illegal year: " + year);
    }

    if (GetMessageCount() == 0) {
        EndDialog(IDOK);
        return;
    }
    ShowMessageList();
}

}  // namespace shell
