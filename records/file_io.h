#pragma once

// What the record layer's file objects (record files, mappings, text files,
// replacements) share within the process: a file's identity, writes of a
// whole buffer, and writing out what each kind of object still buffers.
// Not for use outside the record layer's file code; callers use files.h.

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

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

// Opens path to read and write (creating it when asked), or to read only
// where writing is refused; -1 when neither open succeeded. writable says
// which; error is the system's error number of the refused read-write
// open (0 when it succeeded), which a write to the file is then told as.
inline int OpenForWriting(const std::string& path, bool create, bool& writable, int& error) {
    int fd = ::open(path.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_CLOEXEC, 0644);
    writable = fd >= 0;
    error = fd >= 0 ? 0 : errno;
    if (fd < 0 && (error == EACCES || error == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

// A line as text files hold it: the line, then CR LF.
inline void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out += "\r\n";
}

// Reads up to size bytes at offset off into data, however many reads that
// takes, and stops early at the end of the file or at a failed read (then
// failed, where given, is set); the bytes read.
inline std::size_t ReadAllAt(int fd, void* data, std::size_t size, off_t off, bool* failed = nullptr) {
    char* p = static_cast<char*>(data);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, p + got, size - got, off + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && failed != nullptr) *failed = true;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

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
