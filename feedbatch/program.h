#pragma once

// VEXA32, the data-feed batch program. It runs one data-feed transfer without
// a user: it waits until the time and date set in VEXA.INI (read again every
// second, so a changed setting counts while it waits), connects through
// ol_DataRequest, names its answer file, sends each of its request files,
// hangs up and ends. Its window lists what the data feed and the program
// report, and the same lines go to the log file vexa.log in the home
// directory.
//
// Start → waiting (timer 1 ticking) → connecting (icon 114) → sending (icon
// 113) → hung up (icon 115) → window destroyed → end. A bad setting ends the
// program before it waits or while it waits; a failed connect ends it while
// connecting. It never runs a second transfer, and only one copy runs at a
// time.
//
// The data-feed entry is given to the program (the one ROSPA32 exports, for
// the real program), so tests can load the libraries themselves.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "feedbatch/input_list.h"
#include "feedbatch/single_instance.h"

namespace feedbatch {

class BatchWindow;

using DataRequestEntry = int (*)(std::uintptr_t caller_window, const char* request, char* options);

inline constexpr const char* kClassTitle = "ORLIN 32";
inline constexpr unsigned kRunTimer = 1;
inline constexpr unsigned kRunTimerMs = 1000;
inline constexpr int kAboutItem = 101;

// The icons of the line's state.
inline constexpr int kIconNotConnected = 113;
inline constexpr int kIconDialling = 114;
inline constexpr int kIconConnected = 115;

// Channels of the records the program lists.
inline constexpr int kChannelError = 1;
inline constexpr int kChannelStatus = 3;
inline constexpr int kChannelReceiveTrace = 5;
inline constexpr int kChannelSendTrace = 6;

// Exit codes of the program, for the scheduler that started it.
inline constexpr int kExitTransferred = 0;  // every request file was sent and answered
inline constexpr int kExitRefused = 1;      // the start refused to run (a copy running, a setting)
inline constexpr int kExitIncomplete = 2;   // the transfer did not happen or did not finish

// The show state of the command-line argument: "1" hidden, "2" minimised,
// "3" maximised, "4" minimised without activation, anything else the usual.
int ShowCommandOf(std::string_view argument);

class BatchProgram {
public:
    explicit BatchProgram(DataRequestEntry entry);
    ~BatchProgram();
    BatchProgram(const BatchProgram&) = delete;
    BatchProgram& operator=(const BatchProgram&) = delete;

    // The start, up to the message loop. True when the program now waits
    // for its timer; false when it has ended already (a copy is running
    // already, or a setting, the log file or the timer failed).
    bool Start(std::string_view show_argument);
    // Runs the window's messages until the program ends; the exit code.
    int RunMessageLoop();

    bool Ended() const { return ended_; }
    // kExitTransferred only when every request file was sent and its
    // answers written; kExitRefused for a start that failed; otherwise
    // (a bad time or date, a failed connect, a request file that failed, a
    // close before the end) kExitIncomplete.
    int ExitCode() const { return exit_code_; }
    // Why the start refused to run, for standard error (a copy running
    // already, the setting, request file, log file or timer that failed,
    // and the unreadable VEXA.INI behind a missing setting), or empty.
    const std::string& Refusal() const { return refusal_; }
    // Why a run ended without its transfer (kExitIncomplete), for standard
    // error: the bad time or date, a close through the window, or the last
    // error the data feed listed; empty for any other end.
    std::string FailureReason() const;

    // Each tick of timer 1: when the set time has come, the whole transfer.
    void batch_run();
    // Mode 1 checks every request file (1 when all are usable); mode 0 makes
    // the next name current (1) or tells the end of the list (0).
    int batch_next_input(int mode);
    // 1 when the transfer is due; 0 when not, and when a bad setting has
    // just ended the program.
    int batch_wait_due();
    // Shows the line's state as the window's icon.
    void batch_set_icon(int icon);

    // What reaches the window: a data-feed record or one of the program's
    // own texts; a close request; a system-menu item; its destruction.
    void OnRecord(int channel, std::string_view text);
    void OnCloseRequest();
    void OnSysCommand(int id);
    void OnWindowDestroyed();

    BatchWindow* Window() const { return window_.get(); }
    const std::string& Title() const { return title_; }
    const std::string& CurrentInput() const { return current_input_; }
    std::vector<std::string> ListLines() const;
    // The icons shown, in order.
    const std::vector<int>& Icons() const { return icons_; }

private:
    void List(int channel, std::string_view text);
    // Opens (or makes) vexa.log; empty, or the text of the failure.
    std::string OpenLogFile();
    void CloseLogFile();
    int Request(std::string_view options);
    // Deletes the answer file and lists what became of it.
    void DeleteOutputFile(bool file_must_go);
    void EndProgram();
    // Ends a start that refused to run; `reason` is its one line for
    // standard error.
    void FailStart(std::string_view reason);
    // Lists `text` as an error and ends the start with it as the reason.
    void Refuse(std::string_view text);
    void SystemClose();

    DataRequestEntry entry_;
    SingleInstanceLock lock_;
    std::unique_ptr<BatchWindow> window_;
    std::string title_;
    std::string home_dir_;
    std::FILE* log_ = nullptr;
    std::string input_setting_;
    std::string output_file_;
    InputList inputs_;
    std::string current_input_;
    bool running_ = false;
    bool connecting_ = false;
    bool debug_ = false;
    long long last_sum_ = 0;
    std::vector<int> icons_;
    bool ended_ = false;
    int exit_code_ = kExitIncomplete;
    std::string refusal_;
    // The start's last listed line, and whether VEXA.INI could be read.
    std::string last_line_;
    // The last error listed, and the bad wait setting that ended the run.
    std::string last_error_;
    std::string wait_error_;
    bool closed_ = false;  // closed through the window or its system menu
    bool settings_readable_ = true;
};

// The program: the start, then the message loop until the transfer (or a
// bad setting) ends it. Needs the application object.
int batch_win_main(std::string_view show_argument, DataRequestEntry entry);

}  // namespace feedbatch
