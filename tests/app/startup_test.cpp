// The program's start-up and main frame, run in this process on a temporary
// data directory: the first run in a directory that does not exist, the
// program date and its commit from the date bar, the start-up text window
// of option 89, the printer settings, the default transaction selection and
// the closing that stores the program colours.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <fstream>

#include "platform/dialog.h"
#include "records/dates.h"
#include "records/record.h"
#include "records/security_types.h"
#include "shell/app.h"
#include "shell/colors.h"
#include "shell/command_ids.h"
#include "shell/display_view.h"
#include "shell/printer_settings.h"
#include "shell/report_globals.h"
#include "shell/tran_selection.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;
using namespace shell;

ProgramRun::Options On19981208() {
    return {tools::LocalDate(1998, 12, 8)};
}

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

// Record 2 of COMMON.FIL: the program date text and its number.
std::pair<std::string, float> ProgramDateRecord() {
    const auto bytes = TempDataDir::ReadBytes("COMMON.FIL");
    if (bytes.size() < 256) return {"", 0};
    records::Record rec(128);
    std::copy(bytes.begin() + 128, bytes.begin() + 256, rec.data());
    return {rec.Text(0, 8), rec.R4(8)};
}

CDisplayNew* DisplayOf(platform::ChildFrame* frame) {
    return frame ? dynamic_cast<CDisplayNew*>(frame->GetView()) : nullptr;
}

TEST(Startup, FirstRunInADirectoryThatDoesNotExist) {
    TempDataDir dir;
    const auto data = dir.path() / "clients" / "firm";
    {
        ProgramRun run(data, On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_EQ(std::filesystem::current_path(), data);
        CMainFrame* frame = run.Frame();
        EXPECT_EQ(frame->GetWindowText(), "TREL1");
        EXPECT_EQ(frame->GetSystemDateText(), "12/08/98");
        EXPECT_EQ(g_report.SystemDate, "12/08/98");
        EXPECT_EQ(g_report.EndDate, "12/08/98");
        EXPECT_EQ(g_report.StartDate, "01/01/98");
        EXPECT_EQ(ProgramDateRecord(), std::make_pair(std::string("12/08/98"), 981208.0f));
        EXPECT_EQ(g_printer.PrinterFontName, "Courier");
        EXPECT_EQ(g_printer.PrinterPageLength, 0);

        // The new document of the command line: one empty report display.
        const auto children = frame->GetChildFrames();
        ASSERT_EQ(children.size(), 1u);
        EXPECT_EQ(children[0]->GetWindowText(), "Ledra1");
        // Opened before the frame first shows, it is placed in the area the
        // frame will have, not cut to the area's size before that.
        EXPECT_GE(children[0]->GetWidget()->width(), 400);
        EXPECT_GE(children[0]->GetWidget()->height(), 300);
        CDisplayNew* view = DisplayOf(children[0]);
        ASSERT_NE(view, nullptr);
        EXPECT_FALSE(view->IsStartupWindow());
        EXPECT_EQ(view->LineCount(), 0);
        EXPECT_EQ(g_app_state.startup_text_pending, 0);

        // Both menus lose "Modules"; File, the program's menus and Help stay.
        const auto captions = frame->GetTopLevelMenuCaptions();
        EXPECT_EQ(std::count(captions.begin(), captions.end(), "Modules"), 0);
        EXPECT_EQ(captions.front(), "File");
        EXPECT_EQ(captions.back(), "Help");
        EXPECT_NE(std::find(captions.begin(), captions.end(), "Window"), captions.end());
        children[0]->DestroyWindow();
        const auto main_captions = frame->GetTopLevelMenuCaptions();
        EXPECT_EQ(std::count(main_captions.begin(), main_captions.end(), "Modules"), 0);
        EXPECT_EQ(std::find(main_captions.begin(), main_captions.end(), "Window"), main_captions.end());
        EXPECT_EQ(main_captions.size(), 14u);

        EXPECT_FALSE(TempDataDir::Exists(kColorFile));
        run.Close();
        EXPECT_FALSE(frame->IsWindow());
        EXPECT_TRUE(TempDataDir::Exists(kColorFile));
        EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
    }
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
}

// A directory the program makes starts with the standard security type
// table; one that exists is entered as it is.
TEST(DataDirectory, MadeWhenMissingRefusedWhenAFile) {
    TempDataDir dir;
    std::ofstream("PLAIN.TXT") << "x";
    struct Case {
        std::filesystem::path path;
        const char* problem;  // a part of the error text, or empty
        bool made;
    };
    const Case cases[] = {
        {dir.path() / "a" / "b", "", true},
        {dir.path(), "", false},
        {dir.path() / "PLAIN.TXT", "is not a directory", false},
        {dir.path() / "PLAIN.TXT" / "sub", "cannot be created", false},
    };
    for (const Case& c : cases) {
        std::filesystem::current_path(dir.path());
        const std::string error = EnterDataDirectory(c.path);
        if (*c.problem == 0) {
            EXPECT_EQ(error, "") << c.path;
            EXPECT_EQ(std::filesystem::current_path(), c.path);
            EXPECT_EQ(records::HasTypeTable(), c.made) << c.path;
            if (c.made) {
                fixtures::ExpectTypeTable(records::StandardTypeNames());
            } else {
                EXPECT_FALSE(TempDataDir::Exists("COMMON.FIL"));
                EXPECT_FALSE(TempDataDir::Exists("TYPENAME.DAT"));
            }
        } else {
            EXPECT_NE(error.find(c.problem), std::string::npos) << c.path << ": " << error;
            EXPECT_EQ(std::filesystem::current_path(), dir.path()) << c.path;
        }
    }
    std::filesystem::current_path(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a" / "TYPENAME.DAT"));  // only the directory asked for
}

// The date typed into the date bar, committed when the focus leaves it.
TEST(SystemDate, CommitOrRefusal) {
    struct Case {
        const char* typed;
        bool refused;
        const char* end_date;
        const char* start_date;
    };
    const Case cases[] = {
        {"1/5/99", false, "01/05/99", "01/01/99"},
        {"13/40/99", true, "12/08/98", "01/01/98"},
        {"02/29/00", false, "02/29/00", "01/01/00"},
        {"2/29/01", true, "12/08/98", "01/01/98"},
        {"12/31/50", false, "12/31/50", "01/01/50"},
        {"", true, "12/08/98", "01/01/98"},
        {"7/4", true, "12/08/98", "01/01/98"},
        // Four-digit years: taken as their two digits inside 1951-2050.
        {"1/5/1999", false, "01/05/99", "01/01/99"},
        {"12/31/2026", false, "12/31/26", "01/01/26"},
        {"12/31/2051", true, "12/08/98", "01/01/98"},
        {"2/29/2000", false, "02/29/00", "01/01/00"},
        {"2/29/1900", true, "12/08/98", "01/01/98"},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        std::string script = "set 61447 \"" + std::string(c.typed) + "\"\nleave\n";
        if (c.refused)
            script += "message \"Illegal system date:" + std::string(c.typed) +
                      "  reverting to 12/08/98\" \"Illegal System Date\" ok\n";
        EXPECT_TRUE(run.RunScript(script)) << c.typed << "\n" << AllFailures(run);
        EXPECT_EQ(g_report.EndDate, c.end_date) << c.typed;
        EXPECT_EQ(g_report.SystemDate, c.end_date) << c.typed;
        EXPECT_EQ(g_report.StartDate, c.start_date) << c.typed;
        EXPECT_EQ(ProgramDateRecord().first, c.end_date) << c.typed;
        // The edit shows the date the program keeps.
        EXPECT_EQ(run.Frame()->GetSystemDateText(), c.end_date) << c.typed;
        // The record layer reads dates by position: January 1 must read.
        int16_t month = 0, day = 0, year = 0;
        EXPECT_TRUE(records::Redate(g_report.StartDate, month, day, year)) << c.typed;
        EXPECT_EQ(month, 1) << c.typed;
        EXPECT_EQ(day, 1) << c.typed;
    }
}

void WriteStartupText(const std::vector<std::string>& lines) {
    std::ofstream out("startup.txt", std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
}

TEST(StartupText, Option89OpensOneStartupWindow) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kStartupTutorial, 1}});
    WriteStartupText({"Welcome to the program.", "", std::string(140, 'x')});
    ProgramRun run(dir.path(), On19981208());
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    const auto children = run.Frame()->GetChildFrames();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_FALSE(DisplayOf(children[0])->IsStartupWindow());
    CDisplayNew* startup = DisplayOf(children[1]);
    ASSERT_NE(startup, nullptr);
    EXPECT_TRUE(startup->IsStartupWindow());
    EXPECT_EQ(children[1]->GetWindowText(), "Getting Started Tutorial");
    EXPECT_EQ(startup->WindowNumber(), CDisplayNew::kStartupNumber);
    EXPECT_EQ(startup->LineCount(), 3);
    EXPECT_EQ(startup->WidestLine(), 132);  // a longer line keeps its first 132 characters
    std::string line;
    EXPECT_TRUE(startup->GetLine(1, line));
    EXPECT_EQ(line, "Welcome to the program.");
    EXPECT_TRUE(children[1]->GetWidget()->isMaximized());
    EXPECT_TRUE(startup->GetDlgItem(CDisplayNew::kDisableBox).IsWindowVisible());
    EXPECT_FALSE(DisplayOf(children[0])->GetDlgItem(CDisplayNew::kDisableBox));
    EXPECT_EQ(g_app_state.startup_text_pending, 0);
    EXPECT_EQ(TempDataDir::ReadBytes("startup.rpt").size(), 3u * 132u);

    // Only one start-up window a run: a new document is a plain window.
    run.App().OnFileNew();
    EXPECT_FALSE(DisplayOf(run.Frame()->GetChildFrames().back())->IsStartupWindow());
}

// Tab out of the date bar moves the focus into the window in front, the
// start-up text, and brings no other window over it.
TEST(StartupText, TabOutOfTheDateBarKeepsTheWindowInFront) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kStartupTutorial, 1}});
    WriteStartupText({"Welcome to the program."});
    ProgramRun run(dir.path(), On19981208());
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    CMainFrame* frame = run.Frame();
    const auto children = frame->GetChildFrames();
    ASSERT_EQ(children.size(), 2u);
    ASSERT_EQ(frame->MDIGetActive(), children[1]);
    QWidget* main = frame->GetMainWindow();
    main->activateWindow();
    QApplication::setActiveWindow(main);
    QWidget* edit = frame->GetDlgItem(kSystemDateEdit).Widget();
    ASSERT_NE(edit, nullptr);
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        edit->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(edit->hasFocus());
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QApplication::processEvents();
        EXPECT_EQ(frame->MDIGetActive(), children[1]) << frame->MDIGetActive()->GetWindowText();
        EXPECT_FALSE(edit->hasFocus());
    }
    EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
}

TEST(StartupText, DoneWithDisableTurnsTheOptionOff) {
    struct Case {
        const char* script;
        unsigned char option_after;
    };
    const Case cases[] = {
        {"child \"Getting Started Tutorial\" check 53 on\nchild \"Getting Started Tutorial\" click 50\n", 0},
        {"child \"Getting Started Tutorial\" click 50\n", 1},
        {"child \"Getting Started Tutorial\" check 53 on\nchild \"Getting Started Tutorial\" close\n",
         1},  // the close box leaves the option alone
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        fixtures::SetOptions(
            {{records::Opt::kStartupTutorial, 1}, {records::Opt::kSalutationOnPerformance, 7}});
        WriteStartupText({"Hello"});
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.RunScript(std::string(c.script) + "children 1\nexists startup.rpt\n"))
            << AllFailures(run);
        const auto common = TempDataDir::ReadBytes("COMMON.FIL");
        ASSERT_GE(common.size(), 31u * 128u);
        EXPECT_EQ(common[30 * 128 + 88], c.option_after) << c.script;
        EXPECT_EQ(common[30 * 128 + 87], 7) << c.script;  // the other options stay
    }
}

TEST(StartupText, NoStartupTextFileGivesAnEmptyWindow) {
    TempDataDir dir;
    fixtures::SetOptions({{records::Opt::kStartupTutorial, 1}});
    ProgramRun run(dir.path(), On19981208());
    ASSERT_TRUE(run.Started()) << AllFailures(run);
    const auto children = run.Frame()->GetChildFrames();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_TRUE(DisplayOf(children[1])->IsStartupWindow());
    EXPECT_EQ(DisplayOf(children[1])->LineCount(), 0);
}

TEST(PrinterSettings, ReadAtStartupOnlyWithTheValidityMarks) {
    for (const bool marked : {true, false}) {
        TempDataDir dir;
        records::Record rec(128, 0);
        rec.SetI16(0, 66);
        rec.SetI16(2, 3);
        rec.SetR4(4, 0.5f);
        rec.SetR4(12, 0.25f);
        rec.SetI32(20, 7);
        rec.SetText(64, 32, "Lucida Console");
        if (marked) {
            rec.SetI16(124, 123);
            rec.SetI16(126, 456);
        }
        fixtures::WriteCommonRecord(80, rec);
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_EQ(g_printer.PrinterPageLength, marked ? 66 : 0);
        EXPECT_EQ(g_printer.PrinterTopLines, marked ? 3 : 0);
        EXPECT_EQ(g_printer.LeftMargin, marked ? 0.5f : 0.0f);
        EXPECT_EQ(g_printer.RightMargin, marked ? 0.25f : 0.0f);
        EXPECT_EQ(g_printer.PrinterIntensity, marked ? 7 : 0);
        EXPECT_EQ(g_printer.PrinterFontName, marked ? "Lucida Console" : "Courier");
    }
}

TEST(TransactionSelection, StartsOnTheFirstAccountFromJanuaryFirst) {
    {
        TempDataDir dir;
        fixtures::WriteAccountIndex({"ACCT01", "ZED"});
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_EQ(g_tran_selection.Account, "ACCT01");
        EXPECT_EQ(g_tran_selection.Date, "01/01/98");
        EXPECT_EQ(g_tran_selection.parsed.number, 980101);
        EXPECT_EQ(g_tran_selection.SortOption, kTranSortByDate);
    }
    {
        TempDataDir dir;
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_EQ(g_tran_selection.Account, " ");
    }
}

TEST(Colours, ChosenColoursComeBackAtTheNextStart) {
    TempDataDir dir;
    {
        ProgramRun run(dir.path(), On19981208());
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        platform::Dialog dialog({191, "Letterhead", platform::Column({platform::Label("Firm")})});
        ASSERT_TRUE(dialog.Create(run.Frame()));  // shown: it asks for its colours
        ASSERT_NE(FindColorEntry("Letterhead Dialog"), nullptr);
        FindColorEntry("Letterhead Dialog")->desc.background = platform::Rgb(200, 220, 240);
        dialog.DestroyWindow();
        run.Close();
        EXPECT_TRUE(ColorList().empty());
    }
    ProgramRun again(dir.path(), On19981208());
    ASSERT_TRUE(again.Started()) << AllFailures(again);
    ASSERT_NE(FindColorEntry("Letterhead Dialog"), nullptr);
    EXPECT_EQ(FindColorEntry("Letterhead Dialog")->desc.background, platform::Rgb(200, 220, 240));
    EXPECT_EQ(FindColorEntry("Letterhead Text"), nullptr);  // asked for, but without colours
}

}  // namespace
