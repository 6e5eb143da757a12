// The Security Data dialog and its two information pages, played by text
// scripts: choosing and creating identifiers, typing, retyping and
// deleting securities, damaged files, page 1's layout by type, the pages'
// checks and messages, and what each page writes (or does not write).

#include "setup/security_data_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

using namespace std::string_literals;

#include "records/record.h"
#include "records/files.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "setup/security_page1_dialog.h"
#include "setup/security_page2_dialog.h"
#include "shell/message_list.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/setup/security_dialogs_fixture.h"

namespace {

using fixtures::TempDataDir;
using security_tests::FileBytes;
using security_tests::Lines;
using security_tests::RecordOf;
using security_tests::Script;
using security_tests::WriteMaster;
using security_tests::WriteThreeTypes;
using setup::CSecurityDataDlg;
using D = setup::CSecurityDataDlg;
using P1 = setup::CSecurityInfoPage1Dlg;

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

std::string Join(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "|";
    return all;
}

// The messages of the message list, "|" after each.
std::string Messages() {
    return Join(shell::GetMessages());
}

std::string R4Bytes(float v) {
    records::Record r(4);
    r.SetR4(0, v);
    return r.Text(0, 4);
}

// The identifiers of SECURITY.IDX as stored.
std::vector<std::string> Index() {
    return records::ReadSecurityIndex();
}

const char* kDeleted = "$$$$$$$$$$$$";

// ---- Choosing, creating, typing and deleting

class SecurityDataTest : public ::testing::Test {
protected:
    void SetUp() override { WriteThreeTypes(); }
    void TearDown() override { shell::ClearMessageList(); }
    TempDataDir dir_;
};

TEST_F(SecurityDataTest, AnIdentifierTypedInAnotherCaseChoosesTheListedOne) {
    WriteMaster({{"IBM", 'H'}, {"MSFT", 'B'}});
    const std::string index = FileBytes("SECURITY.IDX");
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  expect-visible 1385 off\n"
        "  expect-visible 1382 off\n"
        "  expect-enabled 1375 off\n"
        "  expect-enabled 1377 off\n"
        "  set 1374 \"ibm\"\n"
        "  key tab\n"
        "  expect-text 1382 \"IBM\"\n"
        "  expect-visible 1374 off\n"
        "  expect-enabled 1311 on\n"
        "  expect-enabled 1258 off\n"
        "  expect-visible 1387 off\n");
    script.Check("type and position", [&] {
        if (dialog.EntryNumber() != 1 || dialog.TypePosition() != 16) return std::string("not IBM of type H");
        return dialog.TypeLine() == "CS - Common Stock" ? std::string() : "type line " + dialog.TypeLine();
    });
    script.Steps(
        "  click 1385\n"
        "  expect-visible 1374 on\n"
        "  expect-enabled 1311 off\n"
        "  select 1374 \"MSFT\"\n"
        "  expect-text 1382 \"MSFT\"\n"
        "  expect-enabled 1258 on\n"
        "  click 1380\n"
        "closed\n");
    EXPECT_EQ(script.Play(dialog, "pick"), platform::IDOK);
    EXPECT_EQ(FileBytes("SECURITY.IDX"), index);
}

TEST_F(SecurityDataTest, LeavingTheBoxByTabCreatesTheSecurityAndItsIndexEntryAtOnce) {
    D first;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"NEW\"\n"
        "  key tab\n"
        "  expect-text 1382 \"NEW\"\n"
        "  expect-visible 1387 on\n"
        "  expect-enabled 1311 off\n"
        "  expect-enabled 1258 off\n");
    // The master started with the cash security: NEW is entry 2.
    script.Check("records and index written", [] {
        if (RecordOf("SECURITY.REC", 2) !=
            std::string(76, '\0') + "    " + std::string(44, '\0') + "\x02\0\0\0"s)
            return std::string("SECURITY.REC record 2");
        if (RecordOf("SECURITY.EXT", 2) != std::string(128, '\0'))
            return std::string("SECURITY.EXT record 2");
        return Index() == std::vector<std::string>{"CASH        ", "NEW         "} ? std::string()
                                                                                   : "index " + Join(Index());
    });
    // A new security's first type asks nothing.
    script.Steps(
        "  select 1375 20\n"
        "  expect-visible 1387 off\n"
        "  expect-enabled 1311 on\n"
        "  expect-enabled 1258 off\n"
        "  key escape\n"
        "closed\n");
    EXPECT_EQ(script.Play(first, "create"), platform::IDCANCEL);
    EXPECT_EQ(RecordOf("SECURITY.REC", 2).substr(76, 4), "S   ");

    // Escape kept the index: the next identifier takes the next position.
    D second;
    Script again;
    again.Steps(
        "dialog 136\n"
        "  set 1374 \"SECOND\"\n"
        "  key tab\n"
        "  click 1380\n"
        "closed\n");
    again.Play(second, "second");
    EXPECT_EQ(Index(), (std::vector<std::string>{"CASH        ", "NEW         ", "SECOND      "}));
    EXPECT_EQ(RecordOf("SECURITY.REC", 1).substr(12, 4), "CASH");
    EXPECT_EQ(RecordOf("SECURITY.REC", 2).substr(76, 4), "S   ");
    EXPECT_EQ(RecordOf("SECURITY.REC", 3).substr(124, 2), std::string("\x03\0", 2));
}

TEST_F(SecurityDataTest, RetypingAsksFirstAndCancelKeepsTheType) {
    WriteMaster({{"CASH", '1'}, {"IBM", 'H'}});
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"IBM\"\n"
        "  key tab\n"
        "  select 1375 8\n"
        "  message \"Confirm change of type for Security ID IBM\" \"TREL1\" cancel\n"
        "  expect-enabled 1258 off\n");
    script.Check("kept", [&] {
        if (RecordOf("SECURITY.REC", 2).substr(76, 4) != "H   ") return std::string("type changed");
        return dialog.GetDlgItem(D::kTypeList).GetCurSel() == 16 ? std::string()
                                                                 : "the list left on the new line";
    });
    script.Steps(
        "  select 1375 8\n"
        "  message \"Confirm change of type for Security ID IBM\" \"TREL1\" ok\n"
        "  expect-enabled 1258 on\n");
    script.Check("retyped", [] {
        const std::string rec = RecordOf("SECURITY.REC", 2);
        return rec.substr(76, 4) == "B   " && rec[124] == 2 ? std::string() : "not type B";
    });
    script.Steps(
        "  select 1375 0\n"
        "  message \"Confirm change of type for Security ID IBM\" \"TREL1\" ok\n"
        "  expect-enabled 1258 off\n"
        "  click 1380\n"
        "closed\n");
    script.Play(dialog, "retype");
    EXPECT_EQ(RecordOf("SECURITY.REC", 2).substr(76, 4), "1   ");
}

TEST_F(SecurityDataTest, ADeletedIdentifierKeepsItsPositionAndIsNotListedAgain) {
    WriteMaster({{"CASH", '1'}, {"IBM", 'H'}, {"MSFT", 'H'}});
    const std::string records_before = FileBytes("SECURITY.REC");
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"IBM\"\n"
        "  key tab\n"
        "  click 1377\n"
        "  message \"Confirm DELETE of Security ID IBM\" \"TREL1\" cancel\n"
        "  expect-visible 1382 on\n"
        "  click 1377\n"
        "  message \"Confirm DELETE of Security ID IBM\" \"TREL1\" ok\n"
        "  expect-visible 1374 on\n"
        "  expect-visible 1382 off\n"
        "  expect-enabled 1377 off\n");
    script.Check("deleted at once", [&] {
        if (Lines(dialog, D::kIdCombo) != std::vector<std::string>{"CASH", "MSFT"})
            return "combo " + Join(Lines(dialog, D::kIdCombo));
        return Index() == std::vector<std::string>{"CASH        ", kDeleted, "MSFT        "}
                   ? std::string()
                   : "index " + Join(Index());
    });
    script.Steps(
        "  key escape\n"
        "closed\n");
    script.Play(dialog, "delete");
    EXPECT_EQ(FileBytes("SECURITY.REC"), records_before);

    // Opened again: IBM is not listed; typed, it is a new security.
    D reopened;
    Script again;
    again.Steps("dialog 136\n");
    again.Check("listed", [&] {
        return Lines(reopened, D::kIdCombo) == std::vector<std::string>{"CASH", "MSFT"} ? std::string()
                                                                                        : "IBM listed";
    });
    again.Steps(
        "  set 1374 \"IBM\"\n"
        "  key tab\n"
        "  expect-visible 1387 on\n"
        "  click 1380\n"
        "closed\n");
    again.Play(reopened, "reopen");
    EXPECT_EQ(Index(), (std::vector<std::string>{"CASH        ", kDeleted, "MSFT        ", "IBM         "}));
    EXPECT_EQ(RecordOf("SECURITY.REC", 4).substr(124, 2), std::string("\x04\0", 2));
}

// Entry 1 is the cash security that posting, pricing and the appraisals
// rely on: whatever identifier it has (a firm started before the master
// began with its cash), it opens with its pages but can be neither deleted
// nor retyped, and a master that has positions is not started again.
TEST_F(SecurityDataTest, EntryOneIsNeverDeletedOrRetyped) {
    for (const char* first : {"CASH", "IBM"}) {
        WriteMaster({{first, '1'}, {"MSFT", 'H'}});
        const std::string index = FileBytes("SECURITY.IDX");
        const std::string records_before = FileBytes("SECURITY.REC");
        D dialog;
        Script script;
        script.Steps(std::string("dialog 136\n"
                                 "  select 1374 \"") +
                     first +
                     "\"\n"
                     "  expect-enabled 1377 off\n"
                     "  expect-enabled 1375 off\n"
                     "  expect-enabled 1311 on\n"
                     "  click 1385\n"
                     "  select 1374 \"MSFT\"\n"
                     "  expect-enabled 1377 on\n"
                     "  expect-enabled 1375 on\n"
                     "  click 1380\n"
                     "closed\n");
        script.Play(dialog, first);
        EXPECT_EQ(FileBytes("SECURITY.IDX"), index) << first;
        EXPECT_EQ(FileBytes("SECURITY.REC"), records_before) << first;
    }
}

// The first open of a directory without a type table writes the standard
// one before the type list is filled, so that every line names its type; a
// table the firm has (even one name alone) keeps every byte, and one whose
// TYPENAME.DAT is lost lists its codes with their standard names.
TEST(SecurityDataFirstOpen, ADirectoryWithoutATypeTableGetsTheStandardOne) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* line0;   // the type list's first line (type 1)
        const char* line16;  // type H
        bool started;
    };
    const Case cases[] = {
        {"an empty directory", [] {}, "CA - CASH AND EQUIVALENTS", "CS - COMMON STOCKS", true},
        {"files an earlier run's opens left empty",
         [] {
             TempDataDir::WriteBytes("TYPENAME.DAT", {});
             TempDataDir::WriteBytes("COMMON.FIL", std::vector<unsigned char>(31 * 128, 0));
         },
         "CA - CASH AND EQUIVALENTS", "CS - COMMON STOCKS", true},
        {"a firm's table", [] { security_tests::WriteThreeTypes(); }, "   - ", "CS - Common Stock", false},
        {"a firm's one name",
         [] {
             records::DirectFile names(records::kTypeNameFile, 128);
             records::Record named(128, ' ');
             named.SetText(0, 28, "Equities");
             ASSERT_TRUE(names.Write(19, named));
         },
         "   - ", "   - Equities", false},
        {"a firm's codes without its names file",
         [] {
             std::string codes;
             for (const std::string& code : records::StandardTypeNames().codes) codes += code;
             records::Record rec(128, ' ');
             rec.SetText(0, codes.size(), codes);
             fixtures::WriteCommonRecord(records::kTypeCodesRecord, rec);
         },
         "CA - CASH AND EQUIVALENTS", "CS - COMMON STOCKS", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        c.prepare();
        const std::string common = FileBytes("COMMON.FIL");
        const std::string names = FileBytes("TYPENAME.DAT");
        const bool had_names = TempDataDir::Exists("TYPENAME.DAT");
        D dialog;
        Script script;
        script.Steps("dialog 136\n");
        script.Check("type lines", [&] {
            const std::vector<std::string> lines = Lines(dialog, D::kTypeList);
            if (lines.size() < 17u) return "only " + std::to_string(lines.size()) + " lines";
            if (lines[0] != c.line0 || lines[16] != c.line16) return "lines " + lines[0] + "|" + lines[16];
            return std::string();
        });
        script.Steps(
            "  key escape\n"
            "closed\n");
        script.Play(dialog, c.name);
        if (c.started) {
            fixtures::ExpectTypeTable(records::StandardTypeNames());
        } else {
            EXPECT_EQ(FileBytes("COMMON.FIL"), common);
            EXPECT_EQ(FileBytes("TYPENAME.DAT"), names);
            EXPECT_EQ(TempDataDir::Exists("TYPENAME.DAT"), had_names);
        }
    }
}

TEST_F(SecurityDataTest, TrailingBlanksOfATypedIdentifierAreDropped) {
    WriteMaster({{"IBM", 'H'}});
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"IBM  \"\n"
        "  key tab\n"
        "  expect-text 1382 \"IBM\"\n"
        "  click 1385\n"
        "  set 1374 \"   \"\n"
        "  key tab\n"
        "  expect-visible 1374 on\n"
        "  click 1380\n"
        "closed\n");
    script.Play(dialog, "blanks");
    EXPECT_EQ(Index(), std::vector<std::string>{"IBM         "});
}

TEST_F(SecurityDataTest, IdentifiersTooLongOrBeginningWithDollarAreRefused) {
    for (const char* typed : {"ABCDEFGHIJKLM", "$X", "$$$$$$$$$$$$"}) {
        D dialog;
        Script script;
        script.Steps(
            std::string("dialog 136\n"
                        "  set 1374 \"") +
            typed +
            "\"\n"
            "  key tab\n"
            "  message \"Security ID must be 1 to 12 characters and may not begin with $.\" \"ID Error\" "
            "ok\n"
            "  expect-visible 1374 on\n"
            "  expect-visible 1382 off\n"
            "  key escape\n"
            "closed\n");
        script.Play(dialog, typed);
        // Only the cash security the master starts with.
        EXPECT_EQ(FileBytes("SECURITY.REC").size(), 128u) << typed;
        EXPECT_EQ(Index(), std::vector<std::string>{"CASH        "}) << typed;
    }
}

TEST_F(SecurityDataTest, OptionOneCopiesAWholeTwelveCharacterIdentifierIntoTheCusip) {
    fixtures::WriteSingleOption(records::Opt::kCusipFromSymbol, 1);
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"ABCDEFGHIJKL\"\n"
        "  key tab\n"
        "  select 1375 16\n"
        "  click 1311\n"
        "  dialog 135\n"
        "    expect-text 1352 \"ABCDEFGHIJKL\"\n"
        "    set 1353 \"TWELVE\"\n"
        "    click 1045\n"
        "  closed\n"
        "  click 1380\n"
        "closed\n");
    script.Play(dialog, "option 1");
    EXPECT_EQ(RecordOf("SECURITY.REC", 2).substr(0, 12), "ABCDEFGHIJKL");
}

TEST_F(SecurityDataTest, DamagedFiles) {
    struct Case {
        const char* name;
        std::function<void()> damage;
        const char* pick;
        std::vector<std::string> listed;
        bool typed;  // the picked security opens with its type
    } cases[] = {
        {"an index count beyond its records lists the identifiers that read",
         [] {
             std::vector<unsigned char> idx = TempDataDir::ReadBytes("SECURITY.IDX");
             idx[0] = 25;
             TempDataDir::WriteBytes("SECURITY.IDX", idx);
         },
         "B",
         {"A", "B", "C"},
         true},
        {"a record that cannot be read opens without a type",
         [] {
             std::vector<unsigned char> rec = TempDataDir::ReadBytes("SECURITY.REC");
             rec.resize(128 + 60);
             TempDataDir::WriteBytes("SECURITY.REC", rec);
         },
         "B",
         {"A", "B", "C"},
         false},
        {"a type byte outside the type order opens without a type",
         [] {
             records::Record rec;
             records::ReadSecurityRecord(3, rec);
             rec.SetText(76, 4, "Q");
             records::WriteSecurityRecord(3, rec);
         },
         "C",
         {"A", "B", "C"},
         false},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteThreeTypes();
        WriteMaster({{"A", 'H'}, {"B", 'H'}, {"C", 'H'}});
        c.damage();
        D dialog;
        Script script;
        script.Steps("dialog 136\n");
        script.Check("listed", [&] {
            return Lines(dialog, D::kIdCombo) == c.listed ? std::string() : Join(Lines(dialog, D::kIdCombo));
        });
        script.Steps(std::string("  set 1374 \"") + c.pick +
                     "\"\n"
                     "  key tab\n"
                     "  expect-visible 1387 " +
                     (c.typed ? "off" : "on") + "\n  expect-enabled 1311 " + (c.typed ? "on" : "off") +
                     "\n"
                     "  expect-enabled 1258 off\n"
                     "  key escape\n"
                     "closed\n");
        script.Play(dialog, c.name);
    }
}

// ---- Page 1

// The labels of the slots a type shows and whether "Autopricing" shows,
// by type character, as the page's table of layout classes gives them.
struct LayoutCase {
    char type;
    std::vector<std::string> labels;
    bool autopricing;
};

const std::vector<std::string> kBond2 = {"Due date", "Coupon rate"};
const std::vector<std::string> kBond3 = {"Due date", "Coupon rate", "Yield to Maturity"};
const std::vector<std::string> kBond4 = {"Due date", "Coupon rate", "Yield to Maturity", "Pay Date"};
const std::vector<std::string> kBond5 = {"Due date", "Coupon rate", "Yield to Maturity", "Pay Date",
                                         "Exdate"};
const std::vector<std::string> kStock = {"Dividend rate", "Pay Date", "Exdate"};

const LayoutCase kLayouts[] = {
    {'1', kBond2, false},
    {'3', kBond3, true},
    {'4', kBond4, false},
    {'5', kBond4, true},
    {'6', kBond4, true},
    {'W', kBond4, true},
    {'7', kBond4, true},
    {'9', kStock, true},
    {'B', kBond4, true},
    {'C', kBond4, true},
    {'D', kBond4, true},
    {'X', kBond5, true},
    {'F', kBond4, true},
    {'P', kStock, true},
    {'N', kStock, true},
    {'Y', kBond5, true},
    {'H', {"Dividend rate", "Pay Date", "Exdate", "SIC Code"}, true},
    {'J', kStock, true},
    {'L', kStock, true},
    {'R', {"Due date"}, true},
    {'S', kBond2, false},
    {'T', kBond5, true},
};

TEST(SecurityPageOne, EveryTypeShowsItsLayoutClass) {
    const std::string page2 = "0101111010111001000000";  // page 2 allowed, by type position
    for (std::size_t k = 0; k < std::size(kLayouts); ++k) {
        const LayoutCase& c = kLayouts[k];
        TempDataDir dir;
        WriteMaster({{"S", c.type}});
        D dialog;
        Script script;
        script.Steps(
            "dialog 136\n"
            "  set 1374 \"S\"\n"
            "  key tab\n"
            "  click 1311\n"
            "  dialog 135\n" +
            std::string("    expect-visible 1361 ") + (c.autopricing ? "on\n" : "off\n") +
            "    expect-enabled 1395 " + (page2[k] == '1' ? "on\n" : "off\n"));
        script.Check("slots", [&] {
            const platform::Dialog* page = platform::Dialog::FindOpen(setup::kSecurityPage1DialogId);
            if (!page) return std::string("page 1 is not open");
            for (std::size_t slot = 0; slot < 6; ++slot) {
                const bool used = slot < c.labels.size();
                const platform::Control label = page->GetDlgItem(P1::kSlotLabels[slot]);
                if (label.IsWindowVisible() != used) return "slot " + std::to_string(slot) + " visibility";
                if (used && label.GetWindowText() != c.labels[slot])
                    return "slot " + std::to_string(slot) + " reads " + label.GetWindowText();
                const bool number =
                    used && (c.labels[slot] == "Coupon rate" || c.labels[slot] == "Dividend rate" ||
                             c.labels[slot] == "Yield to Maturity");
                if (page->GetDlgItem(P1::kSlotNumbers[slot]).IsWindowVisible() != number ||
                    page->GetDlgItem(P1::kSlotTexts[slot]).IsWindowVisible() != (used && !number))
                    return "slot " + std::to_string(slot) + " edits";
            }
            return std::string();
        });
        script.Steps(
            "    key escape\n"
            "  closed\n"
            "  click 1380\n"
            "closed\n");
        script.Play(dialog, std::string("type ") + c.type);
        EXPECT_EQ(FileBytes("SECURITY.EXT"), std::string(128, '\0')) << c.type;
    }
}

TEST_F(SecurityDataTest, ACouponRateBecomesTheDividendRateWhenABondIsRetypedAsAStock) {
    WriteMaster({{"CASH", '1'}, {"BOND", 'B'}});
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"BOND\"\n"
        "  key tab\n"
        "  click 1311\n"
        "  dialog 135\n"
        "    expect-text 1390 \"0\"\n"
        "    set 1390 \"7.5\"\n"
        "    click 1045\n"
        "  closed\n"
        "  select 1375 16\n"
        "  message \"Confirm change of type for Security ID BOND\" \"TREL1\" ok\n"
        "  click 1311\n"
        "  dialog 135\n"
        "    expect-text 1367 \"Dividend rate\"\n"
        "    expect-text 1389 \"7.5\"\n"
        "    key escape\n"
        "  closed\n"
        "  click 1380\n"
        "closed\n");
    script.Play(dialog, "retype");
    EXPECT_EQ(RecordOf("SECURITY.REC", 2).substr(96, 4), R4Bytes(7.5f));
}

// Answers the errors window that a refused press opens on top of a page:
// `check` runs while it shows (and the window must show the list's
// lines), then Done closes it and empties the list.
void AnswerErrorsWindow(Script& script, std::function<std::string()> check) {
    script.Steps("    dialog 142\n");
    script.Check("the errors window shows the list", [] {
        const auto& lines = shell::ReportErrorsDialog().Lines();
        const std::vector<std::string>& messages = shell::GetMessages();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const std::string want = k < messages.size() ? messages[k] : std::string();
            if (lines[k] != want) return "line " + std::to_string(k + 1) + ": \"" + lines[k] + "\"";
        }
        return std::string();
    });
    script.Check("the messages", std::move(check));
    script.Steps(
        "      click 1\n"
        "    closed\n");
}

// Runs page 1 of a security of the type with the steps given; the steps
// end on the page, and the page and the dialog are closed after them. With
// `check_errors`, the last step is refused: the check runs while the errors
// window shows, and the page stays open.
void RunPageOne(char type, const std::string& page_steps, const std::string& name,
                std::function<std::string()> check_errors = nullptr, bool page_closes = false) {
    WriteMaster({{"SEC", type}});
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"SEC\"\n"
        "  key tab\n"
        "  click 1311\n"
        "  dialog 135\n" +
        page_steps);
    if (check_errors) AnswerErrorsWindow(script, check_errors);
    script.Steps(std::string(page_closes ? "" : "    key escape\n") +
                 "  closed\n"
                 "  click 1380\n"
                 "closed\n");
    script.Play(dialog, name);
}

TEST_F(SecurityDataTest, PageOneShowsEveryFailureOfOnePressInOrderAndWritesNothing) {
    RunPageOne(
        'B',
        "    set 1356 \"13/45/99\"\n"
        "    set 1390 \"abc\"\n"
        "    set 1372 \"1.2.3\"\n"
        "    set 1363 \"02/30/99\"\n"
        "    set 1359 \"13\"\n"
        "    set 1373 \"x5\"\n"
        "    click 1045\n",
        "messages", [] {
            return Messages() ==
                           "1.Illegal Due date 13/45/99|2.Illegal Coupon rate abc|3.Illegal Yield to "
                           "Maturity 1.2.3|4.Illegal Pay Date 02/30/99|5.Invalid Payment Frequency (0-12): "
                           "13|6.Invalid Loan Display Limit (0-99): x5|"
                       ? std::string()
                       : Messages();
        });
    EXPECT_EQ(Messages(), "");  // Done in the errors window empties the list
    EXPECT_EQ(FileBytes("SECURITY.REC").substr(0, 128),
              std::string(76, '\0') + "B   " + std::string(44, '\0') + "\x01\0\0\0"s);
}

TEST_F(SecurityDataTest, PageOneSicCodeOfACommonStock) {
    RunPageOne('H',
               "    set 1363 \"3a\"\n"
               "    click 1045\n",
               "sic",
               [] { return Messages() == "1.Invalid SIC code (0-99): 3a|" ? std::string() : Messages(); });
}

TEST(SecurityPageOne, PaymentFrequencyAndLoanLimit) {
    struct Case {
        const char* frequency;
        const char* limit;
        const char* message;  // nullptr: saved
        int stored_frequency;
        int stored_limit;
    } cases[] = {
        {"13", "5", "1.Invalid Payment Frequency (0-12): 13|", 0, 0},
        {"1a", "5", "1.Invalid Payment Frequency (0-12): 1a|", 0, 0},
        {"", "", nullptr, 0, 0},
        {"12", "99", nullptr, 12, 99},
        {"4", "-1", "1.Invalid Loan Display Limit (0-99): -1|", 0, 0},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteThreeTypes();
        const std::string steps = std::string("    set 1359 \"") + c.frequency + "\"\n    set 1373 \"" +
                                  c.limit + "\"\n    click 1045\n";
        if (c.message) {
            RunPageOne('S', steps, c.frequency,
                       [&] { return Messages() == c.message ? std::string() : Messages(); });
        } else {
            RunPageOne('S', steps, c.frequency, nullptr, true);
            const std::string rec = RecordOf("SECURITY.REC", 1);
            EXPECT_EQ(static_cast<unsigned char>(rec[105]), c.stored_frequency) << c.frequency;
            EXPECT_EQ(static_cast<unsigned char>(rec[126]), c.stored_limit) << c.limit;
        }
        shell::ClearMessageList();
    }
}

TEST_F(SecurityDataTest, PageOneOkWithoutAChangeWritesNothing) {
    // A saved record would hold blanks where the new record's texts are zeros.
    RunPageOne('B', "    click 1045\n", "unmodified", nullptr, true);
    EXPECT_EQ(FileBytes("SECURITY.REC"),
              std::string(76, '\0') + "B   " + std::string(44, '\0') + "\x01\0\0\0"s);
    EXPECT_EQ(FileBytes("SECURITY.EXT"), std::string(128, '\0'));
}

TEST_F(SecurityDataTest, PageOneSavesTextsPaddedDatesZeroFilledAndKeepsTheBytesItDoesNotShow) {
    WriteMaster({{"SEC", 'B'}});
    records::Record rec;
    records::ReadSecurityRecord(1, rec);
    for (const std::size_t off : {80, 81, 82, 83, 86, 87, 106, 107, 108}) rec.data()[off] = 'k';
    records::WriteSecurityRecord(1, rec);
    records::Record ext(128, 'e');
    records::WriteSecurityExtension(1, ext);

    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"SEC\"\n"
        "  key tab\n"
        "  click 1311\n"
        "  dialog 135\n"
        "    set 1353 \"SHORT\"\n"
        "    set 1356 \"6/5/10\"\n"
        "    set 1390 \"1,250.5\"\n"
        "    set 1372 \"4.25\"\n"
        "    check 1361 on\n"
        "    click 1045\n"
        "  closed\n"
        "  click 1380\n"
        "closed\n");
    script.Play(dialog, "save");
    const std::string saved = RecordOf("SECURITY.REC", 1);
    EXPECT_EQ(saved.substr(0, 12), Blanks(12));
    EXPECT_EQ(saved.substr(12, 32), "SHORT" + Blanks(27));
    EXPECT_EQ(saved.substr(44, 32), Blanks(32));
    EXPECT_EQ(saved.substr(80, 4), "kkkk");  // no SIC code on a bond's page
    EXPECT_EQ(saved.substr(86, 2), "kk");
    EXPECT_EQ(saved.substr(88, 8), "06/05/10");
    EXPECT_EQ(saved.substr(96, 4), R4Bytes(1250.5f));
    EXPECT_EQ(saved[104], 'Y');
    EXPECT_EQ(saved.substr(106, 3), "kkk");  // 107-108 kept; 109 the ex-date this type does not show
    EXPECT_EQ(saved.substr(116, 8), Blanks(8));
    const std::string terms = RecordOf("SECURITY.EXT", 1);
    EXPECT_EQ(terms.substr(0, 54), std::string(54, 'e'));
    EXPECT_EQ(terms.substr(54, 4), R4Bytes(4.25f));
    EXPECT_EQ(terms.substr(58), std::string(70, 'e'));
}

// ---- Page 2

// Runs page 2 of a bond (reached through the Security Data dialog's Page 2
// button) with the steps given; `check_errors` as for page 1.
void RunPageTwo(const std::string& page_steps, const std::string& name,
                std::function<std::string()> check_errors = nullptr, bool page_closes = true) {
    D dialog;
    Script script;
    script.Steps(
        "dialog 136\n"
        "  set 1374 \"BOND\"\n"
        "  key tab\n"
        "  click 1258\n"
        "  dialog 139\n" +
        page_steps);
    if (check_errors) AnswerErrorsWindow(script, check_errors);
    script.Steps(std::string(page_closes ? "" : "    key escape\n") +
                 "  closed\n"
                 "  click 1380\n"
                 "closed\n");
    script.Play(dialog, name);
}

TEST_F(SecurityDataTest, PageTwoOpensAZeroRecordWithRAndPCheckedAndSavesThem) {
    WriteMaster({{"BOND", 'B'}});
    RunPageTwo(
        "    expect-text 1350 \"BOND Type: CB - Corporate Bond\"\n"
        "    expect-check 1414 on\n"
        "    expect-check 1416 on\n"
        "    expect-check 1408 off\n"
        "    expect-text 1419 \"0\"\n"
        "    set 1404 \"MBIAX\"\n"
        "    set 1401 \"ABCDE\"\n"
        "    click 1380\n",
        "zero record");
    const std::string terms = RecordOf("SECURITY.EXT", 1);
    EXPECT_EQ(terms.substr(0, 2), std::string(2, '\0'));
    EXPECT_EQ(terms.substr(2, 32), Blanks(32));  // empty dates are eight blanks
    EXPECT_EQ(terms.substr(64, 17), "ABCD" + Blanks(8) + "MBIAX");
    EXPECT_EQ(terms[81], 'N');
    EXPECT_EQ(terms[89], 'R');
    EXPECT_EQ(terms[93], 'P');
    EXPECT_EQ(terms.substr(113), std::string(15, '\0'));
    EXPECT_EQ(FileBytes("SECURITY.REC").substr(0, 128).substr(76, 4), "B   ");
}

TEST_F(SecurityDataTest, PageTwoShowsTheStoredFeatures) {
    WriteMaster({{"BOND", 'B'}});
    records::SecurityExtension terms;
    terms.call_feature = 'E';
    terms.put_feature = 'N';
    terms.oid = 'Y';
    terms.call_price = 102.5;
    terms.insurer = "AMBAC";
    records::Record rec(128, 0);
    terms.Encode(rec);
    records::WriteSecurityExtension(1, rec);
    RunPageTwo(
        "    expect-check 1413 on\n"
        "    expect-check 1414 off\n"
        "    expect-check 1415 on\n"
        "    expect-check 1408 on\n"
        "    expect-text 1419 \"102.5\"\n"
        "    expect-text 1404 \"AMBAC\"\n"
        "    click 1380\n",
        "stored", nullptr);
    EXPECT_EQ(RecordOf("SECURITY.EXT", 1), rec.Text(0, 128));  // unmodified: not written
}

TEST_F(SecurityDataTest, PageTwoMessagesComeInTheirOrderAndNothingIsWritten) {
    WriteMaster({{"BOND", 'B'}});
    RunPageTwo(
        "    set 1419 \"abc\"\n"
        "    set 1405 \"99/99/99\"\n"
        "    set 1417 \"13/13/99\"\n"
        "    set 1410 \"x\"\n"
        "    click 1380\n",
        "messages",
        [] {
            return Messages() ==
                           "1.Illegal Call Date:13/13/99|2.Illegal Issue Date:99/99/99|3.Illegal OID Yield:x|"
                           "4.Illegal Call Price:abc|"
                       ? std::string()
                       : Messages();
        },
        false);
    EXPECT_EQ(RecordOf("SECURITY.EXT", 1), std::string(128, '\0'));
}

TEST_F(SecurityDataTest, PageTwoLeadsToPageOneAndPageOneToPageTwo) {
    WriteMaster({{"BOND", 'B'}});
    RunPageTwo(
        "    click 1311\n"
        "  closed\n"
        "  dialog 135\n"
        "    click 1395\n"
        "  closed\n"
        "  dialog 139\n"
        "    key escape\n",
        "loop");
    EXPECT_EQ(setup::SecurityPageRequest, setup::kRequestNoPage);
}

}  // namespace
