#include "engine/entry_form.h"

#include "records/dates.h"
#include "records/layout.h"
#include "records/record.h"

namespace engine {

namespace {

constexpr std::string_view kNumberLayout = "(F20.4)";
constexpr std::size_t kNumberWidth = 20;

// A number fits "(F20.4)" when its text holds only digits, ".", "-" and
// blanks; a value too wide for the field is written as asterisks.
bool FitsNumberLayout(double value) {
    const std::string text = records::Write(kNumberLayout, {value});
    if (text.size() != kNumberWidth) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == ' ')) return false;
    return true;
}

template <class T>
bool ReadNumber(std::string_view field, T& value) {
    const std::string text =
        records::Fixed(field.substr(0, std::min(field.size(), kNumberWidth)), kNumberWidth);
    T read = 0;
    if (!records::Read(text, kNumberLayout, {&read})) {
        value = 0;
        return false;
    }
    value = read;
    return true;
}

// One group of the date, read leftwards from position `pos` (exclusive):
// blanks are skipped, "/" ends the group, at most two digits are taken.
// Returns false on a bad character, a third digit or a group with no digit.
bool ReadGroup(const std::string& text, int& pos, int& value) {
    int digits = 0;
    value = 0;
    while (pos > 0) {
        const char c = text[static_cast<std::size_t>(pos - 1)];
        --pos;
        if (c == ' ') continue;
        if (c == '/') break;
        if (c < '0' || c > '9') return false;
        if (digits == 2) return false;
        value += (c - '0') * (digits == 0 ? 1 : 10);
        ++digits;
    }
    return digits > 0;
}

// A date for the messages and the rewritten text: month and day in two
// places, the year zero-filled below 10.
std::string DateText(long month, long day, long year) {
    if (year >= 0 && year < 10) return records::Write("(I2,'/',I2,'/0',I1)", {month, day, year});
    return records::Write("(I2,'/',I2,'/',I2)", {month, day, year});
}

// A bound's month, day and year as "(I2,'/',I2,'/',I2)". The year part of
// a bound in the 2000s is 100 + YY, too wide for two places: it is shown by
// its last two digits, zero-filled like a rewritten date.
std::string BoundText(float bound) {
    const records::DateNumberParts parts = records::SplitDateNumber(static_cast<long>(bound));
    const long year = parts.year, month = parts.month, day = parts.day;
    if (year >= 100) return DateText(month, day, year % 100);
    return records::Write("(I2,'/',I2,'/',I2)", {month, day, year});
}

}  // namespace

EntryForm::EntryForm() {
    fields.fill(std::string(kEntryFieldWidth, ' '));
    messages.fill(std::string(kEntryMessageWidth, ' '));
}

void EntryForm::SetField(int n, std::string_view text) {
    fields[static_cast<std::size_t>(n - 1)] = records::Fixed(text, kEntryFieldWidth);
}

void EntryForm::Reject(int n, std::string_view message) {
    flags[static_cast<std::size_t>(n - 1)] = 1;
    if (!message.empty())
        messages[static_cast<std::size_t>(n - 1)] = records::Fixed(message, kEntryMessageWidth);
}

bool EntryForm::Rejected(int first, int last) const {
    for (int n = first; n <= last; ++n)
        if (Flag(n) != 0) return true;
    return false;
}

void EntryForm::ClearResults() {
    flags.fill(0);
    messages.fill(std::string(kEntryMessageWidth, ' '));
}

std::string Pakwrd(std::string_view characters, int count) {
    if (count < 0) count = 0;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), kEntryFieldWidth);
    return records::Fixed(characters.substr(0, std::min(characters.size(), n)), n);
}

bool ReadEntryNumber(std::string_view field, double& value) {
    return ReadNumber(field, value);
}

bool ReadEntryNumber(std::string_view field, float& value) {
    return ReadNumber(field, value);
}

void Cknum8(double value, int16_t& flag, std::string& message) {
    if (FitsNumberLayout(value)) return;
    flag = 1;
    message = records::Fixed(kValueMustBeNumeric, kEntryMessageWidth);
}

void Cknum4(float value, int16_t& flag, std::string& message) {
    Cknum8(static_cast<double>(value), flag, message);
}

void Ckdatm(std::string& date, int16_t& flag, float& number, float low, float high, std::string& message) {
    flag = 0;
    std::string text = records::Fixed(date, 8);
    auto fail = [&](std::string_view why) {
        flag = 1;
        message = records::Fixed(why, kEntryMessageWidth);
    };

    int pos = 8;
    int year = 0, day = 0, month = 0;
    if (!ReadGroup(text, pos, year) || !ReadGroup(text, pos, day) || !ReadGroup(text, pos, month)) {
        fail("Invalid form, enter date in form MO/DA/YR.");
        return;
    }
    if (year > 99 || day < 1 || day > 31 || month < 1 || month > 12 ||
        day > records::MonthLengthTable[static_cast<std::size_t>(month - 1)]) {
        fail(records::Write("('Date ',2A4,' not valid.')",
                            {std::string_view(text).substr(0, 4), std::string_view(text).substr(4, 4)}));
        return;
    }
    date = DateText(month, day, year);
    number = records::WindowedDateNumber(month, day, year);
    if (number < low) {
        fail("Date must be no earlier than " + BoundText(low) + ".");
    } else if (high < number) {
        fail("Date must be no later than " + BoundText(high) + ".");
    }
}

float DateTextNumber(std::string_view date) {
    const std::string text = records::Fixed(date, 8);
    if (records::IsBlank(text)) return 0.0f;
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(text, month, day, year)) return 0.0f;
    if (month == 0 && day == 0 && year == 0) return 0.0f;
    return records::WindowedDateNumber(month, day, year);
}

}  // namespace engine
