#include "shell/printer_options_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/feedback.h"
#include "platform/text.h"
#include "records/common_file.h"
#include "records/record.h"
#include "shell/field_helpers.h"
#include "shell/key_filters.h"
#include "shell/message_list.h"
#include "shell/printer_settings.h"
#include "shell/report_font_dialog.h"
#include "shell/runner.h"

namespace shell {
namespace {

using namespace platform;
using Dlg = CPrinterOptionsDlg;

// Byte offsets of the fields in record 80.
constexpr std::size_t kPageLengthAt = 0;
constexpr std::size_t kTopLinesAt = 2;
constexpr std::size_t kLeftMarginAt = 4;
constexpr std::size_t kRightMarginAt = 12;
constexpr std::size_t kIntensityAt = 20;
constexpr std::size_t kFaceAt = 64;
constexpr std::size_t kFaceWidth = 32;

constexpr float kLargestMargin = 6.0f;

DialogTemplate PrinterOptionsTemplate() {
    return {Dlg::kDialogId, "Printer Options",
            Column({Row({Label("Page Length (lines)"), Stretch(), Edit(Dlg::kPageLength).Chars(6),
                         CheckBox(Dlg::kAutomatic, "Automatic")}),
                    Row({Label("Top Margin (lines)"), Stretch(), Edit(Dlg::kTopMargin).Chars(6)}),
                    Row({Label("Left Margin (inches)"), Stretch(), Edit(Dlg::kLeftMargin).Chars(8)}),
                    Row({Label("Right Margin (inches)"), Stretch(), Edit(Dlg::kRightMargin).Chars(8)}),
                    Row({Label("Intensity (0-9)"), Stretch(), Edit(Dlg::kIntensity).Chars(3)}),
                    Row({Button(Dlg::kSelectFont, "Select Font"), Label("Current Font::"),
                         Static(Dlg::kCurrentFont, "").Chars(24), Stretch()}),
                    Row({Stretch(), Button(Dlg::kDone, "Done", kDefault), Button(Dlg::kCancel, "Cancel")})})};
}

// A whole number as typed: its leading digits (none: 0).
long WholeNumber(const std::string& text) {
    long value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = std::min<long>(value * 10 + (c - '0'), 1000000);
    }
    return value;
}

// A margin as typed (commas of the number filter dropped); nothing when
// the text is not a number. An empty field is 0.
std::optional<float> MarginValue(const std::string& text) {
    if (!CheckNumberText(text)) return std::nullopt;
    std::string plain;
    for (const char c : text)
        if (c != ',') plain += c;
    return static_cast<float>(std::strtod(plain.c_str(), nullptr));
}

std::string FaceOf(const records::Record& rec) {
    std::string face = rec.Text(kFaceAt, kFaceWidth);
    face = face.substr(0, face.find('\0'));
    return TrimField(face, kFaceWidth);
}

}  // namespace

CPrinterOptionsDlg::CPrinterOptionsDlg(Window* parent) : Dialog(PrinterOptionsTemplate(), parent) {
    Bind(kAutomatic, Notify::Clicked, &Dlg::OnAutomatic);
    Bind(kPageLength, Notify::Changed, [this] { OnDigitsChanged(kPageLength); });
    Bind(kTopMargin, Notify::Changed, [this] { OnDigitsChanged(kTopMargin); });
    Bind(kLeftMargin, Notify::Changed, [this] { OnMarginChanged(kLeftMargin); });
    Bind(kRightMargin, Notify::Changed, [this] { OnMarginChanged(kRightMargin); });
    Bind(kSelectFont, Notify::Clicked, &Dlg::OnSelectFont);
    Bind(kDone, Notify::Clicked, &Dlg::OnDone);
    Bind(kCancel, Notify::Clicked, &Dlg::OnCancel);
}

bool CPrinterOptionsDlg::OnInitDialog() {
    initialising_ = true;
    GetDlgItem(kPageLength).LimitText(5);
    GetDlgItem(kTopMargin).LimitText(2);
    GetDlgItem(kLeftMargin).LimitText(6);
    GetDlgItem(kRightMargin).LimitText(6);
    GetDlgItem(kIntensity).LimitText(1);

    char text[64];
    std::snprintf(text, sizeof text, "%d", g_printer.PrinterTopLines);
    SetDlgItemText(kTopMargin, text);
    if (g_printer.PrinterPageLength > 0) {
        CheckDlgButton(kAutomatic, 0);
        GetDlgItem(kPageLength).EnableWindow(true);
        ShowPageLength();
    } else {
        CheckDlgButton(kAutomatic, 1);
        GetDlgItem(kPageLength).EnableWindow(false);
    }
    std::snprintf(text, sizeof text, "%6.4f", static_cast<double>(g_printer.LeftMargin));
    SetDlgItemText(kLeftMargin, text);
    std::snprintf(text, sizeof text, "%6.4f", static_cast<double>(g_printer.RightMargin));
    SetDlgItemText(kRightMargin, text);
    std::snprintf(text, sizeof text, "%d", g_printer.PrinterIntensity);
    SetDlgItemText(kIntensity, text);
    SetDlgItemText(kCurrentFont, g_printer.PrinterFontName);
    initialising_ = false;
    return true;
}

void CPrinterOptionsDlg::ShowPageLength() {
    // With the page length automatic, the length a report into a file gets.
    const long length = g_printer.PrinterPageLength > 0 ? g_printer.PrinterPageLength : kDefaultPageLength;
    char text[32];
    std::snprintf(text, sizeof text, "%ld", length + WholeNumber(GetDlgItemText(kTopMargin)));
    SetDlgItemText(kPageLength, text);
}

void CPrinterOptionsDlg::OnAutomatic() {
    const bool automatic = IsDlgButtonChecked(kAutomatic) != 0;
    GetDlgItem(kPageLength).EnableWindow(!automatic);
    if (!automatic) ShowPageLength();
}

void CPrinterOptionsDlg::OnDigitsChanged(int id) {
    if (initialising_) return;
    Control edit = GetDlgItem(id);
    const std::string text = edit.GetWindowText();
    int start = 0, end = 0;
    edit.GetSel(start, end);
    std::string digits;
    int caret = end;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])))
            digits += text[i];
        else if (static_cast<int>(i) < end)
            --caret;
    }
    if (digits == text) return;
    edit.SetWindowText(digits);
    edit.SetSel(caret, caret);
    MessageBeep(MB_ICONASTERISK);
}

void CPrinterOptionsDlg::OnMarginChanged(int id) {
    if (initialising_) return;
    FilterNumberKey(GetDlgItem(id));
}

void CPrinterOptionsDlg::OnSelectFont() {
    CMyFont font(GetDlgItemText(kCurrentFont), GetSafeHwnd());
    if (font.DoModal() == IDOK) SetDlgItemText(kCurrentFont, font.GetFaceName());
}

void CPrinterOptionsDlg::OnDone() {
    ClearMessageList();
    const int16_t top_lines = static_cast<int16_t>(WholeNumber(GetDlgItemText(kTopMargin)));
    const std::string left_text = GetDlgItemText(kLeftMargin);
    const std::string right_text = GetDlgItemText(kRightMargin);
    const std::string intensity_text = GetDlgItemText(kIntensity);
    const std::optional<float> left = MarginValue(left_text);
    const std::optional<float> right = MarginValue(right_text);
    if (!left || *left < 0.0f || *left > kLargestMargin)
        AddMessage("Left margin < 0.0 or > 6.0 : " + left_text);
    if (!right || *right < 0.0f || *right > kLargestMargin)
        AddMessage("Right margin < 0.0 or > 6.0 : " + right_text);
    const std::string intensity_digits = TrimField(intensity_text, intensity_text.size());
    if (intensity_digits.find_first_not_of("0123456789") != std::string::npos)
        AddMessage("Intensity < 0 or > 9 : " + intensity_text);
    if (GetMessageCount() > 0) {
        ShowMessageList();
        return;
    }

    int16_t page_length = 0;
    if (!IsDlgButtonChecked(kAutomatic)) {
        const long typed = std::min<long>(WholeNumber(GetDlgItemText(kPageLength)), kLargestPageLength);
        page_length = static_cast<int16_t>(std::max<long>(typed - top_lines, kShortestPageLength));
    }
    const int32_t intensity = static_cast<int32_t>(WholeNumber(intensity_digits));
    const std::string face = GetDlgItemText(kCurrentFont);

    // Record 80 as it stands, so that the bytes this dialog does not own
    // stay as they are.
    records::PrinterWords words = records::Rdprto();
    records::Record rec(128);
    for (std::size_t i = 0; i < words.size(); ++i) rec.SetI16(2 * i, words[i]);
    rec.SetI16(kPageLengthAt, page_length);
    rec.SetI16(kTopLinesAt, top_lines);
    rec.SetR4(kLeftMarginAt, *left);
    rec.SetR4(kRightMarginAt, *right);
    rec.SetI32(kIntensityAt, intensity);
    // The face, ended by a zero byte when shorter than its field; a face
    // that did not change keeps its bytes.
    if (FaceOf(rec) != face) {
        const std::size_t n = std::min(face.size(), kFaceWidth);
        for (std::size_t i = 0; i < n; ++i) rec.data()[kFaceAt + i] = static_cast<unsigned char>(face[i]);
        if (n < kFaceWidth) rec.data()[kFaceAt + n] = 0;
    }
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = rec.I16(2 * i);
    records::Wrprto(words);

    g_printer.PrinterPageLength = page_length;
    g_printer.PrinterTopLines = top_lines;
    g_printer.LeftMargin = *left;
    g_printer.RightMargin = *right;
    g_printer.PrinterIntensity = intensity;
    g_printer.PrinterFontName = face.empty() ? "Courier" : face.substr(0, kFaceWidth);
    platform::SetFixedPitchFace(g_printer.PrinterFontName);
    EndDialog(IDOK);
}

void CPrinterOptionsDlg::OnCancel() {
    ClearMessageList();
    EndDialog(IDCANCEL);
}

}  // namespace shell
