// Delivery to the caller's window by channel, answer lines and blocks, the
// LOG copy, the trace-control silence, and error texts from qorcomm.err.

#include "feed/dialup/delivery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/request_files.h"
#include "feed/dialup/state.h"
#include "feed/dialup/variables.h"
#include "tests/feed/dialup/dialup_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

class FeedDeliveryTest : public DialupTest {
protected:
    feed::OptionState& Options() { return feed::State().options; }
};

TEST_F(FeedDeliveryTest, ChannelsReachTheCallerByTheirSwitches) {
    struct Case {
        const char* name;
        bool status, debug;
        std::vector<int> channels;
    };
    const std::vector<Case> cases = {
        {"nothing on", false, false, {1}},
        {"STATUS", true, false, {1, 3}},
        {"DEBUG", false, true, {1, 5, 6}},
        {"both", true, true, {1, 3, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caller_.Clear();
        Options().status = c.status;
        Options().debug = c.debug;
        for (int channel : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 24, 26, 100})
            feed::md_deliver(channel, "text", -1);
        EXPECT_EQ(caller_.Channels(), c.channels);
    }
}

TEST_F(FeedDeliveryTest, MessagesAreFormattedToTheirFirstLine) {
    Options().status = true;
    feed::md_deliver(3, "   Connected to\r\nthe server", 0);
    feed::md_deliver(1, "  Bad line\nsecond line", -104);
    feed::md_deliver(3, "   ", 0);  // nothing left: nothing sent
    feed::md_deliver(3, std::string(1500, 'x'), 0);
    ASSERT_EQ(caller_.records.size(), 3u);
    EXPECT_EQ(caller_.records[0].text, "Connected to");
    EXPECT_EQ(caller_.records[1].text, "ERROR -104: Bad line");
    EXPECT_EQ(caller_.records[2].text, std::string(999, 'x'));
}

TEST_F(FeedDeliveryTest, AnswersLineByLineAndWhole) {
    struct Case {
        const char* name;
        bool line, block;
        std::string part;
        Strings answers;
        Strings status;
    };
    const std::string part = "IBM 101.5\r\nMSFT 30.25\r\n\r\nM";
    const std::vector<Case> cases = {
        {"LINE drops only the continuation mark",
         true,
         false,
         part,
         {"IBM 101.5", "MSFT 30.25"},
         {"Total responses = 2"}},
        {"BLOCK sends the part whole", false, true, part, {part}, {}},
        {"both", true, true, part, {part, "IBM 101.5", "MSFT 30.25"}, {"Total responses = 2"}},
        {"neither", false, false, part, {}, {}},
        {"answers beginning with M are answers",
         true,
         false,
         "MSFT 30.25\r\nMOT 12\r\nMMM 80\r\nE",
         {"MSFT 30.25", "MOT 12", "MMM 80", "E"},
         {"Total responses = 4"}},
        {"a leading line end gives an empty first line",
         true,
         false,
         "\r\nIBM 101.5",
         {"", "IBM 101.5"},
         {"Total responses = 2"}},
        {"a lone mark", true, false, "M", {}, {"Total responses = 0"}},
        {"an empty part in BLOCK", false, true, "", {""}, {}},
    };
    Options().status = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caller_.Clear();
        Options().line = c.line;
        Options().block = c.block;
        feed::md_deliver(25, c.part, 0);
        EXPECT_EQ(caller_.Texts(25), c.answers);
        EXPECT_EQ(caller_.Texts(3), c.status);
    }
}

TEST_F(FeedDeliveryTest, TraceControlNoneSilencesAllButAnswers) {
    Options().status = Options().debug = Options().block = true;
    feed::md_deliver(0, "-none", 0);  // without CR LF: not silenced
    feed::md_deliver(3, "one", 0);
    feed::md_deliver(0, "-none\r\n", 0);
    feed::md_deliver(1, "two", -1);
    feed::md_deliver(3, "three", 0);
    feed::md_deliver(5, "four", 0);
    feed::md_deliver(25, "five", 0);
    feed::md_deliver(0, "-default", 0);
    feed::md_deliver(3, "six", 0);
    EXPECT_EQ(caller_.Channels(), (std::vector<int>{3, 25, 3}));
    EXPECT_THAT(caller_.Texts(3), ElementsAre("one", "six"));
}

TEST_F(FeedDeliveryTest, LogCopiesErrorsStatusAndTracesButNotAnswers) {
    ASSERT_EQ(feed::md_open_file(Options().log, "feed.log", feed::kOpenAppend), 1);
    Options().line = true;
    feed::md_deliver(1, "bad", -105);
    feed::md_deliver(3, "status", 0);
    feed::md_deliver(5, "in", 0);
    feed::md_deliver(6, "out", 0);
    feed::md_deliver(25, "IBM 101.5\r\nT 20", 0);
    feed::md_deliver(7, "end of dialogue", 0);
    feed::md_close_files();
    EXPECT_EQ(ReadFile(Dir() / "feed.log"),
              "File accessed: feed.log\r\nERROR -105: bad\r\nstatus\r\nin\r\nout\r\nTotal responses = 2\r\n");
}

TEST_F(FeedDeliveryTest, ErrorTextsFromTheFile) {
    struct Case {
        int code;
        const char* detail;
        std::string text;
    };
    const std::vector<Case> cases = {
        {-216, "", "ERROR -216: No request and no options given"},
        // The detail replaces the "^" and everything after it.
        {-220, "C:\\X.TXT", "ERROR -220: Unable to use the file C:\\X.TXT"},
        {-215, "FAST", "ERROR -215: Unknown option word: FAST"},
        {-999, "", "ERROR -999: Unknown Error"},
        {10, "", "ERROR 10: Cancelled by the user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        caller_.Clear();
        EXPECT_EQ(feed::md_report_error(c.code, c.detail), c.code);
        EXPECT_THAT(caller_.Texts(1), ElementsAre(c.text));
    }
}

TEST_F(FeedDeliveryTest, ErrorCellKeepsErrorsButNotTheUsersCancel) {
    feed::ErrorCell() = 0;
    feed::md_report_error(feed::kCodeUserCancel);
    EXPECT_EQ(feed::ErrorCell(), 0);
    feed::md_report_error(-218);
    EXPECT_EQ(feed::ErrorCell(), -218);
    feed::md_report_error(0);
    EXPECT_EQ(feed::ErrorCell(), -218);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR 10: Cancelled by the user",
                                              "ERROR -218: A data request is already running"));
}

TEST_F(FeedDeliveryTest, ErrorTextLinesWithLeadingBlanksAndSeveralLines) {
    WriteFile(Dir() / "qorcomm.err", "-300\t \t  Line trouble ^ more\r\n-301 first line only\r\n");
    feed::md_report_error(-300, "on COM2");
    feed::md_report_error(-301);
    EXPECT_THAT(caller_.Texts(1),
                ElementsAre("ERROR -300: Line trouble on COM2", "ERROR -301: first line only"));
}

TEST_F(FeedDeliveryTest, DetailIsUsedOnce) {
    feed::md_report_error(-215, "FAST");
    feed::md_report_error(-214);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -215: Unknown option word: FAST",
                                              "ERROR -214: Request refused by the server: "));
}

TEST_F(FeedDeliveryTest, MissingErrorTextFileKeepsTheCode) {
    std::filesystem::remove(Dir() / "qorcomm.err");
    EXPECT_EQ(feed::md_report_error(-218), -218);
    EXPECT_EQ(feed::ErrorCell(), -218);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -218: Unable to open file: qorcomm.err"));
}

TEST_F(FeedDeliveryTest, ErrorTextFileIsFoundInHomeDirOrBesideTheParameterFile) {
    const std::filesystem::path home = Dir() / "home";
    std::filesystem::create_directories(home);
    std::filesystem::rename(Dir() / "qorcomm.err", home / "qorcomm.err");
    feed::SetVarElements("%homedir", {home.string()});  // without a closing separator
    feed::md_report_error(-216);
    feed::SetVarElements("%homedir", {});
    feed::SetVarElements("%!CFN", {(home / "qordata.par").string()});
    feed::md_report_error(-218);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -216: No request and no options given",
                                              "ERROR -218: A data request is already running"));
}

TEST_F(FeedDeliveryTest, SessionHearsOfErrorsWhileOpen) {
    feed::md_report_error(-105);
    session_.open = true;
    feed::md_report_error(-105);
    feed::md_report_error(10);
    EXPECT_THAT(session_.errors_reported, ElementsAre(-105));
}

TEST_F(FeedDeliveryTest, FailedLogWriteIsReportedOnce) {
    Options().log.name = "/dev/full";
    Options().log.file = std::fopen("/dev/full", "w");
    ASSERT_NE(Options().log.file, nullptr);
    Options().status = true;
    feed::md_deliver(3, "status", 0);
    feed::md_deliver(3, "more", 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -220: Unable to use the file /dev/full"));
    EXPECT_EQ(Options().log.file, nullptr);
}

}  // namespace
}  // namespace feedtest
