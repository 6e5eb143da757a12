#pragma once

// The record layer's side of a run (RunFileCache in files.h): the record
// files and mappings a run keeps, found by the name the routines spell,
// and the buffered writes that failed where no caller was left to tell.
// Only the record layer's file code uses it; callers use files.h.

#include <memory>
#include <string>
#include <string_view>

#include "records/file_io.h"
#include "records/files.h"

namespace records::files_detail {

// True while a RunFileCache lives.
bool InRun();

// The name a kept file is found under: trimmed, upper case, "/"
// separators. Only COMMON.FIL, the securities master, the price files and
// the type and category names are kept; others, and every name outside a
// run, give an empty key.
std::string KeepKey(std::string_view name);

// The record file the run keeps under key; none when it keeps none.
std::shared_ptr<DirectFile::State> KeptFile(const std::string& key);
// Keeps the record file open on path under key; a file kept under key
// already stays.
void KeepFile(const std::string& key, std::shared_ptr<DirectFile::State> state, const std::string& path);

// The mapping the run keeps under key; none when it keeps none.
std::shared_ptr<const MappedRecords::Mapping> KeptMapping(const std::string& key);
// Keeps the mapping of the file at path under key, in place of any other.
void KeepMapping(const std::string& key, std::shared_ptr<const MappedRecords::Mapping> mapping,
                 const std::string& path);
void ForgetKeptMapping(const std::string& key);

// Forgets the kept file and mapping of the file at path, which the
// program replaces or deletes, so that the next open reads it anew.
void ForgetKeptFile(const std::string& path);

// True while failed writes are kept: in a run, and while a
// KeepFailedWrites lives.
bool KeepingFailedWrites();

// Notes that a write to the file open on fd failed, with the system's
// error number. Within a run such a write may go out when the last
// DirectFile or TextFile on the file closes, with no caller left to tell;
// the failure is kept for MoveFileOver, which must not put such a file
// over its target, for the run's text replacements, which put nothing in
// place once the run has lost a write, and for the end of the run
// (TakeFailedWrites), which tells it. Outside a run every write goes out
// at once and its caller is told, so nothing is kept unless a
// KeepFailedWrites asks for it.
void NoteFailedWrite(int fd, const std::string& path, int error);
// Notes that a file (path as opened) could not be written at all: it
// could not be created or opened for writing, or its replacement
// (TextReplacement) was not put in place, having failed itself or, written
// whole, with the failure of its run. creating: it did not exist.
enum class UnwrittenAs { kFile, kReplacement, kDroppedReplacement };
void NoteUnwritableFile(const std::string& path, bool creating, int error, UnwrittenAs as = UnwrittenAs::kFile);
// Forgets the failed writes to the file: the error number of the first,
// 0 when there were none.
int TakeFailedWrite(const FileKey& key);
// The file was deleted: its failures are still told at the run's end, but
// no longer found by its device and inode, which a new file may take.
void FailedFileDeleted(const FileKey& key);
// The error number of the first failure kept and not taken (0 when none):
// what a run makes after a lost write may come from data it could not
// keep whole.
int FirstFailure();
// Puts the replacements the run wrote beside their targets in place, at
// the end of the run, when it kept no failure; otherwise removes them and
// keeps them as refused.
void PutRunReplacementsInPlace();
// Whether any failure is kept now (a deletion need not look for its file
// otherwise).
bool AnyFailedWrites();

}  // namespace records::files_detail
