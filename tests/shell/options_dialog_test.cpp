// The options dialog: eleven options a page over nine pages, each row as
// its kind shows it (check box, up-down control or a typed character), the
// stepping of number options within their range, typed values, and the
// options record written only by Done.

#include "shell/options_dialog.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;
using fixtures::TempDataDir;
using D = COptionsDlg;

std::vector<unsigned char> CommonBytes() {
    return TempDataDir::Exists("COMMON.FIL") ? TempDataDir::ReadBytes("COMMON.FIL")
                                             : std::vector<unsigned char>{};
}

void ExpectNoFailures(const ScriptedInteraction& script) {
    for (const std::string& failure : script.Failures()) ADD_FAILURE() << failure;
    EXPECT_EQ(script.StepsLeft(), 0u);
}

// How a row shows: "-" no option, "C" check box, "S" up-down control, "E"
// the field alone (a character option).
char RowKind(const D& dialog, int row) {
    const bool edit = dialog.GetDlgItem(D::kEditIds[row]).IsWindowVisible();
    const bool check = dialog.GetDlgItem(D::kCheckIds[row]).IsWindowVisible();
    const bool spin = dialog.GetDlgItem(D::kSpinIds[row]).IsWindowVisible();
    if (!edit && !check && !spin) return dialog.GetDlgItemText(D::kLabelIds[row]).empty() ? '-' : '?';
    if (edit && check && !spin) return 'C';
    if (edit && spin && !check) return 'S';
    if (edit && !check && !spin) return 'E';
    return '?';
}

struct PageCase {
    int page;
    std::string kinds;  // one character a row
    std::string first_label;
    std::string last_label;  // empty: the last row holds no option
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << "page " << c.page;
}

const std::vector<PageCase> kPages = {
    {0, "CCCCCCCSSCC", "  1. default CUSIP to previously entered symbol",
     " 11. suppress reporting cash equivalents in Portfolio Changes"},
    {1, "CCCSSCCSCCC", " 12. display trade memo letterhead on billing invoice",
     " 22. report billing disclaimer on the type 1 billing invoice"},
    {2, "CCCEEESCCCC", " 23. invoke percentage comparison against performance for billing",
     " 33. suppress licensee name on all reports"},
    {3, "CCCCCCCCCCC", " 34. report rate of return (not annualized) on performance summary",
     " 44. report yield based on cost instead of market value (appraisals)"},
    {4, "CCSCCCCCCSC", " 45. suppress posting of income in the off-line transactions module",
     " 55. report time weighted rate of return on the account appraisal"},
    {5, "CCCCCCCCCCC", " 56. invoke generic asset allocation model",
     " 66. buy/sell designated money market fund in off-line transactions"},
    {6, "ECSCCSS-CCS", " 67. for future use", " 77. rounding option for unit price in the trade screen"},
    {7, "SCCSCCCCCCC", " 78. transaction ledger export file type",
     " 88. add Salutation field to the monthly performance and summary"},
    {8, "C----------", " 89. show Getting Started Tutorial at startup", ""},
};

class OptionsPages : public ::testing::TestWithParam<PageCase> {};

TEST_P(OptionsPages, ElevenRowsAPage) {
    const PageCase& c = GetParam();
    TempDataDir dir;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kOptionsDialogId);
    for (int p = 0; p < c.page; ++p) script.Click(D::kPageDown);
    script
        .Run("page",
             [&]() -> std::string {
                 std::string out;
                 std::string kinds;
                 for (int r = 0; r < D::kRows; ++r) kinds += RowKind(dialog, r);
                 if (kinds != c.kinds) out += "rows " + kinds + "; ";
                 if (dialog.GetDlgItemText(D::kLabelIds[0]) != c.first_label)
                     out += "first label \"" + dialog.GetDlgItemText(D::kLabelIds[0]) + "\"; ";
                 if (dialog.GetDlgItemText(D::kLabelIds[10]) != c.last_label)
                     out += "last label \"" + dialog.GetDlgItemText(D::kLabelIds[10]) + "\"; ";
                 if (dialog.GetDlgItemText(D::kPageLabel) != "Page " + std::to_string(c.page + 1))
                     out += "page label; ";
                 // An empty options record: every yes/no option reads N and
                 // is unchecked, every number option reads 0.
                 for (int r = 0; r < D::kRows; ++r) {
                     const std::string field = dialog.GetDlgItemText(D::kEditIds[r]);
                     if (kinds[r] == 'C' && (field != "N" || dialog.IsDlgButtonChecked(D::kCheckIds[r])))
                         out += "row " + std::to_string(r) + " reads " + field + "; ";
                     if (kinds[r] == 'S' && field != "0")
                         out += "row " + std::to_string(r) + " reads " + field + "; ";
                     if (kinds[r] == 'E' && !field.empty())
                         out += "row " + std::to_string(r) + " reads " + field + "; ";
                     if (kinds[r] == '-' && dialog.GetDlgItem(D::kEditIds[r]).IsWindowEnabled())
                         out += "row " + std::to_string(r) + " enabled; ";
                 }
                 return out;
             })
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
}

INSTANTIATE_TEST_SUITE_P(Pages, OptionsPages, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return "Page" + std::to_string(info.param.page + 1); });

TEST(OptionsDialog, PagesWrapAroundBothWays) {
    TempDataDir dir;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kOptionsDialogId)
        .ExpectText(D::kPageLabel, "Page 1")
        .Click(D::kPageUp)
        .ExpectText(D::kPageLabel, "Page 9")
        .ExpectText(D::kLabelIds[0], " 89. show Getting Started Tutorial at startup")
        .Click(D::kPageDown)
        .ExpectText(D::kPageLabel, "Page 1")
        .Click(D::kPageDown)
        .Click(D::kPageUp)
        .ExpectText(D::kPageLabel, "Page 1")
        .Press(Key::Escape)
        .ExpectClosed();
    D dialog;
    dialog.DoModal();
    ExpectNoFailures(script);
}

struct StepCase {
    std::string name;
    records::Opt option;
    unsigned char stored;
    bool up;
    unsigned char after;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class OptionsStepping : public ::testing::TestWithParam<StepCase> {};

TEST_P(OptionsStepping, NumberOptionsStayInTheirRange) {
    const StepCase& c = GetParam();
    TempDataDir dir;
    fixtures::SetOptions({{c.option, c.stored}});
    const int page = static_cast<int>(records::OptionIndex(c.option)) / D::kRows;
    const int row = static_cast<int>(records::OptionIndex(c.option)) % D::kRows;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script.ExpectDialog(kOptionsDialogId);
    for (int p = 0; p < page; ++p) script.Click(D::kPageDown);
    script.Spin(D::kSpinIds[row], c.up)
        .ExpectText(D::kEditIds[row], std::string(1, static_cast<char>('0' + c.after)))
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_EQ(records::OptionValue(records::Rdopts(), c.option), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsStepping,
    ::testing::Values(
        StepCase{"RoundingUpFromEightWrapsToFour", records::Opt::kSystemDecimals, 8, true, 4},
        StepCase{"RoundingDownFromFourWrapsToEight", records::Opt::kSystemDecimals, 4, false, 8},
        StepCase{"RoundingUpInside", records::Opt::kSystemDecimals, 5, true, 6},
        StepCase{"RoundingDownInside", records::Opt::kSystemDecimals, 6, false, 5},
        StepCase{"NeverWrittenRoundingUpStartsAtFour", records::Opt::kSystemDecimals, 0, true, 4},
        StepCase{"NeverWrittenRoundingDownStartsAtEight", records::Opt::kSystemDecimals, 0, false, 8},
        StepCase{"MemoTypeDownFromZeroIsFourNotNegative", records::Opt::kTradeMemoType, 0, false, 4},
        StepCase{"MemoTypeUpFromZeroIsOne", records::Opt::kTradeMemoType, 0, true, 1},
        StepCase{"AboveTheRangeDownIsTheLargest", records::Opt::kRateOrYieldToMaturity, 7, false, 2},
        StepCase{"AboveTheRangeUpIsTheSmallest", records::Opt::kRateOrYieldToMaturity, 7, true, 1},
        StepCase{"ZeroToNineUpFromNine", records::Opt::kCenterPortfolioSummary, 9, true, 0},
        StepCase{"ZeroToNineDownFromZero", records::Opt::kCenterPortfolioSummary, 0, false, 9},
        StepCase{"ZeroToOneUp", records::Opt::kLedgerExportType, 0, true, 1}),
    [](const auto& info) { return info.param.name; });

TEST(OptionsDialog, TypedValuesAndCheckBoxes) {
    TempDataDir dir;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    D dialog;
    script
        .ExpectDialog(kOptionsDialogId)
        // Option 8, a number from 1 to 4: 7 is refused, 3 is taken.
        .SetText(D::kEditIds[7], "7")
        .ExpectText(D::kEditIds[7], "0")
        .SetText(D::kEditIds[7], "3")
        .ExpectText(D::kEditIds[7], "3")
        // Option 1, yes/no: "y" is yes and checks the box; "x" is refused.
        .SetText(D::kEditIds[0], "y")
        .ExpectText(D::kEditIds[0], "Y")
        .ExpectChecked(D::kCheckIds[0], true)
        .SetText(D::kEditIds[0], "x")
        .ExpectText(D::kEditIds[0], "Y")
        .SetText(D::kEditIds[0], "")
        .ExpectText(D::kEditIds[0], "Y")
        // Option 2 by its check box, on and off again; option 3 on.
        .Click(D::kCheckIds[1])
        .ExpectText(D::kEditIds[1], "Y")
        .Click(D::kCheckIds[1])
        .ExpectText(D::kEditIds[1], "N")
        .Click(D::kCheckIds[2])
        // Option 26, a character.
        .Click(D::kPageDown)
        .Click(D::kPageDown)
        .SetText(D::kEditIds[3], "Q")
        .ExpectText(D::kEditIds[3], "Q")
        .Run("nothing written before Done",
             [] { return CommonBytes().empty() ? "" : "COMMON.FIL was written"; })
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    const records::Options options = records::Rdopts();
    EXPECT_EQ(records::OptionValue(options, records::Opt::kCusipFromSymbol), 1);
    EXPECT_EQ(records::OptionValue(options, records::Opt::kCouponDueDescription), 0);
    EXPECT_EQ(records::OptionValue(options, records::Opt::kAutopostIncome), 1);
    EXPECT_EQ(records::OptionValue(options, records::Opt::kTradeMemoType), 3);
    EXPECT_EQ(records::OptionValue(options, records::Opt::kReserved26), 'Q');
}

TEST(OptionsDialog, EscapeDiscardsAndDoneKeepsTheUnusedBytes) {
    TempDataDir dir;
    records::Options stored{};
    stored[29] = 1;   // option 30
    stored[100] = 7;  // a byte past the options
    records::Wropts(stored);
    const std::vector<unsigned char> before = CommonBytes();
    {
        ScriptedInteraction script;
        ScopedInteraction installed(script);
        script.ExpectDialog(kOptionsDialogId)
            .Click(D::kPageDown)
            .Click(D::kPageDown)
            .ExpectChecked(D::kCheckIds[7], true)  // option 30
            .ExpectText(D::kEditIds[7], "Y")
            .Click(D::kCheckIds[7])
            .Press(Key::Escape)
            .ExpectClosed();
        D dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        ExpectNoFailures(script);
        EXPECT_EQ(CommonBytes(), before);
    }
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kOptionsDialogId).Click(D::kCheckIds[0]).Click(D::kDone).ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    const records::Options after = records::Rdopts();
    EXPECT_EQ(after[0], 1);
    EXPECT_EQ(after[29], 1);
    EXPECT_EQ(after[100], 7);
}

TEST(OptionsDialog, Labels) {
    EXPECT_EQ(OptionLabel(1), "  1. default CUSIP to previously entered symbol");
    EXPECT_EQ(OptionLabel(81), " 81. set system rounding factor");
    EXPECT_EQ(OptionTable(74).kind, OptionKind::None);
    EXPECT_EQ(OptionTable(90).kind, OptionKind::None);
    EXPECT_EQ(OptionTable(81).smallest, 4);
    EXPECT_EQ(OptionTable(81).largest, 8);
}

}  // namespace
