// The byte forms of the block protocol: the CRC and the escaping of block
// bodies, checked against worked values and against the test peer's own
// implementation.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/block_codec.h"
#include "tests/feed/peer/price_peer.h"

namespace feedtest {
namespace {

TEST(FeedCodecTest, CrcOfWorkedTexts) {
    struct Case {
        std::string text;
        std::string digits;
    };
    const std::vector<Case> cases = {
        {"abc", "5749"},
        {"", "ffff"},
        {"123456789", "4b37"},  // the CRC-16/MODBUS check value
        {"abc\x80", "5749"},    // the marker does not count
        {std::string("abc\x9f\x7f", 5), "5749"},
        {std::string("abc\0def", 7), "5749"},  // a NUL ends the text
        {"abc\x03", "f7d6"},                   // an ETX counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(feed::CrcDigits(feed::md_crc16_string(c.text)), c.digits);
    }
    EXPECT_EQ(feed::CrcDigits(feedpeer::PeerCrc("abc\x03")), "f7d6");
    // One step at a time gives the same as the whole.
    unsigned crc = 0xFFFF;
    for (const char c : std::string("123456789"))
        crc = feed::md_crc16_update(static_cast<unsigned char>(c), crc);
    EXPECT_EQ(crc, 0x4B37u);
}

TEST(FeedCodecTest, EscapingOfBodies) {
    struct Case {
        const char* name;
        std::string text;
        std::string body;
    };
    const std::vector<Case> cases = {
        {"plain", "IBM 105.25", "IBM 105.25"},
        {"line feed", "\n", "\x02\x2A"},
        {"control bytes", std::string("\x01\x1f\x0d", 3), "\x02\x21\x02\x3f\x02\x2d"},
        {"high bytes", "\xc1\xa0\xfe", "\x01\x41\x01\x20\x01\x7e"},
        {"not sent",
         "a\x7f\x81\x9f\xff"
         "b",
         "ab"},
        {"marker sends the next byte bare", "x\x80\x03", "x\x03"},
        {"EOT block",
         "\x80\x04"
         "66",
         "\x04"
         "66"},
        {"marker at the end", "x\x80", "x"},
        {"NUL ends", std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(feed::EscapeBody(c.text), c.body);
    }
}

TEST(FeedCodecTest, UnescapingRestoresEveryTransportableByte) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        if (c < 127 || c > 159) all += static_cast<char>(c);
    all.erase(all.find('\xff'));
    const std::string body = feed::EscapeBody(all);
    for (const char c : body)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 126);
    EXPECT_EQ(feed::UnescapeBody(body), all);
    EXPECT_EQ(feedpeer::PeerEscape(all), body);
    EXPECT_EQ(feedpeer::PeerUnescape(body), all);
    // Pieces: runs of plain characters and single escape pairs.
    const std::vector<feed::BodyPiece> pieces = feed::EscapeBodyPieces("AB\nC\xe9");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].bytes, "AB");
    EXPECT_TRUE(pieces[1].escape);
    EXPECT_EQ(pieces[2].bytes, "C");
    EXPECT_EQ(pieces[3].bytes, "\x01\x69");
}

}  // namespace
}  // namespace feedtest
