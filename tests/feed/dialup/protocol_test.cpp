// The block protocol over a pseudo-terminal whose far end the test plays
// byte by byte: client blocks and their CRC, server blocks and sequence
// letters, acknowledgements, retries, resynchronisation by line breaks,
// time-outs and the session's end.

#include "feed/dialup/protocol.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "feed/dialup/block_codec.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/serial_port.h"
#include "tests/feed/dialup/line_fixture.h"
#include "tests/feed/peer/price_peer.h"

namespace feedtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kDle = 0x10;
constexpr char kEot = 0x04;
constexpr char kGoAhead0F[] = {kAck, 0x0F, 0};
constexpr char kGoAhead0E[] = {kAck, 0x0E, 0};

// A server block as the far end writes it (the peer's own codec).
std::string ServerBlock(char letter, const std::string& text, bool more) {
    std::string plain = text;
    std::string body = feedpeer::PeerEscape(text);
    if (more) {
        plain += '\x03';
        body += '\x03';
    }
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", feedpeer::PeerCrc(plain));
    return std::string{'\x02', letter} + body + digits + "\r";
}

struct ClientBlock {
    unsigned char toggle = 0;
    std::string text;
    bool more = false;
    bool crc_ok = false;
};

// The client blocks among the bytes the library sent.
std::vector<ClientBlock> ClientBlocks(const std::string& bytes) {
    std::vector<ClientBlock> blocks;
    std::size_t pos = 0;
    while ((pos = bytes.find('\x02', pos)) != std::string::npos && pos + 1 < bytes.size()) {
        const std::size_t cr = bytes.find('\r', pos);
        if (cr == std::string::npos) break;
        ClientBlock block;
        block.toggle = static_cast<unsigned char>(bytes[pos + 1]);
        const std::string raw = bytes.substr(pos + 2, cr - pos - 2);
        const std::string body = raw.substr(0, raw.size() - 4);
        block.more = !body.empty() && body.back() == '\x03';
        std::string text = feedpeer::PeerUnescape(body);
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04x", feedpeer::PeerCrc(text));
        block.crc_ok = raw.substr(raw.size() - 4) == digits;
        if (block.more) text.pop_back();
        block.text = text;
        blocks.push_back(block);
        pos = cr + 1;
    }
    return blocks;
}

class FeedProtocolTest : public RawLineTest {
public:
    FeedProtocolTest() { feed::State().options.status = true; }

    RawLine& Line() { return line_; }
    std::int64_t Now() { return NowMs(); }

    // A session as after a good start: the port open, the line fresh.
    void OpenSession(int tquiet = 40) {
        ASSERT_EQ(feed::md_open_port(), 0);
        feed::ProtocolState& p = feed::Protocol();
        p = feed::ProtocolState();
        p.open = true;
        p.tquiet = tquiet;
        p.idle_ms = NowMs() + 3600 * 1000;
        p.turnaround_mark = feed::ProtocolState::Mark::kFresh;
        feed::md_set_carrier_watch(true);
    }

    // Receives one call's worth into a buffer of `room`.
    int Receive(std::string& data, int room = 10000) {
        std::string buffer(static_cast<std::size_t>(room), '\0');
        int size = room;
        const int result = feed::md_receive_block(buffer.data(), size, false);
        data.assign(buffer.data(), static_cast<std::size_t>(std::max(size, 0)));
        return result;
    }

    MessageRecorder recorder_;
};

TEST_F(FeedProtocolTest, ServerBlocksAndTheirLetters) {
    OpenSession();
    std::string data;
    line_.Send(ServerBlock('A', "hello", true));
    EXPECT_EQ(Receive(data), 1);  // a continuation follows
    EXPECT_EQ(data, "hello");
    EXPECT_EQ(feed::Protocol().letter, 'B');
    // The next block must carry B: asked for with an acknowledgement after a
    // go-ahead.
    line_.Send(kGoAhead0F);
    line_.on_silence = [&] {
        if (line_.Received() == std::string{kAck, kAck, 'B', '\r'})
            line_.Send(kDle + ServerBlock('B', "world", false));
    };
    EXPECT_EQ(Receive(data), 0);
    EXPECT_EQ(data, "world");
    // After Z comes A again; upper- or lower-case CRC digits both read.
    feed::Protocol().letter = 'Z';
    std::string block = ServerBlock('Z', "last", false);
    for (char& c : block) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    block[1] = 'Z';
    line_.on_silence = nullptr;
    line_.Send(block);
    EXPECT_EQ(Receive(data), 0);
    EXPECT_EQ(data, "last");
    EXPECT_EQ(feed::Protocol().letter, 'A');
}

TEST_F(FeedProtocolTest, DataLargerThanTheRoomComesInPieces) {
    OpenSession();
    line_.Send(ServerBlock('A', "0123456789", false));
    std::string data;
    EXPECT_EQ(Receive(data, 4), 1);
    EXPECT_EQ(data, "0123");
    EXPECT_EQ(Receive(data, 4), 1);
    EXPECT_EQ(data, "4567");
    // Sending over unread data is out of step.
    EXPECT_EQ(feed::md_send_data("x", 0), -124);
    feed::ErrorCell() = 0;  // as the request driver does for each line
    EXPECT_EQ(Receive(data, 4), 0);
    EXPECT_EQ(data, "89");
    // Control and high bytes in a body come back as they were.
    const std::string odd = "a\x01\x07\x1b\x0d\x0a\xe9\xfc\xa0z";
    line_.Send(ServerBlock('B', odd, false));
    EXPECT_EQ(Receive(data), 0);
    EXPECT_EQ(data, odd);
}

TEST_F(FeedProtocolTest, RequestsGoOutAsBlocks) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::size_t> sizes;  // of the blocks' texts
    };
    const std::vector<Case> cases = {
        {"short", "V B980105IBM", {12}},
        {"1,200 plain characters", std::string(1200, 'p'), {1000, 200}},
        {"600 control characters count 2 each", std::string(600, '\x07'), {500, 100}},
        {"exactly 1,000", std::string(1000, 'q'), {1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenSession();
        line_.Received();
        line_.Send(kGoAhead0F);
        unsigned char toggle = 0x0E;
        line_.on_silence = [&] {
            if (line_.Received().empty()) return;
            line_.Send(std::string{kAck, static_cast<char>(toggle)});  // each block taken
            toggle = static_cast<unsigned char>(29 - toggle);
        };
        ASSERT_EQ(feed::md_send_data(c.text, 0), 0);
        line_.on_silence = nullptr;
        const std::vector<ClientBlock> blocks = ClientBlocks(line_.All());
        std::vector<std::size_t> sizes;
        std::string joined;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            sizes.push_back(blocks[i].text.size());
            joined += blocks[i].text;
            EXPECT_TRUE(blocks[i].crc_ok) << i;
            EXPECT_EQ(blocks[i].more, i + 1 < blocks.size()) << i;
            EXPECT_EQ(blocks[i].toggle, i % 2 == 0 ? 0x0F : 0x0E) << i;
        }
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(joined, c.text);
        feed::md_close_port();
        line_.Received();
        const_cast<std::string&>(line_.All()).clear();
    }
}

TEST_F(FeedProtocolTest, BlockAskedForAgainIsSentAgain) {
    struct Case {
        const char* name;
        std::string again;  // the far end's answer to the first block
    };
    const std::vector<Case> cases = {
        {"repeated go-ahead", kGoAhead0F},
        {"NAK NAK", std::string{kNak, kNak}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenSession();
        MessageRecorder::Messages().clear();
        const_cast<std::string&>(line_.All()).clear();
        line_.Send(kGoAhead0F);
        int blocks = 0;
        line_.on_silence = [&] {
            if (line_.Received().empty()) return;
            ++blocks;
            line_.Send(blocks == 1 ? c.again : kGoAhead0E);
        };
        ASSERT_EQ(feed::md_send_data(std::string(1000, 'a') + std::string(200, 'b'), 0), 0);
        line_.on_silence = nullptr;
        const std::vector<ClientBlock> sent = ClientBlocks(line_.All());
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[0].text, std::string(1000, 'a'));
        EXPECT_EQ(sent[1].text, std::string(1000, 'a'));
        EXPECT_EQ(sent[2].text, std::string(200, 'b'));
        EXPECT_THAT(MessageRecorder::On(feed::kChannelStatus), ElementsAre("Resending Block"));
        EXPECT_EQ(feed::Protocol().retries, 0);
        feed::md_close_port();
    }
}

TEST_F(FeedProtocolTest, EscapedBytesOnTheWire) {
    OpenSession();
    line_.Send(kGoAhead0F);
    ASSERT_EQ(feed::md_send_data("A\xc1\x0aZ", 0), 0);
    const std::string wire = line_.Received();
    EXPECT_EQ(wire.substr(0, 8), std::string("\x02\x0f"
                                             "A\x01\x41\x02\x2aZ",
                                             8));
    EXPECT_EQ(wire.back(), '\r');
    EXPECT_EQ(wire.size(), 8u + 4 + 1);
}

TEST_F(FeedProtocolTest, RecoveredFaults) {
    struct Case {
        const char* name;
        std::string first;  // what the far end sends first
        const char* note;   // on the status channel
    };
    const std::vector<Case> cases = {
        {"bad CRC", ServerBlock('A', "hello", false).replace(7, 4, "0000"), "Bad CRC"},
        {"wrong letter", ServerBlock('C', "hello", false), "Incorrect Sequence Number Seen"},
        {"block without its CR", std::string{'\x02', 'A'} + std::string(10100, 'x'), "Bad CRC"},
        {"nothing at all", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenSession();
        MessageRecorder::Messages().clear();
        line_.breaks = 0;
        // After a line break the far end gives the go-ahead; asked for block
        // A it sends it (after a DLE that releases the hold).
        line_.on_break = [&] { line_.Send(kGoAhead0F); };
        line_.on_silence = [&] {
            if (line_.Received().find(std::string{kAck, kAck, 'A', '\r'}) != std::string::npos)
                line_.Send(kDle + ServerBlock('A', "hello", false));
        };
        line_.Send(c.first);
        std::string data;
        EXPECT_EQ(Receive(data), 0);
        EXPECT_EQ(data, "hello");
        EXPECT_EQ(line_.breaks, 1);
        EXPECT_EQ(feed::Protocol().retries, 0);
        if (c.note) {
            EXPECT_THAT(MessageRecorder::On(feed::kChannelStatus), Contains(c.note));
        }
        EXPECT_THAT(MessageRecorder::Errors(), ElementsAre());
        line_.on_break = nullptr;
        line_.on_silence = nullptr;
        feed::md_close_port();
    }
}

TEST_F(FeedProtocolTest, FailuresAndTheirCodes) {
    struct Case {
        const char* name;
        int tquiet;
        std::function<int(FeedProtocolTest&)> run;
        int code;
    };
    const std::vector<Case> cases = {
        {"NAK NAK five times for the first of two blocks", 40,
         [](FeedProtocolTest& t) {
             t.Line().Send(kGoAhead0F);
             t.Line().on_silence = [&t] {
                 if (!t.Line().Received().empty()) t.Line().Send(std::string{kNak, kNak});
             };
             return feed::md_send_data(std::string(1200, 'n'), 0);
         },
         -121},
        {"three go-aheads without a block", 40,
         [](FeedProtocolTest& t) {
             t.Line().Send(kGoAhead0F);
             t.Line().on_silence = [&t] {
                 if (!t.Line().Received().empty()) t.Line().Send(std::string{kDle} + kGoAhead0F);
             };
             std::string data;
             return t.Receive(data);
         },
         -124},
        {"repeated go-ahead with nothing pending", 40,
         [](FeedProtocolTest& t) {
             t.Line().Send(kGoAhead0E);
             std::string data;
             return t.Receive(data);
         },
         -124},
        {"the server ends", 40,
         [](FeedProtocolTest& t) {
             t.Line().Send(std::string{kAck, kEot});
             std::string data;
             return t.Receive(data);
         },
         -100},
        {"no answer after three breaks", 3,
         [](FeedProtocolTest& t) {
             std::string data;
             return t.Receive(data);
         },
         -122},
        {"carrier lost", 40,
         [](FeedProtocolTest& t) {
             std::string data;
             t.Line().Send("noise");
             t.Line().on_silence = [&t] { t.Line().carrier = false; };
             return t.Receive(data);
         },
         -126},
        {"nothing for the idle time", 100000,
         [](FeedProtocolTest& t) {
             feed::Protocol().idle_ms = t.Now() + 2000;
             std::string data;
             return t.Receive(data);
         },
         -125},
        {"block awaited while an unsent block is pending", 40,
         [](FeedProtocolTest&) {
             feed::Protocol().pending_count = 5;
             feed::Protocol().awaiting = false;
             std::string data;
             int size = 10;
             return feed::md_receive_block(data.data(), size, false);
         },
         -123},
        {"no open session", 40,
         [](FeedProtocolTest&) {
             feed::Protocol().open = false;
             return feed::md_send_data("x", 0);
         },
         -102},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        line_.carrier = true;
        OpenSession(c.tquiet);
        // The carrier was seen once the line is up.
        EXPECT_EQ(feed::md_carrier_present(), 1);
        MessageRecorder::Messages().clear();
        feed::ErrorCell() = 0;
        EXPECT_EQ(c.run(*this), c.code);
        EXPECT_EQ(feed::ErrorCell(), c.code);
        EXPECT_THAT(MessageRecorder::Errors(), ElementsAre(c.code));
        // An error cell below -99 stops sends and receives at once.
        std::string data;
        EXPECT_EQ(Receive(data), feed::Protocol().open ? c.code : -102);
        line_.on_silence = nullptr;
        feed::md_close_port();
    }
}

TEST_F(FeedProtocolTest, NoAnswerMeansThreeBreaksAndTwoQueries) {
    OpenSession(3);
    const std::int64_t before = NowMs();
    std::string data;
    EXPECT_EQ(Receive(data), -122);
    EXPECT_EQ(line_.breaks, 3);
    const std::string sent = line_.Received();
    EXPECT_EQ(sent, "??\r??\r");
    // The first turnaround of 3 s, then a third of it for each break.
    EXPECT_GE(NowMs() - before, 3000 + 3 * 1000);
    EXPECT_LE(NowMs() - before, 3000 + 3 * 1000 + 3 * 600);
}

TEST_F(FeedProtocolTest, SessionEnd) {
    // An orderly end: the line made ready, the EOT block with the reason,
    // the server's ACK EOT.
    OpenSession();
    line_.Send(kGoAhead0F);
    int nested = -1;
    line_.on_silence = [&] {
        // A hang-up from a handler while the close waits leaves it alone.
        if (nested < 0) nested = feed::md_session_close(66);
        const std::string sent = line_.Received();
        if (sent.find('\x04') != std::string::npos) line_.Send(std::string{kAck, kEot});
    };
    EXPECT_EQ(feed::md_session_close(66), 0);
    EXPECT_EQ(nested, 0);
    const std::vector<ClientBlock> blocks = ClientBlocks(line_.All());
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].text,
              "\x04"
              "66");
    EXPECT_TRUE(blocks[0].crc_ok);
    EXPECT_FALSE(feed::Protocol().open);
    EXPECT_EQ(feed::md_port_number(), 0);
    line_.on_silence = nullptr;

    // After a lost carrier (or retries, breaks, read failures) nothing is
    // sent and the code is the result; after the server's end the result is 0.
    struct Case {
        int cell;
        int result;
    };
    for (const Case c : {Case{-126, -126}, Case{-121, -121}, Case{-122, -122}, Case{-104, -104},
                         Case{-100, 0}, Case{-125, 0}}) {
        SCOPED_TRACE(c.cell);
        OpenSession();
        line_.Received();
        feed::ErrorCell() = c.cell;
        EXPECT_EQ(feed::md_session_close(66), c.result);
        EXPECT_EQ(line_.Received(), "");
        EXPECT_EQ(feed::md_port_number(), 0);
    }
    // Without a session: -102.
    feed::ErrorCell() = 0;
    EXPECT_EQ(feed::md_session_close(66), -102);
}

}  // namespace
}  // namespace feedtest
