// Sequential text files of lines (TextFile, files.h).

#include "records/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <unordered_set>

#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

namespace {

// Reads the whole file open on fd into out; false when a read failed.
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

// The text files open now, whose buffered lines FlushPendingWrites writes.
std::unordered_set<TextFile*>& OpenTextFiles() {
    static std::unordered_set<TextFile*> files;
    return files;
}

}  // namespace

namespace files_detail {

void FlushTextFiles() {
    for (TextFile* file : OpenTextFiles()) file->Flush();
}

}  // namespace files_detail

TextFile::TextFile(std::string_view name, bool create) : path_(ResolveName(name)) {
    if (path_.empty()) return;
    // Lines buffered for the same file by another TextFile go out first.
    FlushPendingWrites();
    fd_ = OpenForWriting(path_, create, writable_, open_error_);
    struct stat st;
    if (fd_ < 0) unopened_missing_ = ::stat(path_.c_str(), &st) != 0;
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
    if (failed_) return false;
    if (fd_ < 0 || !writable_) {
        // Kept, within a run, with the reason the open for writing gave.
        if (fd_ >= 0)
            NoteFailedWrite(fd_, path_, open_error_);
        else if (!path_.empty())
            NoteUnwritableFile(path_, unopened_missing_, open_error_);
        return false;
    }
    if (write_pos_ < 0) {
        // What follows the lines read is cut off once the first lines are
        // written over it, not before: on ext4 a file cut to nothing is
        // flushed to the disk as it closes.
        write_pos_ = static_cast<long long>(pos_);
        cut_pending_ = data_.size() > pos_;
    }
    AppendLine(out_, line);
    // Outside a run a line goes to the disk at once, as a record does, so
    // its caller learns of a failed write.
    if (out_.size() >= 65536 || !InRun()) return Flush();
    return true;
}

bool TextFile::Flush() {
    if (fd_ < 0) return false;
    if ((out_.empty() && !cut_pending_) || failed_) return !failed_;
    failed_ = !WriteAllAt(fd_, out_.data(), out_.size(), static_cast<off_t>(write_pos_));
    int error = failed_ ? errno : 0;
    write_pos_ += static_cast<long long>(out_.size());
    out_.clear();
    if (!failed_ && cut_pending_) {
        cut_pending_ = false;
        if (static_cast<long long>(data_.size()) > write_pos_) {
            failed_ = ::ftruncate(fd_, static_cast<off_t>(write_pos_)) != 0;
            if (failed_) error = errno;
        }
    }
    if (failed_) NoteFailedWrite(fd_, path_, error);
    return !failed_;
}

}  // namespace records
