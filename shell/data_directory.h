#pragma once

// The data directory at start-up: asking before a directory named on the
// command line is made, telling the user when it cannot be written, and
// finding a damaged COMMON.FIL before anything writes to it.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "records/files.h"

namespace shell {

// Enters the data directory the program starts on. A directory named on
// the command line that does not exist is made only when the user says
// Yes: a typing slip would otherwise look like lost data. Returns 0 to go
// on, or the exit status (1: the user said No, or the directory cannot be
// used, which a message box says).
int OpenDataDirectory(const std::filesystem::path& path, bool named_on_command_line);

// Whether the data directory (the current directory) can be written:
// nothing when it can, else why not (a read-only medium, a full disk, no
// permission). The real check makes a small file and removes it again,
// whatever came of writing it. The check is replaceable so that a test
// can stand for a medium it cannot make; nullptr puts the real check back.
using WritableCheck = std::function<std::optional<records::WriteFault>()>;
void SetDataDirectoryWritableCheck(WritableCheck check);
std::optional<records::WriteFault> DataDirectoryWriteFault();
bool DataDirectoryWritable();

// What is wrong with COMMON.FIL, one phrase a fault ("it is empty", ...);
// nothing for a sound or missing file (a missing one is made as before).
std::vector<std::string> CommonFileDamage();

// The start-up checks, before the program first writes to the directory:
// a directory that cannot be written (read-only, on a full disk, without
// permission) is named in one message box that says why and what will
// not work; a damaged COMMON.FIL is copied to COMMON.FIL.BAD and named in
// a message box with what is wrong, and the program goes on with what can
// be read.
void CheckDataDirectoryAtStartup(platform::WindowHandle owner = 0);

}  // namespace shell
