// The portfolio changes report.

#include "reports/history/portfolio_changes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "engine/replay.h"
#include "records/account_records.h"
#include "records/amounts.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/options.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "reports/kernel/account_names.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"
#include "reports/kernel/security_kinds.h"

namespace reports {

namespace {

constexpr double kNoValue = records::kNoPriceValue;

std::string Code(const records::TransactionRecord& t) {
    return records::TrimRight(t.code);
}

// The price factor of a security type: unit cost = factor / shares x cost.
double PriceFactor(char type) {
    if (type == 'R') return 0.01;
    if (IsFixedIncomeType(type)) return 100.0;
    return 1.0;
}

void Dollar(std::string& text, int n) {
    int16_t width = static_cast<int16_t>(n);
    int16_t flag = 0;
    records::Putdol(text, width, flag);
}

// Characters outside the printable range (blank to "~") print as blanks.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ' || static_cast<unsigned char>(c) > '~') c = ' ';
    return text;
}

// A purchase date whose words are blank or below the blank prints blank.
std::string PurchaseDate(const std::string& date) {
    const std::string d = records::Fixed(date, 8);
    const bool blank1 = d.substr(0, 4) == "    " || records::BelowBlankWord(d.substr(0, 4));
    const bool blank2 = d.substr(4, 4) == "    " || records::BelowBlankWord(d.substr(4, 4));
    return blank1 && blank2 ? std::string(8, ' ') : d;
}

// The security fields a line prints.
struct LineSecurity {
    std::string description = std::string(32, ' ');
    std::string description2 = std::string(32, ' ');
    char type = ' ';
    std::string due_date = std::string(8, ' ');
    float rate = records::kNoRate;
};

bool ReadLineSecurity(const records::DirectFile& file, long n, LineSecurity& sec) {
    records::Record rec;
    if (n < 1 || !file.Read(n, rec)) return false;
    sec.description = rec.Text(12, 32);
    sec.description2 = rec.Text(44, 32);
    sec.type = static_cast<char>(rec.data()[76]);
    sec.due_date = rec.Text(88, 8);
    sec.rate = rec.R4(96);
    return true;
}

// The line values of one detail line.
struct LineValues {
    double shares = 0;
    double total_cost = 0;
    double gain = 0;
    double proceeds = 0;
    double market_price = 0;
};

// Linset: total cost is the cost, or the amount when the cost has no value.
void Linset(LineValues& v, double shares, double amount, double gain, double cost, double market_price) {
    v.shares = shares;
    v.total_cost = cost == kNoValue ? amount : cost;
    v.gain = gain;
    v.proceeds = amount;
    v.market_price = market_price;
}

// Clrsrt: each section starts with an empty sort table.
void Clrsrt(std::vector<std::string>& keys, std::vector<int16_t>& tags, std::vector<std::size_t>& chosen) {
    keys.clear();
    tags.clear();
    chosen.clear();
}

void Linclr(LineValues& v) {
    v.shares = 0;
    v.total_cost = 0;
    v.gain = 0;
    v.proceeds = 0;
}

// The sections, in the order they print.
enum class Section { kPurchased, kSold, kIncome, kSoldShort, kCoveredShort, kAdditions, kWithdrawals };

struct SectionText {
    const char* title;
    const char* underline;
    const char* limit;
};

SectionText TextOf(Section s) {
    switch (s) {
        case Section::kPurchased:
            return {
                "(1X,'Purchased')", "(1X,'---------')",
                "(1X,'Maximum number of purchase transactions is 1000, ','re-run report using a smaller time "
                "interval.')"};
        case Section::kSold:
            return {
                "(1X,'Sold')", "(1X,'----')",
                "(1X,'Maximum number of sales transactions is 1000, ',' Re-run report using a smaller time "
                "interval.')"};
        case Section::kIncome:
            return {
                "(1X,'Income & Expenses')", "(1X,'-----------------')",
                "(1X,'Maximum number of income transactions is 1000, ','re-run report using a smaller time "
                "interval.')"};
        case Section::kSoldShort:
            return {"(1X,'Sold Short')", "(1X,'----------')",
                    "(1X,'Maximum number of short sales is 1000, ','re-run report using a smaller time "
                    "interval.')"};
        case Section::kCoveredShort:
            return {"(1X,'Covered Short')", "(1X,'-------------')",
                    "(1X,'Maximum number of cover shorts is 1000 ','re-run report using a smaller time "
                    "interval.')"};
        case Section::kAdditions:
            return {
                "(1X,'Additions')", "(1X,'---------')",
                "(1X,'Maximum number of additions is 1000 ','re-run report using a smaller time interval.')"};
        case Section::kWithdrawals:
            return {"(1X,'Withdrawals')", "(1X,'-----------')",
                    "(1X,'Maximum number of withdrawals is 1000 ','re-run report using a smaller time "
                    "interval.')"};
    }
    return {"", "", ""};
}

bool CodeIn(const std::string& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == c) return true;
    return false;
}

// The sign of an income code: +1 for the income, -1 for the expense codes,
// 0 for codes that are no income.
int IncomeSign(const std::string& code) {
    if (CodeIn(code, {"DI", "II", "MI", "IS"})) return 1;
    if (CodeIn(code, {"DE", "IE", "MF", "BC", "ME", "IP"})) return -1;
    return 0;
}

// The income amount of a transaction that belongs to Income & Expenses.
double IncomeAmount(const records::TransactionRecord& t) {
    const std::string code = Code(t);
    if (const int sign = IncomeSign(code)) return sign * t.amount;
    if (code == "B" || code == "SI") return -t.bond_interest;
    return t.bond_interest;  // S, SO
}

bool BelongsTo(Section s, const records::TransactionRecord& t) {
    const std::string code = Code(t);
    switch (s) {
        case Section::kPurchased:
            return code == "B";
        case Section::kSold:
            return code == "S";
        case Section::kIncome:
            return IncomeSign(code) != 0 || (CodeIn(code, {"B", "S", "SI", "SO"}) && t.bond_interest > 0);
        case Section::kSoldShort:
            return code == "SS";
        case Section::kCoveredShort:
            return code == "CS";
        case Section::kAdditions:
            return CodeIn(code, {"SI", "FI", "AI"});
        case Section::kWithdrawals:
            return CodeIn(code, {"SO", "FO", "AO"});
    }
    return false;
}

// One account's run of the report: the page state and what every section
// reads.
class ChangesRun {
public:
    ChangesRun(ReportFrame& frame, const records::Options& options, std::string account, std::string name,
               float start, float end, std::string security)
        : frame_(frame),
          options_(options),
          account_(std::move(account)),
          name_(std::move(name)),
          start_(start),
          end_(end),
          security_(records::Fixed(security, 12)),
          filtered_(security_ != std::string(12, ' ')),
          decimals_(records::SystemDecimals(options)),
          securities_("SECURITY.REC", 128, /*create=*/false),
          gains_(records::TrimRight(records::Paknam(account_, "GL", ".REC")), 128, /*create=*/false) {
        LoadTransactions();
    }

    void Account();

private:
    struct Entry {
        std::string key;
        std::size_t transaction = 0;  // index into transactions_
    };
    struct Totals {
        double shares = 0;
        double value = 0;
        double proceeds = 0;
        double gain = 0;
    };

    void LoadTransactions();
    void Pchead();
    void Colhdr();
    void SectionHead(Section s);
    void Detlin(const LineSecurity& sec, double price_factor, bool full_columns, const std::string& lot,
                const std::string& trade_date, const std::string& purchase_date);
    std::string Key(const std::string& description, const records::TransactionRecord& t, bool with_lot,
                    long record) const;

    // The sections; each returns the number of transactions it selected
    // (one above the limit when it stopped there).
    int Pursec();
    int Salsec();
    int Incsec();
    int Othsec();
    int OtherSection(Section s);
    // The common course: collection by select (which fills the key and
    // the collection totals), then the sorted lines by print.
    template <class Select, class Print, class Total>
    int RunSection(Section s, Select select, Print print, Total total);

    bool InRange(const records::TransactionRecord& t) const {
        return t.date_number >= start_ && t.date_number <= end_;
    }
    bool FilterTakes(std::string_view symbol) const {
        return !filtered_ || records::Fixed(symbol, 12) == security_;
    }
    bool DroppedByOption11(const LineSecurity& sec, bool has_security) const {
        return has_security && records::OptionOn(options_, records::Opt::kNoCashEquivalentChanges) &&
               sec.type == '1';
    }
    std::string SharesTotal(double shares) const;

    ReportFrame& frame_;
    const records::Options& options_;
    std::string account_;
    std::string name_;
    float start_;
    float end_;
    std::string security_;
    bool filtered_;
    int decimals_;
    records::DirectFile securities_;
    records::DirectFile gains_;
    // Records 2 to N of TR<acct>.REC as far as they could be read, with
    // their record numbers.
    std::vector<std::pair<long, records::TransactionRecord>> transactions_;

    int16_t page_ = 0;
    int16_t lines_ = 0;
    int16_t page_length_ = 58;
    bool dollar_ = false;
    LineValues values_;
};

void ChangesRun::LoadTransactions() {
    records::DirectFile file(records::TrimRight(records::Paknam(account_, "TR", ".REC")), 128,
                             /*create=*/false);
    std::vector<unsigned char> bytes;
    if (!file.ReadWhole(bytes)) return;
    const long available = static_cast<long>(bytes.size() / 128);
    if (available < 1) return;
    records::Record rec(128);
    std::memcpy(rec.data(), bytes.data(), 128);
    const long last = records::TransactionFileHeader::Decode(rec).last_record;
    // A record that cannot be read ends the collection: the transactions
    // before it are listed.
    for (long n = 2; n <= last && n <= available; ++n) {
        std::memcpy(rec.data(), bytes.data() + (n - 1) * 128, 128);
        transactions_.emplace_back(n, records::TransactionRecord::Decode(rec));
    }
}

void ChangesRun::Pchead() {
    records::Gcn();
    const records::FirmHeading& firm = records::FirmHeadingBlock();
    page_length_ = firm.page_length;
    ++page_;
    lines_ = 1;
    for (int i = 0; i < 4; ++i) frame_.Blank();
    if (records::PageNumbersSuppressed())
        frame_.Blank();
    else
        frame_.Write("(111X,'  PAGE ',I3)", {static_cast<long long>(page_)});
    if (records::OptionOn(options_, records::Opt::kNoFirmName))
        frame_.Blank();
    else
        frame_.Write("(40X,50A1)", Items().Text(firm.firm_name, 1, 50));
    frame_.Blank();
    lines_ = static_cast<int16_t>(lines_ + 2);
    frame_.Write("(58X,'PORTFOLIO CHANGES')");
    frame_.Write("(57X,19A1)", Items().Text(Datrng(start_, end_), 1, 19));
    lines_ = static_cast<int16_t>(lines_ + 2);
    frame_.Blank();
    std::string line(50, ' ');
    records::WriteInto(
        line, "(1X,'ACCOUNT: ',A4,A2,' - ',8A4)",
        Items().Text(account_.substr(0, 4), 4, 1).Text(account_.substr(4, 2), 2, 1).Text(name_, 4, 8));
    int16_t status = 0;
    records::Center(line, 50, status);
    frame_.Write("(42X,50A1)", Items().Text(line, 1, 50));
    frame_.Blank();
    lines_ = static_cast<int16_t>(lines_ + 2);
}

void ChangesRun::Colhdr() {
    frame_.Write(
        "(27X,'Trade',2X,'Purchase',3X,'Shares or',11X,'Unit',9X,'Total ',7X,'Market',18X,'Gain',3X,'Tax')");
    frame_.Write(
        "(27X,'Date',5X,'Date',5X,'Face Amt.',11X,'Cost',9X,'Cost',9X,'Price',5X,'Proceeds',5X,'(Loss)',2X,"
        "'Lot')");
    frame_.Write(
        "(27X,4('-'),5X,4('-'),5X,9('-'),11X,4('-'),9X,4('-'),9X,5('-'),5X,8('-'),5X,6('-'),2X,3('-'))");
    lines_ = static_cast<int16_t>(lines_ + 2);
}

void ChangesRun::SectionHead(Section s) {
    const SectionText text = TextOf(s);
    frame_.Write(text.title);
    frame_.Write(text.underline);
    frame_.Blank();
    lines_ = static_cast<int16_t>(lines_ + 2);
    dollar_ = true;
}

void ChangesRun::Detlin(const LineSecurity& sec, double price_factor, bool full_columns,
                        const std::string& lot, const std::string& trade_date,
                        const std::string& purchase_date) {
    const LineValues& v = values_;
    const bool no_shares = v.shares == kNoValue;
    std::string shares(16, ' ');
    std::string unit(12, ' ');
    std::string market(12, ' ');
    std::string proceeds(12, ' ');
    std::string gain(12, ' ');
    if (!no_shares) {
        std::string text = NumberText(v.shares, "(F16.3,'  ')", 16, false);
        shares = text.substr(0, 16);
        const double unit_cost = v.shares == 0 ? 0 : price_factor / v.shares * v.total_cost;
        text = NumberText(unit_cost, "(F12.3,'  ')", 12, false);
        unit = text.substr(0, 12);
        if (full_columns) {
            text = NumberText(v.market_price, "(F11.2,'  ')", 11, false);
            market = text.substr(0, 12);
            text = NumberText(v.proceeds, "(F11.2,'  ')", 11, true);
            proceeds = text.substr(0, 12);
            text = NumberText(v.gain, "(F11.2,'  ')", 11, true);
            gain = text.substr(0, 12);
        }
    }
    std::string total = NumberText(v.total_cost, "(F15.2,'  ')", 15, true);
    if (dollar_) Dollar(total, v.total_cost < 0 ? 16 : 15);
    frame_.Write("(1X,24A1,2A4,1X,2A4,A16,A12,A16,A12,A12,A12,1X,A2)", Items()
                                                                           .Text(sec.description, 1, 24)
                                                                           .Text(trade_date, 4, 2)
                                                                           .Text(purchase_date, 4, 2)
                                                                           .Text(shares, 16, 1)
                                                                           .Text(unit, 12, 1)
                                                                           .Text(total.substr(0, 16), 16, 1)
                                                                           .Text(market, 12, 1)
                                                                           .Text(proceeds, 12, 1)
                                                                           .Text(gain, 12, 1)
                                                                           .Text(lot, 2, 1));
    ++lines_;
    if (sec.description2.find_first_not_of(' ') != std::string::npos) {
        frame_.Write("(2X,8A4)", Items().Text(sec.description2, 4, 8));
        ++lines_;
    } else if (records::OptionOn(options_, records::Opt::kCouponDueDescription) &&
               records::Fixed(sec.due_date, 8).substr(0, 4) != "    " && sec.type != '1') {
        if (sec.rate != records::kNoRate)
            frame_.Write("(2X,F7.3,'%  ',2A4)", Items().Number(sec.rate).Text(sec.due_date, 4, 2));
        else
            frame_.Write("(2X,2A4)", Items().Text(sec.due_date, 4, 2));
        ++lines_;
    }
}

std::string ChangesRun::Key(const std::string& description, const records::TransactionRecord& t,
                            bool with_lot, long record) const {
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;
    records::Redate(t.trade_date, month, day, year);
    std::string key(42, ' ');
    records::WriteInto(key, "(30A1,3I2,A2,I4)",
                       Items()
                           .Text(description, 1, 30)
                           .Int(year)
                           .Int(month)
                           .Int(day)
                           .Text(with_lot ? t.tax_lot.substr(0, 2) : std::string("  "), 2, 1)
                           .Int(record));
    return key;
}

std::string ChangesRun::SharesTotal(double shares) const {
    if (!filtered_) return std::string(16, ' ');
    std::string text = NumberText(shares, "(F16.4)", 16, false);
    return text.substr(0, 16);
}

template <class Select, class Print, class Total>
int ChangesRun::RunSection(Section s, Select select, Print print, Total total) {
    std::vector<std::string> keys;
    std::vector<int16_t> tags;
    std::vector<std::size_t> chosen;
    Clrsrt(keys, tags, chosen);
    int count = 0;
    for (std::size_t i = 0; i < transactions_.size(); ++i) {
        std::string key;
        if (!select(transactions_[i].first, transactions_[i].second, key)) continue;
        if (++count > kChangesSectionLimit) {
            frame_.Write(TextOf(s).limit);
            return count;
        }
        keys.push_back(key);
        chosen.push_back(i);
        tags.push_back(static_cast<int16_t>(chosen.size()));
    }
    if (count == 0) return 0;
    Shel42(count, keys, tags);

    SectionHead(s);
    for (int i = 0; i < count; ++i) {
        const std::size_t index = chosen[static_cast<std::size_t>(tags[static_cast<std::size_t>(i)] - 1)];
        if (!print(transactions_[index].first, transactions_[index].second)) continue;
        Linclr(values_);
        dollar_ = false;
        if (lines_ >= page_length_ - 7) {
            Pchead();
            Colhdr();
            SectionHead(s);
        }
    }
    frame_.Blank();
    total();
    frame_.Blank();
    frame_.Blank();
    lines_ = static_cast<int16_t>(lines_ + 4);
    return count;
}

int ChangesRun::Pursec() {
    Totals totals;
    return RunSection(
        Section::kPurchased,
        [&](long record, const records::TransactionRecord& t, std::string& key) {
            if (!BelongsTo(Section::kPurchased, t) || !InRange(t) || !FilterTakes(t.symbol)) return false;
            LineSecurity sec;
            const bool has = t.security_record >= 1;
            if (has && !ReadLineSecurity(securities_, t.security_record, sec)) return false;
            if (DroppedByOption11(sec, has)) return false;
            key = Key(sec.description, t, true, record);
            totals.value += t.amount;
            totals.shares += t.quantity;
            return true;
        },
        [&](long, const records::TransactionRecord& t) {
            LineSecurity sec;
            if (t.security_record >= 1 && !ReadLineSecurity(securities_, t.security_record, sec))
                return false;
            Linset(values_, t.quantity, t.amount, 0, t.amount, 0);
            Detlin(sec, PriceFactor(sec.type), false, t.tax_lot.substr(0, 2), t.trade_date,
                   std::string(8, ' '));
            return true;
        },
        [&] {
            std::string value = NumberText(totals.value, "(F16.2)", 16, false);
            Dollar(value, 16);
            frame_.Write("(5X,'Total',28X,A16,15X,A16)",
                         Items().Text(SharesTotal(totals.shares), 16, 1).Text(value.substr(0, 16), 16, 1));
        });
}

int ChangesRun::Salsec() {
    Totals totals;
    return RunSection(
        Section::kSold,
        [&](long record, const records::TransactionRecord& t, std::string& key) {
            if (!BelongsTo(Section::kSold, t) || !InRange(t) || !FilterTakes(t.symbol)) return false;
            LineSecurity sec;
            const bool has = t.security_record >= 1;
            if (has && !ReadLineSecurity(securities_, t.security_record, sec)) return false;
            if (DroppedByOption11(sec, has)) return false;
            key = Key(sec.description, t, true, record);
            return true;
        },
        [&](long, const records::TransactionRecord& t) {
            LineSecurity sec;
            if (t.security_record >= 1 && !ReadLineSecurity(securities_, t.security_record, sec))
                return false;
            double proceeds = 0;
            double basis = 0;
            records::Record rec;
            if (t.gain_record >= 1 && gains_.Read(t.gain_record, rec)) {
                proceeds = rec.R8(84);
                basis = rec.R8(92);
                totals.shares += t.quantity;
                totals.value += basis;
                totals.proceeds += proceeds;
                totals.gain += proceeds - basis;
            } else {
                frame_.Write("(1X,'EOF IN ',2A4,'GAIN/LOSS FILE, RECORD NO.',I4)",
                             Items().Text(account_, 4, 2).Int(t.gain_record));
            }
            Linset(values_, t.quantity, proceeds, proceeds - basis, basis, t.price);
            Detlin(sec, PriceFactor(sec.type), true, t.tax_lot.substr(0, 2), t.trade_date,
                   PurchaseDate(t.lot_date));
            return true;
        },
        [&] {
            std::string basis = NumberText(totals.value, "(F16.2)", 16, true);
            int16_t flag = 0;
            Putdl2(basis, 16, flag);
            std::string proceeds = NumberText(totals.proceeds, "(F16.2)", 16, true);
            std::string gain = NumberText(totals.gain, "(F11.2,'  ')", 11, true);
            Putdl2(gain, 12, flag);
            frame_.Write("(5X,'Total ',27X,A16,15X,A16,8X,A16,1X,A12)",
                         Items()
                             .Text(SharesTotal(totals.shares), 16, 1)
                             .Text(basis.substr(0, 16), 16, 1)
                             .Text(proceeds.substr(0, 16), 16, 1)
                             .Text(gain.substr(0, 12), 12, 1));
        });
}

int ChangesRun::Incsec() {
    double total = 0;
    // The fields an income line takes: the security's when the transaction
    // has one above record 1, else its own text.
    auto fields = [&](const records::TransactionRecord& t, LineSecurity& sec) {
        if (t.security_record > 1) return ReadLineSecurity(securities_, t.security_record, sec);
        sec = LineSecurity{};
        sec.description = records::Fixed(Printable(t.CashText()), 32);
        sec.rate = 0;
        return true;
    };
    return RunSection(
        Section::kIncome,
        [&](long record, const records::TransactionRecord& t, std::string& key) {
            if (!BelongsTo(Section::kIncome, t) || !InRange(t)) return false;
            if (filtered_ && t.CashText().substr(0, 12) != security_) return false;
            LineSecurity sec;
            if (!fields(t, sec)) return false;
            key = Key(sec.description, t, false, record);
            total += IncomeAmount(t);
            return true;
        },
        [&](long, const records::TransactionRecord& t) {
            LineSecurity sec;
            if (!fields(t, sec)) return false;
            const double income = IncomeAmount(t);
            Linset(values_, kNoValue, income, 0, income, 0);
            Detlin(sec, PriceFactor(sec.type), false, "  ", t.trade_date, std::string(8, ' '));
            return true;
        },
        [&] {
            std::string text = NumberText(total, "(F15.2,' ')", 15, true);
            Dollar(text, total < 0 ? 16 : 15);
            frame_.Write("(5X,'Total ',59X,A16)", Items().Text(text.substr(0, 16), 16, 1));
        });
}

int ChangesRun::OtherSection(Section s) {
    Totals totals;
    const bool covered = s == Section::kCoveredShort;
    const bool transfers = s == Section::kAdditions || s == Section::kWithdrawals;
    // The cost of a transaction: FI, FO, AI and AO have none, so that their
    // amount is used.
    auto cost_of = [](const records::TransactionRecord& t) {
        return CodeIn(Code(t), {"FI", "FO", "AI", "AO"}) ? kNoValue : t.lot_cost;
    };
    auto fields = [&](const records::TransactionRecord& t, LineSecurity& sec) {
        if (t.security_record >= 1 && !ReadLineSecurity(securities_, t.security_record, sec)) return false;
        if (transfers && t.security_record <= 1) {
            sec.description = records::Fixed(Printable(t.CashText()), 32);
            if (t.security_record < 1) sec.description2 = std::string(32, ' ');
        }
        return true;
    };
    return RunSection(
        s,
        [&](long record, const records::TransactionRecord& t, std::string& key) {
            if (!BelongsTo(s, t) || !InRange(t) || !FilterTakes(t.symbol)) return false;
            LineSecurity sec;
            if (!fields(t, sec)) return false;
            if (DroppedByOption11(sec, t.security_record >= 1)) return false;
            if (transfers && t.security_record <= 1) {
                std::string own(42, ' ');
                int16_t month = 0;
                int16_t day = 0;
                int16_t year = 0;
                records::Redate(t.trade_date, month, day, year);
                records::WriteInto(own, "(20A1,10A1,3I2,A2,I4)",
                                   Items()
                                       .Text(t.CashText(), 1, 20)
                                       .Text("", 1, 10)
                                       .Int(year)
                                       .Int(month)
                                       .Int(day)
                                       .Text(t.tax_lot.substr(0, 2), 2, 1)
                                       .Int(record));
                key = own;
            } else {
                key = Key(sec.description, t, true, record);
            }
            const double cost = cost_of(t);
            if (!covered) totals.value += cost == kNoValue ? t.amount : cost;
            totals.shares += t.quantity;
            return true;
        },
        [&](long, const records::TransactionRecord& t) {
            LineSecurity sec;
            if (!fields(t, sec)) return false;
            double proceeds = 0;
            double basis = 0;
            records::Record rec;
            const bool gain_read = t.gain_record >= 1 && gains_.Read(t.gain_record, rec);
            if (gain_read) {
                proceeds = rec.R8(84);
                basis = rec.R8(92);
            }
            double shares = t.quantity;
            records::RoundToDecimals(shares, decimals_);
            const double cost = cost_of(t);
            if (covered) {
                if (gain_read) {
                    totals.value += basis;
                    totals.gain += proceeds - basis;
                }
                values_.shares = shares;
                values_.total_cost = cost == kNoValue ? basis : cost;
                values_.proceeds = proceeds;
                values_.gain = proceeds - basis;
                values_.market_price = t.price;
            } else {
                Linset(values_, shares, t.amount, 0, cost, 0);
            }
            Detlin(sec, PriceFactor(sec.type), covered, t.tax_lot.substr(0, 2), t.trade_date,
                   PurchaseDate(t.lot_date));
            return true;
        },
        [&] {
            std::string value = NumberText(totals.value, "(F16.2)", 16, false);
            Dollar(value, 16);
            std::string gain(16, ' ');
            if (covered) {
                gain = NumberText(totals.gain, "(F15.2,'  ')", 15, true);
                int16_t flag = 0;
                Putdl2(gain, 16, flag);
            }
            frame_.Write("(5X,'Total',28X,A16,15X,A16,10X,A16)", Items()
                                                                     .Text(SharesTotal(totals.shares), 16, 1)
                                                                     .Text(value.substr(0, 16), 16, 1)
                                                                     .Text(gain.substr(0, 16), 16, 1));
        });
}

int ChangesRun::Othsec() {
    int count = 0;
    for (const Section s :
         {Section::kSoldShort, Section::kCoveredShort, Section::kAdditions, Section::kWithdrawals})
        count += OtherSection(s);
    return count;
}

// A balance line: "$", one blank, the amount, a negative one in brackets.
std::string BalanceText(double balance) {
    std::string text = NumberText(balance, "(F15.2,' ')", 15, false);
    Dollar(text, 15);
    records::Brackt(text, 15);
    return text.substr(0, 16);
}

void ChangesRun::Account() {
    page_ = 0;
    Pchead();
    Colhdr();
    const bool balances = records::OptionOn(options_, records::Opt::kCashBalances);
    double closing = 0;
    if (balances) {
        const std::string period = Datrng(start_, end_);
        const double opening = Cshbal(account_, period.substr(0, 8), true);
        closing = Cshbal(account_, period.substr(11, 8), false);
        frame_.Blank();
        frame_.Write("(12X,'OPENING BALANCE',35X,A16)", Items().Text(BalanceText(opening), 16, 1));
        frame_.Blank();
        lines_ = static_cast<int16_t>(lines_ + 4);
    }
    int count = Pursec();
    count += Salsec();
    count += Incsec();
    count += Othsec();
    if (count == 0) {
        frame_.Blank();
        frame_.Blank();
        frame_.Write("(1X,'There are no applicable transactions.')");
    }
    if (balances) frame_.Write("(12X,'CLOSING BALANCE',35X,A16)", Items().Text(BalanceText(closing), 16, 1));
}

}  // namespace

std::string Datrng(float start, float end) {
    std::string text;
    for (const float number : {start, end}) {
        const records::DateNumberParts parts = records::SplitDateNumber(std::lround(number));
        std::string date(8, ' ');
        int16_t y = static_cast<int16_t>(parts.year);
        records::Wrdate(date, static_cast<int16_t>(parts.month), static_cast<int16_t>(parts.day), y);
        if (!text.empty()) text += " - ";
        text += date;
    }
    return text;
}

double Cshbal(std::string_view account, std::string_view date, bool before) {
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;
    records::Redate(date, month, day, year);
    const float as_of = records::WindowedDateNumber(month, day, year);
    int16_t status = 0;
    engine::Creatt(records::Fixed(account, 8), std::string(8, ' '), as_of, 0, before ? 1 : 0, status);
    double balance = 0;
    LotIterator lots(records::TrimRight(engine::HoldingsWorkName()));
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot))
        if (lot.holding_key == 0 || lot.security_record == 1) balance += lot.cost;
    return balance;
}

void Putdl2(std::string& text, int n, int16_t& flag) {
    records::DollarBeforeBlank(text, n - 1, flag);
}

void Shel42(int count, std::vector<std::string>& keys, std::vector<int16_t>& tags) {
    const int n = std::min<int>(count, static_cast<int>(std::min(keys.size(), tags.size())));
    auto before = [&](int a, int b) {  // key a orders strictly before key b
        const std::string& x = keys[static_cast<std::size_t>(a)];
        const std::string& y = keys[static_cast<std::size_t>(b)];
        for (std::size_t i = 0; i < 42; ++i) {
            const auto cx = static_cast<signed char>(i < x.size() ? x[i] : ' ');
            const auto cy = static_cast<signed char>(i < y.size() ? y[i] : ' ');
            if (cx != cy) return cx < cy;
        }
        return false;
    };
    for (int gap = n / 2; gap >= 1; gap /= 2)
        for (int i = 0; i + gap < n; ++i)
            for (int j = i; j >= 0; j -= gap) {
                if (before(j, j + gap)) break;
                std::swap(keys[static_cast<std::size_t>(j)], keys[static_cast<std::size_t>(j + gap)]);
                std::swap(tags[static_cast<std::size_t>(j)], tags[static_cast<std::size_t>(j + gap)]);
            }
}

void Portchng(std::string_view selection, std::string_view manager, std::string& account,
              std::string_view start, std::string_view end, std::string_view security,
              std::string_view output_name, int /*name_length*/) {
    const records::Options options = records::Rdopts();
    float program_date = 0;
    {
        records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
        records::Record rec;
        if (common.Read(records::kProgramDateRecord, rec)) program_date = rec.R4(8);
    }
    const bool all = records::Fixed(selection, 4) == "A   ";
    std::string start_text = records::Fixed(start, 8);
    std::string end_text = records::Fixed(end, 8);
    float start_number = 0;
    float end_number = 0;
    int16_t mode = 0;
    int16_t error = 0;
    records::Ckdate(start_text, mode, error, start_number, 100, 1991231);
    records::Ckdate(end_text, mode, error, end_number, start_number, program_date);

    ReportFrame frame(output_name, /*copy=*/true);
    const AccountWalk walk = WalkAccounts();
    if (!walk.count_read) {
        frame.Stop(UnreadableLine("ACCOUNT.IDX", 1));
        return;
    }
    std::vector<std::pair<std::string, std::string>> chosen;  // identifier, name
    if (all) {
        records::DirectFile accounts("ACCOUNT.REC", 128, /*create=*/false);
        for (const AccountEntry& entry : walk.accounts) {
            records::Record rec;
            if (!accounts.Read(entry.first_record + 1, rec)) continue;
            if (!ManagerMatches(manager, rec.Text(16, 4))) continue;
            chosen.emplace_back(entry.id, rec.Text(52, 32));
        }
    } else {
        const AccountPlace place = Gtacnm(records::Fixed(account, 8));
        if (place.position > 0) chosen.emplace_back(records::Fixed(account, 8), place.short_name);
    }
    for (const auto& [id, name] : chosen) {
        ChangesRun run(frame, options, id, name, start_number, end_number, std::string(security));
        run.Account();
        account = id;
    }
    if (all && walk.failed_record > 0) frame.Stop(UnreadableLine("ACCOUNT.IDX", walk.failed_record));
}

}  // namespace reports
