// A data request from the caller's side: which lines go out, what comes back
// on which channel, what the files hold, and how calls nested in the
// caller's handlers act on a running call.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/connection.h"
#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/state.h"
#include "tests/feed/dialup/dialup_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

class FeedRequestTest : public DialupTest {};

TEST_F(FeedRequestTest, NeitherRequestNorOptionsIsRefused) {
    EXPECT_EQ(Call("", ""), 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -216: No request and no options given"));
    // The record carries the text's terminating zero in its length.
    EXPECT_EQ(caller_.records[0].length, caller_.records[0].text.size() + 1);
    EXPECT_EQ(feed::ErrorCell(), -216);
    EXPECT_TRUE(session_.open_paths.empty());
}

TEST_F(FeedRequestTest, NullTextsCountAsEmpty) {
    EXPECT_EQ(feed::DataRequest(caller_.handle(), nullptr, nullptr), 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -216: No request and no options given"));
}

TEST_F(FeedRequestTest, OptionsAloneApplyWithoutConnecting) {
    EXPECT_EQ(Call("", "RESET,LINE"), 1);
    EXPECT_TRUE(session_.open_paths.empty());
    EXPECT_TRUE(feed::State().options.line);

    EXPECT_EQ(Call("", "CONNECT,STATUS"), 1);
    EXPECT_THAT(session_.open_paths, ElementsAre("qordata.par"));
    EXPECT_TRUE(caller_.Has(3, "Welcome to the price server"));
    EXPECT_TRUE(session_.Lines().empty());
}

TEST_F(FeedRequestTest, RequestTextIsCutIntoLines) {
    struct Case {
        const char* name;
        std::string text;
        Strings lines;
    };
    const std::string long_line = std::string(500, 'a') + std::string(500, 'b') + std::string(200, 'c');
    const std::vector<Case> cases = {
        {"three lines by CR LF", "P IBM\r\nP MSFT\r\nP T", {"P IBM", "P MSFT", "P T"}},
        {"blank lines and leading blanks",
         "\r\n  P IBM\n\n\r\n   P MSFT\r\r P T\r\n",
         {"P IBM", "P MSFT", "P T"}},
        {"1,200 characters",
         long_line,
         {std::string(500, 'a'), std::string(500, 'b'), std::string(200, 'c')}},
        {"exactly 500 characters", std::string(500, 'x') + "\r\nP T", {std::string(500, 'x'), "P T"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session_.sent.clear();
        EXPECT_EQ(Call(c.text, ""), 1);
        EXPECT_EQ(session_.Lines(), c.lines);
    }
    // One connection served all the calls.
    EXPECT_EQ(session_.open_paths.size(), 1u);
}

TEST_F(FeedRequestTest, AnswerInPartsIsAskedForWrittenAndDelivered) {
    session_.server = [](const std::string&) {
        return Strings{"IBM 101.5\r\nM", "MSFT 30.25\r\nM", "T 20.125\r\nE"};
    };
    EXPECT_EQ(Call("", "BLOCK,OUTPUT=answers.txt"), 1);
    caller_.Clear();
    EXPECT_EQ(Call("P IBM MSFT T", ""), 1);
    EXPECT_THAT(session_.sent, ElementsAre("P IBM MSFT T", "C", "C"));
    EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM 101.5\r\nM", "MSFT 30.25\r\nM", "T 20.125\r\nE"));
    EXPECT_EQ(ReadFile(Dir() / "answers.txt"), "IBM 101.5\r\nMSFT 30.25\r\nT 20.125\r\n");
    EXPECT_EQ(feed::State().options.packet_counter, 1);
    // OUTPUT was closed at the end of the call; the next one appends.
    EXPECT_EQ(feed::State().options.output.file, nullptr);
    EXPECT_EQ(Call("P IBM", ""), 1);
    EXPECT_EQ(ReadFile(Dir() / "answers.txt"),
              "IBM 101.5\r\nMSFT 30.25\r\nT 20.125\r\n"
              "IBM 101.5\r\nMSFT 30.25\r\nT 20.125\r\n");
}

TEST_F(FeedRequestTest, AnswerHandedOverInPiecesIsOnePart) {
    session_.chunk = 3;
    EXPECT_EQ(Call("", "BLOCK"), 1);
    EXPECT_EQ(Call("P IBM", ""), 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("ANSWER P IBM\r\nE"));
}

TEST_F(FeedRequestTest, AnswerPartIsBoundedByTheResponseBuffer) {
    session_.chunk = 4000;
    session_.server = [](const std::string&) { return Strings{std::string(12000, 'x') + "E"}; };
    EXPECT_EQ(Call("P IBM", "BLOCK"), 1);
    ASSERT_EQ(caller_.Texts(25).size(), 1u);
    EXPECT_EQ(caller_.Texts(25)[0], std::string(10000, 'x'));
}

TEST_F(FeedRequestTest, RefusedRequestStopsTheCall) {
    session_.server = [](const std::string& line) {
        return Strings{line == "P BAD" ? "E305 unknown symbol\r\nE" : "OK\r\nE"};
    };
    EXPECT_EQ(Call("P IBM\r\nP BAD\r\nP T", ""), 0);
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM", "P BAD"));
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -214: Request refused by the server: P BAD"));
    EXPECT_EQ(feed::State().request.run, 0);
    // The connection stays for the next call.
    EXPECT_TRUE(feed::State().connection.connected);
}

TEST_F(FeedRequestTest, FailedSendAndFailedReadFailTheLine) {
    EXPECT_EQ(Call("", "CONNECT"), 1);
    session_.send_result = -124;
    EXPECT_EQ(Call("P IBM\r\nP T", ""), 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -105: Unable to send on the line"));
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM"));

    caller_.Clear();
    session_.send_result = 0;
    session_.receive_result = -125;  // reported by the session itself
    EXPECT_EQ(Call("P IBM", ""), 0);
    EXPECT_TRUE(caller_.Texts(1).empty());
}

TEST_F(FeedRequestTest, OptionsAccumulateFromCallToCall) {
    EXPECT_EQ(Call("", "line,status"), 1);
    EXPECT_EQ(Call("", "DEBUG"), 1);
    const feed::OptionState& options = feed::State().options;
    EXPECT_TRUE(options.line && options.status && options.debug);
    EXPECT_FALSE(options.block);
    EXPECT_EQ(Call("", "RESET"), 1);
    EXPECT_FALSE(options.line || options.status || options.debug);
}

TEST_F(FeedRequestTest, OptionTextComesBackUpperCasedButFileNamesKeepTheirCase) {
    EXPECT_EQ(Call("P IBM", "output=Answers.txt,log=Trace.log"), 1);
    EXPECT_EQ(options_after_, "OUTPUT=ANSWERS.TXT,LOG=TRACE.LOG");
    EXPECT_EQ(ReadFile(Dir() / "Answers.txt"), "ANSWER P IBM\r\n");
    EXPECT_TRUE(std::filesystem::exists(Dir() / "Trace.log"));
    EXPECT_FALSE(std::filesystem::exists(Dir() / "ANSWERS.TXT"));
}

TEST_F(FeedRequestTest, FileThatCannotBeOpenedFailsTheCall) {
    EXPECT_EQ(Call("P IBM", "STATUS,OUTPUT=no/such/dir/out.txt"), 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -220: Unable to use the file no/such/dir/out.txt"));
    EXPECT_TRUE(session_.open_paths.empty());
    EXPECT_FALSE(feed::State().request.busy);
}

TEST_F(FeedRequestTest, LogHoldsEveryErrorStatusAndTraceTextWhetherForwardedOrNot) {
    EXPECT_EQ(Call("P IBM", "LOG=feed.log"), 1);
    EXPECT_TRUE(caller_.Texts(3).empty());
    EXPECT_EQ(ReadFile(Dir() / "feed.log"),
              "File accessed: feed.log\r\n"
              "Welcome to the price server\r\n"
              "Sending packet #1: P IBM\r\n"
              "Received packet #1\r\n");
}

TEST_F(FeedRequestTest, BatchCallSendsTheWholeInputFile) {
    // Longer than 65,536 bytes, and exactly 65,536 bytes: every line goes.
    for (const std::size_t lines : {5000u, 4096u}) {
        std::string text;
        Strings expected;
        for (std::size_t i = 0; i < lines; ++i) {
            char line[32];
            std::snprintf(line, sizeof line, "P SYM%09zu", i);  // 14 characters and CR LF
            text += line;
            text += "\r\n";
            expected.emplace_back(line);
        }
        SCOPED_TRACE(text.size());
        WriteFile(Dir() / "requests.txt", text);
        session_.sent.clear();
        caller_.Clear();
        EXPECT_EQ(Call("", "STATUS,INPUT=requests.txt"), 1);
        EXPECT_EQ(session_.Lines(), expected);
        EXPECT_TRUE(caller_.Has(3, "Batch processing complete"));
    }
}

TEST_F(FeedRequestTest, RequestCallIgnoresInputAndBatchCallWithoutInputSendsNothing) {
    WriteFile(Dir() / "requests.txt", "P IBM\r\n");
    EXPECT_EQ(Call("P T", "INPUT=requests.txt"), 1);
    EXPECT_THAT(session_.Lines(), ElementsAre("P T"));

    EXPECT_EQ(Call("", "RESET"), 1);
    EXPECT_EQ(Call("", "STATUS"), 1);
    EXPECT_THAT(session_.Lines(), ElementsAre("P T"));
    EXPECT_FALSE(caller_.Has(3, "Batch processing complete"));
}

TEST_F(FeedRequestTest, MissingInputFileFailsTheCall) {
    EXPECT_EQ(Call("", "INPUT=missing.txt"), 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -220: Unable to use the file missing.txt"));
    EXPECT_FALSE(feed::State().request.busy);
}

TEST_F(FeedRequestTest, SecondCallFromAHandlerIsRefusedAndLeavesTheRunningCallAlone) {
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && nested < 0) nested = Call("P NESTED", "");
    };
    EXPECT_EQ(Call("P IBM\r\nP T", "BLOCK"), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -218: A data request is already running"));
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM", "P T"));
}

TEST_F(FeedRequestTest, HangupFromAHandlerStopsTheCallAfterItsLine) {
    EXPECT_EQ(Call("", "BLOCK,LOG=feed.log,OUTPUT=out.txt"), 1);
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && nested < 0) nested = Call("", "HANGUP");
    };
    EXPECT_EQ(Call("P IBM\r\nP T\r\nP MSFT", ""), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM"));
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_FALSE(feed::State().request.hangup_pending);
    EXPECT_EQ(feed::State().options.log.file, nullptr);
    EXPECT_EQ(feed::State().options.output.file, nullptr);
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
}

TEST_F(FeedRequestTest, CancelFromAHandlerFailsTheLineBeingExchanged) {
    session_.server = [](const std::string&) { return Strings{"IBM 101\r\nM", "IBM 102\r\nE"}; };
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && nested < 0) nested = Call("", "cancel");
    };
    EXPECT_EQ(Call("P IBM\r\nP T", "BLOCK,STATUS"), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM 101\r\nM"));
    EXPECT_TRUE(caller_.Has(3, "Cancelling request . . ."));
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM"));
    EXPECT_TRUE(caller_.Texts(1).empty());
    // The connection stays.
    EXPECT_TRUE(feed::State().connection.connected);
}

TEST_F(FeedRequestTest, CancelWithoutALineChangesNothing) {
    EXPECT_EQ(Call("", "CONNECT"), 1);
    EXPECT_EQ(Call("", "CANCEL,STATUS"), 0);
    EXPECT_FALSE(feed::State().options.status);
    EXPECT_TRUE(feed::State().connection.connected);
}

TEST_F(FeedRequestTest, HangupOrCancelAsWholeWordsOnly) {
    EXPECT_EQ(Call("P IBM", "OUTPUT=hangup.txt"), 1);
    EXPECT_TRUE(feed::State().connection.connected);
    EXPECT_EQ(ReadFile(Dir() / "hangup.txt"), "ANSWER P IBM\r\n");
    EXPECT_EQ(Call("P IBM", "LOG=cancel.log"), 1);
    EXPECT_TRUE(std::filesystem::exists(Dir() / "cancel.log"));

    // HANGUP goes before CANCEL and applies nothing else.
    EXPECT_EQ(Call("", "STATUS,CANCEL,HANGUP"), 1);
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_FALSE(feed::State().options.status);
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
}

TEST_F(FeedRequestTest, HangupWhileTheCallWaitsForTheGreetingClosesTheSessionWhenTheCallEnds) {
    // The caller's handler hangs up while the greeting is delivered: the call
    // is past connecting but not yet in a line.
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 3 && r.text == "Welcome to the price server") nested = Call("", "HANGUP");
    };
    EXPECT_EQ(Call("P IBM", "STATUS"), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(session_.Lines().empty());
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
    EXPECT_FALSE(session_.open);
    EXPECT_FALSE(feed::State().connection.connected);

    // The next request connects afresh.
    caller_.on_record = nullptr;
    caller_.Clear();
    EXPECT_EQ(Call("P IBM", "STATUS"), 1);
    EXPECT_TRUE(caller_.Has(3, "Welcome to the price server"));
    EXPECT_EQ(session_.open_paths.size(), 2u);
}

TEST_F(FeedRequestTest, ConnectAfterACancelledCallReadsItsGreeting) {
    session_.server = [](const std::string&) { return Strings{"E305 no such symbol\r\nE"}; };
    EXPECT_EQ(Call("P BAD", ""), 0);
    EXPECT_EQ(Call("", "HANGUP"), 1);
    session_.server = [](const std::string& line) { return Strings{"OK " + line + "\r\nE"}; };
    EXPECT_EQ(Call("P IBM", "STATUS"), 1);
    EXPECT_TRUE(caller_.Has(3, "Welcome to the price server"));
    EXPECT_TRUE(feed::State().connection.connected);
}

TEST_F(FeedRequestTest, FailedGreetingClosesTheSession) {
    session_.on_open = [&] { session_.receive_result = -125; };
    EXPECT_EQ(Call("P IBM", ""), 0);
    EXPECT_THAT(session_.closes, ElementsAre(feed::kHangupReason));
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);

    session_.on_open = nullptr;
    session_.receive_result = 0;
    EXPECT_EQ(Call("P IBM", ""), 1);
    EXPECT_EQ(session_.open_paths.size(), 2u);
}

TEST_F(FeedRequestTest, FailedSessionStartLeavesNothingBehind) {
    session_.open_result = -101;
    EXPECT_EQ(Call("P IBM", "OUTPUT=out.txt,LOG=feed.log"), 0);
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_FALSE(feed::State().connection.connecting);
    EXPECT_FALSE(feed::State().request.busy);
    EXPECT_EQ(feed::State().options.output.file, nullptr);
    EXPECT_EQ(feed::State().options.log.file, nullptr);
    EXPECT_EQ(feed::StatusWindowHandle(), 0u);
}

}  // namespace
}  // namespace feedtest
