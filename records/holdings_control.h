#pragma once

// The working appraisal's work files: HCONTROL.FIL, the cursor of a run
// from one account to the next, and its variant of TEMP1.WRK, the valued
// lots of one account. Both are direct-access files of 256-byte records,
// fields little-endian and packed from offset 0 (offsets below count from
// 0); every record is encoded zero-filled to its 256 bytes.
//
// HCONTROL.FIL record 1 (212 bytes): 0 control index (I2; the slot of the
// manager code of the run, 0 none, -99 finished); 2 100 slot flags (I2);
// 202 pass budget (I2); 204 manager code 4; 208 value option (I2); 210
// output mode (I2). Record index + 1 (36 bytes): 0 account id 8; 8 report
// month (I2); 10 report year (I2, 100 + YY for 2000-2050); 12 account
// position (I2); 14 account count (I2); 16 program date 8; 24 report date
// 8; 32 report date number (R4).
//
// TEMP1.WRK record 1 (213 bytes): 0 account id 8; 8 pricing date 8; 16
// line count n (I2); 18 portfolio value (R8); 26 account name 32; 58
// largest market value (R8); 66 37 type-present flags (I2); 140 a blank
// byte; 141 run kind (I2: 1 composite, 8 manager run, 9 one account); 143
// R8 0; 151 total accrued interest (R8); 159 no-category-totals (I2); 161
// average years to maturity (R8); 169 second heading name 32; 201 second
// heading code 8; 209 investment objective 4. Records 2 to n+1 (214 bytes
// each), one valued lot: see HoldingsWorkRecord.

#include <array>
#include <cstdint>
#include <string>

#include "records/record.h"

namespace records {

inline constexpr const char* kHoldingsControlFile = "HCONTROL.FIL";
inline constexpr std::size_t kHoldingsControlLength = 256;
inline constexpr int kHoldingsSlotCount = 100;
// Control index of a finished run.
inline constexpr int16_t kHoldingsRunFinished = -99;
// Run kind words of the work header.
inline constexpr int16_t kHoldingsCompositeRun = 1;
inline constexpr int16_t kHoldingsManagerRun = 8;
inline constexpr int16_t kHoldingsAccountRun = 9;

// HCONTROL.FIL record 1.
struct HoldingsControlRecord {
    int16_t index = 0;
    std::array<int16_t, kHoldingsSlotCount> slot_flags{};  // [slot - 1]
    int16_t budget = 0;
    std::string manager = std::string(4, ' ');
    int16_t value_option = 0;
    int16_t output_mode = 0;

    static HoldingsControlRecord Decode(const Record& rec);
    Record Encode() const;
};

// The finished mark: record 1 whose first field is -99. The other bytes of
// the record as read are kept (rec is widened to 256 bytes).
void MarkHoldingsRunFinished(Record& rec);

// HCONTROL.FIL record index + 1.
struct AccountCursorRecord {
    std::string account = std::string(8, ' ');
    int16_t month = 0;
    int16_t year = 0;
    int16_t position = 0;
    int16_t count = 0;
    std::string program_date = std::string(8, ' ');
    std::string report_date = std::string(8, ' ');
    float date_number = 0;

    static AccountCursorRecord Decode(const Record& rec);
    Record Encode() const;
};

// TEMP1.WRK record 1 of the working appraisal.
struct HoldingsWorkHeader {
    std::string account = std::string(8, ' ');
    std::string pricing_date = std::string(8, ' ');
    int16_t count = 0;
    double portfolio_value = 0;
    std::string name = std::string(32, ' ');
    double largest_value = 0;
    std::array<int16_t, 37> type_flags{};  // [type index - 1]
    unsigned char reserved_byte = ' ';
    int16_t run_kind = 0;
    double reserved = 0;
    double accrued_interest = 0;
    int16_t no_category_totals = 0;
    double average_years = 0;
    std::string second_name = std::string(32, ' ');
    std::string second_code = std::string(8, ' ');
    std::string objective = std::string(4, ' ');

    static HoldingsWorkHeader Decode(const Record& rec);
    Record Encode() const;
};

// TEMP1.WRK records 2 to n+1 of the working appraisal: one valued lot.
struct HoldingsWorkRecord {
    int16_t type_index = 0;                           // 0
    int16_t category = 0;                             // 2
    std::string symbol_head = std::string(10, ' ');   // 4
    std::string symbol = std::string(12, ' ');        // 14
    double quantity = 0;                              // 26
    std::string description = std::string(32, ' ');   // 34
    float rate = 0;                                   // 66
    std::string trade_date = std::string(8, ' ');     // 70
    std::string description2 = std::string(32, ' ');  // 78
    double cost = 0;                                  // 110
    double market_value = 0;                          // 118
    int16_t percent_priced = 0;                       // 126
    float month_change = 0;                           // 128
    double reserved = 0;                              // 132
    float extended_yield = 0;                         // 140
    std::string type_code = std::string(4, ' ');      // 144
    int16_t reclassified = 0;                         // 148
    std::string call_date = std::string(8, ' ');      // 150
    double call_price = 0;                            // 158
    std::string rating1 = std::string(4, ' ');        // 166
    std::string rating2 = std::string(4, ' ');        // 170
    std::string insurance = std::string(5, ' ');      // 174
    std::string call_feature = std::string(4, ' ');   // 179
    std::string put_feature = std::string(4, ' ');    // 183
    std::string put_date = std::string(8, ' ');       // 187
    double put_price = 0;                             // 195
    std::string maturity_date = std::string(8, ' ');  // 203
    unsigned char extended = 0;                       // 211
    int16_t security = 0;                             // 212

    static HoldingsWorkRecord Decode(const Record& rec);
    Record Encode() const;
    // Decodes the 256 bytes of a record into a record kept from one lot to
    // the next: its texts keep their storage.
    static void DecodeFrom(const unsigned char* bytes, HoldingsWorkRecord& w);
    // Writes the record into 256 bytes, zero-filled beyond its fields.
    void EncodeTo(unsigned char* bytes) const;
};

}  // namespace records
