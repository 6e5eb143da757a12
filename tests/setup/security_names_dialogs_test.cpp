// The Security Types and Security Industry Categories dialogs, played by
// text scripts: the list lines, the prompts, what Done writes to COMMON.FIL
// record 27, TYPENAME.DAT and SCATNAME.DAT, and Escape writing nothing.

#include <gtest/gtest.h>

#include <QLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>

#include "records/files.h"
#include "records/security_types.h"
#include "setup/industry_categories_dialog.h"
#include "setup/security_types_dialog.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/setup/security_dialogs_fixture.h"

namespace {

using fixtures::TempDataDir;
using security_tests::FileBytes;
using security_tests::Lines;
using security_tests::RecordOf;
using security_tests::Script;
using setup::CSecurityTypesDlg;
using setup::CSicCategoriesDlg;

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

// ---- Security Types

// All 22 types named: code "Ck" and name "Name k" for list position k.
records::TypeNames AllNamed() {
    records::TypeNames types;
    for (int k = 0; k < records::kListedTypeCount; ++k) {
        types.codes[static_cast<std::size_t>(k)] = "C" + std::string(1, static_cast<char>('a' + k));
        types.names[static_cast<std::size_t>(k)] = records::Fixed("Name " + std::to_string(k), 28);
    }
    return types;
}

TEST(SecurityTypesDialog, Cases) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string script;
        std::function<void(CSecurityTypesDlg&, Script&)> between;  // checks after the script's first part
        std::string rest;
        std::function<std::string()> check;
    };
    const std::string long_name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234";  // 30 characters
    const Case cases[] = {
        {"a one-character code is stored with a blank, a 30-character name is cut to 28; a directory "
         "without a table starts from the standard one",
         [] {},
         "dialog 158\n"
         "  expect-text 1091 \"Enter Description for Code CA\"\n"
         "  select 1088 16\n"
         "  set 1090 \"C\"\n"
         "  set 1089 \"" +
             long_name +
             "\"\n"
             "  expect-text 1089 \"ABCDEFGHIJKLMNOPQRSTUVWXYZ12\"\n"
             "  select 1088 0\n"
             "  select 1088 16\n"
             "  expect-text 1091 \"Enter Description for Code C\"\n"
             "  expect-text 1092 \"Enter Code for ABCDEFGHIJKLMNOPQRSTUVWXYZ12\"\n"
             "  expect-text 1090 \"C\"\n",
         [](CSecurityTypesDlg& d, Script& s) {
             s.Check("line 16", [&d] {
                 const auto lines = Lines(d, CSecurityTypesDlg::kTypeList);
                 if (lines.size() != 22u) return std::string("22 lines expected");
                 return lines[16] == "C  - ABCDEFGHIJKLMNOPQRSTUVWXYZ12" ? std::string()
                                                                         : "line 16 is " + lines[16];
             });
         },
         "  click 1004\n"
         "closed\n",
         [] {
             records::TypeNames expected = records::StandardTypeNames();
             expected.codes[16] = "C ";
             expected.names[16] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ12";
             std::string codes;
             for (const std::string& code : expected.codes) codes += code;
             const std::string rec27 = RecordOf("COMMON.FIL", 27);
             if (rec27 != codes + Blanks(84)) return std::string("record 27: ") + rec27;
             if (RecordOf("TYPENAME.DAT", 19) != "ABCDEFGHIJKLMNOPQRSTUVWXYZ12" + Blanks(100))
                 return std::string("name of H");
             if (records::ReadTypeNames().names != expected.names) return std::string("names");
             return std::string();
         }},
        {"changing only the name of H rewrites every record with the same values",
         [] {
             ASSERT_TRUE(records::WriteTypeNames(AllNamed()));
             records::DirectFile names(records::kTypeNameFile, 128);
             ASSERT_TRUE(names.Write(1, records::Record(128, 'x')));  // a record of no listed type
         },
         "dialog 158\n"
         "  expect-text 1089 \"Name 0\"\n"
         "  expect-text 1090 \"Ca\"\n"
         "  select 1088 16\n"
         "  expect-text 1092 \"Enter Code for Name 16\"\n"
         "  set 1089 \"Equities\"\n",
         [](CSecurityTypesDlg& d, Script& s) {
             s.Check("lines", [&d] {
                 const auto lines = Lines(d, CSecurityTypesDlg::kTypeList);
                 if (lines[0] != "Ca - Name 0") return "line 0 is " + lines[0];
                 return std::string();
             });
         },
         "  click 1004\n"
         "closed\n",
         [] {
             records::TypeNames expected = AllNamed();
             expected.names[16] = records::Fixed("Equities", 28);
             const records::TypeNames read = records::ReadTypeNames();
             if (read.codes != expected.codes) return std::string("codes");
             if (read.names != expected.names) return std::string("names");
             if (RecordOf("COMMON.FIL", 27).substr(44) != Blanks(84)) return std::string("bytes 45-128");
             if (RecordOf("TYPENAME.DAT", 1) != std::string(128, 'x')) return std::string("record 1 touched");
             return std::string();
         }},
        {"Escape writes nothing", [] {},
         "dialog 158\n"
         "  select 1088 3\n"
         "  set 1089 \"Municipal\"\n"
         "  set 1090 \"MU\"\n"
         "  key escape\n"
         "closed\n",
         nullptr, "",
         [] {
             return FileBytes("TYPENAME.DAT").empty() && RecordOf("COMMON.FIL", 27).empty()
                        ? std::string()
                        : "a file was written";
         }},
        {"a name record of zero bytes and an empty code show empty texts",
         [] {
             TempDataDir::WriteBytes("TYPENAME.DAT", std::vector<unsigned char>(36 * 128, 0));
             // One code typed, so that the directory holds a table.
             std::vector<unsigned char> common(31 * 128, 0);
             common[26 * 128] = 'C';
             common[26 * 128 + 1] = 'A';
             TempDataDir::WriteBytes("COMMON.FIL", common);
         },
         "dialog 158\n"
         "  select 1088 16\n"
         "  expect-text 1089 \"\"\n"
         "  expect-text 1090 \"\"\n"
         "  expect-text 1092 \"Enter Code for \"\n",
         [](CSecurityTypesDlg& d, Script& s) {
             s.Check("line 16", [&d] {
                 const std::string line = Lines(d, CSecurityTypesDlg::kTypeList)[16];
                 return line == "   - " ? std::string() : "line 16 is \"" + line + "\"";
             });
         },
         "  key escape\n"
         "closed\n",
         nullptr},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        c.prepare();
        CSecurityTypesDlg dialog;
        Script script;
        script.Steps(c.script);
        if (c.between) c.between(dialog, script);
        script.Steps(c.rest);
        script.Play(dialog, c.name);
        if (c.check) {
            EXPECT_EQ(c.check(), "") << c.name;
        }
    }
}

// Walking the list with the arrow keys: the focus starts and stays in the
// list, the edits and both prompts follow the line, and the prompts name
// the type as edited once its edit is left.
TEST(SecurityTypesDialog, ArrowKeysWalkTheListAndThePromptsNameTheSelectedType) {
    TempDataDir dir;
    ASSERT_TRUE(records::WriteTypeNames(AllNamed()));
    CSecurityTypesDlg dialog;
    Script script;
    const auto focus_in_list = [&] {
        return dialog.GetFocusId() == CSecurityTypesDlg::kTypeList
                   ? std::string()
                   : "the focus is on " + std::to_string(dialog.GetFocusId());
    };
    script.Steps("dialog 158\n");
    script.Check("the focus starts in the list", focus_in_list);
    script.Steps(
        "  key down\n"
        "  key down\n"
        "  key down\n"
        "  key up\n"
        "  expect-text 1092 \"Enter Code for Name 2\"\n"
        "  expect-text 1091 \"Enter Description for Code Cc\"\n"
        "  expect-text 1089 \"Name 2\"\n"
        "  expect-text 1090 \"Cc\"\n");
    script.Check("the focus stays in the list", focus_in_list);
    script.Steps(
        "  set 1089 \"Bills\"\n"
        "  focus 1090\n"
        "  expect-text 1092 \"Enter Code for Bills\"\n"
        "  set 1090 \"TB\"\n"
        "  focus 1088\n"
        "  expect-text 1091 \"Enter Description for Code TB\"\n"
        "  expect-line 1088 2 \"TB - Bills\"\n"
        "  key down\n"
        "  expect-text 1092 \"Enter Code for Name 3\"\n"
        "  expect-text 1091 \"Enter Description for Code Cd\"\n"
        "  key up\n"
        "  expect-text 1092 \"Enter Code for Bills\"\n"
        "  expect-text 1091 \"Enter Description for Code TB\"\n"
        "  expect-text 1089 \"Bills\"\n"
        "  click 1004\n"
        "closed\n");
    script.Play(dialog, "walk");
    records::TypeNames expected = AllNamed();
    expected.codes[2] = "TB";
    expected.names[2] = records::Fixed("Bills", 28);
    fixtures::ExpectTypeTable(expected);
}

// The prompts name the chosen type, so their texts grow and shrink from
// line to line; the two edits stay where they are on every line, whatever
// the length of the name (the widest capitals in a name of 28).
TEST(SecurityTypesDialog, TheEditsKeepTheirPlacesOnEveryLine) {
    TempDataDir dir;
    records::TypeNames types = records::StandardTypeNames();
    types.names[3] = std::string(28, 'W');
    types.names[5] = "X";
    ASSERT_TRUE(records::WriteTypeNames(types));
    CSecurityTypesDlg dialog;
    const auto left_edges = [&dialog] {
        dialog.GetWidget()->layout()->activate();
        return std::make_pair(dialog.GetDlgItem(CSecurityTypesDlg::kCodeEdit).GetWindowRect().left(),
                              dialog.GetDlgItem(CSecurityTypesDlg::kNameEdit).GetWindowRect().left());
    };
    std::pair<int, int> first{-1, -1};
    Script script;
    script.Steps("dialog 158\n");
    script.Check("the edits' places", [&] {
        first = left_edges();
        return std::string();
    });
    for (int line = 0; line < records::kListedTypeCount; ++line) {
        script.Steps("  select 1088 " + std::to_string(line) + "\n");
        script.Check("line " + std::to_string(line), [&, line] {
            const std::pair<int, int> now = left_edges();
            if (now == first) return std::string();
            return "on line " + std::to_string(line) + " the code edit is at " + std::to_string(now.first) +
                   " (was " + std::to_string(first.first) + "), the name edit at " +
                   std::to_string(now.second) + " (was " + std::to_string(first.second) + ")";
        });
    }
    script.Steps(
        "  key escape\n"
        "closed\n");
    script.Play(dialog, "walk");
}

// ---- Security Industry Categories

TEST(IndustryCategoriesDialog, LinesPromptsAndDoneWritingTheNames) {
    TempDataDir dir;
    // A short file: categories 1 and 7 named, nothing after category 7.
    std::vector<std::string> names(records::kCategoryCount, Blanks(28));
    names[0] = "Oil";
    names[6] = "Banks";
    records::Wrscat(names);
    std::vector<unsigned char> bytes = TempDataDir::ReadBytes(records::kCategoryNameFile);
    bytes.resize(8 * 128);
    TempDataDir::WriteBytes(records::kCategoryNameFile, bytes);

    CSicCategoriesDlg dialog;
    Script script;
    script.Steps(
        "dialog 157\n"
        "  expect-text 1085 \"Enter Description for SIC 01\"\n"
        "  expect-text 1086 \"Oil\"\n");
    script.Check("lines", [&] {
        const auto lines = Lines(dialog, CSicCategoriesDlg::kCategoryList);
        if (lines.size() != 99u) return std::string("99 lines expected");
        if (lines[0] != "01 Oil" || lines[1] != "02 " || lines[6] != "07 Banks" || lines[98] != "99 ")
            return "lines " + lines[0] + "|" + lines[1] + "|" + lines[6] + "|" + lines[98];
        return std::string();
    });
    script.Steps(
        "  select 1084 6\n"
        "  expect-text 1085 \"Enter Description for SIC 07\"\n"
        "  expect-text 1086 \"Banks\"\n"
        "  select 1084 98\n"
        "  expect-text 1085 \"Enter Description for SIC 99\"\n"
        "  expect-text 1086 \"\"\n"
        "  set 1086 \"Utilities\"\n"
        "  select 1084 1\n"
        "  set 1086 \"Chemicals\"\n");
    script.Check("line 99 replaced", [&] {
        const std::string line = Lines(dialog, CSicCategoriesDlg::kCategoryList)[98];
        return line == "99 Utilities" ? std::string() : "line 99 is " + line;
    });
    script.Steps(
        "  click 1004\n"
        "closed\n");
    script.Play(dialog, "categories");

    const std::string file = FileBytes(records::kCategoryNameFile);
    ASSERT_EQ(file.size(), 100u * 128u);
    EXPECT_EQ(RecordOf(records::kCategoryNameFile, 2).substr(0, 28), records::Fixed("Oil", 28));
    EXPECT_EQ(RecordOf(records::kCategoryNameFile, 3).substr(0, 28), records::Fixed("Chemicals", 28));
    EXPECT_EQ(RecordOf(records::kCategoryNameFile, 8).substr(0, 28), records::Fixed("Banks", 28));
    EXPECT_EQ(RecordOf(records::kCategoryNameFile, 100), records::Fixed("Utilities", 128));
}

TEST(IndustryCategoriesDialog, EscapeDiscardsEveryChange) {
    TempDataDir dir;
    std::vector<std::string> names(records::kCategoryCount, Blanks(28));
    names[0] = "Oil";
    records::Wrscat(names);
    const std::string before = FileBytes(records::kCategoryNameFile);

    CSicCategoriesDlg dialog;
    Script script;
    script.Steps(
        "dialog 157\n"
        "  set 1086 \"Gas\"\n"
        "  select 1084 4\n"
        "  set 1086 \"Retail\"\n"
        "  select 1084 0\n"
        "  expect-text 1086 \"Gas\"\n"
        "  key escape\n"
        "closed\n");
    script.Play(dialog, "escape");
    EXPECT_EQ(FileBytes(records::kCategoryNameFile), before);
}

}  // namespace
