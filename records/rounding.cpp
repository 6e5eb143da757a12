#include "records/rounding.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"

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
// Kept out of line: the binary rounding (records/rounding.h), which decides
// nearly every value, then needs no stack frame of its own for the rare
// fallback.
template <class T>
[[gnu::noinline]] void RoundThroughLayout(T& value, int decimals) {
    const std::string_view layout = FixedLayout(decimals);
    thread_local std::string work(32, ' ');
    WriteInto(work, layout, {static_cast<double>(value)});
    Read(std::string_view(work).substr(0, 20), layout, {&value});
}

template <class T>
void RoundThrough(T& value, int decimals) {
    RoundThroughLayout(value, decimals);
}

template <>
void RoundThrough(double& value, int decimals) {
    if (decimals >= 0 && decimals <= 10 && rounding_detail::RoundInBinary(value, decimals)) return;
    RoundThroughLayout(value, decimals);
}

bool Honoured(int decimals) {
    return decimals >= 4 && decimals <= 8;
}

// The system's number of decimals as last read within a run, and the run
// (CurrentRun) it was read in; 0: not read in the run under way.
struct RunDecimals {
    long run = 0;
    int decimals = 4;
};
RunDecimals& KeptDecimals() {
    static RunDecimals kept;
    return kept;
}

// The system's number of decimals (SystemDecimals). Within a run the
// options record is read at the run's first rounding and the value kept
// until the run ends or the program writes the options record again;
// outside a run it is read at every call, as the options dialog or a
// direct write of COMMON.FIL may change it between two roundings.
int OptionDecimals() {
    const long run = CurrentRun();
    if (run == 0) return SystemDecimals(Rdopts());
    RunDecimals& kept = KeptDecimals();
    if (kept.run != run) {
        kept.decimals = SystemDecimals(Rdopts());
        kept.run = run;
    }
    return kept.decimals;
}

}  // namespace

namespace rounding_detail {

void RoundThroughLayout(double& value, int decimals) {
    records::RoundThroughLayout(value, decimals);
}

double NearestWholeNearHalf(double magnitude, double scale, double scaled) {
    // The product's rounding error, exact (a product of two doubles that
    // does not underflow differs from its rounding by a double): the exact
    // product is scaled + error.
    const double error = std::fma(magnitude, scale, -scaled);
    const double whole = std::floor(scaled);
    // scaled - whole is exact (the two lie within a factor of two, or whole
    // is 0), and so is taking the half from a fraction this close to it;
    // the sum's sign is the exact sum's, zero only for an exact tie.
    const double beyond_half = ((scaled - whole) - 0.5) + error;
    return beyond_half >= 0 ? whole + 1 : whole;
}

void ForgetSystemDecimals() {
    KeptDecimals().run = 0;
}

}  // namespace rounding_detail

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

void Srnd2(float& value) {
    RoundThrough(value, 2);
}
void Srnd0(float& value) {
    RoundThrough(value, 0);
}

int SystemDecimals(const Options& options) {
    const int decimals = OptionValue(options, Opt::kSystemDecimals);
    return Honoured(decimals) ? decimals : 4;
}

}  // namespace records
