#pragma once

// The member statement (report code 90): for each selected account a
// statement with the member's name and address block, the units held at
// the start and end of the period and the units bought, withdrawn and
// sold in it, then one line per transaction of the period with the units
// of its security held after it. The figures stand at fixed columns, as
// for a pre-printed form, under the 80-column page heading.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/lot_update.h"
#include "records/account_records.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// kind: "S   " the account given, anything else every account whose
// manager code matches the pattern. codes: five 4-character words. The
// report is copied into output_name.
void Member(std::string_view kind, std::string_view manager, std::string_view account,
            std::string_view start_date, std::string_view end_date, std::string_view security_type,
            std::string_view codes, std::string_view transaction_type, std::string_view output_name,
            int16_t name_length);

// The units the account holds as of the date (MM/DD/YY): the holdings
// rebuilt to that date (status: the rebuild's), summed over the lots that
// are not cash and whose security is not of type "1".
double Mbrunt(std::string_view account, std::string_view date, int16_t& status);

// Page heading of the statement: the 80-column heading unless the
// account's rebuild status is 2.
void Mbrhdr(int16_t rebuild_status, int16_t& page, int16_t& lines, int16_t& length);

// The one-character security type of a two-character code of COMMON.FIL
// record 27 (mode above 1), or the code of a type (mode 1 or below).
void Mbrtyp(std::string_view code_list, std::string_view firm_code, std::string& type_out,
            std::string_view type_in, std::string& firm_code_out, int16_t mode);

// The next account of ACCOUNT.IDX, as the transaction ledger's Nxtclt.
bool Mbrnxt(int& position, int& count, std::string& id, std::string& name, std::string& manager);

// Applies one transaction to the statement's lot list (transactions of
// type "N" leave it alone) and writes the short-sale warning when the lot
// update reports one. record: the transaction's record number.
void Mbrpst(ReportFrame& frame, engine::LotList& lots, std::string_view account,
            records::TransactionRecord transaction, int record);

// The units and cost the lot list holds of the security; 0 when it holds
// no lot of it.
void Mbrbal(const engine::LotList& lots, std::string_view security, double& units, double& amount);

// The date (MM/DD/YY) in words, blank padded to 18 characters:
// "JANUARY 5, 1993". length: the characters used (0 for a date that does
// not read).
void Datwrd(std::string_view date, std::string& text, int16_t& length);

}  // namespace reports
