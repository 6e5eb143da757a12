// The mutual fund appraisal (report code 106) over firms of growing size: a
// manager run over every account of the synthetic firm, each account's
// lots rebuilt from its transactions (a deposit and 19 purchases, two of
// each security in a row, every fourth purchase reinvested), valued,
// printed with its mutual fund pages, its summary of investment portfolio
// and its common stocks page into OUTPUT.TMP and copied to XXX.TXT. The
// time per account should stay about the same across the sizes; compare
// with BM_AccountAppraisalRun, which reads the stored lots instead.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/funds/fund_appraisal.h"

namespace {

constexpr const char* kTradeDate = " 1/15/99";
constexpr float kTradeDateNumber = 990115;

// TR<acct>.REC of each account: the purchases of its stored lots (the
// synthetic firm's HL<acct>.REC) after a deposit of their cost and the
// cash, every fourth purchase flagged reinvested.
void WriteFundTransactions(int accounts) {
    for (int k = 1; k <= accounts; ++k) {
        const std::string id = bench::Id(k);
        const records::DirectFile holdings("HL" + id + ".REC", records::kAccountRecordLength, false);
        std::vector<records::TransactionRecord> trades;
        double cash = 0;
        records::Record rec;
        for (long n = 2; holdings.Read(n, rec); ++n) {
            const records::HoldingRecord lot = records::HoldingRecord::Decode(rec);
            cash += lot.cost;
            if (lot.holding_key == 0) continue;
            records::TransactionRecord t;
            t.code = "B   ";
            t.symbol = records::Fixed(lot.symbol, 12);
            t.tax_lot = "A   ";
            t.trade_date = kTradeDate;
            t.lot_date = kTradeDate;
            t.date_number = kTradeDateNumber;
            t.quantity = lot.quantity;
            t.amount = lot.cost;
            t.holding_key = lot.holding_key;
            t.security_record = lot.security_record;
            if (trades.size() % 4 == 3) t.type = "R   ";
            trades.push_back(t);
        }
        records::TransactionRecord deposit;
        deposit.code = "FI  ";
        deposit.symbol = records::Fixed("CASH", 12);
        deposit.trade_date = kTradeDate;
        deposit.lot_date = kTradeDate;
        deposit.date_number = kTradeDateNumber;
        deposit.amount = cash;
        deposit.security_record = 1;
        trades.insert(trades.begin(), deposit);

        std::vector<unsigned char> bytes;
        records::Record head(records::kAccountRecordLength, 0);
        records::TransactionFileHeader{static_cast<int16_t>(trades.size() + 1)}.Encode(head);
        bench::Append(bytes, head);
        for (const records::TransactionRecord& t : trades) {
            records::Record out(records::kAccountRecordLength, 0);
            t.Encode(out);
            bench::Append(bytes, out);
        }
        records::ReplaceFile(records::Paknam(id, "TR", ".REC"), bytes);
    }
}

void BM_MutualFundAppraisalRun(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int accounts = static_cast<int>(state.range(0));
    // With the type and category name files a firm keeps: without them each
    // subtitle's failed look-up reads the whole data directory.
    bench::MarketShape market;
    market.name_files = true;
    bench::WriteMarket(market);
    bench::WriteAccounts(accounts, 20);
    WriteFundTransactions(accounts);
    records::Options options{};
    records::SetOption(options, records::Opt::kPortfolioSummaryType,
                       static_cast<unsigned char>(state.range(1)));  // option 47: by type or by asset class
    records::Wropts(options);
    for (auto _ : state) reports::Mclntamu("A   ", "????", "", bench::kDate, "N   ", "XXX.TXT", 12);
    state.SetItemsProcessed(state.iterations() * accounts);
    state.SetComplexityN(accounts);
    // The report lines of the last run, to see that every account printed.
    state.counters["lines"] =
        static_cast<double>(records::DirectFile("OUTPUT.TMP", records::kReportLineWidth, false).Count());
}
BENCHMARK(BM_MutualFundAppraisalRun)
    ->Args({100, 0})
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Args({1000, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
