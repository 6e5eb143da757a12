// The holdings replay over synthetic accounts of growing size: Creatt in
// write mode (as the database update runs it) and Rbldhl (as posting runs
// it), with and without the lot texts of options 36 and 64. The time per
// transaction should stay about the same from the smallest account to the
// largest.

#include <benchmark/benchmark.h>

#include "bench/synthetic_account.h"
#include "engine/rebuild.h"
#include "engine/replay.h"
#include "records/account_records.h"
#include "records/files.h"

namespace {

void ReplayArgs(benchmark::internal::Benchmark* b) {
    // 32,766 transactions is the most an account's file can number.
    for (int n : {1000, 3000, 10000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// What the replay built: lot records used (header included) and gains.
void CountWork(benchmark::State& state) {
    records::Record rec;
    const records::DirectFile holdings(engine::HoldingsWorkName(), records::kAccountRecordLength, false);
    if (holdings.Read(1, rec))
        state.counters["lot_records"] = records::HoldingsHeader::Decode(rec).records_in_use;
    const records::DirectFile gains(engine::GainsWorkName(), records::kAccountRecordLength, false);
    if (gains.Read(1, rec)) state.counters["gains"] = records::GainsHeader::Decode(rec).count;
}

void BM_CreattWriteMode(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    int16_t status = 0;
    // The first replay sets field 17; every timed one then does the same work.
    engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
    for (auto _ : state) {
        engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
        if (status != engine::kReplayDone) state.SkipWithError("the replay failed");
    }
    Report(state);
    CountWork(state);
}
BENCHMARK(BM_CreattWriteMode)->Apply(ReplayArgs);

void RunRbldhl(benchmark::State& state, bool lot_texts) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    shape.lot_texts = lot_texts;
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    int16_t flag = 0;
    engine::Rbldhl(account.account, flag);
    for (auto _ : state) {
        engine::Rbldhl(account.account, flag);
        if (flag != engine::kReplayDone) state.SkipWithError("the rebuild failed");
    }
    Report(state);
}

void BM_Rbldhl(benchmark::State& state) {
    RunRbldhl(state, false);
}
BENCHMARK(BM_Rbldhl)->Apply(ReplayArgs);

void BM_RbldhlWithLotTexts(benchmark::State& state) {
    RunRbldhl(state, true);
}
BENCHMARK(BM_RbldhlWithLotTexts)->Apply(ReplayArgs);

}  // namespace
