#include "pricing/feed_answers.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "pricing/feed_dates.h"
#include "pricing/feed_requests.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"

namespace pricing {

namespace {

constexpr int kWidth = static_cast<int>(kFeedLineWidth);
constexpr std::size_t kDateWidth = 8;
// The width of a number field read under F20.6.
constexpr std::size_t kNumberRead = 20;
// How many of the answer's first characters the warning line repeats.
constexpr int kEchoed = 64;
// Distribution codes in the order of their numbers 1 to 9: 1-6 dividends,
// 7-8 splits, 9 nothing.
constexpr std::string_view kDistributionCodes = "IAGECMSOU";

constexpr const char* kNonNumericLayout =
    "(1X,'Warning: non-numeric data found; ',4I6,2X,'|',A1,'|',1X,64A1)";
constexpr const char* kInsperRangeLayout = "(1X,'Warning: parsing error in INSPER, start =',I5,' end =',I5)";
constexpr const char* kFindRangeLayout = "(1X,'Warning: parsing error in FNDSTR, start =',I5,' end =',I5)";

// The character in a column; a column outside the text reads as a blank.
char Column(std::string_view text, int column) {
    if (column < 1 || column > static_cast<int>(text.size())) return ' ';
    return text[static_cast<std::size_t>(column - 1)];
}

bool EndsField(char c, char delimiter) {
    return c == delimiter || c == '\r' || c == '\n' || c == '\0';
}

void RangeWarning(const WarningSink& sink, const char* layout, int start, int end) {
    if (sink) sink(records::Write(layout, {static_cast<long long>(start), static_cast<long long>(end)}));
}

void CountWarning(int16_t& warnings) {
    if (warnings < std::numeric_limits<int16_t>::max()) ++warnings;
}

// Reads the field start to end as a decimal number under F20.6, blanks
// ignored. A field longer than the 20 characters read (with the point that
// the number check put after a whole number) does not convert: reading its
// first 20 would give a number cut short, its point in the wrong place.
// False, with the value unchanged, when the field does not read.
template <class T>
bool ReadNumber(std::string_view text, int start, int end, T& value) {
    if (end < start || end - start + 1 > static_cast<int>(kNumberRead)) return false;
    std::string work(kNumberRead, ' ');
    for (int c = start; c <= end; ++c) work[static_cast<std::size_t>(c - start)] = Column(text, c);
    return records::Read(work, "(F20.6)", {&value});
}

// Converts the date field start to end (its first eight characters) from
// YYMMDD to MM/DD/YY into date; an empty field leaves the date as it was.
void ReadDate(std::string_view text, int start, int end, std::string& date) {
    if (end < start) return;
    std::string field(kDateWidth, ' ');
    for (int c = start; c <= end && static_cast<std::size_t>(c - start) < kDateWidth; ++c)
        field[static_cast<std::size_t>(c - start)] = Column(text, c);
    Ymdmdy(field);
    date = field;
}

// The working copy of an answer: its first 200 columns, blank-padded.
std::string Working(std::string_view answer) {
    return records::Fixed(answer, kFeedLineWidth);
}

// Field 2 of a price answer, the price, under the field code; the column
// that ended it in `delimiter`. False when the answer is an error answer,
// has no such field or the field fails the number check.
bool ReadPriceField(std::string& text, int length, int code, double& price, int& delimiter, int16_t& warnings,
                    const WarningSink& sink) {
    const int p = Fndend(text, ',', 1, length, sink);
    if (Column(text, p + 1) == 'E') return false;
    if (p <= 0) return false;
    const int start = p + 1;
    delimiter = Fndend(text, ',', start, length, sink);
    if (delimiter <= 0) return false;
    int end = delimiter - 1;
    if (Insper(text, start, end, warnings, code, sink) != kFieldGood) return false;
    ReadNumber(text, start, end, price);
    return true;
}

}  // namespace

int Lstchr(std::string_view text) {
    for (int c = kWidth; c >= 1; --c)
        if (Column(text, c) != ' ') return c + 1;
    return 2;
}

int Fndstr(std::string_view text, char c, int start, int end, const WarningSink& sink) {
    if (end < start) return 0;
    if (start < 1 || end > kPastAnswer) {
        RangeWarning(sink, kFindRangeLayout, start, end);
        return 0;
    }
    for (int col = start; col <= std::min(end, kWidth); ++col)
        if (Column(text, col) == c) return col;
    return 0;
}

int Fndend(std::string_view text, char c, int start, int end, const WarningSink& sink) {
    if (end < start) return end;
    if (start < 1 || end > kPastAnswer) {
        RangeWarning(sink, kFindRangeLayout, start, end);
        return 0;
    }
    for (int col = start; col <= std::min(end, kWidth); ++col)
        if (EndsField(Column(text, col), c)) return col;
    return end;
}

InsperStatus Insper(std::string& text, int start, int& end, int16_t& warnings, int code,
                    const WarningSink& sink) {
    // An empty field (a delimiter straight after the last) is not a
    // parsing error: it simply holds no number.
    if (end < start) return kFieldEmpty;
    if (start < 1 || start > kWidth || end > kWidth) {
        RangeWarning(sink, kInsperRangeLayout, start, end);
        return kFieldOutOfRange;
    }
    bool point = false;
    for (int col = start; col <= end; ++col) {
        const char c = Column(text, col);
        if (c == '.') {
            point = true;
        } else if (c != ' ' && (c < '0' || c > '9')) {
            CountWarning(warnings);
            if (sink) {
                // The answer's first characters, with the line ends and NULs
                // that may sit among them shown as blanks so that the
                // warning stays one line.
                std::vector<std::string> echo(kEchoed);
                std::vector<records::OutItem> items = {
                    static_cast<long long>(start), static_cast<long long>(end), static_cast<long long>(col),
                    static_cast<long long>(code)};
                const std::string bad(1, c);
                items.emplace_back(std::string_view(bad));
                for (int i = 0; i < kEchoed; ++i) {
                    char e = Column(text, i + 1);
                    if (e == '\r' || e == '\n' || e == '\0') e = ' ';
                    echo[static_cast<std::size_t>(i)] = std::string(1, e);
                    items.emplace_back(std::string_view(echo[static_cast<std::size_t>(i)]));
                }
                sink(records::Write(kNonNumericLayout, items));
            }
            return kFieldNotNumeric;
        }
    }
    if (!point) {
        ++end;
        if (static_cast<int>(text.size()) < end) text.resize(static_cast<std::size_t>(end), ' ');
        text[static_cast<std::size_t>(end - 1)] = '.';
    }
    return kFieldGood;
}

void Prsprc(std::string_view answer, double& price, int16_t& warnings, const WarningSink& sink) {
    price = records::kNoPriceValue;
    std::string text = Working(answer);
    const int length = Lstchr(text);
    int delimiter = 0;
    ReadPriceField(text, length, kPriceField, price, delimiter, warnings, sink);
}

void Prsprj(std::string_view answer, double& price, float& j_value, int16_t& warnings,
            const WarningSink& sink) {
    price = records::kNoPriceValue;
    j_value = 0;
    std::string text = Working(answer);
    const int length = Lstchr(text);
    int delimiter = 0;
    if (!ReadPriceField(text, length, kJPriceField, price, delimiter, warnings, sink)) return;
    const int start = delimiter + 1;
    const int next = Fndend(text, ',', start, length, sink);
    if (next <= 0) return;
    int end = next - 1;
    if (Insper(text, start, end, warnings, kJValueField, sink) != kFieldGood) return;
    ReadNumber(text, start, end, j_value);
}

void Prsdaa(std::string_view answer, DividendAnswer& result, int16_t& warnings, const WarningSink& sink) {
    std::string text = Working(answer);
    const int length = Lstchr(text);
    const int p = Fndstr(text, ',', 1, length, sink);
    if (Column(text, p + 1) == 'E') return;
    if (p <= 0) return;

    const char code = Column(text, p + 1);
    const std::size_t found = kDistributionCodes.find(code);
    const int kind = found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
    if (kind == 0 && code == ' ') return;
    const bool dividend = kind >= 1 && kind <= 6;
    const bool split = kind == 7 || kind == 8;

    // The values of the kind found, starting from what the caller holds:
    // a field that does not convert leaves its value unchanged.
    float value = dividend ? result.amount : split ? result.split_ratio : 0.0f;
    std::string ex_date = dividend ? result.ex_date
                          : split  ? result.split_ex_date
                                   : std::string(kDateWidth, ' ');
    std::string pay_date = dividend ? result.pay_date
                           : split  ? result.split_pay_date
                                    : std::string(kDateWidth, ' ');

    // Field 3 follows the code character and its comma.
    const int ex_start = p + 3;
    const int ex_end = Fndend(text, ',', ex_start, length, sink);
    if (ex_end <= 0) return;
    ReadDate(text, ex_start, ex_end - 1, ex_date);

    const int value_start = ex_end + 1;
    const int value_delimiter = Fndend(text, ',', value_start, length, sink);
    if (value_delimiter <= 0) return;
    int value_end = value_delimiter - 1;
    if (Insper(text, value_start, value_end, warnings, kDividendField, sink) != kFieldGood) return;
    if (dividend || split) ReadNumber(text, value_start, value_end, value);

    // Field 5 is skipped; field 6 is the pay date.
    const int skipped_end = Fndend(text, ',', value_delimiter + 1, length, sink);
    if (skipped_end <= 0) return;
    const int pay_end = Fndend(text, ',', skipped_end + 1, length, sink);
    if (pay_end <= 0) return;
    ReadDate(text, skipped_end + 1, pay_end - 1, pay_date);

    if (dividend) {
        result.amount = value;
        result.ex_date = ex_date;
        result.pay_date = pay_date;
    } else if (split) {
        result.split_ratio = value;
        result.split_ex_date = ex_date;
        result.split_pay_date = pay_date;
    }
}

}  // namespace pricing
