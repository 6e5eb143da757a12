#pragma once

// The runner's rows of every report, registered at start-up through the
// shell's RegisterReportRoutine, as entry/ and pricing/ register theirs.
// One group per report family, in the order of the folders: the lists and
// find commands, performance, fixed income, the appraisals, the mutual fund
// appraisal, assets under management, the ledgers, gains and tax, trades
// and commissions, and history. The shell knows none of them: a code
// without a row here (or in entry/ or pricing/) runs nothing.

namespace reports {

void RegisterReports();

}  // namespace reports
