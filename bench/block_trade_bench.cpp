// The block trade file as the Trades dialog reads it in block mode: the
// shares allocated so far, summed over every allocation of TRADEBLK.DAT
// (the file opened once, one 512-byte record read a line). Time per
// allocation should stay about the same from 1,000 to 30,000 allocations.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/synthetic_account.h"
#include "records/transaction_lines.h"

namespace {

void BM_AllocatedBlockShares(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    records::BlockDefinition block;
    block.marker = std::string(records::kBlockMarker);
    block.symbol = "IBM";
    block.quantity = 1e9;
    records::WriteBlockDefinition(block);
    records::BlockAllocation a;
    a.account = "ACC1";
    a.symbol = "IBM";
    a.shares = 10;
    records::Record view(records::kEditViewLength, ' ');
    a.Encode(view);
    const std::string bytes(reinterpret_cast<const char*>(view.data()), view.size());
    long rec = 0;
    for (int i = 0; i < n; ++i)
        if (records::AppendBlockAllocation(bytes, rec) != 0)
            state.SkipWithError("the allocations were not written");
    for (auto _ : state) {
        const double shares = records::AllocatedBlockShares();
        if (shares != 10.0 * n) state.SkipWithError("allocations missing");
        benchmark::DoNotOptimize(shares);
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetComplexityN(n);
}
BENCHMARK(BM_AllocatedBlockShares)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
