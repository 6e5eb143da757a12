#pragma once

// The runner's rows of the transaction reports: the transaction ledgers
// and the member statement (81, 90, 204), gains and losses and the income
// summary (84, 85, 203), the broker and trade reports (86, 91-94) and the
// maturity alert, portfolio changes and investment history (87, 95, 104).
// The program registers them at start-up.

namespace reports {

void RegisterTransactionReports();

}  // namespace reports
