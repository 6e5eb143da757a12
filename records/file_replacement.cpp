// Files replaced whole: written beside the target and renamed over it, so
// the target is the old file or the new one, never a part of either
// (MoveFileOver, ReplaceFile, ReplaceFiles in files.h).

#include "records/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

namespace {

// The name a file is written under beside its target before it is
// renamed over it.
std::string BesideName(const std::string& path) {
    return path + ".new";
}

// Takes the failed writes of the file at path, after writing out what is
// still buffered: the system's error number of the first, 0 when there
// were none. A file that is not there has none (a work file that could
// not be made fails the move itself).
int TakeLostWritesAt(const std::string& path) {
    FlushPendingWrites();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return 0;
    return TakeFailedWrite(FileKey{st.st_dev, st.st_ino});
}

}  // namespace

bool MoveFileOver(std::string_view work, std::string_view target) {
    const std::string from = ResolveName(work);
    const std::string to = ResolveName(target);
    if (from.empty() || to.empty()) return false;
    // A work file that is not there fails the rename itself.
    if (const int error = TakeLostWritesAt(from); error != 0) {
        errno = error;
        return false;
    }
    ForgetKeptFile(to);
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<WriteFault> TakeLostWrites(std::string_view work) {
    const std::string path = ResolveName(work);
    const int error = path.empty() ? 0 : TakeLostWritesAt(path);
    if (error == 0) return std::nullopt;
    return FaultOfError(error);
}

TextReplacement::TextReplacement(std::string_view target) : target_(ResolveName(target)) {
    if (target_.empty()) return;
    beside_ = BesideName(target_);
    ForgetKeptFile(beside_);
    // The file beside is written from its start and cut to its new length
    // when done (Commit), not emptied as it opens: within a run it may
    // still hold what an earlier replacement of the same target left for
    // the run's end, and a file system that writes a file out at its close
    // once it was emptied and written anew (ext4, so that a rewrite in
    // place survives a crash) would then write every such replacement out,
    // and wait, where one written in place costs only memory.
    fd_ = ::open(beside_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) error_ = errno;
}

TextReplacement::~TextReplacement() {
    Commit();
}

bool TextReplacement::WriteLine(std::string_view line) {
    if (fd_ < 0 || error_ != 0) return false;
    AppendLine(out_, line);
    return out_.size() < 65536 || WriteOut();
}

bool TextReplacement::WriteOut() {
    if (out_.empty() || error_ != 0) return error_ == 0;
    if (!WriteAllAt(fd_, out_.data(), out_.size(), static_cast<off_t>(written_))) error_ = errno != 0 ? errno : EIO;
    written_ += static_cast<long long>(out_.size());
    out_.clear();
    return error_ == 0;
}

namespace {

// The replacements of the run, written beside their targets and put in
// place at its end.
struct PendingReplacement {
    std::string beside;
    std::string target;
};

std::vector<PendingReplacement>& PendingReplacements() {
    static std::vector<PendingReplacement> pending;
    return pending;
}

// Moves the file written beside the target over it unless its own
// failure (error) or that of its run (run_error) says no; then the file
// beside is removed and the replacement kept as refused, with the fault
// of the failure (dropped when only the run's failure refused it).
bool PutInPlace(const std::string& beside, const std::string& target, int error, int run_error = 0) {
    if (error == 0 && run_error == 0) {
        errno = 0;
        if (MoveFileOver(beside, target)) return true;
        error = errno != 0 ? errno : EIO;
    }
    ::unlink(beside.c_str());
    struct stat st;
    const bool creating = ::stat(target.c_str(), &st) != 0;
    if (error != 0)
        NoteUnwritableFile(target, creating, error, UnwrittenAs::kReplacement);
    else
        NoteUnwritableFile(target, creating, run_error, UnwrittenAs::kDroppedReplacement);
    return false;
}

}  // namespace

bool TextReplacement::Commit() {
    if (done_) return committed_;
    done_ = true;
    if (target_.empty()) return false;
    if (fd_ >= 0) {
        WriteOut();
        // What an earlier content left past the end of this one goes.
        struct stat st;
        if (error_ == 0 && (::fstat(fd_, &st) != 0 || (st.st_size > written_ && ::ftruncate(fd_, written_) != 0)))
            error_ = errno != 0 ? errno : EIO;
        if (::close(fd_) != 0 && error_ == 0) error_ = errno;
        fd_ = -1;
    }
    // Within a run the file waits beside its target for the run's end (a
    // later replacement of the same target takes its place there).
    if (error_ == 0 && InRun()) {
        std::vector<PendingReplacement>& pending = PendingReplacements();
        std::erase_if(pending, [this](const PendingReplacement& p) { return p.target == target_; });
        pending.push_back(PendingReplacement{beside_, target_});
        return committed_ = true;
    }
    return committed_ = PutInPlace(beside_, target_, error_);
}

namespace files_detail {

void PutRunReplacementsInPlace() {
    std::vector<PendingReplacement> pending;
    pending.swap(PendingReplacements());
    // Once anything failed none goes in: the earlier files are kept
    // together rather than some replaced by what the run made before the
    // failure (or from data it lost).
    const int error = FirstFailure();
    for (const PendingReplacement& p : pending) PutInPlace(p.beside, p.target, 0, error);
}

}  // namespace files_detail

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
        const std::string temp = BesideName(path);
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
