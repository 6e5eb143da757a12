// The text script driver on a small main window built here: menu commands
// that open the sample dialog, ask questions, name files and write them,
// played from scripts; and the errors of scripts that do not parse or do
// not match what the program does.

#include "tests/tools/script_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/common_dialogs.h"
#include "platform/message_box.h"
#include "sample_dialog.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace sample;

enum : int {
    kOptionsCommand = 32830,
    kDeleteCommand = 32895,
    kSaveCommand = 32896,
    kErrorsCommand = 32897,
    kDisabledCommand = 32999,
    kDateEdit = 61447,
    kErrorsDialogId = 142,
    kErrorLine = 1177,
};

const DialogTemplate& ErrorsTemplate() {
    static const DialogTemplate table{
        kErrorsDialogId, "Input Errors",
        Column({Static(kErrorLine, ""), Row({Stretch(), Button(IDOK, "Done")})})};
    return table;
}

// A main window with a few commands, standing in for the program's.
class TestFrame : public MainFrame {
public:
    TestFrame() {
        Bind(kOptionsCommand, Notify::Clicked, [this] {
            SampleDialog dialog(selection, this);
            dialog.DoModal();
        });
        Bind(kDeleteCommand, Notify::Clicked, [this] {
            if (MessageBox("Delete Transaction Import", "Diagnostic", MB_OKCANCEL, GetSafeHwnd()) == IDOK)
                std::filesystem::remove("OFFLINET.DAT");
        });
        Bind(kSaveCommand, Notify::Clicked, [this] {
            FileDialogRequest request;
            request.filter = "Text Files (*.txt)|*.txt||";
            if (auto name = GetSaveFileName(request))
                std::ofstream(*name) << "Account " << selection.account << "\n";
        });
        Bind(kErrorsCommand, Notify::Clicked, [this] {
            errors.Create(this);
            errors.SetDlgItemText(kErrorLine, "1.Illegal report date");
        });
        errors.Bind(IDOK, Notify::Clicked, [this] { errors.DestroyWindow(); });
    }
    Selection selection;
    Dialog errors{ErrorsTemplate()};
};

class ScriptDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.Create("TREL1", {Popup("&Utilities", {Command(kOptionsCommand, "&Options"),
                                                                Command(kDisabledCommand, "Nothing")})}));
        frame.AddToolBarEdit(kDateEdit, 8);
        frame.ShowWindow(SW_SHOW);
    }
    std::string Failures() const {
        std::string all;
        for (const std::string& f : driver.Failures()) all += f + "\n";
        return all;
    }

    fixtures::TempDataDir dir;
    TestFrame frame;
    tools::ScriptDriver driver{&frame};
};

TEST_F(ScriptDriverTest, PlaysCommandsDialogsAndFileChecks) {
    std::ofstream("OFFLINET.DAT") << "x";
    const bool ok = driver.Run(R"(
# the options dialog, filled in and generated
command 32830
dialog 500
  set 621 "02/01/98"
  select 611 "BRX100"
  check 630 on
  click 652                  # File
  expect-visible 661 on
  set 661 OUT.TXT
  click 670
closed

command 32895
message "Delete Transaction Import" "Diagnostic" ok
missing OFFLINET.DAT

command 32896
file "report.txt"
exists report.txt
contains report.txt "Account BRX100"
)");
    EXPECT_TRUE(ok) << Failures();
    EXPECT_EQ(frame.selection.account, "BRX100");
    EXPECT_EQ(frame.selection.file_name, "OUT.TXT");
    EXPECT_TRUE(frame.selection.accrued);
}

TEST_F(ScriptDriverTest, TopLevelStepsActOnTheMainWindowOrAModelessDialog) {
    const bool ok = driver.Run(R"(
set 61447 "01/05/99"
expect-text 61447 "01/05/99"
command 32897
window 142
expect-text 1177 "1.Illegal report date"
click 1
window main
)");
    EXPECT_TRUE(ok) << Failures();
    EXPECT_EQ(Dialog::FindOpen(kErrorsDialogId), nullptr);  // Done closed it
    EXPECT_EQ(frame.GetDlgItemText(kDateEdit), "01/05/99");
}

// Menu commands by their mnemonics, as Alt and the letters pick them.
TEST_F(ScriptDriverTest, MnemonicsPickMenuCommands) {
    EXPECT_TRUE(driver.Run("mnemonic \"u/o\"\ndialog 500\nkey escape\nclosed\n")) << Failures();
}

TEST_F(ScriptDriverTest, RunsAScriptFile) {
    std::ofstream("cancel.script") << "command 32830\ndialog 500\nkey escape\nclosed\n";
    EXPECT_TRUE(driver.RunFile("cancel.script")) << Failures();
    EXPECT_FALSE(driver.RunFile("missing.script"));
    EXPECT_EQ(driver.Failures().at(0), "the script \"missing.script\" cannot be read");
}

// Scripts that do not parse: nothing runs, every bad line is reported.
struct ParseCase {
    const char* line;
    const char* error;
};

class ScriptParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ScriptParseTest, ReportsTheLine) {
    const tools::ParsedScript parsed = tools::ParseScript(std::string("closed\n") + GetParam().line, nullptr);
    ASSERT_EQ(parsed.errors.size(), 1u);
    EXPECT_EQ(parsed.errors[0], std::string("line 2: ") + GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptParseTest,
    ::testing::Values(ParseCase{"clik 670", "unknown step \"clik\""},
                      ParseCase{"set 621", "\"set\" takes the form: set ID \"TEXT\""},
                      ParseCase{"set abc \"x\"", "\"abc\" is not a number"},
                      ParseCase{"check 630 maybe", "\"maybe\" is not on or off"},
                      ParseCase{"message \"Illegal\" perhaps", "\"perhaps\" is not a message box button"},
                      ParseCase{"set 621 \"01/05", "a quoted text is not closed"},
                      ParseCase{"scroll 1195 sideways", "\"sideways\" is not a scroll request"},
                      ParseCase{"key space", "\"space\" is not a key"},
                      ParseCase{"dblclick 611 \"ACC\"", "dblclick takes a line number"}));

TEST(ScriptParseLinesTest, StepsKeepTheirLines) {
    const tools::ParsedScript parsed = tools::ParseScript(
        "dialog 500\n\n  # comment\nset 621 \"a \\\"quoted\\\" text\"\nmessage * yes\nfile cancel\n",
        nullptr);
    ASSERT_TRUE(parsed.errors.empty());
    ASSERT_EQ(parsed.steps.size(), 4u);
    EXPECT_EQ(parsed.steps[1].source, "line 4");
    EXPECT_EQ(parsed.steps[1].text, std::optional<std::string>("a \"quoted\" text"));
    EXPECT_EQ(parsed.steps[2].text, std::nullopt);  // any message text
    EXPECT_EQ(parsed.steps[2].number, IDYES);
    EXPECT_EQ(parsed.steps[3].text, std::nullopt);  // cancelled
}

// A message of two lines is written with \n; \\ keeps a backslash before
// an n.
TEST(ScriptParseLinesTest, BackslashNIsALineBreak) {
    const tools::ParsedScript parsed = tools::ParseScript("message \"first\\nsecond \\\\n\" ok\n", nullptr);
    ASSERT_TRUE(parsed.errors.empty());
    ASSERT_EQ(parsed.steps.size(), 1u);
    EXPECT_EQ(parsed.steps[0].text, std::optional<std::string>("first\nsecond \\n"));
}

// Scripts that parse but do not match what the program does.
struct MismatchCase {
    const char* name;
    const char* script;
    const char* failure;
};

class ScriptMismatchTest : public ScriptDriverTest, public ::testing::WithParamInterface<MismatchCase> {};

TEST_P(ScriptMismatchTest, FailsWithTheLine) {
    EXPECT_FALSE(driver.Run(GetParam().script));
    ASSERT_FALSE(driver.Failures().empty());
    EXPECT_EQ(driver.Failures()[0], GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptMismatchTest,
    ::testing::Values(
        MismatchCase{"DialogNeverOpens", "dialog 500\n", "dialog 500 did not open (line 1: dialog 500)"},
        MismatchCase{"MessageNeverShown", "command 32830\ndialog 500\nclick 2\nmessage \"x\" ok\n",
                     "nothing showed the message \"x\" ok (line 4: message \"x\" ok)"},
        MismatchCase{"DisabledCommand", "command 32999\n",
                     "command 32999 is disabled or has no handler (line 1: command 32999)"},
        MismatchCase{"CommandWhileADialogIsOpen", "command 32830\ndialog 500\ncommand 32830\n",
                     "dialog 500 \"Sample Options\" is still open, but command 32830 needs the main window "
                     "(line 3: command 32830)"},
        MismatchCase{"FileCheck", "exists NOWHERE.TXT\n",
                     "the file \"NOWHERE.TXT\" does not exist (line 1: exists NOWHERE.TXT)"},
        MismatchCase{"ModelessNotOpen", "window 142\n", "dialog 142 is not open (line 1: window 142)"},
        MismatchCase{"BadLine", "command 32830\nclik 2\n", "line 2: unknown step \"clik\""},
        MismatchCase{"NoSuchMnemonic", "mnemonic \"Q\"\n",
                     "no item of the menu bar has the mnemonic Q (line 1: mnemonic Q)"},
        MismatchCase{"MnemonicOfADisabledCommand", "mnemonic \"U/N\"\n",
                     "\"Nothing\" is disabled (line 1: mnemonic U/N)"},
        MismatchCase{"MnemonicEndingOnAMenu", "mnemonic \"u\"\n",
                     "\"Utilities\" opens a menu, not a command (line 1: mnemonic u)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
