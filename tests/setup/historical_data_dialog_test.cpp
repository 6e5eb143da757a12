// Historical Data: the years a history holds, the values shown for a year
// and saved back byte for byte, the checks of Save Data in month order, a
// failed read that leaves nothing of the previous year, and a refused
// write that keeps the values on screen.

#include "setup/historical_data_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/value_history.h"
#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "shell/command_ids.h"
#include "shell/message_list.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CHistoricalDataDlg;
using setup::kHistoricalDataDialogId;
using D = CHistoricalDataDlg;

std::string MessagesText() {
    std::string all;
    for (const std::string& m : shell::GetMessages()) all += "[" + m + "]";
    return all;
}

class HistoricalDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ClearMessageList();
        fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}});
    }
    void TearDown() override { shell::ClearMessageList(); }

    int Run(D& dialog) {
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    // A check step: the message list must read `want`.
    std::function<std::string()> Messages(std::string want) {
        return [want] { return MessagesText() == want ? "" : "messages " + MessagesText(); };
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

TEST_F(HistoricalDataTest, OnlyYearsAHistoryHoldsAreTaken) {
    struct Case {
        const char* year;
        bool taken;
    } cases[] = {{"1950", false}, {"2051", false}, {"", false}, {"1951", true}, {"2050", true}};
    for (const Case& c : cases) {
        TempDataDir dir;
        fixtures::WriteAccounts({{.id = "ACC001"}});
        D dialog;
        script_.ExpectDialog(kHistoricalDataDialogId)
            .ExpectVisible(D::kMarketValueIds[0], false)
            .ExpectVisible(D::kSaveData, false)
            .SetText(D::kYear, c.year)
            .Click(D::kGetData);
        if (c.taken) {
            script_.Run("no message", Messages(""))
                .ExpectVisible(D::kSaveData, true)
                .ExpectVisible(D::kGetData, false)
                .ExpectVisible(D::kAccounts, false)
                .ExpectText(D::kIncomeIds[11], "0.00");
        } else {
            script_.ExpectDialog(shell::kReportErrorsDialogId)
                .Run("refused", Messages(std::string("[1.Illegal year: ") + (c.year[0] ? c.year : "") + "]"))
                .Click(IDOK)
                .ExpectClosed()
                .ExpectVisible(D::kSaveData, false)
                .ExpectVisible(D::kMarketValueIds[0], false);
        }
        script_.Click(D::kDone).ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK) << c.year;
        EXPECT_EQ(TempDataDir::Exists("HLACC001.DAT"), c.taken) << c.year;
        shell::ClearMessageList();
    }
}

TEST_F(HistoricalDataTest, SaveDataChecksEveryFieldInMonthOrderAndWritesTheYear) {
    std::vector<unsigned char> after_get;
    D dialog;
    script_.ExpectDialog(kHistoricalDataDialogId)
        .SelectText(D::kAccounts, "ACC002")
        .SetText(D::kYear, "")
        .Type(D::kYear, "19x98")  // digits only
        .ExpectText(D::kYear, "1998")
        .Click(D::kGetData)
        .Run("read",
             [&] {
                 after_get = TempDataDir::ReadBytes("HLACC002.DAT");
                 return std::string();
             })
        .SetText(D::kIncomeIds[6], "12x")
        .SetText(D::kIncomeIds[2], "1-2")
        .SetText(D::kMarketValueIds[0], "1,250.50")
        .SetText(D::kCapitalFlowIds[0], "")
        .Click(D::kSaveData)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("two messages, month 3 first",
             Messages("[1.Illegal Income Value for month 3: 1-2][2.Illegal Income Value for month 7: 12x]"))
        .Click(IDOK)
        .ExpectClosed()
        .ExpectVisible(D::kSaveData, true)
        .ExpectText(D::kMarketValueIds[0], "1,250.50")
        .Run("nothing written",
             [&] { return TempDataDir::ReadBytes("HLACC002.DAT") == after_get ? "" : "written"; })
        .SetText(D::kIncomeIds[2], "3.25")
        .SetText(D::kIncomeIds[6], "-7")
        .SetText(D::kCapitalFlowIds[11], "100")
        .Click(D::kSaveData)
        .Run("saved", Messages(""))
        .ExpectVisible(D::kSaveData, false)
        .ExpectVisible(D::kMarketValueIds[0], false)
        .ExpectVisible(D::kGetData, true)
        .ExpectText(D::kYear, "1998")
        .Run("account kept",
             [&] {
                 const Control accounts = dialog.GetDlgItem(D::kAccounts);
                 return accounts.GetText(accounts.GetCurSel()) == "ACC002" ? "" : "selection";
             })
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);

    // The new history: its header, then 1998's four records.
    records::Record header(128, 0);
    header.SetText(0, 8, "ACC002");
    header.SetI16(8, 1);
    header.SetI16(10, 98);
    header.SetI16(12, 12);
    header.SetI16(14, 98);
    header.SetI16(16, 1);
    std::array<records::Record, 4> years;
    for (records::Record& r : years) {
        r = records::Record(128, 0);
        r.SetI16(0, 98);
    }
    years[0].SetR8(2, 1250.50);
    years[1].SetR8(2 + 8 * 11, 100.0);
    years[3].SetR8(2 + 8 * 2, 3.25);
    years[3].SetR8(2 + 8 * 6, -7.0);
    std::vector<unsigned char> expected = header.bytes();
    for (const records::Record& r : years)
        expected.insert(expected.end(), r.bytes().begin(), r.bytes().end());
    EXPECT_EQ(TempDataDir::ReadBytes("HLACC002.DAT"), expected);
}

TEST_F(HistoricalDataTest, AYearOutsideAnExistingHistoryIsRefusedAndAFailedReadShowsNoOldValues) {
    // ACC001 holds 1998 and 1999, but the file ends after 1998's records.
    {
        records::DirectFile f("HLACC001.DAT", 128);
        records::Record header(128, 0);
        header.SetText(0, 8, "ACC001");
        header.SetI16(8, 1);
        header.SetI16(10, 98);
        header.SetI16(12, 12);
        header.SetI16(14, 99);
        header.SetI16(16, 2);
        f.Write(1, header);
        for (int s = 0; s < 4; ++s) {
            records::Record r(128, 0);
            r.SetI16(0, 98);
            for (int m = 0; m < 12; ++m) r.SetR8(2 + 8 * m, 5.0 + s);
            f.Write(2 + s, r);
        }
    }
    D dialog;
    script_.ExpectDialog(kHistoricalDataDialogId)
        .SetText(D::kYear, "2005")
        .Click(D::kGetData)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("outside the history", Messages("[1.Illegal year: 2005]"))
        .Click(IDOK)
        .ExpectClosed()
        .SetText(D::kYear, "1998")
        .Click(D::kGetData)
        .ExpectText(D::kMarketValueIds[4], "5.00")
        .ExpectText(D::kIncomeIds[4], "8.00")
        .Click(D::kSaveData)
        .SetText(D::kYear, "1999")
        .Click(D::kGetData)
        .Run("no message", Messages(""))
        .ExpectText(D::kMarketValueIds[4], "0.00")
        .ExpectText(D::kCapitalFlowIds[4], "0.00")
        .ExpectText(D::kIncomeIds[4], "0.00")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
}

TEST_F(HistoricalDataTest, ARefusedWriteKeepsTheValuesOnScreen) {
    D dialog;
    script_.ExpectDialog(kHistoricalDataDialogId)
        .SetText(D::kYear, "1998")
        .Click(D::kGetData)
        .SetText(D::kMarketValueIds[0], "10")
        .Run("history gone",
             [] {
                 std::filesystem::remove("HLACC001.DAT");
                 return std::string();
             })
        .Click(D::kSaveData)
        .ExpectDialog(shell::kReportErrorsDialogId)
        .Run("refused", Messages("[1.Illegal year: 1998]"))
        .Click(IDOK)
        .ExpectClosed()
        .ExpectVisible(D::kSaveData, true)
        .ExpectText(D::kMarketValueIds[0], "10")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
}

}  // namespace
