// The performance run's files of arbitrary bytes: PCONTROL.FIL (its header
// and account records), the account's value history HL<acct>.DAT as the
// performance table reads it, its transactions TR<acct>.REC for the replay
// road, COMMON.FIL and the account file ACCOUNT.IDX/REC for the composite
// members. The table (Mnappr) runs for one account and for the composite
// of slot 1 (a resumed run), then the driver for the accounts of the
// index, and the combined performance (Combpf) merges the members' value
// histories (the history part is also the first indexed account's). A table stopped for a field out of range
// leaves PCONTROL.FIL as it was; every run ends its report.

#include <memory>
#include <string>

#include "records/file_names.h"
#include "records/options.h"
#include "records/performance_control.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/combined_performance.h"
#include "reports/performance/performance_accounts.h"
#include "reports/performance/performance_table.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 7);
    fuzz::FreshDataDir();
    fuzz::WriteFile("PCONTROL.FIL", parts[0]);
    fuzz::WriteFile("COMMON.FIL", fuzz::ShortPages(parts[3]));
    fuzz::WriteFile("ACCOUNT.IDX", parts[4]);
    fuzz::WriteFile("ACCOUNT.REC", parts[5]);
    const std::string_view control = parts[6];
    // The account's own files under the name PCONTROL.FIL gives it.
    records::PerformanceHeader header;
    records::PerformanceAccount account;
    const int slot = records::ReadPerformanceHeader(header) && header.slot >= 1 ? header.slot : 1;
    if (records::ReadPerformanceAccount(slot, account) || records::ReadPerformanceAccount(1, account)) {
        const std::string id = records::TrimRight(account.account);
        if (id.find_first_of("/\\.") == std::string::npos && !id.empty()) {
            fuzz::WriteFile(records::Paknam(id, "HL", ".DAT"), parts[1]);
            fuzz::WriteFile(records::Paknam(id, "TR", ".REC"), parts[2]);
        }
    }

    for (int16_t mode = 0; mode <= 1; ++mode) {
        const std::string before = fuzz::ReadFile("PCONTROL.FIL");
        std::string name;
        records::Prtout("", "START", name);
        reports::PerformanceTableRequest rq;
        rq.mode = mode;
        rq.indexes[0].symbol = records::Fixed("SPX", 12);
        rq.indexes[0].headers = {"S&P   ", "500   ", "INDEX "};
        records::SetOption(rq.options, records::Opt::kPerformanceExportType,
                           static_cast<unsigned char>(fuzz::Byte(control, 0) % 3));
        reports::PerformancePage page;
        auto series = std::make_unique<reports::MonthlySeries>();
        reports::PerformanceTableResult result;
        reports::Mnappr(rq, page, *series, result);
        records::Prtout("", "END", name);
        if (fuzz::ReadFile(records::kReportWorkFile).find("OUT OF RANGE, NO PERFORMANCE TABLE") !=
            std::string::npos)
            fuzz::Require(fuzz::ReadFile("PCONTROL.FIL") == before);
    }
    if (fuzz::Byte(control, 4) & 1) {
        const std::string_view index = parts[4];
        const std::string first =
            records::TrimRight(index.size() >= 136 ? index.substr(128, 8) : std::string_view());
        if (!first.empty() && first.find_first_of("/\\.") == std::string::npos)
            fuzz::WriteFile(records::Paknam(first, "HL", ".DAT"), parts[1]);
        reports::CompositeRequest request;
        request.kind = "A   ";
        request.to = " 6/30/97";
        int16_t status = 0;
        reports::Combpf(status, request);
    }
    if (fuzz::Byte(control, 1) & 1) {
        reports::PerformanceDriverRun run;
        run.mode = static_cast<int16_t>(fuzz::Byte(control, 1) >> 1 & 1);
        run.selection = "A   ";
        run.history = static_cast<int16_t>(fuzz::Byte(control, 2) & 1);
        run.sub_kind = static_cast<int16_t>(fuzz::Byte(control, 3) % 3);
        run.end = " 6/30/97";
        reports::Mprfacct(run);
    }
    return 0;
}
