#pragma once

// The report font dialog: the font dialog reduced to the list of face names
// of fixed-pitch screen fonts, from which the printer options take the face
// of the report windows.

#include <string>

#include "platform/handle.h"

namespace shell {

class CMyFont {
public:
    explicit CMyFont(std::string face, platform::WindowHandle owner = 0);

    // Shows the face names; IDOK when the person chose one, else IDCANCEL.
    int DoModal();
    // The chosen face (the initial one until a face was chosen).
    const std::string& GetFaceName() const { return face_; }

private:
    std::string face_;
    platform::WindowHandle owner_;
};

}  // namespace shell
