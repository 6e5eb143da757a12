// The rating scale and the bond duration shared by the fixed income
// analyses and the fixed income summary.

#include "reports/fixed_income/fixed_income_measures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Macaulay duration in years written out flow by flow: coupon / 2 per 100
// at each half year t = 1 .. m - 1, and 100 + coupon / 2 at the last
// period, at weight `last`.
double WrittenOut(double coupon, double yield, int m, double last) {
    const double c = coupon / 2, y = yield / 200;
    double s1 = 0, s2 = 0;
    for (int t = 1; t < m; ++t) {
        s1 += c / std::pow(1 + y, t);
        s2 += t * c / std::pow(1 + y, t);
    }
    s1 += (100 + c) / std::pow(1 + y, last);
    s2 += last * (100 + c) / std::pow(1 + y, last);
    return s2 / s1 / 2;
}

TEST(BondDuration, Table) {
    struct Case {
        float coupon, yield, years;
        double expected;
    } cases[] = {
        {6, 6, 0.4f, 0.4},                         // one flow at 0.8 periods
        {6, 6, 0.3f, 0.3},                         // one flow at 0.6 periods
        {6, 6, 0.0f, 0.0},                         // matures today: no flows
        {6, 6, -0.5f, 0.0},                        // matured
        {6, 6, -3.0f, 0.0},                        // long matured
        {6, 6, 5.0f, 4.3931},                      // ten periods: 4.39, not the 4.99 of a coupon per 100 of 1
        {6, 6, 5.3f, WrittenOut(6, 6, 11, 10.6)},  // K = 12: coupons at 1-10, the last at 10.6
        {0, 6, 5.0f, 5.0},                         // a zero coupon bond lasts its term
        {8, 5, 1.0f, WrittenOut(8, 5, 2, 2)},      // two periods
        {6, -200, 5.0f, 0.0},                      // no discount base
        {6, -300, 5.0f, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.years) + " years at " + std::to_string(c.yield));
        EXPECT_NEAR(reports::BondDuration(c.coupon, c.yield, c.years), c.expected, 5e-4);
    }
    EXPECT_EQ(std::round(reports::BondDuration(6, 6, 5.0f) * 100) / 100, 4.39);
}

TEST(RatingScale, RanksAndAverage) {
    EXPECT_EQ(reports::RatingRank("AAA "), 1);
    EXPECT_EQ(reports::RatingRank("AAA"), 1);  // blank padded
    EXPECT_EQ(reports::RatingRank("BBB "), 6);
    EXPECT_EQ(reports::RatingRank("C   "), 11);
    EXPECT_EQ(reports::RatingRank("    "), 12);
    EXPECT_EQ(reports::RatingRank(std::string(4, '\0')), 12);  // a field never written
    EXPECT_EQ(reports::RatingRank("AA+ "), 0);
    EXPECT_EQ(reports::RatingRank("aaa "), 0);
    EXPECT_EQ(reports::RatingRank(" AAA"), 0);

    EXPECT_EQ(reports::AverageRating(0, 0), "N/A ");
    EXPECT_EQ(reports::AverageRating(1 + 2, 2), "AAA ");  // 1.5 drops to 1
    EXPECT_EQ(reports::AverageRating(6 + 12, 2), "B   ");
    EXPECT_EQ(reports::AverageRating(24, 2), "    ");
}

}  // namespace
