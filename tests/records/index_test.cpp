#include "records/index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/files.h"
#include "records/index_keys.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

std::vector<std::string> NumberedKeys(int n, const std::string& prefix) {
    std::vector<std::string> keys;
    for (int i = 1; i <= n; ++i) keys.push_back(prefix + std::to_string(i));
    return keys;
}

// One rule for every index: a key whose first word is "$$$$" is deleted,
// whatever follows the word; "$" elsewhere is part of an identifier.
TEST(IndexKeys, AFirstWordOfFourDollarsIsDeleted) {
    const std::string nul(1, '\0');
    struct Case {
        const char* name;
        std::string key;
        IndexKey::Kind kind;
        std::string identifier;
    } cases[] = {
        {"four and zero bytes", "$$$$" + nul + nul + nul + nul, IndexKey::kDeleted, ""},
        {"four and blanks", "$$$$    ", IndexKey::kDeleted, ""},
        {"six", "$$$$$$  ", IndexKey::kDeleted, ""},
        {"eight", "$$$$$$$$", IndexKey::kDeleted, ""},
        {"twelve", "$$$$$$$$$$$$", IndexKey::kDeleted, ""},
        {"four and an identifier", "$$$$AB  ", IndexKey::kDeleted, ""},
        {"three", "$$$     ", IndexKey::kEntry, "$$$"},
        {"four after a letter", "A$$$$   ", IndexKey::kEntry, "A$$$$"},
        {"blank", "        ", IndexKey::kBlank, ""},
        {"zero bytes", std::string(8, '\0'), IndexKey::kBlank, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsDeletedKey(c.key), c.kind == IndexKey::kDeleted);
        const IndexKey checked = CheckIndexKey(c.key, 6);
        EXPECT_EQ(checked.kind, c.kind);
        EXPECT_EQ(checked.identifier, c.identifier);
    }
}

TEST(IndexAccounts, EmptyOrMissingIndexFindsNothing) {
    TempDataDir dir;
    EXPECT_EQ(Ckcltt("A1"), 0);  // no ACCOUNT.IDX at all
    EXPECT_EQ(Gtacct("A1"), -1);
    fixtures::WriteAccountIndex({});
    EXPECT_EQ(Ckcltt("A1"), 0);
    EXPECT_EQ(Gtacct("A1"), -1);
    EXPECT_FALSE(IsOpen(6));
    EXPECT_FALSE(IsOpen(10));
}

TEST(IndexAccounts, SeventeenthAccountLiesInTheThirdRecord) {
    TempDataDir dir;
    fixtures::WriteAccountIndex(NumberedKeys(17, "AC"));
    struct Case {
        const char* id;
        int entry;
        long base;
    } cases[] = {
        {"AC1", 1, 1}, {"AC2", 2, 9}, {"AC16", 16, 121}, {"AC17", 17, 129}, {"AC18", 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ckcltt(c.id), c.entry) << c.id;
        EXPECT_EQ(Gtacct(c.id), c.base) << c.id;
    }
    auto bytes = TempDataDir::ReadBytes("ACCOUNT.IDX");
    ASSERT_EQ(bytes.size(), 3u * 128u);
    EXPECT_EQ(std::string(bytes.begin() + 256, bytes.begin() + 264), "AC17    ");
}

TEST(IndexAccounts, KeysAreComparedExactly) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"ABC", "abd", " X"});
    struct Case {
        const char* id;
        int entry;
    } cases[] = {
        {"ABC", 1}, {"ABC     ", 1}, {"abc", 0}, {"abd", 2}, {"ABD", 0}, {" X", 3}, {"X", 0}, {"ABC1", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Ckcltt(c.id), c.entry) << "[" << c.id << "]";
}

TEST(IndexAccounts, KeysPastTheCountAreNotEntries) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"A1", "A2", "A3"});
    Record head(128, 0);
    head.SetI16(0, 2);
    DirectFile("ACCOUNT.IDX", 128).Write(1, head);
    EXPECT_EQ(Ckcltt("A2"), 2);
    EXPECT_EQ(Ckcltt("A3"), 0);
}

TEST(IndexAccounts, MissingKeyRecordEndsTheScan) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"A1", "A2"});
    Record head(128, 0);
    head.SetI16(0, 40);  // claims three key records; only one exists
    DirectFile("ACCOUNT.IDX", 128).Write(1, head);
    EXPECT_EQ(Ckcltt("A2"), 2);
    EXPECT_EQ(Ckcltt("A9"), 0);
}

TEST(IndexAccounts, GtacctRefusesBlankAndDeletedIdentifiers) {
    TempDataDir dir;
    fixtures::WriteAccountIndex({"$$$$$$", "        ", "OK"});
    EXPECT_EQ(Ckcltt("$$$$$$"), 1);  // the plain scan does not skip them
    EXPECT_EQ(Ckcltt(""), 2);
    EXPECT_EQ(Gtacct("$$$$$$"), -1);
    EXPECT_EQ(Gtacct("$$$$XY"), -1);
    EXPECT_EQ(Gtacct(""), -1);
    EXPECT_EQ(Gtacct("    AB"), -1);  // first word blank
    EXPECT_EQ(Gtacct("OK"), 17);
}

TEST(IndexSecurities, DeletedEntriesAreSkippedOnlyByNewsym) {
    TempDataDir dir;
    fixtures::WriteSecurityIndex({"IBM", "$$$$XYZ", "XYZ", "$$$$"});
    EXPECT_EQ(Ccksym("$$$$XYZ"), 2);
    EXPECT_EQ(Fndsym("$$$$XYZ"), 2);
    EXPECT_EQ(Ccksym("XYZ"), 3);
    EXPECT_FALSE(IsOpen(17));
    EXPECT_FALSE(IsOpen(10));

    Open(7, kSecurityIndex);
    UnitGuard guard(7);
    EXPECT_EQ(Newsym("$$$$XYZ"), 0);
    EXPECT_EQ(Newsym("$$$$"), 0);
    EXPECT_EQ(Newsym("XYZ"), 3);
    EXPECT_EQ(Newsym("IBM"), 1);
    EXPECT_TRUE(IsOpen(7));  // the caller's unit stays open
}

TEST(IndexSecurities, CaseAndBlanksMatter) {
    TempDataDir dir;
    fixtures::WriteSecurityIndex({"IBM", "GE 1", "BRK.B"});
    struct Case {
        const char* symbol;
        int entry;
    } cases[] = {
        {"IBM", 1}, {"ibm", 0}, {" IBM", 0}, {"GE 1", 2}, {"GE1", 0}, {"BRK.B", 3}, {"BRK.B       ", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ccksym(c.symbol), c.entry) << "[" << c.symbol << "]";
        EXPECT_EQ(Fndsym(c.symbol), c.entry) << "[" << c.symbol << "]";
    }
}

TEST(IndexSecurities, ScanCrossesKeyRecords) {
    TempDataDir dir;
    fixtures::WriteSecurityIndex(NumberedKeys(25, "S"));
    EXPECT_EQ(Ccksym("S10"), 10);
    EXPECT_EQ(Ccksym("S11"), 11);
    EXPECT_EQ(Ccksym("S25"), 25);
    EXPECT_EQ(Ccksym("S26"), 0);
}

TEST(IndexSecurities, GetadrReadsTheNthKeyOrKeepsTheEntry) {
    TempDataDir dir;
    fixtures::WriteSecurityIndex(NumberedKeys(11, "SYM"));
    Open(7, kSecurityIndex);
    UnitGuard guard(7);
    std::string entry = "unchanged";
    EXPECT_EQ(Getadr(entry, 11), 0);
    EXPECT_EQ(entry, "SYM11       ");
    EXPECT_EQ(Getadr(entry, 1), 0);
    EXPECT_EQ(entry, "SYM1        ");
    entry = "unchanged";
    EXPECT_NE(Getadr(entry, 21), 0);  // record 4 does not exist
    EXPECT_NE(Getadr(entry, 0), 0);
    EXPECT_EQ(entry, "unchanged");
}

void WriteBrokerSort(int16_t last, const std::vector<std::string>& codes) {
    DirectFile f(kBrokerSortFile, 128);
    Record head(128, 0);
    head.SetI16(0, last);
    f.Write(1, head);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        Record rec(128, ' ');
        rec.SetText(0, 8, codes[i]);
        f.Write(static_cast<long>(i + 2), rec);
    }
}

TEST(IndexBrokers, Bkrck2FindsTheRecordOfTheCode) {
    TempDataDir dir;
    EXPECT_EQ(Bkrck2("MERR"), 0);  // no file
    WriteBrokerSort(4, {"ALPHA", "MERR", "ZED", "STALE"});
    struct Case {
        const char* code;
        int record;
    } cases[] = {{"ALPHA", 2}, {"MERR", 3}, {"ZED", 4}, {"STALE", 0}, {"merr", 0}, {"NONE", 0}};
    for (const auto& c : cases) EXPECT_EQ(Bkrck2(c.code), c.record) << c.code;
    EXPECT_FALSE(IsOpen(6));
}

TEST(IndexBrokers, EmptyOrTruncatedSortFileFindsNothing) {
    TempDataDir dir;
    WriteBrokerSort(0, {"ALPHA"});
    EXPECT_EQ(Bkrck2("ALPHA"), 0);
    // Record 1 promises ten brokers, but the file ends after two: an
    // unreadable record is "not found", never the number of a missing record.
    WriteBrokerSort(11, {"ALPHA", "MERR"});
    EXPECT_EQ(Bkrck2("MERR"), 3);
    EXPECT_EQ(Bkrck2("ZED"), 0);
}

}  // namespace
