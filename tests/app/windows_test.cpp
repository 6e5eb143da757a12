// The main frame's windows and commands: report display windows taking the
// report work file, the command hook, and the script driver's menu paths.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QToolBar>
#include <QWheelEvent>
#include <fstream>

#include "platform/scripted_interaction.h"
#include "records/common_file.h"
#include "records/options.h"
#include "records/report_output.h"
#include "shell/app.h"
#include "shell/command_ids.h"
#include "shell/display_view.h"
#include "shell/report_globals.h"
#include "shell/runner.h"
#include "tests/fixtures/report_table.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;
using namespace shell;

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

// A report of `lines` lines: "REPORT LINE n", or `text` on every line.
void WriteReport(int lines, const std::string& text = "") {
    std::string name;
    records::Prtout("", "START", name);
    for (int i = 1; i <= lines; ++i)
        records::Prtout(text.empty() ? "REPORT LINE " + std::to_string(i) : text);
    records::Prtout("", "END", name);
}

// Every report window has a title: its report's, else its command's name.
TEST(ReportDisplay, EveryReportWindowHasATitle) {
    struct Case {
        int code;
        const char* title;
    };
    for (const Case& c :
         {Case{103, "Account Appraisal"}, Case{86, "Commission by Broker"}, Case{63, "Pricing Import"},
          Case{262, "Billing Summary"}, Case{303, "Post Income"}, Case{9999, "Report"}})
        EXPECT_EQ(ReportWindowTitle(c.code), c.title) << c.code;
    fixtures::RegisterAllReports();
    for (const int code : ReportRoutineCodes()) EXPECT_FALSE(ReportWindowTitle(code).empty()) << code;
}

// A report window opens wide enough for the 132 columns of its lines at
// its font, inside the main window: no horizontal bar in a wide frame, and
// never wider than the frame's area in a narrow one.
TEST(ReportDisplay, OpensWideEnoughForTheWholeLine) {
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    CMainFrame* frame = run.Frame();
    for (const int width : {1440, 700}) {
        SCOPED_TRACE(width);
        frame->GetMainWindow()->resize(width, 800);
        QApplication::processEvents();
        WriteReport(5, std::string(131, 'X') + "|");
        g_report.LineSource = kLinesFromReportFile;
        g_report.ReportCode = 103;
        platform::ChildFrame* child = frame->OpenTemplateWindow(kDisplayTemplate);
        ASSERT_NE(child, nullptr);
        auto* view = dynamic_cast<CDisplayNew*>(child->GetView());
        ASSERT_NE(view, nullptr);
        child->GetWidget()->grab();  // draws it, laying out its bars
        const int area = frame->GetMdiArea()->contentsRect().width();
        EXPECT_LE(child->GetWidget()->width(), area);
        const bool bar = view->GetDlgItem(CDisplayNew::kHorizontalBar).IsWindowVisible();
        if (width == 1440) {
            EXPECT_FALSE(bar) << "window " << child->GetWidget()->width() << " in " << area;
            // The picture of the window, to look at.
            if (const QByteArray folder = qgetenv("LEDRA_DIALOG_PICTURES"); !folder.isEmpty())
                child->GetWidget()->grab().save(QString(folder) + "/report-window-132.png");
        } else {
            EXPECT_TRUE(bar);
            EXPECT_EQ(child->GetWidget()->width(), area);
        }
        child->DestroyWindow();
    }
}

TEST(ReportDisplay, TakesTheWorkFileUnderItsNumberAndDeletesItOnClosing) {
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    CMainFrame* frame = run.Frame();

    WriteReport(12);
    g_report.LineSource = kLinesFromReportFile;
    g_report.ReportCode = 101;
    platform::ChildFrame* first = frame->OpenTemplateWindow(kDisplayTemplate);
    ASSERT_NE(first, nullptr);
    auto* view = dynamic_cast<CDisplayNew*>(first->GetView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->WindowNumber(), 0);
    EXPECT_EQ(first->GetWindowText(), "Working Appraisal");
    EXPECT_EQ(view->LineCount(), 12);
    EXPECT_EQ(view->WidestLine(), 14);
    EXPECT_TRUE(TempDataDir::Exists("O000000.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
    EXPECT_EQ(view->SavedSelection().ReportCode, 101);

    WriteReport(2);
    g_report.ReportCode = 86;  // no title of its own: its command's name
    platform::ChildFrame* second = frame->OpenTemplateWindow(kDisplayTemplate);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(dynamic_cast<CDisplayNew*>(second->GetView())->WindowNumber(), 1);
    EXPECT_EQ(second->GetWindowText(), "Commission by Broker");
    EXPECT_TRUE(TempDataDir::Exists("O000001.TMP"));

    // No work file: the window is empty, with its title.
    g_report.ReportCode = 183;
    platform::ChildFrame* empty = frame->OpenTemplateWindow(kDisplayTemplate);
    EXPECT_EQ(dynamic_cast<CDisplayNew*>(empty->GetView())->LineCount(), 0);
    EXPECT_EQ(empty->GetWindowText(), "Broker List");

    EXPECT_TRUE(run.RunScript("child \"Working Appraisal\" click 50\nchild-closed \"Working Appraisal\"\n"))
        << AllFailures(run);
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
    EXPECT_TRUE(TempDataDir::Exists("O000001.TMP"));
    second->DestroyWindow();
    EXPECT_FALSE(TempDataDir::Exists("O000001.TMP"));
}

TEST(ReportDisplay, APartlyWrittenLastRecordIsNoLine) {
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    {
        std::ofstream out("OUTPUT.TMP", std::ios::binary);
        out << std::string(132, 'A') << std::string(132, 'B') << std::string(50, 'C');
    }
    g_report.LineSource = kLinesFromReportFile;
    platform::ChildFrame* frame = run.Frame()->OpenTemplateWindow(kDisplayTemplate);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CDisplayNew*>(frame->GetView());
    EXPECT_EQ(view->LineCount(), 2);
    EXPECT_EQ(view->WidestLine(), 132);
}

TEST(ReportDisplay, ScrollBarsFollowTheReport) {
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    std::string name;
    records::Prtout("", "START", name);
    for (int i = 1; i <= 200; ++i) records::Prtout(std::string(131, 'A') + "Z");
    records::Prtout("", "END", name);
    g_report.LineSource = kLinesFromReportFile;
    platform::ChildFrame* frame = run.Frame()->OpenTemplateWindow(kDisplayTemplate);
    auto* view = dynamic_cast<CDisplayNew*>(frame->GetView());
    frame->GetWidget()->resize(500, 400);
    view->GetWidget()->grab();  // paints the window: the bars are laid out in the painting
    const platform::Control vbar = view->GetDlgItem(CDisplayNew::kVerticalBar);
    const platform::Control hbar = view->GetDlgItem(CDisplayNew::kHorizontalBar);
    EXPECT_TRUE(vbar.IsWindowVisible());
    EXPECT_TRUE(hbar.IsWindowVisible());
    int low = 0, high = 0;
    vbar.GetScrollRange(low, high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 200 - view->LinesPerScreen() + 1);
    EXPECT_EQ(view->UserScroll(CDisplayNew::kVerticalBar, platform::SB_PAGEDOWN), "");
    EXPECT_EQ(vbar.GetScrollPos(), 1 + view->LinesPerScreen());
    EXPECT_EQ(view->UserScroll(CDisplayNew::kVerticalBar, platform::SB_BOTTOM), "");
    EXPECT_EQ(vbar.GetScrollPos(), high);
    EXPECT_EQ(view->UserScroll(CDisplayNew::kHorizontalBar, platform::SB_PAGERIGHT), "");
    EXPECT_EQ(hbar.GetScrollPos(), 20);
}

// The mouse wheel over a report window scrolls it as the scroll bar's
// arrows do, by the desktop's lines a notch, and stops at either end; a
// sideways wheel moves it across.
TEST(ReportDisplay, TheMouseWheelScrollsByLines) {
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    WriteReport(200, std::string(131, 'A') + "Z");
    g_report.LineSource = kLinesFromReportFile;
    platform::ChildFrame* frame = run.Frame()->OpenTemplateWindow(kDisplayTemplate);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CDisplayNew*>(frame->GetView());
    frame->GetWidget()->resize(500, 400);
    view->GetWidget()->grab();  // lays out the bars
    const platform::Control vbar = view->GetDlgItem(CDisplayNew::kVerticalBar);
    const platform::Control hbar = view->GetDlgItem(CDisplayNew::kHorizontalBar);
    int low = 0, high = 0;
    vbar.GetScrollRange(low, high);
    const int lines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    auto wheel = [&](QPoint delta) {
        QWheelEvent event(QPointF(50, 50), view->GetWidget()->mapToGlobal(QPointF(50, 50)), QPoint(), delta,
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->GetWidget(), &event);
    };
    EXPECT_EQ(vbar.GetScrollPos(), 1);
    wheel(QPoint(0, -120));
    EXPECT_EQ(vbar.GetScrollPos(), 4);
    wheel(QPoint(0, -240));
    EXPECT_EQ(vbar.GetScrollPos(), 10);
    wheel(QPoint(0, 120));
    EXPECT_EQ(vbar.GetScrollPos(), 7);
    wheel(QPoint(0, 120 * 10));
    EXPECT_EQ(vbar.GetScrollPos(), low);
    wheel(QPoint(0, -120 * 100));
    EXPECT_EQ(vbar.GetScrollPos(), high);
    wheel(QPoint(-120, 0));
    EXPECT_EQ(hbar.GetScrollPos(), 3);
    QApplication::setWheelScrollLines(lines);
}

// The sample firm in the current directory, with its start-up text, whose
// window (the Getting Started Tutorial) opens maximized.
void WriteSampleFirmWithTutorial() {
    fixtures::TempDataDir::CopySampleFirm();
    records::Options options = records::Rdopts();
    records::SetOption(options, records::Opt::kStartupTutorial, 1);
    records::Wropts(options);
}

// A window opened over a maximized one opens maximized and in front, also
// the transaction list, whose frame has a fixed size (and whose box then
// shows more than the fourteen lines of its own size); closing it brings
// back the window that was in front before, maximized, not the empty
// first window. The same for the print view of a report's print preview
// over the report's window. The tutorial opens maximized at start-up.
TEST(ChildWindows, OpenMaximizedOverAMaximizedOneAndGiveItBackOnClosing) {
    struct Case {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"the transaction list over the tutorial", R"(
children 2
child-active "Getting Started Tutorial"
child active expect-maximized on
menu "Transactions/Transaction Editor"
dialog 122
  select 1148 "SMITH1"
  set 1149 "01/01/98"
  click 1000
closed
child-active "Transactions List"
child active expect-maximized on
child active expect-line 1040 14 " FNMA        B    1    4/ 4/98  85000.0000  115.2500           97962.50 ALDEN"
child active click 1143
child-closed "Transactions List"
child-active "Getting Started Tutorial"
child active expect-maximized on
child "Ledra1" expect-maximized off
)"},
        {"a report's print preview over its window", R"(
command 32831
children 3
child-active "Update Data Base"
child active expect-maximized on
command 32800
dialog 123
  click 1434
  click 1169
closed
print cancel
children 3
child-active "Update Data Base"
child active expect-maximized on
child active click 50
child-active "Getting Started Tutorial"
child active expect-maximized on
)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        WriteSampleFirmWithTutorial();
        ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.RunScript(c.script)) << AllFailures(run);
        if (const QByteArray folder = qgetenv("LEDRA_DIALOG_PICTURES"); !folder.isEmpty())
            run.Frame()->GetMainWindow()->grab().save(QString(folder) + "/maximized-" +
                                                      QString::number(&c - cases) + ".png");
    }
}

TEST(Commands, RegisteredCommandsRunFromTheirMenuPaths) {
    TempDataDir dir;
    // Transactions/Cash belongs to the entry dialogs: taken away here, so
    // that the test starts from a command nobody handles.
    UnregisterCommand(kCmdCash);
    ProgramRun run(dir.path(), {.today = tools::LocalDate(1998, 12, 8), .without_subsystem_commands = true});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    CMainFrame* frame = run.Frame();
    EXPECT_FALSE(frame->IsCommandEnabled(kCmdCash));  // nothing registered: disabled
    EXPECT_FALSE(run.RunScript("menu \"Transactions/Cash\"\n"));
    EXPECT_NE(AllFailures(run).find("is disabled or has no handler"), std::string::npos) << AllFailures(run);

    int runs = 0;
    RegisterCommand(kCmdCash, [&](CMainFrame& f) {
        EXPECT_EQ(&f, frame);
        ++runs;
    });
    RegisterCommand(kCmdInputAssetAllocation, [&](CMainFrame&) { runs += 10; });
    EXPECT_TRUE(frame->IsCommandEnabled(kCmdCash));
    EXPECT_TRUE(frame->InvokeCommand(kCmdCash));
    EXPECT_EQ(runs, 1);
    // "Modules" is gone from the menu, so its commands are reached by number.
    EXPECT_TRUE(frame->InvokeCommand(kCmdInputAssetAllocation));
    EXPECT_EQ(runs, 11);
    UnregisterCommand(kCmdCash);
    UnregisterCommand(kCmdInputAssetAllocation);
    EXPECT_FALSE(frame->IsCommandEnabled(kCmdCash));
}

TEST(Commands, RegisteredBeforeTheFrameIsMadeAndReachedByMenuPath) {
    // The program run registers no subsystem's commands here, so that the
    // one registered by the test stands.
    TempDataDir dir;
    int runs = 0;
    RegisterCommand(kCmdCash, [&](CMainFrame&) { ++runs; });
    ProgramRun run(dir.path(), {.today = tools::LocalDate(1998, 12, 8), .without_subsystem_commands = true});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    EXPECT_TRUE(run.Frame()->IsCommandEnabled(kCmdCash));
    EXPECT_TRUE(run.RunScript("menu \"Transactions/Cash\"\nmenu \"Transactions/Cash\"\n"))
        << AllFailures(run);
    EXPECT_EQ(runs, 2);
    UnregisterCommand(kCmdCash);
    EXPECT_FALSE(run.RunScript("menu \"Modules/Asset Allocation/Input/Modify\"\n"));
    EXPECT_NE(AllFailures(run).find("there is no menu item"), std::string::npos) << AllFailures(run);
}

TEST(Commands, TheColourCommandIsOnTheToolBar) {
    // It has no menu item: without its button nobody could choose colours.
    TempDataDir dir;
    ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    QToolBar* bar = run.Frame()->GetMainWindow()->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* colours = nullptr;
    for (QAction* action : bar->actions())
        if (action->toolTip() == "Colors") colours = action;
    ASSERT_NE(colours, nullptr);
    EXPECT_TRUE(colours->isEnabled());
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectDialog(kColorSelectDialogId).Click(platform::IDOK).ExpectClosed();
    colours->trigger();
    for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
    EXPECT_EQ(script.StepsLeft(), 0u);
}

}  // namespace
