#pragma once

// The account extract for the DataLynx transaction download: the accounts,
// their cash and money-fund positions and the cash-like securities as text
// files in the folder DLXWIN of the data directory (made when missing):
// EXTRACT1.DAT (holdings), EXTRACT3.DAT (tagged account blocks),
// EXTRACT4.DAT (custodian account number and value) and SEC.INF
// (securities). Each file is written anew at each run. No command runs it;
// it is a routine other code may call.

#include <cstdint>

namespace entry {

inline constexpr const char* kExtractFolder = "DLXWIN";

// The whole extract: holdings (mode 1), accounts in modes 3 and 4, then the
// securities.
void Mextract();

// EXTRACT1.DAT: per account a header line at its cash holding with the
// cash amount and the market value of the program date, then its cash and
// money-fund positions.
void ExtractHoldings(int16_t mode);
// EXTRACT2.DAT / EXTRACT3.DAT (modes 2, 3): a tagged block per account;
// EXTRACT4.DAT (mode 4): custodian account number and a value per account.
void ExtractAccounts(int16_t mode);
// SEC.INF: every cash ("ca") and money-fund ("mf") security.
void ExtractSecurities();

}  // namespace entry
