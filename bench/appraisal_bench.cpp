// The account appraisal valuation (Apgath) over firms of growing size: a
// manager run over every account of a firm (20 lots an account), and one
// account of growing size. Each lot is read once and its security, price
// and extension records once, so the time per account, and per lot,
// should stay about the same across the sizes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/account_records.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/aum/aum_run.h"
#include "reports/lists/account_directory.h"

using bench::Append;
using bench::Id;
using bench::kDate;
using bench::kSecurities;
using bench::WriteAccounts;
using bench::WriteHoldings;
using bench::WriteMarket;

namespace {

void RunAll(int expected) {
    reports::AppraisalRun run;
    run.selection = "A   ";
    run.report_date = kDate;
    run.output_mode = 2;  // the counting pass: no report lines
    int16_t step = 0;
    int valued = 0;
    for (reports::Apgath(run, step); step == reports::kStepHoldingsPages; reports::Apgath(run, step))
        ++valued;
    if (valued != expected) std::fprintf(stderr, "valued %d of %d accounts\n", valued, expected);
}

void BM_AppraisalValuationAccounts(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(accounts, 20);
    for (auto _ : state) RunAll(accounts);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_AppraisalValuationAccounts)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_AppraisalValuationLots(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int lots = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(1, lots);
    for (auto _ : state) RunAll(1);
    state.SetItemsProcessed(state.iterations() * lots);
    state.SetComplexityN(lots);
}
BENCHMARK(BM_AppraisalValuationLots)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

// ---- The assets under management run (codes 107 and 88) over the same
// firms: every lot of every account into MSTRSUMM.HLD, then the pages in
// symbol order. Each lot is read twice from its holdings file and once
// from the work file, so the time per account should stay about the same.

namespace {

void RunMeom(const char* choice) {
    std::string date = kDate;
    reports::Meom(0, date, "????", "N   ", "N   ", "N   ", choice, 3, "MEOM.TXT");
}

void BM_AssetsUnderManagement(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(accounts, 20);
    const char* choice = state.range(1) == 107 ? "Y   " : "N   ";
    for (auto _ : state) RunMeom(choice);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_AssetsUnderManagement)
    ->Args({100, 107})
    ->Args({300, 107})
    ->Args({1000, 107})
    ->Args({100, 88})
    ->Args({300, 88})
    ->Args({1000, 88})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// The account directory (code 83) over firms of 100 to 1,000 accounts of 50
// lots, as of the program date (the stored holdings read) and as of an
// earlier date (each account's holdings rebuilt first; these accounts have
// no transactions, so the figure is the rebuild's fixed cost a account).
// The time per account should stay about the same across the sizes.

namespace {

void BM_AccountDirectory(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(accounts, 50);
    const char* date = state.range(1) == 0 ? kDate : " 5/31/00";
    if (state.range(1) != 0) records::ReplaceFile(records::PriceFileName(date), {});
    for (auto _ : state) reports::Clnregtr(date, "????", "M   ", 3, "DIRECT.TXT");
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_AccountDirectory)
    ->Args({100, 0})
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Args({100, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
