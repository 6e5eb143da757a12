// The realised gains report (every account of a manager code) and the
// composite gains report over firms of growing size, each account holding
// 200 realised lots over two years (half of them sold within the report's
// year). The gains report reads every account's lots once and sorts them
// by date sold, so its time per account should stay about the same. The
// composite report collects at most 32,766 lots a run (its work file counts
// records in 16 bits): past about 163 accounts of 200 lots it stops with
// its warning, so its time levels off.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/gains_tax/composite_gains.h"
#include "reports/gains_tax/realised_gains.h"

namespace {

constexpr int kLotsPerAccount = 200;

void GainsArgs(benchmark::internal::Benchmark* b) {
    for (int n : {100, 300, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// A firm of n accounts with 50 securities and 200 lots an account, sold
// on days spread over 1997 and 1998 in no particular order.
void WriteGainsFirm(int accounts) {
    bench::WriteFirmCommon("12/08/98", 981208.0f);

    std::vector<std::string> symbols;
    std::vector<unsigned char> securities;
    for (int s = 0; s < 50; ++s) {
        symbols.push_back("SYM" + std::to_string(s));
        records::Record rec(128, 0);
        rec.SetText(0, 12, "CUSIP" + std::to_string(s));
        rec.SetText(12, 32, "SECURITY NUMBER " + std::to_string(s));
        rec.SetText(44, 32, "");
        rec.SetText(76, 4, s % 10 == 0 ? "B" : "N");
        rec.SetText(88, 8, " 6/15/05");
        rec.SetR4(96, s % 10 == 0 ? 7.5f : -999.99f);
        securities.insert(securities.end(), rec.bytes().begin(), rec.bytes().end());
    }
    records::ReplaceFile("SECURITY.IDX", bench::IndexBytes(symbols, 12, 10));
    records::ReplaceFile("SECURITY.REC", securities);

    std::vector<std::string> keys;
    std::vector<unsigned char> recs;
    for (int k = 0; k < accounts; ++k) {
        keys.push_back(bench::PrefixedId("G", k + 1));
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[0].SetText(0, 32, "CLIENT " + keys.back());
        set[1].SetText(16, 4, "ABCD");
        set[1].SetText(52, 32, "SHORT NAME " + keys.back());
        for (const records::Record& r : set) recs.insert(recs.end(), r.bytes().begin(), r.bytes().end());

        std::vector<unsigned char> gains(128, 0);
        gains[16] = kLotsPerAccount & 0xff;
        gains[17] = kLotsPerAccount >> 8;
        for (int g = 0; g < kLotsPerAccount; ++g) {
            records::Record lot(128, 0);
            const int day = (g * 7919 + k * 31) % 720;  // 0-719: two years of 360 days
            const int year = 97 + day / 360, month = day % 360 / 30 + 1, dom = day % 30 + 1;
            lot.SetR4(0, static_cast<float>(year * 10000 + month * 100 + dom));
            lot.SetText(4, 8, " 1/15/96");
            lot.SetText(12, 32, "SECURITY NUMBER " + std::to_string(g % 50));
            lot.SetText(44, 32, "");
            lot.SetR8(84, 1000.0 + g * 13.37);
            lot.SetR8(92, 1000.0 + k);
            lot.SetR8(100, 10.0 + g);
            lot.SetText(108, 12, symbols[static_cast<std::size_t>(g % 50)]);
            lot.SetI16(120, g % 17 == 0 ? 1 : 0);
            gains.insert(gains.end(), lot.bytes().begin(), lot.bytes().end());
        }
        records::ReplaceFile("GL" + keys.back() + ".REC", gains);
    }
    records::ReplaceFile("ACCOUNT.IDX", bench::IndexBytes(keys, 8, 16));
    records::ReplaceFile("ACCOUNT.REC", recs);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0) * kLotsPerAccount);
    state.SetComplexityN(state.range(0));
}

void BM_RealisedGainsEveryAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteGainsFirm(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string account = "        ";
        int16_t status = 0, page = 0;
        reports::Glprint("A   ", "????", account, " 1/01/98", "12/08/98", 3, status, page, "GAINS.TXT   ",
                         "        ", "    ");
    }
    Report(state);
}
BENCHMARK(BM_RealisedGainsEveryAccount)->Apply(GainsArgs);

void BM_CompositeGains(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteGainsFirm(static_cast<int>(state.range(0)));
    for (auto _ : state)
        reports::Combgl("A   ", "????", " 1/01/98", "12/08/98", "            ", 12, "COMP.TXT    ", 12,
                        std::string(32, ' '));
    Report(state);
}
BENCHMARK(BM_CompositeGains)->Apply([](benchmark::internal::Benchmark* b) {
    for (int n : {50, 150, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
});

}  // namespace
