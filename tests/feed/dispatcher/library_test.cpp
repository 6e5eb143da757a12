// The data-feed libraries as a program uses them: libROSPA32.so loaded with
// dlopen forwards each call to libVEXA32MD.so, which it loaded from its own
// directory; the remote server is a session double put in through
// VEXA32MD's test hook. The caller's window receives the records of each
// channel.

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "feed/dialup/vexa32md.h"
#include "feed/dispatcher/dispatcher.h"
#include "platform/clock.h"
#include "platform/constants.h"
#include "platform/interaction.h"
#include "platform/profile.h"
#include "platform/scripted_interaction.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/feed/peer/price_peer.h"
#include "tests/fixtures/temp_dir.h"

namespace feedtest {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

// Writes VEXA.INI in the configuration folder of `config` with a home
// directory, and a parameter file of the call type there.
void WriteSettings(const fs::path& config, const fs::path& home, const std::string& call_type) {
    fs::create_directories(config / "ledra");
    fs::create_directories(home);
    WriteFile(config / "ledra" / "VEXA.INI", "[config]\nhome_dir=" + home.string() + "\n");
    WriteFile(home / "qordata.par",
              "[app]\ncall type = " + call_type + "\n\ncall set = standard\nport = COM2\n");
}

class FeedLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        data_ = new fixtures::TempDataDir();
        // The home directory without a closing separator: the libraries add
        // one.
        config_ = new ScopedEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
        WriteSettings(Dir() / "config", Dir(), "dialup");
        CopyErrorTexts(Dir());
        dispatcher_ = dlopen(FEED_LIBRARY_DIR "/libROSPA32.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(dispatcher_, nullptr) << dlerror();
        request_ = reinterpret_cast<DataRequestFunction>(dlsym(dispatcher_, "ol_DataRequest"));
        // The dispatcher has loaded the dial-up library already.
        dialup_ = dlopen(FEED_LIBRARY_DIR "/libVEXA32MD.so", RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(dialup_, nullptr) << dlerror();
        install_ = reinterpret_cast<InstallTestSessionFunction>(dlsym(dialup_, "md_install_test_session"));
        ASSERT_NE(install_, nullptr);
    }
    static void TearDownTestSuite() {
        if (dialup_) dlclose(dialup_);
        delete config_;
        delete data_;
    }
    static const fs::path& Dir() { return data_->path(); }

    FeedLibraryTest() : script_([](const std::string& m) { ADD_FAILURE() << m; }), interaction_(script_) {}

    void SetUp() override {
        ASSERT_TRUE(request_ && install_);
        install_(&session_);
        ASSERT_EQ(Call("", "RESET"), 1);
        caller_.Clear();
    }
    void TearDown() override {
        if (request_) Call("", "HANGUP");
        if (install_) install_(nullptr);
        script_.FailIfStepsLeft();
    }

    int Call(const std::string& request, const std::string& options) {
        std::vector<char> buffer(options.begin(), options.end());
        buffer.push_back('\0');
        return request_(caller_.handle(), request.c_str(), buffer.data());
    }

    static fixtures::TempDataDir* data_;
    static ScopedEnv* config_;
    static void* dispatcher_;
    static void* dialup_;
    static DataRequestFunction request_;
    static InstallTestSessionFunction install_;

    platform::ScriptedInteraction script_;
    platform::ScopedInteraction interaction_;
    FakeSession session_;
    CallerWindow caller_;
};

fixtures::TempDataDir* FeedLibraryTest::data_ = nullptr;
ScopedEnv* FeedLibraryTest::config_ = nullptr;
void* FeedLibraryTest::dispatcher_ = nullptr;
void* FeedLibraryTest::dialup_ = nullptr;
DataRequestFunction FeedLibraryTest::request_ = nullptr;
InstallTestSessionFunction FeedLibraryTest::install_ = nullptr;

TEST_F(FeedLibraryTest, RequestErrorsCarryTheirTexts) {
    session_.server = [](const std::string& line) {
        return Strings{line == "P BAD" ? "E305 no such symbol\r\nE" : "OK\r\nE"};
    };
    struct Case {
        const char* request;
        const char* options;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"", "", "ERROR -216: No request and no options given"},
        {"", "STATUS,FAST", "ERROR -215: Unknown option word: FAST"},
        {"", "TIMEOUT", "ERROR -217: TIMEOUT needs \"=\" and a number of minutes"},
        {"", "LOG", "ERROR -220: Unable to use the file  "},
        {"P IBM", "OUTPUT=missing/dir/answers.txt",
         "ERROR -220: Unable to use the file missing/dir/answers.txt"},
        {"", "RESET,INPUT=missing.txt", "ERROR -220: Unable to use the file missing.txt"},
        {"P IBM\r\nP BAD\r\nP T", "RESET", "ERROR -214: Request refused by the server: P BAD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " / " + c.options);
        caller_.Clear();
        EXPECT_EQ(Call(c.request, c.options), 0);
        EXPECT_THAT(caller_.Texts(1), ElementsAre(c.error));
    }
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM", "P BAD"));
}

TEST_F(FeedLibraryTest, CallFromAHandlerWhileOneRunsIsRefused) {
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && nested < 0) nested = Call("P T", "");
    };
    EXPECT_EQ(Call("P IBM", "BLOCK"), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_THAT(caller_.Texts(1), ElementsAre("ERROR -218: A data request is already running"));
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM"));
}

TEST_F(FeedLibraryTest, OptionWordsAreKeptFromCallToCall) {
    EXPECT_EQ(Call("", "line"), 1);
    EXPECT_EQ(Call("", "status"), 1);
    EXPECT_EQ(Call("P IBM", ""), 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("ANSWER P IBM", "E"));
    EXPECT_THAT(caller_.Texts(3), ElementsAre("Welcome to the price server", "Sending packet #1: P IBM",
                                              "Total responses = 2", "Received packet #1"));
    EXPECT_EQ(Call("", "RESET"), 1);
    caller_.Clear();
    EXPECT_EQ(Call("P IBM", ""), 1);
    EXPECT_TRUE(caller_.records.empty());
}

TEST_F(FeedLibraryTest, OutputAndLogFilesAreWritten) {
    session_.server = [](const std::string& line) { return Strings{line + " 1\r\nM", line + " 2\r\nE"}; };
    EXPECT_EQ(Call("P IBM\r\nP T", "output=Answers.txt,log=Feed.log"), 1);
    EXPECT_EQ(ReadFile(Dir() / "Answers.txt"), "P IBM 1\r\nP IBM 2\r\nP T 1\r\nP T 2\r\n");
    EXPECT_EQ(ReadFile(Dir() / "Feed.log"),
              "File accessed: Feed.log\r\n"
              "File accessed: Answers.txt\r\n"
              "Welcome to the price server\r\n"
              "Sending packet #1: P IBM\r\n"
              "Received packet #1\r\n"
              "Sending packet #2: P T\r\n"
              "Received packet #2\r\n");
    EXPECT_THAT(session_.sent, ElementsAre("P IBM", "C", "P T", "C"));
}

TEST_F(FeedLibraryTest, LongLinesAreCutIntoRequestLinesOf500) {
    const std::string long_line = std::string(500, 'a') + std::string(500, 'b') + std::string(200, 'c');
    EXPECT_EQ(Call("  " + long_line + "\r\n\r\nP T\r\n", ""), 1);
    EXPECT_THAT(session_.Lines(),
                ElementsAre(std::string(500, 'a'), std::string(500, 'b'), std::string(200, 'c'), "P T"));
}

TEST_F(FeedLibraryTest, AnswersLineByLineAndInBlocks) {
    const std::string part = "IBM 101.5\r\nMSFT 30.25\r\nMOT 12\r\n\r\nM";
    session_.server = [&](const std::string&) { return Strings{part, "T 20\r\nE"}; };
    struct Case {
        const char* options;
        Strings answers;
        Strings totals;
    };
    const std::vector<Case> cases = {
        {"RESET,STATUS,LINE",
         {"IBM 101.5", "MSFT 30.25", "MOT 12", "T 20", "E"},
         {"Total responses = 3", "Total responses = 2"}},
        {"RESET,STATUS,BLOCK", {part, "T 20\r\nE"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(Call("", c.options), 1);
        caller_.Clear();
        EXPECT_EQ(Call("P IBM MSFT MOT T", ""), 1);
        EXPECT_EQ(caller_.Texts(25), c.answers);
        Strings totals;
        for (const std::string& s : caller_.Texts(3))
            if (s.starts_with("Total responses")) totals.push_back(s);
        EXPECT_EQ(totals, c.totals);
    }
}

TEST_F(FeedLibraryTest, HangupFromAHandlerEndsTheCallAndTheConnection) {
    int nested = -1;
    caller_.on_record = [&](const Record& r) {
        if (r.channel == 25 && nested < 0) nested = Call("", "HANGUP");
    };
    EXPECT_EQ(Call("P IBM\r\nP T", "BLOCK"), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_THAT(session_.Lines(), ElementsAre("P IBM"));
    EXPECT_THAT(session_.closes, ElementsAre(66));
}

TEST_F(FeedLibraryTest, SerialSessionIsTheDefaultAndTakesTheShippedScript) {
    // No session double: the library's own serial session, on a
    // pseudo-terminal with the simulated modem and price server behind it.
    // No dialogue script in the data directory: the one shipped beside the
    // library dials and logs in.
    auto side_channel =
        reinterpret_cast<InstallTestSideChannelFunction>(dlsym(dialup_, "md_install_test_side_channel"));
    ASSERT_NE(side_channel, nullptr);
    platform::TestClock clock;
    platform::ScopedClock scoped_clock(clock);
    feedpeer::PricePeer peer;
    peer.SetAnswers({{"V B980105IBM", {"IBM,105.25,X"}}});
    const std::string ini = ReadFile(Dir() / "config" / "ledra" / "VEXA.INI");
    const std::string params = ReadFile(Dir() / "qordata.par");
    WriteFile(Dir() / "config" / "ledra" / "VEXA.INI", ini + "[ports]\nCOM2=" + peer.DevicePath() + "\n");
    WriteFile(Dir() / "qordata.par",
              params + "telephone number = 5551234\nremote user = joe\nremote password = secret\n");
    install_(nullptr);
    side_channel(&peer);
    ASSERT_FALSE(fs::exists(Dir() / "dialup.dlg"));

    EXPECT_EQ(Call("V B980105IBM", "CONNECT,BLOCK"), 1);
    EXPECT_THAT(caller_.Texts(25), ElementsAre("IBM,105.25,X\r\nE"));
    EXPECT_THAT(caller_.Texts(1), ElementsAre());
    EXPECT_EQ(peer.LoggedInAs(), "joe");
    EXPECT_EQ(Call("", "HANGUP"), 1);
    peer.Settle();
    EXPECT_TRUE(peer.Closed());
    EXPECT_FALSE(peer.OnLine());

    side_channel(nullptr);
    WriteFile(Dir() / "config" / "ledra" / "VEXA.INI", ini);
    WriteFile(Dir() / "qordata.par", params);
}

TEST_F(FeedLibraryTest, TcpipCallTypeLoadsTheTcpipLibrary) {
    // A second copy of the dispatcher, loaded from a directory that holds
    // the stand-in TCP/IP library, with settings that ask for it.
    const fs::path dir = Dir() / "tcpip";
    fs::create_directories(dir / "lib");
    fs::copy_file(FEED_LIBRARY_DIR "/libROSPA32.so", dir / "lib" / "libROSPA32.so");
    fs::copy_file(FEED_TCPIP_STUB, dir / "lib" / "libVEXA32TP.so");
    WriteSettings(dir / "config", dir / "home", "tcpip");
    void* copy = nullptr;
    {
        ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").string());
        copy = dlopen((dir / "lib" / "libROSPA32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ASSERT_NE(copy, nullptr) << dlerror();
    auto request = reinterpret_cast<DataRequestFunction>(dlsym(copy, "ol_DataRequest"));
    char options[] = "x";
    EXPECT_EQ(request(42, "ping", options), 7);
    EXPECT_STREQ(options, "X");
}

TEST_F(FeedLibraryTest, MissingTcpipLibraryShowsTheMessageAtEveryCall) {
    const fs::path dir = Dir() / "tcpip-missing";
    fs::create_directories(dir / "lib");
    fs::copy_file(FEED_LIBRARY_DIR "/libROSPA32.so", dir / "lib" / "libROSPA32.so");
    WriteSettings(dir / "config", dir / "home", "TcpIp");
    void* copy = nullptr;
    {
        ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").string());
        copy = dlopen((dir / "lib" / "libROSPA32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ASSERT_NE(copy, nullptr) << dlerror();
    auto request = reinterpret_cast<DataRequestFunction>(dlsym(copy, "ol_DataRequest"));
    script_.ExpectMessageBox("Could not get process address", platform::IDOK, "ROSPA32.DLL");
    script_.ExpectMessageBox("Could not get process address", platform::IDOK, "ROSPA32.DLL");
    char options[] = "STATUS";
    EXPECT_EQ(request(caller_.handle(), "P IBM", options), 0);
    EXPECT_EQ(request(caller_.handle(), "P IBM", options), 0);
    ASSERT_EQ(script_.MessageBoxes().size(), 2u);
    EXPECT_EQ(script_.MessageBoxes()[0].flags, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    EXPECT_EQ(script_.MessageBoxes()[0].owner, caller_.handle());
    EXPECT_TRUE(caller_.records.empty());
}

// Runs in a process of its own, where no dial-up library has been loaded:
// a dispatcher without VEXA32MD beside it or on the library path.
[[noreturn]] void CallWithoutTheDialupLibrary() {
    fixtures::TempDataDir dir;
    fs::create_directories(dir.path() / "lib");
    fs::copy_file(FEED_LIBRARY_DIR "/libROSPA32.so", dir.path() / "lib" / "libROSPA32.so");
    ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    WriteSettings(dir.path() / "config", dir.path() / "home", "dialup");
    if (dlopen("libVEXA32MD.so", RTLD_NOW | RTLD_NOLOAD)) std::_Exit(2);
    void* copy = dlopen((dir.path() / "lib" / "libROSPA32.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!copy) std::_Exit(3);
    auto request = reinterpret_cast<DataRequestFunction>(dlsym(copy, "ol_DataRequest"));
    platform::ScriptedInteraction script;
    platform::ScopedInteraction scoped(script);
    script.ExpectMessageBox("Could not get process address", platform::IDOK, "ROSPA32.DLL");
    char options[] = "";
    const int result = request(0, "P IBM", options);
    std::_Exit(result == 0 && !script.Failed() && script.StepsLeft() == 0 ? 0 : 1);
}

TEST(FeedDispatcherTest, MissingDialupLibraryShowsTheMessageAndReturns0) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CallWithoutTheDialupLibrary(), ::testing::ExitedWithCode(0), "");
}

TEST(FeedDispatcherTest, ImplementationByCallType) {
    struct Case {
        const char* call_type;
        const char* file;
    };
    const std::vector<Case> cases = {
        {"", "libVEXA32MD.so"},       {"dialup", "libVEXA32MD.so"}, {"TCPIP", "libVEXA32TP.so"},
        {"tcpip", "libVEXA32TP.so"},  {"TcpIp", "libVEXA32TP.so"},  {"TCPIP ", "libVEXA32MD.so"},
        {"TCP/IP", "libVEXA32MD.so"},
    };
    for (const Case& c : cases) EXPECT_EQ(feed::ImplementationFile(c.call_type), c.file) << c.call_type;
}

TEST(FeedDispatcherTest, ParameterFileInTheHomeDirectory) {
    EXPECT_EQ(feed::DispatcherParamsPath(""), "qordata.par");
    EXPECT_EQ(feed::DispatcherParamsPath("/data/feed/"), "/data/feed/qordata.par");
    EXPECT_EQ(feed::DispatcherParamsPath("/data/feed"), "/data/feed/qordata.par");
    EXPECT_EQ(feed::DispatcherParamsPath("C:\\ledra\\feed\\"), "C:/ledra/feed/qordata.par");
}

}  // namespace
}  // namespace feedtest
