// The working appraisal (code 101) over firms of growing size: a manager
// run over every account of a firm (20 lots an account) with its pages,
// and one account of growing size. Each pass reads its account's lots and
// their securities once and the pages read the valued lots once, so the
// time per account, and per lot, should stay about the same across the
// sizes.

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
#include "reports/appraisal/working_appraisal.h"

namespace {

using bench::Id;
using bench::kDate;

// Page kind "I", type and category names, and one lot of each security in
// turn.
constexpr bench::MarketShape kMarket{.name_files = true, .page_kind_i = true};
constexpr bench::LotShape kLots{.lots_per_security = 1};

void Run(const char* kind, const std::string& account) {
    std::string k = kind, manager = "????", acct = account, date = kDate, accrued = "Y   ", post = "N   ";
    std::string name = "XXX.TXT     ";
    int16_t mode = 1;
    reports::Holdings(k, manager, acct, date, accrued, post, mode, name, 12);
}

void BM_WorkingAppraisalAccounts(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    bench::WriteMarket(kMarket);
    bench::WriteAccounts(accounts, 20, kLots);
    for (auto _ : state) Run("A   ", "");
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_WorkingAppraisalAccounts)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_WorkingAppraisalLots(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int lots = static_cast<int>(state.range(0));
    bench::WriteMarket(kMarket);
    bench::WriteAccounts(1, lots, kLots);
    for (auto _ : state) Run("S   ", Id(1));
    state.SetItemsProcessed(state.iterations() * lots);
    state.SetComplexityN(lots);
}
BENCHMARK(BM_WorkingAppraisalLots)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
