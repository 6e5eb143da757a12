#include "reports/transactions/report_table.h"

#include <string>

#include "reports/transactions/bnkltr.h"
#include "reports/transactions/brcomfil.h"
#include "reports/transactions/btcomacc.h"
#include "reports/transactions/btotcom.h"
#include "reports/transactions/combgl.h"
#include "reports/transactions/eomatre.h"
#include "reports/transactions/glprint.h"
#include "reports/transactions/invhsty.h"
#include "reports/transactions/mcmtrn.h"
#include "reports/transactions/member.h"
#include "reports/transactions/portchng.h"
#include "reports/transactions/t1099b.h"
#include "reports/transactions/taxre.h"
#include "reports/transactions/transld.h"
#include "shell/runner.h"

namespace reports {

using shell::RegisterReportRoutine;
using shell::ReportFields;

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

}  // namespace reports
