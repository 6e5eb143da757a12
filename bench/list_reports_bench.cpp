// The list reports over firms of growing size: the summary client list
// and the client list of every account (Acctlst2, Acclis), the account
// search (Clntnm) and the broker table with BRSORT.DAT (Brksrt). The time
// per account (or broker) should stay about the same from the smallest
// firm to the largest: each report reads every account once.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/lists/broker_list.h"
#include "reports/lists/client_list.h"
#include "reports/lists/searches.h"
#include "reports/lists/summary_client_list.h"

namespace {

void ListArgs(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 3000, 10000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// A firm of n accounts (keys in descending order, so the lists sort them),
// 50 brokers and 20 custodians; every account names a broker and a
// custodian.
void WriteFirm(int accounts, int brokers) {
    bench::WriteFirmCommon("12/08/98", 0.0f);

    std::vector<std::string> keys;
    std::vector<unsigned char> recs;
    for (int k = 0; k < accounts; ++k) {
        keys.push_back(bench::PrefixedId("A", accounts - k));
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[0].SetText(0, 32, "CLIENT " + keys.back());
        set[1].SetText(16, 4, k % 2 ? "ABCD" : "WXYZ");
        set[1].SetText(52, 32, "SHORT NAME " + std::to_string(k * 7919 % accounts));
        set[1].SetText(120, 8, "03/15/95");
        set[2].SetText(32, 32, "CUST-" + std::to_string(k));
        set[2].SetText(64, 6, bench::PrefixedId("C", k % 20 + 1));
        set[2].SetText(72, 6, bench::PrefixedId("B", k % 50 + 1));
        set[2].SetI16(80, 12);
        set[3].SetR8(8, 1000.0 + k);
        for (const records::Record& r : set) recs.insert(recs.end(), r.bytes().begin(), r.bytes().end());
    }
    records::ReplaceFile("ACCOUNT.IDX", bench::IndexBytes(keys));
    records::ReplaceFile("ACCOUNT.REC", recs);

    for (const char* kind : {"B", "C"}) {
        const int count = kind[0] == 'B' ? brokers : 20;
        std::vector<std::string> ids;
        std::vector<unsigned char> party;
        for (int p = 0; p < count; ++p) {
            ids.push_back(bench::PrefixedId(kind, count - p));
            for (int r = 0; r < 3; ++r) {
                records::Record rec(128, ' ');
                rec.SetText(0, 32, "FIRM " + ids.back());
                party.insert(party.end(), rec.bytes().begin(), rec.bytes().end());
            }
        }
        records::ReplaceFile(kind[0] == 'B' ? "BROKER.IDX" : "CUSTDN.IDX", bench::IndexBytes(ids));
        records::ReplaceFile(kind[0] == 'B' ? "BROKER.REC" : "CUSTDN.REC", party);
    }
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_SummaryClientList(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), 50);
    for (auto _ : state) reports::Acctlst2("????", "SUMMARY.TXT");
    Report(state);
}
BENCHMARK(BM_SummaryClientList)->Apply(ListArgs);

void BM_ClientListEveryAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), 50);
    for (auto _ : state) reports::Acclis("A   ", "        ", "????", "CLIENTS.TXT");
    Report(state);
}
BENCHMARK(BM_ClientListEveryAccount)->Apply(ListArgs);

void BM_AccountSearch(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), 50);
    for (auto _ : state) reports::Clntnm(0, records::Fixed("NAME 1", 32), "FIND.TXT");
    Report(state);
}
BENCHMARK(BM_AccountSearch)->Apply(ListArgs);

void BM_BrokerSortFile(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(10, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(reports::Brksrt());
    Report(state);
}
BENCHMARK(BM_BrokerSortFile)->Apply(ListArgs);

}  // namespace
