#pragma once

// The measures the fixed income analyses and the fixed income summary
// share: the rating scale, a bond's duration, the missing-value marker
// of coupons and yields, and what a lot's security records say of it.

#include <array>
#include <string>
#include <string_view>

#include "records/security_file.h"

namespace reports {

// A coupon rate or yield the security records do not hold.
inline constexpr float kMissingRate = -999.99f;

inline bool IsMissingRate(float value) {
    return value == kMissingRate;
}

// The rating scale, ranks 1 to 12; rank 12 is four blanks.
inline constexpr std::array<std::string_view, 12> kRatingScale = {
    "AAA ", "AA  ", "A+  ", "A   ", "A-  ", "BBB ", "BB  ", "B+  ", "B   ", "B-  ", "C   ", "    "};

// The rank (1-12) of a four-character rating word, compared exactly (zero
// bytes of a never-written field count as blanks); 0 for a word not on
// the scale ("AA+ ").
int RatingRank(std::string_view rating);

// The average rating of an account as printed: the word of the rank sum
// divided by the rated count (remainder dropped, held within 1 to 12), or
// "N/A " when no holding is rated.
std::string AverageRating(int rank_sum, int rated);

// Macaulay duration in years of a bond with semi-annual coupons, the
// coupon and yield in percent, years to maturity as given. Half-year
// periods n = 2 x years; one coupon of coupon / 2 per 100 of par at each
// whole period before the last, and 100 + coupon / 2 at n, discounted at
// yield / 200 a period. A bond with less than a period left has its one
// flow at n (0.4 years gives 0.4); a matured bond has no flows and
// duration 0, as has a bond whose discount base 1 + yield / 200 is not
// positive.
double BondDuration(float coupon, float yield, float years);

// What a fixed-income lot's security and terms give as of the report date:
// whether it has a maturity date (a blank one is unknown) and the actual
// days to it, its coupon and yield to maturity and whether the records
// hold each, and whether a duration can be taken (coupon, yield and
// maturity all known).
struct BondFacts {
    bool dated = false;
    double days = 0;
    float coupon = 0;
    float yield = 0;
    bool has_coupon = false;
    bool has_yield = false;
    bool has_duration = false;
};
BondFacts BondFactsOf(std::string_view report_date, const records::SecurityRecord& security,
                      const records::SecurityExtension& terms);

}  // namespace reports
