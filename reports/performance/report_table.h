#pragma once

// The runner's rows of the performance, fixed income and list reports:
// the list reports and the find commands (82, 83, 181-186, 341-343), the
// fixed income appraisal, analyses and summary (221-228) and the
// performance module (121). The program registers them at start-up.

namespace reports {

void RegisterPerformanceReports();

}  // namespace reports
