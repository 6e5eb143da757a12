#include "tests/tools/sample_firm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/account_sort.h"
#include "engine/cash_posting.h"
#include "engine/entry_form.h"
#include "engine/trade_posting.h"
#include "engine/transfer_posting.h"
#include "engine/update.h"
#include "engine/value_history.h"
#include "pricing/dividend_split_files.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/letterhead.h"
#include "records/manager_table.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_types.h"
#include "reports/appraisal/working_appraisal.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace sample {

namespace {

// ---- A seeded generator of its own, so that the sample is the same on
// every machine and with every standard library.

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform integer in [low, high].
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    bool Chance(double p) { return Uniform() < p; }

private:
    uint64_t state_;
};

// ---- Calendar: months 0 to 35 are January 1996 to December 1998.

constexpr int kMonths = 36;
// WMT splits two for one on 04/20/98: its price halves in April 1998.
constexpr int kSplitMonth = 27;
constexpr int kSplitDay = 20;

int YearOf(int month) {
    return 1996 + month / 12;
}
int MonthOf(int month) {
    return month % 12 + 1;
}

int DaysIn(int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int m = MonthOf(month);
    const int y = YearOf(month);
    return m == 2 && y % 4 == 0 ? 29 : days[m - 1];
}

std::string Date(int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", MonthOf(month), day, YearOf(month) % 100);
    return text;
}

std::string MonthEnd(int month) {
    return Date(month, DaysIn(month));
}

std::string Number(double value, int decimals = 4) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

double RoundTo(double value, double step) {
    return std::round(value / step) * step;
}

// ---- Industry categories

const char* const kCategories[] = {
    "TECHNOLOGY",  "ENERGY",    "FINANCIAL SERVICES", "CONSUMER STAPLES", "HEALTH CARE",
    "INDUSTRIALS", "UTILITIES", "TELECOMMUNICATIONS", "BASIC MATERIALS",  "RETAIL",
};

// ---- Securities

enum class Kind { kCash, kStock, kPreferred, kBond, kBill, kFund, kIndex };

struct Security {
    const char* symbol;
    const char* cusip;
    const char* description1;
    const char* description2;
    char type;
    int category;          // 1-10 for stocks; 0 none
    const char* maturity;  // MM/DD/YY for bonds
    float rate;            // coupon percent, or annual dividend a share
    const char* moody;
    const char* sp;
    Kind kind;
    double start_price;
    double drift;  // a month
    double volatility;
    bool traded = true;  // false: no account buys it
};

const std::vector<Security>& Securities() {
    static const std::vector<Security> list = {
        // Entry 1 is the cash security: no description beyond its name and
        // a rate of 0, as a new firm's security master starts with it.
        {"CASH", "", "CASH", "", '1', 0, "", 0.0f, "", "", Kind::kCash, 1, 0, 0, false},
        {"CASHMM", "MMF000001", "FIRM MONEY MARKET FUND", "", '1', 0, "", -999.99f, "", "", Kind::kCash, 1, 0,
         0, false},
        {"IBM", "459200101", "INTL BUSINESS MACHINES", "", 'H', 1, "", 1.60f, "", "", Kind::kStock, 75, 0.025,
         0.08},
        {"MSFT", "594918104", "MICROSOFT CORP", "", 'H', 1, "", 0.00f, "", "", Kind::kStock, 85, 0.03, 0.09},
        {"INTC", "458140100", "INTEL CORP", "", 'H', 1, "", 0.24f, "", "", Kind::kStock, 55, 0.025, 0.10},
        {"HWP", "428236103", "HEWLETT-PACKARD CO", "", 'H', 1, "", 0.64f, "", "", Kind::kStock, 48, 0.012,
         0.08},
        {"XON", "302290101", "EXXON CORP", "", 'H', 2, "", 1.64f, "", "", Kind::kStock, 40, 0.012, 0.04},
        {"MOB", "607059102", "MOBIL CORP", "", 'H', 2, "", 2.28f, "", "", Kind::kStock, 55, 0.01, 0.05},
        {"CHV", "166751107", "CHEVRON CORP", "", 'H', 2, "", 2.44f, "", "", Kind::kStock, 52, 0.01, 0.05},
        {"JPM", "616880100", "J P MORGAN & CO", "", 'H', 3, "", 3.80f, "", "", Kind::kStock, 78, 0.008, 0.06},
        {"BAC", "060505104", "BANKAMERICA CORP", "", 'H', 3, "", 1.52f, "", "", Kind::kStock, 48, 0.015,
         0.07},
        {"AXP", "025816109", "AMERICAN EXPRESS CO", "", 'H', 3, "", 0.90f, "", "", Kind::kStock, 42, 0.02,
         0.07},
        {"KO", "191216100", "COCA-COLA CO", "", 'H', 4, "", 0.60f, "", "", Kind::kStock, 37, 0.018, 0.05},
        {"PG", "742718109", "PROCTER & GAMBLE CO", "", 'H', 4, "", 1.14f, "", "", Kind::kStock, 41, 0.018,
         0.05},
        {"MO", "718154107", "PHILIP MORRIS COS", "", 'H', 4, "", 1.76f, "", "", Kind::kStock, 30, 0.01, 0.07},
        {"MRK", "589331107", "MERCK & CO", "", 'H', 5, "", 1.80f, "", "", Kind::kStock, 65, 0.02, 0.06},
        {"JNJ", "478160104", "JOHNSON & JOHNSON", "", 'H', 5, "", 1.00f, "", "", Kind::kStock, 43, 0.018,
         0.05},
        {"PFE", "717081103", "PFIZER INC", "", 'H', 5, "", 0.68f, "", "", Kind::kStock, 33, 0.03, 0.07},
        {"GE", "369604103", "GENERAL ELECTRIC CO", "", 'H', 6, "", 1.04f, "", "", Kind::kStock, 36, 0.022,
         0.05},
        {"MMM", "604059105", "MINNESOTA MNG & MFG", "", 'H', 6, "", 2.12f, "", "", Kind::kStock, 65, 0.008,
         0.05},
        {"BA", "097023105", "BOEING CO", "", 'H', 6, "", 0.56f, "", "", Kind::kStock, 40, 0.004, 0.07},
        {"DUK", "264399106", "DUKE ENERGY CORP", "", 'H', 7, "", 2.20f, "", "", Kind::kStock, 48, 0.008,
         0.04},
        {"SO", "842587107", "SOUTHERN CO", "", 'H', 7, "", 1.34f, "", "", Kind::kStock, 24, 0.006, 0.04},
        {"T", "001957109", "AT&T CORP", "", 'H', 8, "", 1.32f, "", "", Kind::kStock, 64, 0.004, 0.06},
        {"BEL", "077853109", "BELL ATLANTIC CORP", "", 'H', 8, "", 1.54f, "", "", Kind::kStock, 33, 0.012,
         0.05},
        {"DD", "263534109", "DU PONT E I DE NEMOURS", "", 'H', 9, "", 1.40f, "", "", Kind::kStock, 70, 0.008,
         0.06},
        {"AA", "013817101", "ALUMINUM CO OF AMERICA", "", 'H', 9, "", 1.00f, "", "", Kind::kStock, 53, 0.004,
         0.07},
        {"HD", "437076102", "HOME DEPOT INC", "", 'H', 10, "", 0.16f, "", "", Kind::kStock, 48, 0.025, 0.07},
        {"WMT", "931142103", "WAL-MART STORES INC", "", 'H', 10, "", 0.27f, "", "", Kind::kStock, 23, 0.03,
         0.06, false},
        {"BAC PRA", "060505708", "BANKAMERICA CORP", "7 7/8% CUM PFD SER A", 'P', 0, "", 1.97f, "A1", "A-",
         Kind::kPreferred, 25.5, 0.001, 0.02},
        {"DUK PRB", "264399601", "DUKE ENERGY CORP", "7.20% CUM PFD SER B", 'P', 0, "", 1.80f, "A2", "A",
         Kind::kPreferred, 25.2, 0.001, 0.015},
        {"FNMA", "313586AB5", "FEDERAL NATL MTG ASSN", "6.50% DEB", 'W', 0, "05/15/03", 6.50f, "AAA", "AAA",
         Kind::kBond, 99.5, 0.0005, 0.012},
        {"FHLB", "3133M1AC2", "FEDERAL HOME LOAN BANK", "6.00% BOND", 'W', 0, "08/15/01", 6.00f, "AAA", "AAA",
         Kind::kBond, 100.2, 0.0003, 0.01},
        {"T 6.25 02", "912827D25", "U S TREASURY NOTE", "6.25% DUE 2002", '5', 0, "02/15/02", 6.25f, "Aaa",
         "AAA", Kind::kBond, 101.0, 0.0005, 0.012},
        {"T 5.875 00", "912827W51", "U S TREASURY NOTE", "5.875% DUE 2000", '5', 0, "11/15/00", 5.875f, "Aaa",
         "AAA", Kind::kBond, 100.5, 0.0002, 0.008},
        {"T 7.5 16", "912810DW5", "U S TREASURY BOND", "7.50% DUE 2016", '5', 0, "11/15/16", 7.50f, "Aaa",
         "AAA", Kind::kBond, 112.0, 0.002, 0.025},
        {"B 97", "912794A44", "U S TREASURY BILL", "DUE 12/18/97", '3', 0, "12/18/97", -999.99f, "Aaa", "AAA",
         Kind::kBill, 95.2, 0.0015, 0.001, false},
        {"B 99", "912795B88", "U S TREASURY BILL", "DUE 06/17/99", '3', 0, "06/17/99", -999.99f, "Aaa", "AAA",
         Kind::kBill, 94.6, 0.0014, 0.001},
        {"GMAC 7 02", "370424DF4", "GENERAL MOTORS ACCEPT", "7.00% NOTE 2002", 'B', 0, "09/15/02", 7.00f,
         "A3", "A-", Kind::kBond, 99.0, 0.0008, 0.015},
        {"IBM 7.5 13", "459200AH4", "INTL BUSINESS MACHINES", "7.50% DEB 2013", 'B', 0, "06/15/13", 7.50f,
         "A1", "A", Kind::kBond, 101.5, 0.001, 0.02},
        {"FORD 6.5 05", "345370BR0", "FORD MOTOR CO", "6.50% NOTE 2005", 'B', 0, "08/01/05", 6.50f, "A1", "A",
         Kind::kBond, 98.0, 0.0009, 0.016},
        {"ATT 8.125 24", "001957AP4", "AT&T CORP", "8.125% DEB 2024", 'B', 0, "07/15/24", 8.125f, "A1", "AA",
         Kind::kBond, 104.0, 0.001, 0.022},
        {"DUK 6.75 25", "264399DK9", "DUKE POWER CO", "6.75% 1ST MTG 2025", 'B', 0, "08/01/25", 6.75f, "Aa2",
         "AA", Kind::kBond, 96.0, 0.0012, 0.02},
        {"NYC 5.5 08", "649656AB1", "NEW YORK N Y GO", "5.50% DUE 2008", '7', 0, "08/01/08", 5.50f, "Baa1",
         "BBB", Kind::kBond, 99.0, 0.0008, 0.012},
        {"CA 5 11", "130583CD4", "CALIFORNIA ST GO", "5.00% DUE 2011", '7', 0, "10/01/11", 5.00f, "A1", "A+",
         Kind::kBond, 97.5, 0.0009, 0.013},
        {"MAWTR 5.25 15", "575851AA3", "MASSACHUSETTS WTR RES", "5.25% REV 2015", '7', 0, "12/01/15", 5.25f,
         "A1", "A", Kind::kBond, 98.0, 0.0009, 0.014},
        {"TXPSF 6 07", "882722AB8", "TEXAS PUB SCH FIN", "6.00% PSF 2007", '7', 0, "02/15/07", 6.00f, "Aaa",
         "AAA", Kind::kBond, 102.0, 0.0006, 0.01},
        {"GNMA 7 26", "36202CAB9", "GOVT NATL MTG ASSN", "7.00% POOL 2026", '6', 0, "04/15/26", 7.00f, "AAA",
         "AAA", Kind::kBond, 99.0, 0.0006, 0.012},
        {"MAGFX", "921908109", "MAGELLAN GROWTH FUND", "", 'J', 0, "", 0.40f, "", "", Kind::kFund, 82, 0.018,
         0.05},
        {"VFINX", "922908108", "INDEX 500 FUND", "", 'J', 0, "", 1.40f, "", "", Kind::kFund, 61, 0.022,
         0.045},
        {"AGTHX", "399874106", "GROWTH FUND OF AMERICA", "", 'J', 0, "", 0.30f, "", "", Kind::kFund, 24, 0.02,
         0.05},
        {"VBMFX", "921937108", "TOTAL BOND MARKET FUND", "", 'L', 0, "", 0.66f, "", "", Kind::kFund, 9.9,
         0.002, 0.01},
        {"PTTRX", "693390700", "TOTAL RETURN BOND FUND", "", 'L', 0, "", 0.70f, "", "", Kind::kFund, 10.2,
         0.002, 0.01},
        {"SPX", "", "S&P 500 INDEX", "", 'T', 0, "", -999.99f, "", "", Kind::kIndex, 615.93, 0.022, 0.04,
         false},
        {"DJIA", "", "DOW JONES INDUSTRIAL AVG", "", 'T', 0, "", -999.99f, "", "", Kind::kIndex, 5117.12,
         0.02, 0.04, false},
    };
    return list;
}

// The entry of an identifier in the firm's security list (from 1).
int EntryOf(std::string_view symbol) {
    const auto& list = Securities();
    for (std::size_t s = 0; s < list.size(); ++s)
        if (symbol == list[s].symbol) return static_cast<int>(s + 1);
    return 0;
}

// Days from one date to another on the 30/360 basis: every month counts
// 30 days, a 31st counts as the 30th (at the end only when the start is a
// 30th or 31st too).
int Days360(int year1, int month1, int day1, int year2, int month2, int day2) {
    if (day1 == 31) day1 = 30;
    if (day2 == 31 && day1 == 30) day2 = 30;
    return (year2 - year1) * 360 + (month2 - month1) * 30 + (day2 - day1);
}

// The yield to maturity of a bond at a price per 100 of face value on a
// settlement day, in percent: the rate at which its coupons (half the
// annual rate every six months, on the maturity's month and day) and its
// redemption at 100, discounted half-yearly, are worth the price plus the
// interest accrued since the last coupon, days counted 30/360. Solved by
// halving the interval: the worth falls as the rate rises.
double BondYield(const Security& sec, double price, int year, int month, int day) {
    const std::string maturity(sec.maturity);
    int coupon_year = records::FourDigitYear(std::stoi(maturity.substr(6, 2)));
    int coupon_month = std::stoi(maturity.substr(0, 2));
    const int coupon_day = std::stoi(maturity.substr(3, 2));
    // Back from the maturity to the last coupon on or before the day,
    // counting the coupons still to come.
    int coupons = 0;
    const auto after = [&] {
        return std::tie(coupon_year, coupon_month, coupon_day) > std::tie(year, month, day);
    };
    while (after()) {
        ++coupons;
        coupon_month -= 6;
        if (coupon_month < 1) {
            coupon_month += 12;
            --coupon_year;
        }
    }
    const double period = 180.0;
    const double accrued_days = Days360(coupon_year, coupon_month, coupon_day, year, month, day);
    const double to_next = (period - accrued_days) / period;  // of a period, to the next coupon
    const double coupon = sec.rate / 2.0;
    const auto worth = [&](double yield) {
        const double discount = 1.0 / (1.0 + yield / 2.0);
        double sum = 100.0 * std::pow(discount, coupons - 1 + to_next);
        for (int k = 1; k <= coupons; ++k) sum += coupon * std::pow(discount, k - 1 + to_next);
        return sum - coupon * accrued_days / period;
    };
    double low = -0.5, high = 1.0;
    for (int step = 0; step < 100; ++step) {
        const double middle = (low + high) / 2.0;
        (worth(middle) > price ? low : high) = middle;
    }
    return (low + high) / 2.0 * 100.0;
}

// The yield to maturity the firm keeps for a bond or bill, in percent. A
// bond's, and a bill's still to mature, is its yield at its price of the
// firm's last month end (`last_price`; a bill pays no coupon), so that the
// reports of that date show the yield of the price they show; a bill that
// matured before then keeps its discount over its first price for the
// year. 0 for the others.
float YieldToMaturity(const Security& sec, double last_price) {
    Security priced = sec;
    if (sec.kind == Kind::kBill) {
        const std::string maturity(sec.maturity);
        const int year = records::FourDigitYear(std::stoi(maturity.substr(6, 2)));
        if (year <= YearOf(kMonths - 1)) {
            const double price = sec.start_price;
            return static_cast<float>(RoundTo((100.0 - price) / price * 100.0, 0.01));
        }
        priced.rate = 0;  // a bill's stored rate is the "none" mark
    } else if (sec.kind != Kind::kBond) {
        return 0;
    }
    const double yield =
        BondYield(priced, last_price, YearOf(kMonths - 1), MonthOf(kMonths - 1), DaysIn(kMonths - 1));
    return static_cast<float>(RoundTo(yield, 0.01));
}

bool IsFixedIncome(char type) {
    return std::string_view("34567BDFWXY").find(type) != std::string_view::npos;
}

// The month-end prices: prices[month + 1][entry - 1], month -1 being
// December 1995.
using PriceTable = std::vector<std::vector<double>>;

PriceTable MakePrices(Random& random) {
    const auto& list = Securities();
    PriceTable table(kMonths + 1, std::vector<double>(list.size(), 0));
    for (std::size_t s = 0; s < list.size(); ++s) {
        const Security& sec = list[s];
        double price = sec.start_price;
        for (int m = -1; m < kMonths; ++m) {
            if (m >= 0) {
                const double shock = (random.Uniform() + random.Uniform() + random.Uniform() - 1.5) * 2.0;
                price *= 1.0 + sec.drift + sec.volatility * shock;
                if (sec.kind == Kind::kBill) price = std::min(price, 99.9);
                // The split entered for posting: its price halves in April 1998.
                if (std::string_view(sec.symbol) == "WMT" && m == kSplitMonth) price /= 2.0;
            }
            double stored = price;
            switch (sec.kind) {
                case Kind::kCash:
                    stored = 1.0;
                    break;
                case Kind::kStock:
                case Kind::kPreferred:
                    stored = RoundTo(price, 0.0625);
                    break;
                case Kind::kBond:
                case Kind::kBill:
                    stored = RoundTo(price, 0.03125);
                    break;
                case Kind::kFund:
                case Kind::kIndex:
                    stored = RoundTo(price, 0.01);
                    break;
            }
            table[static_cast<std::size_t>(m + 1)][s] = stored;
        }
    }
    return table;
}

// ---- Accounts

enum class Style { kGrowth, kIncome, kBalanced, kFunds };

struct Client {
    const char* id;
    const char* name;
    const char* salutation;
    const char* manager;
    const char* broker;
    const char* custodian;
    const char* objective;
    Style style;
    int opened_month;  // 0-35
    double deposit;
};

const std::vector<Client>& Clients() {
    static const std::vector<Client> list = {
        {"SMITH1", "SMITH FAMILY TRUST", "Dear Mr. and Mrs. Smith:", "AB", "ALDEN", "FTRUST", "TR",
         Style::kBalanced, 0, 850000},
        {"JONES", "MARY JONES IRA", "Dear Ms. Jones:", "CD", "BAXTER", "HARBOR", "CI", Style::kIncome, 5,
         240000},
        {"ADAMS", "ADAMS FOUNDATION", "Dear Trustees:", "AB", "ALDEN", "FTRUST", "CG", Style::kGrowth, 0,
         1200000},
        {"BAKER", "ROBERT BAKER", "Dear Mr. Baker:", "AB", "CORWIN", "HARBOR", "AG", Style::kGrowth, 0,
         420000},
        {"CLARK", "CLARK PENSION PLAN", "Dear Mr. Clark:", "CD", "BAXTER", "FTRUST", "TR", Style::kBalanced,
         0, 960000},
        {"DAVIS", "ELEANOR DAVIS", "Dear Mrs. Davis:", "CD", "ALDEN", "HARBOR", "CI", Style::kIncome, 0,
         610000},
        {"EVANS", "EVANS CHILDREN'S TRUST", "Dear Mr. Evans:", "EF", "CORWIN", "FTRUST", "CG", Style::kFunds,
         0, 180000},
        {"FOSTER", "FOSTER & CO PROFIT SHARING", "Dear Ms. Foster:", "EF", "BAXTER", "HARBOR", "TR",
         Style::kBalanced, 2, 730000},
        {"GARCIA", "LUIS AND ANA GARCIA", "Dear Mr. and Mrs. Garcia:", "AB", "ALDEN", "FTRUST", "CG",
         Style::kGrowth, 0, 390000},
        {"HARRIS", "HARRIS MEDICAL GROUP 401K", "Dear Dr. Harris:", "EF", "CORWIN", "HARBOR", "TR",
         Style::kFunds, 0, 520000},
        {"IRWIN", "JAMES IRWIN ROLLOVER IRA", "Dear Mr. Irwin:", "CD", "BAXTER", "FTRUST", "CI",
         Style::kIncome, 14, 310000},
        {"KELLER", "KELLER FAMILY LP", "Dear Mr. Keller:", "AB", "ALDEN", "HARBOR", "AG", Style::kGrowth, 0,
         1500000},
        {"LEWIS", "ST LUKE'S ENDOWMENT", "Dear Father Lewis:", "CD", "CORWIN", "FTRUST", "TR",
         Style::kBalanced, 0, 2100000},
        {"MILLER", "ANNE MILLER", "Dear Ms. Miller:", "EF", "BAXTER", "HARBOR", "CI", Style::kIncome, 0,
         275000},
        {"NELSON", "NELSON CHARITABLE TRUST", "Dear Trustees:", "EF", "ALDEN", "FTRUST", "CG",
         Style::kBalanced, 21, 640000},
        {"OWENS", "PETER OWENS", "Dear Mr. Owens:", "AB", "CORWIN", "HARBOR", "AG", Style::kGrowth, 0,
         350000},
        {"PARKER", "PARKER SCHOOL FUND", "Dear Ms. Parker:", "CD", "BAXTER", "FTRUST", "TR", Style::kFunds, 0,
         460000},
        {"QUINN", "QUINN 1994 IRREVOCABLE TRUST", "Dear Mr. Quinn:", "EF", "ALDEN", "HARBOR", "CI",
         Style::kIncome, 0, 800000},
    };
    return list;
}

// ---- Posting through the transaction dialogs' routines

using PostFn = void (*)(engine::PostingMode, int32_t&, engine::EntryForm&);

struct Lot {
    int security;  // index into Securities()
    std::string lot;
    double quantity;  // shares, or face value
    double cost;
    bool is_short = false;
    int month = -1;  // month bought: a sale comes in a later month
};

struct Book {
    const Client* client = nullptr;
    double cash = 0;
    std::vector<Lot> lots;
    std::map<int, int> lot_numbers;  // next lot number by security
    int short_letter = 0;
};

class Firm {
public:
    explicit Firm(Random& random) : random_(random), prices_(MakePrices(random)) {}

    const PriceTable& Prices() const { return prices_; }
    const std::string& Error() const { return error_; }

    double PriceAt(int security, int month) const {
        return prices_[static_cast<std::size_t>(month + 1)][static_cast<std::size_t>(security)];
    }
    // A price within the month: between the two month-ends.
    double TradePrice(int security, int month, int day) const {
        const Security& sec = Securities()[static_cast<std::size_t>(security)];
        const double before = PriceAt(security, month - 1);
        const double after = PriceAt(security, month);
        const double price = before + (after - before) * day / DaysIn(month);
        return sec.kind == Kind::kFund ? RoundTo(price, 0.01) : RoundTo(price, 0.0625);
    }

    void RunAccount(Book& book);

    // The account's market value at the end of a month, by the valuation
    // rules: bonds per 100 of face value, cash at its balance.
    double MarketValue(const Book& book, int month) const {
        double value = book.cash;
        for (const Lot& lot : book.lots) {
            const Security& sec = Securities()[static_cast<std::size_t>(lot.security)];
            double v = lot.quantity * PriceAt(lot.security, month);
            if (IsFixedIncome(sec.type)) v /= 100.0;
            value += lot.is_short ? -v : v;
        }
        return value;
    }

private:
    bool Post(PostFn fn, engine::EntryForm& form, const std::string& what) {
        if (!error_.empty()) return false;
        form.ClearResults();
        int32_t record = 0;
        fn(engine::PostingMode::kAdd, record, form);
        if (!form.Rejected(1, engine::kEntryStatusCount)) return true;
        error_ = what + " was refused:";
        for (int n = 1; n <= engine::kEntryStatusCount; ++n)
            if (form.Flag(n) != 0) error_ += " [" + std::to_string(n) + "] " + form.Message(n);
        return false;
    }

    bool Trade(Book& book, const std::string& code, int security, const std::string& lot, int month, int day,
               double shares, double price, double commission, const std::string& type = "") {
        const Security& sec = Securities()[static_cast<std::size_t>(security)];
        engine::EntryForm form;
        form.SetField(1, book.client->id);
        form.SetField(2, sec.symbol);
        form.SetField(3, code);
        form.SetField(4, lot);
        form.SetField(5, Date(month, day));
        form.SetField(8, book.client->broker);
        form.SetField(9, type);
        form.SetField(10, Number(shares));
        form.SetField(11, Number(price));
        form.SetField(16, Number(commission, 2));
        return Post(engine::Fbuysell, form,
                    std::string(book.client->id) + " " + code + " " + sec.symbol + " " + Date(month, day));
    }

    bool Cash(Book& book, const std::string& code, int month, int day, double amount,
              const std::string& text) {
        engine::EntryForm form;
        form.SetField(1, book.client->id);
        form.SetField(3, code);
        form.SetField(4, Date(month, day));
        form.SetField(6, Number(amount, 2));
        form.SetField(7, text);
        return Post(engine::Fcash, form, std::string(book.client->id) + " " + code + " " + Date(month, day));
    }

    bool Transfer(Book& book, const std::string& code, int security, const std::string& lot, int month,
                  int day, const std::string& purchase_date, double shares, double amount, double cost) {
        const Security& sec = Securities()[static_cast<std::size_t>(security)];
        engine::EntryForm form;
        form.SetField(1, book.client->id);
        form.SetField(2, sec.symbol);
        form.SetField(3, code);
        form.SetField(4, Date(month, day));
        form.SetField(6, lot);
        form.SetField(7, book.client->broker);
        form.SetField(8, purchase_date);
        form.SetField(10, Number(shares));
        form.SetField(11, Number(amount, 2));
        form.SetField(12, Number(cost, 2));
        return Post(engine::Fasset, form,
                    std::string(book.client->id) + " " + code + " " + sec.symbol + " " + Date(month, day));
    }

    // The amount a trade files: price x quantity (bonds per 100 of face
    // value) and the commission, rounded to cents.
    static double Amount(int security, double shares, double price, double commission, int sign) {
        const Security& sec = Securities()[static_cast<std::size_t>(security)];
        double amount = shares * price;
        if (IsFixedIncome(sec.type)) amount /= 100.0;
        return std::round((amount + sign * commission) * 100.0) / 100.0;
    }

    std::string NextLot(Book& book, int security) {
        const int n = ++book.lot_numbers[security];
        return std::to_string(n);
    }

    void Buy(Book& book, int security, int month, double budget, const std::string& type = "") {
        const Security& sec = Securities()[static_cast<std::size_t>(security)];
        const int day = random_.Between(3, 26);
        const double price = TradePrice(security, month, day);
        double shares = 0;
        double commission = 0;
        if (IsFixedIncome(sec.type)) {
            shares = std::floor(budget / price / 50.0) * 5000.0;  // face value in 5,000s
            commission = 0;
        } else if (sec.kind == Kind::kFund) {
            shares = std::floor(budget / price * 1000.0) / 1000.0;
        } else {
            shares = std::floor(budget / price / 100.0) * 100.0;
            if (shares == 0) shares = std::floor(budget / price / 10.0) * 10.0;
            commission = std::round(shares * 0.05 * 100.0) / 100.0 + 25.0;
        }
        if (shares <= 0) return;
        const double amount = Amount(security, shares, price, commission, 1);
        if (amount > book.cash && type.empty()) return;
        const std::string lot = NextLot(book, security);
        if (!Trade(book, "B", security, lot, month, day, shares, price, commission, type)) return;
        book.cash -= amount;
        book.lots.push_back({security, lot, shares, amount, false, month});
    }

    void Sell(Book& book, std::size_t at, int month, bool whole) {
        Lot& lot = book.lots[at];
        const Security& sec = Securities()[static_cast<std::size_t>(lot.security)];
        const int day = random_.Between(3, 26);
        const double price = TradePrice(lot.security, month, day);
        double shares = lot.quantity;
        if (!whole) {
            if (IsFixedIncome(sec.type))
                shares = std::floor(lot.quantity / 2.0 / 5000.0) * 5000.0;
            else if (sec.kind == Kind::kFund)
                shares = std::floor(lot.quantity / 2.0 * 1000.0) / 1000.0;
            else
                shares = std::floor(lot.quantity / 2.0 / 10.0) * 10.0;
            if (shares <= 0) shares = lot.quantity;
        }
        const double commission =
            sec.kind == Kind::kStock ? std::round(shares * 0.05 * 100.0) / 100.0 + 25.0 : 0.0;
        if (!Trade(book, "S", lot.security, lot.lot, month, day, shares, price, commission)) return;
        book.cash += Amount(lot.security, shares, price, commission, -1);
        lot.cost *= (lot.quantity - shares) / lot.quantity;
        lot.quantity -= shares;
        if (lot.quantity <= 0.0005) book.lots.erase(book.lots.begin() + static_cast<std::ptrdiff_t>(at));
    }

    std::vector<int> Candidates(Style style) const {
        std::vector<int> out;
        const auto& list = Securities();
        for (std::size_t s = 0; s < list.size(); ++s) {
            const Security& sec = list[s];
            if (!sec.traded) continue;
            const bool stock = sec.kind == Kind::kStock;
            const bool fixed =
                sec.kind == Kind::kBond || sec.kind == Kind::kBill || sec.kind == Kind::kPreferred;
            const bool fund = sec.kind == Kind::kFund;
            bool wanted = false;
            switch (style) {
                case Style::kGrowth:
                    wanted = stock;
                    break;
                case Style::kIncome:
                    wanted = fixed || (stock && sec.rate >= 1.5f);
                    break;
                case Style::kBalanced:
                    wanted = stock || fixed;
                    break;
                case Style::kFunds:
                    wanted = fund;
                    break;
            }
            if (wanted) out.push_back(static_cast<int>(s));
        }
        return out;
    }

    int Pick(const std::vector<int>& from) {
        return from[static_cast<std::size_t>(random_.Between(0, static_cast<int>(from.size()) - 1))];
    }

    Random& random_;
    PriceTable prices_;
    std::string error_;
};

void Firm::RunAccount(Book& book) {
    const Client& client = *book.client;
    const std::vector<int> candidates = Candidates(client.style);
    const int start = client.opened_month;

    // The opening deposit and the first portfolio.
    if (!Cash(book, "FI", start, 2, client.deposit, "OPENING DEPOSIT")) return;
    book.cash += client.deposit;
    const int first_buys = client.style == Style::kFunds ? 3 : 8;
    for (int k = 0; k < first_buys && error_.empty(); ++k)
        Buy(book, Pick(candidates), start, book.cash / (first_buys - k + 1));

    // A transfer in of securities bought elsewhere, for every third account.
    const std::size_t index = static_cast<std::size_t>(&client - Clients().data());
    if (index % 3 == 1 && start + 2 < kMonths) {
        const int month = start + 2;
        const int security = Pick(Candidates(Style::kGrowth));
        const double shares = 200;
        const double value = std::round(shares * PriceAt(security, month - 1) * 100.0) / 100.0;
        const double cost = std::round(value * 0.7 * 100.0) / 100.0;
        const std::string lot = NextLot(book, security);
        if (Transfer(book, "SI", security, lot, month, 10, "06/14/91", shares, value, cost))
            book.lots.push_back({security, lot, shares, cost, false, month});
    }

    int short_security = -1;
    std::string short_lot;
    const int wmt = EntryOf("WMT") - 1;
    for (int month = start; month < kMonths && error_.empty(); ++month) {
        const int m = MonthOf(month);
        // The split: the account files the new shares as a lot of their own
        // at no cost (a stock split, SP), and the shares it holds double.
        if (month == kSplitMonth) {
            double held = 0;
            for (const Lot& lot : book.lots)
                if (lot.security == wmt && !lot.is_short) held += lot.quantity;
            if (held > 0) {
                const std::string lot = NextLot(book, wmt);
                if (!Trade(book, "SP", wmt, lot, month, kSplitDay, held, 0, 0)) return;
                book.lots.push_back({wmt, lot, held, 0, false, month});
            }
        }
        // Income: quarterly dividends, half-yearly bond interest, fund
        // distributions reinvested.
        if (m % 3 == 0) {
            std::map<int, double> shares_by_security;
            for (const Lot& lot : book.lots)
                if (!lot.is_short) shares_by_security[lot.security] += lot.quantity;
            for (const auto& [security, shares] : shares_by_security) {
                const Security& sec = Securities()[static_cast<std::size_t>(security)];
                if (sec.rate <= 0 || IsFixedIncome(sec.type)) continue;
                const double amount = std::round(shares * sec.rate / 4.0 * 100.0) / 100.0;
                if (amount < 0.01) continue;
                if (!Cash(book, "DI", month, 15, amount, sec.symbol)) return;
                book.cash += amount;
                if (sec.kind == Kind::kFund) {
                    // Reinvested: the distribution buys more of the fund.
                    const double price = TradePrice(security, month, 15);
                    const double more = std::floor(amount / price * 1000.0) / 1000.0;
                    if (more > 0) {
                        const std::string lot = NextLot(book, security);
                        if (!Trade(book, "B", security, lot, month, 15, more, price, 0, "R")) return;
                        const double cost = Amount(security, more, price, 0, 1);
                        book.cash -= cost;
                        book.lots.push_back({security, lot, more, cost, false, month});
                    }
                }
            }
        }
        {
            // Bonds pay every six months from their maturity's month.
            std::map<int, double> face;
            for (const Lot& lot : book.lots) {
                const Security& sec = Securities()[static_cast<std::size_t>(lot.security)];
                if (sec.kind != Kind::kBond) continue;
                const int maturity_month = std::stoi(std::string(sec.maturity, 2));
                if ((m - maturity_month + 12) % 6 == 0) face[lot.security] += lot.quantity;
            }
            for (const auto& [security, amount_face] : face) {
                const Security& sec = Securities()[static_cast<std::size_t>(security)];
                const double amount = std::round(amount_face * sec.rate / 200.0 * 100.0) / 100.0;
                if (amount < 0.01) continue;
                if (!Cash(book, "II", month, 15, amount, sec.symbol)) return;
                book.cash += amount;
            }
        }
        // The adviser's quarterly fee.
        if (m % 3 == 1 && month > start) {
            const double fee = std::round(MarketValue(book, month - 1) * 0.0025 * 100.0) / 100.0;
            if (fee > 0 && !Cash(book, "MF", month, 5, fee, "QUARTERLY ADVISORY FEE")) return;
            book.cash -= fee;
        }
        // Now and then a deposit or a withdrawal.
        if (month > start && random_.Chance(0.06)) {
            const double amount = std::round(client.deposit * 0.05);
            if (!Cash(book, "FI", month, 20, amount, "ADDITIONAL DEPOSIT")) return;
            book.cash += amount;
        } else if (month > start && book.cash > client.deposit * 0.05 && random_.Chance(0.05)) {
            const double amount = std::round(client.deposit * 0.03);
            if (!Cash(book, "FO", month, 20, amount, "WITHDRAWAL")) return;
            book.cash -= amount;
        }
        // Trading.
        if (month > start && !book.lots.empty() && random_.Chance(0.25)) {
            std::size_t at =
                static_cast<std::size_t>(random_.Between(0, static_cast<int>(book.lots.size()) - 1));
            if (!book.lots[at].is_short && book.lots[at].month < month)
                Sell(book, at, month, random_.Chance(0.5));
        }
        if (month > start && book.cash > client.deposit * 0.04 && random_.Chance(0.45))
            Buy(book, Pick(candidates), month, std::min(book.cash * 0.6, client.deposit * 0.12));
        // The growth accounts buy the stock that splits the month after.
        if (client.style == Style::kGrowth && month == kSplitMonth - 1)
            Buy(book, wmt, month, std::min(book.cash * 0.5, client.deposit * 0.05));

        // A short sale and its cover for the growth accounts.
        if (client.style == Style::kGrowth && month == start + 9) {
            short_security = Pick(candidates);
            short_lot = std::string(1, static_cast<char>('a' + book.short_letter++));
            const double price = TradePrice(short_security, month, 12);
            if (!Trade(book, "SS", short_security, short_lot, month, 12, 100, price, 30)) return;
            book.cash += Amount(short_security, 100, price, 30, -1);
            book.lots.push_back(
                {short_security, short_lot, 100, Amount(short_security, 100, price, 30, -1), true, month});
        }
        if (short_security >= 0 && month == start + 13) {
            const double cover = TradePrice(short_security, month, 8);
            if (!Trade(book, "CS", short_security, short_lot, month, 8, 100, cover, 30)) return;
            book.cash -= Amount(short_security, 100, cover, 30, 1);
            for (std::size_t at = 0; at < book.lots.size(); ++at)
                if (book.lots[at].is_short) {
                    book.lots.erase(book.lots.begin() + static_cast<std::ptrdiff_t>(at));
                    break;
                }
            short_security = -1;
        }

        // A transfer out of a lot, for every fifth account.
        if (index % 5 == 3 && month == kMonths - 2) {
            for (std::size_t at = 0; at < book.lots.size(); ++at) {
                Lot& lot = book.lots[at];
                const Security& sec = Securities()[static_cast<std::size_t>(lot.security)];
                if (sec.kind != Kind::kStock || lot.month >= month) continue;
                const double value =
                    std::round(lot.quantity * PriceAt(lot.security, month - 1) * 100.0) / 100.0;
                if (!Transfer(book, "SO", lot.security, lot.lot, month, 9, "", lot.quantity, value, lot.cost))
                    return;
                book.lots.erase(book.lots.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            }
        }
    }
}

// The month-end posting over the history: the working appraisal of every
// account at each month end, with its market value posting on, writes the
// month's market value (accrued interest included) into each account's
// value history, as the firm would have run it month by month. The flows
// and income of the months are there already: cash and transfer posting
// added them as the transactions were filed.
void PostMonthEndValues() {
    for (int month = 0; month < kMonths; ++month) {
        std::string kind = "B   ", manager = "????", account = std::string(8, ' ');
        std::string date = MonthEnd(month), accrued = "Y   ", post = "Y   ";
        std::string name = "MONTHEND.TXT";
        int16_t mode = 3;
        reports::Holdings(kind, manager, account, date, accrued, post, mode, name, 12);
    }
    // The appraisal's pages and the replay's scratch lots are no part of
    // the firm.
    std::error_code error;
    for (const char* scratch : {"MONTHEND.TXT", "OUTPUT.TMP", "HL.TMP"})
        std::filesystem::remove(scratch, error);
}

}  // namespace

void WriteTypeAndCategoryNames() {
    // The firm names its types as a new data directory does.
    records::WriteTypeNames(records::StandardTypeNames());
    std::vector<std::string> categories(records::kCategoryCount, std::string());
    for (std::size_t k = 0; k < std::size(kCategories); ++k) categories[k] = kCategories[k];
    records::Wrscat(categories);
}

void WriteManagersBrokersCustodians() {
    records::ManagerSlots managers;
    managers.fill(std::string(4, ' '));
    managers[0] = "AB  ";
    managers[1] = "CD  ";
    managers[2] = "EF  ";
    records::WriteManagerTable(managers);
    fixtures::WriteBrokers({
        {.id = "ALDEN",
         .lines = {"ALDEN SECURITIES CORP", "ONE STATE STREET", "BOSTON MA 02109", "", ""},
         .attention = "TRADING DESK",
         .executive = "R WELLS",
         .telephone = "6175550110",
         .long_name = "ALDEN SECURITIES CORPORATION"},
        {.id = "BAXTER",
         .lines = {"BAXTER & GRAY INC", "40 WALL STREET", "NEW YORK NY 10005", "", ""},
         .attention = "INSTITUTIONAL SALES",
         .executive = "M ORTIZ",
         .telephone = "2125550177",
         .long_name = "BAXTER & GRAY INCORPORATED"},
        {.id = "CORWIN",
         .lines = {"CORWIN DISCOUNT BROKERAGE", "88 MARKET STREET", "SAN FRANCISCO CA 94105", "", ""},
         .attention = "ACCOUNT SERVICES",
         .executive = "T LEE",
         .telephone = "4155550199",
         .long_name = "CORWIN DISCOUNT BROKERAGE CO"},
    });
    fixtures::WriteCustodians({
        {.id = "FTRUST",
         .lines = {"FIRST TRUST COMPANY", "100 FEDERAL STREET", "BOSTON MA 02110", "", ""},
         .attention = "CUSTODY SERVICES",
         .executive = "J PRATT",
         .telephone = "6175550133",
         .long_name = "FIRST TRUST COMPANY OF BOSTON"},
        {.id = "HARBOR",
         .lines = {"HARBOR NATIONAL BANK", "TRUST DEPARTMENT", "1 HARBOR PLAZA", "HARTFORD CT 06103", ""},
         .attention = "SECURITIES PROCESSING",
         .executive = "D KIM",
         .telephone = "8605550150",
         .long_name = "HARBOR NATIONAL BANK & TRUST"},
    });
}

std::string WriteSampleFirm() {
    Random random(0x1ED8A5A3E1ULL);

    // The firm: name, program date, options, letterhead.
    fixtures::WriteFirmHeading("LEDRA SAMPLE ADVISERS", 0, 0);
    records::Setsdt(kSampleDate);
    fixtures::SetOptions(
        {{records::Opt::kAppraisalExportType, 3},
         {records::Opt::kStartupTutorial, 1}});  // pie chart data from the appraisal; the start-up text
    records::Wletrhd({"LEDRA SAMPLE ADVISERS, INC.", "REGISTERED INVESTMENT ADVISERS",
                      "200 HARBOR STREET, SUITE 1400", "BOSTON, MASSACHUSETTS 02110", "",
                      "TELEPHONE (617) 555-0142", "FAX (617) 555-0143", "RESEARCH@LEDRA.EXAMPLE"});

    WriteTypeAndCategoryNames();
    WriteManagersBrokersCustodians();

    // Securities and their month-end prices (the prices first: the bonds'
    // yields are worked out at the last month end's).
    Firm firm(random);
    std::vector<fixtures::SecurityEntry> entries;
    for (const Security& sec : Securities()) {
        fixtures::SecurityEntry e;
        e.symbol = sec.symbol;
        e.cusip = sec.cusip;
        e.description1 = sec.description1;
        e.description2 = sec.description2;
        e.type = std::string(1, sec.type);
        if (sec.category > 0) {
            char category[16];
            std::snprintf(category, sizeof category, "%02d", sec.category);
            e.category = category;
        }
        e.maturity = sec.maturity;
        e.rate = sec.rate;
        e.moody_rating = sec.moody;
        e.sp_rating = sec.sp;
        // The coupon schedule runs back from the maturity: its dates fall on
        // the maturity's month and day, every six months.
        if (sec.kind == Kind::kBond) e.coupon_date = sec.maturity;
        e.yield = YieldToMaturity(sec, firm.PriceAt(static_cast<int>(entries.size()), kMonths - 1));
        entries.push_back(e);
    }
    fixtures::WriteSecurityFiles(entries);
    for (int month = 0; month < kMonths; ++month)
        fixtures::WritePrices(MonthEnd(month), firm.Prices()[static_cast<std::size_t>(month + 1)]);
    fixtures::WritePrices("12/31/95", firm.Prices()[0]);

    // The accounts, their groups and a super group. The indexes each
    // account is measured against are found by identifier.
    const int spx = EntryOf("SPX") - 1, djia = EntryOf("DJIA") - 1;
    std::vector<fixtures::ClientFields> fields;
    for (const Client& c : Clients()) {
        fixtures::ClientFields f;
        f.id = c.id;
        f.address = {c.name, "C/O " + std::string(c.name).substr(0, 24), "12 ELM STREET", "BOSTON MA 02116",
                     ""};
        f.manager = c.manager;
        f.salutation = c.salutation;
        f.short_name = c.name;
        f.opened = Date(c.opened_month, 2);
        f.custodian_account = std::string(c.id) + "-0001";
        f.custodian = c.custodian;
        f.broker = c.broker;
        f.objective = c.objective;
        f.index1_price = static_cast<float>(firm.PriceAt(spx, c.opened_month - 1));
        f.index2_price = static_cast<float>(firm.PriceAt(djia, c.opened_month - 1));
        // The account opens with its deposit.
        f.opening_value = c.deposit;
        fields.push_back(f);
    }
    fixtures::WriteClients(fields);
    {
        // The market indexes each account is measured against (record 8),
        // with the heading of each index's performance column: a heading
        // prints six characters, so each is six or fewer.
        records::DirectFile accounts("ACCOUNT.REC", 128, false);
        for (std::size_t k = 1; k <= fields.size(); ++k) {
            records::Record rec(128, ' ');
            accounts.Read(static_cast<long>(8 * k), rec);
            rec.SetText(0, 12, "SPX");
            rec.SetText(12, 6, "S&P500");
            rec.SetText(36, 12, "DJIA");
            rec.SetText(48, 6, "DJIA");
            accounts.Write(static_cast<long>(8 * k), rec);
        }
    }
    records::CGroupList groups;
    records::CGroupList supers;
    {
        records::CGroupEntry growth{{"GROWTH"}, "GROWTH ACCOUNTS OF MANAGER AB"};
        records::CGroupEntry income{{"INCOME"}, "INCOME ACCOUNTS OF MANAGER CD"};
        for (const Client& c : Clients()) {
            if (std::string_view(c.manager) == "AB") growth.names.push_back(c.id);
            if (std::string_view(c.manager) == "CD") income.names.push_back(c.id);
        }
        groups.Entries() = {growth, income};
        supers.Entries() = {{{"FIRM", "GROWTH", "INCOME"}, "GROWTH AND INCOME ACCOUNTS"}};
    }
    groups.Save(records::kGroupFile);
    supers.Save(records::kSuperGroupFile);

    // Three years of history for every account: its value history first,
    // from its opening date, as saving a new account starts it, so that
    // posting adds each month's flows and income.
    for (const Client& c : Clients()) {
        engine::Hlinit(c.id, Date(c.opened_month, 2));
        Book book;
        book.client = &c;
        firm.RunAccount(book);
        if (!firm.Error().empty()) return firm.Error();
    }

    // The split downloaded for posting.
    pricing::Wrspl("WMT", Date(kSplitMonth, kSplitDay), Date(kSplitMonth, kSplitDay - 1), 2.0f, nullptr);

    // The update of the data base, as the firm runs it after changes (it
    // starts and ends its own run of the work file).
    {
        engine::Getacc();
        std::error_code error;
        std::filesystem::remove("OUTPUT.TMP", error);
    }
    PostMonthEndValues();

    std::ofstream text("startup.txt", std::ios::binary);
    for (const char* line :
         {"Welcome to Ledra.", "",
          "This sample data directory holds the books of a small advisory firm: eighteen",
          "client accounts under three manager codes, some fifty securities with month-end",
          "prices, and three years of history up to 12/31/98.", "",
          "The program date is in the tool bar; type 12/31/98 there to see the firm as of",
          "its last day, or another date to run reports as of that date.", "",
          "Check Disable and press Done to stop showing this text at start-up."})
        text << line << "\r\n";
    return text ? std::string() : "startup.txt could not be written";
}

}  // namespace sample
