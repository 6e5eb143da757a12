#pragma once

// The pricing dialogs on the command dispatcher: code 61 opens the Manual
// Pricing dialog, code 62 the Price Download dialog, code 63 the Import
// Price File dialog (whose OK has the dispatcher run the import through the
// report runner). The program and the script driver call this before
// start-up.

namespace pricing {

void RegisterPricingDialogs();

}  // namespace pricing
