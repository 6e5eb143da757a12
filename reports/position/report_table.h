#pragma once

// The runner's rows of the position and appraisal reports: the working
// and account appraisals (101, 103), the cross reference and assets under
// management (88, 107), the position summary, the summary of assets under
// management and the summary of accounts (102, 108, 109), the composite
// appraisals (201, 202) and the mutual fund appraisal (106). The program
// registers them at start-up.

namespace reports {

void RegisterPositionReports();

}  // namespace reports
