// One copy of the batch program at a time: the lock beside VEXA.INI between
// holders in separate processes, and the VEXA32 program itself started
// twice: the second copy refuses to run and leaves the first one's files
// alone; once the first has gone, the next copy runs.

#include "feedbatch/single_instance.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/feedbatch/batch_fixture.h"
#include "tests/feedbatch/program_process.h"

namespace batchtest {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

// Tries the lock in a child process: 0 when the child got it, 1 when it was
// refused.
int LockInChild(const fs::path& path, bool keep_until_killed = false, pid_t* child = nullptr) {
    const pid_t pid = fork();
    if (pid == 0) {
        feedbatch::SingleInstanceLock lock;
        const bool held = lock.Acquire(path);
        if (keep_until_killed && held) pause();
        _exit(held ? 0 : 1);
    }
    if (child) {
        *child = pid;
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstanceLockTest, OneHolderAtATime) {
    fixtures::TempDataDir dir;
    const fs::path path = dir.path() / "config" / "ledra" / "VEXA32.lck";
    feedbatch::SingleInstanceLock first;
    ASSERT_TRUE(first.Acquire(path)) << first.Error();
    EXPECT_TRUE(first.Held());

    EXPECT_EQ(LockInChild(path), 1);
    // A second holder in the same process is refused too.
    feedbatch::SingleInstanceLock second;
    EXPECT_FALSE(second.Acquire(path));
    EXPECT_THAT(second.Error(), HasSubstr("another copy is running"));

    first.Release();
    EXPECT_EQ(LockInChild(path), 0);

    // A holder that dies without letting go frees the lock all the same.
    pid_t holder = 0;
    LockInChild(path, true, &holder);
    bool refused = false;
    for (int i = 0; i < 200 && !refused; ++i) {
        refused = !second.Acquire(path);
        if (!refused) second.Release();
        if (!refused) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(refused) << "the child never took the lock";
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(second.Acquire(path)) << second.Error();
}

TEST(SingleInstanceProgramTest, SecondCopyRefusesWhileTheFirstRuns) {
    fixtures::TempDataDir dir;
    const fs::path ini = dir.path() / "config" / "ledra" / "VEXA.INI";
    const fs::path log = dir.path() / "vexa.log";
    fs::create_directories(ini.parent_path());
    WriteFile(dir.path() / "qordata.par", "[app]\ncall type = dialup\n");
    WriteFile(dir.path() / "a", "V B980105IBM\r\n");
    const std::string settings = "[config]\nhome_dir=" + dir.path().string() +
                                 "\n[files]\ninputfile=a\noutputfile=answers.txt\n"
                                 "[app]\nusetimer=Y\nwaittime=18:30\nwaitdate=";
    // The first copy waits for a day far ahead.
    WriteFile(ini, settings + "2099/12/31\n");
    ProgramProcess first(dir.path(), "first");
    ASSERT_TRUE(WaitForText(log, "Waiting Till: 18:30 on 2099/12/31", 15)) << first.Errors();
    const std::string first_log = ReadFile(log);

    // The second copy refuses to run and touches neither log nor answers
    // (its settings would have it delete the log first).
    ProgramProcess second(dir.path(), "second");
    EXPECT_EQ(second.WaitForExit(15), 1);
    EXPECT_THAT(second.Errors(), HasSubstr("another copy is running"));
    EXPECT_EQ(ReadFile(log), first_log);
    EXPECT_FALSE(fs::exists(dir.path() / "answers.txt"));

    // With the first copy gone, the next one runs: a bad date ends it at its
    // first tick, without a transfer.
    first.Terminate();
    WriteFile(ini, settings + "1997-02-29\n");
    ProgramProcess third(dir.path(), "third");
    EXPECT_EQ(third.WaitForExit(15), feedbatch::kExitIncomplete) << third.Errors();
    EXPECT_THAT(FileLines(log), Contains("February 29, 1997 is not a valid day"));
    EXPECT_THAT(FileLines(log), Not(Contains("Waiting Till: 18:30 on 2099/12/31")));
}

}  // namespace
}  // namespace batchtest
