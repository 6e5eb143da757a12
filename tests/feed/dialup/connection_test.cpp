// Session control on the injected clock: the status window through the
// line's states, the idle timer and the inactivity dialog (Continue, Hangup,
// Turn Off, its own countdown), timers that cannot be started, and hanging
// up while dialling.

#include "feed/dialup/connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "feed/dialup/inactivity_dialog.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"
#include "platform/clock.h"
#include "platform/constants.h"
#include "platform/dialog.h"
#include "platform/timer.h"
#include "tests/feed/dialup/dialup_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;

constexpr std::int64_t kSecond = 1000;
constexpr const char* kTimerFailure =
    "Too many clocks or timers are already running.\n Click OK to continue without a time out check or\n"
    "Click CANCEL to hangup";

class FeedConnectionTest : public DialupTest {
protected:
    ~FeedConnectionTest() override { platform::SetTimersRefusedForTesting(false); }

    static bool DialogOpen() { return platform::Dialog::FindOpen(feed::kInactivityDialog) != nullptr; }
    static bool Connected() { return feed::State().connection.connected; }

    // Connects with a call that sends one line.
    void Connect(const std::string& options = "") { ASSERT_EQ(Call("P IBM", options), 1); }

    // Answers the open inactivity dialog with a button.
    void Press(int button) {
        script_.Target(feed::kInactivityDialog).Click(button);
        script_.RunScript();
    }

    platform::TestClock clock_;
    platform::ScopedClock scoped_clock_{clock_};
};

TEST_F(FeedConnectionTest, StatusWindowShowsTheLinesState) {
    struct Seen {
        bool window = false;
        bool connecting = false;
        int icon = 0;
    } during_open;
    session_.on_open = [&] {
        during_open = {feed::StatusWindowHandle() != 0, feed::State().connection.connecting,
                       feed::State().connection.icon};
    };
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
    Connect("BLOCK");
    EXPECT_TRUE(during_open.window);
    EXPECT_TRUE(during_open.connecting);
    EXPECT_EQ(during_open.icon, feed::kIconDialling);
    EXPECT_TRUE(Connected());
    EXPECT_EQ(feed::State().connection.icon, feed::kIconConnected);
    EXPECT_TRUE(feed::StatusWindowVisible());
    // Records carry the status window as their sender.
    ASSERT_FALSE(caller_.records.empty());
    EXPECT_EQ(caller_.records.back().from, feed::StatusWindowHandle());

    EXPECT_EQ(Call("", "HANGUP"), 1);
    EXPECT_FALSE(Connected());
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
}

TEST_F(FeedConnectionTest, NoiconNeverShowsTheWindow) {
    bool window_during_open = false;
    session_.on_open = [&] { window_during_open = feed::StatusWindowHandle() != 0; };
    EXPECT_EQ(Call("", "NOICON,CONNECT"), 1);
    EXPECT_TRUE(window_during_open);
    EXPECT_TRUE(Connected());
    EXPECT_FALSE(feed::StatusWindowVisible());
    EXPECT_EQ(feed::State().connection.icon, 0);
    // RESET leaves the icons off.
    EXPECT_EQ(Call("", "RESET"), 1);
    EXPECT_FALSE(feed::State().options.icons);
}

TEST_F(FeedConnectionTest, IdleLineWarnsAfterFiveMinutesAndHangsUpWithoutAnAnswer) {
    Connect();
    clock_.Advance(299 * kSecond);
    EXPECT_FALSE(DialogOpen());
    clock_.Advance(1 * kSecond);
    ASSERT_TRUE(DialogOpen());
    EXPECT_EQ(script_.Beeps().size(), 1u);
    platform::Dialog* dialog = platform::Dialog::FindOpen(feed::kInactivityDialog);
    EXPECT_EQ(dialog->GetWindowText(), "ORLIN Data Server");
    EXPECT_EQ(dialog->GetFocusId(), feed::kIdContinue);

    clock_.Advance(300 * kSecond);
    EXPECT_TRUE(DialogOpen());
    EXPECT_TRUE(Connected());
    clock_.Advance(1 * kSecond);
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(Connected());
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
}

TEST_F(FeedConnectionTest, ContinueRestartsTheCount) {
    Connect();
    clock_.Advance(300 * kSecond);
    ASSERT_TRUE(DialogOpen());
    clock_.Advance(120 * kSecond);  // part of the dialog's own countdown
    Press(feed::kIdContinue);
    EXPECT_FALSE(DialogOpen());
    EXPECT_TRUE(Connected());
    clock_.Advance(299 * kSecond);
    EXPECT_FALSE(DialogOpen());
    clock_.Advance(1 * kSecond);
    EXPECT_TRUE(DialogOpen());
    EXPECT_TRUE(session_.closes.empty());
}

TEST_F(FeedConnectionTest, HangupButtonHangsUp) {
    Connect();
    clock_.Advance(300 * kSecond);
    Press(feed::kIdHangup);
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(Connected());
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
    // The next request connects again.
    Connect();
    EXPECT_EQ(session_.open_paths.size(), 2u);
}

TEST_F(FeedConnectionTest, TurnOffKeepsTheLineUpWithoutWarningsUntilTheNextConnect) {
    Connect("STATUS");
    clock_.Advance(300 * kSecond);
    Press(feed::kIdTurnOff);
    EXPECT_FALSE(DialogOpen());
    EXPECT_TRUE(caller_.Has(3, "User chose to turn off timeout warnings"));
    clock_.Advance(3600 * kSecond);
    EXPECT_FALSE(DialogOpen());
    EXPECT_TRUE(Connected());

    EXPECT_EQ(Call("", "HANGUP"), 1);
    Connect();
    clock_.Advance(300 * kSecond);
    EXPECT_TRUE(DialogOpen());
}

TEST_F(FeedConnectionTest, EscapeLeavesTheDialogUp) {
    Connect();
    clock_.Advance(300 * kSecond);
    script_.Target(feed::kInactivityDialog).Press(platform::Key::Escape);
    script_.RunScript();
    EXPECT_TRUE(DialogOpen());
    EXPECT_TRUE(Connected());
}

TEST_F(FeedConnectionTest, TimeoutSetsTheIdleMinutes) {
    struct Case {
        const char* name;
        std::string before;          // options of the connecting call
        std::string after;           // options given once connected
        std::int64_t first_warning;  // seconds of idleness; 0: none within an hour
    };
    const std::vector<Case> cases = {
        {"default", "", "", 300},
        {"TIMEOUT=10", "TIMEOUT=10", "", 600},
        {"TIMEOUT=0 before connecting", "TIMEOUT=0", "", 0},
        {"TIMEOUT=0 while connected", "", "TIMEOUT=0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Call("", "RESET"), 1);
        Connect(c.before);
        if (!c.after.empty()) {
            EXPECT_EQ(Call("", c.after), 1);
        }
        if (c.first_warning == 0) {
            clock_.Advance(3600 * kSecond);
            EXPECT_FALSE(DialogOpen());
        } else {
            clock_.Advance((c.first_warning - 1) * kSecond);
            EXPECT_FALSE(DialogOpen());
            clock_.Advance(1 * kSecond);
            EXPECT_TRUE(DialogOpen());
        }
        EXPECT_EQ(Call("", "HANGUP"), 1);
        EXPECT_FALSE(DialogOpen());
    }
}

TEST_F(FeedConnectionTest, OnlyIdleTimeCounts) {
    Connect();
    clock_.Advance(200 * kSecond);
    // A call that waits 250 seconds for its answer.
    bool waited = false;
    session_.on_receive = [&] {
        if (waited) return;
        waited = true;
        clock_.Advance(250 * kSecond);
    };
    ASSERT_EQ(Call("P T", ""), 1);
    EXPECT_FALSE(DialogOpen());
    clock_.Advance(299 * kSecond);
    EXPECT_FALSE(DialogOpen());
    clock_.Advance(1 * kSecond);
    EXPECT_TRUE(DialogOpen());
}

TEST_F(FeedConnectionTest, HangupButtonDuringACallStopsTheCallAndHangsUpAfterIt) {
    Connect("BLOCK");
    clock_.Advance(300 * kSecond);
    ASSERT_TRUE(DialogOpen());
    int answers = 0;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && ++answers == 1)
            platform::Dialog::FindOpen(feed::kInactivityDialog)->UserClick(feed::kIdHangup);
    };
    EXPECT_EQ(Call("P IBM\r\nP T", ""), 0);
    EXPECT_EQ(answers, 1);
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(Connected());
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
}

TEST_F(FeedConnectionTest, TimerThatCannotStartAtConnect) {
    platform::SetTimersRefusedForTesting(true);
    script_.ExpectMessageBox(kTimerFailure, platform::IDOK, "ORLIN DataServer");
    Connect();
    EXPECT_TRUE(Connected());
    clock_.Advance(3600 * kSecond);
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(Call("", "HANGUP"), 1);

    script_.ExpectMessageBox(kTimerFailure, platform::IDCANCEL, "ORLIN DataServer");
    EXPECT_EQ(Call("P IBM", ""), 0);
    EXPECT_FALSE(Connected());
    EXPECT_TRUE(session_.Lines().size() == 1u);  // the first connection's line only
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason, feed::kHangupReason));
    EXPECT_FALSE(session_.open);
}

TEST_F(FeedConnectionTest, TimerThatCannotStartInTheDialog) {
    Connect();
    clock_.Advance(299 * kSecond);
    platform::SetTimersRefusedForTesting(true);
    script_.ExpectMessageBox(kTimerFailure, platform::IDOK, "ORLIN DataServer");
    clock_.Advance(1 * kSecond);
    ASSERT_TRUE(DialogOpen());
    // No countdown: the dialog waits for its answer.
    clock_.Advance(3600 * kSecond);
    EXPECT_TRUE(DialogOpen());
    // Continue cannot restart the idle timer either; Cancel hangs up.
    script_.Target(feed::kInactivityDialog).Click(feed::kIdContinue);
    script_.ExpectMessageBox(kTimerFailure, platform::IDCANCEL, "ORLIN DataServer");
    script_.RunScript();
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(Connected());
}

TEST_F(FeedConnectionTest, HangupWhileDiallingDropsThePort) {
    session_.on_open = [&] { EXPECT_EQ(Call("", "HANGUP"), 1); };
    EXPECT_EQ(Call("P IBM", "STATUS"), 0);
    EXPECT_TRUE(caller_.Has(3, "Closing connection . . ."));
    EXPECT_EQ(session_.port_hangups, 1);
    EXPECT_FALSE(Connected());
    EXPECT_FALSE(feed::State().connection.connecting);
    EXPECT_FALSE(session_.open);
    EXPECT_TRUE(session_.Lines().empty());
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
}

}  // namespace
}  // namespace feedtest
