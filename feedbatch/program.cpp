#include "feedbatch/program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <filesystem>

#include "feedbatch/about_dialog.h"
#include "feedbatch/batch_window.h"
#include "feedbatch/settings.h"
#include "feedbatch/text_format.h"
#include "feedbatch/wait_check.h"
#include "platform/clock.h"
#include "platform/constants.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/timer.h"

namespace feedbatch {
namespace {

using platform::MB_DEFBUTTON2;
using platform::MB_ICONEXCLAMATION;
using platform::MB_ICONSTOP;
using platform::MB_OK;
using platform::MB_OKCANCEL;

constexpr const char* kCloseWarning =
    "Terminating program in this manner is not recommended. Click CANCEL to close through the system menu "
    "or OK to continue closing.";
// Request files longer than this are refused before the transfer.
constexpr long long kInputFileLimit = 65000;

platform::Picture PictureOf(int icon) {
    switch (icon) {
        case kIconDialling:
            return platform::Picture::LineDialling;
        case kIconConnected:
            return platform::Picture::LineUp;
        default:
            return platform::Picture::LineDown;
    }
}

}  // namespace

int ShowCommandOf(std::string_view argument) {
    if (argument == "1") return platform::SW_HIDE;
    if (argument == "2") return platform::SW_SHOWMINIMIZED;
    if (argument == "3") return platform::SW_SHOWMAXIMIZED;
    if (argument == "4") return platform::SW_SHOWMINNOACTIVE;
    return platform::SW_SHOW;
}

BatchProgram::BatchProgram(DataRequestEntry entry) : entry_(entry) {}

BatchProgram::~BatchProgram() {
    window_.reset();
    CloseLogFile();
}

bool BatchProgram::Start(std::string_view show_argument) {
    const int show_command = ShowCommandOf(show_argument);

    // A second copy would run a second transfer on the same line and write
    // over the first one's answer and log files.
    if (!lock_.Acquire(BatchLockPath())) {
        refusal_ = lock_.Error();
        ended_ = true;
        exit_code_ = kExitRefused;
        return false;
    }
    // Without its settings the program can only say so in a log in the
    // current directory, which whoever started it may never look at.
    settings_readable_ = ::access(platform::ProfilePath(kProfileFile).c_str(), R_OK) == 0;

    window_ = std::make_unique<BatchWindow>(*this);
    if (!window_->Make(kClassTitle)) {
        FailStart("the window could not be made");
        return false;
    }
    window_->SetIcon(PictureOf(kIconNotConnected));

    home_dir_ = ReadSetting("config", "home_dir", "");
    const std::string call_type =
        platform::GetPrivateProfileString("app", "call type", "", HomeFile(home_dir_, "qordata.par"));
    title_ = std::string(kClassTitle) + TitleSuffix(call_type.substr(0, kValueLimit));
    window_->SetWindowText(title_);

    if (IsYes(ReadSetting("files", "logfile", "Y"))) {
        if (const std::string failure = OpenLogFile(); !failure.empty()) {
            FailStart(failure);
            return false;
        }
    }

    debug_ = IsYes(ReadSetting("app", "debug", ""));

    input_setting_ = ReadSetting("files", "inputfile", "");
    if (input_setting_.empty()) {
        Refuse("No input file specified in VEXA.INI");
        return false;
    }
    inputs_ = InputList(input_setting_);
    if (!batch_next_input(1)) {
        FailStart(last_line_);  // the request file it could not use
        return false;
    }

    output_file_ = ReadSetting("files", "outputfile", "");
    if (output_file_.empty()) {
        Refuse("No output file specified in VEXA.INI");
        return false;
    }

    if (platform::SetTimer(window_->GetSafeHwnd(), kRunTimer, kRunTimerMs,
                           [this](platform::WindowHandle, unsigned) { batch_run(); }) == 0) {
        constexpr std::string_view kNoTimer = "Too many clocks or timers";
        platform::MessageBox(kNoTimer, title_, MB_OK | MB_ICONEXCLAMATION, window_->GetSafeHwnd());
        FailStart(kNoTimer);
        return false;
    }

    window_->AppendSystemMenu(platform::Separator());
    window_->AppendSystemMenu(platform::Command(kAboutItem, "About ORLIN ..."));
    window_->ShowWindow(show_command);
    return true;
}

int BatchProgram::RunMessageLoop() {
    while (!ended_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return exit_code_;
}

std::string BatchProgram::OpenLogFile() {
    const std::string path = HomeFile(home_dir_, "vexa.log");
    if (ReadSettingInt("files", "appendlog", 0) == 0 && ::unlink(path.c_str()) == 0)
        List(kChannelStatus, Printf("Deleted log file: %s", path.c_str()));
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        created = true;
    }
    if (fd >= 0) log_ = ::fdopen(fd, "ab");
    if (!log_) {
        if (fd >= 0) ::close(fd);
        const std::string failure = Printf("Cannot open log file: %s", path.c_str());
        platform::MessageBox(failure, title_, MB_OK | MB_ICONEXCLAMATION);
        return failure;
    }
    List(kChannelStatus, Printf(created ? "Log file created: %s" : "Log file accessed: %s", path.c_str()));
    return {};
}

void BatchProgram::CloseLogFile() {
    if (log_) std::fclose(log_);
    log_ = nullptr;
}

int BatchProgram::batch_next_input(int mode) {
    if (mode == 0) {
        const std::optional<std::string> name = inputs_.Next();
        if (!name) return 0;
        current_input_ = *name;
        return 1;
    }
    inputs_.Rewind();
    int result = 1;
    while (const std::optional<std::string> name = inputs_.Next()) {
        const int fd = ::open(HostPath(*name).c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            if (fd >= 0) ::close(fd);
            List(kChannelError, Printf("Unable to access input file: %s", name->c_str()));
            result = 0;
            break;
        }
        ::close(fd);
        if (info.st_size > kInputFileLimit) {
            List(kChannelError, Printf("Input file to large: %s", name->c_str()));
            result = 0;
            break;
        }
        List(kChannelError, Printf("Input file accessed: %s", name->c_str()));
    }
    // The transfer walks the list from its beginning.
    inputs_.Rewind();
    return result;
}

int BatchProgram::batch_wait_due() {
    const std::string use_timer = ReadSetting("app", "usetimer", "N", 4);
    if (use_timer.empty()) platform::WritePrivateProfileString("app", "usetimer", "No", kProfileFile);
    if (!IsYes(use_timer)) return 1;

    const std::string joined =
        JoinWaitSetting(ReadSetting("app", "waittime", ""), ReadSetting("app", "waitdate", ""));
    const WaitSetting setting = ParseWaitSetting(joined);
    if (!setting.error.empty()) {
        if (window_) platform::KillTimer(window_->GetSafeHwnd(), kRunTimer);
        List(kChannelStatus, setting.error);
        wait_error_ = setting.error;
        EndProgram();
        return 0;
    }

    const std::tm now = platform::LocalTime(platform::GetClock().Now());
    if (setting.sum != last_sum_) {
        const WaitTarget& t = setting.target;
        List(kChannelStatus, Printf("Current Time: %d:%02d on %d/%02d/%02d", now.tm_hour, now.tm_min,
                                    now.tm_year + 1900, now.tm_mon + 1, now.tm_mday));
        List(kChannelStatus,
             Printf("Waiting Till: %d:%02d on %d/%02d/%02d", t.hour, t.minute, t.year, t.month, t.day));
        last_sum_ = setting.sum;
    }
    return TargetReached(setting.target, now) ? 1 : 0;
}

void BatchProgram::batch_run() {
    if (running_ || !batch_wait_due()) return;
    if (window_) platform::KillTimer(window_->GetSafeHwnd(), kRunTimer);
    running_ = true;
    connecting_ = true;
    batch_set_icon(kIconDialling);
    if (Request("CONNECT,STATUS,DEBUG,NOICON") == 0) {
        batch_set_icon(kIconConnected);
        EndProgram();
        return;
    }
    connecting_ = false;
    batch_set_icon(kIconNotConnected);

    if (ReadSettingInt("files", "appendoutput", 0) == 0) DeleteOutputFile(false);
    // An answer file that cannot be opened would lose the answers: the
    // transfer does not count as done (the library refuses the request
    // files after it as well).
    bool complete = Request("OUTPUT=" + output_file_) != 0;
    while (batch_next_input(0)) {
        if (Request("INPUT=" + current_input_) == 0) {
            // No partial answers stay behind, and the later files are not sent.
            DeleteOutputFile(true);
            complete = false;
            break;
        }
    }
    Request("HANGUP");
    batch_set_icon(kIconConnected);
    if (complete) exit_code_ = kExitTransferred;
    EndProgram();
}

void BatchProgram::DeleteOutputFile(bool missing_counts_as_deleted) {
    const std::string path = HostPath(output_file_);
    bool deleted = ::unlink(path.c_str()) == 0;
    // After a failed request file the point is that no partial answers
    // remain: a file that is not there is as good as deleted, but one that
    // could not be removed must not be reported as gone.
    if (!deleted && missing_counts_as_deleted) {
        std::error_code error;
        deleted = !std::filesystem::exists(path, error) && !error;
    }
    List(kChannelStatus, Printf(deleted ? "Deleted output file: %s" : "Unable to delete output file: %s",
                                output_file_.c_str()));
}

void BatchProgram::batch_set_icon(int icon) {
    icons_.push_back(icon);
    if (!window_ || !window_->IsWindow()) return;
    window_->SetIcon(PictureOf(icon));
    // A minimised window shows its new icon only when shown again.
    if (QWidget* widget = window_->GetWidget(); widget && widget->isVisible() && widget->isMinimized()) {
        window_->ShowWindow(platform::SW_HIDE);
        window_->ShowWindow(platform::SW_SHOWMINNOACTIVE);
    }
}

int BatchProgram::Request(std::string_view options) {
    // The library upper-cases the option text in place.
    std::vector<char> text(options.begin(), options.end());
    text.push_back('\0');
    const platform::WindowHandle caller = window_ ? window_->GetSafeHwnd() : 0;
    return entry_(caller, "", text.data());
}

void BatchProgram::OnRecord(int channel, std::string_view text) {
    // The program's own lines on the error channel ("Input file accessed")
    // tell no failure; the data feed's errors do.
    if (channel == kChannelError) last_error_ = text;
    List(channel, text);
}

void BatchProgram::List(int channel, std::string_view text) {
    const bool trace = channel == kChannelReceiveTrace || channel == kChannelSendTrace;
    if (trace && !connecting_ && !debug_) return;
    if (channel != kChannelError && channel != kChannelStatus && !trace) return;
    last_line_ = text;
    if (window_) window_->AppendLine(text);
    if (log_) {
        std::fwrite(text.data(), 1, text.size(), log_);
        std::fwrite("\r\n", 1, 2, log_);
        std::fflush(log_);
    }
}

void BatchProgram::OnCloseRequest() {
    const int answer = platform::MessageBox(kCloseWarning, title_, MB_OKCANCEL | MB_ICONSTOP | MB_DEFBUTTON2);
    if (answer != platform::IDOK) return;
    SystemClose();
    EndProgram();
}

void BatchProgram::OnSysCommand(int id) {
    if (id == kAboutItem) {
        BatchAboutDialog(window_.get()).DoModal();
    } else if (id == platform::SC_CLOSE) {
        SystemClose();
    }
}

// Before the transfer has started the program just ends; during it the
// running transfer is told to hang up, and ends the program when it has.
void BatchProgram::SystemClose() {
    closed_ = true;
    if (window_ && platform::KillTimer(window_->GetSafeHwnd(), kRunTimer)) {
        EndProgram();
        return;
    }
    Request("HANGUP");
}

void BatchProgram::OnWindowDestroyed() {
    ended_ = true;
}

void BatchProgram::EndProgram() {
    if (window_ && window_->IsWindow())
        window_->DestroyWindow();
    else
        ended_ = true;
}

void BatchProgram::Refuse(std::string_view text) {
    List(kChannelError, text);
    FailStart(text);
}

void BatchProgram::FailStart(std::string_view reason) {
    exit_code_ = kExitRefused;
    refusal_ = reason.empty() ? std::string("the start failed") : std::string(reason);
    // Without its settings file the reason is a consequence: name the file.
    if (!settings_readable_)
        refusal_ += " (" + platform::ProfilePath(kProfileFile).string() + " could not be read)";
    EndProgram();
}

std::string BatchProgram::FailureReason() const {
    if (exit_code_ != kExitIncomplete) return {};
    if (!wait_error_.empty()) return wait_error_;
    // A hang-up the close asked for makes errors of its own; the close is the reason.
    if (closed_) return "Closed through the window before the transfer ended";
    if (!last_error_.empty()) return last_error_;
    // The last line listed is a status text, not a reason.
    return "The transfer did not finish";
}

std::vector<std::string> BatchProgram::ListLines() const {
    return window_ ? window_->Lines() : std::vector<std::string>{};
}

int batch_win_main(std::string_view show_argument, DataRequestEntry entry) {
    BatchProgram program(entry);
    if (!program.Start(show_argument)) {
        if (!program.Refusal().empty()) std::fprintf(stderr, "VEXA32: %s\n", program.Refusal().c_str());
        return program.ExitCode();
    }
    const int exit_code = program.RunMessageLoop();
    // A scheduler that started the run sees why it failed, as it sees a
    // refused start, without reading the log.
    if (const std::string reason = program.FailureReason(); !reason.empty())
        std::fprintf(stderr, "VEXA32: %s\n", reason.c_str());
    return exit_code;
}

}  // namespace feedbatch
