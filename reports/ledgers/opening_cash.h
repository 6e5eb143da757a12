#pragma once

// The ledger's part of its opening cash. The balance is the cost of the
// cash lot that a replay of the transactions dated before the start date
// leaves in HL.TMP (engine::Creatt), which the engine's cash pass
// (engine/replay_cash.h) works out without the replay where it can; it
// counts only when the cash security is of type "1".

#include <string_view>

namespace reports {

// The as-of date of a replay for the ledger's start date (MM/DD/YY):
// YYMMDD with the two-digit-year window.
float LedgerAsOf(std::string_view date);

// Whether record 1 of SECURITY.REC, the cash security, is of type "1":
// the cash lot's cost is the ledger's opening balance only then (else 0).
bool CashSecurityIsCash();

}  // namespace reports
