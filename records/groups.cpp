// Group files (group.dat, super.dat), the expansion of a group or super
// group into accounts, and the account list file.

#include "records/groups.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "records/files.h"

namespace records {
namespace {

// A line of a group file is read into a buffer of 99 characters: longer
// name lines are cut there.
constexpr std::size_t kLineRoom = 98;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(std::string_view name, std::string& bytes) {
    const std::string path = ResolveName(name);
    if (path.empty()) return false;
    // The program's own buffered writes go out first, so the read sees them.
    FlushPendingWrites();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// A cursor over the file's bytes with the three reads a block needs.
class Reader {
public:
    explicit Reader(const std::string& bytes) : s_(bytes) {}

    bool AtEnd() const { return pos_ >= s_.size(); }

    // The rest of the current line without its line end (LF or CR LF);
    // beyond the room of a line the characters are dropped.
    std::string Line() {
        const std::size_t end = std::min(s_.find('\n', pos_), s_.size());
        std::string line = s_.substr(pos_, end - pos_);
        pos_ = end < s_.size() ? end + 1 : end;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kLineRoom) line.resize(kLineRoom);
        return line;
    }

    // A decimal number after optional white space, and the white space
    // after it; false when no digits stand there.
    bool Number(long& value) {
        SkipSpace();
        std::size_t p = pos_;
        bool negative = false;
        if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) negative = s_[p++] == '-';
        const std::size_t digits = p;
        long v = 0;
        while (p < s_.size() && s_[p] >= '0' && s_[p] <= '9') {
            if (v < 1'000'000'000L) v = v * 10 + (s_[p] - '0');
            ++p;
        }
        if (p == digits) return false;
        pos_ = p;
        value = negative ? -v : v;
        SkipSpace();
        return true;
    }

    // A word delimited by white space, and the white space after it; false
    // at the end of the file.
    bool Word(std::string& word) {
        SkipSpace();
        if (AtEnd()) return false;
        const std::size_t start = pos_;
        while (pos_ < s_.size() && !IsSpace(s_[pos_])) ++pos_;
        word = s_.substr(start, pos_ - start);
        SkipSpace();
        return true;
    }

private:
    void SkipSpace() {
        while (pos_ < s_.size() && IsSpace(s_[pos_])) ++pos_;
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace

void CGroupList::Load(std::string_view file_name) {
    std::string bytes;
    if (!ReadWholeFile(file_name, bytes)) return;
    Reader reader(bytes);
    while (!reader.AtEnd()) {
        const std::string line = reader.Line();
        CGroupEntry entry;
        const std::size_t blank = line.find(' ');
        entry.names.push_back(line.substr(0, blank));
        if (blank != std::string::npos) entry.description = line.substr(blank + 1);
        long count = 0;
        if (!reader.Number(count)) break;
        std::string member;
        for (long i = 0; i < count && reader.Word(member); ++i) entry.names.push_back(member);
        entries_.push_back(std::move(entry));
    }
}

std::vector<unsigned char> GroupFileBytes(const CGroupList& list) {
    std::string text;
    for (const CGroupEntry& entry : list.Entries()) {
        text += entry.Name() + " " + entry.description + "\r\n";
        text += std::to_string(entry.names.size() - 1) + "\r\n";
        for (std::size_t i = 1; i < entry.names.size(); ++i) text += entry.names[i] + "\r\n";
    }
    return {text.begin(), text.end()};
}

bool CGroupList::Save(std::string_view file_name) const {
    return ReplaceFile(file_name, GroupFileBytes(*this));
}

CGroupEntry* CGroupList::Find(std::string_view name) {
    for (CGroupEntry& entry : entries_)
        if (entry.Name() == name) return &entry;
    return nullptr;
}

const CGroupEntry* CGroupList::Find(std::string_view name) const {
    return const_cast<CGroupList*>(this)->Find(name);
}

std::vector<std::string> CGroupList::Names() const {
    std::vector<std::string> names;
    for (const CGroupEntry& entry : entries_) names.push_back(entry.Name());
    return names;
}

void AddUniqueAccount(std::vector<std::string>& accounts, std::string_view id) {
    if (std::find(accounts.begin(), accounts.end(), id) == accounts.end()) accounts.emplace_back(id);
}

bool ExpandGroup(std::vector<std::string>& accounts, std::string_view name, std::string& description,
                 std::vector<std::string>& messages) {
    CGroupList groups;
    groups.Load(kGroupFile);
    const CGroupEntry* group = groups.Find(name);
    if (!group) {
        messages.push_back("Group does not exist:" + std::string(name));
        return false;
    }
    for (std::size_t i = 1; i < group->names.size(); ++i) AddUniqueAccount(accounts, group->names[i]);
    description = group->description;
    return true;
}

bool ExpandSuperGroup(std::vector<std::string>& accounts, std::string_view name, std::string& description,
                      std::vector<std::string>& messages) {
    CGroupList supers;
    supers.Load(kSuperGroupFile);
    const CGroupEntry* super = supers.Find(name);
    if (!super) {
        messages.push_back("Supergroup does not exist:" + std::string(name));
        return false;
    }
    for (std::size_t i = 1; i < super->names.size(); ++i)
        ExpandGroup(accounts, super->names[i], description, messages);
    // The title of a composite over a super group is the super group's own.
    description = super->description;
    return true;
}

bool WriteAccountLines(const std::vector<std::string>& accounts, std::string_view file_name) {
    std::string text;
    for (const std::string& id : accounts) text += id + "\r\n";
    return ReplaceFile(file_name, {text.begin(), text.end()});
}

}  // namespace records
