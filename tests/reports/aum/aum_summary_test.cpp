// The summary of assets under management: goldens, orders, the manager
// code and the work file.

#include "reports/aum/aum_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/golden.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/appraisal/position_summary_fixture.h"

namespace {

using fixtures::TempDataDir;

std::vector<std::string> RunSumaum(const char* manager, const char* sort) {
    reports::Sumaum(possum::kReportDate, manager, sort, "AUM.TXT     ");
    return fixtures::ReportFileLines("AUM.TXT");
}

// The account identifiers of the account lines, in print order.
std::vector<std::string> Order(const std::vector<std::string>& lines) {
    std::vector<std::string> ids;
    bool body = false;
    for (const std::string& line : lines) {
        if (line.find("   ID      ACCOUNT NAME") == 0) {
            body = true;
            continue;
        }
        if (line.find("------------") != std::string::npos) break;
        if (body && line.size() > 7 && line[1] != ' ') ids.push_back(line.substr(1, 6));
    }
    return ids;
}

TEST(Sumaum, GoldenByMarketValue) {
    TempDataDir dir;
    possum::WriteData();
    for (const std::string& line : RunSumaum("????", "M   ")) EXPECT_EQ(line.size(), 132u);
    EXPECT_FALSE(TempDataDir::Exists("TLSTCLNT.TMP"));
    fixtures::CompareWithGolden("reports/aum/aum_summary_all.txt", fixtures::ReportText("AUM.TXT"));
}

TEST(Sumaum, GoldenByNameLastWordFirst) {
    TempDataDir dir;
    possum::WriteData();
    fixtures::SetOptions({{records::Opt::kLastNameFirst, 1}});
    RunSumaum("AB??", "a   ");
    fixtures::CompareWithGolden("reports/aum/aum_summary_ab.txt", fixtures::ReportText("AUM.TXT"));
}

TEST(Sumaum, Orders) {
    TempDataDir dir;
    possum::WriteData();
    struct Case {
        const char* sort;
        std::vector<std::string> ids;
        const char* heading;
    };
    const Case cases[] = {
        {"M   ", {"ALPHA ", "DELTA ", "BETA  ", "GAMMA "}, "SORTED BY MARKET VALUE"},
        {"E   ", {"GAMMA ", "DELTA ", "ALPHA ", "BETA  "}, "SORTED BY EQUITIES"},
        {"A   ", {"DELTA ", "ALPHA ", "BETA  ", "GAMMA "}, "SORTED BY ACCOUNT NAME"},
        {"    ", {"ALPHA ", "BETA  ", "GAMMA ", "DELTA "}, "SORTED BY ACCOUNT ID"},
        {"I   ", {"ALPHA ", "BETA  ", "GAMMA ", "DELTA "}, "SORTED BY ACCOUNT ID"},
        {"P   ", {"ALPHA ", "BETA  ", "GAMMA ", "DELTA "}, "SORTED BY ACCOUNT ID"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = RunSumaum("    ", c.sort);
        EXPECT_EQ(Order(lines), c.ids) << c.sort;
        int headings = 0, printed = 0;
        for (const std::string& line : lines) {
            if (line.find(c.heading) != std::string::npos) ++headings;
            if (line.find("DATE PRINTED") != std::string::npos) ++printed;
        }
        EXPECT_EQ(headings, 1) << c.sort;
        EXPECT_EQ(printed, 1) << c.sort;
    }
}

TEST(Sumaum, ManagerCodes) {
    TempDataDir dir;
    possum::WriteData();
    std::vector<std::string> lines = RunSumaum("????", "    ");
    EXPECT_EQ(Order(lines).size(), 4u);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[lines.size() - 2].find("TOTAL FOR MANAGER: ALL "), std::string::npos);
    lines = RunSumaum("A???", "    ");
    EXPECT_EQ(Order(lines), (std::vector<std::string>{"ALPHA ", "BETA  "}));
    // A code the manager table does not hold: the heading alone.
    lines = RunSumaum("ZZ12", "    ");
    EXPECT_TRUE(Order(lines).empty());
    bool total = false;
    for (const std::string& line : lines)
        total = total || line.find("TOTAL FOR MANAGER") != std::string::npos;
    EXPECT_FALSE(total);
}

}  // namespace

namespace {

// The page limit is the page length less 4; the heading uses 15 lines.
TEST(Sumaum, PageBreaks) {
    TempDataDir dir;
    possum::WriteData();
    possum::WriteFirm(21);
    int headings = 0, accounts = 0;
    for (const std::string& line : RunSumaum("????", "    ")) {
        if (line.find("SUMMARY OF ASSETS UNDER MANAGEMENT") != std::string::npos) ++headings;
        if (line.find("PORTFOLIO MANAGER") != std::string::npos) {
            EXPECT_EQ(accounts % 2, 0);
        }
        for (const char* id : {" ALPHA ", " BETA ", " GAMMA ", " DELTA "})
            if (line.find(id) == 0) ++accounts;
    }
    EXPECT_EQ(headings, 2);
    EXPECT_EQ(accounts, 4);
}

}  // namespace
