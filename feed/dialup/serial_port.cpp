#include "feed/dialup/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

#include "feed/dialup/messages.h"
#include "feed/dialup/variables.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "platform/timer.h"

namespace feed {
namespace {

constexpr int kTries = 3;
constexpr int kRetryPauseMs = 50;
constexpr int kCarrierChecks = 10;
constexpr int kCarrierPauseMs = 50;
constexpr int kBreakMs = 200;
constexpr int kDtrDropMs = 2000;
// How long a write waits for room in the output queue before it tries
// again.
constexpr int kWriteWaitMs = 1000;
// On a manual clock without a side channel: the real time a read gives the
// far end before it counts as empty.
constexpr int kManualClockGraceMs = 5;

struct PortState {
    int number = 0;  // 1 to 4 while open
    int fd = -1;
    std::array<unsigned char, kReadChunk> chunk{};
    std::size_t chunk_pos = 0;
    std::size_t chunk_left = 0;
    LineSettings settings;
    int control_mask = TIOCM_CD;
    bool watch = false;
    int carrier_seen = 0;
    std::unique_ptr<std::array<unsigned char, kHistorySize>> history;
    std::size_t history_pos = 0;
    SerialSideChannel* side = nullptr;
    std::int64_t write_limit_ms = kWriteTimeLimitMs;
};

PortState& Port() {
    static PortState port;
    return port;
}

int Result(int code) {
    ErrorCell() = code;
    return code;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The port number a %PORT value names: "1" to "4", or "COM1" to "COM4" in
// any case (more text may follow); 0 for anything else.
int PortNumber(std::string_view value) {
    std::size_t digit = 0;
    if (value.empty() || value[0] < '1' || value[0] > '4') {
        if (value.size() < 4 || !EqualNoCase(value.substr(0, 3), "COM")) return 0;
        digit = 3;
    }
    const char c = value[digit];
    return c >= '1' && c <= '4' ? c - '0' : 0;
}

speed_t BaudConstant(long speed) {
    switch (speed) {
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}

// Unix98 pseudo-terminal slaves have the majors 136 to 143.
bool PseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

// Raw 8-bit (or 7-bit even parity) line without echo or line editing, with
// XON/XOFF flow control both ways. Modem lines are not used by the driver
// (the library watches the carrier itself); DTR drops when the port closes.
bool Configure(int fd, speed_t baud, bool no_parity) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    tio.c_iflag = IXON | IXOFF;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag = CREAD | CLOCAL | HUPCL | (no_parity ? CS8 : CS7 | PARENB);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VSTART] = 17;
    tio.c_cc[VSTOP] = 19;
    if (cfsetispeed(&tio, baud) != 0 || cfsetospeed(&tio, baud) != 0) return false;
    if (tcsetattr(fd, TCSANOW, &tio) == 0) return true;
    // A pseudo-terminal is always 8 bits without parity and refuses to be
    // told otherwise once it is; everything else still applies.
    if (!PseudoTerminal(fd)) return false;
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB)) | CS8;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

// Holds the device for this open of the port. The exclusive mode of a
// terminal keeps other opens out only for users other than root, and a
// second session on the line (another copy of a program with its own
// settings) would break into this one's modem dialogue and blocks: every
// session therefore takes an exclusive lock on the device itself, which
// holds for root as well and goes with the last close of this open.
bool LockDevice(int fd) {
    int result;
    do {
        result = flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

void SetModemLine(int fd, int line, bool on) {
    ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);  // devices without modem lines refuse: nothing to do
}

bool PollIn(int fd, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeout_ms) > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR));
}

bool PollOut(int fd, int timeout_ms) {
    pollfd p{fd, POLLOUT, 0};
    return poll(&p, 1, timeout_ms) > 0 && (p.revents & POLLOUT);
}

// Waits up to `timeout_ms` for `ready` (input, or room in the output queue).
// True when there may be some. On a manual clock the far end first takes or
// sends what it will, and the wait then moves the clock on by the time-out.
bool WaitFor(int fd, bool (*ready)(int, int), int timeout_ms) {
    platform::Clock& clock = platform::GetClock();
    if (!clock.IsManual()) return ready(fd, timeout_ms);
    if (ready(fd, 0)) return true;
    if (SerialSideChannel* side = Port().side) {
        side->AwaitSilence();
        if (ready(fd, 0)) return true;
    } else if (ready(fd, kManualClockGraceMs)) {
        return true;
    }
    clock.Sleep(timeout_ms);
    return false;
}

// Waits up to the read time-out for input. True when there may be some.
bool WaitForInput(int fd) {
    return WaitFor(fd, PollIn, kReadTimeoutMs);
}

void RecordHistory(unsigned char byte) {
    PortState& port = Port();
    (*port.history)[port.history_pos] = byte;
    port.history_pos = (port.history_pos + 1) % kHistorySize;
}

// Refills the read chunk. 0, or -104 after three failed reads.
int FillChunk() {
    PortState& port = Port();
    port.chunk_pos = port.chunk_left = 0;
    for (int tries = 0; tries < kTries; ++tries) {
        if (!WaitForInput(port.fd)) return 0;
        const ssize_t n = read(port.fd, port.chunk.data(), port.chunk.size());
        if (n > 0) {
            port.chunk_left = static_cast<std::size_t>(n);
            return 0;
        }
        if (n < 0 && errno == EAGAIN) return 0;
        // An error, or nothing where the device said there was something (a
        // device hung up or gone) is a failed try. A terminal device keeps no
        // error state to clear: the next try follows a short pause.
        md_sleep_us(kRetryPauseMs * 1000LL);
    }
    return kErrReadFailed;
}

// The masked modem-status bit: the side channel's line where one is
// installed, else the device's; a device that cannot tell counts as present.
int ModemStatusBit() {
    PortState& port = Port();
    if (port.side) return port.side->CarrierPresent() ? port.control_mask : 0;
    int status = 0;
    if (ioctl(port.fd, TIOCMGET, &status) != 0) return port.control_mask;
    return status & port.control_mask;
}

}  // namespace

SerialSideChannel* md_install_side_channel(SerialSideChannel* channel) {
    return std::exchange(Port().side, channel);
}

void md_port_init() {
    PortState& port = Port();
    if (port.fd >= 0) {
        ioctl(port.fd, TIOCNXCL);
        close(port.fd);
    }
    port.fd = -1;
    port.number = 0;
    port.chunk_pos = port.chunk_left = 0;
    port.watch = false;
    port.carrier_seen = 0;
    port.write_limit_ms = kWriteTimeLimitMs;
}

std::string md_port_device(int number) {
    const std::string key = "COM" + std::to_string(number);
    return platform::GetPrivateProfileString("ports", key, "/dev/ttyS" + std::to_string(number - 1),
                                             "VEXA.INI");
}

int md_open_port() {
    PortState& port = Port();
    md_close_port();
    if (!port.history) {
        port.history.reset(new (std::nothrow) std::array<unsigned char, kHistorySize>{});
        if (!port.history) return Result(kErrOutOfMemory);
    }
    long speed = 2400;
    const std::string speed_text = md_get_var("%LINE_SPEED");
    if (!speed_text.empty()) {
        const char* end = speed_text.data() + speed_text.size();
        const auto [stop, ec] = std::from_chars(speed_text.data(), end, speed);
        if (ec != std::errc() || stop != end) return Result(kErrLineSpeed);
    }
    const int number = PortNumber(md_get_var("%PORT"));
    if (number == 0) return Result(kErrPortOpen);
    const speed_t baud = BaudConstant(speed);
    const int fd = open(md_port_device(number).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Result(kErrPortOpen);
    if (!isatty(fd) || !LockDevice(fd) || ioctl(fd, TIOCEXCL) != 0 || baud == B0 ||
        !Configure(fd, baud, EqualNoCase(md_get_var("%PARITY"), "none"))) {
        ioctl(fd, TIOCNXCL);
        close(fd);
        return Result(kErrPortOpen);
    }
    const bool no_parity = EqualNoCase(md_get_var("%PARITY"), "none");
    port.settings = {speed, no_parity ? 8 : 7, !no_parity};
    port.control_mask = EqualNoCase(md_get_var("%CLINE"), "DSR") ? TIOCM_DSR : TIOCM_CD;
    SetModemLine(fd, TIOCM_DTR | TIOCM_RTS, true);
    tcflush(fd, TCIOFLUSH);
    port.fd = fd;
    port.number = number;
    port.chunk_pos = port.chunk_left = 0;
    port.carrier_seen = 0;
    if (port.side) port.side->DtrChanged(true);
    return Result(0);
}

int md_close_port() {
    PortState& port = Port();
    if (port.fd >= 0) {
        tcflush(port.fd, TCIOFLUSH);
        ioctl(port.fd, TIOCNXCL);
        close(port.fd);
        if (port.side) port.side->DtrChanged(false);
    }
    port.fd = -1;
    port.number = 0;
    port.chunk_pos = port.chunk_left = 0;
    return Result(0);
}

int md_port_read(char* buffer, std::size_t& count) {
    PortState& port = Port();
    const std::size_t wanted = count;
    count = 0;
    if (port.fd < 0) return Result(kErrPortClosed);
    if (port.chunk_left == 0) {
        if (const int failed = FillChunk(); failed != 0) return Result(failed);
    }
    while (count < wanted && port.chunk_left > 0) {
        const unsigned char byte = port.chunk[port.chunk_pos++] & 0x7F;
        --port.chunk_left;
        RecordHistory(byte);
        if (byte == 0 || byte == 127) continue;
        buffer[count++] = static_cast<char>(byte);
        if (byte == '\r') break;
    }
    if (count == 0) {
        if (!md_carrier_present()) return Result(kErrCarrierLost);
        // The caller's handlers may hang up here: the port is then closed
        // and the next read says so.
        platform::ProcessPendingMessages();
    }
    return Result(0);
}

// Three tries in a row that send nothing fail the write; so does the total
// time running out, which a far end that takes a byte now and then (each
// byte starting the count of tries again) or that has stopped the line with
// XOFF would otherwise stretch without end. Every wait is cut to what is left
// of that time.
int md_port_write(std::string_view bytes) {
    PortState& port = Port();
    if (port.fd < 0) return Result(kErrPortClosed);
    if (bytes.empty()) return Result(0);
    platform::Clock& clock = platform::GetClock();
    const std::int64_t deadline = clock.MonotonicMs() + port.write_limit_ms;
    int failures = 0;
    for (;;) {
        const ssize_t n = write(port.fd, bytes.data(), bytes.size());
        const bool queue_full = n < 0 && errno == EAGAIN;
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            if (bytes.empty()) return Result(0);
            failures = 0;
        } else if (++failures >= kTries) {
            return Result(kErrWriteFailed);
        }
        const std::int64_t left = deadline - clock.MonotonicMs();
        if (left <= 0) return Result(kErrWriteFailed);
        if (n > 0)
            md_sleep_us(std::min<std::int64_t>(kRetryPauseMs, left) * 1000);
        else if (queue_full)
            WaitFor(port.fd, PollOut, static_cast<int>(std::min<std::int64_t>(kWriteWaitMs, left)));
    }
}

std::int64_t md_set_write_time_limit(std::int64_t ms) {
    return std::exchange(Port().write_limit_ms, ms);
}

int md_send_line_break() {
    PortState& port = Port();
    if (port.fd < 0) return Result(kErrPortClosed);
    ioctl(port.fd, TIOCSBRK);
    if (port.side) port.side->BreakSent();
    md_sleep_us(kBreakMs * 1000LL);
    ioctl(port.fd, TIOCCBRK);
    return Result(0);
}

int md_drop_dtr() {
    PortState& port = Port();
    if (port.fd < 0) return Result(kErrPortClosed);
    SetModemLine(port.fd, TIOCM_DTR, false);
    if (port.side) port.side->DtrChanged(false);
    md_sleep_us(kDtrDropMs * 1000LL);
    SetModemLine(port.fd, TIOCM_DTR, true);
    if (port.side) port.side->DtrChanged(true);
    return Result(0);
}

void md_port_hangup() {
    md_drop_dtr();
    md_close_port();
    ErrorCell() = 0;
}

int md_carrier_present() {
    PortState& port = Port();
    for (int check = 0; check < kCarrierChecks; ++check) {
        md_sleep_us(kCarrierPauseMs * 1000LL);
        const int bit = port.fd >= 0 ? ModemStatusBit() : port.control_mask;
        if (!port.watch || bit != 0 || port.carrier_seen == 0) {
            port.carrier_seen = bit;
            return 1;
        }
    }
    return 0;
}

void md_set_carrier_watch(bool on) {
    Port().watch = on;
}

int md_ring_get(int n) {
    const PortState& port = Port();
    if (n < 0 || n >= static_cast<int>(kHistorySize)) return -1;
    if (!port.history) return 0;
    return (*port.history)[(port.history_pos + static_cast<std::size_t>(n)) % kHistorySize];
}

void md_sleep_us(long long microseconds) {
    platform::GetClock().Sleep(microseconds / 1000);
}

int md_port_number() {
    return Port().number;
}

LineSettings md_line_settings() {
    return Port().settings;
}

bool md_carrier_is_dsr() {
    return Port().control_mask == TIOCM_DSR;
}

}  // namespace feed
