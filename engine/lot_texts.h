#pragma once

// The lot texts that a replayed transaction takes from the lots when it
// carries none of its own: a transaction whose memo is blank takes the
// memo (and, under option 64, the extension texts) of the first lot with
// its symbol and lot code, first from the lots the replay has built so far
// (Ftele2) and then from the account's stored holdings (Ftele). Shared by
// the holdings replay and the mutual fund appraisal's rebuild.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/replay_lots.h"
#include "records/common_file.h"

namespace engine {

// Ftele2 on a lot list in memory: when the first five characters of the
// memo (20) are blank and the symbol does not begin with "CASH", the memo
// of the first lot with the symbol (12) and lot code (4) goes into memo
// and, with lot_texts, the two texts of its extension record into date (8)
// and description (32). Without such a lot the texts stay as they were.
void FillFromLots(LotChain& lots, std::string_view symbol, std::string_view tax_lot, std::string& memo,
                  std::string& date, std::string& description, bool lot_texts);

// The texts of the account's stored lots (HL<acct>.REC and HL<acct>.EXT),
// as records::Ftele reads them, with the lot list read once per replay:
// Ftele walks the stored list from its head for every transaction.
class StoredLotTexts {
public:
    StoredLotTexts(std::string_view account, const records::Options& options);

    // Unlike Ftele2, acts only when the whole memo is blank.
    void Ftele(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
               std::string& description);

private:
    struct FirstLot {
        long record = 0;
        std::string memo;
    };

    // Walks the stored list once and keeps the first lot of each symbol and
    // lot code. The walk ends where Ftele's would: at a link below 2, a
    // record that cannot be read, or after as many steps as the file has
    // records; lots past that point are not found.
    void Load();

    std::string account_;
    bool lot_texts_;
    bool loaded_ = false;
    std::unordered_map<std::string, FirstLot> first_;
    bool extensions_loaded_ = false;
    std::vector<unsigned char> extensions_;  // HL<acct>.EXT, read whole at its first use
};

}  // namespace engine
