#include "tests/tools/program_run.h"

#include "entry/entry_commands.h"
#include "entry/tran_list.h"
#include "pricing/pricing_dialogs.h"
#include "setup/setup_commands.h"
#include "tests/fixtures/report_table.h"
#include "tests/tools/script_driver.h"

namespace tools {

std::chrono::system_clock::time_point LocalDate(int year, int month, int day) {
    return platform::MakeLocalTime(year, month, day, 12, 0);
}

ProgramRun::ProgramRun(const std::filesystem::path& data_directory, Options options) {
    std::error_code error;
    previous_directory_ = std::filesystem::current_path(error);
    if (options.today) {
        clock_ = std::make_unique<platform::TestClock>(*options.today);
        scoped_clock_ = std::make_unique<platform::ScopedClock>(*clock_);
    }
    if (const std::string problem = shell::EnterDataDirectory(data_directory); !problem.empty()) {
        failures_.push_back(problem);
        return;
    }
    // The report runner's rows, as the program registers them at start-up.
    fixtures::RegisterAllReports();
    if (!options.without_subsystem_commands) {
        setup::RegisterSetupCommands();
        entry::RegisterEntryCommands();
        pricing::RegisterPricingDialogs();
    }
    app_ = std::make_unique<shell::CLedraApp>();
    if (!options.without_subsystem_commands) app_->SetViewFactory(shell::kTranListTemplate, entry::MakeTranList);
    auto strict = Strict("start-up");
    if (!options.startup_script.empty()) {
        ParsedScript parsed = ParseScript(options.startup_script, nullptr);
        for (const std::string& error : parsed.errors) failures_.push_back("start-up script: " + error);
        for (platform::ScriptStep& step : parsed.steps) strict->Add(std::move(step));
    }
    {
        platform::ScopedInteraction installed(*strict);
        started_ = app_->InitInstance(platform::SW_SHOW);
    }
    strict->FailIfStepsLeft();
    startup_messages_ = strict->MessageBoxes();
    if (!started_) failures_.push_back("the program did not start");
}

ProgramRun::~ProgramRun() {
    Close();
    {
        auto strict = Strict("the end of the run");
        platform::ScopedInteraction installed(*strict);
        app_.reset();
    }
    scoped_clock_.reset();
    std::error_code error;
    if (!previous_directory_.empty()) std::filesystem::current_path(previous_directory_, error);
}

std::unique_ptr<platform::ScriptedInteraction> ProgramRun::Strict(const std::string& phase) {
    return std::make_unique<platform::ScriptedInteraction>(
        [this, phase](const std::string& message) { failures_.push_back(phase + ": " + message); });
}

bool ProgramRun::RunScript(std::string_view text) {
    if (!started_) return false;
    ScriptDriver driver(Frame(), [this](const std::string& message) { failures_.push_back(message); });
    return driver.Run(text);
}

bool ProgramRun::RunScriptFile(const std::filesystem::path& path) {
    if (!started_) return false;
    ScriptDriver driver(Frame(), [this](const std::string& message) { failures_.push_back(message); });
    return driver.RunFile(path);
}

void ProgramRun::Close() {
    shell::CMainFrame* frame = Frame();
    if (!frame || !frame->IsWindow()) return;
    auto strict = Strict("closing");
    platform::ScopedInteraction installed(*strict);
    frame->OnClose();
}

}  // namespace tools
