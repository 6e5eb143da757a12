#include "reports/performance/performance_module.h"

#include <string>

#include "records/chars.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/performance_control.h"
#include "records/report_output.h"
#include "reports/performance/combined_performance.h"
#include "reports/performance/performance_accounts.h"

namespace reports {

void Mperf(int16_t report_type, std::string_view selection, std::string_view manager,
           std::string_view account, std::string_view start, std::string_view end, int16_t& choice,
           std::string_view frequency, int16_t output_mode, std::string_view output_name, int /*name_length*/,
           std::string_view list_file, int /*list_length*/, int16_t /*unused*/, std::string_view group) {
    // A control file that an earlier or aborted run left is never resumed.
    records::Purge(records::kPerformanceControlFile);
    if (report_type < 1 || report_type > 5) return;

    std::string code = records::Fixed(manager, 4);
    if (code == std::string(4, '\0')) code = "    ";
    const records::Options options = records::Rdopts();
    records::Gcn();

    PerformanceDriverRun run;
    run.options = options;
    run.selection = records::Fixed(selection, 4);
    run.manager = code;
    run.account = records::Fixed(account, 8);
    run.start = records::Fixed(start, 8);
    run.end = records::Fixed(end, 8);
    run.frequency = records::Fixed(frequency, 4);
    run.output_mode = output_mode;
    run.output_name = records::Fixed(output_name, 12);

    switch (report_type) {
        case 1:
        case 3:
        case 4:
            choice = 0;
            run.sub_kind = static_cast<int16_t>(report_type == 1 ? 0 : report_type - 2);
            run.history = 1;
            run.choice = 0;
            Mprfacct(run);
            return;
        case 2: {
            // Combpf leaves 999 while further composites remain; it never does
            // today, so the loop runs once a request.
            int16_t status = 0;
            do {
                CompositeRequest rq;
                rq.options = options;
                rq.kind = run.selection;
                rq.manager = code;
                rq.account = run.account;
                rq.from = run.start;
                rq.to = run.end;
                rq.frequency = run.frequency;
                rq.output_mode = output_mode;
                rq.output_name = run.output_name;
                rq.list_file = records::Fixed(list_file, 12);
                rq.description = records::Fixed(group, 32);
                Combpf(status, rq);
                records::Purge(records::kPerformanceControlFile);
            } while (status == 999);
            return;
        }
        case 5:
            if (choice == 4)
                choice = 5;
            else if (choice == 5)
                choice = 4;
            run.sub_kind = 0;
            run.history = 0;
            run.choice = choice;
            Mprfacct(run);
            return;
        default:
            return;
    }
}

}  // namespace reports
