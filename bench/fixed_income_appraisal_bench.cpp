// The fixed income appraisal (Fapr1) over firms of growing size: a run over
// every account of a firm (20 lots an account) to a file, and one account
// of growing size. Each lot is read once and each security's records once;
// the pages sort each type's securities by maturity, so the time per
// account should stay about the same across the firm sizes, and the time
// per lot grow only slowly with the account.

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
#include "reports/fixed_income/fixed_income_appraisal.h"

namespace {

using bench::Id;
using bench::kDate;

// Four in five securities bonds of the types 5, 6, B and Y; a lot is a face
// of 10,000 bought for 9,800.
constexpr bench::MarketShape kMarket{.mostly_bonds = true, .name_files = true};
constexpr bench::LotShape kLots{.lots_per_security = 2, .quantity = 10000, .cost = 9800};

void BM_FixedIncomeAppraisalAccounts(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    bench::WriteMarket(kMarket);
    bench::WriteAccounts(accounts, 20, kLots);
    for (auto _ : state) reports::Fapr1("A   ", "????", "", kDate, "FIXED.TXT");
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_FixedIncomeAppraisalAccounts)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_FixedIncomeAppraisalLots(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int lots = static_cast<int>(state.range(0));
    bench::WriteMarket(kMarket);
    bench::WriteAccounts(1, lots, kLots);
    for (auto _ : state) reports::Fapr1("S   ", "    ", Id(1), kDate, "FIXED.TXT");
    state.SetItemsProcessed(state.iterations() * lots);
    state.SetComplexityN(lots);
}
BENCHMARK(BM_FixedIncomeAppraisalLots)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
