#pragma once

// Two services of the import routines: the form in which a symbol read
// from an outside file is looked up in SECURITY.IDX, and the open of an
// outside text file for line-by-line reading.

#include <string>
#include <string_view>

namespace engine {

// Width of an outside file name as the import routines pass it.
inline constexpr std::size_t kOutsideNameWidth = 48;

// Brings a 12-character symbol into the form SECURITY.IDX keeps: its first
// nine characters with the letters a-z made upper case (everything else
// kept in place), then three blanks. A shorter text is blank padded first.
void Upsym(std::string& symbol);

// Opens the unit on the named outside file (the first 48 characters of the
// name, trailing blanks dropped) for reading text lines, shared with other
// readers and writers; the caller reads it with ReadLine and closes it with
// Close. A file that does not exist is not created: the unit is left with
// nothing open, so the caller's first read finds the end of the file. The
// name length and reserved arguments are not used.
void Opnseq(int unit, std::string_view file_name, int name_length = static_cast<int>(kOutsideNameWidth),
            int reserved = 0);

}  // namespace engine
