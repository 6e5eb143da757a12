#pragma once

// The billing notes: six lines of 64 characters for the whole firm, two to
// a record in COMMON.FIL records 72 to 74 (line 1 in bytes 1-64 of record
// 72, line 2 in bytes 65-128, and so on).

#include <array>
#include <cstddef>
#include <string>

namespace records {

inline constexpr int kBillingNotesRecord = 72;
inline constexpr std::size_t kBillingNoteLines = 6;
inline constexpr std::size_t kBillingNoteWidth = 64;

// The six lines, index 0 = line 1, each 64 characters.
using BillingNotes = std::array<std::string, kBillingNoteLines>;

// Reads the notes. A record that cannot be read ends the reading; its
// lines and the later ones are blank. Every four-character word whose
// bytes all lie below the blank (zero bytes of a record never written)
// reads as four blanks; any other word is kept, letters above 127
// included.
BillingNotes Rbnote();

// Writes records 72 to 74 from the lines, each blank padded or cut to 64
// characters. Failures are not reported.
void Wbnote(const BillingNotes& lines);

}  // namespace records
