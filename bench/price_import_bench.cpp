// The price file import: a file of layout-1 lines against a security list
// of 5,000, each line looked up in the security table and filed in the
// price file of its date. The time per line should stay about the same as
// the file grows; the security table is read once a run, so the list's
// size adds a fixed cost, not a cost per line.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "pricing/price_import.h"
#include "records/files.h"
#include "records/record.h"
#include "records/security_file.h"

namespace {

std::string Symbol(int n) {
    return "SYM" + std::to_string(n);
}

// SECURITY.IDX and SECURITY.REC of `count` securities, the program date
// 12/31/98, and an import file of `lines` layout-1 lines spread over the
// securities and over twenty dates.
void WriteImportData(int count, int lines) {
    std::vector<std::string> symbols;
    for (int n = 1; n <= count; ++n) symbols.push_back(Symbol(n));
    records::WriteSecurityIndex(symbols);
    {
        records::DirectFile securities("SECURITY.REC", 128);
        for (int n = 1; n <= count; ++n)
            securities.Write(n, records::NewSecurityRecord(symbols[static_cast<std::size_t>(n - 1)],
                                                           static_cast<int16_t>(n), true));
    }
    {
        records::DirectFile common("COMMON.FIL", 128);
        records::Record date(128, 0);
        date.SetText(0, 8, "12/31/98");
        date.SetR4(8, 981231);
        common.Write(2, date);
    }
    records::TextFile file("PRICES.PRI");
    for (int i = 0; i < lines; ++i) {
        const int n = 1 + (i * 7919) % count;
        const int day = 1 + i % 20;
        const std::string date = "12/" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "/98";
        const std::string price = std::to_string(10 + i % 900) + ".2500";
        file.WriteLine(records::Fixed(Symbol(n), 12) + date + std::string(12 - price.size(), ' ') + price);
    }
}

void BM_TranfiLayout1(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int lines = static_cast<int>(state.range(0));
    WriteImportData(5000, lines);
    for (auto _ : state)
        pricing::Tranfi(records::Fixed("PRICES.PRI", 48), 48, 1, "S   ", std::string(12, ' '), 12);
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetComplexityN(lines);
}
BENCHMARK(BM_TranfiLayout1)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
