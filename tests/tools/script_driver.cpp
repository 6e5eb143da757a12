#include "tests/tools/script_driver.h"

#include <fstream>
#include <sstream>

namespace tools {

ScriptDriver::ScriptDriver(platform::MainFrame* main, FailureHandler on_failure)
    : main_(main), on_failure_(std::move(on_failure)) {}

bool ScriptDriver::Run(std::string_view text) {
    failures_.clear();
    message_boxes_.clear();
    beeps_ = 0;
    auto report = [this](const std::string& message) {
        failures_.push_back(message);
        if (on_failure_) on_failure_(message);
    };

    ParsedScript parsed = ParseScript(text, main_, base_);
    if (!parsed.errors.empty()) {
        for (const std::string& error : parsed.errors) report(error);
        return false;
    }
    platform::ScriptedInteraction script([&](const std::string& message) { report(message); });
    script.SetTopLevelWindow(main_);
    for (platform::ScriptStep& step : parsed.steps) script.Add(std::move(step));
    {
        platform::ScopedInteraction installed(script);
        script.RunScript();
        script.FailIfStepsLeft();
    }
    message_boxes_ = script.MessageBoxes();
    beeps_ = script.Beeps().size();
    return failures_.empty();
}

bool ScriptDriver::RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        failures_ = {"the script \"" + path.string() + "\" cannot be read"};
        if (on_failure_) on_failure_(failures_.front());
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    base_ = path.parent_path();
    const bool ok = Run(text.str());
    base_.clear();
    return ok;
}

}  // namespace tools
