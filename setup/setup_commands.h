#pragma once

// The commands of the set-up and utility dialogs built so far, registered
// with the main frame's command hook: Utilities/Groups opens the Group
// Editor.

namespace setup {

void RegisterSetupCommands();

}  // namespace setup
