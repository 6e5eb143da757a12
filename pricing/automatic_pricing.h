#pragma once

// The automatic pricing run behind the Price Download dialog. For one
// pricing date Autopric chooses the securities to price (every security of
// the types switched on for pricing, or those one account holds, through
// Chkdel), opens the data-feed conversation through the dialog's feed
// glue, asks the price server for each security's price and, on request,
// its dividends and splits, and files the answers: the price in the price
// file of the date, the dividend fields of SECURITY.REC, the J value of
// SECURITY.EXT, and the dividend and split files. Warnings of the answer
// checks go to autoerr.txt.
//
// Securities are asked in the order of a key built from the first six
// characters of their CUSIP numbers; an account's securities in the order
// of its lots. Only a price obtained is written: a security without an
// answer keeps what the price file held for the date.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pricing {

// One security to price: its SECURITY.REC record number, its sort key and
// its symbol.
struct PricingCandidate {
    int16_t record = 0;
    float key = 0;
    std::string symbol = std::string(12, ' ');
};

// The run. select_flag "Y   " prices the securities the account holds,
// anything else all securities of the types switched on. kind 'P' prices,
// 'D' dividends and splits, 'B' both. skip_priced "Y   " leaves out a
// security that has a usable price on the date already. alternate "Y   "
// asks the classes other than E with the "J" request (the dialog passes
// "N   "). Dates are MM/DD/YY. status: 0 done, else 1 (or the glue's
// status), with the reason in message (blank-padded to message_length;
// blank when the connection or an exchange failed).
void Autopric(std::string_view select_flag, std::string_view account, char kind, std::string_view skip_priced,
              std::string_view alternate, std::string_view price_date, std::string_view div_start,
              std::string_view div_end, int16_t spare, int16_t& status, std::string& message,
              int message_length);

// The securities one account holds on the pricing date, in the order of
// its lots: cash, repeated symbols, types 1, 4, S and Z, bonds matured
// before the date and deleted securities left out. A date before the
// program date reads the holdings replayed as of the date; otherwise the
// account's holdings file. SECURITY.IDX must be open on unit 7 and
// SECURITY.REC on unit 8.
void Chkdel(std::string_view account, std::string_view price_date, int16_t& count, float date_number,
            float program_date_number, std::vector<PricingCandidate>& list);

// The sort key of a CUSIP number: the character codes of its first six
// characters as two-digit groups, summed in single precision.
float PricingKey(std::string_view cusip);

}  // namespace pricing
