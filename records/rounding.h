#pragma once

// Rounding of quantities, prices and amounts. Each routine rounds its
// argument in place by writing it under a fixed-point layout of 20
// positions and d decimals and reading that text back, so a stored value
// is exactly what a report prints with d decimals. A value too wide for
// its layout (the layout would print asterisks) is left unchanged.

#include <cstdint>

#include "records/common_file.h"

namespace records {

// To the system's number of decimals: option 81 of the options record
// when it is 4 to 8, else 4.
void Round1(float& value);
void Drndn(double& value);

// To the given number of decimals; a number outside 4 to 8 is replaced by
// 4 in the caller's variable and then used.
void Roundn(float& value, int16_t& decimals);

void Drnd10(double& value);  // 10 decimals
void Drnd3(double& value);   // 3 decimals
void Drnd2(double& value);   // 2 decimals
void Srnd2(float& value);    // 2 decimals
void Drnd0(double& value);   // whole number
void Srnd0(float& value);    // whole number

// Rounds through "(F20.d)" for d = 0 to 10, as the routines above do; a
// value too wide for the layout stays unchanged. For loops that take the
// number of decimals once instead of reading the options at every call.
void RoundToDecimals(double& value, int decimals);

// RoundToDecimals worked out in binary only: true (value rounded) when
// the result is certain without the layout, false (value unchanged) when
// only the layout can tell (a value within a hair of a tie, or too large).
// For 0 to 10 decimals.
bool TryRoundToDecimals(double& value, int decimals);

// The system's number of decimals in an options record: option 81 when it
// is 4 to 8, else 4.
int SystemDecimals(const Options& options);

}  // namespace records
