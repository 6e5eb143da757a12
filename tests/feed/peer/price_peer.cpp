#include "tests/feed/peer/price_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace feedpeer {
namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kEot = 0x04;
constexpr char kEnq = 0x05;
constexpr char kAck = 0x06;
constexpr char kDle = 0x10;
constexpr char kNak = 0x15;
constexpr char kCr = 0x0D;
constexpr std::size_t kRunawayLength = 10100;
constexpr std::size_t kLineLimit = 200;
constexpr std::size_t kBodyLimit = 30000;
// An enquiry every so many silences of the library: about every 30 seconds
// of its clock, inside any turnaround time.
constexpr int kEnquiryEvery = 100;
constexpr auto kSilenceWaitLimit = std::chrono::seconds(2);
constexpr auto kOneBytePause = std::chrono::milliseconds(1);

bool Transportable(unsigned char c) {
    return (c >= 1 && c <= 126) || (c >= 160 && c <= 254);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

char NextLetter(char letter) {
    return letter == 'Z' ? 'A' : static_cast<char>(letter + 1);
}

// Answer text in parts of at most `limit` characters with their end marks:
// whole lines where they fit, a line longer than a part cut.
std::deque<std::string> SplitParts(const std::vector<std::string>& lines, std::size_t limit) {
    const std::size_t room = limit > 3 ? limit - 3 : 1;  // "\r\nM" or "\r\nE"
    std::deque<std::string> parts;
    std::string part;
    for (std::string line : lines) {
        while (!line.empty() || part.empty()) {
            const std::size_t need = (part.empty() ? 0 : 2) + line.size();
            if (part.size() + need <= room) {
                if (!part.empty()) part += "\r\n";
                part += line;
                line.clear();
                break;
            }
            if (!part.empty()) {
                parts.push_back(part + "\r\nM");
                part.clear();
                continue;
            }
            part = line.substr(0, room);
            line.erase(0, room);
            parts.push_back(part + "\r\nM");
            part.clear();
            if (line.empty()) break;
        }
    }
    parts.push_back(part + "\r\nE");
    return parts;
}

}  // namespace

unsigned PeerCrc(std::string_view text) {
    unsigned crc = 0xFFFF;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 127 && c <= 159) continue;
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

std::string PeerEscape(std::string_view text) {
    std::string body;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 32 && c <= 126) {
            body += ch;
        } else if (c >= 1 && c <= 31) {
            body += kStx;
            body += static_cast<char>(c + 32);
        } else if (c >= 160 && c <= 254) {
            body += char{0x01};
            body += static_cast<char>(c & 0x7F);
        }
    }
    return body;
}

std::string PeerUnescape(std::string_view body) {
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == kStx && i + 1 < body.size())
            text += static_cast<char>(body[++i] - 32);
        else if (c == 0x01 && i + 1 < body.size())
            text += static_cast<char>(static_cast<unsigned char>(body[++i]) | 0x80);
        else
            text += c;
    }
    return text;
}

PricePeer::PricePeer() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slave_name_ = ptsname(master_);
    slave_keep_ = open(slave_name_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_keep_ < 0) throw std::runtime_error("cannot open " + slave_name_);
    termios tio{};
    tcgetattr(slave_keep_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_keep_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("no pipe");
    thread_ = std::thread([this] { Run(); });
}

PricePeer::~PricePeer() {
    stop_ = true;
    const char c = 0;
    (void)!write(wake_[1], &c, 1);
    thread_.join();
    close(wake_[0]);
    close(wake_[1]);
    close(slave_keep_);
    close(master_);
}

void PricePeer::SetAnswers(std::map<std::string, std::vector<std::string>> answers) {
    std::lock_guard lock(mutex_);
    answers_ = std::move(answers);
}

void PricePeer::SetDialOutcome(std::string outcome) {
    std::lock_guard lock(mutex_);
    dial_outcome_ = std::move(outcome);
}

void PricePeer::SetLogin(std::string user, std::string password) {
    std::lock_guard lock(mutex_);
    user_ = std::move(user);
    password_ = std::move(password);
}

void PricePeer::SetGreeting(std::vector<std::string> lines) {
    std::lock_guard lock(mutex_);
    greeting_ = std::move(lines);
}

void PricePeer::SetLimits(std::size_t part_limit, std::size_t block_limit) {
    std::lock_guard lock(mutex_);
    part_limit_ = part_limit;
    block_limit_ = block_limit;
}

void PricePeer::SetDrain(Drain drain) {
    std::lock_guard lock(mutex_);
    drain_ = drain;
}

void PricePeer::Inject(Fault fault, int count) {
    std::lock_guard lock(mutex_);
    faults_[fault] += count;
}

std::vector<std::string> PricePeer::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}
std::vector<std::string> PricePeer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}
std::string PricePeer::LoggedInAs() const {
    std::lock_guard lock(mutex_);
    return logged_in_as_;
}
std::string PricePeer::System() const {
    std::lock_guard lock(mutex_);
    return system_;
}
int PricePeer::Hangups() const {
    std::lock_guard lock(mutex_);
    return hangups_;
}
int PricePeer::Breaks() const {
    std::lock_guard lock(mutex_);
    return breaks_;
}
int PricePeer::ClientBlocks() const {
    std::lock_guard lock(mutex_);
    return client_blocks_;
}
int PricePeer::NaksSent() const {
    std::lock_guard lock(mutex_);
    return naks_;
}
bool PricePeer::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}
std::string PricePeer::ClosingReason() const {
    std::lock_guard lock(mutex_);
    return closing_reason_;
}
bool PricePeer::OnLine() const {
    return carrier_;
}

bool PricePeer::CarrierPresent() {
    return carrier_;
}

void PricePeer::DtrChanged(bool on) {
    std::lock_guard lock(mutex_);
    events_.push_back(on ? SideEvent::kDtrUp : SideEvent::kDtrDown);
    const char c = 0;
    (void)!write(wake_[1], &c, 1);
}

void PricePeer::BreakSent() {
    std::lock_guard lock(mutex_);
    events_.push_back(SideEvent::kBreak);
    const char c = 0;
    (void)!write(wake_[1], &c, 1);
}

void PricePeer::AwaitSilence() {
    std::unique_lock lock(mutex_);
    const char c = 0;
    if (++quiet_calls_ % kEnquiryEvery == 0) {
        events_.push_back(SideEvent::kQuiet);
        (void)!write(wake_[1], &c, 1);
    }
    if (!delayed_.empty() && --delayed_.front().silences <= 0) {
        events_.push_back(SideEvent::kLater);
        (void)!write(wake_[1], &c, 1);
    }
    idle_cv_.wait_for(lock, kSilenceWaitLimit, [&] { return Quiet(); });
}

void PricePeer::Settle() {
    std::unique_lock lock(mutex_);
    idle_cv_.wait_for(lock, kSilenceWaitLimit, [&] { return Quiet(); });
}

// A far end that does not listen has nothing to say (and a slow one never
// catches up with the line): only the side events count then.
bool PricePeer::Quiet() const {
    if (drain_ != Drain::kAll) return events_.empty();
    return idle_ && events_.empty() && !MasterReadable();
}

bool PricePeer::MasterReadable() const {
    pollfd p{master_, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

bool PricePeer::Take(Fault fault) {
    std::lock_guard lock(mutex_);
    auto it = faults_.find(fault);
    if (it == faults_.end() || it->second <= 0) return false;
    --it->second;
    return true;
}

void PricePeer::Run() {
    char buffer[4096];
    while (!stop_) {
        std::optional<SideEvent> event;
        {
            std::lock_guard lock(mutex_);
            if (!events_.empty()) {
                event = events_.front();
                events_.pop_front();
            }
        }
        if (event) {
            HandleSide(*event);
            continue;
        }
        Drain mode;
        {
            std::lock_guard lock(mutex_);
            mode = drain_;
        }
        if (mode == Drain::kOneByte) {
            if (read(master_, buffer, 1) == 1) {
                std::this_thread::sleep_for(kOneBytePause);
                continue;
            }
        } else if (mode == Drain::kAll || mode == Drain::kUnheard) {
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0) {
                if (mode == Drain::kAll)
                    for (ssize_t i = 0; i < n; ++i) Feed(buffer[i]);
                continue;
            }
        }
        {
            std::lock_guard lock(mutex_);
            if (real_time_ && !delayed_.empty() && delayed_.front().due <= std::chrono::steady_clock::now())
                events_.push_back(SideEvent::kLater);
            if (!events_.empty()) continue;
            idle_ = true;
        }
        idle_cv_.notify_all();
        // A peer that reads nothing waits only for its side events.
        pollfd fds[2] = {{mode == Drain::kNone ? -1 : master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        poll(fds, 2, 20);
        {
            std::lock_guard lock(mutex_);
            idle_ = false;
        }
        char drain[64];
        while (read(wake_[0], drain, sizeof drain) > 0) {
        }
    }
}

void PricePeer::Write(std::string_view bytes) {
    while (!bytes.empty() && !stop_) {
        const ssize_t n = write(master_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 50);
    }
}

void PricePeer::WriteLater(int silences, std::string bytes) {
    std::lock_guard lock(mutex_);
    delayed_.push_back({silences, std::move(bytes),
                        std::chrono::steady_clock::now() + silences * std::chrono::milliseconds(100)});
}

void PricePeer::SetRealTime(bool real_time) {
    std::lock_guard lock(mutex_);
    real_time_ = real_time;
}

void PricePeer::HandleSide(SideEvent event) {
    switch (event) {
        case SideEvent::kBreak: {
            std::lock_guard lock(mutex_);
            ++breaks_;
        }
            HandleResync();
            break;
        case SideEvent::kDtrDown:
            if (carrier_ || mode_ != Mode::kCommand) HangUp();
            break;
        case SideEvent::kDtrUp:
            break;
        case SideEvent::kQuiet:
            if (mode_ == Mode::kEnquiring) Write(std::string(1, kEnq));
            break;
        case SideEvent::kLater: {
            std::string bytes;
            {
                std::lock_guard lock(mutex_);
                if (delayed_.empty()) break;
                bytes = std::move(delayed_.front().bytes);
                delayed_.pop_front();
            }
            Write(bytes);
            break;
        }
    }
}

void PricePeer::HangUp() {
    carrier_ = false;
    {
        std::lock_guard lock(mutex_);
        ++hangups_;
        delayed_.clear();
    }
    mode_ = Mode::kCommand;
    line_.clear();
    ResetLine();
}

void PricePeer::ResetLine() {
    input_ = Input::kIdle;
    block_body_.clear();
    client_toggle_ = 0x0F;
    resend_expected_ = false;
    last_accepted_ = false;
    request_text_.clear();
    parts_.clear();
    blocks_.clear();
    letters_.clear();
    inflight_ = -1;
    next_letter_ = 'A';
    storm_ = false;
}

void PricePeer::Feed(char c) {
    switch (mode_) {
        case Mode::kCommand:
            return FeedCommand(c);
        case Mode::kLogin:
            return FeedLogin(c);
        case Mode::kProtocol:
            return FeedProtocol(c);
        default:
            return;  // silent, enquiring or closed: the server hears nothing
    }
}

void PricePeer::FeedCommand(char c) {
    if (c == 0x11 || c == 0x13) return;
    Write(std::string(1, c));  // the modem echoes what it is sent
    if (c == '\n') return;
    if (c != kCr) {
        if (line_.size() < kLineLimit) line_ += c;
        return;
    }
    const std::string command = Upper(line_);
    line_.clear();
    if (command.rfind("AT", 0) != 0) return;
    std::string outcome;
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
        outcome = dial_outcome_;
    }
    if (command.rfind("ATD", 0) == 0) {
        if (outcome.empty()) return;
        Write("\r\n" + outcome + "\r\n");
        if (outcome.rfind("CONNECT", 0) == 0) {
            carrier_ = true;
            mode_ = Mode::kLogin;
            login_stage_ = 0;
            // The host takes a second to greet the caller.
            WriteLater(3, "\r\nPelnet\r\nlogin: ");
        }
        return;
    }
    Write("\r\nOK\r\n");
}

void PricePeer::FeedLogin(char c) {
    if (c == '\n' || c == 0x11 || c == 0x13) return;
    if (c != kCr) {
        if (line_.size() < kLineLimit) line_ += c;
        return;
    }
    const std::string text = line_;
    line_.clear();
    if (login_stage_ == 0) {
        typed_user_ = text;
        Write("\r\npassword: ");
        login_stage_ = 1;
        return;
    }
    if (login_stage_ == 1) {
        bool good = false;
        {
            std::lock_guard lock(mutex_);
            good = typed_user_ == user_ && text == password_;
            if (good) logged_in_as_ = typed_user_;
        }
        if (good) {
            Write("\r\nsystem: ");
            login_stage_ = 2;
        } else {
            Write("\r\nLogin incorrect\r\nlogin: ");
            login_stage_ = 0;
        }
        return;
    }
    std::vector<std::string> greeting;
    std::size_t part_limit = 0;
    {
        std::lock_guard lock(mutex_);
        system_ = text;
        greeting = greeting_;
        part_limit = part_limit_;
    }
    Write("\r\nStarting " + text + "\r\n");
    mode_ = Mode::kProtocol;
    ResetLine();
    parts_ = SplitParts(greeting, part_limit);
    const std::string first = parts_.front();
    parts_.pop_front();
    StartPart(first);
}

void PricePeer::FeedProtocol(char c) {
    switch (input_) {
        case Input::kIdle:
            if (c == kStx)
                input_ = Input::kBlockToggle;
            else if (c == kAck)
                input_ = Input::kAckSecond;
            else if (c == '?')
                input_ = Input::kQuery1;
            break;
        case Input::kBlockToggle:
            block_toggle_ = static_cast<unsigned char>(c);
            block_body_.clear();
            input_ = Input::kBlockBody;
            break;
        case Input::kBlockBody:
            if (c == kCr) {
                input_ = Input::kIdle;
                HandleClientBlock(block_toggle_, block_body_);
            } else if (block_body_.size() < kBodyLimit) {
                block_body_ += c;
            }
            break;
        case Input::kAckSecond:
            input_ = c == kAck ? Input::kAckLetter : Input::kIdle;
            break;
        case Input::kAckLetter:
            ack_letter_ = c;
            input_ = Input::kAckCr;
            break;
        case Input::kAckCr:
            input_ = Input::kIdle;
            if (c == kCr) HandleAck(ack_letter_);
            break;
        case Input::kQuery1:
            input_ = c == '?' ? Input::kQuery2 : Input::kIdle;
            break;
        case Input::kQuery2:
            input_ = Input::kIdle;
            if (c == kCr) HandleResync();
            break;
    }
}

void PricePeer::HandleClientBlock(unsigned char toggle, const std::string& raw) {
    (void)toggle;  // the toggle of a resent block need not be its first one's
    {
        std::lock_guard lock(mutex_);
        ++client_blocks_;
    }
    // The library expects go-aheads with the other toggle after each new
    // block it sends; a block sent again (after a NAK or a repeated
    // go-ahead) changes nothing. Go-aheads without blocks leave it as well.
    const bool again = resend_expected_ || storm_;
    resend_expected_ = false;
    if (!again) client_toggle_ = static_cast<unsigned char>(29 - client_toggle_);
    bool good = raw.size() >= 4;
    std::string text;
    bool more = false;
    if (good) {
        const std::string digits = raw.substr(raw.size() - 4);
        char* end = nullptr;
        const unsigned stated = static_cast<unsigned>(std::strtoul(digits.c_str(), &end, 16));
        good = end == digits.c_str() + 4;
        const std::string body = raw.substr(0, raw.size() - 4);
        more = !body.empty() && body.back() == kEtx;
        text = PeerUnescape(body);
        good = good && PeerCrc(text) == stated;
        if (more) text.pop_back();
    }
    if (good && Take(Fault::kNakStorm)) good = false;
    if (!good) {
        {
            std::lock_guard lock(mutex_);
            ++naks_;
        }
        resend_expected_ = true;
        last_accepted_ = false;
        Write(std::string{kNak, kNak});
        return;
    }
    if (storm_) {
        SendGoAhead(false);
        return;
    }
    if (again && last_accepted_) {
        // Taken before: answer again without taking it twice.
        if (more || inflight_ < 0)
            SendGoAhead(false);
        else
            SendBlock(static_cast<std::size_t>(inflight_), true, false);
        return;
    }
    last_accepted_ = true;
    request_text_ += text;
    if (more) {
        if (Take(Fault::kRepeatGoAhead)) {
            resend_expected_ = true;
            Write(std::string{kAck, static_cast<char>(29 - client_toggle_)});
        } else {
            SendGoAhead(false);
        }
        return;
    }
    const std::string request = std::move(request_text_);
    request_text_.clear();
    if (!request.empty() && request[0] == kEot) {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
            closing_reason_ = request.substr(1);
        }
        Write(std::string{kAck, kEot});
        mode_ = Mode::kClosed;
        return;
    }
    Answer(request);
}

void PricePeer::Answer(const std::string& request) {
    std::vector<std::string> lines = {"E305 Unknown request"};
    std::size_t part_limit = 0;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (auto it = answers_.find(request); it != answers_.end()) lines = it->second;
        part_limit = part_limit_;
    }
    if (request == "C") {
        if (parts_.empty()) return SendGoAhead(false);
        const std::string part = parts_.front();
        parts_.pop_front();
        return StartPart(part);
    }
    if (Take(Fault::kCarrierLoss)) {
        carrier_ = false;
        Write("\r\nNO CARRIER\r\n");
        mode_ = Mode::kCommand;
        return;
    }
    if (Take(Fault::kSilence)) {
        mode_ = Mode::kSilent;
        return;
    }
    if (Take(Fault::kEnquiries)) {
        mode_ = Mode::kEnquiring;
        return;
    }
    if (Take(Fault::kServerEnds)) {
        Write(std::string{kAck, kEot});
        mode_ = Mode::kClosed;
        return;
    }
    if (Take(Fault::kGoAheadStorm)) {
        storm_ = true;
        return SendGoAhead(false);
    }
    parts_ = SplitParts(lines, part_limit);
    const std::string first = parts_.front();
    parts_.pop_front();
    StartPart(first);
}

void PricePeer::StartPart(const std::string& part) {
    std::size_t block_limit = 0;
    {
        std::lock_guard lock(mutex_);
        block_limit = block_limit_;
    }
    blocks_.clear();
    for (std::size_t pos = 0; pos < part.size(); pos += block_limit)
        blocks_.push_back(part.substr(pos, block_limit));
    letters_.assign(blocks_.size(), 0);
    inflight_ = -1;
    SendBlock(0, false, false);
}

void PricePeer::SendBlock(std::size_t index, bool resend, bool after_ack) {
    if (!resend) {
        letters_[index] = next_letter_;
        next_letter_ = NextLetter(next_letter_);
    }
    inflight_ = static_cast<int>(index);
    const bool more = index + 1 < blocks_.size();
    std::string plain;
    for (const char c : blocks_[index])
        if (Transportable(static_cast<unsigned char>(c))) plain += c;
    std::string body = PeerEscape(plain);
    if (more) {
        plain += kEtx;
        body += kEtx;
    }
    unsigned crc = PeerCrc(plain);
    char letter = letters_[index];
    const std::string lead = after_ack ? std::string(1, kDle) : std::string();
    if (Take(Fault::kDropBlock)) return;
    if (Take(Fault::kRunawayBlock)) {
        Write(lead + kStx + letter + std::string(kRunawayLength, 'x'));
        return;
    }
    if (Take(Fault::kWrongLetter)) letter = NextLetter(letter);
    if (Take(Fault::kBadCrc)) crc ^= 0x1111;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", crc & 0xFFFF);
    Write(lead + kStx + letter + body + digits + kCr);
    SendGoAhead(false);
}

void PricePeer::SendGoAhead(bool after_ack) {
    std::string bytes;
    if (after_ack) bytes += kDle;
    bytes += kAck;
    bytes += static_cast<char>(client_toggle_);
    Write(bytes);
}

void PricePeer::HandleAck(char letter) {
    if (storm_) return SendGoAhead(true);
    if (inflight_ >= 0 && letter == letters_[static_cast<std::size_t>(inflight_)])
        return SendBlock(static_cast<std::size_t>(inflight_), true, true);
    if (inflight_ >= 0 && static_cast<std::size_t>(inflight_) + 1 < blocks_.size() && letter == next_letter_)
        return SendBlock(static_cast<std::size_t>(inflight_) + 1, false, true);
    SendGoAhead(true);
}

void PricePeer::HandleResync() {
    if (mode_ != Mode::kProtocol) return;
    SendGoAhead(false);
}

}  // namespace feedpeer
