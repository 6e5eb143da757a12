#include "reports/kernel/account_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

std::vector<std::string> Ids(const reports::AccountWalk& walk) {
    std::vector<std::string> ids;
    for (const auto& a : walk.accounts)
        ids.push_back(records::TrimRight(a.id) + "@" + std::to_string(a.entry));
    return ids;
}

struct WalkCase {
    const char* what;
    std::vector<std::string> keys;
    int16_t count;
    std::vector<std::string> expected;  // id@entry
};

class AccountWalkTable : public ::testing::TestWithParam<WalkCase> {};

TEST_P(AccountWalkTable, TakesTheUsedKeysUpToTheCount) {
    TempDataDir dir;
    const WalkCase& c = GetParam();
    fixtures::WriteAccountKeys(c.keys, c.count);
    const reports::AccountWalk walk = reports::WalkAccounts();
    EXPECT_TRUE(walk.count_read);
    EXPECT_EQ(walk.failed_record, 0);
    EXPECT_EQ(Ids(walk), c.expected);
    for (const auto& a : walk.accounts) EXPECT_EQ(a.first_record, 8L * a.entry - 7);
}

const std::string k17[] = {"A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08", "A09",
                           "A10", "A11", "A12", "A13", "A14", "A15", "A16", "A17"};

INSTANTIATE_TEST_SUITE_P(
    Walk, AccountWalkTable,
    ::testing::Values(
        WalkCase{"in entry order", {"ZED", "ABC", "MID"}, 3, {"ZED@1", "ABC@2", "MID@3"}},
        WalkCase{"keys past the count are never taken", {"ONE", "TWO", "THREE"}, 2, {"ONE@1", "TWO@2"}},
        WalkCase{"deleted and blank keys passed over, also between used ones",
                 {"ONE", "$$$$$$", "", "FOUR", "$$$$AB"},
                 5,
                 {"ONE@1", "FOUR@4"}},
        WalkCase{"a count of 0 lists nothing", {"ONE"}, 0, {}},
        WalkCase{"a negative count lists nothing", {"ONE"}, -3, {}},
        WalkCase{"the 17th key lies in the second key record",
                 std::vector<std::string>(std::begin(k17), std::end(k17)),
                 17,
                 {"A01@1", "A02@2", "A03@3", "A04@4", "A05@5", "A06@6", "A07@7", "A08@8", "A09@9", "A10@10",
                  "A11@11", "A12@12", "A13@13", "A14@14", "A15@15", "A16@16", "A17@17"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(AccountWalk, MissingIndexAndShortIndex) {
    TempDataDir dir;
    reports::AccountWalk walk = reports::WalkAccounts();
    EXPECT_FALSE(walk.count_read);
    EXPECT_TRUE(walk.accounts.empty());
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));  // a report never creates it

    // A count beyond the records that exist: the walk keeps what it read
    // and names the record that ended it.
    fixtures::WriteAccountKeys({"ONE", "TWO"}, 40);
    walk = reports::WalkAccounts();
    EXPECT_EQ(Ids(walk), (std::vector<std::string>{"ONE@1", "TWO@2"}));
    EXPECT_EQ(walk.failed_record, 3);
}

TEST(AccountWalk, ZeroByteKeysCountAsBlank) {
    TempDataDir dir;
    fixtures::WriteAccountKeys({"ONE", "TWO"}, 2);
    records::DirectFile index("ACCOUNT.IDX", 128);
    records::Record rec;
    ASSERT_TRUE(index.Read(2, rec));
    for (std::size_t i = 0; i < 8; ++i) rec.data()[i] = 0;
    index.Write(2, rec);
    EXPECT_EQ(Ids(reports::WalkAccounts()), (std::vector<std::string>{"TWO@2"}));
}

TEST(ManagerPattern, QuestionMarksInTheRequestMatchAnything) {
    struct Case {
        const char* requested;
        const char* code;
        bool matches;
    } cases[] = {
        {"????", "ABCD", true},
        {"????", "    ", true},
        {"AB??", "ABCD", true},
        {"AB??", "ABZZ", true},
        {"AB??", "ACCD", false},
        {"ABCD", "ABCD", true},
        {"ABCD", "ABCE", false},
        {"    ", "    ", true},
        {"    ", "ABCD", false},
        {"A?C?", "AXCY", true},
        {"A?C?", "AXDY", false},
        // A "?" stored in the account's code matches only a "?" asked for.
        {"ABCD", "AB??", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::ManagerMatches(c.requested, c.code), c.matches) << c.requested << " / " << c.code;
}

// Writes manager codes into the table of COMMON.FIL: record 10 from byte
// 17 (codes 1-10) and record 81 (codes 11-42).
void WriteManagerTable(const std::vector<std::string>& codes) {
    records::DirectFile common("COMMON.FIL", 128);
    records::Record r10(128, ' ');
    records::Record r81(128, ' ');
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i < 10)
            r10.SetText(16 + 4 * i, 4, codes[i]);
        else
            r81.SetText(4 * (i - 10), 4, codes[i]);
    }
    common.Write(10, r10);
    common.Write(81, r81);
}

TEST(ManagerCodeCheck, AcceptsAllQuestionMarksOrAgreementWithATableCode) {
    TempDataDir dir;
    std::vector<std::string> codes = {"ABCD", "XY??", "JONS"};
    codes.resize(12, "    ");
    codes[11] = "LAST";  // in record 81
    WriteManagerTable(codes);
    struct Case {
        const char* requested;
        int position;
    } cases[] = {
        {"????", 1},                                          // every code agrees; the first one's place
        {"ABCD", 1},  {"AB??", 1}, {"J?NS", 3}, {"XYZW", 2},  // the table's "?" agrees with anything
        {"LAST", 12}, {"ZZZZ", 0}, {"AB?E", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reports::ManagerCodePosition(c.requested), c.position) << c.requested;
        EXPECT_EQ(reports::ManagerCodeAccepted(c.requested), c.position > 0) << c.requested;
    }
}

TEST(ManagerCodeCheck, AllQuestionMarksIsAcceptedWithoutATable) {
    TempDataDir dir;
    EXPECT_EQ(reports::ManagerCodePosition("????"), 1);
    EXPECT_FALSE(reports::ManagerCodeAccepted("AB??"));
    EXPECT_FALSE(TempDataDir::Exists("COMMON.FIL"));  // the check reads, never creates
}

}  // namespace
