#pragma once

// The program colours: one list of named colour entries for the whole run,
// loaded from LedraColors.dat when the main frame is made and stored there
// when it closes. A window asks for the colours of a kind of control by a
// name made of its text and the kind ("Letterhead Dialog", "Letterhead
// Text", ...); a name not yet listed is added without colours, so every
// window and kind that was ever shown appears in the colour dialog, where
// the user gives it a background.

#include <QBrush>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interaction.h"
#include "platform/window.h"

namespace shell {

inline constexpr const char* kColorFile = "LedraColors.dat";

// Suffixes of the entry names by control kind.
inline constexpr const char* kDialogSuffix = " Dialog";
inline constexpr const char* kListboxSuffix = " Listbox";
inline constexpr const char* kScrollbarSuffix = " Scrollbar";
inline constexpr const char* kTextSuffix = " Text";

// Colours of one entry; 0 means none (the default colouring).
struct CColorDesc {
    platform::ColorRef background = 0;
    platform::ColorRef text = 0;
    std::optional<QBrush> brush;  // made from the background on demand
};

struct CColorCntrl {
    std::string name;
    CColorDesc desc;
};

// The colour list, in the order the entries were added.
std::deque<CColorCntrl>& ColorList();
CColorCntrl* FindColorEntry(std::string_view name);

// What a window's painting is told to do besides the brush: paint text
// transparently and in a colour of the entry's.
struct CtlColorContext {
    bool transparent = false;
    std::optional<platform::ColorRef> text_color;
};

// The brush to paint the named kind with, or nullptr for the default
// colouring. A name not in the list (and not empty) is added without
// colours.
const QBrush* GetCtlColorBrush(CtlColorContext& dc, std::string_view name);

// Loads the list from LedraColors.dat; a missing or unreadable file leaves
// the list empty. False when the file was there but could not be read.
bool LoadColors();
// Drops the entries without colours, writes the others to LedraColors.dat
// (beside the old file first, then renamed over it, so a failed write keeps
// the old file) and empties the list. False when the file was not written.
bool SaveColors();

// Colours a dialog as its control-colour handler does: the dialog's
// background, its list boxes, scroll bars and static texts, each by the
// entry of the dialog's text and the kind.
void ColorWindow(platform::Window& window);
// Colours every program dialog as it is shown (once for the process).
void InstallDialogColoring();

// A colour as Qt takes it.
QColor ToQColor(platform::ColorRef color);

}  // namespace shell
