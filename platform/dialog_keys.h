#pragma once

// The keys of a dialog as a person finds them: Alt and the underlined
// letter presses a push button, check box or radio, or moves to the field
// a label names. Within one dialog no two controls may share a key (the
// second would never be reached), and every push button has one. A
// property sheet's own buttons share one window with each of its pages,
// and a child window's form shares the main window with the menu bar
// (a modal dialog blocks the menu bar, so its keys are its own).

#include <string>
#include <vector>

namespace platform {

class Window;

// What is wrong with the keys of a built window (a dialog, a property sheet
// with the pages it has built, a form view, with the menu bar that shows
// above it when it is in a child window): a line for each key that two or
// more controls (or a control and a menu of the bar) share and for each
// push button without a key, hidden controls included, as the program
// shows them in turns; empty when nothing is.
std::vector<std::string> KeyFaults(const Window& window);

}  // namespace platform
