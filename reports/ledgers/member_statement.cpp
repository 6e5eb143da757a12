// The member statement: the run, the statement of one account, units as
// of a date and the date in words.

#include "reports/ledgers/member_statement.h"

#include <array>
#include <vector>

#include "engine/replay.h"
#include "records/codes.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/lookups.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "records/sorts.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_items.h"
#include "reports/ledgers/ledger_code_table.h"
#include "reports/ledgers/transaction_ledger.h"

namespace reports {

namespace {

constexpr double kNoUnits = -99999.99;
constexpr int kRebuildSuppressed = 2;
// A page holds the lines up to this count; the heading counts 4.
constexpr int kPageLines = 35;

struct StatementRun {
    LedgerFilter filter;
    bool capital_distribution = false;
    std::string start_date;
    std::string end_date;
    float start = 0;
    float end = 0;
};

// One account: its address block and its transactions in date order.
struct MemberAccount {
    std::string id;
    std::array<std::string, 5> address;
    std::string caption = std::string(20, ' ');
    std::vector<records::TransactionRecord> transactions;
    std::vector<int> records;
    double opening = 0;
    double closing = 0;
    int16_t rebuild_status = 0;
};

void ReadAddress(MemberAccount& account, long first_record) {
    for (std::string& line : account.address) line = std::string(32, ' ');
    if (first_record < 1) return;
    const records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
    records::Record rec;
    if (accounts.Read(first_record, rec)) {
        const records::Record first = rec.Widened(128);
        for (std::size_t k = 0; k < 4; ++k) account.address[k] = first.Text(32 * k, 32);
    }
    if (accounts.Read(first_record + 2, rec)) {
        const records::Record third = rec.Widened(128);
        account.address[4] = third.Text(0, 32);
        account.caption = third.Text(32, 20);
    }
}

// The account's transactions with a security, sorted by trade date; a
// record that cannot be read ends the list.
void ReadTransactions(MemberAccount& account) {
    const records::DirectFile file(records::TrimRight(records::Paknam(account.id, "TR  ", ".REC")), 128,
                                   /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return;
    const int16_t last = records::TransactionFileHeader::Decode(rec.Widened(128)).last_record;
    std::vector<records::TransactionRecord> read;
    std::vector<double> keys;
    std::vector<int16_t> tags;
    for (int n = 2; n <= last; ++n) {
        if (!file.Read(n, rec)) break;
        records::TransactionRecord t = records::TransactionRecord::Decode(rec.Widened(128));
        if (std::string_view(t.symbol).substr(0, 4) <= std::string_view("    ")) continue;
        keys.push_back(t.date_number);
        tags.push_back(static_cast<int16_t>(read.size()));
        read.push_back(std::move(t));
        account.records.push_back(n);
    }
    records::Sheldb(static_cast<int>(keys.size()), keys, tags);
    std::vector<int> numbers;
    for (const int16_t tag : tags) {
        account.transactions.push_back(read[static_cast<std::size_t>(tag)]);
        numbers.push_back(account.records[static_cast<std::size_t>(tag)]);
    }
    account.records = std::move(numbers);
}

bool InPeriod(const StatementRun& run, const records::TransactionRecord& t) {
    return t.date_number >= run.start && t.date_number <= run.end;
}

bool IsCode(const records::TransactionRecord& t, std::string_view code) {
    return records::Fixed(t.code, 4) == records::Fixed(code, 4);
}

// The statement of one account.
class Statement {
public:
    Statement(ReportFrame& frame, const StatementRun& run, MemberAccount& account)
        : frame_(frame), run_(run), account_(account) {}

    // False when the account gets no statement.
    bool Run() {
        const bool header = !run_.filter.has_security_type() && !run_.filter.has_transaction_type();
        if (header && !HeaderBlock()) return false;
        if (!account_.transactions.empty()) DetailPass();
        return true;
    }

private:
    // The header block; false when the account has no units to show, and
    // so no statement.
    bool HeaderBlock() {
        double bought = 0, sold = 0, withdrawn = 0;
        for (const records::TransactionRecord& t : account_.transactions) {
            if (!InPeriod(run_, t) || t.quantity == kNoUnits) continue;
            if (IsCode(t, "B") || IsCode(t, "SI")) bought += t.quantity;
            if (IsCode(t, "S")) sold += t.quantity;
            if (IsCode(t, "SO")) withdrawn += t.quantity;
        }
        if (account_.opening + account_.closing + bought + sold + withdrawn == 0) return false;
        std::string start_words, end_words;
        int16_t length = 0;
        Datwrd(run_.start_date, start_words, length);
        Datwrd(run_.end_date, end_words, length);

        Mbrhdr(account_.rebuild_status, page_, lines_, length_);
        for (int k = 0; k < 4; ++k) frame_.Blank();
        for (const std::string& line : account_.address) frame_.Write("(8X,8A4)", Items().Text(line, 4, 8));
        const auto figure = [&](double value) {
            frame_.Write("(113X,A10)", Items().Text(NumberText(value, "(F10.3,' ')", 10, true), 10, 1));
        };
        figure(account_.opening);
        frame_.Blank();
        figure(bought);
        figure(withdrawn);
        figure(sold);
        frame_.Blank();
        figure(account_.closing);
        frame_.Write("(32X,5A4)", Items().Text(account_.caption, 4, 5));
        frame_.Blank();
        frame_.Write("(39X,18A1,' THROUGH ',18A1)", Items().Text(start_words, 1, 18).Text(end_words, 1, 18));
        for (int k = 0; k < 4; ++k) frame_.Blank();
        return true;
    }

    void DetailPass() {
        const std::string lot_file = records::TrimRight(records::Paknam(account_.id, "HL  ", ".TMP"));
        records::Purge(lot_file);
        records::Open(engine::kLotUnit, lot_file);
        records::UnitGuard guard(engine::kLotUnit);
        engine::LotList lots(engine::kLotUnit);
        const records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
        lines_ = 0;
        for (std::size_t k = 0; k < account_.transactions.size(); ++k) {
            const records::TransactionRecord& t = account_.transactions[k];
            Mbrpst(frame_, lots, account_.id, t, account_.records[k]);
            if (!Printed(t, securities)) continue;
            double balance = 0, cost = 0;
            Mbrbal(lots, t.symbol, balance, cost);
            if (lines_ > kPageLines) Mbrhdr(account_.rebuild_status, page_, lines_, length_);
            if (account_.rebuild_status != kRebuildSuppressed) Line(t, balance);
            ++lines_;
        }
    }

    bool Printed(const records::TransactionRecord& t, const records::DirectFile& securities) const {
        if (!InPeriod(run_, t)) return false;
        if (!run_.filter.PassesCodes(t) || !run_.filter.PassesTransactionType(t)) return false;
        if (run_.filter.has_security_type()) {
            if (t.security_record < 2) return false;
            records::Record security;
            if (!securities.Read(t.security_record, security)) return false;
            if (SecurityTypeWord(security.Widened(128))[0] != run_.filter.security_type[0]) return false;
        }
        return true;
    }

    void Line(const records::TransactionRecord& t, double balance) {
        const std::string blank(32, ' ');
        const std::string date = records::Fixed(t.trade_date, 8).substr(0, 5);
        const LedgerCode entry = LedgerCodeTable(t.code, run_.capital_distribution);
        const bool si = IsCode(t, "SI");
        const bool s = IsCode(t, "S");
        const bool so = IsCode(t, "SO");

        double price = t.price <= -999.99f ? 1.0 : t.price;
        if (si && t.quantity != 0) price = t.lot_cost / t.quantity;
        double first = t.amount;
        records::Drnd2(first);
        std::string units = NumberText(t.quantity, "(F10.3,' ')", 10, false);
        std::string price_text = NumberText(price, "(F10.3,' ')", 10, false);
        std::string first_text = NumberText(first, "(F10.2,' ')", 10, false);
        std::string net_text = NumberText(t.lot_cost, "(F10.2,' ')", 10, false);
        std::string balance_text = blank;
        if (IsCode(t, "B") || s || si || so) balance_text = records::Write("(F8.3)", {balance});
        double rounded = t.quantity;
        records::Drnd2(rounded);
        if (rounded == kNoUnits) units = price_text = net_text = blank;
        if (s || so) net_text = blank;
        std::string sale_price = blank;
        if (s) sale_price = price_text;
        if (s || so) price_text = blank;
        std::string si_amount = blank;
        if (si) {
            si_amount = first_text;
            first_text = net_text;
        }
        std::string type_r_price = blank;
        if (records::Fixed(t.type, 4) == "R   ") {
            type_r_price = price_text;
            price_text = blank;
        }
        if (IsCode(t, "B") || si)
            frame_.Write("(4X,5A1,6X,3A4,4X,A10,5X,A10,3X,A10,A10,3X,A10,22X,A8)",
                         Items()
                             .Text(date, 1, 5)
                             .Text(entry.description, 4, 3)
                             .Text(units, 10, 1)
                             .Text(price_text, 10, 1)
                             .Text(first_text, 10, 1)
                             .Text(si_amount, 10, 1)
                             .Text(type_r_price, 10, 1)
                             .Text(balance_text, 8, 1));
        else
            frame_.Write("(4X,5A1,6X,3A4,4X,A10,5X,A10,3X,A10,A10,15X,A10,10X,A8)",
                         Items()
                             .Text(date, 1, 5)
                             .Text(entry.description, 4, 3)
                             .Text(units, 10, 1)
                             .Text(price_text, 10, 1)
                             .Text(net_text, 10, 1)
                             .Text(first_text, 10, 1)
                             .Text(sale_price, 10, 1)
                             .Text(balance_text, 8, 1));
    }

    ReportFrame& frame_;
    const StatementRun& run_;
    MemberAccount& account_;
    int16_t page_ = 1, lines_ = 0, length_ = 0;
};

bool Mbrstm(ReportFrame& frame, const StatementRun& run, MemberAccount& account) {
    return Statement(frame, run, account).Run();
}

// A run in which no account has a statement says so, rather than leaving
// an empty report.
void NoStatements(ReportFrame& frame) {
    frame.Blank();
    frame.Write("(10X,'(NO STATEMENTS REPORTED.)')");
}

bool StatementOfAccount(ReportFrame& frame, const StatementRun& run, const std::string& id,
                        long first_record) {
    MemberAccount account;
    account.id = id;
    ReadAddress(account, first_record);
    if (!run.filter.has_security_type() && !run.filter.has_transaction_type()) {
        int16_t status = 0;
        account.opening = Mbrunt(id, run.start_date, status);
        account.closing = Mbrunt(id, run.end_date, account.rebuild_status);
    }
    ReadTransactions(account);
    return Mbrstm(frame, run, account);
}

}  // namespace

double Mbrunt(std::string_view account, std::string_view date, int16_t& status) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(records::Fixed(date, 8), month, day, year);
    year = static_cast<int16_t>(records::WindowYear(year));
    const float as_of = static_cast<float>(year * 10000 + month * 100 + day);
    engine::Creatt(records::Fixed(account, 8), records::Fixed(date, 8), as_of, 0, 0, status);

    const records::DirectFile securities(records::kSecurityRecords, 128, /*create=*/false);
    LotIterator lots(records::TrimRight(engine::HoldingsWorkName()));
    double units = 0;
    int16_t record = 0;
    records::HoldingRecord lot;
    records::Record security;
    while (lots.Next(record, lot)) {
        if (lot.holding_key <= 0) continue;
        if (!securities.Read(lot.security_record, security)) continue;
        if (SecurityTypeWord(security.Widened(128))[0] != '1') units += lot.quantity;
    }
    return units;
}

void Mbrhdr(int16_t rebuild_status, int16_t& page, int16_t& lines, int16_t& length) {
    if (rebuild_status != kRebuildSuppressed) records::Hdr80(page, lines, length);
}

void Mbrtyp(std::string_view code_list, std::string_view firm_code, std::string& type_out,
            std::string_view type_in, std::string& firm_code_out, int16_t mode) {
    records::Cvtypc(code_list, firm_code, type_out, type_in, firm_code_out, mode);
}

bool Mbrnxt(int& position, int& count, std::string& id, std::string& name, std::string& manager) {
    return Nxtclt(position, count, id, name, manager);
}

void Mbrpst(ReportFrame& frame, engine::LotList& lots, std::string_view account,
            records::TransactionRecord transaction, int record) {
    int16_t cls = 0, sign = 0, transfer = 0, not_found = 0;
    records::Code(records::Fixed(transaction.code, 4), cls, sign, transfer, 1, not_found);
    if (not_found != 0 || records::Fixed(transaction.type, 4) == "N   ") return;
    const std::string id = records::Fixed(account, 8);
    const int16_t condition =
        engine::Lotupd(lots, id, std::string(8, ' '), 0, cls, sign, transfer, 0, transaction);
    if (condition != engine::kNoShortSale)
        frame.Write(
            "('Warning: short sale condition',I2,' found in ','account: ',A4,A2,', transaction no. ',I4)",
            Items().Int(condition).Text(id, 4, 1).Text(id.substr(4), 2, 1).Int(record - 1));
}

void Mbrbal(const engine::LotList& lots, std::string_view security, double& units, double& amount) {
    // Every lot of the security counts: the statement shows the units held
    // after the trade, however many lots hold them.
    const std::string symbol = records::Fixed(security, 12);
    units = 0;
    amount = 0;
    lots.ForEachLot([&](const records::HoldingRecord& lot) {
        if (lot.holding_key != 0 && lot.symbol == symbol) {
            units += lot.quantity;
            amount += lot.cost;
        }
    });
}

void Datwrd(std::string_view date, std::string& text, int16_t& length) {
    static const std::array<const char*, 12> kMonths = {
        "JANUARY   ", "FEBRUARY  ", "MARCH     ", "APRIL     ", "MAY       ", "JUNE      ",
        "JULY      ", "AUGUST    ", "SEPTEMBER ", "OCTOBER   ", "NOVEMBER  ", "DECEMBER  "};
    text = std::string(18, ' ');
    length = 0;
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(records::Fixed(date, 8), month, day, year) || month < 1 || month > 12) return;
    const std::string name = kMonths[static_cast<std::size_t>(month - 1)];
    std::string words = name.substr(0, name.find(' ') + 1);
    const std::string day_text = records::Write("(I2)", {static_cast<long long>(day)});
    if (day_text[0] != ' ') words += day_text[0];
    words += day_text[1];
    words += ", ";
    words += records::Write("(I4)", {static_cast<long long>(records::FourDigitYear(year))});
    length = static_cast<int16_t>(std::min<std::size_t>(words.size(), 18));
    text = records::Fixed(words, 18);
}

void Member(std::string_view kind, std::string_view manager, std::string_view account,
            std::string_view start_date, std::string_view end_date, std::string_view security_type,
            std::string_view codes, std::string_view transaction_type, std::string_view output_name,
            int16_t /*name_length*/) {
    const records::Options options = records::Rdopts();
    const std::string type_codes = records::TypeCodeList();
    StatementRun run;
    run.filter = MakeLedgerFilter(security_type, codes, transaction_type, type_codes);
    run.capital_distribution = CapitalDistribution(options);
    run.start_date = records::Fixed(start_date, 8);
    run.end_date = records::Fixed(end_date, 8);
    run.start = CheckedDate(run.start_date, 0);
    run.end = CheckedDate(run.end_date, run.start);

    ReportFrame frame(output_name, /*copy=*/true);
    if (records::Fixed(kind, 4) == "S   ") {
        const std::string id = records::Fixed(account, 8);
        const AccountPlace place = IsUnusedKey(id) ? AccountPlace{} : Gtacnm(id);
        if (!StatementOfAccount(frame, run, id, place.position > 0 ? place.first_record() : 0))
            NoStatements(frame);
        return;
    }
    int position = 0, count = 0;
    std::string id, name, code;
    if (!Mbrnxt(position, count, id, name, code)) {
        records::Record rec;
        if (!records::DirectFile(records::kAccountIndex, 128, /*create=*/false).Read(1, rec))
            frame.Stop(UnreadableLine(records::kAccountIndex, 1));
        else
            NoStatements(frame);
        return;
    }
    const std::string pattern = records::Fixed(manager, 4);
    bool any = false;
    while (position >= 1 && position <= count) {
        if (!IsUnusedKey(id) && ManagerMatches(pattern, code) &&
            StatementOfAccount(frame, run, id, 8L * position - 7))
            any = true;
        Mbrnxt(position, count, id, name, code);
    }
    if (!any) NoStatements(frame);
}

}  // namespace reports
