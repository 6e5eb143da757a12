#pragma once

// A control of a window, reached by id (GetDlgItem). The one class covers
// every kind of control, as messages to a child window do: an operation that
// does not fit the control's kind does nothing and reads as empty, 0 or
// LB_ERR. A Control is a light handle; it stays safe to use after its window
// closed (it then does nothing).
//
// Programmatic changes notify as the dialogs' handlers expect: setting an
// edit's text sends Changed; setting a list or combo selection sends no
// SelChange; setting a check state sends no Clicked.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "platform/constants.h"
#include "platform/resource.h"

namespace platform {

class Window;

class Control {
public:
    Control() = default;
    Control(Window* owner, int id, ControlKind kind, QWidget* widget);

    explicit operator bool() const { return !widget_.isNull(); }
    int GetDlgCtrlID() const { return id_; }
    ControlKind Kind() const { return kind_; }
    QWidget* Widget() const { return widget_.data(); }

    // Any control.
    std::string GetWindowText() const;  // a multi-line edit's lines end in CR LF
    void SetWindowText(std::string_view text);
    void ShowWindow(int show_command);  // SW_HIDE hides, anything else shows
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetFocus();
    void MoveWindow(int x, int y, int width, int height);
    QRect GetWindowRect() const;  // relative to the window

    // Check boxes and radios.
    int GetCheck() const;
    void SetCheck(int check);

    // Edits (and the edit part of a combo box).
    void LimitText(int max_chars);  // 0: no limit of its own
    void GetSel(int& start, int& end) const;
    // Selects start..end (end -1: to the end; start -1: no selection). The
    // caret goes to end.
    void SetSel(int start, int end);
    void SetReadOnly(bool read_only);

    // List boxes and combo boxes. Indexes count from 0.
    int AddString(std::string_view text);                // sorted lists keep their order
    int InsertString(int index, std::string_view text);  // -1: at the end
    int DeleteString(int index);                         // the number of lines left, or LB_ERR
    void ResetContent();
    int GetCount() const;
    std::string GetText(int index) const;  // empty when out of range
    // The first line from after `start` (-1: from the top), wrapping around,
    // that begins with `text` (FindString) or equals it (FindStringExact),
    // case ignored; LB_ERR when none does.
    int FindString(int start, std::string_view text) const;
    int FindStringExact(int start, std::string_view text) const;
    int SelectString(int start, std::string_view text);
    int GetCurSel() const;
    int SetCurSel(int index);  // -1 clears the selection
    // Multiple-selection list boxes.
    int GetSelCount() const;
    std::vector<int> GetSelItems() const;
    int SetItemSelected(int index, bool selected);  // index -1: every line
    bool IsItemSelected(int index) const;
    // List boxes: the whole lines the box holds at its present size (a box
    // that stretches with its window holds more as the window grows).
    int GetLinesShown() const;

    // Scroll bars.
    void SetScrollRange(int min, int max);
    void GetScrollRange(int& min, int& max) const;
    int SetScrollPos(int position);  // returns the previous position
    int GetScrollPos() const;
    // The part of the range one view shows, which the thumb's length
    // stands for.
    void SetScrollPage(int page);
    int GetScrollPage() const;

private:
    // The user is at this control: the window's focus is on it.
    bool HasFocus() const;
    Window* owner_ = nullptr;
    int id_ = IDC_STATIC;
    ControlKind kind_ = ControlKind::Static;
    QPointer<QWidget> widget_;
};

}  // namespace platform
