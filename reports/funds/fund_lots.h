#pragma once

// The lots of the mutual fund appraisal: HL.TMP as the fund rebuild
// (Mfhold) replays an account into it, one transaction at a time (Mflotu),
// with the reinvestment correction of the cash element at the end
// (Mfcash).
//
// The file is the holdings replay's lot list (engine::LotChain: the chain
// of lots in ascending key, symbol and lot code, the free chain, and the
// header with the as-of date text in its label), but each lot also keeps
// its total cost (records::FundLotRecord), which includes reinvested
// purchases, beside its amount invested, which does not. The fund replay
// differs from the holdings replay in its arithmetic: quantities and
// amounts of the lots are kept to the system's decimals, a sale keeps each
// lot's share of both amounts, the cash element's total cost is carried
// unrounded, and the cash element takes the texts of the transaction that
// opened it. It writes no gains, and a sale it cannot apply is a warning
// for the caller rather than the end of the replay.
//
// The list is kept in memory beside the file, with the chain's ordered
// index, and written to the file once at Flush.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/replay_lots.h"
#include "records/account_records.h"
#include "records/common_file.h"

namespace reports {

// What became of one transaction besides its short-sale condition.
enum class FundLotOutcome {
    kApplied,       // applied, or refused with a short-sale condition
    kChainDamaged,  // the lot chain loops or links past the file: dropped, nothing written
    kFileFull,      // no 16-bit record number left for a new lot
};

// Short-sale conditions of Mflotu.
inline constexpr int16_t kLotExceeded = 1;  // a closing transaction exceeds its lot
inline constexpr int16_t kNoLot = 2;        // a closing transaction finds no lot

class FundLots {
public:
    // account: identifier (8); as_of_text: the as-of date text MM/DD/YY
    // that the header carries; options: the options record (option 64
    // keeps HL.EXT beside HL.TMP, option 81 gives the decimals).
    FundLots(std::string_view account, std::string_view as_of_text, const records::Options& options);

    // Starts HL.TMP anew, empty (and HL.EXT under option 64).
    void Start();
    // Takes HL.TMP (and HL.EXT) as they stand.
    void Resume();
    // Writes what changed since Start or Resume; false when a write failed.
    bool Flush();

    // Applies one transaction: finds, opens, adds to, reduces or removes
    // its lot and moves the cash element. cls, sign and transfer are its
    // code's (records::Code); t is the transaction as the rebuild prepared
    // it (the amount to 2 decimals, 0 for a reinvested purchase); memo
    // (20), date (8) and description (32) its texts; total_cost its amount
    // as filed. condition comes back 0, kLotExceeded or kNoLot; a
    // transaction with a condition changes nothing.
    FundLotOutcome Mflotu(const records::TransactionRecord& t, int16_t cls, int16_t sign, int16_t transfer,
                          int16_t& condition, std::string_view memo, std::string_view date,
                          std::string_view description, double total_cost);

    // Lowers the cash element's quantity and amount invested (not its
    // total cost) by the reinvested total, so that the cash comes out as if
    // the reinvested purchases had been paid in cash. An empty file, a
    // damaged chain or no cash element leaves everything as it was.
    void Mfcash(double reinvested);

    // Ftele2 on the lots as they stand.
    void Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
                std::string& description);

private:
    // Takes a record for a new lot: the head of the free chain when it is
    // a freed record, else the record after the last one in use; 0 when no
    // 16-bit record number is left.
    int16_t NewRecord();
    // Encodes a new lot into record n and links it at its place.
    void LinkNew(int16_t n, const records::FundLotRecord& lot);
    // Rounds the quantity and amount invested of lot record n to the
    // system's decimals (the lot before one that is linked or unlinked).
    void RoundLot(int16_t n);
    void Round(double& value) const;
    // True when the chain from the header ends at a negative link, through
    // records of the file only, without coming back to a record.
    bool ChainSound() const;

    std::string account_;
    std::string as_of_text_;
    int decimals_;
    bool sound_ = true;
    engine::LotChain lots_;
    records::Record scratch_;
};

}  // namespace reports
