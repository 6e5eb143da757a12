// The account directory: a golden of every account in index order
// (checked by hand against the layout strings), the six orders, cash near
// zero, an unpriced account, a broker not in the table, BALANCES.BAL byte
// for byte, and an account record that cannot be read in the middle of the
// scan.

#include "reports/lists/account_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/manager_table.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

class Directory : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
        fixtures::WriteProgramDate("12/31/98");
        records::ManagerSlots managers;
        managers.fill("    ");
        managers[0] = "AB  ";
        managers[1] = "CD  ";
        records::WriteManagerTable(managers);
        fixtures::WriteBrokers({{.id = "ALDEN", .executive = "R WELLS", .telephone = "6175550110"},
                                {.id = "BAXTER", .executive = "M ORTIZ", .telephone = "2125"}});
        {
            // The firms' short names: the broker's second record, bytes 88-95.
            records::DirectFile brokers("BROKER.REC", 128, false);
            for (const auto& [record, firm] : {std::pair<long, const char*>{2, "ALDENSEC"}, {5, "BAXTER"}}) {
                records::Record rec;
                ASSERT_TRUE(brokers.Read(record, rec));
                rec.SetText(88, 8, firm);
                brokers.Write(record, rec);
            }
        }
        fixtures::WriteClients({
            {.id = "SMITH1",
             .manager = "AB",
             .short_name = "SMITH FAMILY TRUST",
             .opened = "01/05/98",
             .custodian_account = "C-100001",
             .broker = "ALDEN",
             .objective = "TR"},
            {.id = "JONES",
             .manager = "AB",
             .short_name = "MARY JONES IRA",
             .opened = "06/15/97",
             .custodian_account = "C-200002",
             .broker = "BAXTER",
             .objective = "CI"},
            {.id = "ZED",
             .manager = "CD",
             .short_name = "ZED HOLDINGS",
             .opened = "03/01/96",
             .custodian_account = "C-300003",
             .broker = "NOBODY"},
            {.id = "UNPR",
             .manager = "AB",
             .short_name = "ALPHA UNPRICED",
             .opened = "02/02/98",
             .custodian_account = "C-400004",
             .broker = "ALDEN",
             .objective = "AG"},
        });
        fixtures::WriteSecurityFiles({{.symbol = "CASH", .description1 = "CASH", .type = "1"},
                                      {.symbol = "IBM", .description1 = "IBM", .type = "H"},
                                      {.symbol = "BOND", .description1 = "BOND", .type = "B"},
                                      {.symbol = "NOPRICE", .description1 = "NO PRICE", .type = "H"}});
        fixtures::WritePrices("12/31/98", {1.0, 125.5, 98.5, -99999.999999});
        fixtures::WriteHoldings(
            "SMITH1",
            {{.symbol = "CASH", .security_record = 1, .quantity = 5000.25, .cost = 5000.25, .holding_key = 0},
             {.symbol = "IBM",
              .security_record = 2,
              .quantity = 100,
              .cost = 9000,
              .tax_lot = "1",
              .holding_key = 1.8e15}});
        fixtures::WriteHoldings(
            "JONES",
            {{.symbol = "CASH", .security_record = 1, .quantity = -0.005, .cost = -0.005, .holding_key = 0},
             {.symbol = "BOND",
              .security_record = 3,
              .quantity = 20000,
              .cost = 19500,
              .tax_lot = "B1",
              .holding_key = 1.2e15}});
        fixtures::WriteHoldings(
            "ZED",
            {{.symbol = "CASH", .security_record = 1, .quantity = -0.02, .cost = -0.02, .holding_key = 0},
             {.symbol = "IBM",
              .security_record = 2,
              .quantity = 10,
              .cost = 1000,
              .tax_lot = "1",
              .holding_key = 1.8e15}});
        fixtures::WriteHoldings(
            "UNPR", {{.symbol = "CASH", .security_record = 1, .quantity = 100, .cost = 100, .holding_key = 0},
                     {.symbol = "NOPRICE",
                      .security_record = 4,
                      .quantity = 50,
                      .cost = 500,
                      .tax_lot = "1",
                      .holding_key = 1.8e15}});
    }

    // The account IDs in the order the report lists them.
    std::vector<std::string> Order(const char* sort) {
        reports::Clnregtr("12/31/98", "????", sort, 3, "ORDER.TXT");
        std::vector<std::string> ids;
        for (const std::string& line : fixtures::ReportFileLines("ORDER.TXT")) {
            const std::string id = records::TrimRight(line.substr(1, 8));
            for (const char* known : {"SMITH1", "JONES", "ZED", "UNPR"})
                if (id == known && line.find("%") != std::string::npos) ids.push_back(id);
        }
        return ids;
    }

    TempDataDir dir_;
};

TEST_F(Directory, EveryAccountInIndexOrderMatchesGolden) {
    reports::Clnregtr("12/31/98", "????", "    ", 3, "DIRECT.TXT");
    fixtures::CompareWithGolden("reports/lists/account_directory_all.txt",
                                fixtures::ReportText("DIRECT.TXT"));
    EXPECT_FALSE(TempDataDir::Exists("TLSTCLNT.TMP"));
    // BALANCES.BAL: custodian account, MMDDYY and the market value (the
    // unpriced account's -99999.99 kept as it is; JONES's cash lot of
    // -0.005 counts in its value though its cash shows 0.00).
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("BALANCES.BAL");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "C-100001 123198    17550.25\r\n"
              "C-200002 123198    19699.99\r\n"
              "C-300003 123198     1254.98\r\n"
              "C-400004 123198   -99999.99\r\n");
}

TEST_F(Directory, TheSixOrders) {
    struct Case {
        const char* sort;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {"    ", {"SMITH1", "JONES", "ZED", "UNPR"}},
        {"I   ", {"ZED", "UNPR", "JONES", "SMITH1"}},  // objectives blank, AG, CI, TR
        {"m   ", {"JONES", "SMITH1", "ZED", "UNPR"}},  // descending, unpriced last
        {"C   ", {"SMITH1", "UNPR", "JONES", "ZED"}},
        {"P   ", {"SMITH1", "JONES", "ZED", "UNPR"}},
        {"A   ", {"UNPR", "JONES", "SMITH1", "ZED"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sort);
        EXPECT_EQ(Order(c.sort), c.ids);
    }
}

TEST_F(Directory, AManagerCodeListsItsAccountsAndANoValueRunNothing) {
    reports::Clnregtr("12/31/98", "CD  ", "    ", 3, "CD.TXT");
    const std::string text = fixtures::ReportText("CD.TXT");
    EXPECT_NE(text.find("PORTFOLIO MANAGER : CD"), std::string::npos);
    EXPECT_NE(text.find("ZED HOLDINGS"), std::string::npos);
    EXPECT_EQ(text.find("SMITH FAMILY TRUST"), std::string::npos);
    EXPECT_NE(text.find("TOTALS FOR MANAGER: CD"), std::string::npos);
    std::filesystem::remove("OUTPUT.TMP");
    reports::Clnregtr("12/31/98", "????", "    ", 0, "NONE.TXT");
    EXPECT_FALSE(TempDataDir::Exists("NONE.TXT"));
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
}

TEST_F(Directory, AnAccountRecordThatCannotBeReadEndsTheScanButNotTheReport) {
    // The file ends inside the third account's records.
    fixtures::CutFile("ACCOUNT.REC", 8 * 2 + 3);
    reports::Clnregtr("12/31/98", "????", "    ", 3, "CUT.TXT");
    const std::vector<std::string> lines = fixtures::ReportFileLines("CUT.TXT");
    const std::string text = fixtures::ReportText("CUT.TXT");
    EXPECT_NE(text.find("SMITH FAMILY TRUST"), std::string::npos);
    EXPECT_NE(text.find("MARY JONES IRA"), std::string::npos);
    EXPECT_EQ(text.find("ZED HOLDINGS"), std::string::npos);
    EXPECT_NE(text.find("TOTALS FOR MANAGER: ALL"), std::string::npos);
    EXPECT_EQ(records::TrimRight(lines.back()), " ACCOUNT.REC record 17 could not be read.");
}

}  // namespace
