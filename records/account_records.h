#pragma once

// The per-account record files: transactions (TR<acct>.REC and its .EXT),
// holdings (HL<acct>.REC, and the replay's HL.TMP) with their extension
// (HL.EXT, HL<acct>.EXT), and realised gains (GL<acct>.REC, GL.TMP).
// All are 128-byte records; the transaction file is the record of truth and
// the others are rebuilt from it, so every reader and writer must agree on
// these layouts byte for byte.
//
// Each record is a plain struct of named fields. Decode reads the fields at
// their fixed offsets; Encode writes them into the Record passed in and
// leaves every byte that the layout does not own as it was there, so a
// record that is read, changed and written back keeps its other bytes. A
// Record shorter than 128 bytes is first extended with zeros, as a new
// record is. Texts are kept as their exact bytes (blank padded; a record
// never written holds NUL bytes, which are kept too) and are blank padded or
// cut to their width on Encode.

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/record.h"

namespace records {

inline constexpr std::size_t kAccountRecordLength = 128;

// TR<acct>.REC record 1: the number of the last record in use, N. The
// transactions lie in records 2 to N; N of 1 or less means none.
struct TransactionFileHeader {
    int16_t last_record = 1;  // bytes 1-2

    static TransactionFileHeader Decode(const Record& rec);
    // The last record in use from record 1's bytes where they lie (a
    // mapped file), without a copy into a Record.
    static int16_t LastRecordOf(const unsigned char* bytes);
    void Encode(Record& rec) const;
};

// Where fields of a transaction lie in its 128 bytes (from 0), for the
// readers that take a few fields straight from a mapped transaction file
// instead of decoding each record. TransactionRecord below is the whole
// layout.
namespace transaction_offsets {
inline constexpr std::size_t kSymbol = 0;        // field 1, then the lot code (field 2)
inline constexpr std::size_t kCode = 24;         // field 4
inline constexpr std::size_t kQuantity = 28;     // field 5
inline constexpr std::size_t kAmount = 40;       // field 7
inline constexpr std::size_t kInterest = 64;     // field 10
inline constexpr std::size_t kLotCost = 80;      // field 12
inline constexpr std::size_t kDateNumber = 88;   // field 13
inline constexpr std::size_t kHoldingKey = 92;   // field 14
inline constexpr std::size_t kType = 102;        // field 16
inline constexpr std::size_t kGainRecord = 106;  // field 17
}  // namespace transaction_offsets

// One transaction, TR<acct>.REC records 2 to N.
struct TransactionRecord {
    std::string symbol = std::string(12, ' ');     // 1: bytes 1-12
    std::string tax_lot = std::string(4, ' ');     // 2: bytes 13-16, lot code in a 4-character word
    std::string trade_date = std::string(8, ' ');  // 3: bytes 17-24, MM/DD/YY
    std::string code = std::string(4, ' ');        // 4: bytes 25-28, transaction code
    double quantity = 0;                           // 5: bytes 29-36
    float price = 0;                               // 6: bytes 37-40
    double amount = 0;                             // 7: bytes 41-48
    std::string broker = std::string(8, ' ');      // 8: bytes 49-56
    double commission = 0;                         // 9: bytes 57-64
    double bond_interest = 0;                      // 10: bytes 65-72
    std::string lot_date = std::string(8, ' ');    // 11: bytes 73-80, MM/DD/YY
    double lot_cost = 0;                           // 12: bytes 81-88
    float date_number = 0;                         // 13: bytes 89-92, YYMMDD (year < 51 as 100 + YY)
    double holding_key = 0;                        // 14: bytes 93-100
    int16_t security_record = 0;                   // 15: bytes 101-102
    std::string type = std::string(4, ' ');        // 16: bytes 103-106, "N" keeps it out of replays
    int16_t gain_record = 0;                       // 17: bytes 107-108
    std::array<unsigned char, 20> extra{};         // 18: bytes 109-128, see the views below

    static TransactionRecord Decode(const Record& rec);
    // Decode into a record that exists: its texts keep their storage, so
    // a loop that decodes one transaction after another allocates nothing.
    static void DecodeInto(const Record& rec, TransactionRecord& t);
    // The same from a whole record's 128 bytes where they lie (a mapped
    // file), without a copy into a Record first.
    static void DecodeFrom(const unsigned char* bytes, TransactionRecord& t);
    void Encode(Record& rec) const;
    // Whether Encode over these 128 bytes would leave every one of them as
    // it is: the fields compared with the bytes where they lie, without an
    // encode.
    bool EncodesTo(const unsigned char* bytes) const;

    // A deleted transaction is overwritten with blanks; every record whose
    // symbol begins with four blanks is passed over.
    bool IsDeleted() const;

    // Field 18 as a trade holds it: the settlement date text (bytes
    // 109-116) and the SEC fee (bytes 117-124); bytes 125-128 are unused and
    // kept.
    std::string SettlementDate() const;
    double SecFee() const;
    void SetTradeExtra(std::string_view settlement_date, double sec_fee);
    // Field 18 as a cash transaction holds it: the 20-character text entered
    // with it; its first 12 characters name the security that an income or
    // "CASH" record belongs to.
    std::string CashText() const;
    std::string SourceSymbol() const;
    void SetCashText(std::string_view text);
    // Field 18 of a transfer: zeros in bytes 109-124 (125-128 kept).
    void SetTransferExtra();
};

// TR<acct>.EXT: record n belongs to transaction record n. A missing or
// unreadable record reads as blanks.
struct TransactionExtension {
    std::string memo = std::string(20, ' ');            // bytes 1-20, becomes the lot memo
    std::string settlement_date = std::string(8, ' ');  // bytes 21-28, as entered
    std::string text = std::string(32, ' ');            // bytes 29-60

    static TransactionExtension Decode(const Record& rec);
    void Encode(Record& rec) const;
};
// Reads record n of the extension file open on the unit; blanks when it
// cannot be read.
TransactionExtension ReadTransactionExtension(int unit, long n);

// HL.TMP / HL<acct>.REC record 1. The lots form a list in ascending holding
// key (cash first) starting at first_lot; deleted records form a free chain
// starting at next_free.
struct HoldingsHeader {
    int16_t first_lot = -1;                     // bytes 1-2, -1 = empty list
    std::string account = std::string(8, ' ');  // bytes 3-10
    int16_t records_in_use = 1;                 // bytes 11-12, header included
    int16_t next_free = 2;                      // bytes 13-14
    std::string label = std::string(8, ' ');    // bytes 15-22, the replay caller's label
    int16_t spare = 0;                          // bytes 23-24, written as 0 by the replay

    // A header whose first-lot, records-in-use or next-free field is 0 is a
    // file that was never filled: it reads as an empty list (first lot -1,
    // records in use 1, next free 2). The account and label are kept.
    static HoldingsHeader Decode(const Record& rec);
    void Encode(Record& rec) const;
    bool IsEmpty() const { return first_lot == -1; }
};
// Reads record 1 of the holdings file open on the unit; an empty header
// when it cannot be read.
HoldingsHeader ReadHoldingsHeader(int unit);

// One lot of HL.TMP / HL<acct>.REC (bytes 1-96; bytes 97-128 are kept).
struct HoldingRecord {
    int16_t next = -1;                            // 1: bytes 1-2, -1 ends the list
    double holding_key = 0;                       // 2: bytes 3-10, 0 for cash
    std::string symbol = std::string(12, ' ');    // 3: bytes 11-22, "CASH" for the cash lot
    int16_t security_record = 0;                  // 4: bytes 23-24, 2 for the cash lot
    std::string broker = std::string(8, ' ');     // 5: bytes 25-32
    std::string tax_lot = std::string(4, ' ');    // 6: bytes 33-36
    double quantity = 0;                          // 7: bytes 37-44, negative for a short lot
    double cost = 0;                              // 8: bytes 45-52
    std::string open_date = std::string(8, ' ');  // 9: bytes 53-60, MM/DD/YY
    double bond_interest = 0;                     // 10: bytes 61-68
    std::string reference = std::string(8, ' ');  // 11: bytes 69-76
    std::string memo = std::string(20, ' ');      // 12: bytes 77-96

    static HoldingRecord Decode(const Record& rec);
    // Decode into a lot that exists: its texts keep their storage, so a
    // walk over the lots allocates nothing per lot.
    static void DecodeInto(const Record& rec, HoldingRecord& h);
    void Encode(Record& rec) const;

    // Fields 7, 8 and 12 read and written in place, for loops that change
    // a lot without decoding the whole record; the other bytes are kept.
    static double QuantityOf(const Record& rec);
    static double CostOf(const Record& rec);
    static void SetQuantityAndCost(Record& rec, double quantity, double cost);
    static void SetMemo(Record& rec, std::string_view memo);
};

// The place of a lot in the list order, the one comparison of every
// routine that places a lot (the holdings replay and the market-value lot
// update): ascending holding key; within a key ascending symbol, compared
// as text byte by byte (the order a reader of a report expects); within a
// symbol ascending tax lot code, its first two characters byte by byte.
// The fields are packed into integers so that the order is one compare of
// three words: the key's bits ordered as the real orders (-0 as 0; NaNs
// fall beyond the infinities), the symbol's 12 bytes and the code's 2 as
// big-endian integers.
struct LotOrder {
    uint64_t key = 0;
    uint64_t symbol_high = 0;  // symbol bytes 1-8
    uint32_t symbol_low = 0;   // symbol bytes 9-12
    uint16_t code = 0;         // tax lot code bytes 1-2

    // symbol and tax_lot are blank padded (or cut) to 12 and 2 characters.
    static LotOrder Of(double holding_key, std::string_view symbol, std::string_view tax_lot);
    // The place of the lot record's bytes (key at 2, symbol at 10, code at 32).
    static LotOrder OfRecord(const Record& lot);
    friend auto operator<=>(const LotOrder&, const LotOrder&) = default;
};

// A deleted lot record: the next record of the free chain and the mark
// "$$$$" in bytes 3-6; the rest of the record keeps its bytes.
struct DeletedLot {
    int16_t next_free = 0;  // bytes 1-2

    static bool Is(const Record& rec);
    static DeletedLot Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// HL.EXT / HL<acct>.EXT: record n belongs to lot record n and carries the
// two texts of the transaction extension of the transaction that opened it.
struct HoldingExtension {
    std::string settlement_date = std::string(8, ' ');  // bytes 1-8
    std::string text = std::string(32, ' ');            // bytes 9-40

    static HoldingExtension Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// A lot of the mutual fund appraisal's HL.TMP: the lot of HoldingRecord
// (bytes 1-96) followed by the lot's total cost, which unlike the amount
// invested (field 8) includes reinvested purchases (bytes 97-104; bytes
// 105-128 are kept). The fund rebuild fills field 5 from the transaction's
// field 8 and field 10 with the added amount, as the ordinary replay does.
struct FundLotRecord {
    HoldingRecord lot;      // fields 1-12: bytes 1-96
    double total_cost = 0;  // 13: bytes 97-104

    static FundLotRecord Decode(const Record& rec);
    void Encode(Record& rec) const;

    // Field 13 read and written in place; the other bytes are kept.
    static double TotalCostOf(const Record& rec);
    static void SetTotalCost(Record& rec, double total_cost);
};

// GL.TMP / GL<acct>.REC record 1; gain k lies in record k + 1.
struct GainsHeader {
    std::string account = std::string(8, ' ');  // bytes 1-8
    std::string label = std::string(8, ' ');    // bytes 9-16
    int16_t count = 0;                          // bytes 17-18, number of gain records K

    static GainsHeader Decode(const Record& rec);
    void Encode(Record& rec) const;
};

// One realised gain (bytes 1-124; bytes 125-128 are kept).
struct GainRecord {
    float sale_date = 0;                              // 1: bytes 1-4, YYMMDD
    std::string open_date = std::string(8, ' ');      // 2: bytes 5-12, MM/DD/YY
    std::string description1 = std::string(32, ' ');  // 3: bytes 13-44
    std::string description2 = std::string(32, ' ');  // 4: bytes 45-76
    double gain = 0;                                  // 5: bytes 77-84, negative for a loss
    double proceeds = 0;                              // 6: bytes 85-92
    double cost = 0;                                  // 7: bytes 93-100
    double quantity = 0;                              // 8: bytes 101-108
    std::string symbol = std::string(12, ' ');        // 9: bytes 109-120
    int16_t short_cover = 0;                          // 10: bytes 121-122, 1 for CS
    int16_t security_record = 0;                      // 11: bytes 123-124

    static GainRecord Decode(const Record& rec);
    void Encode(Record& rec) const;

    // Field 11 read in place, and fields 3, 4 and 9 written in place (as
    // Encode puts them); the other bytes are kept.
    static int16_t SecurityRecordOf(const Record& rec);
    static void SetTexts(Record& rec, std::string_view description1, std::string_view description2,
                         std::string_view symbol);
};

}  // namespace records
