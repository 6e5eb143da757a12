#include "records/layout_number.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "records/rounding.h"

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

void AppendBlanks(std::string& out, int n) {
    if (n > 0) out.append(static_cast<std::size_t>(n), ' ');
}

}  // namespace

void AppendStars(std::string& out, int w) {
    if (w > 0) out.append(static_cast<std::size_t>(w), '*');
}

void AppendInteger(std::string& out, long long value, int w) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    const int size = static_cast<int>(result.ptr - buf);
    if (size > w) {
        AppendStars(out, w);
        return;
    }
    const std::size_t at = out.size();
    out.append(static_cast<std::size_t>(w), ' ');
    std::memcpy(out.data() + at + static_cast<std::size_t>(w - size), buf, static_cast<std::size_t>(size));
}

// Writes [-]i.f for the whole number n read as n x 10^-d into w
// positions: the text AppendFixedByText gives for a value whose nearest
// multiple of 10^-d is n.
void AppendMultiple(std::string& out, bool negative, uint64_t n, int w, int d) {
    char digits[24];
    const int count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits);
    // The sign, the whole part ("0" when n < 10^d), the point, d decimals.
    char buf[48];
    int size = 0;
    if (negative && n != 0) buf[size++] = '-';
    const int whole = count > d ? count - d : 0;
    if (whole == 0) {
        buf[size++] = '0';
    } else {
        std::memcpy(buf + size, digits, static_cast<std::size_t>(whole));
        size += whole;
    }
    buf[size++] = '.';
    for (int i = count; i < d; ++i) buf[size++] = '0';
    std::memcpy(buf + size, digits + whole, static_cast<std::size_t>(count - whole));
    size += count - whole;
    if (size <= w) {
        // The field in one step: blanks, then the text over its right end.
        const std::size_t at = out.size();
        out.append(static_cast<std::size_t>(w), ' ');
        std::memcpy(out.data() + at + static_cast<std::size_t>(w - size), buf,
                    static_cast<std::size_t>(size));
        return;
    }
    // The "0" before the point of a value below 1 is the first thing to go
    // when the field is too narrow.
    const int digit = buf[0] == '-' ? 1 : 0;
    if (buf[digit] == '0' && buf[digit + 1] == '.' && size - 1 <= w) {
        AppendBlanks(out, w - (size - 1));
        out.append(buf, static_cast<std::size_t>(digit));
        out.append(buf + digit + 1, static_cast<std::size_t>(size - digit - 1));
        return;
    }
    AppendStars(out, w);
}

void AppendFixed(std::string& out, double value, int w, int d) {
    double n = 0;
    if (d >= 0 && d <= 10 && rounding_detail::NearestMultiple(value, d, n)) {
        AppendMultiple(out, value < 0, static_cast<uint64_t>(n), w, d);
        return;
    }
    AppendFixedByText(out, value, w, d);
}

void AppendFixedByText(std::string& out, double value, int w, int d) {
    if (!std::isfinite(value)) {
        AppendStars(out, w);
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
        AppendStars(out, w);
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
    const int length = size - from;
    if (length <= w) {
        AppendBlanks(out, w - length);
        out.append(buf + from, static_cast<std::size_t>(length));
        return;
    }
    // The "0" before the point of a value below 1 is the first thing to go
    // when the field is too narrow.
    const int digit = from + (buf[from] == '-' ? 1 : 0);
    if (buf[digit] == '0' && buf[digit + 1] == '.' && length - 1 <= w) {
        AppendBlanks(out, w - (length - 1));
        out.append(buf + from, static_cast<std::size_t>(digit - from));
        out.append(buf + digit + 1, static_cast<std::size_t>(size - digit - 1));
        return;
    }
    AppendStars(out, w);
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
