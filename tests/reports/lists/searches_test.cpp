// The account and security searches.

#include "reports/lists/searches.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/lists/list_fixture.h"

namespace {

using fixtures::TempDataDir;

TEST(Clntxt, PlainCaseSensitiveSubstringOfTheTrimmedText) {
    struct Case {
        const char* search;
        const char* target;
        bool found;
    } cases[] = {
        {"BOND", "OAK BOND FUND", true},
        {"BOND", "Oak Bond Fund", false},
        {" A", "OAK BOND A", true},
        {" A", "AAA", false},
        {" A", "OAK A", true},
        {"", "ALPHA FUND", true},  // all blank: one blank
        {"", "ALPHAFUND", true},   // the 32-character target is blank padded
        {"  X", "AB  X", true},    // leading blanks kept
        {"  X", "AB X", false},
        {"FUND", "FUN", false},
        {"ALPHA FUND", "ALPHA FUND", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::Clntxt(records::Fixed(c.search, 32), records::Fixed(c.target, 32)), c.found)
            << "[" << c.search << "] in [" << c.target << "]";
    // Characters at or below the blank count as blank at the end.
    EXPECT_TRUE(reports::Clntxt(std::string("FUND") + std::string(28, '\0'), "ALPHA FUND"));
    // A full 32-character target containing no blank: an all-blank search
    // finds nothing.
    EXPECT_FALSE(reports::Clntxt("", std::string(32, 'X')));
}

class Searches : public ::testing::Test {
protected:
    void SetUp() override {
        listfix::WriteFirm();
        listfix::WriteAccounts();
        fixtures::WriteSecurityFiles(listfix::Securities());
    }
    TempDataDir dir_;
};

struct SearchCase {
    const char* golden;
    int kind;  // 0 short name, 1 custodian account number, 2 securities
    const char* search;
};

class SearchGoldens : public Searches, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchGoldens, MatchesGolden) {
    const SearchCase& c = GetParam();
    const std::string search = records::Fixed(c.search, 32);
    if (c.kind == 2)
        reports::Secrnm(search, "FIND.TXT    ");
    else
        reports::Clntnm(static_cast<int16_t>(c.kind), search, "FIND.TXT    ");
    for (const std::string& line : fixtures::ReportFileLines("FIND.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/lists/") + c.golden, fixtures::ReportText("FIND.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Find, SearchGoldens,
                         ::testing::Values(
                             // TRUST matches ZETA TRUST (JONES) and BAKER TRUST; the deleted and
                             // blank-key accounts' names never print.
                             SearchCase{"searches_short_name.txt", 0, "TRUST"},
                             SearchCase{"searches_short_name_none.txt", 0, "trust"},
                             SearchCase{"searches_custodian_account.txt", 1, "-"},
                             SearchCase{"searches_custodian_account_none.txt", 1, "5555"},
                             // BOND: the fund in capitals only; DUE: the second description line.
                             SearchCase{"searches_security.txt", 2, "BOND"},
                             SearchCase{"searches_security_second_line.txt", 2, "DUE"},
                             SearchCase{"searches_security_none.txt", 2, "GOLD"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(Searches, DeletedAndBlankKeysNameNoAccount) {
    // DELETED ACCOUNT (entry 2) and BLANK KEY ACCOUNT (entry 5) match "ACCOUNT"
    // but their keys name no account; MIDDLE ACCOUNT (ADAMS) prints.
    reports::Clntnm(0, records::Fixed("ACCOUNT", 32), "FIND.TXT");
    const std::string text = fixtures::ReportText("FIND.TXT");
    EXPECT_NE(text.find("ADAMS"), std::string::npos);
    EXPECT_EQ(text.find("DELETED"), std::string::npos);
    EXPECT_EQ(text.find("BLANK KEY"), std::string::npos);
}

TEST_F(Searches, UnreadableIndexRecordStopsTheSearch) {
    fixtures::WriteAccountKeys({"SMITH1", "$$$$$$", "JONES", "BAKER", "", "ADAMS", "YOUNG"}, 20);
    reports::Clntnm(0, records::Fixed("TRUST", 32), "FIND.TXT");
    const std::string text = fixtures::ReportText("FIND.TXT");
    // The error ends the walk; nothing was listed, so the no-match line
    // follows it.
    EXPECT_NE(
        text.find("\nERROR IN ACCOUNT INFORMATION FILE.\nNo account id found from specified short name.\n"),
        std::string::npos)
        << text;
}

TEST(SearchesEmpty, EmptyDirectoryFindsNothingAndCreatesNothing) {
    TempDataDir dir;
    reports::Clntnm(0, records::Fixed("A", 32), "A.TXT");
    reports::Clntnm(1, records::Fixed("A", 32), "B.TXT");
    reports::Secrnm(records::Fixed("A", 32), "C.TXT");
    EXPECT_NE(fixtures::ReportText("A.TXT").find("No account id found from specified short name."),
              std::string::npos);
    EXPECT_NE(
        fixtures::ReportText("B.TXT").find("No account id found from specified custodian account number."),
        std::string::npos);
    EXPECT_NE(fixtures::ReportText("C.TXT").find("No securities found from specified description."),
              std::string::npos);
    for (const char* f : {"ACCOUNT.IDX", "ACCOUNT.REC", "SECURITY.IDX", "SECURITY.REC"})
        EXPECT_FALSE(TempDataDir::Exists(f)) << f;
}

}  // namespace
