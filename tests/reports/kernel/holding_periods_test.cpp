// The three holding-period rules: the realised gains' classes, the working
// appraisal pages' term and the assets under management pages' term.

#include "reports/kernel/holding_periods.h"

#include <gtest/gtest.h>

#include <string>

#include "records/dates.h"
#include "reports/kernel/lot_securities.h"
#include "tests/fixtures/account_builder.h"

namespace reports {
namespace {

struct HoldingCase {
    const char* bought;
    const char* sold;
    bool reacquired;
    HoldingClass expected;
    bool composite_short;  // the composite report's two classes
};

TEST(HoldingPeriod, ClassesByThresholdsAndTieBreaks) {
    using H = HoldingClass;
    const HoldingCase cases[] = {
        // A year to the day is short-term; a day more is mid-term, which the
        // composite report counts as long-term; eighteen months is long-term.
        {" 1/15/96", " 1/15/97", false, H::kShortTerm, true},
        {" 1/15/96", " 1/16/97", false, H::kMidTerm, false},
        {" 1/15/96", " 7/14/97", false, H::kMidTerm, false},
        {" 1/15/96", " 7/15/97", false, H::kLongTerm, false},
        // Purchases from 06/23/84 to 12/31/87: six months to the day is
        // short-term, a day longer mid-term.
        {" 6/23/84", "12/23/84", false, H::kShortTerm, true},
        {" 6/23/84", "12/24/84", false, H::kMidTerm, false},
        {"12/31/87", " 6/30/88", false, H::kShortTerm, true},
        {"12/31/87", " 7/01/88", false, H::kMidTerm, false},
        // Just outside the window the one-year rule holds.
        {" 6/22/84", "12/24/84", false, H::kShortTerm, true},
        {" 1/01/88", " 7/02/88", false, H::kShortTerm, true},
        // 08/31/85's six months end on 02/28/86; 08/31/83 is outside the window.
        {" 8/31/85", " 2/28/86", false, H::kShortTerm, true},
        {" 8/31/85", " 3/01/86", false, H::kMidTerm, false},
        // A reacquired lot is short-term however long it was held.
        {" 1/15/93", " 1/15/96", true, H::kShortTerm, true},
        {" 1/15/93", " 1/15/96", false, H::kLongTerm, false},
        // Purchases in 2001 (small purchase numbers) keep the one-year rule.
        {" 3/10/01", " 3/10/02", false, H::kShortTerm, true},
        {" 3/10/01", " 3/11/02", false, H::kMidTerm, false},
        {" 3/10/01", " 9/10/02", false, H::kLongTerm, false},
        // February 29 bought: a year on counts as March 1.
        {" 2/29/96", " 3/01/97", false, H::kShortTerm, true},
        {" 2/29/96", " 3/02/97", false, H::kMidTerm, false},
    };
    for (const HoldingCase& c : cases) {
        SCOPED_TRACE(std::string(c.bought) + " -> " + c.sold);
        const H got = ClassifyHolding(c.bought, fixtures::DateNumber(c.sold), c.reacquired);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(IsShortTerm(got), c.composite_short);
    }
}

TEST(HoldingPeriod, LimitsCutTheDayToTheMonthsLength) {
    // 08/31/95: six months on is 02/29/96 (1996 is a leap year), a year on
    // 08/31/96, eighteen months on 02/28/97.
    const HoldingLimits limits = LimitsOf(" 8/31/95");
    EXPECT_EQ(limits.six_months, records::Daycb(" 8/31/95", " 2/29/96", 0));
    EXPECT_EQ(limits.six_months, 182);
    EXPECT_EQ(limits.one_year, 366);
    EXPECT_EQ(limits.eighteen_months, records::Daycb(" 8/31/95", " 2/28/97", 0));
}

TEST(HoldingPeriod, SixMonthLimitIsCutToTheMonthsLength) {
    // 08/31/95 is outside the window, so its six-month limit (02/29/96)
    // is seen through the eighteen-month limit's day cut: 08/31/95 plus
    // eighteen months is 02/29/97 cut to 02/28/97.
    EXPECT_EQ(ClassifyHolding(" 8/31/95", fixtures::DateNumber(" 2/27/97"), false), HoldingClass::kMidTerm);
    EXPECT_EQ(ClassifyHolding(" 8/31/95", fixtures::DateNumber(" 2/28/97"), false), HoldingClass::kLongTerm);
    // Within the window the six-month limit of 08/31/84 is 02/28/85, and
    // of 08/31/87 it is 02/29/88.
    EXPECT_EQ(ClassifyHolding(" 8/31/84", fixtures::DateNumber(" 2/28/85"), false), HoldingClass::kShortTerm);
    EXPECT_EQ(ClassifyHolding(" 8/31/84", fixtures::DateNumber(" 3/01/85"), false), HoldingClass::kMidTerm);
    EXPECT_EQ(ClassifyHolding(" 8/31/87", fixtures::DateNumber(" 2/29/88"), false), HoldingClass::kShortTerm);
    EXPECT_EQ(ClassifyHolding(" 8/31/87", fixtures::DateNumber(" 3/01/88"), false), HoldingClass::kMidTerm);
}

TEST(HoldingPeriod, WorkingAppraisalTermOfALot) {
    struct Case {
        const char* bought;
        const char* priced;
        bool long_term;
    };
    const Case cases[] = {
        {"12/15/99", " 6/16/00", true},   // 9401 across the year end
        {"12/15/99", " 6/15/00", false},  // 9400
        {" 1/15/00", " 7/16/00", true},   // 601
        {" 1/15/00", " 7/15/00", false},  // 600
        {" 1/15/99", " 6/30/00", true},   // 10615
        {" 2/15/00", " 6/30/00", false},  // 415
        {" 1/15/84", " 1/16/85", true},   // before 06/23/84: more than a year
        {" 1/15/84", " 1/15/85", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WorkingAppraisalLongTerm(c.bought, c.priced), c.long_term) << c.bought;
        EXPECT_EQ(WorkingAppraisalLongTerm(LotDateNumber(c.bought), LotDateNumber(c.priced)), c.long_term)
            << c.bought;
    }
}

// The assets under management rule looks at the pricing year, not the
// purchase date, and has no upper band: the same dates can fall on
// different sides of the three rules.
TEST(HoldingPeriod, AumTermByPricingYear) {
    struct Case {
        float priced;
        float bought;
        bool long_term;
    };
    const Case cases[] = {
        {860715, 860114, true},     // 1986: six months, 601
        {860715, 860115, false},    // 600
        {880715, 870715, true},     // 1988: 10000 is above 601
        {890715, 880715, false},    // 1989: 10000 is not above 10000.5
        {890716, 880715, true},     // 10001
        {1000716, 990715, true},    // across the century, windowed
        {1000715, 1000114, false},  // 601 outside 1984-1988
    };
    for (const Case& c : cases) {
        const int year = static_cast<int>(c.priced) / 10000;
        EXPECT_EQ(AumLongTerm(c.priced, year, c.bought), c.long_term) << c.priced << " " << c.bought;
    }
    // 12/15/99 to 06/16/00: long on the working appraisal pages (9401),
    // short on the assets under management pages and for the gains.
    EXPECT_TRUE(WorkingAppraisalLongTerm("12/15/99", " 6/16/00"));
    EXPECT_FALSE(AumLongTerm(1000616, 100, 991215));
    EXPECT_EQ(ClassifyHolding("12/15/99", 1000616, false), HoldingClass::kShortTerm);
}

}  // namespace
}  // namespace reports
