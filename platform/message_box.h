#pragma once

// Message boxes: a text, a caption, buttons and an icon chosen by flags
// (MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL,
// MB_ABORTRETRYIGNORE, with MB_ICON... and MB_DEFBUTTON...). Returns the
// button pressed: IDOK, IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT or IDIGNORE.
// Escape answers IDCANCEL when there is a Cancel button, IDOK for MB_OK, and
// is ignored otherwise. Goes through the installed Interaction.

#include <string_view>
#include <vector>

#include "platform/constants.h"
#include "platform/handle.h"

namespace platform {

int MessageBox(std::string_view text, std::string_view caption = {}, unsigned flags = MB_OK,
               WindowHandle owner = 0);

// The answers the buttons of these flags can give, in button order.
std::vector<int> MessageBoxAnswers(unsigned flags);
// The answer Escape gives, or 0 when Escape does nothing.
int MessageBoxEscapeAnswer(unsigned flags);

}  // namespace platform
