// Group files: loading and saving byte for byte, the blocks a damaged file
// still yields, the expansion of groups and super groups into accounts and
// the account list file.

#include "records/groups.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::CGroupList;

void WriteText(const std::string& name, const std::string& text) {
    TempDataDir::WriteBytes(name, {text.begin(), text.end()});
}

std::string ReadText(const std::string& name) {
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(name);
    return {bytes.begin(), bytes.end()};
}

struct RoundTripCase {
    std::string name;
    std::string file;
};

class GroupFileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(GroupFileRoundTrip, SavesWhatItLoadedByteForByte) {
    TempDataDir dir;
    WriteText("group.dat", GetParam().file);
    CGroupList list;
    list.Load("group.dat");
    ASSERT_TRUE(list.Save("saved.dat"));
    EXPECT_EQ(ReadText("saved.dat"), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GroupFileRoundTrip,
    ::testing::Values(
        RoundTripCase{"TwoWordDescription", "GROWTH Growth accounts\r\n2\r\nACC001\r\nACC002\r\n"},
        RoundTripCase{"EmptyDescriptionKeepsItsBlank", "G1 \r\n1\r\nA1\r\n"},
        RoundTripCase{"NoMembers", "EMPTY Nothing yet\r\n0\r\n"},
        RoundTripCase{"SeveralBlocks",
                      "G1 First\r\n1\r\nA1\r\nG2 \r\n0\r\nG3 Third one\r\n3\r\nA1\r\nB2\r\nC3\r\n"},
        RoundTripCase{"BlanksInsideTheDescription", "G1  two  blanks \r\n1\r\nA1\r\n"},
        RoundTripCase{"EmptyFile", ""}),
    [](const auto& info) { return info.param.name; });

TEST(GroupFile, LoadsEntriesWithNameDescriptionAndMembers) {
    TempDataDir dir;
    // Lines may end in LF alone; white space between members is free.
    WriteText("super.dat", "ALL Every group\n2\nGROWTH\n INCOME \nSMALL\n0\n");
    CGroupList list;
    list.Load("SUPER.DAT");  // the name in any case
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Entries()[0].Name(), "ALL");
    EXPECT_EQ(list.Entries()[0].description, "Every group");
    EXPECT_EQ(list.Entries()[0].Members(), (std::vector<std::string>{"GROWTH", "INCOME"}));
    EXPECT_EQ(list.Entries()[1].Name(), "SMALL");
    EXPECT_EQ(list.Entries()[1].description, "");
    EXPECT_TRUE(list.Entries()[1].Members().empty());
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"ALL", "SMALL"}));
    EXPECT_NE(list.Find("SMALL"), nullptr);
    EXPECT_EQ(list.Find("small"), nullptr);  // names are found exactly
}

struct DamagedCase {
    std::string name;
    std::string file;
    std::vector<std::string> names;  // entries that survive
};

class DamagedGroupFile : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedGroupFile, KeepsTheBlocksBeforeTheDamage) {
    TempDataDir dir;
    WriteText("group.dat", GetParam().file);
    CGroupList list;
    list.Load("group.dat");
    EXPECT_EQ(list.Names(), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedGroupFile,
    ::testing::Values(
        DamagedCase{"LastEntryWithoutCount", "G1 a\r\n1\r\nA1\r\nG2 b\r\n", {"G1"}},
        DamagedCase{"CountNotANumber", "G1 a\r\nX\r\nA1\r\nG2 b\r\n0\r\n", {}},
        DamagedCase{"FewerMembersThanCounted", "G1 a\r\n1\r\nA1\r\nG2 b\r\n5\r\nA1\r\nA2\r\n", {"G1", "G2"}},
        DamagedCase{"EmptyFile", "", {}}),
    [](const auto& info) { return info.param.name; });

TEST(GroupFile, MissingFileLeavesTheListAsItIs) {
    TempDataDir dir;
    WriteText("group.dat", "G1 a\r\n0\r\n");
    CGroupList list;
    list.Load("group.dat");
    list.Load("nothing.dat");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"G1"}));
}

TEST(GroupFile, FailedSaveKeepsThePreviousFile) {
    TempDataDir dir;
    const std::string before = "G1 a\r\n0\r\n";
    WriteText("group.dat", before);
    CGroupList list;
    list.Load("group.dat");
    list.Entries()[0].description = "changed";
    // The new content is written beside the file first; a place that
    // cannot be written stops the save before the old file is touched.
    std::filesystem::create_directory("group.dat.new");
    EXPECT_FALSE(list.Save("group.dat"));
    EXPECT_EQ(ReadText("group.dat"), before);
}

class GroupExpansion : public ::testing::Test {
protected:
    void SetUp() override {
        WriteText("group.dat",
                  "GROWTH Growth accounts\r\n2\r\nACC1\r\nACC2\r\n"
                  "INCOME Income accounts\r\n2\r\nACC2\r\nACC3\r\n"
                  "EMPTY \r\n0\r\n");
        WriteText("super.dat",
                  "BOTH Growth and income\r\n2\r\nGROWTH\r\nINCOME\r\n"
                  "STALE One group is gone\r\n2\r\nGONE\r\nINCOME\r\n"
                  "NOTHING \r\n1\r\nEMPTY\r\n");
    }
    TempDataDir dir_;
    std::vector<std::string> accounts_;
    std::vector<std::string> messages_;
    std::string description_;
};

TEST_F(GroupExpansion, GroupGivesItsAccountsOnceAndItsDescription) {
    accounts_ = {"ACC2"};
    EXPECT_TRUE(records::ExpandGroup(accounts_, "GROWTH", description_, messages_));
    EXPECT_EQ(accounts_, (std::vector<std::string>{"ACC2", "ACC1"}));
    EXPECT_EQ(description_, "Growth accounts");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(GroupExpansion, MissingGroupIsReported) {
    description_ = "kept";
    EXPECT_FALSE(records::ExpandGroup(accounts_, "growth", description_, messages_));
    EXPECT_EQ(messages_, (std::vector<std::string>{"Group does not exist:growth"}));
    EXPECT_EQ(description_, "kept");
    EXPECT_FALSE(records::ExpandSuperGroup(accounts_, "NONE", description_, messages_));
    EXPECT_EQ(messages_.back(), "Supergroup does not exist:NONE");
    EXPECT_TRUE(accounts_.empty());
}

TEST_F(GroupExpansion, SuperGroupTakesEachAccountOnceAtItsFirstPlaceAndItsOwnDescription) {
    EXPECT_TRUE(records::ExpandSuperGroup(accounts_, "BOTH", description_, messages_));
    EXPECT_EQ(accounts_, (std::vector<std::string>{"ACC1", "ACC2", "ACC3"}));
    EXPECT_EQ(description_, "Growth and income");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(GroupExpansion, SuperGroupNamingADeletedGroupReportsItAndGathersTheOthers) {
    records::ExpandSuperGroup(accounts_, "STALE", description_, messages_);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Group does not exist:GONE"}));
    EXPECT_EQ(accounts_, (std::vector<std::string>{"ACC2", "ACC3"}));
    EXPECT_EQ(description_, "One group is gone");
}

TEST(AccountListFile, OneIdentifierALine) {
    TempDataDir dir;
    ASSERT_TRUE(records::WriteAccountLines({"ACC1", "B2"}, "compfile.lst"));
    EXPECT_EQ(ReadText("compfile.lst"), "ACC1\r\nB2\r\n");
    std::vector<std::string> accounts = {"A"};
    records::AddUniqueAccount(accounts, "A");
    records::AddUniqueAccount(accounts, "a");
    EXPECT_EQ(accounts, (std::vector<std::string>{"A", "a"}));
}

}  // namespace
