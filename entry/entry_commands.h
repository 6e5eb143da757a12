#pragma once

// The commands of transaction entry, registered with the main frame's
// command hook: Transactions/Trades, Cash and Transfers, each running its
// dialog as a new entry.

namespace entry {

void RegisterEntryCommands();

}  // namespace entry
