// Historical Data.

#include "setup/historical_data_dialog.h"

#include <cstdio>

#include "platform/feedback.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/fillers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"

namespace setup {
namespace {

using namespace platform;
using D = CHistoricalDataDlg;

constexpr int kValueWidth = 12;
constexpr int kYearWidth = 4;
constexpr std::size_t kAccountWidth = 8;

DialogTemplate HistoricalDataTemplate() {
    std::vector<Node> rows;
    rows.push_back(Row({Label("Month").Chars(6), Label("Market Value").Chars(14),
                        Label("Capital Flow").Chars(14), Label("Income").Chars(14)}));
    for (std::size_t m = 0; m < 12; ++m)
        rows.push_back(Row({Label(std::to_string(m + 1)).Chars(6), Edit(D::kMarketValueIds[m]).Chars(14),
                            Edit(D::kCapitalFlowIds[m]).Chars(14), Edit(D::kIncomeIds[m]).Chars(14)}));
    return {kHistoricalDataDialogId, "Historical Data",
            Row({Column({Label("Year"), Edit(D::kYear).Chars(6), Label("Account"),
                         ListBox(D::kAccounts).Chars(10).Lines(8), Button(D::kGetData, "Get Data", kDefault),
                         Button(D::kSaveData, "Save Data"), Stretch(), Button(D::kDone, "Done")}),
                 Column(rows)})};
}

std::string Money(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The year field as digits: the value grows digit by digit until the text
// ends or it passes 2100; a character that is not a digit gives 0.
int YearOf(const std::string& text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > 2100) break;
    }
    return value;
}

std::string MonthMessage(const char* format, int month) {
    char text[64];
    std::snprintf(text, sizeof text, format, month);
    return text;
}

}  // namespace

CHistoricalDataDlg::CHistoricalDataDlg(Window* parent) : Dialog(HistoricalDataTemplate(), parent) {
    Bind(kYear, Notify::Changed, [this] { shell::FilterDigitsKey(GetDlgItem(kYear)); });
    Bind(kGetData, Notify::Clicked, &D::OnGetData);
    Bind(kSaveData, Notify::Clicked, &D::OnSaveData);
    Bind(kDone, Notify::Clicked, [this] { EndDialog(IDOK); });
    for (const auto* ids : {&kMarketValueIds, &kCapitalFlowIds, &kIncomeIds})
        for (const int id : *ids)
            Bind(id, Notify::Changed, [this, id] { shell::FilterNumberKey(GetDlgItem(id)); });
}

bool CHistoricalDataDlg::OnInitDialog() {
    for (const auto* ids : {&kMarketValueIds, &kCapitalFlowIds, &kIncomeIds})
        for (const int id : *ids) GetDlgItem(id).LimitText(kValueWidth);
    GetDlgItem(kYear).LimitText(kYearWidth);
    ShowValues(false);
    shell::FillAccountCombo(GetDlgItem(kAccounts));
    return true;
}

std::string CHistoricalDataDlg::Account() const {
    const Control accounts = GetDlgItem(kAccounts);
    const int line = accounts.GetCurSel();
    return records::Fixed(line < 0 ? std::string() : accounts.GetText(line), kAccountWidth);
}

// The values and "Save Data" in place of the choice of account and year, or
// the other way round.
void CHistoricalDataDlg::ShowValues(bool shown) {
    const int values = shown ? SW_SHOW : SW_HIDE;
    const int choice = shown ? SW_HIDE : SW_SHOW;
    for (const auto* ids : {&kMarketValueIds, &kCapitalFlowIds, &kIncomeIds})
        for (const int id : *ids) GetDlgItem(id).ShowWindow(values);
    GetDlgItem(kSaveData).ShowWindow(values);
    for (const int id : {kGetData, kAccounts, kYear}) GetDlgItem(id).ShowWindow(choice);
}

void CHistoricalDataDlg::OnGetData() {
    shell::ClearMessageList();
    const std::string text = GetDlgItemText(kYear);
    const int year = YearOf(text);
    // Only 1951 to 2050: the history keeps years in the two-digit window,
    // so any other year would name one of these.
    if (year < kFirstYear || year > kLastYear) {
        shell::AddMessage("Illegal year: " + text);
        shell::ShowMessageList();
        return;
    }
    // Without an account (an empty account list) there is no history.
    if (GetDlgItem(kAccounts).GetCurSel() < 0) return;
    // A read that fails leaves nothing of an earlier year behind.
    market_values_.fill(0.0);
    capital_flows_.fill(0.0);
    incomes_.fill(0.0);
    if (engine::Rperf(Account(), static_cast<int16_t>(year), record_, year_word_, market_values_,
                      capital_flows_, incomes_) != engine::kHistoryDone) {
        shell::AddMessage("Illegal year: " + text);
        shell::ShowMessageList();
        return;
    }
    year_ = static_cast<int16_t>(year);
    year_text_ = text;
    for (std::size_t m = 0; m < 12; ++m) {
        SetDlgItemText(kMarketValueIds[m], Money(market_values_[m]));
        SetDlgItemText(kCapitalFlowIds[m], Money(capital_flows_[m]));
        SetDlgItemText(kIncomeIds[m], Money(incomes_[m]));
    }
    ShowValues(true);
}

void CHistoricalDataDlg::OnSaveData() {
    shell::ClearMessageList();
    struct Series {
        const std::array<int, 12>* ids;
        engine::MonthlyValues* values;
        const char* message;
    };
    const std::array<Series, 3> series = {
        {{&kMarketValueIds, &market_values_, "Illegal Market Value for month %d: "},
         {&kCapitalFlowIds, &capital_flows_, "Illegal Capital Flow for month %d: "},
         {&kIncomeIds, &incomes_, "Illegal Income Value for month %d: "}}};
    for (std::size_t m = 0; m < 12; ++m) {
        for (const Series& s : series) {
            const std::string text = GetDlgItemText((*s.ids)[m]);
            const shell::NumberText number = shell::ReadNumberText(text);
            if (number.valid)
                (*s.values)[m] = number.value;
            else
                shell::AddMessage(MonthMessage(s.message, static_cast<int>(m + 1)) + text);
        }
    }
    if (shell::GetMessageCount() == 0 && engine::Wperf(Account(), year_, record_, year_word_, market_values_,
                                                       capital_flows_, incomes_) != engine::kHistoryDone)
        shell::AddMessage("Illegal year: " + year_text_);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    ShowValues(false);
}

}  // namespace setup
