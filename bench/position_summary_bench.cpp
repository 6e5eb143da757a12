// The position summary (102), the summary of assets under management (108)
// and the summary of accounts (109) over firms of growing size, 20 lots an
// account: each account is valued once (twice for the summary of
// accounts), so the time per account should stay about the same across
// the sizes. The firm is the appraisal benchmark's.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/appraisal/position_summary.h"
#include "reports/appraisal/summary_of_accounts.h"
#include "reports/aum/aum_summary.h"

using bench::Append;
using bench::Id;
using bench::kDate;
using bench::kSecurities;
using bench::WriteAccounts;
using bench::WriteHoldings;
using bench::WriteMarket;

namespace {

template <typename Run>
void Sweep(benchmark::State& state, Run run) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(accounts, 20);
    for (auto _ : state) run();
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}

void BM_PositionSummaryAccounts(benchmark::State& state) {
    Sweep(state, [] {
        std::string account(8, ' ');
        reports::Prhlrec("A   ", "????", account, kDate, 1, "XXX.TXT     ");
    });
}
BENCHMARK(BM_PositionSummaryAccounts)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_AssetsUnderManagementAccounts(benchmark::State& state) {
    Sweep(state, [] { reports::Sumaum(kDate, "????", "M   ", "XXX.TXT     "); });
}
BENCHMARK(BM_AssetsUnderManagementAccounts)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_SummaryOfAccountsAccounts(benchmark::State& state) {
    Sweep(state, [] { reports::Accsum("????", kDate, kDate, "XXX.TXT     "); });
}
BENCHMARK(BM_SummaryOfAccountsAccounts)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
