// Reading and writing a security's splits in a year's split file of
// growing size: Rdsplt finds the security by scanning SECURITY.IDX and then
// the split file's records from record 2, so the time of one read grows
// with the number of securities; the security looked up is the last one,
// the longest scan. Wrsplt writes the record found in place.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/synthetic_account.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/stock_splits.h"

namespace {

std::string Symbol(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "S%05d", n);
    return records::Fixed(text, 12);
}

// SECURITY.IDX with n symbols and SECR1998.SPL with a record of one split
// for each.
void WriteSplitFile(int n) {
    records::DirectFile index(records::kSecurityIndex, 128);
    records::Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(n));
    index.Write(1, head);
    for (int r = 0; r * 10 < n; ++r) {
        records::Record keys(128, ' ');
        for (int k = 0; k < 10 && r * 10 + k < n; ++k) keys.SetText(12 * k, 12, Symbol(r * 10 + k + 1));
        index.Write(r + 2, keys);
    }
    records::DirectFile splits("SECR1998.SPL", records::kSplitRecordLength);
    records::Record first(records::kSplitRecordLength, 0);
    first.SetI16(0, static_cast<int16_t>(n + 1));
    splits.Write(1, first);
    for (int s = 1; s <= n; ++s) {
        records::SplitRecord rec;
        rec.symbol = Symbol(s);
        rec.count = 1;
        rec.splits[0] = {2.0f, 980302.0f, 980415.0f, 2};
        records::Record bytes(records::kSplitRecordLength, 0);
        rec.Encode(bytes);
        splits.Write(s + 1, bytes);
    }
}

void SplitArgs(benchmark::internal::Benchmark* b) {
    // A split file numbers its records in 16 bits.
    for (int n : {1000, 5000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

void BM_RdspltLastSecurity(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    WriteSplitFile(n);
    const std::string last = Symbol(n);
    for (auto _ : state) {
        std::string message;
        records::SplitList list;
        records::Rdsplt(last, 1998, message, list);
        benchmark::DoNotOptimize(list.position);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_RdspltLastSecurity)->Apply(SplitArgs);

void BM_RdspltWrspltLastSecurity(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    WriteSplitFile(n);
    const std::string last = Symbol(n);
    for (auto _ : state) {
        std::string message;
        records::SplitList list;
        records::Rdsplt(last, 1998, message, list);
        records::Wrsplt(last, 1998, list);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_RdspltWrspltLastSecurity)->Apply(SplitArgs);

}  // namespace
