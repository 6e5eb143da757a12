// Record-file names as the routines spell them, the unit table, and
// writing out what every file object buffers (files.h).

#include "records/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <utility>
#include <variant>

#include "records/directory_names.h"
#include "records/file_io.h"
#include "records/run_cache.h"

namespace records {

using namespace files_detail;

namespace {

// Finds an entry of dir whose name equals part ignoring case; the exact
// spelling wins when it exists.
std::string MatchEntry(const std::string& dir, const std::string& part) {
    std::string probe = dir.empty() ? part : dir + "/" + part;
    struct stat st;
    if (::stat(probe.c_str(), &st) == 0) return part;
    return FindEntryIgnoringCase(dir, part).value_or(part);
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

void FlushPendingWrites() {
    FlushDirectFiles();
    FlushTextFiles();
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

UnitReopenCheck& ReopenCheck() {
    static UnitReopenCheck check = nullptr;
    return check;
}

// Tells the check, when one is set, of an open over a unit that still
// holds a file.
void CheckReopen(int unit, std::string_view opening) {
    const UnitReopenCheck check = ReopenCheck();
    if (check == nullptr) return;
    if (const DirectFile* f = Direct(unit))
        check(unit, f->path(), opening);
    else if (const TextFile* t = Text(unit))
        check(unit, t->path(), opening);
}

void OpenText(int unit, std::string_view name, std::size_t width) {
    if (!ValidUnit(unit)) return;
    CheckReopen(unit, name);
    Units()[unit] = std::make_unique<TextFile>(name.substr(0, width < name.size() ? width : name.size()));
}

}  // namespace

void OpenDirect(int unit, std::string_view name, std::size_t record_length) {
    if (!ValidUnit(unit)) return;
    CheckReopen(unit, name);
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

UnitReopenCheck SetUnitReopenCheck(UnitReopenCheck check) {
    return std::exchange(ReopenCheck(), check);
}

void Close(int unit) {
    if (ValidUnit(unit)) Units()[unit] = std::monostate{};
}

namespace {

// Deletes the file at path: the run forgets what it keeps of it, and the
// failures kept for it are still told but no longer found by its inode,
// which a new file may take. False when the deletion failed.
bool DeletePath(const std::string& path) {
    ForgetKeptFile(path);
    struct stat st;
    const bool known = AnyFailedWrites() && ::stat(path.c_str(), &st) == 0;
    if (::unlink(path.c_str()) != 0) return false;
    if (known) FailedFileDeleted(FileKey{st.st_dev, st.st_ino});
    return true;
}

}  // namespace

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
    return open && DeletePath(path);
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

bool ReadRecords(int unit, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const DirectFile* f = Direct(unit);
    return f != nullptr && f->ReadWhole(bytes);
}

bool ReadRecords(int unit, long first, std::size_t count, std::vector<unsigned char>& bytes) {
    bytes.clear();
    const DirectFile* f = Direct(unit);
    return f != nullptr && f->ReadRange(first, count, bytes);
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

bool DeleteFile(std::string_view name) {
    const std::string path = ResolveName(name);
    return !path.empty() && DeletePath(path);
}

}  // namespace records
