// The main frame: menus from a table, command routing, the tool bar edit,
// MDI children from document templates with their close hook, and the
// painted background.

#include "platform/main_frame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "platform/dialog_keys.h"
#include "platform/timer.h"

namespace {

using namespace platform;

enum : int { kOpen = 32775, kOptions = 32830, kModulesItem = 32950, kViewOnly = 32990, kDateEdit = 61447 };

MenuTable MainMenu() {
    return {Popup("&File", {Command(ID_FILE_OPEN, "&Open"), Separator(), Command(ID_APP_EXIT, "E&xit")}),
            Popup("&Utilities",
                  {Command(kOptions, "&Options"), Popup("More", {Command(kViewOnly, "View only")})}),
            Popup("Modules", {Command(kModulesItem, "Billing")})};
}

MenuTable ChildMenu() {
    MenuTable menu = MainMenu();
    menu.push_back(Popup("&Window", {Command(ID_WINDOW_CASCADE, "&Cascade"), WindowList()}));
    return menu;
}

struct Log {
    std::vector<std::string> lines;
};

class LogView : public View {
public:
    LogView(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    void OnInitialUpdate() override {
        log_.lines.push_back("init " + name_);
        CreateControl(Button(50, "Done"), QRect(10, 10, 80, 30));
        Bind(50, Notify::Clicked, [this] { GetParentFrame()->PostClose(); });
        Bind(kViewOnly, Notify::Clicked, [this] { log_.lines.push_back("view command " + name_); });
        GetParentFrame()->SetWindowText(name_);
    }
    void OnDestroy() override { log_.lines.push_back("destroy " + name_); }

private:
    Log& log_;
    std::string name_;
};

// A frame that refuses to close while it is told to.
class StubbornFrame : public ChildFrame {
public:
    void PreCreateWindow(FrameStyle& style) override { style.maximize_box = false; }
    void OnClose() override {
        if (may_close) ChildFrame::OnClose();
    }
    bool may_close = false;
};

// A view with a vertical and a horizontal scroll bar of positions 0 to 10,
// which logs the requests they make and moves them a position a line.
class BarsView : public View {
public:
    static constexpr int kVertical = 60, kHorizontal = 61;
    void OnInitialUpdate() override {
        CreateControl(ScrollBar(kVertical), QRect(200, 0, 16, 100));
        CreateControl(ScrollBar(kHorizontal, platform::kHorizontal), QRect(0, 120, 200, 16));
        for (const int id : {kVertical, kHorizontal}) {
            GetDlgItem(id).SetScrollRange(0, 10);
            Bind(id, Notify::Scroll, [this, id](const Notification& n) {
                Control bar = GetDlgItem(id);
                const int step = n.scroll_code == SB_LINEUP ? -1 : n.scroll_code == SB_LINEDOWN ? 1 : 0;
                requests.push_back(std::to_string(id) + (step < 0 ? " up" : step > 0 ? " down" : " other"));
                bar.SetScrollPos(std::clamp(bar.GetScrollPos() + step, 0, 10));
            });
        }
    }
    std::vector<std::string> requests;
};

// A frame of a fixed size without a maximize box.
class FixedFrame : public ChildFrame {
public:
    void PreCreateWindow(FrameStyle& style) override {
        style.maximize_box = false;
        style.sizing_border = false;
    }
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(main.Create("TREL1", MainMenu(), ChildMenu()));
        main.GetWidget()->resize(900, 640);
        main.ShowWindow(SW_SHOW);
        view_template = templates.Add({"Report", [this] { return std::make_unique<LogView>(log, Next()); }});
        stubborn_template =
            templates.Add({"Stubborn", [this] { return std::make_unique<LogView>(log, Next()); },
                           [] { return std::make_unique<StubbornFrame>(); }});
    }
    std::string Next() { return "W" + std::to_string(++opened); }
    const DocTemplate& Template(int position) { return *templates.Get(position); }

    // The enabled state of a menu item as the menu bar shows it.
    bool MenuShowsEnabled(const QString& text) {
        std::function<QAction*(const QList<QAction*>&)> find =
            [&](const QList<QAction*>& actions) -> QAction* {
            for (QAction* a : actions) {
                if (a->text() == text) return a;
                if (a->menu())
                    if (QAction* found = find(a->menu()->actions())) return found;
            }
            return nullptr;
        };
        QAction* action = find(main.GetMainWindow()->menuBar()->actions());
        EXPECT_NE(action, nullptr) << text.toStdString();
        return action && action->isEnabled();
    }

    // Declared before the frame, which outlives them otherwise: closing its
    // views at the end writes to the log.
    Log log;
    DocTemplateList templates;
    int view_template = 0;
    int stubborn_template = 0;
    int opened = 0;
    MainFrame main;
};

TEST_F(MainFrameTest, TemplatesKeepTheirPositions) {
    EXPECT_EQ(view_template, 0);
    EXPECT_EQ(stubborn_template, 1);
    EXPECT_EQ(templates.Add({"Chart", nullptr}), 2);
    EXPECT_EQ(templates.Get(1)->name, "Stubborn");
    EXPECT_EQ(templates.Get(3), nullptr);
    EXPECT_EQ(templates.Get(-1), nullptr);
}

TEST_F(MainFrameTest, TopLevelItemDeletedByCaption) {
    EXPECT_EQ(main.GetTopLevelMenuCaptions(), (std::vector<std::string>{"&File", "&Utilities", "Modules"}));
    EXPECT_TRUE(main.DeleteTopLevelMenu("Modules"));
    EXPECT_FALSE(main.DeleteTopLevelMenu("Modules"));
    EXPECT_FALSE(main.DeleteTopLevelMenu("Utilities"));  // the caption must match exactly
    EXPECT_EQ(main.GetTopLevelMenuCaptions(), (std::vector<std::string>{"&File", "&Utilities"}));
    EXPECT_EQ(main.GetMainWindow()->menuBar()->actions().size(), 2);
}

TEST_F(MainFrameTest, CommandsWithoutHandlerAreDisabled) {
    EXPECT_FALSE(main.IsCommandEnabled(kOptions));
    EXPECT_FALSE(MenuShowsEnabled("&Options"));
    EXPECT_FALSE(main.InvokeCommand(kOptions));
    int runs = 0;
    main.Bind(kOptions, Notify::Clicked, [&] { ++runs; });
    EXPECT_TRUE(main.IsCommandEnabled(kOptions));
    EXPECT_TRUE(main.InvokeCommand(kOptions));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(MenuShowsEnabled("&Options"));
    main.EnableCommand(kOptions, false);
    EXPECT_FALSE(main.InvokeCommand(kOptions));
    EXPECT_FALSE(MenuShowsEnabled("&Options"));
    main.EnableCommand(kOptions, true);
    main.CheckCommand(kOptions, true);
    EXPECT_TRUE(main.IsCommandChecked(kOptions));
    EXPECT_TRUE(main.InvokeCommand(kOptions));
    EXPECT_EQ(runs, 2);
}

TEST_F(MainFrameTest, CommandsGoToTheActiveViewFirst) {
    int main_runs = 0;
    main.Bind(kViewOnly, Notify::Clicked, [&] { ++main_runs; });
    EXPECT_TRUE(main.InvokeCommand(kViewOnly));
    EXPECT_EQ(main_runs, 1);
    ChildFrame* first = main.OpenView(Template(view_template));
    ChildFrame* second = main.OpenView(Template(view_template));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(main.MDIGetActive(), second);
    EXPECT_TRUE(main.InvokeCommand(kViewOnly));
    main.MDIActivate(first);
    EXPECT_EQ(main.MDIGetActive(), first);
    EXPECT_TRUE(main.InvokeCommand(kViewOnly));
    EXPECT_EQ(main_runs, 1);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"init W1", "init W2", "view command W2", "view command W1"}));
}

TEST_F(MainFrameTest, ChildWindowsListActivateAndClose) {
    ChildFrame* a = main.OpenView(Template(view_template));
    ChildFrame* b = main.OpenView(Template(view_template));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(main.GetChildFrames(), (std::vector<ChildFrame*>{a, b}));
    EXPECT_EQ(a->GetWindowText(), "W1");
    EXPECT_EQ(main.GetTopLevelMenuCaptions().back(), "&Window");  // the child menu shows

    // The view's Done button posts a close to its frame.
    EXPECT_EQ(a->GetView()->UserClick(50), "");
    EXPECT_EQ(main.GetChildFrames().size(), 2u);  // not yet: it was posted
    ProcessPendingMessages();
    EXPECT_EQ(main.GetChildFrames(), std::vector<ChildFrame*>{b});
    EXPECT_EQ(log.lines.back(), "destroy W1");

    b->DestroyWindow();
    EXPECT_TRUE(main.GetChildFrames().empty());
    EXPECT_EQ(main.MDIGetActive(), nullptr);
    EXPECT_EQ(main.GetTopLevelMenuCaptions().back(), "Modules");  // the main menu is back
}

// The Window menu lists the open windows; only the first nine carry their
// digit as a mnemonic, so that typing a digit chooses one window. A title's
// "&" is shown as it is, not taken for a mnemonic.
TEST_F(MainFrameTest, WindowMenuNumbersOnlyTheFirstNineAsMnemonics) {
    for (int i = 0; i < 12; ++i) ASSERT_NE(main.OpenView(Template(view_template)), nullptr);
    main.GetChildFrames()[1]->SetWindowText("W2 Jack White & Company");
    QMenu* window_menu = nullptr;
    for (QAction* a : main.GetMainWindow()->menuBar()->actions())
        if (a->text() == "&Window") window_menu = a->menu();
    ASSERT_NE(window_menu, nullptr);
    emit window_menu->aboutToShow();
    std::vector<QString> listed;
    for (QAction* a : window_menu->actions())
        if (a->text().contains(" W")) listed.push_back(a->text());
    ASSERT_EQ(listed.size(), 12u);
    EXPECT_EQ(listed[0], "&1 W1");
    EXPECT_EQ(listed[1], "&2 W2 Jack White && Company");
    EXPECT_EQ(listed[8], "&9 W9");
    EXPECT_EQ(listed[9], "10 W10");
    EXPECT_EQ(listed[11], "12 W12");
    for (ChildFrame* frame : main.GetChildFrames()) frame->DestroyWindow();
}

// A child window's form shares the main window with the menu bar, whose
// letters open its menus: the form's keys leave them to the bar (an own
// letter the bar has given up, another kept), a text the program puts in
// takes a letter the bar leaves, and the key check counts the bar.
TEST_F(MainFrameTest, AFormLeavesTheMenuBarsLettersToItsMenus) {
    enum : int { kMonth = 60, kFund = 61, kWindow = 62, kKeep = 63 };
    const DialogTemplate form{
        910, "Form",
        Column({Row({Label("Month"), Edit(kMonth)}),
                Row({Button(kFund, "Fund"), Button(kWindow, "&Window"), Button(kKeep, "&Keep")})})};
    const int form_template = templates.Add({"Form", [form] { return std::make_unique<FormView>(form); }});
    ChildFrame* frame = main.OpenView(Template(form_template));
    ASSERT_NE(frame, nullptr);
    View& view = *frame->GetView();
    EXPECT_EQ(main.GetMenuBarCaptions(),
              (std::vector<std::string>{"&File", "&Utilities", "&Modules", "&Window"}));
    const auto shown = [&](int id) {
        QWidget* w = view.GetDlgItem(id).Widget();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
        for (QLabel* label : view.GetWidget()->findChildren<QLabel*>())
            if (label->buddy() == w) return label->text().toStdString();
        return std::string();
    };
    EXPECT_EQ(shown(kFund), "Fu&nd");
    EXPECT_EQ(shown(kWindow), "W&indow");
    EXPECT_EQ(shown(kKeep), "&Keep");
    EXPECT_EQ(shown(kMonth), "M&onth");
    EXPECT_EQ(view.GetDlgItemText(kWindow), "&Window") << "the program reads its captions as written";
    EXPECT_EQ(KeyFaults(view), std::vector<std::string>{});
    // "Mill" lacks the N of "Fund": M is the bar's, I the window's.
    view.SetDlgItemText(kFund, "Mill");
    EXPECT_EQ(shown(kFund), "Mi&ll");
    view.SetDlgItemText(kKeep, "&Utilities");
    EXPECT_EQ(KeyFaults(view), std::vector<std::string>{"Alt+U is menu \"Utilities\" and \"Utilities\""});
    frame->DestroyWindow();
}

// Windows of one title are numbered as they open: the second shows
// ":2", the third ":3", in their title bars and in the Window menu; a
// closed window's number goes to the next window of its title, and a
// window keeps its number when the program sets its title again.
TEST_F(MainFrameTest, RepeatedTitlesAreNumbered) {
    const std::string title = "Commission by Broker";
    const auto open = [&](const std::string& text) {
        ChildFrame* frame = main.OpenView(Template(view_template));
        frame->SetWindowText(text);
        return frame;
    };
    ChildFrame* first = open(title);
    ChildFrame* second = open(title);
    ChildFrame* other = open("Broker List");
    ChildFrame* third = open(title);
    EXPECT_EQ(first->GetWindowText(), title);
    EXPECT_EQ(second->GetWindowText(), title + ":2");
    EXPECT_EQ(other->GetWindowText(), "Broker List");
    EXPECT_EQ(third->GetWindowText(), title + ":3");
    EXPECT_EQ(third->GetWidget()->windowTitle().toStdString(), title + ":3");
    third->SetWindowText(title);
    EXPECT_EQ(third->GetWindowText(), title + ":3");

    QMenu* window_menu = nullptr;
    for (QAction* a : main.GetMainWindow()->menuBar()->actions())
        if (a->text() == "&Window") window_menu = a->menu();
    ASSERT_NE(window_menu, nullptr);
    emit window_menu->aboutToShow();
    std::vector<std::string> listed;
    for (QAction* a : window_menu->actions())
        if (a->isCheckable()) listed.push_back(a->text().toStdString());
    EXPECT_EQ(listed, (std::vector<std::string>{"&1 " + title, "&2 " + title + ":2", "&3 Broker List",
                                                "&4 " + title + ":3"}));

    second->DestroyWindow();
    EXPECT_EQ(open(title)->GetWindowText(), title + ":2");
    first->DestroyWindow();
    other->SetWindowText(title);
    EXPECT_EQ(other->GetWindowText(), title);
    for (ChildFrame* frame : main.GetChildFrames()) frame->DestroyWindow();
}

TEST_F(MainFrameTest, CloseHookCanRefuse) {
    ChildFrame* plain = main.OpenView(Template(view_template));
    auto* stubborn = static_cast<StubbornFrame*>(main.OpenView(Template(stubborn_template)));
    ASSERT_TRUE(plain && stubborn);
    main.OnClose();  // the main frame asks its children first
    EXPECT_TRUE(main.IsWindow());
    EXPECT_EQ(main.GetChildFrames(), std::vector<ChildFrame*>{stubborn});
    stubborn->may_close = true;
    main.OnClose();
    EXPECT_FALSE(main.IsWindow());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"init W1", "init W2", "destroy W1", "destroy W2"}));
}

TEST_F(MainFrameTest, ToolBarEditIsAControlOfTheFrame) {
    std::vector<std::string> events;
    main.AddToolBarEdit(kDateEdit, 8);
    main.Bind(kDateEdit, Notify::Changed,
              [&] { events.push_back("changed " + main.GetDlgItemText(kDateEdit)); });
    main.Bind(kDateEdit, Notify::FocusLost, [&] { events.push_back("lost"); });
    main.SetDlgItemText(kDateEdit, "12/08/98");
    EXPECT_EQ(main.GetDlgItemText(kDateEdit), "12/08/98");
    main.GetDlgItem(kDateEdit).LimitText(8);
    EXPECT_EQ(main.UserSetText(kDateEdit, "1/5/99"), "");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1], "changed 1/5/99");
    main.SetMessageText("Ready");
    EXPECT_EQ(main.GetMessageText(), "Ready");
}

TEST_F(MainFrameTest, BackgroundIsPaintedCentredOnWhite) {
    QWidget* area = main.GetMdiArea()->viewport();
    const QImage image = area->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    // The picture sits in the middle: some of its pixels there are not white.
    bool drawn = false;
    const QPoint centre = image.rect().center();
    for (int dx = -60; dx <= 60 && !drawn; dx += 3)
        for (int dy = -60; dy <= 60 && !drawn; dy += 3)
            drawn = image.pixelColor(centre + QPoint(dx, dy)) != QColor(Qt::white);
    EXPECT_TRUE(drawn);

    main.SetBackgroundPainter([](QPainter& p, const QRect& r) { p.fillRect(r, Qt::red); });
    EXPECT_EQ(area->grab().toImage().pixelColor(2, 2), QColor(Qt::red));
}

}  // namespace

namespace {

// New children open inside the visible client area, one title bar down
// and across from the one before, back at the top left when the next step
// would reach past the edge; a child larger than the area is cut to it.
TEST_F(MainFrameTest, NewChildrenCascadeInsideTheVisibleArea) {
    const QMdiArea* area = main.GetMdiArea();
    for (const QSize frame : {QSize(900, 640), QSize(520, 380)}) {
        SCOPED_TRACE(frame.width());
        main.GetWidget()->resize(frame);
        QApplication::processEvents();
        const QRect visible(QPoint(0, 0), area->viewport()->size());
        QPoint previous(-1, -1);
        for (int i = 0; i < 8; ++i) {
            ChildFrame* child = main.OpenView(Template(i % 2 == 0 ? view_template : stubborn_template));
            ASSERT_NE(child, nullptr);
            QApplication::processEvents();
            const QRect placed = child->GetWidget()->geometry();
            EXPECT_TRUE(visible.contains(placed)) << i << ": " << placed.x() << "," << placed.y() << " "
                                                  << placed.width() << "x" << placed.height();
            if (i == 0) {
                EXPECT_EQ(placed.topLeft(), QPoint(0, 0));
            } else if (placed.topLeft() != QPoint(0, 0)) {
                EXPECT_GT(placed.x(), previous.x()) << i;
                EXPECT_EQ(placed.x() - previous.x(), placed.y() - previous.y()) << i;
            }
            previous = placed.topLeft();
        }
        for (ChildFrame* child : main.GetChildFrames()) {
            if (auto* stubborn = dynamic_cast<StubbornFrame*>(child)) stubborn->may_close = true;
        }
        EXPECT_TRUE(main.CloseAllChildren());
        QApplication::processEvents();
    }
}

// As in a multiple-document frame: a child opened or activated while the
// active child is maximized shows maximized, filling the area even when
// its frame has a fixed size, which it takes again once restored; when the
// active child closes, the child active before it comes back, maximized
// when the closed one was.
TEST_F(MainFrameTest, MaximizedChildrenStayMaximizedAndClosingGivesBackThePreviousOne) {
    const int fixed_template =
        templates.Add({"Fixed", [this] { return std::make_unique<LogView>(log, Next()); },
                       [] { return std::make_unique<FixedFrame>(); }});
    const QMdiArea* area = main.GetMdiArea();
    auto fills = [&](const ChildFrame* child) {
        const QWidget* w = child->GetWidget();
        return w->isMaximized() && w->geometry() == area->viewport()->rect();
    };
    ChildFrame* fixed = main.OpenView(Template(fixed_template));
    ChildFrame* a = main.OpenView(Template(view_template));
    ChildFrame* b = main.OpenView(Template(view_template));
    ChildFrame* c = main.OpenView(Template(view_template));
    ASSERT_TRUE(fixed && a && b && c);
    QApplication::processEvents();
    const QSize own_size = fixed->GetWidget()->size();
    ASSERT_EQ(fixed->GetWidget()->minimumSize(), own_size);
    ASSERT_EQ(fixed->GetWidget()->maximumSize(), own_size);
    // Closing goes back by activation, not by opening order.
    main.MDIActivate(b);
    main.MDIActivate(c);
    c->DestroyWindow();
    EXPECT_EQ(main.MDIGetActive(), b);
    EXPECT_FALSE(b->GetWidget()->isMaximized());

    // Activated in turn while maximized: the one in front fills the area;
    // the fixed frame restored has its own size again.
    b->ShowWindow(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(fills(b));
    main.MDIActivate(fixed);
    EXPECT_TRUE(fills(fixed));
    EXPECT_FALSE(b->GetWidget()->isMaximized());
    main.MDIActivate(b);
    EXPECT_TRUE(fills(b));
    EXPECT_FALSE(fixed->GetWidget()->isMaximized());
    EXPECT_EQ(fixed->GetWidget()->size(), own_size);
    EXPECT_EQ(fixed->GetWidget()->minimumSize(), own_size);
    EXPECT_EQ(fixed->GetWidget()->maximumSize(), own_size);

    // Opened while maximized.
    ChildFrame* d = main.OpenView(Template(fixed_template));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(main.MDIGetActive(), d);
    EXPECT_TRUE(fills(d));
    EXPECT_FALSE(b->GetWidget()->isMaximized());
    d->DestroyWindow();
    EXPECT_EQ(main.MDIGetActive(), b);
    EXPECT_TRUE(fills(b));
    EXPECT_FALSE(a->GetWidget()->isMaximized());
}

// The mouse wheel over a view, or over one of its scroll bars, asks the bar
// for lines as its arrows do: the desktop's lines a notch (120), a finer
// wheel's steps added up to a notch; the wheel turned away from the person
// goes up (left), towards them down (right). A sideways wheel goes to the
// horizontal bar; a bar that is hidden takes nothing.
TEST_F(MainFrameTest, TheMouseWheelAsksTheScrollBarsForLines) {
    const int bars_template = templates.Add({"Bars", [] { return std::make_unique<BarsView>(); }});
    ChildFrame* child = main.OpenView(Template(bars_template));
    ASSERT_NE(child, nullptr);
    auto* view = dynamic_cast<BarsView*>(child->GetView());
    ASSERT_NE(view, nullptr);
    const int lines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(2);
    auto wheel = [](QWidget* target, QPoint delta) {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), delta, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    using Requests = std::vector<std::string>;
    QWidget* area = view->GetWidget();
    EXPECT_TRUE(wheel(area, QPoint(0, -120)));
    EXPECT_EQ(view->requests, (Requests{"60 down", "60 down"}));
    EXPECT_EQ(view->GetDlgItem(BarsView::kVertical).GetScrollPos(), 2);
    view->requests.clear();
    wheel(area, QPoint(0, 60));  // half a notch: nothing yet
    EXPECT_TRUE(view->requests.empty());
    wheel(area, QPoint(0, 60));
    EXPECT_EQ(view->requests, (Requests{"60 up", "60 up"}));
    view->requests.clear();
    wheel(area, QPoint(-240, 0));
    EXPECT_EQ(view->requests, (Requests(4, "61 down")));
    view->requests.clear();
    // Over a bar the wheel goes to that bar, whichever way it turns.
    wheel(view->GetDlgItem(BarsView::kHorizontal).Widget(), QPoint(0, 120));
    EXPECT_EQ(view->requests, (Requests{"61 up", "61 up"}));
    EXPECT_EQ(view->GetDlgItem(BarsView::kHorizontal).GetScrollPos(), 2);
    view->requests.clear();
    wheel(view->GetDlgItem(BarsView::kVertical).Widget(), QPoint(0, -120));
    EXPECT_EQ(view->requests, (Requests{"60 down", "60 down"}));
    view->requests.clear();
    view->GetDlgItem(BarsView::kVertical).ShowWindow(SW_HIDE);
    EXPECT_FALSE(wheel(area, QPoint(0, -120)));
    EXPECT_TRUE(view->requests.empty());
    QApplication::setWheelScrollLines(lines);
}

}  // namespace
