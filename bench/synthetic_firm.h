#pragma once

// A synthetic firm for the report benchmarks: COMMON.FIL (program date
// 6/30/00, the firm heading, room up to the options record), 500
// securities (entry 1 CASH, every third a bond, the rest stocks in ten
// industry categories) with extension records and the prices of the date,
// and accounts "A00001" on of manager code AB whose holdings hold cash and
// lots of securities in turn, two lots of each security in a row. The
// shapes below vary the market and the lots for the benches that need
// another mix.

#include <string>
#include <vector>

#include "records/record.h"

namespace bench {

inline constexpr int kSecurities = 500;
inline constexpr const char* kDate = " 6/30/00";

// The identifier of account n: "A" and five digits.
std::string Id(int n);
// A prefix and five digits ("BK", 7 gives "BK00007").
std::string PrefixedId(const char* prefix, int n);
// An index file's bytes: the count in record 1, then `per` keys of `width`
// characters a record.
std::vector<unsigned char> IndexBytes(const std::vector<std::string>& keys, std::size_t width = 8,
                                      std::size_t per = 16);
// COMMON.FIL up to the options record: the program date text and number in
// record 2, the firm heading "BENCHMARK ADVISERS" with page length 58 in
// record 13, and the options (when given) in record 31.
void WriteFirmCommon(const std::string& date, float date_number, const records::Record* options = nullptr);
// Appends a record's bytes.
void Append(std::vector<unsigned char>& bytes, const records::Record& rec);
struct MarketShape {
    // Four in five securities bonds of the types 5, 6, B and Y with
    // maturities spread over 30 years, the rest stocks (type H), instead
    // of every third a note of type 6.
    bool mostly_bonds = false;
    // TYPENAME.DAT and SCATNAME.DAT with a name for codes 1-99.
    bool name_files = false;
    // Page kind "I" in COMMON.FIL record 17.
    bool page_kind_i = false;
};

struct LotShape {
    // Consecutive lots of one security (they fold into one holding).
    int lots_per_security = 2;
    double quantity = 100;
    double cost = 2500;
};

// COMMON.FIL, the securities and the prices of kDate.
void WriteMarket(const MarketShape& shape = {});
// HL<acct>.REC with `lots` lots (the first the cash lot).
void WriteHoldings(const std::string& account, int lots, int first_security, const LotShape& shape = {});
// ACCOUNT.IDX, ACCOUNT.REC and every account's holdings.
void WriteAccounts(int accounts, int lots, const LotShape& shape = {});

}  // namespace bench
