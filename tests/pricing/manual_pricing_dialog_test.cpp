// The Manual Pricing dialog, offscreen: the rows and the scroll range of a
// security list, prices typed and filtered, the date list, the modes, and
// the price file each way of leaving writes; then the same dialog opened
// from the menu of the running program by a text script.

#include "pricing/manual_pricing_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "shell/report_globals.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace pricing {
namespace {

using platform::ScriptedInteraction;
using D = CManualPricingDlg;
using fixtures::TempDataDir;

constexpr double kNone = CManualPricingDlg::kNoPrice;

// SECURITY.IDX with a first key that is never listed, then the symbols.
void WriteIndex(const std::vector<std::string>& symbols) {
    std::vector<std::string> keys = {"FIRSTKEY"};
    keys.insert(keys.end(), symbols.begin(), symbols.end());
    fixtures::WriteSecurityIndex(keys);
}

std::vector<std::string> Numbered(int n) {
    std::vector<std::string> symbols;
    for (int i = 1; i <= n; ++i) symbols.push_back((i < 10 ? "S0" : "S") + std::to_string(i));
    return symbols;
}

std::vector<unsigned char> PriceBytes(const std::vector<double>& prices) {
    std::vector<unsigned char> bytes;
    for (double p : prices) {
        records::Record rec(8);
        rec.SetR8(0, p);
        bytes.insert(bytes.end(), rec.data(), rec.data() + 8);
    }
    return bytes;
}

struct Played {
    int result = 0;
    std::vector<std::string> failures;
    std::vector<unsigned> beeps;
};

// Opens the dialog on 12/08/98 and plays the script's steps after the
// dialog step the helper puts first.
Played Play(ScriptedInteraction& script) {
    shell::g_report.SystemDate = "12/08/98";
    platform::ScopedInteraction installed(script);
    CManualPricingDlg dialog;
    Played p;
    p.result = dialog.DoModal();
    p.failures = script.Failures();
    if (script.StepsLeft() != 0) p.failures.push_back("steps left over");
    p.beeps = script.Beeps();
    return p;
}

std::string Joined(const std::vector<std::string>& failures) {
    std::string all;
    for (const std::string& f : failures) all += f + "\n";
    return all;
}

// A check between steps on the open dialog.
std::function<std::string()> OnDialog(std::function<std::string(D&)> check) {
    return [check] {
        auto* d = dynamic_cast<D*>(platform::Dialog::FindOpen(kManualPricingDialogId));
        return d ? check(*d) : std::string("the dialog is not open");
    };
}

std::string ScrollRange(D& d, int low, int high, int position) {
    int min = 0, max = 0;
    d.GetDlgItem(D::kScrollBar).GetScrollRange(min, max);
    const int pos = d.GetDlgItem(D::kScrollBar).GetScrollPos();
    if (min == low && max == high && pos == position) return {};
    return "scroll range " + std::to_string(min) + "-" + std::to_string(max) + " at " + std::to_string(pos);
}

TEST(ManualPricingDialog, TenSecuritiesFillTheFirstTenRowsSortedWithoutCase) {
    TempDataDir dir;
    // Deleted and blank keys are not listed; "aaa" sorts before "S01".
    std::vector<std::string> symbols = Numbered(9);
    symbols.insert(symbols.begin() + 3, "$$$$$$$$$$$$");
    symbols.insert(symbols.begin() + 5, "");
    symbols.push_back("aaa");
    WriteIndex(symbols);
    ScriptedInteraction script;
    script.ExpectDialog(kManualPricingDialogId)
        .ExpectText(D::kHeading, "Select Date")
        .ExpectEnabled(D::kPriceEdits[0], false)
        .ExpectEnabled(D::kSelectNewDate, false)
        .ExpectText(D::kDateCombo, "12/08/98")
        .ExpectText(D::kEditPricesCaption, "Edit new price file for 12/08/98")
        .Click(D::kEditPrices)
        .ExpectText(D::kHeading, "Prices for 12/08/98")
        .ExpectEnabled(D::kDateCombo, false)
        .ExpectEnabled(D::kEditPrices, false)
        .ExpectEnabled(D::kSelectNewDate, true)
        .Run("rows and range", OnDialog([](D& d) -> std::string {
                 const std::vector<std::string> expected = {"aaa", "S01", "S02", "S03", "S04",
                                                            "S05", "S06", "S07", "S08", "S09"};
                 for (int k = 0; k < D::kRows; ++k) {
                     const std::string label = d.GetDlgItemText(D::kSymbolLabels[k]);
                     const std::string want = k < 10 ? expected[static_cast<std::size_t>(k)] : "";
                     if (label != want) return "row " + std::to_string(k + 1) + " shows " + label;
                     if (!d.GetDlgItemText(D::kPriceEdits[k]).empty()) return "a price shows";
                 }
                 return ScrollRange(d, 1, 1, 1);
             }))
        .Press(platform::Key::Escape)
        .ExpectClosed();
    const Played p = Play(script);
    EXPECT_TRUE(p.failures.empty()) << Joined(p.failures);
    EXPECT_EQ(p.result, platform::IDCANCEL);
    EXPECT_FALSE(TempDataDir::Exists("se120898.prc"));
}

TEST(ManualPricingDialog, FortySecuritiesScrollFromOneToTwentyTwo) {
    TempDataDir dir;
    WriteIndex(Numbered(40));
    ScriptedInteraction script;
    script.ExpectDialog(kManualPricingDialogId)
        .Click(D::kEditPrices)
        .Run("range", OnDialog([](D& d) { return ScrollRange(d, 1, 22, 1); }))
        .Scroll(D::kScrollBar, platform::SB_THUMBPOSITION, 10)
        .ExpectText(D::kSymbolLabels[0], "S10")
        .Scroll(D::kScrollBar, platform::SB_PAGEDOWN)
        .Run("page down", OnDialog([](D& d) { return ScrollRange(d, 1, 22, 22); }))
        .ExpectText(D::kSymbolLabels[0], "S22")
        .ExpectText(D::kSymbolLabels[18], "S40")
        .Scroll(D::kScrollBar, platform::SB_LINEUP)
        .ExpectText(D::kSymbolLabels[0], "S21")
        .Scroll(D::kScrollBar, platform::SB_TOP)
        .ExpectText(D::kSymbolLabels[0], "S01")
        .Scroll(D::kScrollBar, platform::SB_PAGEUP)
        .ExpectText(D::kSymbolLabels[0], "S01")
        .Scroll(D::kScrollBar, platform::SB_BOTTOM)
        .ExpectText(D::kSymbolLabels[0], "S22")
        // Tab out of the last row walks down by one, and the focus stays.
        .Scroll(D::kScrollBar, platform::SB_TOP)
        .Type(D::kPriceEdits[18], "7")
        .Press(platform::Key::Tab)
        .ExpectText(D::kSymbolLabels[18], "S20")
        .Run("focus", OnDialog([](D& d) {
                 return d.GetFocusId() == D::kPriceEdits[18] ? std::string() : "the focus left row 19";
             }))
        .ExpectText(D::kPriceEdits[17], "     7.000000")
        .Press(platform::Key::Escape)
        .ExpectClosed();
    const Played p = Play(script);
    EXPECT_TRUE(p.failures.empty()) << Joined(p.failures);
}

TEST(ManualPricingDialog, TypedPricesAreFilteredShownAndSaved) {
    TempDataDir dir;
    WriteIndex({"IBM", "MSFT", "XRX"});
    // An existing file: FIRSTKEY 5, IBM 1, MSFT a price of two million, XRX 3.
    TempDataDir::WriteBytes("se120898.prc", PriceBytes({5, 1, 2000000, 3}));
    ScriptedInteraction script;
    script.ExpectDialog(kManualPricingDialogId)
        .ExpectText(D::kEditPricesCaption, "Edit existing price file for 12/08/98")
        .Click(D::kEditPrices)
        .ExpectText(D::kPriceEdits[0], "     1.000000")
        .ExpectText(D::kPriceEdits[1], "2000000.000000")
        // A letter is taken out again with a beep; the caret stays after 12.
        .SetText(D::kPriceEdits[0], "")
        .Type(D::kPriceEdits[0], "12a")
        .ExpectText(D::kPriceEdits[0], "12")
        .Run("caret", OnDialog([](D& d) {
                 int start = 0, end = 0;
                 d.GetDlgItem(D::kPriceEdits[0]).GetSel(start, end);
                 return start == 2 && end == 2 ? std::string() : "caret at " + std::to_string(start);
             }))
        .Type(D::kPriceEdits[0], "5")
        .ExpectText(D::kPriceEdits[0], "125")
        .SetText(D::kPriceEdits[0], "12.5")
        // Through MSFT without typing: its big price must survive.
        .Focus(D::kPriceEdits[1])
        .ExpectText(D::kPriceEdits[0], "    12.500000")
        .Run("changed",
             OnDialog([](D& d) { return d.PricesChanged() ? std::string() : "not marked changed"; }))
        .Focus(D::kPriceEdits[2])
        .ExpectText(D::kPriceEdits[1], "2000000.000000")
        // A cleared price is no price.
        .SetText(D::kPriceEdits[2], "")
        .Click(D::kDone)
        .ExpectClosed();
    const Played p = Play(script);
    EXPECT_TRUE(p.failures.empty()) << Joined(p.failures);
    EXPECT_EQ(p.result, platform::IDOK);
    EXPECT_EQ(p.beeps.size(), 1u);
    EXPECT_EQ(TempDataDir::ReadBytes("se120898.prc"), PriceBytes({5, 12.5, 2000000, kNone}));
}

TEST(ManualPricingDialog, ABadCharacterOfEachKindIsRemoved) {
    struct Case {
        const char* typed;
        const char* left;
        int beeps;
    } cases[] = {
        {"12a5", "125", 1}, {"1.2.3", "1.23", 1}, {"-4", "4", 1},       {" 12 ", " 12 ", 0},
        {"12 3", "12 ", 1}, {".5", ".5", 0},      {"1,000", "1000", 1},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        WriteIndex({"IBM"});
        ScriptedInteraction script;
        script.ExpectDialog(kManualPricingDialogId)
            .Click(D::kEditPrices)
            .Type(D::kPriceEdits[0], c.typed)
            .ExpectText(D::kPriceEdits[0], c.left)
            .Press(platform::Key::Escape)
            .ExpectClosed();
        const Played p = Play(script);
        EXPECT_TRUE(p.failures.empty()) << c.typed << "\n" << Joined(p.failures);
        EXPECT_EQ(static_cast<int>(p.beeps.size()), c.beeps) << c.typed;
    }
}

TEST(ManualPricingDialog, DateListIsNewestFirstAndHoldsOnlyReadableFiles) {
    TempDataDir dir;
    WriteIndex({"IBM"});
    for (const char* name : {"se010598.prc", "se123199.prc", "SE010500.PRC"})
        TempDataDir::WriteBytes(name, PriceBytes({1, 2}));
    TempDataDir::WriteBytes("se020298.prc", {});             // no first record
    TempDataDir::WriteBytes("se1299.prc", PriceBytes({1}));  // fewer than six digits
    TempDataDir::WriteBytes("se010598.cur", PriceBytes({1}));
    EXPECT_EQ(CManualPricingDlg::PriceFileDates(),
              (std::vector<std::string>{"01/05/00", "12/31/99", "01/05/98"}));

    ScriptedInteraction script;
    script.ExpectDialog(kManualPricingDialogId)
        .Run("list", OnDialog([](D& d) {
                 const platform::Control combo = d.GetDlgItem(D::kDateCombo);
                 return combo.GetCount() == 3 && combo.GetText(0) == "01/05/00" ? std::string()
                                                                                : "wrong list";
             }))
        .Select(D::kDateCombo, 2)
        .ExpectText(D::kEditPricesCaption, "Edit existing price file for 01/05/98")
        .Press(platform::Key::Escape)
        .ExpectClosed();
    const Played p = Play(script);
    EXPECT_TRUE(p.failures.empty()) << Joined(p.failures);
}

TEST(ManualPricingDialog, ABadDateIsRefusedAndEditingCannotStart) {
    TempDataDir dir;
    WriteIndex({"IBM"});
    ScriptedInteraction refused;
    refused.ExpectDialog(kManualPricingDialogId)
        .SetText(D::kDateCombo, "13/45/98")
        .Press(platform::Key::Tab)
        .ExpectText(D::kMessage, "Invalid Date:13/45/98")
        .ExpectText(D::kEditPricesCaption, "Edit Prices")
        .ExpectEnabled(D::kEditPricesCaption, false)
        // Going for the edit-prices button brings the focus back to the
        // refused date, and editing does not start.
        .Focus(D::kEditPrices)
        .Press(platform::Key::Enter)
        .ExpectEnabled(D::kPriceEdits[0], false)
        .ExpectText(D::kMessage, "Invalid Date:13/45/98")
        .SetText(D::kDateCombo, "1/5/98")
        .Press(platform::Key::Tab)
        .ExpectText(D::kMessage, "")
        .ExpectText(D::kDateCombo, "01/05/98")
        .ExpectText(D::kEditPricesCaption, "Edit new price file for 01/05/98")
        .Click(D::kEditPrices)
        .Type(D::kPriceEdits[0], "3")
        .Click(D::kSelectNewDate)
        .ExpectEnabled(D::kDateCombo, true)
        .ExpectEnabled(D::kPriceEdits[0], false)
        .ExpectText(D::kHeading, "Select Date")
        .Press(platform::Key::Escape)
        .ExpectClosed();
    const Played p = Play(refused);
    EXPECT_TRUE(p.failures.empty()) << Joined(p.failures);
    // Select New Date saved before Escape: every key position, the first
    // one too, with no price where none was typed.
    EXPECT_EQ(TempDataDir::ReadBytes("se010598.prc"), PriceBytes({kNone, 3}));
}

// The dialog from the program's menu, by text scripts, on 12/08/98.
class ManualPricingFromMenu : public ::testing::Test {
protected:
    // Starts the program on the directory as the test has filled it.
    void Start() {
        run_ = std::make_unique<tools::ProgramRun>(dir_.path(),
                                                   tools::ProgramRun::Options{tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started());
    }
    void Script(const std::string& text) {
        EXPECT_TRUE(run_->RunScript(text));
        for (const std::string& f : run_->Failures()) ADD_FAILURE() << f;
    }
    void TearDown() override { run_.reset(); }

    TempDataDir dir_;
    std::unique_ptr<tools::ProgramRun> run_;
};

// The rows of a page: "expect-text" of the 19 labels.
std::string LabelSteps(const std::vector<std::string>& labels) {
    std::string steps;
    for (int k = 0; k < D::kRows; ++k)
        steps += "  expect-text " + std::to_string(D::kSymbolLabels[static_cast<std::size_t>(k)]) + " \"" +
                 (k < static_cast<int>(labels.size()) ? labels[static_cast<std::size_t>(k)] : "") + "\"\n";
    return steps;
}

TEST_F(ManualPricingFromMenu, TenSecuritiesFillTenRowsAndDoNotScroll) {
    WriteIndex(Numbered(10));
    Start();
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  click 1481\n" +
        LabelSteps(Numbered(10)) +
        "  scroll 1195 pagedown\n"
        "  scroll 1195 linedown\n"
        "  expect-text 1452 \"S01\"\n"
        "  key escape\n"
        "closed\n");
}

TEST_F(ManualPricingFromMenu, FortySecuritiesPageDownFromTenToTwentyTwo) {
    WriteIndex(Numbered(40));
    Start();
    const std::vector<std::string> all = Numbered(40);
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  click 1481\n" +
        LabelSteps(std::vector<std::string>(all.begin(), all.begin() + 19)) +
        "  scroll 1195 thumb 10\n"
        "  expect-text 1452 \"S10\"\n"
        "  scroll 1195 pagedown\n" +
        LabelSteps(std::vector<std::string>(all.begin() + 21, all.end())) +
        "  scroll 1195 linedown\n"
        "  expect-text 1452 \"S22\"\n"
        "  key escape\n"
        "closed\n");
}

TEST_F(ManualPricingFromMenu, TypedClearedAndFilteredPricesAndEachWayOut) {
    WriteIndex({"IBM", "MSFT", "XRX"});
    TempDataDir::WriteBytes("se120898.prc", PriceBytes({5, 1, 2, 3}));
    Start();
    // Escape keeps the file as it was.
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  expect-text 1482 \"Edit existing price file for 12/08/98\"\n"
        "  click 1481\n"
        "  set 1356 \"99\"\n"
        "  focus 1357\n"
        "  key escape\n"
        "closed\n");
    EXPECT_EQ(TempDataDir::ReadBytes("se120898.prc"), PriceBytes({5, 1, 2, 3}));
    // Select New Date saves: 12.5 shown as "%13.6f", a cleared edit is no
    // price, 12a5 leaves 125.
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  click 1481\n"
        "  set 1356 \"12.5\"\n"
        "  focus 1357\n"
        "  expect-text 1356 \"    12.500000\"\n"
        "  set 1357 \"\"\n"
        "  set 1362 \"\"\n"
        "  type 1362 \"12a5\"\n"
        "  expect-text 1362 \"125\"\n"
        "  click 1483\n"
        "  expect-text 1488 \"Select Date\"\n"
        "  expect-enabled 1356 off\n"
        "  key escape\n"
        "closed\n");
    EXPECT_EQ(TempDataDir::ReadBytes("se120898.prc"), PriceBytes({5, 12.5, kNone, 125}));
    // Done saves too, into the file of a date picked from the list.
    TempDataDir::WriteBytes("se010598.prc", PriceBytes({7}));
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  select 1486 \"01/05/98\"\n"
        "  expect-text 1482 \"Edit existing price file for 01/05/98\"\n"
        "  click 1481\n"
        "  expect-text 1488 \"Prices for 01/05/98\"\n"
        "  set 1357 \"42\"\n"
        "  click 1469\n"
        "closed\n");
    EXPECT_EQ(TempDataDir::ReadBytes("se010598.prc"), PriceBytes({7, kNone, 42, kNone}));
}

TEST_F(ManualPricingFromMenu, TheDateListIsNewestFirst) {
    WriteIndex({"IBM"});
    for (const char* name : {"se010598.prc", "se123199.prc", "se010500.prc"})
        TempDataDir::WriteBytes(name, PriceBytes({1}));
    Start();
    Script(
        "menu \"Pricing/Manual\"\n"
        "dialog 146\n"
        "  select 1486 0\n"
        "  expect-text 1486 \"01/05/00\"\n"
        "  select 1486 1\n"
        "  expect-text 1486 \"12/31/99\"\n"
        "  select 1486 2\n"
        "  expect-text 1486 \"01/05/98\"\n"
        "  key escape\n"
        "closed\n");
}

}  // namespace
}  // namespace pricing
