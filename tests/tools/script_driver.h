#pragma once

// The test script driver: a text script of steps, one a line, that answers
// the program's dialogs and message boxes, picks menu commands and checks
// files, played through the window layer's scripted interaction. The
// language is described in docs/testing.md. A script is parsed whole before
// it runs; a line that does not parse fails the script and nothing runs.
//
// The driver acts on the main window it is given (menu commands, and
// controls of the main window when no dialog is open); the program's
// start-up is not its business.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/main_frame.h"
#include "platform/scripted_interaction.h"

namespace tools {

struct ParsedScript {
    std::vector<platform::ScriptStep> steps;
    std::vector<std::string> errors;  // "line 3: ..." for each line that does not parse
};

// Parses a script. Steps that invoke menu commands act on `main` (which may
// be null when the script has none). Files a step names as expected
// content (`same`) are found from `base`, the script's folder.
ParsedScript ParseScript(std::string_view text, platform::MainFrame* main,
                         const std::filesystem::path& base = {});

class ScriptDriver {
public:
    using FailureHandler = std::function<void(const std::string& message)>;

    explicit ScriptDriver(platform::MainFrame* main, FailureHandler on_failure = {});

    // Parses and plays a script with the scripted interaction installed;
    // true when it ran to its end without a failure.
    bool Run(std::string_view text);
    bool RunFile(const std::filesystem::path& path);

    const std::vector<std::string>& Failures() const { return failures_; }
    // What the last run showed.
    const std::vector<platform::MessageBoxRequest>& MessageBoxes() const { return message_boxes_; }
    std::size_t Beeps() const { return beeps_; }

private:
    platform::MainFrame* main_;
    FailureHandler on_failure_;
    std::filesystem::path base_;  // the folder of the script file being run
    std::vector<std::string> failures_;
    std::vector<platform::MessageBoxRequest> message_boxes_;
    std::size_t beeps_ = 0;
};

}  // namespace tools
