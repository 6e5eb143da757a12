// The performance module (report code 121) over firms of growing size:
// accounts with five years of month-end values, flows and incomes
// (6/30/95 to 6/30/00) and the month-end price files of the firm's two
// market indexes; the monthly performance with its summary page (type 1)
// over every account ("????"), and the summary of performance by account
// (type 3). Each account is read, recorded in PCONTROL.FIL and printed
// once, so the time per account should stay about the same across the
// sizes. Beside them, the summary by asset class (type 5, all classes) of
// 100 accounts replayed from their transactions.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "engine/value_history.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "reports/performance/performance_module.h"

namespace {

using bench::Append;

// COMMON.FIL record 37: the firm's indexes SEC2 and SEC4, and the options
// record with option 29 (the summary page after each table) at `summary`.
void WriteIndexesAndOptions(unsigned char summary) {
    records::DirectFile common(records::kCommonFile, 128);
    records::Record rec(128, ' ');
    rec.SetText(0, 36, "SEC2        INDEX   NO. 1           ");
    rec.SetText(36, 36, "SEC4        INDEX   NO. 2           ");
    common.Write(37, rec);
    records::Options options{};
    records::SetOption(options, records::Opt::kPerformanceSummaryType, summary);
    records::Wropts(options);
}

std::string MonthEnd(int month, int year4) {
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, static_cast<int16_t>(year4 % 100));
    int16_t m = static_cast<int16_t>(month), d = lengths[static_cast<std::size_t>(month - 1)];
    int16_t yy = static_cast<int16_t>(year4 % 100);
    std::string text;
    records::Wrdate(text, m, d, yy);
    return text;
}

// Month-end price files of the securities from first_month/first_year4
// for `months` months; security k is priced 20 + k % 50, rising 0.5% a
// month.
void WriteMonthEndPrices(int securities, int first_month, int first_year4, int months) {
    for (int n = 0; n < months; ++n) {
        const int month = (first_month - 1 + n) % 12 + 1;
        const int year = first_year4 + (first_month - 1 + n) / 12;
        std::vector<unsigned char> prices;
        for (int s = 1; s <= securities; ++s) {
            records::Record price(8, 0);
            price.SetR8(0, (20.0 + s % 50) * (1.0 + 0.005 * n));
            Append(prices, price);
        }
        records::ReplaceFile(records::PriceFileName(MonthEnd(month, year)), prices);
    }
}

// The history HL<acct>.DAT: the header and four records a year from
// first_year (stored years) for `years` years, each filled by `fill`.
template <typename Fill>
void WriteHistory(const std::string& account, int16_t first_month, int16_t first_year, int years, Fill fill) {
    std::vector<unsigned char> bytes;
    engine::ValueHistoryHeader h;
    h.account = records::Fixed(account, 8);
    h.start_month = first_month;
    h.first_year = first_year;
    h.end_month = 12;
    h.last_year = static_cast<int16_t>(first_year + years - 1);
    h.years = static_cast<int16_t>(years);
    records::Record head(128, 0);
    h.Encode(head);
    Append(bytes, head);
    for (int y = 0; y < years; ++y)
        for (int s = 0; s < 4; ++s) {
            engine::ValueHistoryYear year;
            year.year = static_cast<int16_t>(first_year + y);
            fill(y, s, year.values);
            records::Record rec(128, 0);
            year.Encode(rec);
            Append(bytes, rec);
        }
    records::ReplaceFile(records::Paknam(account, "HL", ".DAT"), bytes);
}

// The accounts' opening date (R2) and performance fields (R4, no initial
// value and no carry-in period).
void SetOpening(const std::vector<std::string>& ids, const std::string& opened) {
    records::DirectFile file("ACCOUNT.REC", 128);
    for (std::size_t k = 1; k <= ids.size(); ++k) {
        const long first = 8 * static_cast<long>(k) - 7;
        records::Record r2, r4;
        file.Read(first + 1, r2);
        r2.SetText(120, 8, opened);
        file.Write(first + 1, r2);
        file.Read(first + 3, r4);
        for (std::size_t b = 0; b < 36; ++b) r4.data()[b] = 0;
        file.Write(first + 3, r4);
    }
}

// A firm of `accounts` accounts with five years of history each.
void WriteFirmWithHistories(int accounts) {
    bench::WriteMarket();
    WriteIndexesAndOptions(1);
    bench::WriteAccounts(accounts, 2);
    std::vector<std::string> ids;
    for (int k = 1; k <= accounts; ++k) ids.push_back(bench::Id(k));
    SetOpening(ids, " 6/30/95");
    WriteMonthEndPrices(bench::kSecurities, 6, 1995, 61);
    for (int k = 1; k <= accounts; ++k) {
        // 100,000 at 6/30/95, then 1% a month (more or less by account),
        // 1,000 added every quarter and 300 of income.
        const double rate = 1.0 + (k % 7) * 0.002;
        WriteHistory(
            ids[static_cast<std::size_t>(k - 1)], 6, 95, 6, [rate](int y, int s, engine::MonthlyValues& v) {
                for (int m = 0; m < 12; ++m) {
                    const int n = y * 12 + m - 5;  // months after 6/95
                    if (n < 0 || n > 60) {
                        v[static_cast<std::size_t>(m)] = s == 0 && n > 60 ? engine::kNoMarketValue : 0.0;
                        continue;
                    }
                    double value = 100000;
                    for (int i = 0; i < n; ++i) value = value * rate + (i % 3 == 2 ? 1000 : 0);
                    v[static_cast<std::size_t>(m)] = s == 0                          ? value
                                                     : s == 1 && n % 3 == 0 && n > 0 ? 1000.0
                                                     : s == 3 && n % 3 == 0 && n > 0 ? 300.0
                                                                                     : 0.0;
                }
            });
    }
}

// Lines of the report work file an account, to see that every account
// printed its pages.
double LinesPerAccount(int accounts) {
    const records::DirectFile work("OUTPUT.TMP", 132, false);
    return static_cast<double>(work.Count()) / accounts;
}

void RunType(int16_t type) {
    int16_t choice = 1;
    reports::Mperf(type, "A   ", "????", "", "        ", bench::kDate, choice, "M   ", 1, "XXX.TXT", 12,
                   "compfile.lst", 12, 0, "");
}

void BM_PerformanceModuleMonthly(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteFirmWithHistories(accounts);
    for (auto _ : state) RunType(1);
    state.counters["lines"] = LinesPerAccount(accounts);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_PerformanceModuleMonthly)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_PerformanceModuleSummaryByAccount(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    WriteFirmWithHistories(accounts);
    for (auto _ : state) RunType(3);
    state.counters["lines"] = LinesPerAccount(accounts);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
}
BENCHMARK(BM_PerformanceModuleSummaryByAccount)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Type 5 with all classes over replayed accounts: each account's
// transactions (1,000 over 1995) are replayed month by month and printed
// as its summary by asset class.
void BM_PerformanceModuleAssetClasses(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    bench::WriteMarket();
    std::vector<std::string> ids;
    float last = 0;
    for (int k = 1; k <= accounts; ++k) {
        char id[16];
        std::snprintf(id, sizeof id, "B%05d", k);
        bench::SyntheticShape shape;
        shape.account = id;
        shape.transactions = 1000;
        shape.seed = static_cast<uint32_t>(k);
        const bench::SyntheticAccount a = bench::WriteSyntheticAccount(shape);
        if (a.last_date > last) last = a.last_date;
        ids.push_back(id);
        WriteHistory(id, 1, 95, 2, [](int, int, engine::MonthlyValues&) {});
    }
    // The accounts' index and records (manager AB) over the synthetic
    // securities, priced at every month end of 1995.
    {
        std::vector<unsigned char> recs;
        for (const std::string& id : ids) {
            std::vector<records::Record> set(8, records::Record(128, ' '));
            set[1].SetText(16, 4, "AB");
            set[1].SetText(52, 32, "REPLAYED " + id);
            set[2].SetI16(80, 12);
            for (const records::Record& r : set) Append(recs, r);
        }
        records::ReplaceFile("ACCOUNT.IDX", bench::IndexBytes(ids));
        records::ReplaceFile("ACCOUNT.REC", recs);
    }
    SetOpening(ids, " 1/02/95");
    WriteIndexesAndOptions(0);
    WriteMonthEndPrices(500, 1, 1995, 24);
    const int last_month = static_cast<int>(last) / 100 % 100;
    const int last_year = 1900 + static_cast<int>(last) / 10000;
    const std::string end = MonthEnd(last_month, last_year);
    for (auto _ : state) {
        int16_t choice = 5;  // the dialog's "All"
        reports::Mperf(5, "A   ", "????", "", "        ", end, choice, "M   ", 1, "XXX.TXT", 12,
                       "compfile.lst", 12, 0, "");
    }
    state.counters["lines"] = LinesPerAccount(accounts);
    state.SetItemsProcessed(state.iterations() * accounts);
}
BENCHMARK(BM_PerformanceModuleAssetClasses)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
