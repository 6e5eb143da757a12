#pragma once

// Record files of the data directory. The data directory is the current
// directory. Files are reached in two ways:
//  - a unit table, as the record routines use it: a routine opens a file
//    on a small unit number (1-40), reads or writes records by number and
//    closes it before it returns (UnitGuard closes on every path);
//  - DirectFile and TextFile objects for code that needs no unit.
// Opens never report failure: a file that does not exist is created, and a
// unit whose open failed makes every read and write on it fail, which the
// readers treat as absent data.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"

namespace records {

// Turns a record-file name as the routines spell it (blank padded, any
// case, "\" or "/" separators, "A:" for the tax disk) into a path: trailing
// blanks are dropped, "A:" becomes the folder "A" of the data directory, and
// each part of the name is matched case-insensitively against what exists,
// so one file spelt in several cases is one file. A name that matches
// nothing keeps the spelling given, which is how new files are named.
std::string ResolveName(std::string_view name);

// A path that ResolveName gave: a file opened by it is not
// resolved again (a file deleted and created anew keeps the spelling it
// was found under, without a second look at the directory).
struct ResolvedPath {
    std::string path;
};

// A direct-access file of fixed-length records: record n (from 1) at byte
// offset (n - 1) x length. Writing beyond the end extends the file.
//
// Every DirectFile open on one file (one device and inode) in this process
// shares one open file and one buffer: records are read a block at a time
// and kept while the file is open, and records written one after another
// go to the disk together, when the last DirectFile on the file closes (or
// before anything reads the file another way: see FlushPendingWrites).
// Each DirectFile thus sees every other's writes at once, as the system
// calls of a file shared in the kernel gave them.
class DirectFile {
public:
    DirectFile(std::string_view name, std::size_t record_length, bool create = true);
    DirectFile(const ResolvedPath& path, std::size_t record_length, bool create = true);
    ~DirectFile();
    DirectFile(const DirectFile&) = delete;
    DirectFile& operator=(const DirectFile&) = delete;

    bool ok() const { return state_ != nullptr; }
    std::size_t record_length() const { return length_; }
    const std::string& path() const;

    // Reads record n into rec (resized to the record length). False when the
    // file is not open, n is below 1 or the record lies (partly) past the end.
    bool Read(long n, Record& rec) const;
    // False when the file is not open for writing or n is below 1; a
    // failure of the disk write itself shows when the buffer goes out.
    bool Write(long n, const Record& rec);
    // Reads every whole record of the file: bytes takes Count() records.
    // False (bytes empty) when the file cannot be read.
    bool ReadWhole(std::vector<unsigned char>& bytes) const;
    // Reads up to count whole records from record first on into bytes
    // (resized to what was read; its storage is kept for the next call).
    // False when the file cannot be read.
    bool ReadRange(long first, std::size_t count, std::vector<unsigned char>& bytes) const;
    // Writes count records from data, record first on, with one write.
    bool WriteRecords(long first, const unsigned char* data, std::size_t count);
    // Number of whole records in the file.
    long Count() const;
    // Cuts the file to n records.
    bool Truncate(long n);

    struct State;

private:
    void Open(std::string_view name_key, std::string path, bool create);
    // A write refused because the file could not be opened for writing:
    // kept, within a run, with the reason the open gave.
    void NoteRefusedWrite() const;

    std::size_t length_;
    std::shared_ptr<State> state_;
    // Where the open failed: the path, the system's error number and
    // whether the file was missing (so a write would have made it).
    std::string unopened_path_;
    int open_error_ = 0;
    bool unopened_missing_ = false;
};

// Writes out what DirectFile and TextFile objects still hold in their
// buffers, for code that reads or copies a record file by other means
// (a mapping, a stream) while it may be open. The record layer's own
// readers call it themselves.
void FlushPendingWrites();

// While an object of this class lives (a report run, the update of the data
// base), the files every account of a run reads again - COMMON.FIL, the
// securities master, the price files and the type and category names -
// stay open with what was read of them after their last DirectFile
// closes, so opening them again costs no system call. The program's own
// writes through DirectFile go to the kept file; a file the record layer
// replaces or deletes is forgotten and opened anew. Files changed by other
// means are seen again once the object is gone. Objects nest; the
// outermost ends the keeping.
//
// Within a run a record file cut shorter is cut on the disk once the
// records written after the cut are out; the bytes every file holds are
// as without a run.
//
// A run also keeps the memory it frees: each account's working storage is
// freed as the next account's is allocated, and the C library would
// otherwise hand the top of the heap back to the system after every
// account, and map a large block apart and unmap it, only to fault the
// memory in again for the next. When the outermost object ends the free
// top of the heap goes back; blocks of up to 32 MiB then still come from
// the heap (see run_cache.cpp).
class RunFileCache {
public:
    RunFileCache();
    ~RunFileCache();
    RunFileCache(const RunFileCache&) = delete;
    RunFileCache& operator=(const RunFileCache&) = delete;
};

// 0 while no RunFileCache lives; otherwise a number that names the run
// (the outermost object's life), different from every earlier run's, for
// values read once a run.
long CurrentRun();

// Every whole record of a file, for reading only, without a copy: the file
// is mapped into memory, so the bytes are the page cache's own and a large
// file costs neither a buffer to fill nor the first touch of each of its
// pages. Where a file cannot be mapped it is read whole into memory
// instead. A missing or empty file holds no records. The records are those
// the file held when it was opened: this system replaces a file by writing
// beside it and renaming, which leaves the mapped bytes as they were; no
// routine cuts a record file shorter in place while another reads it.
// Within a run (a RunFileCache's life) the mapping of a file the run keeps
// (COMMON.FIL, the securities master, the price files, the type and
// category names) is kept too and taken again while the file under the
// name is the same file of the same size, which costs one stat instead of
// an open, a map and an unmap; the program's own writes in place show in
// it, as in any mapping of the file.
class MappedRecords {
public:
    MappedRecords(std::string_view name, std::size_t record_length);
    ~MappedRecords();
    MappedRecords(const MappedRecords&) = delete;
    MappedRecords& operator=(const MappedRecords&) = delete;

    // Record n (from 1) at data() + (n - 1) x length.
    const unsigned char* data() const { return data_; }
    // Bytes of whole records.
    std::size_t size() const { return size_; }
    long Count() const { return length_ == 0 ? 0 : static_cast<long>(size_ / length_); }

    struct Mapping;  // a file mapped whole, which several objects may share

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t length_;
    std::shared_ptr<const Mapping> mapping_;  // shared with a run's kept mapping
    std::vector<unsigned char> copy_;  // where mapping failed
};

// A sequential text file of lines. Lines are read up to LF, a CR before it
// is dropped; lines are written with CR LF. A write after reads replaces
// everything after the lines read, as a sequential file does.
class TextFile {
public:
    explicit TextFile(std::string_view name, bool create = true);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    bool ReadLine(std::string& line);
    // Lines written go out together, when the buffer fills and when the
    // file closes; false when the file is not open or a write failed.
    bool WriteLine(std::string_view line);
    // Writes out the buffered lines; false when a write failed.
    bool Flush();

private:
    int fd_ = -1;
    std::string path_;
    std::string data_;     // the file's bytes as opened
    std::size_t pos_ = 0;  // read position in data_
    long long write_pos_ = -1;
    std::string out_;      // lines written, not yet on the disk
    bool failed_ = false;  // a write of the buffer failed
    bool cut_pending_ = false;  // the lines written replace a longer rest
    bool writable_ = false;     // opened for writing
    int open_error_ = 0;        // why the open for writing failed
    bool unopened_missing_ = false;  // the open failed and the file is not there
};

// Unit table. Units 1 to 40.
constexpr int kMaxUnit = 40;

// The open helpers, one per record length; each opens (creating when
// missing) the named file on the unit, replacing what the unit had open.
void Open(int unit, std::string_view name);     // 128-byte records
void Opn132(int unit, std::string_view name);   // 132-byte records
void Open8(int unit, std::string_view name);    // 8-byte records
void Open2(int unit, std::string_view name);    // 256-byte records
void Open3(int unit, std::string_view name);    // 384-byte records
void Open4(int unit, std::string_view name);    // 512-byte records
void Openaw(int unit, std::string_view name);   // text lines
void Opena(int unit, std::string_view name);    // text lines
void Openaw2(int unit, std::string_view name);  // text lines, 48-character name
// Opens a direct-access file of any record length on a unit.
void OpenDirect(int unit, std::string_view name, std::size_t record_length);

// A check on the unit table for the tests: when one is set, an open that
// finds its unit still holding a file calls it first (with the unit, the
// path of the file held, empty for a direct-access file whose open had
// failed, and the name being opened) and then closes that file as always. A routine that leaves
// a unit open for the next open to close hides a close; the test programs
// set a check that fails loudly. The program sets none.
using UnitReopenCheck = void (*)(int unit, const std::string& held, std::string_view opening);
// Sets the check (nullptr for none) and returns the one set before.
UnitReopenCheck SetUnitReopenCheck(UnitReopenCheck check);

// Closes the unit and keeps the file.
void Close(int unit);
// Closes the unit and deletes the file. False when the unit had no file
// open or the deletion failed.
bool CloseDelete(int unit);
// True when the unit holds a file whose open succeeded.
bool IsOpen(int unit);

// Record access on a unit; false for a unit that is not open or whose open
// failed, or a record that cannot be read.
bool ReadRecord(int unit, long n, Record& rec);
bool WriteRecord(int unit, long n, const Record& rec);
// Writes count records from data, record first on, with one write.
bool WriteRecords(int unit, long first, const unsigned char* data, std::size_t count);
// Every whole record of the direct-access file on the unit (DirectFile's
// ReadWhole); false (bytes empty) when the unit holds none.
bool ReadRecords(int unit, std::vector<unsigned char>& bytes);
// Up to count records from record first on (DirectFile's ReadRange).
bool ReadRecords(int unit, long first, std::size_t count, std::vector<unsigned char>& bytes);
long RecordCount(int unit);
// Record length of the direct-access file open on the unit; 0 when the unit
// holds no direct-access file.
std::size_t RecordLength(int unit);
bool ReadLine(int unit, std::string& line);
bool WriteLine(int unit, std::string_view line);

// Closes the unit when the scope ends, on every path out of a routine.
class UnitGuard {
public:
    explicit UnitGuard(int unit) : unit_(unit) {}
    ~UnitGuard() { Close(unit_); }
    UnitGuard(const UnitGuard&) = delete;
    UnitGuard& operator=(const UnitGuard&) = delete;

private:
    int unit_;
};

// Deletes the named file (opening it on unit 22 first, so a missing file is
// created and deleted: the call never fails visibly).
void Purge(std::string_view name);

// Deletes the named file without opening it first (Purge makes a missing
// file to delete it). As with CloseDelete, a run forgets what it keeps of
// the file, and failures kept for it are still told at the run's end but
// no longer stick to its inode, which a new file may take. A file that is
// not there or cannot be deleted (a read-only medium) is left as it is,
// and nothing is kept of that for the run's end: false then.
bool DeleteFile(std::string_view name);

// Why a file could not be created or written, from the system's error
// number: a read-only medium (EROFS), a full disk (ENOSPC; EDQUOT, a full
// quota, is the user's full disk), no permission (EACCES, EPERM), or
// another cause.
enum class WriteFault { kReadOnly, kDiskFull, kNoPermission, kOther };
WriteFault FaultOfError(int error);

// A file that could not be created or written.
struct FailedWrite {
    std::string path;       // as opened, or the target of a replacement
    bool creating = false;  // it did not exist and could not be made
    WriteFault fault = WriteFault::kOther;
    // The target of a replacement (TextReplacement) not put in place: an
    // earlier file under its name is kept as it was.
    bool replacement = false;
    // A replacement written whole that went with the failure of its run
    // (whose fault it carries): nothing of its own failed.
    bool dropped = false;
    bool operator==(const FailedWrite&) const = default;
};

// The files that could not be created or written since the last call, in
// the order of their paths, each with its fault once, after writing out
// what is still buffered: a run's writes that failed as their files
// closed, the writes refused by a file that could not be made or opened
// for writing, and the replacements not put in place (TextReplacement).
// The list is then cleared. Failures are kept within a run (RunFileCache)
// and while a KeepFailedWrites lives; elsewhere the failing write tells
// its caller and nothing is kept.
std::vector<FailedWrite> TakeFailedWrites();

// Keeps the failed writes for TakeFailedWrites while it lives, outside a
// run too: for a caller that a record service tells only that it failed
// (a status word) and that says which file could not be written and why.
class KeepFailedWrites {
public:
    KeepFailedWrites();
    ~KeepFailedWrites();
    KeepFailedWrites(const KeepFailedWrites&) = delete;
    KeepFailedWrites& operator=(const KeepFailedWrites&) = delete;
};

// Moves a work file written beside its target over it in one rename, so
// the target is the old file or the new one, never a part of either. The
// work file's buffered writes go out first; false, with the target kept,
// when the move fails or any write to the work file failed, also one that
// went out when its last DirectFile or TextFile closed (the failure is
// then the caller's: it is not told at the run's end).
bool MoveFileOver(std::string_view work, std::string_view target);

// Whether a write to the named work file failed in this run (its buffered
// writes go out first), as MoveFileOver finds it, and why: the fault of the
// first lost write, none when there was none. The failure is then the
// caller's, which does not use the file. For work files that must all be
// whole before any of them is moved over its target.
std::optional<WriteFault> TakeLostWrites(std::string_view work);

// A text file made anew in place of another (a report copied into the
// user's file, a chart or export file): its lines are written beside the
// target and moved over it (MoveFileOver) only when every line was
// written, so a failure keeps the earlier file whole and a kill meanwhile
// leaves the earlier file or the new one. Within a run (RunFileCache) the
// file waits beside its target until the run ends, and then every
// replacement of the run goes in place, or none does when the run kept a
// failure (a lost write, a file it could not make, a replacement that
// could not be written): what a run makes after a lost write may come
// from data it could not keep whole, and a run that stops short must not
// leave some files of its own beside the earlier ones of the others (one
// account's chart file of the run in place of the last one's). Outside a
// run the replacement goes in place when the object ends, or at Commit. A
// replacement not put in place is kept for TakeFailedWrites under the
// target's name, with the fault of the failure.
class TextReplacement {
public:
    explicit TextReplacement(std::string_view target);
    ~TextReplacement();
    TextReplacement(const TextReplacement&) = delete;
    TextReplacement& operator=(const TextReplacement&) = delete;

    // The file beside the target could be made.
    bool ok() const { return fd_ >= 0; }
    // Adds a line (written with CR LF); false once a write failed.
    bool WriteLine(std::string_view line);
    // Puts the lines in place of the target (within a run: hands them to
    // the run's end); false, with the earlier file kept, when a write or
    // the move failed. Later calls give the same.
    bool Commit();

private:
    bool WriteOut();

    std::string target_;
    std::string beside_;
    int fd_ = -1;
    int error_ = 0;  // the system's error number of the first failure
    long long written_ = 0;
    std::string out_;  // lines not yet written
    bool done_ = false;
    bool committed_ = false;
};

// Replaces a whole file safely: the bytes are written beside the target and
// renamed over it only when every write succeeded. False on failure, with
// the old file kept.
bool ReplaceFile(std::string_view name, const std::vector<unsigned char>& bytes);

// Replaces several files that belong together (an index and its record
// file): every file is written beside its target first, and the targets
// are renamed over only when all were written. Returns an empty text when
// done, else the name (as given) of the first file that failed; the files
// not yet renamed keep their old content.
struct FileReplacement {
    std::string name;
    std::vector<unsigned char> bytes;
};
std::string ReplaceFiles(const std::vector<FileReplacement>& files);

}  // namespace records
