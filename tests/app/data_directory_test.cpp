// The data directory at start-up: asked before a missing directory named
// on the command line is made, a read-only directory named in one message,
// and a damaged COMMON.FIL kept as COMMON.FIL.BAD and named in a message
// before anything writes to it.

#include "shell/data_directory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "platform/scripted_interaction.h"
#include "records/common_file.h"
#include "records/options.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

std::vector<unsigned char> Bytes(std::size_t size, unsigned char fill) {
    return std::vector<unsigned char>(size, fill);
}

void Write(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A COMMON.FIL of whole blank records with a program date and sound options.
std::vector<unsigned char> SoundCommonFile() {
    std::vector<unsigned char> bytes = Bytes(40 * 128, ' ');
    const std::string date = "12/08/98";
    std::copy(date.begin(), date.end(), bytes.begin() + 128);
    std::fill(bytes.begin() + 30 * 128, bytes.begin() + 31 * 128, 0);
    return bytes;
}

TEST(DataDirectoryAtStartup, MissingDirectoryNamedIsMadeOnlyOnYes) {
    TempDataDir dir;
    struct Case {
        const char* name;
        bool exists;
        int answer;  // 0: no question
        int status;
        bool made;
    };
    const Case cases[] = {
        {"present", true, 0, 0, true},
        {"typo-yes", false, platform::IDYES, 0, true},
        {"typo-no", false, platform::IDNO, 1, false},
    };
    for (const Case& c : cases) {
        std::filesystem::current_path(dir.path());
        const std::filesystem::path path = dir.path() / c.name;
        if (c.exists) std::filesystem::create_directory(path);
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        if (c.answer)
            script.ExpectMessageBox(
                "The data directory \"" + path.string() + "\" does not exist.\nCreate it?", c.answer,
                "TREL1");
        EXPECT_EQ(shell::OpenDataDirectory(path, true), c.status) << c.name;
        for (const std::string& f : script.Failures()) ADD_FAILURE() << c.name << ": " << f;
        EXPECT_EQ(script.StepsLeft(), 0u) << c.name;
        EXPECT_EQ(std::filesystem::is_directory(path), c.made) << c.name;
        if (c.status == 0) {
            EXPECT_EQ(std::filesystem::current_path(), path) << c.name;
        }
    }
    std::filesystem::current_path(dir.path());
}

struct DamageCase {
    const char* name;
    std::vector<unsigned char> bytes;
    const char* damage;  // a part of the message
};

std::vector<DamageCase> DamageCases() {
    std::vector<DamageCase> cases;
    cases.push_back({"empty", {}, "is damaged: it is empty."});
    std::vector<unsigned char> cut = SoundCommonFile();
    cut.resize(cut.size() - 50);
    cases.push_back({"truncated", cut, "its size, 5070 bytes, is not a whole number of 128-byte records"});
    std::vector<unsigned char> noise(40 * 128);
    std::mt19937 random(7);
    for (unsigned char& b : noise) b = static_cast<unsigned char>(random());
    cases.push_back({"random", noise, "the program date (record 2) reads \""});
    std::vector<unsigned char> options = SoundCommonFile();
    options[30 * 128 + records::OptionIndex(records::Opt::kCusipFromSymbol)] = 7;  // yes or no
    options[30 * 128 + records::OptionIndex(records::Opt::kSystemDecimals)] = 12;  // 4 to 8
    cases.push_back(
        {"options", options,
         "the options (record 31) hold values no option allows: option 1 holds 7, option 81 holds 12"});
    return cases;
}

TEST(DataDirectoryAtStartup, DamagedCommonFileIsKeptAndNamed) {
    for (const DamageCase& c : DamageCases()) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        Write("COMMON.FIL", c.bytes);
        ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8), "message * \"TREL1\" ok\n"});
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
        ASSERT_EQ(run.StartupMessages().size(), 1u);
        const std::string& text = run.StartupMessages()[0].text;
        EXPECT_NE(text.find("COMMON.FIL in \"" + dir.path().string() + "\" is damaged: "), std::string::npos)
            << text;
        EXPECT_NE(text.find(c.damage), std::string::npos) << text;
        EXPECT_NE(text.find("A copy was kept as COMMON.FIL.BAD."), std::string::npos) << text;
        // The copy holds the file as it was, before start-up wrote the date.
        EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL.BAD"), c.bytes);
        EXPECT_NE(TempDataDir::ReadBytes("COMMON.FIL"), c.bytes);
    }
}

TEST(DataDirectoryAtStartup, SoundOrMissingCommonFileSaysNothing) {
    for (const bool present : {true, false}) {
        TempDataDir dir;
        if (present) Write("COMMON.FIL", SoundCommonFile());
        ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
        EXPECT_TRUE(run.StartupMessages().empty());
        EXPECT_TRUE(TempDataDir::Exists("COMMON.FIL")) << present;
        EXPECT_FALSE(TempDataDir::Exists("COMMON.FIL.BAD")) << present;
    }
}

TEST(DataDirectoryAtStartup, ReadOnlyDirectoryIsNamedOnce) {
    TempDataDir dir;
    shell::SetDataDirectoryWritableCheck([] { return records::WriteFault::kReadOnly; });
    {
        ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8), "message * \"TREL1\" ok\n"});
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
        ASSERT_EQ(run.StartupMessages().size(), 1u);
        EXPECT_EQ(
            run.StartupMessages()[0].text,
            "The data directory \"" + dir.path().string() +
                "\" is read-only.\nNothing can be written to it: reports, postings, the data base update, "
                "set-up changes and the program date will not work.");
    }
    shell::SetDataDirectoryWritableCheck(nullptr);
    EXPECT_TRUE(shell::DataDirectoryWritable());
}

}  // namespace
