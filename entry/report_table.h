#pragma once

// The runner's rows of the entry subsystem: the member account import
// (code 44) and the credit union's deposits (code 291). The program
// registers them at start-up, before any report runs.

namespace entry {

void RegisterEntryReports();

}  // namespace entry
