// The trade memorandum.

#include "reports/trades/trade_memorandum.h"

#include <array>
#include <vector>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/letterhead.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_file.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/parties.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/trades/commissions_by_account.h"

namespace reports {

namespace {

constexpr const char* kUnknownBroker = "*****    UNKOWN BROKER     *****";

// The six lines and the printed 12-character field of the right column.
struct BrokerBlock {
    std::array<std::string, 6> lines;
    std::string field = std::string(12, ' ');
    BrokerBlock() { lines.fill(std::string(32, ' ')); }
};

BrokerBlock LookUpBroker(const std::string& trade_broker, const std::string& account_broker) {
    BrokerBlock block;
    long first = Fndbrk(trade_broker);
    if (first < 0) first = Fndbrk(account_broker);
    PartyEntry entry;
    if (first < 0 || ReadPartyEntry(Party::kBroker, first, entry) == 0) {
        block.lines[5] = kUnknownBroker;
    } else {
        for (std::size_t i = 0; i < 5; ++i) block.lines[i] = records::Fixed(entry.lines[i], 32);
        block.lines[5] = records::Fixed(entry.attention, 32);
        block.field = records::Fixed(entry.telephone, 12);
    }
    // A broker without a second address line: the attention line moves up
    // into line 2 and the telephone into line 3.
    if (records::IsBlank(block.lines[1].substr(0, 4))) {
        block.lines[1] = block.lines[5];
        block.lines[2] = records::Fixed(block.field, 32);
        block.lines[5] = std::string(32, ' ');
        block.field = std::string(12, ' ');
    }
    return block;
}

struct Account {
    std::string id;
    std::string name_line = std::string(32, ' ');  // first record bytes 0-31
    std::string reference = std::string(32, ' ');  // third record bytes 32-63
    std::string custodian = std::string(8, ' ');   // third record bytes 64-69
    std::string broker = std::string(8, ' ');      // third record bytes 72-77
};

struct Trade {
    std::string broker;
    long record = 0;
    bool pending = true;
};

struct Letters {
    ReportFrame& frame;
    const records::FirmHeading& firm;
    records::LetterheadLines letterhead;
    std::string program_date;
    std::string trade_date;
    std::string settlement_date;
    int page = 1;
    int lines = 0;
};

void SectionHeading(Letters& run, const std::string& code) {
    ReportFrame& f = run.frame;
    if (code == "S   ") {
        f.Write("(1X,'WE HAVE SOLD:')");
        f.Write("(1X,'-------------')");
    } else if (code == "B   ") {
        f.Write("(1X,'WE HAVE BOUGHT:')");
        f.Write("(1X,'---------------')");
    } else if (code == "SS  ") {
        f.Write("(1X,'WE HAVE SOLD SHORT:')");
        f.Write("(1X,'-------------------')");
    } else {
        f.Write("(1X,'WE HAVE COVERED SHORT:')");
        f.Write("(1X,'----------------------')");
    }
}

void OpenLetter(Letters& run, const Account& account, const std::array<std::string, 5>& custodian,
                const BrokerBlock& broker) {
    ReportFrame& f = run.frame;
    if (run.firm.top_lines > 1)
        for (int i = 0; i < run.firm.top_lines; ++i) f.Blank();
    f.Blank();
    f.Blank();
    for (std::size_t i = 0; i < 5; ++i) f.Write("(1X,10A4)", Items().Text(run.letterhead[i], 4, 10));
    f.Blank();
    f.Blank();
    f.Write("(1X,2A4,41X,'TRANSACTION(S) WERE MADE WITH')", Items().Text(run.program_date, 4, 2));
    f.Blank();
    run.page = 1;
    for (std::size_t i = 0; i < 5; ++i)
        f.Write("(1X,8A4,17X,8A4)", Items().Text(custodian[i], 4, 8).Text(broker.lines[i], 4, 8));
    f.Write("(50X,8A4)", Items().Text(broker.lines[5], 4, 8));
    f.Write("(50X,3A4)", Items().Text(broker.field, 4, 3));
    f.Write("(1X,'REFERENCE: ',8A4)", Items().Text(account.reference, 4, 8));
    f.Write("(12X,8A4)", Items().Text(account.name_line, 4, 8));
    f.Blank();
    f.Write("(1X,'WE HAVE MADE THE FOLLOWING TRANSACTIONS WITH THE ABOVE',' BROKER.')");
    f.Write("(1X,'PLEASE USE THIS LETTER AS YOUR AUTHORIZATION TO MAKE',' SETTLEMENT')");
    f.Write("(1X,'OF THESE TRANSACTION(S).')");
    f.Blank();
    run.lines = 25;
}

void ColumnHeadings(Letters& run) {
    ReportFrame& f = run.frame;
    f.Write(
        "(1X,'                  PAR OR   TRADE   SETTLE ',' EXECUTION',1X,'TOTAL',3X,'ACCRUED',4X,'SEC',7X,"
        "'NET')");
    f.Write(
        "(1X,'SECURITY DESC     SHARES   DATE     DATE ','    PRICE   COMM.   INTEREST   FEE      AMOUNT ',"
        "1X)");
    f.Write(
        "(1X,'-------------     ------   ----     ----  ','   -----   -----   --------   ---      ------ "
        "')");
    // The record the layout's closing slash ends: a blank line.
    f.Blank();
    run.lines += 3;
}

// The gross of a trade: price x quantity for shares and units, price x 100
// x quantity for type "R", and price as a percentage of par otherwise.
double NetAmount(const records::TransactionRecord& t, char type) {
    const double price = t.price;
    double gross = 0;
    if (std::string_view("9CPNHJLSTZ").find(type) != std::string_view::npos)
        gross = price * t.quantity;
    else if (type == 'R')
        gross = price * 100 * t.quantity;
    else
        gross = price / 100 * t.quantity;
    const std::string code = records::Fixed(t.code, 4);
    if (code == "B   ") return gross + t.commission + t.bond_interest;
    if (code == "S   ") return gross - t.SecFee() - t.commission + t.bond_interest;
    return gross;
}

void TradeLines(Letters& run, const Account& account, const records::TransactionRecord& t,
                const records::SecurityRecord& security, const std::string& section) {
    ReportFrame& f = run.frame;
    if (run.lines >= run.firm.page_length) {
        ++run.page;
        f.Blank();
        f.Blank();
        // The whole page number, however many digits it has.
        const std::string digits = std::to_string(run.page);
        f.Write("(1X,2A4,63X,'PAGE ',I" + std::to_string(digits.size()) + ")",
                Items().Text(run.program_date, 4, 2).Int(run.page));
        f.Write("(1X,'REFERENCE: ',8A4)", Items().Text(account.reference, 4, 8));
        f.Blank();
        f.Blank();
        run.lines = 9;
        SectionHeading(run, section);
    }
    f.Write("(1X,8A4)", Items().Text(security.description1, 4, 8));
    if (!records::IsBlank(records::Fixed(security.description2, 8)))
        f.Write("(1X,8A4)", Items().Text(security.description2, 4, 8));

    // The quantity itself is rounded to whole shares.
    double shares = t.quantity;
    records::Drnd0(shares);
    const std::string shares_text = NumberColumn(shares, "(F13.0)", 12, false, 12);
    double price = 0;
    records::Read(records::Write("(F12.4)", {static_cast<double>(t.price)}), "(F12.4)", {&price});
    const char type = security.type.empty() ? ' ' : security.type[0];
    f.Write("(1X,3A4,A12,1X,2A4,1X,2A4,F9.4,A8,2X,A8,A6,2X,A12)",
            Items()
                .Text(security.cusip, 4, 3)
                .Text(shares_text, 12, 1)
                .Text(run.trade_date, 4, 2)
                .Text(run.settlement_date, 4, 2)
                .Number(price)
                .Text(NumberColumn(t.commission, "(F8.2)", 8, false, 8), 8, 1)
                .Text(NumberColumn(t.bond_interest, "(F8.2)", 8, false, 8), 8, 1)
                .Text(records::Write("(F6.2)", {t.SecFee()}), 6, 1)
                .Text(NumberColumn(NetAmount(t, type), "(F12.2)", 12, false, 12), 12, 1));
    f.Blank();
    run.lines += 3;
}

void CloseLetter(Letters& run) {
    ReportFrame& f = run.frame;
    for (int i = 0; i < run.firm.page_length - run.lines - 10; ++i) f.Blank();
    f.Write("(1X,'SINCERELY,')");
    f.Blank();
    std::string name = run.firm.firm_name;
    const std::size_t start = name.find_first_not_of(' ');
    name = start == std::string::npos ? std::string() : name.substr(start);
    f.Write("(1X,50A1)", Items().Text(name, 1, 50));
    f.Blank();
    f.Blank();
    f.Blank();
    f.Write("(1X,32('_'))");
    f.Write("(1X,8A4)", Items().Text(run.letterhead[5], 4, 8));
    f.Blank();
    f.Blank();
}

// The letters of one account: one per broker, in the order in which the
// brokers first occur in its transaction file, each broker's trades in
// file order.
long LettersOfAccount(Letters& run, const Account& account, float trade_number) {
    records::DirectFile file(records::Paknam(account.id, "TR", ".REC"), records::kAccountRecordLength,
                             /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return 0;
    const int last = records::TransactionFileHeader::Decode(rec).last_record;
    std::vector<Trade> trades;
    for (int n = 2; n <= last; ++n) {
        if (!file.Read(n, rec)) continue;
        const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        if (t.date_number != trade_number || !IsTradeCode(t.code)) continue;
        trades.push_back({t.broker, n, true});
    }
    if (trades.empty()) return 0;

    std::array<std::string, 5> custodian;
    custodian.fill(std::string(32, ' '));
    const long custodian_first = Fndcus(account.custodian);
    if (custodian_first > 0) {
        PartyEntry entry;
        ReadPartyEntry(Party::kCustodian, custodian_first, entry);
        for (std::size_t i = 0; i < 5; ++i) custodian[i] = entry.lines[i];
    }

    records::DirectFile securities(records::kSecurityRecords, records::kSecurityRecordLength,
                                   /*create=*/false);
    for (std::size_t start = 0; start < trades.size(); ++start) {
        if (!trades[start].pending) continue;
        const std::string broker = trades[start].broker;
        std::string previous_code;
        bool open = false;
        for (Trade& trade : trades) {
            if (!trade.pending || trade.broker != broker) continue;
            trade.pending = false;
            if (!file.Read(trade.record, rec)) continue;
            const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
            records::Record srec;
            records::SecurityRecord security;
            if (securities.Read(t.security_record, srec)) security = records::SecurityRecord::Decode(srec);
            const std::string code = records::Fixed(t.code, 4);
            if (!open) {
                OpenLetter(run, account, custodian, LookUpBroker(t.broker, account.broker));
                SectionHeading(run, code);
                ColumnHeadings(run);
                open = true;
            } else if (code != previous_code) {
                SectionHeading(run, code);
            }
            previous_code = code;
            TradeLines(run, account, t, security, code);
        }
        if (open) CloseLetter(run);
    }
    return static_cast<long>(trades.size());
}

Account ReadAccount(const std::string& id, long first_record) {
    Account account;
    account.id = id;
    if (first_record <= 0) return account;
    records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    if (accounts.Read(first_record, rec)) account.name_line = rec.Text(0, 32);
    if (accounts.Read(first_record + 2, rec)) {
        account.reference = rec.Text(32, 32);
        account.custodian = records::Fixed(rec.Text(64, 6), 8);
        account.broker = records::Fixed(rec.Text(72, 6), 8);
    }
    return account;
}

}  // namespace

void Bnkltr(std::string_view selection, std::string_view account, std::string_view manager,
            std::string& trade_date, std::string& settlement_date, std::string_view output_name) {
    records::Gcn();
    const records::FirmHeading firm = records::FirmHeadingBlock();
    const std::string program_date = records::ProgramDateText();
    const records::LetterheadLines letterhead = records::Letrhd();
    int16_t mode = 1, error = 0;
    float trade_number = 0;
    trade_date = records::Fixed(trade_date, 8);
    records::Ckdate(trade_date, mode, error, trade_number, 0, 1991231);
    settlement_date = SettlementDate(trade_number);

    const bool all = records::Fixed(selection, 4) == "A   ";
    const std::string wanted_manager = records::Fixed(manager, 4);

    ReportFrame frame(output_name, /*copy=*/true);
    Letters run{frame, firm, letterhead, program_date, trade_date, settlement_date};
    long kept = 0;
    if (all) {
        const AccountWalk walk = WalkAccounts();
        records::DirectFile accounts(records::kAccountRecords, records::kAccountRecordLength,
                                     /*create=*/false);
        records::Record rec;
        for (const AccountEntry& e : walk.accounts) {
            if (!accounts.Read(e.first_record + 1, rec)) continue;
            if (!ManagerMatches(wanted_manager, rec.Text(16, 4))) continue;
            kept += LettersOfAccount(run, ReadAccount(e.id, e.first_record), trade_number);
        }
    } else {
        // An account the index lacks still has its transactions read; its
        // account data stays blank.
        const std::string id = records::Fixed(account, 8);
        const AccountPlace place = Gtacnm(id);
        kept += LettersOfAccount(run, ReadAccount(id, place.position > 0 ? place.first_record() : 0),
                                 trade_number);
    }
    if (kept == 0) frame.Write("(1X,'No trades to be reported for this date.')");
}

}  // namespace reports
