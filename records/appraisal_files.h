#pragma once

// The appraisal work files of the position reports: TEMP1.WRK, the valued
// holdings of one account (or one composite group), and CCONTROL.FIL, the
// cursor of an account appraisal run. Both are direct-access files of
// 256-byte records, fields little-endian and packed from offset 0 (offsets
// below count from 0).
//
// Every record is encoded zero-filled to its 256 bytes, so bytes that a
// writer does not own never carry data from an earlier file. One codec
// serves every writer and reader of these files.
//
// TEMP1.WRK record 1, the account header (175 bytes):
//    0 account id 8; 8 report date MM/DD/YY; 16 holding count n (I2);
//   18 total market value (R8); 26 account name 32; 58 largest lot value
//   (R8); 66 37 type flags (I2, type numbers 1-37); 140 a byte; 141 record
//   order (I2); 143 last accrued interest (R8); 151 total accrued interest
//   (R8); 159 combined flag (I2); 161 page word (I2); 163 average years to
//   maturity (R8); 171 a 4-byte word of the account's fourth record.
// The working appraisal header has the same fields to offset 160, then the
// average years to maturity (R8) at 161, a 32-character text at 169, an
// 8-character text at 201 and a 4-byte word at 209.
// Records 2 to n+1, one valued holding each (ValuedHolding).
//
// CCONTROL.FIL record 1 (210 bytes): run slot N (I2), 100 slot flags (I2),
// countdown (I2), manager code 4, output mode (I2). Record N+1 (68 bytes):
// the account the run valued last (AppraisalControlAccount).

#include <array>
#include <cstdint>
#include <string>

#include "records/record.h"

namespace records {

inline constexpr const char* kAppraisalWorkFile = "TEMP1.WRK";
inline constexpr const char* kAppraisalControlFile = "CCONTROL.FIL";
inline constexpr std::size_t kWorkRecordLength = 256;
// Security type numbers 1-37: the place of the type character in
// "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ " (37 a blank).
inline constexpr int kTypeNumberCount = 37;
// Slots of the control file: one per manager code of the table.
inline constexpr int kControlSlotCount = 100;
// Run slot of a finished run.
inline constexpr int16_t kRunFinished = -99;
// Record order word of the account appraisal's own writer: the reader
// orders the holdings itself.
inline constexpr int16_t kReaderOrders = 9;

// TEMP1.WRK record 1 as the appraisal pages read it.
struct AppraisalHeader {
    std::string account = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');
    int16_t count = 0;
    double total_market_value = 0;
    std::string name = std::string(32, ' ');
    double largest_value = 0;
    std::array<int16_t, kTypeNumberCount> type_flags{};  // [number - 1]
    unsigned char spare = 0;                             // offset 140
    int16_t order = 0;
    double last_accrued = 0;
    double total_accrued = 0;
    int16_t combined = 0;
    int16_t page_word = 0;
    double average_years = 0;
    std::array<unsigned char, 4> account_word{};

    static AppraisalHeader Decode(const Record& rec);
    Record Encode() const;
};

// TEMP1.WRK record 1 as the working appraisal reads it.
struct WorkingAppraisalHeader {
    std::string account = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');
    int16_t count = 0;
    double total_market_value = 0;
    std::string name = std::string(32, ' ');
    double largest_value = 0;
    std::array<int16_t, kTypeNumberCount> type_flags{};
    unsigned char spare = 0;
    int16_t order = 0;
    double last_accrued = 0;
    double total_accrued = 0;
    int16_t combined = 0;
    double average_years = 0;                   // offset 161
    std::string text32 = std::string(32, ' ');  // offset 169
    std::string text8 = std::string(8, ' ');    // offset 201
    std::array<unsigned char, 4> word{};        // offset 209

    static WorkingAppraisalHeader Decode(const Record& rec);
    Record Encode() const;
};

// The header written at the start of an account (and by a reader that is
// done with the file): zero bytes, which read as two R8 zeros and a count
// of 0.
Record EmptyAppraisalHeader();

// TEMP1.WRK records 2 to n+1: one valued holding (items 1-31 and the fund
// writer's item 32).
struct ValuedHolding {
    int16_t type_number = 0;                            // 1: 0
    int16_t category = 0;                               // 2: 2
    std::string sort_key = std::string(10, ' ');        // 3: 4
    std::string symbol = std::string(12, ' ');          // 4: 14
    double quantity = 0;                                // 5: 26
    std::string description1 = std::string(32, ' ');    // 6: 34
    float rate = 0;                                     // 7: 66, percent
    std::string lot_date = std::string(8, ' ');         // 8: 70, MM/DD/YY
    std::string description2 = std::string(32, ' ');    // 9: 78
    double cost = 0;                                    // 10: 110
    double market_value = 0;                            // 11: 118
    int16_t per_hundred = 0;                            // 12: 126
    float month_change = 0;                             // 13: 128
    double combining_key = 0;                           // 14: 132
    float extension_percent = 0;                        // 15: 140
    std::string type_code = std::string(4, ' ');        // 16: 144
    int16_t matures_within_year = 0;                    // 17: 148
    std::string extension_date1 = std::string(8, ' ');  // 18: 150
    double extension_value1 = 0;                        // 19: 158
    std::array<unsigned char, 4> extension_word2{};     // 20: 166
    std::array<unsigned char, 4> extension_word3{};     // 21: 170
    std::string extension_code = std::string(5, ' ');   // 22: 174
    std::array<unsigned char, 4> extension_word4{};     // 23: 179
    std::array<unsigned char, 4> extension_word5{};     // 24: 183
    std::string extension_date2 = std::string(8, ' ');  // 25: 187
    double extension_value2 = 0;                        // 26: 195
    std::string maturity_date = std::string(8, ' ');    // 27: 203
    unsigned char extension_read = 0;                   // 28: 211
    int16_t security_last_word = 0;                     // 29: 212
    float performance = 0;                              // 30: 214
    int16_t security_first_word = 0;                    // 31: 218
    double cost_basis = 0;                              // 32: 220, the fund appraisal's

    static ValuedHolding Decode(const Record& rec);
    // Decodes the kWorkRecordLength bytes of a record into a holding that
    // exists: its texts keep their storage, so a reader that goes through
    // many holdings allocates nothing per holding.
    static void DecodeFrom(const unsigned char* bytes, ValuedHolding& h);
    Record Encode() const;
    // Encodes into a record that exists, keeping its storage.
    void EncodeInto(Record& r) const;
};

// CCONTROL.FIL record 1.
struct AppraisalControlHeader {
    int16_t slot = 0;                                     // N
    std::array<int16_t, kControlSlotCount> slot_flags{};  // [N - 1]
    int16_t countdown = 0;
    std::string manager = std::string(4, ' ');
    int16_t output_mode = 0;

    static AppraisalControlHeader Decode(const Record& rec);
    Record Encode() const;
};

// The finished mark: record 1 with N = -99 and nothing else.
Record FinishedControlHeader();

// CCONTROL.FIL record N+1.
struct AppraisalControlAccount {
    std::string account = std::string(8, ' ');
    int16_t month = 0;
    int16_t year = 0;  // 100 + YY for 2000-2050
    int16_t index = 0;
    int16_t count = 0;
    std::array<unsigned char, 8> carried{};
    std::string report_date = std::string(8, ' ');
    float date_number = 0;
    std::string name = std::string(32, ' ');

    static AppraisalControlAccount Decode(const Record& rec);
    Record Encode() const;
};

// The mutual fund appraisal's names for the same records: its account
// header and its holding lines, whose item 32 (offset 220) it writes.
using FundWorkHeader = AppraisalHeader;
using FundWorkLine = ValuedHolding;

}  // namespace records
