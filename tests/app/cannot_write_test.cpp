// The program on a data directory it cannot write: a full disk, a read-only
// medium and a folder without permission, each a real file system or folder
// of its own (tests/fixtures/unwritable_folder.h). The program runs in a
// child process as the ledra_script tool, its start-up answered by a
// --startup script; the scripts check the messages to the character, and
// the test compares the files the case left with those it started from.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/options.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/unwritable_folder.h"
#include "tests/tools/program_run.h"

namespace {

namespace fs = std::filesystem;
using fixtures::TempDataDir;
using fixtures::UnwritableFolder;
using Kind = UnwritableFolder::Kind;

// The sample firm, in the current directory, with option 72 choosing the
// appraisal's side files (3: the pie charts; 0: SUMMARY.DAT) and without
// the start-up text's window.
void WriteSampleFirm(int export_type) {
    fixtures::TempDataDir::CopySampleFirm();
    records::Options options = records::Rdopts();
    records::SetOption(options, records::Opt::kAppraisalExportType, export_type);
    records::SetOption(options, records::Opt::kStartupTutorial, 0);
    records::Wropts(options);
}

// The account appraisal (103) of every account as of 12/31/98 into
// REPORT.TXT, or to the display; `after` follows the dialog.
std::string AppraisalScript(bool to_file, const std::string& after) {
    return std::string("menu \"Position Reports/Account Appraisal\"\n"
                       "dialog 123\n"
                       "  check 1170 on\n"
                       "  set 1162 \"12/31/98\"\n") +
           (to_file ? "  click 1174\n  set 1167 \"REPORT.TXT\"\n" : "") +
           "  click 1169\n"
           "closed\n" +
           after;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Diagnostic(const std::string& text) {
    return "message " + Quoted(text) + " \"Report Diagnostic\" ok\n";
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The program, reached through a folder that no other user may enter, as
// a build in root's home is; placed there before any case's child runs.
const std::string g_tool = fixtures::InPrivateFolder(LEDRA_SCRIPT_TOOL);

// Plays the script against the program in the current directory (the
// case's folder) on 12/31/98, start-up answered by the start-up script;
// the failures, empty when the script ran through.
std::string Play(const fs::path& scratch, const std::string& startup, const std::string& script) {
    return fixtures::PlayScript(g_tool, scratch, "1998-12-31", startup, script);
}

// The answer to the start-up's message on a folder that cannot be written,
// its text as the program words it for the folder it runs in.
std::string StartupMessage(Kind kind) {
    const std::string folder = "\"" + fs::current_path().string() + "\"";
    const std::string what =
        "reports, postings, the data base update, set-up changes and the program date will not work";
    std::string text;
    switch (kind) {
        case Kind::kReadOnly:
            text = "The data directory " + folder + " is read-only.\nNothing can be written to it: " + what + ".";
            break;
        case Kind::kFullDisk:
            text = "The disk of the data directory " + folder + " is full.\nNothing more can be written to it: " +
                   what + " until there is space again.";
            break;
        case Kind::kNoPermission:
            text = "There is no permission to write in the data directory " + folder +
                   ".\nNothing can be written to it: " + what + ".";
            break;
    }
    return "message " + Quoted(text) + " \"TREL1\" ok\n";
}

std::string Bytes(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The files of a folder by name, with their bytes.
std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// The account appraisal of every account into REPORT.TXT over the previous
// run's REPORT.TXT, on a disk that fills at several points of the run: at
// once, with some kilobytes free, with room for the report but not for its
// copy. The earlier REPORT.TXT and the side files (SUMMARY.DAT, or the two
// pie chart files) are kept byte for byte, nothing is left beside them,
// and the message names REPORT.TXT first, says the disk is full and names
// every earlier file kept (a side file whose new copy was written and went
// with the run is kept, not one that could not be written).
TEST(CannotWrite, AnAppraisalToAFileOnAFullDiskKeepsTheEarlierFiles) {
    struct Case {
        const char* name;
        std::size_t free_kb;
        int export_type;
        bool work_file_kept;  // the earlier run's OUTPUT.TMP is there (its room comes free)
        const char* message;
    };
    const Case cases[] = {
        {"no free space", 0, 0, true,
         "Could not write REPORT.TXT and OUTPUT.TMP: the disk is full. The earlier REPORT.TXT and SUMMARY.DAT "
         "are kept."},
        {"no free space, no earlier work file", 0, 0, false,
         "Could not write REPORT.TXT, CCONTROL.FIL, OUTPUT.TMP, TEMP1.WRK and TEMPHSUM.FIL: the disk is full. The "
         "earlier REPORT.TXT and SUMMARY.DAT are kept."},
        {"8 KB free, pie charts", 8, 3, true,
         "Could not write REPORT.TXT and OUTPUT.TMP: the disk is full. The earlier REPORT.TXT, PIECHART.OUT and "
         "PIECHRT1.OUT are kept."},
        {"32 KB free, pie charts, no earlier work file", 32, 3, false,
         "Could not write REPORT.TXT, OUTPUT.TMP and TEMPHSUM.FIL: the disk is full. The earlier REPORT.TXT, "
         "PIECHART.OUT and PIECHRT1.OUT are kept."},
        {"room for the report, not for its copy", 256, 0, true,
         "Could not write REPORT.TXT: the disk is full. The earlier REPORT.TXT and SUMMARY.DAT are kept."},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir data;
        WriteSampleFirm(c.export_type);
        {
            tools::ProgramRun run(data.path(), {tools::LocalDate(1998, 12, 31)});
            ASSERT_TRUE(run.Started());
            EXPECT_TRUE(run.RunScript(AppraisalScript(true, "exists REPORT.TXT\n")));
            for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
        }
        if (!c.work_file_kept) fs::remove("OUTPUT.TMP");
        std::map<std::string, std::string> earlier = FolderFiles(data.path());
        // The start-up's probe takes a byte: it finds the disk full only
        // when nothing is free.
        const bool disk_full_at_startup = c.free_kb == 0;
        const std::string message = c.message;
        const auto run = fixtures::RunInUnwritableFolder(
            {Kind::kFullDisk, c.free_kb}, data.path(), [&](const fs::path& scratch) {
                return Play(scratch, disk_full_at_startup ? StartupMessage(Kind::kFullDisk) : "",
                            AppraisalScript(true, Diagnostic(message)));
            });
        if (!run.skipped().empty()) {
            skipped += std::string(c.name) + ": " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), "");
        for (const char* name : {"REPORT.TXT", "SUMMARY.DAT", "PIECHART.OUT", "PIECHRT1.OUT"}) {
            if (earlier.count(name) == 0) {
                EXPECT_FALSE(run.LeftFile(name)) << name;
                continue;
            }
            EXPECT_TRUE(Bytes(run.After(name)) == earlier[name])
                << name << " holds " << run.After(name).size() << " bytes, not the earlier "
                << earlier[name].size();
            EXPECT_FALSE(run.LeftFile(std::string(name) + ".new")) << name;
        }
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// The accounts' holdings, gains and transaction files of a folder (its
// work files HL.TMP and GL.TMP aside), which a case must leave as they
// were.
std::map<std::string, std::string> AccountFiles(const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> kept;
    for (const auto& [name, bytes] : files) {
        const bool account_file = name.rfind("HL", 0) == 0 || name.rfind("GL", 0) == 0 || name.rfind("TR", 0) == 0;
        if (account_file && fs::path(name).extension() != ".TMP") kept[name] = bytes;
    }
    return kept;
}

// The update's work files: a rebuild that went through moved them over
// the account's files, and the update removes those of one that failed.
constexpr const char* kUpdateWorkFiles[] = {"HL.TMP", "GL.TMP", "HL.EXT"};

// What each run says on a folder it cannot write at all: which files and
// why, never "This item is not available.", and no window for a report
// whose lines could not be written. The start-up's own warning comes
// first, as it was.
TEST(CannotWrite, RunsOnAFolderThatCannotBeWrittenSayWhichFilesAndWhy) {
    struct Case {
        const char* name;
        Kind kind;
        std::string script;
    };
    const std::string import =
        "menu \"Pricing/Import\"\n"
        "dialog 181\n"
        "  set 1095 \"PRICES.TXT\"\n"
        "  select 1375 0\n"
        "  click 3\n"
        "closed\n";
    const std::vector<Case> cases = {
        {"the appraisal to the display, read-only", Kind::kReadOnly,
         AppraisalScript(false, Diagnostic("Could not create CCONTROL.FIL, OUTPUT.TMP, SUMMARY.DAT and TEMP1.WRK: "
                                           "the data directory is read-only.") +
                                    "children 1\n")},
        {"the appraisal to a file, read-only", Kind::kReadOnly,
         AppraisalScript(true, Diagnostic("Could not create REPORT.TXT, CCONTROL.FIL, OUTPUT.TMP, SUMMARY.DAT and "
                                          "TEMP1.WRK: the data directory is read-only.") +
                                   "missing REPORT.TXT\n")},
        {"the update of the data base, read-only", Kind::kReadOnly,
         "menu \"Utilities/Update Data Base\"\n" +
             Diagnostic("Could not create OUTPUT.TMP: the data directory is read-only. No account was rebuilt: each "
                        "keeps its holdings and gains files.") +
             "children 1\n"},
        {"the price import, read-only", Kind::kReadOnly,
         import + Diagnostic("Could not create OUTPUT.TMP and SE121598.PRC: the data directory is read-only.") +
             "children 1\n"},
        {"the appraisal to the display, full disk", Kind::kFullDisk,
         AppraisalScript(false, Diagnostic("Could not write CCONTROL.FIL, OUTPUT.TMP, TEMP1.WRK and TEMPHSUM.FIL: "
                                           "the disk is full.") +
                                    "children 1\n")},
        {"the price import, full disk", Kind::kFullDisk,
         import + Diagnostic("Could not write OUTPUT.TMP and SE121598.PRC: the disk is full.") + "children 1\n"},
        {"the appraisal to the display, no permission", Kind::kNoPermission,
         AppraisalScript(false, Diagnostic("Could not create CCONTROL.FIL, OUTPUT.TMP, SUMMARY.DAT and TEMP1.WRK: "
                                           "permission denied.") +
                                    "children 1\n")},
        {"the update of the data base, no permission", Kind::kNoPermission,
         "menu \"Utilities/Update Data Base\"\n" +
             Diagnostic("Could not create OUTPUT.TMP: permission denied. No account was rebuilt: each keeps its "
                        "holdings and gains files.") +
             "children 1\n"},
    };
    TempDataDir data;
    WriteSampleFirm(0);
    WriteText("PRICES.TXT", "IBM         12/15/98    123.4567\r\nMSFT        12/15/98     98.1250\r\n");
    const std::map<std::string, std::string> before = FolderFiles(data.path());
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Kind kind = c.kind;
        const std::string script = c.script;
        const auto run = fixtures::RunInUnwritableFolder({kind}, data.path(), [&](const fs::path& scratch) {
            return Play(scratch, StartupMessage(kind), script);
        });
        if (!run.skipped().empty()) {
            skipped += std::string(c.name) + ": " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), "");
        EXPECT_TRUE(AccountFiles(FolderFiles(run.after())) == AccountFiles(before));
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// A program date typed into the date bar that cannot be saved says so,
// once: the date goes on being stored before every command, unchanged.
TEST(CannotWrite, AProgramDateThatCannotBeSavedIsTold) {
    TempDataDir data;
    WriteSampleFirm(0);
    const auto run = fixtures::RunInUnwritableFolder({Kind::kReadOnly}, data.path(), [](const fs::path& scratch) {
        return Play(scratch, StartupMessage(Kind::kReadOnly),
                    "set 61447 \"12/30/98\"\n"
                    "leave\n"
                    "message \"The program date 12/30/98 could not be saved in COMMON.FIL: the data directory "
                    "is read-only.\" \"TREL1\" ok\n"
                    "leave\n"
                    "command 32800\n"
                    "dialog 123\n"
                    "  expect-text 1162 \"12/30/98\"\n"
                    "  click 2\n"
                    "closed\n");
    });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "");
}

// The update of the data base with no free space rebuilds no account: each
// keeps its holdings and gains files byte for byte, and the message, the
// report's warning lines being what could not be written, says so. The
// update leaves no work file behind.
TEST(CannotWrite, AnUpdateWithNoFreeSpaceSaysNoAccountWasRebuilt) {
    TempDataDir data;
    WriteSampleFirm(0);
    const std::map<std::string, std::string> before = AccountFiles(FolderFiles(data.path()));
    const auto run = fixtures::RunInUnwritableFolder({Kind::kFullDisk, 0}, data.path(), [](const fs::path& scratch) {
        return Play(scratch, StartupMessage(Kind::kFullDisk),
                    "menu \"Utilities/Update Data Base\"\n" +
                        Diagnostic("Could not write OUTPUT.TMP: the disk is full. No account was rebuilt: each keeps "
                                   "its holdings and gains files.") +
                        "children 1\n");
    });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "");
    const std::map<std::string, std::string> after = AccountFiles(FolderFiles(run.after()));
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before) EXPECT_TRUE(after.at(name) == bytes) << name << " changed";
    for (const char* work : kUpdateWorkFiles) EXPECT_FALSE(run.LeftFile(work)) << work;
}

// The update of the data base with a little space: the report's lines go
// out, the rebuilt holdings and gains files do not, and the message says
// so and why, as with none; each account keeps its files byte for byte,
// and the work files written for the last account are not left behind.
TEST(CannotWrite, AnUpdateWithALittleSpaceSaysWhyNoAccountWasRebuilt) {
    struct Case {
        std::size_t free_kb;
        const char* message;
    };
    const Case cases[] = {
        {4,
         "The rebuilt holdings and gains files could not be put in place: the disk is full. No account was "
         "rebuilt: each keeps its holdings and gains files."},
        {8,
         "The rebuilt holdings and gains files could not be put in place: the disk is full. No account was "
         "rebuilt: each keeps its holdings and gains files."},
    };
    TempDataDir data;
    WriteSampleFirm(0);
    const std::map<std::string, std::string> before = AccountFiles(FolderFiles(data.path()));
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.free_kb) + " KB free");
        const std::string message = c.message;
        const auto run = fixtures::RunInUnwritableFolder(
            {Kind::kFullDisk, c.free_kb}, data.path(), [&message](const fs::path& scratch) {
                return Play(scratch, "",
                            "menu \"Utilities/Update Data Base\"\n" + Diagnostic(message) + "children 2\n");
            });
        if (!run.skipped().empty()) {
            skipped += std::to_string(c.free_kb) + " KB: " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), "");
        const std::map<std::string, std::string> after = AccountFiles(FolderFiles(run.after()));
        ASSERT_EQ(after.size(), before.size());
        for (const auto& [name, bytes] : before) EXPECT_TRUE(after.at(name) == bytes) << name << " changed";
        for (const char* work : kUpdateWorkFiles) EXPECT_FALSE(run.LeftFile(work)) << work;
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

// A price import on a full disk into price files that are there: the
// prices go in (a price file is written in place), its report does not,
// and the message says both; the earlier copy of the report is kept.
TEST(CannotWrite, APriceImportWhosePricesWentInSaysSo) {
    TempDataDir data;
    WriteSampleFirm(0);
    const std::string import =
        "menu \"Pricing/Import\"\n"
        "dialog 181\n"
        "  set 1095 \"PRICES.TXT\"\n"
        "  select 1375 0\n"
        "  click 1174\n"
        "  set 1167 \"IMPORT.TXT\"\n"
        "  click 3\n"
        "closed\n";
    WriteText("PRICES.TXT", "IBM         12/31/98    123.4567\r\nMSFT        12/31/98     98.1250\r\n");
    {
        tools::ProgramRun run(data.path(), {tools::LocalDate(1998, 12, 31)});
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.RunScript(import + "exists IMPORT.TXT\n"));
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    }
    WriteText("PRICES.TXT", "IBM         12/31/98    130.0000\r\nMSFT        12/31/98    100.5000\r\n");
    const std::map<std::string, std::string> earlier = FolderFiles(data.path());
    const auto run = fixtures::RunInUnwritableFolder({Kind::kFullDisk, 0}, data.path(), [&](const fs::path& scratch) {
        return Play(scratch, StartupMessage(Kind::kFullDisk),
                    import + Diagnostic("Could not write IMPORT.TXT: the disk is full. The earlier IMPORT.TXT is "
                                        "kept. The prices were imported: 2 prices filed for 12/31/98; only the "
                                        "report could not be written.") +
                        "children 1\n");
    });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "");
    EXPECT_TRUE(Bytes(run.After("IMPORT.TXT")) == earlier.at("IMPORT.TXT"));
    EXPECT_FALSE(Bytes(run.After("SE123198.PRC")) == earlier.at("SE123198.PRC"));
}

// What start-up shows is answered by the tool's --startup script: a
// damaged COMMON.FIL (which any folder can hold) fails a run without it.
TEST(CannotWrite, TheToolAnswersStartupFromItsStartupScript) {
    TempDataDir data;
    WriteText("COMMON.FIL", std::string(100, ' '));
    const std::string damage = "message " +
                               Quoted("COMMON.FIL in \"" + data.path().string() +
                                      "\" is damaged: its size, 100 bytes, is not a whole number of 128-byte "
                                      "records.\nA copy was kept as COMMON.FIL.BAD. The program goes on with what "
                                      "can be read.") +
                               " \"TREL1\" ok\n";
    WriteText("startup.script", damage);
    WriteText("case.script", "children 1\n");
    const std::vector<std::string> plain = {LEDRA_SCRIPT_TOOL, "--today", "1998-12-31", ".", "case.script"};
    const fixtures::ToolRun without = fixtures::RunTool(plain);
    EXPECT_EQ(without.status, 1) << without.output;
    EXPECT_NE(without.output.find("start-up: unexpected message box \"TREL1\""), std::string::npos) << without.output;
    WriteText("COMMON.FIL", std::string(100, ' '));
    const fixtures::ToolRun with = fixtures::RunTool(
        {LEDRA_SCRIPT_TOOL, "--today", "1998-12-31", "--startup", "startup.script", ".", "case.script"});
    EXPECT_EQ(with.status, 0) << with.output;
}

// Start-up on a full disk says so (not "read-only") and leaves no probe
// file behind.
TEST(CannotWrite, StartupOnAFullDiskSaysSoAndLeavesNoProbe) {
    TempDataDir data;
    WriteSampleFirm(0);
    const auto run = fixtures::RunInUnwritableFolder({Kind::kFullDisk, 0}, data.path(), [](const fs::path& scratch) {
        return Play(scratch, StartupMessage(Kind::kFullDisk), "children 1\n");
    });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "");
    EXPECT_FALSE(run.LeftFile("LEDRA.WR$"));
}

}  // namespace
