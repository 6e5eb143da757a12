#include "bench/firm_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/seeded_random.h"
#include "bench/synthetic_firm.h"
#include "engine/update.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "tests/fixtures/report_data.h"
#include "tests/tools/sample_firm.h"

namespace bench {

namespace {

using records::Record;

using Random = SeededRandom;

constexpr int kMonths = 36;                                             // January 1996 to December 1998
constexpr int kFirstBond = kGeneratedSecurities - kGeneratedBonds + 1;  // entries 202-300 are bonds

double RoundTo(double value, double step) {
    return std::round(value / step) * step;
}

double Cents(double value) {
    return std::round(value * 100) / 100;
}

bool IsBond(int entry) {
    return entry >= kFirstBond;
}

// The securities: entry 1 the cash, then 200 common stocks in the ten
// industry categories, then the bonds (treasury notes, agency, corporate
// and municipal bonds) with maturities from 1999 to 2028.
std::vector<fixtures::SecurityEntry> Securities() {
    std::vector<fixtures::SecurityEntry> list;
    fixtures::SecurityEntry cash;
    cash.symbol = "CASH";
    cash.description1 = "CASH";
    cash.type = "1";
    list.push_back(cash);
    char text[64];
    for (int entry = 2; entry < kFirstBond; ++entry) {
        fixtures::SecurityEntry e;
        std::snprintf(text, sizeof text, "STK%03d", entry - 1);
        e.symbol = text;
        std::snprintf(text, sizeof text, "%09d", 100000000 + entry * 7919);
        e.cusip = text;
        std::snprintf(text, sizeof text, "GENERATED COMPANY %03d", entry - 1);
        e.description1 = text;
        e.type = "H";
        std::snprintf(text, sizeof text, "%02d", 1 + entry % 10);
        e.category = text;
        e.rate = static_cast<float>(0.20 + 0.04 * (entry % 60));  // annual dividend a share
        list.push_back(e);
    }
    static const char* const kBondTypes[] = {"5", "W", "B", "7"};
    static const char* const kBondNames[] = {"U S TREASURY NOTE", "FEDERAL AGENCY BOND", "CORPORATE BOND",
                                             "MUNICIPAL BOND"};
    for (int entry = kFirstBond; entry <= kGeneratedSecurities; ++entry) {
        const int k = entry - kFirstBond;
        fixtures::SecurityEntry e;
        std::snprintf(text, sizeof text, "BND%03d", k + 1);
        e.symbol = text;
        std::snprintf(text, sizeof text, "%09d", 300000000 + entry * 7717);
        e.cusip = text;
        e.type = kBondTypes[k % 4];
        e.description1 = kBondNames[k % 4];
        // The coupon in thousandths of a percent, written without the
        // locale's decimal point.
        const int coupon = 4000 + 125 * (k % 33);
        e.rate = static_cast<float>(coupon / 1000.0);
        std::snprintf(text, sizeof text, "%d.%03d%% DUE %d", coupon / 1000, coupon % 1000, 1999 + k % 30);
        e.description2 = text;
        std::snprintf(text, sizeof text, "%02d/15/%02d", 1 + k % 12, (99 + k % 30) % 100);
        e.maturity = text;
        e.coupon_date = e.maturity;  // coupons on the maturity's month and day, every six months
        e.moody_rating = k % 3 == 0 ? "Aaa" : k % 3 == 1 ? "A1" : "Baa2";
        e.sp_rating = k % 3 == 0 ? "AAA" : k % 3 == 1 ? "A+" : "BBB";
        list.push_back(e);
    }
    return list;
}

// prices[month][entry - 1] for the month-ends of January 1996 (0) to
// December 1998 (35); stocks in sixteenths, bonds per 100 of face value in
// thirty-seconds.
std::vector<std::vector<double>> Prices(Random& random) {
    std::vector<std::vector<double>> table(kMonths, std::vector<double>(kGeneratedSecurities, 1.0));
    for (int entry = 2; entry <= kGeneratedSecurities; ++entry) {
        double price = IsBond(entry) ? 95.0 + random.Between(0, 100) / 10.0 : random.Between(10, 120);
        for (int m = 0; m < kMonths; ++m) {
            const double shock = random.Uniform() - 0.5;
            price *= IsBond(entry) ? 1.0 + 0.01 * shock : 1.01 + 0.12 * shock;
            table[static_cast<std::size_t>(m)][static_cast<std::size_t>(entry - 1)] =
                IsBond(entry) ? RoundTo(price, 0.03125) : std::max(0.0625, RoundTo(price, 0.0625));
        }
    }
    return table;
}

int DaysIn(int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && year % 4 == 0 ? 29 : days[month - 1];
}

std::string DateText(int month, int day, int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", month, day, year % 100);
    return text;
}

struct Day {
    std::string text;  // as the posting routines file it (" 1/ 2/96")
    float number = 0;
    int month_index = 0;  // 0-35
    int day = 0;
};

// The weekdays from 01/02/96 to 12/31/98.
std::vector<Day> TradingDays() {
    std::vector<Day> days;
    int weekday = 1;  // 01/01/96 was a Monday (0 Sunday)
    for (int year = 1996; year <= 1998; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= DaysIn(month, year); ++day, weekday = (weekday + 1) % 7) {
                if ((year == 1996 && month == 1 && day == 1) || weekday == 0 || weekday == 6) continue;
                Day d;
                int16_t yy = static_cast<int16_t>(year % 100);
                records::Wrdate(d.text, static_cast<int16_t>(month), static_cast<int16_t>(day), yy);
                d.number = records::WindowedDateNumber(month, day, year % 100);
                d.month_index = (year - 1996) * 12 + month - 1;
                d.day = day;
                days.push_back(d);
            }
    return days;
}

// What an account's generator needs of the market.
struct Market {
    std::vector<fixtures::SecurityEntry> securities;
    std::vector<double> keys;  // holding key of each entry
    std::vector<std::vector<double>> prices;
    std::vector<Day> days;

    // A price within the month: between the month-ends around it.
    double TradePrice(int entry, const Day& day) const {
        const std::size_t s = static_cast<std::size_t>(entry - 1);
        const double after = prices[static_cast<std::size_t>(day.month_index)][s];
        const double before =
            day.month_index == 0 ? after : prices[static_cast<std::size_t>(day.month_index - 1)][s];
        const double price = before + (after - before) * day.day / 31.0;
        return IsBond(entry) ? RoundTo(price, 0.03125) : std::max(0.0625, RoundTo(price, 0.0625));
    }
};

struct OpenLot {
    int entry;
    std::string code;
    double quantity;
    float opened;  // date number of the purchase
};

const char* const kBrokers[] = {"ALDEN", "BAXTER", "CORWIN"};
const char* const kManagers[] = {"AB", "CD", "EF"};
const char* const kCustodians[] = {"FIRSTTR", "HARBOR"};

class AccountWriter {
public:
    AccountWriter(const Market& market, uint64_t seed, int index)
        : market_(market),
          random_(seed * 1000003 + static_cast<uint64_t>(index)),
          broker_(kBrokers[index % 3]) {}

    std::vector<Record> Transactions(int count) {
        const std::vector<Day>& days = market_.days;
        const double opening = 500000 + 10000.0 * random_.Between(0, 150);
        Cash("FI  ", 1, days.front(), opening, "OPENING DEPOSIT");
        cash_ = opening;
        for (int i = 1; i < count; ++i) {
            const Day& day =
                days[static_cast<std::size_t>(static_cast<long>(i) * static_cast<long>(days.size()) / count)];
            const int roll = random_.Between(0, 99);
            if (roll < 30) {
                if (!Buy(day)) Deposit(day);
            } else if (roll < 52) {
                if (!Sell(day) && !Buy(day)) Deposit(day);
            } else if (roll < 66) {
                if (!Income(day, false)) Deposit(day);
            } else if (roll < 76) {
                if (!Income(day, true)) Deposit(day);
            } else if (roll < 88 || cash_ < 20000) {
                Deposit(day);
            } else {
                const double amount = 1000.0 * random_.Between(1, 15);
                Cash("FO  ", 1, day, amount, "WITHDRAWAL");
                cash_ -= amount;
            }
        }
        return std::move(records_);
    }

private:
    void Add(const records::TransactionRecord& t) {
        Record rec(records::kAccountRecordLength, 0);
        t.Encode(rec);
        records_.push_back(rec);
    }

    // A cash transaction as the cash posting files it: the security (CASH
    // for deposits and withdrawals) and the text in field 18.
    void Cash(const char* code, int entry, const Day& day, double amount, const std::string& text) {
        records::TransactionRecord t;
        const fixtures::SecurityEntry& sec = market_.securities[static_cast<std::size_t>(entry - 1)];
        t.symbol = records::Fixed(sec.symbol, 12);
        t.trade_date = day.text;
        t.code = code;
        t.quantity = -99999.99;
        t.price = -999.99f;
        t.amount = Cents(amount);
        t.date_number = day.number;
        t.holding_key = market_.keys[static_cast<std::size_t>(entry - 1)];
        t.security_record = static_cast<int16_t>(entry);
        t.SetCashText(text);
        Add(t);
    }

    void Deposit(const Day& day) {
        const double amount = 5000.0 * random_.Between(1, 20);
        Cash("FI  ", 1, day, amount, "ADDITIONAL DEPOSIT");
        cash_ += amount;
    }

    // A trade as the trade posting files it.
    records::TransactionRecord Trade(const char* code, int entry, const std::string& lot, const Day& day,
                                     double quantity, double price, double commission, double amount) {
        records::TransactionRecord t;
        const fixtures::SecurityEntry& sec = market_.securities[static_cast<std::size_t>(entry - 1)];
        t.symbol = records::Fixed(sec.symbol, 12);
        t.tax_lot = records::Fixed(lot, 4);
        t.trade_date = day.text;
        t.code = code;
        t.quantity = quantity;
        t.price = static_cast<float>(price);
        t.amount = amount;
        t.broker = records::Fixed(broker_, 8);
        t.commission = commission;
        t.date_number = day.number;
        t.holding_key = market_.keys[static_cast<std::size_t>(entry - 1)];
        t.security_record = static_cast<int16_t>(entry);
        t.SetTradeExtra("", 0);
        return t;
    }

    static double Value(int entry, double quantity, double price) {
        return IsBond(entry) ? quantity * price / 100.0 : quantity * price;
    }

    bool Buy(const Day& day) {
        const int entry = random_.Between(0, 2) == 0 ? random_.Between(kFirstBond, kGeneratedSecurities)
                                                     : random_.Between(2, kFirstBond - 1);
        const double price = market_.TradePrice(entry, day);
        const double budget = cash_ * (0.02 + 0.08 * random_.Uniform());
        double quantity = 0, commission = 0;
        if (IsBond(entry)) {
            quantity = std::floor(budget / (price / 100.0) / 5000.0) * 5000.0;
        } else {
            quantity = std::floor(budget / price / 10.0) * 10.0;
            commission = Cents(quantity * 0.05) + 25.0;
        }
        if (quantity <= 0) return false;
        const double amount = Cents(Value(entry, quantity, price) + commission);
        if (amount > cash_) return false;
        const std::string lot = std::to_string(++lot_numbers_[entry]);
        records::TransactionRecord t = Trade("B   ", entry, lot, day, quantity, price, commission, amount);
        t.lot_date = day.text;
        t.lot_cost = amount;
        Add(t);
        cash_ -= amount;
        lots_.push_back({entry, lot, quantity, day.number});
        return true;
    }

    // A lot bought before the day, at random; -1 when there is none.
    long PickLot(const Day& day, int bonds) {
        if (lots_.empty()) return -1;
        for (int tries = 0; tries < 8; ++tries) {
            const std::size_t at =
                static_cast<std::size_t>(random_.Between(0, static_cast<int>(lots_.size()) - 1));
            const OpenLot& lot = lots_[at];
            if (lot.opened >= day.number) continue;
            if (bonds >= 0 && IsBond(lot.entry) != (bonds == 1)) continue;
            return static_cast<long>(at);
        }
        return -1;
    }

    // A whole or partial sale of a lot bought earlier.
    bool Sell(const Day& day) {
        const long at = PickLot(day, -1);
        if (at < 0) return false;
        OpenLot& lot = lots_[static_cast<std::size_t>(at)];
        const double step = IsBond(lot.entry) ? 5000.0 : 10.0;
        double quantity = lot.quantity;
        if (random_.Between(0, 1) == 0) quantity = std::floor(lot.quantity / 2.0 / step) * step;
        if (quantity <= 0) quantity = lot.quantity;
        const double price = market_.TradePrice(lot.entry, day);
        const double commission = IsBond(lot.entry) ? 0.0 : Cents(quantity * 0.05) + 25.0;
        const double amount = Cents(Value(lot.entry, quantity, price) - commission);
        records::TransactionRecord t =
            Trade("S   ", lot.entry, lot.code, day, quantity, price, commission, amount);
        t.lot_cost = static_cast<float>(-99999.99);
        Add(t);
        cash_ += amount;
        lot.quantity -= quantity;
        if (lot.quantity <= 0) {
            lots_[static_cast<std::size_t>(at)] = lots_.back();
            lots_.pop_back();
        }
        return true;
    }

    // A quarter's dividend on a stock lot held, or half a year's interest
    // on a bond lot held.
    bool Income(const Day& day, bool interest) {
        const long at = PickLot(day, interest ? 1 : 0);
        if (at < 0) return false;
        const OpenLot& lot = lots_[static_cast<std::size_t>(at)];
        const fixtures::SecurityEntry& sec = market_.securities[static_cast<std::size_t>(lot.entry - 1)];
        const double amount =
            std::max(0.01, Cents(lot.quantity * static_cast<double>(sec.rate) / (interest ? 200.0 : 4.0)));
        Cash(interest ? "II  " : "DI  ", lot.entry, day, amount, sec.symbol);
        cash_ += amount;
        return true;
    }

    const Market& market_;
    Random random_;
    const char* broker_;
    double cash_ = 0;
    std::vector<OpenLot> lots_;
    std::map<int, int> lot_numbers_;
    std::vector<Record> records_;
};

// The holding key of each security, as the update of the data base makes
// it from the security's record.
std::vector<double> HoldingKeys(std::size_t count) {
    std::vector<double> keys;
    records::DirectFile file("SECURITY.REC", records::kAccountRecordLength, false);
    Record rec(records::kAccountRecordLength, 0);
    for (std::size_t k = 1; k <= count; ++k) {
        file.Read(static_cast<long>(k), rec);
        keys.push_back(engine::Trnkey(engine::CurrentSecurity::FromRecord(rec, static_cast<int16_t>(k))));
    }
    return keys;
}

}  // namespace

GeneratedFirm WriteGeneratedFirm(const GeneratedFirmShape& shape) {
    GeneratedFirm firm;
    if (shape.accounts < 1 || shape.accounts > 99999 || shape.transactions < 2 ||
        shape.transactions > 32766) {
        firm.error = "accounts must lie between 1 and 99999, transactions between 2 and 32766";
        return firm;
    }
    Random random(shape.seed);

    fixtures::WriteFirmHeading("LEDRA BENCHMARK ADVISERS", 0, 0);
    records::Setsdt(kGeneratedFirmDate);
    records::Wropts(records::Options{});
    sample::WriteTypeAndCategoryNames();
    sample::WriteManagersBrokersCustodians();

    Market market;
    market.securities = Securities();
    fixtures::WriteSecurityFiles(market.securities);
    market.keys = HoldingKeys(market.securities.size());
    market.prices = Prices(random);
    for (int m = 0; m < kMonths; ++m) {
        const int month = m % 12 + 1, year = 1996 + m / 12;
        fixtures::WritePrices(DateText(month, DaysIn(month, year), year),
                              market.prices[static_cast<std::size_t>(m)]);
    }
    market.days = TradingDays();

    std::vector<fixtures::ClientFields> clients;
    for (int n = 1; n <= shape.accounts; ++n) {
        fixtures::ClientFields c;
        c.id = Id(n);
        c.address = {"CLIENT " + c.id, "100 MAIN STREET", "BOSTON MA 02116", "", ""};
        c.manager = kManagers[(n - 1) % 3];
        c.salutation = "Dear Client:";
        c.short_name = "CLIENT " + c.id;
        c.opened = "01/02/96";
        c.custodian_account = c.id + "-0001";
        c.custodian = kCustodians[(n - 1) % 2];
        c.broker = kBrokers[(n - 1) % 3];
        c.objective = "TR";
        clients.push_back(c);
        firm.accounts.push_back(c.id);
    }
    fixtures::WriteClients(clients);

    for (int n = 0; n < shape.accounts; ++n) {
        AccountWriter writer(market, shape.seed, n);
        const std::vector<Record> transactions = writer.Transactions(shape.transactions);
        std::vector<unsigned char> bytes;
        Record header(records::kAccountRecordLength, 0);
        records::TransactionFileHeader{static_cast<int16_t>(transactions.size() + 1)}.Encode(header);
        Append(bytes, header);
        for (const Record& rec : transactions) Append(bytes, rec);
        if (!records::ReplaceFile(records::Paknam(firm.accounts[static_cast<std::size_t>(n)], "TR", ".REC"),
                                  bytes)) {
            firm.error = "cannot write the transactions of " + firm.accounts[static_cast<std::size_t>(n)];
            return firm;
        }
        firm.transactions += static_cast<long>(transactions.size());
    }

    // The holdings and gains files, made by the update of the data base;
    // its report on a sound firm is its heading. It starts and ends its
    // own run of the work file.
    engine::Getacc();
    {
        // The work file holds 132-character lines without line ends.
        std::ifstream work(records::kReportWorkFile, std::ios::binary);
        std::string line(records::kReportLineWidth, ' ');
        while (work.read(line.data(), static_cast<std::streamsize>(line.size())))
            if (line.find("***") != std::string::npos) firm.error += records::TrimRight(line) + "\n";
    }
    std::error_code error;
    std::filesystem::remove(records::kReportWorkFile, error);
    return firm;
}

}  // namespace bench
