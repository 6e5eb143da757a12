// Commission detail by broker.

#include "reports/trades/commission_detail.h"

#include <set>
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
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/broker_list.h"
#include "reports/trades/commissions_by_account.h"

namespace reports {

namespace {

constexpr std::size_t kCommRecordLength = 128;

records::Record Encode(const CommissionTrade& t) {
    records::Record rec(kCommRecordLength, 0);
    rec.SetText(0, 8, t.broker);
    rec.SetText(8, 8, t.account);
    rec.SetText(16, 32, t.name);
    rec.SetText(48, 12, t.symbol);
    rec.SetText(60, 8, t.trade_date);
    rec.SetText(68, 4, t.code);
    rec.SetR8(72, t.quantity);
    rec.SetR4(80, t.price);
    rec.SetR8(84, t.amount);
    rec.SetR8(92, t.commission);
    return rec;
}

CommissionTrade Decode(const records::Record& rec) {
    CommissionTrade t;
    t.broker = rec.Text(0, 8);
    t.account = rec.Text(8, 8);
    t.name = rec.Text(16, 32);
    t.symbol = rec.Text(48, 12);
    t.trade_date = rec.Text(60, 8);
    t.code = rec.Text(68, 4);
    t.quantity = rec.R8(72);
    t.price = rec.R4(80);
    t.amount = rec.R8(84);
    t.commission = rec.R8(92);
    return t;
}

const char* TypeWord(std::string_view code) {
    const std::string c = records::Fixed(code, 4);
    if (c == "B   ") return "BUY ";
    if (c == "S   ") return "SELL";
    if (c == "SS  ") return "SHRT";
    return "COVR";
}

// The page heading, written only when the lines used are 0 or less or have
// reached the page length; the lines used become 13.
void DetailHeading(CommissionRun& run) {
    if (run.lines > 0 && run.lines < run.page_length) return;
    std::string program = run.program_date;
    std::string report = run.report_date;
    const std::string program_text = records::H2000(program);
    const std::string report_text = records::H2000(report);
    const std::string manager = ManagerHeading(run.manager);
    records::Pghead(run.page, run.lines, run.page_length);
    ReportFrame& f = run.frame;
    f.Write("(54X,'COMMISSION DETAIL BY BROKER')");
    f.Write("(54X,'COMMISSIONS FOR ',3A4)", Items().Text(report_text, 4, 3));
    f.Blank();
    f.Write("(2X,'DATE PRINTED: ',3A4,68X,'PORTFOLIO MANAGER: ',A4)",
            Items().Text(program_text, 4, 3).Text(manager, 4, 1));
    f.Blank();
    f.Blank();
    f.Write("(47X,'TRANS',3X,'TRADE')");
    f.Write(
        "(1X,'  ACCOUNT NO.',5X,'CLIENT',22X,'TYPE ',3X,'DATE',11X,'SHARES',4X,'SYMBOL',10X,'NET "
        "AMOUNT',3X,'COMMISSION')");
    f.Blank();
    f.Blank();
    run.lines = 13;
}

// The first pass: the month's commissioned trades into COMM.DAT, in
// account index order and transaction file order.
void Collect(records::DirectFile& comm, long report_month, bool one, const std::string& wanted_broker,
             const std::string& wanted_manager) {
    const AccountWalk walk = WalkAccounts();
    records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    long written = 0;
    for (const AccountEntry& e : walk.accounts) {
        if (!accounts.Read(e.first_record + 1, rec)) continue;
        if (!ManagerMatches(wanted_manager, rec.Text(16, 4))) continue;
        const std::string name = rec.Text(52, 32);
        ForEachTransaction(e.id, [&](const records::TransactionRecord& t) {
            if (records::IsBlank(t.symbol) || !(t.commission > 0) || !IsTradeCode(t.code)) return;
            if (static_cast<long>(static_cast<double>(t.date_number) * 0.01) != report_month) return;
            if (one && t.broker != wanted_broker) return;
            CommissionTrade c;
            c.broker = t.broker;
            c.account = e.id;
            c.name = name;
            c.symbol = t.symbol;
            c.trade_date = t.trade_date;
            c.code = t.code;
            c.quantity = t.quantity;
            c.price = t.price;
            c.amount = t.amount;
            c.commission = t.commission;
            comm.Write(++written, Encode(c));
        });
    }
}

}  // namespace

void Brcomfil(std::string_view report_date, std::string_view broker, std::string_view selection,
              std::string_view manager, std::string_view output_name) {
    const std::string program_date = records::ProgramDateText();
    const CommissionDate date = CheckCommissionDate(report_date);
    const long report_month = static_cast<long>(static_cast<double>(date.number) * 0.01);
    const bool one = records::Fixed(selection, 4) == "S   ";
    const std::string wanted_broker = records::Fixed(broker, 8);
    const std::string wanted_manager = records::Fixed(manager, 4);

    // The broker sort file is rebuilt for every run, so no broker entered
    // or deleted since the last broker list is missed or printed.
    Brksrt();

    ReportFrame frame(output_name, /*copy=*/true);
    std::vector<CommissionTrade> trades;
    {
        records::Purge(kCommissionWorkFile);
        records::DirectFile comm(kCommissionWorkFile, kCommRecordLength);
        Collect(comm, report_month, one, wanted_broker, wanted_manager);
        records::Record rec;
        for (long n = 1; comm.Read(n, rec); ++n) trades.push_back(Decode(rec));
    }
    records::Purge(kCommissionWorkFile);

    CommissionRun run{frame, date.text, program_date, wanted_manager};
    DetailHeading(run);
    const BrokerSortFile sort = ReadBrokerSortFile();
    std::set<std::string> listed;
    for (std::size_t k = 2; k < sort.brokers.size(); ++k) {
        const BrokerSortEntry& entry = sort.brokers[k];
        if (!entry.read) break;
        listed.insert(entry.id);
        double net = 0;
        double commission = 0;
        bool first = true;
        std::string previous;
        for (const CommissionTrade& t : trades) {
            if (t.broker != entry.id) continue;
            DetailHeading(run);
            if (first) {
                frame.Write("(1X,'   ')");
                frame.Write("(1X,2A4,15A4)", Items().Text(entry.id, 4, 2).Text(entry.name, 4, 15));
                frame.Blank();
                run.lines = static_cast<int16_t>(run.lines + 4);
                previous = t.account;
                first = false;
            }
            if (t.account != previous) {
                frame.Write("(1X,'   ')");
                ++run.lines;
                previous = t.account;
            }
            frame.Write("(4X,2A4,2X,8A4,2X,A4,2X,2A4,4X,F10.2,4X,3A4,2X,F13.2,2X,F10.2)",
                        Items()
                            .Text(t.account, 4, 2)
                            .Text(t.name, 4, 8)
                            .Text(TypeWord(t.code), 4, 1)
                            .Text(t.trade_date, 4, 2)
                            .Number(t.quantity)
                            .Text(t.symbol, 4, 3)
                            .Number(t.amount)
                            .Number(t.commission));
            ++run.lines;
            net += t.amount;
            commission += t.commission;
        }
        // A broker with detail lines always gets its totals, even when its
        // net amounts cancel to zero.
        if (!first) {
            frame.Write("(94X,F13.2,'*',1X,F10.2,'*')", Items().Number(net).Number(commission));
            ++run.lines;
        }
    }
    // Trades of brokers the broker file does not hold are named, not
    // dropped.
    for (const CommissionTrade& t : trades)
        if (listed.count(t.broker) == 0) frame.Write(kUnknownBrokerWarning, Items().Text(t.broker, 4, 2));
}

}  // namespace reports
