#include "feedbatch/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/profile.h"

namespace feedbatch {

SingleInstanceLock::~SingleInstanceLock() {
    Release();
}

bool SingleInstanceLock::Acquire(const std::filesystem::path& path) {
    Release();
    error_.clear();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    // Close-on-exec: a program this one starts must not keep the lock.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error_ = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    // flock belongs to the open file, so even a second holder in the same
    // process is refused.
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error_ = errno == EWOULDBLOCK ? "another copy is running (" + path.string() + " is locked)"
                                      : "cannot lock " + path.string() + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

std::filesystem::path BatchLockPath() {
    return platform::ProfileDirectory() / "VEXA32.lck";
}

}  // namespace feedbatch
