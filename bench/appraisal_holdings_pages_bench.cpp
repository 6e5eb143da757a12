// The client appraisal pages (Clntapr2) over one account of growing size:
// every holding is read once, each group takes its holdings from memory,
// and every line is written once, so the time per holding should stay
// about the same across the sizes. Half the holdings are common stocks in
// 40 industry categories, the rest bonds and cash equivalents; a third of
// the stocks carry a loan value, so LDL.DAT grows with them.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/synthetic_account.h"
#include "engine/valuation.h"
#include "records/appraisal_files.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/appraisal/appraisal_holdings_pages.h"
#include "reports/appraisal/appraisal_run.h"
#include "reports/kernel/report_frame.h"

namespace {

void WriteCommon() {
    std::vector<unsigned char> common(128 * 31, 0);
    records::Record heading(128, ' ');
    heading.SetText(0, 50, "BENCHMARK ADVISERS");
    heading.SetI16(60, 58);
    heading.SetI16(62, 0);
    std::copy(heading.bytes().begin(), heading.bytes().end(), common.begin() + 128 * 12);
    records::ReplaceFile("COMMON.FIL", common);
    records::Options options{};
    records::SetOption(options, records::Opt::kLoanLimitAndExtracts,
                       1);  // option 52: the loan disbursement limit and LDL.DAT
    records::Wropts(options);
    records::Gcn();
}

std::vector<unsigned char> WorkFile(int holdings) {
    records::AppraisalHeader head;
    head.account = "BENCH   ";
    head.report_date = " 6/30/00";
    head.count = static_cast<int16_t>(holdings);
    head.name = records::Fixed("BENCH ACCOUNT", 32);
    head.order = records::kReaderOrders;
    head.page_word = 3;
    std::vector<records::Record> recs;
    double total = 0;
    for (int i = 0; i < holdings; ++i) {
        records::ValuedHolding h;
        const int kind = i % 4;
        h.type_number = static_cast<int16_t>(kind == 0 ? 2 : kind == 1 ? 5 : 18);
        h.category = static_cast<int16_t>(1 + i % 40);
        h.symbol = records::Fixed("SEC" + std::to_string(i), 12);
        h.sort_key = h.symbol.substr(0, 10);
        h.quantity = 100 + i % 7;
        h.description1 = records::Fixed("SECURITY " + std::to_string(i), 32);
        h.rate = 2.5f;
        h.lot_date = " 1/15/99";
        h.cost = 2500 + i % 100;
        h.market_value = 3000 + i % 250;
        h.per_hundred = kind == 1 ? 1 : 0;
        h.type_code = kind == 0 ? "1   " : kind == 1 ? "4   " : "H   ";
        h.security_last_word = static_cast<int16_t>(kind >= 2 && i % 3 == 0 ? 50 : 0);
        head.type_flags[static_cast<std::size_t>(h.type_number - 1)] = 1;
        total += h.market_value;
        recs.push_back(h.Encode());
    }
    head.total_market_value = total;
    recs.insert(recs.begin(), head.Encode());
    std::vector<unsigned char> bytes;
    for (const records::Record& r : recs) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    return bytes;
}

void BM_ClientAppraisalPages(benchmark::State& state) {
    bench::ScratchDataDir dir;
    const int holdings = static_cast<int>(state.range(0));
    WriteCommon();
    const std::vector<unsigned char> work = WorkFile(holdings);
    reports::AppraisalRun run;
    const engine::CategoryTable classes = engine::DefaultCategoryTable();
    for (auto _ : state) {
        state.PauseTiming();
        records::ReplaceFile(records::kAppraisalWorkFile, work);
        records::Purge("LDL.DAT");
        state.ResumeTiming();
        reports::ReportFrame frame("OUTPUT.TMP", /*copy=*/false);
        int16_t step = reports::kStepHoldingsPages, title_flag = 0;
        reports::Clntapr2(run, step, {}, title_flag, std::string(64, ' '), classes);
    }
    state.SetItemsProcessed(state.iterations() * holdings);
    state.SetComplexityN(holdings);
}
BENCHMARK(BM_ClientAppraisalPages)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
