#include "feed/dialup/session.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "feed/dialup/protocol.h"
#include "feed/dialup/serial_port.h"

namespace feed {
namespace {

// The session over the serial line: the modem, the dialogue script and the
// block protocol.
class SerialSession : public Session {
public:
    void ProbePort() override {
        md_open_port();
        md_close_port();
    }
    int Open(const std::string& params_path) override { return md_session_open(params_path); }
    void HangupPort() override { md_port_hangup(); }
    int Send(std::string_view data) override { return md_send_data(data, 0); }
    int Receive(char* buffer, std::size_t room, std::size_t& received) override {
        int size = static_cast<int>(std::min<std::size_t>(room, INT_MAX));
        const int result = md_receive_block(buffer, size, false);
        received = size > 0 ? static_cast<std::size_t>(size) : 0;
        return result;
    }
    int Close(int reason) override { return md_session_close(reason); }
    bool IsOpen() const override { return Protocol().open; }
    void ErrorReported(int code) override {
        md_error_trace();
        if (IsLineFault(code) && Protocol().line_fault == 0) Protocol().line_fault = code;
    }
};

SerialSession g_serial_session;
Session* g_installed = nullptr;

}  // namespace

Session& md_session() {
    return g_installed ? *g_installed : g_serial_session;
}

Session* md_install_session(Session* session) {
    return std::exchange(g_installed, session);
}

}  // namespace feed
