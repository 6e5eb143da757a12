// The on-screen path: with the default interaction a modal dialog runs in
// Qt's own modal loop, real clicks and key presses reach the same handlers,
// and EndDialog ends the loop. Timers tick from the event loop on the system
// clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/interaction.h"
#include "platform/timer.h"
#include "sample_dialog.h"

namespace {

using namespace platform;
using namespace sample;

// Runs `steps` one after another from the dialog's own modal loop.
void Later(std::vector<std::function<void()>> steps) {
    auto shared = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
    auto index = std::make_shared<std::size_t>(0);
    auto next = std::make_shared<std::function<void()>>();
    *next = [shared, index, next] {
        if (*index >= shared->size()) return;
        (*shared)[(*index)++]();
        QTimer::singleShot(10, *next);
    };
    QTimer::singleShot(10, *next);
}

void Press(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(ScreenTest, RealClicksAndKeysRunTheSameHandlers) {
    ASSERT_EQ(&CurrentInteraction(), InstallInteraction(nullptr));  // the screen one
    Selection selection;
    SampleDialog dialog(selection);
    int focus_after_enter = 0;
    Later({
        [&] { dialog.GotoDlgCtrl(kStartDate); },
        [&] { Press(dialog.GetDlgItem(kStartDate).Widget(), Qt::Key_Return); },
        [&] { focus_after_enter = dialog.GetFocusId(); },
        [&] { static_cast<QPushButton*>(dialog.GetDlgItem(kGenerate).Widget())->click(); },
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(focus_after_enter, kEndDate);  // Enter moved on and did not close
    EXPECT_EQ(selection.destination, 3);

    Later({[&] { Press(dialog.GetDlgItem(kEndDate).Widget(), Qt::Key_Escape); }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancels, 1);
}

TEST(ScreenTest, HidingAModalDialogDoesNotEndIt) {
    Selection selection;
    SampleDialog dialog(selection);
    bool open_while_hidden = false;
    Later({
        [&] { dialog.ShowWindow(SW_HIDE); },
        [&] { open_while_hidden = dialog.IsWindow() && !dialog.IsEnded(); },
        [&] { dialog.ShowWindow(SW_SHOW); },
        [&] { static_cast<QPushButton*>(dialog.GetDlgItem(kGenerate).Widget())->click(); },
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(open_while_hidden);
}

// A list whose selected line an edit rewrites as it loses the focus (the
// name editors do so): deleted, inserted again and selected, which
// scrolls the list to that line.
class LineEditor : public Dialog {
public:
    static constexpr int kLines = 10;
    static constexpr int kText = 11;

    LineEditor()
        : Dialog({900, "Lines", Column({ListBox(kLines).Chars(12).Lines(5), Edit(kText).Chars(12)})}) {
        Bind(kLines, Notify::SelChange, [this] { selections.push_back(GetDlgItem(kLines).GetCurSel()); });
        Bind(kText, Notify::FocusLost, [this] {
            Control list = GetDlgItem(kLines);
            const int at = list.GetCurSel();
            list.DeleteString(at);
            list.InsertString(at, GetDlgItemText(kText));
            list.SetCurSel(at);
        });
    }
    bool OnInitDialog() override {
        for (int k = 0; k < 30; ++k) GetDlgItem(kLines).AddString("Line " + std::to_string(k));
        GetDlgItem(kLines).SetCurSel(1);
        GotoDlgCtrl(kText);
        return false;
    }
    std::vector<int> selections;
};

// A click on a list while an edit has the focus takes the line under the
// mouse, though the edit's focus-lost handler scrolls the list to another.
TEST(ScreenTest, AClickTakesTheLineUnderTheMouseWhateverTheFocusLostHandlerScrolls) {
    LineEditor dialog;
    QListWidget* list = nullptr;
    int top = -1;
    int after = -1;
    int focus = 0;
    std::string rewritten;
    Later({
        [&] {
            list = static_cast<QListWidget*>(dialog.GetDlgItem(LineEditor::kLines).Widget());
            dialog.SetDlgItemText(LineEditor::kText, "Rewritten");
            // Line 1 scrolls out of sight; line 25 is in sight.
            list->scrollToBottom();
            top = list->verticalScrollBar()->value();
        },
        [&] {
            ASSERT_GT(top, 2);
            const QRect line = list->visualItemRect(list->item(25));
            ASSERT_TRUE(list->viewport()->rect().contains(line.center()));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, line.center());
        },
        [&] {
            focus = dialog.GetFocusId();
            after = list->verticalScrollBar()->value();
            rewritten = dialog.GetDlgItem(LineEditor::kLines).GetText(1);
            dialog.EndDialog(IDOK);
        },
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(rewritten, "Rewritten");
    EXPECT_EQ(focus, LineEditor::kLines);
    EXPECT_EQ(dialog.selections, std::vector<int>{25});
    EXPECT_EQ(after, top);  // the list stayed where it was under the mouse
}

TEST(ScreenTest, SystemClockTimersTickFromTheEventLoop) {
    ASSERT_FALSE(GetClock().IsManual());
    MessageWindow window;
    int ticks = 0;
    window.SetTimerHandler([&](unsigned) { ++ticks; });
    ASSERT_EQ(window.SetTimer(1, 10), 1u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ticks < 3 && std::chrono::steady_clock::now() < deadline) {
        ProcessPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GE(ticks, 3);
    window.KillTimer(1);
}

}  // namespace
