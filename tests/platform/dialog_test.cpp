// Dialogs from a resource table, driven through the scripted interaction:
// setting controls, clicking buttons, Enter and Escape, message boxes and
// nested modals, and the failures a script reports.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLayout>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/message_box.h"
#include "platform/property_sheet.h"
#include "platform/scripted_interaction.h"
#include "sample_dialog.h"

namespace {

using namespace platform;
using namespace sample;

class DialogTest : public ::testing::Test {
protected:
    void ExpectClean() {
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
        EXPECT_EQ(script.StepsLeft(), 0u);
    }
    // The first failure, or empty.
    std::string Failure() const { return script.Failures().empty() ? "" : script.Failures().front(); }

    ScriptedInteraction script{[](const std::string&) {}};
    ScopedInteraction installed{script};
    Selection selection;
};

TEST_F(DialogTest, ScriptSetsControlsAndClicksGenerate) {
    script.ExpectDialog(kDialogId)
        .SelectText(kClientList, "ACC002")
        .SetText(kStartDate, "02/01/98")
        .Check(kAccrued)
        .SelectText(kManager, "AB12")
        .ExpectVisible(kFileName, false)
        .Click(kFile)
        .ExpectVisible(kFileName, true)
        .SetText(kFileName, "OUT.TXT")
        .Click(kGenerate)
        .ExpectClosed();
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectClean();
    EXPECT_EQ(selection.scope, 2);
    EXPECT_EQ(selection.account, "ACC002");
    EXPECT_EQ(selection.start_date, "02/01/98");
    EXPECT_EQ(selection.end_date, "12/31/98");  // set by OnInitDialog, untouched
    EXPECT_TRUE(selection.accrued);
    EXPECT_EQ(selection.manager, "AB12");
    EXPECT_EQ(selection.destination, 2);
    EXPECT_EQ(selection.file_name, "OUT.TXT");
    EXPECT_FALSE(dialog.IsWindow());  // the widgets are gone after DoModal
}

TEST_F(DialogTest, CancelButtonAndEscapeRunOnCancel) {
    script.ExpectDialog(kDialogId).Click(IDCANCEL).ExpectDialog(kDialogId).Press(Key::Escape);
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancels, 2);
    EXPECT_EQ(selection.destination, -1);  // nothing stored
    ExpectClean();
}

// Generate's checks, one row per case: the dialog closes only when the
// entries pass or the person accepts the way out offered.
struct GenerateCase {
    const char* name;
    const char* start;
    int output;
    const char* file;
    std::optional<std::string> message;  // the box Generate shows, if any
    int answer;                          // the button pressed on it
    int result;                          // DoModal's result
    int destination;                     // what Generate stored last
};

class GenerateTest : public DialogTest, public ::testing::WithParamInterface<GenerateCase> {};

TEST_P(GenerateTest, ChecksEntries) {
    const GenerateCase& c = GetParam();
    script.ExpectDialog(kDialogId).SetText(kStartDate, c.start).Click(c.output);
    if (c.output == kFile) script.SetText(kFileName, c.file);
    script.Click(kGenerate);
    if (c.message) script.ExpectMessageBox(*c.message, c.answer, "Sample Options");
    if (c.result == IDCANCEL) script.Click(IDCANCEL);  // it stayed open
    script.ExpectClosed();
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(selection.destination, c.destination);
    ExpectClean();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GenerateTest,
    ::testing::Values(GenerateCase{"Display", "01/05/99", kDisplay, "", std::nullopt, 0, IDOK, 3},
                      GenerateCase{"Print", "01/05/99", kPrint, "", std::nullopt, 0, IDOK, 0},
                      GenerateCase{"NamedFile", "01/05/99", kFile, "OUT.TXT", std::nullopt, 0, IDOK, 2},
                      GenerateCase{"NoFileNameDisplayInstead", "01/05/99", kFile, "",
                                   "No file name. Display instead?", IDYES, IDOK, 3},
                      GenerateCase{"NoFileNameStayOpen", "01/05/99", kFile, "",
                                   "No file name. Display instead?", IDNO, IDCANCEL, 2},
                      GenerateCase{"ShortDate", "1/5/99", kDisplay, "", "Illegal start date", IDOK, IDCANCEL,
                                   3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, EnterMovesTheFocusAndPressesAFocusedButton) {
    SampleDialog* dlg = nullptr;
    auto focus_is = [&](int id) {
        return [&, id]() -> std::string {
            return dlg->GetFocusId() == id ? "" : "focus on " + std::to_string(dlg->GetFocusId());
        };
    };
    script.ExpectDialog(kDialogId)
        .Run("focus on All", focus_is(kAll))  // the first control that takes the focus
        .Focus(kStartDate)
        .Press(Key::Enter)
        .Run("focus on End Date", focus_is(kEndDate))
        .Press(Key::Enter)
        .Run("focus on Accrued", focus_is(kAccrued))  // the hidden check box is skipped
        .Press(Key::Enter)
        .Run("focus on manager", focus_is(kManager))
        .Press(Key::Enter)
        .Press(Key::Enter)
        .Press(Key::Enter)
        .Run("focus on File", focus_is(kFile))
        .Press(Key::Enter)  // the hidden file name is skipped
        .Run("focus on Generate", focus_is(kGenerate))
        .Press(Key::Enter)  // presses Generate
        .ExpectClosed();
    SampleDialog dialog(selection);
    dlg = &dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectClean();
    const std::vector<std::string> expected{"+621", "-621", "+623", "-623"};
    EXPECT_EQ(dialog.focus_log, expected);
}

// The arrow keys go to the focused control as on screen: a list walks its
// lines (each a user's selection), an edit keeps its text.
TEST_F(DialogTest, ArrowKeysGoToTheFocusedControl) {
    SampleDialog* dlg = nullptr;
    auto state_is = [&](int line, int selections) {
        return [&, line, selections]() -> std::string {
            const int at = dlg->GetDlgItem(kClientList).GetCurSel();
            if (at != line || dlg->list_selections != selections)
                return "line " + std::to_string(at) + " after " + std::to_string(dlg->list_selections) +
                       " selections";
            return {};
        };
    };
    script.ExpectDialog(kDialogId)
        .Focus(kClientList)
        .Press(Key::Down)
        .Press(Key::Down)
        .Run("the third line", state_is(2, 2))
        .Press(Key::Down)  // past the last line: nothing moves
        .Press(Key::Up)
        .Run("the second line", state_is(1, 3))
        .Focus(kStartDate)
        .Press(Key::Down)
        .Press(Key::Up)
        .Run("the list as it was", state_is(1, 3))
        .ExpectText(kStartDate, "01/01/98")
        .Press(Key::Escape)
        .ExpectClosed();
    SampleDialog dialog(selection);
    dlg = &dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectClean();
}

// A dialog that asks for a choice lets Enter press its default button
// (a push button with the focus: that one); with the default button
// disabled, Enter moves on as in a data-entry dialog.
class ChoiceDialog : public Dialog {
public:
    enum : int { kName = 10, kOther = 20 };
    ChoiceDialog()
        : Dialog({905, "Choice",
                  Column({Row({Label("Name"), Edit(kName).Chars(8)}),
                          Row({Button(IDOK, "OK", kDefault), Button(kOther, "Other"), Button(IDCANCEL, "Cancel")})})}) {
        Bind(kOther, Notify::Clicked, [this] { EndDialog(kOther); });
    }
    bool OnEnterKey() override { return PressDefaultButton() || Dialog::OnEnterKey(); }
};

TEST_F(DialogTest, EnterPressesTheDefaultButtonOfAChoice) {
    struct Case {
        const char* name;
        std::function<void(ScriptedInteraction&)> steps;
        int result;
    };
    const std::vector<Case> cases = {
        {"from a field", [](ScriptedInteraction& s) { s.Focus(ChoiceDialog::kName).Press(Key::Enter); }, IDOK},
        {"on another button",
         [](ScriptedInteraction& s) { s.Focus(ChoiceDialog::kOther).Press(Key::Enter); },
         ChoiceDialog::kOther},
        {"the default disabled",
         [](ScriptedInteraction& s) {
             s.Run("disable OK",
                   [] {
                       Dialog::FindOpen(905)->GetDlgItem(IDOK).EnableWindow(false);
                       return std::string();
                   })
                 .Focus(ChoiceDialog::kName)
                 .Press(Key::Enter)
                 .Run("moved on",
                      [] {
                          return Dialog::FindOpen(905)->GetFocusId() == ChoiceDialog::kOther ? std::string()
                                                                                             : "focus stayed";
                      })
                 .Click(IDCANCEL);
         },
         IDCANCEL},
    };
    for (const Case& c : cases) {
        ScriptedInteraction choice{[](const std::string&) {}};
        ScopedInteraction in(choice);
        choice.ExpectDialog(905);
        c.steps(choice);
        choice.ExpectClosed();
        ChoiceDialog dialog;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.name;
        for (const std::string& f : choice.Failures()) ADD_FAILURE() << c.name << ": " << f;
    }
}

TEST_F(DialogTest, NotificationsReachHandlersById) {
    SampleDialog* dlg = nullptr;
    script.ExpectDialog(kDialogId)
        .Run("init",
             [&]() -> std::string {
                 // OnInitDialog set the start date (a text set in code notifies)
                 // and selected a list line (a selection set in code does not).
                 if (dlg->start_changes != 1) return "start changes " + std::to_string(dlg->start_changes);
                 if (dlg->list_selections != 0) return "selections " + std::to_string(dlg->list_selections);
                 return {};
             })
        .SetText(kStartDate, "01/01/99")
        .Type(kEndDate, "")
        .Select(kClientList, 2)
        .Click(kAll)
        .ExpectChecked(kAll, true)
        .ExpectChecked(kSelect, false)  // same radio group
        .ExpectChecked(kDisplay, true)  // another group
        .Run("counts",
             [&]() -> std::string {
                 if (dlg->start_changes != 2) return "start changes " + std::to_string(dlg->start_changes);
                 if (dlg->list_selections != 1) return "selections " + std::to_string(dlg->list_selections);
                 return {};
             })
        .Click(IDCANCEL);
    SampleDialog dialog(selection);
    dlg = &dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectClean();
}

TEST_F(DialogTest, TypingGoesKeyByKeyThroughTheChangeHandler) {
    // A change handler that upper-cases what is typed, as keystroke filters
    // rewrite their edit: each key sees the text the handler left.
    class Upper : public SampleDialog {
    public:
        using SampleDialog::SampleDialog;
        bool OnInitDialog() override {
            SampleDialog::OnInitDialog();
            Bind(kFileName, Notify::Changed, [this] {
                std::string t = GetDlgItemText(kFileName);
                for (char& ch : t) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
                if (t != GetDlgItemText(kFileName)) SetDlgItemText(kFileName, t);
                ++keys;
            });
            return true;
        }
        int keys = 0;
    };
    script.ExpectDialog(kDialogId)
        .Click(kFile)
        .Type(kFileName, "out.txt")
        .ExpectText(kFileName, "OUT.TXT")
        .Type(kFileName, "1234567890")  // the limit is 12 characters
        .ExpectText(kFileName, "OUT.TXT12345")
        .Click(IDCANCEL);
    Upper dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_GE(dialog.keys, 7);
    ExpectClean();
}

TEST_F(DialogTest, GroupBoxIsAFrameNotAParent) {
    SampleDialog* dlg = nullptr;
    script.ExpectDialog(kDialogId)
        .Run("hide the frame",
             [&]() -> std::string {
                 dlg->GetDlgItem(kClientGroup).ShowWindow(SW_HIDE);
                 dlg->GetDlgItem(kAccountGroup).EnableWindow(false);
                 if (!dlg->GetDlgItem(kClientList).IsWindowVisible()) return "the list went with its frame";
                 if (!dlg->GetDlgItem(kAll).IsWindowEnabled()) return "the radio went with its frame";
                 return {};
             })
        .Select(kClientList, 1)
        .Click(kAll)
        .Click(IDCANCEL);
    SampleDialog dialog(selection);
    dlg = &dialog;
    dialog.DoModal();
    ExpectClean();
}

TEST_F(DialogTest, NestedModalsAreAnsweredInPlace) {
    script.ExpectDialog(kDialogId)
        .DoubleClick(kClientList, 1)  // opens the note dialog
        .ExpectDialog(kNestedDialogId)
        .Click(IDOK)  // empty note: a message box asks
        .ExpectMessageBox("The note is empty. Keep it?", IDCANCEL, "Note")
        .SetText(kNestedEdit, "hello")
        .Click(IDOK)
        .ExpectClosed()  // the note dialog
        .Click(kGenerate)
        .ExpectClosed();
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectClean();
    EXPECT_EQ(selection.nested_note, "hello");
    EXPECT_EQ(selection.account, "ACC002");
    EXPECT_EQ(dialog.list_double_clicks, 1);
}

// What a script reports when the program does not do what it expects. Each
// row plays a script on the sample dialog and names the start of the failure.
struct FailureCase {
    const char* name;
    std::function<void(ScriptedInteraction&)> script;
    const char* failure;
};

class ScriptFailureTest : public DialogTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ScriptFailureTest, ReportsWithItsText) {
    GetParam().script(script);
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // a failed script cancels what is open
    script.FailIfStepsLeft();
    ASSERT_FALSE(script.Failures().empty());
    EXPECT_EQ(Failure().rfind(GetParam().failure, 0), 0u) << Failure();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptFailureTest,
    ::testing::Values(
        FailureCase{"UnexpectedDialog", [](ScriptedInteraction&) {},
                    "unexpected dialog 500 \"Sample Options\": the script has ended"},
        FailureCase{"OtherDialogExpected", [](ScriptedInteraction& s) { s.ExpectDialog(123); },
                    "unexpected dialog 500 \"Sample Options\"; the script expects dialog 123"},
        FailureCase{
            "UnexpectedMessageBox",
            [](ScriptedInteraction& s) {
                s.ExpectDialog(kDialogId).SetText(kStartDate, "1/1").Click(kGenerate).Click(IDCANCEL);
            },
            "unexpected message box \"Sample Options\": \"Illegal start date\"; the script expects click 2"},
        FailureCase{
            "OtherMessageText",
            [](ScriptedInteraction& s) {
                s.ExpectDialog(kDialogId).SetText(kStartDate, "1/1").Click(kGenerate);
                s.ExpectMessageBox("Illegal end date", IDOK);
            },
            "message box \"Sample Options\": \"Illegal start date\" shown; the script expects the text "
            "\"Illegal end date\""},
        FailureCase{"NoSuchButton",
                    [](ScriptedInteraction& s) {
                        s.ExpectDialog(kDialogId).SetText(kStartDate, "1/1").Click(kGenerate);
                        s.ExpectMessageBox(std::nullopt, IDRETRY);
                    },
                    "message box \"Sample Options\": \"Illegal start date\" has no button retry"},
        FailureCase{"DidNotClose",
                    [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).Click(kAccrued).ExpectClosed(); },
                    "dialog 500 \"Sample Options\" did not close"},
        FailureCase{"StillOpenAtTheEnd",
                    [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).Click(kAccrued); },
                    "dialog 500 \"Sample Options\" is still open at the end of the script"},
        FailureCase{"HiddenControl",
                    [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).SetText(kFileName, "X"); },
                    "dialog 500 \"Sample Options\": control 661 is hidden"},
        FailureCase{"DisabledControl",
                    [](ScriptedInteraction& s) {
                        s.ExpectDialog(kDialogId);
                        s.Run("disable", [] {
                            Dialog::FindOpen(kDialogId)->GetDlgItem(kGenerate).EnableWindow(false);
                            return std::string();
                        });
                        s.Click(kGenerate);
                    },
                    "dialog 500 \"Sample Options\": control 670 is disabled"},
        FailureCase{"MissingControl", [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).Click(999); },
                    "dialog 500 \"Sample Options\": there is no control 999"},
        FailureCase{"WrongKind",
                    [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).SetText(kAccrued, "x"); },
                    "dialog 500 \"Sample Options\": control 630 is a check box and cannot be typed into"},
        FailureCase{"NoSuchLine",
                    [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).SelectText(kManager, "ZZ"); },
                    "dialog 500 \"Sample Options\": control 641 has no line \"ZZ\""},
        FailureCase{
            "TextDiffers",
            [](ScriptedInteraction& s) { s.ExpectDialog(kDialogId).ExpectText(kStartDate, "02/02/02"); },
            "dialog 500 \"Sample Options\": control 621 reads \"01/01/98\""},
        FailureCase{"StepsLeftOver",
                    [](ScriptedInteraction& s) {
                        s.ExpectDialog(kDialogId).Click(IDCANCEL).ExpectMessageBox("never", IDOK);
                    },
                    "1 script step(s) left, the next is message \"never\" ok"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, AfterAFailureEverythingUnwindsWithCancel) {
    script.ExpectDialog(kDialogId).Click(999);
    SampleDialog dialog(selection);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // Later dialogs and boxes get their Escape answers without more failures.
    EXPECT_EQ(SampleDialog(selection).DoModal(), IDCANCEL);
    EXPECT_EQ(MessageBox("Go on?", "Q", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Done", "Q", MB_OK), IDOK);
    EXPECT_EQ(script.Failures().size(), 1u);
}

}  // namespace

namespace {

using namespace platform;

// Dialogs are sized to what they show at the font in use: a text set later
// than the table's width is not cut (the dialog widens), and a group box
// that goes with its controls takes no room once they are all hidden,
// frame shown or not.
TEST(DialogLayout, TextsAreNotCutAndHiddenGroupsTakeNoRoom) {
    enum : int { kPrompt = 10, kList = 11, kFrame = 20, kChoice = 21, kOther = 30 };
    Dialog dialog(
        {902, "Layout",
         Column({Group(kFrame, "Sort Option", {Radio(kChoice, "Account Name")}, kHiddenWithControls),
                 Static(kPrompt, "").Chars(5), ListBox(kList).Chars(5).Lines(3), Static(kOther, "Other")})});
    ASSERT_TRUE(dialog.Create());
    QWidget* window = dialog.GetWidget();
    QWidget* prompt = dialog.GetDlgItem(kPrompt).Widget();
    const std::string long_text = "Select Account to Remove From Group";
    dialog.SetDlgItemText(kPrompt, long_text);
    window->layout()->activate();
    EXPECT_GE(prompt->width(), prompt->fontMetrics().horizontalAdvance(QString::fromStdString(long_text)));
    EXPECT_GE(window->width(), prompt->width());

    const int with_group = window->layout()->sizeHint().height();
    QWidget* place = dialog.GetDlgItem(kFrame).Widget()->parentWidget();
    EXPECT_FALSE(place->isHidden());
    // A frame whose controls are all hidden goes with them.
    dialog.GetDlgItem(kChoice).ShowWindow(SW_HIDE);
    EXPECT_TRUE(place->isHidden());
    EXPECT_FALSE(dialog.GetDlgItem(kFrame).IsWindowVisible());
    dialog.GetDlgItem(kChoice).ShowWindow(SW_SHOW);
    EXPECT_FALSE(place->isHidden());
    EXPECT_TRUE(dialog.GetDlgItem(kFrame).IsWindowVisible());
    dialog.GetDlgItem(kFrame).ShowWindow(SW_HIDE);
    EXPECT_FALSE(place->isHidden()) << "a child still shows";
    dialog.GetDlgItem(kChoice).ShowWindow(SW_HIDE);
    EXPECT_TRUE(place->isHidden());
    window->layout()->activate();
    EXPECT_LT(window->layout()->sizeHint().height(), with_group - 20);
    dialog.GetDlgItem(kChoice).ShowWindow(SW_SHOW);
    EXPECT_FALSE(place->isHidden());
    EXPECT_TRUE(dialog.GetDlgItem(kChoice).IsWindowVisible());
    dialog.DestroyWindow();
}

}  // namespace

namespace {

using namespace platform;

// A row whose controls are all hidden when the dialog opens takes no room
// until one of them shows; from then on it keeps its place while hidden. A
// row with a control showing keeps the places of its hidden ones.
TEST(DialogLayout, RowsHiddenAtOpeningTakeNoRoom) {
    enum : int { kName = 10, kFileLabel = 20, kFileEdit = 21, kCode = 30, kCodeNote = 31 };
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    Dialog dialog(
        {903, "Rows",
         Column(
             {Row({Static(IDC_STATIC, "Name"), Edit(kName).Chars(10)}),
              Row({Static(kFileLabel, "File Name", kHidden), Edit(kFileEdit, kHidden).Chars(12), Stretch()}),
              Row({Edit(kCode).Chars(2), Static(kCodeNote, "note", kHidden)}), Button(IDCANCEL, "Cancel")})});
    auto height = [&] {
        dialog.GetWidget()->layout()->activate();
        return dialog.GetWidget()->layout()->sizeHint().height();
    };
    int opened = 0, shown = 0;
    auto note_width = [&] {
        return dialog.GetDlgItem(kCodeNote).Widget()->sizePolicy().retainSizeWhenHidden();
    };
    script.ExpectDialog(903)
        .Run("opened",
             [&] {
                 opened = height();
                 return note_width() ? "" : "a partly shown row lost a place";
             })
        .Run("shown",
             [&] {
                 dialog.GetDlgItem(kFileLabel).ShowWindow(SW_SHOW);
                 dialog.GetDlgItem(kFileEdit).ShowWindow(SW_SHOW);
                 shown = height();
                 dialog.GetDlgItem(kFileLabel).ShowWindow(SW_HIDE);
                 dialog.GetDlgItem(kFileEdit).ShowWindow(SW_HIDE);
                 return height() == shown ? "" : "the row gave up its place again";
             })
        .Click(IDCANCEL)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
    EXPECT_GT(shown, opened + 10);
}

}  // namespace

namespace {

using namespace platform;

// A dialog takes the size of what it shows whenever that changes: the part
// a hidden group box took goes, and the groups left keep their height
// instead of stretching over it.
TEST(DialogLayout, ADialogShrinksWhenAPartHides) {
    enum : int { kList = 10, kClients = 11, kOutput = 20, kPrint = 21, kDisplay = 22 };
    Dialog dialog(
        {907, "Shrink",
         Column({Group(kClients, "Client List", {ListBox(kList).Chars(10).Lines(10)}, kHiddenWithControls),
                 Group(kOutput, "Output", {Row({Radio(kPrint, "Print"), Radio(kDisplay, "Display")})}),
                 Button(IDCANCEL, "Cancel")})});
    ASSERT_TRUE(dialog.Create());
    QApplication::processEvents();
    QWidget* window = dialog.GetWidget();
    QWidget* output = dialog.GetDlgItem(kOutput).Widget();
    const int opened = window->height();
    const int output_height = output->height();
    dialog.GetDlgItem(kList).ShowWindow(SW_HIDE);
    QApplication::processEvents();
    EXPECT_FALSE(dialog.GetDlgItem(kClients).IsWindowVisible());
    EXPECT_LT(window->height(), opened - 50);
    EXPECT_EQ(output->height(), output_height);
    dialog.GetDlgItem(kList).ShowWindow(SW_SHOW);
    QApplication::processEvents();
    EXPECT_EQ(window->height(), opened);
    dialog.DestroyWindow();
}

// A group box keeps its frame where the program leaves it shown around
// controls it has all hidden, as a resource's group box does; one whose
// table says it goes with its controls is hidden with them. Its place
// takes room while the frame or a control shows.
TEST(DialogLayout, AGroupBoxGoesWithItsControlsWhereItsTableSaysSo) {
    enum : int { kFrame = 20, kFirst = 21, kSecond = 22 };
    struct Case {
        const char* name;
        unsigned style;
        bool hide_controls;
        bool hide_frame;
        bool place_shows;
        bool frame_shows;
    };
    const Case cases[] = {
        {"a frame left around hidden controls", 0, true, false, true, true},
        {"a frame hidden with its controls", 0, true, true, false, false},
        {"controls without their frame", 0, false, true, true, false},
        {"a frame that goes with its controls", kHiddenWithControls, true, false, false, false},
        {"controls without a frame that goes with them", kHiddenWithControls, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog dialog({909, "Frames",
                       Column({Group(kFrame, "Combined",
                                     {Row({Edit(kFirst).Chars(4), Edit(kSecond).Chars(4)})}, c.style),
                               Button(IDCANCEL, "Cancel")})});
        ASSERT_TRUE(dialog.Create());
        QWidget* place = dialog.GetDlgItem(kFrame).Widget()->parentWidget();
        for (const int id : {kFirst, kSecond})
            if (c.hide_controls) dialog.GetDlgItem(id).ShowWindow(SW_HIDE);
        if (c.hide_frame) dialog.GetDlgItem(kFrame).ShowWindow(SW_HIDE);
        EXPECT_EQ(!place->isHidden(), c.place_shows);
        EXPECT_EQ(dialog.GetDlgItem(kFrame).IsWindowVisible(), c.frame_shows);
        // Shown again, the controls bring their place back in every case.
        for (const int id : {kFirst, kSecond}) dialog.GetDlgItem(id).ShowWindow(SW_SHOW);
        EXPECT_FALSE(place->isHidden());
        dialog.DestroyWindow();
    }
}

// A part without a frame: of two lists shown in turns only the shown one
// takes room; with all its controls hidden the part takes none, so the
// radio group beside it is no taller than its radios; its controls shown
// again come back where they first stood, in a dialog of the first size.
TEST(DialogLayout, APartTakesNoRoomWhileItsControlsAreAllHidden) {
    enum : int { kAll = 10, kSelect = 11, kLabel = 20, kAccounts = 21, kGroups = 22, kManager = 30 };
    Dialog dialog({908, "Part",
                   Column({Row({Group(IDC_STATIC, "Account", {Radio(kAll, "All"), Radio(kSelect, "Select")}),
                                Part({Static(kLabel, "Account"), ListBox(kAccounts).Chars(10).Lines(8),
                                      ListBox(kGroups, kHidden).Chars(10).Lines(8)}),
                                Part({ComboBox(kManager, kHidden).Chars(6)})}),
                           Button(IDCANCEL, "Cancel")})});
    ASSERT_TRUE(dialog.Create());
    QApplication::processEvents();
    QWidget* window = dialog.GetWidget();
    QWidget* accounts = dialog.GetDlgItem(kAccounts).Widget();
    QWidget* part = accounts->parentWidget();
    const QWidget* radios = dialog.GetDlgItem(kAll).Widget()->parentWidget();
    const QSize opened = window->size();
    const QRect first = accounts->geometry();
    EXPECT_LT(part->height(), 2 * accounts->minimumHeight()) << "the hidden list takes room";

    for (const int id : {kLabel, kAccounts}) dialog.GetDlgItem(id).ShowWindow(SW_HIDE);
    dialog.GetDlgItem(kManager).ShowWindow(SW_SHOW);
    QApplication::processEvents();
    EXPECT_TRUE(part->isHidden());
    EXPECT_LE(radios->height(), radios->sizeHint().height() + radios->fontMetrics().height() / 2);
    EXPECT_LT(window->height(), opened.height());

    for (const int id : {kLabel, kAccounts}) dialog.GetDlgItem(id).ShowWindow(SW_SHOW);
    dialog.GetDlgItem(kManager).ShowWindow(SW_HIDE);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), opened);
    EXPECT_EQ(accounts->geometry(), first);
    dialog.DestroyWindow();
}

// A title longer than the dialog's controls shows whole: the dialog is
// at least as wide as the title in the desktop's title face (bold) beside
// the title bar's icon and three buttons, each a square at least two lines
// of that face wide, with half a square clear on either side of the title
// (five squares in all), also after the program sets a longer title; a
// property sheet as much as any dialog.
TEST(DialogLayout, TheTitleFitsWhole) {
    QFont face = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    face.setBold(true);
    const QFontMetrics title_face(face);
    const auto wanted = [&](const std::string& text) {
        return title_face.horizontalAdvance(QString::fromStdString(text)) + 5 * 2 * title_face.height();
    };
    const std::string title = "Portfolio Manager Codes";
    const std::string longer = "Portfolio Manager Codes of the Whole Firm";
    Dialog dialog({906, title, Column({Row({Label("Code"), Edit(10).Chars(4)})})});
    PropertyPage page({907, "Codes", Column({Row({Label("Code"), Edit(10).Chars(4)})})});
    PropertySheet sheet(908, title);
    sheet.AddPage(&page);
    for (Dialog* d : {&dialog, static_cast<Dialog*>(&sheet)}) {
        ASSERT_TRUE(d->Create());
        QWidget* window = d->GetWidget();
        window->layout()->activate();
        EXPECT_GE(window->minimumWidth(), wanted(title)) << d->TemplateId();
        d->SetWindowText(longer);
        window->layout()->activate();
        EXPECT_GE(window->minimumWidth(), wanted(longer)) << d->TemplateId();
        EXPECT_EQ(d->GetWindowText(), longer);
        d->DestroyWindow();
    }
}

}  // namespace
