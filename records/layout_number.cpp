#include "records/layout_number.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "records/rounding.h"
#include "records/small_copy.h"

namespace records::layout_detail {

namespace {

// True when value lies exactly halfway between two multiples of 10^-d.
// With value = m * 2^e and m odd, value * 10^d = m * 5^d * 2^(e+d), and
// m * 5^d is odd, so the fraction is exactly one half iff e + d == -1.
bool IsExactTie(double value, int d) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    if (mantissa == 0) return false;
    exponent += std::countr_zero(mantissa);
    return exponent == -(d + 1);
}

// Puts the text [from, from + size) right-aligned into the w positions at
// field, which it fits: blanks first.
inline void RightAligned(char* field, int w, const char* from, int size) {
    FillShort(field, ' ', static_cast<std::size_t>(w - size));
    CopyShort(field + (w - size), from, static_cast<std::size_t>(size));
}

// Puts a fixed-point text (an optional "-", digits, a point, digits) into
// the w positions at field: right-aligned when it fits; else without the
// "0" before the point of a value below 1 when that is enough; else
// asterisks.
inline void FixedText(char* field, int w, const char* text, int size) {
    if (size <= w) {
        RightAligned(field, w, text, size);
        return;
    }
    // The "0" before the point of a value below 1 is the first thing to go
    // when the field is too narrow.
    const int digit = text[0] == '-' ? 1 : 0;
    if (text[digit] == '0' && text[digit + 1] == '.' && size - 1 <= w) {
        char* at = field;
        std::memset(at, ' ', static_cast<std::size_t>(w - (size - 1)));
        at += w - (size - 1);
        if (digit == 1) *at++ = '-';
        std::memcpy(at, text + digit + 1, static_cast<std::size_t>(size - digit - 1));
        return;
    }
    StarsField(field, w);
}

// Writes [-]i.f for the whole number n read as n x 10^-d into the w
// positions at field: the text FixedFieldByText gives for a value whose
// nearest multiple of 10^-d is n. n is below 2^53 and d at most 10.
void MultipleField(char* field, bool negative, uint64_t n, int w, int d) {
    char buf[48];
    char* const end = buf + sizeof buf;
    char* p = MultipleDigits(end, n, d, /*point=*/true, /*separators=*/false);
    if (negative && n != 0) *--p = '-';
    FixedText(field, w, p, static_cast<int>(end - p));
}

}  // namespace

char* MultipleDigits(char* end, uint64_t n, int d, bool point, bool separators) {
    // The digits of 00 to 99, two at a time.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* p = end;
    int decimals = d;
    for (; decimals >= 2; decimals -= 2) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (n % 100), 2);
        n /= 100;
    }
    if (decimals == 1) {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    if (point) *--p = '.';
    if (separators) {
        int count = 0;
        do {
            if (count > 0 && count % 3 == 0) *--p = ',';
            *--p = static_cast<char>('0' + n % 10);
            n /= 10;
            ++count;
        } while (n != 0);
        return p;
    }
    while (n >= 100) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (n % 100), 2);
        n /= 100;
    }
    if (n >= 10) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * n, 2);
    } else {
        *--p = static_cast<char>('0' + n);
    }
    return p;
}

void StarsField(char* field, int w) {
    if (w > 0) FillShort(field, '*', static_cast<std::size_t>(w));
}

void AppendStars(std::string& out, int w) {
    if (w > 0) out.append(static_cast<std::size_t>(w), '*');
}

void IntegerField(char* field, long long value, int w) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    const int size = static_cast<int>(result.ptr - buf);
    if (size > w) {
        StarsField(field, w);
        return;
    }
    std::memset(field, ' ', static_cast<std::size_t>(w - size));
    std::memcpy(field + (w - size), buf, static_cast<std::size_t>(size));
}

namespace {

// Makes room for w characters at the end of out and has write fill them.
template <class Write>
void AppendField(std::string& out, int w, Write write) {
    if (w <= 0) return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(w));
    write(out.data() + at);
}

}  // namespace

void AppendInteger(std::string& out, long long value, int w) {
    AppendField(out, w, [&](char* field) { IntegerField(field, value, w); });
}

void FixedField(char* field, double value, int w, int d) {
    double n = 0;
    if (d >= 0 && d <= 10 && rounding_detail::NearestMultiple(value, d, n)) {
        MultipleField(field, value < 0, static_cast<uint64_t>(n), w, d);
        return;
    }
    FixedFieldByText(field, value, w, d);
}

void AppendFixed(std::string& out, double value, int w, int d) {
    AppendField(out, w, [&](char* field) { FixedField(field, value, w, d); });
}

void AppendFixedByText(std::string& out, double value, int w, int d) {
    AppendField(out, w, [&](char* field) { FixedFieldByText(field, value, w, d); });
}

void FixedFieldByText(char* field, double value, int w, int d) {
    if (!std::isfinite(value)) {
        StarsField(field, w);
        return;
    }
    // Room for every finite double: 309 integer digits, a sign, a point and
    // d + 1 decimals (d is at most 255).
    char buf[600];
    const bool tie = IsExactTie(value, d);
    // Printing with exactly the needed digits rounds from the exact binary
    // value; a tie is printed exactly with one more digit (its last digit
    // is the 5) and rounded away from zero by hand below.
    const auto result =
        std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::fixed, tie ? d + 1 : d);
    if (result.ec != std::errc()) {
        StarsField(field, w);
        return;
    }
    int size = static_cast<int>(result.ptr - buf);
    const int start = buf[0] == '-' ? 1 : 0;
    if (tie) {
        --size;  // drop the final 5 and carry one into the digits before it
        int i = size - 1;
        for (; i >= start; --i) {
            if (buf[i] == '.') continue;
            if (buf[i] == '9') {
                buf[i] = '0';
                continue;
            }
            ++buf[i];
            break;
        }
        if (i < start) {  // carried out of the first digit: 9.95 -> 10.0
            std::memmove(buf + start + 1, buf + start, static_cast<std::size_t>(size - start));
            buf[start] = '1';
            ++size;
        }
    }
    if (d == 0 && buf[size - 1] != '.') buf[size++] = '.';

    // A result that prints as zero carries no sign.
    int from = 0;
    if (start == 1) {
        bool allZero = true;
        for (int i = 1; i < size && allZero; ++i) allZero = buf[i] == '0' || buf[i] == '.';
        if (allZero) from = 1;
    }
    FixedText(field, w, buf + from, size - from);
}

bool ScanNumber(std::string_view field, int decimals, NumberText& out) {
    // Digits collected without blanks, sign or point.
    char digits[300];
    int count = 0;
    int beforePoint = -1;  // digits seen when the point came
    bool sign = false;
    bool negative = false;
    for (const char c : field) {
        if (c == ' ') continue;
        if (c >= '0' && c <= '9') {
            if (count >= static_cast<int>(sizeof digits)) return false;
            digits[count++] = c;
        } else if ((c == '-' || c == '+') && !sign && count == 0 && beforePoint < 0) {
            sign = true;
            negative = c == '-';
        } else if (c == '.' && decimals >= 0 && beforePoint < 0) {
            beforePoint = count;
        } else {
            return false;
        }
    }
    out.negative = negative;
    out.hasDigits = count > 0;
    out.hasPoint = false;
    char* p = out.text;
    if (negative) *p++ = '-';
    if (count == 0) {
        *p++ = '0';
        out.size = static_cast<int>(p - out.text);
        return true;
    }
    if (decimals < 0) {
        std::memcpy(p, digits, static_cast<std::size_t>(count));
        p += count;
        out.size = static_cast<int>(p - out.text);
        return true;
    }
    if (beforePoint < 0) beforePoint = count - decimals;
    if (beforePoint <= 0) {
        *p++ = '0';
        *p++ = '.';
        std::memset(p, '0', static_cast<std::size_t>(-beforePoint));
        p += -beforePoint;
        std::memcpy(p, digits, static_cast<std::size_t>(count));
        p += count;
    } else {
        std::memcpy(p, digits, static_cast<std::size_t>(beforePoint));
        p += beforePoint;
        *p++ = '.';
        std::memcpy(p, digits + beforePoint, static_cast<std::size_t>(count - beforePoint));
        p += count - beforePoint;
    }
    out.hasPoint = true;
    out.size = static_cast<int>(p - out.text);
    return true;
}

namespace {

template <class T>
bool ToFloating(const NumberText& number, T& value) {
    T result{};
    const char* first = number.text;
    const char* last = number.text + number.size;
    const auto parsed = std::from_chars(first, last, result, std::chars_format::fixed);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Too small for the type rounds to zero; too large does not fit.
        const char* digit = first + (number.negative ? 1 : 0);
        if (*digit != '0') return false;
        result = number.negative ? -T(0) : T(0);
    } else if (parsed.ec != std::errc() || parsed.ptr != last) {
        return false;
    }
    value = result;
    return true;
}

}  // namespace

bool ToDouble(const NumberText& number, double& value) {
    return ToFloating(number, value);
}

bool ToFloat(const NumberText& number, float& value) {
    return ToFloating(number, value);
}

bool ToInteger(const NumberText& number, int64_t lowest, int64_t highest, int64_t& value) {
    // Magnitude of the integer part, then a decimal half rounds away from
    // zero (only an F field has a fraction).
    const uint64_t limit =
        number.negative ? uint64_t{0} - static_cast<uint64_t>(lowest) : static_cast<uint64_t>(highest);
    uint64_t magnitude = 0;
    int i = number.negative ? 1 : 0;
    for (; i < number.size && number.text[i] != '.'; ++i) {
        const uint64_t digit = static_cast<uint64_t>(number.text[i] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    if (i + 1 < number.size && number.text[i] == '.' && number.text[i + 1] >= '5') {
        if (magnitude == limit) return false;
        ++magnitude;
    }
    value = number.negative ? static_cast<int64_t>(uint64_t{0} - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

}  // namespace records::layout_detail
