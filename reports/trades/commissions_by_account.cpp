// Commissions by account, and the commission windows, trade selection and
// broker sort file shared with the broker commission reports.

#include "reports/trades/commissions_by_account.h"

#include <algorithm>
#include <array>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/broker_list.h"

namespace reports {

namespace {

// A four-character word above four blanks, comparing signed bytes as the
// record layer's text compares do (zero bytes of a record never written
// order below blanks).
bool WordAboveBlanks(std::string_view text) {
    const std::string word = records::Fixed(text, 4);
    for (char c : word) {
        const auto x = static_cast<signed char>(c);
        if (x != ' ') return x > ' ';
    }
    return false;
}

// The month and four-digit year of a date, "(I2,'/',I4)".
std::string MonthText(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(date, month, day, year);
    const int full = records::FourDigitYear(year);
    return records::Write("(I2,'/',I4)", {static_cast<long long>(month), static_cast<long long>(full)});
}

// Bcahdr: the page heading of the commissions by account; counts 9 lines.
void Bcahdr(CommissionRun& run) {
    std::string program = run.program_date;
    std::string report = run.report_date;
    const std::string program_text = records::H2000(program);
    const std::string report_text = records::H2000(report);
    const std::string month_text = MonthText(run.report_date);
    records::Pghead(run.page, run.lines, run.page_length);
    ReportFrame& f = run.frame;
    f.Write("(56X,'COMMISSIONS BY ACCOUNT')");
    f.Blank();
    f.Blank();
    f.Write("(2X,'DATE PRINTED: ',3A4,30X,'PORTFOLIO MANAGER: ',A4)",
            Items().Text(program_text, 4, 3).Text(ManagerHeading(run.manager), 4, 1));
    f.Blank();
    f.Blank();
    f.Write("(61X,'MONTH OF',7X,'AS OF',8X,'YEAR')");
    f.Write("(2X,'ACCOUNT NO. ',2X,'ACCOUNT NAME',6X,'BROKER NAME ',15X,A7,4X,3A4,4X,'TO DATE')",
            Items().Text(month_text, 7, 1).Text(report_text, 4, 3));
    f.Blank();
    f.Blank();
    run.lines = static_cast<int16_t>(run.lines + 9);
}

// Steps 8a-8e for one account: its commissions per broker, then its lines.
void ReportAccount(CommissionRun& run, const AccountEntry& account, const std::string& name,
                   const CommissionWindows& windows, const BrokerSortFile& sort) {
    const std::size_t slots = sort.brokers.size();
    std::vector<std::array<double, 3>> table(slots, std::array<double, 3>{});

    ForEachTransaction(account.id, [&](const records::TransactionRecord& t) {
        if (!IsCommissionTrade(t) || t.date_number > windows.report) return;
        const int k = sort.Find(t.broker);
        if (k == 0) {
            run.frame.Write(kUnknownBrokerWarning, Items().Text(t.broker, 4, 2));
            ++run.lines;
            return;
        }
        auto& amounts = table[static_cast<std::size_t>(k)];
        if (windows.InMonth(t.date_number)) amounts[0] += t.commission;
        amounts[1] += t.commission;
        if (windows.InYear(t.date_number)) amounts[2] += t.commission;
    });

    if (run.lines > run.page_length - 4) Bcahdr(run);
    run.frame.Write("(3X,2A4,5X,8A4)", Items().Text(account.id, 4, 2).Text(name, 4, 8));
    ++run.lines;

    std::array<double, 3> totals{};
    for (std::size_t k = 2; k < slots; ++k) {
        const BrokerSortEntry& broker = sort.brokers[k];
        if (!broker.read) continue;
        const auto& amounts = table[k];
        if (amounts[0] == 0 && amounts[1] == 0 && amounts[2] == 0) continue;
        if (run.lines > run.page_length) Bcahdr(run);
        run.frame.Write("(34X,6A4,A12,1X,A12,1X,A12)", Items()
                                                           .Text(broker.name, 4, 6)
                                                           .Text(Amount12(amounts[0]), 12, 1)
                                                           .Text(Amount12(amounts[1]), 12, 1)
                                                           .Text(Amount12(amounts[2]), 12, 1));
        ++run.lines;
        for (std::size_t c = 0; c < 3; ++c) totals[c] += amounts[c];
    }
    run.frame.Blank();
    run.frame.Write("(48X,'TOTAL   ',2X,A12,'*',A12,'*',A12,'*')", Items()
                                                                       .Text(Amount12(totals[0]), 12, 1)
                                                                       .Text(Amount12(totals[1]), 12, 1)
                                                                       .Text(Amount12(totals[2]), 12, 1));
    run.lines = static_cast<int16_t>(run.lines + 3);
}

}  // namespace

CommissionDate CheckCommissionDate(std::string_view report_date) {
    CommissionDate date{records::Fixed(report_date, 8)};
    int16_t mode = 1, error = 0;
    records::Ckdate(date.text, mode, error, date.number, 0, 1991231);
    return date;
}

void ForEachTransaction(const std::string& account_id,
                        const std::function<void(const records::TransactionRecord&)>& take) {
    records::DirectFile file(records::Paknam(account_id, "TR", ".REC"), records::kAccountRecordLength,
                             /*create=*/false);
    records::Record rec;
    const int last = file.Read(1, rec) ? records::TransactionFileHeader::Decode(rec).last_record : 0;
    for (int n = 2; n <= last; ++n) {
        if (!file.Read(n, rec)) break;
        take(records::TransactionRecord::Decode(rec));
    }
}

CommissionWindows CommissionWindows::Of(std::string_view report_date, float report_number) {
    CommissionWindows w;
    w.report = report_number;
    w.year = records::SplitDateNumber(static_cast<long>(report_number)).year;
    int16_t month = 0, day = 0, year = 0;
    records::Redate(report_date, month, day, year);
    const int windowed = records::WindowYear(year);
    w.month_start = static_cast<float>((windowed * 100 + month) * 100 + 1);
    return w;
}

bool IsTradeCode(std::string_view code) {
    const std::string c = records::Fixed(code, 4);
    return c == "B   " || c == "S   " || c == "SS  " || c == "CS  ";
}

bool IsCommissionTrade(const records::TransactionRecord& t) {
    return WordAboveBlanks(t.symbol) && t.commission > 0 && IsTradeCode(t.code);
}

int BrokerSortFile::Find(std::string_view id) const {
    const std::string key = records::Fixed(id, 8);
    for (std::size_t k = 2; k < brokers.size(); ++k)
        if (brokers[k].read && brokers[k].id == key) return static_cast<int>(k);
    return 0;
}

BrokerSortFile ReadBrokerSortFile() {
    BrokerSortFile sort;
    records::DirectFile file(kBrokerSortFile, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return sort;
    sort.header_read = true;
    sort.last = rec.I16(0);
    sort.brokers.resize(static_cast<std::size_t>(std::max(sort.last, 1)) + 1);
    for (int k = 2; k <= sort.last; ++k) {
        BrokerSortEntry& entry = sort.brokers[static_cast<std::size_t>(k)];
        if (!file.Read(k, rec)) continue;
        entry.read = true;
        entry.id = rec.Text(0, 8);
        entry.name = rec.Text(8, 60);
    }
    return sort;
}

std::string SettlementDate(float trade_number) {
    const records::DateNumberParts trade = records::SplitDateNumber(static_cast<long>(trade_number));
    int16_t yy = static_cast<int16_t>(trade.year);
    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, yy);
    int month = trade.month;
    int day = trade.day + 3;
    if (month >= 1 && month <= 12 && day > lengths[static_cast<std::size_t>(month - 1)]) {
        day -= lengths[static_cast<std::size_t>(month - 1)];
        if (++month > 12) {
            month = 1;
            ++yy;
        }
    }
    std::string text(8, ' ');
    records::Wrdate(text, static_cast<int16_t>(month), static_cast<int16_t>(day), yy);
    return text;
}

void Btcomacc(std::string_view report_date, std::string_view selection, std::string_view account,
              std::string_view manager, std::string_view output_name) {
    const std::string program_date = records::ProgramDateText();
    const CommissionDate date = CheckCommissionDate(report_date);
    const bool one = records::Fixed(selection, 4) == "S   ";
    const std::string wanted_manager = records::Fixed(manager, 4);

    // The broker sort file is rebuilt for every run, so no broker entered
    // or deleted since the last broker list is missed or counted.
    Brksrt();

    ReportFrame frame(output_name, /*copy=*/true);
    const CommissionWindows windows = CommissionWindows::Of(date.text, date.number);
    CommissionRun run{frame, date.text, program_date, wanted_manager};
    Bcahdr(run);

    const BrokerSortFile sort = ReadBrokerSortFile();
    if (!sort.header_read || sort.last <= 0) {
        frame.Stop(UnreadableLine(kBrokerSortFile, 1));
        return;
    }
    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read) {
        frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        return;
    }
    if (walk.count <= 0) {
        frame.Stop(" ACCOUNT.IDX holds no account.");
        return;
    }

    const std::string wanted_account = records::Fixed(account, 8);
    records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    for (const AccountEntry& e : walk.accounts) {
        if (one && e.id != wanted_account) continue;
        if (!accounts.Read(e.first_record + 1, rec)) continue;
        if (!one && !ManagerMatches(wanted_manager, rec.Text(16, 4))) continue;
        ReportAccount(run, e, rec.Text(52, 32), windows, sort);
    }
    if (walk.failed_record != 0) frame.Stop(UnreadableLine(records::kAccountIndex, walk.failed_record));
}

}  // namespace reports
