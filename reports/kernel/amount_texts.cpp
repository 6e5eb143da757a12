#include "reports/kernel/amount_texts.h"

#include <cstdint>
#include <cstring>

#include "records/amounts.h"
#include "records/layout.h"
#include "records/rounding.h"

namespace reports {

namespace {

// The width of the amount editors' work text.
constexpr std::size_t kWorkWidth = 32;

// records::EditedAmountInto for a number column of n positions: put together from
// its digits where that is certain to give the text of the layout and the
// editors.
bool EditedColumnInto(std::string& text, double value, std::string_view layout, int n, bool separators,
                      bool brackets) {
    int width = 0;
    int decimals = 0;
    return records::IsNumberColumn(layout, width, decimals) && width == n &&
           records::EditedAmountInto(text, value, n, decimals, separators, brackets);
}

}  // namespace

std::string WorkText(std::string_view layout, records::OutItems items) {
    std::string text;
    WorkTextInto(text, layout, items);
    return text;
}

void WorkTextInto(std::string& text, std::string_view layout, records::OutItems items) {
    text.assign(kWorkWidth, ' ');
    records::WriteInto(text, layout, items);
}

std::string NumberText(double value, std::string_view layout, int n, bool brackets) {
    std::string text;
    NumberTextInto(text, value, layout, n, brackets);
    return text;
}

void NumberTextInto(std::string& text, double value, std::string_view layout, int n, bool brackets) {
    if (EditedColumnInto(text, value, layout, n, true, brackets)) return;
    // The write fills every position of the work text.
    text.resize(kWorkWidth);
    records::WriteInto(text, layout, {value});
    records::Comma(text, n);
    // Brackt changes only a field that shows a minus sign, so a value that
    // prints as zero keeps its plain form.
    if (brackets) records::Brackt(text, n);
}

std::string NumberColumn(double value, std::string_view layout, int n, bool brackets, std::size_t width) {
    std::string text = NumberText(value, layout, n, brackets);
    text.resize(width, ' ');
    return text;
}

std::string BracketedText(double value, std::string_view layout, int n) {
    std::string text;
    BracketedTextInto(text, value, layout, n);
    return text;
}

void BracketedTextInto(std::string& text, double value, std::string_view layout, int n) {
    if (EditedColumnInto(text, value, layout, n, false, true)) return;
    // The write fills every position of the work text.
    text.resize(kWorkWidth);
    records::WriteInto(text, layout, {value});
    records::Brackt(text, n);
}

std::string Amount16(double value) {
    return NumberColumn(value, "(F15.2,' ')", 15, true, 16);
}

std::string Amount12(double value) {
    return NumberColumn(value, "(F12.2)", 12, false, 12);
}

}  // namespace reports
