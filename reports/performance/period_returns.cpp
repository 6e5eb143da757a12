#include "reports/performance/period_returns.h"

#include <algorithm>
#include <span>

#include "engine/series.h"
#include "engine/value_history.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/performance/index_levels.h"

namespace reports {

namespace {

constexpr std::size_t kRecordLength = 128;

// Record 37's two index slots: a 12-character symbol and three
// 8-character headers each.
records::IndexSlot SlotAt(const std::array<unsigned char, 72>& bytes, std::size_t off) {
    records::IndexSlot slot;
    slot.symbol.assign(reinterpret_cast<const char*>(bytes.data() + off), 12);
    for (std::size_t k = 0; k < 3; ++k)
        slot.headers[k].assign(reinterpret_cast<const char*>(bytes.data() + off + 12 + 8 * k), 8);
    return slot;
}

bool FileThere(const std::string& name) {
    return records::DirectFile(name, kRecordLength, false).ok();
}

}  // namespace

AppraisalPerformanceRequest HoldingPerformanceRequest(const std::string& account, const std::string& symbol,
                                                      const std::string& report_date,
                                                      const std::array<unsigned char, 72>& record37) {
    AppraisalPerformanceRequest r;
    r.account = records::Fixed(account, 8);
    r.security = records::Fixed(symbol, 12);
    r.end_date = records::Fixed(report_date, 8);
    r.indexes = {SlotAt(record37, 0), SlotAt(record37, 36)};
    return r;
}

AppraisalReturns Mnappr2(const AppraisalPerformanceRequest& request, const records::Options& options) {
    AppraisalReturns out;  // every figure -999.99 until Persum2 gives it

    // The end period: the report date's month.
    int16_t end_month = 0, end_day = 0, end_year = 0;
    records::Redate(request.end_date, end_month, end_day, end_year);
    {
        const double number = records::WindowedDateNumber(end_month, end_day, end_year);
        const long yymm = static_cast<long>(number / 100);
        end_year = static_cast<int16_t>(yymm / 100);
        end_month = static_cast<int16_t>(yymm - 100 * end_year);
    }

    // The account's value history: without it there are no figures. A
    // history that ends before the end year ends the period in December of
    // its last year.
    {
        records::DirectFile history(records::Paknam(request.account, "HL", ".DAT"), kRecordLength, false);
        records::Record rec;
        if (!history.ok() || !history.Read(1, rec)) return out;
        const engine::ValueHistoryHeader header = engine::ValueHistoryHeader::Decode(rec);
        const int last = header.first_year + header.years - 1;
        if (last < end_year) {
            end_year = static_cast<int16_t>(last);
            end_month = 12;
        }
    }

    // The series, replayed from the account's transactions (never created
    // here when the account has none).
    if (!FileThere(records::Paknam(request.account, "TR", ".REC"))) return out;
    engine::PeriodValues values;
    engine::PeriodValues flows;
    engine::PeriodIncomes incomes{};
    values.fill(engine::kNoMarketValue);
    flows.fill(engine::kNoMarketValue);
    int16_t periods = 0;
    engine::AccountData account_data{};
    // The options record stands in for the account data: option 20 keeps
    // management fees and bank charges out of the net contributions, as the
    // value history does.
    std::copy(options.begin(), options.end(), account_data.begin());
    engine::SeriesBlock block;
    std::string start_date = request.start_date;
    const int16_t status =
        engine::Getmmv2(request.account, request.end_date, start_date, values, flows, incomes, periods,
                        account_data, request.security, request.opening_value, block);
    // The replay's scratch lot file is of no use after the call.
    records::Purge(records::Paknam("", "HL", ".TP1"));
    if (status != engine::kSeriesDone || periods <= 0) return out;

    // The start: the series' first date. On the last day of its month the
    // beginning figures are entry 2's.
    int16_t start_month = 0, start_day = 0, start_year = 0;
    records::Redate(start_date, start_month, start_day, start_year);
    start_year = block.start_year;
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, start_year);
    const bool month_end = start_month >= 1 && start_month <= 12 && start_day == lengths[start_month - 1];
    const int first = month_end ? 1 : 0;
    const double begin_value = values[first];

    if (start_year > end_year || end_year <= 0 || start_year <= 0 || start_month <= 0) return out;

    SummarySeries series;
    // Index 2's levels, for the whole account only: entry 1 holds the month
    // before the series' first month, entry k + 1 its k-th month, on the
    // report date's day of each month.
    if (records::TrimRight(request.security).empty()) {
        int16_t before_month = static_cast<int16_t>(start_month - 1), before_year = start_year;
        if (before_month == 0) {
            before_month = 12;
            --before_year;
        }
        Mnapsec(before_month, end_day, before_year, end_month, end_year, request.indexes[1].symbol,
                std::span<float>(series.index.data(), series.index.size()), 0);
    }

    // A start within a month counts from the month before, so that entry 1
    // is the start and entry k + 1 the k-th month's end. The first index
    // level is kept for the 6- and 12-month index returns.
    const float first_level = series.index[0];
    if (!month_end) {
        if (--start_month == 0) {
            start_month = 12;
            --start_year;
        }
    }

    series.first_month = start_month;
    series.first_year = start_year;
    series.last_month = end_month;
    series.last_year = end_year;
    series.count_year = end_year;
    series.entries = periods;
    for (int k = 0; k < kSummaryMonths; ++k) {
        series.value[k] = values[k];
        series.flow[k] = flows[k];
        series.weight[k] = incomes[k];
    }

    SummaryRequest summary;
    summary.start_date = records::Fixed(start_date, 8);
    summary.end_date = records::Fixed(request.end_date, 8);
    summary.index_word = records::Fixed(request.security, 4);
    summary.opening_value = begin_value;
    summary.opening_index = request.begin_index_level;
    summary.opening_extra = request.begin_figure;
    summary.start_index_level = first_level;
    summary.anchor_month = request.anchor_month;
    summary.anchor_year = request.anchor_year;
    summary.anchor_return = request.anchor_return;
    return Persum2(summary, series, options);
}

}  // namespace reports
