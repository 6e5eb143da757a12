// The stock split dialogs.

#include "setup/stock_split_dialogs.h"

#include <cstdio>
#include <cstdlib>

#include "platform/feedback.h"
#include "platform/message_box.h"
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

constexpr std::size_t kSymbolWidth = 12;
constexpr uint8_t kPosted = 1;
constexpr uint8_t kNotPosted = 2;

DialogTemplate StockSplitTemplate() {
    using D = CStockSplitDlg;
    return {kStockSplitDialogId, "Stock Split",
            Column({Row({Label("Year").Chars(20), Edit(D::kYear).Chars(6), Stretch()}),
                    Row({Label("Security Identifier").Chars(20),
                         ComboBox(D::kSecurity, kSorted).Chars(14).Lines(10)}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})};
}

DialogTemplate StockSplitsTemplate() {
    using D = CStockSplitsDlg;
    std::vector<Node> rows;
    rows.push_back(Label("        Ratio            Ex - Date              Pay Date          Status"));
    for (std::size_t r = 0; r < D::kRowLabels.size(); ++r)
        rows.push_back(Row({CheckBox(D::kRowButtons[r], ""), Static(D::kRowLabels[r], "").Chars(84)}));
    rows.push_back(Row({Button(D::kModify, "Modify"), Button(D::kAdd, "Add"), Button(D::kDelete, "Delete"),
                        Stretch(), Button(D::kOk, "Ok", kDefault), Button(D::kCancel, "Cancel")}));
    return {kStockSplitsDialogId, "Stock Splits", Column(rows)};
}

DialogTemplate StockSplitEditTemplate() {
    using D = CStockSplitEditDlg;
    return {kStockSplitEditDialogId, "Stock Split Edit",
            Column({Label("Ratio                Ex - Date         Pay Date"),
                    Row({Edit(D::kRatio).Chars(12), Edit(D::kExDate).Chars(10), Edit(D::kPayDate).Chars(10)}),
                    Row({Stretch(), Button(D::kOk, "OK", kDefault), Button(D::kCancel, "Cancel")})})};
}

// The text read as an integer, as far as it reads.
int IntegerOf(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// A date text M/D/Y as numbers; what does not read stays 0.
void ReadDate(const std::string& text, int16_t& month, int16_t& day, int16_t& year) {
    month = day = year = 0;
    std::sscanf(text.c_str(), "%hd/%hd/%hd", &month, &day, &year);
}

std::string EditDate(int16_t month, int16_t day, int16_t year) {
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%2d/%2.2d", month, day, year);
    return text;
}

}  // namespace

// ---- Stock Split: the year and the security

CStockSplitDlg::CStockSplitDlg(Window* parent) : Dialog(StockSplitTemplate(), parent) {
    Bind(kYear, Notify::Changed, [this] { shell::FilterDigitsKey(GetDlgItem(kYear)); });
    Bind(kOk, Notify::Clicked, &CStockSplitDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CStockSplitDlg::OnCancel);
}

bool CStockSplitDlg::OnInitDialog() {
    Control securities = GetDlgItem(kSecurity);
    shell::FillSecurityCombo(&securities, nullptr);
    GetDlgItem(kYear).LimitText(4);
    // The year of the program date, placed in its century by the window.
    SetDlgItemText(kYear, std::to_string(shell::DefaultSplitYear(shell::g_report.SystemDate)));
    return true;
}

void CStockSplitDlg::OnOK() {
    shell::ClearMessageList();
    // A typed symbol must be one of the list, whole and as it is spelt there.
    const Control securities = GetDlgItem(kSecurity);
    const std::string security = shell::ChosenComboLine(securities);
    if (security.empty()) shell::AddMessage("Illegal Security:" + securities.GetWindowText());
    const std::string year_text = GetDlgItemText(kYear);
    const int year = IntegerOf(year_text);
    if (year < kFirstYear || year > kLastYear) shell::AddMessage("Illegal Year: " + year_text);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    year_text_ = year_text;
    security_ = security;
    EndDialog(IDOK);
}

// ---- Stock Splits: the splits of the security in the year

CStockSplitsDlg::CStockSplitsDlg(std::string year_text, std::string security, Window* parent)
    : Dialog(StockSplitsTemplate(), parent),
      year_text_(std::move(year_text)),
      security_(std::move(security)) {
    for (std::size_t r = 0; r < kRowButtons.size(); ++r)
        Bind(kRowButtons[r], Notify::Clicked, [this, r] { OnRow(static_cast<int>(r)); });
    Bind(kModify, Notify::Clicked, &CStockSplitsDlg::OnModify);
    Bind(kAdd, Notify::Clicked, &CStockSplitsDlg::OnAdd);
    Bind(kDelete, Notify::Clicked, &CStockSplitsDlg::OnDelete);
    Bind(kOk, Notify::Clicked, &CStockSplitsDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CStockSplitsDlg::OnCancel);
}

bool CStockSplitsDlg::OnInitDialog() {
    SetWindowText("Stock Split - " + security_ + "  " + year_text_);
    year_ = IntegerOf(year_text_);
    std::string message;
    records::Rdsplt(records::Fixed(security_, kSymbolWidth), year_, message, list_);
    if (!message.empty()) MessageBox(message, {}, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
    selected_ = 0;
    Refresh();
    return true;
}

std::string CStockSplitsDlg::RowText(int n, const records::SplitEntry& s) {
    char text[160];
    std::snprintf(
        text, sizeof text, "%d %8.2f            %2.2hd/%2.2hd/%2.2hd              %2.2hd/%2.2hd/%2.2hd  ", n,
        static_cast<double>(s.ratio), s.ex_month, s.ex_day, s.ex_year, s.pay_month, s.pay_day, s.pay_year);
    return std::string(text) + "     " + (s.posted == kPosted ? "    " : "not ") + "posted";
}

void CStockSplitsDlg::Refresh() {
    for (int r = 0; r < records::kMaxSplits; ++r) {
        Control button = GetDlgItem(kRowButtons[r]);
        button.SetCheck(0);
        const bool used = r < list_.count;
        button.EnableWindow(used);
        button.ShowWindow(used ? SW_SHOW : SW_HIDE);
        SetDlgItemText(kRowLabels[r], used ? RowText(r + 1, list_.splits[r]) : std::to_string(r + 1));
    }
    if (selected_ > list_.count - 1) selected_ = list_.count - 1;
    if (selected_ >= 0) GetDlgItem(kRowButtons[selected_]).SetCheck(1);
    GetDlgItem(kDelete).EnableWindow(selected_ >= 0);
    GetDlgItem(kModify).EnableWindow(selected_ >= 0);
    GetDlgItem(kAdd).EnableWindow(list_.count < records::kMaxSplits);
}

void CStockSplitsDlg::OnRow(int row) {
    selected_ = row;
    Refresh();
}

void CStockSplitsDlg::OnAdd() {
    if (list_.count >= records::kMaxSplits) return;
    CStockSplitEditDlg edit("", "", 0.0f, this);
    if (edit.DoModal() != IDOK) return;
    records::SplitEntry& s = list_.splits[list_.count];
    ReadDate(edit.ExDate(), s.ex_month, s.ex_day, s.ex_year);
    ReadDate(edit.PayDate(), s.pay_month, s.pay_day, s.pay_year);
    s.ratio = edit.Ratio();
    s.posted = kNotPosted;
    selected_ = list_.count;
    ++list_.count;
    Refresh();
}

void CStockSplitsDlg::OnModify() {
    if (selected_ < 0) return;
    records::SplitEntry& s = list_.splits[selected_];
    CStockSplitEditDlg edit(EditDate(s.ex_month, s.ex_day, s.ex_year),
                            EditDate(s.pay_month, s.pay_day, s.pay_year), s.ratio, this);
    if (edit.DoModal() != IDOK) return;
    ReadDate(edit.ExDate(), s.ex_month, s.ex_day, s.ex_year);
    ReadDate(edit.PayDate(), s.pay_month, s.pay_day, s.pay_year);
    s.ratio = edit.Ratio();
    Refresh();
}

void CStockSplitsDlg::OnDelete() {
    if (selected_ < 0) return;
    if (MessageBox("Are you sure you want to delete this Stock Split ?", "Confirm Delete", MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    for (int k = selected_; k + 1 < list_.count; ++k) list_.splits[k] = list_.splits[k + 1];
    --list_.count;
    for (int k = list_.count; k < records::kMaxSplits; ++k) list_.splits[k] = records::SplitEntry{};
    Refresh();
}

void CStockSplitsDlg::OnOK() {
    const std::string refused = records::Wrsplt(records::Fixed(security_, kSymbolWidth), year_, list_);
    if (!refused.empty()) {
        MessageBox(refused, {}, MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
        return;
    }
    EndDialog(IDOK);
}

// ---- Stock Split Edit: one split

CStockSplitEditDlg::CStockSplitEditDlg(std::string ex_date, std::string pay_date, float ratio, Window* parent)
    : Dialog(StockSplitEditTemplate(), parent),
      ex_date_(std::move(ex_date)),
      pay_date_(std::move(pay_date)),
      ratio_(ratio) {
    Bind(kRatio, Notify::Changed, [this] { shell::FilterNumberKey(GetDlgItem(kRatio)); });
    Bind(kExDate, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kExDate)); });
    Bind(kPayDate, Notify::Changed, [this] { shell::FilterDateKey(GetDlgItem(kPayDate)); });
    Bind(kOk, Notify::Clicked, &CStockSplitEditDlg::OnOK);
    Bind(kCancel, Notify::Clicked, &CStockSplitEditDlg::OnCancel);
}

bool CStockSplitEditDlg::OnInitDialog() {
    SetDlgItemText(kExDate, ex_date_);
    SetDlgItemText(kPayDate, pay_date_);
    char text[64];
    std::snprintf(text, sizeof text, "%8.2f", static_cast<double>(ratio_));
    SetDlgItemText(kRatio, text);
    return true;
}

void CStockSplitEditDlg::OnOK() {
    shell::ClearMessageList();
    const std::string ratio_text = GetDlgItemText(kRatio);
    const shell::NumberText ratio = shell::ReadNumberText(ratio_text);
    if (!ratio.valid || ratio.value <= 0.0) shell::AddMessage("Illegal Ratio: " + ratio_text);
    std::string ex_date = GetDlgItemText(kExDate);
    if (!shell::CheckDateText(ex_date)) shell::AddMessage("Illegal Ex - Date: " + ex_date);
    std::string pay_date = GetDlgItemText(kPayDate);
    if (!shell::CheckDateText(pay_date)) shell::AddMessage("Illegal Pay Date: " + pay_date);
    if (shell::GetMessageCount() != 0) {
        shell::ShowMessageList();
        return;
    }
    ratio_ = static_cast<float>(ratio.value);
    ex_date_ = ex_date;
    pay_date_ = pay_date;
    EndDialog(IDOK);
}

void CStockSplitEditDlg::OnCancel() {
    shell::ClearMessageList();
    EndDialog(IDCANCEL);
}

// ---- The command

void RunModifyStockSplits(shell::CMainFrame& frame) {
    shell::g_report.ReportCode = kModifyStockSplitsCode;
    CStockSplitDlg choice(&frame);
    if (choice.DoModal() != IDOK) return;
    CStockSplitsDlg splits(choice.YearText(), choice.Security(), &frame);
    splits.DoModal();
}

}  // namespace setup
