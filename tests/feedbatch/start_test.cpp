// The start of the batch program: the settings it needs before it waits,
// its log file, its title, its timer and its show state. A start that fails
// lists (and logs) why and ends with exit code 1.

#include <QWidget>

#include "platform/constants.h"
#include "platform/timer.h"
#include "tests/feedbatch/batch_fixture.h"

namespace batchtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class BatchStartTest : public BatchTest {};

TEST_F(BatchStartTest, MissingOrUnusableRequestAndAnswerFiles) {
    WriteFile(Dir() / "big", std::string(65001, 'x'));
    WriteFile(Dir() / "limit", std::string(65000, 'x'));
    fs::create_directories(Dir() / "folder");
    struct Case {
        const char* files;  // the [files] lines
        Strings lines;      // everything listed and logged after the log file's line
    };
    const std::vector<Case> cases = {
        {"outputfile=answers.txt\n", {"No input file specified in VEXA.INI"}},
        {"inputfile=\noutputfile=answers.txt\n", {"No input file specified in VEXA.INI"}},
        {"inputfile=a,,b\n",
         {"Input file accessed: a", "Input file accessed: b", "No output file specified in VEXA.INI"}},
        {"inputfile=a,c,b\noutputfile=answers.txt\n",
         {"Input file accessed: a", "Unable to access input file: c"}},
        {"inputfile=a, b\noutputfile=answers.txt\n",
         {"Input file accessed: a", "Unable to access input file:  b"}},
        {"inputfile=limit,big\noutputfile=answers.txt\n",
         {"Input file accessed: limit", "Input file to large: big"}},
        {"inputfile=folder\noutputfile=answers.txt\n", {"Unable to access input file: folder"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        fs::remove(LogPath());
        WriteIni(std::string("[files]\n") + c.files + "[app]\nusetimer=N\n");
        EXPECT_FALSE(Start());
        EXPECT_TRUE(program_->Ended());
        EXPECT_EQ(program_->ExitCode(), 1);
        EXPECT_FALSE(program_->Window()->IsWindow());
        Strings expected = {"Log file created: " + HomeText("vexa.log")};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(Log(), expected);
        EXPECT_EQ(List(), expected);
        // The line that ended the start is its reason on standard error.
        EXPECT_EQ(program_->Refusal(), expected.back());
        Finish();
    }
    EXPECT_TRUE(session_.open_paths.empty());
}

TEST_F(BatchStartTest, LogFileDeletedAppendedOrLeftOut) {
    const std::string path = HomeText("vexa.log");
    const std::string old = "earlier run\r\n";
    struct Case {
        const char* settings;
        bool old_log;
        Strings list;          // the first lines listed
        std::string log_head;  // how the log file begins
    };
    const std::vector<Case> cases = {
        {"appendlog=0\n",
         true,
         {"Deleted log file: " + path, "Log file created: " + path},
         "Log file created"},
        {"", false, {"Log file created: " + path}, "Log file created"},
        {"appendlog=1\n", true, {"Log file accessed: " + path}, old + "Log file accessed"},
        {"appendlog=1\n", false, {"Log file created: " + path}, "Log file created"},
        {"logfile=y\nappendlog=2\n", true, {"Log file accessed: " + path}, old + "Log file accessed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.settings) + (c.old_log ? " with an old log" : ""));
        fs::remove(LogPath());
        if (c.old_log) WriteFile(LogPath(), old);
        WriteUsualIni(c.settings);
        ASSERT_TRUE(Start());
        const Strings list = List();
        ASSERT_GE(list.size(), c.list.size());
        EXPECT_EQ(Strings(list.begin(), list.begin() + static_cast<long>(c.list.size())), c.list);
        EXPECT_TRUE(ReadFile(LogPath()).starts_with(c.log_head)) << ReadFile(LogPath());
        Finish();
    }

    // logfile not beginning with Y: no log file, the list as usual.
    fs::remove(LogPath());
    WriteUsualIni("logfile=No\n");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(fs::exists(LogPath()));
    EXPECT_THAT(List(), ElementsAre("Input file accessed: a", "Input file accessed: b"));
}

TEST_F(BatchStartTest, LogFileThatCannotBeMadeEndsTheStart) {
    WriteFile(IniPath(), "[config]\nhome_dir=" + (Dir() / "nowhere").string() +
                             "\n[files]\ninputfile=a\noutputfile=answers.txt\n");
    const std::string path = (Dir() / "nowhere" / "vexa.log").string();
    script_.ExpectMessageBox("Cannot open log file: " + path, platform::IDOK, "ORLIN 32 (Dial-Up)");
    EXPECT_FALSE(Start());
    EXPECT_EQ(program_->ExitCode(), 1);
    EXPECT_EQ(program_->Refusal(), "Cannot open log file: " + path);
    ASSERT_EQ(script_.MessageBoxes().size(), 1u);
    EXPECT_EQ(script_.MessageBoxes()[0].flags, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    EXPECT_EQ(script_.MessageBoxes()[0].owner, 0u);
}

TEST_F(BatchStartTest, TitleOfTheCallTypeAndTheRefusedTimer) {
    WriteFile(Dir() / "qordata.par", "[app]\ncall type = tcpip\n");
    WriteUsualIni();
    platform::SetTimersRefusedForTesting(true);
    script_.ExpectMessageBox("Too many clocks or timers", platform::IDOK, "ORLIN 32 (TCP/IP)");
    const bool started = Start();
    platform::SetTimersRefusedForTesting(false);
    EXPECT_FALSE(started);
    EXPECT_EQ(program_->Title(), "ORLIN 32 (TCP/IP)");
    EXPECT_EQ(program_->ExitCode(), 1);
    EXPECT_EQ(program_->Refusal(), "Too many clocks or timers");
    ASSERT_EQ(script_.MessageBoxes().size(), 1u);
    EXPECT_EQ(script_.MessageBoxes()[0].flags, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    // Owned by the main window, which is gone with the failed start.
    EXPECT_NE(script_.MessageBoxes()[0].owner, 0u);
    EXPECT_FALSE(program_->Window()->IsWindow());
    EXPECT_FALSE(platform::IsWindowHandle(script_.MessageBoxes()[0].owner));
}

TEST_F(BatchStartTest, ShowStateOfTheArgument) {
    struct Case {
        const char* argument;
        bool visible;
        Qt::WindowStates state;
    };
    const std::vector<Case> cases = {
        {"1", false, Qt::WindowNoState},  {"2", true, Qt::WindowMinimized}, {"3", true, Qt::WindowMaximized},
        {"4", true, Qt::WindowMinimized}, {"", true, Qt::WindowNoState},    {"9", true, Qt::WindowNoState},
    };
    WriteUsualIni();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        ASSERT_TRUE(Start(c.argument));
        QWidget* widget = program_->Window()->GetWidget();
        EXPECT_EQ(widget->isVisible(), c.visible);
        EXPECT_EQ(widget->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), c.state);
        Finish();
    }
}

}  // namespace
}  // namespace batchtest
