#pragma once

// Trade posting: Fbuysell checks one trade (B, S, SS, CS or SP) of an entry
// form and, when every field passed, files it in the account's transaction
// file TR<acct>.REC as a new record, a replacement or a deletion, and then
// rebuilds the account's stored holdings and gains from the transactions
// (Rbldhl). The posting is all or nothing: when the rebuild refuses the
// result (a sale that exceeds or misses its lot) the transaction file, its
// extension file and the stored holdings and gains are put back as they
// were. The steps it shares with cash and transfer posting are in
// posting_steps.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/entry_form.h"
#include "engine/posting_steps.h"

namespace engine {

// ---- Trade posting

// Posts the trade of the form. Fields: 1 account (8), 2 symbol (12), 3 code
// (two letters), 4 tax lot (4), 5 trade date, 6 settlement date (may be
// blank), 7 money-market fund symbol (may be blank), 8 broker (8), 9
// transaction type (4), then the numbers 10 shares or face value, 11 price,
// 12 currency rate, 13 local price, 14 bond interest, 15 commission per
// share, 16 commission, 17 SEC fee, 18 miscellaneous expense. record: for a
// change or a deletion the record number of the transaction; an add returns
// the record number it used. Every check runs; flags and messages as the
// form describes them, flag 9 carrying a failed rebuild.
void Fbuysell(PostingMode mode, int32_t& record, EntryForm& form);

// The messages of the trade checks (with those of posting_steps.h).
inline constexpr std::string_view kBuySellLot = "Buy/sell tax lot requires a letter, number or combination.";
inline constexpr std::string_view kShortCoverLot = "Short/cover tax lot requires lower case letter(s).";
inline constexpr std::string_view kInvalidMoneyMarket = "Invalid money market identifier.";
inline constexpr std::string_view kEitherCommission = "Enter either total or per share commission.";

// ---- Codes and lots

// The code check of trades: the first two characters are looked up among B,
// S, SS, CS, FI, FO, SI, SO, DI, DE, II, IE, MF, BC, MI, ME, AI, AO and SP.
// Found: the code becomes the two letters and two blanks, sign is the
// code's (-1 B, 1 S, 1 SS, -1 CS, ...) and cash_direction 1 for FI and SI,
// -1 for FO and SO, else 0. B, S, SS, CS and SP are accepted; FI, FO and DI
// to AO only with a mode flag of 1 or more; SI and SO never. Not found or
// not accepted: flag 1.
void Ckcode(std::string& code, int16_t mode_flag, int16_t& cash_direction, int16_t& sign, int16_t& flag);

// The open date of the lot with this code (4 characters) among the lots
// that the last Push listed; lot_date is left alone when there is none.
void Lotdat(std::string_view tax_lot, std::string& lot_date);

// Rounds to 8 decimals through "(F20.8)".
void Drnd8(double& value);

}  // namespace engine
