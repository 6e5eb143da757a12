// Filing a downloaded split in a year's split file of growing size: Wrspl
// scans the split records from record 2 for the security's symbol, so the
// time of one filing grows with the number of securities that have splits
// that year. The security is the last one, the longest scan, and its split
// is one the file already holds (a daily run that asks again over the same
// period), so the file stays the same from one iteration to the next.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/synthetic_account.h"
#include "pricing/dividend_split_files.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"

namespace {

std::string FeedSymbol(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "F%05d", n);
    return records::Fixed(text, 12);
}

// SECR1998.SPL with a record of one split for each of n securities.
void WriteFeedSplitFile(int n) {
    records::DirectFile splits("SECR1998.SPL", records::kSplitRecordLength);
    records::Record first(records::kSplitRecordLength, 0);
    first.SetI16(0, static_cast<int16_t>(n + 1));
    splits.Write(1, first);
    for (int s = 1; s <= n; ++s) {
        records::SplitRecord rec;
        rec.symbol = FeedSymbol(s);
        rec.count = 1;
        rec.splits[0] = {2.0f, 980302.0f, 980415.0f, 2};
        records::Record bytes(records::kSplitRecordLength, 0);
        rec.Encode(bytes);
        splits.Write(s + 1, bytes);
    }
}

void BM_WrsplRepeatedSplitOfLastSecurity(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    WriteFeedSplitFile(n);
    const std::string last = FeedSymbol(n);
    std::string warnings;
    const pricing::WarningSink sink = pricing::StringWarnings(warnings);
    for (auto _ : state) pricing::Wrspl(last, " 3/ 2/98", " 4/15/98", 2.0f, sink);
    if (!warnings.empty()) state.SkipWithError("a warning was written");
    state.SetComplexityN(n);
}
// A split file numbers its records in 16 bits.
BENCHMARK(BM_WrsplRepeatedSplitOfLastSecurity)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(30000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace
