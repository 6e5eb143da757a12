// Fixed fields and the checks of typed numbers, dates and file names.

#include "shell/field_helpers.h"

#include <array>
#include <charconv>

#include "records/dates.h"

namespace shell {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool AllBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Days of each month with February at 29; February 29 is then checked
// against the year on its own.
constexpr std::array<int, 12> kMonthLength = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Reads one or two digits at i; -1 when there is none.
int ReadNumber(std::string_view text, std::size_t& i) {
    if (i >= text.size() || !IsDigit(text[i])) return -1;
    int value = text[i++] - '0';
    if (i < text.size() && IsDigit(text[i])) value = value * 10 + (text[i++] - '0');
    return value;
}

// The first and last year that a two-digit year stands for: below 51 the
// year is in the 2000s.
constexpr int kFirstWindowYear = 1951;
constexpr int kLastWindowYear = 2050;

// Reads the year of a typed date at i as its two digits: one or two digits
// as they are, or four digits of a year inside the two-digit window (the
// field keeps two digits, so a year outside the window cannot be held and
// is refused); -1 for anything else.
int ReadYear(std::string_view text, std::size_t& i) {
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    const std::size_t digits = end - i;
    if (digits == 0 || digits == 3 || digits > 4) return -1;
    int value = 0;
    for (; i < end; ++i) value = value * 10 + (text[i] - '0');
    if (digits <= 2) return value;
    if (value < kFirstWindowYear || value > kLastWindowYear) return -1;
    return value % 100;
}

bool Expect(std::string_view text, std::size_t& i, char c) {
    if (i >= text.size() || text[i] != c) return false;
    ++i;
    return true;
}

void SkipBlank(std::string_view text, std::size_t& i) {
    if (i < text.size() && text[i] == ' ') ++i;
}

// A checked number text (optional sign, digits, a point, digits), read
// correctly rounded whatever the C locale's decimal point is.
double ParsePlainDecimal(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s == "." || s == "-.") return 0.0;
    double value = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

}  // namespace

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string TrimField(std::string_view buffer, std::size_t n) {
    std::string_view field = buffer.substr(0, n);
    const std::size_t last = field.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view() : field.substr(0, last + 1));
}

void PadField(std::string& buffer, std::size_t n) {
    if (buffer.size() < n) buffer.append(n - buffer.size(), ' ');
}

std::string PadFieldTo(std::string_view text, std::size_t n) {
    std::string padded(text);
    PadField(padded, n);
    return padded;
}

bool CheckNumberText(std::string_view text) {
    if (AllBlank(text)) return true;
    std::string s;
    for (char c : text)
        if (c != ',') s += c;
    // Trailing blanks end a number; they are dropped before the point is
    // supplied, so that "12 " reads as 12 and "12 3" stays invalid.
    s.erase(s.find_last_not_of(' ') + 1);
    if (s.empty()) return true;
    if (s.find('.') == std::string::npos) s += '.';

    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
        while (i < s.size() && s[i] == ' ') ++i;
    }
    if (i >= s.size()) return false;
    bool digit = false;
    while (i < s.size() && IsDigit(s[i])) {
        digit = true;
        ++i;
    }
    if (i >= s.size()) return digit;
    if (s[i] == ' ') return digit && AllBlank(std::string_view(s).substr(i));
    if (s[i] != '.') return false;
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
        digit = true;
        ++i;
    }
    return digit && AllBlank(std::string_view(s).substr(i));
}

NumberText ReadNumberText(std::string_view typed) {
    NumberText result;
    if (!CheckNumberText(typed)) return result;
    result.valid = true;
    for (char c : typed)
        if (c != ',' && c != ' ') result.text += c;
    if (result.text.empty()) return result;
    if (result.text.find('.') == std::string::npos) result.text += '.';
    result.value = ParsePlainDecimal(result.text);
    return result;
}

bool CheckDateText(std::string& text) {
    if (text.size() < 5) return false;
    std::size_t i = 0;
    SkipBlank(text, i);
    const int month = ReadNumber(text, i);
    if (month < 1 || month > 12 || !Expect(text, i, '/')) return false;
    SkipBlank(text, i);
    const int day = ReadNumber(text, i);
    if (day < 1 || day > kMonthLength[month - 1] || !Expect(text, i, '/')) return false;
    const int year = ReadYear(text, i);
    if (year < 0 || !AllBlank(std::string_view(text).substr(i))) return false;
    if (month == 2 && day == 29 && year % 4 != 0) return false;
    auto two = [](int v) {
        return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
    };
    text = two(month) + "/" + two(day) + "/" + two(year);
    return true;
}

bool CheckBlankOrDate(std::string& text) {
    return AllBlank(text) || CheckDateText(text);
}

bool CheckFileNameText(std::string_view text) {
    if (text.empty() || text.size() > 12 || !IsLetter(text[0])) return false;
    std::size_t i = 1;
    while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '_')) {
        if (i == 8) return false;  // a letter and at most seven more
        ++i;
    }
    if (i == text.size()) return true;
    if (text[i] != '.') return false;
    for (++i; i < text.size(); ++i)
        if (!IsLetter(text[i]) && !IsDigit(text[i])) return false;
    return true;
}

ParsedDate ParseDateText(std::string_view text) {
    ParsedDate fault;
    std::size_t i = 0;
    // A part of one or two digits, the first place may be a blank.
    auto part = [&](int& value) {
        if (i < text.size() && text[i] == ' ') {
            ++i;
            value = ReadNumber(text, i);
            return value >= 0;
        }
        value = ReadNumber(text, i);
        return value >= 0;
    };
    int month = 0, day = 0, year = 0;
    if (!part(month) || month < 1 || month > 12 || !Expect(text, i, '/')) return fault;
    if (!part(day) || day < 1 || day > kMonthLength[month - 1] || !Expect(text, i, '/')) return fault;
    if (!part(year) || !AllBlank(text.substr(i))) return fault;
    year = records::WindowYear(year);
    return {month, day, year, (static_cast<long>(year) * 100 + month) * 100 + day};
}

}  // namespace shell
