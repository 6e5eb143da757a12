// The form 1099-B report.

#include "reports/gains_tax/form_1099b.h"

#include <array>
#include <vector>

#include "engine/trade_posting.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/letterhead.h"
#include "records/record.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/lists/broker_list.h"
#include "reports/trades/commissions_by_account.h"

namespace reports {

namespace {

// The account fields the block prints.
struct Recipient {
    std::string custodian_account = std::string(32, ' ');  // third record bytes 32-63
    std::string tax_id = std::string(12, ' ');             // second record bytes 84-95
    std::string home_phone = std::string(12, ' ');         // second record bytes 96-107
};

std::string Line40(const records::LetterheadLines& letterhead, std::size_t n) {
    return records::Fixed(letterhead[n], 40);
}

struct Run {
    ReportFrame& frame;
    records::LetterheadLines letterhead;
    std::string trade_date;
    std::string second_date;
    float trade_number = 0;
    long run_trades = 0;
};

void WriteBlock(Run& run, const Recipient& to, const records::TransactionRecord& t, int number,
                const records::SecurityRecord& security) {
    const std::string quantity = NumberText(t.quantity, "(F12.3)", 12, false);
    const std::string amount = NumberText(t.amount, "(F16.2)", 16, false);

    std::string code = t.code;
    int16_t direction = 0, sign = 0, flag = 0;
    engine::Ckcode(code, 0, direction, sign, flag);
    const double s = -sign;
    const double price = t.price;
    double difference = s * (t.amount - price * t.quantity - s * t.commission + t.SecFee() - t.bond_interest);
    records::Drnd2(difference);

    const std::string word = records::Fixed(t.code, 4);
    const std::string blank12(12, ' ');
    const std::string purchase = word == "B   " ? quantity.substr(0, 12) : blank12;
    const std::string sale = word == "S   " ? quantity.substr(0, 12) : blank12;

    ReportFrame& f = run.frame;
    f.Blank();
    f.Blank();
    f.Write("(5X,10A4,12X,5A4)",
            Items().Text(Line40(run.letterhead, 0), 4, 10).Text(to.custodian_account.substr(0, 20), 4, 5));
    f.Write("(5X,10A4)", Items().Text(Line40(run.letterhead, 1), 4, 10));
    f.Write("(5X,10A4,15X,3A4)", Items().Text(Line40(run.letterhead, 2), 4, 10).Text(to.tax_id, 4, 3));
    f.Write("(5X,10A4)", Items().Text(Line40(run.letterhead, 3), 4, 10));
    f.Write("(5X,10A4,14X,3A4)", Items().Text(Line40(run.letterhead, 4), 4, 10).Text(to.home_phone, 4, 3));
    for (int i = 0; i < 13; ++i) f.Blank();
    f.Write("(7X,A12,3X,A12,5X,9A1,1X,8A4)", Items()
                                                 .Text(purchase, 12, 1)
                                                 .Text(sale, 12, 1)
                                                 .Text(records::Fixed(t.symbol, 9), 1, 9)
                                                 .Text(security.description1, 4, 8));
    for (int i = 0; i < 4; ++i) f.Blank();
    f.Write("(7X,3A4,I5,1X,F12.3,25X,2A4,2X,2A4)", Items()
                                                       .Text(t.symbol, 4, 3)
                                                       .Int(number)
                                                       .Number(price)
                                                       .Text(run.trade_date, 4, 2)
                                                       .Text(run.second_date, 4, 2));
    for (int i = 0; i < 4; ++i) f.Blank();
    f.Write("(6X,F12.2,4X,F8.2,4X,F5.2,5X,F5.2,8X,F5.2,2X,A16)", Items()
                                                                     .Number(0.0)
                                                                     .Number(t.commission)
                                                                     .Number(t.SecFee())
                                                                     .Number(0.0)
                                                                     .Number(difference)
                                                                     .Text(amount.substr(0, 16), 16, 1));
}

enum class AccountOutcome { kDone, kStop };

// The blocks of one account; kStop when the run must end (no broker file,
// or a security record that cannot be read).
AccountOutcome ReportAccount(Run& run, const std::string& id, const Recipient& to) {
    ReportFrame& f = run.frame;
    records::DirectFile file(records::Paknam(id, "TR", ".REC"), records::kAccountRecordLength,
                             /*create=*/false);
    records::Record rec;
    long trades = 0;
    if (file.Read(1, rec)) {
        const int last = records::TransactionFileHeader::Decode(rec).last_record;
        if (last == 0) return AccountOutcome::kDone;
        records::DirectFile sort(kBrokerSortFile, records::kAccountRecordLength, /*create=*/false);
        if (!sort.Read(1, rec)) {
            f.Write("(1X,'There are currently no brokers in the system.')");
            return AccountOutcome::kStop;
        }
        records::DirectFile securities(records::kSecurityRecords, records::kAccountRecordLength,
                                       /*create=*/false);
        for (int n = 2; n <= last; ++n) {
            if (!file.Read(n, rec)) continue;
            const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
            if (t.date_number != run.trade_number || !IsTradeCode(t.code)) continue;
            records::Record srec;
            if (!securities.Read(t.security_record, srec)) {
                f.Write("(1X,'Warning: EOF or error in reading security database.')");
                return AccountOutcome::kStop;
            }
            WriteBlock(run, to, t, n - 1, records::SecurityRecord::Decode(srec));
            ++trades;
            ++run.run_trades;
        }
    }
    if (trades == 0)
        f.Write("(1X,'No trades to report for ',A4,A2,'.')",
                Items().Text(id, 4, 1).Text(records::Fixed(id, 8).substr(4), 2, 1));
    return AccountOutcome::kDone;
}

// The recipient fields of account entry k; false when a record cannot be
// read.
bool ReadRecipient(long first_record, Recipient& to, std::string& manager) {
    records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record second, third;
    if (!accounts.Read(first_record + 1, second) || !accounts.Read(first_record + 2, third)) return false;
    manager = second.Text(16, 4);
    to.tax_id = second.Text(84, 12);
    to.home_phone = second.Text(96, 12);
    to.custodian_account = third.Text(32, 32);
    return true;
}

}  // namespace

void Fndact(std::string_view id, int16_t& position, std::string& name, int16_t& index_record,
            int16_t& key_position) {
    const AccountPlace place = Gtacnm(id);
    position = place.position;
    key_position = place.position;
    index_record = place.position > 0 ? place.index_record : 0;
    name = place.short_name;
}

void T1099b(std::string_view mode, std::string_view account, std::string_view manager,
            std::string& trade_date, std::string& second_date, std::string_view output_name) {
    bool common_read = false;
    {
        records::DirectFile common(records::kCommonFile, records::kAccountRecordLength, /*create=*/false);
        records::Record rec;
        common_read = common.Read(2, rec);
    }
    if (!common_read) {
        // Without the program date nothing can be printed; the report says
        // why rather than leaving no report at all.
        ReportFrame frame(output_name, /*copy=*/true);
        frame.Stop(UnreadableLine(records::kCommonFile, 2));
        return;
    }
    const bool all = records::Fixed(mode, 4) == "A   ";
    const std::string wanted_manager = records::Fixed(manager, 4);
    const std::string id = records::Fixed(account, 8);

    const records::LetterheadLines letterhead = records::Letrhd();

    int16_t place = 0, index_record = 0, key_position = 0;
    std::string name;
    if (!all) Fndact(id, place, name, index_record, key_position);

    int16_t check = 1, error = 0;
    float trade_number = 0;
    trade_date = records::Fixed(trade_date, 8);
    records::Ckdate(trade_date, check, error, trade_number, 0, 1991231);
    second_date = SettlementDate(trade_number);
    float second_number = 0;
    check = 1;
    records::Ckdate(second_date, check, error, second_number, trade_number, 1991231);

    ReportFrame frame(output_name, /*copy=*/true);
    Run run{frame, letterhead, trade_date, second_date, trade_number};

    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read) {
        frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        return;
    }
    if (all) {
        for (const AccountEntry& e : walk.accounts) {
            Recipient to;
            std::string code;
            // An account whose records cannot be read is passed over: its
            // manager code cannot be tested.
            if (!ReadRecipient(e.first_record, to, code)) continue;
            if (!ManagerMatches(wanted_manager, code)) continue;
            if (ReportAccount(run, e.id, to) == AccountOutcome::kStop) return;
        }
        if (run.run_trades == 0)
            frame.Write("(1X,'No trades to report for ',2A4,'.')", Items().Text(trade_date, 4, 2));
        return;
    }
    if (place <= 0) {
        frame.Stop(" ACCOUNT " + records::TrimRight(id) + " is not in ACCOUNT.IDX; nothing is reported.");
        return;
    }
    Recipient to;
    std::string code;
    const long first_record = 8L * (16L * (index_record - 2) + place) - 7;
    ReadRecipient(first_record, to, code);
    ReportAccount(run, id, to);
}

}  // namespace reports
