// The broker commission reports over firms of growing size: every account
// holds 200 commissioned trades over 1997 and 1998 spread over 40 brokers
// (a tenth of them in March 1998, the report month). Commissions by
// account and by broker read every trade once and look its broker up among
// the brokers; the commission detail lists the month's trades broker by
// broker from its work file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/trades/commission_detail.h"
#include "reports/trades/commissions_by_account.h"
#include "reports/trades/commissions_by_broker.h"

namespace {

constexpr int kTradesPerAccount = 200;
constexpr int kBrokers = 40;

void WriteCommissionFirm(int accounts) {
    bench::WriteFirmCommon("12/08/98", 981208.0f);

    std::vector<std::string> brokers;
    std::vector<unsigned char> broker_recs;
    for (int b = 0; b < kBrokers; ++b) {
        brokers.push_back(bench::PrefixedId("BK", kBrokers - b));  // entered in reverse order
        for (int r = 0; r < 3; ++r) {
            records::Record rec(128, ' ');
            rec.SetText(0, 32, "BROKER " + brokers.back());
            broker_recs.insert(broker_recs.end(), rec.bytes().begin(), rec.bytes().end());
        }
    }
    records::ReplaceFile("BROKER.IDX", bench::IndexBytes(brokers));
    records::ReplaceFile("BROKER.REC", broker_recs);

    std::vector<std::string> keys;
    std::vector<unsigned char> recs;
    for (int k = 0; k < accounts; ++k) {
        keys.push_back(bench::PrefixedId("C", k + 1));
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[1].SetText(16, 4, "ABCD");
        set[1].SetText(52, 32, "SHORT NAME " + keys.back());
        for (const records::Record& r : set) recs.insert(recs.end(), r.bytes().begin(), r.bytes().end());

        std::vector<unsigned char> trades(128, 0);
        trades[0] = (kTradesPerAccount + 1) & 0xff;
        trades[1] = (kTradesPerAccount + 1) >> 8;
        for (int t = 0; t < kTradesPerAccount; ++t) {
            records::Record rec(128, 0);
            const int day = (t * 7919 + k * 31) % 720;
            const int year = 97 + day / 360, month = t % 10 == 0 ? 3 : day % 360 / 30 + 1, dom = day % 28 + 1;
            char text[16];
            std::snprintf(text, sizeof text, "%2d/%02d/%02d", month, dom, year);
            rec.SetText(0, 12, "SYM" + std::to_string(t % 50));
            rec.SetText(16, 8, text);
            rec.SetText(24, 4, t % 2 == 0 ? "B" : "S");
            rec.SetR8(28, 100.0 + t);
            rec.SetR4(36, 25.0f);
            rec.SetR8(40, 2500.0 + t);
            rec.SetText(48, 8, brokers[static_cast<std::size_t>((t + k) % kBrokers)]);
            rec.SetR8(56, 10.0 + t % 7);
            rec.SetR4(88, static_cast<float>(year * 10000 + month * 100 + dom));
            trades.insert(trades.end(), rec.bytes().begin(), rec.bytes().end());
        }
        records::ReplaceFile("TR" + keys.back() + ".REC", trades);
    }
    records::ReplaceFile("ACCOUNT.IDX", bench::IndexBytes(keys));
    records::ReplaceFile("ACCOUNT.REC", recs);
}

void Args(benchmark::internal::Benchmark* b) {
    for (int n : {100, 300, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0) * kTradesPerAccount);
    state.SetComplexityN(state.range(0));
}

void BM_CommissionsByAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteCommissionFirm(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Btcomacc(" 3/15/98", "A   ", "        ", "????", "COMACC.TXT  ");
    Report(state);
}
BENCHMARK(BM_CommissionsByAccount)->Apply(Args);

void BM_CommissionsByBroker(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteCommissionFirm(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Btotcom(" 3/15/98", "A   ", "        ", "????", 3, "COMBRK.TXT  ");
    Report(state);
}
BENCHMARK(BM_CommissionsByBroker)->Apply(Args);

void BM_CommissionDetail(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteCommissionFirm(static_cast<int>(state.range(0)));
    for (auto _ : state) reports::Brcomfil(" 3/15/98", "        ", "A   ", "????", "DETAIL.TXT  ");
    Report(state);
}
BENCHMARK(BM_CommissionDetail)->Apply(Args);

}  // namespace
