// The block protocol's receive path over a pseudo-terminal: the far end's
// bytes are arbitrary (blocks with any letter, escapes and CRC, control
// characters, cut lines), written to the line before the library reads,
// and the library receives answer parts into a buffer whose room also comes
// from the input, until it reports an error or the far end falls silent.
// Nothing may crash, hang or write outside the buffer; the size handed back
// stays within the room.
//
// The line runs on a test clock: a read that finds nothing advances it, so
// time-outs, retries and line breaks happen at once.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/variables.h"
#include "platform/clock.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A pseudo-terminal whose slave side is the library's COM2; the far end's
// bytes go in at the master side, and whatever the library sends back is
// drained whenever it reads nothing.
class FarEnd : public feed::SerialSideChannel {
public:
    FarEnd() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        fuzz::Require(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0);
        path_ = ptsname(master_);
        keep_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        tcgetattr(keep_, &tio);
        cfmakeraw(&tio);
        tcsetattr(keep_, TCSANOW, &tio);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    const std::string& Path() const { return path_; }

    // Writes what the line takes now; the rest waits for the next silence.
    void Queue(std::string_view bytes) {
        queued_.assign(bytes.begin(), bytes.end());
        Flush();
    }

    bool CarrierPresent() override { return true; }
    void DtrChanged(bool) override {}
    void BreakSent() override {}
    void AwaitSilence() override {
        Drain();
        Flush();
    }

private:
    void Flush() {
        while (!queued_.empty()) {
            const ssize_t n = write(master_, queued_.data(), queued_.size());
            if (n <= 0) break;
            queued_.erase(0, static_cast<std::size_t>(n));
        }
    }
    void Drain() {
        char buffer[4096];
        while (read(master_, buffer, sizeof buffer) > 0) {
        }
    }

    int master_ = -1;
    int keep_ = -1;
    std::string path_;
    std::string queued_;
};

FarEnd& Line() {
    static FarEnd line;
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FreshDataDir();
    static const bool configured = [] {
        ::setenv("XDG_CONFIG_HOME", (fuzz::DataDir() / "config").c_str(), 1);
        return true;
    }();
    (void)configured;
    std::filesystem::create_directories("config/ledra");
    fuzz::WriteFile("config/ledra/VEXA.INI", "[ports]\nCOM2=" + Line().Path() + "\n");
    fuzz::WriteFile("qordata.par", feedtest::kStandardParams);
    feedtest::CopyErrorTexts(fuzz::DataDir());

    // The first byte: the buffer's room (1 to 256, or the whole block) and
    // poll mode; the rest is the far end's.
    const int first = size > 0 ? data[0] : 0;
    const int room = (first & 0x7f) == 0 ? static_cast<int>(feed::kBlockRoom) : 2 * (first & 0x7f);
    const bool poll = (first & 0x80) != 0;
    const std::string_view far(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                               size > 0 ? size - 1 : 0);

    platform::TestClock clock;
    platform::ScopedClock scoped(clock);
    feed::ResetLibraryForTesting();
    feed::md_install_side_channel(&Line());
    feed::SetVarElements("%PORT", {"COM2"});
    if (feed::md_open_port() == 0) {
        feed::ProtocolState& p = feed::Protocol();
        p = feed::ProtocolState();
        p.open = true;
        p.tquiet = 5;
        p.idle_ms = clock.MonotonicMs() + 3600 * 1000;
        p.turnaround_mark = feed::ProtocolState::Mark::kFresh;
        feed::md_set_carrier_watch(true);
        Line().Queue(far);

        // A guard band past the room shows a write beyond it.
        std::vector<char> buffer(static_cast<std::size_t>(room) + 16, '\x5a');
        for (int call = 0; call < 16; ++call) {
            int got = room;
            const int result = feed::md_receive_block(buffer.data(), got, poll);
            fuzz::Require(got >= 0 && got <= room);
            for (std::size_t i = static_cast<std::size_t>(room); i < buffer.size(); ++i)
                fuzz::Require(buffer[i] == '\x5a');
            if (result < 0 || (result == 0 && got == 0 && poll)) break;
        }
        Line().AwaitSilence();
        feed::md_close_port();
    }
    feed::md_install_side_channel(nullptr);
    feed::ResetLibraryForTesting();
    return 0;
}
