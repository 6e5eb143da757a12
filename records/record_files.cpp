// Direct-access record files: every DirectFile on one file shares one open
// file and one buffer of blocks read and writes gathered (files.h).

#include "records/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

// The open file and buffer that every DirectFile on one file shares.
struct DirectFile::State {
    int fd = -1;
    bool writable = false;
    int write_error = 0;  // why the open for writing was refused
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

// The shared states of the files open now (and of those a RunFileCache
// keeps), by device and inode.
std::unordered_map<FileKey, DirectFile::State*, FileKeyHash>& OpenStates() {
    static std::unordered_map<FileKey, DirectFile::State*, FileKeyHash> states;
    return states;
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
    const int error = ok ? 0 : errno;
    if (ok) disk_size = std::max(disk_size, pending_at + static_cast<off_t>(pending.size()));
    pending.clear();
    if (!ok) NoteFailedWrite(fd, path, writable ? error : write_error);
    return ok;
}

bool DirectFile::State::Flush() {
    const bool ok = WritePending();
    if (!cut_pending) return ok;
    cut_pending = false;
    if (disk_size <= size) return ok;
    if (::ftruncate(fd, size) != 0) {
        NoteFailedWrite(fd, path, writable ? errno : write_error);
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
    bool failed = false;
    const std::size_t got = ReadAllAt(fd, bytes, span, start, &failed);
    if (failed) return nullptr;
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
        if (std::shared_ptr<State> kept = KeptFile(key)) {
            state_ = std::move(kept);
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
    bool writable = false;
    int error = 0;
    const int fd = OpenForWriting(path, create, writable, error);
    if (fd < 0) {
        struct stat st;
        unopened_missing_ = ::stat(path.c_str(), &st) != 0;
        unopened_path_ = std::move(path);
        open_error_ = error;
        return;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return;
    }
    const FileKey key{st.st_dev, st.st_ino};
    auto& states = OpenStates();
    auto it = states.find(key);
    if (it != states.end()) {
        // Open already: share its file and buffer; the state lives while a
        // DirectFile or a RunFileCache holds it.
        DirectFile::State* shared = it->second;
        if (writable && !shared->writable) {
            ::close(shared->fd);
            shared->fd = fd;
            shared->writable = true;
            shared->write_error = 0;
        } else {
            ::close(fd);
        }
        state_ = shared->self.lock();
    } else {
        auto state = std::make_shared<State>();
        state->pending = TakeWriteBuffer();
        state->fd = fd;
        state->writable = writable;
        state->write_error = error;
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
    if (!name_key.empty()) KeepFile(std::string(name_key), state_, state_->path);
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

void DirectFile::NoteRefusedWrite() const {
    if (state_)
        NoteFailedWrite(state_->fd, state_->path, state_->write_error);
    else if (!unopened_path_.empty())
        NoteUnwritableFile(unopened_path_, unopened_missing_, open_error_);
}

bool DirectFile::Write(long n, const Record& rec) {
    if (n < 1) return false;
    if (!state_ || !state_->writable) {
        NoteRefusedWrite();
        return false;
    }
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
    if (s.pending.size() >= kMaxPending || !InRun()) return s.WritePending();
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
    // A file cut short while it was read keeps its whole records.
    bytes.resize(ReadAllAt(s.fd, bytes.data(), bytes.size(), start) / length_ * length_);
    return true;
}

bool DirectFile::WriteRecords(long first, const unsigned char* data, std::size_t count) {
    if (first < 1) return false;
    if (!state_ || !state_->writable) {
        NoteRefusedWrite();
        return false;
    }
    if (count == 0) return true;
    State& s = *state_;
    const off_t off = static_cast<off_t>(first - 1) * static_cast<off_t>(length_);
    if (!(s.cut_pending && off > s.size ? s.Flush() : s.WritePending())) return false;
    const std::size_t n = count * length_;
    const bool ok = WriteAllAt(s.fd, data, n, off);
    if (ok)
        s.disk_size = std::max(s.disk_size, off + static_cast<off_t>(n));
    else
        NoteFailedWrite(s.fd, s.path, errno);
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
    if (flushed && InRun() && length <= s.size && length < s.disk_size) {
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
        NoteFailedWrite(s.fd, s.path, s.writable ? errno : s.write_error);
        struct stat st;
        if (::fstat(s.fd, &st) == 0) s.size = s.disk_size = st.st_size;
        return false;
    }
    s.size = s.disk_size = static_cast<off_t>(n) * static_cast<off_t>(length_);
    return true;
}


namespace files_detail {

void FlushDirectFiles() {
    for (auto& [key, state] : OpenStates()) state->Flush();
}

}  // namespace files_detail

}  // namespace records
