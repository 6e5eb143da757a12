#pragma once

// Rounding of quantities, prices and amounts. Each routine rounds its
// argument in place by writing it under a fixed-point layout of 20
// positions and d decimals and reading that text back, so a stored value
// is exactly what a report prints with d decimals. A value too wide for
// its layout (the layout would print asterisks) is left unchanged.

#include <cmath>
#include <cstdint>

#include "records/common_file.h"

namespace records {

namespace rounding_detail {

inline constexpr double kPowersOfTen[11] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

// The whole number nearest to the exact product magnitude x scale (a tie
// upwards), scaled being that product rounded and below 2^50: for the
// products that lie within a unit of their last place of a half. Out of
// line: rare.
double NearestWholeNearHalf(double magnitude, double scale, double scaled);

// The multiple n of 10^-d nearest to the exact value of |value|, the
// number the layout prints under Fw.d (a tie away from zero), worked out in
// binary: n as a whole number. The product |value| x 10^d is exact to half
// a unit in its last place, so n is decided from it unless it lies within
// a unit of a half, where the exact product decides. Values too large for
// the check (whose text may not fit 20 positions either) and NaN are left
// to the layout: false, not decided. Inline: the replay rounds every
// amount it touches, and the call would cost as much as the arithmetic.

inline bool NearestMultiple(double value, int decimals, double& n) {
    const double scale = kPowersOfTen[decimals];
    const double scaled = std::fabs(value) * scale;
    // 2^50: n has at most 16 digits, so the text always fits in 20
    // positions, and the fraction below is exact. NaN fails here too.
    if (!(scaled < 1125899906842624.0)) return false;
    // The whole number nearest to scaled without floor, which the baseline
    // instruction set has no instruction for: adding 2^52 and taking it
    // away again rounds to a whole number (to nearest, the default mode),
    // and the distance from it, at most a half, is exact. The distance
    // from a half, 0.5 - off, is the |fraction - 0.5| of the fraction
    // above the whole number below, rounded once from the same exact
    // value, so the check against a tie decides as it always has; outside
    // it the nearest whole number is the one a tie away from zero gives,
    // and inside it the exact product decides.
    n = (scaled + 0x1p52) - 0x1p52;
    const double off = std::fabs(scaled - n);
    // scaled is a number here (NaN failed above): no call to fmax needed.
    const double unit = (scaled > 1.0 ? scaled : 1.0) * 0x1p-50;
    if (0.5 - off <= unit) n = NearestWholeNearHalf(std::fabs(value), scale, scaled);
    return true;
}

// What writing under "(F20.d)" and reading back gives, worked out in
// binary: the layout prints the multiple n of 10^-d nearest to the exact
// value (a zero without its sign), and reading that text back gives the
// double nearest to n / 10^d, which is what the division n / 10^d gives
// (both are the correctly rounded quotient). False: not decided, value
// unchanged.
inline bool RoundInBinary(double& value, int decimals) {
    double n = 0;
    if (!NearestMultiple(value, decimals, n)) return false;
    if (n == 0) {
        value = 0.0;
        return true;
    }
    const double rounded = n / kPowersOfTen[decimals];
    value = value < 0 ? -rounded : rounded;
    return true;
}

// The layout's write and read, for what the binary check leaves undecided.
void RoundThroughLayout(double& value, int decimals);

// Drops the system decimals kept for the run under way, so that the next
// Round1 or Drndn reads the options record again; Wropts calls it.
void ForgetSystemDecimals();

}  // namespace rounding_detail

// To the system's number of decimals: option 81 of the options record
// when it is 4 to 8, else 4. Within a run (records/files.h, RunFileCache)
// the option is read once, at the run's first call, and again only after
// Wropts; outside a run at every call.
void Round1(float& value);
void Drndn(double& value);

// To the given number of decimals; a number outside 4 to 8 is replaced by
// 4 in the caller's variable and then used.
void Roundn(float& value, int16_t& decimals);

inline void Drnd10(double& value) {  // 10 decimals
    if (!rounding_detail::RoundInBinary(value, 10)) rounding_detail::RoundThroughLayout(value, 10);
}
inline void Drnd3(double& value) {  // 3 decimals
    if (!rounding_detail::RoundInBinary(value, 3)) rounding_detail::RoundThroughLayout(value, 3);
}
inline void Drnd2(double& value) {  // 2 decimals
    if (!rounding_detail::RoundInBinary(value, 2)) rounding_detail::RoundThroughLayout(value, 2);
}
void Srnd2(float& value);           // 2 decimals
inline void Drnd0(double& value) {  // whole number
    if (!rounding_detail::RoundInBinary(value, 0)) rounding_detail::RoundThroughLayout(value, 0);
}
void Srnd0(float& value);  // whole number

// Rounds through "(F20.d)" for d = 0 to 10, as the routines above do; a
// value too wide for the layout stays unchanged. For loops that take the
// number of decimals once instead of reading the options at every call.
inline void RoundToDecimals(double& value, int decimals) {
    if (decimals < 0 || decimals > 10) decimals = 10;
    if (!rounding_detail::RoundInBinary(value, decimals))
        rounding_detail::RoundThroughLayout(value, decimals);
}

// RoundToDecimals worked out in binary only: true (value rounded) when
// the result is certain without the layout, false (value unchanged) when
// only the layout can tell (a value within a hair of a tie, or too large).
// For 0 to 10 decimals.
inline bool TryRoundToDecimals(double& value, int decimals) {
    return decimals >= 0 && decimals <= 10 && rounding_detail::RoundInBinary(value, decimals);
}

// The system's number of decimals in an options record: option 81 when it
// is 4 to 8, else 4.
int SystemDecimals(const Options& options);

}  // namespace records
