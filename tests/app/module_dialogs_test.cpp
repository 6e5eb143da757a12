// The module entry dialogs reached by their commands, driven by text
// scripts on a data directory with accounts and securities: Client
// Invoices (report code 261), Account Billing Information, the income
// distribution dialogs with Initial Date and Post Income, and Input Asset
// Allocation with Delete Asset Allocation. The Modules menu goes after the
// first dispatched command, so every command is reached by its id.

#include <gtest/gtest.h>

#include <filesystem>

#include "records/common_file.h"
#include "records/files.h"
#include "records/manager_table.h"
#include "records/module_stores.h"
#include "records/record.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"
#include "tests/tools/script_driver.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;
using Messages = std::vector<std::string>;

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

class ModuleDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}});
        fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "IBMX"}, {.symbol = "MSFT"}});
        run_ = std::make_unique<ProgramRun>(dir_.path(), ProgramRun::Options{tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started()) << AllFailures(*run_);
    }
    void TearDown() override {
        run_.reset();
        shell::ClearMessageList();
    }

    bool Script(const std::string& text) { return run_->RunScript(text); }

    // Plays the script `until`, whose last press is refused, answers the
    // errors window that opens on top of the dialog (reading the message
    // list while it shows, and checking that its lines show the list), then
    // plays `rest` in the same run; gives what was read, and the failures go
    // to the test. Done in the errors window empties the list.
    Messages Shown(const std::string& until, const std::string& rest) {
        Messages shown;
        std::vector<std::string> failures;
        std::vector<platform::ScriptStep> first =
            tools::ParseScript(until + "dialog 142\n", run_->Frame()).steps;
        std::vector<platform::ScriptStep> second =
            tools::ParseScript("  click 1\nclosed\n" + rest, run_->Frame()).steps;
        platform::ScriptedInteraction ordered([&](const std::string& f) { failures.push_back(f); });
        ordered.SetTopLevelWindow(run_->Frame());
        for (platform::ScriptStep& step : first) ordered.Add(std::move(step));
        ordered.Run("the message list", [&] {
            shown = shell::GetMessages();
            const auto& lines = shell::ReportErrorsDialog().Lines();
            for (std::size_t k = 0; k < lines.size(); ++k) {
                const std::string want = k < shown.size() ? shown[k] : std::string();
                if (lines[k] != want)
                    return "errors window line " + std::to_string(k + 1) + ": \"" + lines[k] + "\"";
            }
            return std::string();
        });
        for (platform::ScriptStep& step : second) ordered.Add(std::move(step));
        {
            platform::ScopedInteraction installed(ordered);
            ordered.RunScript();
            ordered.FailIfStepsLeft();
        }
        for (const std::string& f : failures) ADD_FAILURE() << f;
        EXPECT_TRUE(shell::GetMessages().empty());
        return shown;
    }

    // Plays a script in which nothing is refused (an errors window would
    // fail it) and gives the message list after it.
    Messages Passed(const std::string& script) {
        EXPECT_TRUE(Script(script)) << AllFailures(*run_);
        return shell::GetMessages();
    }

    TempDataDir dir_;
    std::unique_ptr<ProgramRun> run_;
};

// ---- Client Invoices

TEST_F(ModuleDialogsTest, InvoiceRequestChecksItsDatesAndFileNameAndStoresTheGlobals) {
    struct Case {
        const char* name;
        const char* steps;
        Messages messages;  // empty: the request goes down the road
    } cases[] = {
        {"empty position date", "", {"1.Illegal date"}},
        {"post-fees date not asked for",
         "  check 1148 on\n  set 1153 \"13/45/98\"\n  check 1148 off\n  expect-visible 1153 off\n"
         "  set 1151 \"12/31/98\"\n",
         {}},
        {"post-fees date asked for",
         "  check 1148 on\n  set 1153 \"13/45/98\"\n  set 1151 \"12/31/98\"\n",
         {"1.Illegal post date"}},
        {"bad file name",
         "  set 1151 \"12/31/98\"\n  click 1174\n  set 1167 \"9TOOLONGNAME\"\n",
         {"1.Illegal file name"}},
        {"all three at once",
         "  check 1148 on\n  click 1174\n  set 1167 \"A.B.C\"\n",
         {"1.Illegal date", "2.Illegal post date", "3.Illegal file name"}},
    };
    for (const Case& c : cases) {
        const std::string until = std::string("command 32899\ndialog 175\n") + c.steps + "  click 1139\n";
        // A request that passes goes down the road; the list is read after it.
        const std::string rest =
            c.messages.empty() ? "closed\nmessage \"This item is not available.\" \"Report Diagnostic\" ok\n"
                               : "  click 1140\nclosed\n";
        EXPECT_EQ(c.messages.empty() ? Passed(until + rest) : Shown(until, rest), c.messages) << c.name;
    }
}

TEST_F(ModuleDialogsTest, InvoiceRequestDefaultsToDisplayAndKeepsTheSelectionInTheGlobals) {
    shell::g_report.OutputDestination = 0;
    EXPECT_TRUE(
        Script("command 32899\n"
               "dialog 175\n"
               "  expect-text 1146 \"Account\"\n"
               "  expect-visible 1145 off\n"
               "  expect-visible 1153 off\n"
               "  expect-visible 1167 off\n"
               "  select 1125 \"ACC002\"\n"
               "  check 1149 on\n"
               "  check 1150 on\n"
               "  set 1151 \"1/5/99\"\n"
               "  click 1139\n"
               "closed\n"
               "message \"This item is not available.\" \"Report Diagnostic\" ok\n"))
        << AllFailures(*run_);
    const shell::ReportGlobals& g = shell::g_report;
    EXPECT_EQ(g.OutputDestination, shell::kOutputDisplay);
    EXPECT_EQ(g.SelectionScope, 2);
    EXPECT_EQ(g.SelectedAccount, "ACC002");
    EXPECT_EQ(g.ReportFlag1, 0);
    EXPECT_EQ(g.ReportFlag2, 1);
    EXPECT_EQ(g.ReportFlag3, 1);
    EXPECT_EQ(g.EndDate, "01/05/99");
    EXPECT_EQ(g.ReportCode, 261);

    // All: the manager code, upper-cased; the post-fees date and the file.
    EXPECT_TRUE(
        Script("command 32899\n"
               "dialog 175\n"
               "  click 1429\n"
               "  expect-text 1146 \"Manager Code\"\n"
               "  expect-visible 1125 off\n"
               "  set 1145 \"ab\"\n"
               "  check 1148 on\n"
               "  set 1153 \"2/1/99\"\n"
               "  set 1151 \"1/31/99\"\n"
               "  click 1174\n"
               "  set 1167 \"INVOICE.TXT\"\n"
               "  click 1139\n"
               "closed\n"
               "message \"This item is not available.\" \"Report Diagnostic\" ok\n"))
        << AllFailures(*run_);
    EXPECT_EQ(g.SelectionScope, 1);
    EXPECT_EQ(g.ManagerCode, "AB");
    EXPECT_EQ(g.ReportFlag1, 1);
    EXPECT_EQ(g.StartDate, "02/01/99");
    EXPECT_EQ(g.EndDate, "01/31/99");
    EXPECT_EQ(g.OutputDestination, shell::kOutputFile);
    EXPECT_EQ(g.OutputFileName, "INVOICE.TXT");
}

TEST_F(ModuleDialogsTest, InvoiceManagerCodesSkipABlankSlot) {
    records::ManagerSlots table;
    table.fill("    ");
    table[10] = "AAAA";  // record 81, its first slot
    table[12] = "CCCC";  // slot 12 left blank between them
    table[99] = "ZZZZ";
    records::WriteManagerTable(table);
    EXPECT_TRUE(
        Script("command 32899\n"
               "dialog 175\n"
               "  click 1429\n"
               "  expect-text 1145 \"????\"\n"
               "  select 1145 1\n"
               "  expect-text 1145 \"AAAA\"\n"
               "  select 1145 2\n"
               "  expect-text 1145 \"CCCC\"\n"
               "  select 1145 3\n"
               "  expect-text 1145 \"ZZZZ\"\n"
               "  click 1140\n"
               "closed\n"))
        << AllFailures(*run_);
}

// ---- Account Billing Information

TEST_F(ModuleDialogsTest, BillingChecksTheMonthAndTheDates) {
    struct Case {
        const char* steps;
        Messages messages;
    } cases[] = {
        {"  set 1322 \"0\"\n", {}},
        {"  set 1322 \"12\"\n", {}},
        {"  set 1322 \"13\"\n", {"1.Illegal Last Month: 13"}},
        {"  set 1319 \"\"\n  set 1324 \"\"\n", {}},
        {"  set 1324 \"13/40/98\"\n", {"1.Illegal Closing Date: 13/40/98"}},
        {"  set 1317 \"-\"\n  set 1319 \"02/30/98\"\n  set 1318 \".\"\n  set 1321 \"-\"\n",
         {"1.Illegal Balance Due: -", "2.Illegal Payment Amount: .", "3.Illegal Last Payment Date: 02/30/98",
          "4.Illegal Total Billed: -"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(records::kAccountBillingFile);
        const std::string until = std::string("command 32902\ndialog 187\n") + c.steps + "  click 1380\n";
        EXPECT_EQ(c.messages.empty() ? Passed(until + "closed\n") : Shown(until, "  click 1140\nclosed\n"),
                  c.messages)
            << c.steps;
        // Nothing is stored while a check fails.
        EXPECT_EQ(TempDataDir::Exists(records::kAccountBillingFile), c.messages.empty()) << c.steps;
    }
}

TEST_F(ModuleDialogsTest, BillingKeepsEachAccountsEntryAndSnapsTheSelectionBackOnAnError) {
    EXPECT_TRUE(
        Script("command 32902\n"
               "dialog 187\n"
               "  expect-text 1317 \"\"\n"
               "  expect-text 1322 \"\"\n"
               "  set 1317 \"-\"\n"
               "  select 1125 \"ACC002\"\n"
               "  dialog 142\n"
               "    expect-text 1177 \"1.Illegal Balance Due: -\"\n"
               "    expect-text 2 \"\"\n"
               "    click 1\n"
               "  closed\n"
               "  set 1317 \"1,250.50\"\n"
               "  set 1320 \"C\"\n"
               "  set 1322 \"11\"\n"
               "  set 1323 \"98\"\n"
               "  set 1319 \"01/15/98\"\n"
               "  select 1125 \"ACC002\"\n"
               "  expect-text 1317 \"\"\n"
               "  set 1317 \"7\"\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(shell::GetMessages(), Messages{});

    records::AccountBilling first, second;
    ASSERT_TRUE(records::ReadAccountBilling("ACC001", first));
    EXPECT_EQ(first.balance_due, 1250.5f);
    EXPECT_EQ(first.payment_method, 'C');
    EXPECT_EQ(first.last_month, 11);
    EXPECT_EQ(first.last_year, 98);
    EXPECT_EQ(first.last_payment_date, "01/15/98");
    EXPECT_EQ(first.closing_date, "        ");
    ASSERT_TRUE(records::ReadAccountBilling("ACC002", second));
    EXPECT_EQ(second.balance_due, 7.0f);
    EXPECT_EQ(second.last_month, 0);

    // Opened again, the first account's entry shows; OK without changes
    // writes the same bytes.
    const std::vector<unsigned char> before = TempDataDir::ReadBytes(records::kAccountBillingFile);
    EXPECT_TRUE(
        Script("command 32902\n"
               "dialog 187\n"
               "  expect-text 1317 \"1,250.500000\"\n"
               "  expect-text 1318 \"0.000000\"\n"
               "  expect-text 1319 \"01/15/98\"\n"
               "  expect-text 1320 \"C\"\n"
               "  expect-text 1322 \"11\"\n"
               "  expect-text 1323 \"98\"\n"
               "  select 1125 \"ACC002\"\n"
               "  expect-text 1317 \"7.000000\"\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(TempDataDir::ReadBytes(records::kAccountBillingFile), before);
}

TEST_F(ModuleDialogsTest, ABillingEntryThatCannotBeWrittenKeepsTheDialogOpen) {
    std::filesystem::create_directory(records::kAccountBillingFile);
    EXPECT_EQ(Shown("command 32902\n"
                    "dialog 187\n"
                    "  set 1317 \"5\"\n"
                    "  click 1380\n",
                    "  expect-text 1317 \"5\"\n"
                    "  click 1140\n"
                    "closed\n"),
              Messages{"1.Could not write ACCTBILL.DAT."});
}

// A store whose last record in use stands at 32,767 has no room for a new
// entry: the dialog says so and the file is not touched.
TEST_F(ModuleDialogsTest, AFullBillingStoreRefusesANewEntryAndKeepsTheFile) {
    {
        records::DirectFile file(records::kAccountBillingFile, 128);
        records::Record first(128, 0);
        first.SetI16(0, 32767);
        ASSERT_TRUE(file.Write(1, first));
    }
    std::filesystem::resize_file(records::kAccountBillingFile, 32767u * 128u);
    const std::vector<unsigned char> before = TempDataDir::ReadBytes(records::kAccountBillingFile);
    EXPECT_EQ(Shown("command 32902\n"
                    "dialog 187\n"
                    "  set 1317 \"5\"\n"
                    "  click 1380\n",
                    "  click 1140\n"
                    "closed\n"),
              Messages{"1.ACCTBILL.DAT is full."});
    EXPECT_EQ(TempDataDir::ReadBytes(records::kAccountBillingFile), before);
}

// ---- Income distributions

TEST_F(ModuleDialogsTest, IncomeDistributionInitializationTakesAYearAndAListedSecurity) {
    struct Case {
        const char* year;
        const char* security;
        Messages messages;
    } cases[] = {
        {"98", "IBM", {"1.Illegal year:98"}},
        {"1950", "IBM", {"1.Illegal year:1950"}},
        {"2051", "IBM", {"1.Illegal year:2051"}},
        {"1951", "IBM", {}},
        {"2050", "MSFT", {}},
        {"1998", "IB", {"1.Illegal Security:IB"}},
        {"1998", "ibm", {"1.Illegal Security:ibm"}},
        {"", "MSF", {"1.Illegal Security:MSF", "2.Illegal year:"}},
    };
    for (const Case& c : cases) {
        const std::string until = std::string("command 32904\ndialog 184\n  expect-text 1123 \"1998\"\n") +
                                  "  set 1123 \"" + c.year + "\"\n  set 1338 \"" + c.security +
                                  "\"\n  click 1380\n";
        const std::string rest =
            c.messages.empty() ? "closed\ndialog 185\n  click 1140\nclosed\n" : "  click 1140\nclosed\n";
        EXPECT_EQ(c.messages.empty() ? Passed(until + rest) : Shown(until, rest), c.messages)
            << c.year << " " << c.security;
    }
}

TEST_F(ModuleDialogsTest, IncomeDistributionYearFollowsTheProgramDateInItsWindow) {
    const struct {
        const char* date;
        const char* year;
    } cases[] = {{"01/15/50", "2050"}, {"01/15/51", "1951"}};
    for (const auto& c : cases) {
        EXPECT_TRUE(Script(std::string("set 61447 \"") + c.date + "\"\nleave\ncommand 32904\ndialog 184\n" +
                           "  expect-text 1123 \"" + c.year + "\"\n  click 1140\nclosed\n"))
            << c.date << "\n"
            << AllFailures(*run_);
    }
}

TEST_F(ModuleDialogsTest, IncomeDistributionsCheckMonthByMonthAndKeepTheRows) {
    EXPECT_TRUE(
        Script("command 32904\n"
               "dialog 184\n"
               "  set 1123 \"1998\"\n"
               "  select 1338 \"IBM\"\n"
               "  click 1380\n"
               "closed\n"
               "dialog 185\n"
               "  expect-text 1164 \"Year: 1998   Security Identifier: IBM\"\n"
               "  set 1232 \"13/40/98\"\n"
               "  set 1214 \"-\"\n"
               "  click 1380\n"
               "  dialog 142\n"
               "    expect-text 1177 \"1.Illegal Div Rate for Jan: -\"\n"
               "    expect-text 2 \"2.Illegal ExDate for Mar: 13/40/98\"\n"
               "    expect-text 3 \"\"\n"
               "    click 1\n"
               "  closed\n"
               "  set 1232 \"3/15/98\"\n"
               "  set 1233 \"3/31/98\"\n"
               "  set 1214 \"\"\n"
               "  set 1230 \"0.25\"\n"
               "  set 1234 \"20.125\"\n"
               "  check 1236 on\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(shell::GetMessages(), Messages{});
    records::DistributionRows rows{};
    ASSERT_TRUE(records::ReadIncomeDistributions(1998, "IBM", rows));
    EXPECT_EQ(rows[2].ex_month, 3);
    EXPECT_EQ(rows[2].ex_day, 15);
    EXPECT_EQ(rows[2].ex_year, 98);
    EXPECT_EQ(rows[2].pay_day, 31);
    EXPECT_EQ(rows[2].dividend_rate, 0.25f);
    EXPECT_EQ(rows[2].reinvest_price, 20.125f);
    EXPECT_EQ(rows[2].expense_flag, 1);
    // Blank fields read as 0.
    EXPECT_EQ(rows[0].dividend_rate, 0.0f);
    EXPECT_EQ(rows[0].ex_month, 0);
    EXPECT_EQ(rows[2].interest_rate, 0.0f);

    // The second security of the year is kept apart; the first shows again.
    EXPECT_TRUE(
        Script("command 32904\n"
               "dialog 184\n"
               "  select 1338 \"MSFT\"\n"
               "  click 1380\n"
               "closed\n"
               "dialog 185\n"
               "  expect-text 1232 \"\"\n"
               "  set 1214 \"1\"\n"
               "  set 1216 \"1/2/98\"\n"
               "  set 1218 \"1/9/98\"\n"
               "  click 1380\n"
               "closed\n"
               "command 32904\n"
               "dialog 184\n"
               "  select 1338 \"IBM\"\n"
               "  click 1380\n"
               "closed\n"
               "dialog 185\n"
               "  expect-text 1232 \"3/15/98\"\n"
               "  expect-text 1233 \"3/31/98\"\n"
               "  expect-text 1230 \"0.250000\"\n"
               "  expect-text 1231 \"0.000000\"\n"
               "  expect-check 1236 on\n"
               "  expect-text 1214 \"\"\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    ASSERT_TRUE(records::ReadIncomeDistributions(1998, "MSFT", rows));
    EXPECT_EQ(rows[0].dividend_rate, 1.0f);
    ASSERT_TRUE(records::ReadIncomeDistributions(1998, "IBM", rows));
    EXPECT_EQ(rows[2].dividend_rate, 0.25f);
    EXPECT_EQ(rows[0].dividend_rate, 0.0f);
}

TEST_F(ModuleDialogsTest, IncomeDistributionErrorsComeMonthByMonthInColumnOrder) {
    EXPECT_EQ(Shown("command 32904\n"
                    "dialog 184\n"
                    "  select 1338 \"IBM\"\n"
                    "  click 1380\n"
                    "closed\n"
                    "dialog 185\n"
                    "  set 1232 \"13/40/98\"\n"
                    "  set 1214 \"-\"\n"
                    "  set 1307 \".\"\n"
                    "  set 1304 \"2/30/98\"\n"
                    "  click 1380\n",
                    "  click 1140\n"
                    "closed\n"),
              (Messages{"1.Illegal Div Rate for Jan: -", "2.Illegal ExDate for Mar: 13/40/98",
                        "3.Illegal ExDate for Dec: 2/30/98", "4.Illegal Expense for Dec: ."}));
    EXPECT_FALSE(TempDataDir::Exists(records::kIncomeDistributionFile));
}

TEST_F(ModuleDialogsTest, InitialDateIsStoredAsSetdatNormalisesItAndPostIncomeOffersIt) {
    // The blank record shows as an empty field: the date filter takes out
    // the blanks.
    EXPECT_EQ(Shown("command 32908\n"
                    "dialog 188\n"
                    "  expect-text 1151 \"\"\n"
                    "  set 1151 \"13/01/99\"\n"
                    "  click 1380\n",
                    "  set 1151 \"1/2/99\"\n"
                    "  click 1380\n"
                    "closed\n"),
              Messages{"1.Illegal Date:13/01/99"});
    const std::vector<unsigned char> common = TempDataDir::ReadBytes(records::kCommonFile);
    ASSERT_GE(common.size(), 7u * 128u);
    records::Record post(128);
    std::copy(common.begin() + 6 * 128, common.begin() + 7 * 128, post.data());
    EXPECT_EQ(post.Text(0, 8), " 1/ 2/99");
    EXPECT_EQ(post.R4(8), 990102.0f);

    EXPECT_TRUE(
        Script("command 32908\n"
               "dialog 188\n"
               "  expect-text 1151 \" 1/ 2/99\"\n"
               "  click 1140\n"
               "closed\n"
               "command 32907\n"
               "dialog 150\n"
               "  expect-text 1376 \" 1/ 2/99\"\n"
               "  click 2\n"
               "closed\n"))
        << AllFailures(*run_);
}

// A post date that cannot be stored keeps the dialog open with a line
// that says so; the date is taken once COMMON.FIL can be written again.
TEST_F(ModuleDialogsTest, InitialDateThatCannotBeStoredKeepsTheDialogOpen) {
    const std::vector<unsigned char> common = TempDataDir::ReadBytes(records::kCommonFile);
    std::filesystem::remove(records::kCommonFile);
    // A directory that is not empty: no file can take its name.
    std::filesystem::create_directories(std::string(records::kCommonFile) + "/keep");
    EXPECT_EQ(Shown("command 32908\n"
                    "dialog 188\n"
                    "  set 1151 \"1/2/99\"\n"
                    "  click 1380\n",
                    "  click 1140\n"
                    "closed\n"),
              Messages{"1.Could not write COMMON.FIL."});
    std::filesystem::remove_all(records::kCommonFile);
    TempDataDir::WriteBytes(records::kCommonFile, common);
}

// ---- Asset allocation

TEST_F(ModuleDialogsTest, AssetAllocationShowsElevenMessagesInOrder) {
    std::string until = "command 32911\ndialog 189\n";
    for (const int id : {1351, 1352, 1332, 1348, 1344, 1334, 1350, 1349, 1333})
        until += "  set " + std::to_string(id) + " \"-\"\n";
    until += "  set 1331 \"13/40/98\"\n  set 1340 \"2/30/99\"\n  click 1380\n";
    EXPECT_EQ(
        Shown(until, "  click 1140\nclosed\n"),
        (Messages{"1.Illegal Share Ratio: -", "2.Illegal Sell Quantity: -", "3.Illegal Sell Price: -",
                  "4.Illegal Buy Price: -", "5.Illegal % of Position: -", "6.Illegal Sell Misc Exp: -",
                  "7.Illegal Buy Misc Exp: -", "8.Illegal Sell Date: 13/40/98", "9.Illegal Buy Date: 2/30/99",
                  "10.Illegal Buy Comm per Share: -", "11.Illegal Sell Comm per Share: -"}));
    EXPECT_FALSE(TempDataDir::Exists(records::kAssetAllocationFile));
}

TEST_F(ModuleDialogsTest, AssetAllocationIsKeptAndShownAgainThenDeleted) {
    EXPECT_TRUE(
        Script("command 32911\n"
               "dialog 189\n"
               "  expect-text 1146 \"Account\"\n"
               "  expect-text 1145 \"????\"\n"
               "  expect-visible 1125 off\n"
               "  click 1143\n"
               "  expect-text 1146 \"Client\"\n"
               "  expect-visible 1145 off\n"
               "  click 1429\n"
               "  expect-text 1146 \"Account\"\n"
               "  expect-visible 1125 off\n"
               "  click 1143\n"
               "  select 1125 \"ACC002\"\n"
               "  click 1354\n"
               "  expect-text 1230 \"Security Type\"\n"
               "  expect-visible 1341 off\n"
               "  click 1355\n"
               "  expect-text 1230 \"Security ID\"\n"
               "  select 1341 \"IBM\"\n"
               "  select 1345 \"MSFT\"\n"
               "  click 1330\n"
               "  click 1337\n"
               "  set 1331 \"1/5/99\"\n"
               "  set 1340 \"1/6/99\"\n"
               "  set 1332 \"101.5\"\n"
               "  set 1348 \"55.25\"\n"
               "  set 1344 \"50\"\n"
               "  set 1351 \"1.5\"\n"
               "  set 1352 \"1,000\"\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(shell::GetMessages(), Messages{});
    records::AssetAllocation a;
    ASSERT_TRUE(records::ReadAssetAllocation(a));
    EXPECT_EQ(a.selection_kind, "S   ");
    EXPECT_EQ(a.manager_or_account, "ACC002  ");
    EXPECT_EQ(a.sell_date, "01/05/99");
    EXPECT_EQ(a.sell_security, "IBM         ");
    EXPECT_EQ(a.buy_security, "MSFT        ");
    EXPECT_EQ(a.quantity, 1000.0);
    EXPECT_EQ(a.share_ratio, 1.5f);
    EXPECT_EQ(a.disposition, "HICO");
    EXPECT_EQ(a.transaction_kind, 'R');
    EXPECT_EQ(a.sell_side, 'I');

    const std::vector<unsigned char> before = TempDataDir::ReadBytes(records::kAssetAllocationFile);
    EXPECT_TRUE(
        Script("command 32911\n"
               "dialog 189\n"
               "  expect-check 1330 on\n"
               "  expect-check 1143 on\n"
               "  expect-text 1146 \"Client\"\n"
               "  expect-check 1337 on\n"
               "  expect-text 1341 \"IBM\"\n"
               "  expect-text 1345 \"MSFT\"\n"
               "  expect-text 1331 \"01/05/99\"\n"
               "  expect-text 1332 \"101.5\"\n"
               "  expect-text 1352 \"1,000\"\n"
               "  expect-text 1333 \"0\"\n"
               "  click 1380\n"
               "closed\n"))
        << AllFailures(*run_);
    EXPECT_EQ(TempDataDir::ReadBytes(records::kAssetAllocationFile), before);

    EXPECT_TRUE(Script(
        "command 32949\n"
        "message \"Are you sure you want to delete the Asset Allocation ?\" \"Confirm Delete\" cancel\n"
        "exists ASSETALC.DAT\n"
        "command 32949\n"
        "message \"Are you sure you want to delete the Asset Allocation ?\" \"Confirm Delete\" ok\n"
        "missing ASSETALC.DAT\n"
        "command 32911\n"
        "dialog 189\n"
        "  expect-check 1329 on\n"
        "  expect-text 1331 \"\"\n"
        "  click 1140\n"
        "closed\n"))
        << AllFailures(*run_);
}

TEST_F(ModuleDialogsTest, AssetAllocationByTypeKeepsTheTypeCode) {
    records::Record types(128, ' ');
    types.SetText(0, 4, "CSPF");
    fixtures::WriteCommonRecord(27, types);
    EXPECT_TRUE(
        Script("command 32911\n"
               "dialog 189\n"
               "  set 1145 \"AB\"\n"
               "  click 1354\n"
               "  select 1235 1\n"
               "  click 1339\n"
               "  set 1331 \"1/5/99\"\n"
               "  set 1340 \"1/6/99\"\n"
               "  click 1380\n"
               "closed\n"
               "command 32911\n"
               "dialog 189\n"
               "  expect-check 1354 on\n"
               "  expect-visible 1235 on\n"
               "  expect-text 1145 \"AB\"\n"
               "  expect-check 1339 on\n"
               "  click 1140\n"
               "closed\n"))
        << AllFailures(*run_);
    records::AssetAllocation a;
    ASSERT_TRUE(records::ReadAssetAllocation(a));
    EXPECT_EQ(a.selection_kind, "A   ");
    EXPECT_EQ(a.manager_or_account, "AB      ");
    EXPECT_EQ(a.sell_side, 'T');
    EXPECT_EQ(a.sell_security, "PF          ");
    EXPECT_EQ(a.disposition, "    ");
    EXPECT_EQ(a.transaction_kind, 'T');
}

}  // namespace
