#include "reports/fixed_income/fixed_income_measures.h"

#include <cmath>

#include "records/dates.h"
#include "records/record.h"

namespace reports {

int RatingRank(std::string_view rating) {
    std::string word = records::Fixed(rating, 4);
    for (char& c : word)
        if (c == '\0') c = ' ';
    for (std::size_t k = 0; k < kRatingScale.size(); ++k)
        if (word == kRatingScale[k]) return static_cast<int>(k) + 1;
    return 0;
}

std::string AverageRating(int rank_sum, int rated) {
    if (rated <= 0) return "N/A ";
    int rank = rank_sum / rated;
    if (rank < 1) rank = 1;
    if (rank > 12) rank = 12;
    return std::string(kRatingScale[static_cast<std::size_t>(rank - 1)]);
}

double BondDuration(float coupon, float yield, float years) {
    const double c = coupon / 2.0;
    const double base = 1.0 + yield / 200.0;
    if (!(base > 0)) return 0;
    const float n = 2.0f * years;
    // The number of flows is K - 1: every whole period before the last,
    // then the last at n.
    const float whole = std::floor(n);
    const float upper = (n == whole) ? n + 1.0f : n + 2.0f;
    const long k = static_cast<long>(upper);  // truncated toward zero
    double s1 = 0;
    double s2 = 0;
    for (long t = 1; t <= k - 1; ++t) {
        const bool last = t == k - 1;
        const double weight = last ? static_cast<double>(n) : static_cast<double>(t);
        const double factor = std::pow(base, weight);
        if (factor == 0 || !std::isfinite(factor)) continue;
        const double flow = (last ? 100.0 + c : c) / factor;
        s1 += flow;
        s2 += weight * flow;
    }
    return s1 == 0 ? 0 : s2 / s1 / 2.0;
}

BondFacts BondFactsOf(std::string_view report_date, const records::SecurityRecord& security,
                      const records::SecurityExtension& terms) {
    BondFacts b;
    b.dated = records::DateTextNumber(security.due_date) > 0;
    b.days = b.dated ? records::Daycb(report_date, security.due_date, 0) : 0;
    b.coupon = security.rate;
    b.yield = terms.yield_to_maturity;
    b.has_coupon = !IsMissingRate(b.coupon);
    b.has_yield = !IsMissingRate(b.yield);
    b.has_duration = b.has_coupon && b.has_yield && b.dated;
    return b;
}

}  // namespace reports
