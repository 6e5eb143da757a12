// The income summary.

#include "reports/gains_tax/income_summary.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "records/account_records.h"
#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "reports/gains_tax/gain_lines.h"
#include "reports/gains_tax/gain_security_book.h"
#include "reports/gains_tax/tax_record_file.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr int kIncomeClassRecord = 25;
constexpr int16_t kIncomeClassMarker = -999;

// The category tables, in the order of the report.
enum Category { kDividend, kInterest, kGovernment, kMunicipal, kGainsShort, kGainsLong, kCategoryCount };

constexpr const char* kSectionTitles[] = {"DIVIDEND INCOME", "INTEREST INCOME",
                                          "U. S. GOVERNMENT OBLIGATIONS INCOME",
                                          "MUNICIPAL BOND INTEREST INCOME"};
constexpr const char* kSectionRules[] = {"(10X,15('-'))", "(10X,15('-'))", "(10X,35('-'))", "(10X,30('-'))"};
constexpr const char* kExpenseTitles[] = {"MANAGEMENT FEES", "BANK CHARGES", "DIVIDEND EXPENSE",
                                          "INTEREST EXPENSE", "MISCELLANEOUS EXPENSE"};
constexpr const char* kExpenseCodes[] = {"MF", "BC", "DE", "IE", "ME"};

// One security of a category: the first 9 characters of its symbol (the
// order of the table), the sum and the security's position.
struct IncomeEntry {
    std::string key;
    double amount = 0;
    int position = 0;
};

struct UnknownEntry {
    std::string symbol;
    double amount = 0;
};

struct AccountIncome {
    std::array<std::vector<IncomeEntry>, kCategoryCount> tables;
    std::vector<UnknownEntry> unknown;
    std::array<double, 5> expenses{};
};

void Add(std::vector<IncomeEntry>& table, std::string_view symbol, double amount, int position) {
    const std::string key = records::Fixed(symbol, 9);
    for (IncomeEntry& entry : table)
        if (entry.key == key) {
            entry.amount += amount;
            return;
        }
    table.push_back({key, amount, position});
}

bool OneOf(std::string_view code, std::initializer_list<std::string_view> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The amount a security transaction adds to its table, signed by its code.
double SignedAmount(std::string_view code, const records::TransactionRecord& t) {
    if (OneOf(code, {"DI", "II", "IS"})) return t.amount;
    if (OneOf(code, {"S", "SO", "CS"})) return t.bond_interest;
    if (OneOf(code, {"B", "SI", "SS"})) return -t.bond_interest;
    return -t.amount;
}

// The category of a security transaction by the security's type and its
// income class; kCategoryCount when it is not counted.
int CategoryOf(char type, const IncomeClassTable& classes) {
    const std::size_t at = kIncomeClassTypes.find(type);
    const std::string cls = at == std::string_view::npos ? std::string("  ") : records::Fixed(classes[at], 2);
    const bool blank = cls == "  ";
    const auto in = [type](std::string_view types) { return types.find(type) != std::string_view::npos; };
    if (cls == "DI" || (blank && in("PNYHJLR"))) return kDividend;
    if (cls == "II" || (blank && in("149BCDXF"))) return kInterest;
    if (blank && in("356W")) return kGovernment;
    if (blank && type == '7') return kMunicipal;
    return kCategoryCount;
}

// Sums the account's transactions of the range into its tables. A
// transaction or security record that cannot be read ends the collection.
AccountIncome Collect(const std::string& id, const DateRange& dates, const IncomeClassTable& classes,
                      GainSecurityBook& securities) {
    AccountIncome income;
    records::DirectFile file(records::Paknam(id, "TR", ".REC"), records::kAccountRecordLength,
                             /*create=*/false);
    records::Record rec;
    if (!file.Read(1, rec)) return income;
    const int last = records::TransactionFileHeader::Decode(rec).last_record;
    for (int n = 2; n <= last; ++n) {
        if (!file.Read(n, rec)) break;
        const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        if (records::IsBlank(t.symbol)) continue;
        if (t.date_number < dates.start_number || t.date_number > dates.end_number) continue;
        const std::string code = records::Trim(t.code);
        const auto expense = std::find(std::begin(kExpenseCodes), std::end(kExpenseCodes), code);
        if (expense != std::end(kExpenseCodes)) {
            income.expenses[static_cast<std::size_t>(expense - std::begin(kExpenseCodes))] += t.amount;
            continue;
        }
        if (OneOf(code, {"FI", "FO", "AI", "AO"})) continue;
        if (code == "MI") {
            const Category table = records::Fixed(t.type, 2) == "ST" ? kGainsShort : kGainsLong;
            Add(income.tables[table], t.symbol, t.amount, securities.Position(t.symbol));
            continue;
        }
        const double amount = SignedAmount(code, t);
        if (t.security_record <= 0) {
            income.unknown.push_back({t.symbol, amount});
            continue;
        }
        const records::SecurityRecord* security = securities.Record(t.security_record);
        if (!security) break;
        const int category = CategoryOf(security->TypeCharacter(), classes);
        if (category == kCategoryCount) continue;
        Add(income.tables[static_cast<std::size_t>(category)], t.symbol, amount, t.security_record);
    }
    for (auto& table : income.tables)
        std::sort(table.begin(), table.end(),
                  [](const IncomeEntry& a, const IncomeEntry& b) { return a.key < b.key; });
    return income;
}

struct SummaryPage {
    ReportFrame& frame;
    const records::Options& options;
    std::string period_start;
    std::string period_end;
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
};

class AccountPrinter {
public:
    AccountPrinter(SummaryPage& page, const GainAccount& account, GainSecurityBook& securities)
        : p_(page), account_(account), securities_(securities) {}

    void Print(const AccountIncome& income) {
        Heading();
        for (int c = kDividend; c <= kMunicipal; ++c)
            if (!income.tables[static_cast<std::size_t>(c)].empty())
                Section(kSectionTitles[c], kSectionRules[c], income.tables[static_cast<std::size_t>(c)]);
        if (!income.unknown.empty()) UnknownSection(income.unknown);
        if (!income.tables[kGainsShort].empty() || !income.tables[kGainsLong].empty()) OtherIncome(income);
        if (std::any_of(income.expenses.begin(), income.expenses.end(), [](double v) { return v != 0; }))
            Expenses(income.expenses);
    }

private:
    void Heading() {
        if (p_.lines > 0) records::Prmsg(p_.lines, p_.page_length, 0, "");
        records::Pghead(p_.page, p_.lines, p_.page_length);
        ReportFrame& f = p_.frame;
        f.Write("(61X,'INCOME SUMMARY')");
        f.Write("(54X,3A4,' - ',3A4)", Items().Text(p_.period_start, 4, 3).Text(p_.period_end, 4, 3));
        f.Write("(10X,'ACCOUNT: ',2A4,' - ',8A4)",
                Items().Text(account_.payee.id, 4, 2).Text(account_.short_name, 4, 8));
        for (const std::string& line : account_.payee.address) f.Write("(10X,8A4)", Items().Text(line, 4, 8));
        f.Write("(10X,8A4)", Items().Text(account_.fifth_line, 4, 8));
        f.Write("(10X,3A4)", Items().Text(account_.payee.tax_id, 4, 3));
        p_.lines = static_cast<int16_t>(p_.lines + 15);
    }

    // A body line: a new page first when the page is full.
    void Write(std::string_view layout, records::OutItems items = {}) {
        if (p_.lines >= p_.page_length - 5) Heading();
        p_.frame.Write(layout, items);
        ++p_.lines;
    }

    void Title(std::string_view title, const char* rule) {
        Write("");
        Write("(10X,9A4,19X,'AMOUNT')", Items().Text(title, 4, 9));
        Write(rule);
    }

    void Total(std::string_view title, double total) {
        Write("");
        Write("(10X,'    TOTAL ',9A4,1X,A16)",
              Items().Text(title, 4, 9).Text(GainAmount(total, 16, true), 16, 1));
    }

    // The securities of a table: description and amount, then the second
    // description line when there is one. Returns the sum printed.
    double Entries(const std::vector<IncomeEntry>& table) {
        const std::string_view option_code(reinterpret_cast<const char*>(p_.options.data()), 4);
        double sum = 0;
        for (const IncomeEntry& entry : table) {
            if (entry.amount == 0) continue;
            const records::SecurityRecord* security = securities_.Record(entry.position);
            const std::string description = security ? security->description1 : entry.key;
            Write("(10X,8A4,15X,A16)",
                  Items().Text(description, 4, 8).Text(GainAmount(entry.amount, 16, true), 16, 1));
            sum += entry.amount;
            std::string second = security ? security->description2 : std::string(32, ' ');
            if (security && records::Fixed(entry.key, 4) != "CASH" && security->TypeCharacter() != '1')
                records::Ckdesc(second, option_code, security->rate, security->due_date);
            if (!records::IsBlank(records::Fixed(second, 32))) Write("(10X,8A4)", Items().Text(second, 4, 8));
        }
        return sum;
    }

    void Section(const char* title, const char* rule, const std::vector<IncomeEntry>& table) {
        Title(title, rule);
        Total(title, Entries(table));
    }

    void UnknownSection(const std::vector<UnknownEntry>& unknown) {
        Title("UNKNOWN SECURITIES", "(10X,18('-'))");
        double sum = 0;
        for (const UnknownEntry& entry : unknown) {
            if (entry.amount == 0) continue;
            Write("(10X,3A4,35X,A16)",
                  Items().Text(entry.symbol, 4, 3).Text(GainAmount(entry.amount, 16, true), 16, 1));
            sum += entry.amount;
        }
        Total("UNKNOWN SECURITIES", sum);
    }

    // Other income: the capital gains distributions, short-term then
    // long-term, each under its own title.
    void OtherIncome(const AccountIncome& income) {
        Title("OTHER INCOME", "(10X,12('-'))");
        double sum = 0;
        const std::pair<Category, const char*> parts[] = {{kGainsShort, "CAPITAL GAINS DIST. SHORT"},
                                                          {kGainsLong, "CAPITAL GAINS DIST. LONG"}};
        for (const auto& [category, title] : parts) {
            if (income.tables[category].empty()) continue;
            Write("(10X,7A4)", Items().Text(title, 4, 7));
            Write("(10X,26('-'))");
            sum += Entries(income.tables[category]);
        }
        Total("OTHER INCOME", sum);
    }

    void Expenses(const std::array<double, 5>& expenses) {
        Title("OTHER EXPENSE", "(10X,13('-'))");
        double sum = 0;
        for (std::size_t i = 0; i < expenses.size(); ++i) {
            if (expenses[i] == 0) continue;
            Write("(10X,7A4,19X,A16)",
                  Items().Text(kExpenseTitles[i], 4, 7).Text(GainAmount(expenses[i], 16, true), 16, 1));
            sum += expenses[i];
        }
        Total("OTHER EXPENSE", sum);
    }

    SummaryPage& p_;
    const GainAccount& account_;
    GainSecurityBook& securities_;
};

}  // namespace

IncomeClassTable BuiltInIncomeClasses() {
    return {"II", "  ", "II", "  ", "  ", "  ", "II", "II", "II", "II", "II", "II",
            "II", "DI", "DI", "DI", "DI", "DI", "DI", "DI", "  ", "  ", "  "};
}

IncomeClassTable ReadIncomeClasses() {
    records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    records::Record rec;
    if (!common.Read(kIncomeClassRecord, rec) || rec.I16(46) != kIncomeClassMarker)
        return BuiltInIncomeClasses();
    IncomeClassTable table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = rec.Text(2 * i, 2);
        if (i < 22 && table[i] != "DI" && table[i] != "II" && table[i] != "  ") return BuiltInIncomeClasses();
    }
    return table;
}

void Taxre(std::string_view scope, std::string_view manager, std::string_view account, std::string_view start,
           std::string_view end, int16_t& status, int16_t print_mode, std::string_view output_name,
           int16_t output_length, std::string_view transmitter, std::string_view payer_control,
           std::string_view correction) {
    (void)status;
    const records::Options options = records::Rdopts();
    const IncomeClassTable classes = ReadIncomeClasses();
    const DateRange dates = CheckReportDates(start, end, ReadProgramDate());
    const bool all = records::Fixed(scope, 4) == "A   ";

    // The accounts of the run: every account of the index in "A" mode (the
    // manager code is compared once its records are read), else the one.
    AccountWalk walk = RunAccounts(all, account);
    const bool index_read = walk.count_read;
    std::vector<AccountEntry> accounts = std::move(walk.accounts);

    ReportFrame frame = ReportFrame::ForOutputMode(
        records::Fixed(output_name, static_cast<std::size_t>(std::max<int16_t>(output_length, 0))),
        print_mode);
    std::unique_ptr<TaxRecordFile> tax;
    if (records::OptionOn(options, records::Opt::kLoanLimitAndExtracts)) {
        TaxFileSetup setup;
        setup.form = TaxForm::k1099Div;
        setup.transmitter = records::Fixed(transmitter, 5);
        setup.payer_control = records::Fixed(payer_control, 4);
        setup.correction = records::Fixed(correction, 4) == "Y   ";
        setup.payment_year = SaleDateOf(dates.end_number).year;
        tax = std::make_unique<TaxRecordFile>(setup, frame);
    }

    records::Gcn();
    std::string start_date = dates.start, end_date = dates.end;
    SummaryPage page{frame, options, records::H2000(start_date), records::H2000(end_date)};
    page.page_length = records::FirmHeadingBlock().page_length;
    GainSecurityBook securities;
    if (!index_read) frame.Stop(UnreadableLine(records::kAccountIndex, 1));

    for (const AccountEntry& entry : accounts) {
        GainAccount data;
        if (!ReadGainAccount(entry.entry, entry.id, data)) {
            if (tax) tax->Finish();
            frame.Stop(UnreadableLine(records::kAccountRecords, entry.first_record));
            return;
        }
        if (all && !ManagerMatches(manager, data.manager)) continue;
        const AccountIncome income = Collect(data.payee.id, dates, classes, securities);
        if (tax) {
            double dividends = 0;
            for (const IncomeEntry& e : income.tables[kDividend]) {
                double amount = e.amount;
                records::Drnd2(amount);
                dividends += amount;
            }
            records::Drnd2(dividends);
            if (dividends < 10.00) continue;
            tax->WriteDividends(data.payee, dividends);
        }
        AccountPrinter(page, data, securities).Print(income);
    }
    records::Prmsg(page.lines, page.page_length, 0, "");
    if (tax) tax->Finish();
}

}  // namespace reports
