// Option words: what each word sets, the errors of a bad option text, and
// which words count as HANGUP and CANCEL.

#include "feed/dialup/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/state.h"
#include "tests/feed/dialup/dialup_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;

class FeedOptionsTest : public DialupTest {};

TEST_F(FeedOptionsTest, WordsAndTheirErrors) {
    struct Case {
        const char* text;
        int result;
        std::vector<std::string> errors;
        std::vector<std::string> status;
        bool line, block, debug;
        int idle_check, idle_minutes;
        std::string output, input, log;
    };
    const std::vector<Case> cases = {
        {"LINE,BLOCK", 0, {}, {}, true, true, false, 1, 5, "", "", ""},
        {"status,debug", 0, {}, {}, false, false, true, 1, 5, "", "", ""},
        {"TIMEOUT=0", 0, {}, {"No timeout"}, false, false, false, 0, 0, "", "", ""},
        {"TIMEOUT=10", 0, {}, {"Timeout set to 10 minutes"}, false, false, false, 10, 10, "", "", ""},
        {"TIMEOUT=7x", 0, {}, {"Timeout set to 7 minutes"}, false, false, false, 7, 7, "", "", ""},
        {"TIMEOUT=x", 0, {}, {"No timeout"}, false, false, false, 0, 0, "", "", ""},
        {"TIMEOUT",
         99,
         {"ERROR -217: TIMEOUT needs \"=\" and a number of minutes"},
         {},
         false,
         false,
         false,
         1,
         5,
         "",
         "",
         ""},
        {"LOG=a.log,INPUT=Req.txt", 0, {}, {}, false, false, false, 1, 5, "", "Req.txt", "a.log"},
        {"OUTPUT=", 99, {"ERROR -220: Unable to use the file "}, {}, false, false, false, 1, 5, "", "", ""},
        {"STATUS,OUTPUT",
         99,
         {"ERROR -220: Unable to use the file  "},
         {},
         false,
         false,
         false,
         1,
         5,
         "",
         "",
         ""},
        // A flag word takes no value: the value is read as the next word.
        {"DEBUG=1", 99, {"ERROR -215: Unknown option word: 1"}, {}, false, false, true, 1, 5, "", "", ""},
        {"LINE,FAST,BLOCK",
         99,
         {"ERROR -215: Unknown option word: FAST"},
         {},
         true,
         false,
         false,
         1,
         5,
         "",
         "",
         ""},
        {"LINE,", 99, {"ERROR -215: Unknown option word: "}, {}, true, false, false, 1, 5, "", "", ""},
        {" LINE", 99, {"ERROR -215: Unknown option word:  LINE"}, {}, false, false, false, 1, 5, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        feed::ResetLibraryForTesting();
        feed::State().request.caller = caller_.handle();
        feed::State().options.status = true;  // to see the status texts
        caller_.Clear();
        EXPECT_EQ(feed::md_parse_options(c.text), c.result);
        EXPECT_EQ(caller_.Texts(1), c.errors);
        EXPECT_EQ(caller_.Texts(3), c.status);
        const feed::OptionState& o = feed::State().options;
        EXPECT_EQ(o.line, c.line);
        EXPECT_EQ(o.block, c.block);
        EXPECT_EQ(o.debug, c.debug);
        EXPECT_EQ(o.idle_check, c.idle_check);
        EXPECT_EQ(o.idle_minutes, c.idle_minutes);
        EXPECT_EQ(o.output.name, c.output);
        EXPECT_EQ(o.input.name, c.input);
        EXPECT_EQ(o.log.name, c.log);
    }
}

TEST_F(FeedOptionsTest, ResetKeepsNoiconAndConnect) {
    EXPECT_EQ(
        feed::md_parse_options("NOICON,CONNECT,LINE,BLOCK,STATUS,DEBUG,TIMEOUT=3,OUTPUT=o,INPUT=i,LOG=l"), 0);
    feed::State().options.packet_counter = 12;
    EXPECT_EQ(feed::md_parse_options("RESET"), 0);
    const feed::OptionState& o = feed::State().options;
    EXPECT_FALSE(o.line || o.block || o.status || o.debug);
    EXPECT_EQ(o.idle_check, 1);
    EXPECT_EQ(o.idle_minutes, 5);
    EXPECT_EQ(o.packet_counter, 0);
    EXPECT_TRUE(o.output.name.empty() && o.input.name.empty() && o.log.name.empty());
    EXPECT_FALSE(o.icons);
    EXPECT_TRUE(feed::State().request.connect_requested);
}

TEST_F(FeedOptionsTest, FailedCallKeepsTheWordsBeforeTheError) {
    EXPECT_EQ(Call("", "LINE,BOGUS,STATUS"), 0);
    EXPECT_TRUE(feed::State().options.line);
    EXPECT_FALSE(feed::State().options.status);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -215: Unknown option word: BOGUS"));
}

TEST_F(FeedOptionsTest, HangupAndCancelAreWholeWords) {
    struct Case {
        const char* text;
        bool hangup;
        bool cancel;
    };
    const std::vector<Case> cases = {
        {"HANGUP", true, false},
        {"hangup", true, false},
        {"STATUS,HANGUP", true, false},
        {"STATUS, HANGUP ", true, false},
        {"LOG=x.log,CANCEL", false, true},
        {"OUTPUT=HANGUP.TXT", false, false},
        {"LOG=c:\\cancel\\feed.log", false, false},
        {"INPUT=CANCEL", false, false},
        {"HANGUPNOW", false, false},
        {"CANCEL,HANGUP", true, true},
        // A flag word's "=value" is read as a word of its own.
        {"DEBUG=CANCEL", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(feed::HasOptionWord(c.text, "HANGUP"), c.hangup);
        EXPECT_EQ(feed::HasOptionWord(c.text, "CANCEL"), c.cancel);
    }
}

}  // namespace
}  // namespace feedtest
