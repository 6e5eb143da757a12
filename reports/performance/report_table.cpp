#include "reports/performance/report_table.h"

#include <cstdint>

#include "reports/performance/acclis.h"
#include "reports/performance/acctlst2.h"
#include "reports/performance/allpos.h"
#include "reports/performance/brkrlist.h"
#include "reports/performance/chlpos.h"
#include "reports/performance/clnregtr.h"
#include "reports/performance/csdnlist.h"
#include "reports/performance/fapr1.h"
#include "reports/performance/fixsum.h"
#include "reports/performance/getfix.h"
#include "reports/performance/mperf.h"
#include "reports/performance/searches.h"
#include "shell/runner.h"

namespace reports {

using shell::RegisterReportRoutine;
using shell::ReportFields;

void RegisterPerformanceReports() {
    // The list reports and the find commands.
    RegisterReportRoutine(82, {[](ReportFields& f) {
                              Chlpos(f.flag_number1, f.end, f.manager, f.security, f.output_mode, f.output_name,
                                     f.cross_number, f.cross_name, f.cross_tag);
                          }});
    RegisterReportRoutine(
        83, {[](ReportFields& f) { Clnregtr(f.end, f.manager, f.sort_option, f.output_mode, f.output_name); }});
    RegisterReportRoutine(181, {[](ReportFields& f) { Acclis(f.scope, f.account, f.manager, f.output_name); }});
    RegisterReportRoutine(182, {[](ReportFields& f) { Allpos(0, f.start, "    ", f.output_name); }});
    RegisterReportRoutine(183, {[](ReportFields& f) { Brkrlist(f.scope, f.account, f.output_name); }});
    RegisterReportRoutine(184, {[](ReportFields& f) { Allpos(1, f.start, "    ", f.output_name); }});
    RegisterReportRoutine(185, {[](ReportFields& f) { Csdnlist(f.scope, f.account, f.output_name); }});
    RegisterReportRoutine(186, {[](ReportFields& f) { Acctlst2(f.manager, f.output_name); }});
    RegisterReportRoutine(341, {[](ReportFields& f) { Clntnm(0, f.search_text, f.output_name); }});
    RegisterReportRoutine(342, {[](ReportFields& f) { Clntnm(1, f.search_text, f.output_name); }});
    RegisterReportRoutine(343, {[](ReportFields& f) { Secrnm(f.search_text, f.output_name); }});
    // The fixed income appraisal.
    RegisterReportRoutine(221,
                          {[](ReportFields& f) { Fapr1(f.scope, f.manager, f.account, f.end, f.output_name); }});
    // The fixed income analyses (codes 222-227, one kind each) and the
    // fixed income summary.
    static constexpr struct {
        int code;
        int16_t kind;
    } kAnalyses[] = {{222, 1}, {223, 2}, {224, 3}, {225, 4}, {226, 5}, {227, -5}};
    for (const auto& analysis : kAnalyses) {
        const int16_t kind = analysis.kind;
        RegisterReportRoutine(analysis.code, {[kind](ReportFields& f) {
                                  Getfix(kind, f.scope, f.manager, f.account, f.end, f.output_name);
                              }});
    }
    RegisterReportRoutine(228,
                          {[](ReportFields& f) { Fixsum(f.scope, f.manager, f.account, f.end, f.output_name); }});
    // The performance module: the report type is the dialog's list line.
    RegisterReportRoutine(121, {[](ReportFields& f) {
                              Mperf(f.report_variant, f.scope, f.manager, f.account, f.start, f.end,
                                    f.performance_kind, f.period, f.output_mode, f.output_name, 12, f.list_file, 12,
                                    f.zero1, f.group);
                          }});
}

}  // namespace reports
