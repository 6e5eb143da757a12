#pragma once

// What the record layer's file objects (record files, mappings, text files,
// replacements) share within the process: a file's identity, writes of a
// whole buffer, and writing out what each kind of object still buffers.
// Not for use outside the record layer's file code; callers use files.h.

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <functional>

namespace records::files_detail {

// A file as the kernel knows it: one device and inode, whatever name or
// spelling reached it.
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

// Writes size bytes from data at offset off, however many writes that
// takes; false when a write failed.
inline bool WriteAllAt(int fd, const void* data, std::size_t size, off_t off) {
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

// Write out the buffered writes of every open record file and every open
// text file (FlushPendingWrites does both).
void FlushDirectFiles();
void FlushTextFiles();

}  // namespace records::files_detail
