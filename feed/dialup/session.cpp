#include "feed/dialup/session.h"

#include <utility>

#include "feed/dialup/error_text.h"

namespace feed {
namespace {

constexpr int kErrPortUnavailable = -101;  // the port cannot be opened
constexpr int kErrNoSession = -102;        // no open session

// The default session until the serial line layer is in place: no port can
// be opened, so every connect fails with the port error and nothing is sent.
class LineUnavailableSession : public Session {
public:
    void ProbePort() override {}
    int Open(const std::string&) override { return md_report_error(kErrPortUnavailable); }
    void HangupPort() override {}
    int Send(std::string_view) override { return md_report_error(kErrNoSession); }
    int Receive(char*, std::size_t, std::size_t& received) override {
        received = 0;
        return md_report_error(kErrNoSession);
    }
    int Close(int) override { return 0; }
    bool IsOpen() const override { return false; }
};

LineUnavailableSession g_default_session;
Session* g_installed = nullptr;

}  // namespace

Session& md_session() {
    return g_installed ? *g_installed : g_default_session;
}

Session* md_install_session(Session* session) {
    return std::exchange(g_installed, session);
}

}  // namespace feed
