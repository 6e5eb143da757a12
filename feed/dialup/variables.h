#pragma once

// The variable store of the dial-up library. All settings read from the
// parameter file, and all state of the dialogue scripts, live in named
// variables whose values are lists of text elements with a current element.
// Names normally begin with "%" and are matched without regard to case; a
// name whose second character is "!" (%!CFN) survives every general
// clearing.
//
// A value is written as a value text: quoted strings (with escapes while the
// escape switch is on), %name items (the current element of that variable),
// a list in braces with "|" allowed between its elements, "#" starting a
// comment, or a bare word that takes the rest of the text literally. Outside
// a list all items join into one element; inside a list each quoted string is
// an element of its own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace feed {

// The value text limit: at most this many bytes of element text are kept.
inline constexpr std::size_t kValueTextLimit = 511;

// The current element of a variable, or empty when there is no such
// variable. The name ends at the first blank, tab, CR or LF. %ERRNO reads the
// saved non-fatal error code in decimal and %VERSION reads "1B".
std::string md_get_var(std::string_view name);

// Parses the value text and stores it under the name (created when needed),
// with the first element current. Returns false on a syntax error (error
// cell -148), keeping the old value. Setting %ERRNO parses the value as a
// decimal number into the error cell.
bool md_set_var(std::string_view name, std::string_view value_text);

// Stores elements as they are, without parsing (file paths and other texts
// that are not value texts).
void SetVarElements(std::string_view name, std::vector<std::string> elements);

// All elements of a variable (none for an empty or unknown variable).
std::optional<std::vector<std::string>> GetVarElements(std::string_view name);

// Moves the current element forward (past the last one to the end position,
// from there back to the first) or backward (from the first to the end
// position). -1 when the variable does not exist, else 0.
int md_shift_var(std::string_view name, bool backwards);

// Deletes one variable (not a persistent one), or with an empty name every
// variable but the persistent ones.
void md_clear_vars(std::string_view name = {});

// The escape switch: while off, "\" is an ordinary character. Off while the
// parameter file is read, on while scripts run.
bool EscapesOn();
bool SetEscapes(bool on);  // returns the previous state

class ScopedEscapes {
public:
    explicit ScopedEscapes(bool on) : previous_(SetEscapes(on)) {}
    ~ScopedEscapes() { SetEscapes(previous_); }
    ScopedEscapes(const ScopedEscapes&) = delete;
    ScopedEscapes& operator=(const ScopedEscapes&) = delete;

private:
    bool previous_;
};

// The next character of a text at `pos`, with escapes when the switch is on;
// 0 at the end of the text, at a NUL or at a LF, without moving past it.
char md_read_char(std::string_view text, std::size_t& pos);

// The code that a failed non-fatal port opening saved (read as %ERRNO).
int& SavedNonFatalError();

}  // namespace feed
