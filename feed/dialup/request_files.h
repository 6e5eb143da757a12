#pragma once

// The files a call works with: INPUT (the request text of a batch call),
// OUTPUT (every answer part is appended to it) and LOG (a copy of every
// error, status and trace text).

#include <cstdio>
#include <string>
#include <string_view>

#include "feed/dialup/state.h"

namespace feed {

inline constexpr int kOpenRead = 2;    // for reading
inline constexpr int kOpenAppend = 3;  // for writing at the end, created when missing

// Opens the slot's file under `name`. On success sends "File accessed: <name>"
// on the status channel and returns 1; on failure the slot stays closed,
// -220 is reported with the name and the result is 0. Other modes give 0.
int md_open_file(FileSlot& slot, std::string_view name, int mode);

// The file's length in bytes; the position stays where it was.
long long md_file_length(std::FILE* file);

// Writes the bytes; a short write reports -220 with the name and gives 0.
int md_file_write(std::FILE* file, std::string_view bytes, std::string_view name);

// Closes INPUT, OUTPUT and LOG where they are open.
void md_close_files();

}  // namespace feed
