#pragma once

// Starts the program in this process, offscreen, on a data directory, so
// that a test (or the ledra_script tool) drives it with a text script as a
// person would: the shell's application object runs its whole start-up,
// the script picks commands, answers dialogs and message boxes and checks
// windows and files, and closing the program runs the shell's own close.
//
// Dialogs and message boxes that appear outside the script (during
// start-up or closing) fail the run with their text.

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/scripted_interaction.h"
#include "shell/app.h"

namespace tools {

// How a ProgramRun starts the program (outside the class, so that its
// defaults can serve the constructor's default argument).
struct ProgramRunOptions {
    // Today's date as the program sees it (the system clock when empty).
    std::optional<std::chrono::system_clock::time_point> today;
    // Answers to what start-up shows (a script of message steps, as
    // the script driver reads them); anything else there fails.
    std::string startup_script{};
    // The commands and dialogs of the set-up, entry and pricing
    // subsystems are registered, as the program registers them, unless
    // a test of the registration itself asks to leave them out.
    bool without_subsystem_commands = false;
};

class ProgramRun {
public:
    using Options = ProgramRunOptions;

    // Enters the data directory (made when missing) and starts the program.
    explicit ProgramRun(const std::filesystem::path& data_directory, Options options = {});
    // Closes the program when it is still open and returns to the previous
    // working directory.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return started_; }
    // The message boxes start-up showed (answered by the start-up script).
    const std::vector<platform::MessageBoxRequest>& StartupMessages() const { return startup_messages_; }
    shell::CLedraApp& App() { return *app_; }
    shell::CMainFrame* Frame() { return app_ ? app_->GetMainFrame() : nullptr; }

    // Plays a script against the main frame; true when it ran to its end
    // without a failure.
    bool RunScript(std::string_view text);
    bool RunScriptFile(const std::filesystem::path& path);

    // Closes the main window as File/Exit does, when it is still open.
    void Close();

    // Every failure so far: of the start-up, the scripts and the closing.
    const std::vector<std::string>& Failures() const { return failures_; }

private:
    // Answers nothing: any dialog or message box outside a script fails.
    std::unique_ptr<platform::ScriptedInteraction> Strict(const std::string& phase);

    std::filesystem::path previous_directory_;
    std::unique_ptr<platform::TestClock> clock_;
    std::unique_ptr<platform::ScopedClock> scoped_clock_;
    std::unique_ptr<shell::CLedraApp> app_;
    std::vector<std::string> failures_;
    std::vector<platform::MessageBoxRequest> startup_messages_;
    bool started_ = false;
};

// Today at noon, local time, for ProgramRun::Options.
std::chrono::system_clock::time_point LocalDate(int year, int month, int day);

}  // namespace tools
