#include "records/rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/awkward_doubles.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(RoundingFixed, DoublesRoundThroughTheirLayout) {
    struct Case {
        void (*round)(double&);
        const char* name;
        double value;
        double expected;
    } cases[] = {
        {Drnd2, "Drnd2", 1234.5678, 1234.57},
        {Drnd2, "Drnd2", 2.675, 2.67},  // held just below 2.675
        {Drnd2, "Drnd2", -2.675, -2.67},
        {Drnd2, "Drnd2", 0.125, 0.13},  // an exact tie goes away from zero
        {Drnd0, "Drnd0", 1234.5678, 1235.0},
        {Drnd0, "Drnd0", 2.5, 3.0},
        {Drnd0, "Drnd0", -2.5, -3.0},
        {Drnd0, "Drnd0", -0.4, 0.0},
        {Drnd3, "Drnd3", -0.0004, 0.0},
        {Drnd3, "Drnd3", 1.0005, 1.0},  // 1.0005 is held below the half
        {Drnd10, "Drnd10", 1.0 / 3.0, 0.3333333333},
        {Drnd10, "Drnd10", 123456789.123456789, 123456789.1234567890},
        {Drnd2, "Drnd2", 5e16, 5e16},  // exactly fills the 20 positions
    };
    for (const auto& c : cases) {
        double v = c.value;
        c.round(v);
        EXPECT_EQ(v, c.expected) << c.name << "(" << c.value << ")";
    }
}

// What rounding gives by its definition: the value written under
// "(F20.d)" and the 20 positions read back (unchanged when they do not fit).
double ThroughTheLayout(double value, int decimals) {
    const std::string layout = "(F20." + std::to_string(decimals) + ")";
    const std::string text = Write(layout, {value});
    double read = value;
    if (!Read(std::string_view(text).substr(0, 20), layout, {&read})) return value;
    return read;
}

// RoundToDecimals works most values out in binary; it must give exactly
// what the layout gives, bit for bit, for random values of every
// magnitude, the doubles nearest to decimal ties and their neighbours,
// exact binary ties, halves, tiny and huge values, for 0 to 10 decimals.
// LEDRA_ROUNDING_VALUES sets how many values (tens of millions by hand;
// a few million in the suite).
TEST(RoundingFixed, BinaryRoundingAgreesWithTheLayout) {
    const char* env = std::getenv("LEDRA_ROUNDING_VALUES");
    const long total = env != nullptr ? std::atol(env) : 2'000'000;
    std::mt19937_64 rng(20261210);
    long checked = 0, differing = 0;
    auto check = [&](double value, int decimals) {
        double fast = value;
        RoundToDecimals(fast, decimals);
        const double want = ThroughTheLayout(value, decimals);
        ++checked;
        if (std::bit_cast<uint64_t>(fast) != std::bit_cast<uint64_t>(want) && ++differing <= 10)
            ADD_FAILURE() << std::hexfloat << value << " to " << decimals << " decimals: " << fast
                          << ", the layout gives " << want;
    };
    const double special[] = {0.0,
                              -0.0,
                              0.5,
                              -0.5,
                              1.5,
                              2.5,
                              0.125,
                              -0.125,
                              2.675,
                              1.0005,
                              1e-300,
                              -1e-300,
                              5e-324,
                              1125899906842623.5,
                              1125899906842624.0,
                              9.999999999e15,
                              1e16,
                              5e16,
                              1e17,
                              1e300,
                              std::nextafter(0.5, 0.0),
                              std::nextafter(0.5, 1.0)};
    for (int d = 0; d <= 10; ++d)
        for (double v : special) check(v, d);
    while (checked < total) {
        const int d = static_cast<int>(rng() % 11);
        check(fixtures::AwkwardDouble(rng, d), d);
    }
    EXPECT_EQ(differing, 0) << "of " << checked;
}

// Rounding a rounded value gives it back, bit for bit: the replay relies on
// it to leave a balance it wrote itself unrounded. Random magnitudes, ties
// and their neighbours, values too wide for the layout.
TEST(RoundingFixed, RoundedValuesAreFixedPoints) {
    std::mt19937_64 rng(20261211);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    long differing = 0;
    for (long i = 0; i < 200'000; ++i) {
        const int decimals = static_cast<int>(i % 11);
        double value = (unit(rng) - 0.5) * std::pow(10.0, static_cast<int>(rng() % 40) - 10);
        if (i % 3 == 0)
            value = std::nextafter((std::round(value * 100) + 0.5) / 100, i % 2 == 0 ? 1e300 : -1e300);
        double once = value;
        RoundToDecimals(once, decimals);
        double twice = once;
        RoundToDecimals(twice, decimals);
        if (std::bit_cast<uint64_t>(once) != std::bit_cast<uint64_t>(twice) && ++differing <= 10)
            ADD_FAILURE() << std::hexfloat << value << " to " << decimals << " decimals: " << once << " then "
                          << twice;
    }
    EXPECT_EQ(differing, 0);
}

TEST(RoundingFixed, ValueTooWideForItsLayoutIsLeftUnchanged) {
    struct Case {
        void (*round)(double&);
        const char* name;
        double value;
    } cases[] = {
        {Drnd2, "Drnd2", 1e17 + 0.25 * 16},  // needs 21 positions
        {Drnd2, "Drnd2", -1e16 - 2.0},       // the minus sign takes the 20th
        {Drnd10, "Drnd10", 1000000000.123456789},
        {Drnd0, "Drnd0", 1e300},
        {Drnd3, "Drnd3", -1e18},
    };
    for (const auto& c : cases) {
        double v = c.value;
        c.round(v);
        EXPECT_EQ(v, c.value) << c.name << "(" << c.value << ")";
    }
}

TEST(RoundingFixed, FloatsRoundFromTheirOwnValue) {
    struct Case {
        void (*round)(float&);
        const char* name;
        float value;
        float expected;
    } cases[] = {
        {Srnd2, "Srnd2", 2.675f, 2.67f},  // the float is held below 2.675
        {Srnd2, "Srnd2", 1234.5678f, 1234.57f}, {Srnd2, "Srnd2", -0.004f, 0.0f},
        {Srnd0, "Srnd0", 2.5f, 3.0f},           {Srnd0, "Srnd0", -1234.5678f, -1235.0f},
        {Srnd2, "Srnd2", 1e18f, 1e18f},  // too wide: unchanged
    };
    for (const auto& c : cases) {
        float v = c.value;
        c.round(v);
        EXPECT_EQ(v, c.expected) << c.name << "(" << c.value << ")";
    }
}

TEST(RoundingRoundn, DecimalsOutsideFourToEightBecomeFour) {
    struct Case {
        int16_t decimals;
        float value;
        float expected;
        int16_t decimals_after;
    } cases[] = {
        {9, 1.23456789f, 1.2346f, 4},   {3, 1.23456789f, 1.2346f, 4},      {-1, 1.23456789f, 1.2346f, 4},
        {6, 1.23456789f, 1.234568f, 6}, {8, 0.123456789f, 0.12345679f, 8}, {4, 2.00005f, 2.0001f, 4},
    };
    for (const auto& c : cases) {
        float v = c.value;
        int16_t d = c.decimals;
        Roundn(v, d);
        EXPECT_EQ(v, c.expected) << "decimals " << c.decimals;
        EXPECT_EQ(d, c.decimals_after) << "decimals " << c.decimals;
    }
}

TEST(RoundingSystem, DecimalsComeFromOption81) {
    struct Case {
        int option81;  // -1: no COMMON.FIL at all
        double expected_double;
        float expected_float;
    } cases[] = {
        {-1, 1.2346, 1.2346f},    {0, 1.2346, 1.2346f},        {2, 1.2346, 1.2346f}, {4, 1.2346, 1.2346f},
        {6, 1.234568, 1.234568f}, {8, 1.23456789, 1.2345679f}, {9, 1.2346, 1.2346f}, {255, 1.2346, 1.2346f},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        if (c.option81 >= 0)
            fixtures::WriteSingleOption(Opt::kSystemDecimals, static_cast<unsigned char>(c.option81));
        double d = 1.234567891;
        Drndn(d);
        EXPECT_EQ(d, c.expected_double) << "option 81 = " << c.option81;
        float f = 1.234567891f;
        Round1(f);
        EXPECT_EQ(f, c.expected_float) << "option 81 = " << c.option81;
    }
}

TEST(RoundingSystem, OptionByteIsNotChangedAndWideValuesStay) {
    TempDataDir dir;
    fixtures::WriteSingleOption(Opt::kSystemDecimals, 2);
    float f = 3.14159f;
    Round1(f);
    EXPECT_EQ(f, 3.1416f);
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL").at(30 * 128 + 80), 2);

    fixtures::WriteSingleOption(Opt::kSystemDecimals, 8);
    double d = 1e11;  // needs 21 positions under "(F20.8)"
    Drndn(d);
    EXPECT_EQ(d, 1e11);
    d = -1e10 - 0.123456789;
    Drndn(d);
    EXPECT_EQ(d, -1e10 - 0.123456789);
    d = 99999999999.0 / 10.0;  // 9999999999.9 fits
    Drndn(d);
    EXPECT_EQ(d, 9999999999.9);
}

// A run reads option 81 at its first rounding and keeps it; the program's
// own write of the options record (the options dialog's Wropts) counts at
// once, and every new run, like every rounding outside a run, reads the
// option again.
TEST(RoundingSystem, RunKeepsTheDecimalsItReadUntilTheOptionsAreWritten) {
    TempDataDir dir;
    const auto rounded = [] {
        double d = 1.234567891;
        Drndn(d);
        return d;
    };
    fixtures::WriteSingleOption(Opt::kSystemDecimals, 6);
    {
        RunFileCache run;
        EXPECT_EQ(rounded(), 1.234568);
        fixtures::WriteSingleOption(Opt::kSystemDecimals, 4);  // the record rewritten whole, not by Wropts
        EXPECT_EQ(rounded(), 1.234568);
        Options options = Rdopts();
        SetOption(options, Opt::kSystemDecimals, 8);
        Wropts(options);
        EXPECT_EQ(rounded(), 1.23456789);
    }
    fixtures::WriteSingleOption(Opt::kSystemDecimals, 5);
    EXPECT_EQ(rounded(), 1.23457);
    {
        RunFileCache run;
        EXPECT_EQ(rounded(), 1.23457);
    }
    fixtures::WriteSingleOption(Opt::kSystemDecimals, 7);
    {
        RunFileCache run;
        EXPECT_EQ(rounded(), 1.2345679);
    }
}

}  // namespace
