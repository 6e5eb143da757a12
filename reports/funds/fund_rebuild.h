#pragma once

// The mutual fund appraisal's holdings as of its date: Mfhold rebuilds an
// account's lots and cash element from TR<acct>.REC into HL.TMP (FundLots),
// which the appraisal's valuation pass then reads.
//
// Unlike the holdings replay (engine::Creatt) it treats reinvested
// purchases apart: a purchase flagged "R   " adds nothing to its lot's
// amount invested, only to the lot's total cost, and once every
// transaction is replayed the cash element is lowered by the reinvested
// total, so that the cash comes out as if those purchases had been paid in
// cash. It never writes to the transaction file and writes no gains. A sale
// it cannot apply is passed over with a warning line in the report.

#include <cstdint>
#include <string_view>

namespace reports {

// Rebuilds the account's fund lots as of the date into HL.TMP.
//  account: identifier (8 characters; the first 6 name its files).
//  as_of_text: the appraisal date MM/DD/YY, kept in the header of HL.TMP.
//  as_of: the same date as YYMMDD with the two-digit-year window; every
//    transaction dated on or before it is replayed.
//  message_mode: warning lines go to the report (through the line writer)
//    unless it is 2 or negative.
// Transactions with a blank symbol or the flag "N   " are left out. They
// are replayed by date; within a day the cash-only codes (and "SP") come
// before the trades and transfers, each group in filing order. HL.TMP is
// deleted first and made again only when a transaction qualifies: an
// account without transactions to replay, or whose options or transaction
// file cannot be read, has no HL.TMP afterwards.
void Mfhold(std::string_view account, std::string_view as_of_text, float as_of, int16_t message_mode);

}  // namespace reports
