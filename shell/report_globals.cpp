#include "shell/report_globals.h"

namespace shell {

ReportGlobals g_report;

void SaveSelection(ReportSelection& record) {
    record = static_cast<const ReportSelection&>(g_report);
}

void RestoreSelection(const ReportSelection& record) {
    static_cast<ReportSelection&>(g_report) = record;
}

}  // namespace shell
