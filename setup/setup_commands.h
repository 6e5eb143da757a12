#pragma once

// The commands of the set-up and utility dialogs built so far, registered
// with the main frame's command hook: Utilities/Groups, Portfolio Manager
// Codes and Historical Portfolio Values; Modules/Billing/Fee Schedule and
// Notes; Modules/Stock Splits/Modify Stock Splits.

namespace setup {

void RegisterSetupCommands();

}  // namespace setup
