// Record files mapped whole for reading (MappedRecords, files.h).

#include "records/files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <memory>
#include <utility>

#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

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
        if (std::shared_ptr<const Mapping> kept = KeptMapping(keep)) {
            struct stat now;
            const Mapping& held = *kept;
            if (held.path == path && ::stat(path.c_str(), &now) == 0 &&
                FileKey{now.st_dev, now.st_ino} == held.key && now.st_size == held.file_size) {
                mapping_ = std::move(kept);
                data_ = static_cast<const unsigned char*>(held.map);
                size_ = held.mapped / length_ * length_;
                return;
            }
            ForgetKeptMapping(keep);
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
            if (!keep.empty()) KeepMapping(keep, std::move(mapping), path);
        } else if (whole > 0) {
            copy_.resize(whole);
            copy_.resize(ReadAllAt(fd, copy_.data(), whole, 0) / length_ * length_);
            data_ = copy_.data();
            size_ = copy_.size();
        }
    }
    // The mapping stays valid once its file is closed.
    ::close(fd);
}

MappedRecords::~MappedRecords() = default;

}  // namespace records
