// The set-up editors reached from the program's menus and commands, driven
// by text scripts on a data directory with accounts and securities:
// Historical Portfolio Values, Modify Stock Splits, Fee Schedule, Billing
// Notes and Portfolio Manager Codes.

#include <gtest/gtest.h>

#include "records/fee_table.h"
#include "records/record.h"
#include "records/stock_splits.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

class SetupEditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}});
        fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "MSFT"}});
        run_ = std::make_unique<ProgramRun>(dir_.path(), ProgramRun::Options{tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started()) << AllFailures(*run_);
    }
    void TearDown() override {
        run_.reset();
        shell::ClearMessageList();
    }

    bool Script(const std::string& text) { return run_->RunScript(text); }

    TempDataDir dir_;
    std::unique_ptr<ProgramRun> run_;
};

TEST_F(SetupEditorsTest, HistoricalValuesTakeTheYearsAHistoryHoldsAndSaveTheTypedNumbers) {
    struct Case {
        const char* year;
        const char* message;
    } cases[] = {{"1950", "1.Illegal year: 1950"},
                 {"2051", "1.Illegal year: 2051"},
                 {"1951", nullptr},
                 {"2050", nullptr}};
    for (const Case& c : cases) {
        std::filesystem::remove("HLACC002.DAT");
        // A refused year shows its message in the errors window, on top.
        const std::string shown = c.message
                                      ? "  dialog 142\n    expect-text 1177 \"" + std::string(c.message) +
                                            "\"\n    click 1\n  closed\n  expect-visible 1127 off\n"
                                      : "  expect-visible 1127 on\n";
        EXPECT_TRUE(Script(std::string("menu \"Utilities/Historical Portfolio Values\"\n"
                                       "dialog 174\n"
                                       "  select 1125 \"ACC002\"\n"
                                       "  set 1123 \"") +
                           c.year + "\"\n  click 1126\n" + shown + "  click 1004\nclosed\n"))
            << c.year << "\n"
            << AllFailures(*run_);
        EXPECT_TRUE(shell::GetMessages().empty()) << c.year;
    }

    std::filesystem::remove("HLACC002.DAT");
    EXPECT_TRUE(
        Script("menu \"Utilities/Historical Portfolio Values\"\n"
               "dialog 174\n"
               "  select 1125 \"ACC002\"\n"
               "  set 1123 \"1998\"\n"
               "  click 1126\n"
               "  set 1129 \"1,250.50\"\n"
               "  set 1130 \"\"\n"
               "  set 1175 \".\"\n"
               "  set 1143 \"-\"\n"
               "  click 1127\n"
               "  dialog 142\n"
               "    expect-text 1177 \"1.Illegal Income Value for month 3: -\"\n"
               "    expect-text 2 \"2.Illegal Income Value for month 7: .\"\n"
               "    click 1\n"
               "  closed\n"
               "  expect-visible 1127 on\n"
               "  click 1004\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_TRUE(shell::GetMessages().empty());

    EXPECT_TRUE(
        Script("menu \"Utilities/Historical Portfolio Values\"\n"
               "dialog 174\n"
               "  select 1125 \"ACC002\"\n"
               "  set 1123 \"1998\"\n"
               "  click 1126\n"
               "  set 1129 \"1,250.50\"\n"
               "  set 1130 \"\"\n"
               "  click 1127\n"
               "  expect-visible 1127 off\n"
               "  expect-text 1123 \"1998\"\n"
               "  click 1004\n"
               "closed\n"))
        << AllFailures(*run_);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("HLACC002.DAT");
    ASSERT_EQ(bytes.size(), 5u * 128u);
    records::Record market(128);
    std::copy(bytes.begin() + 128, bytes.begin() + 256, market.data());
    EXPECT_EQ(market.I16(0), 98);
    EXPECT_EQ(market.R8(2), 1250.50);
    records::Record flows(128);
    std::copy(bytes.begin() + 256, bytes.begin() + 384, flows.data());
    EXPECT_EQ(flows.R8(2), 0.0);
}

TEST_F(SetupEditorsTest, ModifyStockSplitsAsksForTheSecurityThenKeepsItsSplits) {
    EXPECT_TRUE(Script(
        "command 32909\n"
        "dialog 193\n"
        "  expect-text 1123 \"1998\"\n"
        "  set 1413 \"ibm\"\n"
        "  click 1380\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.Illegal Security:ibm\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1413 \"IBM\"\n"
        "  click 1380\n"
        "closed\n"
        "dialog 194\n"
        "  expect-text 1416 \"1\"\n"
        "  expect-enabled 1422 off\n"
        "  click 1109\n"
        "  dialog 195\n"
        "    set 1438 \"0\"\n"
        "    set 1439 \"13/01/98\"\n"
        "    set 1440 \"04/15/98\"\n"
        "    click 1380\n"
        "    dialog 142\n"
        "      expect-text 1177 \"1.Illegal Ratio: 0\"\n"
        "      expect-text 2 \"2.Illegal Ex - Date: 13/01/98\"\n"
        "      click 1\n"
        "    closed\n"
        "    set 1438 \"2\"\n"
        "    set 1439 \"03/02/98\"\n"
        "    click 1380\n"
        "  closed\n"
        "  expect-text 1416 \"1     2.00            03/02/98              04/15/98       not posted\"\n"
        "  click 1380\n"
        "closed\n"
        "exists SECR1998.SPL\n"))
        << AllFailures(*run_);
    EXPECT_EQ(shell::g_report.ReportCode, 361);
    std::string message;
    records::SplitList list;
    records::Rdsplt("IBM", 1998, message, list);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.position, 2);
    EXPECT_EQ(list.splits[0].ratio, 2.0f);
    EXPECT_EQ(list.splits[0].posted, 2);
}

TEST_F(SetupEditorsTest, FeeScheduleNotesAndManagerCodesWriteTheirRecords) {
    EXPECT_TRUE(
        Script("command 32903\n"
               "dialog 172\n"
               "  click 1118\n"
               "  set 1120 \"1.25\"\n"
               "  click 1004\n"
               "closed\n"
               "command 32901\n"
               "dialog 186\n"
               "  set 1313 \"Quarterly in advance\"\n"
               "  click 1380\n"
               "closed\n"
               "menu \"Utilities/Portfolio Manager Codes\"\n"
               "dialog 176\n"
               "  set 1161 \"JS\"\n"
               "  focus 1377\n"
               "  click 1004\n"
               "closed\n"
               "menu \"Utilities/Portfolio Manager Codes\"\n"
               "dialog 176\n"
               "  expect-text 1161 \"JS  \"\n"
               "  key escape\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(records::Inptab().percentages[0][0], 1.25 * 0.01);
    const std::vector<unsigned char> common = TempDataDir::ReadBytes("COMMON.FIL");
    ASSERT_GE(common.size(), 83u * 128u);
    EXPECT_EQ(std::string(common.begin() + 71 * 128, common.begin() + 71 * 128 + 20), "Quarterly in advance");
    EXPECT_EQ(std::string(common.begin() + 9 * 128 + 16, common.begin() + 9 * 128 + 24), "JS      ");
}

}  // namespace
