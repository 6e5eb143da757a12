// The composite transaction ledger: account selection, collection, sort
// and printing.

#include "reports/ledgers/composite_ledger.h"

#include <map>
#include <memory>
#include <optional>

#include "records/account_lists.h"
#include "records/amounts.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr double kNoUnits = -99999.99;

std::string TransactionFile(std::string_view account) {
    return records::TrimRight(records::Paknam(account, "TR  ", ".REC"));
}

// The accounts of the run, as ACCOUNT.IDX entries, in list or index order.
std::vector<int> SelectAccounts(std::string_view kind, std::string_view manager, std::string_view list_file) {
    std::vector<int> entries;
    if (records::Fixed(kind, 4) == "S   ") {
        std::vector<std::string> ids;
        int count = 0;
        records::Rdaclst(ids, count, records::TrimRight(list_file));
        // An identifier that is not in the index is passed over.
        for (int k = 0; k < count; ++k) {
            const AccountPlace place = Gtacnm(ids[static_cast<std::size_t>(k)]);
            if (place.position > 0 && !IsUnusedKey(ids[static_cast<std::size_t>(k)]))
                entries.push_back(place.entry());
        }
        return entries;
    }
    const AccountWalk walk = WalkAccounts();
    const records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
    records::Record rec;
    for (const AccountEntry& account : walk.accounts) {
        if (!accounts.Read(account.first_record + 1, rec)) continue;
        if (records::Match(rec.Widened(128).Text(16, 4), records::Fixed(manager, 4), 4) == 0)
            entries.push_back(account.entry);
    }
    return entries;
}

std::vector<CompositeEntry> Collect(CompositeRun& run, float start, float end) {
    std::vector<CompositeEntry> collected;
    std::unique_ptr<records::DirectFile> securities;
    if (run.filter.has_security_type())
        securities = std::make_unique<records::DirectFile>(records::kSecurityRecords, 128, /*create=*/false);
    records::Record rec;
    for (std::size_t slot = 0; slot < run.entries.size(); ++slot) {
        const records::DirectFile transactions(TransactionFile(Mcmidx(run.entries[slot])), 128,
                                               /*create=*/false);
        if (!transactions.Read(1, rec)) continue;
        const int16_t last = records::TransactionFileHeader::Decode(rec.Widened(128)).last_record;
        for (int n = 2; n <= last; ++n) {
            if (!transactions.Read(n, rec)) break;
            const records::TransactionRecord t = records::TransactionRecord::Decode(rec.Widened(128));
            if (std::string_view(t.symbol).substr(0, 4) <= std::string_view("    ")) continue;
            if (!run.filter.PassesCodes(t) || !run.filter.PassesTransactionType(t)) continue;
            if (run.filter.has_security_type()) {
                char type = ' ';
                records::Record security;
                if (t.security_record < 2) continue;
                if (securities->Read(t.security_record, security))
                    type = SecurityTypeWord(security.Widened(128))[0];
                if (type != run.filter.security_type[0]) continue;
            }
            if (t.date_number < start || t.date_number > end) continue;
            collected.push_back({t.date_number, n, static_cast<int>(slot), run.transactions.size()});
            run.transactions.push_back(t);
        }
    }
    return collected;
}

// The printing of the list: open files and running totals.
class CompositePrinter {
public:
    CompositePrinter(ReportFrame& frame, const CompositeRun& run)
        : frame_(frame),
          run_(run),
          securities_(records::kSecurityRecords, 128, /*create=*/false),
          accounts_(records::kAccountRecords, 128, /*create=*/false),
          ids_(run.entries.size()),
          follow_(run.entries.size()) {
        // A type whose title cannot be read shows a blank title.
        type_title_ = records::Fixed(run_.filter.has_security_type() ? "" : " ALL SECURITY TYPES", 28);
        int16_t status = 0;
        if (run_.filter.has_security_type())
            records::Gtitl2(run_.filter.security_type, type_title_, 0, status);
        type_title_ = records::Fixed(type_title_, 28);
    }

    void Heading() { Mcmhdr(frame_, run_, type_title_, page_, lines_, length_); }

    // The lines of one collected transaction; false when its record is not
    // among the collected ones, which ends the list.
    bool Transaction(const CompositeEntry& entry) {
        const std::size_t slot = static_cast<std::size_t>(entry.account);
        if (!ids_[slot]) ids_[slot] = Mcmidx(run_.entries[slot]);
        if (entry.item >= run_.transactions.size()) return false;
        records::TransactionRecord t = run_.transactions[entry.item];
        const std::string code = records::Fixed(t.code, 4);
        const bool own_line = !run_.filter.has_codes() || run_.filter.CodeChosen(code);
        if (own_line && !Line(slot, entry.record, t, code, t.amount)) return true;
        if (t.bond_interest >= 0.01) {
            if (own_line && (code == "SI  " || code == "SO  ")) t.type = "N   ";
            std::string interest_code = code;
            if (code == "SI  " || code == "B   ") interest_code = "IP  ";
            if (code == "SO  " || code == "S   ") interest_code = "IS  ";
            t.quantity = kNoUnits;
            t.lot_cost = kNoUnits;
            Line(slot, entry.record, t, interest_code, t.bond_interest);
        }
        return true;
    }

    void NoTransactions() {
        frame_.Blank();
        frame_.Write("(10X,'(NO TRANSACTIONS REPORTED.)')");
        frame_.Blank();
    }

    void Totals() {
        std::string end = run_.end_date;
        const std::string end_text = records::H2000(end);
        frame_.Blank();
        frame_.Write(
            "(1X,3A4,10X,'NET AMOUNT     ',23X,A16,A16)",
            Items().Text(end_text, 4, 3).Text(Units(net_units_), 16, 1).Text(Amount16(net_amount_), 16, 1));
        frame_.Blank();
        frame_.Write("(23X,'NET PURCHASES  ',23X,A16,A16)",
                     Items().Text(Units(purchase_units_), 16, 1).Text(Amount16(purchase_amount_), 16, 1));
        frame_.Write("(23X,'NET SALES      ',23X,A16,A16)",
                     Items().Text(Units(sale_units_), 16, 1).Text(Amount16(sale_amount_), 16, 1));
    }

private:
    static std::string Units(double value) { return NumberText(value, "(F15.3,' ')", 15, true); }

    // One line (and its follow-up lines) of the transaction under the code
    // with the amount; false when its security record cannot be read
    // (the transaction is dropped).
    bool Line(std::size_t slot, int record, const records::TransactionRecord& t, const std::string& code,
              double amount) {
        const LedgerCode entry = LedgerCodeTable(code, run_.capital_distribution);
        records::Record security;
        std::string column;
        std::string second(32, ' ');
        if (t.security_record >= 2) {
            if (!securities_.Read(t.security_record, security)) return false;
            security = security.Widened(128);
            column = security.Text(12, 24);
            second = security.Text(44, 32);
            records::Ckdesc(second, run_.options_word, security.R4(96), security.Text(88, 8));
        } else {
            column = NoteText(t) + "    ";
        }
        records::Drnd2(amount);
        double units = t.quantity;
        records::Drndn(units);
        const bool has_units = units != kNoUnits;

        // An "N" line (the interest of a transfer) moves no cash unless the
        // list is cut down by codes or a security type.
        const std::string type = records::Fixed(t.type, 4);
        if (!(type == "N   " && !run_.filter.has_codes() && !run_.filter.has_security_type()))
            net_amount_ += entry.cash_sign * amount;
        if (has_units) net_units_ += entry.units_sign * units;
        if (code == "B   ") {
            purchase_units_ += has_units ? units : 0;
            purchase_amount_ += amount;
        }
        if (code == "S   ") {
            sale_units_ += has_units ? units : 0;
            sale_amount_ += amount;
        }

        const std::string units_text =
            has_units || code == "SP  " ? NumberText(units, "(F15.3,' ')", 15, false) : std::string(32, ' ');
        std::string amount_text(32, ' ');
        if (entry.cash_sign != 0)
            amount_text = NumberText(amount * entry.cash_sign, "(F15.2,' ')", 15, entry.cash_sign < 0);
        const bool transfer = code == "SI  " || code == "SO  ";

        if (lines_ >= length_ - 9) Heading();
        frame_.Write("(1X,2A4,3X,2A4,2X,3A4,1X,6A4,2X,A16,A16,5X,A4,I5)", Items()
                                                                              .Text(*ids_[slot], 4, 2)
                                                                              .Text(t.trade_date, 4, 2)
                                                                              .Text(entry.description, 4, 3)
                                                                              .Text(column, 4, 6)
                                                                              .Text(units_text, 16, 1)
                                                                              .Text(amount_text, 16, 1)
                                                                              .Text(type, 4, 1)
                                                                              .Int(record - 1));
        ++lines_;
        const std::string custodian = Custodian(slot);
        if (!records::IsBlank(custodian) || !records::IsBlank(second)) {
            frame_.Write("(1X,8A4,8A4)", Items().Text(custodian, 4, 8).Text(second, 4, 8));
            ++lines_;
        }
        if (transfer) {
            const double value = amount * entry.value_factor;
            frame_.Write("(23X,'DATE-',2A4,' @',A16)",
                         Items().Text(t.lot_date, 4, 2).Text(Amount16(t.lot_cost), 16, 1));
            frame_.Write("(23X,'VALUE OF ASSET-',A16)", Items().Text(Amount16(value), 16, 1));
            frame_.Blank();
            lines_ = static_cast<int16_t>(lines_ + 3);
        }
        return true;
    }

    // The 32 characters after the fifth address line in the account's
    // third record.
    const std::string& Custodian(std::size_t slot) {
        if (!follow_[slot]) {
            records::Record rec;
            const long third = 8L * run_.entries[slot] - 5;
            follow_[slot] = accounts_.Read(third, rec) ? rec.Widened(128).Text(32, 32) : std::string(32, ' ');
        }
        return *follow_[slot];
    }

    ReportFrame& frame_;
    const CompositeRun& run_;
    records::DirectFile securities_;
    records::DirectFile accounts_;
    std::vector<std::optional<std::string>> ids_;
    std::vector<std::optional<std::string>> follow_;
    std::string type_title_;
    int16_t page_ = 1, lines_ = 0, length_ = 0;
    double net_amount_ = 0, net_units_ = 0;
    double purchase_units_ = 0, purchase_amount_ = 0, sale_units_ = 0, sale_amount_ = 0;
};

}  // namespace

std::string Mcmidx(int entry) {
    records::Record rec;
    const records::DirectFile index(records::kAccountIndex, 128, /*create=*/false);
    if (entry < 1 || !index.Read((entry - 1) / 16 + 2, rec)) return std::string(8, ' ');
    return rec.Widened(128).Text(static_cast<std::size_t>(8 * ((entry - 1) % 16)), 8);
}

void Mcmsrt(std::vector<CompositeEntry>& entries) {
    const long n = static_cast<long>(entries.size());
    for (long gap = n / 2; gap >= 1; gap /= 2) {
        for (long i = gap; i < n; ++i) {
            for (long j = i - gap; j >= 0 && entries[static_cast<std::size_t>(j + gap)].key <
                                                 entries[static_cast<std::size_t>(j)].key;
                 j -= gap)
                std::swap(entries[static_cast<std::size_t>(j)], entries[static_cast<std::size_t>(j + gap)]);
        }
    }
}

void Mcmhdr(ReportFrame& frame, const CompositeRun& run, std::string_view type_title, int16_t& page,
            int16_t& lines, int16_t& length) {
    std::string start = run.start_date;
    std::string end = run.end_date;
    const std::string start_text = records::H2000(start);
    const std::string end_text = records::H2000(end);
    records::Pghead(page, lines, length);
    frame.Write("(54X,'COMBINED TRANSACTION LEDGER')");
    frame.Blank();
    frame.Write("(55X,3A4,' - ',3A4)", Items().Text(start_text, 4, 3).Text(end_text, 4, 3));
    frame.Blank();
    frame.Write("(24X,8A4)", Items().Text(run.description, 4, 8));
    frame.Blank();
    if (!run.filter.unfiltered()) {
        const std::string type_text =
            run.filter.has_transaction_type() ? run.filter.transaction_type : "ALL ";
        frame.Write("(6X,'TRANSACTION CODES:',4A4,3X,7A4,2X,A18,A4)", Items()
                                                                          .Text(run.filter.codes_text, 4, 4)
                                                                          .Text(type_title, 4, 7)
                                                                          .Text("TRANSACTION TYPE: ", 18, 1)
                                                                          .Text(type_text, 4, 1));
        frame.Blank();
    }
    frame.Blank();
    frame.Write("(1X,'ACCOUNT',4X,'TRANSACTION',15X,'TRANSACTION',37X,' NET  ',5X,'TRANSACTION')");
    frame.Write(
        "(3X,'ID',10X,'DATE',5X,'TRANSACTION',3X,'DESCRIPTION',19X,'QUANTITY',10X,'AMOUNT',5X,'TYPE    "
        "NO.')");
    frame.Blank();
    frame.Blank();
    lines = static_cast<int16_t>(lines + 9);
}

void Mcmprt(ReportFrame& frame, const CompositeRun& run, const std::vector<CompositeEntry>& entries) {
    CompositePrinter printer(frame, run);
    printer.Heading();
    for (const CompositeEntry& entry : entries)
        if (!printer.Transaction(entry)) break;
    if (entries.empty()) printer.NoTransactions();
    printer.Totals();
}

void Mcmtrn(std::string_view kind, std::string_view manager, std::string_view start_date,
            std::string_view end_date, std::string_view security_type, std::string_view codes,
            std::string_view transaction_type, std::string_view list_file, int16_t /*list_length*/,
            std::string_view output_name, int16_t /*output_length*/, std::string_view description) {
    const records::Options options = records::Rdopts();
    const std::string type_codes = records::TypeCodeList();
    CompositeRun run;
    run.entries = SelectAccounts(kind, manager, list_file);
    run.filter = MakeLedgerFilter(security_type, codes, transaction_type, type_codes);
    run.capital_distribution = CapitalDistribution(options);
    run.options_word.assign(options.begin(), options.begin() + 4);
    run.description = records::Fixed(description, 32);
    run.start_date = records::Fixed(start_date, 8);
    run.end_date = records::Fixed(end_date, 8);
    const float start = CheckedDate(run.start_date, 0);
    const float end = CheckedDate(run.end_date, start);

    ReportFrame frame(output_name, /*copy=*/true);
    std::vector<CompositeEntry> collected = Collect(run, start, end);
    Mcmsrt(collected);
    Mcmprt(frame, run, collected);
}

}  // namespace reports
