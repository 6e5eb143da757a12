// The transaction ledger's pages of one account.

#include "reports/ledgers/ledger_account_pages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "records/amounts.h"
#include "records/dates.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_types.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr double kNoQuantity = -99999.99;
constexpr float kNoPrice = -999.99f;

// The code's first four characters, blank padded, are the given code's.
bool IsCode(std::string_view code, std::string_view two) {
    for (std::size_t i = 0; i < 4; ++i) {
        const char a = i < code.size() ? code[i] : ' ';
        const char b = i < two.size() ? two[i] : ' ';
        if (a != b) return false;
    }
    return true;
}

// A line put together over blanks, field after field, as a layout of
// texts and skips writes it: each text cut to its field's width or blank
// padded.
class FieldCursor {
public:
    FieldCursor(std::string& line, std::size_t width) : line_(line) { line.assign(width, ' '); }
    FieldCursor& Skip(std::size_t n) {
        at_ += n;
        return *this;
    }
    FieldCursor& Text(std::string_view text, std::size_t width) {
        std::memcpy(line_.data() + at_, text.data(), std::min(text.size(), width));
        at_ += width;
        return *this;
    }

private:
    std::string& line_;
    std::size_t at_ = 0;
};

// The codes whose symbol column shows the note: income and expense items
// and the interest lines, which name their security in the note: DI, DE,
// II, IE, MI, ME, IP and IS (the first four characters, blank padded).
bool ShowsNote(std::string_view code) {
    auto at = [code](std::size_t i) { return i < code.size() ? code[i] : ' '; };
    if (at(2) != ' ' || at(3) != ' ') return false;
    const char second = at(1);
    switch (at(0)) {
        case 'D':
        case 'M':
            return second == 'I' || second == 'E';
        case 'I':
            return second == 'I' || second == 'E' || second == 'P' || second == 'S';
        default:
            return false;
    }
}

// One account's listing: the state the transactions share.
class AccountLedger {
public:
    AccountLedger(ReportFrame& frame, LedgerRun& run, std::string_view account, std::string_view name,
                  double& balance)
        : frame_(frame),
          run_(run),
          account_(account),
          name_(name),
          balance_(balance),
          securities_(records::kSecurityRecords, 128, /*create=*/false) {
        int16_t status = 0;
        // A type whose title cannot be read shows a blank title.
        type_title_ = records::Fixed(run_.filter.has_security_type() ? "" : " ALL SECURITY TYPES", 28);
        if (run_.filter.has_security_type())
            records::Gtitl2(run_.filter.security_type, type_title_, 0, status);
        type_title_ = records::Fixed(type_title_, 28);
        capital_ = CapitalDistribution(run_.options);
    }

    void Heading() { Ldghed(frame_, page_, run_, name_, type_title_); }

    void Opening() {
        if (!run_.filter.unfiltered()) return;
        records::Drnd2(balance_);
        frame_.Write("(2X,2A4,27X,'OPENING BALANCE',44X,A16)",
                     Items().Text(run_.start_date, 4, 2).Text(Amount16(balance_), 16, 1));
        frame_.Blank();
        page_.lines = static_cast<int16_t>(page_.lines + 2);
    }

    // One selected transaction: its line when listed, then its interest
    // line. False when the record cannot be read.
    bool Transaction(std::span<const unsigned char> transactions, int16_t record_number) {
        const std::size_t length = records::kAccountRecordLength;
        if (record_number < 1 || static_cast<std::size_t>(record_number) * length > transactions.size())
            return false;
        records::TransactionRecord& t = transaction_;
        records::TransactionRecord::DecodeFrom(
            transactions.data() + static_cast<std::size_t>(record_number - 1) * length, t);
        std::string& code = code_;
        code.assign(t.code, 0, 4);
        code.resize(4, ' ');
        const bool listed = !run_.filter.has_codes() || run_.filter.CodeChosen(code);
        if (listed && !Line(t, code, t.amount)) return true;
        if (t.bond_interest >= 0.01) {
            if (listed && (code == "SI  " || code == "SO  ")) t.type = "N   ";
            std::string interest_code = code;
            if (code == "SI  " || code == "B   ") interest_code = "IP  ";
            if (code == "SO  " || code == "S   ") interest_code = "IS  ";
            t.quantity = kNoQuantity;
            t.lot_cost = kNoQuantity;
            Line(t, interest_code, t.bond_interest);
        }
        return true;
    }

    void Closing(bool any) {
        if (!any) {
            frame_.Blank();
            frame_.Write("(10X,'(NO TRANSACTIONS REPORTED.)')");
            page_.lines = static_cast<int16_t>(page_.lines + 2);
        }
        const std::string text = Amount16(balance_);
        frame_.Blank();
        if (run_.filter.unfiltered())
            frame_.Write("(2X,2A4,27X,'CLOSING BALANCE',44X,A16)",
                         Items().Text(run_.end_date, 4, 2).Text(text, 16, 1));
        else
            frame_.Write("(2X,2A4,27X,'NET AMOUNT     ',44X,A16)",
                         Items().Text(run_.end_date, 4, 2).Text(text, 16, 1));
        frame_.Blank();
        page_.lines = static_cast<int16_t>(page_.lines + 3);
    }

private:
    // Lists one line of the transaction under the code with the amount;
    // false when its security record cannot be read (the transaction is
    // dropped: no line, no balance change, no interest line).
    bool Line(const records::TransactionRecord& t, const std::string& code, double amount) {
        records::Drnd2(amount);
        // The texts and the security record are kept from one line to the
        // next, so a line allocates little.
        std::string& second = second_;
        second.assign(32, ' ');
        records::Record& security = security_;
        if (t.security_record > 0) {
            if (!securities_.Read(t.security_record, security)) return false;
            if (security.size() != 128) security = security.Widened(128);
        } else {
            security = records::Record();
        }
        const LedgerCode entry = LedgerCodeTable(code, capital_);

        // The balance takes every amount but the "N" lines of an
        // unfiltered ledger (interest of transfers, which moved no cash).
        // A transaction type filter keeps only amounts of its own type: an
        // interest line of a transfer, made "N" here, comes out again, but
        // only when it went in.
        const std::string_view type = std::string_view(t.type).substr(0, 4);
        const bool counts = !(type == "N   " && !run_.filter.has_security_type() && !run_.filter.has_codes());
        if (counts) {
            balance_ += entry.cash_sign * amount;
            if (run_.filter.has_transaction_type() && run_.filter.transaction_type != type)
                balance_ -= entry.cash_sign * amount;
        }

        NoteTextInto(note_, t);
        const std::string& note = note_;
        std::string& column = column_;
        if (t.security_record <= 1) {
            column.assign(note).append("    ");
        } else {
            const char* bytes = reinterpret_cast<const char*>(security.data());
            column.assign(bytes + 12, 24);
            second.assign(bytes + 44, 32);
        }
        const bool transfer = code == "SI  " || code == "SO  ";
        const double transfer_value = transfer ? entry.quantity_sign * amount : 0;

        std::string& quantity = quantity_;
        std::string& price = price_;
        std::string& commission = commission_;
        quantity.assign(32, ' ');
        price.assign(32, ' ');
        commission.assign(32, ' ');
        if (t.security_record > 1) {
            double q = t.quantity;
            records::Drnd3(q);
            if (q != kNoQuantity || code == "SP  ") {
                NumberTextInto(quantity, q, "(F15.3,' ')", 15, false);
                if (t.price != kNoPrice) NumberTextInto(price, t.price, "(F10.4,' ')", 10, false);
                NumberTextInto(commission, t.commission, "(F9.2,' ')", 9, false);
            }
        }
        std::string& amount_text = amount_text_;
        amount_text.assign(32, ' ');
        double signed_amount = amount;
        if (entry.cash_sign != 0) {
            signed_amount = entry.cash_sign * amount;
            NumberTextInto(amount_text, signed_amount, "(F15.2,' ')", 15, entry.cash_sign < 0);
        }

        if (page_.lines >= page_.length - 9) Heading();
        // The line of "(2X,2A4,2X,3A4,1X,3A4,6A4,A16,A10,A9,A16,2X,A4)",
        // each text a field of its width, put together in a kept buffer.
        const std::string_view symbol = ShowsNote(code) ? std::string_view(note).substr(0, 12) : t.symbol;
        FieldCursor(line_, 118)
            .Skip(2)
            .Text(t.trade_date, 8)
            .Skip(2)
            .Text(entry.description, 12)
            .Skip(1)
            .Text(symbol, 12)
            .Text(column, 24)
            .Text(quantity, 16)
            .Text(price, 10)
            .Text(commission, 9)
            .Text(amount_text, 16)
            .Skip(2)
            .Text(type, 4);
        frame_.Line(line_);
        ++page_.lines;
        if (run_.export_file) Export(t.trade_date, code, signed_amount);

        if (t.security_record > 1) {
            // The options record's first word carries option 2, which lets
            // the coupon rate and maturity fill a blank second description.
            const char* bytes = reinterpret_cast<const char*>(security.data());
            records::Ckdesc(second, std::string_view(reinterpret_cast<const char*>(run_.options.data()), 4),
                            security.R4(96), std::string_view(bytes + 88, 8));
        }
        if (!records::IsBlank(second)) {
            // "(39X,8A4)"
            FieldCursor(line_, 71).Skip(39).Text(second, 32);
            frame_.Line(line_);
            ++page_.lines;
        }
        if (transfer) {
            std::string transfer_text(32, ' ');
            if (transfer_value != 0) transfer_text = Amount16(transfer_value);
            const std::string value = NumberText(t.lot_cost, "(F15.2,' ')", 15, false);
            frame_.Write("(23X,'DATE-',2A4,' @',A16)", Items().Text(t.lot_date, 4, 2).Text(value, 16, 1));
            frame_.Write("(23X,'VALUE OF ASSET-',A16)", Items().Text(transfer_text, 16, 1));
            frame_.Blank();
            page_.lines = static_cast<int16_t>(page_.lines + 3);
        }
        return true;
    }

    void Export(std::string_view trade_date, std::string_view code, double amount) {
        if (!custodian_read_) {
            custodian_read_ = true;
            const long first = records::Gtacct(account_);
            records::Record rec;
            records::DirectFile accounts(records::kAccountRecords, 128, /*create=*/false);
            if (first > 0 && accounts.Read(first + 2, rec)) custodian_ = rec.Text(32, 32);
        }
        run_.export_file->WriteLine(LedgerExportLine(custodian_, trade_date, code, amount));
    }

    ReportFrame& frame_;
    LedgerRun& run_;
    std::string account_;
    std::string name_;
    double& balance_;
    records::DirectFile securities_;
    std::string type_title_;
    bool capital_ = false;
    LedgerPage page_;
    bool custodian_read_ = false;
    std::string custodian_ = std::string(32, ' ');
    records::Record security_;
    records::TransactionRecord transaction_;
    std::string code_, note_, column_, second_, quantity_, price_, commission_, amount_text_, line_;
};

}  // namespace

void Ldghed(ReportFrame& frame, LedgerPage& page, LedgerRun& run, std::string_view name,
            std::string_view type_title) {
    // The heading's lines are the same on every page of the run but the
    // account's name and the type title: they are written once and kept.
    LedgerHeading& heading = run.heading;
    if (!heading.made) {
        heading.made = true;
        std::string start = run.start_date;
        std::string end = run.end_date;
        const std::string start_text = records::H2000(start);
        const std::string end_text = records::H2000(end);
        heading.dates =
            records::Write("(54X,3A4,' - ',3A4)", Items().Text(start_text, 4, 3).Text(end_text, 4, 3));
    }
    if (heading.name != name) {
        heading.name = name;
        heading.name_line = records::Write("(51X,8A4)", Items().Text(name, 4, 8));
    }
    if (!run.filter.unfiltered() && (!heading.filter_made || heading.type_title != type_title)) {
        heading.filter_made = true;
        heading.type_title = type_title;
        const std::string type_text =
            run.filter.has_transaction_type() ? run.filter.transaction_type : "ALL ";
        heading.filter = records::Write("(6X,'TRANSACTION CODES: ',4A4,3X,7A4,2X,A18,A4)",
                                        Items()
                                            .Text(run.filter.codes_text, 4, 4)
                                            .Text(type_title, 4, 7)
                                            .Text("TRANSACTION TYPE: ", 18, 1)
                                            .Text(type_text, 4, 1));
    }
    records::Pghead(page.page, page.lines, page.length);
    frame.Line(heading.title);
    frame.Line(heading.dates);
    frame.Blank();
    frame.Line(heading.name_line);
    frame.Blank();
    if (!run.filter.unfiltered()) frame.Line(heading.filter);
    frame.Line(heading.columns1);
    frame.Line(heading.columns2);
    frame.Blank();
    frame.Blank();
    page.lines = static_cast<int16_t>(page.lines + 9);
}

void Ldgact(ReportFrame& frame, LedgerRun& run, std::span<const unsigned char> transactions,
            std::string_view account, std::string_view name, const std::vector<int16_t>& selection,
            double& balance) {
    AccountLedger ledger(frame, run, account, name, balance);
    ledger.Heading();
    ledger.Opening();
    for (const int16_t record : selection)
        if (!ledger.Transaction(transactions, record)) break;
    ledger.Closing(!selection.empty());
}

std::string LedgerExportLine(std::string_view custodian_account, std::string_view trade_date,
                             std::string_view code, double amount) {
    std::string line(45, ' ');
    line.replace(0, 8, records::Fixed(custodian_account, 8));
    line[8] = ',';
    const std::string date = records::Fixed(trade_date, 8);
    std::string mmddyy = date.substr(0, 2) + date.substr(3, 2) + date.substr(6, 2);
    for (char& c : mmddyy)
        if (c == ' ') c = '0';
    line.replace(9, 6, mmddyy);
    line[15] = ',';
    if (IsCode(code, "FI")) line.replace(16, 3, "dep");
    if (IsCode(code, "FO")) line.replace(16, 3, "wdl");
    line[19] = ',';
    line.replace(20, 2, "ca");
    line[22] = ',';
    line.replace(23, 4, "cash");
    line[32] = ',';
    line.replace(33, 12, records::Write("(F12.2)", {std::fabs(amount)}));
    return line;
}

}  // namespace reports
