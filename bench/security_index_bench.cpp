// The security master's index as the Security Data dialog keeps it: every
// identifier added or deleted writes SECURITY.IDX whole (beside its name,
// then renamed over it), and the dialog reads it whole when it opens, so
// both grow with the number of securities.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "records/security_file.h"

namespace {

std::vector<std::string> Identifiers(int n) {
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "S%05d", i);
        ids.emplace_back(text);
    }
    return ids;
}

void IndexArgs(benchmark::internal::Benchmark* b) {
    // The index counts its positions in 16 bits.
    for (int n : {1000, 5000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

void BM_WriteSecurityIndex(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> ids = Identifiers(n);
    for (auto _ : state) benchmark::DoNotOptimize(records::WriteSecurityIndex(ids));
    state.SetComplexityN(n);
}
BENCHMARK(BM_WriteSecurityIndex)->Apply(IndexArgs);

void BM_ReadSecurityIndex(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    records::WriteSecurityIndex(Identifiers(n));
    for (auto _ : state) benchmark::DoNotOptimize(records::ReadSecurityIndex());
    state.SetComplexityN(n);
}
BENCHMARK(BM_ReadSecurityIndex)->Apply(IndexArgs);

}  // namespace
