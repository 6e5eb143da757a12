// The summary client list.

#include "reports/lists/summary_client_list.h"

#include <string>
#include <vector>

#include "records/account_lists.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/account_reads.h"

namespace reports {

namespace {

// The page heading: the shared page heading and eight lines of its own.
void SummaryHeading(ReportFrame& frame, const std::string& date_text, int16_t& page, int16_t& lines,
                    int16_t& page_length) {
    records::Pghead(page, lines, page_length);
    frame.Write("(58X,'SUMMARY CLIENT LIST')");
    frame.Blank();
    frame.Write("(57X,'Sorted By Account ID')");
    frame.Line(DatePrintedLine(date_text, 1));
    frame.Blank();
    frame.Write("(1X,'MANAGER',7X,'CUSTODIAN',15X,'ACCOUNT',37X,'DATE',8X,'OPENING')");
    frame.Write("(2X,'CODE',9X,'ACCOUNT NO',17X,'ID',6X,'SHORT NAME',22X,'OPENED',8X,'VALUE') ");
    frame.Blank();
    lines = static_cast<int16_t>(lines + 8);
}

}  // namespace

void Acctlst2(std::string_view manager, std::string_view output_name) {
    // The report date with a four-digit year; blank when COMMON.FIL record
    // 2 cannot be read.
    records::Record rec;
    std::string date_text(12, ' ');
    {
        records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
        if (common.Read(records::kProgramDateRecord, rec)) {
            std::string report_date = rec.Text(0, 8);
            date_text = records::H2000(report_date);
        }
    }
    records::Gcn();

    // Every account in identifier order, the whole list however long. An
    // index that cannot be read lists no account (Bldacl is not asked, so
    // that no index file is made where there is none).
    std::vector<std::string> ids;
    std::vector<long> first_records;
    int count = 0;
    if (WalkAccounts().count_read) {
        int16_t status = 0;
        int runs = 0;
        records::Bldacl(ids, count, first_records, records::kListByIdentifier, records::Rdopts(), status,
                        runs);
    }

    ReportFrame frame(output_name, /*copy=*/true);
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
    SummaryHeading(frame, date_text, page, lines, page_length);

    double total = 0;
    for (int i = 0; i < count; ++i) {
        const SummaryFields account = ReadSummaryFields(first_records[static_cast<std::size_t>(i)]);
        if (!ManagerMatches(manager, account.manager)) continue;
        // An account whose records cannot be read is listed with blank
        // fields and adds nothing to the total.
        std::string value(32, ' ');
        if (account.read) value = NumberText(account.opening_value, "(F13.2)", 13, false);
        std::string opened = account.opened;
        const std::string opened_text = records::H2000(opened);
        if (lines > page_length) SummaryHeading(frame, date_text, page, lines, page_length);
        frame.Write("(2X,A4,2X,8A4,2A4,8A4,3A4,A13)", Items()
                                                          .Text(account.manager, 4, 1)
                                                          .Text(account.custodian_account, 4, 8)
                                                          .Text(ids[static_cast<std::size_t>(i)], 4, 2)
                                                          .Text(account.short_name, 4, 8)
                                                          .Text(opened_text, 4, 3)
                                                          .Text(value.substr(0, 13), 13, 1));
        if (account.read) total += account.opening_value;
        ++lines;
    }

    frame.Write("(93X,12('-'))");
    std::string total_text = NumberText(total, "(F16.2)", 16, false);
    int16_t width = 16;
    int16_t flag = 0;
    records::Putdol(total_text, width, flag);
    frame.Write("(1X,'TOTAL:',85X,A16)", Items().Text(total_text.substr(0, 16), 16, 1));
}

}  // namespace reports
