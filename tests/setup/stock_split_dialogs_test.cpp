// The stock split dialogs: the year and security asked for (193), a
// security's splits of a year listed, added, modified and deleted and
// written to the year's split file on Ok (194), and one split's checks
// (195).

#include "setup/stock_split_dialogs.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "shell/command_ids.h"
#include "shell/message_list.h"
#include "shell/report_globals.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CStockSplitDlg;
using setup::CStockSplitEditDlg;
using setup::CStockSplitsDlg;
using S = CStockSplitsDlg;
using E = CStockSplitEditDlg;

std::string MessagesText() {
    std::string all;
    for (const std::string& m : shell::GetMessages()) all += "[" + m + "]";
    return all;
}

std::function<std::string()> Messages(std::string want) {
    return [want] { return MessagesText() == want ? "" : "messages " + MessagesText(); };
}

// A row as the list shows it.
std::string Row(int n, const char* ratio, const char* ex, const char* pay, bool posted) {
    return std::to_string(n) + " " + ratio + std::string(12, ' ') + ex + std::string(14, ' ') + pay +
           std::string(7, ' ') + (posted ? "    " : "not ") + "posted";
}

class StockSplitDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ClearMessageList();
        shell::g_report.SystemDate = "12/08/98";
        fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "MSFT"}, {.symbol = "T"}});
    }
    void TearDown() override {
        shell::ClearMessageList();
        shell::g_report = shell::ReportGlobals{};
    }

    void Done() {
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
    }

    // SECR1998.SPL with MSFT in record 2 and IBM's eight splits in record
    // 3, the first posted.
    static void WriteEightSplits() {
        records::DirectFile f("SECR1998.SPL", 256);
        records::Record head(256, 0);
        head.SetI16(0, 3);
        f.Write(1, head);
        records::Record msft(256, 0);
        msft.SetText(0, 12, "MSFT");
        f.Write(2, msft);
        records::Record ibm(256, 0);
        ibm.SetText(0, 12, "IBM");
        ibm.SetI16(12, 8);
        for (int k = 0; k < 8; ++k) {
            ibm.SetR4(14 + 13 * k, 1.5f + k);
            ibm.SetR4(18 + 13 * k, 980101.0f + 100 * k);
            ibm.SetR4(22 + 13 * k, 980115.0f + 100 * k);
            ibm.data()[26 + 13 * k] = k == 0 ? 1 : 2;
        }
        f.Write(3, ibm);
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

TEST_F(StockSplitDialogsTest, TheYearAndTheSecurityAreChecked) {
    struct Case {
        const char* year;
        const char* typed;     // typed into the security box; nullptr: a line chosen
        const char* messages;  // "" when the dialog closes
    } cases[] = {
        {"1950", nullptr, "[1.Illegal Year: 1950]"},
        {"2051", nullptr, "[1.Illegal Year: 2051]"},
        {"1951", nullptr, ""},
        {"2050", nullptr, ""},
        {"1998", "msft", "[1.Illegal Security:msft]"},
        {"", "XYZ", "[1.Illegal Security:XYZ][2.Illegal Year: ]"},
        {"1998", "MSFT", ""},
    };
    for (const Case& c : cases) {
        CStockSplitDlg dialog;
        script_.ExpectDialog(setup::kStockSplitDialogId).ExpectText(CStockSplitDlg::kYear, "1998");
        if (c.typed)
            script_.SetText(CStockSplitDlg::kSecurity, c.typed);
        else
            script_.SelectText(CStockSplitDlg::kSecurity, "MSFT");
        script_.SetText(CStockSplitDlg::kYear, c.year).Click(CStockSplitDlg::kOk);
        if (*c.messages) {
            script_.ExpectDialog(shell::kReportErrorsDialogId)
                .Run("refused", Messages(c.messages))
                .Click(IDOK)
                .ExpectClosed()
                .Click(CStockSplitDlg::kCancel);
        }
        script_.ExpectClosed();
        EXPECT_EQ(dialog.DoModal(), *c.messages ? IDCANCEL : IDOK) << c.year;
        Done();
        if (!*c.messages) {
            EXPECT_EQ(dialog.YearText(), c.year);
            EXPECT_EQ(dialog.Security(), "MSFT");
        }
        shell::ClearMessageList();
    }
}

TEST_F(StockSplitDialogsTest, EightSplitsListedAddDisabledAndTheLastDeleted) {
    WriteEightSplits();
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("SECR1998.SPL");
    S dialog("1998", "IBM");
    script_.ExpectDialog(setup::kStockSplitsDialogId)
        .Run(
            "caption",
            [&] { return dialog.GetWindowText() == "Stock Split - IBM  1998" ? "" : dialog.GetWindowText(); })
        .ExpectText(S::kRowLabels[0], Row(1, "    1.50", "01/01/98", "01/15/98", true))
        .ExpectText(S::kRowLabels[7], Row(8, "    8.50", "08/01/98", "08/15/98", false))
        .ExpectChecked(S::kRowButtons[0], true)
        .ExpectEnabled(S::kAdd, false)
        .ExpectEnabled(S::kModify, true)
        .Click(S::kRowButtons[7])
        .ExpectChecked(S::kRowButtons[7], true)
        .ExpectChecked(S::kRowButtons[0], false)
        .Click(S::kDelete)
        .ExpectMessageBox("Are you sure you want to delete this Stock Split ?", IDCANCEL, "Confirm Delete")
        .ExpectVisible(S::kRowButtons[7], true)
        .Click(S::kDelete)
        .ExpectMessageBox("Are you sure you want to delete this Stock Split ?", IDOK, "Confirm Delete")
        .ExpectText(S::kRowLabels[7], "8")
        .ExpectVisible(S::kRowButtons[7], false)
        .ExpectChecked(S::kRowButtons[6], true)
        .ExpectEnabled(S::kAdd, true)
        .Click(S::kCancel)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    Done();
    EXPECT_EQ(dialog.Splits().count, 7);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), before);  // Cancel writes nothing
}

TEST_F(StockSplitDialogsTest, ASplitAddedToANewFileIsListedNotPostedAndWrittenOnOk) {
    S dialog("1998", "IBM");
    script_.ExpectDialog(setup::kStockSplitsDialogId)
        .ExpectEnabled(S::kModify, false)
        .ExpectEnabled(S::kDelete, false)
        .ExpectText(S::kRowLabels[0], "1")
        .ExpectVisible(S::kRowButtons[0], false)
        .Click(S::kAdd)
        .ExpectDialog(setup::kStockSplitEditDialogId)
        .ExpectText(E::kRatio, "    0.00")
        .ExpectText(E::kExDate, "")
        .SetText(E::kRatio, "2")
        .SetText(E::kExDate, "03/02/98")
        .SetText(E::kPayDate, "04/15/98")
        .Click(E::kOk)
        .ExpectClosed()
        .ExpectText(S::kRowLabels[0], Row(1, "    2.00", "03/02/98", "04/15/98", false))
        .ExpectChecked(S::kRowButtons[0], true)
        .Click(S::kModify)
        .ExpectDialog(setup::kStockSplitEditDialogId)
        .ExpectText(E::kRatio, "    2.00")
        .ExpectText(E::kExDate, " 3/ 2/98")
        .ExpectText(E::kPayDate, " 4/15/98")
        .SetText(E::kRatio, "1.5")
        .Click(E::kOk)
        .ExpectClosed()
        .ExpectText(S::kRowLabels[0], Row(1, "    1.50", "03/02/98", "04/15/98", false))
        .Click(S::kOk)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    Done();

    std::vector<unsigned char> expected(512, 0);
    expected[0] = 2;  // record 1: the last record in use
    records::Record ibm(256, 0);
    ibm.SetText(0, 12, "IBM");
    ibm.SetI16(12, 1);
    ibm.SetR4(14, 1.5f);
    ibm.SetR4(18, 980302.0f);
    ibm.SetR4(22, 980415.0f);
    ibm.data()[26] = 2;
    std::copy(ibm.bytes().begin(), ibm.bytes().end(), expected.begin() + 256);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), expected);
}

TEST_F(StockSplitDialogsTest, TheEditChecksRatioThenExDateThenPayDate) {
    E dialog("", "", 0.0f);
    script_.ExpectDialog(setup::kStockSplitEditDialogId)
        .SetText(E::kExDate, "13/01/98")
        .SetText(E::kPayDate, "02/30/98")
        .Click(E::kOk)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("all three",
             Messages(
                 "[1.Illegal Ratio:     0.00][2.Illegal Ex - Date: 13/01/98][3.Illegal Pay Date: 02/30/98]"))
        .Click(IDOK)
        .ExpectClosed()
        .SetText(E::kRatio, "-2")
        .SetText(E::kExDate, "1/5/98")
        .SetText(E::kPayDate, "2/28/98")
        .Click(E::kOk)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("negative ratio", Messages("[1.Illegal Ratio: -2]"))
        .Click(IDOK)
        .ExpectClosed()
        .SetText(E::kRatio, "3")
        .Click(E::kOk)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    Done();
    EXPECT_EQ(dialog.Ratio(), 3.0f);
    EXPECT_EQ(dialog.ExDate(), "01/05/98");
    EXPECT_EQ(dialog.PayDate(), "02/28/98");
}

}  // namespace
