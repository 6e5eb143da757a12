#include "platform/interaction.h"

namespace platform {
namespace {

ScreenInteraction& TheScreen() {
    static ScreenInteraction screen;
    return screen;
}

Interaction*& Installed() {
    static Interaction* installed = &TheScreen();
    return installed;
}

}  // namespace

Interaction& CurrentInteraction() {
    return *Installed();
}

Interaction* InstallInteraction(Interaction* interaction) {
    Interaction* previous = Installed();
    Installed() = interaction ? interaction : &TheScreen();
    return previous;
}

}  // namespace platform
