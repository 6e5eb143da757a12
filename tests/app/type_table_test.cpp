// The security type table of a data directory that was there before the
// program started, driven by text scripts through the program's menus: a
// directory without a table (empty, or holding the blank table that Done
// on a table never filled in writes) gets the standard one at its next
// open of Utilities/Security Type or Setup/Security; a table holding
// anything typed keeps its bytes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "records/security_types.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using tools::ProgramRun;

using Bytes = std::vector<unsigned char>;

std::string AllFailures(const ProgramRun& run) {
    std::string all;
    for (const std::string& f : run.Failures()) all += f + "\n";
    return all;
}

std::string ScriptPath(const char* name) {
    return std::string(LEDRA_TESTS_DIR) + "/app/scripts/continued/" + name;
}

// The table as Done wrote it on a directory without one before it opened
// on the standard table: record 27 and the 22 names all blank.
void WriteBlankTable() {
    ASSERT_TRUE(records::WriteTypeNames(records::TypeNames{}));
}

// Record 27 of COMMON.FIL, empty when the file is shorter.
Bytes CodesRecord() {
    Bytes all = TempDataDir::Exists("COMMON.FIL") ? TempDataDir::ReadBytes("COMMON.FIL") : Bytes();
    if (all.size() < 27 * 128) return {};
    return Bytes(all.begin() + 26 * 128, all.begin() + 27 * 128);
}

TEST(TypeTable, ADirectoryWithoutATableGetsTheStandardOneAtItsNextOpen) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* script;  // checks the lines and the files it leaves
    };
    const Case cases[] = {
        {"an empty directory, Security Types first", [] {}, "type_table_security_types.script"},
        {"a blank table, Security Types first", WriteBlankTable, "type_table_security_types.script"},
        {"a blank table, Security Data first", WriteBlankTable, "type_table_security_data.script"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        c.prepare();
        ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started()) << AllFailures(run);
        EXPECT_TRUE(run.RunScriptFile(ScriptPath(c.script))) << AllFailures(run);
        EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
    }
}

// A blank table with one name or one title typed is the firm's: both
// dialogs show it as it is, and Done writes back the same bytes.
TEST(TypeTable, ATableHoldingOneTypedNameIsKept) {
    struct Case {
        const char* name;
        int record;  // the TYPENAME.DAT record typed
        const char* text;
        const char* line16;  // type H's line in both type lists
    };
    const Case cases[] = {
        {"a name of a listed type", 19, "Equities", "   - Equities"},
        {"the title of type Z, which no list shows", 37, "Z TITLE", "   - "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        WriteBlankTable();
        {
            records::DirectFile names(records::kTypeNameFile, 128);
            records::Record typed(128, ' ');
            typed.SetText(0, 28, c.text);
            ASSERT_TRUE(names.Write(c.record, typed));
        }
        const Bytes names_before = TempDataDir::ReadBytes("TYPENAME.DAT");
        const Bytes codes_before = CodesRecord();
        {
            ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
            ASSERT_TRUE(run.Started()) << AllFailures(run);
            const std::string line16 = std::string("\"") + c.line16 + "\"\n";
            const std::string script =
                "menu \"Utilities/Security Type\"\n"
                "dialog 158\n"
                "  expect-line 1088 0 \"   - \"\n"
                "  expect-line 1088 16 " +
                line16 +
                "  click 1004\n"
                "closed\n"
                "menu \"Setup/Security\"\n"
                "dialog 136\n"
                "  expect-line 1375 0 \"   - \"\n"
                "  expect-line 1375 16 " +
                line16 +
                "  click 1380\n"
                "closed\n";
            EXPECT_TRUE(run.RunScript(script)) << AllFailures(run);
            EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
        }
        EXPECT_EQ(TempDataDir::ReadBytes("TYPENAME.DAT"), names_before);
        EXPECT_EQ(CodesRecord(), codes_before);
    }
}

}  // namespace
