#pragma once

// One copy of the batch program at a time. A second copy would dial the same
// line and write the same answer and log files, so the program holds an
// exclusive lock on a file in the configuration folder (beside VEXA.INI) for
// its whole life; a copy that cannot take it does not run. The lock is
// released by the system when the process ends in any way, so a crashed
// copy never blocks the next one.

#include <filesystem>
#include <string>

namespace feedbatch {

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock on `path` (the file is made when missing, and its
    // folder too). False when another holder has it or the file cannot be
    // made; Error() then says which.
    bool Acquire(const std::filesystem::path& path);
    void Release();
    bool Held() const { return fd_ >= 0; }
    const std::string& Error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

// The lock file of the batch program: VEXA32.lck in the configuration folder.
std::filesystem::path BatchLockPath();

}  // namespace feedbatch
