// The ledger's opening cash worked out from the transactions by the
// engine's cash pass against the replay it stands for (Ldgcsh): the same
// figure, bit for bit, and the ledger's OPENING BALANCE line that figure
// whether the cash pass or (where only the replay can tell) the replay gave
// it, over seeded random histories, the sample firm and a generated firm,
// at many dates; and the work files a ledger run leaves, as the replay of
// each account left them.

#include "reports/ledgers/opening_cash.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/firm_generator.h"
#include "engine/replay.h"
#include "engine/replay_cash.h"
#include "records/file_names.h"
#include "records/options.h"
#include "records/record.h"
#include "records/rounding.h"
#include "reports/kernel/amount_texts.h"
#include "reports/ledgers/transaction_ledger.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::TransactionRecord;

// The opening balance from the transactions, or nothing where the replay
// has to tell.
std::optional<double> Worked(const std::string& account, const std::string& date) {
    const std::vector<unsigned char> bytes =
        TempDataDir::ReadBytes(records::TrimRight(records::Paknam(account, "TR", ".REC")));
    const engine::ReplayedCash cash = engine::CashBeforeDate(bytes.data(), bytes.size() - bytes.size() % 128,
                                                             reports::LedgerAsOf(date), records::Rdopts());
    if (!cash.decided) return std::nullopt;
    return cash.cash_lot && reports::CashSecurityIsCash() ? cash.balance : 0.0;
}

// The amount of the OPENING BALANCE line of the account's ledger from the
// date, as the ledger prints it; empty without that line.
std::string LedgerOpening(const std::string& account, const std::string& date) {
    reports::Transld("S   ", "????", records::Fixed(account, 8), date, date, "    ", std::string(20, ' '), "    ", 3,
                     records::Fixed("LEDGER.TXT", 12), 12);
    const std::string line = fixtures::LineWith(fixtures::ReportText("LEDGER.TXT"), "OPENING BALANCE");
    return line.empty() ? line : line.substr(line.find_last_of(' ') + 1);
}

// The replay's figure as the ledger prints it.
std::string AmountText(double value) {
    records::Drnd2(value);
    const std::string text = reports::Amount16(value);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// What the ways give for one account and date: the cash pass (where it can
// tell) bit for bit, and the ledger's opening balance (from the cash pass
// or, where that cannot tell, from the replay) as printed, against the
// replay's figure.
struct Compared {
    bool decided = false;
    bool same = false;
    int16_t status = 0;  // the replay's
    std::string what;
};

Compared Compare(const std::string& account, const std::string& date) {
    Compared c;
    const std::optional<double> worked = Worked(account, date);
    const double replayed = reports::Ldgcsh(records::Fixed(account, 8), date, c.status);
    const std::string printed = LedgerOpening(account, date);
    c.decided = worked.has_value();
    c.same = (!worked || std::bit_cast<uint64_t>(*worked) == std::bit_cast<uint64_t>(replayed)) &&
             printed == AmountText(replayed);
    char text[200];
    std::snprintf(text, sizeof text, "%s at %s: replay %.17g, worked %.17g, ledger %s", account.c_str(),
                  date.c_str(), replayed, worked.value_or(std::numeric_limits<double>::quiet_NaN()),
                  printed.c_str());
    c.what = text;
    return c;
}

// Day n of a calendar of 28-day months from 1/1/95.
std::string DateText(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", 1 + n / 28 % 12, 1 + n % 28, (95 + n / 336) % 100);
    return text;
}

struct Security {
    const char* symbol;
    double key;
};
const Security kSecurities[] = {{"AAA", 100}, {"AZ", 200},   {"BA", 200},  {"BND", 300},
                                {"CD", 400},  {"FUND", 500}, {"XYZ", 700}, {"LONGSYMBOL12", 800}};
const char* const kCashCodes[] = {"FI", "FO", "DI", "DE", "II", "IE", "MF",
                                  "BC", "MI", "ME", "AI", "AO", "IP", "IS"};
const char* const kLotCodes[] = {"1", "2", "12", "1  X", "a", "Z9"};

// The kinds of history drawn, each with its own switches.
struct HistoryKind {
    const char* name;
    int key_zero_percent;    // trades with a holding key of 0
    int beyond_percent;      // sales a hair beyond their lot
    bool planted_failures;   // a sale of a lot that is not there, a NaN key
    bool shuffled;           // filed out of date order
    unsigned char decimals;  // option 81
    const char* cash_type;   // type of SECURITY.REC record 1
    int many_lots = 0;       // lot codes drawn from this many (0: a few)
};

// A random history of the kind in the current directory; its dates run
// over `days` days.
void WriteHistory(const HistoryKind& kind, uint32_t seed, int& days) {
    std::mt19937 rng(seed);
    auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    std::vector<fixtures::SecurityFields> fields = {
        {.symbol = "CASH", .cusip = "CASH", .type = kind.cash_type}};
    for (const Security& s : kSecurities)
        fields.push_back({.symbol = s.symbol, .cusip = s.symbol, .description1 = s.symbol, .type = "H"});
    fixtures::WriteSecurities(fields);
    fixtures::SetOptions({{records::Opt::kSystemDecimals, kind.decimals},
                          {records::Opt::kLotTexts, static_cast<unsigned char>(seed % 2)}});

    std::map<std::string, double> open;
    std::vector<TransactionRecord> ts;
    int day = 0;
    const int count = (kind.many_lots > 0 ? 3000 : 200) + static_cast<int>(rng() % 400);
    for (int i = 0; i < count; ++i) {
        const Security& s = kSecurities[rng() % std::size(kSecurities)];
        const std::string lot = kind.many_lots > 0 ? "L" + std::to_string(rng() % kind.many_lots)
                                                   : std::string(kLotCodes[rng() % std::size(kLotCodes)]);
        const double key = chance(kind.key_zero_percent) ? 0.0 : chance(5) ? s.key + 50 : s.key;
        const std::string id = std::string(s.symbol) + "|" + lot + "|" + std::to_string(key);
        const auto security = static_cast<int16_t>(&s - kSecurities + 2);
        day += chance(60) ? 0 : static_cast<int>(1 + rng() % 3);
        const std::string date = DateText(day);
        const double q = static_cast<double>(1 + rng() % 100000) / 1000.0;
        const double amount = static_cast<double>(rng() % 10000000) / 1000.0;  // off the cent
        const int pick = static_cast<int>(rng() % 100);
        TransactionRecord t;
        if (pick < 30 || (pick < 60 && open[id] == 0)) {
            const char* code = chance(10) ? "SP" : chance(8) ? "SI" : "B";
            t = fixtures::Transaction(code, s.symbol, lot, date, q, amount, key, security);
            t.lot_cost = amount * 0.9;
            open[id] += q;
        } else if (pick < 60) {
            double sold =
                chance(40) ? open[id] : std::floor(open[id] * static_cast<double>(rng() % 100) * 10) / 1000;
            if (chance(kind.beyond_percent)) sold = open[id] + 0.0004 + (chance(50) ? 0.001 : 0);
            t = fixtures::Transaction(chance(10) ? "SO" : "S", s.symbol, lot, date, sold, amount, key,
                                      security);
            open[id] = std::max(0.0, open[id] - sold);
        } else if (pick < 70) {
            const std::string short_lot = "S" + lot.substr(0, 1);
            const std::string short_id = std::string(s.symbol) + "|" + short_lot + "|" + std::to_string(key);
            const bool cover = open[short_id] > 0 && chance(50);
            const double covered = chance(50) ? open[short_id] : open[short_id] / 2;
            t = fixtures::Transaction(cover ? "CS" : "SS", s.symbol, short_lot, date,
                                      cover ? covered : q / 10, amount, key, security);
            open[short_id] = std::max(0.0, open[short_id] + (cover ? -covered : q / 10));
        } else if (pick < 94) {
            t = fixtures::Transaction(kCashCodes[rng() % std::size(kCashCodes)],
                                      chance(50) ? "CASH" : s.symbol, "", date, 0, amount,
                                      chance(50) ? 0 : key, chance(50) ? int16_t{1} : security);
        } else if (pick < 96) {
            t = fixtures::Transaction("XX", s.symbol, lot, date, q, amount, key, security);
        } else {
            t = fixtures::Transaction("B", s.symbol, lot, date, q, amount, key, security);
            if (chance(50))
                t.symbol = std::string(12, ' ');  // deleted
            else
                t.type = "N   ";
        }
        if (chance(20)) t.bond_interest = static_cast<double>(rng() % 100000) / 1000.0;
        ts.push_back(t);
    }
    if (kind.planted_failures) {
        if (chance(50)) {
            const Security& s = kSecurities[rng() % std::size(kSecurities)];
            ts[rng() % ts.size()] = fixtures::Transaction(
                "S", s.symbol, "NONE", DateText(static_cast<int>(rng() % (day + 1))), 5, 5, s.key, 2);
        }
        if (chance(30)) ts[rng() % ts.size()].holding_key = std::numeric_limits<double>::quiet_NaN();
    }
    if (kind.shuffled) std::shuffle(ts.begin(), ts.end(), rng);
    fixtures::WriteTransactions("RND1", ts);
    days = day;
}

TEST(OpeningCash, RandomHistoriesGiveTheReplaysFigure) {
    const HistoryKind kinds[] = {
        {"plain", 0, 0, false, false, 4, "1"},
        {"sales beyond their lots", 0, 4, false, false, 0, "1"},
        {"planted failures", 0, 0, true, false, 8, "1"},
        {"filed out of order", 0, 2, false, true, 5, "1"},
        {"trades of key 0", 3, 0, false, false, 4, "1"},
        {"cash security not of type 1", 0, 0, false, false, 6, "C"},
        {"hundreds of lots", 0, 0, false, true, 4, "1", 400},
    };
    for (const HistoryKind& kind : kinds) {
        int decided = 0, undecided = 0;
        std::map<int16_t, int> statuses;
        for (uint32_t seed = 1; seed <= 8; ++seed) {
            TempDataDir dir;
            int days = 0;
            WriteHistory(kind, seed * 101 + static_cast<uint32_t>(&kind - kinds), days);
            // Before the first day, within the history (on a day with
            // transactions and between), and after the last.
            for (const int day :
                 {0, days / 5, days / 3, days / 2, 2 * days / 3 + 1, days, days + 1, days + 40}) {
                const Compared c = Compare("RND1", DateText(day));
                EXPECT_TRUE(c.same) << kind.name << " seed " << seed << ": " << c.what;
                (c.decided ? decided : undecided)++;
                statuses[c.status]++;
            }
        }
        if (kind.key_zero_percent == 0 && !kind.planted_failures) {
            EXPECT_EQ(undecided, 0) << kind.name;
        }
        EXPECT_GT(decided, 0) << kind.name;
        if (kind.beyond_percent > 0 || kind.planted_failures) {
            EXPECT_GT(statuses[engine::kLotExceeded] + statuses[engine::kLotNotFound], 0) << kind.name;
        }
    }
}

// Every account of a firm at the start of each month of its three years.
void CompareEveryAccount(const std::vector<std::string>& accounts) {
    int decided = 0;
    for (const std::string& account : accounts) {
        for (int year = 96; year <= 99; ++year) {
            for (int month = 1; month <= 12; month += year == 99 ? 12 : 1) {
                char date[16];
                std::snprintf(date, sizeof date, "%02d/01/%02d", month, year % 100);
                const Compared c = Compare(account, date);
                EXPECT_TRUE(c.same) << c.what;
                if (c.decided) ++decided;
            }
        }
    }
    EXPECT_GT(decided, 0);
}

TEST(OpeningCash, SampleFirmGivesTheReplaysFigure) {
    TempDataDir dir;
    fixtures::TempDataDir::CopySampleFirm();
    std::vector<std::string> accounts;
    int position = 0, count = 0;
    std::string id, name, manager;
    for (bool more = reports::Nxtclt(position, count, id, name, manager); more && position <= count;
         more = reports::Nxtclt(position, count, id, name, manager))
        accounts.push_back(id);
    ASSERT_GE(accounts.size(), 10u);
    CompareEveryAccount(accounts);
}

TEST(OpeningCash, GeneratedFirmGivesTheReplaysFigure) {
    TempDataDir dir;
    const bench::GeneratedFirm firm =
        bench::WriteGeneratedFirm({.accounts = 3, .transactions = 1500, .seed = 57});
    ASSERT_EQ(firm.error, "");
    CompareEveryAccount(firm.accounts);
}

}  // namespace

namespace {

// A ledger of every account leaves the work files of the replay of its
// last account, as when every account was replayed in turn.
TEST(OpeningCash, LedgerRunLeavesTheLastAccountsWorkFiles) {
    for (const unsigned char lot_texts : {0, 1}) {
        TempDataDir dir;
        const bench::GeneratedFirm firm =
            bench::WriteGeneratedFirm({.accounts = 3, .transactions = 400, .seed = 11});
        ASSERT_EQ(firm.error, "");
        fixtures::SetOptions({{records::Opt::kLotTexts, lot_texts}});
        // Leftovers of an earlier replay, which the run must replace.
        TempDataDir::WriteBytes("HL.TMP", std::vector<unsigned char>(300, 'z'));
        TempDataDir::WriteBytes("HL.EXT", std::vector<unsigned char>(300, 'x'));
        reports::Transld("A   ", "????", std::string(8, ' '), " 7/ 1/97", "12/31/97", "    ",
                         std::string(20, ' '), "    ", 3, records::Fixed("LEDGER.TXT", 12), 12);
        const std::vector<unsigned char> holdings = TempDataDir::ReadBytes("HL.TMP");
        const bool extension = TempDataDir::Exists("HL.EXT");
        const std::vector<unsigned char> texts =
            extension ? TempDataDir::ReadBytes("HL.EXT") : std::vector<unsigned char>{};

        int16_t status = 0;
        reports::Ldgcsh(records::Fixed(firm.accounts.back(), 8), " 7/ 1/97", status);
        EXPECT_GT(holdings.size(), 128u);
        EXPECT_EQ(holdings, TempDataDir::ReadBytes("HL.TMP")) << "option 64 " << int{lot_texts};
        EXPECT_EQ(extension, lot_texts != 0);
        EXPECT_EQ(extension, TempDataDir::Exists("HL.EXT"));
        if (extension) {
            EXPECT_EQ(texts, TempDataDir::ReadBytes("HL.EXT"));
        }
    }
}

}  // namespace
