// Define Block Trade and Block Trades Edit: the dialog's nine checks run
// together and store nothing while one fails (a broker or security typed in
// another case is refused); "Done" stores the definition in TRADEBLK.DAT
// record 1, byte for byte, with the trade date written with blanks; Block
// Trades Edit refuses without a definition and opens the list on the block
// with one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/block_trade_dialog.h"
#include "entry/tran_list.h"
#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "records/transaction_lines.h"
#include "shell/main_frame.h"
#include "shell/message_list.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using namespace platform;
using entry::CBlockTradeDlg;
using D = CBlockTradeDlg;

void WriteFirm() {
    fixtures::WriteAccounts({{.id = "A1", .name = "FIRST ACCOUNT", .opened = "01/01/90"}});
    fixtures::WriteSecurities({{.symbol = "CASH", .type = "1"}, {.symbol = "IBM", .type = "H"}});
    fixtures::WriteBrokers({{.id = "ALDEN"}, {.id = "BAXTER"}});
}

TEST(BlockTradeDialog, TheNineChecksRunTogetherAndNothingIsKept) {
    fixtures::TempDataDir dir;
    WriteFirm();
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    std::vector<std::string> shown;
    script.ExpectDialog(entry::kBlockTradeDialogId)
        .SetText(D::kTotalCommission, "1..0")
        .SetText(D::kQuantity, "x")
        .SetText(D::kPrice, "5-")
        .SetText(D::kMiscExpense, "1e5")
        .SetText(D::kPerShare, "..")
        .SetText(D::kBondInterest, "1,2,3.4.")
        .SetText(D::kTradeDate, "13/45/98")
        .SetText(D::kBroker, "alden")
        .SetText(D::kSecurity, "ibm")
        .Click(D::kDone)
        .ExpectDialog(142)
        .Run("the messages",
             [&shown] {
                 shown = shell::GetMessages();
                 return std::string();
             })
        .Click(IDOK)
        .ExpectClosed()
        .Click(D::kCancel)
        .ExpectClosed();
    records::BlockDefinition block;
    CBlockTradeDlg dialog(block);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    for (const std::string& failure : script.Failures()) ADD_FAILURE() << failure;
    const std::vector<std::string> expected = {
        "Illegal Total Commission: 1..0",
        "Illegal Shares: x",
        "Illegal Price: 5-",
        "Illegal Misc. Expense: 1e5",
        "Illegal Commission per Share: ..",
        "Illegal Bond Interest: 1,2,3.4.",
        "Illegal transaction date: 13/45/98",
        "Illegal Broker ID: alden",
        "Illegal Security ID: ibm",
    };
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NE(shown[i].find(expected[i]), std::string::npos) << shown[i];
    EXPECT_FALSE(fixtures::TempDataDir::Exists(records::kBlockTradeFile));
}

TEST(BlockTradeCommands, DefineStoresRecordOneAndEditOpensTheBlock) {
    fixtures::TempDataDir dir;
    WriteFirm();
    tools::ProgramRun run(dir.path(), {.today = tools::LocalDate(1998, 12, 31)});
    ASSERT_TRUE(run.Started());
    // No block yet: Edit refuses.
    EXPECT_TRUE(
        run.RunScript("command 32916\n"
                      "message \"No block defined. Can not edit allocations.\" \"Diagnostic\" ok\n"));
    EXPECT_TRUE(
        run.RunScript("command 32914\n"
                      "dialog 198\n"
                      "  expect-text 1338 \"\"\n"
                      "  select 1338 \"IBM\"\n"
                      "  click 1391\n"
                      "  set 1461 \"1/5/98\"\n"
                      "  set 1462 \"1,000\"\n"
                      "  set 1463 \"50.25\"\n"
                      "  set 1469 \"ALDEN\"\n"
                      "  set 1466 \"\"\n"
                      "  set 1467 \"100\"\n"
                      "  click 1004\n"
                      "closed\n"));
    records::Record expected(records::kTransactionLineLength, 0);
    expected.SetI16(0, 1);
    expected.SetText(2, 4, "BLOK");
    expected.SetText(6, 12, "IBM");
    expected.SetText(18, 4, "B");
    expected.SetText(22, 8, " 1/ 5/98");
    expected.SetR8(30, 1000.0);
    expected.SetR4(38, 50.25f);
    expected.SetR8(42, 0.0);
    expected.SetText(50, 8, "ALDEN");
    expected.SetR8(58, 0.0);
    expected.SetR8(66, 100.0);
    expected.SetR8(74, 0.0);
    {
        records::DirectFile file(records::kBlockTradeFile, records::kTransactionLineLength, false);
        records::Record stored;
        ASSERT_TRUE(file.Read(1, stored));
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(stored.data()[i], expected.data()[i]) << "byte " << i;
    }
    // The dialog shows the stored block again.
    EXPECT_TRUE(
        run.RunScript("command 32914\n"
                      "dialog 198\n"
                      "  expect-text 1338 \"IBM\"\n"
                      "  expect-check 1391 on\n"
                      "  expect-text 1461 \" 1/ 5/98\"\n"
                      "  expect-text 1462 \"1,000.000000\"\n"
                      "  click 1140\n"
                      "closed\n"));
    // With a block, Edit opens the list on the block file.
    EXPECT_TRUE(
        run.RunScript("command 32916\n"
                      "message \"Error no transactions found.\" \"Transaction Menu Diagnostic\" ok\n"));
    platform::ChildFrame* child = run.Frame()->MDIGetActive();
    ASSERT_NE(child, nullptr);
    auto* list = dynamic_cast<entry::CTranList*>(child->GetView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Source(), 1);
    for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
}

}  // namespace
