#pragma once

// The two files of transaction lines that belong to no account yet:
// OFFLINET.DAT, the off-line transactions a download brought in, and
// TRADEBLK.DAT, the block trade with its allocations to accounts. Both are
// direct-access files of 512-byte records (Open4). Record 1 begins with
// the 16-bit number of the last record in use; records 2 on hold one line
// each, beginning with the 8-character account identifier followed by the
// fields of an account's transaction in their order.
//
// A dialog owns only the edit view of a line, its first 140 bytes, which
// it reads and writes back whole through Rdr140 and Wrr140: every byte it
// does not change (the rest of the view, and bytes 140-511 of the record)
// keeps its stored value. The codecs below decode and encode any record
// length: a field that lies past the end of the record decodes as its
// default and is not written, one that is cut by the end is written as far
// as the record goes. Texts keep their exact bytes, so a record decoded and
// encoded again is unchanged byte for byte.
//
// TRADEBLK.DAT record 1 also holds the block definition after the counter,
// marked "BLOK"; a block is defined when record 1 reads and holds the
// marker.

#include <cstdint>
#include <string>
#include <string_view>

#include "records/record.h"

namespace records {

inline constexpr const char* kOfflineTransactionFile = "OFFLINET.DAT";
inline constexpr const char* kBlockTradeFile = "TRADEBLK.DAT";
inline constexpr std::size_t kTransactionLineLength = 512;
inline constexpr std::size_t kEditViewLength = 140;
// The unit the dialogs open these files on.
inline constexpr int kTransactionLineUnit = 6;

// One line of OFFLINET.DAT (bytes 0-395; 396-511 are not used).
struct OfflineTranRecord {
    std::string account = std::string(8, ' ');      // 1: bytes 0-7
    std::string symbol = std::string(12, ' ');      // 2: bytes 8-19, "CASH" or a description on a cash line
    std::string tax_lot = std::string(4, ' ');      // 3: bytes 20-23
    std::string trade_date = std::string(8, ' ');   // 4: bytes 24-31, MM/DD/YY
    std::string code = std::string(4, ' ');         // 5: bytes 32-35
    double shares = 0;                              // 6: bytes 36-43
    float price = 0;                                // 7: bytes 44-47
    double amount = 0;                              // 8: bytes 48-55
    std::string broker = std::string(8, ' ');       // 9: bytes 56-63
    double commission = 0;                          // 10: bytes 64-71
    double bond_interest = 0;                       // 11: bytes 72-79
    std::string second_date = std::string(8, ' ');  // 12: bytes 80-87, a transfer's purchase date
    double second_amount = 0;                       // 13: bytes 88-95, a transfer's cost
    float date_number = 0;                          // 14: bytes 96-99, YYMMDD (year < 51 as 100 + YY)
    double sort_key = 0;                            // 15: bytes 100-107
    int16_t security_entry = 0;                     // 16: bytes 108-109
    int16_t match_code = 0;                         // 17: bytes 110-111
    std::string entry_kind = std::string(4, ' ');   // 18: bytes 112-115
    std::string reserved = std::string(20, ' ');    // 19: bytes 116-135
    std::string member = std::string(20, ' ');      // 20: bytes 136-155
    std::string address = std::string(240, ' ');    // 21: bytes 156-395, four lines of 60

    static OfflineTranRecord Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// One block allocation of TRADEBLK.DAT, records 2 on (its edit view).
struct BlockAllocation {
    std::string account = std::string(8, ' ');     // bytes 0-7
    std::string symbol = std::string(12, ' ');     // bytes 8-19
    std::string tax_lot = std::string(4, ' ');     // bytes 20-23
    std::string trade_date = std::string(8, ' ');  // bytes 24-31
    std::string code = std::string(4, ' ');        // bytes 32-35
    double shares = 0;                             // bytes 36-43
    float price = 0;                               // bytes 44-47
    std::string broker = std::string(8, ' ');      // bytes 56-63
    double commission = 0;                         // bytes 64-71
    double bond_interest = 0;                      // bytes 72-79
    int16_t word = 0;                              // bytes 110-111
    std::string kind = std::string(2, ' ');        // bytes 112-113
    double sec_fee = 0;                            // bytes 114-121

    static BlockAllocation Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// TRADEBLK.DAT record 1: the counter and the block definition.
inline constexpr std::string_view kBlockMarker = "BLOK";
struct BlockDefinition {
    int16_t last_record = 1;                       // bytes 0-1
    std::string marker = std::string(4, ' ');      // bytes 2-5, "BLOK" when a block is defined
    std::string symbol = std::string(12, ' ');     // bytes 6-17
    std::string code = std::string(4, ' ');        // bytes 18-21
    std::string trade_date = std::string(8, ' ');  // bytes 22-29
    double quantity = 0;                           // bytes 30-37
    float price = 0;                               // bytes 38-41
    double bond_interest = 0;                      // bytes 42-49
    std::string broker = std::string(8, ' ');      // bytes 50-57
    double commission_per_share = 0;               // bytes 58-65
    double total_commission = 0;                   // bytes 66-73
    double misc_expense = 0;                       // bytes 74-81

    bool Defined() const { return marker == kBlockMarker; }
    static BlockDefinition Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// The counter of the file (record 1, bytes 0-1); 1 for a file that does
// not exist or whose record 1 cannot be read.
int16_t ReadLineCounter(std::string_view file);

// Reads the block definition. False when TRADEBLK.DAT record 1 cannot be
// read or does not hold the marker (no block defined).
bool ReadBlockDefinition(BlockDefinition& block);
// Writes record 1 (counter and definition), keeping the rest of it.
bool WriteBlockDefinition(const BlockDefinition& block);

// The edit view of line record `rec` of the file: 0 done, 1 the open or
// the read failed (view unchanged).
int16_t ReadEditView(std::string_view file, long rec, std::string& view);
// Writes the edit view back to record `rec`; the rest of the record keeps
// its bytes. 0 done, 1 failed.
int16_t WriteEditView(std::string_view file, long rec, std::string_view view);
// The shares of the block's allocations still listed: every line of
// records 2 to the counter whose symbol is not blank.
double AllocatedBlockShares();

// Writes a new block allocation (its edit view) at record counter + 1 and
// the counter back to record 1; rec is the record used. 0 done, 1 failed
// (also when no block is defined: rec is then -1 and nothing is written).
// A full file ("TRADEBLK.DAT is full.") or a counter out of range fails
// too, writes nothing and puts the message in *message when given.
int16_t AppendBlockAllocation(std::string_view view, long& rec, std::string* message = nullptr);

}  // namespace records
