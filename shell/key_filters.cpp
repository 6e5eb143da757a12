// The keystroke filters of number and date fields.

#include "shell/key_filters.h"

#include <string>

#include "platform/feedback.h"

namespace shell {

int g_number_entry_flag = 0;

namespace {

// The length of the number field's text after the filter last ran, to tell
// a deletion (one character shorter) from a typed character.
int g_remembered_length = 0;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Puts the text back with the caret at `caret`.
void PutBack(platform::Control& control, const std::string& text, int caret) {
    control.SetWindowText(text);
    control.SetSel(caret, caret);
}

// Inserts "," into the whole part of a number without commas, and moves
// the caret with the characters it stood between.
void InsertCommas(std::string& text, int& caret) {
    std::size_t begin = 0;
    while (begin < text.size() && (text[begin] == ' ' || text[begin] == '+' || text[begin] == '-')) ++begin;
    std::size_t end = begin;
    while (end < text.size() && IsDigit(text[end])) ++end;
    std::string out = text.substr(0, begin);
    int new_caret = caret <= static_cast<int>(begin) ? caret : -1;
    for (std::size_t i = begin; i < end; ++i) {
        out += text[i];
        if (new_caret < 0 && static_cast<int>(i) + 1 == caret) new_caret = static_cast<int>(out.size());
        const std::size_t left = end - i - 1;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    const int shift = static_cast<int>(out.size()) - static_cast<int>(end);
    out += text.substr(end);
    if (new_caret < 0) new_caret = caret + shift;
    text = out;
    caret = new_caret;
}

void FilterDate(platform::Control control) {
    std::string text = control.GetWindowText();
    if (text.empty()) return;
    if (text.find_first_not_of(' ') == std::string::npos) {
        control.SetWindowText("");
        return;
    }
    int slashes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool allowed = false;
        if (IsDigit(c)) {
            allowed = true;
        } else if (c == '/') {
            allowed = ++slashes <= 2;
        } else if (c == ' ') {
            // A blank may pad a one-digit month or day: first in the text or
            // right after a "/", with a digit and a "/" after it.
            const bool padding = i + 2 < text.size() && IsDigit(text[i + 1]) && text[i + 2] == '/';
            allowed = padding && (i == 0 || text[i - 1] == '/');
        }
        if (!allowed) {
            text.erase(i, 1);
            PutBack(control, text, static_cast<int>(i));
            platform::MessageBeep(platform::MB_ICONASTERISK);
            return;
        }
    }
    const std::size_t n = text.size();
    if (slashes == 2) {
        // The year has two digits, or four when it begins 19 or 20 (a year
        // the date check can take as its two digits).
        const std::size_t year = text.rfind('/') + 1;
        const std::size_t digits = n - year;
        const bool century =
            digits >= 2 && (text.compare(year, 2, "19") == 0 || text.compare(year, 2, "20") == 0);
        if (digits > (century ? 4u : 2u)) {
            text.pop_back();
            PutBack(control, text, static_cast<int>(text.size()));
            platform::MessageBeep(platform::MB_ICONASTERISK);
        }
        return;
    }
    // A third digit in a row starts the next part: 123 becomes 12/3.
    std::size_t run = 0;
    for (std::size_t i = 0; i < n; ++i) {
        run = IsDigit(text[i]) ? run + 1 : 0;
        if (run == 3) {
            text.insert(i, 1, '/');
            PutBack(control, text, static_cast<int>(i) + 2);
            return;
        }
    }
}

}  // namespace

void FilterNumberKey(platform::Control edit) {
    if (!g_number_entry_flag) return;
    g_number_entry_flag = 0;
    struct Guard {
        ~Guard() { g_number_entry_flag = 1; }
    } guard;

    std::string text = edit.GetWindowText();
    int start = 0, caret = 0;
    edit.GetSel(start, caret);
    if (text.empty()) {
        g_remembered_length = 0;
        return;
    }
    const bool deleted = static_cast<int>(text.size()) == g_remembered_length - 1;

    // 0 before the number, 1 in the whole part, 2 after the point, 3 after
    // the number (only blanks).
    int state = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool allowed = false;
        if (c == ',') {
            // Commas are the filter's own: one just typed is refused.
            allowed = !(static_cast<int>(i) + 1 == caret && !deleted);
        } else if (c == '+' || c == '-') {
            allowed = state == 0;
            if (allowed) state = 1;
        } else if (IsDigit(c)) {
            allowed = state <= 2;
            if (state == 0) state = 1;
        } else if (c == '.') {
            allowed = state <= 1;
            if (allowed) state = 2;
        } else if (c == ' ') {
            allowed = true;
            if (state == 1 || state == 2) state = 3;
        }
        if (!allowed) {
            text.erase(i, 1);
            PutBack(edit, text, static_cast<int>(i));
            g_remembered_length = static_cast<int>(text.size());
            platform::MessageBeep(platform::MB_ICONASTERISK);
            return;
        }
    }

    // Commas afresh; the caret keeps its place among the other characters.
    std::string plain;
    int plain_caret = caret;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',') {
            if (static_cast<int>(i) < caret) --plain_caret;
            continue;
        }
        plain += text[i];
    }
    InsertCommas(plain, plain_caret);
    PutBack(edit, plain, plain_caret);
    g_remembered_length = static_cast<int>(plain.size());
}

void FilterDateKey(platform::Control edit) {
    FilterDate(edit);
}

void FilterDateComboKey(platform::Control combo) {
    FilterDate(combo);
}

void FilterDigitsKey(platform::Control edit) {
    const std::string text = edit.GetWindowText();
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9') digits += c;
    if (digits == text) return;
    edit.SetWindowText(digits);
    edit.SetSel(static_cast<int>(digits.size()), static_cast<int>(digits.size()));
    platform::MessageBeep(platform::MB_OK);
}

}  // namespace shell
