#include "reports/kernel/security_kinds.h"

#include <gtest/gtest.h>

namespace {

TEST(SecurityKinds, FixedIncomeTypes) {
    for (char c : std::string("34567BDFWXY")) EXPECT_TRUE(reports::IsFixedIncomeType(c)) << c;
    for (char c : std::string("01289ACEGHZ w")) EXPECT_FALSE(reports::IsFixedIncomeType(c)) << c;
    EXPECT_FALSE(reports::IsFixedIncomeType('\0'));
}

TEST(SecurityKinds, TypeNumbers) {
    struct Case {
        char type;
        int number;
    } cases[] = {{'0', 1},  {'9', 10}, {'A', 11},  {'H', 18}, {'Z', 36},
                 {'a', 37}, {' ', 37}, {'\0', 37}, {'$', 37}};
    for (const Case& c : cases) EXPECT_EQ(reports::SecurityTypeNumber(c.type), c.number) << c.type;
}

}  // namespace
