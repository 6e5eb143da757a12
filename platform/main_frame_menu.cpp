// The main frame's menus and command routing.

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cctype>
#include <functional>

#include "platform/main_frame.h"
#include "platform/mnemonic_letters.h"
#include "platform/text.h"

namespace platform {
namespace {

// The letters the framework's own commands are known by in its File, Edit,
// Window and Help menus.
char StandardMnemonic(const MenuItem& item) {
    if (item.type == MenuItem::Type::Popup) {
        for (const char* name : {"File", "Edit", "Window", "Help"})
            if (item.caption == name) return name[0];
        return 0;
    }
    if (item.type != MenuItem::Type::Command) return 0;
    switch (item.id) {
        case ID_FILE_NEW:
            return 'N';
        case ID_FILE_OPEN:
            return 'O';
        case ID_FILE_CLOSE:
            return 'C';
        case ID_FILE_PRINT:
            return 'P';
        case ID_FILE_PRINT_PREVIEW:
            return 'v';
        case ID_FILE_PRINT_SETUP:
            return 'r';
        case ID_APP_EXIT:
            return 'x';
        case ID_EDIT_UNDO:
            return 'U';
        case ID_EDIT_CUT:
            return 't';
        case ID_EDIT_COPY:
            return 'C';
        case ID_EDIT_PASTE:
            return 'P';
        case ID_WINDOW_CASCADE:
            return 'C';
        case ID_WINDOW_TILE_HORZ:
            return 'T';
        case ID_WINDOW_ARRANGE:
            return 'A';
        case ID_APP_ABOUT:
            return 'A';
        default:
            return 0;
    }
}

// The standard keys of the framework's commands, as the desktop binds them.
QKeySequence StandardShortcut(int id) {
    switch (id) {
        case ID_FILE_NEW:
            return QKeySequence(QKeySequence::New);
        case ID_FILE_OPEN:
            return QKeySequence(QKeySequence::Open);
        case ID_FILE_PRINT:
            return QKeySequence(QKeySequence::Print);
        case ID_APP_EXIT: {
            const QKeySequence quit(QKeySequence::Quit);
            return quit.isEmpty() ? QKeySequence(Qt::ALT | Qt::Key_F4) : quit;
        }
        case ID_EDIT_UNDO:
            return QKeySequence(QKeySequence::Undo);
        case ID_EDIT_CUT:
            return QKeySequence(QKeySequence::Cut);
        case ID_EDIT_COPY:
            return QKeySequence(QKeySequence::Copy);
        case ID_EDIT_PASTE:
            return QKeySequence(QKeySequence::Paste);
        default:
            return {};
    }
}

bool IsMnemonicCandidate(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The position of a caption's own mnemonic letter ("&" not doubled), or npos.
std::size_t OwnMnemonic(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return std::string::npos;
}

// The places of a caption's letters that may carry a mnemonic, the first
// letters of its words first ("&&" is a shown "&", not a place).
std::vector<std::size_t> MnemonicPlaces(const std::string& caption) {
    std::vector<std::size_t> starts, others;
    bool word_start = true;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;
            word_start = false;
            continue;
        }
        if (IsMnemonicCandidate(caption[i])) (word_start ? starts : others).push_back(i);
        word_start = caption[i] == ' ';
    }
    starts.insert(starts.end(), others.begin(), others.end());
    return starts;
}

}  // namespace

std::vector<std::string> MenuCaptionsWithMnemonics(const std::vector<MenuItem>& items) {
    // Own letters stay; the framework's commands take their usual letters
    // first; every other item, in order, the first letter of its words it
    // can have, else of its text; an earlier item gives up its letter for
    // another of its own when that lets a later item have one at all.
    std::vector<detail::MnemonicCaption> choice(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        const MenuItem& item = items[k];
        detail::MnemonicCaption& c = choice[k];
        c.wanted = item.type == MenuItem::Type::Command || item.type == MenuItem::Type::Popup;
        if (const std::size_t own = OwnMnemonic(item.caption); own != std::string::npos)
            c.own = static_cast<unsigned char>(Lower(item.caption[own]));
        const char standard = StandardMnemonic(item);
        for (const std::size_t at : MnemonicPlaces(item.caption)) {
            c.places.push_back({at, static_cast<unsigned char>(Lower(item.caption[at]))});
            if (standard && c.first_choice == detail::kNoMnemonicPlace && item.caption[at] == standard)
                c.first_choice = at;
        }
    }
    const std::vector<std::size_t> place = detail::ChooseMnemonicPlaces(choice, detail::MnemonicRule::kDisplaceInOrder);
    std::vector<std::string> captions;
    for (std::size_t k = 0; k < items.size(); ++k) {
        std::string caption = items[k].caption;
        if (place[k] != detail::kNoMnemonicPlace) caption.insert(place[k], 1, '&');
        captions.push_back(std::move(caption));
    }
    return captions;
}

void MainFrame::RebuildMenuBar() {
    QMainWindow* w = GetMainWindow();
    if (!w) return;
    auto* bar = new QMenuBar(w);
    menu_actions_.clear();
    QObject* context = ConnectionContext();

    std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* menu,
                                                                         const std::vector<MenuItem>& items) {
        const std::vector<std::string> captions = MenuCaptionsWithMnemonics(items);
        for (std::size_t k = 0; k < items.size(); ++k) {
            const MenuItem& item = items[k];
            switch (item.type) {
                case MenuItem::Type::Command: {
                    QAction* action = menu->addAction(ToQt(captions[k]));
                    if (const QKeySequence keys = StandardShortcut(item.id); !keys.isEmpty())
                        action->setShortcut(keys);
                    const int id = item.id;
                    QObject::connect(action, &QAction::triggered, context, [this, id] { InvokeCommand(id); });
                    menu_actions_.push_back({id, action});
                    break;
                }
                case MenuItem::Type::Popup:
                    fill(menu->addMenu(ToQt(captions[k])), item.items);
                    break;
                case MenuItem::Type::Separator:
                    menu->addSeparator();
                    break;
                case MenuItem::Type::WindowList: {
                    // The open windows are listed below this point each time
                    // the menu opens.
                    QAction* marker = menu->addSeparator();
                    marker->setVisible(false);
                    QObject::connect(menu, &QMenu::aboutToShow, context, [this, menu, marker] {
                        const QList<QAction*> all = menu->actions();
                        for (qsizetype i = all.indexOf(marker) + 1; i < all.size(); ++i) {
                            menu->removeAction(all[i]);
                            delete all[i];
                        }
                        const std::vector<ChildFrame*> frames = GetChildFrames();
                        marker->setVisible(!frames.empty());
                        int n = 1;
                        for (ChildFrame* frame : frames) {
                            // Only the first nine carry their digit as a
                            // mnemonic: "1" on items 1 and 10-19 would make
                            // the key cycle between them instead of choosing.
                            // A title's own "&" ("Jack White & Company") is
                            // shown, not taken for a mnemonic.
                            const QString pattern =
                                n <= 9 ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2");
                            const QString title =
                                ToQt(frame->GetWindowText()).replace('&', QStringLiteral("&&"));
                            QAction* a = menu->addAction(pattern.arg(n++).arg(title));
                            a->setCheckable(true);
                            a->setChecked(frame == MDIGetActive());
                            const WindowHandle handle = frame->GetSafeHwnd();
                            QObject::connect(a, &QAction::triggered, a, [this, handle] {
                                for (ChildFrame* f : GetChildFrames())
                                    if (f->GetSafeHwnd() == handle) MDIActivate(f);
                            });
                        }
                    });
                    break;
                }
            }
        }
        QObject::connect(menu, &QMenu::aboutToShow, context, [this] { RefreshCommandState(); });
    };

    const std::vector<MenuItem>& top = menus_[current_menu_];
    const std::vector<std::string> top_captions = MenuCaptionsWithMnemonics(top);
    for (std::size_t k = 0; k < top.size(); ++k) {
        const MenuItem& item = top[k];
        if (item.type == MenuItem::Type::Popup) {
            fill(bar->addMenu(ToQt(top_captions[k])), item.items);
        } else if (item.type == MenuItem::Type::Command) {
            QAction* action = bar->addAction(ToQt(top_captions[k]));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, context, [this, id] { InvokeCommand(id); });
            menu_actions_.push_back({id, action});
        }
    }
    w->setMenuBar(bar);  // deletes the previous bar
    RefreshCommandState();
}

std::vector<std::string> MainFrame::GetMenuBarCaptions() const {
    std::vector<std::string> captions;
    if (const QMainWindow* w = GetMainWindow(); w && w->menuBar())
        for (const QAction* action : w->menuBar()->actions())
            if (!action->isSeparator()) captions.push_back(FromQt(action->text()));
    return captions;
}

bool MainFrame::DeleteTopLevelMenu(std::string_view caption) {
    MenuTable& menu = menus_[current_menu_];
    auto it = std::find_if(menu.begin(), menu.end(), [&](const MenuItem& item) {
        return item.type != MenuItem::Type::Separator && item.caption == caption;
    });
    if (it == menu.end()) return false;
    menu.erase(it);
    RebuildMenuBar();
    return true;
}

std::vector<std::string> MainFrame::GetTopLevelMenuCaptions() const {
    std::vector<std::string> captions;
    for (const MenuItem& item : menus_[current_menu_])
        if (item.type != MenuItem::Type::Separator) captions.push_back(item.caption);
    return captions;
}

void MainFrame::EnableCommand(int id, bool enable) {
    if (enable)
        disabled_.erase(id);
    else
        disabled_.insert(id);
    RefreshCommandState();
}

void MainFrame::CheckCommand(int id, bool check) {
    if (check)
        checked_.insert(id);
    else
        checked_.erase(id);
    RefreshCommandState();
}

bool MainFrame::HasCommandHandler(int id) const {
    if (ChildFrame* frame = MDIGetActive()) {
        if (frame->GetView() && frame->GetView()->HasHandler(id, Notify::Clicked)) return true;
        if (frame->HasHandler(id, Notify::Clicked)) return true;
    }
    return HasHandler(id, Notify::Clicked);
}

bool MainFrame::IsCommandEnabled(int id) const {
    return !disabled_.count(id) && HasCommandHandler(id);
}
bool MainFrame::IsCommandChecked(int id) const {
    return checked_.count(id) != 0;
}

bool MainFrame::RouteCommand(int id) {
    if (ChildFrame* frame = MDIGetActive()) {
        if (View* view = frame->GetView(); view && view->Dispatch({id, Notify::Clicked})) return true;
        if (frame->Dispatch({id, Notify::Clicked})) return true;
    }
    return Dispatch({id, Notify::Clicked});
}

bool MainFrame::InvokeCommand(int id) {
    if (!IsCommandEnabled(id)) return false;
    const WindowHandle self = GetSafeHwnd();
    RouteCommand(id);
    if (FromHandle(self) == this) RefreshCommandState();
    return true;
}

void MainFrame::RefreshCommandState() {
    for (const auto* list : {&menu_actions_, &tool_actions_}) {
        for (const CommandAction& c : *list) {
            if (!c.action) continue;
            c.action->setEnabled(IsCommandEnabled(c.id));
            const bool checked = IsCommandChecked(c.id);
            c.action->setCheckable(checked || c.action->isCheckable());
            c.action->setChecked(checked);
        }
    }
}

}  // namespace platform
