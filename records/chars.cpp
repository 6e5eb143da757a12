#include "records/chars.h"

#include <algorithm>
#include <cstring>

#include "records/record.h"

namespace records {

namespace {

// Character at 1-based position p, a blank beyond the text.
char At(std::string_view text, int p) {
    return (p >= 1 && static_cast<std::size_t>(p) <= text.size()) ? text[p - 1] : ' ';
}

}  // namespace

void Insert(char c, std::string& text, int position) {
    if (position >= 1 && static_cast<std::size_t>(position) <= text.size()) text[position - 1] = c;
}

void Putchr(std::string& line, int position, char c) {
    Insert(c, line, position);
}

int16_t Inset(char c, std::string_view text, int16_t& n) {
    if (n > 178) n = 178;
    const int last = std::min<int>(n, static_cast<int>(text.size()));
    for (int p = 1; p <= last; ++p)
        if (text[p - 1] == c) return static_cast<int16_t>(p);
    return -1;
}

int16_t Len28(std::string_view text) {
    for (int p = 28; p >= 1; --p)
        if (At(text, p) != ' ') return static_cast<int16_t>(p);
    return 1;
}

int16_t Length(std::string_view text) {
    const int last = std::min<int>(50, static_cast<int>(text.size()));
    for (int p = 1; p <= last; ++p)
        if (text[p - 1] == '$') return static_cast<int16_t>(p - 1);
    return static_cast<int16_t>(last);
}

void Upshft(std::string& text, int16_t& n) {
    if (n > 132) n = 132;
    const int last = std::min<int>(n, static_cast<int>(text.size()));
    for (int p = 1; p <= last; ++p) {
        char& ch = text[p - 1];
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
}

void Substg(std::string& result, std::string_view field, int i, int j) {
    std::string out;
    const int first = std::max(i, 1);
    const int last = std::min<int>(j, static_cast<int>(field.size()));
    for (int p = first; p <= last && out.size() < 32; ++p) out += field[p - 1];
    result = Fixed(out, 32);
}

void Center(std::string& text, int n, int16_t& status) {
    n = std::min<int>(n, static_cast<int>(text.size()));
    int last = 0;
    for (int p = n; p >= 1; --p) {
        const char ch = text[p - 1];
        if (ch != ' ' && ch != '\0') {
            last = p;
            break;
        }
    }
    if (n < 1 || last == 0) {
        status = 1;
        return;
    }
    status = 0;
    const int shift = (n - last) / 2;
    if (shift == 0) return;
    // Moving right from the end keeps every character (leading blanks
    // included) in order; the vacated front becomes blank.
    for (int p = last; p >= 1; --p) text[p - 1 + shift] = text[p - 1];
    for (int p = 1; p <= shift; ++p) text[p - 1] = ' ';
}

int16_t Match(std::string_view a, std::string_view b, int n) {
    for (int p = 1; p <= n; ++p) {
        const char ca = At(a, p), cb = At(b, p);
        if (ca != cb && ca != '?' && cb != '?') return 100;
    }
    return 0;
}

int16_t Cmpstr(std::string_view a, std::string_view b) {
    for (int p = 1; p <= 9; ++p) {
        const auto ca = static_cast<signed char>(At(a, p)), cb = static_cast<signed char>(At(b, p));
        if (ca != cb) return static_cast<int16_t>(ca - cb);
    }
    return 0;
}

bool BelowBlankWord(std::string_view word) {
    char bytes[4] = {' ', ' ', ' ', ' '};
    for (std::size_t i = 0; i < 4 && i < word.size(); ++i) bytes[i] = word[i];
    float value = 0;
    float blanks = 0;
    std::memcpy(&value, bytes, 4);
    std::memcpy(&blanks, "    ", 4);
    return value < blanks;
}

}  // namespace records
