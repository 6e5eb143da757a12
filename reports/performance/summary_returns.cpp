#include "reports/performance/summary_returns.h"

#include <cmath>
#include <vector>

#include "records/dates.h"
#include "records/options.h"

namespace reports {

namespace {

constexpr float kMissing = -999.99f;
constexpr double kNoFlow = -99999.99;

// (to - from) / from in percent; kMissing when the base is 0 or either
// position lies outside 1..n. A market index level of 0 or below is a
// missing price (-999.99): with priced_only, a return from or to one is
// kMissing too.
float Change(const std::vector<double>& level, int from, int to, bool priced_only = false) {
    if (from < 1 || to < 1 || from > static_cast<int>(level.size()) || to > static_cast<int>(level.size()))
        return kMissing;
    const double base = level[from - 1];
    if (base == 0.0) return kMissing;
    if (priced_only && (base < 0.0 || level[to - 1] <= 0.0)) return kMissing;
    return static_cast<float>((level[to - 1] - base) / base * 100.0);
}

float SinceStart(const std::vector<double>& level, int n, bool cumulative, double exponent,
                 bool priced_only = false) {
    if (n < 1 || n > static_cast<int>(level.size()) || level[0] == 0.0) return kMissing;
    if (cumulative) return Change(level, 1, n, priced_only);
    if (priced_only && (level[0] < 0.0 || level[n - 1] <= 0.0)) return kMissing;
    const double ratio = level[n - 1] / level[0];
    if (ratio <= 0.0) return kMissing;
    return static_cast<float>((std::pow(ratio, exponent) - 1.0) * 100.0);
}

// Days from the anchor month's last day to the end date: under 365 the
// 12-month returns are not given.
bool AnchorTooRecent(const SummaryRequest& r, const std::string& end) {
    if (!(r.anchor_return > 0.0f)) return false;
    records::MonthLengths lengths = records::MonthLengthTable;
    int16_t year = r.anchor_year;
    records::Setfeb(lengths, year);
    const int16_t month = r.anchor_month;
    const int16_t day = (month >= 1 && month <= 12) ? lengths[month - 1] : 31;
    std::string anchor;
    records::Wrdate(anchor, month, day, year);
    return records::Daycb(anchor, end, 0) < 365.0;
}

}  // namespace

AppraisalReturns Persum2(const SummaryRequest& r, SummarySeries& s, const records::Options& options) {
    AppraisalReturns out;
    int16_t month = 0, day = 0, year = 0;
    records::Redate(r.start_date, month, day, year);
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, year);
    const int month_length = (month >= 1 && month <= 12) ? lengths[month - 1] : 0;
    const bool month_end = day == month_length;

    double fraction = 1.0;
    const int n = (s.count_year - s.first_year) * 12 - s.first_month + s.last_month + 1;
    if (month_end) {
        for (int k = 0; k < kSummaryMonths; ++k) {
            const bool last = k + 1 >= kSummaryMonths;
            s.value[k] = last ? 0.0 : s.value[k + 1];
            s.flow[k] = last ? 0.0 : s.flow[k + 1];
            s.weight[k] = last ? 0.0f : s.weight[k + 1];
            s.index[k] = last ? 0.0f : s.index[k + 1];
            s.extra[k] = last ? 0.0f : s.extra[k + 1];
        }
    } else {
        s.value[0] = r.opening_value;
        s.index[0] = r.opening_index;
        s.extra[0] = r.opening_extra;
        if (month_length != 0) fraction = static_cast<double>(month_length - day) / month_length;
    }

    // The anchor month's place, counted from the series' first month.
    int anchor = 0;
    {
        int count = 0;
        for (int y = s.first_year; y <= s.last_year && anchor == 0; ++y) {
            const int from = y == s.first_year ? s.first_month : 1;
            const int to = y == s.last_year ? s.last_month : 12;
            for (int m = from; m <= to; ++m) {
                ++count;
                if (m == r.anchor_month && y == r.anchor_year) {
                    anchor = count;
                    break;
                }
            }
        }
    }

    if (records::Daycb(r.start_date, r.end_date, 0) < 182.0) return out;
    if (n < 1 || n > kSummaryMonths) return out;

    std::vector<double> level(static_cast<std::size_t>(n), 100.0);
    bool stopped = false;
    for (int j = 2; j <= n; ++j) {
        const double begin = s.value[j - 2];
        const double end = s.value[j - 1];
        const double flow = s.flow[j - 1];
        if (begin < 0.0) {
            // No starting value: the level carries on unchanged.
            level[j - 1] = level[j - 2];
            continue;
        }
        if (flow == kNoFlow) {
            stopped = true;
            break;
        }
        double b = begin, e = end, f = flow;
        if (begin == 0.0 && flow != 0.0) {
            b = flow;
            f = 0.0;
        }
        if (end == 0.0 && flow != 0.0) {
            e = std::fabs(flow);
            f = 0.0;
        }
        const double gain = e - f - b;
        const double divisor = (s.weight[j - 1] + f) / 2.0 + b;
        const double growth = divisor > 0.0 ? gain / divisor + 1.0 : 1.0;
        level[j - 1] = j == anchor ? 100.0 + r.anchor_return : level[j - 2] * growth;
    }

    const double months = n + fraction - 2.0;
    const double exponent = (n > 0 && months != 0.0) ? 12.0 / months : 1.0;
    const bool cumulative = records::OptionOn(options, records::Opt::kCumulativeReturn);
    const bool too_recent = AnchorTooRecent(r, r.end_date);

    if (!stopped) {
        out.since_start = SinceStart(level, n, cumulative, exponent);
        out.six_months = Change(level, n - 6, n);
        if (!too_recent) out.twelve_months = Change(level, n - 12, n);
    }

    if (r.index_word != "    ") return out;
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) x[k] = s.index[k];
    out.index_since_start = SinceStart(x, n, cumulative, exponent, true);
    if (!month_end) x[0] = r.start_index_level;
    out.index_six_months = Change(x, n - 6, n, true);
    if (!too_recent) out.index_twelve_months = Change(x, n - 12, n, true);
    return out;
}

}  // namespace reports
