#pragma once

// Small signals to the person at the screen: the beep of a refused key and
// the wait cursor shown while a long routine runs.

#include "platform/constants.h"

namespace platform {

// Sounds the beep of a kind (MB_OK, MB_ICONASTERISK, ...); goes through the
// installed Interaction, so tests can count beeps.
void MessageBeep(unsigned type = MB_OK);

// Shows the wait cursor for the life of the object; nests.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // True while at least one WaitCursor lives.
    static bool IsShown();
};

}  // namespace platform
