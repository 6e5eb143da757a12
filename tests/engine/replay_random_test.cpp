// The replay of engine/ against the replay as it was (reference_replay.h):
// seeded random histories, each with its own options (36, 64, the
// decimals of 81), write mode, as-of date and exclude-day switch, stored
// lots, leftover work files and, in many of them, a planted failure (a
// sale beyond its lot, a sale of a lot that is not there, a NaN holding
// key, a free chain whose head is not free). Both replays run on the same
// data directory; every file in it must come out byte for byte the same,
// and so must the status.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/rebuild.h"
#include "engine/replay.h"
#include "records/account_records.h"
#include "records/dates.h"
#include "records/files.h"
#include "tests/engine/reference_replay.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::TransactionRecord;
using Files = std::map<std::string, std::vector<unsigned char>>;

const std::string kAccount = "RND1";

Files Snapshot() {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.is_regular_file()) {
            const std::string name = entry.path().filename().string();
            files[name] = TempDataDir::ReadBytes(name);
        }
    return files;
}

void Restore(const Files& files) {
    for (const auto& [name, bytes] : files) TempDataDir::WriteBytes(name, bytes);
}

struct Security {
    std::string symbol;
    double key;
    const char* type;
};
// "AZ", "BA" and "ZA" share a holding key: their order is the text order.
const std::vector<Security> kSecurities = {
    {"AAA", 100, "H"}, {"AZ", 200, "H"},           {"BA", 200, "P"},   {"ZA", 200, "H"},
    {"BND", 300, "B"}, {"CD", 400, "4"},           {"FUND", 500, "N"}, {"MM", 600, "1"},
    {"XYZ", 700, "H"}, {"LONGSYMBOL12", 800, "H"}, {"OPT", 900, "S"},  {"ZERO", 1000, "3"},
};

const char* const kCashCodes[] = {"FI", "FO", "DI", "DE", "II", "IE", "MF",
                                  "BC", "MI", "ME", "AI", "AO", "IP", "IS"};
const char* const kLotCodes[] = {"1", "2", "12", "13", "1  X", "a", "b", "Z9"};

// One history and the run asked of it.
struct Case {
    Files files;  // the data directory before the run
    float as_of = engine::kEveryTransaction;
    int16_t write_mode = 0;
    int16_t exclude_day = 0;
    bool rebuild = false;  // Rbldhl instead of Creatt
    std::string what;
};

// Day n of a calendar of 28-day months from 1/1/95.
std::string DateText(int n) {
    const int day = 1 + n % 28;
    const int month = 1 + n / 28 % 12;
    const int year = 95 + n / (28 * 12);
    char text[16];
    std::snprintf(text, sizeof text, "%2d/%02d/%02d", month, day, year % 100);
    return text;
}

// Histories of 300 to 799 transactions; long ones of 3,000 to 3,499
// without planted failures, over hundreds of lot codes (hundreds of lots
// and gains: the work files are written in more than one chunk).
Case MakeCase(uint32_t seed, bool long_history = false) {
    std::mt19937 rng(seed);
    auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    Case c;
    TempDataDir dir;

    // Where the securities stand in SECURITY.REC, drawn apart from the
    // history: after 0 to 70 other securities (so that their records lie
    // in the first block of records the replay reads together, in a later
    // one or in the file's last, short one), a few transactions naming a
    // record past the file's end, and sometimes a part record at its end.
    std::mt19937 spread(seed * 7919u);
    const int pads[] = {0, 0, 25, 31, 40, 70};
    const int pad = pads[spread() % 6];
    std::vector<fixtures::SecurityFields> fields;
    for (int i = 0; i < pad; ++i)
        fields.push_back({.symbol = "FILL" + std::to_string(i),
                          .cusip = "FILL" + std::to_string(i),
                          .description1 = "FILLER " + std::to_string(i),
                          .type = "H"});
    for (const Security& s : kSecurities)
        fields.push_back({.symbol = s.symbol,
                          .cusip = s.symbol,
                          .description1 = "DESCRIPTION OF " + s.symbol,
                          .description2 = chance(50) ? "SECOND LINE" : "",
                          .type = s.type});
    fixtures::WriteSecurities(fields);
    if (spread() % 4 == 0) {
        std::ofstream tail("SECURITY.REC", std::ios::binary | std::ios::app);
        tail << std::string(50, 'Q');
    }

    const bool texts = chance(50), lot_texts = chance(50);
    const unsigned char decimals[] = {0, 4, 5, 6, 8, 3, 9};
    const unsigned char option81 = decimals[rng() % 7];
    fixtures::SetOptions({{records::Opt::kTransactionTexts, texts ? 1 : 0},
                          {records::Opt::kLotTexts, lot_texts ? 1 : 0},
                          {records::Opt::kSystemDecimals, option81}});
    c.what = "seed " + std::to_string(seed) + " securities after " + std::to_string(pad) +
             " options 36=" + std::to_string(texts) + " 64=" + std::to_string(lot_texts) +
             " 81=" + std::to_string(option81);

    // Trades keep to open lots (mostly), so that most histories run to the end.
    std::map<std::string, double> open;  // by symbol, lot code and key
    std::vector<TransactionRecord> ts;
    int day = 0;  // the history runs forward, a few transactions a day
    // Sales a hair beyond their lot, which the rounding of option 81 may
    // or may not forgive.
    const bool beyond = chance(15) && !long_history;
    const int count = (long_history ? 3000 : 300) + static_cast<int>(rng() % 500);
    for (int i = 0; i < count; ++i) {
        const Security& s = kSecurities[rng() % kSecurities.size()];
        // Long histories open many more lots: hundreds of lot codes.
        const std::string lot = long_history && chance(70) ? "L" + std::to_string(10 + rng() % 90)
                                                           : std::string(kLotCodes[rng() % 8]);
        const double key = chance(5) ? s.key + 50 : s.key;
        const std::string id = s.symbol + "|" + lot + "|" + std::to_string(key);
        const int security = spread() % 40 == 0 ? 5000 : static_cast<int>(&s - kSecurities.data()) + 1 + pad;
        day += chance(60) ? 0 : static_cast<int>(1 + rng() % 3);
        const std::string date = DateText(day);
        // Quantities of three decimals, amounts off the cent.
        const double q = static_cast<double>(1 + rng() % 100000) / 1000.0;
        const double amount = static_cast<double>(rng() % 10000000) / 1000.0;
        const int pick = static_cast<int>(rng() % 100);
        TransactionRecord t;
        if (pick < 35 || (pick < 70 && open[id] == 0)) {
            const char* code = chance(10) ? "SP" : chance(8) ? "SI" : "B";
            t = fixtures::Transaction(code, s.symbol, lot, date, q, amount, key,
                                      static_cast<int16_t>(security));
            t.lot_cost = amount * 0.9;
            if (chance(30)) t.lot_date = DateText(static_cast<int>(rng() % 3000));
            open[id] += q;
        } else if (pick < 70) {
            // All of the lot, part of it, or a hair beyond the closing tolerance.
            double sold =
                chance(40) ? open[id] : std::floor(open[id] * static_cast<double>(rng() % 100) * 10) / 1000;
            if (beyond && chance(3)) sold = open[id] + 0.0004;
            const char* code = chance(10) ? "SO" : "S";
            t = fixtures::Transaction(code, s.symbol, lot, date, sold, amount, key,
                                      static_cast<int16_t>(security));
            open[id] -= sold;
            if (open[id] < 0.001) open[id] = 0;
        } else if (pick < 78) {
            const std::string short_lot = "S" + lot.substr(0, 1);
            const std::string short_id = s.symbol + "|" + short_lot + "|" + std::to_string(key);
            const bool cover = open[short_id] > 0 && chance(50);
            const double covered = chance(50) ? open[short_id] : open[short_id] / 2;
            t = fixtures::Transaction(cover ? "CS" : "SS", s.symbol, short_lot, date,
                                      cover ? covered : q / 10, amount, key, static_cast<int16_t>(security));
            open[short_id] += cover ? -covered : q / 10;
            if (open[short_id] < 0.001) open[short_id] = 0;
        } else if (pick < 95) {
            t = fixtures::Transaction(kCashCodes[rng() % 14], chance(50) ? "CASH" : s.symbol, "", date, 0,
                                      amount, chance(50) ? 0 : key,
                                      static_cast<int16_t>(chance(50) ? 0 : security));
        } else if (pick < 97) {
            t = fixtures::Transaction("XX", s.symbol, lot, date, q, amount, key,
                                      static_cast<int16_t>(security));
        } else {
            t = fixtures::Transaction("B", s.symbol, lot, date, q, amount, key,
                                      static_cast<int16_t>(security));
            if (chance(50))
                t.symbol = std::string(12, ' ');  // deleted
            else
                t.type = "N   ";
        }
        if (chance(20)) t.bond_interest = static_cast<double>(rng() % 100000) / 1000.0;
        t.broker = chance(50) ? "BRK1    " : "BRK2    ";
        t.gain_record = static_cast<int16_t>(chance(20) ? rng() % 50 : 0);
        ts.push_back(t);
    }
    // Planted failures (long histories run to their end).
    if (chance(35) && !long_history) {
        const std::size_t at = rng() % ts.size();
        const Security& s = kSecurities[rng() % kSecurities.size()];
        ts[at] = fixtures::Transaction("S", s.symbol, chance(50) ? "NONE" : kLotCodes[0],
                                       DateText(static_cast<int>(rng() % (day + 1))), 1e6, 5, s.key, 1);
        c.what += " planted sale";
    }
    if (chance(8) && !long_history) {
        ts[rng() % ts.size()].holding_key = std::numeric_limits<double>::quiet_NaN();
        c.what += " NaN key";
    }
    // Half the long histories filed out of date order (the replay's order
    // is by date whatever the filing order).
    if (long_history && spread() % 2 == 0) {
        std::shuffle(ts.begin(), ts.end(), spread);
        c.what += " shuffled";
    }
    fixtures::WriteTransactions(kAccount, ts);

    if (texts || lot_texts || chance(20)) {
        std::vector<std::pair<long, records::TransactionExtension>> exts;
        const std::string memos[] = {"", "     OWN MEMO", std::string(20, '\0'), "LOT MEMO"};
        for (long r = 2; r <= static_cast<long>(ts.size()) + 1; ++r) {
            if (!chance(60)) continue;
            records::TransactionExtension e;
            e.memo = records::Fixed(memos[rng() % 4] + (chance(50) ? std::to_string(r) : ""), 20);
            e.settlement_date =
                chance(50) ? DateText(static_cast<int>(r)) : std::string(8, chance(50) ? ' ' : '\0');
            e.text = records::Fixed(chance(50) ? "TEXT " + std::to_string(r) : "", 32);
            exts.emplace_back(r, e);
        }
        fixtures::WriteTransactionExtensions(kAccount, exts);
    }

    // Stored lots from an earlier rebuild (for Ftele), made by the reference.
    if (chance(50)) {
        int16_t status = 0;
        reference_replay::Creatt(kAccount, "OLD", engine::kEveryTransaction, 0, 0, status);
        std::filesystem::rename("HL.TMP", "HL" + kAccount + ".REC");
        if (TempDataDir::Exists("HL.EXT")) std::filesystem::rename("HL.EXT", "HL" + kAccount + ".EXT");
    }
    // Leftovers of an earlier replay.
    if (chance(30)) TempDataDir::WriteBytes("HL.EXT", std::vector<unsigned char>(300, 'x'));
    if (chance(30)) TempDataDir::WriteBytes("GL.TMP", std::vector<unsigned char>(256, 'y'));
    if (chance(30)) TempDataDir::WriteBytes("HL.TMP", std::vector<unsigned char>(1000, 'z'));

    c.rebuild = chance(25);
    if (!c.rebuild) {
        c.write_mode = static_cast<int16_t>(chance(50) ? 1 : 0);
        c.exclude_day = static_cast<int16_t>(chance(30) ? 1 : 0);
        if (chance(50)) c.as_of = ts[rng() % ts.size()].date_number;
    }
    c.what += c.rebuild ? " Rbldhl" : " Creatt write " + std::to_string(c.write_mode);
    c.files = Snapshot();
    return c;
}

Files RunReplay(const Case& c, bool reference) {
    TempDataDir dir;
    Restore(c.files);
    int16_t status = -1;
    if (c.rebuild) {
        if (reference)
            reference_replay::Rbldhl(kAccount, status);
        else
            engine::Rbldhl(kAccount, status);
    } else if (reference) {
        reference_replay::Creatt(kAccount, "RANDOM", c.as_of, c.write_mode, c.exclude_day, status);
    } else {
        engine::Creatt(kAccount, "RANDOM", c.as_of, c.write_mode, c.exclude_day, status);
    }
    Files files = Snapshot();
    files["(status)"] = {static_cast<unsigned char>(status)};
    return files;
}

std::string FirstDifference(const Files& want, const Files& got) {
    for (const auto& [name, bytes] : want) {
        const auto it = got.find(name);
        if (it == got.end()) return name + " missing";
        if (it->second == bytes) continue;
        std::size_t i = 0;
        while (i < bytes.size() && i < it->second.size() && bytes[i] == it->second[i]) ++i;
        return name + " differs at byte " + std::to_string(i) + " (record " + std::to_string(i / 128 + 1) +
               "), sizes " + std::to_string(bytes.size()) + " and " + std::to_string(it->second.size());
    }
    for (const auto& [name, bytes] : got)
        if (!want.contains(name)) return name + " is extra";
    return "";
}

TEST(ReplayRandom, SameBytesAsTheRecordByRecordReplay) {
    std::map<int, int> statuses;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        const Case c = MakeCase(seed);
        const Files want = RunReplay(c, true);
        const Files got = RunReplay(c, false);
        statuses[want.at("(status)")[0]]++;
        EXPECT_EQ(FirstDifference(want, got), "") << c.what;
    }
    // The histories reach the end and every kind of stop.
    EXPECT_GT(statuses[engine::kReplayDone], 10);
    EXPECT_GT(statuses[engine::kLotExceeded], 0);
    EXPECT_GT(statuses[engine::kLotNotFound], 0);
}

TEST(ReplayRandom, LongHistoriesSameBytesAsTheRecordByRecordReplay) {
    long gains = 0, lots = 0;
    for (uint32_t seed = 101; seed <= 130; ++seed) {
        const Case c = MakeCase(seed, true);
        const Files want = RunReplay(c, true);
        const Files got = RunReplay(c, false);
        if (const auto it = want.find("GL.TMP"); it != want.end())
            gains = std::max(gains, static_cast<long>(it->second.size() / 128));
        if (const auto it = want.find("HL.TMP"); it != want.end())
            lots = std::max(lots, static_cast<long>(it->second.size() / 128));
        EXPECT_EQ(FirstDifference(want, got), "") << c.what;
    }
    // Past the first chunk of 512 records.
    EXPECT_GT(gains, 600);
    EXPECT_GT(lots, 800);
}

}  // namespace
