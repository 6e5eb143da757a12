#pragma once

// A generated firm of any size for the whole-firm benchmarks and for the
// tests that compare a whole-firm run's output byte for byte: N accounts,
// each opened 01/02/96 with M transactions to 12/31/98 (an opening
// deposit, then buys with a lot code each, partial and whole sales,
// dividends on the stocks held, interest on the bonds held, deposits and
// withdrawals), 300 securities of which 99 bonds, and the 36 month-end
// price files of 1996 to 1998. The program date is 12/31/98.
//
// The master files are written through the record layer's codecs and the
// test fixtures' writers, the names of the security types, the manager
// codes, brokers and custodians as the sample firm has them, the
// transactions as the posting routines file them; the holdings and gains
// files are then made by the update of the data base, as the sample firm's
// are. The same shape gives the same bytes on every run and machine.

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kGeneratedSecurities = 300;
inline constexpr int kGeneratedBonds = 99;
inline constexpr const char* kGeneratedFirmDate = "12/31/98";

struct GeneratedFirmShape {
    int accounts = 4;
    int transactions = 3000;  // an account, the opening deposit included (2 to 32766)
    uint64_t seed = 57;
};

struct GeneratedFirm {
    std::vector<std::string> accounts;  // "A00001", ... in ACCOUNT.IDX order
    long transactions = 0;              // of every account
    // Empty, or what went wrong (a shape out of range, a file that could
    // not be written, the update of the data base's warnings).
    std::string error;
};

// Writes the firm into the current directory, which should be empty.
GeneratedFirm WriteGeneratedFirm(const GeneratedFirmShape& shape);

}  // namespace bench
