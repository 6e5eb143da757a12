#pragma once

// The sample firm: a small advisory firm's data directory, written into the
// current directory through the program's own routines (record codecs for
// the master files, the trade, cash and transfer posting of the
// transaction dialogs for every transaction, the value history routines of
// the historical data dialog, the update of the data base at the end). It
// is deterministic: the same bytes on every machine.
//
// The firm: three brokers, two custodians, three manager codes, eighteen
// client accounts in two groups and a super group, some sixty securities
// of most security types with their type and industry category names,
// month-end prices from January 1996 to December 1998 (with two market
// indexes), and three years of history per account: deposits and
// withdrawals, buys, partial and full lot sales, short sales and covers,
// dividends, interest, fees, transfers in and out, reinvested fund
// distributions, a stock split entered for posting, and month-end market
// values.

#include <string>

namespace sample {

// The sample's last day and program date.
inline constexpr const char* kSampleDate = "12/31/98";

// Writes the firm into the current directory, which should be empty.
// Returns an empty string, or what went wrong (a posting the program
// refused, with its messages).
std::string WriteSampleFirm();

// Pieces of the sample firm that other generated firms share, written into
// the current directory: the names of the listed security types and of the
// ten industry categories (TECHNOLOGY, ENERGY, ...); the manager codes AB,
// CD and EF, the brokers ALDEN, BAXTER and CORWIN and the custodians
// FIRSTTR and HARBOR.
void WriteTypeAndCategoryNames();
void WriteManagersBrokersCustodians();

}  // namespace sample
