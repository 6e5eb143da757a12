#pragma once

// The portfolio manager code table of COMMON.FIL as the window layer uses
// it: 100 slots of four characters, slots 1-10 in record 10 (bytes 17-56,
// after a 16-byte field of its own), 11-42 in record 81, 43-74 in record 82
// and 75-100 in record 83 (bytes 1-104). A slot is free when it holds
// blanks or zero bytes.
//
// The report dialogs offer the table in their manager code boxes, with
// "????" (all managers) first; an entered code is accepted when it matches
// one of the box's entries, a "?" of the entered code standing for any
// character. Ptmgr registers the manager code of an account in the table.

#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"

namespace shell {

// The entry for all managers, first in every manager code box.
inline constexpr const char* kAllManagers = "????";

// The codes the manager code boxes list after "????", in slot order: every
// slot of the table with at least one character above the blank, as a text
// without trailing blanks. All 32 slots of records 81 and 82 are listed, so
// that every registered code can be chosen.
std::vector<std::string> ListedManagerCodes();

// Empties the combo box, adds "????" and the listed codes, selects "????"
// and limits the edit part to 4 characters.
void FillManagerCombo(platform::Control combo);

// An entered code matches an entry of the same length when at each place
// the entered character is "?" or equals the entry's.
bool ManagerCodeMatches(std::string_view entered, std::string_view entry);
// True when the entered code matches one of the combo box's entries.
bool ManagerCodeInCombo(std::string_view entered, platform::Control combo);

// The text Ptmgr shows when every slot is taken.
inline constexpr const char* kManagerTableFullText =
    "Maximum no. of manager codes assigned, see Utilities, Portfolio Manager Codes.";
inline constexpr const char* kManagerTableFullCaption = "Diagnostic";

// Registers a manager code (4 characters, blank padded) in the first free
// slot unless the table holds it already (Chksec's look-up, "?" of a table
// code matching any character); every record is written back with the
// bytes it does not hold slots in kept. When no slot is free the code is
// not registered and kManagerTableFullText is shown.
void Ptmgr(std::string_view code);

}  // namespace shell
