// The transaction ledger (code 81) and the composite transaction ledger
// (code 204): a firm of 1,000 accounts of 100 transactions each, and the
// ledger of one account whose history grows to 30,000 transactions. The
// ledger works each account's opening balance out from the transactions
// before its start date (the engine's cash pass), so its time per
// transaction is that of the pass plus the listing; the composite reads
// every selected transaction twice (to collect and sort, then to print)
// and should grow as n log n at most.
// Beside them, the ledger over a firm of 1,000 accounts of 1,000
// transactions from the middle of their history (half the transactions
// before the start date, half listed) and from after its end (every
// transaction before the start date, none listed): the opening balance's
// share of the ledger's time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/ledgers/composite_ledger.h"
#include "reports/ledgers/transaction_ledger.h"

namespace {

namespace fs = std::filesystem;

std::string AccountId(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "A%05d", n);
    return text;
}

// The program date and the firm heading of COMMON.FIL, the rest as the
// synthetic account left it.
void WriteCommon() {
    records::DirectFile common("COMMON.FIL", 128);
    records::Record date(128, 0);
    date.SetText(0, 8, "12/08/98");
    common.Write(2, date);
    records::Record heading(128, ' ');
    heading.SetText(0, 50, "BENCHMARK ADVISERS");
    heading.SetI16(60, 58);
    heading.SetI16(62, 0);
    common.Write(13, heading);
}

// ACCOUNT.IDX and ACCOUNT.REC for the accounts, every one of manager ABCD.
void WriteAccounts(const std::vector<std::string>& ids) {
    std::vector<unsigned char> index(128, 0);
    index[0] = static_cast<unsigned char>(ids.size() & 0xff);
    index[1] = static_cast<unsigned char>((ids.size() >> 8) & 0xff);
    for (std::size_t first = 0; first < ids.size(); first += 16) {
        records::Record rec(128, ' ');
        for (std::size_t i = 0; i < 16 && first + i < ids.size(); ++i) rec.SetText(8 * i, 8, ids[first + i]);
        index.insert(index.end(), rec.bytes().begin(), rec.bytes().end());
    }
    records::ReplaceFile("ACCOUNT.IDX", index);
    std::vector<unsigned char> recs;
    for (const std::string& id : ids) {
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[0].SetText(0, 32, "CLIENT " + id);
        set[1].SetText(16, 4, "ABCD");
        set[1].SetText(52, 32, "SHORT NAME " + id);
        set[2].SetText(32, 32, "CUST-" + id);
        for (const records::Record& r : set) recs.insert(recs.end(), r.bytes().begin(), r.bytes().end());
    }
    records::ReplaceFile("ACCOUNT.REC", recs);
}

// A firm of `accounts` accounts, each with a copy of one synthetic history
// of `transactions` transactions.
void WriteFirm(int accounts, int transactions) {
    bench::SyntheticShape shape;
    shape.account = AccountId(1);
    shape.transactions = transactions;
    bench::WriteSyntheticAccount(shape);
    WriteCommon();
    std::vector<std::string> ids;
    const std::string first = records::TrimRight(records::Paknam(AccountId(1), "TR", ".REC"));
    for (int k = 1; k <= accounts; ++k) {
        ids.push_back(AccountId(k));
        if (k > 1)
            fs::copy_file(first, records::TrimRight(records::Paknam(AccountId(k), "TR", ".REC")),
                          fs::copy_options::overwrite_existing);
    }
    WriteAccounts(ids);
}

// Every date the synthetic histories use.
constexpr const char* kStart = "01/01/51";
constexpr const char* kEnd = "12/31/49";

// The trade date (MM/DD/YY) of transaction n (1 on) of the first account.
std::string TradeDateOf(int n) {
    const records::DirectFile file(records::Paknam(AccountId(1), "TR", ".REC"), 128, /*create=*/false);
    records::Record rec;
    if (!file.Read(n + 1, rec)) return kEnd;
    return records::TransactionRecord::Decode(rec).trade_date;
}

void RunLedger(const std::string& mode, const std::string& account) {
    reports::Transld(mode, "????", records::Fixed(account, 8), kStart, kEnd, "    ", std::string(20, ' '),
                     "    ", 3, "LEDGER.TXT  ", 12);
}

void BM_TransactionLedgerFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), 100);
    for (auto _ : state) RunLedger("A   ", "");
    state.SetItemsProcessed(state.iterations() * state.range(0) * 100);
}
BENCHMARK(BM_TransactionLedgerFirm)->Arg(1000)->Unit(benchmark::kMillisecond);

// Every account's ledger from the middle of its history (range 1: 0) or
// from the last day the histories use (1: the whole history before it).
void BM_TransactionLedgerFirmOpeningCash(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int transactions = 1000;
    WriteFirm(static_cast<int>(state.range(0)), transactions);
    const std::string start = state.range(1) == 0 ? TradeDateOf(transactions / 2) : kEnd;
    for (auto _ : state)
        reports::Transld("A   ", "????", std::string(8, ' '), start, kEnd, "    ", std::string(20, ' '), "    ", 3,
                         "LEDGER.TXT  ", 12);
    state.SetItemsProcessed(state.iterations() * state.range(0) * transactions);
}
BENCHMARK(BM_TransactionLedgerFirmOpeningCash)->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);

void BM_CompositeLedgerFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), 100);
    for (auto _ : state)
        reports::Mcmtrn("A   ", "????", kStart, kEnd, "    ", std::string(20, ' '), "    ", "compfile.lst",
                        12, "COMBINED.TXT", 12, std::string(32, ' '));
    state.SetItemsProcessed(state.iterations() * state.range(0) * 100);
}
BENCHMARK(BM_CompositeLedgerFirm)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TransactionLedgerLongAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(1, static_cast<int>(state.range(0)));
    for (auto _ : state) RunLedger("S   ", AccountId(1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TransactionLedgerLongAccount)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
