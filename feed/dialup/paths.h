#pragma once

// File names as the data-feed settings write them. Settings and option texts
// were written for a system whose directory separator is "\", so every name
// the library opens accepts "\" as well as "/".

#include <string>
#include <string_view>

namespace feed {

// The name with each "\" turned into "/".
std::string HostPath(std::string_view name);

// A home directory followed by a file name; a directory that does not end in
// a separator gets one. An empty directory gives the bare file name.
std::string JoinHomeDir(std::string_view home_dir, std::string_view file);

// The name with everything after its last separator ("/" or "\") replaced by
// `file`; empty when the name holds no separator.
std::string BesideFile(std::string_view name, std::string_view file);

}  // namespace feed
