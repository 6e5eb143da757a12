#pragma once

// The opening cash of the transaction ledger worked out from the
// transactions alone. The ledger's opening balance is the cost of the cash
// lot that a replay of the transactions dated before its start date leaves
// in HL.TMP (engine::Creatt). That figure depends on the lots only through
// the few things that can stop a replay or move the cash elsewhere; those
// are followed here with each lot's quantity alone, in the replay's order
// and with its arithmetic, so the balance comes out bit for bit the same
// without building, encoding and writing every lot. Where only the replay
// can tell (a trade with a holding key of 0, which the cash posting could
// take for the cash lot, or a NaN key; a list near the 16-bit record
// limit) the answer is left open and the caller replays.

#include <cstddef>
#include <string_view>

#include "records/common_file.h"

namespace reports {

struct OpeningCash {
    bool decided = false;   // false: only a replay can tell
    bool cash_lot = false;  // the replay leaves a cash lot
    double balance = 0;     // its cost
};

// The as-of date of a replay for the ledger's start date (MM/DD/YY):
// YYMMDD with the two-digit-year window.
float LedgerAsOf(std::string_view date);

// What a replay of the transaction file's records (bytes: the file read
// whole, size a multiple of 128) leaves in its cash lot, taking the
// transactions dated before as_of, with the system decimals of options.
OpeningCash CashBeforeDate(const unsigned char* bytes, std::size_t size, float as_of,
                           const records::Options& options);

// Whether record 1 of SECURITY.REC, the cash security, is of type "1":
// the cash lot's cost is the ledger's opening balance only then (else 0).
bool CashSecurityIsCash();

}  // namespace reports
