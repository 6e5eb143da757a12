#include "reports/position/report_table.h"

#include "reports/position/accsum.h"
#include "reports/position/clntcom1.h"
#include "reports/position/cohold.h"
#include "reports/position/holdings.h"
#include "reports/position/mclntamu.h"
#include "reports/position/mclntapr.h"
#include "reports/position/meom.h"
#include "reports/position/prhlrec.h"
#include "reports/position/sumaum.h"
#include "shell/runner.h"

namespace reports {
namespace {

using shell::RegisterReportRoutine;
using shell::ReportFields;

// The assets under management run: the cross reference (choice "N   ")
// or the assets under management page ("Y   ") over the accounts of the
// manager selection as of the report date.
void RunAssetsUnderManagement(ReportFields& f, const char* choice) {
    Meom(0, f.end, f.manager, f.flag_text1, "N   ", f.flag_text2, choice, f.output_mode, f.output_name,
         f.name_length);
}

}  // namespace

void RegisterPositionReports() {
    // The working appraisal.
    RegisterReportRoutine(101, {[](ReportFields& f) {
                              Holdings(f.scope, f.manager, f.account, f.end, f.flag_text1, f.flag_text2,
                                       f.output_mode, f.output_name, f.name_length);
                          }});
    // The detailed security cross reference and assets under management.
    RegisterReportRoutine(88, {[](ReportFields& f) { RunAssetsUnderManagement(f, "N   "); }});
    RegisterReportRoutine(107, {[](ReportFields& f) { RunAssetsUnderManagement(f, "Y   "); }});
    // The account appraisal.
    RegisterReportRoutine(103, {[](ReportFields& f) {
                              Mclntapr(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_mode,
                                       f.output_name, 12);
                          }});
    // The position summary, the summary of assets under management and
    // the summary of accounts.
    RegisterReportRoutine(102, {[](ReportFields& f) {
                              Prhlrec(f.scope, f.manager, f.account, f.end, f.output_mode, f.output_name,
                                      f.name_length);
                          }});
    RegisterReportRoutine(108, {[](ReportFields& f) {
                              Sumaum(f.end, f.manager, f.sort_option, f.output_name, f.name_length);
                          }});
    RegisterReportRoutine(109, {[](ReportFields& f) {
                              Accsum(f.manager, f.end, f.start, f.output_name, f.name_length);
                          }});
    // The composite account appraisal and the composite working appraisal.
    RegisterReportRoutine(201, {[](ReportFields& f) {
                              Clntcom1(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12, f.output_name,
                                       12, f.group);
                          }});
    RegisterReportRoutine(202, {[](ReportFields& f) {
                              Cohold(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12, f.output_name, 12,
                                     f.group);
                          }});
    // The mutual fund appraisal: run mode 1, always copied to the output
    // name ("XXX.TXT" unless the destination is a file).
    RegisterReportRoutine(106, {[](ReportFields& f) {
                              Mclntamu(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_name, 12);
                          }});
}

}  // namespace reports
