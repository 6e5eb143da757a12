// Commissions by broker.

#include "reports/trades/commissions_by_broker.h"

#include <array>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/broker_list.h"
#include "reports/trades/commissions_by_account.h"

namespace reports {

namespace {

struct BrokerSlot {
    std::string id = std::string(8, ' ');
    std::array<double, 3> amounts{};  // month, as of, year to date
};

// Btchdr: the page heading over the 80-column firm heading; counts 10
// lines.
void Btchdr(CommissionRun& run) {
    std::string program = run.program_date;
    std::string report = run.report_date;
    const std::string program_text = records::H2000(program);
    const std::string report_text = records::H2000(report);
    int16_t month = 0, day = 0, year = 0;
    records::Redate(run.report_date, month, day, year);
    const int full = records::FourDigitYear(year);
    const std::string month_text =
        records::Write("(I2,'/',I4)", {static_cast<long long>(month), static_cast<long long>(full)});
    const std::string manager = ManagerHeading(run.manager);

    records::Hdr80(run.page, run.lines, run.page_length);
    ReportFrame& f = run.frame;
    f.Write("(31X,'COMMISSIONS BY BROKER')");
    f.Blank();
    f.Blank();
    f.Write("(2X,'DATE PRINTED: ',3A4,30X,'PORTFOLIO MANAGER: ',A4)",
            Items().Text(program_text, 4, 3).Text(manager, 4, 1));
    f.Blank();
    f.Blank();
    f.Write("(48X,'MONTH OF ',5X,'AS OF ',7X,'YEAR')");
    f.Write("(2X,'BROKER CODE ',2X,'BROKER NAME ',20X,A7,4X,3A4,3X,'TO DATE')",
            Items().Text(month_text, 7, 1).Text(report_text, 4, 3));
    f.Blank();
    f.Blank();
    run.lines = static_cast<int16_t>(run.lines + 10);
}

}  // namespace

void Btotcom(std::string_view report_date, std::string_view selection, std::string_view broker,
             std::string_view manager, int16_t /*output_mode*/, std::string_view output_name) {
    const std::string program_date = records::ProgramDateText();
    Brksrt();

    const CommissionDate date = CheckCommissionDate(report_date);
    const bool one = records::Fixed(selection, 4) == "S   ";
    const std::string wanted_manager = records::Fixed(manager, 4);
    const BrokerSortFile sort = ReadBrokerSortFile();

    // The slots are BRSORT.DAT record numbers: the one broker's record, or
    // records 2 to N. The table grows with the file.
    std::vector<BrokerSlot> slots;
    std::size_t first = 0;
    std::size_t last = 0;
    if (one) {
        const int e = sort.Find(broker);
        if (e > 0) {
            first = last = static_cast<std::size_t>(e);
            slots.resize(first + 1);
            slots[first].id = records::Fixed(broker, 8);
        }
    }

    ReportFrame frame(output_name, /*copy=*/true);
    const CommissionWindows windows = CommissionWindows::Of(date.text, date.number);

    bool scan = true;
    if (first == 0) {
        first = 2;
        if (!sort.header_read) {
            scan = false;
        } else {
            last = sort.last > 0 ? static_cast<std::size_t>(sort.last) : 0;
            slots.resize(last + 1);
            for (std::size_t k = 2; k <= last; ++k) {
                if (!sort.brokers[k].read) break;
                slots[k].id = sort.brokers[k].id;
            }
        }
    }

    if (scan) {
        const AccountWalk walk = WalkAccounts();
        records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength,
                                     /*create=*/false);
        records::Record rec;
        for (const AccountEntry& e : walk.accounts) {
            if (!accounts.Read(e.first_record, rec)) break;
            if (!accounts.Read(e.first_record + 1, rec)) continue;
            if (!ManagerMatches(wanted_manager, rec.Text(16, 4))) continue;
            ForEachTransaction(e.id, [&](const records::TransactionRecord& t) {
                if (!IsCommissionTrade(t) || t.date_number > windows.report) return;
                BrokerSlot* slot = nullptr;
                for (std::size_t k = first; k <= last && k < slots.size(); ++k)
                    if (slots[k].id == t.broker) {
                        slot = &slots[k];
                        break;
                    }
                if (slot == nullptr) {
                    if (!one) frame.Write(kUnknownBrokerWarning, Items().Text(t.broker, 4, 2));
                    return;
                }
                if (windows.InMonth(t.date_number)) slot->amounts[0] += t.commission;
                slot->amounts[1] += t.commission;
                if (windows.InYear(t.date_number)) slot->amounts[2] += t.commission;
            });
        }
    }

    CommissionRun run{frame, date.text, program_date, wanted_manager};
    Btchdr(run);
    std::array<double, 3> totals{};
    for (std::size_t k = first; k <= last && k < slots.size(); ++k) {
        const auto& amounts = slots[k].amounts;
        if (!(amounts[0] > 0 || amounts[1] > 0 || amounts[2] > 0)) continue;
        for (std::size_t c = 0; c < 3; ++c) totals[c] += amounts[c];
        if (k >= sort.brokers.size() || !sort.brokers[k].read) break;
        if (run.lines >= run.page_length) Btchdr(run);
        const BrokerSortEntry& entry = sort.brokers[k];
        frame.Write("(5X,2A4,3X,7A4,A12,A12,A12)", Items()
                                                       .Text(entry.id, 4, 2)
                                                       .Text(entry.name, 4, 7)
                                                       .Text(Amount12(amounts[0]), 12, 1)
                                                       .Text(Amount12(amounts[1]), 12, 1)
                                                       .Text(Amount12(amounts[2]), 12, 1));
        ++run.lines;
    }
    frame.Blank();
    frame.Write("(36X,'TOTAL   ',A12,A12,A12)", Items()
                                                    .Text(Amount12(totals[0]), 12, 1)
                                                    .Text(Amount12(totals[1]), 12, 1)
                                                    .Text(Amount12(totals[2]), 12, 1));
    frame.Blank();
}

}  // namespace reports
