#include "records/directory_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <strings.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "records/files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::FindEntryIgnoringCase;
using records::ResolveName;

// The names of the current directory that equal part ignoring case, read
// afresh.
std::set<std::string> FreshMatches(const std::string& part) {
    std::set<std::string> matches;
    DIR* d = ::opendir(".");
    while (dirent* e = ::readdir(d))
        if (::strcasecmp(e->d_name, part.c_str()) == 0) matches.insert(e->d_name);
    ::closedir(d);
    return matches;
}

void Touch(const std::string& name) {
    const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    ::close(fd);
}

// Creates a file from another process, as a second copy of the program or
// any other tool would.
void TouchFromChild(const std::string& name) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(name.c_str(), O_CREAT | O_WRONLY, 0644);
        ::_exit(fd >= 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(DirectoryNames, KeptListingFollowsEveryChangeOfTheDirectory) {
    TempDataDir dir;
    EXPECT_EQ(ResolveName("LATE.DAT"), "LATE.DAT");  // absent: the listing is read and kept
    Touch("Late.Dat");
    EXPECT_EQ(ResolveName("LATE.DAT"), "Late.Dat");
    std::filesystem::rename("Late.Dat", "Moved.Dat");
    EXPECT_EQ(ResolveName("late.dat"), "late.dat");
    EXPECT_EQ(ResolveName("MOVED.DAT"), "Moved.Dat");
    std::filesystem::remove("Moved.Dat");
    EXPECT_EQ(ResolveName("MOVED.DAT"), "MOVED.DAT");
    TouchFromChild("Other.Fil");
    EXPECT_EQ(ResolveName("OTHER.FIL"), "Other.Fil");
    std::filesystem::create_directory("Sub");
    Touch("Sub/Inner.Txt");
    EXPECT_EQ(ResolveName("SUB\\INNER.TXT"), "Sub/Inner.Txt");
    std::filesystem::remove_all("Sub");
    std::filesystem::create_directory("sub");
    EXPECT_EQ(ResolveName("SUB\\INNER.TXT"), "sub/INNER.TXT");
}

TEST(DirectoryNames, TheCurrentDirectoryIsTheOneInUseNow) {
    TempDataDir first;
    Touch("Firm.Dat");
    EXPECT_EQ(ResolveName("FIRM.DAT"), "Firm.Dat");
    {
        TempDataDir second;  // changes into another directory
        EXPECT_EQ(ResolveName("FIRM.DAT"), "FIRM.DAT");
        Touch("FIRM.dat");
        EXPECT_EQ(ResolveName("firm.dat"), "FIRM.dat");
    }
    EXPECT_EQ(ResolveName("firm.dat"), "Firm.Dat");
}

// Whether this machine lets the program watch a directory (a container may
// not); without it every look-up reads the directory, as it should.
bool CanWatchDirectories() {
    const int fd = ::inotify_init1(IN_CLOEXEC);
    if (fd < 0) return false;
    const bool watched = ::inotify_add_watch(fd, ".", IN_CREATE) >= 0;
    ::close(fd);
    return watched;
}

TEST(DirectoryNames, AbsentNamesAreAnsweredWithoutReadingTheDirectoryAgain) {
    TempDataDir dir;
    if (!CanWatchDirectories()) GTEST_SKIP() << "no directory watches here";
    for (int i = 0; i < 200; ++i) Touch("FILE" + std::to_string(i) + ".DAT");
    // The first few look-ups read the directory (a short program is
    // better served so); then its listing is kept.
    const records::DirectoryNameCounts before = records::DirectoryNameLookups();
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(ResolveName("NOTHERE.DAT"), "NOTHERE.DAT");
    const records::DirectoryNameCounts after = records::DirectoryNameLookups();
    EXPECT_LE(after.listed - before.listed, 4);
    EXPECT_EQ(after.listed - before.listed + after.kept - before.kept, 1000);
}

// Random creates, deletes and renames, from this process and from a child,
// each followed by look-ups compared with a fresh reading of the directory.
TEST(DirectoryNames, AgreesWithAFreshListingAfterRandomChanges) {
    TempDataDir dir;
    std::mt19937 random(20261210);
    const std::vector<std::string> stems = {"HL.TMP", "GL.TMP", "HL.EXT", "TYPENAME.DAT", "X1.REC", "X2.REC"};
    auto spelling = [&](const std::string& stem) {
        std::string s = stem;
        for (char& c : s)
            if (std::isalpha(static_cast<unsigned char>(c)) && random() % 2)
                c = static_cast<char>(std::tolower(c));
        return s;
    };
    for (int step = 0; step < 400; ++step) {
        const std::string& stem = stems[random() % stems.size()];
        const std::set<std::string> present = FreshMatches(stem);
        switch (random() % 4) {
            case 0:  // create, only when no spelling of the name is there
                if (present.empty()) Touch(spelling(stem));
                break;
            case 1:
                if (present.empty()) TouchFromChild(spelling(stem));
                break;
            case 2:
                for (const std::string& name : present) std::filesystem::remove(name);
                break;
            case 3: {
                const std::string& other = stems[random() % stems.size()];
                if (!present.empty() && FreshMatches(other).empty())
                    std::filesystem::rename(*present.begin(), spelling(other));
                break;
            }
        }
        for (const std::string& name : stems) {
            const std::set<std::string> fresh = FreshMatches(name);
            const std::optional<std::string> kept = FindEntryIgnoringCase("", spelling(name));
            if (fresh.empty()) {
                EXPECT_FALSE(kept.has_value()) << "step " << step << " " << name << " kept " << *kept;
            } else {
                ASSERT_TRUE(kept.has_value()) << "step " << step << " " << name;
                EXPECT_EQ(fresh.count(*kept), 1u) << "step " << step << " " << *kept;
            }
        }
    }
}

}  // namespace
