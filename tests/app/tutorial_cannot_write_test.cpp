// The Getting Started Tutorial on a data directory the program cannot
// write: a read-only medium, a folder without permission and a full disk
// (tests/fixtures/unwritable_folder.h), beside a folder it can write. The
// program runs as the ledra_script tool in the case's folder; its script
// reads the lines the tutorial window shows, turns the tutorial off with
// Disable and Done and checks what the program says about it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/options.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/unwritable_folder.h"

namespace {

namespace fs = std::filesystem;
using fixtures::TempDataDir;
using Kind = fixtures::UnwritableFolder::Kind;
using Bytes = std::vector<unsigned char>;

const std::vector<std::string> kTutorial = {"WELCOME TO LEDRA", "", "Start with Setup/Security.",
                                            std::string(140, 'x')};

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The tutorial's text and its option turned on, in the current directory.
void WriteTutorialFolder() {
    fixtures::SetOptions({{records::Opt::kStartupTutorial, 1}});
    std::string text;
    for (const std::string& line : kTutorial) text += line + "\r\n";
    WriteText("startup.txt", text);
}

// The script: the window shows every line of the text (the long one cut to
// its 132 characters), then Disable and Done, answered by `after_done`; the
// window has closed and the program goes on without another message.
std::string TutorialScript(const std::string& after_done) {
    const std::string window = "child \"Getting Started Tutorial\" ";
    std::string script = "children 2\n";
    for (std::size_t n = 0; n < kTutorial.size(); ++n)
        script +=
            window + "expect-shown " + std::to_string(n + 1) + " \"" + kTutorial[n].substr(0, 132) + "\"\n";
    return script + window + "check 53 on\n" + window + "click 50\n" + after_done +
           "children 1\n"
           "leave\n"
           "menu \"Help/About TREL1...\"\n"
           "dialog 100\n"
           "  click 1\n"
           "closed\n";
}

// The program, reached through a folder that no other user may enter, as
// a build in root's home is; placed there before any case's child runs.
const std::string g_tool = fixtures::InPrivateFolder(LEDRA_SCRIPT_TOOL);

// Plays the script with the tool in the current directory on 12/31/98,
// the start-up's own message about the folder (whatever its words)
// answered when `startup_message` says there is one; the failures, empty
// when the script ran through.
std::string Play(const fs::path& scratch, bool startup_message, const std::string& script) {
    return fixtures::PlayScript(g_tool, scratch, "1998-12-31",
                                startup_message ? "message * \"TREL1\" ok\n" : "", script);
}

// Option 89 of an options record in COMMON.FIL's bytes.
int TutorialOption(const Bytes& common) {
    const std::size_t at =
        (records::kOptionsRecord - 1) * 128 + static_cast<std::size_t>(records::Opt::kStartupTutorial) - 1;
    return common.size() > at ? common[at] : -1;
}

std::string NotSaved(const std::string& reason) {
    return "message \"The choice to disable the tutorial could not be saved in COMMON.FIL: " + reason +
           ".\" \"TREL1\" ok\n";
}

// The text shows on every folder; where the options record cannot be
// written, Done says so once and COMMON.FIL keeps its bytes. A full disk
// takes the option (its record is rewritten in place) and says nothing.
// Only a folder that can be written keeps the converted text, startup.rpt.
TEST(TutorialCannotWrite, TheTextShowsAndAChoiceNotSavedIsToldOnce) {
    struct Case {
        const char* name;
        bool writable;
        Kind kind;
        std::string after_done;
        int option_after;
    };
    const Case cases[] = {
        {"a folder that can be written", true, Kind::kReadOnly, "", 0},
        {"read-only", false, Kind::kReadOnly, NotSaved("the data directory is read-only"), 1},
        {"no permission", false, Kind::kNoPermission, NotSaved("permission denied"), 1},
        {"a full disk", false, Kind::kFullDisk, "", 0},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir data;
        WriteTutorialFolder();
        const Bytes common_before = TempDataDir::ReadBytes(records::kCommonFile);
        ASSERT_EQ(TutorialOption(common_before), 1);
        const std::string script = TutorialScript(c.after_done);
        if (c.writable) {
            EXPECT_EQ(Play(data.path(), false, script), "");
            EXPECT_EQ(TutorialOption(TempDataDir::ReadBytes(records::kCommonFile)), c.option_after);
            // The text converted into 132-character records stays, as before.
            std::string expected;
            for (const std::string& line : kTutorial) {
                std::string record = line.substr(0, 132);
                expected += record + std::string(132 - record.size(), ' ');
            }
            const Bytes converted = TempDataDir::ReadBytes("startup.rpt");
            EXPECT_EQ(std::string(converted.begin(), converted.end()), expected);
            continue;
        }
        const auto run = fixtures::RunInUnwritableFolder(
            {c.kind, 0}, data.path(), [&](const fs::path& scratch) { return Play(scratch, true, script); });
        if (!run.skipped().empty()) {
            skipped += std::string(c.name) + ": " + run.skipped() + "\n";
            continue;
        }
        EXPECT_EQ(run.result(), "");
        const Bytes common_after = run.After(records::kCommonFile);
        EXPECT_EQ(TutorialOption(common_after), c.option_after);
        if (c.option_after == 1) {
            EXPECT_TRUE(common_after == common_before) << "COMMON.FIL changed";
        }
        EXPECT_FALSE(run.LeftFile("startup.rpt"));
    }
    if (!skipped.empty()) GTEST_SKIP() << "cases this machine cannot set up:\n" << skipped;
}

}  // namespace
