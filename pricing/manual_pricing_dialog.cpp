// The Manual Pricing dialog.

#include "pricing/manual_pricing_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "platform/feedback.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/record.h"
#include "records/security_file.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/report_globals.h"

namespace pricing {
namespace {

using namespace platform;
using D = CManualPricingDlg;

constexpr int kEditWidth = 18;
constexpr std::size_t kPriceRecordLength = 8;

DialogTemplate ManualPricingTemplate() {
    std::vector<Node> rows;
    for (int k = 0; k < D::kRows; ++k)
        rows.push_back(Row({Static(D::kSymbolLabels[k], "").Chars(12), Edit(D::kPriceEdits[k]).Chars(18)}));
    return {
        kManualPricingDialogId, "Manual Pricing",
        Column({
            Row({Static(D::kHeading, "Prices for Date").Chars(30), Stretch()}),
            Row({Column(rows), ScrollBar(D::kScrollBar).Lines(19),
                 Column(
                     {ComboBox(D::kDateCombo).Chars(10),
                      Row({Button(D::kEditPrices, "Edit"),
                           Static(D::kEditPricesCaption, "Create Price File for Date nn/nn/nn").Chars(36)}),
                      Row({Button(D::kSelectNewDate, "Change"),
                           Static(D::kSelectNewDateLabel, "Select New Date")}),
                      Static(D::kMessage, "").Chars(36), Stretch(), Button(D::kDone, "Done")})}),
        })};
}

// The name of a date's price file: "se" and the date's characters 1, 2,
// 4, 5, 7 and 8 (MMDDYY).
std::string PriceFileOf(const std::string& date) {
    const std::string d = records::Fixed(date, 8);
    return std::string("se") + d[0] + d[1] + d[3] + d[4] + d[6] + d[7] + ".prc";
}

// The date's price file exists and its first record reads.
bool PriceFileReadable(const std::string& date) {
    const records::DirectFile file(PriceFileOf(date), kPriceRecordLength, /*create=*/false);
    records::Record rec;
    return file.ok() && file.Read(1, rec);
}

// Year, month and day as they sort: the two-digit year in its century.
std::string SortKey(const std::string& date) {
    const int yy = (date[6] - '0') * 10 + (date[7] - '0');
    return std::string(records::WindowYear(yy) >= 100 ? "1" : "0") + date.substr(6, 2) + date.substr(0, 2) +
           date.substr(3, 2);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

CManualPricingDlg::CManualPricingDlg(Window* parent) : Dialog(ManualPricingTemplate(), parent) {
    Bind(kDone, Notify::Clicked, &D::OnDone);
    Bind(kSelectNewDate, Notify::Clicked, &D::OnSelectNewDate);
    Bind(kEditPrices, Notify::Clicked, &D::OnEditPrices);
    Bind(kDateCombo, Notify::Changed, &D::OnDateEditChange);
    Bind(kDateCombo, Notify::SelChange, &D::OnDateChosen);
    Bind(kDateCombo, Notify::FocusLost, &D::OnDateChosen);
    for (int k = 0; k < kRows; ++k) {
        const int row = k + 1;
        Bind(kPriceEdits[k], Notify::Changed, [this, row] { OnPriceChange(row); });
        Bind(kPriceEdits[k], Notify::FocusLost, [this, row] { OnPriceLeft(row); });
        Bind(kPriceEdits[k], Notify::FocusGained, [this, row] { current_row_ = row; });
    }
    Bind(kScrollBar, Notify::Scroll, [this](const Notification& n) { OnVScroll(n); });
}

std::vector<std::string> CManualPricingDlg::PriceFileDates() {
    std::vector<std::string> dates;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
        const std::string name = Lower(entry.path().filename().string());
        if (name.size() < 6 || name.compare(0, 2, "se") != 0 || name.compare(name.size() - 4, 4, ".prc") != 0)
            continue;
        std::string date;
        for (const char c : name) {
            if (!std::isdigit(static_cast<unsigned char>(c))) continue;
            date.push_back(c);
            if (date.size() == 2 || date.size() == 5) date.push_back('/');
            if (date.size() == 8) break;
        }
        if (date.size() < 8) continue;  // fewer than six digits
        if (!PriceFileReadable(date)) continue;
        if (std::find(dates.begin(), dates.end(), date) == dates.end()) dates.push_back(date);
    }
    std::sort(dates.begin(), dates.end(),
              [](const std::string& a, const std::string& b) { return SortKey(a) > SortKey(b); });
    return dates;
}

bool CManualPricingDlg::OnInitDialog() {
    changed_ = false;
    {
        WaitCursor wait;
        Control combo = GetDlgItem(kDateCombo);
        combo.ResetContent();
        for (const std::string& date : PriceFileDates()) combo.AddString(date);
    }
    LoadSecurities();
    for (const int id : kPriceEdits) GetDlgItem(id).LimitText(kEditWidth);
    EnableRows(false);
    const std::string today = shell::g_report.SystemDate;
    SetDlgItemText(kDateCombo, today);
    SetCaptionForDate(today);
    GetDlgItem(kEditPrices).EnableWindow(true);
    GetDlgItem(kSelectNewDate).EnableWindow(false);
    GetDlgItem(kSelectNewDateLabel).EnableWindow(false);
    GetDlgItem(kDateCombo).LimitText(8);
    SetDlgItemText(kHeading, "Select Date");
    return true;
}

void CManualPricingDlg::LoadSecurities() {
    const std::vector<std::string> keys = records::ReadSecurityIndex();
    prices_.assign(keys.size(), kNoPrice);
    entries_.clear();
    // The first position is never listed.
    for (std::size_t p = 1; p < keys.size(); ++p) {
        const std::string& key = keys[p];
        if (!key.empty() && key[0] == '$') continue;
        if (std::all_of(key.begin(), key.end(), [](char c) { return c == ' ' || c == '\0'; })) continue;
        entries_.push_back({records::Fixed(key, 12), static_cast<int16_t>(p)});
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const PriceEditEntry& a, const PriceEditEntry& b) {
        return Lower(a.symbol) < Lower(b.symbol);
    });
}

void CManualPricingDlg::SetCaptionForDate(const std::string& date) {
    file_readable_ = PriceFileReadable(date);
    const std::string caption =
        (file_readable_ ? "Edit existing price file for " : "Edit new price file for ") + date;
    SetDlgItemText(kEditPricesCaption, caption);
    GetDlgItem(kEditPricesCaption).EnableWindow(true);
    GetDlgItem(kEditPrices).EnableWindow(true);
}

void CManualPricingDlg::LoadPrices(const std::string& date) {
    std::fill(prices_.begin(), prices_.end(), kNoPrice);
    if (!file_readable_) return;
    const records::DirectFile file(PriceFileOf(date), kPriceRecordLength, /*create=*/false);
    records::Record rec;
    for (std::size_t p = 0; p < prices_.size(); ++p)
        if (file.Read(static_cast<long>(p + 1), rec)) prices_[p] = rec.R8(0);
}

void CManualPricingDlg::SavePrices() {
    SetDlgItemText(kHeading, "Saving Prices for date " + date_);
    {
        records::DirectFile file(PriceFileOf(date_), kPriceRecordLength);
        records::Record rec(kPriceRecordLength);
        for (std::size_t p = 0; p < prices_.size(); ++p) {
            rec.SetR8(0, prices_[p]);
            file.Write(static_cast<long>(p + 1), rec);
        }
    }
    changed_ = false;
}

std::string CManualPricingDlg::PriceText(double price) {
    if (price < 0) return {};
    // A price of a million or more needs more than the 13 places: it is
    // shown whole rather than as a zero that would be stored back.
    char text[64];
    std::snprintf(text, sizeof text, "%13.6f", price);
    return text;
}

int CManualPricingDlg::ScrollPosition() const {
    return GetDlgItem(kScrollBar).GetScrollPos();
}

int CManualPricingDlg::ScrollEnd() const {
    return std::max(static_cast<int>(entries_.size()) - (kRows - 1), 1);
}

void CManualPricingDlg::FillPage() {
    const int position = ScrollPosition();
    filling_ = true;
    for (int k = 0; k < kRows; ++k) {
        const int entry = position + k;  // from 1
        if (entry > static_cast<int>(entries_.size())) {
            SetDlgItemText(kSymbolLabels[k], "");
            SetDlgItemText(kPriceEdits[k], "");
        } else {
            const PriceEditEntry& e = entries_[static_cast<std::size_t>(entry - 1)];
            SetDlgItemText(kSymbolLabels[k], records::TrimRight(e.symbol));
            SetDlgItemText(kPriceEdits[k], PriceText(prices_[static_cast<std::size_t>(e.position)]));
        }
        typed_[static_cast<std::size_t>(k)] = false;
    }
    filling_ = false;
}

void CManualPricingDlg::EnableRows(bool enable) {
    for (int k = 0; k < kRows; ++k) {
        GetDlgItem(kPriceEdits[k]).EnableWindow(enable);
        GetDlgItem(kSymbolLabels[k]).EnableWindow(enable);
    }
    GetDlgItem(kScrollBar).EnableWindow(enable);
}

void CManualPricingDlg::StoreRow(int row) {
    if (row < 1 || row > kRows) return;
    const std::size_t k = static_cast<std::size_t>(row - 1);
    // Only what the user typed is stored: a row left as it was shown keeps
    // its price exactly.
    if (!typed_[k]) return;
    typed_[k] = false;
    const int entry = ScrollPosition() + row - 1;
    if (entry > static_cast<int>(entries_.size())) return;
    const std::string text = GetDlgItemText(kPriceEdits[k]);
    double value = kNoPrice;
    if (text.find_first_not_of(' ') != std::string::npos && std::sscanf(text.c_str(), "%lf", &value) != 1)
        value = kNoPrice;
    const PriceEditEntry& e = entries_[static_cast<std::size_t>(entry - 1)];
    prices_[static_cast<std::size_t>(e.position)] = value;
    changed_ = true;
    filling_ = true;
    SetDlgItemText(kPriceEdits[k], PriceText(value));
    filling_ = false;
}

void CManualPricingDlg::OnPriceChange(int row) {
    if (filling_) return;
    typed_[static_cast<std::size_t>(row - 1)] = true;
    if (!filter_guard_) return;
    Control edit = GetDlgItem(kPriceEdits[static_cast<std::size_t>(row - 1)]);
    std::string text = edit.GetWindowText();
    if (text.empty()) return;
    filter_guard_ = false;
    enum class State { kLeading, kDigits, kDecimals, kTrailing } state = State::kLeading;
    std::size_t bad = std::string::npos;
    for (std::size_t i = 0; i < text.size() && bad == std::string::npos; ++i) {
        const char c = text[i];
        const bool digit = c >= '0' && c <= '9';
        switch (state) {
            case State::kLeading:
                if (digit)
                    state = State::kDigits;
                else if (c == '.')
                    state = State::kDecimals;
                else if (c != ' ')
                    bad = i;
                break;
            case State::kDigits:
                if (c == '.')
                    state = State::kDecimals;
                else if (c == ' ')
                    state = State::kTrailing;
                else if (!digit)
                    bad = i;
                break;
            case State::kDecimals:
                if (c == ' ')
                    state = State::kTrailing;
                else if (!digit)
                    bad = i;
                break;
            case State::kTrailing:
                if (c != ' ') bad = i;
                break;
        }
    }
    if (bad != std::string::npos) {
        text.erase(bad, 1);
        edit.SetWindowText(text);
        edit.SetSel(static_cast<int>(bad), static_cast<int>(bad));
        MessageBeep(MB_ICONASTERISK);
    }
    filter_guard_ = true;
}

void CManualPricingDlg::OnPriceLeft(int row) {
    StoreRow(row);
    if (row != kRows) return;
    // Leaving the last row moves the list up by one, so that typing a
    // price and Tab walks down the securities one at a time.
    const int position = ScrollPosition();
    const int next = std::min(position + 1, ScrollEnd());
    if (next != position) {
        GetDlgItem(kScrollBar).SetScrollPos(next);
        FillPage();
    }
    if (GetFocusId() != kDone) GotoDlgCtrl(kPriceEdits[kRows - 1]);
}

void CManualPricingDlg::OnVScroll(const Notification& n) {
    StoreRow(current_row_);
    const int position = ScrollPosition();
    int next = position;
    switch (n.scroll_code) {
        case SB_LINEUP:
            next = position - 1;
            break;
        case SB_LINEDOWN:
            next = position + 1;
            break;
        case SB_PAGEUP:
            next = position - kRows;
            break;
        case SB_PAGEDOWN:
            next = position + kRows;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            next = n.position;
            break;
        case SB_TOP:
            next = 1;
            break;
        case SB_BOTTOM:
            next = ScrollEnd();
            break;
        default:
            break;
    }
    next = std::clamp(next, 1, ScrollEnd());
    if (next == position) return;
    GetDlgItem(kScrollBar).SetScrollPos(next);
    FillPage();
}

void CManualPricingDlg::OnEditPrices() {
    // Editing never starts for a date that is not one: the check ran when
    // the combo box was left, but the button can be pressed from the
    // keyboard with a refused date still in the combo box.
    std::string date = GetDlgItemText(kDateCombo);
    const std::string typed = date;
    if (!shell::CheckDateText(date)) {
        RefuseDate(typed);
        return;
    }
    date_ = date;
    LoadPrices(date_);
    Control scroll = GetDlgItem(kScrollBar);
    scroll.SetScrollRange(1, ScrollEnd());
    scroll.SetScrollPos(1);
    FillPage();
    EnableRows(true);
    GetDlgItem(kEditPrices).EnableWindow(false);
    GetDlgItem(kEditPricesCaption).EnableWindow(false);
    GetDlgItem(kDateCombo).EnableWindow(false);
    GetDlgItem(kSelectNewDate).EnableWindow(true);
    GetDlgItem(kSelectNewDateLabel).EnableWindow(true);
    SetDlgItemText(kHeading, "Prices for " + date_);
}

void CManualPricingDlg::OnSelectNewDate() {
    if (changed_) SavePrices();
    EnableRows(false);
    GetDlgItem(kEditPrices).EnableWindow(true);
    GetDlgItem(kEditPricesCaption).EnableWindow(true);
    GetDlgItem(kDateCombo).EnableWindow(true);
    GetDlgItem(kSelectNewDate).EnableWindow(false);
    GetDlgItem(kSelectNewDateLabel).EnableWindow(false);
    SetDlgItemText(kHeading, "Select Date");
}

void CManualPricingDlg::OnDone() {
    if (changed_) SavePrices();
    entries_.clear();
    prices_.clear();
    EndDialog(IDOK);
}

void CManualPricingDlg::OnDateEditChange() {
    SetDlgItemText(kMessage, "");
    shell::FilterDateComboKey(GetDlgItem(kDateCombo));
}

void CManualPricingDlg::OnDateChosen() {
    if (GetFocusId() == kDone) return;
    SetDlgItemText(kMessage, "");
    Control combo = GetDlgItem(kDateCombo);
    const int line = combo.GetCurSel();
    std::string date = line >= 0 ? combo.GetText(line) : combo.GetWindowText();
    const std::string typed = date;
    if (!shell::CheckDateText(date)) {
        RefuseDate(typed);
        return;
    }
    combo.SetWindowText(date);
    SetCaptionForDate(date);
}

void CManualPricingDlg::RefuseDate(const std::string& typed) {
    SetDlgItemText(kMessage, "Invalid Date:" + typed);
    Control combo = GetDlgItem(kDateCombo);
    combo.SetSel(0, -1);
    GotoDlgCtrl(kDateCombo);
    SetDlgItemText(kEditPricesCaption, "Edit Prices");
    GetDlgItem(kEditPricesCaption).EnableWindow(false);
}

}  // namespace pricing
