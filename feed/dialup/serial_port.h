#pragma once

// The serial port and modem layer: one of the ports COM1 to COM4, opened and
// configured from the script variables %PORT, %LINE_SPEED, %PARITY and
// %CLINE; reads and writes with retries; a 512-byte history of everything
// received (for error traces); the carrier watch; line breaks; DTR drops
// that hang the modem up.
//
// Ports are terminal devices driven through termios. "COMn" is /dev/ttyS<n-1>
// unless the section "ports" of VEXA.INI names another device for it
// (COM1=/dev/ttyUSB0). Carrier and DSR come from the device's modem-status
// lines where it has them; a device without them (a pseudo-terminal) can be
// given a side channel that tells the line's state instead. An open port is
// locked (flock on the device) for as long as it stays open, so a second
// session on the same device, in this process or another, is refused.
//
// Waits go through the installed clock (platform/clock.h). A read finds
// nothing only after the read time-out of 250 ms; on a manual clock the far
// end is first given the chance to answer through the side channel, and the
// time-out then moves the clock on, so the protocol's deadlines run as fast
// as the test drives them. While a read finds nothing the window messages of
// the calling thread are processed, so that timers and the caller's handlers
// run during a long wait.
//
// Every operation stores its result in the library's error cell.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace feed {

inline constexpr int kErrPortOpen = -101;     // port name not COM1-COM4, held by another session, or it
                                              // cannot be opened or set up
inline constexpr int kErrPortClosed = -102;   // the port is not open
inline constexpr int kErrLineSpeed = -103;    // line speed not a number
inline constexpr int kErrReadFailed = -104;   // three failed reads
inline constexpr int kErrWriteFailed = -105;  // three failed writes
inline constexpr int kErrCarrierLost = -126;  // carrier (or DSR) lost while waiting for input
inline constexpr int kErrOutOfMemory = -181;  // no memory

inline constexpr int kReadTimeoutMs = 250;
// The longest a write may take in all. A full request block (some 2,000
// bytes) needs under 20 seconds even at 1200 bit/s; a far end that takes
// longer to let it through is not a working line.
inline constexpr std::int64_t kWriteTimeLimitMs = 30000;
inline constexpr std::size_t kReadChunk = 79;
inline constexpr std::size_t kHistorySize = 512;

// The state of the modem lines of a device that has none of its own, told by
// whoever stands at the far end (a simulated modem under test). The port
// layer calls it on the thread that uses the port.
class SerialSideChannel {
public:
    virtual ~SerialSideChannel() = default;
    // The carrier (or DSR) line.
    virtual bool CarrierPresent() = 0;
    // DTR raised (port opened, DTR restored) or dropped (DTR drop, port closed).
    virtual void DtrChanged(bool on) = 0;
    // A line break went out.
    virtual void BreakSent() = 0;
    // A read found nothing on a manual clock: returns once the far end has
    // nothing more to send for now, so that the read time-out that follows
    // stands for real silence on the line. Also called when a write finds
    // the output queue full on a manual clock: the far end takes what it
    // will of the line first, so that the wait that follows stands for a
    // line that takes nothing more.
    virtual void AwaitSilence() = 0;
};

// Installs the side channel (nullptr: none) and returns the previous one.
SerialSideChannel* md_install_side_channel(SerialSideChannel* channel);

// The library's start: the port closed, the write time limit the usual.
void md_port_init();

// Opens and configures the port from the variables (closing an open port
// first). 0 or an error code.
int md_open_port();

// Closes the port when it is open (dropping DTR); the error cell becomes 0.
// Always 0.
int md_close_port();

// Reads up to `count` characters into `buffer`, stopping after a CR; `count`
// comes back as the number stored. Bytes are taken to 7 bits; NUL and DEL
// are dropped (but kept in the history). No characters within the read
// time-out is a normal empty result. 0 or an error code.
int md_port_read(char* buffer, std::size_t& count);

// Writes all bytes. 0, or -105 when three tries in a row sent nothing or the
// write time limit ran out first, whatever the far end does.
int md_port_write(std::string_view bytes);

// Sets the write time limit (kWriteTimeLimitMs unless changed) and returns
// the previous one; tests shorten it.
std::int64_t md_set_write_time_limit(std::int64_t ms);

// Sends a line break of 200 ms. 0 or -102.
int md_send_line_break();

// Drops DTR for two seconds (the modem hangs up). 0 or -102.
int md_drop_dtr();

// Drops DTR and closes the port; the error cell becomes 0.
void md_port_hangup();

// 1 when the carrier is present or not watched, 0 when it was lost.
int md_carrier_present();

// Switches the carrier watch on (while a session is open) or off.
void md_set_carrier_watch(bool on);

// The n-th byte of the input history counted from the oldest (0 to 511), or
// -1 for n outside that range.
int md_ring_get(int n);

// Pauses on the installed clock.
void md_sleep_us(long long microseconds);

// The open port's number (1 to 4), or 0 when the port is closed.
int md_port_number();

// The line settings of the port last opened: a pseudo-terminal keeps its own
// character size and parity whatever it is told, so they are kept here too.
struct LineSettings {
    long speed = 0;
    int data_bits = 8;
    bool even_parity = false;
};
LineSettings md_line_settings();
// True when the carrier watch looks at DSR rather than DCD.
bool md_carrier_is_dsr();

// The device a port number opens: the "ports" section of VEXA.INI, else
// /dev/ttyS<n-1>.
std::string md_port_device(int number);

}  // namespace feed
