#pragma once

// The firm's letterhead: eight lines kept in COMMON.FIL records 22 to 24,
// five lines of 40 characters (name and address) and three of 32
// (contact). The 40-character lines do not fit the 32-character slots of
// records 23 and 24, so their last eight characters live in record 22:
//
//   record 22  bytes 1-40    characters 33-40 of lines 1 to 5, 8 each
//              bytes 41-128  not ours (kept as they are)
//   record 23  bytes 1-128   characters 1-32 of lines 1 to 4
//   record 24  bytes 1-32    characters 1-32 of line 5
//              bytes 33-128  lines 6, 7 and 8

#include <array>
#include <cstddef>
#include <string>

namespace records {

inline constexpr int kLetterheadTailsRecord = 22;
inline constexpr int kLetterheadHeadsRecord = 23;
inline constexpr int kLetterheadContactRecord = 24;

inline constexpr std::size_t kLetterheadLines = 8;
// Lines 1 to 5 are 40 characters wide, lines 6 to 8 are 32.
inline constexpr std::size_t kLetterheadAddressLines = 5;
inline constexpr std::size_t kLetterheadAddressWidth = 40;
inline constexpr std::size_t kLetterheadContactWidth = 32;

// The eight lines, index 0 = line 1; each blank-padded to its width.
using LetterheadLines = std::array<std::string, kLetterheadLines>;

// The width of line n (index 0 to 7).
std::size_t LetterheadWidth(std::size_t index);

// Reads the letterhead. A record that cannot be read ends the reading and
// leaves blanks in the lines (or parts of lines) it would have given. Every
// four-character word that holds less than four blanks (zero bytes of a
// record never written) reads as four blanks.
LetterheadLines Letrhd();

// Writes the letterhead: each line blank-padded or cut to its width.
// Bytes 41-128 of record 22 keep what they hold. Failures are not
// reported.
void Wletrhd(const LetterheadLines& lines);

}  // namespace records
