// The composite appraisals over the appraisal benchmark's firms (100 to
// 1,000 accounts of 20 lots, bench/synthetic_firm): the composite account
// appraisal (code 201, Clntcom1) and the composite working appraisal (code
// 202, Cohold) of every account of the manager pattern "????", pages and
// copy included. Code 201 combines each account's lots into about 10
// holdings and merges them over the accounts into one line per security
// (at most 500); code 202 writes and prints every lot (20,000 for 1,000
// accounts). Valuation, sorting and merging grow linearly, so the time
// per account should stay about the same across the sizes.

#include <benchmark/benchmark.h>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "reports/appraisal/composite_appraisal.h"
#include "reports/appraisal/composite_working_appraisal.h"

namespace {

void BM_CompositeAppraisal(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    bench::WriteMarket();
    bench::WriteAccounts(accounts, 20);
    const bool working = state.range(1) == 202;
    for (auto _ : state) {
        if (working)
            reports::Cohold("A   ", "????", bench::kDate, "Y   ", "compfile.lst", 12, "COMP.TXT", 12, "ALL");
        else
            reports::Clntcom1("A   ", "????", bench::kDate, "Y   ", "compfile.lst", 12, "COMP.TXT", 12,
                              "ALL");
    }
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_CompositeAppraisal)
    ->Args({100, 201})
    ->Args({300, 201})
    ->Args({1000, 201})
    ->Args({100, 202})
    ->Args({300, 202})
    ->Args({1000, 202})
    ->Unit(benchmark::kMillisecond);

}  // namespace
