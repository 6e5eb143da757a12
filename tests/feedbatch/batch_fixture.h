#pragma once

// The fixture of the batch program's tests. Once per run: a temporary folder
// that is the current directory and the home directory (qordata.par and the
// error texts in it), XDG_CONFIG_HOME pointing into it, and the data-feed
// libraries loaded from the build the way the program loads them (they
// read VEXA.INI as they load, so this comes first). Each test: a fresh
// VEXA.INI, a session double in the dial-up library (or the simulated modem
// and price server, see UsePeer), the test clock at 18:00 on 7 March 1997,
// and a scripted interaction that fails the test on any dialog or message
// box it does not expect.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "feed/dialup/vexa32md.h"
#include "feedbatch/batch_window.h"
#include "feedbatch/program.h"
#include "platform/clock.h"
#include "platform/interaction.h"
#include "platform/scripted_interaction.h"
#include "tests/feed/common/feed_libraries.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/feed/peer/price_peer.h"
#include "tests/fixtures/temp_dir.h"

namespace batchtest {

namespace fs = std::filesystem;
using feedtest::ReadFile;
using feedtest::WriteFile;
using Strings = std::vector<std::string>;

// The lines of a text file written with CR LF.
inline Strings FileLines(const fs::path& path) {
    const std::string text = ReadFile(path);
    Strings lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline constexpr const char* kParams = feedtest::kPeerCallParams;

// Made once for the whole run (main() registers it): the data-feed libraries
// keep the home directory they read as they load.
class BatchEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        dir = new fixtures::TempDataDir();
        config = new feedtest::ScopedEnv("XDG_CONFIG_HOME", (dir->path() / "config").string());
        fs::create_directories(dir->path() / "config" / "ledra");
        WriteFile(dir->path() / "config" / "ledra" / "VEXA.INI",
                  "[config]\nhome_dir=" + dir->path().string() + "\n");
        WriteFile(dir->path() / "qordata.par", kParams);
        feedtest::CopyErrorTexts(dir->path());
        const feedtest::FeedLibraries libraries = feedtest::LoadFeedLibraries(FEED_LIBRARY_DIR);
        ASSERT_EQ(libraries.error, "");
        dispatcher = libraries.dispatcher;
        entry = reinterpret_cast<feedbatch::DataRequestEntry>(libraries.entry);
        install_session = libraries.install_session;
        install_side_channel = libraries.install_side_channel;
    }
    void TearDown() override {
        delete config;
        delete dir;
        config = nullptr;
        dir = nullptr;
    }

    static inline fixtures::TempDataDir* dir = nullptr;
    static inline feedtest::ScopedEnv* config = nullptr;
    static inline void* dispatcher = nullptr;
    static inline feedbatch::DataRequestEntry entry = nullptr;
    static inline InstallTestSessionFunction install_session = nullptr;
    static inline InstallTestSideChannelFunction install_side_channel = nullptr;
};

class BatchTest : public ::testing::Test {
protected:
    static const fs::path& Dir() { return BatchEnvironment::dir->path(); }
    static fs::path IniPath() { return Dir() / "config" / "ledra" / "VEXA.INI"; }
    static fs::path LogPath() { return Dir() / "vexa.log"; }

    BatchTest()
        : clock_(platform::MakeLocalTime(1997, 3, 7, 18, 0)),
          scoped_clock_(clock_),
          script_([](const std::string& message) { ADD_FAILURE() << message; }),
          interaction_(script_) {}

    void SetUp() override {
        ASSERT_TRUE(BatchEnvironment::dir && entry_ && install_session_ && install_side_channel_);
        // What an earlier test left behind goes.
        const std::set<std::string> keep = {"config", "qordata.par", "qorcomm.err"};
        for (const auto& entry : fs::directory_iterator(Dir()))
            if (!keep.count(entry.path().filename().string())) fs::remove_all(entry.path());
        WriteFile(Dir() / "qordata.par", kParams);
        install_session_(&session_);
        install_side_channel_(nullptr);
        Request("RESET");
        WriteFile(Dir() / "a", "V B980105IBM\r\nJ980105IBM\r\n");
        WriteFile(Dir() / "b", "!I980105IBM\r\n");
    }
    void TearDown() override {
        Finish();
        install_session_(nullptr);
        install_side_channel_(nullptr);
        script_.FailIfStepsLeft();
    }

    // VEXA.INI with the home directory and these further lines.
    void WriteIni(const std::string& lines) {
        WriteFile(IniPath(), "[config]\nhome_dir=" + Dir().string() + "\n" + lines);
    }
    // The settings of a usual run: request files a and b, answers.txt, the
    // start at 18:30 on the test clock's day; further lines of [files].
    void WriteUsualIni(const std::string& more_files = "") {
        WriteIni("[files]\ninputfile=a,,b\noutputfile=answers.txt\n" + more_files +
                 "[app]\nusetimer=Y\nwaittime=18:30\nwaitdate=1997/03/07\n");
    }

    // The serial session on COM2, a pseudo-terminal with the simulated modem
    // and price server at its far end, in place of the session double.
    void UsePeer(const std::string& ini_lines) {
        peer_ = std::make_unique<feedpeer::PricePeer>();
        peer_->SetLogin("joe", "secret");
        peer_->SetAnswers({
            {"V B980105IBM", {"IBM,105.25,X"}},
            {"J980105IBM", {"IBM,105.25,1.5"}},
            {"!I980105IBM", {"IBM,INTL BUSINESS MACHINES,NYSE"}},
        });
        WriteIni(ini_lines + "[ports]\nCOM2=" + peer_->DevicePath() + "\n");
        install_session_(nullptr);
        install_side_channel_(peer_.get());
    }

    // Ends the program of the test and leaves the data-feed library as a new
    // process finds it, for a test that runs the program more than once.
    void Finish() {
        program_.reset();
        Request("HANGUP");
        Request("RESET");
    }

    int Request(const std::string& options) {
        std::vector<char> text(options.begin(), options.end());
        text.push_back('\0');
        return entry_(0, "", text.data());
    }

    // Starts the program with a show state; the window is kept hidden unless
    // the test asks otherwise.
    bool Start(const std::string& show = "1") {
        program_ = std::make_unique<feedbatch::BatchProgram>(entry_);
        return program_->Start(show);
    }
    // Lets the clock run in one-second steps until the program has ended or
    // `seconds` have passed; true when it ended.
    bool RunFor(int seconds) {
        for (int i = 0; i < seconds && !program_->Ended(); ++i) clock_.Advance(1000);
        return program_->Ended();
    }

    Strings List() const { return program_->ListLines(); }
    Strings Log() const { return FileLines(LogPath()); }
    std::string HomeText(const std::string& name) const { return (Dir() / name).string(); }

    feedbatch::DataRequestEntry entry_ = BatchEnvironment::entry;
    InstallTestSessionFunction install_session_ = BatchEnvironment::install_session;
    InstallTestSideChannelFunction install_side_channel_ = BatchEnvironment::install_side_channel;

    platform::TestClock clock_;
    platform::ScopedClock scoped_clock_;
    platform::ScriptedInteraction script_;
    platform::ScopedInteraction interaction_;
    feedtest::FakeSession session_;
    std::unique_ptr<feedpeer::PricePeer> peer_;
    std::unique_ptr<feedbatch::BatchProgram> program_;
};

}  // namespace batchtest
