#include "records/amounts.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/fixtures/awkward_doubles.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/rounding.h"

namespace {

using namespace records;

// A 32-character amount text.
std::string T(const std::string& s) {
    return s + std::string(32 - s.size(), ' ');
}

TEST(AmountsComma, InsertsSeparators) {
    struct Case {
        std::string text;
        int n;
        std::string result;
    } cases[] = {
        {"   1234567.00", 13, " 1,234,567.00"},
        {"  1234567. ", 9, "1,234,567"},  // the point in position 10 is blanked
        {"   1234.", 8, "   1,234"},      // a trailing point is dropped
        {"    -1234.00", 12, "   -1,234.00"},
        {"  (1234.00", 10, " (1,234.00"},
        {"  (123.00", 9, "  (123.00"},  // stops at a bracket
        {"      123.45", 12, "      123.45"},
        {"   1234XYZ", 7, "  1,234"},            // beyond the width is blanked
        {"      1234567", 13, "    1,234,567"},  // no point
        {"1234567890.00", 13, "1234567890.00"},  // no room: unchanged
        {" 12345678. ", 9, " 12345678. "},       // room for one separator only: unchanged
        {"***** MM ", 5, "***** MM "},           // asterisks stay
        {"  1234.00", 0, "  1234.00"},
    };
    for (const auto& c : cases) {
        std::string text = T(c.text);
        Comma(text, c.n);
        EXPECT_EQ(text, T(c.result)) << "[" << c.text << "] width " << c.n;
    }
}

TEST(AmountsBrackt, BracketsNegativeNumbers) {
    struct Case {
        std::string text;
        int n;
        std::string result;
    } cases[] = {
        {"   -1,234", 9, "   (1,234)"},
        {"   -1,2345", 9, "   -1,2345"},  // position 10 holds a digit
        {"    1,234", 9, "    1,234"},    // no minus
        {"  -1234.", 7, "  (1234)"},      // a point in n + 1 is replaced
        {"   -1,234  XY", 9, "   (1,234)"},
        {" -1-2", 5, " -1(2)"},  // the last minus left of position n
        {"-1", 1, "-1"},         // the minus must lie left of position n
        {"   -1", 32, "   -1"},  // no position n + 1
    };
    for (const auto& c : cases) {
        std::string text = T(c.text);
        Brackt(text, c.n);
        EXPECT_EQ(text, T(c.result)) << "[" << c.text << "] width " << c.n;
    }
}

TEST(AmountsPutdol, DollarSignLeftOfTheRightmostBlank) {
    struct Case {
        std::string text;
        int16_t n;
        std::string result;
        int16_t flag, n_after;
    } cases[] = {
        {"  1,234.00", 10, "$ 1,234.00", 0, 10},
        {"     12.00XX", 10, "   $ 12.00XX", 0, 10},
        {"1234567890", 10, "1234567890", -1, 10},  // no blank
        {" 123", 4, " 123", -1, 4},                // the only blank is position 1
        {"  12", 40, std::string(30, ' ').replace(0, 4, "  12") + "$ ", 0, 32},
        {"  12", 0, "  12", 99, 0},  // nothing happens
    };
    for (const auto& c : cases) {
        std::string text = T(c.text);
        int16_t n = c.n, flag = 99;
        Putdol(text, n, flag);
        EXPECT_EQ(text, T(c.result)) << "[" << c.text << "]";
        EXPECT_EQ(flag, c.flag) << "[" << c.text << "]";
        EXPECT_EQ(n, c.n_after) << "[" << c.text << "]";
    }
}

TEST(AmountsIncome, Incm10Ladder) {
    struct Case {
        double amount;
        std::string result;
    } cases[] = {
        {1234, "    1,234"},       {-1234, "   (1,234)"}, {1234567.4, "1,234,567"},
        {12345678, " 12345678. "},                       // does not fit with separators: left as written
        {99999999, " 99999999. "}, {2.5e8, "250.00"},    // millions; the MM is blanked by Comma
        {1.234e9, "1234.0"},       {2e10, "***** MM "},  // top row always too wide: the MM stays
        {0, "        0"},
    };
    for (const auto& c : cases) {
        std::string text = "earlier contents";
        Incm10(c.amount, text);
        EXPECT_EQ(text, T(c.result)) << c.amount;
    }
}

TEST(AmountsIncome, Incom8Ladder) {
    struct Case {
        double amount;
        std::string result;
    } cases[] = {
        {1234, "  1,234"}, {-1234, " (1,234)"},   {999999, "999,999"},
        {2.5e6, "  2.50"}, {2.5e7, "  25.0"},     {2.5e8, "  250"},  // the top row
        {1.5e9, " 1500"},  {1.5e10, "***** MM "},                    // 15000 millions needs 6 positions
    };
    for (const auto& c : cases) {
        std::string text;
        Incom8(c.amount, text);
        EXPECT_EQ(text, T(c.result)) << c.amount;
    }
}

TEST(AmountsForm16, CentsOrWholeUnits) {
    struct Case {
        double value;
        double switch_value;
        std::string result;
        double value_after;
    } cases[] = {
        {1234.5, 0, "       1,234.50", 1234.5},
        {-1234.5, 999999, "      (1,234.50)", -1234.5},
        {1234567.891, 0, "   1,234,567.89", 1234567.891},
        {1234.567, 1e6, "          1,235", 1234.57},
        {-1234.567, 1e6, "         (1,236)", -1235.57},  // rounded, then lowered by 1
        {0, 1e6, "              0", 0},
        {1e15, 0, "***************", 1e15},
    };
    for (const auto& c : cases) {
        double v = c.value;
        std::string text;
        Form16(v, c.switch_value, text);
        EXPECT_EQ(text, T(c.result)) << c.value << " switch " << c.switch_value;
        EXPECT_EQ(v, c.value_after) << c.value << " switch " << c.switch_value;
    }
}

TEST(AmountsTrncat, SplitsWholeAndFraction) {
    struct Case {
        double value;
        std::string whole;
        double fraction;
        std::string fraction_text;
    } cases[] = {
        {1234.5, "    1,234", 0.5, "5000"},  {1234567.25, "1,234,567", 0.25, "2500"},
        {0.125, "        0", 0.125, "1250"}, {100, "      100", 0.0, "0000"},
        {-1234.5, "  (1,234)", 0.5, "5000"}, {-5.0001, "      (5)", 0.0001, "0001"},
        {-0.5, "      (0)", 0.5, "5000"},     // a short fraction of a unit stays bracketed
        {-0.00001, "       0", 0.0, "0000"},  // prints as zero: no sign to keep
    };
    for (const auto& c : cases) {
        std::string whole = T("old"), fraction_text = T("old");
        double fraction = -1;
        Trncat(c.value, whole, fraction, fraction_text);
        EXPECT_EQ(whole, T(c.whole)) << c.value;
        EXPECT_EQ(fraction, c.fraction) << c.value;
        EXPECT_EQ(fraction_text.substr(0, 4), c.fraction_text) << c.value;
    }
    // Too wide for "(F14.4)": nothing changes.
    std::string whole = T("old"), fraction_text = T("old");
    double fraction = -1;
    Trncat(1e10, whole, fraction, fraction_text);
    EXPECT_EQ(whole, T("old"));
    EXPECT_EQ(fraction_text, T("old"));
    EXPECT_EQ(fraction, -1);
}

// Trncat as the layout engine does it: writes "(F14.4)", reads the four
// decimals back under it, and for a negative quantity reads the whole part
// under "(F9.0)" and writes it again one place further left.
void TrncatThroughTheLayout(double value, std::string& whole, double& fraction, std::string& fraction_text) {
    const std::string written = Write("(F14.4)", {value});
    const std::size_t dot = written.rfind('.');
    if (dot == std::string::npos) return;
    whole = Fixed(whole, 32);
    fraction_text = Fixed(fraction_text, 32);
    whole.replace(0, dot + 1, written, 0, dot + 1);
    const std::string digits = Fixed(std::string_view(written).substr(dot + 1), 4);
    fraction_text.replace(0, 4, digits);
    Read(digits, "(F14.4)", {&fraction});
    if (value >= 0.0) {
        Comma(whole, 9);
        return;
    }
    double whole_part = 0.0;
    if (Read(std::string_view(whole).substr(0, 9), "(F9.0)", {&whole_part})) {
        if (whole_part == 0.0 && written.find('-') != std::string::npos)
            WriteInto(whole, "(6X,'-0.',1X)", {});
        else
            WriteInto(whole, "(F9.0,1X)", {whole_part});
    }
    Comma(whole, 8);
    Brackt(whole, 8);
}

// Trncat reads its decimals and whole part by arithmetic; every output must
// be what the write and read through the layouts give, bit for bit, over
// random quantities of every size, the doubles nearest to halves at the
// fourth decimal and their neighbours, quantities between -1 and 0, values
// too wide for the field, NaN and infinities, whatever the texts held
// before. LEDRA_TRNCAT_VALUES sets how many values.
TEST(AmountsTrncat, ArithmeticAgreesWithTheLayouts) {
    const char* env = std::getenv("LEDRA_TRNCAT_VALUES");
    const long total = env != nullptr ? std::atol(env) : 1'000'000;
    std::mt19937_64 rng(20261210);
    const std::string earlier[] = {T("old"), "", "a text longer than the thirty-two positions of a field",
                                   std::string(32, '9')};
    long checked = 0, differing = 0;
    auto check = [&](double value) {
        const std::string& before = earlier[static_cast<std::size_t>(checked) % std::size(earlier)];
        std::string whole = before, fraction_text = before;
        std::string want_whole = before, want_fraction_text = before;
        double fraction = -1, want_fraction = -1;
        Trncat(value, whole, fraction, fraction_text);
        TrncatThroughTheLayout(value, want_whole, want_fraction, want_fraction_text);
        ++checked;
        if ((whole != want_whole || fraction_text != want_fraction_text ||
             std::bit_cast<uint64_t>(fraction) != std::bit_cast<uint64_t>(want_fraction)) &&
            ++differing <= 10)
            ADD_FAILURE() << std::hexfloat << value << ": [" << whole << "] " << fraction << " [" << fraction_text
                          << "], the layouts give [" << want_whole << "] " << want_fraction << " ["
                          << want_fraction_text << "]";
    };
    const double special[] = {0.0,
                              -0.0,
                              0.5,
                              -0.5,
                              -0.00005,
                              -0.00004,
                              0.00005,
                              -0.99995,
                              -0.99994,
                              -1.0,
                              std::nextafter(-1.0, 0.0),
                              1.00005,
                              -1.00005,
                              99999999.99995,
                              -99999999.99995,
                              -9999999.99995,
                              999999999.9999,
                              999999999.99995,
                              -99999999.9999,
                              1e9,
                              -1e9,
                              1e15,
                              1e300,
                              -1e300,
                              5e-324,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (double v : special) check(v);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    while (checked < total) {
        switch (checked % 4) {
            case 0:  // -1 < x < 1
                check(2 * unit(rng) - 1);
                break;
            case 1:  // every size up to beyond the field
                check((unit(rng) - 0.5) * std::pow(10.0, static_cast<int>(rng() % 13)));
                break;
            default:  // halves at the fourth decimal and their neighbours, among others
                check(fixtures::AwkwardDouble(rng, 4));
                break;
        }
    }
    EXPECT_EQ(differing, 0) << "of " << checked;
}

TEST(AmountsIntrat, Percentages) {
    struct Case {
        double base;
        float part;
        std::string result;
    } cases[] = {
        {200, 50, "  25.0% "},  {3, 1, "  33.3% "},         {0, 50, "   0.0% "},
        {-200, 50, " -25.0% "}, {0.001f, 5000, "******% "},
    };
    for (const auto& c : cases) {
        std::string text = T("old");
        Intrat(c.base, c.part, text);
        EXPECT_EQ(text, T(c.result)) << c.part << " of " << c.base;
    }
}

TEST(AmountsPhone, LaysOutDigits) {
    struct Case {
        const char* digits;
        const char* result;
    } cases[] = {
        {"2125551234  ", "(212)555-1234"}, {"212-555-1234", "(212)555-1234"},
        {"(212)5551234", "(212)555-1234"}, {"123456789012", "(123)456-7890"},  // beyond ten dropped
        {"12345678    ", "(123)456-78  "}, {"5551234     ", "     555-1234"},
        {"555-1234    ", "     555-1234"}, {"12345       ", "     123-45  "},
        {"            ", "             "}, {"none", "             "},
    };
    for (const auto& c : cases) {
        std::string result = "something else";
        Phone(c.digits, result);
        EXPECT_EQ(result, c.result) << c.digits;
    }
}

TEST(AmountsCkdesc, FillsBlankDescriptionFromRateAndDate) {
    const std::string on("\x00\x01\x00\x00", 4), off(4, '\0');
    const std::string blank(32, ' ');
    struct Case {
        std::string description;
        std::string code;
        float rate;
        const char* date;
        std::string result;
    } cases[] = {
        {blank, on, 5.25f, "06/15/09", "    5.250%  06/15/09            "},
        {blank, on, kNoRate, "06/15/09", "            06/15/09            "},
        {blank, off, 5.25f, "06/15/09", blank},  // option 2 off
        {blank, on, 5.25f, "    /09 ", blank},   // no date
        {T("FIRST LINE"), on, 5.25f, "06/15/09", T("FIRST LINE")},
        // Texts of other lengths: the description is looked at and made
        // 32 positions, the date taken as 8 (blank padded or cut).
        {"", on, kNoRate, "06/15/0912", "            06/15/09            "},
        {blank + "BEYOND", on, -1.5f, "6/1", "   -1.500%  6/1                 "},
    };
    for (const auto& c : cases) {
        std::string description = c.description;
        Ckdesc(description, c.code, c.rate, c.date);
        EXPECT_EQ(description, c.result) << "[" << c.description << "] " << c.date;
    }
}

// The amount texts put together from a value's digits are those of the
// layout, Comma and Brackt, for every value they decide; a value they do
// not decide leaves the text as it was. Edges of each field's width, of
// the separators and of rounding (ties, values just off a tie, a zero
// with its sign), then many values of every size.
TEST(AmountsEdited, EqualTheLayoutsAndTheEditorsTexts) {
    struct Field {
        const char* layout;
        int n;
        int decimals;
        bool separators;
        bool brackets;
    };
    const Field fields[] = {
        {"(F11.2,' ')", 11, 2, true, true},   {"(F15.2,' ')", 15, 2, true, true},
        {"(F9.0,'   ')", 9, 0, true, false},  {"(F9.0,'   ')", 9, 0, true, true},
        {"(F5.1,'   ')", 5, 1, false, true},  {"(F6.2,' ')", 6, 2, false, true},
        {"(F7.2,' ')", 7, 2, false, false},   {"(F8.3,' ')", 8, 3, false, false},
        {"(F10.0,' ')", 10, 0, false, false}, {"(F10.4,' ')", 10, 4, false, false},
        {"(F15.3,' ')", 15, 3, true, false},  {"(F20.10)", 20, 10, true, true},
    };
    // What the layout and the editors give, one after the other.
    auto layouts_text = [](double v, const Field& f) {
        std::string text(32, ' ');
        records::WriteInto(text, f.layout, {v});
        if (f.separators) records::Comma(text, f.n);
        if (f.brackets) records::Brackt(text, f.n);
        return text;
    };
    std::vector<double> values = {0.0,         -0.0,        0.004,        -0.004,       0.005,
                                  -0.005,      0.125,       -0.125,       2.675,        0.5,
                                  -0.5,        1.5,         -2.5,         999.995,      -999.995,
                                  999.99,      1000,        -1000,        99999.99,     999999.99,
                                  -999999.99,  1000000,     -1000000,     9999999.99,   -9999999.99,
                                  12345678.9,  -12345678.9, 99999999.99,  999999999.5,  -999999,
                                  -9999999,    99999999,    -99999999,    123456789012, 1e15,
                                  -1e15,       1e300,       -1e300,       1e-300,       -99999.99,
                                  0.05,        -0.05,       0.25,         99.95,        -99.95,
                                  999.95,      -999.95,     0.0005,       1.0005,       -0.9995};
    values.push_back(std::numeric_limits<double>::quiet_NaN());
    values.push_back(std::numeric_limits<double>::infinity());
    values.push_back(-std::numeric_limits<double>::infinity());
    for (double v : {1000.0, 1000000.0, 10000000.0, 100000000.0, 0.5, 2.5}) {
        values.push_back(std::nextafter(v, 0.0));
        values.push_back(-std::nextafter(v, 0.0));
        values.push_back(std::nextafter(v, 1e300));
    }
    std::mt19937_64 gen(57);
    std::uniform_real_distribution<double> exponent(-3.0, 10.0);
    for (int i = 0; i < 40000; ++i) {
        double v = std::pow(10.0, exponent(gen));
        if (i % 2 == 1) v = -v;
        if (i % 3 == 0) records::Drnd2(v);  // amounts as the pages hold them
        values.push_back(v);
    }
    const std::string untouched(32, 'X');
    for (const Field& f : fields) {
        int decided = 0;
        for (double v : values) {
            std::string text = untouched;
            const bool done = records::EditedAmountInto(text, v, f.n, f.decimals, f.separators, f.brackets);
            if (!done) {
                EXPECT_EQ(text, untouched) << f.layout << " " << v;
                EXPECT_FALSE(std::fabs(v) < 99999 && f.n >= 11) << f.layout << " " << v << " is left to the layout";
                continue;
            }
            ++decided;
            EXPECT_EQ(text, layouts_text(v, f)) << f.layout << " " << v;
        }
        EXPECT_GT(decided, 10000) << f.layout;  // values of every size up to the field's width
    }
}

}  // namespace
