// Files that cannot be written, on real file systems of their own (a full
// tmpfs, a read-only one, a folder without permission: see
// tests/fixtures/unwritable_folder.h): a run keeps each file it could not
// create or write with the reason, and a copy into the user's file is put
// in place only when it was written whole by a run that lost nothing.

#include "records/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/unwritable_folder.h"

namespace {

namespace fs = std::filesystem;
using fixtures::TempDataDir;
using fixtures::UnwritableFolder;
using namespace records;
using Kind = UnwritableFolder::Kind;

const char* FaultName(WriteFault fault) {
    switch (fault) {
        case WriteFault::kReadOnly:
            return "read-only";
        case WriteFault::kDiskFull:
            return "disk full";
        case WriteFault::kNoPermission:
            return "no permission";
        case WriteFault::kOther:
            break;
    }
    return "other";
}

// The failures as the child hands them back: "NAME create|write FAULT", a
// line each.
std::string Listed(const std::vector<FailedWrite>& failed) {
    std::string text;
    for (const FailedWrite& f : failed)
        text += fs::path(f.path).filename().string() + (f.creating ? " create " : " write ") +
                FaultName(f.fault) + "\n";
    return text;
}

std::string ReportLines(int count) {
    std::string lines;
    for (int n = 1; n <= count; ++n) {
        std::string line = " LINE " + std::to_string(n);
        line.resize(kReportLineWidth, ' ');
        lines += line;
    }
    return lines;
}

// The cause a failure is told as, from the system's error number: a full
// quota is the user's full disk as a full disk is, a refusal of the
// folder's or the file's modes is no permission, and what the program
// names no cause for (a failing device, a file too large for the user's
// limit) is another cause.
TEST(WriteFailures, EachErrorNumberIsToldAsItsCause) {
    struct Case {
        const char* name;
        int error;
        WriteFault fault;
    };
    const Case cases[] = {
        {"EROFS", EROFS, WriteFault::kReadOnly},     {"ENOSPC", ENOSPC, WriteFault::kDiskFull},
        {"EDQUOT", EDQUOT, WriteFault::kDiskFull},   {"EACCES", EACCES, WriteFault::kNoPermission},
        {"EPERM", EPERM, WriteFault::kNoPermission}, {"EIO", EIO, WriteFault::kOther},
        {"EFBIG", EFBIG, WriteFault::kOther},        {"EISDIR", EISDIR, WriteFault::kOther},
    };
    for (const Case& c : cases) EXPECT_STREQ(FaultName(FaultOfError(c.error)), FaultName(c.fault)) << c.name;
}

// Within a run every file that could not be created, opened for writing or
// written is kept with the reason the system gave; outside a run the
// failing write tells its caller and nothing is kept, unless a
// KeepFailedWrites asks for it.
TEST(WriteFailures, EachFileThatCouldNotBeWrittenIsKeptWithWhy) {
    TempDataDir data;
    TempDataDir::WriteBytes("OLD.DAT", std::vector<unsigned char>(128, 'o'));
    TempDataDir::WriteBytes("OLD.TXT", {'o', 'l', 'd', '\r', '\n'});
    struct Case {
        const char* name;
        UnwritableFolder folder;
        const char* expected;
    };
    const Case cases[] = {
        {"read-only medium",
         {Kind::kReadOnly},
         "BLOCKS.DAT create read-only\nNEW.DAT create read-only\nNEW.TXT create read-only\n"
         "OLD.DAT write read-only\nOLD.TXT write read-only\noutside a run: nothing kept\n"
         "kept: AGAIN.DAT create read-only\n"},
        {"full disk",
         {Kind::kFullDisk, 0},
         "BLOCKS.DAT write disk full\nNEW.DAT write disk full\nNEW.TXT write disk full\n"
         "OLD.DAT write disk full\nOLD.TXT write disk full\noutside a run: nothing kept\n"
         "kept: AGAIN.DAT write disk full\n"},
        {"no permission",
         {Kind::kNoPermission},
         "BLOCKS.DAT create no permission\nNEW.DAT create no permission\nNEW.TXT create no permission\n"
         "OLD.DAT write no permission\nOLD.TXT write no permission\noutside a run: nothing kept\n"
         "kept: AGAIN.DAT create no permission\n"},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = fixtures::RunInUnwritableFolder(c.folder, data.path(), [](const fs::path&) {
            const std::string long_line(6000, 'x');  // past the page the old text file has
            {
                RunFileCache run;
                DirectFile created("NEW.DAT", 128);
                created.Write(1, Record(128, 'n'));
                DirectFile old("OLD.DAT", 128);
                old.Write(40, Record(128, 'o'));  // past its end
                TextFile text("NEW.TXT");
                text.WriteLine(long_line);
                TextFile old_text("OLD.TXT");
                old_text.WriteLine(long_line);
                // Records written in one block, as the replay writes its
                // work files.
                DirectFile blocks("BLOCKS.DAT", 128);
                const std::vector<unsigned char> block(40 * 128, 'b');
                blocks.WriteRecords(1, block.data(), 40);
            }
            std::string said = Listed(TakeFailedWrites());
            {
                DirectFile later("LATER.DAT", 128);
                if (later.Write(1, Record(128, 'l'))) said += "a write outside a run went through\n";
            }
            said += TakeFailedWrites().empty() ? "outside a run: nothing kept\n" : "outside a run: kept\n";
            {
                KeepFailedWrites keep;
                DirectFile again("AGAIN.DAT", 128);
                again.Write(1, Record(128, 'a'));
                said += "kept: " + Listed(TakeFailedWrites());
            }
            return said;
        });
        if (!run.skipped().empty()) {
            skipped += std::string(c.name) + ": " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), c.expected);
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// A report copied into the user's file (Acopy) that cannot be written
// whole, at any free space short of the copy, on a read-only medium or
// without permission, leaves the earlier file byte for byte and nothing
// beside it; the run names the user's file and why. So does a copy that
// would fit but comes from a run that lost lines of its report: the disk
// was full while the report was written and had room again for the copy.
TEST(WriteFailures, ACopyThatCannotBeWrittenWholeKeepsTheEarlierFile) {
    TempDataDir data;
    const std::string lines = ReportLines(1500);  // about 200 KB, copied about 203 KB
    TempDataDir::WriteBytes("OUTPUT.TMP", std::vector<unsigned char>(lines.begin(), lines.end()));
    const std::vector<unsigned char> earlier(40000, 'E');
    TempDataDir::WriteBytes("TARGET.TXT", earlier);
    struct Case {
        const char* name;
        UnwritableFolder folder;
        bool lines_lost;  // the run writes the report itself on the full disk, then frees the disk
        const char* expected;
    };
    const Case cases[] = {
        {"no free space", {Kind::kFullDisk, 0}, false, "TARGET.TXT write disk full\n"},
        {"8 KB free", {Kind::kFullDisk, 8}, false, "TARGET.TXT write disk full\n"},
        {"100 KB free", {Kind::kFullDisk, 100}, false, "TARGET.TXT write disk full\n"},
        {"read-only medium", {Kind::kReadOnly}, false, "TARGET.TXT write read-only\n"},
        {"no permission", {Kind::kNoPermission}, false, "TARGET.TXT write no permission\n"},
        {"the report lost lines", {Kind::kFullDisk, 100}, true,
         "OUTPUT.TMP write disk full\nTARGET.TXT write disk full\n"},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool lines_lost = c.lines_lost;
        const auto run = fixtures::RunInUnwritableFolder(c.folder, data.path(), [lines_lost](const fs::path&) {
            {
                RunFileCache run;
                if (lines_lost) {
                    std::string name;
                    Prtout("", "START", name);
                    // Twice the report the folder holds: more than its room
                    // and the free space together.
                    for (int n = 1; n <= 3000; ++n) Prtout(" LINE " + std::to_string(n));
                    Prtout("", "END", name);
                    ::unlink(".filler");  // room for the copy again
                }
                Acopy(kReportWorkFile, "TARGET.TXT");
            }
            return Listed(TakeFailedWrites());
        });
        if (!run.skipped().empty()) {
            skipped += std::string(c.name) + ": " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), c.expected);
        const std::vector<unsigned char> target = run.After("TARGET.TXT");
        EXPECT_TRUE(target == earlier) << "TARGET.TXT holds " << target.size() << " bytes, not the earlier "
                                       << earlier.size();
        EXPECT_FALSE(run.LeftFile("TARGET.TXT.new"));
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// A work file whose writes were lost is found by its name once, and is
// then its caller's: the end of the run does not tell it again. A work
// file written whole, and one that is not there, have lost nothing.
TEST(WriteFailures, LostWritesOfAWorkFileAreTakenByItsCaller) {
    TempDataDir data;
    TempDataDir::WriteBytes("WHOLE.TMP", std::vector<unsigned char>(128, 'w'));
    const auto run = fixtures::RunInUnwritableFolder({Kind::kFullDisk, 0}, data.path(), [](const fs::path&) {
        std::string said;
        {
            RunFileCache run;
            DirectFile work("WORK.TMP", 128);
            for (long n = 1; n <= 40; ++n) work.Write(n, Record(128, 'w'));
        }
        said += TakeLostWrites("WORK.TMP") ? "WORK.TMP lost\n" : "WORK.TMP whole\n";
        said += TakeLostWrites("WORK.TMP") ? "WORK.TMP lost again\n" : "WORK.TMP taken\n";
        said += TakeLostWrites("WHOLE.TMP") ? "WHOLE.TMP lost\n" : "WHOLE.TMP whole\n";
        said += TakeLostWrites("NONE.TMP") ? "NONE.TMP lost\n" : "NONE.TMP whole\n";
        return said + "left: " + Listed(TakeFailedWrites());
    });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "WORK.TMP lost\nWORK.TMP taken\nWHOLE.TMP whole\nNONE.TMP whole\nleft: ");
}

// A work file deleted by name on a folder that cannot be written stays as
// it was, quietly: the deletion is no write that failed, so nothing is
// kept for the run's end to tell, and a file that is not there is not
// made by it.
TEST(WriteFailures, AWorkFileThatCannotBeDeletedStaysUntold) {
    TempDataDir data;
    TempDataDir::WriteBytes("WORK.TMP", std::vector<unsigned char>(128, 'w'));
    std::string skipped;
    for (const Kind kind : {Kind::kReadOnly, Kind::kNoPermission}) {
        SCOPED_TRACE(kind == Kind::kReadOnly ? "read-only medium" : "no permission");
        const auto run = fixtures::RunInUnwritableFolder({kind}, data.path(), [](const fs::path&) {
            std::string said;
            {
                RunFileCache run;
                said += DeleteFile("WORK.TMP") ? "WORK.TMP deleted\n" : "WORK.TMP kept\n";
                said += DeleteFile("NONE.TMP") ? "NONE.TMP deleted\n" : "NONE.TMP not there\n";
            }
            return said + "left: " + Listed(TakeFailedWrites());
        });
        if (!run.skipped().empty()) {
            skipped += run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), "WORK.TMP kept\nNONE.TMP not there\nleft: ");
        EXPECT_EQ(run.After("WORK.TMP"), std::vector<unsigned char>(128, 'w'));
        EXPECT_FALSE(run.LeftFile("NONE.TMP"));
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// On a disk with room the copy is written beside the target and renamed
// over it: the target holds the new lines and nothing is left beside it;
// a line file without a record gives an empty file.
TEST(WriteFailures, ACopyWithRoomReplacesTheTarget) {
    TempDataDir dir;
    const std::string lines = ReportLines(3);
    TempDataDir::WriteBytes("OUTPUT.TMP", std::vector<unsigned char>(lines.begin(), lines.end()));
    TempDataDir::WriteBytes("TARGET.TXT", std::vector<unsigned char>(40000, 'E'));
    {
        RunFileCache run;
        Acopy(kReportWorkFile, "TARGET.TXT");
    }
    EXPECT_TRUE(TakeFailedWrites().empty());
    const std::vector<unsigned char> copy = TempDataDir::ReadBytes("TARGET.TXT");
    ASSERT_EQ(copy.size(), 3 * (kReportLineWidth + 2));
    EXPECT_EQ(std::string(copy.begin(), copy.begin() + 7), " LINE 1");
    EXPECT_FALSE(TempDataDir::Exists("TARGET.TXT.new"));
    TempDataDir::WriteBytes("OUTPUT.TMP", {});
    Acopy(kReportWorkFile, "TARGET.TXT");
    EXPECT_TRUE(TempDataDir::ReadBytes("TARGET.TXT").empty());
}

}  // namespace
