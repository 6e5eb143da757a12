// The account data dialog's load and save over growing account files: the
// load of ACCOUNT.IDX and ACCOUNT.REC into the account array, and Done's
// save (both files written whole, Hlinit for every account, Accsrt). The
// accounts are written in descending order of identifier, so the sort has
// all its work to do. Time per account should stay about the same from
// 1,000 to 10,000 accounts.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "bench/synthetic_account.h"
#include "engine/account_sort.h"
#include "records/account_file.h"
#include "records/common_file.h"

namespace {

std::vector<std::unique_ptr<records::CAccountEntry>> Accounts(int n) {
    std::vector<std::unique_ptr<records::CAccountEntry>> accounts;
    for (int i = n; i >= 1; --i) {
        auto a = std::make_unique<records::CAccountEntry>();
        char id[16];
        std::snprintf(id, sizeof id, "A%05d", i);
        a->identifier = id;
        a->name = "ACCOUNT NUMBER " + a->identifier;
        a->date_opened = "01/02/97";
        a->manager_code = "MG" + std::to_string(i % 10);
        accounts.push_back(std::move(a));
    }
    return accounts;
}

void Args(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 3000, 10000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_AccountFileLoad(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int n = static_cast<int>(state.range(0));
    if (!records::SaveAccountFile(Accounts(n), 1).empty()) state.SkipWithError("the files were not written");
    for (auto _ : state) {
        records::AccountFileContents contents = records::LoadAccountFile();
        if (static_cast<int>(contents.accounts.size()) != n) state.SkipWithError("accounts missing");
        benchmark::DoNotOptimize(contents);
    }
    Report(state);
}
BENCHMARK(BM_AccountFileLoad)->Apply(Args);

void BM_AccountFileSave(benchmark::State& state) {
    bench::ScratchDataDir dir;
    records::Setsdt("12/08/98");
    const auto accounts = Accounts(static_cast<int>(state.range(0)));
    // The first save starts every value history; the timed ones find them.
    engine::SaveAccountFiles(accounts, 1);
    for (auto _ : state)
        if (!engine::SaveAccountFiles(accounts, 1).empty()) state.SkipWithError("the save failed");
    Report(state);
}
BENCHMARK(BM_AccountFileSave)->Apply(Args);

}  // namespace
