// The performance summary page (Persumm, with option 70's 3 and 5 year
// items) and the summary of performance by asset class (Sumac) over series
// of 12 to 360 months: both chain their indexes once over the series, so
// the time per month should stay about the same from the shortest series
// to the longest.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/synthetic_account.h"
#include "records/options.h"
#include "records/performance_control.h"
#include "records/report_output.h"
#include "reports/performance/asset_class_returns.h"
#include "reports/performance/performance_summary.h"
#include "reports/performance/performance_table.h"

namespace {

void SummaryArgs(benchmark::internal::Benchmark* b) {
    for (int n : {12, 60, 120, 360}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

// A run of one account from 12/31/69 over `months` month ends, growing
// 1% a month with a flow and an income every quarter.
void WriteRun(int months, reports::MonthlySeries& series) {
    records::PerformanceHeader h;
    h.slot = 10;
    h.frequency = "M   ";
    records::WritePerformanceHeader(h);
    records::PerformanceAccount a;
    a.account = "BENCH   ";
    a.index_position = 1;
    a.index_count = 2;
    a.opening_date = "12/31/69";
    a.end_date = "12/31/99";
    a.title = "BENCHMARK ACCOUNT";
    a.history = 1;
    a.fiscal_month = 12;
    a.choice = 0;
    records::WritePerformanceAccount(10, a);

    series.start_month = 12;
    series.start_year = 69;
    const int last = 12 + months - 1;
    series.last_month = static_cast<int16_t>((last - 1) % 12 + 1);
    series.last_year = static_cast<int16_t>(69 + (last - 1) / 12);
    double v = 100000;
    float x = 100;
    for (int k = 1; k <= months + 1 && k <= reports::kTableMonths; ++k) {
        const std::size_t j = static_cast<std::size_t>(k - 1);
        const double f = k % 3 == 0 ? 1000.0 : 0.0;
        v = v * 1.01 + f;
        x *= 1.005f;
        series.value[j] = v;
        series.flow[j] = f;
        series.income[j] = k % 3 == 0 ? 250.0f : 0.0f;
        series.index1[j] = x;
        series.index2[j] = x * 0.5f;
        for (engine::PeriodSeries* c : {&series.cash_equivalents, &series.equities, &series.fixed_income}) {
            c->value[j] = v / 3;
            c->flow[j] = f / 3;
            c->income[j] = series.income[j] / 3;
        }
    }
}

void BM_PersummPage(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int months = static_cast<int>(state.range(0));
    reports::MonthlySeries original;
    WriteRun(months, original);
    reports::PerformancePage page;
    std::string name;
    records::Prtout("", "START", name);
    for (auto _ : state) {
        reports::MonthlySeries series = original;
        reports::PerformanceSummaryCall call;
        call.series = &series;
        call.page = &page;
        records::SetOption(call.options, records::Opt::kThreeFiveYearReturns, 1);
        call.index_headers = {{{"INDEX1", "", ""}, {"INDEX2", "", ""}}};
        reports::Persumm(call);
        // Persumm marks the run over; the next pass starts it again.
        records::PerformanceHeader h;
        records::ReadPerformanceHeader(h);
        h.slot = 10;
        records::WritePerformanceHeader(h);
    }
    records::Prtout("", "END", name);
    state.SetComplexityN(months);
}
BENCHMARK(BM_PersummPage)->Apply(SummaryArgs);

void BM_SumacPage(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int months = static_cast<int>(state.range(0));
    reports::MonthlySeries original;
    WriteRun(months, original);
    reports::PerformancePage page;
    std::string name;
    records::Prtout("", "START", name);
    for (auto _ : state) {
        reports::MonthlySeries series = original;
        reports::AssetClassSummaryRequest rq;
        reports::Sumac(rq, page, series);
        records::PerformanceHeader h;
        records::ReadPerformanceHeader(h);
        h.slot = 10;
        records::WritePerformanceHeader(h);
    }
    records::Prtout("", "END", name);
    state.SetComplexityN(months);
}
BENCHMARK(BM_SumacPage)->Apply(SummaryArgs);

}  // namespace
