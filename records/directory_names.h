#pragma once

// The names a directory holds, for the record layer's case-insensitive
// name matching. A name that exists as spelt is found with one stat; a
// name that does not needs the directory's listing, and the reports and
// the replay ask for absent names (work files about to be created, name
// files a firm never wrote) over and over. The listing of each directory
// is therefore kept and kept current: a kernel watch (inotify) on the
// directory reports every entry created, deleted or renamed in it, by this
// program or any other, and each such event is applied to the kept names
// before the next look-up, so a kept listing never answers differently
// from a fresh one. Where no watch can be set (no inotify, the watch limit
// reached) the directory is listed afresh at every look-up, as before.

#include <optional>
#include <string>

namespace records {

// The first entry of dir ("" for the current directory) whose name equals
// part ignoring ASCII case, in the order the directory lists them; none
// when no entry matches or the directory cannot be read.
std::optional<std::string> FindEntryIgnoringCase(const std::string& dir, const std::string& part);

// How the look-ups were answered since the program started (for tests and
// benchmarks): from kept listings, and by reading a directory.
struct DirectoryNameCounts {
    long kept = 0;
    long listed = 0;
};
DirectoryNameCounts DirectoryNameLookups();

}  // namespace records
