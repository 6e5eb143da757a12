// The sending side of the block protocol: client blocks, acknowledgements,
// resynchronisation by line breaks, and a text sent as one or more blocks.

#include "feed/dialup/block_codec.h"
#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/serial_port.h"

namespace feed {
namespace {

constexpr int kMaxRetries = 5;
constexpr int kBreakTries = 3;

std::int64_t TurnaroundFromNow() {
    const ProtocolState& p = Protocol();
    return ProtocolNowMs() + p.tquiet * 1000LL;
}

// Counts one more bad event in a row; true when that was the fifth.
bool TooManyRetries() {
    return ++Protocol().retries >= kMaxRetries;
}

}  // namespace

int md_send_block(bool is_new) {
    ProtocolState& p = Protocol();
    if (!is_new) md_send_message(kChannelStatus, "Resending Block");
    std::string text = p.pending.substr(0, p.pending.find('\0'));
    if (p.more_to_send) text += std::string{kMarker, kEtx};
    const unsigned crc = md_crc16_string(text);
    const std::string head{kStx, static_cast<char>(p.invitation_toggle)};
    int failed = md_send_traced(head, kChannelSendTrace, false, head.size());
    if (failed == 0) {
        for (const BodyPiece& piece : EscapeBodyPieces(text)) {
            failed = md_send_traced(piece.bytes, kChannelSendTrace, false, piece.bytes.size());
            if (failed != 0) break;
        }
    }
    if (failed != 0) return failed;
    p.turnaround_mark = ProtocolState::Mark::kNone;
    p.turnaround_ms = TurnaroundFromNow();
    const std::string tail = CrcDigits(crc) + kCr;
    failed = md_send_traced(tail, kChannelSendTrace, false, tail.size());
    if (is_new) p.expected_toggle = static_cast<unsigned char>(kToggleSum - p.expected_toggle);
    p.awaiting = true;
    return failed;
}

int md_send_ack() {
    ProtocolState& p = Protocol();
    const std::string ack{kAck, kAck, p.letter, kCr};
    p.injected = -1;
    p.turnaround_mark = ProtocolState::Mark::kNone;
    p.turnaround_ms = TurnaroundFromNow();
    p.hold = true;
    p.awaiting = true;
    return md_send_traced(ack, kChannelSendTrace, false, ack.size());
}

int md_send_break(bool poll) {
    ProtocolState& p = Protocol();
    p.turnaround_mark = ProtocolState::Mark::kShort;
    p.awaiting = true;
    for (int attempt = 1; attempt <= kBreakTries; ++attempt) {
        p.resends = 0;
        p.hold = false;
        md_send_message(kChannelSendTrace, "--Break--\n");
        md_send_line_break();
        if (attempt >= 2) md_send_traced("??\r", kChannelSendTrace, false, 3);
        int event = kEventNothing;
        do {
            event = md_receive_control(poll, true);
        } while (event == kEventNothing);
        if (event == kEventTimeout) {
            p.turnaround_mark = ProtocolState::Mark::kShort;
            continue;
        }
        if (event == kEventError) return md_report_error(ErrorCell());
        p.injected = event;
        return 0;
    }
    return md_report_error(kErrNoAnswer);
}

int md_send_data(std::string_view text, int mode) {
    ProtocolState& p = Protocol();
    if (!p.open) return md_report_error(kErrNoOpenSession);
    if (ErrorCell() < -99) return ErrorCell();
    if (p.line_fault != 0) return p.line_fault;
    if (p.pending_count < 0) return md_report_error(kErrGoAheads);
    std::size_t next = 0;
    for (;;) {
        bool go = false;
        while (!go) {
            const int event = md_receive_control(false, false);
            switch (event) {
                case kEventGoAhead:
                    p.pending.clear();
                    p.pending_count = 0;
                    p.retries = 0;
                    p.awaiting = false;
                    go = true;
                    break;
                case kEventOwedClose:
                    go = true;
                    break;
                case kEventRepeat:
                    if (p.pending_count <= 0) return md_report_error(kErrGoAheads);
                    --p.retries;
                    [[fallthrough]];
                case kEventNak: {
                    if (TooManyRetries()) return md_report_error(kErrRetries);
                    const int failed = p.pending_count <= 0 ? md_send_ack() : md_send_block(false);
                    if (failed != 0) return md_report_error(failed);
                    break;
                }
                case kEventEnd:
                    if (mode == -1) return 0;
                    return md_report_error(kErrServerEnded);
                case kEventError:
                    return md_report_error(ErrorCell());
                case kEventTimeout:
                case kEventWrongBlock: {
                    if (TooManyRetries()) return md_report_error(kErrRetries);
                    if (const int failed = md_send_break(false); failed != 0) return failed;
                    if (md_send_ack() != 0) return md_report_error(kErrAckFailed);
                    break;
                }
                default:  // a server block beginning: not ours to read now
                    break;
            }
        }
        p.pending.clear();
        int count = 0;
        while (next < text.size() && count < kBlockCount) {
            const unsigned char c = static_cast<unsigned char>(text[next++]);
            p.pending += static_cast<char>(c);
            count += c < 32 ? 2 : 1;
        }
        p.pending_count = count;
        p.more_to_send = next < text.size();
        if (mode == -1 && !p.more_to_send) {
            p.injected = kEventOwedClose;
            return 0;
        }
        if (const int failed = md_send_block(true); failed != 0) return md_report_error(failed);
        if (!p.more_to_send) return 0;
    }
}

}  // namespace feed
