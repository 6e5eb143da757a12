// The receiving side of the block protocol below the blocks: bytes from the
// line turned into events (go-ahead, repeat, NAK NAK, block start, end,
// time-out), and the traces of what crosses the line.

#include <cstdio>

#include "feed/dialup/block_codec.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/serial_port.h"
#include "platform/clock.h"

namespace feed {
namespace {

constexpr std::int64_t kIdleMs = 3600 * 1000;
constexpr std::size_t kTraceLineLimit = 126;
constexpr int kChannelInputTrace = 11;
constexpr int kInputTraceWidth = 75;

void FlushTraceLine() {
    ProtocolState& p = Protocol();
    if (p.trace_line.empty()) return;
    md_send_traced(p.trace_line, kChannelReceiveTrace, false, 0);
    p.trace_line.clear();
}

// Spells one byte of a trace: printable characters as they are, control and
// high bytes as <xx>, CR as <CR> ending the line.
void SpellByte(unsigned char c, std::string& line, int channel) {
    if (c >= 32 && c <= 126) {
        line += static_cast<char>(c);
    } else if (c == '\r') {
        line += "<CR>\n";
        md_send_message(channel, line);
        line.clear();
    } else {
        char code[8];
        std::snprintf(code, sizeof code, "<%02x>", c);
        line += code;
    }
}

}  // namespace

ProtocolState& Protocol() {
    static ProtocolState state;
    return state;
}

bool IsLineFault(int code) {
    return code == kErrServerEnded || code == kErrReadFailed || code == kErrRetries || code == kErrNoAnswer ||
           code == kErrIdle || code == kErrCarrierLost;
}

std::int64_t ProtocolNowMs() {
    return platform::GetClock().MonotonicMs();
}

int md_send_traced(std::string_view text, int channel, bool decode, std::size_t length) {
    if (md_message_callback()) {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (decode && c == static_cast<unsigned char>(kEscapeControl) && i + 1 < text.size())
                c = static_cast<unsigned char>(text[++i] - 32);
            SpellByte(c, line, channel);
        }
        if (!line.empty()) md_send_message(channel, line);
    }
    if (length == 0) return 0;
    return md_port_write(text.substr(0, std::min(length, text.size())));
}

int md_receive_control(bool poll, bool ignore_stx) {
    ProtocolState& p = Protocol();
    const std::int64_t tquiet_ms = p.tquiet * 1000LL;
    if (p.turnaround_mark == ProtocolState::Mark::kFresh)
        p.turnaround_ms = ProtocolNowMs() + tquiet_ms;
    else if (p.turnaround_mark == ProtocolState::Mark::kShort)
        p.turnaround_ms = ProtocolNowMs() + (p.tquiet / 3) * 1000LL;
    p.turnaround_mark = ProtocolState::Mark::kNone;
    if (p.injected >= 0) {
        const int event = p.injected;
        p.injected = -1;
        p.idle_ms = ProtocolNowMs() + kIdleMs;
        return event;
    }
    int event = kEventNothing;
    do {
        char byte = 0;
        std::size_t count = 1;
        if (md_port_read(&byte, count) != 0) {
            event = kEventError;
            break;
        }
        const std::int64_t now = ProtocolNowMs();
        if (count == 0) {
            if (now > p.turnaround_ms) {
                event = kEventTimeout;
            } else if (now > p.idle_ms) {
                ErrorCell() = kErrIdle;
                event = kEventError;
            }
            continue;
        }
        p.trace_line += byte;
        if (p.trace_line.size() > kTraceLineLimit) FlushTraceLine();
        const unsigned char c = static_cast<unsigned char>(byte);
        if (byte == kEnq) {
            p.turnaround_ms = now + tquiet_ms;
            if (poll) event = kEventEnquiry;
            continue;
        }
        const char lead_in = p.lead_in;
        p.lead_in = 0;
        if (lead_in == 0) {
            if (!p.hold && (byte == kAck || byte == kNak || byte == kStx))
                p.lead_in = byte;
            else if (byte == kDle)
                p.hold = false;
        } else if (lead_in == kStx) {
            p.idle_ms = now + kIdleMs;
            if (!ignore_stx) event = byte == p.letter ? kEventBlock : kEventWrongBlock;
        } else if (lead_in == kNak) {
            if (byte == kNak) {
                event = kEventNak;
                p.idle_ms = now + kIdleMs;
            }
        } else if (lead_in == kAck) {
            if (byte == kEot) {
                event = kEventEnd;
            } else if (c == p.expected_toggle) {
                event = kEventGoAhead;
                p.invitation_toggle = c;
                p.idle_ms = now + kIdleMs;
            } else if (c == kToggleSum - p.expected_toggle) {
                event = kEventRepeat;
                p.idle_ms = now + kIdleMs;
            }
        }
        // A line that never falls silent and never says anything the
        // protocol knows still runs into the turnaround time-out.
        if (event == kEventNothing && now > p.turnaround_ms) event = kEventTimeout;
    } while (!poll && event == kEventNothing);
    if (event != kEventNothing) FlushTraceLine();
    return event;
}

void md_error_trace() {
    std::string line = "--Input trace--\r";
    md_send_traced(line, kChannelInputTrace, false, 0);
    line.clear();
    int width = 0;
    for (int n = 0; n < static_cast<int>(kHistorySize); ++n) {
        const int c = md_ring_get(n);
        if (c == '\r') {
            md_send_traced(line + '\r', kChannelInputTrace, false, 0);
            line.clear();
            width = 0;
            continue;
        }
        line += static_cast<char>(c);
        width += (c < 32 || c > 126) ? 4 : 1;
        if (width > kInputTraceWidth) {
            md_send_traced(line + '\r', kChannelInputTrace, false, 0);
            line.clear();
            width = 0;
        }
    }
    if (!line.empty()) md_send_traced(line + '\r', kChannelInputTrace, false, 0);
    Protocol().pending_count = 0;
}

}  // namespace feed
