#pragma once

// The transaction ledger (report code 81): for one account, or every
// account of a manager pattern, the transactions of a date window in
// trade-date order, optionally only some codes, one transaction type or
// one security type; an unfiltered ledger carries the cash balance from
// an opening to a closing balance.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/files.h"

namespace reports {

// mode: "S   " the account given, anything else every account whose
// manager code matches the pattern ("?" matches any character). codes:
// five 4-character words. output_mode: 1 lines into OUTPUT.TMP, 3 also
// copied into output_name; 2 writes no line; below 1 nothing at all.
void Transld(std::string_view mode, std::string_view manager, std::string_view account,
             std::string_view start_date, std::string_view end_date, std::string_view security_type,
             std::string_view codes, std::string_view transaction_type, int16_t output_mode,
             std::string_view output_name, int16_t name_length);

// The next account of ACCOUNT.IDX: adds 1 to position and gives the key
// count, the key at that position, and the manager code and short name of
// the account's second record (blank when it cannot be read). An index
// whose record 1 cannot be read or holds 0 sets position and count to 0;
// false then.
bool Nxtclt(int& position, int& count, std::string& id, std::string& name, std::string& manager);
// The same on the account index and records open already (a walk over
// every account keeps them open).
bool Nxtclt(int& position, int& count, std::string& id, std::string& name, std::string& manager,
            const records::DirectFile& index, const records::DirectFile& accounts);

// The account's cash balance before the date (MM/DD/YY): the holdings are
// rebuilt as of the date, leaving out that day's transactions, and the
// balance is that of the first cash lot that is not a short lot while the
// CASH security (SECURITY.REC record 1) has type "1"; 0 when there is
// none. status: the rebuild's.
double Ldgcsh(std::string_view account, std::string_view date, int16_t& status);

}  // namespace reports
