#pragma once

// The test implementation of the interaction seam: a script of steps answers
// every modal dialog, message box and common dialog, in the order they
// appear, offscreen.
//
// A modal dialog's DoModal builds the dialog, takes the script's "dialog N"
// step (the dialog that opened must be N), runs OnInitDialog, and then plays
// the following action steps on it (set a text, check a box, select a line,
// click a button ...) through the simulated user of Window, so that the bound
// handlers run exactly as for a person's click, until the dialog ends. A
// handler that opens a message box or another dialog takes the next steps
// for it: a nested modal is answered in place. Steps at the top level (no
// modal dialog open) act on the top-level window (the main frame) or on a
// modeless dialog chosen with Target.
//
// Anything that does not match fails with its text: a dialog or message box
// the script does not expect, a message box text or caption other than the
// script's, a control that is missing, hidden or disabled, a dialog still
// open when the script expects it closed or expects the next dialog, a
// dialog whose keys clash or leave a push button without one (KeyFaults,
// checked as it opens and after each step). After
// the first failure the script stops: every dialog still to come is ended
// with IDCANCEL and every message box gets its Escape answer, so the code
// under test unwinds without waiting.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/interaction.h"
#include "platform/window.h"

namespace platform {

struct ScriptStep {
    enum class Kind {
        ExpectDialog,  // id: the next modal dialog to open
        Action,        // action on a control of the current dialog or window
        ExpectClosed,  // the current dialog must have ended by now
        MessageBox,    // text (optional), caption (optional), answer
        FileDialog,    // text: the file name, or nothing to cancel
        FontDialog,    // font, or nothing to cancel
        ColorDialog,   // color, or nothing to cancel
        PrintDialog,   // accept
        Target,        // id: act on modeless dialog id at the top level (0: the top-level window)
        Run,           // run: a check or a command; returns an empty text or a failure
    };
    enum class Action {
        SetText,
        Type,
        Check,
        Click,
        Select,
        SelectText,
        DoubleClick,
        Scroll,
        Spin,
        Focus,
        Press,
        ExpectText,
        ExpectChecked,
        ExpectEnabled,
        ExpectVisible,
        SelectPage,   // id: the resource id of a property sheet's page
        ExpectCount,  // a list or combo box holds `number` lines
        ExpectLine,   // line `position` of a list or combo box reads `text`
    };

    Kind kind = Kind::Action;
    Action action = Action::Click;
    int id = 0;                          // dialog or control id
    std::optional<std::string> text;     // text, line text, message text, file name
    std::optional<std::string> caption;  // message box caption
    int number = 0;                      // line index, answer, scroll code, key, flag (0/1)
    int position = 0;                    // scroll position
    std::optional<FontChoice> font;
    std::optional<ColorRef> color;
    std::function<std::string()> run;
    bool top_level_only = false;  // Run: only when no modal dialog is open
    std::string source;           // where the step came from, for messages ("line 7")
};

// A readable form of a step ("click 1169", "dialog 123", ...).
std::string DescribeStep(const ScriptStep& step);

// The words of the text scripts, for messages: a text in double quotes, and
// the name of a message box answer ("ok", "cancel", ...; any other answer
// as its number).
std::string QuoteScriptText(const std::string& text);
std::string ScriptAnswerName(int answer);

class ScriptedInteraction : public Interaction {
public:
    using FailureHandler = std::function<void(const std::string& message)>;

    explicit ScriptedInteraction(FailureHandler on_failure = {});

    // Building the script.
    ScriptedInteraction& Add(ScriptStep step);
    ScriptedInteraction& ExpectDialog(int dialog_id);
    ScriptedInteraction& SetText(int id, std::string text);
    ScriptedInteraction& Type(int id, std::string text);
    ScriptedInteraction& Check(int id, bool checked = true);
    ScriptedInteraction& Click(int id);
    ScriptedInteraction& Select(int id, int index);
    ScriptedInteraction& SelectText(int id, std::string text);
    ScriptedInteraction& DoubleClick(int id, int index);
    ScriptedInteraction& Scroll(int id, int scroll_code, int position = 0);
    ScriptedInteraction& Spin(int id, bool up);
    ScriptedInteraction& Focus(int id);
    ScriptedInteraction& Press(Key key);
    ScriptedInteraction& ExpectText(int id, std::string text);
    ScriptedInteraction& ExpectChecked(int id, bool checked);
    ScriptedInteraction& ExpectEnabled(int id, bool enabled);
    ScriptedInteraction& ExpectVisible(int id, bool visible);
    ScriptedInteraction& ExpectCount(int id, int count);
    ScriptedInteraction& ExpectLine(int id, int line, std::string text);
    ScriptedInteraction& ExpectClosed();
    // Shows the page of resource id of the open property sheet.
    ScriptedInteraction& SelectPage(int page_id);
    // The next message box; an empty optional accepts any text or caption.
    ScriptedInteraction& ExpectMessageBox(std::optional<std::string> text, int answer,
                                          std::optional<std::string> caption = std::nullopt);
    ScriptedInteraction& AnswerFileDialog(std::optional<std::string> file_name);
    ScriptedInteraction& AnswerFontDialog(std::optional<FontChoice> font);
    ScriptedInteraction& AnswerColorDialog(std::optional<ColorRef> color);
    ScriptedInteraction& AnswerPrintDialog(bool accept);
    ScriptedInteraction& Target(int dialog_id);
    ScriptedInteraction& Run(std::string description, std::function<std::string()> run,
                             bool top_level_only = false);

    // The window that top-level actions act on.
    void SetTopLevelWindow(Window* window) { top_level_ = window; }

    // Plays the steps at the top level until the script has ended or failed.
    void RunScript();
    // Fails when steps are left that nothing took.
    void FailIfStepsLeft();

    bool Failed() const { return !failures_.empty(); }
    const std::vector<std::string>& Failures() const { return failures_; }
    std::size_t StepsLeft() const { return steps_.size(); }
    // What was shown, in order.
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return message_boxes_; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return file_dialogs_; }
    const std::vector<unsigned>& Beeps() const { return beeps_; }

    int RunModal(Dialog& dialog, const std::function<void()>& init) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
    std::optional<FontChoice> ShowFontDialog(const FontRequest& request) override;
    std::optional<ColorRef> ShowColorDialog(const ColorRequest& request) override;
    bool ShowPrintDialog(const PrintRequest& request) override;
    void Beep(unsigned type) override;

private:
    ScriptedInteraction& AddAction(ScriptStep::Action action, int id);
    void Fail(const std::string& message);
    const ScriptStep* Peek() const { return steps_.empty() ? nullptr : &steps_.front(); }
    ScriptStep Pop();
    // Takes the next step when it is of this kind; fails (naming `what`) and
    // gives nothing otherwise.
    std::optional<ScriptStep> Take(ScriptStep::Kind kind, const std::string& what);
    void Execute(const ScriptStep& step, Window* target, const std::string& target_name);
    // Fails when the open dialog's keys clash or a push button has none.
    void CheckKeys(Dialog& dialog);
    std::string ApplyAction(const ScriptStep& step, Window& target);
    Window* TopLevelTarget(std::string& name);

    std::deque<ScriptStep> steps_;
    FailureHandler on_failure_;
    std::vector<std::string> failures_;
    bool aborted_ = false;
    Window* top_level_ = nullptr;
    int target_dialog_ = 0;
    std::vector<Dialog*> modal_stack_;
    std::vector<MessageBoxRequest> message_boxes_;
    std::vector<FileDialogRequest> file_dialogs_;
    std::vector<unsigned> beeps_;
};

}  // namespace platform
