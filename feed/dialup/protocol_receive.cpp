// The receiving side of the block protocol: server blocks read, checked and
// handed to the caller, with acknowledgements, retries and
// resynchronisation; and bringing the line to rest before the session's
// closing block.

#include <algorithm>
#include <cctype>
#include <cstring>

#include "feed/dialup/block_codec.h"
#include "feed/dialup/error_text.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/protocol.h"
#include "feed/dialup/serial_port.h"

namespace feed {
namespace {

constexpr int kMaxRetries = 5;
constexpr int kMaxGoAheads = 3;
constexpr std::int64_t kContinuationIdleMs = 300 * 1000;
constexpr std::size_t kCrcDigits = 4;

bool TooManyRetries() {
    return ++Protocol().retries >= kMaxRetries;
}

// Copies unread received data to the caller. The number copied.
int CopyOut(char* buffer, int room) {
    ProtocolState& p = Protocol();
    if (p.pending_count >= 0 || room <= 0) return 0;
    const std::size_t from = static_cast<std::size_t>(-p.pending_count);
    const std::size_t n =
        std::min(static_cast<std::size_t>(room), p.pending.size() - std::min(from, p.pending.size()));
    if (n > 0) std::memcpy(buffer, p.pending.data() + from, n);
    const std::size_t to = from + n;
    p.pending_count = to < p.pending.size() ? -static_cast<int>(to) : 0;
    return static_cast<int>(n);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The CRC of received text: every byte counts but 127 to 159, a NUL too.
unsigned ReceivedCrc(std::string_view text) {
    unsigned crc = 0xFFFF;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 127 || c > 159) crc = md_crc16_update(c, crc);
    }
    return crc;
}

enum class BlockRead { kGood, kBad, kError };

// Reads the rest of a server block (after STX and its letter) up to its CR.
// A block that fills the block buffer without a CR is bad: nothing past the
// buffer is stored, and the rest of it is left to the resynchronisation.
BlockRead ReadBlock(std::string& text) {
    ProtocolState& p = Protocol();
    const std::int64_t short_ms = (p.tquiet / 3) * 1000LL;
    std::string block;
    block.reserve(kBlockRoom);
    bool complete = false;
    char chunk[kReadChunk];
    while (block.size() < kBlockRoom) {
        std::size_t count = std::min(sizeof chunk, kBlockRoom - block.size());
        if (md_port_read(chunk, count) != 0) return BlockRead::kError;
        const std::int64_t now = ProtocolNowMs();
        if (count == 0) {
            if (now > p.turnaround_ms) break;
            continue;
        }
        p.turnaround_ms = now + short_ms;
        block.append(chunk, count);
        if (block.back() == kCr) {
            complete = true;
            break;
        }
    }
    md_send_traced(block, kChannelReceiveTrace, true, 0);
    p.turnaround_mark = ProtocolState::Mark::kNone;
    p.turnaround_ms = ProtocolNowMs() + p.tquiet * 1000LL;
    p.awaiting = true;
    if (!complete || block.size() < kCrcDigits + 1) return BlockRead::kBad;
    unsigned stated = 0;
    for (std::size_t i = block.size() - 1 - kCrcDigits; i < block.size() - 1; ++i) {
        const int digit = HexValue(block[i]);
        if (digit < 0) return BlockRead::kBad;
        stated = stated * 16 + static_cast<unsigned>(digit);
    }
    const std::string_view body = std::string_view(block).substr(0, block.size() - 1 - kCrcDigits);
    p.more_to_receive = !body.empty() && body.back() == kEtx;
    text = UnescapeBody(body);
    const unsigned crc = ReceivedCrc(text);
    if (p.more_to_receive) text.pop_back();
    return crc == stated ? BlockRead::kGood : BlockRead::kBad;
}

}  // namespace

int md_receive_block(char* buffer, int& size, bool poll) {
    ProtocolState& p = Protocol();
    const int room = size;
    size = 0;
    if (!p.open) return md_report_error(kErrNoOpenSession);
    if (ErrorCell() < -99) return ErrorCell();
    if (p.line_fault != 0) return md_report_error(p.line_fault);
    if (room <= 0) return 0;
    if (p.pending_count > 0 && !p.awaiting) return md_report_error(kErrOutOfStep);
    int handed = CopyOut(buffer, room);
    if (handed > 0) {
        size = handed;
        if (!p.more_to_receive && p.pending_count == 0) return 0;
        if (handed == room || poll) return 1;
    }
    p.resends = 0;
    for (;;) {
        const int event = md_receive_control(poll, false);
        switch (event) {
            case kEventOwedClose:
                return md_report_error(kErrOutOfStep);
            case kEventGoAhead: {
                if (p.resends >= kMaxGoAheads) return md_report_error(kErrGoAheads);
                ++p.resends;
                const int failed =
                    p.resends >= 2 && p.pending_count > 0 ? md_send_block(false) : md_send_ack();
                if (failed != 0) return md_report_error(kErrAckFailed);
                break;
            }
            case kEventRepeat:
                if (p.pending_count <= 0) return md_report_error(kErrGoAheads);
                --p.retries;
                [[fallthrough]];
            case kEventNak:
                if (TooManyRetries()) return md_report_error(kErrRetries);
                break;
            case kEventBlock: {
                p.resends = 0;
                p.awaiting = false;
                std::string text;
                const BlockRead read = ReadBlock(text);
                if (read == BlockRead::kError) return md_report_error(ErrorCell());
                if (read == BlockRead::kGood) {
                    p.pending = std::move(text);
                    p.pending_count = 0;
                    p.letter = p.letter == 'Z' ? 'A' : static_cast<char>(p.letter + 1);
                    if (p.more_to_receive) p.idle_ms = ProtocolNowMs() + kContinuationIdleMs;
                    p.retries = 0;
                    const std::size_t n = std::min(static_cast<std::size_t>(room - handed), p.pending.size());
                    std::memcpy(buffer + handed, p.pending.data(), n);
                    handed += static_cast<int>(n);
                    p.pending_count = n < p.pending.size() ? -static_cast<int>(n) : 0;
                    size = handed;
                    return p.more_to_receive || handed == 0 || p.pending_count < 0 ? 1 : 0;
                }
                md_send_message(kChannelStatus, "Bad CRC");
                if (TooManyRetries()) return md_report_error(kErrRetries);
                if (const int failed = md_send_break(poll); failed != 0) return failed;
                p.awaiting = true;
                p.pending_count = 0;
                break;
            }
            case kEventWrongBlock:
                md_send_message(kChannelStatus, "Incorrect Sequence Number Seen");
                [[fallthrough]];
            case kEventTimeout:
                if (TooManyRetries()) return md_report_error(kErrRetries);
                if (const int failed = md_send_break(poll); failed != 0) return failed;
                break;
            case kEventEnd:
                return md_report_error(kErrServerEnded);
            case kEventError:
                return md_report_error(ErrorCell());
            default:  // nothing yet, or an enquiry, in poll mode
                size = handed;
                return 1;
        }
        if (poll) {
            size = handed;
            return 1;
        }
    }
}

int md_wait_line_ready() {
    ProtocolState& p = Protocol();
    int repeats = 0;
    for (;;) {
        const int event = md_receive_control(false, true);
        if (event == kEventOwedClose) {
            p.pending = std::string{kMarker, kEtx};
            p.pending_count = 1;
            p.more_to_send = false;
            if (const int failed = md_send_block(true); failed != 0) return md_report_error(failed);
            continue;
        }
        if (event == kEventTimeout) {
            if (const int failed = md_send_break(false); failed != 0) return failed;
            continue;
        }
        if ((event == kEventRepeat || event == kEventNak) && p.pending_count > 0) {
            // A server that keeps asking for the block again gives up the
            // wait like any other run of retries.
            if (++repeats >= kMaxRetries) return md_report_error(kErrRetries);
            if (const int failed = md_send_block(false); failed != 0) return md_report_error(failed);
            continue;
        }
        if (event == kEventEnd) {
            ErrorCell() = kErrServerEnded;
            return kErrServerEnded;
        }
        if (event == kEventError) return md_report_error(ErrorCell());
        p.pending_count = 0;
        p.awaiting = false;
        p.injected = kEventGoAhead;
        return 0;
    }
}

}  // namespace feed
