#pragma once

// Scrambled settings. The parameter file may hold the remote user and
// password scrambled, so that they cannot be read over a shoulder. An element
// of 18 characters or more is scrambled: each byte of the plain text is
// written as two letters from "g" to "v" (nibble values 15 down to 0), mixed
// with a key of our own and with a four-bit mask carried by the case of the
// first four letters. Shorter elements are plain text.

#include <string>
#include <string_view>
#include <vector>

namespace feed {

// Unscrambles each element of a value; elements shorter than 18 characters
// (and elements too long for the key) stay as they are. The letters of the
// first element are then lower-cased.
void md_unscramble_value(std::vector<std::string>& elements);

// The scrambled form of a plain text of 9 to 19 bytes, with the mask 0 to 15;
// the text comes back from md_unscramble_value (as the first element in
// lower case). Prepares parameter files and test fixtures. Empty when the
// text's length is out of range.
std::string md_scramble_text(std::string_view plain, unsigned mask);

}  // namespace feed
