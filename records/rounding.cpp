#include "records/rounding.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "records/layout.h"

namespace records {

namespace {

// The layout "(F20.d)". For one digit it is built by writing the digit
// into the layout text, once per number of decimals; the texts live for
// the whole run so that rounding, which runs for every amount of a
// holdings replay, builds nothing per call.
std::string_view FixedLayout(int decimals) {
    static const std::array<std::string, 10> kOneDigit = [] {
        std::array<std::string, 10> layouts;
        for (int d = 0; d < 10; ++d) layouts[d] = Write("('(F20.',I1,')')", {static_cast<long long>(d)});
        return layouts;
    }();
    if (decimals >= 0 && decimals <= 9) return kOneDigit[decimals];
    return "(F20.10)";
}

// Writes the value under the layout and reads the 20 positions back. When
// the value does not fit, the field holds asterisks, the read fails and
// the value keeps what it was.
// Kept out of line: the binary rounding below, which decides nearly every
// value, then needs no stack frame of its own for the rare fallback.
template <class T>
[[gnu::noinline]] void RoundThroughLayout(T& value, int decimals) {
    const std::string_view layout = FixedLayout(decimals);
    thread_local std::string work(32, ' ');
    WriteInto(work, layout, {static_cast<double>(value)});
    Read(std::string_view(work).substr(0, 20), layout, {&value});
}

constexpr std::array<double, 11> kPowersOfTen = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

// What the write and read above give, worked out in binary: the layout
// prints the multiple n of 10^-d nearest to the exact value (a tie away
// from zero, a zero without its sign), and reading that text back gives
// the double nearest to n / 10^d, which is what the division n / 10^d
// gives (both are the correctly rounded quotient). The product
// |value| x 10^d is exact to half a unit in its last place, so the
// rounding is decided here unless that product lies within a unit of a
// half; such values (and those too large for the check, whose text may
// not fit either) are left to the layout. False: not decided.
bool RoundInBinary(double& value, int decimals) {
    const double scale = kPowersOfTen[static_cast<std::size_t>(decimals)];
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
    // it the nearest whole number is the one a tie away from zero gives.
    const double n = (scaled + 0x1p52) - 0x1p52;
    const double off = std::fabs(scaled - n);
    // scaled is a number here (NaN failed above): no call to fmax needed.
    const double unit = (scaled > 1.0 ? scaled : 1.0) * 0x1p-50;
    if (0.5 - off <= unit) return false;
    if (n == 0) {
        value = 0.0;
        return true;
    }
    const double rounded = n / scale;
    value = value < 0 ? -rounded : rounded;
    return true;
}

template <class T>
void RoundThrough(T& value, int decimals) {
    RoundThroughLayout(value, decimals);
}

template <>
void RoundThrough(double& value, int decimals) {
    if (decimals >= 0 && decimals <= 10 && RoundInBinary(value, decimals)) return;
    RoundThroughLayout(value, decimals);
}

bool Honoured(int decimals) {
    return decimals >= 4 && decimals <= 8;
}

// The system's number of decimals: option 81 (byte 81 of the options
// record) when it is 4 to 8, else 4. Read on every call, as the options
// dialog may change it between two roundings.
int OptionDecimals() {
    return SystemDecimals(Rdopts());
}

}  // namespace

void Round1(float& value) {
    RoundThrough(value, OptionDecimals());
}
void Drndn(double& value) {
    RoundThrough(value, OptionDecimals());
}

void Roundn(float& value, int16_t& decimals) {
    if (!Honoured(decimals)) decimals = 4;
    RoundThrough(value, decimals);
}

void Drnd10(double& value) {
    RoundThrough(value, 10);
}
void Drnd3(double& value) {
    RoundThrough(value, 3);
}
void Drnd2(double& value) {
    RoundThrough(value, 2);
}
void Srnd2(float& value) {
    RoundThrough(value, 2);
}
void Drnd0(double& value) {
    RoundThrough(value, 0);
}
void Srnd0(float& value) {
    RoundThrough(value, 0);
}

void RoundToDecimals(double& value, int decimals) {
    RoundThrough(value, decimals >= 0 && decimals <= 10 ? decimals : 10);
}

bool TryRoundToDecimals(double& value, int decimals) {
    return decimals >= 0 && decimals <= 10 && RoundInBinary(value, decimals);
}

int SystemDecimals(const Options& options) {
    const int option81 = options[80];
    return Honoured(option81) ? option81 : 4;
}

}  // namespace records
