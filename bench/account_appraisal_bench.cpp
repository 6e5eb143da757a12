// The account appraisal (report code 103) over firms of growing size: a
// manager run over every account (20 lots an account, stocks in ten
// industry categories and bonds), each account valued, printed with its
// holdings pages, its summary of investment portfolio and its common
// stocks page into OUTPUT.TMP. The time per account should stay about the
// same across the sizes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/appraisal/account_appraisal.h"

using bench::Append;
using bench::Id;
using bench::kDate;
using bench::kSecurities;
using bench::WriteAccounts;
using bench::WriteHoldings;
using bench::WriteMarket;

namespace {

// The firm of state.range(0) accounts, 20 lots each, in the current
// directory, with `option` set to state.range(1); the count of accounts.
int WriteFirm(const benchmark::State& state, records::Opt option) {
    const int accounts = static_cast<int>(state.range(0));
    WriteMarket();
    WriteAccounts(accounts, 20);
    records::Options options{};
    records::SetOption(options, option, static_cast<unsigned char>(state.range(1)));
    records::Wropts(options);
    return accounts;
}

void BM_AccountAppraisalRun(benchmark::State& state) {
    bench::ScratchDataDir dir;
    // Option 47: the summary by type or by asset class.
    const int accounts = WriteFirm(state, records::Opt::kPortfolioSummaryType);
    for (auto _ : state) reports::Mclntapr("A   ", "????", "", kDate, "N   ", 1, "XXX.TXT", 12);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_AccountAppraisalRun)
    ->Args({100, 0})
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Args({1000, 2})
    ->Unit(benchmark::kMillisecond);

// The same appraisal of every account into a named file as the report
// runner makes it: within one run (RunFileCache), with option 72 choosing
// the side files each account makes anew (0: SUMMARY.DAT; 3: the two pie
// chart files, PIECHART.OUT and PIECHRT1.OUT), which wait beside their
// targets for the run's end. The time is the real time: on a file system
// that writes a file out as it closes once it was emptied and written
// anew (ext4), a side file emptied for every account would make the run
// wait for a write an account. Run it with TMPDIR on the file system to
// measure (the data directory is made in the temporary folder).
void BM_AccountAppraisalToFileRun(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = WriteFirm(state, records::Opt::kAppraisalExportType);
    for (auto _ : state) {
        records::RunFileCache run;
        reports::Mclntapr("A   ", "????", "", kDate, "N   ", 3, "REPORT.TXT  ", 12);
    }
    state.SetItemsProcessed(state.iterations() * accounts);
}
BENCHMARK(BM_AccountAppraisalToFileRun)
    ->Args({1000, 0})
    ->Args({1000, 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
