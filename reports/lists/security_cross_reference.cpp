// The security cross reference and its extract IECA.DAT.

#include "reports/lists/security_cross_reference.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "records/account_file.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/cross_reference_files.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/lookups.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_types.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {
namespace {

constexpr int kExtractUnit = 14;
const std::string kNotAvailable = "         N/A    ";

bool BlankText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string Amount(double value, bool brackets) {
    return NumberColumn(value, "(F15.2,' ')", 15, brackets, 16);
}

std::string Quantity(double value) {
    return NumberColumn(value, "(F15.4,' ')", 15, value < 0, 16);
}

std::string UnitCost(double value) {
    return NumberColumn(value, "(F8.2)", 8, false, 8);
}

// The sums of one side (long or short) of an account or of the run.
struct Side {
    int lots = 0;
    double quantity = 0, amount = 0, value = 0, gain = 0;
};

// The texts of one lot or total line.
struct Columns {
    std::string quantity, unit, cost, value, gain;
};

class CrossReference {
public:
    CrossReference(ReportFrame& frame, bool wide, std::string date, std::string manager, std::string symbol,
                   std::string description1, std::string description2)
        : frame_(frame),
          wide_(wide),
          date_(std::move(date)),
          manager_(std::move(manager)),
          symbol_(std::move(symbol)),
          description1_(std::move(description1)),
          description2_(std::move(description2)) {}

    void Heading() {
        records::Pghead(page_, shared_lines_, page_length_);
        frame_.Write("(55X,'Security Cross Reference')");
        frame_.Blank();
        std::string date = date_;
        const std::string date_text = records::H2000(date);
        frame_.Write("(2X,'DATE: ',3A4,34X,'MANAGER: ',A4,2X,'SECURITY: ',3A4,2X,8A4)",
                     Items()
                         .Text(date_text, 4, 3)
                         .Text(ManagerHeading(manager_), 4, 1)
                         .Text(symbol_, 4, 3)
                         .Text(description1_, 4, 8));
        lines_ = 8;
        if (!BlankText(description2_)) {
            frame_.Write("(53X,8A4)", Items().Text(description2_, 4, 8));
            lines_ = 9;
        }
        frame_.Blank();
        if (wide_) {
            frame_.Write(
                "(1X,'ACCOUNT',24X,'ACCOUNT',8X,'SHARES/FACE ',4X,'UNIT',9X,'TOTAL',10X,'MARKET',9X,"
                "'UNREALIZED',3X,'TRADE')");
            frame_.Write(
                "(2X,' ID ',4X,'ACCOUNT NAME',12X,'NO.',9X,'AMOUNT BOUGHT',4X,'COST ',8X,'COST',11X,"
                "'VALUE',10X,'GAIN(LOSS)',3X,'DATE')");
        } else {
            frame_.Write(
                "(1X,'ACCOUNT',34X,'SHARES/FACE ',5X,'UNIT',9X,'TOTAL',10X,'MARKET',9X,'UNREALIZED',4X,"
                "'TRADE')");
            frame_.Write(
                "(2X,' ID ',4X,'ACCOUNT NAME',19X,'AMOUNT BOUGHT',5X,'COST',9X,'COST',11X,'VALUE',10X,"
                "'GAIN(LOSS)',5X,'DATE')");
        }
    }

    void PageBreak() {
        if (lines_ >= page_length_) Heading();
    }

    void Count(int n) { lines_ = static_cast<int16_t>(lines_ + n); }

    void LotLine(const std::string& id, const std::string& name, const std::string& lot_account,
                 const Columns& c, const std::string& date) {
        Items items;
        if (wide_)
            items.Text(id, 4, 1).Text(id.substr(4), 2, 1).Text(name, 4, 5).Text(lot_account, 4, 4);
        else
            items.Text(id, 4, 2).Text(name, 4, 7);
        items.Text(c.quantity, 16, 1)
            .Text(c.unit, 8, 1)
            .Text(c.cost, 16, 1)
            .Text(c.value, 16, 1)
            .Text(c.gain, 16, 1)
            .Text(date, 4, 2);
        frame_.Write(
            wide_ ? "(1X,A4,A2,1X,5A4,4A4,A16,A8,3A16,1X,2A4)" : "(1X,2A4,1X,7A4,A16,2X,A8,3A16,2X,2A4)",
            items);
    }

    void AccountTotal(bool is_long, const Columns& c) {
        frame_.Write(wide_ ? "(48X,12('-'),1X,7('-'),2(4X,12('-')),4X,12('-'))"
                           : "(42X,12('-'),2X,8('-'),2(4X,12('-')),4X,12('-'))");
        const char* layout =
            is_long ? (wide_ ? "(32X,'TOTAL LONG  ',A16,A8,3A16)" : "(27X,'TOTAL LONG ',A16,2X,A8,3A16)")
                    : (wide_ ? "(32X,'TOTAL SHORT ',A16,A8,3A16)" : "(27X,'TOTAL SHORT',A16,2X,A8,3A16)");
        frame_.Write(layout, TotalItems(c));
        frame_.Blank();
        Count(2);
    }

    void ReportTotal(bool is_long, const Columns& c) {
        const char* layout = is_long ? (wide_ ? "(' TOTAL LONG HOLDINGS FOR ',2A4,A1,10X,A16,A8,3A16)"
                                              : "(' TOTAL LONG HOLDINGS FOR ',2A4,A1,4X,A16,2X,A8,3A16)")
                                     : (wide_ ? "(' TOTAL SHORT HOLDINGS FOR ',2A4,A1,9X,A16,A8,3A16)"
                                              : "(' TOTAL SHORT HOLDINGS FOR ',2A4,A1,3X,A16,2X,A8,3A16)");
        Items items;
        items.Text(symbol_, 4, 2).Text(symbol_.substr(8), 1, 1);
        AddTotals(items, c);
        frame_.Write(layout, items);
    }

private:
    static void AddTotals(Items& items, const Columns& c) {
        items.Text(c.quantity, 16, 1)
            .Text(c.unit, 8, 1)
            .Text(c.cost, 16, 1)
            .Text(c.value, 16, 1)
            .Text(c.gain, 16, 1);
    }
    static Items TotalItems(const Columns& c) {
        Items items;
        AddTotals(items, c);
        return items;
    }

    ReportFrame& frame_;
    bool wide_;
    std::string date_, manager_, symbol_, description1_, description2_;
    int16_t page_ = 1, shared_lines_ = 0, page_length_ = 0, lines_ = 0;
};

// The texts of a total line from the sums of one side. factor: the price
// factor, shown as the unit cost when the quantity sum is 0.
Columns TotalColumns(const Side& s, bool is_long, bool fixed_income, double factor, bool unpriced) {
    Columns c;
    const double unit =
        s.quantity == 0 ? factor : std::fabs(s.amount / s.quantity) * (fixed_income ? 100.0 : 1.0);
    c.unit = UnitCost(unit);
    if (is_long) {
        c.quantity = NumberColumn(s.quantity, "(F15.4,' ')", 15, false, 16);
        c.cost = Amount(s.amount, false);
        c.value = Amount(s.value, false);
    } else {
        c.quantity = NumberColumn(s.quantity, "(F15.4,' ')", 15, s.quantity < 0, 16);
        c.cost = Amount(-s.amount, -s.amount < 0);
        c.value = Amount(-s.value, -s.value < 0);
    }
    c.gain = Amount(s.gain, s.gain < 0);
    if (unpriced) c.value = c.gain = kNotAvailable;
    return c;
}

// The report date YYMMDD of the extract, each blank a "0".
std::string ExtractDate(const std::string& date) {
    std::string d = date.substr(6, 2) + date.substr(0, 2) + date.substr(3, 2);
    std::replace(d.begin(), d.end(), ' ', '0');
    return d;
}

// A lot's figures: its columns, quantity, market value and gain.
struct LotFigures {
    Columns columns;
    double quantity = 0, value = 0, gain = 0;
    bool is_short = false, priced = true;
};

// Values a lot of the security: cash and type R at 1, type 4 at 100, the
// rest at the price file's price; a lot without a price has N/A columns.
LotFigures ValueLot(const records::HoldingRecord& lot, char type, bool cash_symbol, bool fixed_income, double factor,
                    const std::vector<double>& prices) {
    LotFigures f;
    f.quantity = lot.symbol.compare(0, 4, "CASH") == 0 ? lot.cost : lot.quantity;
    f.is_short = f.quantity < 0;
    Columns& c = f.columns;
    const double unit = cash_symbol     ? 1.0
                        : f.quantity == 0 ? factor
                                          : std::fabs(lot.cost / f.quantity) * factor;
    c.unit = UnitCost(unit);
    c.quantity = Quantity(f.quantity);
    c.cost = Amount(f.is_short ? -lot.cost : lot.cost, f.is_short);
    double price = records::kNoPriceValue;
    if (cash_symbol || type == 'R') price = 1.0;
    if (type == '4') price = 100.0;
    if (price == records::kNoPriceValue) {
        const long n = lot.security_record;
        if (n >= 1 && static_cast<std::size_t>(n) <= prices.size()) price = prices[static_cast<std::size_t>(n - 1)];
    }
    if (price == records::kNoPriceValue) {
        f.priced = false;
        c.value = c.gain = kNotAvailable;
        return f;
    }
    f.value = std::fabs(f.quantity) * price;
    if (fixed_income) f.value /= 100.0;
    f.gain = f.value - lot.cost;
    if (f.is_short) f.gain = -f.gain;
    c.value = Amount(f.is_short ? -f.value : f.value, f.is_short);
    c.gain = Amount(f.gain, f.gain < 0);
    return f;
}

// An account's lines under its lots: its address (all six lines for the
// extract, else the sixth line when it is set) and its phones.
void PrintAccountLines(ReportFrame& frame, CrossReference& report, const std::string (&address)[6],
                       const records::Record& r2, bool extract, bool phones) {
    if (extract) {
        for (const std::string& line : address) frame.Write("(1X,8A4)", Items().Text(line, 4, 8));
        report.Count(6);
    } else if (!BlankText(address[5].substr(0, 4))) {
        frame.Write("(1X,8A4)", Items().Text(address[5], 4, 8));
        report.Count(1);
    }
    if (phones) {
        frame.Write("(1X,'BUSINESS: ',3A4,4X,'HOME: ',3A4)",
                    Items().Text(r2.Text(108, 12), 4, 3).Text(r2.Text(96, 12), 4, 3));
        report.Count(1);
    }
}

// An account's lines of the extract file: its number, long quantity and
// address lines, after the security and broker lines at the first holder.
void WriteExtractAccount(long& holders, const records::SecurityDescription& security, const std::string& date,
                         const records::BrokerBankRecord& broker, const std::string (&address)[6],
                         const records::Record& r2, double long_quantity) {
    if (++holders == 1) {
        records::WriteLine(kExtractUnit, records::ExtractSecurityLine(security.cusip, security.description1));
        records::WriteLine(kExtractUnit, records::ExtractBrokerLine(ExtractDate(date), broker.number, broker.name));
    }
    int m = 0;
    while (m < 5 && !BlankText(address[m].substr(0, 4))) ++m;
    if (m > 0)
        records::WriteLine(kExtractUnit,
                           records::ExtractAccountLine(broker.tag[0], r2.Text(84, 12), long_quantity, address[0]));
    for (int i = 2; i <= m; ++i)
        records::WriteLine(kExtractUnit,
                           records::ExtractAddressLine(i == m ? '*' : static_cast<char>('0' + i), address[i - 1]));
}

// The run's totals of the long and of the short lots, or the line that
// says no account holds the security.
void PrintRunTotals(ReportFrame& frame, CrossReference& report, const Side& run_long, const Side& run_short,
                    bool fixed_income, double factor, bool run_unpriced) {
    if (run_long.quantity == 0 && run_short.quantity == 0) {
        frame.Blank();
        frame.Blank();
        frame.Blank();
        frame.Write("(1X,'No accounts currently holding this security.')");
        return;
    }
    if (run_long.quantity != 0) {
        report.PageBreak();
        frame.Blank();
        report.ReportTotal(true, TotalColumns(run_long, true, fixed_income, factor, run_unpriced));
    }
    if (run_short.quantity != 0) {
        report.PageBreak();
        frame.Blank();
        report.ReportTotal(false, TotalColumns(run_short, false, fixed_income, factor, run_unpriced));
    }
}

}  // namespace

void Chlpos(int16_t long_report, std::string_view report_date, std::string_view manager,
            std::string_view symbol_arg, int16_t output_mode, std::string_view output_name,
            std::string_view broker_number, std::string_view broker_name, std::string_view broker_tag) {
    const bool long_form = long_report == 1;
    float program_number = 0;
    {
        records::DirectFile common(records::kCommonFile, 128, false);
        records::Record rec;
        if (common.Read(records::kProgramDateRecord, rec)) program_number = rec.R4(8);
    }
    const records::Options options = records::Rdopts();
    const bool phones = records::OptionOn(options, records::Opt::kCrossReferencePhones),
               wide = records::OptionOn(options, records::Opt::kTransactionTexts),
               extract = records::OptionOn(options, records::Opt::kLoanLimitAndExtracts);

    std::string date = records::Fixed(report_date, 8);
    int16_t mode = 0, error = 0;
    float date_number = 0;
    records::Ckdate(date, mode, error, date_number, 0.0f, 1991231.0f);
    const std::string symbol = records::Fixed(symbol_arg, 12);
    const records::SecurityDescription security = records::Cksym(symbol, options);
    const char type = security.type[0];
    const std::string requested = records::Fixed(manager, 4);
    const bool cash_symbol = symbol.compare(0, 4, "CASH") == 0;

    records::BrokerBankRecord broker{records::Fixed(broker_number, 4), records::Fixed(broker_name, 40),
                                     records::Fixed(broker_tag, 4)};
    if (extract) {
        records::BlankEmptyWords(broker);
        records::WriteBrokerBankRecord(broker);
    }
    const std::vector<double> prices = records::ReadPriceFile(date);

    ReportFrame frame = ReportFrame::ForOutputMode(output_name, output_mode);
    const bool fixed_income = records::IsFixedIncomeType(type);
    const double factor = fixed_income ? 100.0 : type == 'R' ? 0.01 : 1.0;
    frame.Blank();
    CrossReference report(frame, wide, date, requested, symbol, security.description1, security.description2);
    report.Heading();

    if (extract) {
        records::Purge(records::kCrossReferenceExtractFile);
        records::Openaw(kExtractUnit, records::kCrossReferenceExtractFile);
    }
    records::UnitGuard extract_unit(kExtractUnit);
    long holders = 0;
    Side run_long, run_short;
    bool run_unpriced = false;

    const AccountWalk walk = WalkAccounts();
    for (const AccountEntry& entry : walk.accounts) {
        if (IsUnusedKey(entry.id)) continue;
        records::AccountRecordSet set;
        for (records::Record& r : set) r = records::Record(128, ' ');
        const bool read = records::ReadAccountRecordSet(entry.entry, set);
        const records::Record& r1 = set[0];
        const records::Record& r2 = set[1];
        const records::Record& r3 = set[2];
        if (!ManagerMatches(requested, r2.Text(16, 4))) continue;
        const std::string id = records::Fixed(entry.id, 8);
        const std::string name = read ? r2.Text(52, 32) : std::string(32, '*');
        Side acct_long, acct_short;
        int lots_of_security = 0;
        bool holds = false, unpriced = false;

        const HoldingsSource source = PrepareHoldings(id, date_number, program_number);
        LotIterator lots(source.file);
        int16_t record = 0;
        records::HoldingRecord lot;
        while (lots.Next(record, lot)) {
            if (lot.tax_lot == "S   ") continue;
            std::string lot_account = records::Fixed(lot.memo, 20);
            for (std::size_t w = 0; w < 20; w += 4)
                if (BlankText(lot_account.substr(w, 4))) lot_account.replace(w, 4, "    ");
            if (records::Fixed(lot.symbol, 12) != symbol) continue;
            holds = true;
            if (!long_form) continue;

            const LotFigures f = ValueLot(lot, type, cash_symbol, fixed_income, factor, prices);
            if (!f.priced) unpriced = run_unpriced = true;

            report.PageBreak();
            if (acct_long.lots == 0) frame.Blank();
            report.LotLine(id, name, lot_account, f.columns, lot.open_date);
            report.Count(1);

            Side& side = f.is_short ? acct_short : acct_long;
            Side& run = f.is_short ? run_short : run_long;
            ++side.lots;
            for (Side* s : {&side, &run}) {
                s->quantity += f.quantity;
                s->amount += lot.cost;
                s->value += f.value;
                s->gain += f.gain;
            }
            ++lots_of_security;
        }

        if (!long_form) {
            if (holds) continue;
            report.PageBreak();
            frame.Blank();
            report.LotLine(id, name, std::string(16, ' '),
                           Columns{std::string(16, ' '), std::string(8, ' '), std::string(16, ' '),
                                   std::string(16, ' '), std::string(16, ' ')},
                           "        ");
            report.Count(1);
            continue;
        }
        if (lots_of_security == 0) continue;

        const std::string address[6] = {r1.Text(0, 32),  r1.Text(32, 32), r1.Text(64, 32),
                                        r1.Text(96, 32), r3.Text(0, 32),  r3.Text(32, 32)};
        PrintAccountLines(frame, report, address, r2, extract, phones);
        if (extract) WriteExtractAccount(holders, security, date, broker, address, r2, acct_long.quantity);
        if (acct_long.lots > 1)
            report.AccountTotal(true, TotalColumns(acct_long, true, fixed_income, factor, unpriced));
        if (acct_short.lots > 1)
            report.AccountTotal(false, TotalColumns(acct_short, false, fixed_income, factor, unpriced));
    }

    if (!long_form) return;
    if (extract) {
        records::WriteLine(kExtractUnit, records::ExtractTrailerLine(holders, run_long.quantity));
        records::Close(kExtractUnit);
    }
    PrintRunTotals(frame, report, run_long, run_short, fixed_income, factor, run_unpriced);
}

}  // namespace reports
