// The market-value series over ten years of month ends for synthetic
// accounts of growing size: Getmmv (and the appraisals' Getmmv2) for the
// whole account, with a price
// file for every period end. The transactions of each account are spread
// over the ten years; the time per transaction should stay about the same
// from the smallest account to the largest (the series applies each
// transaction once and values the open lots once a period).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "engine/series.h"
#include "engine/valuation.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/prices.h"

namespace {

constexpr const char* kEndDate = "12/31/04";
constexpr int kTradingDays = 3300;  // of the ten years from 01/02/95
constexpr int kPriceUnit = 30;

void SeriesArgs(benchmark::internal::Benchmark* b) {
    // 32,766 transactions is the most an account's file can number.
    for (int n : {1000, 3000, 10000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// Writes a price file for every period end of the series, each with a
// price for every security that drifts from month to month.
// The date text (MM/DD/YY) of the account's first transaction.
std::string FirstDateText(const bench::SyntheticAccount& account) {
    const int first = static_cast<int>(account.first_date);
    std::string text;
    int16_t yy = static_cast<int16_t>(first / 10000 % 100);
    records::Wrdate(text, static_cast<int16_t>(first / 100 % 100), static_cast<int16_t>(first % 100), yy);
    return text;
}

void WritePrices(const bench::SyntheticAccount& account, const std::string& first_date) {
    const auto ends =
        engine::PeriodEnds(engine::SeriesDate::FromText(first_date), engine::SeriesDate::FromText(kEndDate),
                           false, 0, engine::kMaxPeriods);
    int period = 0;
    for (const engine::PeriodEnd& end : ends) {
        records::Open8(kPriceUnit, records::PriceFileName(end.text));
        for (std::size_t s = 0; s < account.symbols.size(); ++s) {
            double price =
                5.0 + static_cast<double>((s * 37 + static_cast<std::size_t>(period) * 11) % 19500) / 100.0;
            records::Rwpric(1, kPriceUnit, end.text, static_cast<long>(s + 1), price);
        }
        records::Close(kPriceUnit);
        ++period;
    }
}

void BM_GetmmvTenYears(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    // Every day of the account carries transactions, so the larger
    // accounts trade more a day to fit within the ten years (the smallest
    // one trades for its first years and holds its lots after that).
    shape.per_day = std::max(1, (shape.transactions + kTradingDays - 1) / kTradingDays);
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);

    // The series starts on the account's first transaction.
    const std::string first_date = FirstDateText(account);
    WritePrices(account, first_date);

    engine::PeriodValues values{}, flows{};
    engine::PeriodIncomes incomes{};
    engine::SeriesBlock block;
    engine::AccountData data{};
    const engine::CategoryTable table = engine::DefaultCategoryTable();
    int16_t periods = 0, selected = 0;
    for (auto _ : state) {
        std::string start = first_date;
        std::string first_eq, first_fi, first_ce;
        const int16_t status = engine::Getmmv(account.account, kEndDate, start, values, flows, incomes,
                                              periods, data, engine::kWholeAccountKind, table, first_eq,
                                              first_fi, first_ce, "", selected, block);
        if (status != engine::kSeriesDone || selected != account.transactions)
            state.SkipWithError("the series did not take every transaction");
        benchmark::DoNotOptimize(block.result.value[static_cast<std::size_t>(periods - 1)]);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
    state.counters["periods"] = periods;
    state.counters["last_year"] = static_cast<int>(account.last_date) / 10000;
    state.counters["end_value"] = block.result.value[static_cast<std::size_t>(periods - 1)];
}
BENCHMARK(BM_GetmmvTenYears)->Apply(SeriesArgs);

// The appraisals' whole-account series over the same accounts: every
// transaction replayed once into HL.TP1.
// The series of the whole account (range(1) = 0) or of one holding (1),
// as the appraisal asks for each of an account's holdings.
void BM_Getmmv2TenYears(benchmark::State& state) {
    bench::ScratchDataDir dir;
    bench::SyntheticShape shape;
    shape.transactions = static_cast<int>(state.range(0));
    shape.per_day = std::max(1, (shape.transactions + kTradingDays - 1) / kTradingDays);
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    std::string first_date;
    int16_t yy = static_cast<int16_t>(static_cast<int>(account.first_date) / 10000 % 100);
    records::Wrdate(first_date, static_cast<int16_t>(static_cast<int>(account.first_date) / 100 % 100),
                    static_cast<int16_t>(static_cast<int>(account.first_date) % 100), yy);
    WritePrices(account, first_date);

    engine::PeriodValues values{}, flows{};
    engine::PeriodIncomes incomes{};
    engine::SeriesBlock block;
    engine::AccountData data{};
    int16_t periods = 0;
    const std::string filter = state.range(1) != 0 ? account.symbols.at(1) : std::string();
    for (auto _ : state) {
        std::string start = "        ";
        const int16_t status = engine::Getmmv2(account.account, kEndDate, start, values, flows, incomes,
                                               periods, data, filter, 0, block);
        if (status != engine::kSeriesDone || periods < 2) state.SkipWithError("no series");
        benchmark::DoNotOptimize(values[static_cast<std::size_t>(periods - 1)]);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["periods"] = periods;
    state.counters["end_value"] = values[static_cast<std::size_t>(periods - 1)];
}
BENCHMARK(BM_Getmmv2TenYears)
    ->ArgsProduct({{1000, 3000, 10000, 30000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Getmmv over ten years for each account of a firm of 100 accounts of
// 3,000 transactions (the price files serve every account).
void BM_GetmmvTenYearsFirm(benchmark::State& state) {
    constexpr int kAccounts = 100;
    constexpr int kTransactions = 3000;
    bench::ScratchDataDir dir;
    std::vector<bench::SyntheticAccount> accounts;
    std::vector<std::string> first_dates;
    for (int a = 0; a < kAccounts; ++a) {
        bench::SyntheticShape shape;
        shape.account = "F" + std::to_string(1000 + a);
        shape.transactions = kTransactions;
        shape.per_day = std::max(1, (kTransactions + kTradingDays - 1) / kTradingDays);
        shape.seed = static_cast<uint32_t>(a + 1);
        accounts.push_back(bench::WriteSyntheticAccount(shape));
        first_dates.push_back(FirstDateText(accounts.back()));
    }
    // Prices from the earliest start on.
    std::size_t earliest = 0;
    for (std::size_t a = 1; a < accounts.size(); ++a)
        if (accounts[a].first_date < accounts[earliest].first_date) earliest = a;
    WritePrices(accounts[earliest], first_dates[earliest]);

    engine::PeriodValues values{}, flows{};
    engine::PeriodIncomes incomes{};
    engine::SeriesBlock block;
    engine::AccountData data{};
    const engine::CategoryTable table = engine::DefaultCategoryTable();
    int16_t periods = 0, selected = 0;
    for (auto _ : state) {
        for (std::size_t a = 0; a < accounts.size(); ++a) {
            std::string start = first_dates[a];
            std::string first_eq, first_fi, first_ce;
            const int16_t status = engine::Getmmv(accounts[a].account, kEndDate, start, values, flows,
                                                  incomes, periods, data, engine::kWholeAccountKind, table,
                                                  first_eq, first_fi, first_ce, "", selected, block);
            if (status != engine::kSeriesDone || selected != accounts[a].transactions)
                state.SkipWithError("the series did not take every transaction");
        }
    }
    state.SetItemsProcessed(state.iterations() * kAccounts * kTransactions);
}
BENCHMARK(BM_GetmmvTenYearsFirm)->Unit(benchmark::kMillisecond);

}  // namespace
