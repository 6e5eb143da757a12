#include "shell/report_font_dialog.h"

#include "platform/common_dialogs.h"
#include "platform/constants.h"

namespace shell {

CMyFont::CMyFont(std::string face, platform::WindowHandle owner) : face_(std::move(face)), owner_(owner) {}

int CMyFont::DoModal() {
    platform::FontRequest request;
    request.initial.face = face_;
    request.owner = owner_;
    request.fixed_pitch_only = true;
    const std::optional<platform::FontChoice> choice = platform::ChooseFont(request);
    // Only the face counts: size and style belong to the windows that use it.
    if (!choice || choice->face.empty()) return platform::IDCANCEL;
    face_ = choice->face;
    return platform::IDOK;
}

}  // namespace shell
