// The batch program's window: the log list and which records it takes, the
// close request, the system menu with its About item and Close, and the
// close box.

#include <QListWidget>
#include <QWindow>

#include "feedbatch/about_dialog.h"
#include "platform/constants.h"
#include "platform/copy_data.h"
#include "tests/feedbatch/batch_fixture.h"

namespace batchtest {
namespace {

using ::testing::ElementsAre;

constexpr const char* kCloseWarning =
    "Terminating program in this manner is not recommended. Click CANCEL to close through the system menu or "
    "OK to continue closing.";

class BatchWindowTest : public BatchTest {
protected:
    void Send(int channel, const std::string& text) {
        platform::SendCopyData(program_->Window()->GetSafeHwnd(), 0, static_cast<std::uintptr_t>(channel),
                               text.c_str(), text.size() + 1);
    }
    // The lines after the start's own.
    static Strings After(Strings lines) {
        const auto start = std::find(lines.begin(), lines.end(), "Input file accessed: b");
        lines.erase(lines.begin(), start == lines.end() ? start : start + 1);
        return lines;
    }
};

TEST_F(BatchWindowTest, ListKeepsThe999NewestLinesAndShowsTheLast) {
    WriteUsualIni();
    ASSERT_TRUE(Start(""));
    program_->Window()->MoveWindow(0, 0, 400, 300);
    for (int i = 1; i <= 1200; ++i) Send(3, "line " + std::to_string(i));
    const Strings list = List();
    ASSERT_EQ(list.size(), 999u);
    EXPECT_EQ(list.front(), "line 202");
    EXPECT_EQ(list.back(), "line 1200");
    const Strings log = Log();
    ASSERT_EQ(log.size(), 1203u);
    EXPECT_EQ(log[3], "line 1");
    EXPECT_EQ(log.back(), "line 1200");

    auto* widget = qobject_cast<QListWidget*>(program_->Window()->GetDlgItem(1).Widget());
    ASSERT_NE(widget, nullptr);
    const QRect last = widget->visualItemRect(widget->item(widget->count() - 1));
    EXPECT_TRUE(widget->viewport()->rect().contains(last)) << "the newest line is out of sight";
    EXPECT_GT(program_->Window()->TopIndex(), 900);
}

TEST_F(BatchWindowTest, ChannelsThatAreListed) {
    struct Case {
        const char* debug;
        Strings listed;
    };
    const std::vector<Case> cases = {
        {"", {"error", "status"}},
        {"debug=N\n", {"error", "status"}},
        {"debug=yes\n", {"error", "status", "receive", "send"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.debug);
        WriteIni(std::string("[files]\ninputfile=a,,b\noutputfile=answers.txt\n[app]\n") + c.debug +
                 "usetimer=Y\nwaittime=18:30\nwaitdate=1997/03/07\n");
        ASSERT_TRUE(Start());
        Send(0, "-none\r\n");
        Send(1, "error");
        Send(2, "two");
        Send(3, "status");
        Send(5, "receive");
        Send(6, "send");
        Send(25, "IBM,105.25,X\r\nE");
        Send(26, "twenty-six");
        EXPECT_EQ(After(List()), c.listed);
        EXPECT_EQ(After(Log()), c.listed);
        Finish();
    }
}

TEST_F(BatchWindowTest, CloseRequestAsksFirst) {
    WriteUsualIni();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(RunFor(60));

    script_.ExpectMessageBox(kCloseWarning, platform::IDCANCEL, "ORLIN 32 (Dial-Up)");
    program_->Window()->OnClose();
    ASSERT_EQ(script_.MessageBoxes().size(), 1u);
    EXPECT_EQ(script_.MessageBoxes()[0].flags,
              platform::MB_OKCANCEL | platform::MB_ICONSTOP | platform::MB_DEFBUTTON2);
    EXPECT_EQ(script_.MessageBoxes()[0].owner, 0u);
    EXPECT_FALSE(program_->Ended());
    EXPECT_FALSE(RunFor(60));

    script_.ExpectMessageBox(kCloseWarning, platform::IDOK, "ORLIN 32 (Dial-Up)");
    program_->Window()->OnClose();
    EXPECT_TRUE(program_->Ended());
    // Closed before its time: nothing was fetched, and the close is the
    // reason given (not the last line listed, "Waiting Till: ...").
    EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
    EXPECT_EQ(program_->FailureReason(), "Closed through the window before the transfer ended");
    EXPECT_FALSE(program_->Window()->IsWindow());
    clock_.Advance(3600 * 1000);
    EXPECT_TRUE(session_.open_paths.empty());
}

TEST_F(BatchWindowTest, SystemMenuAboutAndClose) {
    WriteUsualIni();
    ASSERT_TRUE(Start());
    const platform::MenuTable menu = program_->Window()->SystemMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].id, platform::SC_CLOSE);
    EXPECT_EQ(menu[1].type, platform::MenuItem::Type::Separator);
    EXPECT_EQ(menu[2].id, 101);
    EXPECT_EQ(menu[2].caption, "About ORLIN ...");

    script_.ExpectDialog(101)
        .ExpectText(1000, "Windows Version: Unknown")
        .ExpectText(1002, "32 Bit Build")
        .Click(platform::IDOK)
        .ExpectClosed();
    EXPECT_EQ(program_->Window()->UserSysCommand(101), "");
    EXPECT_EQ(script_.StepsLeft(), 0u);
    EXPECT_FALSE(program_->Ended());
    EXPECT_NE(program_->Window()->UserSysCommand(102), "");

    // Close before the transfer: the program just ends.
    EXPECT_EQ(program_->Window()->UserSysCommand(platform::SC_CLOSE), "");
    EXPECT_TRUE(program_->Ended());
    clock_.Advance(3600 * 1000);
    EXPECT_TRUE(session_.open_paths.empty());
}

TEST_F(BatchWindowTest, CloseBoxIsTheSystemMenuClose) {
    WriteUsualIni();
    ASSERT_TRUE(Start(""));
    QWindow* window = program_->Window()->GetWidget()->windowHandle();
    ASSERT_NE(window, nullptr);
    // The window system's close request: no question asked, the program ends.
    window->close();
    EXPECT_TRUE(program_->Ended());
    EXPECT_TRUE(script_.MessageBoxes().empty());
}

}  // namespace
}  // namespace batchtest
