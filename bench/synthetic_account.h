#pragma once

// Synthetic accounts for benchmarks: a data directory in a temporary
// folder with a securities master of many securities, the options record
// and an account whose transaction file holds buys, sales and income over
// years, written through the record layer. The transactions always replay
// without a failure: every sale relieves a lot that is open at that point
// of the replay. The same shape gives the same files on every run.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// A fresh data directory for the life of the object: the record layer
// works on the current directory, so the constructor changes into it and
// the destructor changes back and removes it.
class ScratchDataDir {
public:
    ScratchDataDir();
    ~ScratchDataDir();
    ScratchDataDir(const ScratchDataDir&) = delete;
    ScratchDataDir& operator=(const ScratchDataDir&) = delete;

    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

// The largest number of transactions an account can hold: the transaction
// file's header counts records in 16 bits (record 1 is the header).
inline constexpr int kMaxTransactions = 32766;

struct SyntheticShape {
    std::string account = "BENCH";
    int transactions = 1000;  // 1 to kMaxTransactions
    int securities = 500;     // SECURITY.IDX entries "S00001", "S00002", ...
    int lot_codes = 20;       // lot codes a security may have open at once (1 to 35)
    int per_day = 4;          // transactions of a trading day on average
    uint32_t seed = 1;
    // Writes a memo for some purchases into TR<acct>.EXT and sets options
    // 36 and 64, so that replays read and write the lot texts.
    bool lot_texts = false;
    // Also writes the same history as a text journal of the command-line
    // ledger program (the file journal_name): each lot of the account a
    // lot of a commodity in an account of its own (security and lot code),
    // each sale reducing it, so that "ledger bal --lots" lists the open
    // lots.
    bool journal = false;
};

struct SyntheticAccount {
    std::string account;
    std::vector<std::string> symbols;  // in SECURITY.IDX order: symbol k is entry k + 1
    std::vector<double> holding_keys;  // of each symbol
    float first_date = 0;              // YYMMDD numbers with the two-digit-year window
    float last_date = 0;
    int transactions = 0;
    int buys = 0;
    int sales = 0;
    int income = 0;
    std::string journal_name;  // with shape.journal
};

// Writes SECURITY.IDX, SECURITY.REC, the options record of COMMON.FIL and
// TR<acct>.REC (and TR<acct>.EXT with lot_texts) into the current
// directory. Throws std::invalid_argument for a shape out of range.
SyntheticAccount WriteSyntheticAccount(const SyntheticShape& shape);

}  // namespace bench
