// Throughput of the serial session through a pseudo-terminal on the system
// clock: answer lines a second at two line-speed settings. A
// pseudo-terminal ignores the line speed, so the two figures differ only by
// chance; they measure the library and the protocol, not a modem.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/feed/dialup/line_fixture.h"

namespace feedtest {
namespace {

class FeedThroughputTest : public PeerLineTest {};

TEST_F(FeedThroughputTest, AnswerLinesASecond) {
    UseSystemClock();
    constexpr int kRequests = 1000;
    constexpr int kLinesEach = 10;
    std::map<std::string, std::vector<std::string>> answers;
    std::string requests;
    for (int r = 0; r < kRequests; ++r) {
        const std::string request = "V B980105SEC" + std::to_string(r);
        for (int l = 0; l < kLinesEach; ++l)
            answers[request].push_back("SEC" + std::to_string(r) + "," + std::to_string(100 + l) + ".25,X");
        requests += request + "\r\n";
    }
    peer_.SetAnswers(answers);
    for (const char* speed : {"9600", "115200"}) {
        SCOPED_TRACE(speed);
        WriteParams(speed);
        caller_.Clear();
        ASSERT_EQ(Call("", "RESET,LINE,CONNECT"), 1);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(Call(requests, ""), 1);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Each answer's lines and its end mark.
        const std::size_t lines = caller_.Texts(25).size() - kRequests;
        EXPECT_EQ(lines, static_cast<std::size_t>(kRequests * kLinesEach));
        const double rate = static_cast<double>(lines) / seconds;
        std::printf(
            "line speed %s: %zu answer lines in %.3f s, %.0f lines a second (%.0f requests a second)\n",
            speed, lines, seconds, rate, kRequests / seconds);
        RecordProperty(std::string("lines_per_second_") + speed, static_cast<int>(rate));
        EXPECT_THAT(Errors(), ::testing::ElementsAre());
        ASSERT_EQ(Call("", "HANGUP"), 1);
        EXPECT_TRUE(LineFree());
    }
}

}  // namespace
}  // namespace feedtest
