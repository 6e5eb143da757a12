// The VEXA32 program as an operator or a scheduler meets it: started
// without its settings it says so on standard error; a second copy with
// settings of its own that names a port another session holds is refused
// the port, ends with the exit status of a failed transfer, and leaves the
// first session's line alone.

#include <algorithm>

#include "tests/feedbatch/batch_fixture.h"
#include "tests/feedbatch/program_process.h"

namespace batchtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(BatchProgramProcessTest, MissingSettingsAreToldOnStandardError) {
    fixtures::TempDataDir dir;
    ProgramProcess program(dir.path(), "vexa32");
    EXPECT_EQ(program.WaitForExit(15), feedbatch::kExitRefused) << program.Errors();
    const std::string ini = (dir.path() / "config" / "ledra" / "VEXA.INI").string();
    EXPECT_THAT(program.Errors(),
                HasSubstr("VEXA32: No input file specified in VEXA.INI (" + ini + " could not be read)\n"));
    // The log of the current directory keeps its line as before.
    EXPECT_THAT(FileLines(dir.path() / "vexa.log"), Contains("No input file specified in VEXA.INI"));
}

// A start refused with its settings readable says why as well, in the line
// the log keeps.
TEST(BatchProgramProcessTest, RefusedStartTellsItsReasonOnStandardError) {
    fixtures::TempDataDir dir;
    fs::create_directories(dir.path() / "config" / "ledra");
    WriteFile(dir.path() / "config" / "ledra" / "VEXA.INI",
              "[config]\nhome_dir=" + dir.path().string() +
                  "\n[files]\ninputfile=prices.req\noutputfile=answers.txt\n[app]\nusetimer=N\n");
    ProgramProcess program(dir.path(), "vexa32");
    EXPECT_EQ(program.WaitForExit(15), feedbatch::kExitRefused) << program.Errors();
    EXPECT_THAT(program.Errors(), HasSubstr("VEXA32: Unable to access input file: prices.req\n"));
    EXPECT_THAT(FileLines(dir.path() / "vexa.log"), Contains("Unable to access input file: prices.req"));
}

// A run that fails after its start ends with the status of an incomplete
// transfer and says why on standard error, as the log does.
TEST(BatchProgramProcessTest, FailedRunTellsItsReasonOnStandardError) {
    fixtures::TempDataDir dir;
    fs::create_directories(dir.path() / "config" / "ledra");
    WriteFile(dir.path() / "a", "V B980105IBM\r\n");
    WriteFile(dir.path() / "config" / "ledra" / "VEXA.INI",
              "[config]\nhome_dir=" + dir.path().string() +
                  "\n[files]\ninputfile=a\noutputfile=answers.txt\n"
                  "[app]\nusetimer=Y\nwaittime=25:99\nwaitdate=1998/12/08\n");
    ProgramProcess program(dir.path(), "vexa32");
    EXPECT_EQ(program.WaitForExit(15), feedbatch::kExitIncomplete) << program.Errors();
    EXPECT_THAT(program.Errors(), HasSubstr("VEXA32: 25:99 Is not a valid time\n"));
    EXPECT_THAT(FileLines(dir.path() / "vexa.log"), Contains("25:99 Is not a valid time"));
}

class BatchPortLockTest : public BatchTest {};

TEST_F(BatchPortLockTest, SecondCopyOnTheSamePortIsRefusedAndTheFirstSessionGoesOn) {
    UsePeer("");
    // The first session: this process, connected through the peer's modem.
    ASSERT_EQ(Request("CONNECT,NOICON"), 1);
    ASSERT_EQ(peer_->LoggedInAs(), "joe");

    // A second copy of the program with its own settings, which map its COM2
    // to the same device.
    const fs::path other = Dir() / "other";
    fs::create_directories(other / "config" / "ledra");
    WriteFile(other / "qordata.par", kParams);
    feedtest::CopyErrorTexts(other);
    WriteFile(other / "a", "V B980105IBM\r\n");
    WriteFile(other / "config" / "ledra" / "VEXA.INI",
              "[config]\nhome_dir=" + other.string() +
                  "\n[files]\ninputfile=a\noutputfile=answers.txt\n[app]\nusetimer=N\n[ports]\nCOM2=" +
                  peer_->DevicePath() + "\n");
    ProgramProcess second(other, "second");
    EXPECT_EQ(second.WaitForExit(20), feedbatch::kExitIncomplete) << second.Errors();
    const Strings second_log = FileLines(other / "vexa.log");
    EXPECT_THAT(second_log, Contains("ERROR -101: Unable to open the serial port"));
    EXPECT_THAT(second.Errors(), HasSubstr("VEXA32: ERROR -101: Unable to open the serial port\n"));
    EXPECT_FALSE(fs::exists(other / "answers.txt"));

    // The first session's line is as it was: no modem command of the second
    // copy reached it, and its requests are answered in full.
    peer_->Settle();
    EXPECT_THAT(peer_->Commands(), ElementsAre("ATZ", "ATZ", "ATDT5551234"));
    ASSERT_EQ(Request("OUTPUT=answers.txt,INPUT=a"), 1);
    EXPECT_EQ(ReadFile(Dir() / "answers.txt"), "IBM,105.25,X\r\nIBM,105.25,1.5\r\n");
    EXPECT_THAT(peer_->Requests(), ElementsAre("V B980105IBM", "J980105IBM"));
    EXPECT_EQ(Request("HANGUP"), 1);
    peer_->Settle();
    EXPECT_EQ(peer_->ClosingReason(), "66");
}

}  // namespace
}  // namespace batchtest
