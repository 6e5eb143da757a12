#pragma once

// The option text of a call: comma-separated option words that set how the
// library reports back, which files it uses and when it connects. Settings
// accumulate from call to call until RESET.
//
//   RESET  DEBUG  STATUS  BLOCK  LINE  NOICON  CONNECT
//   TIMEOUT=n  OUTPUT=name  INPUT=name  LOG=name
//
// Words are matched without regard to case; file names keep the case in
// which the caller wrote them.

#include <string>
#include <string_view>
#include <vector>

namespace feed {

inline constexpr int kErrOptionWord = -215;    // a word outside the list
inline constexpr int kErrTimeoutValue = -217;  // TIMEOUT without "="
inline constexpr int kErrFileOption = -220;    // a file option without "=" or name

// One word of an option text as the parser reads it: the word, and for the
// words that take one (TIMEOUT, OUTPUT, INPUT, LOG) the value after "=".
struct OptionWord {
    std::string word;  // upper-cased
    bool has_value = false;
    std::string value;  // as written
};

// The words of an option text in order, read the way md_parse_options reads
// them (a value is never a word of its own).
std::vector<OptionWord> ScanOptionWords(std::string_view text);

// True when one of the words (blanks around it ignored) is `word`.
bool HasOptionWord(std::string_view text, std::string_view word);

// Applies the option text. 0, or 99 after an error was reported; the words
// before the error stay applied.
int md_parse_options(std::string_view text);

}  // namespace feed
