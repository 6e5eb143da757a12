#include "bench/synthetic_account.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "bench/seeded_random.h"
#include "records/account_records.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/options.h"
#include "records/record.h"

namespace bench {

namespace {

using records::Record;

using Random = SeededRandom;

constexpr char kLotCodes[] = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string Symbol(int k) {
    std::string s = std::to_string(k);
    return "S" + std::string(5 - std::min<std::size_t>(5, s.size()), '0') + s;
}

double Cents(double value) {
    return std::round(value * 100) / 100;
}

// An open lot of the account as the replay will have it.
struct OpenLot {
    int security;
    int code;
    double quantity;
};

struct Day {
    std::string text;
    float number;
};

void WriteSecurities(const std::vector<std::string>& symbols) {
    {
        records::DirectFile index(records::kSecurityIndex, records::kAccountRecordLength);
        Record head(records::kAccountRecordLength, 0);
        head.SetI16(0, static_cast<int16_t>(symbols.size()));
        index.Write(1, head);
        for (std::size_t first = 0; first < symbols.size(); first += records::kSecurityKeysPerRecord) {
            Record rec(records::kAccountRecordLength, ' ');
            for (std::size_t i = 0; i < records::kSecurityKeysPerRecord && first + i < symbols.size(); ++i)
                rec.SetText(i * records::kSecurityKeyWidth, records::kSecurityKeyWidth, symbols[first + i]);
            index.Write(static_cast<long>(2 + first / records::kSecurityKeysPerRecord), rec);
        }
    }
    records::DirectFile file(records::kSecurityRecords, records::kAccountRecordLength);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        Record rec(records::kAccountRecordLength, 0);
        rec.SetText(0, 12, symbols[i]);
        rec.SetText(12, 32, "SYNTHETIC COMPANY " + symbols[i]);
        rec.SetText(44, 32, "COMMON STOCK");
        rec.SetText(76, 4, "H");
        rec.SetR4(96, -999.99f);
        file.Write(static_cast<long>(i + 1), rec);
    }
}

}  // namespace

ScratchDataDir::ScratchDataDir() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ledra-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    dir_ = pattern;
    std::filesystem::current_path(dir_);
}

ScratchDataDir::~ScratchDataDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(dir_, ec);
}

SyntheticAccount WriteSyntheticAccount(const SyntheticShape& shape) {
    if (shape.transactions < 1 || shape.transactions > kMaxTransactions)
        throw std::invalid_argument("transactions must lie between 1 and 32766");
    if (shape.securities < 1 || shape.securities > 9999)
        throw std::invalid_argument("securities must lie between 1 and 9999");
    if (shape.lot_codes < 1 || shape.lot_codes > 35)
        throw std::invalid_argument("lot codes must lie between 1 and 35");
    if (shape.per_day < 1) throw std::invalid_argument("per_day must be 1 or more");

    SyntheticAccount out;
    out.account = records::Fixed(shape.account, 8);
    for (int k = 1; k <= shape.securities; ++k) {
        out.symbols.push_back(records::Fixed(Symbol(k), 12));
        out.holding_keys.push_back(records::Gtprcd('H', "  ", 0, out.symbols.back()));
    }
    WriteSecurities(out.symbols);

    records::Options options{};
    if (shape.lot_texts) {
        records::SetOption(options, records::Opt::kTransactionTexts, 1);
        records::SetOption(options, records::Opt::kLotTexts, 1);
    }
    records::Wropts(options);

    Random random(shape.seed);
    // open[security][code]: quantity open; the list of open lots for picking
    // a sale at random.
    std::vector<std::vector<double>> open(static_cast<std::size_t>(shape.securities),
                                          std::vector<double>(static_cast<std::size_t>(shape.lot_codes), 0));
    std::vector<OpenLot> lots;
    std::vector<double> price(static_cast<std::size_t>(shape.securities));
    for (double& p : price) p = random.Between(500, 20000) / 100.0;

    const std::string name = records::Paknam(out.account, "TR", ".REC");
    records::Purge(name);
    records::DirectFile file(name, records::kAccountRecordLength);
    std::unique_ptr<records::DirectFile> texts;
    if (shape.lot_texts) {
        records::Purge(records::Paknam(out.account, "TR", ".EXT"));
        texts = std::make_unique<records::DirectFile>(records::Paknam(out.account, "TR", ".EXT"),
                                                      records::kAccountRecordLength);
    }

    std::ofstream journal;
    if (shape.journal) {
        out.journal_name = records::TrimRight(out.account) + ".ledger";
        journal.open(out.journal_name, std::ios::binary | std::ios::trunc);
    }
    auto money = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f USD", v);
        return std::string(text);
    };
    // A lot of the journal: a posting to the lot's own account (the
    // security and its lot code) of the quantity of the security's
    // commodity at its unit cost (each security keeps one price).
    auto ledger_lot = [&](double quantity, int s, int c) {
        const std::string symbol = records::TrimRight(out.symbols[static_cast<std::size_t>(s)]);
        char text[128];
        std::snprintf(text, sizeof text, "    Assets:Broker:%s:%c  %.0f \"%s\" {%.2f USD}", symbol.c_str(),
                      kLotCodes[c], quantity, symbol.c_str(), price[static_cast<std::size_t>(s)]);
        return std::string(text);
    };

    int16_t month = 1, day = 2, year = 1995;
    long record = 2;
    while (out.transactions < shape.transactions) {
        std::string text;
        int16_t yy = static_cast<int16_t>(year % 100);
        records::Wrdate(text, month, day, yy);
        const Day today{text, records::WindowedDateNumber(month, day, year % 100)};
        if (out.first_date == 0) out.first_date = today.number;
        out.last_date = today.number;

        // The day's transactions in the order the replay takes them
        // (income, purchases, sales), then filed in a shuffled order.
        const int count =
            std::min(random.Between(1, 2 * shape.per_day - 1), shape.transactions - out.transactions);
        std::vector<int> kinds;
        for (int i = 0; i < count; ++i) {
            const int roll = random.Between(0, 99);
            kinds.push_back(roll < 20 ? 0 : roll < 65 ? 1 : 2);
        }
        std::sort(kinds.begin(), kinds.end());
        std::vector<std::pair<records::TransactionRecord, std::string>> filed;
        for (int kind : kinds) {
            if (kind == 2 && lots.empty()) kind = 1;
            records::TransactionRecord t;
            t.trade_date = today.text;
            t.lot_date = today.text;
            t.date_number = today.number;
            std::string memo;
            if (journal.is_open()) {
                char date[32];
                std::snprintf(date, sizeof date, "%04d/%02d/%02d", year, month, day);
                journal << date << " " << (kind == 0 ? "Income" : kind == 1 ? "Buy" : "Sale") << "\n";
            }
            if (kind == 0) {
                const int s = random.Between(0, shape.securities - 1);
                t.symbol = records::Fixed("CASH", 12);
                t.code = random.Between(0, 3) == 0 ? "II  " : "DI  ";
                t.amount = Cents(random.Between(100, 100000) / 100.0);
                t.SetCashText(out.symbols[static_cast<std::size_t>(s)]);
                if (journal.is_open())
                    journal << "    Assets:Cash  " << money(t.amount) << "\n    Income:Dividends\n\n";
                ++out.income;
            } else if (kind == 1) {
                const int s = random.Between(0, shape.securities - 1);
                const int c = random.Between(0, shape.lot_codes - 1);
                const double quantity = random.Between(1, 50) * 10;
                t.symbol = out.symbols[static_cast<std::size_t>(s)];
                t.code = "B   ";
                t.tax_lot = std::string(1, kLotCodes[c]) + "   ";
                t.quantity = quantity;
                t.amount = Cents(quantity * price[static_cast<std::size_t>(s)]);
                t.holding_key = out.holding_keys[static_cast<std::size_t>(s)];
                t.security_record = static_cast<int16_t>(s + 1);
                t.SetTradeExtra("", 0);
                double& held = open[static_cast<std::size_t>(s)][static_cast<std::size_t>(c)];
                if (held == 0) lots.push_back({s, c, 0});
                held += quantity;
                if (journal.is_open())
                    journal << ledger_lot(quantity, s, c) << "\n    Assets:Cash  " << money(-t.amount)
                            << "\n\n";
                if (shape.lot_texts && random.Between(0, 3) == 0) memo = "LOT " + std::to_string(record);
                ++out.buys;
            } else {
                const std::size_t pick =
                    static_cast<std::size_t>(random.Between(0, static_cast<int>(lots.size()) - 1));
                const OpenLot lot = lots[pick];
                double& held =
                    open[static_cast<std::size_t>(lot.security)][static_cast<std::size_t>(lot.code)];
                const double quantity =
                    random.Between(0, 1) == 0 ? held : std::max(1.0, std::floor(held / 2));
                t.symbol = out.symbols[static_cast<std::size_t>(lot.security)];
                t.code = "S   ";
                t.tax_lot = std::string(1, kLotCodes[lot.code]) + "   ";
                t.quantity = quantity;
                t.amount = Cents(quantity * price[static_cast<std::size_t>(lot.security)] * 1.05);
                t.holding_key = out.holding_keys[static_cast<std::size_t>(lot.security)];
                t.security_record = static_cast<int16_t>(lot.security + 1);
                t.lot_cost = -99999.99;
                t.SetTradeExtra("", 0);
                if (journal.is_open())
                    journal << ledger_lot(-quantity, lot.security, lot.code) << " @@ " << money(t.amount)
                            << "\n    Assets:Cash  " << money(t.amount) << "\n    Income:Gains\n\n";
                held -= quantity;
                if (held == 0) {
                    lots[pick] = lots.back();
                    lots.pop_back();
                }
                ++out.sales;
            }
            filed.emplace_back(t, memo);
        }
        for (std::size_t i = filed.size(); i > 1; --i)
            std::swap(filed[i - 1], filed[static_cast<std::size_t>(random.Next() % i)]);
        for (const auto& [t, memo] : filed) {
            Record rec(records::kAccountRecordLength, 0);
            t.Encode(rec);
            file.Write(record, rec);
            if (texts) {
                records::TransactionExtension ext;
                ext.memo = records::Fixed(memo, 20);
                Record er(records::kAccountRecordLength, ' ');
                ext.Encode(er);
                texts->Write(record, er);
            }
            ++record;
            ++out.transactions;
        }
        int16_t yy_step = year;
        records::Addday(month, day, yy_step);
        year = yy_step;
    }
    Record header(records::kAccountRecordLength, 0);
    records::TransactionFileHeader{static_cast<int16_t>(record - 1)}.Encode(header);
    file.Write(1, header);
    return out;
}

}  // namespace bench
