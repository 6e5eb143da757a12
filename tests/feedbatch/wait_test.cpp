// The wait for the set time and date through the program: VEXA.INI read at
// every tick, the usetimer key, two-digit years, and the settings that end
// the program.

#include "tests/feedbatch/batch_fixture.h"

namespace batchtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class BatchWaitTest : public BatchTest {
protected:
    void WriteApp(const std::string& app_lines) {
        WriteIni("[files]\ninputfile=a,,b\noutputfile=answers.txt\n[app]\n" + app_lines);
    }
    // The wait lines listed so far.
    Strings WaitLines() const {
        Strings lines;
        for (const std::string& line : List())
            if (line.starts_with("Current Time") || line.starts_with("Waiting Till")) lines.push_back(line);
        return lines;
    }
};

TEST_F(BatchWaitTest, UseTimerOffOrEmptyStartsAtTheFirstTick) {
    struct Case {
        const char* app;        // the [app] lines
        const char* ini_after;  // what VEXA.INI's [app] holds afterwards
    };
    const std::vector<Case> cases = {
        {"waittime=19:00\nwaitdate=1997/03/07\n", "waittime=19:00\nwaitdate=1997/03/07\n"},
        {"usetimer=\nwaittime=19:00\nwaitdate=1997/03/07\n",
         "usetimer=No\nwaittime=19:00\nwaitdate=1997/03/07\n"},
        {"usetimer=N\nwaittime=19:00\n", "usetimer=N\nwaittime=19:00\n"},
        {"usetimer=no\nwaitdate=1997-02-29\n", "usetimer=no\nwaitdate=1997-02-29\n"},
        {"usetimer=Yes\nwaittime=9:00\nwaitdate=1997/03/06\n",
         "usetimer=Yes\nwaittime=9:00\nwaitdate=1997/03/06\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.app);
        session_.sent.clear();
        WriteApp(c.app);
        const std::string head = "[config]\nhome_dir=" + Dir().string() +
                                 "\n[files]\ninputfile=a,,b\noutputfile=answers.txt\n[app]\n";
        ASSERT_TRUE(Start());
        EXPECT_TRUE(RunFor(1));
        EXPECT_EQ(program_->ExitCode(), feedbatch::kExitTransferred);
        EXPECT_THAT(session_.Lines(), ElementsAre("V B980105IBM", "J980105IBM", "!I980105IBM"));
        EXPECT_EQ(ReadFile(IniPath()), head + c.ini_after);
        Finish();
    }
}

TEST_F(BatchWaitTest, ChangedSettingCountsWhileWaiting) {
    WriteApp("usetimer=Y\nwaittime=19:00\nwaitdate=1997/03/07\n");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(RunFor(90));
    EXPECT_THAT(WaitLines(),
                ElementsAre("Current Time: 18:00 on 1997/03/07", "Waiting Till: 19:00 on 1997/03/07"));

    WriteApp("usetimer=Y\nwaittime=18:05\nwaitdate=1997/03/07\n");
    EXPECT_FALSE(RunFor(60 * 3 + 29));  // 18:04:59
    EXPECT_TRUE(session_.sent.empty());
    EXPECT_THAT(WaitLines(),
                ElementsAre("Current Time: 18:00 on 1997/03/07", "Waiting Till: 19:00 on 1997/03/07",
                            "Current Time: 18:01 on 1997/03/07", "Waiting Till: 18:05 on 1997/03/07"));
    EXPECT_TRUE(RunFor(1));
    EXPECT_EQ(session_.Lines().size(), 3u);
}

TEST_F(BatchWaitTest, TwoDigitYearsByTheYearWindow) {
    struct Case {
        const char* waitdate;
        const char* waiting_till;
        int seconds_to_start;  // 0: not within the hour
    };
    const std::vector<Case> cases = {
        {"97/03/07", "Waiting Till: 18:30 on 1997/03/07", 30 * 60},
        {"05/01/02", "Waiting Till: 18:30 on 2005/01/02", 0},
        {"96/12/31", "Waiting Till: 18:30 on 1996/12/31", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.waitdate);
        session_.sent.clear();
        WriteApp(std::string("usetimer=Y\nwaittime=18:30\nwaitdate=") + c.waitdate + "\n");
        ASSERT_TRUE(Start());
        if (c.seconds_to_start > 1) {
            EXPECT_FALSE(RunFor(c.seconds_to_start - 1));
        }
        EXPECT_EQ(RunFor(c.seconds_to_start ? 1 : 3600), c.seconds_to_start != 0);
        EXPECT_THAT(WaitLines(), Contains(c.waiting_till));
        EXPECT_EQ(session_.Lines().size(), c.seconds_to_start ? 3u : 0u);
        Finish();
    }
}

TEST_F(BatchWaitTest, BadSettingEndsTheProgram) {
    struct Case {
        const char* app;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"usetimer=Y\nwaittime=25:00\nwaitdate=1997/03/07\n", "25:0 Is not a valid time"},
        {"usetimer=y\nwaittime=18:75\nwaitdate=1997/03/07\n", "18:75 Is not a valid time"},
        {"usetimer=Y\nwaittime=18:30\nwaitdate=1997/13/07\n", "Invalid date format"},
        {"usetimer=Y\nwaittime=18:30\n", "Invalid date format"},
        {"usetimer=Y\nwaittime=18:30\nwaitdate=1997/06/31\n", "June 31, 1997 is not a valid day"},
        {"usetimer=Y\nwaittime=18:30\nwaitdate=1997/03/07/01\n",
         "Invalid Date or Time format: 18:30:1997/03/07/01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.app);
        WriteApp(c.app);
        ASSERT_TRUE(Start());
        EXPECT_TRUE(RunFor(1));
        EXPECT_EQ(List().back(), c.text);
        EXPECT_EQ(Log().back(), c.text);
        EXPECT_TRUE(session_.open_paths.empty());
        Finish();
    }
}

}  // namespace
}  // namespace batchtest
