#pragma once

// The commands of the set-up and utility dialogs built so far, registered
// with the main frame's command hook: Utilities/Groups, Portfolio Manager
// Codes, Historical Portfolio Values, Security Industry Category and
// Security Type; Modules/Billing/Fee Schedule and Notes; Modules/Stock
// Splits/Modify Stock Splits; Setup/Broker (code 41), Setup/Account (code
// 42) and Setup/Custodian, the data dialog in its three modes; Setup/Security
// (code 43); Utilities/Copy Account; the module entry dialogs:
// Modules/Billing/Invoice (the dialog of report code 261) and Update,
// Modules/Income Autopost/Input Income Distributions and Initial Date,
// Modules/Asset Allocation/Input/Modify.

namespace setup {

void RegisterSetupCommands();

}  // namespace setup
