// Files replaced whole: written beside the target and renamed over it, so
// the target is the old file or the new one, never a part of either
// (MoveFileOver, ReplaceFile, ReplaceFiles in files.h).

#include "records/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

bool MoveFileOver(std::string_view work, std::string_view target) {
    const std::string from = ResolveName(work);
    const std::string to = ResolveName(target);
    if (from.empty() || to.empty()) return false;
    FlushPendingWrites();
    struct stat st;
    if (::stat(from.c_str(), &st) != 0) return false;
    if (TakeFailedWrite(FileKey{st.st_dev, st.st_ino})) return false;
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
