// The maturity alert (Eomatre) and the investment history (Invhsty) over
// firms of 100 to 1,000 accounts of 50 lots, and portfolio changes
// (Portchng) and the investment history of one account over a growing
// history of 1,000 to 30,000 transactions. The time per account, or per
// transaction, should stay about the same across the sizes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "bench/synthetic_firm.h"
#include "engine/rebuild.h"
#include "records/account_records.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "reports/history/investment_history.h"
#include "reports/history/maturity_alert.h"
#include "reports/history/portfolio_changes.h"

namespace {

constexpr int kLotsPerAccount = 50;
constexpr int kSecurities = 500;

std::string Date(int month, int day, int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d/%02d/%02d", month, day, year % 100);
    return text;
}

void WriteRecords(const std::string& name, const std::vector<records::Record>& recs) {
    std::vector<unsigned char> bytes;
    for (const records::Record& r : recs) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    records::ReplaceFile(name, bytes);
}

// COMMON.FIL: program date 12/31/98, the firm heading (page length 58);
// options, when given, in record 31.
void WriteCommon(const records::Record* options = nullptr) {
    bench::WriteFirmCommon("12/31/98", 981231.0f, options);
}

void WriteAccounts(const std::vector<std::string>& ids) {
    std::vector<records::Record> index(1, records::Record(128, 0));
    index[0].SetI16(0, static_cast<int16_t>(ids.size()));
    std::vector<records::Record> recs;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (k % 16 == 0) index.emplace_back(128, ' ');
        index.back().SetText(8 * (k % 16), 8, ids[k]);
        std::vector<records::Record> set(8, records::Record(128, ' '));
        set[1].SetText(16, 4, "ABCD");
        set[1].SetText(52, 32, "ACCOUNT " + ids[k]);
        set[1].SetText(120, 8, " 1/02/97");
        recs.insert(recs.end(), set.begin(), set.end());
    }
    WriteRecords("ACCOUNT.IDX", index);
    WriteRecords("ACCOUNT.REC", recs);
}

// 500 securities: even positions bonds (type 3) maturing one month after
// another from 01/15/99 over five years, with a call date for every third,
// odd positions stocks (type H); position 1 is cash.
void WriteSecurities() {
    std::vector<records::Record> index(1, records::Record(128, 0));
    index[0].SetI16(0, kSecurities);
    std::vector<records::Record> recs;
    std::vector<records::Record> exts;
    for (int n = 1; n <= kSecurities; ++n) {
        if ((n - 1) % 10 == 0) index.emplace_back(128, ' ');
        index.back().SetText(12 * static_cast<std::size_t>((n - 1) % 10), 12,
                             n == 1 ? "CASH" : bench::PrefixedId("S", n));
        records::Record rec(128, 0);
        records::Record ext(128, 0);
        rec.SetText(0, 12, n == 1 ? "CASH" : bench::PrefixedId("CUSIP", n));
        rec.SetText(12, 32, n == 1 ? "CASH" : "SECURITY " + bench::PrefixedId("S", n));
        rec.SetText(44, 32, "");
        if (n == 1) {
            rec.SetText(76, 4, "1");
        } else if (n % 2 == 0) {
            const int month = (n / 2) % 60;
            rec.SetText(76, 4, "3");
            rec.SetText(88, 8, Date(1 + month % 12, 15, 99 + month / 12));
            rec.SetR4(96, 5.5f);
            rec.SetText(116, 8, Date(1 + month % 12, 15, 99 + month / 12));
            if (n % 3 == 0) {
                ext.SetText(38, 8, Date(1 + (month + 5) % 12, 1, 99));
                ext.SetR8(46, 101.5);
            }
        } else {
            rec.SetText(76, 4, "H");
        }
        recs.push_back(rec);
        exts.push_back(ext);
    }
    WriteRecords("SECURITY.IDX", index);
    WriteRecords("SECURITY.REC", recs);
    WriteRecords("SECURITY.EXT", exts);
    // Prices at the start and the end of 1998.
    for (const char* date : {"SE010198.PRC", "SE123198.PRC"}) {
        std::vector<unsigned char> bytes;
        for (int n = 1; n <= kSecurities; ++n) {
            records::Record price(8, 0);
            price.SetR8(0, n % 2 == 0 ? 99.0 + (date[3] == '1' ? 1 : 0) : 20.0 + n % 40);
            bytes.insert(bytes.end(), price.bytes().begin(), price.bytes().end());
        }
        records::ReplaceFile(date, bytes);
    }
}

// The account's security of lot i.
int16_t SecurityOf(int account, int lot) {
    return static_cast<int16_t>(2 + (account * 37 + lot * 11) % (kSecurities - 1));
}

// A firm of n accounts, each with 50 lots: HL<acct>.REC for the maturity
// alert and, with transactions, TR<acct>.REC (a deposit, 50 purchases in
// 1997 and two dividends a lot in 1998) rebuilt into the holdings.
std::vector<std::string> WriteFirm(int accounts, bool transactions) {
    WriteCommon();
    WriteSecurities();
    std::vector<std::string> ids;
    for (int k = 1; k <= accounts; ++k) ids.push_back(bench::PrefixedId("A", k));
    WriteAccounts(ids);
    for (int k = 0; k < accounts; ++k) {
        const std::string& id = ids[static_cast<std::size_t>(k)];
        if (!transactions) {
            std::vector<records::Record> recs(1, records::Record(128, 0));
            records::HoldingsHeader header;
            header.first_lot = 2;
            header.account = id;
            header.records_in_use = kLotsPerAccount + 1;
            header.next_free = kLotsPerAccount + 2;
            header.Encode(recs[0]);
            for (int i = 0; i < kLotsPerAccount; ++i) {
                records::HoldingRecord lot;
                lot.next = static_cast<int16_t>(i + 1 < kLotsPerAccount ? i + 3 : -1);
                lot.holding_key = i + 1;
                lot.security_record = SecurityOf(k, i);
                lot.symbol = bench::PrefixedId("S", lot.security_record);
                lot.quantity = 1000.0 * (1 + i % 7);
                lot.cost = 990.0 * (1 + i % 7);
                lot.open_date = Date(1 + i % 12, 10, 97);
                records::Record rec(128, ' ');
                lot.Encode(rec);
                recs.push_back(rec);
            }
            WriteRecords(records::TrimRight(records::Paknam(id, "HL", ".REC")), recs);
            continue;
        }
        std::vector<records::Record> recs(1, records::Record(128, 0));
        auto add = [&](const std::string& code, int16_t security, const std::string& date, double quantity,
                       double amount, double key) {
            records::TransactionRecord t;
            t.code = records::Fixed(code, 4);
            t.symbol = records::Fixed(security == 1 ? "CASH" : bench::PrefixedId("S", security), 12);
            t.tax_lot = records::Fixed("01", 4);
            t.trade_date = date;
            t.lot_date = date;
            int16_t m = 0, d = 0, y = 0;
            records::Redate(date, m, d, y);
            t.date_number = records::WindowedDateNumber(m, d, y);
            t.quantity = quantity;
            t.amount = amount;
            t.holding_key = key;
            t.security_record = security;
            recs.emplace_back(128, 0);
            t.Encode(recs.back());
        };
        add("FI", 1, " 1/02/97", 1e6, 1e6, 0);
        for (int i = 0; i < kLotsPerAccount; ++i) {
            const int16_t security = SecurityOf(k, i);
            add("B", security, Date(1 + i % 12, 10, 97), 100.0 * (1 + i % 7), 2000.0 * (1 + i % 7),
                1000.0 + i);
            add("DI", security, Date(1 + i % 12, 20, 98), 0, 25, 0);
            add("II", 1, Date(1 + i % 12, 21, 98), 0, 5, 0);
        }
        records::TransactionFileHeader{static_cast<int16_t>(recs.size())}.Encode(recs[0]);
        WriteRecords(records::TrimRight(records::Paknam(id, "TR", ".REC")), recs);
        int16_t flag = 0;
        engine::Rbldhl(id, flag);
    }
    return ids;
}

void FirmArgs(benchmark::internal::Benchmark* b) {
    for (int n : {100, 300, 1000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_MaturityAlertFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), false);
    for (auto _ : state) reports::Eomatre("12/15/98", "????", "ALERT.TXT", 12);
    Report(state);
}
BENCHMARK(BM_MaturityAlertFirm)->Apply(FirmArgs);

void BM_InvestmentHistoryFirm(benchmark::State& state) {
    bench::ScratchDataDir dir;
    WriteFirm(static_cast<int>(state.range(0)), true);
    for (auto _ : state)
        reports::Invhsty("A   ", "????", "        ", " 1/01/98", "12/31/98", "Y   ", 3, "HISTORY.TXT", 12);
    Report(state);
}
BENCHMARK(BM_InvestmentHistoryFirm)->Apply(FirmArgs);

// One account of n transactions (the synthetic history), its holdings
// rebuilt; the period is its whole history.
bench::SyntheticAccount WriteHistory(int transactions) {
    bench::SyntheticShape shape;
    shape.transactions = transactions;
    const bench::SyntheticAccount account = bench::WriteSyntheticAccount(shape);
    records::Record options(128, 0);
    {
        records::DirectFile common("COMMON.FIL", 128, false);
        common.Read(31, options);
    }
    WriteCommon(&options);
    WriteAccounts({account.account});
    int16_t flag = 0;
    engine::Rbldhl(account.account, flag);
    return account;
}

std::string DateText(float number) {
    const int n = static_cast<int>(number);
    return Date(n / 100 % 100, n % 100, n / 10000);
}

void HistoryArgs(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 3000, 10000, 30000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// The last year of the history: every section stays within its limit of
// 1,000 transactions, while each reads the whole transaction file.
void BM_PortfolioChangesHistory(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const bench::SyntheticAccount account = WriteHistory(static_cast<int>(state.range(0)));
    const std::string start = DateText(account.last_date - 10000.0f);
    const std::string end = DateText(account.last_date);
    for (auto _ : state) {
        std::string id = records::Fixed(account.account, 8);
        reports::Portchng("S   ", "????", id, start, end, std::string(12, ' '), "CHANGES.TXT", 12);
    }
    Report(state);
}
BENCHMARK(BM_PortfolioChangesHistory)->Apply(HistoryArgs);

void BM_InvestmentHistoryHistory(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const bench::SyntheticAccount account = WriteHistory(static_cast<int>(state.range(0)));
    const std::string start = DateText(account.first_date);
    const std::string end = DateText(account.last_date);
    for (auto _ : state)
        reports::Invhsty("S   ", "????", records::Fixed(account.account, 8), start, end, "N   ", 3,
                         "HISTORY.TXT", 12);
    Report(state);
}
BENCHMARK(BM_InvestmentHistoryHistory)->Apply(HistoryArgs);

}  // namespace
