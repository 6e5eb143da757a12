// A run's kept files and mappings, and the buffered writes that failed
// (RunFileCache and TakeFailedWrites in files.h, the rest in run_cache.h).

#include "records/run_cache.h"

#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <utility>
#include <vector>

namespace records {

namespace files_detail {

namespace {

// A kept file or mapping, with the path it was opened under.
template <typename T>
struct Kept {
    std::string path;
    std::shared_ptr<T> held;
};

// The kept files of a RunFileCache, by the name as the routines spell it.
struct RunKeeping {
    int depth = 0;
    long run = 0;       // CurrentRun
    long last_run = 0;  // the number the last run took
    std::unordered_map<std::string, Kept<DirectFile::State>> files;
    // The mappings kept with them (MappedRecords), by the same names.
    std::unordered_map<std::string, Kept<const MappedRecords::Mapping>> maps;
};

RunKeeping& Keeping() {
    static RunKeeping keeping;
    return keeping;
}

// A file a write failed to reach (see NoteFailedWrite), in the order the
// failures came.
struct FailedFile {
    std::string path;
    bool keyed = false;  // found by key while the file is there
    FileKey key{};
    bool creating = false;  // the file did not exist and could not be made
    int error = 0;
    UnwrittenAs as = UnwrittenAs::kFile;
};

std::vector<FailedFile>& FailedFiles() {
    static std::vector<FailedFile> failed;
    return failed;
}

// KeepFailedWrites objects alive.
int g_keep_failed_writes = 0;

void NoteFailedFile(FailedFile file) {
    for (const FailedFile& f : FailedFiles()) {
        if (file.keyed ? (f.keyed && f.key == file.key) : (!f.keyed && f.path == file.path)) return;
    }
    FailedFiles().push_back(std::move(file));
}

// Forgets the kept files (each is written out as its last DirectFile
// closed).
void ForgetKeptFiles() {
    Keeping().files.clear();
    Keeping().maps.clear();
}

}  // namespace

bool InRun() {
    return Keeping().depth > 0;
}

std::string KeepKey(std::string_view name) {
    if (Keeping().depth == 0) return {};
    std::string key = TrimRight(name);
    for (char& c : key) {
        if (c == '\\') c = '/';
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (key == "COMMON.FIL" || key == "SECURITY.REC" || key == "SECURITY.IDX" || key == "SECURITY.EXT" ||
        key == "TYPENAME.DAT" || key == "SCATNAME.DAT")
        return key;
    if (key.size() == 12 && key.compare(0, 2, "SE") == 0 && key.compare(8, 4, ".PRC") == 0 &&
        key.find('/') == std::string::npos)
        return key;
    return {};
}

std::shared_ptr<DirectFile::State> KeptFile(const std::string& key) {
    const auto& files = Keeping().files;
    const auto it = files.find(key);
    return it == files.end() ? nullptr : it->second.held;
}

void KeepFile(const std::string& key, std::shared_ptr<DirectFile::State> state, const std::string& path) {
    Keeping().files.emplace(key, Kept<DirectFile::State>{path, std::move(state)});
}

std::shared_ptr<const MappedRecords::Mapping> KeptMapping(const std::string& key) {
    const auto& maps = Keeping().maps;
    const auto it = maps.find(key);
    return it == maps.end() ? nullptr : it->second.held;
}

void KeepMapping(const std::string& key, std::shared_ptr<const MappedRecords::Mapping> mapping,
                 const std::string& path) {
    Keeping().maps[key] = Kept<const MappedRecords::Mapping>{path, std::move(mapping)};
}

void ForgetKeptMapping(const std::string& key) {
    Keeping().maps.erase(key);
}

void ForgetKeptFile(const std::string& path) {
    std::erase_if(Keeping().files, [&path](const auto& entry) { return entry.second.path == path; });
    std::erase_if(Keeping().maps, [&path](const auto& entry) { return entry.second.path == path; });
}

bool KeepingFailedWrites() {
    return Keeping().depth > 0 || g_keep_failed_writes > 0;
}

void NoteFailedWrite(int fd, const std::string& path, int error) {
    if (!KeepingFailedWrites()) return;
    struct stat st;
    if (::fstat(fd, &st) != 0) return;
    NoteFailedFile(FailedFile{path, true, FileKey{st.st_dev, st.st_ino}, false, error});
}

void NoteUnwritableFile(const std::string& path, bool creating, int error, UnwrittenAs as) {
    if (KeepingFailedWrites()) NoteFailedFile(FailedFile{path, false, FileKey{}, creating, error, as});
}

int TakeFailedWrite(const FileKey& key) {
    int error = 0;
    std::erase_if(FailedFiles(), [&](const FailedFile& f) {
        if (!f.keyed || !(f.key == key)) return false;
        if (error == 0) error = f.error != 0 ? f.error : EIO;
        return true;
    });
    return error;
}

void FailedFileDeleted(const FileKey& key) {
    for (FailedFile& f : FailedFiles())
        if (f.keyed && f.key == key) f.keyed = false;
}

int FirstFailure() {
    if (FailedFiles().empty()) return 0;
    const int error = FailedFiles().front().error;
    return error != 0 ? error : EIO;
}

bool AnyFailedWrites() {
    return !FailedFiles().empty();
}

}  // namespace files_detail

using namespace files_detail;

namespace {

// The C library gives the free top of the heap back to the system once it
// exceeds 128 KiB, and maps each block of more than 128 KiB apart, until a
// freed mapped block raises that threshold; once a program sets either, it
// stops raising it. A run keeps the heap's top (more than a run's working
// storage ever comes to) and takes every block of up to 32 MiB, the
// highest threshold the library reaches by itself, from the heap; at its
// end the top goes back, and goes back after each free again.
constexpr int kTrimThreshold = 128 * 1024;
constexpr int kRunTrimThreshold = 1 << 30;
constexpr int kMapThreshold = 32 * 1024 * 1024;

}  // namespace

RunFileCache::RunFileCache() {
    RunKeeping& k = Keeping();
    if (k.depth++ == 0) {
        k.run = ++k.last_run;
        // A run answers for its own failures only: what an earlier run
        // left untold (one nobody asked) is not this run's.
        FailedFiles().clear();
        mallopt(M_MMAP_THRESHOLD, kMapThreshold);
        mallopt(M_TRIM_THRESHOLD, kRunTrimThreshold);
    }
}

RunFileCache::~RunFileCache() {
    RunKeeping& k = Keeping();
    // The kept files write out what they still buffer while the run
    // lasts, so that a write that fails then is kept for its end; then the
    // run's replacements go in place, or none does.
    if (k.depth == 1) {
        ForgetKeptFiles();
        // A file a routine left open writes out what it buffers now, so
        // that a write it loses still keeps the run's replacements out.
        FlushPendingWrites();
        PutRunReplacementsInPlace();
    }
    if (--k.depth == 0) {
        k.run = 0;
        mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
        malloc_trim(0);
    }
}

long CurrentRun() {
    return Keeping().run;
}

WriteFault FaultOfError(int error) {
    switch (error) {
        case EROFS:
            return WriteFault::kReadOnly;
        case ENOSPC:
        case EDQUOT:
            return WriteFault::kDiskFull;
        case EACCES:
        case EPERM:
            return WriteFault::kNoPermission;
        default:
            return WriteFault::kOther;
    }
}

std::vector<FailedWrite> TakeFailedWrites() {
    FlushPendingWrites();
    std::vector<FailedWrite> failed;
    for (const FailedFile& f : FailedFiles()) {
        FailedWrite w{f.path, f.creating, FaultOfError(f.error), f.as != UnwrittenAs::kFile,
                      f.as == UnwrittenAs::kDroppedReplacement};
        if (std::find(failed.begin(), failed.end(), w) == failed.end()) failed.push_back(std::move(w));
    }
    FailedFiles().clear();
    std::stable_sort(failed.begin(), failed.end(),
                     [](const FailedWrite& a, const FailedWrite& b) { return a.path < b.path; });
    return failed;
}

KeepFailedWrites::KeepFailedWrites() {
    ++g_keep_failed_writes;
}

KeepFailedWrites::~KeepFailedWrites() {
    --g_keep_failed_writes;
}

}  // namespace records
