#include "records/files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <variant>

#include "records/directory_names.h"

namespace records {

namespace {

// Finds an entry of dir whose name equals part ignoring case; the exact
// spelling wins when it exists.
std::string MatchEntry(const std::string& dir, const std::string& part) {
    std::string probe = dir.empty() ? part : dir + "/" + part;
    struct stat st;
    if (::stat(probe.c_str(), &st) == 0) return part;
    return FindEntryIgnoringCase(dir, part).value_or(part);
}

bool ReadAll(int fd, std::string& out) {
    out.clear();
    char buf[65536];
    off_t off = 0;
    for (;;) {
        ssize_t n = ::pread(fd, buf, sizeof buf, off);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.append(buf, static_cast<std::size_t>(n));
        off += n;
    }
}

bool WriteAllAt(int fd, const void* data, std::size_t size, off_t off) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::pwrite(fd, p, size, off);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        off += n;
    }
    return true;
}

// The text files open now, whose buffered lines FlushPendingWrites writes.
std::unordered_set<TextFile*>& OpenTextFiles() {
    static std::unordered_set<TextFile*> files;
    return files;
}

void FlushTextFiles() {
    for (TextFile* file : OpenTextFiles()) file->Flush();
}

int OpenFd(const std::string& path, bool create) {
    int fd = ::open(path.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_CLOEXEC, 0644);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

}  // namespace

std::string ResolveName(std::string_view name) {
    std::string s = TrimRight(name);
    for (char& c : s)
        if (c == '\\') c = '/';
    if (s.size() >= 2 && (s[0] == 'A' || s[0] == 'a') && s[1] == ':') {
        s = "A/" + s.substr(2);
        if (s.size() > 2 && s[2] == '/') s.erase(2, 1);
    }
    if (s.empty()) return s;
    std::string result;
    std::string dir;
    std::size_t start = 0;
    if (s[0] == '/') {
        result = "/";
        dir = "/";
        start = 1;
    }
    while (start <= s.size()) {
        std::size_t slash = s.find('/', start);
        std::string part = s.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!part.empty()) {
            std::string matched = (part == "." || part == "..") ? part : MatchEntry(dir, part);
            if (!result.empty() && result.back() != '/') result += '/';
            result += matched;
            dir = result;
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return result;
}

// ---- DirectFile

// The open file and buffer that every DirectFile on one file shares.
struct DirectFile::State {
    int fd = -1;
    bool writable = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;
    off_t size = 0;  // the file's size with the buffered writes
    // Blocks read, by block number: block b holds the bytes from b x
    // kBlock, as many as the file had there (up to kBlock) when it was
    // read or since written. Writes change the blocks they touch.
    std::unordered_map<off_t, std::vector<unsigned char>> blocks;
    // Writes not yet on the disk: one run of bytes from pending_at.
    off_t pending_at = 0;
    std::vector<unsigned char> pending;
    // Within a run a file cut shorter stays as long on the disk until
    // something reads it by other means, a write leaves a gap past the
    // cut or the file closes, so that records written over the cut part
    // need no cut at all: on ext4 a file cut to nothing is flushed to the
    // disk as it closes, which a work file cut and written again for
    // every account would pay each time. Until then the disk holds stale
    // bytes from size to disk_size.
    off_t disk_size = 0;
    bool cut_pending = false;
    int handles = 0;  // DirectFile objects open on it
    off_t next_block = -1;  // the block after the last run read
    off_t run = 1;          // blocks the last read took
    std::weak_ptr<State> self;

    ~State();
    // Writes out the buffered writes; the disk then holds every byte up
    // to size (a pending cut aside).
    bool WritePending();
    // Writes out the buffered writes and makes a pending cut, so that the
    // disk holds the file exactly.
    bool Flush();
    // The block b, read from the disk unless held; nullptr when the file
    // cannot be read.
    const std::vector<unsigned char>* Block(off_t b);
    void Patch(off_t off, const unsigned char* data, std::size_t n);
};

namespace {

constexpr off_t kBlock = 8192;
// The most blocks one read takes.
constexpr off_t kMaxRun = 64;
// Buffered writes go out once they are this many bytes.
constexpr std::size_t kMaxPending = 262144;

struct FileKey {
    dev_t device;
    ino_t inode;
    bool operator==(const FileKey&) const = default;
};
struct FileKeyHash {
    std::size_t operator()(const FileKey& k) const {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(k.inode) * 1000003ULL ^
                                               static_cast<unsigned long long>(k.device));
    }
};

// The shared states of the files open now (and of those a RunFileCache
// keeps), by device and inode.
std::unordered_map<FileKey, DirectFile::State*, FileKeyHash>& OpenStates() {
    static std::unordered_map<FileKey, DirectFile::State*, FileKeyHash> states;
    return states;
}

// The kept files of a RunFileCache, by the name as the routines spell it.
struct RunKeeping {
    int depth = 0;
    long run = 0;       // CurrentRun
    long last_run = 0;  // the number the last run took
    std::unordered_map<std::string, std::shared_ptr<DirectFile::State>> kept;
    // The mappings kept with them (MappedRecords), by the same names.
    std::unordered_map<std::string, std::shared_ptr<const MappedRecords::Mapping>> kept_maps;
};
RunKeeping& Keeping() {
    static RunKeeping keeping;
    return keeping;
}

// The files a buffered write failed to reach, by device and inode, with
// their paths: a write that goes out when the last DirectFile or TextFile
// on a file closes has no caller left to tell, so the failure is kept here
// for MoveFileOver, which must not put such a file over its target, and
// for the end of a run, which tells it.
std::unordered_map<FileKey, std::string, FileKeyHash>& FailedWrites() {
    static std::unordered_map<FileKey, std::string, FileKeyHash> failed;
    return failed;
}

void NoteFailedWrite(int fd, const std::string& path) {
    // Outside a run every write goes out at once and its caller is told.
    if (Keeping().depth == 0) return;
    struct stat st;
    if (::fstat(fd, &st) == 0) FailedWrites().emplace(FileKey{st.st_dev, st.st_ino}, path);
}

// The name a kept file is found under: trimmed, upper case, "/"
// separators. Only COMMON.FIL, the securities master, the price files and
// the type and category names are kept; others give an empty key.
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

// Write buffers of files closed, kept for the files opened next: a run
// writes a work file or two an account, and a buffer grown afresh for
// each would fault its pages in again every time. Never destroyed, so a
// file closed as the program ends may still give its buffer back.
std::vector<std::vector<unsigned char>>& KeptWriteBuffers() {
    static auto* buffers = new std::vector<std::vector<unsigned char>>;
    return *buffers;
}

void KeepWriteBuffer(std::vector<unsigned char>&& buffer) {
    auto& kept = KeptWriteBuffers();
    if (buffer.capacity() < static_cast<std::size_t>(kBlock) || kept.size() >= 4) return;
    buffer.clear();
    kept.push_back(std::move(buffer));
}

std::vector<unsigned char> TakeWriteBuffer() {
    auto& kept = KeptWriteBuffers();
    if (kept.empty()) return {};
    std::vector<unsigned char> buffer = std::move(kept.back());
    kept.pop_back();
    return buffer;
}

// Where a run of blocks is read before it is cut into blocks: one buffer
// for every file, as large as the longest run, never cleared.
unsigned char* ReadScratch() {
    static auto* scratch = new unsigned char[static_cast<std::size_t>(kMaxRun * kBlock)];
    return scratch;
}

// Forgets the kept files (each is written out as its last DirectFile
// closed).
void ForgetKeptFiles() {
    Keeping().kept.clear();
    Keeping().kept_maps.clear();
}

// Forgets a kept file the program replaces or deletes by its path.
void ForgetKeptFile(const std::string& path) {
    std::erase_if(Keeping().kept, [&path](const auto& entry) { return entry.second->path == path; });
    std::erase_if(Keeping().kept_maps, [&path](const auto& entry) { return entry.second->path == path; });
}

}  // namespace

DirectFile::State::~State() {
    Flush();
    OpenStates().erase(FileKey{device, inode});
    if (fd >= 0) ::close(fd);
    KeepWriteBuffer(std::move(pending));
}

bool DirectFile::State::WritePending() {
    if (pending.empty()) return true;
    const bool ok = WriteAllAt(fd, pending.data(), pending.size(), pending_at);
    if (ok) disk_size = std::max(disk_size, pending_at + static_cast<off_t>(pending.size()));
    pending.clear();
    if (!ok) NoteFailedWrite(fd, path);
    return ok;
}

bool DirectFile::State::Flush() {
    const bool ok = WritePending();
    if (!cut_pending) return ok;
    cut_pending = false;
    if (disk_size <= size) return ok;
    if (::ftruncate(fd, size) != 0) {
        NoteFailedWrite(fd, path);
        return false;
    }
    disk_size = size;
    return ok;
}

const std::vector<unsigned char>* DirectFile::State::Block(off_t b) {
    const off_t start = b * kBlock;
    if (start >= size) return nullptr;
    const std::size_t want = static_cast<std::size_t>(std::min(kBlock, size - start));
    auto it = blocks.find(b);
    if (it != blocks.end() && it->second.size() >= want) return &it->second;
    // Not held, or held shorter than the file now is there: the disk has
    // the rest once the buffered writes are out.
    if (!WritePending()) return nullptr;
    // A file read in order is read in ever larger runs of blocks, one
    // read a run; a record here and there costs one block.
    run = b == next_block ? std::min<off_t>(run * 2, kMaxRun) : 1;
    next_block = b + run;
    const std::size_t span = static_cast<std::size_t>(std::min(run * kBlock, size - start));
    unsigned char* const bytes = ReadScratch();
    std::size_t got = 0;
    while (got < span) {
        const ssize_t r = ::pread(fd, bytes + got, span - got, start + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return nullptr;
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    for (std::size_t at = 0; at < got || at == 0; at += static_cast<std::size_t>(kBlock)) {
        const std::size_t n = std::min(got - std::min(got, at), static_cast<std::size_t>(kBlock));
        blocks[b + static_cast<off_t>(at / static_cast<std::size_t>(kBlock))].assign(bytes + at, bytes + at + n);
        if (n < static_cast<std::size_t>(kBlock)) break;
    }
    return &blocks[b];
}

void DirectFile::State::Patch(off_t off, const unsigned char* data, std::size_t n) {
    const off_t end = off + static_cast<off_t>(n);
    for (off_t b = off / kBlock; b * kBlock < end; ++b) {
        auto it = blocks.find(b);
        if (it == blocks.end()) continue;
        std::vector<unsigned char>& block = it->second;
        const off_t from = std::max(off, b * kBlock);
        const off_t to = std::min(end, (b + 1) * kBlock);
        const std::size_t at = static_cast<std::size_t>(from - b * kBlock);
        const std::size_t until = static_cast<std::size_t>(to - b * kBlock);
        // Bytes between the block's end and the write were never written:
        // the file reads them as zeros.
        if (block.size() < until) block.resize(until, 0);
        std::memcpy(block.data() + at, data + (from - off), until - at);
    }
}

DirectFile::DirectFile(std::string_view name, std::size_t record_length, bool create) : length_(record_length) {
    if (length_ == 0) return;
    const std::string key = KeepKey(name);
    if (!key.empty()) {
        auto it = Keeping().kept.find(key);
        if (it != Keeping().kept.end()) {
            state_ = it->second;
            ++state_->handles;
            return;
        }
    }
    Open(key, ResolveName(name), create);
}

DirectFile::DirectFile(const ResolvedPath& path, std::size_t record_length, bool create) : length_(record_length) {
    if (length_ > 0) Open({}, path.path, create);
}

void DirectFile::Open(std::string_view name_key, std::string path, bool create) {
    if (path.empty()) return;
    int fd = ::open(path.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_CLOEXEC, 0644);
    bool writable = fd >= 0;
    if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return;
    }
    const FileKey key{st.st_dev, st.st_ino};
    auto& states = OpenStates();
    auto it = states.find(key);
    if (it != states.end()) {
        // Open already: share its file and buffer. The aliasing pointer
        // only counts handles; the state lives while a DirectFile or a
        // RunFileCache holds it.
        DirectFile::State* shared = it->second;
        if (writable && !shared->writable) {
            ::close(shared->fd);
            shared->fd = fd;
            shared->writable = true;
        } else {
            ::close(fd);
        }
        state_ = shared->self.lock();
    } else {
        auto state = std::make_shared<State>();
        state->pending = TakeWriteBuffer();
        state->fd = fd;
        state->writable = writable;
        state->device = st.st_dev;
        state->inode = st.st_ino;
        state->path = std::move(path);
        state->size = st.st_size;
        state->disk_size = st.st_size;
        state->self = state;
        states.emplace(key, state.get());
        state_ = std::move(state);
    }
    ++state_->handles;
    if (!name_key.empty()) Keeping().kept.emplace(std::string(name_key), state_);
}

DirectFile::~DirectFile() {
    if (state_ && --state_->handles == 0) state_->Flush();
}

const std::string& DirectFile::path() const {
    static const std::string none;
    return state_ ? state_->path : none;
}

bool DirectFile::Read(long n, Record& rec) const {
    if (!state_ || n < 1) return false;
    State& s = *state_;
    const off_t off = static_cast<off_t>(n - 1) * static_cast<off_t>(length_);
    const off_t end = off + static_cast<off_t>(length_);
    if (end > s.size) return false;
    rec.bytes().resize(length_);
    for (off_t at = off; at < end;) {
        const off_t b = at / kBlock;
        const std::vector<unsigned char>* block = s.Block(b);
        const off_t until = std::min(end, (b + 1) * kBlock);
        // A file cut short by other means reads as far as it goes.
        if (block == nullptr || static_cast<off_t>(block->size()) < until - b * kBlock) return false;
        std::memcpy(rec.data() + (at - off), block->data() + (at - b * kBlock), static_cast<std::size_t>(until - at));
        at = until;
    }
    return true;
}

bool DirectFile::Write(long n, const Record& rec) {
    if (!state_ || !state_->writable || n < 1) return false;
    State& s = *state_;
    const off_t off = static_cast<off_t>(n - 1) * static_cast<off_t>(length_);
    // A write past a pending cut would leave stale bytes in the gap.
    if (s.cut_pending && off > s.size && !s.Flush()) return false;
    // A shorter record leaves the rest of the slot zero; a longer one is cut.
    const std::size_t copied = std::min(rec.size(), length_);
    const off_t pending_end = s.pending_at + static_cast<off_t>(s.pending.size());
    if (!s.pending.empty() && off >= s.pending_at && off <= pending_end) {
        // Over or right after the buffered run: the run takes it.
        const std::size_t at = static_cast<std::size_t>(off - s.pending_at);
        if (s.pending.size() < at + length_) s.pending.resize(at + length_);
        std::memcpy(s.pending.data() + at, rec.data(), copied);
        std::memset(s.pending.data() + at + copied, 0, length_ - copied);
        s.Patch(off, s.pending.data() + at, length_);
    } else {
        if (!s.WritePending()) return false;
        s.pending_at = off;
        s.pending.assign(length_, 0);
        std::memcpy(s.pending.data(), rec.data(), copied);
        s.Patch(off, s.pending.data(), length_);
    }
    s.size = std::max(s.size, off + static_cast<off_t>(length_));
    // Outside a run (a dialog posting, saving a set-up) a record goes to
    // the disk at once, so its caller learns of a failed write; a run's
    // writes go out together and a failure is told at the run's end.
    if (s.pending.size() >= kMaxPending || Keeping().depth == 0) return s.WritePending();
    return true;
}

bool DirectFile::ReadWhole(std::vector<unsigned char>& bytes) const {
    return ReadRange(1, static_cast<std::size_t>(Count()), bytes);
}

bool DirectFile::ReadRange(long first, std::size_t count, std::vector<unsigned char>& bytes) const {
    bytes.clear();
    if (!state_ || first < 1) return false;
    State& s = *state_;
    if (!s.WritePending()) return false;
    const long records = Count();
    if (first > records) return true;
    count = std::min(count, static_cast<std::size_t>(records - first + 1));
    const off_t start = static_cast<off_t>(first - 1) * static_cast<off_t>(length_);
    bytes.resize(count * length_);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::pread(s.fd, bytes.data() + got, bytes.size() - got, start + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    // A file cut short while it was read keeps its whole records.
    bytes.resize(got / length_ * length_);
    return true;
}

bool DirectFile::WriteRecords(long first, const unsigned char* data, std::size_t count) {
    if (!state_ || !state_->writable || first < 1) return false;
    if (count == 0) return true;
    State& s = *state_;
    const off_t off = static_cast<off_t>(first - 1) * static_cast<off_t>(length_);
    if (!(s.cut_pending && off > s.size ? s.Flush() : s.WritePending())) return false;
    const std::size_t n = count * length_;
    const bool ok = WriteAllAt(s.fd, data, n, off);
    if (ok) s.disk_size = std::max(s.disk_size, off + static_cast<off_t>(n));
    s.Patch(off, data, n);
    s.size = std::max(s.size, off + static_cast<off_t>(n));
    return ok;
}

long DirectFile::Count() const {
    if (!state_) return 0;
    return static_cast<long>(state_->size / static_cast<off_t>(length_));
}

bool DirectFile::Truncate(long n) {
    if (!state_ || n < 0) return false;
    State& s = *state_;
    bool flushed = s.WritePending();
    s.blocks.clear();
    const off_t length = static_cast<off_t>(n) * static_cast<off_t>(length_);
    // Within a run a cut shorter waits (see State::cut_pending).
    if (flushed && Keeping().depth > 0 && length <= s.size && length < s.disk_size) {
        s.size = length;
        s.cut_pending = true;
        return true;
    }
    flushed = s.Flush() && flushed;
    // A file that has the length already is left alone: on a file system
    // that flushes a file cut to nothing as it closes (ext4), cutting a
    // freshly created work file would send its records to the disk, and
    // deleting it would then wait for them.
    if (flushed && s.size == length) {
        struct stat st;
        if (::fstat(s.fd, &st) == 0 && st.st_size == length) return true;
    }
    if (::ftruncate(s.fd, static_cast<off_t>(n) * static_cast<off_t>(length_)) != 0) {
        struct stat st;
        if (::fstat(s.fd, &st) == 0) s.size = s.disk_size = st.st_size;
        return false;
    }
    s.size = s.disk_size = static_cast<off_t>(n) * static_cast<off_t>(length_);
    return true;
}

void FlushPendingWrites() {
    for (auto& [key, state] : OpenStates()) state->Flush();
    FlushTextFiles();
}

RunFileCache::RunFileCache() {
    RunKeeping& k = Keeping();
    if (k.depth++ == 0) k.run = ++k.last_run;
}

RunFileCache::~RunFileCache() {
    RunKeeping& k = Keeping();
    if (--k.depth == 0) {
        k.run = 0;
        ForgetKeptFiles();
    }
}

long CurrentRun() {
    return Keeping().run;
}

// ---- MappedRecords

// A file mapped whole, shared by the MappedRecords that read it.
struct MappedRecords::Mapping {
    void* map = nullptr;  // what munmap releases
    std::size_t mapped = 0;
    FileKey key{};
    off_t file_size = 0;  // the file's size when it was mapped
    std::string path;

    Mapping(void* m, std::size_t n, const struct stat& st, std::string p)
        : map(m), mapped(n), key{st.st_dev, st.st_ino}, file_size(st.st_size), path(std::move(p)) {}
    ~Mapping() { ::munmap(map, mapped); }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
};

MappedRecords::MappedRecords(std::string_view name, std::size_t record_length) : length_(record_length) {
    const std::string path = ResolveName(name);
    if (path.empty() || length_ == 0) return;
    // A DirectFile may hold writes to the file that are not on the disk yet.
    FlushPendingWrites();
    const std::string keep = KeepKey(name);
    if (!keep.empty()) {
        auto& kept = Keeping().kept_maps;
        if (const auto it = kept.find(keep); it != kept.end()) {
            struct stat now;
            const Mapping& held = *it->second;
            if (held.path == path && ::stat(path.c_str(), &now) == 0 &&
                FileKey{now.st_dev, now.st_ino} == held.key && now.st_size == held.file_size) {
                mapping_ = it->second;
                data_ = static_cast<const unsigned char*>(held.map);
                size_ = held.mapped / length_ * length_;
                return;
            }
            kept.erase(it);
        }
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
        const std::size_t whole = static_cast<std::size_t>(st.st_size) / length_ * length_;
        void* map = whole == 0 ? MAP_FAILED : ::mmap(nullptr, whole, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            auto mapping = std::make_shared<const Mapping>(map, whole, st, path);
            mapping_ = mapping;
            data_ = static_cast<const unsigned char*>(map);
            size_ = whole;
            if (!keep.empty()) Keeping().kept_maps[keep] = std::move(mapping);
        } else if (whole > 0) {
            copy_.resize(whole);
            std::size_t got = 0;
            while (got < whole) {
                const ssize_t r = ::pread(fd, copy_.data() + got, whole - got, static_cast<off_t>(got));
                if (r < 0 && errno == EINTR) continue;
                if (r <= 0) break;
                got += static_cast<std::size_t>(r);
            }
            copy_.resize(got / length_ * length_);
            data_ = copy_.data();
            size_ = copy_.size();
        }
    }
    // The mapping stays valid once its file is closed.
    ::close(fd);
}

MappedRecords::~MappedRecords() = default;

// ---- TextFile

TextFile::TextFile(std::string_view name, bool create) : path_(ResolveName(name)) {
    if (path_.empty()) return;
    // Lines buffered for the same file by another TextFile go out first.
    FlushPendingWrites();
    fd_ = OpenFd(path_, create);
    if (fd_ >= 0 && !ReadAll(fd_, data_)) data_.clear();
    if (fd_ >= 0) OpenTextFiles().insert(this);
}

TextFile::~TextFile() {
    if (fd_ < 0) return;
    Flush();
    OpenTextFiles().erase(this);
    ::close(fd_);
}

bool TextFile::ReadLine(std::string& line) {
    if (fd_ < 0 || write_pos_ >= 0 || pos_ >= data_.size()) return false;
    std::size_t nl = data_.find('\n', pos_);
    std::size_t end = nl == std::string::npos ? data_.size() : nl;
    line.assign(data_, pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos_ = nl == std::string::npos ? data_.size() : nl + 1;
    return true;
}

bool TextFile::WriteLine(std::string_view line) {
    if (fd_ < 0 || failed_) return false;
    if (write_pos_ < 0) {
        // What follows the lines read is cut off once the first lines are
        // written over it, not before: on ext4 a file cut to nothing is
        // flushed to the disk as it closes.
        write_pos_ = static_cast<long long>(pos_);
        cut_pending_ = data_.size() > pos_;
    }
    out_.append(line);
    out_ += "\r\n";
    // Outside a run a line goes to the disk at once, as a record does, so
    // its caller learns of a failed write.
    if (out_.size() >= 65536 || Keeping().depth == 0) return Flush();
    return true;
}

bool TextFile::Flush() {
    if (fd_ < 0) return false;
    if ((out_.empty() && !cut_pending_) || failed_) return !failed_;
    failed_ = !WriteAllAt(fd_, out_.data(), out_.size(), static_cast<off_t>(write_pos_));
    write_pos_ += static_cast<long long>(out_.size());
    out_.clear();
    if (!failed_ && cut_pending_) {
        cut_pending_ = false;
        if (static_cast<long long>(data_.size()) > write_pos_)
            failed_ = ::ftruncate(fd_, static_cast<off_t>(write_pos_)) != 0;
    }
    if (failed_) NoteFailedWrite(fd_, path_);
    return !failed_;
}

// ---- Unit table

namespace {

using UnitEntry = std::variant<std::monostate, std::unique_ptr<DirectFile>, std::unique_ptr<TextFile>>;

std::array<UnitEntry, kMaxUnit + 1>& Units() {
    static std::array<UnitEntry, kMaxUnit + 1> units;
    return units;
}

bool ValidUnit(int unit) {
    return unit >= 1 && unit <= kMaxUnit;
}

DirectFile* Direct(int unit) {
    if (!ValidUnit(unit)) return nullptr;
    auto* p = std::get_if<std::unique_ptr<DirectFile>>(&Units()[unit]);
    return p ? p->get() : nullptr;
}

TextFile* Text(int unit) {
    if (!ValidUnit(unit)) return nullptr;
    auto* p = std::get_if<std::unique_ptr<TextFile>>(&Units()[unit]);
    return p ? p->get() : nullptr;
}

UnitReopenCheck& ReopenCheck() {
    static UnitReopenCheck check = nullptr;
    return check;
}

// Tells the check, when one is set, of an open over a unit that still
// holds a file.
void CheckReopen(int unit, std::string_view opening) {
    const UnitReopenCheck check = ReopenCheck();
    if (check == nullptr) return;
    if (const DirectFile* f = Direct(unit))
        check(unit, f->path(), opening);
    else if (const TextFile* t = Text(unit))
        check(unit, t->path(), opening);
}

void OpenText(int unit, std::string_view name, std::size_t width) {
    if (!ValidUnit(unit)) return;
    CheckReopen(unit, name);
    Units()[unit] = std::make_unique<TextFile>(name.substr(0, width < name.size() ? width : name.size()));
}

}  // namespace

void OpenDirect(int unit, std::string_view name, std::size_t record_length) {
    if (!ValidUnit(unit)) return;
    CheckReopen(unit, name);
    Units()[unit] = std::monostate{};  // close what the unit had first
    Units()[unit] =
        std::make_unique<DirectFile>(name.substr(0, name.size() < 12 ? name.size() : 12), record_length);
}

void Open(int unit, std::string_view name) {
    OpenDirect(unit, name, 128);
}
void Opn132(int unit, std::string_view name) {
    OpenDirect(unit, name, 132);
}
void Open8(int unit, std::string_view name) {
    OpenDirect(unit, name, 8);
}
void Open2(int unit, std::string_view name) {
    OpenDirect(unit, name, 256);
}
void Open3(int unit, std::string_view name) {
    OpenDirect(unit, name, 384);
}
void Open4(int unit, std::string_view name) {
    OpenDirect(unit, name, 512);
}
void Openaw(int unit, std::string_view name) {
    OpenText(unit, name, 12);
}
void Opena(int unit, std::string_view name) {
    OpenText(unit, name, 12);
}
void Openaw2(int unit, std::string_view name) {
    OpenText(unit, name, 48);
}

UnitReopenCheck SetUnitReopenCheck(UnitReopenCheck check) {
    return std::exchange(ReopenCheck(), check);
}

void Close(int unit) {
    if (ValidUnit(unit)) Units()[unit] = std::monostate{};
}

bool CloseDelete(int unit) {
    std::string path;
    bool open = false;
    if (DirectFile* f = Direct(unit)) {
        path = f->path();
        open = f->ok();
    } else if (TextFile* t = Text(unit)) {
        path = t->path();
        open = t->ok();
    }
    Close(unit);
    if (!open) return false;
    ForgetKeptFile(path);
    return ::unlink(path.c_str()) == 0;
}

bool IsOpen(int unit) {
    if (DirectFile* f = Direct(unit)) return f->ok();
    if (TextFile* t = Text(unit)) return t->ok();
    return false;
}

bool ReadRecord(int unit, long n, Record& rec) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->Read(n, rec);
}

bool WriteRecord(int unit, long n, const Record& rec) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->Write(n, rec);
}

bool WriteRecords(int unit, long first, const unsigned char* data, std::size_t count) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->WriteRecords(first, data, count);
}

bool ReadRecords(int unit, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const DirectFile* f = Direct(unit);
    return f != nullptr && f->ReadWhole(bytes);
}

bool ReadRecords(int unit, long first, std::size_t count, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const DirectFile* f = Direct(unit);
    return f != nullptr && f->ReadRange(first, count, bytes);
}

long RecordCount(int unit) {
    DirectFile* f = Direct(unit);
    return f != nullptr ? f->Count() : 0;
}

std::size_t RecordLength(int unit) {
    DirectFile* f = Direct(unit);
    return f != nullptr ? f->record_length() : 0;
}

bool ReadLine(int unit, std::string& line) {
    TextFile* t = Text(unit);
    return t != nullptr && t->ReadLine(line);
}

bool WriteLine(int unit, std::string_view line) {
    TextFile* t = Text(unit);
    return t != nullptr && t->WriteLine(line);
}

void Purge(std::string_view name) {
    Open(22, name);
    CloseDelete(22);
}

std::vector<std::string> TakeFailedWrites() {
    FlushPendingWrites();
    std::vector<std::string> paths;
    for (const auto& [key, path] : FailedWrites()) paths.push_back(path);
    FailedWrites().clear();
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool MoveFileOver(std::string_view work, std::string_view target) {
    const std::string from = ResolveName(work);
    const std::string to = ResolveName(target);
    if (from.empty() || to.empty()) return false;
    FlushPendingWrites();
    struct stat st;
    if (::stat(from.c_str(), &st) != 0) return false;
    if (FailedWrites().erase(FileKey{st.st_dev, st.st_ino}) != 0) return false;
    ForgetKeptFile(to);
    return ::rename(from.c_str(), to.c_str()) == 0;
}

namespace {

struct Replacement {
    std::string_view name;
    const std::vector<unsigned char>& bytes;
};

// Writes every file beside its target ("<target>.new"), then renames them
// over their targets once all were written. The position of the first file
// that failed, or the number of files when all were replaced; the files
// not yet renamed keep their old content.
std::size_t WriteBesideAndRename(const std::vector<Replacement>& files) {
    std::vector<std::pair<std::string, std::string>> written;  // temp, target
    auto discard = [&written] {
        for (const auto& w : written) ::unlink(w.first.c_str());
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string path = ResolveName(files[i].name);
        if (path.empty()) {
            discard();
            return i;
        }
        ForgetKeptFile(path);
        const std::string temp = path + ".new";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            discard();
            return i;
        }
        bool ok = WriteAllAt(fd, files[i].bytes.data(), files[i].bytes.size(), 0) && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        written.emplace_back(temp, path);
        if (!ok) {
            discard();
            return i;
        }
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (::rename(written[i].first.c_str(), written[i].second.c_str()) != 0) {
            for (std::size_t j = i; j < written.size(); ++j) ::unlink(written[j].first.c_str());
            return i;
        }
    }
    return files.size();
}

}  // namespace

bool ReplaceFile(std::string_view name, const std::vector<unsigned char>& bytes) {
    return WriteBesideAndRename({Replacement{name, bytes}}) == 1;
}

std::string ReplaceFiles(const std::vector<FileReplacement>& files) {
    std::vector<Replacement> replacements;
    replacements.reserve(files.size());
    for (const FileReplacement& f : files) replacements.push_back(Replacement{f.name, f.bytes});
    const std::size_t failed = WriteBesideAndRename(replacements);
    return failed == files.size() ? std::string() : files[failed].name;
}

}  // namespace records
