// The security type table of a data directory that was there before the
// program started, driven by text scripts through the program's menus: a
// directory without a table (empty, or holding the blank table that Done
// on a table never filled in writes) gets the standard one at its next
// open of Utilities/Security Type or Setup/Security, and the type lists of
// the other dialogs show the standard types without writing it; a table
// holding anything typed keeps its bytes.

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

// A directory without a type table (empty, or holding the blank table)
// lists the standard types in every dialog with a type list, and a dialog
// that only reads leaves the table as it was: no TYPENAME.DAT made or
// changed, COMMON.FIL record 27 as before.
TEST(TypeTable, TheTypeListsOfADirectoryWithoutATableShowTheStandardTypesAndWriteNothing) {
    struct Folder {
        const char* name;
        std::function<void()> prepare;
    };
    const Folder folders[] = {{"an empty directory", [] {}}, {"a blank table", WriteBlankTable}};
    struct Dialog {
        const char* name;
        std::string open;   // up to the list showing
        std::string close;  // without writing the table
        int list;
    };
    const Dialog dialogs[] = {
        {"Transaction Ledger", "menu \"Trade Reports/Transaction Ledger\"\ndialog 126\n", "  click 2\n",
         1235},
        {"Composite Transaction Ledger", "menu \"Composite Reports/Transaction Ledger\"\ndialog 126\n",
         "  click 2\n", 1235},
        {"Member Statement", "menu \"Position Reports/Member Statement\"\ndialog 126\n", "  click 2\n", 1235},
        {"Input Asset Allocation, by type", "command 32911\ndialog 189\n  click 1354\n", "  click 1140\n",
         1235},
        {"Security Types, Escape", "menu \"Utilities/Security Type\"\ndialog 158\n", "  key escape\n", 1088},
    };
    for (const Folder& f : folders) {
        for (const Dialog& d : dialogs) {
            SCOPED_TRACE(std::string(f.name) + ", " + d.name);
            TempDataDir dir;
            f.prepare();
            const bool had_names = TempDataDir::Exists("TYPENAME.DAT");
            const Bytes names_before = had_names ? TempDataDir::ReadBytes("TYPENAME.DAT") : Bytes();
            const Bytes codes_before = CodesRecord();
            {
                ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
                ASSERT_TRUE(run.Started()) << AllFailures(run);
                const std::string list = std::to_string(d.list);
                const std::string script = d.open + "  expect-count " + list + " 22\n" + "  expect-line " +
                                           list + " 0 \"CA - CASH AND EQUIVALENTS\"\n" + "  expect-line " +
                                           list + " 16 \"CS - COMMON STOCKS\"\n" + "  expect-line " + list +
                                           " 21 \"OT - OTHER ASSETS\"\n" + d.close + "closed\n";
                EXPECT_TRUE(run.RunScript(script)) << AllFailures(run);
                EXPECT_TRUE(run.Failures().empty()) << AllFailures(run);
            }
            EXPECT_EQ(TempDataDir::Exists("TYPENAME.DAT"), had_names);
            if (had_names) {
                EXPECT_EQ(TempDataDir::ReadBytes("TYPENAME.DAT"), names_before);
            }
            // Record 27 as it was; a COMMON.FIL that other records made
            // longer holds a record never written there.
            const Bytes codes_after = CodesRecord();
            if (codes_before.empty() && !codes_after.empty()) {
                EXPECT_EQ(codes_after, Bytes(128, 0));
            } else {
                EXPECT_EQ(codes_after, codes_before);
            }
        }
    }
}

}  // namespace
