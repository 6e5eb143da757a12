// The whole run of the batch program against the simulated modem and price
// server on a pseudo-terminal: it waits for its time on the test clock,
// dials and logs in with the shipped dialogue script, sends its request
// files, writes the answer file, hangs up and ends, listing and logging what
// happened.

#include <algorithm>

#include "tests/feedbatch/batch_fixture.h"

namespace batchtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

// The program's own lines among everything listed.
Strings ProgramLines(const Strings& lines) {
    static const std::vector<std::string> prefixes = {"Deleted log file", "Log file ",     "Input file",
                                                      "Current Time",     "Waiting Till",  "Deleted output",
                                                      "Unable to",        "No input file", "No output file"};
    Strings own;
    for (const std::string& line : lines)
        for (const std::string& prefix : prefixes)
            if (line.starts_with(prefix)) {
                own.push_back(line);
                break;
            }
    return own;
}

// The lines of `all` that are among `wanted`, in the order of `all`.
Strings Among(const Strings& all, const Strings& wanted) {
    Strings found;
    for (const std::string& line : all)
        if (std::find(wanted.begin(), wanted.end(), line) != wanted.end()) found.push_back(line);
    return found;
}

class BatchTransferTest : public BatchTest {};

TEST_F(BatchTransferTest, WaitsThenSendsEveryRequestFileAndEnds) {
    UsePeer(
        "[files]\ninputfile=a,,b\noutputfile=answers.txt\n"
        "[app]\nusetimer=Y\nwaittime=18:30\nwaitdate=1997/03/07\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(program_->Title(), "ORLIN 32 (Dial-Up)");
    EXPECT_EQ(program_->Window()->GetWindowText(), "ORLIN 32 (Dial-Up)");

    // Nothing happens before 18:30.
    EXPECT_FALSE(RunFor(29 * 60 + 59));
    EXPECT_TRUE(peer_->Commands().empty());
    EXPECT_TRUE(program_->Icons().empty());

    ASSERT_TRUE(RunFor(5));
    EXPECT_EQ(program_->ExitCode(), 0);
    EXPECT_FALSE(program_->Window()->IsWindow());

    EXPECT_EQ(ReadFile(Dir() / "answers.txt"),
              "IBM,105.25,X\r\nIBM,105.25,1.5\r\nIBM,INTL BUSINESS MACHINES,NYSE\r\n");
    EXPECT_THAT(peer_->Requests(), ElementsAre("V B980105IBM", "J980105IBM", "!I980105IBM"));
    EXPECT_EQ(peer_->LoggedInAs(), "joe");
    peer_->Settle();
    EXPECT_TRUE(peer_->Closed());
    EXPECT_EQ(peer_->ClosingReason(), "66");
    EXPECT_FALSE(peer_->OnLine());
    EXPECT_THAT(program_->Icons(), ElementsAre(114, 113, 115));

    const Strings log = Log();
    EXPECT_EQ(List(), log);  // fewer than 999 lines: the list holds them all
    EXPECT_THAT(
        ProgramLines(log),
        ElementsAre("Log file created: " + HomeText("vexa.log"), "Input file accessed: a",
                    "Input file accessed: b", "Current Time: 18:00 on 1997/03/07",
                    "Waiting Till: 18:30 on 1997/03/07", "Unable to delete output file: answers.txt"));
    // The data feed's status, in order.
    EXPECT_THAT(
        Among(log, {"File accessed: answers.txt", "File accessed: a", "File accessed: b",
                    "Sending packet #1: V B980105IBM", "Received packet #1", "Sending packet #2: J980105IBM",
                    "Received packet #2", "Sending packet #3: !I980105IBM", "Received packet #3",
                    "Batch processing complete"}),
        ElementsAre("File accessed: answers.txt", "File accessed: a", "Sending packet #1: V B980105IBM",
                    "Received packet #1", "Sending packet #2: J980105IBM", "Received packet #2",
                    "Batch processing complete", "File accessed: answers.txt", "File accessed: b",
                    "Sending packet #3: !I980105IBM", "Received packet #3", "Batch processing complete"));
    // No errors, and no answer data in the list.
    for (const std::string& line : log) {
        EXPECT_FALSE(line.starts_with("ERROR")) << line;
        EXPECT_FALSE(line.starts_with("IBM,")) << line;
    }
}

// What a scheduler learns from the exit status, run by run, and what each
// run's log holds: the password of the login never, only its mask.
TEST_F(BatchTransferTest, ExitStatusOfEachOutcomeAndNoPasswordInTheLog) {
    const std::string usual = "inputfile=a,,b\noutputfile=answers.txt\n";
    struct Case {
        const char* name;
        std::string files;  // the [files] lines
        const char* dial;   // the modem's answer to the dial
        const char* password;
        bool known_request;  // the server knows J980105IBM
        int exit_code;
        std::string logged;  // a line of the log
        int masks;           // lines "********" in the log
    };
    const std::vector<Case> cases = {
        {"every file answered", usual, "CONNECT 9600", "secret", true, feedbatch::kExitTransferred,
         "Batch processing complete", 1},
        {"refused start", "outputfile=answers.txt\n", "CONNECT 9600", "secret", true, feedbatch::kExitRefused,
         "No input file specified in VEXA.INI", 0},
        {"no connection", usual, "NO CARRIER", "secret", true, feedbatch::kExitIncomplete,
         "ERROR -141: No carrier", 0},
        {"log-in refused", usual, "CONNECT 9600", "other", true, feedbatch::kExitIncomplete,
         "ERROR -141: Login refused", 1},
        {"request refused", usual, "CONNECT 9600", "secret", false, feedbatch::kExitIncomplete,
         "ERROR -214: Request refused by the server: J980105IBM", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UsePeer("[files]\n" + c.files + "[app]\nusetimer=N\n");
        peer_->SetDialOutcome(c.dial);
        peer_->SetLogin("joe", c.password);
        if (!c.known_request)
            peer_->SetAnswers({{"V B980105IBM", {"IBM,105.25,X"}}, {"!I980105IBM", {"IBM,NYSE"}}});
        if (Start()) {
            EXPECT_TRUE(RunFor(60));
        }
        EXPECT_TRUE(program_->Ended());
        EXPECT_EQ(program_->ExitCode(), c.exit_code);
        const Strings log = Log();
        EXPECT_THAT(log, Contains(c.logged));
        EXPECT_EQ(std::count(log.begin(), log.end(), "********"), c.masks);
        const std::string text = ReadFile(LogPath());
        EXPECT_EQ(text.find("secret"), std::string::npos) << text;
        EXPECT_EQ(fs::exists(Dir() / "answers.txt"), c.exit_code == feedbatch::kExitTransferred);
        Finish();
        fs::remove(LogPath());
        fs::remove(Dir() / "answers.txt");
    }
}

TEST_F(BatchTransferTest, BadDateEndsTheProgramAtTheFirstTick) {
    UsePeer(
        "[files]\ninputfile=a,,b\noutputfile=answers.txt\n"
        "[app]\nusetimer=Y\nwaittime=18:30\nwaitdate=1997-02-29\n");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(RunFor(1));
    EXPECT_EQ(program_->ExitCode(), feedbatch::kExitIncomplete);
    const Strings expected = {"Log file created: " + HomeText("vexa.log"), "Input file accessed: a",
                              "Input file accessed: b", "February 29, 1997 is not a valid day"};
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(List(), expected);
    EXPECT_TRUE(peer_->Commands().empty());
    EXPECT_TRUE(program_->Icons().empty());
    EXPECT_FALSE(fs::exists(Dir() / "answers.txt"));
}

}  // namespace
}  // namespace batchtest
