#include "reports/report_table.h"

#include <cstdint>
#include <string>

#include "reports/appraisal/account_appraisal.h"
#include "reports/appraisal/composite_appraisal.h"
#include "reports/appraisal/composite_working_appraisal.h"
#include "reports/appraisal/position_summary.h"
#include "reports/appraisal/summary_of_accounts.h"
#include "reports/appraisal/working_appraisal.h"
#include "reports/aum/aum_run.h"
#include "reports/aum/aum_summary.h"
#include "reports/fixed_income/fixed_income_analyses.h"
#include "reports/fixed_income/fixed_income_appraisal.h"
#include "reports/fixed_income/fixed_income_summary.h"
#include "reports/funds/fund_appraisal.h"
#include "reports/gains_tax/composite_gains.h"
#include "reports/gains_tax/form_1099b.h"
#include "reports/gains_tax/income_summary.h"
#include "reports/gains_tax/realised_gains.h"
#include "reports/history/investment_history.h"
#include "reports/history/maturity_alert.h"
#include "reports/history/portfolio_changes.h"
#include "reports/ledgers/composite_ledger.h"
#include "reports/ledgers/member_statement.h"
#include "reports/ledgers/transaction_ledger.h"
#include "reports/lists/account_directory.h"
#include "reports/lists/broker_list.h"
#include "reports/lists/client_list.h"
#include "reports/lists/custodian_list.h"
#include "reports/lists/searches.h"
#include "reports/lists/security_cross_reference.h"
#include "reports/lists/security_listings.h"
#include "reports/lists/summary_client_list.h"
#include "reports/performance/performance_module.h"
#include "reports/trades/commission_detail.h"
#include "reports/trades/commissions_by_account.h"
#include "reports/trades/commissions_by_broker.h"
#include "reports/trades/trade_memorandum.h"
#include "shell/runner.h"

namespace reports {

using shell::RegisterReportRoutine;
using shell::ReportFields;

namespace {

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

// The assets under management run: the cross reference (choice "N   ")
// or the assets under management page ("Y   ") over the accounts of the
// manager selection as of the report date.
void RunAssetsUnderManagement(ReportFields& f, const char* choice) {
    Meom(0, f.end, f.manager, f.flag_text1, "N   ", f.flag_text2, choice, f.output_mode, f.output_name,
         f.name_length);
}

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

void RegisterTransactionReports() {
    // The maturity alert, portfolio changes and investment history.
    RegisterReportRoutine(87, {[](ReportFields& f) { Eomatre(f.end, f.manager, f.output_name, 12); }});
    RegisterReportRoutine(95, {[](ReportFields& f) {
                              Portchng(f.scope, f.manager, f.account, f.start, f.end, std::string(12, ' '),
                                       f.output_name, 12);
                          }});
    RegisterReportRoutine(104, {[](ReportFields& f) {
                              Invhsty(f.scope, f.manager, f.account, f.start, f.end, f.flag_text1, f.output_mode,
                                      f.output_name, 12);
                          }});
    // Realised gains and losses, the income summary, the composite gains
    // and losses.
    RegisterReportRoutine(84, {[](ReportFields& f) {
                              Glprint(f.scope, f.manager, f.account, f.start, f.end, f.output_mode, f.zero1,
                                      f.zero2, f.output_name, f.tax_transmitter, f.payer_control);
                          }});
    RegisterReportRoutine(85, {[](ReportFields& f) {
                              Taxre(f.scope, f.manager, f.account, f.start, f.end, f.zero1, f.output_mode,
                                    f.output_name, f.name_length, f.tax_transmitter, f.payer_control,
                                    f.flag_text1);
                          }});
    RegisterReportRoutine(203, {[](ReportFields& f) {
                              Combgl(f.scope, f.manager, f.start, f.end, f.list_file, 12, f.output_name,
                                     f.name_length, f.group);
                          }});
    // The broker commission reports.
    RegisterReportRoutine(86, {[](ReportFields& f) {
                              Btotcom(f.end, f.scope, f.account, f.manager, f.output_mode, f.output_name);
                          }});
    RegisterReportRoutine(91, {[](ReportFields& f) {
                              T1099b(f.scope, f.account, f.manager, f.start, f.end, f.output_name);
                          }});
    RegisterReportRoutine(92, {[](ReportFields& f) {
                              Bnkltr(f.scope, f.account, f.manager, f.start, f.end, f.output_name);
                          }});
    RegisterReportRoutine(93,
                          {[](ReportFields& f) { Btcomacc(f.end, "A   ", f.account, f.manager, f.output_name); }});
    RegisterReportRoutine(94,
                          {[](ReportFields& f) { Brcomfil(f.end, f.account, f.scope, f.manager, f.output_name); }});
    // The transaction ledgers and the member statement.
    RegisterReportRoutine(81, {[](ReportFields& f) {
                              Transld(f.scope, f.manager, f.account, f.start, f.end, f.ledger_security_type,
                                      f.ledger_tran_codes, f.ledger_tran_type, f.output_mode, f.output_name,
                                      f.name_length);
                          }});
    RegisterReportRoutine(90, {[](ReportFields& f) {
                              Member(f.scope, f.manager, f.account, f.start, f.end, f.ledger_security_type,
                                     f.ledger_tran_codes, f.ledger_tran_type, f.output_name, f.name_length);
                          }});
    RegisterReportRoutine(204, {[](ReportFields& f) {
                              Mcmtrn(f.scope, f.manager, f.start, f.end, f.ledger_security_type,
                                     f.ledger_tran_codes, f.ledger_tran_type, f.list_file, 12, f.output_name,
                                     f.name_length, f.group);
                          }});
}

}  // namespace

void RegisterReports() {
    RegisterPerformanceReports();
    RegisterPositionReports();
    RegisterTransactionReports();
}

}  // namespace reports
