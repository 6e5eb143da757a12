#pragma once

// Account groups and super groups. A group is a named list of account
// identifiers with a description; a super group is a named list of groups
// with a description. Groups live in the text file group.dat and super
// groups in super.dat, both in the data directory and in one format, one
// block per entry:
//
//   NAME DESCRIPTION      the name, one blank, the description (may be empty)
//   COUNT                 the number of members in decimal
//   MEMBER                one member a line (accounts, or group names)
//
// Composite reports run over the accounts of a group or super group; the
// report dialogs expand the chosen entry into an account list file
// (compfile.lst, one identifier a line) that the report routines read.

#include <string>
#include <string_view>
#include <vector>

namespace records {

inline constexpr const char* kGroupFile = "group.dat";
inline constexpr const char* kSuperGroupFile = "super.dat";
inline constexpr const char* kAccountListFile = "compfile.lst";

// Limits of the group editor: names of letters and digits, descriptions.
inline constexpr std::size_t kGroupNameLength = 12;
inline constexpr std::size_t kGroupDescriptionLength = 32;

// One group or super group: element 0 of names is the entry's name, the
// others are its members.
struct CGroupEntry {
    std::vector<std::string> names;
    std::string description;

    const std::string& Name() const { return names.front(); }
    std::vector<std::string> Members() const { return {names.begin() + 1, names.end()}; }
};

// The entries of one group file in file order.
class CGroupList {
public:
    // Appends the entries of the file to the list. A file that cannot be
    // opened leaves the list as it is. An entry whose count line is missing
    // or does not read as a number ends the reading and is dropped.
    void Load(std::string_view file_name);
    // Replaces the file's content by the entries in list order, written
    // beside the file and renamed over it, so that a failed write keeps the
    // previous file. False when the file could not be written.
    bool Save(std::string_view file_name) const;

    std::vector<CGroupEntry>& Entries() { return entries_; }
    const std::vector<CGroupEntry>& Entries() const { return entries_; }
    // The first entry whose name equals the name exactly (case counts).
    CGroupEntry* Find(std::string_view name);
    const CGroupEntry* Find(std::string_view name) const;
    std::vector<std::string> Names() const;

private:
    std::vector<CGroupEntry> entries_;
};

// The bytes a list is saved as (lines end in CR LF, as every text file the
// program writes).
std::vector<unsigned char> GroupFileBytes(const CGroupList& list);

// Appends the identifier unless an equal one is already in the array.
void AddUniqueAccount(std::vector<std::string>& accounts, std::string_view id);

// Adds the members of the group of group.dat named exactly `name` to the
// accounts (each once) and gives its description. A group that does not
// exist adds "Group does not exist:" and the name to `messages`; false then.
bool ExpandGroup(std::vector<std::string>& accounts, std::string_view name, std::string& description,
                 std::vector<std::string>& messages);
// The same for a super group of super.dat: every member group is expanded
// in turn, and the description left is the super group's. A missing super
// group adds "Supergroup does not exist:" and the name; a member group that
// no longer exists adds its own message while the others are still
// gathered.
bool ExpandSuperGroup(std::vector<std::string>& accounts, std::string_view name, std::string& description,
                      std::vector<std::string>& messages);

// Writes the identifiers to an account list file, one a line, replacing
// the file. False when the file could not be written.
bool WriteAccountLines(const std::vector<std::string>& accounts, std::string_view file_name);

}  // namespace records
