#pragma once

// Test helpers of the data-feed libraries: a session double that plays the
// remote price server, a caller window that records the copy-data records it
// receives, and the settings files a data-feed test needs.

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "feed/dialup/session.h"
#include "platform/window.h"

namespace feedtest {

// Plays the remote price server. Each request line is answered by the parts
// the `server` function gives for it; a part ending in "M" is followed by the
// next part once the library sends "C". Opening the session queues the
// greeting. Everything the library does is recorded.
class FakeSession : public feed::Session {
public:
    std::function<std::vector<std::string>(const std::string& line)> server = [](const std::string& line) {
        return std::vector<std::string>{"ANSWER " + line + "\r\nE"};
    };
    std::vector<std::string> greeting = {"Welcome to the price server\r\nE"};
    int open_result = 0;
    int send_result = 0;
    int receive_result = 0;  // when not 0, every Receive returns it
    std::size_t chunk = 0;   // bytes handed over per Receive (0: a whole part)
    // Run inside the library's calls, where the serial line would dispatch
    // the caller's window messages.
    std::function<void()> on_open;
    std::function<void(const std::string&)> on_send;
    std::function<void()> on_receive;

    std::vector<std::string> sent;
    std::vector<int> closes;
    std::vector<int> errors_reported;
    std::vector<std::string> open_paths;
    int probes = 0;
    int port_hangups = 0;
    bool open = false;

    void ProbePort() override { ++probes; }
    int Open(const std::string& params_path) override {
        open_paths.push_back(params_path);
        if (on_open) on_open();
        if (open_result != 0) return open_result;
        open = true;
        parts_.assign(greeting.begin(), greeting.end());
        return 0;
    }
    void HangupPort() override { ++port_hangups; }
    int Send(std::string_view data) override {
        sent.emplace_back(data);
        if (on_send) on_send(std::string(data));
        if (send_result != 0) return send_result;
        if (data != "C") {
            const std::vector<std::string> answer = server(std::string(data));
            parts_.insert(parts_.end(), answer.begin(), answer.end());
        }
        return 0;
    }
    int Receive(char* buffer, std::size_t room, std::size_t& received) override {
        received = 0;
        if (on_receive) on_receive();
        if (receive_result != 0) return receive_result;
        if (parts_.empty()) return 0;
        std::string& part = parts_.front();
        std::size_t n = std::min(room, chunk ? chunk : part.size());
        n = std::min(n, part.size());
        part.copy(buffer, n);
        received = n;
        part.erase(0, n);
        if (!part.empty()) return 1;
        parts_.pop_front();
        return 0;
    }
    int Close(int reason) override {
        closes.push_back(reason);
        open = false;
        parts_.clear();
        return 0;
    }
    bool IsOpen() const override { return open; }
    void ErrorReported(int code) override { errors_reported.push_back(code); }

    // The request lines sent (the "C" continuations left out).
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const std::string& s : sent)
            if (s != "C") lines.push_back(s);
        return lines;
    }

private:
    std::deque<std::string> parts_;
};

struct Record {
    int channel = 0;
    std::string text;
    std::size_t length = 0;
    platform::WindowHandle from = 0;
};

// The caller's window: records every copy-data record it receives and can
// run code from inside the delivery, as a caller's handler would.
class CallerWindow {
public:
    CallerWindow() {
        window_.SetCopyDataHandler([this](platform::WindowHandle from, const platform::CopyDataRecord& r) {
            records.push_back({static_cast<int>(r.channel), std::string(r.Text()), r.length, from});
            if (on_record) on_record(records.back());
            return true;
        });
    }
    platform::WindowHandle handle() const { return window_.GetSafeHwnd(); }

    std::vector<std::string> Texts(int channel) const {
        std::vector<std::string> texts;
        for (const Record& r : records)
            if (r.channel == channel) texts.push_back(r.text);
        return texts;
    }
    std::vector<int> Channels() const {
        std::vector<int> channels;
        for (const Record& r : records) channels.push_back(r.channel);
        return channels;
    }
    bool Has(int channel, const std::string& text) const {
        for (const Record& r : records)
            if (r.channel == channel && r.text == text) return true;
        return false;
    }
    void Clear() { records.clear(); }

    std::vector<Record> records;
    std::function<void(const Record&)> on_record;

private:
    platform::MessageWindow window_;
};

// Sets (or with nothing, removes) an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The error-text file the tests use.
inline void CopyErrorTexts(const std::filesystem::path& dir) {
    std::filesystem::copy_file(FEED_TEST_ERROR_TEXTS, dir / "qorcomm.err",
                               std::filesystem::copy_options::overwrite_existing);
}

// A parameter file with one complete call set "standard".
inline constexpr const char* kStandardParams =
    "# data feed settings\n"
    "[app]\n"
    "call type = dialup\n"
    "\n"
    "call set = standard\n"
    "port = \"COM2\"\n"
    "line speed = 9600\n"
    "telephone number = \"5551234\"\n";

// The parameter file of the tests that call the simulated modem and price
// server: call set "standard" on COM2 with the modem's number and login.
inline constexpr const char* kPeerCallParams =
    "[app]\n"
    "call type = dialup\n"
    "\n"
    "call set = standard\n"
    "port = \"COM2\"\n"
    "line speed = 9600\n"
    "telephone number = \"5551234\"\n"
    "remote user = joe\n"
    "remote password = secret\n";

}  // namespace feedtest
