#pragma once

// The fixture of the dial-up tests: a fresh data directory as the current
// directory (with the error-text file), an empty configuration folder, the
// library at its load state with a session double installed, a caller
// window, and a scripted interaction that fails the test on any dialog or
// message box it does not expect.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/session.h"
#include "feed/dialup/state.h"
#include "platform/interaction.h"
#include "platform/scripted_interaction.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/fixtures/temp_dir.h"

namespace feedtest {

class DialupTest : public ::testing::Test {
protected:
    DialupTest()
        : config_("XDG_CONFIG_HOME", (dir_.path() / "config").string()),
          callsfile_("CALLSFILE", std::nullopt),
          callset_("CALLSET", std::nullopt),
          script_([](const std::string& message) { ADD_FAILURE() << message; }),
          interaction_(script_) {
        CopyErrorTexts(dir_.path());
        WriteFile(dir_.path() / "qordata.par", kStandardParams);
        feed::ResetLibraryForTesting();
        feed::md_install_session(&session_);
        feed::State().request.caller = caller_.handle();
    }
    ~DialupTest() override {
        script_.FailIfStepsLeft();
        feed::md_install_session(nullptr);
        feed::ResetLibraryForTesting();
    }

    // One call as a caller makes it, with a writable copy of the options;
    // the caller's buffer after the call is kept in options_after_.
    int Call(const std::string& request, const std::string& options) {
        std::vector<char> buffer(options.begin(), options.end());
        buffer.push_back('\0');
        const int result = feed::DataRequest(caller_.handle(), request.c_str(), buffer.data());
        options_after_ = buffer.data();
        return result;
    }

    const std::filesystem::path& Dir() const { return dir_.path(); }

    fixtures::TempDataDir dir_;
    ScopedEnv config_;
    ScopedEnv callsfile_;
    ScopedEnv callset_;
    platform::ScriptedInteraction script_;
    platform::ScopedInteraction interaction_;
    FakeSession session_;
    CallerWindow caller_;
    std::string options_after_;
};

}  // namespace feedtest
