#pragma once

// Keystroke filters of number and date fields. A dialog calls one from the
// change notification of its edit (or combo box): the filter reads the text
// and the caret, removes a character that may not stand where it was typed
// (with the asterisk beep), and formats the field as the user types:
// thousands commas in numbers, the "/" of a date.

#include "platform/control.h"

namespace shell {

// The guard of FilterNumberKey: while it is 0 the filter does nothing. The
// filter clears it while it rewrites the text, so that its own change does
// not run it again; the main frame sets it to 1 when it is made.
extern int g_number_entry_flag;

void FilterNumberKey(platform::Control edit);
void FilterDateKey(platform::Control edit);
void FilterDateComboKey(platform::Control combo);
// A field that takes digits only (a year, a month): anything else is taken
// out with a beep and the caret put at the end.
void FilterDigitsKey(platform::Control edit);

}  // namespace shell
