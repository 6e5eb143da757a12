// The serial port layer over a pseudo-terminal: port names and the ports
// section of VEXA.INI, line settings, reads in chunks, the input history,
// the carrier watch, writes, breaks and DTR drops.

#include "feed/dialup/serial_port.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "feed/dialup/messages.h"
#include "feed/dialup/variables.h"
#include "platform/clock.h"
#include "tests/feed/dialup/line_fixture.h"

namespace feedtest {
namespace {

using ::testing::ElementsAre;

// Writes on a thread of its own, so that a write that never gives up fails
// the test by the test's own bound instead of holding the test program
// until ctest's time-out. A write still running after `bound` of real time
// fails the test; `unblock` then lets the far end take the line, so that
// the write ends and the process with it. The write's result.
int WriteWithinBound(const std::string& bytes, std::chrono::milliseconds bound,
                     const std::function<void()>& unblock) {
    std::promise<int> written;
    std::future<int> result = written.get_future();
    std::thread writer([&] { written.set_value(feed::md_port_write(bytes)); });
    if (result.wait_for(bound) != std::future_status::ready) {
        ADD_FAILURE() << "the write was still running after " << bound.count() << " ms";
        unblock();
        if (result.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
            std::fprintf(stderr, "the write did not end once the far end took the line\n");
            std::abort();
        }
    }
    writer.join();
    return result.get();
}

class FeedSerialPortTest : public RawLineTest {
protected:
    // Reads once, up to `count` characters.
    std::string Read(std::size_t count, int* result = nullptr) {
        std::string buffer(count, '\0');
        std::size_t got = count;
        const int r = feed::md_port_read(buffer.data(), got);
        if (result) *result = r;
        buffer.resize(got);
        return buffer;
    }
    termios LineSettings() {
        termios tio{};
        tcgetattr(line_.Master(), &tio);
        return tio;
    }
};

TEST_F(FeedSerialPortTest, PortNamesAndSettings) {
    MapPort(1, line_.Path());
    struct Case {
        const char* port;
        const char* speed;
        int result;
        int number;
    };
    const std::vector<Case> cases = {
        {"2", "", 0, 2},
        {"com2", "9600", 0, 2},
        {"COM1", "115200", 0, 1},
        {"COM2x", "2400", 0, 2},
        {"COM5", "9600", -101, 0},
        {"LPT1", "9600", -101, 0},
        {"", "9600", -101, 0},
        {"COM3", "9600", -101, 0},  // ttyS2 mapped to nothing that exists here
        {"COM2", "fast", -103, 0},
        {"COM2", "9600 baud", -103, 0},
        {"COM2", "12345", -101, 0},  // not a rate the line can be set to
    };
    MapPort(3, "/nonexistent/ttyS2");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + c.speed);
        feed::SetVarElements("%PORT", {c.port});
        feed::SetVarElements("%LINE_SPEED", {c.speed});
        EXPECT_EQ(feed::md_open_port(), c.result);
        EXPECT_EQ(feed::ErrorCell(), c.result);
        EXPECT_EQ(feed::md_port_number(), c.number);
    }
    EXPECT_EQ(feed::md_port_device(4), "/dev/ttyS3");
}

// The device is locked for as long as a session holds the port: another
// session (another program, or a second copy with settings of its own) is
// refused, even for root, whom the terminal's exclusive mode lets through.
TEST_F(FeedSerialPortTest, PortHeldByAnotherSessionIsRefused) {
    auto lock_from_outside = [&] {
        const int fd = open(line_.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return -1;  // the exclusive mode refused the open itself
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            EXPECT_EQ(errno, EWOULDBLOCK);
            close(fd);
            return -1;
        }
        return fd;
    };
    const int other = lock_from_outside();
    ASSERT_GE(other, 0);
    EXPECT_EQ(feed::md_open_port(), -101);
    EXPECT_EQ(feed::ErrorCell(), -101);
    EXPECT_EQ(feed::md_port_number(), 0);
    close(other);

    ASSERT_EQ(feed::md_open_port(), 0);
    EXPECT_EQ(lock_from_outside(), -1);
    // Opened again by the same session (as a script's PORT does): still its own.
    ASSERT_EQ(feed::md_open_port(), 0);
    EXPECT_EQ(lock_from_outside(), -1);
    feed::md_close_port();
    const int after = lock_from_outside();
    EXPECT_GE(after, 0);
    if (after >= 0) close(after);
}

TEST_F(FeedSerialPortTest, ParityDataBitsAndControlLine) {
    struct Case {
        const char* parity;
        const char* cline;
        int data_bits;
        bool even_parity;
        bool dsr;
    };
    const std::vector<Case> cases = {
        {"", "DCD", 7, true, false},
        {"even", "dsr", 7, true, true},
        {"NONE", "", 8, false, false},
        {"none", "DSR", 8, false, true},
    };
    feed::SetVarElements("%LINE_SPEED", {"9600"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parity);
        feed::SetVarElements("%PARITY", {c.parity});
        feed::SetVarElements("%CLINE", {c.cline});
        ASSERT_EQ(feed::md_open_port(), 0);
        const feed::LineSettings settings = feed::md_line_settings();
        EXPECT_EQ(settings.data_bits, c.data_bits);
        EXPECT_EQ(settings.even_parity, c.even_parity);
        EXPECT_EQ(settings.speed, 9600);
        EXPECT_EQ(feed::md_carrier_is_dsr(), c.dsr);
        const termios tio = LineSettings();
        EXPECT_TRUE(tio.c_iflag & IXON);
        EXPECT_TRUE(tio.c_iflag & IXOFF);
        EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
        EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));
        EXPECT_FALSE(tio.c_oflag & OPOST);
    }
    // Each open raises DTR and each close drops it, as the modem sees it.
    EXPECT_THAT(line_.dtr, ElementsAre(true, false, true, false, true, false, true));
}

TEST_F(FeedSerialPortTest, ReadsStopAfterACrAndKeepTheRestOfTheChunk) {
    ASSERT_EQ(feed::md_open_port(), 0);
    line_.Send("AB\rC");
    EXPECT_EQ(Read(10), "AB\r");
    line_.on_silence = [] { ADD_FAILURE() << "the chunk still held C"; };
    EXPECT_EQ(Read(10), "C");
    line_.on_silence = nullptr;
    // Bytes go to 7 bits; NUL and DEL reach the history but not the caller.
    line_.Send(std::string("x\0y\x7fz\xc1", 6));
    EXPECT_EQ(Read(10), "xyzA");
    std::string last;
    for (int n = 512 - 6; n < 512; ++n) last += static_cast<char>(feed::md_ring_get(n));
    EXPECT_EQ(last, std::string("x\0y\x7fzA", 6));
    EXPECT_EQ(feed::md_ring_get(512), -1);
    EXPECT_EQ(feed::md_ring_get(-1), -1);
    // Nothing within the read time-out is an empty read, 250 ms on the clock
    // and a carrier check.
    const std::int64_t before = NowMs();
    int result = 1;
    EXPECT_EQ(Read(10, &result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(NowMs() - before, 250 + 50);
}

TEST_F(FeedSerialPortTest, CarrierWatch) {
    ASSERT_EQ(feed::md_open_port(), 0);
    int result = 0;
    line_.carrier = false;
    // Not watched: never lost. Watched but never seen: not lost either.
    Read(1, &result);
    EXPECT_EQ(result, 0);
    feed::md_set_carrier_watch(true);
    Read(1, &result);
    EXPECT_EQ(result, 0);
    line_.carrier = true;
    Read(1, &result);
    EXPECT_EQ(result, 0);
    line_.carrier = false;
    const std::int64_t before = NowMs();
    Read(1, &result);
    EXPECT_EQ(result, -126);
    EXPECT_EQ(feed::ErrorCell(), -126);
    EXPECT_EQ(NowMs() - before, 250 + 10 * 50);  // ten checks half a second apart
    feed::md_set_carrier_watch(false);
    Read(1, &result);
    EXPECT_EQ(result, 0);
}

TEST_F(FeedSerialPortTest, ReadsAndWritesThatFail) {
    ASSERT_EQ(feed::md_open_port(), 0);
    line_.CloseMaster();
    int result = 0;
    const std::int64_t before = NowMs();
    Read(10, &result);
    EXPECT_EQ(result, -104);
    EXPECT_EQ(NowMs() - before, 3 * 50);  // a pause after each of three tries
    EXPECT_EQ(feed::md_port_write("ATZ\r"), -105);
    EXPECT_EQ(feed::ErrorCell(), -105);
}

TEST_F(FeedSerialPortTest, WritesBreaksAndDtr) {
    std::size_t none = 1;
    char c;
    EXPECT_EQ(feed::md_port_write("x"), -102);
    EXPECT_EQ(feed::md_port_read(&c, none), -102);
    EXPECT_EQ(feed::md_send_line_break(), -102);
    EXPECT_EQ(feed::md_drop_dtr(), -102);
    ASSERT_EQ(feed::md_open_port(), 0);
    EXPECT_EQ(feed::md_port_write(std::string(3000, 'w')), 0);
    EXPECT_EQ(line_.Received(), std::string(3000, 'w'));
    std::int64_t before = NowMs();
    EXPECT_EQ(feed::md_send_line_break(), 0);
    EXPECT_EQ(line_.breaks, 1);
    EXPECT_EQ(NowMs() - before, 200);
    line_.dtr.clear();
    before = NowMs();
    EXPECT_EQ(feed::md_drop_dtr(), 0);
    EXPECT_EQ(NowMs() - before, 2000);
    EXPECT_THAT(line_.dtr, ElementsAre(false, true));
    feed::ErrorCell() = -121;
    feed::md_port_hangup();
    EXPECT_EQ(feed::md_port_number(), 0);
    EXPECT_EQ(feed::ErrorCell(), 0);
    EXPECT_THAT(line_.dtr, ElementsAre(false, true, false, true, false));
    EXPECT_EQ(feed::md_close_port(), 0);
}

// A far end that stops the line with XOFF and never sends XON: the write
// gives up after three tries, waiting for room between them on the clock (so
// no real time passes under test), or sooner when its time limit runs out.
TEST_F(FeedSerialPortTest, WriteToALineHeldByXoffGivesUp) {
    ASSERT_EQ(feed::md_open_port(), 0);
    ASSERT_TRUE(line_.FlowControl(false));
    // No real time passes on the test clock: a few seconds are the write's
    // bound, and XON lets a write that never gives up end.
    const auto bound = std::chrono::seconds(5);
    const auto xon = [&] { line_.FlowControl(true); };
    std::int64_t before = NowMs();
    EXPECT_EQ(WriteWithinBound("ATZ\r", bound, xon), -105);
    EXPECT_EQ(feed::ErrorCell(), -105);
    EXPECT_EQ(NowMs() - before, 2 * 1000);  // a second for room after each of the first two tries

    const std::int64_t usual = feed::md_set_write_time_limit(300);
    EXPECT_EQ(usual, feed::kWriteTimeLimitMs);
    before = NowMs();
    EXPECT_EQ(WriteWithinBound("ATZ\r", bound, xon), -105);
    EXPECT_EQ(NowMs() - before, 300);
    feed::md_set_write_time_limit(usual);
    EXPECT_EQ(line_.Received(), "");

    ASSERT_TRUE(line_.FlowControl(true));
    EXPECT_EQ(feed::md_port_write("ATZ\r"), 0);
    EXPECT_EQ(line_.Received(), "ATZ\r");
}

// The simulated modem stops taking part: it drains the line one byte at a
// time (each byte lets a little more through, so the tries never run out)
// or not at all. Either way a write far bigger than the line's queues gives
// up with -105 once its time limit has run out, on the system clock. A
// write that runs on fails the test after a few seconds, and the far end
// then takes the rest unheard.
class FeedSlowFarEndTest : public PeerLineTest {
protected:
    // Opens the port once for each far end that stops taking part (one
    // byte at a time, then nothing), with the write time limit given,
    // runs the check, and closes the port again.
    void ForEachStalledFarEnd(std::int64_t limit_ms, const std::function<void()>& check) {
        feed::md_set_write_time_limit(limit_ms);
        feed::SetVarElements("%PORT", {"COM2"});
        for (const feedpeer::Drain drain : {feedpeer::Drain::kOneByte, feedpeer::Drain::kNone}) {
            SCOPED_TRACE(drain == feedpeer::Drain::kOneByte ? "one byte at a time" : "nothing");
            peer_.SetDrain(drain);
            ASSERT_EQ(feed::md_open_port(), 0);
            check();
            feed::md_close_port();
        }
        feed::md_set_write_time_limit(feed::kWriteTimeLimitMs);
    }
    // A write far bigger than the line's queues, bounded by a few seconds
    // after which the far end takes the rest unheard; its result.
    int WriteBig() {
        return WriteWithinBound(std::string(1 << 20, 'w'), std::chrono::seconds(5),
                                [&] { peer_.SetDrain(feedpeer::Drain::kUnheard); });
    }
};

TEST_F(FeedSlowFarEndTest, WriteGivesUpWithinItsTimeLimit) {
    UseSystemClock();
    constexpr std::int64_t kLimitMs = 200;
    ForEachStalledFarEnd(kLimitMs, [&] {
        const std::int64_t before = platform::GetClock().MonotonicMs();
        EXPECT_EQ(WriteBig(), -105);
        const std::int64_t took = platform::GetClock().MonotonicMs() - before;
        EXPECT_EQ(feed::ErrorCell(), -105);
        EXPECT_GE(took, kLimitMs);
        // Generous for a loaded machine; a write that ran on would take many
        // seconds (one byte at a time) or its three one-second waits.
        EXPECT_LT(took, kLimitMs + 1500);
    });
}

// The system clock, but for a jump: once armed, the first reading is the
// system's and every later one lies the jump ahead, as when the machine
// slept (or a loaded one left the writer off the processor) past the
// write's limit between two of its tries.
class JumpingClock : public platform::SystemClock {
public:
    void Arm(std::int64_t jump_ms) {
        jump_ms_ = jump_ms;
        readings_ = 0;
    }
    std::int64_t MonotonicMs() override {
        const std::int64_t now = SystemClock::MonotonicMs();
        return readings_++ == 0 ? now : now + jump_ms_;
    }

private:
    std::atomic<std::int64_t> jump_ms_{0};
    std::atomic<int> readings_{0};
};

// Whatever the far end does (takes a byte now and then, or nothing), a
// write whose time has run out between two tries gives up at once with
// -105: it neither waits nor pauses on a time left below zero, which
// would wait without end (or not at all, trying on while each try sends a
// byte).
TEST_F(FeedSlowFarEndTest, WriteWhoseTimeRanOutBetweenTriesGivesUpAtOnce) {
    UseSystemClock();
    JumpingClock clock;
    const platform::ScopedClock jumping(clock);
    constexpr std::int64_t kLimitMs = 60000;
    ForEachStalledFarEnd(kLimitMs, [&] {
        clock.Arm(2 * kLimitMs);
        EXPECT_EQ(WriteBig(), -105);
        EXPECT_EQ(feed::ErrorCell(), -105);
    });
}

}  // namespace
}  // namespace feedtest
