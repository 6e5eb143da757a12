// The income distribution dialogs.

#include "setup/income_distribution_dialogs.h"

#include <cstdio>

#include "records/dates.h"
#include "records/module_stores.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "shell/report_request_dialog.h"

namespace setup {
namespace {

using namespace platform;

constexpr int kYearWidth = 4;
constexpr int kDateWidth = 8;

DialogTemplate IncomeDistInitTemplate() {
    using D = CIncomeDistInitDlg;
    return {kIncomeDistInitDialogId, "Income Distribution Initialization",
            Column({Row({Label("Year").Chars(20), Edit(D::kYear).Chars(6), Stretch()}),
                    Row({Label("Security Identifier").Chars(20),
                         ComboBox(D::kSecurity, kSorted).Chars(14).Lines(10)}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})};
}

DialogTemplate IncomeDistributionsTemplate() {
    using D = CIncomeDistributionsDlg;
    std::vector<Node> rows;
    rows.push_back(Static(D::kCaption, "").Chars(60));
    rows.push_back(
        Row({Label("").Chars(5), Label("Dividend Rate").Chars(11), Label("Interest Rate").Chars(11),
             Label("Capital Dist").Chars(11), Label("Ex Date").Chars(10), Label("Pay Date").Chars(10),
             Label("Reinvest Price").Chars(11), Label("Exp Flag").Chars(8),
             Label("Dividend Expense").Chars(11)}));
    for (std::size_t m = 0; m < 12; ++m)
        rows.push_back(
            Row({Label(D::kMonthLabels[m]).Chars(5), Edit(D::kDividendRateIds[m]).Chars(11),
                 Edit(D::kInterestRateIds[m]).Chars(11), Edit(D::kCapitalDistIds[m]).Chars(11),
                 Edit(D::kExDateIds[m]).Chars(10), Edit(D::kPayDateIds[m]).Chars(10),
                 Edit(D::kReinvestPriceIds[m]).Chars(11), CheckBox(D::kExpenseFlagIds[m], "").Chars(8),
                 Edit(D::kDividendExpenseIds[m]).Chars(11)}));
    rows.push_back(Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")}));
    return {kIncomeDistributionsDialogId, "Income Distributions", Column(rows)};
}

DialogTemplate InitialPostDateTemplate() {
    using D = CInitialPostDateDlg;
    return {kInitialPostDateDialogId, "Initial Post Date",
            Column({Row({Label("Set Inital Date of Posting:"), Edit(D::kDate).Chars(10)}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})};
}

std::string Number(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

std::string DateText(int16_t month, int16_t day, int16_t year) {
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
    return text;
}

// A date text M/D/Y as numbers; what does not read stays 0.
void ReadDate(const std::string& text, int16_t& month, int16_t& day, int16_t& year) {
    month = day = year = 0;
    std::sscanf(text.c_str(), "%hd/%hd/%hd", &month, &day, &year);
}

}  // namespace

// ---- Income Distribution Initialization: the year and the security

CIncomeDistInitDlg::CIncomeDistInitDlg(Window* parent) : Dialog(IncomeDistInitTemplate(), parent) {
    Bind(kOk, Notify::Clicked, &CIncomeDistInitDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CIncomeDistInitDlg::OnCancel);
}

bool CIncomeDistInitDlg::OnInitDialog() {
    Control securities = GetDlgItem(kSecurity);
    shell::FillSecurityCombo(&securities, nullptr);
    GetDlgItem(kYear).LimitText(kYearWidth);
    // The year of the program date, placed in its century by the window.
    SetDlgItemText(kYear, std::to_string(shell::DefaultSplitYear(shell::g_report.SystemDate)));
    return true;
}

void CIncomeDistInitDlg::OnOK() {
    shell::ClearMessageList();
    // A typed symbol must be one of the list, whole and as it is spelt there.
    const Control securities = GetDlgItem(kSecurity);
    const std::string security = shell::ChosenComboLine(securities);
    if (security.empty()) shell::AddMessage("Illegal Security:" + securities.GetWindowText());
    const std::string year_text = GetDlgItemText(kYear);
    short year = 0;
    if (std::sscanf(year_text.c_str(), "%hd", &year) != 1 || year < kFirstYear || year > kLastYear)
        shell::AddMessage("Illegal year:" + year_text);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    year_ = year;
    security_ = security;
    EndDialog(IDOK);
}

void CIncomeDistInitDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

// ---- Income Distributions: the twelve monthly rows

CIncomeDistributionsDlg::CIncomeDistributionsDlg(int16_t year, std::string security, Window* parent)
    : Dialog(IncomeDistributionsTemplate(), parent), year_(year), security_(std::move(security)) {
    for (const Ids* ids :
         {&kDividendRateIds, &kInterestRateIds, &kCapitalDistIds, &kReinvestPriceIds, &kDividendExpenseIds})
        for (const int id : *ids)
            Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
    for (const Ids* ids : {&kExDateIds, &kPayDateIds})
        for (const int id : *ids)
            Bind(id, Notify::Changed, [this, id] { shell::FilterDateKey(GetDlgItem(id)); });
    Bind(kOk, Notify::Clicked, &CIncomeDistributionsDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CIncomeDistributionsDlg::OnCancel);
}

bool CIncomeDistributionsDlg::OnInitDialog() {
    char caption[96];
    std::snprintf(caption, sizeof caption, "Year: %d   Security Identifier: %s", year_, security_.c_str());
    SetDlgItemText(kCaption, caption);
    records::DistributionRows stored{};
    std::string damage;
    if (!records::ReadIncomeDistributions(year_, security_, stored, &damage)) {
        if (!damage.empty()) {
            shell::ClearMessageList();
            shell::AddMessage(damage);
            shell::ShowMessageList();
        }
        return true;
    }
    for (std::size_t m = 0; m < 12; ++m) {
        const records::DistributionRow& row = stored[m];
        // A row shows only with both dates' months and days.
        if (row.ex_month == 0 || row.ex_day == 0 || row.pay_month == 0 || row.pay_day == 0) continue;
        SetDlgItemText(kExDateIds[m], DateText(row.ex_month, row.ex_day, row.ex_year));
        SetDlgItemText(kPayDateIds[m], DateText(row.pay_month, row.pay_day, row.pay_year));
        SetDlgItemText(kDividendRateIds[m], Number(row.dividend_rate));
        SetDlgItemText(kInterestRateIds[m], Number(row.interest_rate));
        SetDlgItemText(kCapitalDistIds[m], Number(row.capital_distribution));
        SetDlgItemText(kReinvestPriceIds[m], Number(row.reinvest_price));
        SetDlgItemText(kDividendExpenseIds[m], Number(row.dividend_expense));
        CheckDlgButton(kExpenseFlagIds[m], row.expense_flag != 0 ? 1 : 0);
    }
    return true;
}

void CIncomeDistributionsDlg::OnOK() {
    shell::ClearMessageList();
    records::DistributionRows rows{};
    for (std::size_t m = 0; m < 12; ++m) {
        records::DistributionRow& row = rows[m];
        const std::string month = std::string(kMonthLabels[m]) + ": ";
        const auto date = [&](int id, const char* message, int16_t& mm, int16_t& dd, int16_t& yy) {
            const std::string text = GetDlgItemText(id);
            std::string checked = text;
            if (!shell::CheckBlankOrDate(checked))
                shell::AddMessage(message + month + text);
            else
                ReadDate(text, mm, dd, yy);
        };
        const auto number = [&](int id, const char* message, float& value) {
            const std::string text = GetDlgItemText(id);
            const shell::NumberText read = shell::ReadNumberText(text);
            if (!read.valid)
                shell::AddMessage(message + month + text);
            else
                value = static_cast<float>(read.value);
        };
        date(kExDateIds[m], "Illegal ExDate for ", row.ex_month, row.ex_day, row.ex_year);
        date(kPayDateIds[m], "Illegal Pay Date for ", row.pay_month, row.pay_day, row.pay_year);
        number(kDividendRateIds[m], "Illegal Div Rate for ", row.dividend_rate);
        number(kInterestRateIds[m], "Illegal Interest for ", row.interest_rate);
        number(kCapitalDistIds[m], "Illegal Capital for ", row.capital_distribution);
        number(kReinvestPriceIds[m], "Illegal Reinvest for ", row.reinvest_price);
        number(kDividendExpenseIds[m], "Illegal Expense for ", row.dividend_expense);
        row.expense_flag = IsDlgButtonChecked(kExpenseFlagIds[m]) ? 1 : 0;
    }
    // Nothing is stored while a check fails.
    if (shell::GetMessageCount() == 0) {
        const records::StoreResult written = records::WriteIncomeDistributions(year_, security_, rows);
        if (!written) shell::AddMessage(written.message);
    }
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    rows_ = rows;
    EndDialog(IDOK);
}

void CIncomeDistributionsDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

// ---- Initial Post Date

CInitialPostDateDlg::CInitialPostDateDlg(Window* parent) : Dialog(InitialPostDateTemplate(), parent) {
    Bind(kDate, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kDate)); });
    Bind(kOk, Notify::Clicked, &CInitialPostDateDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CInitialPostDateDlg::OnCancel);
}

bool CInitialPostDateDlg::OnInitDialog() {
    shell::ClearMessageList();
    GetDlgItem(kDate).LimitText(kDateWidth);
    SetDlgItemText(kDate, records::Dipost());
    return true;
}

void CInitialPostDateDlg::OnOK() {
    shell::ClearMessageList();
    const std::string typed = GetDlgItemText(kDate);
    const std::string refusal = "Illegal Date:" + typed;
    std::string date = typed;
    if (!shell::CheckDateText(date)) {
        shell::AddMessage(refusal);
        shell::ShowMessageList();
        return;
    }
    // The dialog stays open on a date the post date's own check refuses
    // or that could not be stored, so that nothing is lost without a word.
    switch (records::Setdat(records::Fixed(date, kDateWidth))) {
        case records::PostDateStatus::kStored:
            EndDialog(IDOK);
            return;
        case records::PostDateStatus::kRefused:
            shell::AddMessage(refusal);
            break;
        case records::PostDateStatus::kNotWritten:
            shell::AddMessage("Could not write COMMON.FIL.");
            break;
    }
    shell::ShowMessageList();
}

void CInitialPostDateDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

void RunIncomeDistributions(shell::CMainFrame& frame) {
    CIncomeDistInitDlg choice(&frame);
    if (choice.DoModal() != IDOK) return;
    CIncomeDistributionsDlg rows(choice.Year(), choice.Security(), &frame);
    rows.DoModal();
}

}  // namespace setup
