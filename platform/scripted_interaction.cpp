#include "platform/scripted_interaction.h"

#include <QLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "platform/dialog.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/property_sheet.h"
#include "platform/timer.h"

namespace platform {
namespace {

std::string DescribeDialog(Dialog& d) {
    return "dialog " + std::to_string(d.TemplateId()) + " " + QuoteScriptText(d.GetWindowText());
}

std::string DescribeBox(const MessageBoxRequest& r) {
    return "message box " + QuoteScriptText(r.caption) + ": " + QuoteScriptText(r.text);
}

std::string At(const ScriptStep& step) {
    return step.source.empty() ? "" : " (" + step.source + ": " + DescribeStep(step) + ")";
}

// What Escape would answer; boxes without an Escape answer get their last
// (most cautious) button.
int FallbackAnswer(unsigned flags) {
    const int escape = MessageBoxEscapeAnswer(flags);
    if (escape != 0) return escape;
    const std::vector<int> answers = MessageBoxAnswers(flags);
    return (flags & MB_TYPEMASK) == MB_ABORTRETRYIGNORE ? IDABORT : answers.back();
}

// With LEDRA_DIALOG_PICTURES naming a folder, every dialog a script opens
// is kept there as a picture, as it would first show on screen
// (NNN-ID-open.png) and as it stood before its last step
// (NNN-ID-last.png), so that a person can look at the layouts.
void KeepPicture(Dialog& dialog, int number, const char* when) {
    static const QByteArray folder = qgetenv("LEDRA_DIALOG_PICTURES");
    QWidget* w = dialog.GetWidget();
    if (folder.isEmpty() || !w) return;
    std::filesystem::create_directories(folder.toStdString());
    // Nested layouts pass a control's new size up only while the dialog
    // shows, as it does on screen: here every layout is asked afresh, and
    // the dialog takes the size it takes on screen when it opens and after
    // each change of what it shows.
    for (QLayout* layout : w->findChildren<QLayout*>()) layout->invalidate();
    if (w->layout()) w->layout()->activate();
    w->adjustSize();
    char name[64];
    std::snprintf(name, sizeof name, "%03d-%d-%s.png", number, dialog.TemplateId(), when);
    w->grab().save(QString::fromStdString((std::filesystem::path(folder.toStdString()) / name).string()));
}

int g_pictures = 0;

}  // namespace

// ---- playing

void ScriptedInteraction::Fail(const std::string& message) {
    aborted_ = true;
    failures_.push_back(message);
    if (on_failure_)
        on_failure_(message);
    else
        std::cerr << "script failure: " << message << "\n";
}

ScriptStep ScriptedInteraction::Pop() {
    ScriptStep s = std::move(steps_.front());
    steps_.pop_front();
    return s;
}

std::optional<ScriptStep> ScriptedInteraction::Take(ScriptStep::Kind kind, const std::string& what) {
    if (aborted_) return std::nullopt;
    const ScriptStep* next = Peek();
    if (!next) {
        Fail("unexpected " + what + ": the script has ended");
        return std::nullopt;
    }
    if (next->kind != kind) {
        Fail("unexpected " + what + "; the script expects " + DescribeStep(*next) + At(*next));
        return std::nullopt;
    }
    return Pop();
}

std::string ScriptedInteraction::ApplyAction(const ScriptStep& s, Window& target) {
    using A = ScriptStep::Action;
    const std::string id = std::to_string(s.id);
    if (s.action == A::SelectPage) {
        auto* sheet = dynamic_cast<PropertySheet*>(&target);
        return sheet ? sheet->UserSelectPage(s.id) : "there is no property sheet to show page " + id + " of";
    }
    // A dialog's controls may lie on a page of it (property sheets).
    auto* dialog = dynamic_cast<Dialog*>(&target);
    Window& w = dialog ? dialog->ActionWindow(s.id) : target;
    switch (s.action) {
        case A::SelectPage:
            return {};
        case A::SetText:
            return w.UserSetText(s.id, s.text.value_or(""));
        case A::Type:
            return w.UserType(s.id, s.text.value_or(""));
        case A::Check:
            return w.UserSetCheck(s.id, s.number != 0);
        case A::Click:
            return w.UserClick(s.id);
        case A::Select:
            return w.UserSelect(s.id, s.number);
        case A::SelectText:
            return w.UserSelectText(s.id, s.text.value_or(""));
        case A::DoubleClick:
            return w.UserDoubleClick(s.id, s.number);
        case A::Scroll:
            return w.UserScroll(s.id, s.number, s.position);
        case A::Spin:
            return w.UserSpin(s.id, s.number != 0);
        case A::Focus:
            return w.UserFocus(s.id);
        case A::Press:
            return w.UserKey(static_cast<Key>(s.number));
        case A::ExpectText: {
            const Control c = w.GetDlgItem(s.id);
            if (!c) return "there is no control " + id;
            const std::string actual = c.GetWindowText();
            if (actual != s.text.value_or("")) return "control " + id + " reads " + QuoteScriptText(actual);
            return {};
        }
        case A::ExpectCount: {
            const Control c = w.GetDlgItem(s.id);
            if (!c) return "there is no control " + id;
            if (c.GetCount() != s.number)
                return "control " + id + " has " + std::to_string(c.GetCount()) + " lines";
            return {};
        }
        case A::ExpectLine: {
            const Control c = w.GetDlgItem(s.id);
            if (!c) return "there is no control " + id;
            const std::string actual = c.GetText(s.position);
            if (actual != s.text.value_or(""))
                return "line " + std::to_string(s.position) + " of control " + id + " reads " +
                       QuoteScriptText(actual);
            return {};
        }
        case A::ExpectChecked:
        case A::ExpectEnabled:
        case A::ExpectVisible: {
            const Control c = w.GetDlgItem(s.id);
            if (!c) return "there is no control " + id;
            const bool want = s.number != 0;
            const bool actual = s.action == A::ExpectChecked   ? c.GetCheck() != 0
                                : s.action == A::ExpectEnabled ? c.IsWindowEnabled()
                                                               : c.IsWindowVisible();
            const char* what = s.action == A::ExpectChecked   ? "checked"
                               : s.action == A::ExpectEnabled ? "enabled"
                                                              : "visible";
            if (actual != want) return "control " + id + " is " + (actual ? "" : "not ") + what;
            return {};
        }
    }
    return {};
}

void ScriptedInteraction::Execute(const ScriptStep& step, Window* target, const std::string& target_name) {
    switch (step.kind) {
        case ScriptStep::Kind::Action: {
            if (!target) {
                Fail("no window to act on" + At(step));
                return;
            }
            const std::string error = ApplyAction(step, *target);
            if (!error.empty()) Fail(target_name + ": " + error + At(step));
            return;
        }
        case ScriptStep::Kind::Run: {
            const std::string error = step.run ? step.run() : std::string();
            if (!error.empty()) Fail(error + At(step));
            return;
        }
        default:
            return;
    }
}

Window* ScriptedInteraction::TopLevelTarget(std::string& name) {
    if (target_dialog_ != 0) {
        Dialog* d = Dialog::FindOpen(target_dialog_);
        name = d ? DescribeDialog(*d) : "dialog " + std::to_string(target_dialog_);
        return d;
    }
    name = "the main window";
    return top_level_;
}

int ScriptedInteraction::RunModal(Dialog& dialog, const std::function<void()>& init) {
    if (aborted_) {
        dialog.EndDialog(IDCANCEL);
        return IDCANCEL;
    }
    const std::string name = DescribeDialog(dialog);
    const ScriptStep* next = Peek();
    if (!next || next->kind != ScriptStep::Kind::ExpectDialog || next->id != dialog.TemplateId()) {
        Fail("unexpected " + name +
             (next ? "; the script expects " + DescribeStep(*next) + At(*next) : ": the script has ended"));
        dialog.EndDialog(IDCANCEL);
        return IDCANCEL;
    }
    Pop();
    modal_stack_.push_back(&dialog);
    init();
    if (!dialog.IsEnded()) CheckKeys(dialog);
    const int picture = ++g_pictures;
    if (!dialog.IsEnded()) KeepPicture(dialog, picture, "open");
    while (!dialog.IsEnded() && !aborted_) {
        next = Peek();
        if (!next) {
            Fail(name + " is still open at the end of the script");
            break;
        }
        using K = ScriptStep::Kind;
        if (next->kind == K::ExpectClosed) {
            Fail(name + " did not close" + At(*next));
            break;
        }
        if (next->kind != K::Action && next->kind != K::Run) {
            Fail(name + " is still open, but the script expects " + DescribeStep(*next) + At(*next));
            break;
        }
        if (next->kind == K::Run && next->top_level_only) {
            Fail(name + " is still open, but " + DescribeStep(*next) + " needs the main window" + At(*next));
            break;
        }
        const ScriptStep step = Pop();
        KeepPicture(dialog, picture, "last");
        Execute(step, &dialog, DescribeDialog(dialog));
        // A caption the step changed ("Done" becoming "Post") keeps its key
        // unique too.
        if (!dialog.IsEnded() && step.kind == K::Action) CheckKeys(dialog);
    }
    modal_stack_.pop_back();
    if (!dialog.IsEnded())
        dialog.EndDialog(IDCANCEL);
    else if (!aborted_ && Peek() && Peek()->kind == ScriptStep::Kind::ExpectClosed)
        Pop();
    return dialog.EndCode();
}

void ScriptedInteraction::CheckKeys(Dialog& dialog) {
    if (aborted_) return;
    const std::vector<std::string> faults = KeyFaults(dialog);
    if (!faults.empty()) Fail(DescribeDialog(dialog) + ": " + faults.front());
}

void ScriptedInteraction::RunScript() {
    while (!aborted_ && Peek()) {
        using K = ScriptStep::Kind;
        const ScriptStep step = Pop();
        switch (step.kind) {
            case K::ExpectDialog:
                Fail("dialog " + std::to_string(step.id) + " did not open" + At(step));
                break;
            case K::MessageBox:
            case K::FileDialog:
            case K::FontDialog:
            case K::ColorDialog:
            case K::PrintDialog:
                Fail("nothing showed the " + DescribeStep(step) + At(step));
                break;
            case K::ExpectClosed:
                break;
            case K::Target:
                target_dialog_ = step.id;
                if (step.id != 0 && !Dialog::FindOpen(step.id))
                    Fail("dialog " + std::to_string(step.id) + " is not open" + At(step));
                break;
            case K::Action: {
                std::string name;
                Window* target = TopLevelTarget(name);
                if (!target) {
                    Fail(name + " is not open" + At(step));
                    break;
                }
                Execute(step, target, name);
                break;
            }
            case K::Run:
                Execute(step, nullptr, {});
                break;
        }
        // Let posted work (closes, deferred deletions) happen between steps,
        // as it would between a person's actions.
        ProcessPendingMessages();
    }
}

void ScriptedInteraction::FailIfStepsLeft() {
    if (aborted_ || steps_.empty()) return;
    Fail(std::to_string(steps_.size()) + " script step(s) left, the next is " + DescribeStep(steps_.front()) +
         At(steps_.front()));
}

int ScriptedInteraction::ShowMessageBox(const MessageBoxRequest& request) {
    message_boxes_.push_back(request);
    const std::string name = DescribeBox(request);
    const std::optional<ScriptStep> step = Take(ScriptStep::Kind::MessageBox, name);
    if (!step) return FallbackAnswer(request.flags);
    if (step->text && *step->text != request.text) {
        Fail(name + " shown; the script expects the text " + QuoteScriptText(*step->text) + At(*step));
        return FallbackAnswer(request.flags);
    }
    if (step->caption && *step->caption != request.caption) {
        Fail(name + " shown; the script expects the caption " + QuoteScriptText(*step->caption) + At(*step));
        return FallbackAnswer(request.flags);
    }
    const std::vector<int> answers = MessageBoxAnswers(request.flags);
    if (std::find(answers.begin(), answers.end(), step->number) == answers.end()) {
        Fail(name + " has no button " + ScriptAnswerName(step->number) + At(*step));
        return FallbackAnswer(request.flags);
    }
    return step->number;
}

std::optional<std::string> ScriptedInteraction::ShowFileDialog(const FileDialogRequest& request) {
    file_dialogs_.push_back(request);
    const std::string name = std::string(request.save ? "save" : "open") + " file dialog" +
                             (request.title.empty() ? "" : " " + QuoteScriptText(request.title));
    const std::optional<ScriptStep> step = Take(ScriptStep::Kind::FileDialog, name);
    if (!step || !step->text) return std::nullopt;
    if (!request.save && request.must_exist && !std::filesystem::exists(*step->text)) {
        Fail(name + ": the file " + QuoteScriptText(*step->text) + " does not exist" + At(*step));
        return std::nullopt;
    }
    return step->text;
}

std::optional<FontChoice> ScriptedInteraction::ShowFontDialog(const FontRequest&) {
    const std::optional<ScriptStep> step = Take(ScriptStep::Kind::FontDialog, "font dialog");
    return step ? step->font : std::nullopt;
}

std::optional<ColorRef> ScriptedInteraction::ShowColorDialog(const ColorRequest&) {
    const std::optional<ScriptStep> step = Take(ScriptStep::Kind::ColorDialog, "colour dialog");
    return step ? step->color : std::nullopt;
}

bool ScriptedInteraction::ShowPrintDialog(const PrintRequest& request) {
    const char* what = request.kind == PrintDialogKind::Setup   ? "print set-up dialog"
                       : request.kind == PrintDialogKind::Print ? "print dialog"
                                                                : "print preview";
    const std::optional<ScriptStep> step = Take(ScriptStep::Kind::PrintDialog, what);
    // A preview shows its pages, painted on the request's printer, before
    // the answer: ok prints from the preview (painted once more), cancel
    // closes it.
    if (step && request.kind == PrintDialogKind::Preview && request.paint && request.printer) {
        request.paint(*request.printer);
        if (step->number != 0) request.paint(*request.printer);
    }
    return step && step->number != 0;
}

void ScriptedInteraction::Beep(unsigned type) {
    beeps_.push_back(type);
}

}  // namespace platform
