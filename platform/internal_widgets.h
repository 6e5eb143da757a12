#pragma once

// Widget classes of the window layer's own (not part of its interface).

#include <QDialog>
#include <QListWidget>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/resource.h"
#include "platform/window.h"

class QBoxLayout;

namespace platform {

class Window;
class Dialog;

namespace detail {

// A widget that reports to a Window. The window forgets itself (Release)
// when it lets the widget go, so late events reach no dead window.
class OwnedWidget {
public:
    explicit OwnedWidget(Window* owner) : owner_(owner) {}
    virtual ~OwnedWidget() = default;
    void Release() { owner_ = nullptr; }
    Window* owner() const { return owner_; }

private:
    Window* owner_;
};

// A plain widget whose painting, resizing and closing go to its Window.
// The mouse wheel over it (where no control took it) moves the window's
// scroll bar as its arrows do, so that every view with scroll bars scrolls
// by the wheel.
class HookWidget : public QWidget, public OwnedWidget {
public:
    HookWidget(Window* owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

// The widget of a Dialog: Enter, Escape and the close box go to the Dialog
// instead of Qt's own accept and reject. Whenever what it shows changes,
// it takes the size a dialog showing that takes when it opens.
class DialogWidget : public QDialog, public OwnedWidget {
public:
    DialogWidget(Dialog* owner, QWidget* parent);
    void reject() override;
    void accept() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

// An up-down control: two small arrow buttons reporting -1 (up) or +1 (down).
class UpDownWidget : public QWidget {
public:
    explicit UpDownWidget(QWidget* parent);
    std::function<void(int delta)> on_delta;
};

// A list box. A click picks the line that was under the mouse when the
// button went down, as a desktop list box does: the list takes the
// focus itself before Qt's own press handling, so that handlers run as the
// focus leaves another control (an edit putting its text into a line of
// this list, which scrolls to that line) cannot move another line under
// the mouse; the list is put back where it stood first.
class ListWidget : public QListWidget {
public:
    explicit ListWidget(QWidget* parent);
    // The whole lines the box holds at its present size: the height inside
    // its frame (less a horizontal scroll bar that shows) over the height
    // of a line, which an empty list measures as a line of text would be.
    int WholeLinesShown() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The keys that move a list's selection, with the Qt key of each.
struct MovingKey {
    Key key;
    Qt::Key qt_key;
};
inline constexpr MovingKey kMovingKeys[] = {{Key::Up, Qt::Key_Up},         {Key::Down, Qt::Key_Down},
                                            {Key::PageUp, Qt::Key_PageUp}, {Key::PageDown, Qt::Key_PageDown},
                                            {Key::Home, Qt::Key_Home},     {Key::End, Qt::Key_End}};

// Makes the widget of one control (without registering it).
QWidget* MakeControlWidget(const ControlDef& def, QWidget* parent);
// Statics, check boxes, radios and group boxes are never narrower than the
// text they show at the font in use, nor than their table's width: called
// when they are made and whenever their text changes, so that a longer
// text widens the dialog instead of being cut.
inline constexpr const char* kTableWidth = "ledraTableWidth";
void FitTextWidth(QWidget* w);
// The fixed-pitch face of the program's reports at the size of `base`.
QFont FixedPitchFont(const QFont& base);

// The controls of a dialog body, in table order.
struct MadeControl {
    const ControlDef* def;
    QWidget* widget;
};
// The letters of keys outside a dialog body, which its controls leave to
// them: of the controls beside it in one window (a property sheet's
// buttons beside a page), where a caption's own "&" still shows its letter
// (a clash KeyFaults reports); and of the menu bar above a child window's
// form, where a caption gives up an own letter the bar has.
struct TakenLetters {
    std::vector<QChar> beside;
    std::vector<QChar> menu_bar;
};
// Gives the push buttons, check boxes, radios and the labels of fields of
// one dialog body their keys (platform/mnemonics.cpp), leaving the `taken`
// letters alone.
void GiveMnemonics(const std::vector<MadeControl>& controls, const TakenLetters& taken = {});
// The (lower-case) letter of a control's key; a null character for none.
QChar MnemonicLetter(const QWidget* w);
// The (lower-case) letter a caption's own "&" marks ("&&" shows "&");
// a null character for none.
QChar CaptionLetter(const QString& caption);
// The text to show for `text` put into a control that has a key, with the
// key's "&"; and the text the program reads back from what it shows.
QString CaptionToShow(QWidget* w, const QString& text);
QString CaptionShown(const QWidget* w, const QString& text);

// Builds a dialog body into `parent`'s layout, registering every control
// with `owner` in table order; its keys leave the `taken` letters alone.
void BuildBody(Window& owner, const Node& body, QWidget* parent, const TakenLetters& taken = {});

}  // namespace detail
}  // namespace platform
