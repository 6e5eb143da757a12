// The transfer with a session double in place of the line: the answer file
// deleted or appended to, a request file the server refuses, a connect that
// fails, and a close while the transfer runs.

#include "platform/constants.h"
#include "tests/feedbatch/batch_fixture.h"

namespace batchtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class BatchRunTest : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        session_.server = [](const std::string& line) { return Strings{"ANS " + line + "\r\nE"}; };
    }
};

constexpr const char* kNewAnswers = "ANS V B980105IBM\r\nANS J980105IBM\r\nANS !I980105IBM\r\n";

TEST_F(BatchRunTest, AnswerFileDeletedOrAppendedTo) {
    struct Case {
        const char* setting;  // appendoutput
        bool old_file;
        const char* line;  // listed before the transfer; "" for none
        std::string answers;
    };
    const std::vector<Case> cases = {
        {"", true, "Deleted output file: answers.txt", kNewAnswers},
        {"appendoutput=0\n", false, "Unable to delete output file: answers.txt", kNewAnswers},
        {"appendoutput=1\n", true, "", std::string("old\r\n") + kNewAnswers},
        {"appendoutput=1\n", false, "", kNewAnswers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + (c.old_file ? " with old answers" : ""));
        fs::remove(Dir() / "answers.txt");
        if (c.old_file) WriteFile(Dir() / "answers.txt", "old\r\n");
        WriteUsualIni(c.setting);
        ASSERT_TRUE(Start());
        ASSERT_TRUE(RunFor(30 * 60));
        EXPECT_EQ(program_->ExitCode(), feedbatch::kExitTransferred);
        EXPECT_EQ(ReadFile(Dir() / "answers.txt"), c.answers);
        const Strings list = List();
        EXPECT_EQ(
            std::count_if(list.begin(), list.end(),
                          [](const std::string& s) { return s.find("output file") != std::string::npos; }),
            *c.line ? 1 : 0);
        if (*c.line) {
            EXPECT_THAT(list, Contains(c.line));
        }
        Finish();
    }
}

TEST_F(BatchRunTest, RefusedRequestFileLeavesNoAnswersAndStops) {
    session_.server = [](const std::string& line) {
        return Strings{line == "J980105IBM" ? "E305 Unknown request\r\nE" : "ANS " + line + "\r\nE"};
    };
    WriteFile(Dir() / "answers.txt", "old\r\n");
    WriteUsualIni("appendoutput=1\n");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(RunFor(30 * 60));
    EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
    // The file b is never sent; the line is hung up.
    EXPECT_THAT(session_.Lines(), ElementsAre("V B980105IBM", "J980105IBM"));
    EXPECT_THAT(session_.closes, ElementsAre(66));
    EXPECT_FALSE(fs::exists(Dir() / "answers.txt"));
    const Strings log = Log();
    EXPECT_THAT(log, Contains("ERROR -214: Request refused by the server: J980105IBM"));
    EXPECT_THAT(log, Contains("Deleted output file: answers.txt"));
    EXPECT_THAT(log, Not(Contains("File accessed: b")));
    EXPECT_THAT(program_->Icons(), ElementsAre(114, 113, 115));
    EXPECT_EQ(program_->FailureReason(), "ERROR -214: Request refused by the server: J980105IBM");
}

TEST_F(BatchRunTest, AnswerFileThatStaysIsNotReportedDeleted) {
    // The answer file is a folder with something in it: it cannot be
    // deleted, and the failed transfer must not claim it was.
    session_.server = [](const std::string& line) {
        return Strings{"E305 Unknown request " + line + "\r\nE"};
    };
    WriteUsualIni("appendoutput=1\n");
    fs::create_directories(Dir() / "answers.txt" / "inside");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(RunFor(30 * 60));
    const Strings log = Log();
    EXPECT_THAT(log, Contains("Unable to delete output file: answers.txt"));
    EXPECT_THAT(log, Not(Contains("Deleted output file: answers.txt")));
    EXPECT_TRUE(fs::exists(Dir() / "answers.txt" / "inside"));
}

TEST_F(BatchRunTest, AnswerFileThatCannotBeOpenedIsNoSuccess) {
    // The answers would have nowhere to go: no request is sent.
    WriteIni("[files]\ninputfile=a,,b\noutputfile=nowhere/answers.txt\n[app]\nusetimer=N\n");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(RunFor(60));
    EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
    EXPECT_TRUE(session_.Lines().empty());
    EXPECT_THAT(Log(), Contains("ERROR -220: Unable to use the file nowhere/answers.txt"));
}

TEST_F(BatchRunTest, FailedConnectEndsTheProgram) {
    session_.open_result = -141;
    WriteFile(Dir() / "answers.txt", "old\r\n");
    WriteUsualIni();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(RunFor(30 * 60));
    EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
    EXPECT_THAT(program_->Icons(), ElementsAre(114, 115));
    EXPECT_TRUE(session_.sent.empty());
    // Nothing was fetched, so the old answers stay.
    EXPECT_EQ(ReadFile(Dir() / "answers.txt"), "old\r\n");
    EXPECT_THAT(Log(), Not(Contains("Deleted output file: answers.txt")));
}

TEST_F(BatchRunTest, CloseWhileTheTransferRunsHangsUp) {
    struct Case {
        const char* name;
        bool close_request;  // the window's close request answered OK, else the system menu's Close
    };
    for (const Case c : {Case{"system menu", false}, Case{"close request", true}}) {
        SCOPED_TRACE(c.name);
        session_.sent.clear();
        session_.closes.clear();
        session_.on_send = [&](const std::string& line) {
            if (line != "V B980105IBM") return;
            if (c.close_request) {
                script_.ExpectMessageBox(std::nullopt, platform::IDOK, "ORLIN 32 (Dial-Up)");
                program_->Window()->OnClose();
            } else {
                EXPECT_EQ(program_->Window()->UserSysCommand(platform::SC_CLOSE), "");
            }
        };
        WriteUsualIni();
        ASSERT_TRUE(Start());
        ASSERT_TRUE(RunFor(30 * 60));
        EXPECT_THAT(session_.Lines(), ElementsAre("V B980105IBM"));
        EXPECT_THAT(session_.closes, ElementsAre(66));
        EXPECT_FALSE(fs::exists(Dir() / "answers.txt"));
        const Strings log = Log();
        EXPECT_THAT(log, Contains("Deleted output file: answers.txt"));
        EXPECT_THAT(log, Not(Contains("File accessed: b")));
        EXPECT_EQ(program_->Icons().back(), 115);
        EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
        // The close is the reason, not the errors of the hang-up it asked for.
        EXPECT_EQ(program_->FailureReason(), "Closed through the window before the transfer ended");
        Finish();
    }
    session_.on_send = nullptr;
}

}  // namespace
}  // namespace batchtest
