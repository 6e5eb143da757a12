#pragma once

// The window base: one window with a handle, child controls addressed by id,
// handlers bound to (control id, notification), keyboard focus among the
// controls, timers and copy-data delivery. Dialogs, the main frame, child
// frames, views and plain windows derive from it. A Window object can exist
// without its widget (before Create or DoModal and after DestroyWindow);
// control access then does nothing and reads empty values.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/constants.h"
#include "platform/control.h"
#include "platform/copy_data.h"
#include "platform/handle.h"
#include "platform/pictures.h"
#include "platform/resource.h"

class QPainter;
class QWheelEvent;

namespace platform {

// What a control tells its window.
enum class Notify {
    Clicked,      // button, check box or radio clicked; also menu and tool bar commands
    Changed,      // the text of an edit (or of a combo box's edit part) changed
    SelChange,    // the user selected another line of a list or combo box
    DoubleClick,  // a line of a list box was double-clicked
    FocusLost,
    FocusGained,
    Scroll,    // a scroll bar asks to scroll (scroll_code, position)
    DeltaPos,  // an up-down control's arrow was pressed (delta)
};

struct Notification {
    int id = 0;
    Notify code = Notify::Clicked;
    int scroll_code = 0;  // Scroll: SB_LINEUP ... SB_BOTTOM
    int position = 0;     // Scroll: the thumb position for SB_THUMBTRACK and SB_THUMBPOSITION
    // DeltaPos: the change the control reports. The control keeps the classic
    // default range (largest value at the bottom), so the upper arrow
    // reports -1 and the lower arrow +1.
    int delta = 0;
};

// Keys a simulated user can press. Up, Down, PageUp, PageDown, Home and
// End go to the control that has the focus, as on a keyboard: a list moves
// its selection by one line, by the lines it shows, or to its first or
// last line.
enum class Key { Enter, Escape, Tab, BackTab, Up, Down, PageUp, PageDown, Home, End };

namespace detail {
class EventRelay;
class HookWidget;
struct Wiring;
}  // namespace detail

class Window {
public:
    using Handler = std::function<void(const Notification&)>;

    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The window's handle while it exists, else 0.
    WindowHandle GetSafeHwnd() const { return handle_; }
    bool IsWindow() const { return handle_ != 0; }
    QWidget* GetWidget() const { return widget_.data(); }

    // The window itself. Dialogs widen to show their new title whole;
    // child frames number a title that another open child already shows.
    virtual void SetWindowText(std::string_view text);
    std::string GetWindowText() const;
    void ShowWindow(int show_command);
    // Brings the window to the front and gives it the keyboard focus.
    void SetActiveWindow();
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetIcon(Picture picture);
    void MoveWindow(int x, int y, int width, int height);
    QRect GetClientRect() const;
    void Invalidate();
    // Closes the window now: OnDestroy runs, the handle and the timers end
    // and the widget goes away.
    virtual void DestroyWindow();
    // Asks the window to close later, from the event loop (OnClose runs then).
    void PostClose();

    // Controls by id. An id that names no control gives a null Control.
    Control GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::string_view text);
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int check);
    // Checks `id` and unchecks the other radios whose ids lie in first..last.
    void CheckRadioButton(int first, int last, int id);
    // The ids of the controls in tab order.
    std::vector<int> GetControlIds() const;
    // Creates a control at run time at a fixed place (views and plain
    // windows have no table).
    Control CreateControl(const ControlDef& def, const QRect& place);
    // The same from a table entry: CreateControl(Button(50, "Done"), place).
    Control CreateControl(const Node& control, const QRect& place) {
        return CreateControl(control.control, place);
    }
    // Adopts a widget made elsewhere (a tool bar's edit) as control `def.id`.
    Control AddControl(const ControlDef& def, QWidget* widget, int radio_group = 0);

    // Handlers. Binding (id, code) again replaces the handler.
    void Bind(int id, Notify code, std::function<void()> handler);
    void Bind(int id, Notify code, Handler handler);
    template <class T>
    void Bind(int id, Notify code, void (T::*member)()) {
        T* self = static_cast<T*>(this);
        Bind(id, code, std::function<void()>([self, member] { (self->*member)(); }));
    }
    bool HasHandler(int id, Notify code) const;
    // Runs the handler bound to the notification; false when there is none.
    bool Dispatch(const Notification& notification);

    // Keyboard focus among the controls. Moving the focus sends FocusLost to
    // the control that had it and FocusGained to the new one.
    void GotoDlgCtrl(int id);
    int GetFocusId() const { return focus_id_; }
    // Moves the focus to the next (or previous) control that takes the
    // focus: visible, enabled edits, buttons, check boxes, radios, lists and
    // combo boxes, in tab order, wrapping around.
    void NextDlgCtrl(bool previous = false);
    // Moves the focus to the first control that takes it.
    void FirstDlgCtrl();
    static constexpr int kNoFocus = INT_MIN;

    // Timers of this window; each tick calls OnTimer.
    unsigned SetTimer(unsigned id, unsigned elapse_ms);
    bool KillTimer(unsigned id);

    // Hooks.
    virtual void OnTimer(unsigned id);
    // A copy-data record sent to this window; true when handled.
    virtual bool OnCopyData(WindowHandle from, const CopyDataRecord& record);
    virtual void OnPaint(QPainter& painter);
    virtual void OnSize(int width, int height);
    // The user (or PostClose) asks the window to close. The default closes it.
    virtual void OnClose();
    // The window is about to go away (its controls still exist).
    virtual void OnDestroy();
    // Enter and Escape pressed in the window; true when the key was used.
    virtual bool OnEnterKey();
    virtual bool OnEscapeKey();
    // A moving key (Up, Down, PageUp, PageDown, Home, End) pressed in list
    // box `id` of style kWantKeys, whose selected line is `caret` (-1 for
    // none), before the list moves its selection: true when the window
    // used the key (a list that shows a part of a longer list scrolls it),
    // false to leave the key to the list. The default leaves every key.
    virtual bool OnVKeyToItem(int id, Key key, int caret);

    // A simulated user. Each action does what a person's mouse or keyboard
    // would: the focus moves to the control first, then the control changes
    // and its notifications run the bound handlers. The control must exist,
    // be visible and be enabled. Returns an empty text, or why the action was
    // not possible.
    std::string UserClick(int id);
    std::string UserSetText(int id, std::string_view text);  // replaces the text
    std::string UserType(int id, std::string_view text);     // one character at a time at the caret
    std::string UserSetCheck(int id, bool checked);          // clicks when the state differs
    std::string UserSelect(int id, int index);
    std::string UserSelectText(int id, std::string_view text);
    std::string UserDoubleClick(int id, int index);
    std::string UserScroll(int id, int scroll_code, int position = 0);
    std::string UserSpin(int id, bool up);
    std::string UserFocus(int id);
    // The focus leaves the window's controls, as a click on an empty part
    // of the window takes it: FocusLost runs for the control that had it.
    std::string UserLeaveFocus();
    std::string UserKey(Key key);

    // Marks the window as running a handler or a widget event, so that a
    // DestroyWindow from inside it defers the widget's deletion.
    class Busy {
    public:
        explicit Busy(Window& w) : w_(w) { ++w_.busy_; }
        ~Busy() { --w_.busy_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        Window& w_;
    };

    // True while one of the window's handlers or widget events runs.
    bool IsBusy() const { return busy_ > 0; }

protected:
    // The object all of the window's signal connections hang on: connecting
    // with it as context ends each connection when the window closes.
    QObject* ConnectionContext() const;
    // Gives the window its widget and a handle. An owned widget is deleted
    // when the window is destroyed.
    void AttachWidget(QWidget* widget, bool owned = true);
    // Gives the window a handle without a widget (a message-only window).
    void AttachHandleOnly();
    // Enter on a push button: presses the button that has the focus while it
    // shows and is enabled. False when the focus is elsewhere.
    bool PressFocusedButton();

private:
    friend class detail::EventRelay;
    friend class detail::HookWidget;
    friend struct detail::Wiring;
    friend class Control;

    struct ControlEntry {
        int id;
        ControlKind kind;
        unsigned style;
        int radio_group;
        QPointer<QWidget> widget;
    };
    struct Binding {
        int id;
        Notify code;
        Handler handler;
    };

    const ControlEntry* FindControl(int id) const;

    int ControlIdOf(const QObject* object) const;
    void Detach();
    // The mouse wheel turned over scroll bar `bar_id`, or over the window
    // (IDC_STATIC), where it goes to the window's first scroll bar of the
    // wheel's direction that shows and is enabled. Each notch sends that
    // bar QApplication::wheelScrollLines() line requests, up or down (left
    // or right), as its arrows do. False when no bar takes it.
    bool WheelScroll(const QWheelEvent& event, int bar_id);
    // The user clicked a button: radio groups are updated and Clicked runs.
    void ButtonClickedByUser(int id);
    // The focus reached a control through the widgets' own focus handling.
    void FocusArrived(int id);
    void FocusLeft(int id);
    std::string CheckUsable(int id, const ControlEntry*& entry) const;

    WindowHandle handle_ = 0;
    QPointer<QWidget> widget_;
    bool owns_widget_ = true;
    std::unique_ptr<detail::EventRelay> relay_;
    std::vector<ControlEntry> controls_;
    std::vector<Binding> bindings_;
    int focus_id_ = kNoFocus;
    int busy_ = 0;
    QPoint wheel_rest_;  // wheel turns short of a notch, not yet scrolled
};

// A window with no widget: a handle that receives copy-data records and
// timer ticks, for code that has no window of its own to offer.
class MessageWindow : public Window {
public:
    MessageWindow();
    ~MessageWindow() override;
    void SetCopyDataHandler(std::function<bool(WindowHandle from, const CopyDataRecord&)> handler);
    void SetTimerHandler(std::function<void(unsigned id)> handler);
    bool OnCopyData(WindowHandle from, const CopyDataRecord& record) override;
    void OnTimer(unsigned id) override;

private:
    std::function<bool(WindowHandle, const CopyDataRecord&)> copy_data_;
    std::function<void(unsigned)> timer_;
};

}  // namespace platform
