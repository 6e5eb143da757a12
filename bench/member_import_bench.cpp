// The member account import (Mdwnacct) over growing member files: member
// mode setting up 1,000 to 10,000 new accounts from an empty data
// directory, and deposit mode putting one deposit of each of 1,000 to
// 10,000 members into OFFLINET.DAT against as many accounts. Each member's
// look-up of its custodian account number is a map look-up, so the time
// per member should stay about the same across the sizes (a scan of every
// account per member would make 10,000 members a hundred times slower
// than 1,000).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "bench/synthetic_account.h"
#include "entry/member_import.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"

namespace {

const char* const kMemberFile = "MEMBERS.DAT";

// n member lines: account number 1 to n, one deposit each, a name and
// address block of three lines with a postal code.
void WriteMembers(int n) {
    std::ofstream out(kMemberFile, std::ios::binary);
    for (int i = 1; i <= n; ++i) {
        std::string line(431, ' ');
        char text[64];
        line[0] = '1';
        std::snprintf(text, sizeof text, "%017dS01", i);
        line.replace(5, 20, text);
        line.replace(36, 9, "123456789");
        const std::string deposit = std::string("030615") + "000100000" + "0001250" + "0001000";
        line.replace(65, deposit.size(), deposit);
        std::snprintf(text, sizeof text, "MEMBER NUMBER %d", i);
        line.replace(186, std::string(text).size(), text);
        line.replace(216, 13, "1 MAIN STREET");
        line.replace(246, 14, "SPRINGFIELD IL");
        line.replace(426, 5, "62701");
        out << line << "\r\n";
    }
}

// SECURITY.IDX and SECURITY.REC with the deposits' security.
void WriteDepositSecurity() {
    records::DirectFile index("SECURITY.IDX", 128);
    records::Record first(128, 0);
    first.SetI16(0, 1);
    index.Write(1, first);
    records::Record keys(128, ' ');
    keys.SetText(0, 12, "IBM");
    index.Write(2, keys);
    records::DirectFile securities("SECURITY.REC", 128);
    records::Record rec(128, 0);
    rec.SetText(0, 12, "459200101");
    rec.SetText(76, 4, "H");
    securities.Write(1, rec);
}

void SetUpMembers(int n) {
    records::Setsdt("06/30/03");
    WriteMembers(n);
}

void Args(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 3000, 10000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void BM_MemberImportMembers(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<bench::ScratchDataDir>();
        SetUpMembers(n);
        state.ResumeTiming();
        int16_t start = 1;
        entry::Mdwnacct(0, records::Fixed(kMemberFile, 48), "    ", "        ", "Y   ", 1, start,
                        "XXX.TXT     ");
        state.PauseTiming();
        if (start != n + 1) state.SkipWithError("accounts missing");
        dir.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MemberImportMembers)->Apply(Args);

void BM_MemberImportDeposits(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    bench::ScratchDataDir dir;
    SetUpMembers(n);
    WriteDepositSecurity();
    int16_t start = 1;
    entry::Mdwnacct(0, records::Fixed(kMemberFile, 48), "    ", "        ", "N   ", 1, start, "XXX.TXT     ");
    if (start != n + 1) state.SkipWithError("accounts missing");
    for (auto _ : state) {
        state.PauseTiming();
        records::Purge("OFFLINET.DAT");
        state.ResumeTiming();
        int16_t unused = 0;
        entry::Mdwnacct(1, records::Fixed(kMemberFile, 48), "B   ", "        ", "N   ", 0, unused,
                        "XXX.TXT     ");
        state.PauseTiming();
        records::DirectFile offline("OFFLINET.DAT", 512, false);
        records::Record first;
        if (!offline.Read(1, first) || first.I16(0) != n + 1) state.SkipWithError("lines missing");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MemberImportDeposits)->Apply(Args);

}  // namespace
