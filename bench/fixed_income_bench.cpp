// The fixed income analyses and summary over an account of growing size:
// one account holding n bonds, each of its own security, priced on the
// report date. The summary sorts its lots by maturity and reads each lot
// twice; the analyses read each lot twice (the market-value pass and the
// class pass). The time per lot should stay about the same across the
// sizes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/fixed_income/fixed_income_analyses.h"
#include "reports/fixed_income/fixed_income_summary.h"

namespace {

void LotArgs(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 3000, 10000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Append(std::vector<unsigned char>& bytes, const records::Record& rec) {
    bytes.insert(bytes.end(), rec.bytes().begin(), rec.bytes().end());
}

// COMMON.FIL (program date 11/10/98, a firm heading), one account BENCH,
// n bond securities with extension records, the price file of 11/10/98
// and HLBENCH.REC holding one lot of each bond.
void WriteBondAccount(int n) {
    records::Record date(128, 0);
    date.SetText(0, 8, "11/10/98");
    date.SetR4(8, 981110.0f);
    records::Record heading(128, ' ');
    heading.SetText(0, 50, "BENCHMARK ADVISERS");
    heading.SetI16(60, 58);
    heading.SetI16(62, 0);
    std::vector<unsigned char> common(128, 0);
    Append(common, date);
    common.resize(128 * 12, 0);
    Append(common, heading);
    records::ReplaceFile("COMMON.FIL", common);

    records::Record index_head(128, 0);
    index_head.SetI16(0, 1);
    records::Record index(128, ' ');
    index.SetText(0, 8, "BENCH");
    std::vector<unsigned char> bytes;
    Append(bytes, index_head);
    Append(bytes, index);
    records::ReplaceFile("ACCOUNT.IDX", bytes);
    bytes.clear();
    for (int r = 0; r < 8; ++r) {
        records::Record rec(128, ' ');
        if (r == 1) rec.SetText(52, 32, "BENCHMARK ACCOUNT");
        Append(bytes, rec);
    }
    records::ReplaceFile("ACCOUNT.REC", bytes);

    std::vector<unsigned char> idx(128, 0), sec, ext, prices, lots;
    idx[0] = static_cast<unsigned char>(n & 0xff);
    idx[1] = static_cast<unsigned char>((n >> 8) & 0xff);
    records::Record idx_rec(128, ' ');
    records::Record head(128, 0);
    head.SetI16(0, 2);
    head.SetText(2, 8, "BENCH");
    head.SetI16(10, static_cast<int16_t>(n + 1));
    head.SetI16(12, static_cast<int16_t>(n + 2));
    Append(lots, head);
    const char* types = "34567BDFWXY";
    const char* ratings[] = {"AAA ", "AA  ", "A   ", "BBB ", "    ", "AA+ "};
    for (int k = 1; k <= n; ++k) {
        char symbol[16];
        std::snprintf(symbol, sizeof symbol, "B%06d", k);
        idx_rec.SetText(static_cast<std::size_t>((k - 1) % 10) * 12, 12, symbol);
        if (k % 10 == 0 || k == n) {
            Append(idx, idx_rec);
            idx_rec = records::Record(128, ' ');
        }
        records::Record s(128, ' ');
        s.SetText(0, 12, symbol);
        s.SetText(12, 32, std::string("BOND ") + symbol);
        s.SetText(76, 4, std::string(1, types[k % 11]));
        char maturity[16];
        std::snprintf(maturity, sizeof maturity, "%2d/%02d/%02d", k % 12 + 1, k % 28 + 1,
                      (99 + k % 40) % 100);
        s.SetText(88, 8, maturity);
        s.SetR4(96, 3.0f + static_cast<float>(k % 13));
        Append(sec, s);
        records::Record e(128, ' ');
        e.SetR4(54, 4.0f + static_cast<float>(k % 9));
        e.SetText(72, 4, ratings[k % 6]);
        Append(ext, e);
        records::Record p(8, 0);
        p.SetR8(0, 90.0 + k % 20);
        Append(prices, p);
        records::Record lot(128, ' ');
        lot.SetI16(0, static_cast<int16_t>(k < n ? k + 2 : -1));
        lot.SetR8(2, 1.0);
        lot.SetText(10, 12, symbol);
        lot.SetI16(22, static_cast<int16_t>(k));
        lot.SetR8(36, 1000.0 * (k % 50 + 1));
        lot.SetR8(44, 990.0 * (k % 50 + 1));
        lot.SetText(52, 8, " 1/15/97");
        lot.SetR8(60, 0);
        Append(lots, lot);
    }
    records::ReplaceFile("SECURITY.IDX", idx);
    records::ReplaceFile("SECURITY.REC", sec);
    records::ReplaceFile("SECURITY.EXT", ext);
    records::ReplaceFile("SE111098.PRC", prices);
    records::ReplaceFile("HLBENCH.REC", lots);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_FixedIncomeSummary(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteBondAccount(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Fixsum("S   ", "????", "BENCH   ", "11/10/98", "SUM.TXT");
    Report(state);
}
BENCHMARK(BM_FixedIncomeSummary)->Apply(LotArgs);

void BM_MaturityAnalysis(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteBondAccount(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Getfix(1, "S   ", "????", "BENCH   ", "11/10/98", "MAT.TXT");
    Report(state);
}
BENCHMARK(BM_MaturityAnalysis)->Apply(LotArgs);

void BM_IncomeFlowFixed(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteBondAccount(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Getfix(5, "S   ", "????", "BENCH   ", "11/10/98", "FLOW.TXT");
    Report(state);
}
BENCHMARK(BM_IncomeFlowFixed)->Apply(LotArgs);

}  // namespace
