// The holdings replay over synthetic accounts of growing size: Creatt in
// write mode (as the database update runs it) and Rbldhl (as posting runs
// it), with and without the lot texts of options 36 and 64. The time per
// transaction should stay about the same from the smallest account to the
// largest. Beside them, for the same accounts: the time to read the
// transaction file once (what a replay cannot go below), the cash pass
// that stands for a replay where only the cash is wanted, a firm of 100
// accounts of 3,000 transactions, and the command-line ledger program
// listing the same open lots from the same history written as its journal
// (skipped when ledger is not installed).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "engine/rebuild.h"
#include "engine/replay.h"
#include "engine/replay_cash.h"
#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/options.h"

namespace {

void ReplayArgs(benchmark::internal::Benchmark* b) {
    // 32,766 transactions is the most an account's file can number.
    for (int n : {1000, 3000, 10000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// What the replay built: lot records used (header included) and gains.
void CountWork(benchmark::State& state) {
    records::Record rec;
    const records::DirectFile holdings(engine::HoldingsWorkName(), records::kAccountRecordLength, false);
    if (holdings.Read(1, rec))
        state.counters["lot_records"] = records::HoldingsHeader::Decode(rec).records_in_use;
    const records::DirectFile gains(engine::GainsWorkName(), records::kAccountRecordLength, false);
    if (gains.Read(1, rec)) state.counters["gains"] = records::GainsHeader::Decode(rec).count;
}

// The account's transaction file read whole into bytes.
void ReadTransactionFile(const bench::SyntheticAccount& account, std::vector<unsigned char>& bytes) {
    records::DirectFile(records::Paknam(account.account, "TR", ".REC"), records::kAccountRecordLength, false)
        .ReadWhole(bytes);
}

void BM_CreattWriteMode(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    int16_t status = 0;
    // The first replay sets field 17; every timed one then does the same work.
    engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
    for (auto _ : state) {
        engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
        if (status != engine::kReplayDone) state.SkipWithError("the replay failed");
    }
    Report(state);
    CountWork(state);
}
BENCHMARK(BM_CreattWriteMode)->Apply(ReplayArgs);

void RunRbldhl(benchmark::State& state, bool lot_texts) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    shape.lot_texts = lot_texts;
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    int16_t flag = 0;
    engine::Rbldhl(account.account, flag);
    for (auto _ : state) {
        engine::Rbldhl(account.account, flag);
        if (flag != engine::kReplayDone) state.SkipWithError("the rebuild failed");
    }
    Report(state);
}

void BM_Rbldhl(benchmark::State& state) {
    RunRbldhl(state, false);
}
BENCHMARK(BM_Rbldhl)->Apply(ReplayArgs);

void BM_RbldhlWithLotTexts(benchmark::State& state) {
    RunRbldhl(state, true);
}
BENCHMARK(BM_RbldhlWithLotTexts)->Apply(ReplayArgs);

void BM_ReadTransactionFile(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    std::vector<unsigned char> bytes;
    for (auto _ : state) {
        ReadTransactionFile(account, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    Report(state);
}
BENCHMARK(BM_ReadTransactionFile)->Apply(ReplayArgs);

// The cash pass (engine/replay_cash.h) over the same accounts, the
// transaction file in memory, as of the day after the last transaction:
// what the transaction ledger takes its opening balances from instead of
// a replay.
void BM_CashBeforeDate(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    std::vector<unsigned char> bytes;
    ReadTransactionFile(account, bytes);
    const records::Options options = records::Rdopts();
    for (auto _ : state) {
        const engine::ReplayedCash cash =
            engine::CashBeforeDate(bytes.data(), bytes.size(), account.last_date + 1, options);
        if (!cash.decided) state.SkipWithError("the cash pass left the answer to the replay");
        benchmark::DoNotOptimize(cash.balance);
    }
    Report(state);
}
BENCHMARK(BM_CashBeforeDate)->Apply(ReplayArgs)->Unit(benchmark::kMicrosecond);

// A firm of 100 accounts of 3,000 transactions each, rebuilt one after
// the other, and their transaction files read once each.
constexpr int kFirmAccounts = 100;
constexpr int kFirmTransactions = 3000;

std::vector<bench::SyntheticAccount> WriteFirm() {
    std::vector<bench::SyntheticAccount> accounts;
    for (int a = 0; a < kFirmAccounts; ++a) {
        bench::SyntheticShape shape;
        shape.account = "F" + std::to_string(1000 + a);
        shape.transactions = kFirmTransactions;
        shape.seed = static_cast<uint32_t>(a + 1);
        accounts.push_back(bench::WriteSyntheticAccount(shape));
    }
    return accounts;
}

void BM_RbldhlFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const std::vector<bench::SyntheticAccount> accounts = WriteFirm();
    int16_t flag = 0;
    for (const auto& account : accounts) engine::Rbldhl(account.account, flag);
    for (auto _ : state) {
        for (const auto& account : accounts) {
            engine::Rbldhl(account.account, flag);
            if (flag != engine::kReplayDone) state.SkipWithError("the rebuild failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFirmAccounts * kFirmTransactions);
}
BENCHMARK(BM_RbldhlFirm)->Unit(benchmark::kMillisecond);

// Creatt in write mode over the same firm, as the database update runs it
// for each account.
void BM_CreattWriteModeFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const std::vector<bench::SyntheticAccount> accounts = WriteFirm();
    int16_t status = 0;
    for (const auto& account : accounts)
        engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
    for (auto _ : state) {
        for (const auto& account : accounts) {
            engine::Creatt(account.account, "BENCH", engine::kEveryTransaction, 1, 0, status);
            if (status != engine::kReplayDone) state.SkipWithError("the replay failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFirmAccounts * kFirmTransactions);
}
BENCHMARK(BM_CreattWriteModeFirm)->Unit(benchmark::kMillisecond);

void BM_ReadTransactionFilesFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const std::vector<bench::SyntheticAccount> accounts = WriteFirm();
    std::vector<unsigned char> bytes;
    for (auto _ : state) {
        for (const auto& account : accounts) {
            ReadTransactionFile(account, bytes);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFirmAccounts * kFirmTransactions);
}
BENCHMARK(BM_ReadTransactionFilesFirm)->Unit(benchmark::kMillisecond);

// The ledger program as a process: "ledger -f J bal --lots --flat
// --no-total Assets" on the account's history as a journal.
void BM_LedgerLots(benchmark::State& state) {
    if (std::system("ledger --version > /dev/null 2>&1") != 0) {
        state.SkipWithError("the ledger program is not installed");
        return;
    }
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    shape.journal = true;
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    const std::string command =
        "ledger -f " + account.journal_name + " bal --lots --flat --no-total Assets > ledger.out 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("ledger failed");
    }
    // How many lines ledger listed: one a lot and one for the cash.
    long lines = 0;
    if (std::FILE* f = std::fopen("ledger.out", "r")) {
        for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
        std::fclose(f);
    }
    state.counters["lines"] = static_cast<double>(lines);
    Report(state);
}
BENCHMARK(BM_LedgerLots)->Apply(ReplayArgs)->UseRealTime();

}  // namespace

// Rbldhl as a process of its own (bench/rbldhl_process.cpp), started as
// the ledger program is above, and beside it a read of the transaction
// file by cat as a process: the process's start is part of the figure.
void RunProcess(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("the process failed");
    }
    Report(state);
}

void BM_RbldhlProcess(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    const std::string command = std::string(LEDRA_RBLDHL_PROCESS) + " " + account.account;
    // The first rebuild sets field 17; every timed one then does the same work.
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("the rebuild failed");
        return;
    }
    RunProcess(state, command);
}
BENCHMARK(BM_RbldhlProcess)->Apply(ReplayArgs)->UseRealTime();

void BM_CatTransactionFile(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    RunProcess(state, "cat " + records::ResolveName(records::Paknam(account.account, "TR", ".REC")) +
                          " > /dev/null");
}
BENCHMARK(BM_CatTransactionFile)->Apply(ReplayArgs)->UseRealTime();
