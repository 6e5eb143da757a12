// End to end over a pseudo-terminal: ol_DataRequest's routines with the
// serial session against the simulated modem and price server. The shipped
// dialogue script sets the modem up, dials and logs in; request lines and
// answers travel as blocks; each injected fault is mended or reported with
// its code; the hang-up frees the line for the next call.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/scramble.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"
#include "tests/feed/dialup/line_fixture.h"
#include "tests/feed/peer/price_peer.h"

namespace feedtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;
using feedpeer::Fault;

class FeedLineTest : public PeerLineTest {};

TEST_F(FeedLineTest, ConnectAskForAPriceAndHangUp) {
    EXPECT_EQ(Call("V B980105IBM", "BLOCK,STATUS"), 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM,105.25,X\r\nE"));
    EXPECT_THAT(peer_.Commands(), ElementsAre("ATZ", "ATZ", "ATDT5551234"));
    EXPECT_EQ(peer_.LoggedInAs(), "joe");
    EXPECT_EQ(peer_.System(), "q4std");
    EXPECT_THAT(peer_.Requests(), ElementsAre("V B980105IBM"));
    const Strings status = caller_.Texts(3);
    EXPECT_THAT(status, Contains("Dialling 5551234"));
    EXPECT_THAT(status, Contains("Welcome to the price server"));
    EXPECT_THAT(status, Contains("Sending packet #1: V B980105IBM"));
    EXPECT_THAT(status, Contains("Received packet #1"));
    EXPECT_THAT(Errors(), ElementsAre());
    EXPECT_TRUE(feed::State().connection.connected);
    EXPECT_EQ(feed::md_port_number(), 2);

    // The connection serves the next call; lines go one by one.
    caller_.Clear();
    EXPECT_EQ(Call("DAA980101981231IBM\r\nJ980105IBM\r\n!I980105IBM", "RESET,LINE"), 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM,I,980301,0.25,Q,980315", "E", "IBM,105.25,1.5", "E",
                                               "IBM,INTL BUSINESS MACHINES,NYSE", "E"));
    EXPECT_EQ(peer_.Requests().size(), 4u);

    // Hang-up: the closing block with the reason, the server's ACK EOT, the
    // port closed and the modem on hook.
    EXPECT_EQ(Call("", "HANGUP"), 1);
    EXPECT_TRUE(LineFree());
    EXPECT_TRUE(peer_.Closed());
    EXPECT_EQ(peer_.ClosingReason(), "66");
    EXPECT_EQ(peer_.Hangups(), 1);
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_THAT(Errors(), ElementsAre());

    // The line is free again: the next call dials anew.
    EXPECT_EQ(Call("V B980105IBM", ""), 1);
    EXPECT_THAT(peer_.Commands(), ElementsAre("ATZ", "ATZ", "ATDT5551234", "ATZ", "ATZ", "ATDT5551234"));
    EXPECT_EQ(Call("", "HANGUP"), 1);
    EXPECT_TRUE(LineFree());
    EXPECT_EQ(peer_.Hangups(), 2);
}

TEST_F(FeedLineTest, LongAnswerInPartsAndBlocks) {
    Strings lines;
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        lines.push_back("SEC" + std::to_string(1000 + i) + "," +
                        std::string(30, static_cast<char>('a' + i % 26)));
        expected += lines.back() + "\r\n";
    }
    ASSERT_GT(expected.size(), 10000u);
    peer_.SetAnswers({{"LIST", lines}});
    ASSERT_EQ(Call("LIST", "OUTPUT=answers.txt,LINE"), 1);
    EXPECT_EQ(ReadFile(Dir() / "answers.txt"), expected);
    Strings delivered = caller_.Texts(25);
    ASSERT_EQ(delivered.size(), 301u);
    EXPECT_EQ(delivered.back(), "E");
    delivered.pop_back();
    EXPECT_EQ(delivered, lines);
    // Four parts of at most 4,000 characters, each sent as several blocks.
    EXPECT_THAT(peer_.Requests(), ElementsAre("LIST", "C", "C", "C"));
    EXPECT_GT(feed::Protocol().letter - 'A', 12);
    EXPECT_THAT(Errors(), ElementsAre());
}

TEST_F(FeedLineTest, ControlAndHighBytesTravelBothWays) {
    const std::string odd = "IBM,\x01\x07\x1b\x7e,\xe9\xfc\xa0 end";
    peer_.SetAnswers({{"V B980105\xc9\x42M", {odd}}});
    ASSERT_EQ(Call("V B980105\xc9\x42M", "BLOCK"), 1);
    EXPECT_THAT(peer_.Requests(), ElementsAre("V B980105\xc9\x42M"));
    EXPECT_THAT(caller_.Texts(25), ElementsAre(odd + "\r\nE"));
}

struct FaultCase {
    const char* name;
    Fault fault;
    int count;
    int code;          // 0: mended
    const char* note;  // on the status channel
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FeedLineFaultTest : public FeedLineTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FeedLineFaultTest, IsMendedOrReported) {
    const FaultCase& c = GetParam();
    ASSERT_EQ(Call("", "STATUS,BLOCK,CONNECT,DEBUG"), 1);
    ASSERT_THAT(Errors(), ElementsAre());
    peer_.Inject(c.fault, c.count);
    caller_.Clear();
    const std::int64_t before = clock_.MonotonicMs();
    const int result = Call("V B980105IBM", "");
    // Every fault is over within the protocol's own deadlines.
    EXPECT_LT(clock_.MonotonicMs() - before, 3700 * 1000);
    if (c.note) {
        EXPECT_THAT(caller_.Texts(3), Contains(c.note));
    }
    if (c.code == 0) {
        EXPECT_EQ(result, 1);
        EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM,105.25,X\r\nE"));
        EXPECT_THAT(Errors(), ElementsAre());
        // The line still works for the next request.
        EXPECT_EQ(Call("J980105IBM", ""), 1);
    } else {
        EXPECT_EQ(result, 0);
        ASSERT_FALSE(Errors().empty());
        EXPECT_THAT(Errors().front(), HasSubstr("ERROR " + std::to_string(c.code) + ":"));
        // Later lines fail too; on a line out of use at once, until the
        // hang-up.
        caller_.Clear();
        const std::int64_t again = clock_.MonotonicMs();
        EXPECT_EQ(Call("J980105IBM", ""), 0);
        EXPECT_FALSE(Errors().empty());
        if (feed::IsLineFault(c.code)) {
            EXPECT_LT(clock_.MonotonicMs() - again, 1000);
        }
    }
    caller_.Clear();
    EXPECT_EQ(Call("", "HANGUP"), 1);
    // A broken line is hung up without a closing exchange, and quietly.
    EXPECT_THAT(Errors(), ElementsAre());
    EXPECT_TRUE(LineFree());
    EXPECT_EQ(peer_.Closed(), c.code == 0);
    // The line is free for the next call.
    EXPECT_EQ(Call("V B980105IBM", ""), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FeedLineFaultTest,
    ::testing::Values(FaultCase{"BadCrc", Fault::kBadCrc, 1, 0, "Bad CRC"},
                      FaultCase{"WrongLetter", Fault::kWrongLetter, 1, 0, "Incorrect Sequence Number Seen"},
                      FaultCase{"DroppedBlock", Fault::kDropBlock, 1, 0, nullptr},
                      FaultCase{"BlockWithoutItsCr", Fault::kRunawayBlock, 1, 0, "Bad CRC"},
                      FaultCase{"TwoNaks", Fault::kNakStorm, 2, 0, "Resending Block"},
                      FaultCase{"BadCrcFiveTimes", Fault::kBadCrc, 5, -121, "Bad CRC"},
                      FaultCase{"WrongLetterFiveTimes", Fault::kWrongLetter, 5, -121, nullptr},
                      FaultCase{"NakStorm", Fault::kNakStorm, 5, -121, nullptr},
                      FaultCase{"GoAheadsWithoutABlock", Fault::kGoAheadStorm, 1, -124, nullptr},
                      FaultCase{"Silence", Fault::kSilence, 1, -122, nullptr},
                      FaultCase{"CarrierLost", Fault::kCarrierLoss, 1, -126, nullptr},
                      FaultCase{"ServerEnds", Fault::kServerEnds, 1, -100, nullptr},
                      FaultCase{"EnquiriesWithoutAnAnswer", Fault::kEnquiries, 1, -125, nullptr}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(FeedLineTest, PasswordNeverReachesTheTracesOrTheLog) {
    // Every trace forwarded and logged, on a call that logs in and on one
    // whose login is refused.
    EXPECT_EQ(Call("V B980105IBM", "DEBUG,STATUS,LOG=feed.log"), 1);
    EXPECT_EQ(Call("", "HANGUP"), 1);
    peer_.SetLogin("joe", "other");
    EXPECT_EQ(Call("V B980105IBM", ""), 0);
    EXPECT_THAT(Errors(), Contains("ERROR -141: Login refused"));
    // The password was typed twice, and shows masked each time.
    const Strings sent = caller_.Texts(6);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "********"), 2) << ::testing::PrintToString(sent);
    for (const int channel : {1, 3, 5, 6})
        for (const std::string& text : caller_.Texts(channel))
            EXPECT_EQ(text.find("secret"), std::string::npos) << channel << ": " << text;
    const std::string log = ReadFile(Dir() / "feed.log");
    EXPECT_THAT(log, HasSubstr("********"));
    EXPECT_EQ(log.find("secret"), std::string::npos);
}

TEST_F(FeedLineTest, CallDialogueNestedTooDeepEndsTheCallCleanly) {
    std::string script = "PORT %port\n";
    for (int i = 0; i < 20000; ++i) script += "LOOP 1\n";
    for (int i = 0; i < 20000; ++i) script += "ENDLOOP\n";
    WriteFile(Dir() / "dialup.dlg", script);
    EXPECT_EQ(Call("V B980105IBM", ""), 0);
    EXPECT_THAT(Errors(), ElementsAre("ERROR -153: LOOP or REPEAT nested too deep in the dialogue script"));
    EXPECT_FALSE(feed::State().connection.connected);
    EXPECT_TRUE(LineFree());
    EXPECT_TRUE(peer_.Requests().empty());

    // The shipped dialogue back in place, the next call goes through.
    std::filesystem::copy_file(FEED_DIALUP_SCRIPT, Dir() / "dialup.dlg",
                               std::filesystem::copy_options::overwrite_existing);
    caller_.Clear();
    EXPECT_EQ(Call("V B980105IBM", ""), 1);
    EXPECT_THAT(Errors(), ElementsAre());
}

TEST_F(FeedLineTest, CallsThatDoNotGetThrough) {
    struct Case {
        const char* name;
        std::string dial;
        std::string password;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"busy", "BUSY", "secret#2024!", "ERROR -141: The line is busy"},
        {"no carrier", "NO CARRIER", "secret#2024!", "ERROR -141: No carrier"},
        {"no answer", "", "secret#2024!", "ERROR -141: No answer to the call"},
        {"wrong password", "CONNECT 2400", "other", "ERROR -141: Login refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caller_.Clear();
        peer_.SetDialOutcome(c.dial);
        peer_.SetLogin("joe", c.password);
        EXPECT_EQ(Call("V B980105IBM", ""), 0);
        EXPECT_THAT(Errors(), ElementsAre(c.text));
        EXPECT_FALSE(feed::State().connection.connected);
        EXPECT_EQ(feed::md_port_number(), 0);
    }
    // A port that cannot be opened.
    caller_.Clear();
    MapPort(3, "/nonexistent/tty");
    WriteFile(Dir() / "qordata.par", "call set = standard\nport = \"COM3\"\n");
    EXPECT_EQ(Call("V B980105IBM", ""), 0);
    EXPECT_THAT(Errors(), ElementsAre("ERROR -101: Unable to open the serial port"));
}

}  // namespace
}  // namespace feedtest
