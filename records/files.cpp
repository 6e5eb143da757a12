#include "records/files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>
#include <variant>

#include "records/directory_names.h"

namespace records {

namespace {

// Finds an entry of dir whose name equals part ignoring case; the exact
// spelling wins when it exists.
std::string MatchEntry(const std::string& dir, const std::string& part) {
    std::string probe = dir.empty() ? part : dir + "/" + part;
    struct stat st;
    if (::stat(probe.c_str(), &st) == 0) return part;
    return FindEntryIgnoringCase(dir, part).value_or(part);
}

int OpenFd(const std::string& path, bool create) {
    int fd = ::open(path.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_CLOEXEC, 0644);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

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

bool WriteAllAt(int fd, const void* data, std::size_t size, off_t off) {
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

}  // namespace

std::string ResolveName(std::string_view name) {
    std::string s = TrimRight(name);
    for (char& c : s)
        if (c == '\\') c = '/';
    if (s.size() >= 2 && (s[0] == 'A' || s[0] == 'a') && s[1] == ':') {
        s = "A/" + s.substr(2);
        if (s.size() > 2 && s[2] == '/') s.erase(2, 1);
    }
    if (s.empty()) return s;
    std::string result;
    std::string dir;
    std::size_t start = 0;
    if (s[0] == '/') {
        result = "/";
        dir = "/";
        start = 1;
    }
    while (start <= s.size()) {
        std::size_t slash = s.find('/', start);
        std::string part = s.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!part.empty()) {
            std::string matched = (part == "." || part == "..") ? part : MatchEntry(dir, part);
            if (!result.empty() && result.back() != '/') result += '/';
            result += matched;
            dir = result;
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return result;
}

// ---- DirectFile

DirectFile::DirectFile(std::string_view name, std::size_t record_length, bool create)
    : length_(record_length), path_(ResolveName(name)) {
    if (!path_.empty() && length_ > 0) fd_ = OpenFd(path_, create);
}

DirectFile::DirectFile(const ResolvedPath& path, std::size_t record_length, bool create)
    : length_(record_length), path_(path.path) {
    if (!path_.empty() && length_ > 0) fd_ = OpenFd(path_, create);
}

DirectFile::~DirectFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool DirectFile::Read(long n, Record& rec) const {
    if (fd_ < 0 || n < 1) return false;
    rec.bytes().resize(length_);
    off_t off = static_cast<off_t>(n - 1) * static_cast<off_t>(length_);
    std::size_t got = 0;
    while (got < length_) {
        ssize_t r = ::pread(fd_, rec.data() + got, length_ - got, off + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) return false;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

bool DirectFile::Write(long n, const Record& rec) {
    if (fd_ < 0 || n < 1) return false;
    off_t off = static_cast<off_t>(n - 1) * static_cast<off_t>(length_);
    // A shorter record leaves the rest of the slot zero; a longer one is cut.
    if (rec.size() >= length_) return WriteAllAt(fd_, rec.data(), length_, off);
    std::vector<unsigned char> buf(length_, 0);
    std::memcpy(buf.data(), rec.data(), rec.size());
    return WriteAllAt(fd_, buf.data(), length_, off);
}

bool DirectFile::ReadWhole(std::vector<unsigned char>& bytes) const {
    bytes.clear();
    if (fd_ < 0) return false;
    bytes.resize(static_cast<std::size_t>(Count()) * length_);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    // A file cut short while it was read keeps its whole records.
    bytes.resize(got / length_ * length_);
    return true;
}

bool DirectFile::WriteRecords(long first, const unsigned char* data, std::size_t count) {
    if (fd_ < 0 || first < 1) return false;
    if (count == 0) return true;
    const off_t off = static_cast<off_t>(first - 1) * static_cast<off_t>(length_);
    return WriteAllAt(fd_, data, count * length_, off);
}

long DirectFile::Count() const {
    if (fd_ < 0) return 0;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return 0;
    return static_cast<long>(st.st_size / static_cast<off_t>(length_));
}

bool DirectFile::Truncate(long n) {
    if (fd_ < 0 || n < 0) return false;
    return ::ftruncate(fd_, static_cast<off_t>(n) * static_cast<off_t>(length_)) == 0;
}

// ---- MappedRecords

MappedRecords::MappedRecords(std::string_view name, std::size_t record_length) : length_(record_length) {
    const std::string path = ResolveName(name);
    if (path.empty() || length_ == 0) return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
        const std::size_t whole = static_cast<std::size_t>(st.st_size) / length_ * length_;
        void* map = whole == 0 ? MAP_FAILED : ::mmap(nullptr, whole, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            mapping_ = map;
            mapped_ = whole;
            data_ = static_cast<const unsigned char*>(map);
            size_ = whole;
        } else if (whole > 0) {
            copy_.resize(whole);
            std::size_t got = 0;
            while (got < whole) {
                const ssize_t r = ::pread(fd, copy_.data() + got, whole - got, static_cast<off_t>(got));
                if (r < 0 && errno == EINTR) continue;
                if (r <= 0) break;
                got += static_cast<std::size_t>(r);
            }
            copy_.resize(got / length_ * length_);
            data_ = copy_.data();
            size_ = copy_.size();
        }
    }
    // The mapping stays valid once its file is closed.
    ::close(fd);
}

MappedRecords::~MappedRecords() {
    if (mapping_ != nullptr) ::munmap(mapping_, mapped_);
}

// ---- TextFile

TextFile::TextFile(std::string_view name, bool create) : path_(ResolveName(name)) {
    if (path_.empty()) return;
    fd_ = OpenFd(path_, create);
    if (fd_ >= 0 && !ReadAll(fd_, data_)) data_.clear();
}

TextFile::~TextFile() {
    if (fd_ >= 0) ::close(fd_);
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
    if (fd_ < 0) return false;
    if (write_pos_ < 0) {
        write_pos_ = static_cast<long long>(pos_);
        if (::ftruncate(fd_, static_cast<off_t>(write_pos_)) != 0) return false;
    }
    std::string out(line);
    out += "\r\n";
    if (!WriteAllAt(fd_, out.data(), out.size(), static_cast<off_t>(write_pos_))) return false;
    write_pos_ += static_cast<long long>(out.size());
    return true;
}

// ---- Unit table

namespace {

using UnitEntry = std::variant<std::monostate, std::unique_ptr<DirectFile>, std::unique_ptr<TextFile>>;

std::array<UnitEntry, kMaxUnit + 1>& Units() {
    static std::array<UnitEntry, kMaxUnit + 1> units;
    return units;
}

bool ValidUnit(int unit) {
    return unit >= 1 && unit <= kMaxUnit;
}

DirectFile* Direct(int unit) {
    if (!ValidUnit(unit)) return nullptr;
    auto* p = std::get_if<std::unique_ptr<DirectFile>>(&Units()[unit]);
    return p ? p->get() : nullptr;
}

TextFile* Text(int unit) {
    if (!ValidUnit(unit)) return nullptr;
    auto* p = std::get_if<std::unique_ptr<TextFile>>(&Units()[unit]);
    return p ? p->get() : nullptr;
}

void OpenText(int unit, std::string_view name, std::size_t width) {
    if (!ValidUnit(unit)) return;
    Units()[unit] = std::make_unique<TextFile>(name.substr(0, width < name.size() ? width : name.size()));
}

}  // namespace

void OpenDirect(int unit, std::string_view name, std::size_t record_length) {
    if (!ValidUnit(unit)) return;
    Units()[unit] = std::monostate{};  // close what the unit had first
    Units()[unit] =
        std::make_unique<DirectFile>(name.substr(0, name.size() < 12 ? name.size() : 12), record_length);
}

void Open(int unit, std::string_view name) {
    OpenDirect(unit, name, 128);
}
void Opn132(int unit, std::string_view name) {
    OpenDirect(unit, name, 132);
}
void Open8(int unit, std::string_view name) {
    OpenDirect(unit, name, 8);
}
void Open2(int unit, std::string_view name) {
    OpenDirect(unit, name, 256);
}
void Open3(int unit, std::string_view name) {
    OpenDirect(unit, name, 384);
}
void Open4(int unit, std::string_view name) {
    OpenDirect(unit, name, 512);
}
void Openaw(int unit, std::string_view name) {
    OpenText(unit, name, 12);
}
void Opena(int unit, std::string_view name) {
    OpenText(unit, name, 12);
}
void Openaw2(int unit, std::string_view name) {
    OpenText(unit, name, 48);
}

void Close(int unit) {
    if (ValidUnit(unit)) Units()[unit] = std::monostate{};
}

bool CloseDelete(int unit) {
    std::string path;
    bool open = false;
    if (DirectFile* f = Direct(unit)) {
        path = f->path();
        open = f->ok();
    } else if (TextFile* t = Text(unit)) {
        path = t->path();
        open = t->ok();
    }
    Close(unit);
    if (!open) return false;
    return ::unlink(path.c_str()) == 0;
}

bool IsOpen(int unit) {
    if (DirectFile* f = Direct(unit)) return f->ok();
    if (TextFile* t = Text(unit)) return t->ok();
    return false;
}

bool ReadRecord(int unit, long n, Record& rec) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->Read(n, rec);
}

bool WriteRecord(int unit, long n, const Record& rec) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->Write(n, rec);
}

bool WriteRecords(int unit, long first, const unsigned char* data, std::size_t count) {
    DirectFile* f = Direct(unit);
    return f != nullptr && f->WriteRecords(first, data, count);
}

long RecordCount(int unit) {
    DirectFile* f = Direct(unit);
    return f != nullptr ? f->Count() : 0;
}

std::size_t RecordLength(int unit) {
    DirectFile* f = Direct(unit);
    return f != nullptr ? f->record_length() : 0;
}

bool ReadLine(int unit, std::string& line) {
    TextFile* t = Text(unit);
    return t != nullptr && t->ReadLine(line);
}

bool WriteLine(int unit, std::string_view line) {
    TextFile* t = Text(unit);
    return t != nullptr && t->WriteLine(line);
}

void Purge(std::string_view name) {
    Open(22, name);
    CloseDelete(22);
}

bool ReplaceFile(std::string_view name, const std::vector<unsigned char>& bytes) {
    std::string path = ResolveName(name);
    if (path.empty()) return false;
    std::string temp = path + ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::string ReplaceFiles(const std::vector<FileReplacement>& files) {
    std::vector<std::pair<std::string, std::string>> written;  // temp, target
    auto discard = [&written] {
        for (const auto& w : written) ::unlink(w.first.c_str());
    };
    for (const FileReplacement& f : files) {
        const std::string path = ResolveName(f.name);
        if (path.empty()) {
            discard();
            return f.name;
        }
        const std::string temp = path + ".new";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            discard();
            return f.name;
        }
        bool ok = WriteAllAt(fd, f.bytes.data(), f.bytes.size(), 0) && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        written.emplace_back(temp, path);
        if (!ok) {
            discard();
            return f.name;
        }
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (::rename(written[i].first.c_str(), written[i].second.c_str()) != 0) {
            for (std::size_t j = i; j < written.size(); ++j) ::unlink(written[j].first.c_str());
            return files[i].name;
        }
    }
    return {};
}

}  // namespace records
