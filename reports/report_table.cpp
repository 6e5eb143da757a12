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

// lists/: the client, summary client, broker and custodian lists, the
// security listings, the security cross reference, the account directory
// and the find commands.
void RegisterListReports() {
    RegisterReportRoutine(181,
                          {[](ReportFields& f) { Acclis(f.scope, f.account, f.manager, f.output_name); }});
    RegisterReportRoutine(186, {[](ReportFields& f) { Acctlst2(f.manager, f.output_name); }});
    RegisterReportRoutine(183, {[](ReportFields& f) { Brkrlist(f.scope, f.account, f.output_name); }});
    RegisterReportRoutine(185, {[](ReportFields& f) { Csdnlist(f.scope, f.account, f.output_name); }});
    // The security list (182) and the bond list (184).
    RegisterReportRoutine(182, {[](ReportFields& f) { Allpos(0, f.start, "    ", f.output_name); }});
    RegisterReportRoutine(184, {[](ReportFields& f) { Allpos(1, f.start, "    ", f.output_name); }});
    RegisterReportRoutine(82, {[](ReportFields& f) {
                              Chlpos(f.flag_number1, f.end, f.manager, f.security, f.output_mode,
                                     f.output_name, f.cross_number, f.cross_name, f.cross_tag);
                          }});
    RegisterReportRoutine(83, {[](ReportFields& f) {
                              Clnregtr(f.end, f.manager, f.sort_option, f.output_mode, f.output_name);
                          }});
    // Accounts by short name (341) or by custodian account number (342),
    // securities by description (343).
    RegisterReportRoutine(341, {[](ReportFields& f) { Clntnm(0, f.search_text, f.output_name); }});
    RegisterReportRoutine(342, {[](ReportFields& f) { Clntnm(1, f.search_text, f.output_name); }});
    RegisterReportRoutine(343, {[](ReportFields& f) { Secrnm(f.search_text, f.output_name); }});
}

// performance/: the performance module, whose report type is the
// performance dialog's list line.
void RegisterPerformanceReports() {
    RegisterReportRoutine(121, {[](ReportFields& f) {
                              Mperf(f.report_variant, f.scope, f.manager, f.account, f.start, f.end,
                                    f.performance_kind, f.period, f.output_mode, f.output_name, 12,
                                    f.list_file, 12, f.zero1, f.group);
                          }});
}

// fixed_income/: the fixed income appraisal, the six analyses (one kind
// each) and the fixed income summary.
void RegisterFixedIncomeReports() {
    RegisterReportRoutine(
        221, {[](ReportFields& f) { Fapr1(f.scope, f.manager, f.account, f.end, f.output_name); }});
    static constexpr struct {
        int code;
        FixedIncomeAnalysis kind;
    } kAnalyses[] = {{222, kMaturityAnalysis}, {223, kRatingAnalysis},  {224, kCouponAnalysis},
                     {225, kYieldAnalysis},    {226, kIncomeFlowFixed}, {227, kIncomeFlowOther}};
    for (const auto& analysis : kAnalyses) {
        const int16_t kind = analysis.kind;
        RegisterReportRoutine(analysis.code, {[kind](ReportFields& f) {
                                  Getfix(kind, f.scope, f.manager, f.account, f.end, f.output_name);
                              }});
    }
    RegisterReportRoutine(
        228, {[](ReportFields& f) { Fixsum(f.scope, f.manager, f.account, f.end, f.output_name); }});
}

// appraisal/: the working appraisal, the position summary, the account
// appraisal, the summary of accounts, and the composite account and
// working appraisals.
void RegisterAppraisalReports() {
    RegisterReportRoutine(101, {[](ReportFields& f) {
                              Holdings(f.scope, f.manager, f.account, f.end, f.flag_text1, f.flag_text2,
                                       f.output_mode, f.output_name, f.name_length);
                          }});
    RegisterReportRoutine(102, {[](ReportFields& f) {
                              Prhlrec(f.scope, f.manager, f.account, f.end, f.output_mode, f.output_name,
                                      f.name_length);
                          }});
    RegisterReportRoutine(103, {[](ReportFields& f) {
                              Mclntapr(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_mode,
                                       f.output_name, 12);
                          }});
    RegisterReportRoutine(
        109, {[](ReportFields& f) { Accsum(f.manager, f.end, f.start, f.output_name, f.name_length); }});
    RegisterReportRoutine(201, {[](ReportFields& f) {
                              Clntcom1(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12,
                                       f.output_name, 12, f.group);
                          }});
    RegisterReportRoutine(202, {[](ReportFields& f) {
                              Cohold(f.scope, f.manager, f.end, f.flag_text1, f.list_file, 12, f.output_name,
                                     12, f.group);
                          }});
}

// funds/: the mutual fund appraisal, run mode 1, always copied to the
// output name ("XXX.TXT" unless the destination is a file).
void RegisterFundReports() {
    RegisterReportRoutine(106, {[](ReportFields& f) {
                              Mclntamu(f.scope, f.manager, f.account, f.end, f.flag_text1, f.output_name, 12);
                          }});
}

// The assets under management run: the cross reference (choice "N   ")
// or the assets under management page ("Y   ") over the accounts of the
// manager selection as of the report date.
void RunAssetsUnderManagement(ReportFields& f, const char* choice) {
    Meom(0, f.end, f.manager, f.flag_text1, "N   ", f.flag_text2, choice, f.output_mode, f.output_name,
         f.name_length);
}

// aum/: the detailed security cross reference (88) and the assets under
// management page (107), both of the one run, and the summary of assets
// under management.
void RegisterAssetsUnderManagementReports() {
    RegisterReportRoutine(88, {[](ReportFields& f) { RunAssetsUnderManagement(f, "N   "); }});
    RegisterReportRoutine(107, {[](ReportFields& f) { RunAssetsUnderManagement(f, "Y   "); }});
    RegisterReportRoutine(108, {[](ReportFields& f) {
                              Sumaum(f.end, f.manager, f.sort_option, f.output_name, f.name_length);
                          }});
}

// ledgers/: the transaction ledger, the member statement and the composite
// transaction ledger.
void RegisterLedgerReports() {
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

// gains_tax/: realised gains and losses, the income summary, the form
// 1099-B report and the composite gains and losses.
void RegisterGainsTaxReports() {
    RegisterReportRoutine(84, {[](ReportFields& f) {
                              Glprint(f.scope, f.manager, f.account, f.start, f.end, f.output_mode, f.zero1,
                                      f.zero2, f.output_name, f.tax_transmitter, f.payer_control);
                          }});
    RegisterReportRoutine(85, {[](ReportFields& f) {
                              Taxre(f.scope, f.manager, f.account, f.start, f.end, f.zero1, f.output_mode,
                                    f.output_name, f.name_length, f.tax_transmitter, f.payer_control,
                                    f.flag_text1);
                          }});
    RegisterReportRoutine(
        91, {[](ReportFields& f) { T1099b(f.scope, f.account, f.manager, f.start, f.end, f.output_name); }});
    RegisterReportRoutine(203, {[](ReportFields& f) {
                              Combgl(f.scope, f.manager, f.start, f.end, f.list_file, 12, f.output_name,
                                     f.name_length, f.group);
                          }});
}

// trades/: the commissions by broker, the trade memorandum, the
// commissions by account and the commission detail by broker.
void RegisterTradeReports() {
    RegisterReportRoutine(86, {[](ReportFields& f) {
                              Btotcom(f.end, f.scope, f.account, f.manager, f.output_mode, f.output_name);
                          }});
    RegisterReportRoutine(
        92, {[](ReportFields& f) { Bnkltr(f.scope, f.account, f.manager, f.start, f.end, f.output_name); }});
    RegisterReportRoutine(
        93, {[](ReportFields& f) { Btcomacc(f.end, "A   ", f.account, f.manager, f.output_name); }});
    RegisterReportRoutine(
        94, {[](ReportFields& f) { Brcomfil(f.end, f.account, f.scope, f.manager, f.output_name); }});
}

// history/: the maturity and expiration alert, portfolio changes and the
// investment history.
void RegisterHistoryReports() {
    RegisterReportRoutine(87, {[](ReportFields& f) { Eomatre(f.end, f.manager, f.output_name, 12); }});
    RegisterReportRoutine(95, {[](ReportFields& f) {
                              Portchng(f.scope, f.manager, f.account, f.start, f.end, std::string(12, ' '),
                                       f.output_name, 12);
                          }});
    RegisterReportRoutine(104, {[](ReportFields& f) {
                              Invhsty(f.scope, f.manager, f.account, f.start, f.end, f.flag_text1,
                                      f.output_mode, f.output_name, 12);
                          }});
}

}  // namespace

void RegisterReports() {
    RegisterListReports();
    RegisterPerformanceReports();
    RegisterFixedIncomeReports();
    RegisterAppraisalReports();
    RegisterFundReports();
    RegisterAssetsUnderManagementReports();
    RegisterLedgerReports();
    RegisterGainsTaxReports();
    RegisterTradeReports();
    RegisterHistoryReports();
}

}  // namespace reports
