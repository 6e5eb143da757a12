// The account list (CLIENT LIST), the summary client list and the client
// form's building blocks.

#include <gtest/gtest.h>

#include <array>

#include "records/files.h"
#include "records/record.h"
#include "reports/lists/client_form.h"
#include "reports/lists/client_list.h"
#include "reports/lists/summary_client_list.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/lists/list_fixture.h"

namespace {

using fixtures::TempDataDir;

class AccountLists : public ::testing::Test {
protected:
    void SetUp() override {
        listfix::WriteFirm();
        fixtures::WriteBrokers(listfix::Brokers());
        fixtures::WriteCustodians(listfix::Custodians());
    }
    TempDataDir dir_;
};

struct ClientListCase {
    const char* golden;
    int16_t sort_order;
    const char* selection;
    const char* account;
    const char* manager;
};

class ClientListGoldens : public AccountLists, public ::testing::WithParamInterface<ClientListCase> {};

TEST_P(ClientListGoldens, MatchesGolden) {
    const ClientListCase& c = GetParam();
    listfix::WriteAccounts(c.sort_order);
    reports::Acclis(c.selection, c.account, c.manager, "CLIENTS.TXT ");
    for (const std::string& line : fixtures::ReportFileLines("CLIENTS.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/lists/") + c.golden,
                                fixtures::ReportText("CLIENTS.TXT"));
}

INSTANTIATE_TEST_SUITE_P(ClientList, ClientListGoldens,
                         ::testing::Values(
                             // Every account: broker and custodian, broker only with a master
                             // account, six combined accounts, custodian only, an account whose
                             // records 4 on cannot be read.
                             ClientListCase{"client_list_by_id.txt", 1, "A   ", "        ", "????"},
                             ClientListCase{"client_list_by_name_ab.txt", 2, "A   ", "        ", "AB??"},
                             ClientListCase{"client_list_by_custodian_account_ab.txt", 3, "A   ", "        ",
                                            "AB??"},
                             // One account: its manager code is not looked at.
                             ClientListCase{"client_list_one.txt", 1, "S   ", "BAKER   ", "AB??"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(AccountLists, ClientListSelectionsAndPages) {
    listfix::WriteAccounts(7);  // a sort order without a "Sorted By" line
    struct Case {
        const char* selection;
        const char* account;
        const char* manager;
        std::vector<std::string> clients;  // the "End of Information" IDs, in order
    } cases[] = {
        {"A   ", "", "????", {"ADAMS ", "BAKER ", "JONES ", "SMITH1", "YOUNG "}},
        {"A   ", "", "    ", {}},  // blanks select only blank codes
        {"A   ", "", "ZZZZ", {"BAKER "}},
        {"    ", "JONES", "ZZZZ", {"JONES "}},  // four blanks: the one account
        {"S   ", "NOBODY", "????", {}},         // not in the index: no page
        {"S   ", "$$$$$$", "????", {}},
    };
    for (const Case& c : cases) {
        reports::Acclis(c.selection, c.account, c.manager, "LIST.TXT");
        const std::vector<std::string> lines = fixtures::ReportFileLines("LIST.TXT");
        std::vector<std::string> clients;
        int page = 0;
        for (const std::string& line : lines) {
            const std::size_t at = line.find(" End of Information for Client ");
            if (at != std::string::npos) clients.push_back(line.substr(at + 31, 6));
            if (line.find("Page ") == 117) {
                EXPECT_EQ(records::Trim(line.substr(122)), std::to_string(++page));
            }
            EXPECT_EQ(line.find("Sorted By"), std::string::npos);
        }
        EXPECT_EQ(clients, c.clients) << c.selection << c.account << c.manager;
        EXPECT_EQ(page, static_cast<int>(c.clients.size()));  // page numbers count printed accounts only
    }
}

TEST_F(AccountLists, ClientListWithoutItsFilesSaysWhy) {
    reports::Acclis("A   ", "", "????", "NONE.TXT");
    EXPECT_EQ(fixtures::ReportText("NONE.TXT"), " ACCOUNT.IDX record 1 could not be read.\n");
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));
    TempDataDir empty;
    reports::Acclis("A   ", "", "????", "NONE.TXT");
    EXPECT_EQ(fixtures::ReportText("NONE.TXT"), " COMMON.FIL record 2 could not be read.\n");
    EXPECT_FALSE(TempDataDir::Exists("COMMON.FIL"));
}

TEST_F(AccountLists, PageNumbersSuppressedGiveABlankLine) {
    listfix::WriteAccounts(1);
    records::DirectFile common("COMMON.FIL", 128);
    records::Record options(128, 0);
    options.data()[29] = 1;  // option 30
    common.Write(31, options);
    reports::Acclis("S   ", "SMITH1", "????", "ONE.TXT");
    const std::vector<std::string> lines = fixtures::ReportFileLines("ONE.TXT");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(records::TrimRight(lines[0]), "");
    EXPECT_NE(lines[1].find("LEDRA TEST ADVISERS"), std::string::npos);
}

struct SummaryCase {
    const char* golden;
    const char* manager;
};

class SummaryGoldens : public AccountLists, public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(SummaryGoldens, MatchesGolden) {
    listfix::WriteAccounts(3);  // the summary list is in identifier order whatever the header says
    reports::Acctlst2(GetParam().manager, "SUMMARY.TXT ");
    for (const std::string& line : fixtures::ReportFileLines("SUMMARY.TXT")) EXPECT_EQ(line.size(), 132u);
    fixtures::CompareWithGolden(std::string("reports/lists/") + GetParam().golden,
                                fixtures::ReportText("SUMMARY.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Summary, SummaryGoldens,
                         ::testing::Values(SummaryCase{"summary_client_list_all.txt", "????"},
                                           SummaryCase{"summary_client_list_ab.txt", "AB??"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(AccountLists, SummaryListOfAnEmptyDirectory) {
    TempDataDir empty;
    reports::Acctlst2("????", "SUMMARY.TXT");
    const std::string text = fixtures::ReportText("SUMMARY.TXT");
    EXPECT_NE(text.find("SUMMARY CLIENT LIST"), std::string::npos);
    EXPECT_NE(text.find(" TOTAL:" + std::string(85, ' ') + "          $ 0.00\n"), std::string::npos) << text;
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.IDX"));
}

TEST(ClientFormParts, Lstcat) {
    const std::string ids[] = {"ACC001", "ACC002", "ACC003", "ACC004", "ACC005", "ACC006",
                               "ACC007", "ACC008", "ACC009", "ACC010", "ACC011"};
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += ids[i] + "  " + (i < 9 ? ", " : ". ");
    struct Case {
        int w;
        int n;
        std::string expected;  // the whole 132-character result; "" for unchanged
    } cases[] = {
        {8, 1, "ACC001  . "},
        {8, 2, "ACC001  , ACC002  . "},
        {6, 3, "ACC001, ACC002, ACC003. "},
        {8, 10, ten},  // exactly the two lines of 50
        {8, 11, ten.substr(0, 98) + ", ACC011  . "},
        {12, 10, ""},  // 140 characters would not fit
        {0, 3, ""},
        {8, 0, ""},
    };
    for (const Case& c : cases) {
        std::string result = "UNCHANGED";
        reports::Lstcat(ids, result, c.w, c.n);
        EXPECT_EQ(result, c.expected.empty() ? "UNCHANGED" : records::Fixed(c.expected, 132))
            << c.w << " " << c.n;
    }
    EXPECT_EQ(ten.size(), 100u);
}

TEST(ClientFormParts, PeriodEndMonthNamesAndLetters) {
    struct Case {
        int16_t month;
        int16_t year;
        const char* text;
    } periods[] = {
        {0, 98, "     N/A"},      {2, 0, " 2/29/00"},   {2, 1, " 2/28/01"},
        {2, 96, " 2/29/96"},      {12, 98, "12/31/98"}, {4, 5, " 4/30/05"},
        {8224, 8224, "     N/A"}, {-1, 98, "     N/A"}, {13, 98, "     N/A"},
    };
    for (const Case& c : periods) EXPECT_EQ(reports::PeriodEndText(c.month, c.year), c.text) << c.month;

    EXPECT_EQ(reports::FiscalMonthName(1), "Jan.");
    EXPECT_EQ(reports::FiscalMonthName(5), "May ");
    EXPECT_EQ(reports::FiscalMonthName(12), "Dec.");
    EXPECT_EQ(reports::FiscalMonthName(0), "    ");
    EXPECT_EQ(reports::FiscalMonthName(8224), "    ");
    EXPECT_EQ(reports::FrequencyLetter(1), "A");
    EXPECT_EQ(reports::FrequencyLetter(5), "2");
    EXPECT_EQ(reports::FrequencyLetter(7), "*");
    EXPECT_EQ(reports::FrequencyLetter(0), " ");
    EXPECT_EQ(reports::FrequencyLetter(8224), " ");
}

TEST(ClientFormParts, CombinedCountStopsAtTheFirstEmptyEntry) {
    std::array<std::string, 10> combined;
    combined.fill("ACC00X  ");
    EXPECT_EQ(reports::CombinedCount(combined), 10);
    combined[3] = "        ";
    EXPECT_EQ(reports::CombinedCount(combined), 3);
    combined[1] = std::string(4, '\0') + "AB  ";
    EXPECT_EQ(reports::CombinedCount(combined), 1);
    combined[0] = "    X   ";
    EXPECT_EQ(reports::CombinedCount(combined), 0);
}

}  // namespace
