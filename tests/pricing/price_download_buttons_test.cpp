// The Price Download dialog's own buttons and the feed glue, with the
// program running: the request kinds, Enter and Escape, invalid dates, Set
// Pricing Switch, the communication set-up program, the feed glue over a
// stand-in data-feed entry, and Autopric called with the alternate flag.

#include <gmock/gmock.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "platform/copy_data.h"
#include "platform/scripted_interaction.h"
#include "pricing/automatic_pricing.h"
#include "records/security_file.h"
#include "tests/pricing/price_download_fixture.h"

namespace pricingtest {
namespace {

using ::testing::ElementsAre;
using D = pricing::CPriceDownloadDlg;

// Waits (at most ten seconds) until the condition holds; true when it did.
bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class PriceDownloadDialogTest : public PriceDownloadTest {
protected:
    // Opens the dialog over the running program's main window and plays
    // the steps after "dialog 141".
    void OpenDialog(const std::function<void(platform::ScriptedInteraction&)>& steps) {
        platform::ScriptedInteraction script([](const std::string& message) { ADD_FAILURE() << message; });
        script.ExpectDialog(pricing::kPriceDownloadDialogId);
        steps(script);
        script.ExpectClosed();
        platform::ScopedInteraction installed(script);
        D dialog(run_->Frame());
        EXPECT_EQ(dialog.DoModal(), platform::IDOK);
        script.FailIfStepsLeft();
    }
};

TEST_F(PriceDownloadDialogTest, KindsEnterEscapePickStocksAndInvalidDates) {
    EXPECT_TRUE(Play("dialog_buttons.script"));
    EXPECT_EQ(pricing::CPriceDownloadDlg::OpenDialog(), nullptr);
}

// Set Pricing Switch marks the securities held on the price date (Prices
// or Both), or on the dividend start date (Dividends).
TEST_F(PriceDownloadDialogTest, SetPricingSwitchUsesTheDateOfTheRequest) {
    fixtures::WriteAccounts({{.id = "ACC1", .manager = "AAAA"}});
    struct Case {
        int kind;
        char held_flag;  // IBM, held in HLACC1.REC (not on 01/15/98, before the program date)
    };
    for (const Case c : {Case{D::kPrices, 'Y'}, Case{D::kBoth, 'Y'}, Case{D::kDividends, 'N'}}) {
        WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}});
        WriteHoldings("ACC1", {{"IBM", 1}});
        OpenDialog([&](platform::ScriptedInteraction& s) {
            s.Click(D::kBoth)
                .SetText(D::kPriceDate, "12/15/98")
                .SetText(D::kDivStartDate, "01/15/98")
                .Click(c.kind)
                .Click(D::kSetPricingSwitch)
                .ExpectText(D::kStatusLine, "")
                .Click(D::kDone);
        });
        records::SecurityRecord ibm, aapl;
        ASSERT_TRUE(records::ReadSecurity(1, ibm));
        ASSERT_TRUE(records::ReadSecurity(2, aapl));
        EXPECT_EQ(ibm.autopricing, c.held_flag) << c.kind;
        EXPECT_EQ(aapl.autopricing, 'N') << c.kind;
    }
}

// Set Comm Parameters starts qrn/setparw with "/sd" and waits for it; a
// second click meanwhile is refused; once it has ended it can start again.
// A program that cannot be started is named by its error number.
TEST_F(PriceDownloadDialogTest, SetCommParametersStartsTheSetupProgramOnce) {
    std::filesystem::create_directory("qrn");
    WriteFile("qrn/setparw",
              "#!/bin/sh\n"
              "echo \"$@\" > setparw.args\n"
              "while [ ! -f setparw.release ]; do sleep 0.01; done\n");
    std::filesystem::permissions("qrn/setparw", std::filesystem::perms::owner_all);
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.Click(D::kSetCommParameters)
            .Run("the set-up program runs",
                 [] {
                     if (!pricing::SetupProgramRunning()) return std::string("the flag is not set");
                     if (!WaitFor([] { return std::filesystem::exists("setparw.args"); }))
                         return std::string("the program did not start");
                     return std::string();
                 })
            .Click(D::kSetCommParameters)
            .ExpectMessageBox("Comm param menu already up.", platform::IDOK, "SETPARW error.")
            .Run("the set-up program ends",
                 [] {
                     WriteFile("setparw.release", "");
                     if (!WaitFor([] { return !pricing::SetupProgramRunning(); }))
                         return std::string("the flag stays set");
                     return std::string();
                 })
            .Click(D::kDone);
    });
    EXPECT_EQ(ReadFile("setparw.args"), "/sd\n");

    std::filesystem::remove_all("qrn");
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.Click(D::kSetCommParameters)
            .ExpectMessageBox("Error code=2", platform::IDOK, "CreateProcess failed.")
            .Run("the flag is cleared",
                 [] {
                     return pricing::SetupProgramRunning() ? std::string("the flag stays set")
                                                           : std::string();
                 })
            .Click(D::kDone);
    });
}

// ---- The feed glue over a stand-in data-feed entry that records each
// call and answers a LINE request with the line the test chose.

struct FakeFeed {
    std::vector<std::pair<std::string, std::string>> calls;  // request, options as given
    std::string answer;                                      // "" answers nothing
};
FakeFeed* g_fake = nullptr;

int FakeEntry(std::uintptr_t caller, const char* request, char* options) {
    g_fake->calls.emplace_back(request, options);
    if (std::strcmp(options, "RESET") == 0) {
        // Records of the kinds the library sends only on request, and one
        // of no known kind.
        platform::SendCopyData(static_cast<platform::WindowHandle>(caller), 0, 26, "BLOCK DATA", 11);
        platform::SendCopyData(static_cast<platform::WindowHandle>(caller), 0, 7, "odd", 4);
    }
    for (char* c = options; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    if (std::strcmp(options, "LINE") == 0 && !g_fake->answer.empty()) {
        platform::SendCopyData(static_cast<platform::WindowHandle>(caller), 0, 25, g_fake->answer.c_str(),
                               g_fake->answer.size() + 1);
        platform::SendCopyData(static_cast<platform::WindowHandle>(caller), 0, 25, "second line", 12);
    }
    return 1;
}

TEST_F(PriceDownloadDialogTest, FeedGlueSendsTrimmedRequestsAndPadsAnswers) {
    FakeFeed fake;
    g_fake = &fake;
    pricing::SetFeedEntry(&FakeEntry);
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.Check(D::kDebugMessages, true)
            .Check(D::kMessagesToListbox, true)
            .Run("the glue", [&fake]() -> std::string {
                int16_t status = 9;
                std::string answer(200, '#');
                pricing::FeedExchangeLine(std::string(200, ' '), answer, status);
                if (status != 1 || answer != std::string(200, '#')) return "exchanged without a connection";

                pricing::FeedConnect(status);
                if (status != 0 || !pricing::FeedConnected()) return "not connected";
                int16_t again = 0;
                pricing::FeedConnect(again);
                if (again != 1) return "a second connect was taken";

                // The status line: the field without its last position and
                // trailing blanks; the caller's field stays as it was.
                const std::string field = records::Fixed("Downloading    1 of    2, IBM", 40);
                pricing::FeedShowStatus(field, 40);
                auto* dialog = pricing::CPriceDownloadDlg::OpenDialog();
                if (dialog->GetDlgItem(D::kStatusLine).GetWindowText() != "Downloading    1 of    2, IBM")
                    return "status line reads " + dialog->GetDlgItem(D::kStatusLine).GetWindowText();
                if (field != records::Fixed("Downloading    1 of    2, IBM", 40))
                    return "the field was changed";

                // A full request goes whole; a long answer is cut to 200, the
                // first line of the answer wins.
                std::string request = std::string(199, 'R') + "Z";
                fake.answer = std::string(250, 'A');
                pricing::FeedExchangeLine(request, answer, status);
                if (status != 0 || answer != std::string(200, 'A')) return "long answer: " + answer;
                if (fake.calls.back().first != request) return "request sent as " + fake.calls.back().first;
                // A short request goes without its trailing blanks; a short
                // answer is blank-padded.
                fake.answer = "IBM,105.25";
                pricing::FeedExchangeLine(records::Fixed("VB980115IBM", 200), answer, status);
                if (status != 0 || answer != records::Fixed("IBM,105.25", 200))
                    return "short answer: " + answer;
                if (fake.calls.back().first != "VB980115IBM")
                    return "request sent as " + fake.calls.back().first;
                // No answer: status 1, the answer field unchanged.
                fake.answer.clear();
                pricing::FeedExchangeLine(records::Fixed("VB980115XYZ", 200), answer, status);
                if (status != 1 || answer != records::Fixed("IBM,105.25", 200)) return "no answer: " + answer;

                pricing::FeedHangup();
                if (pricing::FeedConnected()) return "still connected";

                // The list, newest on top: the answers' first lines are
                // records 3, 5 and 7 (the second line of each comes after).
                const platform::Control list = dialog->GetDlgItem(D::kMessages);
                std::vector<std::string> lines;
                for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
                const std::vector<std::string> expected = {"After Hangup",
                                                           "Issuing Hangup",
                                                           "After Cancel",
                                                           "Issuing Cancel",
                                                           "    6 : line :second line",
                                                           "    5 : line :IBM,105.25",
                                                           "    4 : line :second line",
                                                           "    3 : line :" + std::string(250, 'A'),
                                                           "After CONNECT",
                                                           "CONNECT,LINE,DEBUG",
                                                           "After RESET",
                                                           "    2 : unknown :odd",
                                                           "    1 : block :...",
                                                           "Issuing RESET"};
                if (lines != expected) {
                    std::string shown;
                    for (const std::string& line : lines) shown += "\n" + line;
                    return "the list reads" + shown;
                }
                return {};
            });
        s.Click(D::kDone);
    });
    pricing::SetFeedEntry(FeedEnvironment::entry);
    g_fake = nullptr;
    std::vector<std::string> options;
    for (const auto& call : fake.calls) options.push_back(call.second);
    EXPECT_THAT(options,
                ElementsAre("RESET", "CONNECT,LINE,DEBUG", "LINE", "LINE", "LINE", "Cancel", "HANGUP"));
}

// ---- A stand-in price server for whole runs: each LINE request is answered
// from the table (no entry: no line), and the test may act in the middle of
// the n-th LINE request, as a person's click handled while the library
// waits for the line.

struct FakeServer {
    std::vector<std::pair<std::string, std::string>> calls;                   // request, options as given
    std::map<std::string, std::vector<std::pair<int, std::string>>> answers;  // request: channel, text
    int act_at = 0;                                                           // the n-th LINE request
    std::function<void()> act;
    int lines = 0;
};
FakeServer* g_server = nullptr;

int FakeServerEntry(std::uintptr_t caller, const char* request, char* options) {
    FakeServer& server = *g_server;
    server.calls.emplace_back(request, options);
    for (char* c = options; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    if (std::strcmp(options, "LINE") != 0) return 1;
    if (++server.lines == server.act_at && server.act) server.act();
    if (auto it = server.answers.find(request); it != server.answers.end())
        for (const auto& [channel, text] : it->second)
            platform::SendCopyData(static_cast<platform::WindowHandle>(caller), 0, channel, text.c_str(),
                                   text.size() + 1);
    return 1;
}

class FakeServerTest : public PriceDownloadDialogTest {
protected:
    void SetUp() override {
        PriceDownloadDialogTest::SetUp();
        g_server = &server_;
        pricing::SetFeedEntry(&FakeServerEntry);
    }
    void TearDown() override {
        pricing::SetFeedEntry(FeedEnvironment::entry);
        g_server = nullptr;
        PriceDownloadDialogTest::TearDown();
    }
    std::vector<std::string> Options() const {
        std::vector<std::string> options;
        for (const auto& call : server_.calls) options.push_back(call.second);
        return options;
    }
    FakeServer server_;
};

// A second click on Start Download handled while a run waits for the data
// feed (a double click, or a click while the modem dials) is refused as a
// connect is refused, and the run under way keeps its files: every
// security is still asked and priced.
TEST_F(FakeServerTest, StartDownloadDuringARunLeavesTheRunAlone) {
    WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}});
    WriteTypeSwitches({1});
    server_.answers = {{"VB980115037833100", {{25, "037833100,21.5,X"}}},
                       {"VB980115459200101", {{25, "459200101,105.25,X"}}}};
    server_.act_at = 1;
    server_.act = [] {
        const std::string refused = pricing::CPriceDownloadDlg::OpenDialog()->UserClick(D::kStartDownload);
        if (!refused.empty()) ADD_FAILURE() << refused;
    };
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.SetText(D::kPriceDate, "01/15/98")
            .Click(D::kStartDownload)
            .ExpectMessageBox("", platform::IDOK, "Test QRN Diagnostic")
            .ExpectMessageBox("Generate File called with no errors.", platform::IDOK, "Test QRN Diagnostic")
            .Click(D::kDone);
    });
    EXPECT_THAT(Options(), ElementsAre("RESET", "CONNECT,LINE", "LINE", "LINE", "Cancel", "HANGUP"));
    EXPECT_EQ(StoredPrice("01/15/98", 1), 105.25);
    EXPECT_EQ(StoredPrice("01/15/98", 2), 21.5);
}

// An error record during a request ("E305" for a request the server does
// not know): the first one of the connection is shown once and cancels and
// hangs up the library at once, a second is only listed; the run stops,
// ends the connection through its hang-up, and the next Start Download
// connects again.
TEST_F(FakeServerTest, ErrorRecordDuringARunIsShownOnceAndTheNextStartConnects) {
    WriteFirm({{"IBM", "459200101", "3"}, {"AAPL", "037833100", "3"}});
    WriteTypeSwitches({1});
    server_.answers = {{"VB980115037833100", {{1, "E305 unknown request"}, {1, "E305 again"}}}};
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.SetText(D::kPriceDate, "01/15/98")
            .Check(D::kMessagesToListbox, true)
            .Click(D::kStartDownload)
            .ExpectMessageBox("    1 : error :E305 unknown request", platform::IDOK, "Test QRN Diagnostic.")
            .ExpectMessageBox("", platform::IDOK, "Test QRN Diagnostic")
            .ExpectLine(D::kMessages, 4, "    2 : error :E305 again")
            .Click(D::kStartDownload)
            .ExpectMessageBox("    3 : error :E305 unknown request", platform::IDOK, "Test QRN Diagnostic.")
            .ExpectMessageBox("", platform::IDOK, "Test QRN Diagnostic")
            .Click(D::kDone);
    });
    const std::vector<std::string> run = {"RESET",  "CONNECT,LINE", "LINE",  "Cancel",
                                          "HANGUP", "Cancel",       "HANGUP"};
    std::vector<std::string> both = run;
    both.insert(both.end(), run.begin(), run.end());
    EXPECT_EQ(Options(), both);
    EXPECT_FALSE(pricing::FeedConnected());
    EXPECT_EQ(StoredPrice("01/15/98", 1), -99999.99);
}

// autoerr.txt holds the warnings of the last run that talked to the price
// server: a run without warnings leaves it empty, not with the lines of an
// earlier run.
TEST_F(FakeServerTest, AutoerrHoldsOnlyTheWarningsOfTheLastRun) {
    WriteFirm({{"IBM", "459200101", "3"}});
    WriteTypeSwitches({1});
    WriteFile("autoerr.txt", " Warning: non-numeric data found; from an earlier run\r\n");
    server_.answers = {{"VB980115459200101", {{25, "459200101,105.25,X"}}}};
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.SetText(D::kPriceDate, "01/15/98")
            .Click(D::kStartDownload)
            .ExpectMessageBox("Generate File called with no errors.", platform::IDOK, "Test QRN Diagnostic")
            .Click(D::kDone);
    });
    EXPECT_EQ(StoredPrice("01/15/98", 1), 105.25);
    EXPECT_TRUE(std::filesystem::exists("autoerr.txt"));
    EXPECT_EQ(ReadFile("autoerr.txt"), "");
}

// Autopric with the alternate flag: the classes other than E are asked with
// "J" and their J value goes into SECURITY.EXT alone; class E is asked
// with "V" and its SECURITY.EXT record is not written.
TEST_F(PriceDownloadDialogTest, AlternateRequestsFileTheJValue) {
    WriteFirm({{"IBM", "459200101", "3"}, {"FUND", "316071109", "9"}, {"MUNI", "64966BAA1", "7"}});
    WriteTypeSwitches({1, 2, 4});
    records::Record fund_ext(128, 0x5A);
    records::WriteSecurityExtension(2, fund_ext);
    records::Record ibm_before;
    records::ReadSecurityRecord(1, ibm_before);
    UsePeer({
        {"J980115459200101", {"459200101,105.25,1.5"}},
        {"VE980115316071109", {"316071109,10.125"}},
        {"J98011564966BAA1", {"64966BAA1,98.5,2.25"}},
    });
    OpenDialog([&](platform::ScriptedInteraction& s) {
        s.Run("Autopric", [] {
             int16_t status = 9;
             std::string message(128, ' ');
             pricing::Autopric("N   ", "        ", 'P', "N   ", "Y   ", "01/15/98", "01/01/98", "12/31/98", 0,
                               status, message, 128);
             return status == 0 ? std::string() : "status " + std::to_string(status) + ": " + message;
         }).Click(D::kDone);
    });
    EXPECT_THAT(Requests(), ElementsAre("VE980115316071109", "J980115459200101", "J98011564966BAA1"));
    EXPECT_EQ(StoredPrice("01/15/98", 1), 105.25);
    EXPECT_EQ(StoredPrice("01/15/98", 2), 10.125);
    EXPECT_EQ(StoredPrice("01/15/98", 3), 98.5);

    records::Record ext, expected = records::NewSecurityExtension();
    ASSERT_TRUE(records::ReadSecurityExtension(1, ext));
    expected.SetR4(54, 1.5f);
    EXPECT_EQ(ext.bytes(), expected.bytes());
    ASSERT_TRUE(records::ReadSecurityExtension(3, ext));
    EXPECT_FLOAT_EQ(ext.R4(54), 2.25f);
    ASSERT_TRUE(records::ReadSecurityExtension(2, ext));
    EXPECT_EQ(ext.bytes(), fund_ext.bytes());
    records::Record ibm_after;
    records::ReadSecurityRecord(1, ibm_after);
    EXPECT_EQ(ibm_after.bytes(), ibm_before.bytes());
}

}  // namespace
}  // namespace pricingtest
