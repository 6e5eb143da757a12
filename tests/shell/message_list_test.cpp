// The message list and the eight-line errors window: numbering, paging,
// captions by report code, closing; and the same window paging a report
// line file.

#include "shell/message_list.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <functional>

#include "platform/scripted_interaction.h"
#include "records/report_output.h"
#include "shell/command_ids.h"
#include "shell/report_globals.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;

class MessageListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMessageList();
        g_report = ReportGlobals();
    }
    void TearDown() override { ClearMessageList(); }

    CReportErrorsDlg& Window() { return ReportErrorsDialog(); }
    int Position() { return Window().GetDlgItem(CReportErrorsDlg::kScrollBar).GetScrollPos(); }
    std::pair<int, int> Range() {
        int low = 0, high = 0;
        Window().GetDlgItem(CReportErrorsDlg::kScrollBar).GetScrollRange(low, high);
        return {low, high};
    }
    std::string Line(int k) { return Window().GetDlgItemText(CReportErrorsDlg::kLineIds[k]); }

    // Shows the list under a script: the errors window must open modal, on
    // top; `check` runs while it is open ("" passes), then Done closes it.
    void ShowAndCheck(const std::function<std::string()>& check) {
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(kReportErrorsDialogId).Run("the open window", check).Click(IDOK).ExpectClosed();
        ShowMessageList();
        for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
        EXPECT_EQ(script.StepsLeft(), 0u);
        EXPECT_FALSE(Window().IsWindow());
        EXPECT_EQ(GetMessageCount(), 0);  // Done empties the list
    }
};

// Collects the failed expectations of a check as one text.
std::string Want(bool ok, const std::string& what) {
    return ok ? "" : what + "; ";
}

TEST_F(MessageListTest, AnEmptyListShowsNoWindow) {
    ShowMessageList();
    EXPECT_FALSE(Window().IsWindow());
    EXPECT_EQ(g_report.LineSource, 0);
}

TEST_F(MessageListTest, ThreeMessagesNumberedWithoutAScrollBar) {
    AddMessage("Illegal report date");
    AddMessage("Account not found");
    AddMessage("No manager code");
    EXPECT_EQ(GetMessageCount(), 3);
    g_report.ReportCode = 103;
    ShowAndCheck([&] {
        std::string failed =
            Want(Window().IsModal(), "not modal") +
            Want(g_report.LineSource == kLinesFromMessageList, "line source") +
            Want(Window().GetWindowText() == "Account Appraisal Input Errors", "caption") +
            Want(Line(0) == "1.Illegal report date", "line 0 " + Line(0)) +
            Want(Line(1) == "2.Account not found", "line 1 " + Line(1)) +
            Want(Line(2) == "3.No manager code", "line 2 " + Line(2)) +
            Want(!Window().GetDlgItem(CReportErrorsDlg::kScrollBar).IsWindowVisible(), "scroll bar");
        for (int k = 3; k < 8; ++k) failed += Want(Line(k).empty(), "line " + std::to_string(k));
        return failed;
    });
}

// A list shown again while its window is open, with a line added, keeps
// one number on each line.
TEST_F(MessageListTest, ShownTwiceNumbersEachLineOnce) {
    AddMessage("Illegal report date");
    ShowAndCheck([&] {
        AddMessage("Account not found");
        ShowMessageList();
        ShowMessageList();
        const std::vector<std::string> want = {"1.Illegal report date", "2.Account not found"};
        return Want(GetMessages() == want, "lines " + GetMessages().front());
    });
    AddMessage("No manager code");  // a new list starts at 1 again
    ShowAndCheck([&] { return Want(GetMessages().front() == "1.No manager code", GetMessages().front()); });
}

TEST_F(MessageListTest, TwentyMessagesPageByEight) {
    for (int i = 1; i <= 20; ++i) AddMessage("message " + std::to_string(i));
    ShowAndCheck([&] {
        std::string failed =
            Want(Window().GetDlgItem(CReportErrorsDlg::kScrollBar).IsWindowVisible(), "no bar") +
            Want(Range() == std::make_pair(1, 13), "range") + Want(Position() == 1, "position");
        struct Step {
            int code;
            int position;
            const char* first_line;
        };
        const Step steps[] = {
            {SB_PAGEDOWN, 9, "9.message 9"},    {SB_PAGEDOWN, 13, "13.message 13"},
            {SB_LINEDOWN, 13, "13.message 13"}, {SB_LINEUP, 12, "12.message 12"},
            {SB_PAGEUP, 4, "4.message 4"},      {SB_TOP, 1, "1.message 1"},
            {SB_BOTTOM, 13, "13.message 13"},   {SB_LINEUP, 12, "12.message 12"},
        };
        for (const Step& s : steps) {
            failed += Window().UserScroll(CReportErrorsDlg::kScrollBar, s.code);
            failed += Want(Position() == s.position, "position after " + std::to_string(s.code)) +
                      Want(Line(0) == s.first_line, "first line " + Line(0));
        }
        failed += Window().UserScroll(CReportErrorsDlg::kScrollBar, SB_THUMBPOSITION, 6);
        return failed + Want(Line(0) == "6.message 6", "thumb first") +
               Want(Line(7) == "13.message 13", "thumb last");
    });
}

TEST_F(MessageListTest, CaptionsByReportCode) {
    const std::pair<int, const char*> cases[] = {{21, "New Buy/Sell Input Errors"},
                                                 {287, "Import Schwabb Errors"},
                                                 {291, "Import Credit Unions Errors"},
                                                 {362, "Stock Split Errors"},
                                                 {105, "Report Errors"}};  // no caption of its own
    for (const auto& [code, caption] : cases) {
        g_report.ReportCode = code;
        AddMessage("x");
        ShowAndCheck([&] { return Want(Window().GetWindowText() == caption, Window().GetWindowText()); });
    }
}

// Done and Escape close the window and empty the list; the next list is
// numbered afresh. Opened over a modal request dialog, the window belongs
// to that dialog (on top of it), and the dialog stays open after Done.
TEST_F(MessageListTest, OpensOverTheDialogAndDoneOrEscapeCloses) {
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    Dialog request({123, "Request", Column({Button(1169, "Generate"), Button(IDCANCEL, "Cancel")})});
    request.Bind(1169, Notify::Clicked, [] {
        AddMessage("Illegal report date");
        ShowMessageList();
    });
    QWidget* request_widget = nullptr;
    script.ExpectDialog(123)
        .Run("request",
             [&] {
                 request_widget = request.GetWidget();
                 return std::string();
             })
        .Click(1169)
        .ExpectDialog(kReportErrorsDialogId)
        .Run("on top",
             [&] {
                 QWidget* w = Window().GetWidget();
                 return Want(w && w->parentWidget() == request_widget, "not over the request dialog") +
                        Want(Line(0) == "1.Illegal report date", "line " + Line(0));
             })
        .Click(IDOK)
        .ExpectClosed()
        .Run("cleared",
             [&] { return Want(GetMessageCount() == 0, "list kept") + Want(!request.IsEnded(), "ended"); })
        .Click(1169)
        .ExpectDialog(kReportErrorsDialogId)
        .ExpectText(CReportErrorsDlg::kLineIds[0], "1.Illegal report date")  // numbered afresh
        .Press(Key::Escape)
        .ExpectClosed()
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(request.DoModal(), IDCANCEL);
    for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
    EXPECT_EQ(script.StepsLeft(), 0u);
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(MessageListTest, PagesAReportLineFile) {
    fixtures::TempDataDir dir;
    std::string name;
    records::Prtout("", "START", name);
    for (int i = 1; i <= 10; ++i)
        records::Prtout("LINE " + std::to_string(i) + std::string(100, ' ') + "END");
    records::Prtout("", "END", name);
    g_report.ReportWindowNumber = 4;
    std::filesystem::rename(records::kReportWorkFile, "O000004.TMP");
    for (int i = 0; i < 10; ++i) AddMessage("-");  // the window counts the message list's lines
    ShowAndCheck([&] {
        g_report.LineSource = kLinesFromReportFile;
        Window().ShowLines();
        Window().Refresh();
        // 85 characters of the padded line.
        return Want(Line(0) == "LINE 1" + std::string(79, ' '), "line 0 " + Line(0)) +
               Want(Line(7) == "LINE 8" + std::string(79, ' '), "line 7 " + Line(7));
    });
    records::Clsdel(4);
}

}  // namespace
