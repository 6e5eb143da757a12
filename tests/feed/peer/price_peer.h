#pragma once

// A simulated Hayes-style modem with the remote price server behind it, on
// the master side of a pseudo-terminal. The library opens the slave side as
// its serial port (VEXA.INI maps a COM port to it) and talks to the peer as
// it would to a real modem line:
//
//   off line    AT commands with their echo: OK; ATD... gives the dial
//               outcome the test chose (CONNECT, BUSY, NO CARRIER, or
//               nothing at all).
//   log-in      "login: ", "password: ", "system: " prompts; a wrong user
//               or password gives "Login incorrect" and the login prompt.
//   on line     the server side of the block protocol: the greeting, then
//               one answer per request line from the table the test loads
//               (long answers in parts ending "M", each part in blocks),
//               "C" for the next part, the closing EOT block answered with
//               ACK EOT.
//
// A pseudo-terminal has no modem lines: the peer is also the library's side
// channel (carrier, DTR, breaks) and tells it when it has nothing more to
// send, so that time-outs on the test clock stand for real silence.
//
// Faults are injected for the next request line (or the next blocks sent):
// bad CRC, wrong letter, dropped block, a block that never ends, NAK storms,
// a repeated go-ahead, go-aheads without blocks, silence, enquiries without
// an answer, carrier loss, and the server ending the exchange.
//
// The peer runs on a thread of its own; everything it does is bounded in
// time by the test's own limits (every wait of the library on the peer gives
// up after two seconds).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "feed/dialup/serial_port.h"

namespace feedpeer {

// The peer's own CRC and escaping, written apart from the library's so that
// each checks the other.
unsigned PeerCrc(std::string_view text);
std::string PeerEscape(std::string_view text);
std::string PeerUnescape(std::string_view body);

enum class Fault {
    kBadCrc,         // the next blocks go out with a wrong CRC
    kWrongLetter,    // the next blocks go out with the letter after theirs
    kDropBlock,      // the next blocks are not sent at all
    kRunawayBlock,   // the next block is 10,100 characters without its CR
    kNakStorm,       // the next client blocks are answered NAK NAK
    kRepeatGoAhead,  // the next go-ahead after a client block carries the old toggle
    kGoAheadStorm,   // the next request is answered with go-aheads only
    kSilence,        // after the next request nothing more is said
    kEnquiries,      // the next request is answered with enquiries only
    kCarrierLoss,    // the next request drops the carrier
    kServerEnds,     // the next request is answered ACK EOT
};

// How the peer takes what the library sends: all of it as it comes (the
// usual), one byte at a time with a millisecond between bytes (a far end
// much slower than the line), nothing at all (a far end that has stopped
// reading), or all of it as it comes without a word back (a far end that
// lets the line run but no longer listens). All but the usual drop what
// they take unheard.
enum class Drain { kAll, kOneByte, kNone, kUnheard };

class PricePeer : public feed::SerialSideChannel {
public:
    PricePeer();
    ~PricePeer() override;
    PricePeer(const PricePeer&) = delete;
    PricePeer& operator=(const PricePeer&) = delete;

    // The slave side's device name, for the "ports" section of VEXA.INI.
    std::string DevicePath() const { return slave_name_; }

    // Answer lines by request line. An unknown request is refused with
    // "E305 Unknown request".
    void SetAnswers(std::map<std::string, std::vector<std::string>> answers);
    // What the modem says after ATD: "CONNECT 9600", "BUSY", "NO CARRIER", or
    // "" for nothing.
    void SetDialOutcome(std::string outcome);
    void SetLogin(std::string user, std::string password);
    void SetGreeting(std::vector<std::string> lines);
    // The longest answer part (with its end mark) and the longest block body.
    void SetLimits(std::size_t part_limit, std::size_t block_limit);
    // The library runs on the system clock: the far end's pauses are real
    // (a tenth of a second for each silence) instead of counted in the
    // library's silences.
    void SetRealTime(bool real_time);
    // Injects a fault; `count` is the number of blocks (or client blocks) it
    // spoils, where that applies.
    void Inject(Fault fault, int count = 1);
    void SetDrain(Drain drain);

    // Waits until the peer has handled everything sent to it so far.
    void Settle();

    // What the peer saw.
    std::vector<std::string> Commands() const;  // AT commands
    std::vector<std::string> Requests() const;  // request lines (the "C" continuations too)
    std::string LoggedInAs() const;
    std::string System() const;
    int Hangups() const;  // calls ended by DTR
    int Breaks() const;
    int ClientBlocks() const;  // client blocks received, good or bad
    int NaksSent() const;
    bool Closed() const;  // the closing EOT block came
    std::string ClosingReason() const;
    bool OnLine() const;

    // Side channel.
    bool CarrierPresent() override;
    void DtrChanged(bool on) override;
    void BreakSent() override;
    void AwaitSilence() override;

private:
    enum class Mode { kCommand, kLogin, kProtocol, kSilent, kEnquiring, kClosed };
    enum class Input { kIdle, kBlockToggle, kBlockBody, kAckSecond, kAckLetter, kAckCr, kQuery1, kQuery2 };
    enum class SideEvent { kBreak, kDtrDown, kDtrUp, kQuiet, kLater };

    void Run();
    void HandleSide(SideEvent event);
    void Feed(char c);
    void FeedCommand(char c);
    void FeedLogin(char c);
    void FeedProtocol(char c);
    void HandleClientBlock(unsigned char toggle, const std::string& raw);
    void HandleAck(char letter);
    void HandleResync();
    void Answer(const std::string& request);
    void StartPart(const std::string& part);
    void SendBlock(std::size_t index, bool resend, bool after_ack);
    void SendGoAhead(bool after_ack);
    void HangUp();
    void ResetLine();
    void Write(std::string_view bytes);
    // Writes after the library has waited `silences` times for input: the
    // far end taking its time to answer.
    void WriteLater(int silences, std::string bytes);
    bool MasterReadable() const;
    // Nothing of the library's left to handle (under mutex_).
    bool Quiet() const;
    bool Take(Fault fault);

    int master_ = -1;
    int slave_keep_ = -1;  // keeps the slave side open between the library's opens
    int wake_[2] = {-1, -1};
    std::string slave_name_;

    mutable std::mutex mutex_;
    std::condition_variable idle_cv_;
    bool idle_ = false;
    std::deque<SideEvent> events_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> carrier_{false};
    std::thread thread_;

    // Settings (under mutex_).
    std::map<std::string, std::vector<std::string>> answers_;
    std::string dial_outcome_ = "CONNECT 9600";
    std::string user_ = "joe";
    std::string password_ = "secret";
    std::vector<std::string> greeting_ = {"Welcome to the price server"};
    std::size_t part_limit_ = 4000;
    std::size_t block_limit_ = 1000;
    std::map<Fault, int> faults_;
    Drain drain_ = Drain::kAll;

    // Observations (under mutex_).
    std::vector<std::string> commands_;
    std::vector<std::string> requests_;
    std::string logged_in_as_;
    std::string system_;
    int hangups_ = 0;
    int breaks_ = 0;
    int client_blocks_ = 0;
    int naks_ = 0;
    bool closed_ = false;
    std::string closing_reason_;
    int quiet_calls_ = 0;
    struct Delayed {
        int silences;
        std::string bytes;
        std::chrono::steady_clock::time_point due;
    };
    bool real_time_ = false;
    std::deque<Delayed> delayed_;

    // Line state (peer thread only, besides the flags above).
    Mode mode_ = Mode::kCommand;
    std::string line_;
    int login_stage_ = 0;
    std::string typed_user_;
    Input input_ = Input::kIdle;
    unsigned char block_toggle_ = 0;
    std::string block_body_;
    char ack_letter_ = 0;
    unsigned char client_toggle_ = 0x0F;  // the toggle the library expects in a go-ahead
    bool resend_expected_ = false;        // the next client block is one sent again
    bool last_accepted_ = false;          // the last client block was taken
    bool storm_ = false;                  // answering everything with go-aheads
    std::string request_text_;
    std::deque<std::string> parts_;    // answer parts still to send
    std::vector<std::string> blocks_;  // the blocks of the part being sent
    std::vector<char> letters_;        // their letters
    int inflight_ = -1;                // the block last sent
    char next_letter_ = 'A';
};

}  // namespace feedpeer
