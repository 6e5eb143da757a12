#pragma once

// A synthetic firm for the report benchmarks: COMMON.FIL (program date
// 6/30/00, the firm heading, room up to the options record), 500
// securities (entry 1 CASH, every third a bond, the rest stocks in ten
// industry categories) with extension records and the prices of the date,
// and accounts "A00001" on of manager code AB whose holdings hold cash and
// lots of securities in turn, two lots of each security in a row.

#include <string>
#include <vector>

#include "records/record.h"

namespace bench {

inline constexpr int kSecurities = 500;
inline constexpr const char* kDate = " 6/30/00";

// The identifier of account n: "A" and five digits.
std::string Id(int n);
// Appends a record's bytes.
void Append(std::vector<unsigned char>& bytes, const records::Record& rec);
// COMMON.FIL, the securities and the prices of kDate.
void WriteMarket();
// HL<acct>.REC with `lots` lots (the first the cash lot).
void WriteHoldings(const std::string& account, int lots, int first_security);
// ACCOUNT.IDX, ACCOUNT.REC and every account's holdings.
void WriteAccounts(int accounts, int lots);

}  // namespace bench
