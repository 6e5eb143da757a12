#pragma once

// The runner's rows of every report, registered at start-up through the
// shell's RegisterReportRoutine, as entry/ and pricing/ register theirs:
// the list reports and the find commands, the fixed income reports, the
// performance module, the appraisals and summaries, the mutual fund
// appraisal, assets under management, the ledgers, gains and tax, the
// trade and commission reports and the history reports.

namespace reports {

void RegisterReports();

}  // namespace reports
