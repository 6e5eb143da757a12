// The message list and the eight-line errors window: numbering, paging,
// captions by report code, closing; and the same window paging a report
// line file.

#include "shell/message_list.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/report_output.h"
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
};

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
    ShowMessageList();
    ASSERT_TRUE(Window().IsWindow());
    EXPECT_EQ(g_report.LineSource, kLinesFromMessageList);
    EXPECT_EQ(Window().GetWindowText(), "Account Appraisal Input Errors");
    EXPECT_EQ(Line(0), "1.Illegal report date");
    EXPECT_EQ(Line(1), "2.Account not found");
    EXPECT_EQ(Line(2), "3.No manager code");
    for (int k = 3; k < 8; ++k) EXPECT_EQ(Line(k), "") << k;
    EXPECT_FALSE(Window().GetDlgItem(CReportErrorsDlg::kScrollBar).IsWindowVisible());
}

TEST_F(MessageListTest, TwentyMessagesPageByEight) {
    for (int i = 1; i <= 20; ++i) AddMessage("message " + std::to_string(i));
    ShowMessageList();
    ASSERT_TRUE(Window().IsWindow());
    EXPECT_TRUE(Window().GetDlgItem(CReportErrorsDlg::kScrollBar).IsWindowVisible());
    EXPECT_EQ(Range(), std::make_pair(1, 13));
    EXPECT_EQ(Position(), 1);

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
        EXPECT_EQ(Window().UserScroll(CReportErrorsDlg::kScrollBar, s.code), "");
        EXPECT_EQ(Position(), s.position) << s.code;
        EXPECT_EQ(Line(0), s.first_line) << s.code;
    }
    EXPECT_EQ(Window().UserScroll(CReportErrorsDlg::kScrollBar, SB_THUMBPOSITION, 6), "");
    EXPECT_EQ(Line(0), "6.message 6");
    EXPECT_EQ(Line(7), "13.message 13");
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
        ShowMessageList();
        EXPECT_EQ(Window().GetWindowText(), caption) << code;
        ClearMessageList();
    }
}

TEST_F(MessageListTest, DoneClosesTheWindowAndEmptiesTheList) {
    AddMessage("one");
    ShowMessageList();
    ASSERT_TRUE(Window().IsWindow());
    EXPECT_EQ(Window().UserClick(IDOK), "");
    EXPECT_FALSE(Window().IsWindow());
    EXPECT_EQ(GetMessageCount(), 0);

    AddMessage("two");
    ShowMessageList();
    EXPECT_EQ(Line(0), "1.two");  // numbered afresh
    EXPECT_EQ(Window().UserKey(Key::Escape), "");
    EXPECT_FALSE(Window().IsWindow());
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
    ShowMessageList();
    g_report.LineSource = kLinesFromReportFile;
    Window().ShowLines();
    Window().Refresh();
    EXPECT_EQ(Line(0), "LINE 1" + std::string(79, ' '));  // 85 characters of the padded line
    EXPECT_EQ(Line(7), "LINE 8" + std::string(79, ' '));
    ClearMessageList();
    records::Clsdel(4);
}

}  // namespace
