// The performance cells: each figure checked by hand against its layout
// ("(F12.0)" with commas, "(F6.1)", "(F8.2)"), the plus sign only before
// a first digit other than 0 that has a blank before it, and "N/A" for the
// no-value markers.

#include "reports/performance/performance_cells.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace reports;

TEST(PerformanceCells, Percentages) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {12.5f, " +12.5"}, {0.5f, "   0.5"},   {0.0f, "   0.0"},    {-3.0f, "  -3.0"},    {-0.4f, "  -0.4"},
        {1.99f, "  +2.0"}, {100.0f, "+100.0"}, {1000.0f, "1000.0"}, {-999.99f, "   N/A"},
    };
    for (const auto& c : cases) {
        const std::string text = Mprfpct(c.value);
        ASSERT_EQ(text.size(), 32u);
        EXPECT_EQ(text.substr(0, 6), c.text) << c.value;
        EXPECT_EQ(text.substr(6), std::string(26, ' ')) << c.value;
    }
}

TEST(PerformanceCells, Amounts) {
    const struct {
        double value;
        int16_t sign;
        const char* text;
    } cases[] = {
        {1234567.0, 1, "  +1,234,567"}, {1234567.0, 0, "   1,234,567"}, {-1234567.0, 1, "  -1,234,567"},
        {999.0, 1, "        +999"},     {0.0, 1, "           0"},       {1234.6, 1, "      +1,235"},
        {-99999.99, 1, "        N/A "},
    };
    for (const auto& c : cases) {
        const std::string text = Mprfnum(c.value, c.sign);
        ASSERT_EQ(text.size(), 32u);
        EXPECT_EQ(text.substr(0, 12), c.text) << c.value << " sign " << c.sign;
    }
}

TEST(PerformanceCells, SmallAmounts) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{12.5f, "   12.50"}, {5.0f, "    5.00"}, {-3.25f, "   -3.25"}, {-999.99f, "    N/A "}};
    for (const auto& c : cases) EXPECT_EQ(Mprfamt(c.value).substr(0, 8), c.text) << c.value;
}

TEST(PerformanceCells, PlusSign) {
    const struct {
        const char* before;
        int n;
        const char* after;
    } cases[] = {
        {"  12.5", 6, " +12.5"},                   // blank before the first digit takes the sign
        {"12.5  ", 6, "12.5  "},                   // first position: no room
        {"   0.4", 6, "   0.4"},                   // starts with 0
        {"  -3.0", 6, "  -3.0"},                   // negative
        {"      ", 6, "      "},                   // all blank
        {"  12.5", 0, "  12.5"},                   // count 0 does nothing
        {"   7  ", 2, "   7  "},                   // the digit lies beyond the count
        {"             5", 20, "             5"},  // only 12 characters are looked at
    };
    for (const auto& c : cases) {
        std::string text = c.before;
        Mprftxt(text, c.n);
        EXPECT_EQ(text, c.after) << "[" << c.before << "] " << c.n;
    }
}

}  // namespace
