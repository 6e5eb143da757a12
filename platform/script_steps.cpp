// Building a script of steps, and describing a step in the words of the
// text scripts, for failure messages.

#include "platform/scripted_interaction.h"

namespace platform {
namespace {

std::string KeyName(int key) {
    switch (static_cast<Key>(key)) {
        case Key::Enter:
            return "enter";
        case Key::Escape:
            return "escape";
        case Key::Tab:
            return "tab";
        case Key::BackTab:
            return "backtab";
        case Key::Up:
            return "up";
        case Key::Down:
            return "down";
        case Key::PageUp:
            return "pageup";
        case Key::PageDown:
            return "pagedown";
        case Key::Home:
            return "home";
        case Key::End:
            return "end";
    }
    return "?";
}

}  // namespace

std::string QuoteScriptText(const std::string& text) {
    return "\"" + text + "\"";
}

std::string ScriptAnswerName(int answer) {
    switch (answer) {
        case IDOK:
            return "ok";
        case IDCANCEL:
            return "cancel";
        case IDABORT:
            return "abort";
        case IDRETRY:
            return "retry";
        case IDIGNORE:
            return "ignore";
        case IDYES:
            return "yes";
        case IDNO:
            return "no";
    }
    return std::to_string(answer);
}

std::string DescribeStep(const ScriptStep& s) {
    using K = ScriptStep::Kind;
    using A = ScriptStep::Action;
    const std::string id = std::to_string(s.id);
    switch (s.kind) {
        case K::ExpectDialog:
            return "dialog " + id;
        case K::ExpectClosed:
            return "closed";
        case K::MessageBox:
            return "message " + (s.text ? QuoteScriptText(*s.text) : std::string("*")) +
                   (s.caption ? " " + QuoteScriptText(*s.caption) : "") + " " + ScriptAnswerName(s.number);
        case K::FileDialog:
            return "file " + (s.text ? QuoteScriptText(*s.text) : std::string("cancel"));
        case K::FontDialog:
            return "font " + (s.font ? QuoteScriptText(s.font->face) : std::string("cancel"));
        case K::ColorDialog:
            return "color " + (s.color ? std::to_string(*s.color) : std::string("cancel"));
        case K::PrintDialog:
            return std::string("print ") + (s.number ? "ok" : "cancel");
        case K::Target:
            return s.id ? "window " + id : "window main";
        case K::Run:
            return s.text.value_or("run");
        case K::Action:
            switch (s.action) {
                case A::SetText:
                    return "set " + id + " " + QuoteScriptText(s.text.value_or(""));
                case A::Type:
                    return "type " + id + " " + QuoteScriptText(s.text.value_or(""));
                case A::Check:
                    return "check " + id + (s.number ? " on" : " off");
                case A::Click:
                    return "click " + id;
                case A::Select:
                    return "select " + id + " " + std::to_string(s.number);
                case A::SelectText:
                    return "select " + id + " " + QuoteScriptText(s.text.value_or(""));
                case A::DoubleClick:
                    return "dblclick " + id + " " + std::to_string(s.number);
                case A::Scroll:
                    return "scroll " + id + " " + std::to_string(s.number);
                case A::Spin:
                    return "spin " + id + (s.number ? " up" : " down");
                case A::Focus:
                    return "focus " + id;
                case A::Press:
                    return "key " + KeyName(s.number);
                case A::ExpectText:
                    return "expect-text " + id + " " + QuoteScriptText(s.text.value_or(""));
                case A::ExpectChecked:
                    return "expect-check " + id + (s.number ? " on" : " off");
                case A::ExpectEnabled:
                    return "expect-enabled " + id + (s.number ? " on" : " off");
                case A::ExpectVisible:
                    return "expect-visible " + id + (s.number ? " on" : " off");
                case A::SelectPage:
                    return "page " + id;
                case A::ExpectCount:
                    return "expect-count " + id + " " + std::to_string(s.number);
                case A::ExpectLine:
                    return "expect-line " + id + " " + std::to_string(s.position) + " " +
                           QuoteScriptText(s.text.value_or(""));
            }
    }
    return "?";
}

ScriptedInteraction::ScriptedInteraction(FailureHandler on_failure) : on_failure_(std::move(on_failure)) {}

// ---- building

ScriptedInteraction& ScriptedInteraction::Add(ScriptStep step) {
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedInteraction& ScriptedInteraction::AddAction(ScriptStep::Action action, int id) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::Action;
    s.action = action;
    s.id = id;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::ExpectDialog(int dialog_id) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::ExpectDialog;
    s.id = dialog_id;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::SetText(int id, std::string text) {
    AddAction(ScriptStep::Action::SetText, id);
    steps_.back().text = std::move(text);
    return *this;
}
ScriptedInteraction& ScriptedInteraction::Type(int id, std::string text) {
    AddAction(ScriptStep::Action::Type, id);
    steps_.back().text = std::move(text);
    return *this;
}
ScriptedInteraction& ScriptedInteraction::Check(int id, bool checked) {
    AddAction(ScriptStep::Action::Check, id);
    steps_.back().number = checked ? 1 : 0;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::SelectPage(int page_id) {
    return AddAction(ScriptStep::Action::SelectPage, page_id);
}
ScriptedInteraction& ScriptedInteraction::Click(int id) {
    return AddAction(ScriptStep::Action::Click, id);
}
ScriptedInteraction& ScriptedInteraction::Select(int id, int index) {
    AddAction(ScriptStep::Action::Select, id);
    steps_.back().number = index;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::SelectText(int id, std::string text) {
    AddAction(ScriptStep::Action::SelectText, id);
    steps_.back().text = std::move(text);
    return *this;
}
ScriptedInteraction& ScriptedInteraction::DoubleClick(int id, int index) {
    AddAction(ScriptStep::Action::DoubleClick, id);
    steps_.back().number = index;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::Scroll(int id, int scroll_code, int position) {
    AddAction(ScriptStep::Action::Scroll, id);
    steps_.back().number = scroll_code;
    steps_.back().position = position;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::Spin(int id, bool up) {
    AddAction(ScriptStep::Action::Spin, id);
    steps_.back().number = up ? 1 : 0;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::Focus(int id) {
    return AddAction(ScriptStep::Action::Focus, id);
}
ScriptedInteraction& ScriptedInteraction::Press(Key key) {
    AddAction(ScriptStep::Action::Press, 0);
    steps_.back().number = static_cast<int>(key);
    return *this;
}
ScriptedInteraction& ScriptedInteraction::ExpectText(int id, std::string text) {
    AddAction(ScriptStep::Action::ExpectText, id);
    steps_.back().text = std::move(text);
    return *this;
}
ScriptedInteraction& ScriptedInteraction::ExpectChecked(int id, bool checked) {
    AddAction(ScriptStep::Action::ExpectChecked, id);
    steps_.back().number = checked ? 1 : 0;
    return *this;
}

ScriptedInteraction& ScriptedInteraction::ExpectEnabled(int id, bool enabled) {
    AddAction(ScriptStep::Action::ExpectEnabled, id);
    steps_.back().number = enabled ? 1 : 0;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::ExpectVisible(int id, bool visible) {
    AddAction(ScriptStep::Action::ExpectVisible, id);
    steps_.back().number = visible ? 1 : 0;
    return *this;
}

ScriptedInteraction& ScriptedInteraction::ExpectCount(int id, int count) {
    AddAction(ScriptStep::Action::ExpectCount, id);
    steps_.back().number = count;
    return *this;
}
ScriptedInteraction& ScriptedInteraction::ExpectLine(int id, int line, std::string text) {
    AddAction(ScriptStep::Action::ExpectLine, id);
    steps_.back().position = line;
    steps_.back().text = std::move(text);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::ExpectClosed() {
    ScriptStep s;
    s.kind = ScriptStep::Kind::ExpectClosed;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::ExpectMessageBox(std::optional<std::string> text, int answer,
                                                           std::optional<std::string> caption) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::MessageBox;
    s.text = std::move(text);
    s.caption = std::move(caption);
    s.number = answer;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::AnswerFileDialog(std::optional<std::string> file_name) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::FileDialog;
    s.text = std::move(file_name);
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::AnswerFontDialog(std::optional<FontChoice> font) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::FontDialog;
    s.font = std::move(font);
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::AnswerColorDialog(std::optional<ColorRef> color) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::ColorDialog;
    s.color = color;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::AnswerPrintDialog(bool accept) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::PrintDialog;
    s.number = accept ? 1 : 0;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::Target(int dialog_id) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::Target;
    s.id = dialog_id;
    return Add(std::move(s));
}

ScriptedInteraction& ScriptedInteraction::Run(std::string description, std::function<std::string()> run,
                                              bool top_level_only) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::Run;
    s.text = std::move(description);
    s.run = std::move(run);
    s.top_level_only = top_level_only;
    return Add(std::move(s));
}

}  // namespace platform
