#pragma once

// The block protocol and the data-feed session. Once the dialogue script has
// dialled and logged in, request lines and answers travel as blocks guarded
// by a CRC (block_codec.h):
//
//   client block   STX, toggle, escaped body, [ETX when more follows], CRC, CR
//   server block   STX, sequence letter, escaped body, [ETX], CRC, CR
//   acknowledgement from the library   ACK ACK letter-wanted CR
//   from the server   ACK toggle (go-ahead; the other toggle: repeat),
//                     ACK EOT (end), NAK NAK (repeat), ENQ (still working),
//                     DLE (releases the hold after an acknowledgement)
//
// The library sends when the server's go-ahead carries the expected toggle,
// which alternates with each new block; it expects the server's blocks
// lettered A to Z and round again. Bad blocks, wrong letters and time-outs
// count as retries (the fifth in a row fails with -121) and are mended by a
// line break ("??" from the second try on) after which the server answers
// with a go-ahead; three breaks without an answer fail with -122.
//
// Deadlines (turnaround, idle) run on the installed clock in milliseconds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace feed {

inline constexpr int kErrServerEnded = -100;    // ACK EOT from the server
inline constexpr int kErrNoOpenSession = -102;  // no open session
inline constexpr int kErrAckFailed = -105;      // a write failed while acknowledging
inline constexpr int kErrRetries = -121;        // the fifth retry in a row
inline constexpr int kErrNoAnswer = -122;       // no answer after three line breaks
inline constexpr int kErrOutOfStep = -123;      // protocol out of step
inline constexpr int kErrGoAheads = -124;       // go-aheads without a block, or sending over unread data
inline constexpr int kErrIdle = -125;           // nothing received for the idle time

// The room of the block buffer.
inline constexpr std::size_t kBlockRoom = 10008;
// A client block holds text until its count reaches this (control
// characters count 2).
inline constexpr int kBlockCount = 1000;
inline constexpr unsigned char kToggleFirst = 0x0F;
inline constexpr unsigned char kToggleSum = 29;  // the other toggle is 29 minus one

// Receiver events.
enum ProtocolEvent {
    kEventOwedClose = 0,   // injected: a closing block is owed
    kEventTimeout = 1,     // turnaround time-out
    kEventGoAhead = 2,     // go-ahead with the expected toggle
    kEventRepeat = 3,      // go-ahead with the other toggle
    kEventNak = 4,         // NAK NAK
    kEventBlock = 5,       // a server block with the expected letter begins
    kEventWrongBlock = 6,  // a server block with another letter begins
    kEventEnd = 7,         // ACK EOT
    kEventError = 8,       // error (the error cell is set)
    kEventNothing = 9,     // nothing yet (poll mode)
    kEventEnquiry = 10,    // ENQ (poll mode)
};

struct ProtocolState {
    bool open = false;
    bool closing = false;
    char letter = 'A';  // of the next server block expected
    unsigned char expected_toggle = kToggleFirst;
    unsigned char invitation_toggle = kToggleFirst;
    std::string pending;    // the unacknowledged client block, or the last received block's data
    int pending_count = 0;  // >0 counted characters pending; <0 minus the read position of unread data
    bool more_to_send = false;
    bool more_to_receive = false;
    int retries = 0;
    int resends = 0;
    bool awaiting = false;
    bool hold = false;
    char lead_in = 0;
    int injected = -1;  // an event for the next call of the receiver, or -1
    enum class Mark { kNone, kFresh, kShort };
    Mark turnaround_mark = Mark::kNone;
    std::int64_t turnaround_ms = 0;
    std::int64_t idle_ms = 0;
    std::string trace_line;
    int tquiet = 40;  // seconds
    // The error that put the line out of use (server's end, lost carrier,
    // failed reads, retries, breaks or idle time without an answer). The
    // request driver clears the error cell for each call and line; this
    // keeps the session from trying the line again until it ends.
    int line_fault = 0;
};

// True for the errors after which the line is of no further use.
bool IsLineFault(int code);

ProtocolState& Protocol();

// Session start: reads the parameter file and runs the dialogue script that
// opens the port, dials and logs in. 0 or an error code.
int md_session_open(std::string_view params_path);
// Session end: the closing exchange (EOT block with the reason), the exit
// dialogue, the port closed. 0, 1 (the parameter file could not be read
// again) or an error code.
int md_session_close(int reason);

// Sends a text (length -1: up to its NUL) as client blocks. Mode 0 sends;
// mode -1 waits for the go-ahead or the server's end without sending the
// last block. 0 or an error code.
int md_send_data(std::string_view text, int mode);

// Hands over received data: at most `size` bytes into `buffer`, `size` coming
// back as the number handed over. 1 when more is to come (continuation,
// nothing handed over, or data left), 0 when the answer part is complete, or
// an error code.
int md_receive_block(char* buffer, int& size, bool poll);

// The next receiver event.
int md_receive_control(bool poll, bool ignore_stx);

// Sends the pending block (resending it without `is_new`).
int md_send_block(bool is_new);
// Sends the acknowledgement asking for the next block.
int md_send_ack();
// Resynchronises with line breaks. 0, or the error reported.
int md_send_break(bool poll);
// Brings the line to rest before the closing block.
int md_wait_line_ready();

// Shows a text on a trace channel (control bytes spelt out, CR as "<CR>"
// ending a line; with `decode`, 0x02 pairs as the character they stand for)
// and writes its first `length` bytes to the port. The write's result, or 0.
int md_send_traced(std::string_view text, int channel, bool decode, std::size_t length);

// The error trace after a reported error: the input history on channel 11;
// then nothing is pending any more.
void md_error_trace();

// Deadline helpers on the installed clock.
std::int64_t ProtocolNowMs();

}  // namespace feed
