// Reading and writing an entry of the module stores of growing size:
// ACCTBILL.DAT and INCDIST.DAT find an entry by scanning from record 2 to
// the last record in use, so the time of one read or write grows with the
// number of entries; the entry looked up is the last one, the longest scan.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>

#include "bench/synthetic_account.h"
#include "records/files.h"
#include "records/module_stores.h"
#include "records/record.h"

namespace {

std::string Key(const char* format, int n) {
    char text[16];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

// A store of n entries written record by record (record 1 the last in
// use), each entry's key at its start.
void WriteStore(const char* name, std::size_t length, int n,
                const std::function<void(records::Record&, int)>& key) {
    records::DirectFile file(name, length);
    records::Record directory(length, 0);
    directory.SetI16(0, static_cast<int16_t>(n + 1));
    file.Write(1, directory);
    for (int e = 1; e <= n; ++e) {
        records::Record rec(length, 0);
        key(rec, e);
        file.Write(e + 1, rec);
    }
}

void StoreArgs(benchmark::internal::Benchmark* b) {
    // Record 1 numbers the records in 16 bits.
    for (int n : {1000, 5000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

void BM_AccountBillingLastAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    WriteStore(records::kAccountBillingFile, 128, n,
               [](records::Record& rec, int a) { rec.SetText(0, 8, Key("A%06d", a)); });
    records::AccountBilling entry;
    entry.account = Key("A%06d", n);
    for (auto _ : state) {
        records::ReadAccountBilling(entry.account, entry);
        entry.balance_due += 1;
        records::WriteAccountBilling(entry);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_AccountBillingLastAccount)->Apply(StoreArgs);

void BM_IncomeDistributionsLastSecurity(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    records::DistributionRows rows{};
    WriteStore(records::kIncomeDistributionFile, 512, n, [](records::Record& rec, int s) {
        rec.SetI16(0, 1998);
        rec.SetText(2, 12, Key("S%05d", s));
    });
    const std::string symbol = Key("S%05d", n);
    for (auto _ : state) {
        records::ReadIncomeDistributions(1998, symbol, rows);
        rows[0].dividend_rate += 1;
        records::WriteIncomeDistributions(1998, symbol, rows);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_IncomeDistributionsLastSecurity)->Apply(StoreArgs);

}  // namespace
