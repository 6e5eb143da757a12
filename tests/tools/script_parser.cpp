// Parsing of test scripts: one step a line, words separated by blanks,
// texts in double quotes (\" and \\ inside), "#" starts a comment.

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "platform/text.h"
#include "platform/timer.h"
#include "tests/tools/byte_listing.h"
#include "tests/tools/script_driver.h"

namespace tools {
namespace {

using platform::ScriptStep;

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into words and quoted texts; nothing when a quote is open.
std::optional<std::vector<Token>> Tokenize(std::string_view line, std::string& error) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t{"", true};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    // \n is a line break (a message of two lines); any
                    // other character stands for itself (\" and \\).
                    t.text += line[i + 1] == 'n' ? '\n' : line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    t.text += line[i++];
                }
            }
            if (!closed) {
                error = "a quoted text is not closed";
                return std::nullopt;
            }
            tokens.push_back(std::move(t));
        } else {
            Token t;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                t.text += line[i++];
            tokens.push_back(std::move(t));
        }
    }
    return tokens;
}

std::optional<int> Number(const Token& t) {
    int value = 0;
    const char* end = t.text.data() + t.text.size();
    auto [ptr, ec] = std::from_chars(t.text.data(), end, value);
    if (t.quoted || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<bool> OnOff(const Token& t) {
    if (t.text == "on") return true;
    if (t.text == "off") return false;
    return std::nullopt;
}

std::optional<int> Answer(const std::string& word) {
    static const std::map<std::string, int> answers{
        {"ok", platform::IDOK},        {"cancel", platform::IDCANCEL}, {"yes", platform::IDYES},
        {"no", platform::IDNO},        {"retry", platform::IDRETRY},   {"abort", platform::IDABORT},
        {"ignore", platform::IDIGNORE}};
    auto it = answers.find(word);
    return it == answers.end() ? std::nullopt : std::optional<int>(it->second);
}

std::optional<int> ScrollCode(const std::string& word) {
    static const std::map<std::string, int> codes{{"lineup", platform::SB_LINEUP},
                                                  {"linedown", platform::SB_LINEDOWN},
                                                  {"pageup", platform::SB_PAGEUP},
                                                  {"pagedown", platform::SB_PAGEDOWN},
                                                  {"top", platform::SB_TOP},
                                                  {"bottom", platform::SB_BOTTOM},
                                                  {"thumb", platform::SB_THUMBPOSITION},
                                                  {"track", platform::SB_THUMBTRACK}};
    auto it = codes.find(word);
    return it == codes.end() ? std::nullopt : std::optional<int>(it->second);
}

std::optional<platform::Key> KeyOf(const std::string& word) {
    if (word == "enter") return platform::Key::Enter;
    if (word == "escape") return platform::Key::Escape;
    if (word == "tab") return platform::Key::Tab;
    if (word == "backtab") return platform::Key::BackTab;
    if (word == "up") return platform::Key::Up;
    if (word == "down") return platform::Key::Down;
    if (word == "pageup") return platform::Key::PageUp;
    if (word == "pagedown") return platform::Key::PageDown;
    if (word == "home") return platform::Key::Home;
    if (word == "end") return platform::Key::End;
    return std::nullopt;
}

std::string ReadWhole(const std::filesystem::path& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The file of the current directory whose name equals `name` with case
// ignored (the program finds its data files so); `name` itself when none.
std::filesystem::path FindFileAnyCase(const std::string& name) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
        const std::string found = entry.path().filename().string();
        if (found.size() == name.size() &&
            std::equal(found.begin(), found.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return entry.path();
    }
    return name;
}

ScriptStep ActionStep(ScriptStep::Action action, int id) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::Action;
    s.action = action;
    s.id = id;
    return s;
}

ScriptStep RunStep(std::string description, std::function<std::string()> run, bool top_level_only = false) {
    ScriptStep s;
    s.kind = ScriptStep::Kind::Run;
    s.text = std::move(description);
    s.run = std::move(run);
    s.top_level_only = top_level_only;
    return s;
}

// A menu caption as the person reads it: "&&" is "&", a single "&" marks
// the mnemonic, and a tab starts the shortcut text.
std::string MenuText(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '\t') break;
        if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                text += '&';
                ++i;
            }
            continue;
        }
        text += c;
    }
    return text;
}

// The command of a menu path such as "Utilities/Options"; captions may hold
// "/" themselves ("Input/Modify"), so each level tries every caption that
// begins the rest of the path. 0 when no command has the path.
int FindMenuCommand(const std::vector<platform::MenuItem>& items, std::string_view path) {
    for (const platform::MenuItem& item : items) {
        const std::string text = MenuText(item.caption);
        if (item.type == platform::MenuItem::Type::Command && path == text) return item.id;
        if (item.type == platform::MenuItem::Type::Popup && path.size() > text.size() &&
            path.substr(0, text.size()) == text && path[text.size()] == '/') {
            if (int id = FindMenuCommand(item.items, path.substr(text.size() + 1))) return id;
        }
    }
    return 0;
}

// The mnemonic letter of a caption as the menu shows it (lower case), or 0.
char MnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

// Opens a menu as a person's click or key does: its items are brought up
// to date (enabled state, the window list) before they are read.
void OpenMenu(QMenu* menu) {
    Q_EMIT menu->aboutToShow();
}

// Follows the letters of a path such as "F/x" through the menu bar as it
// shows: at each level the one visible item whose mnemonic is the letter
// (Alt+F, then x); the last must be a command, which runs. "" or a failure.
std::string FollowMnemonics(QMenuBar* bar, const std::string& keys) {
    QList<QAction*> actions = bar->actions();
    std::string level = "the menu bar";
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = keys.find('/', start);
        const std::string key =
            keys.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (key.size() != 1) return "\"" + key + "\" is not one letter";
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
        std::vector<QAction*> found;
        for (QAction* a : actions)
            if (a->isVisible() && !a->isSeparator() && MnemonicOf(platform::FromQt(a->text())) == letter)
                found.push_back(a);
        if (found.empty()) return "no item of " + level + " has the mnemonic " + key;
        if (found.size() > 1)
            return std::to_string(found.size()) + " items of " + level + " share the mnemonic " + key;
        QAction* action = found.front();
        const std::string caption = MenuText(platform::FromQt(action->text()));
        if (!action->isEnabled()) return "\"" + caption + "\" is disabled";
        if (slash == std::string::npos) {
            if (action->menu()) return "\"" + caption + "\" opens a menu, not a command";
            action->trigger();
            return {};
        }
        if (!action->menu()) return "\"" + caption + "\" is a command, not a menu";
        OpenMenu(action->menu());
        actions = action->menu()->actions();
        level = "\"" + caption + "\"";
        start = slash + 1;
    }
}

// The action of a menu path as shown ("File/Print..."), or nullptr.
QAction* FindMenuAction(QMenuBar* bar, std::string_view path) {
    std::function<QAction*(const QList<QAction*>&, std::string_view)> find =
        [&](const QList<QAction*>& actions, std::string_view rest) -> QAction* {
        for (QAction* a : actions) {
            const std::string text = MenuText(platform::FromQt(a->text()));
            if (a->isSeparator() || text.empty()) continue;
            if (!a->menu() && rest == text) return a;
            if (a->menu() && rest.size() > text.size() && rest.substr(0, text.size()) == text &&
                rest[text.size()] == '/') {
                OpenMenu(a->menu());
                if (QAction* found = find(a->menu()->actions(), rest.substr(text.size() + 1))) return found;
            }
        }
        return nullptr;
    };
    return find(bar->actions(), path);
}

// The child window of a title ("active": the active one), or nullptr.
platform::ChildFrame* FindChild(platform::MainFrame* main, const Token& which) {
    if (!main || !main->IsWindow()) return nullptr;
    if (!which.quoted && which.text == "active") return main->MDIGetActive();
    for (platform::ChildFrame* frame : main->GetChildFrames())
        if (frame->GetWindowText() == which.text) return frame;
    return nullptr;
}

std::string ChildName(const Token& which) {
    return !which.quoted && which.text == "active" ? "the active child window"
                                                   : "the child window \"" + which.text + "\"";
}

// Parses one line's tokens into a step; an error text when they do not fit.
std::optional<ScriptStep> ParseStep(const std::vector<Token>& t, platform::MainFrame* main,
                                    const std::filesystem::path& base, std::string& error) {
    using A = ScriptStep::Action;
    const std::string& word = t[0].text;
    const std::size_t n = t.size();
    auto need = [&](std::size_t count, const char* form) {
        if (n != count) error = "\"" + word + "\" takes the form: " + form;
        return n == count;
    };
    auto id_at = [&](std::size_t i) -> std::optional<int> {
        auto v = Number(t[i]);
        if (!v) error = "\"" + t[i].text + "\" is not a number";
        return v;
    };

    if (word == "dialog") {
        if (!need(2, "dialog ID")) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        ScriptStep s;
        s.kind = ScriptStep::Kind::ExpectDialog;
        s.id = *id;
        return s;
    }
    if (word == "closed") {
        if (!need(1, "closed")) return std::nullopt;
        ScriptStep s;
        s.kind = ScriptStep::Kind::ExpectClosed;
        return s;
    }
    if (word == "set" || word == "type" || word == "expect-text") {
        if (!need(3, (word + " ID \"TEXT\"").c_str())) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        ScriptStep s = ActionStep(word == "set" ? A::SetText : word == "type" ? A::Type : A::ExpectText, *id);
        s.text = t[2].text;
        return s;
    }
    if (word == "check" || word == "expect-check" || word == "expect-enabled" || word == "expect-visible") {
        if (!need(3, (word + " ID on|off").c_str())) return std::nullopt;
        auto id = id_at(1);
        auto on = OnOff(t[2]);
        if (!id) return std::nullopt;
        if (!on) {
            error = "\"" + t[2].text + "\" is not on or off";
            return std::nullopt;
        }
        const A action = word == "check"            ? A::Check
                         : word == "expect-check"   ? A::ExpectChecked
                         : word == "expect-enabled" ? A::ExpectEnabled
                                                    : A::ExpectVisible;
        ScriptStep s = ActionStep(action, *id);
        s.number = *on ? 1 : 0;
        return s;
    }
    if (word == "expect-count") {
        if (!need(3, "expect-count ID N")) return std::nullopt;
        auto id = id_at(1);
        auto count = id ? id_at(2) : std::nullopt;
        if (!count) return std::nullopt;
        ScriptStep s = ActionStep(A::ExpectCount, *id);
        s.number = *count;
        return s;
    }
    if (word == "expect-line") {
        if (!need(4, "expect-line ID LINE \"TEXT\"")) return std::nullopt;
        auto id = id_at(1);
        auto line = id ? id_at(2) : std::nullopt;
        if (!line) return std::nullopt;
        ScriptStep s = ActionStep(A::ExpectLine, *id);
        s.position = *line;
        s.text = t[3].text;
        return s;
    }
    if (word == "click" || word == "focus" || word == "page") {
        if (!need(2, (word + " ID").c_str())) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        return ActionStep(word == "click" ? A::Click : word == "focus" ? A::Focus : A::SelectPage, *id);
    }
    if (word == "select" || word == "dblclick") {
        if (!need(3, (word + " ID LINE|\"TEXT\"").c_str())) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        if (auto line = Number(t[2])) {
            ScriptStep s = ActionStep(word == "select" ? A::Select : A::DoubleClick, *id);
            s.number = *line;
            return s;
        }
        if (word == "dblclick") {
            error = "dblclick takes a line number";
            return std::nullopt;
        }
        ScriptStep s = ActionStep(A::SelectText, *id);
        s.text = t[2].text;
        return s;
    }
    if (word == "scroll") {
        if (n != 3 && n != 4) {
            error =
                "\"scroll\" takes the form: scroll ID lineup|linedown|pageup|pagedown|top|bottom|thumb POS";
            return std::nullopt;
        }
        auto id = id_at(1);
        auto code = ScrollCode(t[2].text);
        if (!id) return std::nullopt;
        if (!code) {
            error = "\"" + t[2].text + "\" is not a scroll request";
            return std::nullopt;
        }
        ScriptStep s = ActionStep(A::Scroll, *id);
        s.number = *code;
        if (n == 4) {
            auto pos = id_at(3);
            if (!pos) return std::nullopt;
            s.position = *pos;
        }
        return s;
    }
    if (word == "spin") {
        if (!need(3, "spin ID up|down")) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        if (t[2].text != "up" && t[2].text != "down") {
            error = "\"" + t[2].text + "\" is not up or down";
            return std::nullopt;
        }
        ScriptStep s = ActionStep(A::Spin, *id);
        s.number = t[2].text == "up" ? 1 : 0;
        return s;
    }
    if (word == "key") {
        if (!need(2, "key enter|escape|tab|backtab|up|down|pageup|pagedown|home|end")) return std::nullopt;
        auto key = KeyOf(t[1].text);
        if (!key) {
            error = "\"" + t[1].text + "\" is not a key";
            return std::nullopt;
        }
        ScriptStep s = ActionStep(A::Press, 0);
        s.number = static_cast<int>(*key);
        return s;
    }
    if (word == "message") {
        if (n != 3 && n != 4) {
            error =
                "\"message\" takes the form: message \"TEXT\"|* [\"CAPTION\"] "
                "ok|cancel|yes|no|retry|abort|ignore";
            return std::nullopt;
        }
        auto answer = Answer(t[n - 1].text);
        if (!answer) {
            error = "\"" + t[n - 1].text + "\" is not a message box button";
            return std::nullopt;
        }
        ScriptStep s;
        s.kind = ScriptStep::Kind::MessageBox;
        if (t[1].quoted || t[1].text != "*") s.text = t[1].text;
        if (n == 4) s.caption = t[2].text;
        s.number = *answer;
        return s;
    }
    if (word == "file") {
        if (!need(2, "file \"NAME\"|cancel")) return std::nullopt;
        ScriptStep s;
        s.kind = ScriptStep::Kind::FileDialog;
        if (t[1].quoted || t[1].text != "cancel") s.text = t[1].text;
        return s;
    }
    if (word == "font") {
        ScriptStep s;
        s.kind = ScriptStep::Kind::FontDialog;
        if (n == 2 && t[1].text == "cancel" && !t[1].quoted) return s;
        if (!need(3, "font \"FACE\" POINTS|cancel")) return std::nullopt;
        auto points = id_at(2);
        if (!points) return std::nullopt;
        s.font = platform::FontChoice{t[1].text, *points};
        return s;
    }
    if (word == "color") {
        ScriptStep s;
        s.kind = ScriptStep::Kind::ColorDialog;
        if (n == 2 && t[1].text == "cancel") return s;
        if (!need(4, "color R G B|cancel")) return std::nullopt;
        auto r = id_at(1), g = id_at(2), b = id_at(3);
        if (!r || !g || !b) return std::nullopt;
        s.color = platform::Rgb(*r, *g, *b);
        return s;
    }
    if (word == "print") {
        if (!need(2, "print ok|cancel")) return std::nullopt;
        if (t[1].text != "ok" && t[1].text != "cancel") {
            error = "\"" + t[1].text + "\" is not ok or cancel";
            return std::nullopt;
        }
        ScriptStep s;
        s.kind = ScriptStep::Kind::PrintDialog;
        s.number = t[1].text == "ok" ? 1 : 0;
        return s;
    }
    if (word == "window") {
        if (!need(2, "window ID|main")) return std::nullopt;
        ScriptStep s;
        s.kind = ScriptStep::Kind::Target;
        if (t[1].text != "main") {
            auto id = id_at(1);
            if (!id) return std::nullopt;
            s.id = *id;
        }
        return s;
    }
    if (word == "command") {
        if (!need(2, "command ID")) return std::nullopt;
        auto id = id_at(1);
        if (!id) return std::nullopt;
        const int command = *id;
        return RunStep(
            "command " + std::to_string(command),
            [main, command]() -> std::string {
                if (!main || !main->IsWindow())
                    return "there is no main window for command " + std::to_string(command);
                if (!main->InvokeCommand(command))
                    return "command " + std::to_string(command) + " is disabled or has no handler";
                return {};
            },
            true);
    }
    if (word == "exists" || word == "missing") {
        if (!need(2, (word + " FILE").c_str())) return std::nullopt;
        const std::string file = t[1].text;
        const bool want = word == "exists";
        return RunStep(word + " " + file, [file, want]() -> std::string {
            if (std::filesystem::exists(file) == want) return {};
            return "the file \"" + file + (want ? "\" does not exist" : "\" exists");
        });
    }
    if (word == "contains") {
        if (!need(3, "contains FILE \"TEXT\"")) return std::nullopt;
        const std::string file = t[1].text;
        const std::string text = t[2].text;
        return RunStep("contains " + file, [file, text]() -> std::string {
            bool ok = false;
            const std::string all = ReadWhole(file, ok);
            if (!ok) return "the file \"" + file + "\" cannot be read";
            if (all.find(text) == std::string::npos)
                return "the file \"" + file + "\" does not contain \"" + text + "\"";
            return {};
        });
    }
    if (word == "same") {
        if (n != 3 && n != 4) {
            error = "\"same\" takes the form: same FILE \"EXPECTED\" [RECORD]";
            return std::nullopt;
        }
        const std::string file = t[1].text;
        const std::filesystem::path expected = base / t[2].text;
        long record = 0;
        if (n == 4) {
            const auto r = id_at(3);
            if (!r || *r < 1) return std::nullopt;
            record = *r;
        }
        return RunStep("same " + file, [file, expected, record]() -> std::string {
            bool ok = false;
            const std::string listing = ReadWhole(expected, ok);
            if (!ok) return "the expected file \"" + expected.string() + "\" cannot be read";
            std::string error;
            const auto bytes = ParseByteListing(listing, error);
            if (!bytes) return expected.string() + ": " + error;
            const std::filesystem::path actual = FindFileAnyCase(file);
            std::string all = ReadWhole(actual, ok);
            if (!ok) return "the file \"" + file + "\" cannot be read";
            // With a record number, only that 128-byte record is compared.
            if (record > 0)
                all = all.substr(std::min(all.size(), static_cast<std::size_t>(record - 1) * 128), 128);
            const std::string difference = CompareBytes({all.begin(), all.end()}, *bytes);
            return difference.empty() ? std::string() : "the file \"" + file + "\": " + difference;
        });
    }
    if (word == "menu") {
        if (!need(2, "menu \"PATH/TO/ITEM\"")) return std::nullopt;
        const std::string path = t[1].text;
        return RunStep(
            "menu " + path,
            [main, path]() -> std::string {
                if (!main || !main->IsWindow()) return "there is no main window for menu \"" + path + "\"";
                const int command = FindMenuCommand(main->GetMenu(), path);
                if (command == 0) return "there is no menu item \"" + path + "\"";
                if (!main->InvokeCommand(command))
                    return "menu item \"" + path + "\" (command " + std::to_string(command) +
                           ") is disabled or has no handler";
                return {};
            },
            true);
    }
    if (word == "mnemonic") {
        if (!need(2, "mnemonic \"LETTER/LETTER...\"")) return std::nullopt;
        const std::string keys = t[1].text;
        return RunStep(
            "mnemonic " + keys,
            [main, keys]() -> std::string {
                if (!main || !main->IsWindow() || !main->GetMainWindow())
                    return "there is no main window for its menu";
                return FollowMnemonics(main->GetMainWindow()->menuBar(), keys);
            },
            true);
    }
    if (word == "expect-shortcut") {
        if (!need(3, "expect-shortcut \"PATH/TO/ITEM\" \"KEYS\"")) return std::nullopt;
        const std::string path = t[1].text;
        const std::string keys = t[2].text;
        return RunStep("expect-shortcut " + path, [main, path, keys]() -> std::string {
            if (!main || !main->IsWindow() || !main->GetMainWindow())
                return "there is no main window for its menu";
            QAction* action = FindMenuAction(main->GetMainWindow()->menuBar(), path);
            if (!action) return "there is no menu item \"" + path + "\"";
            const std::string shown =
                platform::FromQt(action->shortcut().toString(QKeySequence::PortableText));
            if (shown == keys) return {};
            return "menu item \"" + path + "\" has the keys \"" + shown + "\", not \"" + keys + "\"";
        });
    }
    if (word == "picture") {
        if (!need(2, "picture \"FILE.png\"")) return std::nullopt;
        const std::string file = t[1].text;
        return RunStep(
            "picture " + file,
            [main, file]() -> std::string {
                if (!main || !main->IsWindow() || !main->GetMainWindow())
                    return "there is no main window to picture";
                platform::ProcessPendingMessages();
                if (!main->GetMainWindow()->grab().save(QString::fromStdString(file)))
                    return "the picture \"" + file + "\" cannot be written";
                return {};
            },
            true);
    }
    if (word == "leave") {
        if (!need(1, "leave")) return std::nullopt;
        return RunStep(
            "leave",
            [main]() -> std::string {
                if (!main || !main->IsWindow()) return "there is no main window to leave";
                return main->UserLeaveFocus();
            },
            true);
    }
    if (word == "expect-menu") {
        if (!need(3, "expect-menu \"CAPTION\" on|off")) return std::nullopt;
        auto on = OnOff(t[2]);
        if (!on) {
            error = "\"" + t[2].text + "\" is not on or off";
            return std::nullopt;
        }
        const std::string caption = t[1].text;
        const bool want = *on;
        return RunStep("expect-menu " + caption, [main, caption, want]() -> std::string {
            if (!main || !main->IsWindow()) return "there is no main window for its menu";
            bool found = false;
            for (const platform::MenuItem& item : main->GetMenu())
                if (item.type != platform::MenuItem::Type::Separator && MenuText(item.caption) == caption)
                    found = true;
            if (found == want) return {};
            return "the menu bar " + std::string(found ? "has" : "has no") + " item \"" + caption + "\"";
        });
    }
    if (word == "children") {
        if (!need(2, "children N")) return std::nullopt;
        auto count = id_at(1);
        if (!count) return std::nullopt;
        const std::size_t want = static_cast<std::size_t>(*count);
        return RunStep("children " + t[1].text, [main, want]() -> std::string {
            platform::ProcessPendingMessages();
            const std::size_t open = main && main->IsWindow() ? main->GetChildFrames().size() : 0;
            if (open == want) return {};
            return std::to_string(open) + " child windows are open, not " + std::to_string(want);
        });
    }
    if (word == "child-open" || word == "child-closed") {
        if (!need(2, (word + " \"TITLE\"").c_str())) return std::nullopt;
        const Token which = t[1];
        const bool want = word == "child-open";
        return RunStep(word + " " + which.text, [main, which, want]() -> std::string {
            platform::ProcessPendingMessages();
            if ((FindChild(main, which) != nullptr) == want) return {};
            return ChildName(which) + (want ? " is not open" : " is open");
        });
    }
    if (word == "child-active") {
        if (!need(2, "child-active \"TITLE\"")) return std::nullopt;
        const std::string title = t[1].text;
        return RunStep("child-active " + title, [main, title]() -> std::string {
            platform::ProcessPendingMessages();
            const platform::ChildFrame* active = main && main->IsWindow() ? main->MDIGetActive() : nullptr;
            if (!active) return "no child window is active, not \"" + title + "\"";
            if (active->GetWindowText() == title) return {};
            return "the active child window is \"" + active->GetWindowText() + "\", not \"" + title + "\"";
        });
    }
    if (word == "child") {
        if (n < 3) {
            error =
                "\"child\" takes the form: child \"TITLE\"|active click ID | check ID on|off | select ID "
                "LINE | "
                "dblclick ID LINE | scroll ID REQUEST [POS] | expect-visible ID on|off | expect-text ID "
                "\"TEXT\" | "
                "expect-count ID N | expect-line ID LINE \"TEXT\" | expect-shown LINE \"TEXT\" | "
                "expect-maximized on|off | close";
            return std::nullopt;
        }
        const Token which = t[1];
        const std::string action = t[2].text;
        int control = 0;
        bool flag = false;
        int number = 0;
        int scroll_code = 0;
        std::string text;
        if (action == "select" || action == "dblclick" || action == "expect-count") {
            if (!need(5, ("child \"TITLE\"|active " + action + " ID " +
                          (action == "expect-count" ? "N" : "LINE"))
                             .c_str()))
                return std::nullopt;
            auto id = id_at(3);
            auto line = id ? id_at(4) : std::nullopt;
            if (!line) return std::nullopt;
            control = *id;
            number = *line;
        } else if (action == "expect-text") {
            if (!need(5, "child \"TITLE\"|active expect-text ID \"TEXT\"")) return std::nullopt;
            auto id = id_at(3);
            if (!id) return std::nullopt;
            control = *id;
            text = t[4].text;
        } else if (action == "expect-line") {
            if (!need(6, "child \"TITLE\"|active expect-line ID LINE \"TEXT\"")) return std::nullopt;
            auto id = id_at(3);
            auto line = id ? id_at(4) : std::nullopt;
            if (!line) return std::nullopt;
            control = *id;
            number = *line;
            text = t[5].text;
        } else if (action == "expect-shown") {
            if (!need(5, "child \"TITLE\"|active expect-shown LINE \"TEXT\"")) return std::nullopt;
            auto line = id_at(3);
            if (!line) return std::nullopt;
            number = *line;
            text = t[4].text;
        } else if (action == "scroll") {
            if (n != 5 && n != 6) {
                error =
                    "\"child\" takes the form: child \"TITLE\"|active scroll ID "
                    "lineup|linedown|pageup|pagedown|top|bottom|thumb [POS]";
                return std::nullopt;
            }
            auto id = id_at(3);
            if (!id) return std::nullopt;
            auto code = ScrollCode(t[4].text);
            if (!code) {
                error = "\"" + t[4].text + "\" is not a scroll request";
                return std::nullopt;
            }
            control = *id;
            scroll_code = *code;
            if (n == 6) {
                auto position = id_at(5);
                if (!position) return std::nullopt;
                number = *position;
            }
        } else if (action == "expect-maximized") {
            if (!need(4, "child \"TITLE\"|active expect-maximized on|off")) return std::nullopt;
            auto on = OnOff(t[3]);
            if (!on) {
                error = "\"" + t[3].text + "\" is not on or off";
                return std::nullopt;
            }
            flag = *on;
        } else if (action == "close") {
            if (!need(3, "child \"TITLE\"|active close")) return std::nullopt;
        } else if (action == "click") {
            if (!need(4, "child \"TITLE\"|active click ID")) return std::nullopt;
            auto id = id_at(3);
            if (!id) return std::nullopt;
            control = *id;
        } else if (action == "check" || action == "expect-visible") {
            if (!need(5, ("child \"TITLE\"|active " + action + " ID on|off").c_str())) return std::nullopt;
            auto id = id_at(3);
            auto on = OnOff(t[4]);
            if (!id) return std::nullopt;
            if (!on) {
                error = "\"" + t[4].text + "\" is not on or off";
                return std::nullopt;
            }
            control = *id;
            flag = *on;
        } else {
            error = "\"" + action +
                    "\" is not a child window step (click, check, select, dblclick, scroll, expect-visible, "
                    "expect-text, expect-count, expect-line, expect-shown, expect-maximized, close)";
            return std::nullopt;
        }
        return RunStep(
            "child " + which.text + " " + action,
            [main, which, action, control, flag, number, scroll_code, text]() -> std::string {
                platform::ChildFrame* frame = FindChild(main, which);
                if (!frame || !frame->GetView()) return ChildName(which) + " is not open";
                platform::View* view = frame->GetView();
                std::string failure;
                if (action == "close") {
                    frame->OnClose();
                } else if (action == "expect-maximized") {
                    // Maximized is the window's state and its place: the
                    // whole of the main window's area for child windows.
                    const QWidget* w = frame->GetWidget();
                    const QMdiArea* area = main->GetMdiArea();
                    const bool state = w && w->isMaximized();
                    const bool fills = w && area && w->geometry() == area->viewport()->rect();
                    const auto size = [](const QRect& r) {
                        return std::to_string(r.width()) + "x" + std::to_string(r.height());
                    };
                    if (flag && !(state && fills))
                        failure =
                            ChildName(which) + (state ? " is maximized but fills " + size(w->geometry()) +
                                                            " of the area's " + size(area->viewport()->rect())
                                                      : " is not maximized");
                    if (!flag && state) failure = ChildName(which) + " is maximized";
                } else if (action == "click") {
                    failure = view->UserClick(control);
                } else if (action == "check") {
                    failure = view->UserSetCheck(control, flag);
                } else if (action == "select") {
                    failure = view->UserSelect(control, number);
                } else if (action == "dblclick") {
                    failure = view->UserDoubleClick(control, number);
                } else if (action == "scroll") {
                    failure = view->UserScroll(control, scroll_code, number);
                } else if (action == "expect-shown") {
                    std::string shown;
                    if (!view->TextLine(number, shown))
                        failure = ChildName(which) + " shows no line " + std::to_string(number) + ", not \"" +
                                  text + "\"";
                    else if (shown != text)
                        failure = ChildName(which) + " shows \"" + shown + "\" in line " +
                                  std::to_string(number) + ", not \"" + text + "\"";
                } else if (action == "expect-text" || action == "expect-count" || action == "expect-line") {
                    const platform::Control c = view->GetDlgItem(control);
                    if (!c) return ChildName(which) + " has no control " + std::to_string(control);
                    const std::string what = "control " + std::to_string(control) + " of " + ChildName(which);
                    if (action == "expect-text" && c.GetWindowText() != text)
                        failure = what + " shows \"" + c.GetWindowText() + "\", not \"" + text + "\"";
                    if (action == "expect-count" && c.GetCount() != number)
                        failure = what + " has " + std::to_string(c.GetCount()) + " lines, not " +
                                  std::to_string(number);
                    if (action == "expect-line" && c.GetText(number) != text)
                        failure = what + " shows \"" + c.GetText(number) + "\" in line " +
                                  std::to_string(number) + ", not \"" + text + "\"";
                } else {
                    const platform::Control c = view->GetDlgItem(control);
                    if (!c) return ChildName(which) + " has no control " + std::to_string(control);
                    if (c.IsWindowVisible() != flag)
                        failure = "control " + std::to_string(control) + " of " + ChildName(which) + " is " +
                                  (flag ? "hidden" : "visible");
                }
                platform::ProcessPendingMessages();
                return failure;
            },
            true);
    }
    error = "unknown step \"" + word + "\"";
    return std::nullopt;
}

}  // namespace

ParsedScript ParseScript(std::string_view text, platform::MainFrame* main,
                         const std::filesystem::path& base) {
    ParsedScript parsed;
    std::size_t start = 0;
    int line_number = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        ++line_number;
        start = end + 1;
        std::string error;
        const auto tokens = Tokenize(line, error);
        if (tokens && tokens->empty()) continue;
        std::optional<ScriptStep> step;
        if (tokens) step = ParseStep(*tokens, main, base, error);
        if (!step) {
            parsed.errors.push_back("line " + std::to_string(line_number) + ": " + error);
            continue;
        }
        step->source = "line " + std::to_string(line_number);
        parsed.steps.push_back(std::move(*step));
    }
    return parsed;
}

}  // namespace tools
