// Fee Schedule.

#include "setup/fee_schedule_dialog.h"

#include <cstdio>

#include "platform/feedback.h"
#include "shell/field_helpers.h"

namespace setup {
namespace {

using namespace platform;
using D = CFeeScheduleDlg;

constexpr const char* kStepCaptions[] = {"Break Point 1", "Percentage 2",  "Break Point 2",
                                         "Percentage 3",  "Break Point 3", "Percentage 4",
                                         "Break Point 4", "Percentage 5",  "Break Point 5"};

DialogTemplate FeeScheduleTemplate() {
    std::vector<Node> steps;
    for (std::size_t i = 0; i < D::kStepValues.size(); ++i)
        steps.push_back(
            Row({Static(D::kStepLabels[i], kStepCaptions[i]).Chars(22), Edit(D::kStepValues[i]).Chars(16)}));
    std::vector<Node> body = {
        Row({Label("Billing Code"), Edit(D::kCode).Chars(4), UpDown(D::kSpin), Stretch()}),
        Group(IDC_STATIC, "Fee Type",
              {Radio(D::kFlatFee, "Flat Fee"), Radio(D::kStraight, "Straight Percentage"),
               Radio(D::kIncremental, "Incremental Percentages")}),
        Row({Static(D::kFirstLabel, "Flat Fee").Chars(22), Edit(D::kFirstValue).Chars(16)})};
    body.insert(body.end(), steps.begin(), steps.end());
    body.push_back(Row({Stretch(), Button(D::kDone, "Done", kDefault)}));
    return {kFeeScheduleDialogId, "Fee Schedule", Column(body)};
}

std::string Amount(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2lf", value);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The first character a number field does not take, scanning from the
// left: digits, blanks and one point, blanks only after the number ends;
// npos when every character is taken.
std::size_t RefusedValueCharacter(const std::string& text) {
    enum { kBefore, kWhole, kFraction, kTrailing } state = kBefore;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!IsDigit(c) && c != ' ' && c != '.') return i;
        if (state == kBefore && c != ' ') state = kWhole;
        switch (state) {
            case kBefore:
                break;
            case kWhole:
                if (c == '.') state = kFraction;
                if (c == ' ') state = kTrailing;
                break;
            case kFraction:
                if (c == '.') return i;
                if (c == ' ') state = kTrailing;
                break;
            case kTrailing:
                if (c != ' ') return i;
                break;
        }
    }
    return std::string::npos;
}

// The billing code text after one correction, or the text itself when it
// is a code (or the start of one): 1 to 9, 10 to 36. A longer text keeps
// the character just typed (the one before the caret).
std::string CorrectedCode(const std::string& text, int caret) {
    if (text.size() > 2) {
        const std::size_t typed =
            caret > 0 && caret <= static_cast<int>(text.size()) ? caret - 1 : text.size() - 1;
        return text.substr(typed, 1);
    }
    if (text.size() == 2) {
        if (text[0] < '1' || text[0] > '3') return text.substr(1);
        if (!IsDigit(text[1]) || (text[0] == '3' && text[1] > '6')) return text.substr(0, 1);
        return text;
    }
    if (text.size() == 1 && (!IsDigit(text[0]) || text[0] == '0')) return "";
    return text;
}

}  // namespace

CFeeScheduleDlg::CFeeScheduleDlg(Window* parent) : Dialog(FeeScheduleTemplate(), parent) {
    Bind(kFlatFee, Notify::Clicked, [this] { OnType(kFlat); });
    Bind(kStraight, Notify::Clicked, [this] { OnType(kStraightPercentage); });
    Bind(kIncremental, Notify::Clicked, [this] { OnType(kIncrementalPercentages); });
    Bind(kFirstValue, Notify::FocusLost, [this] { OnValueLeft(kFirstValue); });
    Bind(kFirstValue, Notify::Changed, [this] { OnValueChange(kFirstValue); });
    for (const int id : kStepValues) {
        Bind(id, Notify::FocusLost, [this, id] { OnValueLeft(id); });
        Bind(id, Notify::Changed, [this, id] { OnValueChange(id); });
    }
    Bind(kCode, Notify::Changed, &D::OnCodeChange);
    Bind(kCode, Notify::FocusLost, &D::OnCodeLeft);
    Bind(kSpin, Notify::DeltaPos, [this](const Notification& n) { OnSpin(n); });
    Bind(kDone, Notify::Clicked, &D::OnDone);
}

bool CFeeScheduleDlg::OnInitDialog() {
    table_ = records::Inptab();
    for (int c = 0; c < records::kFeeCodes; ++c) {
        int16_t& type = table_.types[c];
        if (type < kFlat) type = kFlat;
        if (type > kIncrementalPercentages) type = kIncrementalPercentages;
        for (double& p : table_.percentages[c]) p *= 100.0;
    }
    code_ = 1;
    ShowCode();
    return true;
}

double& CFeeScheduleDlg::ValueOf(int id) {
    const int c = code_ - 1;
    if (id == kFirstValue)
        return table_.types[c] == kFlat ? table_.break_points[c][0] : table_.percentages[c][0];
    int i = 0;
    while (kStepValues[i] != id) ++i;
    // Break point 1, percentage 2, break point 2, ...: even places are
    // break points, odd places percentages.
    return i % 2 == 0 ? table_.break_points[c][i / 2] : table_.percentages[c][(i + 1) / 2];
}

void CFeeScheduleDlg::ShowCode() {
    setting_ = true;
    const int16_t type = table_.types[code_ - 1];
    const bool incremental = type == kIncrementalPercentages;
    for (std::size_t i = 0; i < kStepValues.size(); ++i) {
        for (const int id : {kStepLabels[i], kStepValues[i]}) {
            GetDlgItem(id).ShowWindow(incremental ? SW_SHOW : SW_HIDE);
            GetDlgItem(id).EnableWindow(incremental);
        }
        SetDlgItemText(kStepValues[i], Amount(ValueOf(kStepValues[i])));
    }
    for (const int id : {kFirstLabel, kFirstValue}) {
        GetDlgItem(id).ShowWindow(SW_SHOW);
        GetDlgItem(id).EnableWindow(true);
    }
    CheckDlgButton(kFlatFee, type == kFlat);
    CheckDlgButton(kStraight, type == kStraightPercentage);
    CheckDlgButton(kIncremental, incremental);
    SetDlgItemText(kFirstLabel, type == kFlat                 ? "Flat Fee"
                                : type == kStraightPercentage ? "Straight Percentage"
                                                              : "Percentage 1");
    SetDlgItemText(kFirstValue, Amount(ValueOf(kFirstValue)));
    SetDlgItemText(kCode, std::to_string(code_));
    setting_ = false;
}

void CFeeScheduleDlg::OnType(int16_t type) {
    const int c = code_ - 1;
    if (table_.types[c] == type) return;
    table_.types[c] = type;
    if (type == kStraightPercentage) table_.percentages[c][0] = 0.0;
    if (type == kIncrementalPercentages) {
        table_.break_points[c].fill(0.0);
        table_.percentages[c].fill(0.0);
    }
    ShowCode();
}

void CFeeScheduleDlg::OnValueLeft(int id) {
    // The filter lets through only digits, blanks and a point; what does
    // not read as a number (a lone point, nothing) counts as 0.
    const shell::NumberText number = shell::ReadNumberText(GetDlgItemText(id));
    ValueOf(id) = number.valid ? number.value : 0.0;
}

void CFeeScheduleDlg::OnValueChange(int id) {
    if (setting_) return;
    Control edit = GetDlgItem(id);
    std::string text = edit.GetWindowText();
    std::size_t refused = RefusedValueCharacter(text);
    if (refused == std::string::npos) return;
    while (refused != std::string::npos) {
        text.erase(refused, 1);
        refused = RefusedValueCharacter(text);
    }
    int start = 0, end = 0;
    edit.GetSel(start, end);
    const int caret = std::min<int>(std::max(end - 1, 0), static_cast<int>(text.size()));
    setting_ = true;
    edit.SetWindowText(text);
    edit.SetSel(caret, caret);
    setting_ = false;
    MessageBeep(MB_ICONASTERISK);
}

void CFeeScheduleDlg::OnCodeChange() {
    if (setting_) return;
    Control edit = GetDlgItem(kCode);
    const std::string typed = edit.GetWindowText();
    int start = 0, end = 0;
    edit.GetSel(start, end);
    std::string text = typed;
    for (std::string next = CorrectedCode(text, end); next != text; next = CorrectedCode(text, end)) {
        text = next;
        end = static_cast<int>(text.size());
        MessageBeep(MB_ICONASTERISK);
    }
    if (text == typed) return;
    setting_ = true;
    edit.SetWindowText(text);
    edit.SetSel(static_cast<int>(text.size()), static_cast<int>(text.size()));
    setting_ = false;
}

void CFeeScheduleDlg::OnCodeLeft() {
    const std::string text = GetDlgItemText(kCode);
    int code = 1;
    if (!text.empty()) {
        short read = 0;
        if (std::sscanf(text.c_str(), "%hd", &read) == 1 && read >= 1 && read <= records::kFeeCodes)
            code = read;
        else
            code = code_;
    }
    code_ = code;
    ShowCode();
}

void CFeeScheduleDlg::OnSpin(const Notification& n) {
    GotoDlgCtrl(kCode);
    if (n.delta < 1)
        code_ = code_ == records::kFeeCodes ? 1 : code_ + 1;
    else
        code_ = code_ == 1 ? records::kFeeCodes : code_ - 1;
    ShowCode();
}

void CFeeScheduleDlg::OnDone() {
    records::FeeTable written = table_;
    for (int c = 0; c < records::kFeeCodes; ++c) {
        auto& points = written.break_points[c];
        auto& percents = written.percentages[c];
        switch (written.types[c]) {
            case kFlat:
                percents.fill(0.0);
                for (int k = 1; k < records::kFeeSteps; ++k) points[k] = 0.0;
                break;
            case kStraightPercentage:
                for (int k = 1; k < records::kFeeSteps; ++k) points[k] = percents[k] = 0.0;
                break;
            default:
                break;
        }
        for (double& p : percents) p *= 0.01;
    }
    records::Wrttab(written);
    EndDialog(IDOK);
}

}  // namespace setup
