#include "records/amounts.h"

#include <algorithm>
#include <cstring>

#include "records/layout.h"
#include "records/layout_number.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/small_copy.h"

namespace records {

namespace {

constexpr std::size_t kAmountWidth = 32;

// Makes the text a 32-character amount text (blank padded or cut).
void Normalise(std::string& text) {
    if (text.size() != kAmountWidth) text = Fixed(text, kAmountWidth);
}

// The income ladder shared by Incm10 and Incom8: below the first step the
// amount itself in the small layout; from the first step on, millions
// with two decimals, from ten times it one decimal, from a hundred times
// it none. The "MM" the millions layouts add lies beyond the field's width,
// where Comma blanks it (unless Comma leaves a too-wide field untouched).
void IncomeField(double amount, std::string& text, double first_step, std::string_view small_layout,
                 int small_width) {
    // Each write below fills every position of the text.
    text.resize(kAmountWidth);
    const float millions = static_cast<float>(amount * 1e-6);
    int width;
    if (amount >= first_step * 100.0) {
        WriteInto(text, "(F5.0,' MM ')", {static_cast<double>(millions)});
        width = 5;
    } else if (amount >= first_step * 10.0) {
        WriteInto(text, "(F6.1,'MM')", {static_cast<double>(millions)});
        width = 6;
    } else if (amount >= first_step) {
        WriteInto(text, "(F6.2,'MM')", {static_cast<double>(millions)});
        width = 6;
    } else {
        WriteInto(text, small_layout, {amount});
        width = small_width;
    }
    Comma(text, width);
    if (amount < 0.0) Brackt(text, width);
}

}  // namespace

void Comma(std::string& text, int n) {
    Normalise(text);
    if (n < 1) return;
    n = std::min<int>(n, kAmountWidth);
    // The field is edited in a copy of its own, positions counted from 1,
    // and put back only when the edit completes.
    char work[kAmountWidth + 1];
    CopyShort(work + 1, text.data(), static_cast<std::size_t>(n));
    const void* const point = std::memchr(work + 1, '.', static_cast<std::size_t>(n));
    int p = point == nullptr ? n + 1 : static_cast<int>(static_cast<const char*>(point) - work);
    for (int q = p - 4; q >= 2; q = p - 4) {
        if (work[q] == ' ' || work[q] == '-' || work[q] == '(') break;
        // No room left of the number: the field stays as written.
        if (work[1] != ' ') return;
        std::memmove(work + 1, work + 2, static_cast<std::size_t>(q - 1));
        work[q] = ',';
        p = q;
    }
    if (work[n] == '.') {
        std::memmove(work + 2, work + 1, static_cast<std::size_t>(n - 1));
        work[1] = ' ';
    }
    CopyShort(text.data(), work + 1, static_cast<std::size_t>(n));
    FillShort(text.data() + n, ' ', kAmountWidth - static_cast<std::size_t>(n));
}

void Brackt(std::string& text, int n) {
    Normalise(text);
    if (n < 1 || n + 1 > static_cast<int>(kAmountWidth)) return;
    const char after = text[static_cast<std::size_t>(n)];
    if (after != ' ' && after != '.') return;
    // The last "-" of positions 1 to n - 1.
    void* const minus = memrchr(text.data(), '-', static_cast<std::size_t>(n - 1));
    if (minus == nullptr) return;
    *static_cast<char*>(minus) = '(';
    text[static_cast<std::size_t>(n)] = ')';
    std::fill(text.begin() + n + 1, text.end(), ' ');
}

void Putdol(std::string& text, int16_t& n, int16_t& flag) {
    Normalise(text);
    if (n > static_cast<int16_t>(kAmountWidth)) n = static_cast<int16_t>(kAmountWidth);
    if (n < 1) return;
    DollarBeforeBlank(text, n, flag);
}

void DollarBeforeBlank(std::string& text, int last, int16_t& flag) {
    int blank = 0;
    for (int i = std::min(last, static_cast<int>(text.size())); i >= 1; --i) {
        if (text[static_cast<std::size_t>(i - 1)] == ' ') {
            blank = i;
            break;
        }
    }
    if (blank <= 1) {
        flag = -1;
        return;
    }
    text[static_cast<std::size_t>(blank - 2)] = '$';
    flag = 0;
}

bool EditedAmountInto(std::string& text, double value, int n, int decimals, bool separators, bool brackets) {
    if (decimals < 0 || decimals > 10 || n < 1 || n > 30) return false;
    double multiple = 0;
    if (!rounding_detail::NearestMultiple(value, decimals, multiple) || multiple >= 1e15) return false;
    // A zero prints without its sign. Without decimals Comma drops the
    // point the layout ends with.
    const auto digits = static_cast<uint64_t>(multiple);
    const bool negative = value < 0 && digits != 0;
    char buf[48];
    char* const end = buf + sizeof buf;
    char* p = layout_detail::MultipleDigits(end, digits, decimals, decimals > 0 || !separators, separators);
    if (negative) *--p = brackets ? '(' : '-';
    const int length = static_cast<int>(end - p);
    // Fw.d writes the number with its point in w = n positions; Comma
    // shifts it left into the blanks for each separator, and leaves a
    // field that would need more than the n positions as written.
    const int written = length + (separators && decimals == 0 ? 1 : 0);
    if (written > n) return false;
    text.assign(kAmountWidth, ' ');
    std::memcpy(text.data() + (n - length), p, static_cast<std::size_t>(length));
    if (negative && brackets) text[static_cast<std::size_t>(n)] = ')';
    return true;
}

void Incm10(double amount, std::string& text) {
    IncomeField(amount, text, 1e8, "(F10.0,' ')", 9);
}

void Incom8(double amount, std::string& text) {
    IncomeField(amount, text, 1e6, "(F8.0,' ')", 7);
}

void Form16(double& value, double switch_value, std::string& text) {
    text.assign(kAmountWidth, ' ');
    if (switch_value >= 1e6) {
        Drnd2(value);
        if (value < 0.0) value -= 1.0;
        WriteInto(text, "(F15.0)", {value});
    } else {
        WriteInto(text, "(F15.2,' ')", {value});
    }
    Comma(text, 15);
    if (value < 0.0) Brackt(text, 15);
}

namespace {

// What "(F14.4)" reads into a double from four digits without a point:
// their whole number over 10^4, which the division gives as the double
// nearest to it, as the read does. Anything else takes the read, which
// leaves the fraction as it was when it fails.
void FractionRead(std::string_view digits, double& fraction) {
    uint32_t k = 0;
    bool all_digits = digits.size() == 4;
    for (std::size_t i = 0; i < digits.size() && all_digits; ++i) {
        all_digits = digits[i] >= '0' && digits[i] <= '9';
        k = k * 10 + static_cast<uint32_t>(digits[i] - '0');
    }
    if (all_digits) {
        fraction = static_cast<double>(k) / 1e4;
        return;
    }
    Read(digits, "(F14.4)", {&fraction});
}

// What "(F9.0)" reads into a double from a whole part of nine positions:
// blanks, an optional "-", digits (at most eight, so exact). false, value
// unchanged, for anything else, which the read decides.
bool WholeRead(std::string_view field, double& value) {
    if (field.size() != 9) return false;
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    const bool negative = i < field.size() && field[i] == '-';
    if (negative) ++i;
    if (i == field.size()) return false;
    uint32_t k = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9') return false;
        k = k * 10 + static_cast<uint32_t>(field[i] - '0');
    }
    value = negative ? -static_cast<double>(k) : static_cast<double>(k);
    return true;
}

}  // namespace

void Trncat(double value, std::string& whole, double& fraction, std::string& fraction_text) {
    thread_local std::string written;
    WriteTo(written, "(F14.4)", {value});
    const std::size_t dot = written.rfind('.');
    if (dot == std::string::npos) return;
    Normalise(whole);
    Normalise(fraction_text);
    whole.replace(0, dot + 1, written, 0, dot + 1);
    char digits[4] = {' ', ' ', ' ', ' '};
    written.copy(digits, 4, dot + 1);
    fraction_text.replace(0, 4, digits, 4);
    // Four digits without a point: the layout places them as decimals.
    FractionRead(std::string_view(digits, 4), fraction);
    if (value >= 0.0) {
        Comma(whole, 9);
        return;
    }
    // Negative: move the whole part one place left to make room for ")".
    double whole_part = 0.0;
    const std::string_view whole_field = std::string_view(whole).substr(0, 9);
    if (WholeRead(whole_field, whole_part) || Read(whole_field, "(F9.0)", {&whole_part})) {
        // A quantity between -1 and 0 has a whole part of zero, which the
        // layout writes without a sign; it keeps its minus so that it is
        // bracketed like any other negative quantity.
        if (whole_part == 0.0 && written.find('-') != std::string::npos)
            WriteInto(whole, "(6X,'-0.',1X)", {});
        else
            WriteInto(whole, "(F9.0,1X)", {whole_part});
    }
    Comma(whole, 8);
    Brackt(whole, 8);
}

void Intrat(double base, float part, std::string& text) {
    Normalise(text);
    const double percent = base == 0.0 ? 0.0 : static_cast<double>(part) * 100.0 / base;
    WriteInto(text, "(F6.1,'% ')", {percent});
}

void Phone(std::string_view digits, std::string& result) {
    result.assign(13, ' ');
    std::string found;
    for (char c : Fixed(digits, 12))
        if (c >= '0' && c <= '9' && found.size() < 10) found += c;
    if (found.empty()) return;
    if (found.size() >= 8) {
        static constexpr int kSlots[10] = {2, 3, 4, 6, 7, 8, 10, 11, 12, 13};
        for (std::size_t i = 0; i < found.size(); ++i)
            result[static_cast<std::size_t>(kSlots[i] - 1)] = found[i];
        result[0] = '(';
        result[4] = ')';
        result[8] = '-';
        return;
    }
    // A local number: right-aligned as nnn-nnnn.
    static constexpr int kLocalSlots[7] = {6, 7, 8, 10, 11, 12, 13};
    for (std::size_t i = 0; i < found.size(); ++i)
        result[static_cast<std::size_t>(kLocalSlots[i] - 1)] = found[i];
    result[8] = '-';
}

void Ckdesc(std::string& description, std::string_view code, float rate, std::string_view date) {
    // Padding with blanks changes no answer of IsBlank: the texts are
    // looked at as they are, cut to their width.
    if (!IsBlank(std::string_view(description).substr(0, kAmountWidth))) return;
    if (IsBlank(date.substr(0, 4))) return;
    if (code.size() < 2 || static_cast<unsigned char>(code[1]) == 0) return;
    char text[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    date.copy(text, 8);
    const std::string_view first(text, 4);
    const std::string_view second(text + 4, 4);
    // Either write fills all 32 positions.
    description.resize(kAmountWidth);
    if (rate == kNoRate)
        WriteInto(description, "(12X,2A4,'            ')", {first, second});
    else
        WriteInto(description, "(2X,F7.3,'%  ',2A4,'            ')",
                  {static_cast<double>(rate), first, second});
}

}  // namespace records
