#pragma once

// Texts of the security files as the security dialogs show them. A field
// never written holds NUL bytes, which end a text as a terminator does.

#include <string>
#include <string_view>

namespace setup {

// The field up to its first NUL byte, without trailing blanks.
std::string ShownText(std::string_view field);
// The field with every NUL byte turned into a blank (a code shown whole).
std::string Blanked(std::string_view field);

}  // namespace setup
