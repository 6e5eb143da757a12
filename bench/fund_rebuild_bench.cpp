// The mutual fund appraisal's holdings rebuild (Mfhold with its lot replay
// and cash correction) over synthetic fund histories of growing size: the
// buys, sales and income of the synthetic account, every fourth purchase
// flagged as reinvested. The time per transaction should stay about the
// same from the smallest history to the largest (ten times the
// transactions at most fifteen times the time). Compare with
// BM_CreattWriteMode and BM_ReadTransactionFile of replay_bench.cpp on the
// same shapes.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "engine/replay.h"
#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/funds/fund_rebuild.h"

namespace {

constexpr const char* kAsOfText = "12/31/50";
constexpr int16_t kSilent = 2;  // the counting pass: no warning lines

// Flags every fourth purchase of the account's transaction file "R   ".
void FlagReinvestments(const std::string& account) {
    records::DirectFile file(records::Paknam(account, "TR", ".REC"), records::kAccountRecordLength, false);
    const long count = file.Count();
    records::Record rec;
    int purchases = 0;
    for (long n = 2; n <= count; ++n) {
        if (!file.Read(n, rec)) break;
        records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        if (t.code != "B   " || ++purchases % 4 != 0) continue;
        t.type = "R   ";
        t.Encode(rec);
        file.Write(n, rec);
    }
}

void BM_Mfhold(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    FlagReinvestments(account.account);

    // Once with warning lines, to count them (sales filed before the
    // purchase they relieve on the same day find no lot here).
    std::string name;
    records::Prtout("", "START", name);
    reports::Mfhold(account.account, kAsOfText, engine::kEveryTransaction, 1);
    records::Prtout("", "END", name);
    const long lines = records::DirectFile("OUTPUT.TMP", records::kReportLineWidth, false).Count();

    for (auto _ : state) reports::Mfhold(account.account, kAsOfText, engine::kEveryTransaction, kSilent);

    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
    records::Record rec;
    const records::DirectFile holdings(engine::HoldingsWorkName(), records::kAccountRecordLength, false);
    if (holdings.Read(1, rec))
        state.counters["lot_records"] = records::HoldingsHeader::Decode(rec).records_in_use;
    state.counters["warnings"] = static_cast<double>(lines / 2);
}
BENCHMARK(BM_Mfhold)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
