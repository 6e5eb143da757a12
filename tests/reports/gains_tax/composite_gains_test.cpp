// The composite gains and losses report: lots of several accounts in one
// list by date sold, two holding-period classes, the account selections
// and the runs with nothing to report.

#include "reports/gains_tax/composite_gains.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "records/files.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/gains_tax/gains_fixture.h"

namespace {

using fixtures::GainFields;
using fixtures::TempDataDir;

void WriteCompositeData() {
    gains_fixture::WriteCommon();
    gains_fixture::WriteSecurities();
    fixtures::WriteClients({{.id = "WEST1", .manager = "AB", .short_name = "WEST ONE"},
                            {.id = "WEST2", .manager = "?Z", .short_name = "WEST TWO"},
                            {.id = "WEST3", .manager = "A1X", .short_name = "WEST THREE"},
                            {.id = "EAST", .manager = "B?", .short_name = "EAST"}});
    fixtures::WriteGains("WEST1", {
                                      {.sold = " 3/01/96",
                                       .bought = " 6/01/95",
                                       .description1 = "INTL BUSINESS MACHINES CORPORATION",
                                       .proceeds = 1500,
                                       .cost = 1000,
                                       .quantity = 10,
                                       .symbol = "IBM"},
                                      // Gains of a cent either way are left out; two cents print.
                                      {.sold = " 4/01/96",
                                       .bought = " 6/01/95",
                                       .description1 = "ONE CENT",
                                       .proceeds = 100.01,
                                       .cost = 100,
                                       .quantity = 1,
                                       .symbol = "IBM"},
                                      {.sold = " 4/01/96",
                                       .bought = " 6/01/95",
                                       .description1 = "LESS ONE CENT",
                                       .proceeds = 99.99,
                                       .cost = 100,
                                       .quantity = 1,
                                       .symbol = "IBM"},
                                      {.sold = " 4/02/96",
                                       .bought = " 6/01/95",
                                       .description1 = "TWO CENTS",
                                       .proceeds = 100.02,
                                       .cost = 100,
                                       .quantity = 1,
                                       .symbol = "IBM"},
                                      // A year to the day short-term, a day more long-term.
                                      {.sold = " 1/15/97",
                                       .bought = " 1/15/96",
                                       .description1 = "INTL BUSINESS MACHINES CORPORATION",
                                       .proceeds = 12000,
                                       .cost = 10000,
                                       .quantity = 100,
                                       .symbol = "IBM"},
                                      {.sold = " 1/16/97",
                                       .bought = " 1/15/96",
                                       .description1 = "INTL BUSINESS MACHINES CORPORATION",
                                       .proceeds = 4000,
                                       .cost = 5000,
                                       .quantity = 50,
                                       .symbol = "IBM"},
                                  });
    fixtures::WriteGains("WEST2", {
                                      {.sold = " 2/15/96",
                                       .bought = " 9/15/95",
                                       .description1 = "ACME CORP DEBENTURES",
                                       .description2 = "CALLED BONDS",
                                       .proceeds = 2000,
                                       .cost = 2123.45,
                                       .quantity = 20,
                                       .symbol = "BOND"},
                                      // Reacquired, held three years: short-term, "* " after the date sold.
                                      {.sold = " 6/01/96",
                                       .bought = " 6/01/93",
                                       .description1 = "INTL BUSINESS MACHINES CORPORATION",
                                       .proceeds = 1000,
                                       .cost = 900,
                                       .quantity = 10,
                                       .symbol = "IBM",
                                       .reacquired = 1},
                                  });
    fixtures::WriteGains("WEST3", {{.sold = " 3/01/96",
                                    .bought = " 1/02/96",
                                    .description1 = "U S TREASURY BILL",
                                    .proceeds = 9950,
                                    .cost = 9900,
                                    .quantity = 10000,
                                    .symbol = "TBILL"}});
    fixtures::WriteGains("EAST", {{.sold = " 5/01/96",
                                   .bought = " 1/02/96",
                                   .description1 = "EAST LOT",
                                   .proceeds = 10,
                                   .cost = 5,
                                   .quantity = 1,
                                   .symbol = "IBM"}});
}

void WriteList(const std::vector<std::string>& ids) {
    std::ofstream out(records::ResolveName("compfile.lst"), std::ios::binary);
    for (const std::string& id : ids) out << id << "\r\n";
}

std::string RunComposite(const std::string& kind, const std::string& manager, const std::string& group = "") {
    reports::Combgl(kind, manager, " 1/01/96", "12/31/97", "compfile.lst", 12, "COMP.TXT    ", 12,
                    records::Fixed(group, 32));
    EXPECT_FALSE(TempDataDir::Exists(reports::kCombinedGainsFile));
    return fixtures::ReportText("COMP.TXT");
}

TEST(Combgl, LotsOfThreeAccountsInDateOrder) {
    TempDataDir dir;
    WriteCompositeData();
    WriteList({"WEST1", "WEST2", "WEST3"});
    fixtures::CompareWithGolden("reports/gains_tax/composite_gains_group.txt",
                                RunComposite("S   ", "????", "WEST COAST ACCOUNTS"));
}

TEST(Combgl, ManagerPatternMatchesQuestionMarksOnEitherSide) {
    TempDataDir dir;
    WriteCompositeData();
    // "A?" takes AB and the stored "?Z", not A1X or B?.
    const std::string text = RunComposite("A   ", "A?  ");
    EXPECT_NE(text.find("ACME CORP DEBENTURES"), std::string::npos);  // WEST2
    EXPECT_NE(text.find("TWO CENTS"), std::string::npos);             // WEST1
    EXPECT_EQ(text.find("U S TREASURY BILL"), std::string::npos);     // WEST3
    EXPECT_EQ(text.find("EAST LOT"), std::string::npos);
}

TEST(Combgl, NothingToReport) {
    TempDataDir dir;
    WriteCompositeData();
    fixtures::CompareWithGolden("reports/gains_tax/composite_gains_no_accounts.txt",
                                RunComposite("A   ", "QQ  "));
    // Accounts, but no lot in the range.
    reports::Combgl("A   ", "????", " 1/01/90", "12/31/90", "            ", 12, "NONE.TXT    ", 12,
                    std::string(32, ' '));
    const std::string none = fixtures::ReportText("NONE.TXT");
    EXPECT_NE(none.find("\n No gains (losses) to report.\n"), std::string::npos);
    EXPECT_EQ(none.find("No accounts"), std::string::npos);
}

TEST(Combgl, NoTotalsLineWithoutCost) {
    TempDataDir dir;
    WriteCompositeData();
    fixtures::WriteGains("WEST1", {{.sold = " 3/01/96",
                                    .bought = " 6/01/95",
                                    .description1 = "GIFT",
                                    .proceeds = 50,
                                    .cost = 0,
                                    .quantity = 1,
                                    .symbol = "IBM"}});
    WriteList({"WEST1"});
    const std::string text = RunComposite("S   ", "????");
    EXPECT_NE(text.find("GIFT"), std::string::npos);
    EXPECT_EQ(text.find("TOTALS:"), std::string::npos);
}

TEST(Combgl, EveryAccountOfAManagerCodeHoweverMany) {
    TempDataDir dir;
    gains_fixture::WriteCommon();
    gains_fixture::WriteSecurities();
    std::vector<fixtures::ClientFields> clients;
    for (int k = 1; k <= 250; ++k) {
        const std::string id = "A" + std::to_string(1000 + k);
        clients.push_back({.id = id, .manager = "AB"});
        fixtures::WriteGains(id, {{.sold = " 3/01/96",
                                   .bought = " 6/01/95",
                                   .description1 = "LOT " + id,
                                   .proceeds = 2,
                                   .cost = 1,
                                   .quantity = 1,
                                   .symbol = "IBM"}});
    }
    fixtures::WriteClients(clients);
    const std::string text = RunComposite("A   ", "AB  ");
    EXPECT_NE(text.find("LOT A1001"), std::string::npos);
    EXPECT_NE(text.find("LOT A1250"), std::string::npos);
    EXPECT_NE(text.find("250.00          500.00          250.00"), std::string::npos);
}

TEST(Combgl, TooManyLotsStopsTheCollection) {
    TempDataDir dir;
    WriteCompositeData();
    std::vector<GainFields> lots(17000, {.sold = " 3/01/96",
                                         .bought = " 6/01/95",
                                         .description1 = "LOT",
                                         .proceeds = 2,
                                         .cost = 1,
                                         .quantity = 1,
                                         .symbol = "IBM"});
    fixtures::WriteGains("WEST1", lots);
    fixtures::WriteGains("WEST2", lots);
    WriteList({"WEST1", "WEST2"});
    EXPECT_EQ(RunComposite("S   ", "????"),
              "                Warning, maximum of 32766 gains (losses) allowed.\n");
    // Both fit when one file holds fewer.
    lots.resize(15766);
    fixtures::WriteGains("WEST2", lots);
    const std::string text = RunComposite("S   ", "????");
    EXPECT_NE(text.find("32,766.00"), std::string::npos);
}

}  // namespace
