#include "records/directory_names.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace records {

namespace {

std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// A directory is known by its device and inode, not by the path it was
// asked under: "" (the current directory) names another directory once
// the program changes its data directory.
using DirKey = std::pair<dev_t, ino_t>;

// The entry events that change what a directory holds, and the directory's
// own end (deleted, moved away, its file system unmounted).
constexpr uint32_t kWatchMask =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

struct KeptListing {
    int wd = -1;
    // Folded name -> the names spelt so, in the order they were met.
    std::unordered_map<std::string, std::vector<std::string>> names;

    void Add(const std::string& name) {
        std::vector<std::string>& spelt = names[Folded(name)];
        for (const std::string& s : spelt)
            if (s == name) return;
        spelt.push_back(name);
    }
    void Remove(const std::string& name) {
        const auto it = names.find(Folded(name));
        if (it == names.end()) return;
        std::erase(it->second, name);
        if (it->second.empty()) names.erase(it);
    }
};

class DirectoryNames {
public:
    // The watch queue is started with the first watch.
    DirectoryNames() : pid_(::getpid()) {}
    ~DirectoryNames() {
        if (fd_ >= 0) ::close(fd_);
    }
    DirectoryNames(const DirectoryNames&) = delete;
    DirectoryNames& operator=(const DirectoryNames&) = delete;

    std::optional<std::string> Find(const std::string& dir, const std::string& part) {
        const std::string path = dir.empty() ? "." : dir;
        const std::lock_guard<std::mutex> lock(mutex_);
        RenewAfterFork();
        struct stat st;
        if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
        const DirKey key{st.st_dev, st.st_ino};
        ApplyEvents();
        if (const auto it = kept_.find(key); it != kept_.end()) {
            ++counts_.kept;
            return Lookup(it->second, part);
        }
        ++counts_.listed;
        // The first few listings of a directory are read and dropped: a
        // short program (a batch run, a rebuild) asks a handful of absent
        // names, and a watch would cost it more than the listings, since
        // taking the watch down when the program ends waits for the
        // kernel's grace period (milliseconds). A program that keeps asking
        // gets the watch.
        const bool keep = ++reads_[key] > kReadsBeforeWatch;
        if (!keep) return ReadListing(path, part);
        // The watch is set before the listing is read, so that an entry
        // created or deleted while it is read is applied after it.
        if (fd_ == kNotStarted) fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        const int wd = fd_ >= 0 ? ::inotify_add_watch(fd_, path.c_str(), kWatchMask) : -1;
        KeptListing listing;
        listing.wd = wd;
        DIR* d = ::opendir(path.c_str());
        if (d == nullptr) {
            Unwatch(wd);
            return std::nullopt;
        }
        struct stat listed;
        const bool same = ::fstat(::dirfd(d), &listed) == 0 && DirKey{listed.st_dev, listed.st_ino} == key;
        while (dirent* e = ::readdir(d)) listing.Add(e->d_name);
        ::closedir(d);
        std::optional<std::string> found = Lookup(listing, part);
        if (wd >= 0 && same) {
            by_wd_[wd] = key;
            kept_[key] = std::move(listing);
        } else {
            Unwatch(wd);
        }
        return found;
    }

    DirectoryNameCounts Counts() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return counts_;
    }

private:
    static constexpr int kNotStarted = -2;
    static constexpr int kReadsBeforeWatch = 3;

    // The listing read once, for this look-up only.
    static std::optional<std::string> ReadListing(const std::string& path, const std::string& part) {
        DIR* d = ::opendir(path.c_str());
        if (d == nullptr) return std::nullopt;
        // The first entry met, as a kept listing answers.
        const std::string folded = Folded(part);
        std::optional<std::string> found;
        while (dirent* e = ::readdir(d)) {
            if (Folded(e->d_name) == folded) {
                found = e->d_name;
                break;
            }
        }
        ::closedir(d);
        return found;
    }

    static std::optional<std::string> Lookup(const KeptListing& listing, const std::string& part) {
        const auto it = listing.names.find(Folded(part));
        if (it == listing.names.end() || it->second.empty()) return std::nullopt;
        return it->second.front();
    }

    // A child process made by fork shares the parent's watch queue: reading
    // it here would take the parent's events. The child starts afresh with
    // a queue of its own.
    void RenewAfterFork() {
        if (pid_ == ::getpid()) return;
        pid_ = ::getpid();
        if (fd_ >= 0) ::close(fd_);
        fd_ = kNotStarted;
        by_wd_.clear();
        kept_.clear();
        reads_.clear();
    }

    // Removes a watch no kept listing uses.
    void Unwatch(int wd) {
        if (wd >= 0 && by_wd_.count(wd) == 0) ::inotify_rm_watch(fd_, wd);
    }

    void Forget(int wd) {
        const auto it = by_wd_.find(wd);
        if (it == by_wd_.end()) return;
        kept_.erase(it->second);
        by_wd_.erase(it);
    }

    void ForgetAll() {
        for (const auto& [wd, key] : by_wd_) ::inotify_rm_watch(fd_, wd);
        by_wd_.clear();
        kept_.clear();
    }

    // Applies every event queued since the last look-up.
    void ApplyEvents() {
        if (fd_ < 0) return;
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // EAGAIN: nothing more queued
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                Apply(*e);
            }
        }
    }

    void Apply(const inotify_event& e) {
        if (e.mask & IN_Q_OVERFLOW) {
            // Events were lost: no kept listing can be trusted.
            ForgetAll();
            return;
        }
        if (e.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
            if (!(e.mask & IN_IGNORED)) ::inotify_rm_watch(fd_, e.wd);
            Forget(e.wd);
            return;
        }
        const auto it = by_wd_.find(e.wd);
        if (it == by_wd_.end() || e.len == 0) return;
        KeptListing& listing = kept_[it->second];
        const std::string name(e.name);
        if (e.mask & (IN_CREATE | IN_MOVED_TO)) listing.Add(name);
        if (e.mask & (IN_DELETE | IN_MOVED_FROM)) listing.Remove(name);
    }

    std::mutex mutex_;
    int fd_ = kNotStarted;
    // How often each directory's listing has been read (until it is kept).
    std::map<DirKey, int> reads_;
    pid_t pid_ = 0;
    std::map<DirKey, KeptListing> kept_;
    std::unordered_map<int, DirKey> by_wd_;
    DirectoryNameCounts counts_;
};

DirectoryNames& Names() {
    static DirectoryNames names;
    return names;
}

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(const std::string& dir, const std::string& part) {
    return Names().Find(dir, part);
}

DirectoryNameCounts DirectoryNameLookups() {
    return Names().Counts();
}

}  // namespace records
