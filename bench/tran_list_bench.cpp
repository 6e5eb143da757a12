// The transaction list window's work on an account of 1,000 to 12,000
// transactions: loading the list (every transaction read, sorted by date
// and formatted once to know which lines list), one scroll step of one
// line (the source opened, the one line that comes into view formatted,
// the source closed), and one page step of as many lines as the window's
// box holds (14 at its least, about 43 maximized on a 1600 x 1000 screen,
// 100 on a tall one), every shown line formatted. The load should grow
// with the file; the steps should not, and a page with its lines.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/synthetic_account.h"
#include "entry/tran_list.h"
#include "shell/tran_selection.h"

namespace {

void Prepare(int transactions) {
    bench::SyntheticShape shape;
    shape.account = "BENCH";
    shape.transactions = transactions;
    bench::WriteSyntheticAccount(shape);
    shell::SetTranSelection(shell::kTranSortByDate, "", "", "BENCH");
}

void BM_TranListLoad(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    Prepare(n);
    for (auto _ : state) {
        const entry::TranListing listing = entry::ListTransactions(0);
        if (listing.lines.empty()) state.SkipWithError("nothing listed");
        benchmark::DoNotOptimize(listing.lines.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetComplexityN(n);
}
BENCHMARK(BM_TranListLoad)->Arg(1000)->Arg(3000)->Arg(12000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_TranListScrollOneLine(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    Prepare(n);
    const entry::TranListing listing = entry::ListTransactions(0);
    const int count = static_cast<int>(listing.lines.size());
    int position = 1;
    for (auto _ : state) {
        if (!entry::OpenTranSource(0)) state.SkipWithError("source not opened");
        const std::string line = entry::TranListLine(listing, position, 0);
        entry::CloseTranSource();
        benchmark::DoNotOptimize(line.data());
        position = position % count + 1;
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_TranListScrollOneLine)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(12000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

void BM_TranListPage(benchmark::State& state) {
    bench::ScratchDataDir dir;
    Prepare(12000);
    const entry::TranListing listing = entry::ListTransactions(0);
    const int count = static_cast<int>(listing.lines.size());
    const int lines = static_cast<int>(state.range(0));
    int first = 1;
    for (auto _ : state) {
        if (!entry::OpenTranSource(0)) state.SkipWithError("source not opened");
        for (int i = 0; i < lines && first + i <= count; ++i) {
            const std::string line = entry::TranListLine(listing, first + i, 0);
            benchmark::DoNotOptimize(line.data());
        }
        entry::CloseTranSource();
        first = first + lines > count ? 1 : first + lines;
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_TranListPage)->Arg(14)->Arg(43)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
