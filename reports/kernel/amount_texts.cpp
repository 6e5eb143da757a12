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

// EditedAmountInto for a number column of n positions: put together from
// its digits where that is certain to give the text of the layout and the
// editors.
bool EditedColumnInto(std::string& text, double value, std::string_view layout, int n, bool separators,
                      bool brackets) {
    int width = 0;
    int decimals = 0;
    return records::IsNumberColumn(layout, width, decimals) && width == n &&
           EditedAmountInto(text, value, n, decimals, separators, brackets);
}

}  // namespace

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

bool EditedAmountInto(std::string& text, double value, int n, int decimals, bool separators, bool brackets) {
    if (decimals < 0 || decimals > 10 || n < 1 || n > 30) return false;
    double multiple = 0;
    if (!records::rounding_detail::NearestMultiple(value, decimals, multiple) || multiple >= 1e15) return false;
    // [-]whole.[d...] built from its right end, with a separator every
    // three digits of the whole part when asked. A zero prints without its
    // sign.
    const auto digits = static_cast<uint64_t>(multiple);
    const bool negative = value < 0 && digits != 0;
    char buf[40];
    int at = sizeof buf;
    uint64_t whole = digits;
    for (int i = 0; i < decimals; ++i) {
        buf[--at] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    }
    // Without decimals Comma drops the point the layout ends with.
    if (decimals > 0 || !separators) buf[--at] = '.';
    int count = 0;
    do {
        if (separators && count > 0 && count % 3 == 0) buf[--at] = ',';
        buf[--at] = static_cast<char>('0' + whole % 10);
        whole /= 10;
        ++count;
    } while (whole != 0);
    if (negative) buf[--at] = brackets ? '(' : '-';
    const int length = static_cast<int>(sizeof buf) - at;
    // Fw.d writes the number with its point in w = n positions; Comma
    // shifts it left into the blanks for each separator, and leaves a
    // field that would need more than the n positions as written.
    const int written = length + (separators && decimals == 0 ? 1 : 0);
    if (written > n) return false;
    text.assign(32, ' ');
    std::memcpy(text.data() + (n - length), buf + at, static_cast<std::size_t>(length));
    if (negative && brackets) text[static_cast<std::size_t>(n)] = ')';
    return true;
}

std::string Amount16(double value) {
    return NumberColumn(value, "(F15.2,' ')", 15, true, 16);
}

std::string Amount12(double value) {
    return NumberColumn(value, "(F12.2)", 12, false, 12);
}

}  // namespace reports
