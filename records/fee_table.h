#pragma once

// The billing module's fee schedules, BILTABLE.DAT: 36 schedules numbered
// by billing code, record n (128 bytes) holding code n:
//   bytes 1-2    fee type (16-bit): 0 flat fee, 1 straight percentage,
//                2 incremental percentages
//   bytes 3-10   reserved, written as 0 and not read
//   bytes 11-90  five pairs of doubles: break point k at 11 + 16 (k - 1),
//                percentage k (a fraction) eight bytes after it
//   bytes 91-128 not used, written as zeros

#include <array>
#include <cstdint>

namespace records {

inline constexpr const char* kFeeTableFile = "BILTABLE.DAT";
inline constexpr int kFeeCodes = 36;
inline constexpr int kFeeSteps = 5;

struct FeeTable {
    std::array<int16_t, kFeeCodes> types{};
    std::array<std::array<double, kFeeSteps>, kFeeCodes> break_points{};
    std::array<std::array<double, kFeeSteps>, kFeeCodes> percentages{};
};

// Reads the fee table: everything starts at 0, then records 1 to 36 are
// read in order; the first record that cannot be read (a missing or short
// file) ends the reading and leaves the later codes at 0.
FeeTable Inptab();

// Writes records 1 to 36 from the table. Failures are not reported.
void Wrttab(const FeeTable& table);

}  // namespace records
