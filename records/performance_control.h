#pragma once

// PCONTROL.FIL, the state of one performance run carried from one pass of
// the performance module to the next: a direct-access file of 256-byte
// records in the data directory. Record 10 is the run header, records 11
// to 110 the account slots (record 10 + n for slot n). Fields are
// little-endian and packed from offset 0 (offsets below count from 0).
//
// Record 10, the run header (224 bytes):
//    0 current slot (I2; 10 a single account, 1 a composite, -99 finished);
//    2 100 slot flags (I2); 202 remaining accounts (I2; a composite writes
//   its member count); 204 account written (I2); 206 manager code 4;
//   210 frequency 4 ("M   " or "Q   "); 214 output mode (I2); 216 start
//   date MM/DD/YY.
// Record 10 + n, the account record (136 bytes): see PerformanceAccount.
//
// Every record is encoded zero-filled to its 256 bytes; one codec serves
// every writer and reader of the file.

#include <array>
#include <cstdint>
#include <string>

#include "records/index_slot.h"
#include "records/record.h"

namespace records {

inline constexpr const char* kPerformanceControlFile = "PCONTROL.FIL";
inline constexpr std::size_t kPerformanceRecordLength = 256;
inline constexpr long kPerformanceHeaderRecord = 10;
inline constexpr int kPerformanceSlotCount = 100;
// Current slot of a single-account run, of a composite run and of a
// finished run.
inline constexpr int16_t kPerformanceSingleSlot = 10;
inline constexpr int16_t kPerformanceCompositeSlot = 1;
inline constexpr int16_t kPerformanceFinished = -99;
// The initial-value word of an account without a starting value.
inline constexpr double kNoInitialValue = -99999.99;

// Record 10.
struct PerformanceHeader {
    int16_t slot = 0;
    std::array<int16_t, kPerformanceSlotCount> slot_flags{};  // [n - 1]
    int16_t remaining = 0;
    int16_t written = 0;
    std::string manager = std::string(4, ' ');
    std::string frequency = std::string(4, ' ');
    int16_t output_mode = 0;
    std::string start_date = std::string(8, ' ');

    static PerformanceHeader Decode(const Record& rec);
    Record Encode() const;
};

// Record 10 + n, and the performance fields of an account as Ckct75
// (records/lookups.h) reads them from ACCOUNT.REC. Comments give the
// field's byte offset in the record; the fields after `choice` are the
// account's own and are not stored in PCONTROL.FIL.
struct PerformanceAccount {
    std::string account = std::string(8, ' ');        // 0
    int16_t last_month = 0;                           // 8
    int16_t last_year = 0;                            // 10, two digits (100 + YY from 2000)
    int16_t index_position = 0;                       // 12, cursor in ACCOUNT.IDX
    int16_t index_count = 0;                          // 14
    std::string end_date = std::string(8, ' ');       // 16, MM/DD/YY
    std::string end_date_copy = std::string(8, ' ');  // 24
    float end_date_number = 0;                        // 32, YYMMDD (100 + YY below 51)
    std::string title = std::string(32, ' ');         // 36
    std::string manager = std::string(4, ' ');        // 68, the account's manager code
    std::string opening_date = std::string(8, ' ');   // 72
    double initial_value = kNoInitialValue;           // 80
    float index1_base = 0;                            // 88
    float index2_base = 0;                            // 92
    int16_t carry_month = 0;                          // 96
    int16_t carry_year = 0;                           // 98
    double carried_gain = 0;                          // 100
    float carried_return = 0;                         // 108, percent
    float figure_b = 0;                               // 112
    int16_t status = 0;                               // 116, above 0 clears the slot
    std::string selection = std::string(4, ' ');      // 118, "A   " or "S   "
    float figure_c = 0;                               // 122
    int16_t end_day = 0;                              // 126
    int16_t end_month = 0;                            // 128
    int16_t history = 0;                              // 130, 1 history records, 0 replay
    int16_t fiscal_month = 0;                         // 132
    int16_t choice = 0;                               // 134, asset-class choice 0-5

    int position = 0;  // entry in ACCOUNT.IDX; 0 when absent
    std::array<std::string, 4> fields{std::string(8, ' '), std::string(8, ' '), std::string(8, ' '),
                                      std::string(8, ' ')};  // ACCOUNT.REC R7 bytes 1-32
    IndexSlot index1;                                        // R8 bytes 1-36
    IndexSlot index2;                                        // R8 bytes 37-72

    static PerformanceAccount Decode(const Record& rec);
    Record Encode() const;
};

// Reads record 10. False when the file or the record is missing.
bool ReadPerformanceHeader(PerformanceHeader& header);
// Reads record 10 + slot (slot 1 to 100). False when it cannot be read.
bool ReadPerformanceAccount(int slot, PerformanceAccount& account);
// Write the whole record, creating the file when needed.
bool WritePerformanceHeader(const PerformanceHeader& header);
bool WritePerformanceAccount(int slot, const PerformanceAccount& account);
// Marks the run finished: record 10 is read, its slot set to -99 and the
// whole record written back, so the other header fields are kept.
bool WritePerformanceFinished();

}  // namespace records
