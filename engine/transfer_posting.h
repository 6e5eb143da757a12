#pragma once

// Transfer posting: Fasset checks one security transfer of an entry form
// (securities received into the account, SI, or withdrawn from it, SO),
// files it in TR<acct>.REC, rebuilds the stored holdings and gains (Rbldhl)
// and adds the transfer to the account's value history as a capital flow
// (Hladja), so that performance figures see the securities come and go.
//
// As in trade posting the filing is all or nothing: when the rebuild
// refuses the result, the transaction files and the stored holdings and
// gains are put back as they were and the history is not touched. A change
// or a deletion takes the stored transfer's flow back out of the history in
// full (its own amount, month and direction) before a change puts the new
// one in.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/entry_form.h"

namespace engine {

// Posts the transfer of the form. Fields: 1 account (8), 2 symbol (12), 3
// code (SI or SO), 4 transfer date, 5 record date (may be blank), 6 tax lot
// (4), 7 broker (8), 8 purchase date (not needed for SO), 9 transaction type
// (4), 10 shares, 11 amount (the market value of the transfer), 12 cost.
// record: as for Fbuysell. Flags 1-6 and 8-12 for the checks of their
// fields; flag 9 also for a failed rebuild, and (kNotFiled, before
// anything is written) for a value history whose header is damaged for the
// transfer's year.
void Fasset(PostingMode mode, int32_t& record, EntryForm& form);

inline constexpr std::string_view kInvalidTransferDate = "Invalid transfer date.";
inline constexpr std::string_view kInvalidRecordDate = "Invalid record date.";
inline constexpr std::string_view kTransferLot = "Transfer tax lot requires a letter, number or combination.";
inline constexpr std::string_view kInvalidPurchaseDate = "Invalid purchase date.";
inline constexpr std::string_view kTaxLotSold = "This tax lot has been partially or totally sold/covered.";

// The code check of transfers: the two letters are looked up among B, S,
// SS, CS, FI, FO, SI, SO, DI, DE, II, IE, MF, BC, MI, ME, AI, AO, " B" and
// " S"; found, the code becomes the letters and two blanks and sign is the
// code's (0 for SI and SO); direction is 1 for SI and -1 for SO. Any code
// other than SI and SO sets state and flag to 1. A state of 3 on entry
// skips everything.
void Ckcodt(std::string& code, int16_t& direction, int16_t& sign, int16_t& state, int16_t& flag);

}  // namespace engine
