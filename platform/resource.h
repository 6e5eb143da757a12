#pragma once

// Dialog resources as tables. A dialog's table lists its controls the way a
// resource script does (id, kind, caption, initial state) inside a simple
// arrangement of rows, columns and group boxes, so that each dialog's table
// reads like its resource:
//
//   const DialogTemplate kAbout{100, "About",
//       Column({Row({IconStatic(IDC_STATIC, Picture::Application), Label("Version 1.0")}),
//               Row({Stretch(), Button(IDOK, "OK", kDefault)})})};
//
// The order of the controls in the table is the tab order. A group box is a
// frame drawn around its children, not their parent: hiding or disabling
// the group box does nothing to the controls inside, as with the resource
// dialogs the program was designed on. Consecutive radio buttons in one
// row, column or group form a radio group (kGroupStart starts a new one):
// clicking one unchecks the others of its group.
//
// A dialog whose table holds parts that the program shows for some uses
// only (the account lists of one report, the manager code of another)
// says which they are: a Part, or a group box marked kHiddenWithControls,
// takes no room while the program has hidden all its controls, so the
// dialog fits what it shows. Every other group box keeps its frame where
// the program leaves it, also around controls that are all hidden.

#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/pictures.h"

namespace platform {

enum class ControlKind {
    Static,
    Edit,
    Button,
    CheckBox,
    Radio,
    GroupBox,
    ListBox,
    ComboBox,
    ScrollBar,
    UpDown
};

// Initial state and style of a control.
enum ControlStyle : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kChecked = 1u << 2,       // check box or radio
    kDefault = 1u << 3,       // the default push button (drawn as such)
    kReadOnly = 1u << 4,      // edit
    kMultiLine = 1u << 5,     // edit: several lines; Enter stays in the edit
    kDropDownList = 1u << 6,  // combo box without an edit part
    kMultiSelect = 1u << 7,   // list box: each click toggles a line
    kSorted = 1u << 8,        // list or combo box: added lines are kept in order
    kHorizontal = 1u << 9,    // scroll bar (vertical otherwise)
    kGroupStart = 1u << 10,   // radio: starts a new radio group
    kFixedPitch = 1u << 11,   // list, edit or static whose lines are laid out in columns
    // Group box: the frame of a part (see Part): hidden while its controls
    // are all hidden.
    kHiddenWithControls = 1u << 12,
    // List box: its moving keys go to its window first (OnVKeyToItem).
    kWantKeys = 1u << 13,
};

struct ControlDef {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    std::string caption;
    unsigned style = 0;
    int width_chars = 0;              // preferred width in average characters (0: natural)
    int height_lines = 0;             // preferred height in text lines (lists, multi-line edits);
                                      // a combo box's is its dropped list's, as in a resource
                                      // script: the closed box is one line high
    Picture picture = Picture::None;  // static showing a picture instead of text
};

// A node of a dialog's arrangement: a control, a row, a column, a group box
// with its children (laid out as a column), a part without a frame (laid
// out as a column) or stretchable space.
struct Node {
    enum class Type { Control, Row, Column, Group, Part, Stretch };
    Type type = Type::Control;
    ControlDef control;  // the control, or the group box of a group
    std::vector<Node> children;

    // Size hints, for tables that want a field to look as wide as its data.
    Node Chars(int width) const;
    Node Lines(int height) const;
};

Node Static(int id, std::string caption, unsigned style = 0);
Node Label(std::string caption);  // a static that is never addressed
Node IconStatic(int id, Picture picture, unsigned style = 0);
Node Edit(int id, unsigned style = 0);
Node Button(int id, std::string caption, unsigned style = 0);
Node CheckBox(int id, std::string caption, unsigned style = 0);
Node Radio(int id, std::string caption, unsigned style = 0);
Node ListBox(int id, unsigned style = 0);
Node ComboBox(int id, unsigned style = 0);
Node ScrollBar(int id, unsigned style = 0);
// An up-down (spin) control: two arrows that report a change of position.
Node UpDown(int id, unsigned style = 0);
Node Group(int id, std::string caption, std::vector<Node> children, unsigned style = 0);
// A part of the dialog that the program shows and hides by its controls,
// laid out as a column without a frame, as the children of a group box
// are: a hidden control of it leaves no empty place (two lists shown in
// turns take the place of one), and the part takes no room while its
// controls are all hidden.
Node Part(std::vector<Node> children);
Node Row(std::vector<Node> children);
Node Column(std::vector<Node> children);
Node Stretch();

struct DialogTemplate {
    int id = 0;
    std::string caption;
    Node body;
};

}  // namespace platform
