#include "records/layout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "records/layout_number.h"
#include "tests/fixtures/awkward_doubles.h"

namespace records {
namespace {

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

// Right-aligns text in a field of width w, as I and F do.
std::string Right(std::string_view text, std::size_t w) {
    return Blanks(w - text.size()) + std::string(text);
}

// ------------------------------------------------------------------ output

struct WriteCase {
    std::string name;
    std::string layout;
    std::vector<OutItem> items;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(LayoutWrite, WritesFirstRecord) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(Write(c.layout, c.items), c.expected) << c.layout;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    LayoutNumbers, LayoutWrite,
    ::testing::Values(
        // Rounding from the exact binary value: these decimals are held just
        // below (or above) the half, so they are not ties.
        WriteCase{"F_2_675_below_half", "(F20.2)", {2.675}, Right("2.67", 20)},
        WriteCase{"F_1_005_below_half", "(F5.2)", {1.005}, " 1.00"},
        WriteCase{"F_0_615_below_half", "(F5.2)", {0.615}, " 0.61"},
        WriteCase{"F_2_345_above_half", "(F5.2)", {2.345}, " 2.35"},
        WriteCase{"F_1_45_below_half", "(F4.1)", {1.45}, " 1.4"},
        WriteCase{"F_float_2_675", "(F20.2)", {static_cast<double>(2.675f)}, Right("2.67", 20)},
        WriteCase{"F_four_decimals", "(F20.4)", {1234.5678}, Right("1234.5678", 20)},
        WriteCase{"F_more_digits_rounded", "(F20.4)", {1.23456}, Right("1.2346", 20)},
        // Exact binary ties go away from zero (to-even would give 2., 0.12,
        // 0.62, -2.).
        WriteCase{"F_tie_2_5", "(F20.0)", {2.5}, Right("3.", 20)},
        WriteCase{"F_tie_minus_2_5", "(F20.0)", {-2.5}, Right("-3.", 20)},
        WriteCase{"F_tie_0_125", "(F5.2)", {0.125}, " 0.13"},
        WriteCase{"F_tie_0_625", "(F5.2)", {0.625}, " 0.63"},
        WriteCase{"F_tie_minus_0_125", "(F5.2)", {-0.125}, "-0.13"},
        WriteCase{"F_tie_carry_9_5", "(F5.0)", {9.5}, "  10."},
        WriteCase{"F_tie_carry_99_5_fills_field", "(F4.0)", {99.5}, "100."},
        WriteCase{"F_tie_carry_minus_99_5", "(F5.0)", {-99.5}, "-100."},
        WriteCase{"F_tie_carry_overflows", "(F3.0)", {99.5}, "***"},
        WriteCase{"F_tie_0_9375", "(F5.3)", {0.9375}, "0.938"},
        WriteCase{"F_tie_0_5_to_one", "(F3.0)", {0.5}, " 1."},
        // Not a tie at this number of decimals: 0.125 under F6.3 is exact.
        WriteCase{"F_exact_not_tie", "(F6.3)", {0.125}, " 0.125"},
        // Leading zero only when there is room.
        WriteCase{"F_leading_zero", "(F5.3)", {0.5}, "0.500"},
        WriteCase{"F_no_room_for_zero", "(F4.3)", {0.5}, ".500"},
        WriteCase{"F_negative_no_room_for_zero", "(F5.3)", {-0.5}, "-.500"},
        WriteCase{"F_negative_no_room_at_all", "(F4.3)", {-0.5}, "****"},
        WriteCase{"F_zero_decimals_point", "(F10.0)", {1234.4}, "     1234."},
        WriteCase{"F_zero_decimals_small", "(F5.0)", {0.3}, "   0."},
        // A result of zero has no minus sign.
        WriteCase{"F_negative_rounds_to_zero", "(F20.3)", {-0.0004}, Right("0.000", 20)},
        WriteCase{"F_negative_zero", "(F6.2)", {-0.0}, "  0.00"},
        WriteCase{"F_negative_to_zero_no_decimals", "(F5.0)", {-0.4}, "   0."},
        WriteCase{"F_negative_zero_drops_both", "(F4.3)", {-0.0001}, ".000"},
        // Overflow and values that are not numbers.
        WriteCase{"F_too_wide", "(F5.2)", {123.45}, "*****"},
        WriteCase{"F20_2_largest_fits", "(F20.2)", {1e16}, "10000000000000000.00"},
        WriteCase{"F20_2_too_large", "(F20.2)", {1e17}, std::string(20, '*')},
        WriteCase{"F20_2_negative_too_large", "(F20.2)", {-1e16}, std::string(20, '*')},
        WriteCase{"F_nan", "(F8.2)", {kNaN}, "********"},
        WriteCase{"F_infinity", "(F8.2)", {-kInf}, "********"},
        WriteCase{"F_huge_value", "(F20.2)", {1e300}, std::string(20, '*')},
        // Integers.
        WriteCase{"I_right_aligned", "(I3)", {5LL}, "  5"}, WriteCase{"I_zero", "(I3)", {0LL}, "  0"},
        WriteCase{"I_negative", "(I2)", {-5LL}, "-5"}, WriteCase{"I_negative_too_wide", "(I1)", {-5LL}, "*"},
        WriteCase{"I_too_wide", "(I2)", {100LL}, "**"},
        WriteCase{"I_lowest", "(I21)", {std::numeric_limits<long long>::min()}, " -9223372036854775808"},
        // Conversions between item kinds.
        WriteCase{"I_of_number_rounds", "(I3)", {2.4}, "  2"},
        WriteCase{"I_of_number_half_up", "(I3)", {2.5}, "  3"},
        WriteCase{"I_of_number_half_down", "(I3)", {-2.5}, " -3"},
        WriteCase{"I_of_nan", "(I3)", {kNaN}, "***"}, WriteCase{"I_of_huge", "(I3)", {1e19}, "***"},
        WriteCase{"F_of_integer", "(F6.2)", {12LL}, " 12.00"},
        WriteCase{"I_of_text", "(I3)", {std::string_view("12")}, "***"},
        WriteCase{"F_of_text", "(F5.1)", {std::string_view("1.5")}, "*****"},
        WriteCase{"A_of_number", "(A4)", {1.5}, "****"},
        WriteCase{"A_bare_of_number", "('<',A,'>')", {7LL}, "<*>"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    LayoutText, LayoutWrite,
    ::testing::Values(
        WriteCase{"A_shorter_right_aligned", "(A4)", {std::string_view("AB")}, "  AB"},
        WriteCase{"A_longer_first_chars", "(A2)", {std::string_view("ABCD")}, "AB"},
        WriteCase{"A_bare_whole_item", "(A)", {std::string_view("hello")}, "hello"},
        WriteCase{"A_empty_item", "(A3)", {std::string_view()}, "   "},
        WriteCase{"X_and_literal",
                  "(1X,'TOTAL:',85X,A16)",
                  {std::string_view("1,234.00")},
                  " TOTAL:" + Blanks(85) + Right("1,234.00", 16)},
        WriteCase{"X_alone_is_one", "(X,'A')", {}, " A"},
        WriteCase{"trailing_X_written", "(F5.1,1X)", {1.0}, "  1.0 "},
        WriteCase{"quote_in_literal", "('It''s',1X,'''')", {}, "It's '"},
        WriteCase{"literal_only", "('   N/A   ')", {}, "   N/A   "},
        WriteCase{"blank_record", "(1X)", {}, " "}, WriteCase{"empty_layout", "()", {}, ""},
        WriteCase{"date", "(I2,'/',I2,'/',I2)", {12LL, 31LL, 95LL}, "12/31/95"},
        WriteCase{"date_zero_year", "(I2,'/',I2,'/0',I1)", {1LL, 5LL, 3LL}, " 1/ 5/03"},
        WriteCase{"repeat_group", "(1X,I3,3(F6.1,1X))", {7LL, 1.25, 2.0, -3.75}, "   7   1.3    2.0   -3.8 "},
        WriteCase{"repeat_text", "(1X,3A4)", {"ABCD", "EFGH", "IJ"}, " ABCDEFGH  IJ"},
        WriteCase{"rate_and_date",
                  "(2X,F7.3,'%  ',2A4,'            ')",
                  {5.25, "12/3", "1/95"},
                  "    5.250%  12/31/95" + Blanks(12)},
        WriteCase{"repeated_literal_group",
                  "(1X,F7.3,'%  ',2A4,13(' '))",
                  {5.25, "12/3", "1/95"},
                  "   5.250%  12/31/95" + Blanks(13)},
        WriteCase{"nested_groups", "(2('<',2(I1),'>'))", {1LL, 2LL, 3LL, 4LL}, "<12><34>"},
        WriteCase{"build_layout", "('(F20.',I1,')')", {4LL}, "(F20.4)"},
        // Output stops at the first data descriptor with no item; what comes
        // before it is written.
        WriteCase{"stops_at_missing_item", "(I2,'/',I2,'/',I2)", {1LL, 2LL}, " 1/ 2/"},
        WriteCase{"no_items_writes_lead", "(1X,'AB',I3,'CD')", {}, " AB"},
        // Blanks outside literals and letter case do not matter.
        WriteCase{"blanks_and_case", " ( f 6 . 2 , 1x , ' a b ' ) ", {1.5}, "  1.50  a b "},
        WriteCase{"keep_record_ignored", "(1X,2A1,\\)", {"\r", "\n"}, " \r\n"}),
    [](const auto& info) { return info.param.name; });

struct RecordsCase {
    std::string name;
    std::string layout;
    std::vector<OutItem> items;
    std::vector<std::string> expected;
};

void PrintTo(const RecordsCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutRecords : public ::testing::TestWithParam<RecordsCase> {};

TEST_P(LayoutRecords, WritesEveryRecord) {
    const RecordsCase& c = GetParam();
    EXPECT_EQ(WriteRecords(c.layout, c.items), c.expected) << c.layout;
    // Write gives the first of them.
    EXPECT_EQ(Write(c.layout, c.items), c.expected.empty() ? "" : c.expected.front());
}

INSTANTIATE_TEST_SUITE_P(
    LayoutAll, LayoutRecords,
    ::testing::Values(
        RecordsCase{"single", "(F6.2)", {1.5}, {"  1.50"}},
        RecordsCase{"slashes",
                    "(1X,I1,/,1X,2A4,'PORTFOLIO',/,1X,3A4)",
                    {3LL, "ABCD", "EFGH", "IJKL", "MNOP", "QRST"},
                    {" 3", " ABCDEFGHPORTFOLIO", " IJKLMNOPQRST"}},
        RecordsCase{"slash_without_commas", "(I2/I2)", {1LL, 2LL}, {" 1", " 2"}},
        RecordsCase{"trailing_slash_ends_a_record", "(I2,/)", {5LL}, {" 5", ""}},
        RecordsCase{"slash_alone", "(/)", {}, {"", ""}},
        RecordsCase{"repeated_slash", "(I2,2/,I2)", {1LL, 2LL}, {" 1", "", " 2"}},
        RecordsCase{"slash_before_missing_item", "(I2,/,'X',I2)", {1LL}, {" 1", "X"}},
        // Reversion without a group: back to the start, on a new record.
        RecordsCase{"reversion_to_start", "(1X,I1,I1)", {1LL, 2LL, 3LL, 4LL, 5LL}, {" 12", " 34", " 5"}},
        RecordsCase{"reversion_one_per_record", "(I2)", {1LL, 2LL, 3LL}, {" 1", " 2", " 3"}},
        // Reversion to the last top-level group, with its repeat count.
        RecordsCase{
            "reversion_to_group", "('X',2(I2),'Y')", {1LL, 2LL, 3LL, 4LL, 5LL}, {"X 1 2Y", " 3 4Y", " 5"}},
        RecordsCase{"reversion_to_last_group",
                    "('H',(I1),'M',2('<',I1,(I1),'>'))",
                    {1LL, 2LL, 3LL, 4LL, 5LL, 6LL, 7LL, 8LL, 9LL},
                    {"H1M<23><45>", "<67><89>"}},
        // Items left with nothing to take them: the layout would repeat for
        // ever, so the output ends there.
        RecordsCase{"no_data_descriptor", "('A')", {1LL}, {"A"}},
        RecordsCase{"no_data_in_reverted_group", "(I1,('B'))", {1LL, 2LL}, {"1B"}},
        RecordsCase{"malformed_gives_nothing", "(I2", {1LL}, {}}),
    [](const auto& info) { return info.param.name; });

// A write whose items do not outlast the layout takes a flat pass compiled
// from it, and a number column is written straight into its field; both
// must give what the walk through the layout gives (WriteRecords walks),
// for repeats and nested groups, fewer items than descriptors, no items,
// items of the wrong kind, and fields narrower or wider than the record.
TEST(LayoutWrite, FlatPassAgreesWithTheWalk) {
    // Words that lie one after another, as a line's items do.
    static const char kLine[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    auto word = [](std::size_t at, std::size_t size) { return OutItem(std::string_view(kLine + at, size)); };
    struct Case {
        const char* layout;
        std::vector<OutItem> items;
    } cases[] = {
        {"(F15.2,' ')", {-1234567.891}},
        {"(F15.2,' ')", {}},
        {"(F15.2,' ')", {12LL}},
        {"(F15.2,' ')", {std::string_view("text")}},
        {"(2X,F6.1,'MM')", {1e300}},
        {"(1X,'TOTAL:',3X,F8.0,1X)", {-0.4}},
        {"('(F20.',I1,')')", {7LL}},
        {"(2X,2A4,2X,3A4,1X,A16,A2)",
         {std::string_view("12/3"), std::string_view("1/98"), std::string_view("BUY "), std::string_view("SELL"),
          std::string_view("    "), std::string_view("a text longer than its field"), std::string_view("x")}},
        {"(2(I3,'x',2(A2,'-')),F5.1,'end')",
         {1LL, std::string_view("ab"), std::string_view("c"), 2LL, std::string_view(""), std::string_view("de"),
          0.25}},
        {"(2(I3,'x',2(A2,'-')),F5.1,'end')", {1LL, std::string_view("ab")}},
        {"(I3,A,A3,I2)", {2.5, std::string_view("any length"), 1.0, std::string_view("t")}},
        {"(3X,'only text',2X)", {}},
        {"(A4,A2,A8,2X,2A4,A,A3)", {word(0, 4), word(4, 2), word(6, 8), word(14, 4), word(18, 4), word(22, 2), word(24, 2)}},
        {"(3A4,A4)", {word(0, 4), word(4, 4), word(8, 2), word(10, 4)}},
        {"(2A4,I2,A4)", {word(0, 4), word(4, 4), word(8, 4), word(12, 4)}},
        {"(3A4)", {word(0, 4), word(8, 4), word(4, 4)}},
        {"(I2,\\,I2)", {1LL, 2LL}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> walked = WriteRecords(c.layout, c.items);
        ASSERT_EQ(walked.size(), 1u) << c.layout;
        EXPECT_EQ(Write(c.layout, c.items), walked[0]) << c.layout;
        for (std::size_t width : {std::size_t{0}, std::size_t{5}, walked[0].size(), walked[0].size() + 7}) {
            std::string field(width, '#');
            WriteInto(field, c.layout, c.items);
            std::string want = walked[0].substr(0, width);
            want.resize(width, ' ');
            EXPECT_EQ(field, want) << c.layout << " into " << width;
        }
        std::string kept = "an earlier line, longer than most of these";
        WriteTo(kept, c.layout, c.items);
        EXPECT_EQ(kept, walked[0]) << c.layout;
    }
}

TEST(LayoutWriteInto, BlankFillsAndCutsToTheField) {
    std::string field(32, '#');
    WriteInto(field, "(F20.2)", {1234.5678});
    EXPECT_EQ(field, Right("1234.57", 20) + Blanks(12));

    std::string narrow(5, '#');
    WriteInto(narrow, "(F10.2)", {1.0});
    EXPECT_EQ(narrow, Blanks(5));

    std::string two(8, '#');
    WriteInto(two, "(I2,/,I2)", {1LL, 2LL});
    EXPECT_EQ(two, " 1" + Blanks(6)) << "only the first record lands in the field";

    std::string bad(6, '#');
    WriteInto(bad, "(F6.2", {1.0});
    EXPECT_EQ(bad, Blanks(6));
}

TEST(LayoutWriteInto, LayoutBuiltAtRunTime) {
    // The rounding routines build their layout from a digit, then write and
    // read under it; the 32-character work text holds trailing blanks.
    std::string layout(32, ' ');
    WriteInto(layout, "('(F20.',I1,')')", {4LL});
    EXPECT_EQ(layout, "(F20.4)" + Blanks(25));
    ASSERT_TRUE(IsValidLayout(layout));

    std::string work(32, ' ');
    WriteInto(work, layout, {2.71828});
    EXPECT_EQ(work.substr(0, 20), Right("2.7183", 20));
    double value = 0;
    ASSERT_TRUE(Read(work.substr(0, 20), layout, {&value}));
    EXPECT_EQ(value, 2.7183);
}

TEST(LayoutWriteInto, RoundTripIsTheRoundedValue) {
    struct Case {
        double value;
        const char* layout;
        double expected;
    };
    const Case cases[] = {
        {2.675, "(F20.2)", 2.67},     {1234.5678, "(F20.2)", 1234.57}, {1234.5678, "(F20.0)", 1235.0},
        {-0.0004, "(F20.3)", 0.0},    {2.5, "(F20.0)", 3.0},           {-1234.56785, "(F20.4)", -1234.5678},
        {0.1 + 0.2, "(F20.10)", 0.3},
    };
    for (const Case& c : cases) {
        std::string work(32, ' ');
        WriteInto(work, c.layout, {c.value});
        double back = -1;
        ASSERT_TRUE(Read(work.substr(0, 20), c.layout, {&back})) << c.layout << " " << c.value;
        EXPECT_EQ(back, c.expected) << c.layout << " " << c.value;
        EXPECT_FALSE(std::signbit(back) && back == 0) << "zero comes back without a sign";
    }
    // A value too large for the field becomes asterisks, which do not read.
    std::string work(32, ' ');
    WriteInto(work, "(F20.2)", {1e17});
    double back = 5;
    EXPECT_FALSE(Read(work.substr(0, 20), "(F20.2)", {&back}));
    EXPECT_EQ(back, 5);
}

// Fw.d is written from binary arithmetic where it decides the digits; the
// text must be the library conversion's, character for character, for
// random values of every magnitude, the doubles nearest to decimal ties and
// their neighbours, exact binary ties, values below 1 in fields too narrow
// for their "0", values too wide for their field, for 0 to 12 decimals and
// widths from 1 to 24. LEDRA_FIXED_VALUES sets how many values.
TEST(LayoutWriteFixed, ArithmeticDigitsAgreeWithTheLibraryConversion) {
    const char* env = std::getenv("LEDRA_FIXED_VALUES");
    const long total = env != nullptr ? std::atol(env) : 2'000'000;
    std::mt19937_64 rng(20261210);
    long checked = 0, differing = 0;
    auto check = [&](double value, int w, int d) {
        std::string fast = "|", slow = "|";
        layout_detail::AppendFixed(fast, value, w, d);
        layout_detail::AppendFixedByText(slow, value, w, d);
        ++checked;
        if (fast != slow && ++differing <= 10)
            ADD_FAILURE() << std::hexfloat << value << " under F" << w << "." << d << ": \"" << fast
                          << "\", the conversion gives \"" << slow << "\"";
    };
    const double special[] = {0.0,    -0.0,    0.5,   -0.5,  0.05,  -0.05, 1.5,    2.5,
                              0.125,  -0.125,  2.675, 9.995, 0.999, 99.99, 1e-300, -1e-300,
                              5e-324, 1e15,    1e16,  1e17,  1e300, -1e300};
    for (int d = 0; d <= 12; ++d)
        for (int w = 1; w <= 24; ++w)
            for (double v : special) check(v, w, d);
    while (checked < total) {
        const int d = static_cast<int>(rng() % 13);
        const int w = 1 + static_cast<int>(rng() % 24);
        check(fixtures::AwkwardDouble(rng, d), w, d);
    }
    EXPECT_EQ(differing, 0) << "of " << checked;
}

// A locale with a comma decimal point, built for the test under a
// temporary LOCPATH from the locale sources (Debian's locales package), so
// that the test runs on a machine that has no such locale installed.
class CommaLocale {
public:
    CommaLocale() {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("ledra-locale-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(dir_);
        const std::string command =
            "localedef -c -i de_DE -f UTF-8 '" + (dir_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        built_ = std::system(command.c_str()) == 0 && std::filesystem::exists(dir_ / "de_DE.UTF-8");
        if (const char* old = std::getenv("LOCPATH")) previous_ = old;
        setenv("LOCPATH", dir_.string().c_str(), 1);
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, "C");
        if (previous_)
            setenv("LOCPATH", previous_->c_str(), 1);
        else
            unsetenv("LOCPATH");
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }
    bool Built() const { return built_; }
    // Makes it the C library's numeric locale; false when it cannot be.
    bool Use() const {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"})
            if (std::setlocale(LC_NUMERIC, name)) return std::localeconv()->decimal_point[0] == ',';
        return false;
    }

private:
    std::filesystem::path dir_;
    std::optional<std::string> previous_;
    bool built_ = false;
};

TEST(LayoutLocale, IgnoresTheCLocale) {
    // A windowing toolkit may set the locale from the environment; a comma
    // decimal point must not leak into the layouts.
    const CommaLocale locale;
    ASSERT_TRUE(locale.Built())
        << "localedef could not build de_DE.UTF-8 (the locales package, scripts/deps)";
    ASSERT_TRUE(locale.Use()) << "the comma locale built cannot be set";
    const std::string written = Write("(F8.2)", {1.5});
    double value = 0;
    const bool read = Read("   12.25", "(F8.2)", {&value});
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(written, "    1.50");
    EXPECT_TRUE(read);
    EXPECT_EQ(value, 12.25);
}

// ------------------------------------------------------------------- input

struct ReadNumberCase {
    std::string name;
    std::string layout;
    std::string text;
    bool ok;
    double expected;  // when ok
};

void PrintTo(const ReadNumberCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutReadNumber : public ::testing::TestWithParam<ReadNumberCase> {};

TEST_P(LayoutReadNumber, ReadsDoubleOrFails) {
    const ReadNumberCase& c = GetParam();
    double value = -777;
    EXPECT_EQ(Read(c.text, c.layout, {&value}), c.ok) << c.layout << " [" << c.text << "]";
    EXPECT_EQ(value, c.ok ? c.expected : -777) << c.layout << " [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    LayoutAll, LayoutReadNumber,
    ::testing::Values(ReadNumberCase{"F_with_point", "(F20.4)", "           1234.5678", true, 1234.5678},
                      ReadNumberCase{"F_implied_decimals", "(F14.4)", "          5000", true, 0.5},
                      ReadNumberCase{"F_implied_fewer_digits", "(F5.2)", "   12", true, 0.12},
                      ReadNumberCase{"F_implied_no_decimals", "(F9.0)", "  1234567", true, 1234567},
                      ReadNumberCase{"F_point_overrides", "(F8.2)", "  1234.5", true, 1234.5},
                      ReadNumberCase{"F_trailing_point", "(F10.0)", "     1234.", true, 1234},
                      ReadNumberCase{"F_blanks_inside", "(F10.2)", " 1 2 3 . 4", true, 123.4},
                      ReadNumberCase{"F_negative", "(F8.2)", "  -12.5 ", true, -12.5},
                      ReadNumberCase{"F_plus_implied", "(F8.2)", "+12", true, 0.12},
                      ReadNumberCase{"F_sign_blank_digits", "(F8.2)", "- 1250", true, -12.5},
                      ReadNumberCase{"F_point_first", "(F4.3)", ".500", true, 0.5},
                      ReadNumberCase{"F_all_blank", "(F8.2)", "        ", true, 0},
                      ReadNumberCase{"F_past_end_of_text", "(F8.2)", "", true, 0},
                      ReadNumberCase{"F_field_runs_past_end", "(F8.2)", "  12", true, 0.12},
                      ReadNumberCase{"F_only_field_counts", "(F4.1)", "  12xyz", true, 1.2},
                      ReadNumberCase{"I_into_double", "(I4)", "  -3", true, -3},
                      ReadNumberCase{"F_letter", "(F6.2)", "  12a ", false, 0},
                      ReadNumberCase{"F_sign_after_digit", "(F6.2)", "  1-2 ", false, 0},
                      ReadNumberCase{"F_two_signs", "(F6.2)", "  --12", false, 0},
                      ReadNumberCase{"F_two_points", "(F6.2)", " 1.2.3", false, 0},
                      ReadNumberCase{"F_exponent", "(F6.2)", "  1E5 ", false, 0},
                      ReadNumberCase{"F_comma", "(F8.2)", "1,234.00", false, 0},
                      ReadNumberCase{"F_asterisks", "(F5.2)", "*****", false, 0},
                      ReadNumberCase{"F_tab", "(F5.2)", "\t1.00", false, 0},
                      ReadNumberCase{"I_with_point", "(I3)", "1.5", false, 0}),
    [](const auto& info) { return info.param.name; });

struct ReadIntegerCase {
    std::string layout;
    std::string text;
    bool ok;
    long long expected;
};

TEST(LayoutReadInteger, RangesOfEachTarget) {
    const ReadIntegerCase cases16[] = {
        {"(I6)", "  -42 ", true, -42},  {"(I5)", "32767", true, 32767}, {"(I6)", "-32768", true, -32768},
        {"(I6)", "-32769", false, 0},   {"(I5)", "40000", false, 0},    {"(I5)", "     ", true, 0},
        {"(I3)", "1 2", true, 12},      {"(I3)", "+7", true, 7},        {"(F6.2)", "  2.50", true, 3},
        {"(F6.2)", " -2.50", true, -3}, {"(F6.2)", "  2.49", true, 2},  {"(F8.1)", "32767.5", false, 0},
        {"(I2)", "1a", false, 0},
    };
    for (const auto& c : cases16) {
        int16_t value = 99;
        EXPECT_EQ(Read(c.text, c.layout, {&value}), c.ok) << c.layout << " [" << c.text << "]";
        EXPECT_EQ(value, c.ok ? c.expected : 99) << c.layout << " [" << c.text << "]";
    }
    const ReadIntegerCase cases32[] = {
        {"(I11)", "-2147483648", true, -2147483648LL},
        {"(I10)", "2147483648", false, 0},
        {"(I6)", "950229", true, 950229},
    };
    for (const auto& c : cases32) {
        int32_t value = 99;
        EXPECT_EQ(Read(c.text, c.layout, {&value}), c.ok) << c.layout << " [" << c.text << "]";
        EXPECT_EQ(value, c.ok ? c.expected : 99) << c.layout << " [" << c.text << "]";
    }
    const ReadIntegerCase cases64[] = {
        {"(I20)", "-9223372036854775808", true, std::numeric_limits<long long>::min()},
        {"(I19)", "9223372036854775807", true, std::numeric_limits<long long>::max()},
        {"(I19)", "9223372036854775808", false, 0},
        {"(I30)", "000000000000000000000000000012", true, 12},
    };
    for (const auto& c : cases64) {
        int64_t value = 99;
        EXPECT_EQ(Read(c.text, c.layout, {&value}), c.ok) << c.layout << " [" << c.text << "]";
        EXPECT_EQ(value, c.ok ? c.expected : 99) << c.layout << " [" << c.text << "]";
    }
}

TEST(LayoutReadFloat, NearestFloatToTheDecimalText) {
    // Halfway between 1 and the next float, plus a little: the nearest
    // float is above 1, but going through a double first lands exactly on
    // the half and then rounds to 1.
    float value = 0;
    ASSERT_TRUE(Read("1.0000000596046448", "(F18.16)", {&value}));
    EXPECT_EQ(value, std::nextafter(1.0f, 2.0f));

    ASSERT_TRUE(Read("           1234.57", "(F18.2)", {&value}));
    EXPECT_EQ(value, 1234.57f);
    ASSERT_TRUE(Read("  12", "(I4)", {&value}));
    EXPECT_EQ(value, 12.0f);

    // Too large for a float does not fit; too small is zero.
    value = 5;
    EXPECT_FALSE(Read(std::string(50, '9') + ".", "(F51.0)", {&value}));
    EXPECT_EQ(value, 5);
    ASSERT_TRUE(Read("." + std::string(60, '0') + "1", "(F62.2)", {&value}));
    EXPECT_EQ(value, 0.0f);
}

TEST(LayoutReadText, WidthAgainstTargetLength) {
    struct Case {
        const char* layout;
        const char* text;
        std::size_t length;
        const char* expected;
    };
    const Case cases[] = {
        {"(A4)", "ABCD", 2, "CD"},  // w >= len: the rightmost len characters
        {"(A4)", "ABCD", 4, "ABCD"},
        {"(A4)", "ABCD", 6, "ABCD  "},  // w < len: left-justified, blank-padded
        {"(A)", "XYZW", 3, "XYZ"},      // A alone: len characters
        {"(2X,A4)", "ABC", 4, "C   "},  // past the end: blanks
        {"(A2)", "", 2, "  "},
        {"(I1,/,A3)", "1ABC", 3, "   "},  // the next record is blank
    };
    for (const Case& c : cases) {
        std::string target(c.length, '#');
        if (std::string(c.layout).find('I') != std::string::npos) {
            int32_t first = 0;
            ASSERT_TRUE(Read(c.text, c.layout, {&first, &target})) << c.layout;
        } else {
            ASSERT_TRUE(Read(c.text, c.layout, {&target})) << c.layout;
        }
        EXPECT_EQ(target, c.expected) << c.layout << " [" << c.text << "]";
    }
}

TEST(LayoutReadText, SingleCharactersAndTargetThatIsTheText) {
    std::vector<std::string> parts(8, std::string(1, ' '));
    std::vector<InItem> items;
    for (std::string& part : parts) items.push_back(&part);
    ASSERT_TRUE(Read("12/31/95", "(8A1)", items));
    EXPECT_EQ(parts[2], "/");
    EXPECT_EQ(parts[7], "5");

    // Reading a text into the string it is taken from.
    std::string text = "ABCDEFGH";
    ASSERT_TRUE(Read(text, "(4X,A)", {&text}));
    EXPECT_EQ(text, "EFGH    ");
}

TEST(LayoutRead, SeveralFieldsSkipsAndRecords) {
    int16_t month = 0, day = 0, year = 0;
    ASSERT_TRUE(Read("12/31/95", "(I2,'/',I2,'/',I2)", {&month, &day, &year}));
    EXPECT_EQ(month, 12);
    EXPECT_EQ(day, 31);
    EXPECT_EQ(year, 95);

    ASSERT_TRUE(Read(" 2  9 95", "(I2,1X,I2,1X,I2)", {&month, &day, &year}));
    EXPECT_EQ(month, 2);
    EXPECT_EQ(day, 9);
    EXPECT_EQ(year, 95);

    // X skips whatever is there.
    int32_t value = 0;
    ASSERT_TRUE(Read("xx12", "(2X,I2)", {&value}));
    EXPECT_EQ(value, 12);

    // "/" and reversion move to the next record, which is blank.
    int32_t a = 7, b = 7;
    ASSERT_TRUE(Read("1234", "(I2,/,I2)", {&a, &b}));
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 0);
    a = b = 7;
    ASSERT_TRUE(Read("1234", "(I2)", {&a, &b}));
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 0);

    // Repeat counts and groups.
    double x = 0, y = 0, z = 0;
    ASSERT_TRUE(Read("  7 125 250 375", "(I3,3(F4.2))", {&a, &x, &y, &z}));
    EXPECT_EQ(a, 7);
    EXPECT_EQ(x, 1.25);
    EXPECT_EQ(z, 3.75);
}

TEST(LayoutRead, FailureLeavesEveryTargetUntouched) {
    int32_t first = 5, second = 6;
    std::string text = "####";
    double number = 8;
    struct Case {
        const char* text;
        const char* layout;
        std::vector<InItem> items;
    };
    const std::vector<Case> cases = {
        {"12ab", "(I2,I2)", {&first, &second}},                  // the first field alone would read
        {"123456x8", "(I2,A4,F2.0)", {&first, &text, &number}},  // fails at the last
        {"12", "(I2)", {&text}},                                 // a text under I
        {"12", "(F2.0)", {&text}},                               // a text under F
        {"12", "(A2)", {&first}},                                // a number under A
        {"12", "('AB')", {&first}},                              // nothing to read into
        {"1212", "(I2,('X'))", {&first, &second}},               // nothing after reversion
        {"12", "(I2", {&first}},                                 // malformed
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Read(c.text, c.layout, c.items)) << c.layout;
        EXPECT_EQ(first, 5) << c.layout;
        EXPECT_EQ(second, 6) << c.layout;
        EXPECT_EQ(text, "####") << c.layout;
        EXPECT_EQ(number, 8) << c.layout;
    }
}

// ------------------------------------------------------------- layouts

TEST(LayoutValidity, WellFormedAndMalformed) {
    const char* const valid[] = {
        "(F20.4)",          "(1X,'TOTAL:',85X,A16)",
        "('(F20.',I1,')')", "(1X,I3,3(F6.1,1X))",
        "(I2/I2)",          "(I2,2/,I2)",
        "( F 20 . 4 )",     "(f20.4)",
        "(1X,2A1,\\)",      "(X)",
        "((I2))",           "()",
        "(132A1)",          "('a'',b')",
        "  (A)  ",          "(F3.5)",
        "(1X,124('-'))",
    };
    for (const char* layout : valid) EXPECT_TRUE(IsValidLayout(layout)) << layout;

    const std::string deep = std::string(40, '(') + "I2" + std::string(40, ')');
    const std::string malformed[] = {
        "",
        "   ",
        "F20.4",
        "(F20.4",
        "F20.4)",
        "(F20.4))",
        "(F20.4) x",
        "(Q5)",
        "('abc)",
        "('abc'')",
        "(F20)",
        "(F.2)",
        "(I)",
        "(I2.2)",
        "(0X)",
        "(0I2)",
        "(A0)",
        "(I0)",
        "(I2,,I2)",
        "(,I2)",
        "(I2,)",
        "(3'ab')",
        "(I2I2)",
        "(2\\)",
        "(I9999)",
        "(F20.999)",
        "(99999X)",
        "(1234567890I2)",
        "(32767(32767('x')))",
        deep,
        "(NO TRANSACTIONS REPORTED.)",
    };
    for (const std::string& layout : malformed) {
        EXPECT_FALSE(IsValidLayout(layout)) << layout;
        EXPECT_EQ(Write(layout, {1LL}), "") << layout;
        EXPECT_TRUE(WriteRecords(layout, {1LL}).empty()) << layout;
        int32_t value = 3;
        EXPECT_FALSE(Read("1", layout, {&value})) << layout;
        EXPECT_EQ(value, 3) << layout;
    }
}

TEST(LayoutValidity, SameTextGivesSameResultAfterCaching) {
    // A layout text built in a reused buffer: the cache is keyed by the
    // text, not by where it lives.
    std::string buffer = "(F8.2)";
    EXPECT_EQ(Write(buffer, {1.5}), "    1.50");
    buffer = "(F8.3)";
    EXPECT_EQ(Write(buffer, {1.5}), "   1.500");
    buffer = "(F8.2";
    EXPECT_EQ(Write(buffer, {1.5}), "");
    buffer = "(F8.2)";
    EXPECT_EQ(Write(buffer, {1.5}), "    1.50");
    // More distinct layouts than the cache keeps: it starts afresh, and a
    // layout seen before (from the same place) is parsed again, not lost.
    const std::string_view kept = "(F9.1)";
    EXPECT_EQ(Write(kept, {2.25}), "      2.3");
    for (int blanks = 1; blanks <= 5000; ++blanks) {
        buffer = blanks <= 4000 ? "(" + std::to_string(blanks) + "X,I3)"
                                : "(I3," + std::to_string(blanks - 4000) + "X)";
        ASSERT_EQ(Write(buffer, {7LL}).size(), static_cast<std::size_t>(3 + (blanks - 1) % 4000 + 1))
            << buffer;
    }
    EXPECT_EQ(Write(kept, {2.25}), "      2.3");
}

}  // namespace
}  // namespace records
