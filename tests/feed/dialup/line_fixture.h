#pragma once

// Fixtures of the tests that use a serial line: a pseudo-terminal mapped to
// COM2 in VEXA.INI, with either the test itself at the far end (RawLineTest:
// the test writes the far end's bytes and reads what the library sent, on
// the test's own thread) or the simulated modem and price server of
// tests/feed/peer (PeerLineTest). Both run on the test clock.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/scramble.h"
#include "feed/dialup/serial_port.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"
#include "feed/dialup/variables.h"
#include "platform/clock.h"
#include "tests/feed/dialup/dialup_fixture.h"
#include "tests/feed/peer/price_peer.h"

namespace feedtest {

// Points a COM port at a device in VEXA.INI of the test's configuration
// folder (the data-feed libraries keep their settings there).
inline void MapPort(int number, const std::string& device) {
    const std::filesystem::path dir = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "ledra";
    std::filesystem::create_directories(dir);
    std::string ini = ReadFile(dir / "VEXA.INI");
    if (ini.find("[ports]") == std::string::npos) ini += "[ports]\n";
    ini += "COM" + std::to_string(number) + "=" + device + "\n";
    WriteFile(dir / "VEXA.INI", ini);
}

// A pseudo-terminal whose master side the test holds; the slave side is the
// library's port. It is also the side channel: the test sets the carrier and
// sees DTR changes and breaks; `on_silence` runs whenever a read of the
// library found nothing, so the test can answer at that moment.
class RawLine : public feed::SerialSideChannel {
public:
    RawLine() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        path_ = ptsname(master_);
        keep_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        tcgetattr(keep_, &tio);
        cfmakeraw(&tio);
        tcsetattr(keep_, TCSANOW, &tio);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~RawLine() override {
        close(keep_);
        if (master_ >= 0) close(master_);
    }
    RawLine(const RawLine&) = delete;
    RawLine& operator=(const RawLine&) = delete;

    const std::string& Path() const { return path_; }
    int Master() const { return master_; }
    // The far end goes away: reads and writes on the port fail from now on.
    void CloseMaster() {
        close(master_);
        master_ = -1;
    }

    // Bytes from the far end.
    void Send(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = write(master_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else {
                pollfd p{master_, POLLOUT, 0};
                poll(&p, 1, 100);
            }
        }
    }
    // XON (true) or XOFF (false) from the far end; returns once the port's
    // output has started or stopped (false when it did not within two
    // seconds).
    bool FlowControl(bool on) {
        Send(on ? "\x11" : "\x13");
        for (int i = 0; i < 2000; ++i) {
            pollfd p{keep_, POLLOUT, 0};
            if ((poll(&p, 1, 0) > 0) == on) return true;
            usleep(1000);
        }
        return false;
    }
    // What the library sent since the last call.
    std::string Received() {
        std::string bytes;
        char buffer[4096];
        ssize_t n;
        while ((n = read(master_, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        all_ += bytes;
        return bytes;
    }
    // Everything the library sent so far.
    const std::string& All() {
        Received();
        return all_;
    }

    bool carrier = true;
    int breaks = 0;
    int silences = 0;
    std::vector<bool> dtr;
    std::function<void()> on_break;
    std::function<void()> on_silence;

    bool CarrierPresent() override { return carrier; }
    void DtrChanged(bool on) override { dtr.push_back(on); }
    void BreakSent() override {
        ++breaks;
        if (on_break) on_break();
    }
    void AwaitSilence() override {
        ++silences;
        if (on_silence) on_silence();
    }

private:
    int master_ = -1;
    int keep_ = -1;
    std::string path_;
    std::string all_;
};

// Every message the library sends, whatever the channel, in order.
struct SentMessage {
    int channel;
    std::string text;
    int code;
};

class MessageRecorder {
public:
    MessageRecorder() : previous_(feed::md_set_message_callback(&Record)) { Messages().clear(); }
    ~MessageRecorder() { feed::md_set_message_callback(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    static std::vector<SentMessage>& Messages() {
        static std::vector<SentMessage> messages;
        return messages;
    }
    static std::vector<std::string> On(int channel) {
        std::vector<std::string> texts;
        for (const SentMessage& m : Messages())
            if (m.channel == channel) texts.push_back(m.text);
        return texts;
    }
    static std::vector<int> Errors() {
        std::vector<int> codes;
        for (const SentMessage& m : Messages())
            if (m.channel == feed::kChannelError) codes.push_back(m.code);
        return codes;
    }

private:
    static int Record(int channel, std::string_view text, int code) {
        Messages().push_back({channel, std::string(text), code});
        return channel;
    }
    feed::MessageCallback previous_;
};

// The library's port COM2 is a pseudo-terminal whose far end the test plays.
class RawLineTest : public DialupTest {
protected:
    RawLineTest() {
        MapPort(2, line_.Path());
        feed::md_install_side_channel(&line_);
        feed::SetVarElements("%PORT", {"COM2"});
    }
    ~RawLineTest() override {
        feed::md_close_port();
        feed::md_install_side_channel(nullptr);
    }

    std::int64_t NowMs() { return clock_.MonotonicMs(); }

    platform::TestClock clock_;
    platform::ScopedClock scoped_clock_{clock_};
    RawLine line_;
};

// The answers of the price server in the end-to-end tests.
inline const std::map<std::string, std::vector<std::string>>& PeerAnswers() {
    static const std::map<std::string, std::vector<std::string>> answers = {
        {"V B980105IBM", {"IBM,105.25,X"}},
        {"J980105IBM", {"IBM,105.25,1.5"}},
        {"DAA980101981231IBM", {"IBM,I,980301,0.25,Q,980315"}},
        {"!I980105IBM", {"IBM,INTL BUSINESS MACHINES,NYSE"}},
    };
    return answers;
}

// The serial session of the library on COM2, a pseudo-terminal with the
// simulated modem and price server at its far end; the shipped dialogue
// script in the data directory; a parameter file with a scrambled password.
// A connection left up is hung up at the end. The test clock runs unless a
// test asks for the system clock.
class PeerLineTest : public DialupTest {
protected:
    PeerLineTest() {
        scoped_clock_ = std::make_unique<platform::ScopedClock>(clock_);
        feed::md_install_session(nullptr);  // the serial session
        MapPort(2, peer_.DevicePath());
        feed::md_install_side_channel(&peer_);
        std::filesystem::copy_file(FEED_DIALUP_SCRIPT, Dir() / "dialup.dlg");
        WriteParams("9600");
        peer_.SetLogin("joe", "secret#2024!");
        peer_.SetAnswers(PeerAnswers());
    }
    ~PeerLineTest() override {
        if (feed::State().connection.connected) Call("", "HANGUP");
        feed::md_install_side_channel(nullptr);
        scoped_clock_.reset();
    }

    void UseSystemClock() {
        scoped_clock_.reset();
        peer_.SetRealTime(true);
    }

    void WriteParams(const std::string& line_speed) {
        WriteFile(Dir() / "qordata.par",
                  "call set = standard\n"
                  "port = \"COM2\"\n"
                  "line speed = " +
                      line_speed +
                      "\n"
                      "telephone number = \"5551234\"\n"
                      "remote user = \"joe\"\n"
                      "remote password = " +
                      feed::md_scramble_text("secret#2024!", 0b0101) + "\n");
    }
    std::vector<std::string> Errors() const { return caller_.Texts(1); }
    bool LineFree() {
        peer_.Settle();
        return feed::md_port_number() == 0 && !feed::Protocol().open && !peer_.OnLine();
    }

    platform::TestClock clock_;
    std::unique_ptr<platform::ScopedClock> scoped_clock_;
    feedpeer::PricePeer peer_;
};

}  // namespace feedtest
