#pragma once

// Character helpers for fixed-width texts, used by the report and import
// routines. Positions count from 1, as the report layouts give them. A
// position beyond the end of the text reads as a blank and is never
// written, so no helper touches memory outside the caller's text.

#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// Sets the character at the position of the text.
void Insert(char c, std::string& text, int position);

// Writes the character at the position of a line.
void Putchr(std::string& line, int position, char c);

// Position of the first occurrence of c in positions 1..n, -1 when absent
// or n < 1. An n above 178 is lowered to 178 in the caller's variable.
int16_t Inset(char c, std::string_view text, int16_t& n);

// Position of the last non-blank character of a 28-character text; 1 when
// all are blank (a heading underline is never empty).
int16_t Len28(std::string_view text);

// Number of characters before the first "$", at most 50 (and at most the
// text's length).
int16_t Length(std::string_view text);

// Letters a-z in positions 1..n become upper case. n < 1 does nothing; an
// n above 132 is lowered to 132 in the caller's variable.
void Upshft(std::string& text, int16_t& n);

// Characters i..j of the field in a 32-character result, blank filled
// (empty when j < i; positions outside the field are left out).
void Substg(std::string& result, std::string_view field, int i, int j);

// Centres the text within its first n characters by moving it right by
// half its trailing blanks (NUL bytes count as blanks at the end). Status
// 1 with the text unchanged when it is all blank or n < 1, else 0.
void Center(std::string& text, int n, int16_t& status);

// 0 when positions 1..n of a and b agree, 100 at the first disagreement;
// "?" in either text agrees with anything. n < 1 gives 0.
int16_t Match(std::string_view a, std::string_view b, int n);

// Compares 9 characters: at the first difference code(a) - code(b) of
// that position, as signed character codes; 0 when all 9 agree.
int16_t Cmpstr(std::string_view a, std::string_view b);

// A four-character word (shorter ones padded with blanks) that orders
// below four blanks when both are read as 4-byte reals, as never-written
// fields of zero bytes do: the reports print such words blank.
bool BelowBlankWord(std::string_view word);

// Does nothing: the trade posting checks call it at a step that has no
// work to do.
template <class A, class B, class C, class D>
void Stub4(A&&, B&&, C&&, D&&) {}

}  // namespace records
