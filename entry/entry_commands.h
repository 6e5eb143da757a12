#pragma once

// The commands of transaction entry, registered with the main frame's
// command hook: Transactions/Trades, Cash and Transfers, each running its
// dialog as a new entry.

namespace entry {

void RegisterEntryCommands();

// The import dialog of codes 44, 281-292, 322 and 323, the block size
// dialog of code 89 and the Map Transaction Codes commands (part of
// RegisterEntryCommands).
void RegisterImportCommands();

}  // namespace entry
