#pragma once

// Holdings as of a date. Creatt replays an account's transactions
// (TR<acct>.REC) into the work files that carry no account in their names:
// HL.TMP (the tax lots and the cash balance), GL.TMP (the realised gains,
// in write mode) and HL.EXT (the lots' texts, under option 64). It is the
// one place that decides what each transaction code does to holdings:
// reports run it for their report date, and the rebuild after posting
// (Rbldhl) runs it over every transaction and puts the result in place of
// the account's stored files.
//
// Each replay deletes and rebuilds the work files, so a caller reads them
// before anything else runs a replay.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/replay_lots.h"
#include "records/account_records.h"
#include "records/common_file.h"

namespace engine {

struct ReplayCode;  // replay_steps.h

// Status of a replay.
enum ReplayStatus : int16_t {
    kReplayDone = 0,
    kLotExceeded = 1,      // a closing transaction exceeds the quantity of its lot
    kLotNotFound = 2,      // a closing transaction finds no lot with its lot code
    kWorkFilesFailed = 3,  // the work files could not be written (a write failed,
                           // or the holdings file ran out of 16-bit record numbers)
};

// The as-of date that takes every transaction.
inline constexpr float kEveryTransaction = 9999999.0f;

// The work file names (Paknam with a blank account).
std::string HoldingsWorkName();  // HL.TMP
std::string GainsWorkName();     // GL.TMP
std::string LotTextsWorkName();  // HL.EXT

// Rebuilds the account's lots, cash and (write mode) gains as of the date.
//  account: identifier, up to 6 characters, blank padded to 8.
//  label: 8 bytes written unchanged into the HL.TMP and GL.TMP headers.
//  as_of: YYMMDD with the two-digit-year window (kEveryTransaction: all).
//  write_mode: non-zero writes GL.TMP and sets field 17 (the gain record
//    number) of each replayed transaction in TR<acct>.REC.
//  exclude_day: 0 takes transactions dated on or before as_of, non-zero
//    only those before it.
//  status: ReplayStatus.
// Transactions are replayed by date; within a day cash-only codes and SP
// first, then B, SS and SI, then S, CS and SO, each group in filing order.
// A closing transaction that exceeds its lot or finds none stops the replay
// (status 1 or 2): HL.TMP holds the lots as far as they were built, and
// TR<acct>.REC is left as it was. HL.TMP always exists after the call: an
// account with nothing to replay gets an empty holdings file.
void Creatt(std::string_view account, std::string_view label, float as_of, int16_t write_mode,
            int16_t exclude_day, int16_t& status);

// Field 17 of one transaction as a replay in write mode set it.
struct GainLink {
    long record = 0;  // record number in TR<acct>.REC
    int16_t gain_record = 0;
};

// A replay whose field-17 rewrites are held back: links holds the
// transactions whose field 17 changes, to be written with WriteGainLinks
// once the caller has put the rebuilt files in place. Creatt is this
// followed by WriteGainLinks when the status is 0.
struct ReplayResult {
    int16_t status = kReplayDone;
    std::vector<GainLink> links;
    // The replay kept lot texts in HL.EXT (option 64); without them it
    // left no HL.EXT.
    bool lot_texts = false;
};
// A lot whose quantity comes this close to 0 is closed.
inline constexpr double kClosedLotQuantity = 0.0005;

// The transactions a replay as of as_of takes from a transaction file's
// bytes (count whole records; the transactions are records 2 to the last
// record that record 1 names): those dated on or before as_of (before it when exclude_day is set), not
// deleted and not marked "N", in the replay's order - by date, then
// cash-only codes and SP before openings before closings on one day, then
// by record number. Each entry packs the three into one integer, so the
// order is one compare; ReplayEntryRecord gives its record number.
void ReplayOrder(const unsigned char* file, long count, float as_of, bool exclude_day,
                 std::vector<uint64_t>& entries);
inline long ReplayEntryRecord(uint64_t entry) {
    return static_cast<long>(entry & 0xFFFF);
}

ReplayResult ReplayTransactions(std::string_view account, std::string_view label, float as_of,
                                int16_t write_mode, int16_t exclude_day);
// Writes field 17 of the transactions; false when a record could not be
// read or written.
bool WriteGainLinks(std::string_view account, const std::vector<GainLink>& links);

// Fills a transaction's texts from the lots of HL.TMP as the last replay
// left them: when the first five characters of the memo (20) are blank and
// the symbol does not begin with "CASH", the memo of the first lot with the
// symbol (12) and tax lot code (4) goes into memo and, under option 64, the
// two texts of its HL.EXT record into date (8) and description (32).
// Without such a lot the texts stay as they were.
void Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
            std::string& description, const records::Options& options);

// The replay's work area: the lot list of HL.TMP (with HL.EXT) and GL.TMP,
// to which Updhlt applies one transaction at a time.
class HoldingsWork {
public:
    HoldingsWork(std::string_view account, std::string_view label, const records::Options& options,
                 bool write_mode);

    // Starts the work files anew: HL.TMP with the header of an empty list,
    // GL.TMP empty in write mode, HL.EXT empty under option 64.
    void Start();
    // Works on HL.TMP (and HL.EXT, GL.TMP) as they stand.
    void Resume();

    // The two description lines of the security, for the gain records.
    void SetSecurity(std::string_view description1, std::string_view description2);
    // Instead of SetSecurity: the gain records take the description lines
    // of the sale's security record (field 15) from SECURITY.REC, each
    // record read once, and only when a gain is written.
    void ReadSecurities();

    // Keeps HL.TMP, HL.EXT and GL.TMP in memory from now on; Flush writes
    // each with one write. What is on disk after Flush is what writing
    // every record as it changed would have left.
    void DeferWrites();
    bool Flush();

    // Applies the transaction. code is its code's class, sign and transfer
    // (records::Code); memo (20), date (8) and description (32) its texts.
    // In write mode a closing sale's gain goes to GL.TMP and its record
    // number into the transaction's field 17 (0 otherwise). reserved goes
    // into the last word of the HL.TMP header. status: ReplayStatus.
    void Updhlt(records::TransactionRecord& transaction, int16_t reserved, const ReplayCode& code,
                int16_t& status, std::string_view memo, std::string_view date, std::string_view description);

    // Ftele2 on the work area in memory.
    void Ftele2(std::string_view symbol, std::string_view tax_lot, std::string& memo, std::string& date,
                std::string& description);

    // True once a work file could not be written.
    bool failed() const { return failed_ || lots_.failed(); }
    LotChain& lots() {
        header_current_ = false;
        return lots_;
    }

private:
    // Writes record n (2 on) of GL.TMP: at once, or deferred into the
    // window of records not yet written.
    void WriteGainRecord(long n, const records::Record& rec);
    // Writes the window's changed records and empties it.
    void FlushGains();
    // Encodes the gains header (the gain count) into record 1 and writes it.
    void WriteGainsHeader();
    void ResetGains();
    // The two description lines of a security record, one after the other
    // (64 characters; ReadSecurities).
    std::string_view SecurityTexts(int16_t record);
    // Writes the gain of a closing sale to GL.TMP and its record number
    // into the transaction's field 17.
    void WriteGain(records::TransactionRecord& t, const records::HoldingRecord& lot, double quantity,
                   int16_t sign);
    // Takes a record for a new lot from the free chain or the end of the
    // file; 0 when the chain's head is not a free record (the update ends)
    // and -1 when no 16-bit record number is left.
    int16_t NewRecord();
    // Updhlt's steps: a trade on the lot found, a new lot, the cash lot's
    // balance. Each tells whether the update goes on, ends (status set), or
    // ends silently (no record free for a new lot).
    enum class Step { kGoOn, kEnd, kEndSilently };
    // A record for a new lot into n (NewRecord); when there is none, the
    // step that ends the update.
    Step TakeNewRecord(int16_t& n, int16_t& status);
    Step ChangeLot(records::TransactionRecord& t, const LotChain::Place& place, const ReplayCode& code,
                   int16_t& status, std::string_view memo, std::string_view date, std::string_view description);
    Step AddLot(const records::TransactionRecord& t, const ReplayCode& code, int16_t& status,
                std::string_view memo, std::string_view date, std::string_view description);
    Step PostCash(const records::TransactionRecord& t, const ReplayCode& code, int16_t& status);

    std::string account_;
    std::string label_;
    records::GainRecord gain_;         // the gain being written
    records::HoldingRecord gain_lot_;  // what the gain takes from its lot
    records::HoldingRecord new_lot_;   // a new lot being encoded
    records::Record gain_bytes_;       // and its record
    records::Options options_;
    bool write_mode_;
    int decimals_;
    LotChain lots_;
    std::unique_ptr<records::DirectFile> gains_file_;
    // GL.TMP: its header (record 1; empty until written or read) and,
    // deferred, the window of records from gains_window_ on (record n at
    // (n - gains_window_) x 128) not yet written, of which those from
    // first to last dirty have changed. The window is written out when it
    // reaches kGainsChunk bytes.
    static constexpr std::size_t kGainsChunk = 64 * 1024;
    records::Record gains_header_;
    bool gains_header_pending_ = false;
    std::vector<unsigned char> gains_;
    long gains_window_ = 2;
    long gains_first_dirty_ = 0;
    long gains_last_dirty_ = 0;
    bool defer_ = false;
    int16_t gain_count_ = 0;
    // Description lines by security record (ReadSecurities).
    bool read_securities_ = false;
    // SECURITY.REC mapped: the lines are read where they lie.
    std::unique_ptr<records::MappedRecords> securities_;
    std::string description1_ = std::string(32, ' ');
    std::string description2_ = std::string(32, ' ');
    bool failed_ = false;
    // The bits of the cash balance last written (rounded to 2 decimals);
    // a NaN's bits at first, which no balance read back has.
    uint64_t cash_written_ = 0x7FF8DEADBEEF0001ull;
    // The working header is record 1 as last written by Updhlt.
    bool header_current_ = false;
};

}  // namespace engine
