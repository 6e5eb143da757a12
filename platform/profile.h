#pragma once

// Profile files: text files of "[section]" headers and "key=value" lines, as
// the data-feed libraries and the batch program keep their settings (VEXA.INI).
// A file named without a directory lives in the program's configuration
// folder, $XDG_CONFIG_HOME/ledra/ (by default ~/.config/ledra/); a name with
// a "/" is a path. Section and key names match without regard to case; the
// first matching section and key count. Lines starting with ";" or "#" are
// comments.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// The folder for profiles named without a directory.
std::filesystem::path ProfileDirectory();
// Where a profile of this name is read and written.
std::filesystem::path ProfilePath(std::string_view file);

// The value of a key, blanks around it removed; the default when the file,
// the section or the key does not exist. A key that is present with an empty
// value yields the empty text, not the default.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::string_view file);

// The value of a key read as a whole number: its leading digits (0 when it
// has none, and 0 for a negative value); the default when the key does not
// exist.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         std::string_view file);

// Sets a key. An existing key is rewritten in place, keeping its spelling and
// every other line and comment of the file; a new key is added at the end of
// its section, a new section at the end of the file. The file is written
// beside the old one and renamed over it, so a failed write leaves the old
// file. False when the file could not be written.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view file);

}  // namespace platform
