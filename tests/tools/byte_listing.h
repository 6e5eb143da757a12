#pragma once

// Byte listings: the expected content of a binary record file written by
// hand as text, field by field, so that a test compares a file the program
// wrote with bytes a person set down from the record layouts. Tokens are
// separated by blanks and line ends; "#" starts a comment:
//
//   "IBM"        the characters between the quotes (\" and \\ inside)
//   20           one byte in hexadecimal (two digits)
//   20*9         that byte nine times (the count in decimal)
//   i2:3         a 16-bit little-endian integer
//   r4:1.25      a 4-byte IEEE float, little-endian
//   r8:102.5     an 8-byte IEEE double, little-endian

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// The bytes of a listing; nothing, with the reason in error, when a token
// does not read.
std::optional<std::vector<unsigned char>> ParseByteListing(std::string_view text, std::string& error);

// Compares a file's bytes with the expected ones: empty when they are
// equal, otherwise where they first differ (offset from 0, and the record
// and byte counted from 1 for 128-byte records).
std::string CompareBytes(const std::vector<unsigned char>& actual,
                         const std::vector<unsigned char>& expected);

}  // namespace tools
