// The member statement: the date in words, goldens of the statement with
// its header block and pages, and the accounts that get none.

#include "reports/ledgers/member_statement.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/ledgers/ledger_data.h"

namespace {

using fixtures::TempDataDir;

TEST(Datwrd, WritesTheDateInWords) {
    struct Case {
        const char* date;
        const char* words;
    } cases[] = {
        {"01/05/93", "JANUARY 5, 1993"},
        {"12/31/02", "DECEMBER 31, 2002"},
        {"03/07/01", "MARCH 7, 2001"},
        {"06/30/50", "JUNE 30, 2050"},
        {"06/30/51", "JUNE 30, 1951"},
        {"09/30/99", "SEPTEMBER 30, 1999"},
        {" 5/ 1/ 0", "MAY 1, 2000"},
        {"13/01/05", ""},
        {"        ", ""},
    };
    for (const Case& c : cases) {
        std::string text;
        int16_t length = -1;
        reports::Datwrd(c.date, text, length);
        EXPECT_EQ(text, records::Fixed(c.words, 18)) << c.date;
        EXPECT_EQ(length, static_cast<int16_t>(std::string(c.words).size())) << c.date;
    }
}

std::string RunMember(const std::string& kind, const std::string& account, const std::string& codes = "",
                      const std::string& transaction_type = "", const std::string& security_type = "") {
    reports::Member(records::Fixed(kind, 4), "????", records::Fixed(account, 8), "01/01/05", "12/31/05",
                    records::Fixed(security_type, 4), records::Fixed(codes, 20),
                    records::Fixed(transaction_type, 4), records::Fixed("MEMBER.TXT", 12), 12);
    return fixtures::ReportText("MEMBER.TXT");
}

class Statement : public ::testing::Test {
protected:
    void SetUp() override {
        ledgerfix::WriteFirm();
        ledgerfix::WriteLedgerAccounts();
    }
    TempDataDir dir_;
};

// The header block (address, units at the start and end, bought, withdrawn
// and sold, the caption and the period in words) and a line per
// transaction of the period; MI reads CAPITAL DIST under option 3.
TEST_F(Statement, OneAccountWithItsHeaderBlock) {
    fixtures::SetOptions({{records::Opt::kAutopostIncome, 1}});
    fixtures::CompareWithGolden("reports/ledgers/member_statement_smith.txt", RunMember("S", "SMITH1"));
}

// A transaction type chosen: no header block, no first page heading, only
// the lines of that type.
TEST_F(Statement, ATypeFilterLeavesTheHeaderBlockOut) {
    fixtures::CompareWithGolden("reports/ledgers/member_statement_type_t.txt",
                                RunMember("S", "SMITH1", "", "T"));
}

// 70 purchases: the 37th line starts page 2, which holds 32 lines.
TEST_F(Statement, PagesHoldThirtySixThenThirtyTwoLines) {
    std::vector<records::TransactionRecord> buys;
    for (int k = 0; k < 70; ++k) {
        const int month = 1 + k / 28, day = 1 + k % 28;
        const std::string date = std::string(month < 10 ? "0" : "") + std::to_string(month) + "/" +
                                 (day < 10 ? "0" : "") + std::to_string(day) + "/05";
        records::TransactionRecord t =
            fixtures::Transaction("B", "IBM", "", date, 1, 80 + k, ledgerfix::kIbmKey, 2);
        t.price = static_cast<float>(80 + k);
        buys.push_back(t);
    }
    fixtures::WriteTransactions("JONES", buys);
    fixtures::CompareWithGolden("reports/ledgers/member_statement_pages.txt", RunMember("S", "JONES"));
}

// Over every account: a sale beyond its lot gets the short-sale warning;
// an account that never held units gets no statement.
TEST_F(Statement, WarningsAndAccountsWithoutUnits) {
    fixtures::ClientFields smith;
    smith.id = "SMITH1";
    smith.address = {"JOHN A. SMITH"};
    fixtures::ClientFields short_seller;
    short_seller.id = "SHORT1";
    short_seller.address = {"SHORT SELLER"};
    fixtures::ClientFields cash_only;
    cash_only.id = "CASH1";
    cash_only.address = {"CASH ONLY"};
    fixtures::WriteClients({smith, short_seller, cash_only});
    fixtures::WriteTransactions(
        "SHORT1", {fixtures::Transaction("B", "IBM", "", "02/01/05", 10, 800, ledgerfix::kIbmKey, 2),
                   fixtures::Transaction("S", "IBM", "", "03/01/05", 15, 1350, ledgerfix::kIbmKey, 2)});
    fixtures::WriteTransactions("CASH1", {fixtures::Transaction("FI", "CASH", "", "02/01/05", 0, 500, 0, 1)});
    const std::string text = RunMember("A", "");
    EXPECT_NE(text.find("Warning: short sale condition 1 found in account: SHORT1, transaction no.    2"),
              std::string::npos);
    EXPECT_NE(text.find("JOHN A. SMITH"), std::string::npos);
    EXPECT_NE(text.find("SHORT SELLER"), std::string::npos);
    EXPECT_EQ(text.find("CASH ONLY"), std::string::npos);
}

TEST(MemberEmpty, AnEmptyDirectoryIsSaid) {
    TempDataDir dir;
    EXPECT_NE(RunMember("A", "").find("ACCOUNT.IDX record 1 could not be read."), std::string::npos);
}

}  // namespace
