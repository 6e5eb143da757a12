#include "records/record_services.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

std::vector<unsigned char> Repeat(std::size_t n, unsigned char c) {
    return std::vector<unsigned char>(n, c);
}

// ---- Opening, closing and record transfers

TEST(RecordServicesFiles, OpenTakesTheGivenRecordLength) {
    for (int length : {8, 128, 140, 512}) {
        TempDataDir dir;
        EXPECT_EQ(Opnfil(6, length, Fixed("DATA.DAT", 128)), 0) << length;
        EXPECT_EQ(Wrrec(6, 2, std::string(8, 'x')), 0);
        EXPECT_EQ(Clsfil(6), 0);
        EXPECT_EQ(TempDataDir::ReadBytes("DATA.DAT").size(), 2u * static_cast<std::size_t>(length)) << length;
    }
}

TEST(RecordServicesFiles, OpenAndCloseFailures) {
    TempDataDir dir;
    struct Case {
        const char* what;
        int unit, length;
        std::string name;
    } cases[] = {
        {"record length 0", 6, 0, "DATA.DAT"},
        {"negative record length", 6, -128, "DATA.DAT"},
        {"blank name", 6, 128, std::string(128, ' ')},
        {"name longer than 12", 6, 128, "ABCDEFGHIJKLM.DAT"},
        {"unit 41", 41, 128, "DATA.DAT"},
        {"unit 0", 0, 128, "DATA.DAT"},
        {"folder that does not exist", 6, 128, "NO/X.DAT"},
    };
    for (const auto& c : cases) EXPECT_EQ(Opnfil(c.unit, c.length, c.name), 1) << c.what;
    EXPECT_EQ(Clsfil(0), 1);
    EXPECT_EQ(Clsfil(41), 1);
    EXPECT_EQ(Clsfil(6), 0);
    EXPECT_EQ(Clsfil(6), 0);  // closing a closed unit is no error
}

TEST(RecordServicesFiles, NamesMatchWhateverCaseTheFileHas) {
    TempDataDir dir;
    Record stored(128, 'c');
    TempDataDir::WriteBytes("COMMON.FIL", stored.bytes());
    ASSERT_EQ(Opnfil(6, 128, Fixed("common.fil", 128)), 0);
    std::string bytes;
    EXPECT_EQ(Rdrec(6, 1, bytes), 0);
    EXPECT_EQ(bytes, std::string(128, 'c'));
    Clsfil(6);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);  // no second file in another case
}

TEST(RecordServicesFiles, RecordReadsAndWrites) {
    TempDataDir dir;
    ASSERT_EQ(Opnfil(6, 128, "ACCOUNT.REC"), 0);
    Record r(128);
    for (std::size_t i = 0; i < 64; ++i) r.SetI16(2 * i, static_cast<int16_t>(i * 500) - 16000);
    const std::string bytes(reinterpret_cast<const char*>(r.data()), 128);
    EXPECT_EQ(Wrrec(6, 3, bytes), 0);  // past the end: the file grows

    std::string back = "unchanged";
    EXPECT_EQ(Rdrec(6, 3, back), 0);
    EXPECT_EQ(back, bytes);
    std::array<int16_t, 64> words{};
    EXPECT_EQ(Rdrecw(6, 3, words), 0);
    EXPECT_EQ(words[0], -16000);
    EXPECT_EQ(words[63], 15500);

    back = "unchanged";
    words.fill(7);
    EXPECT_EQ(Rdrec(6, 4, back), 1);
    EXPECT_EQ(Rdrecw(6, 0, words), 1);
    EXPECT_EQ(back, "unchanged");  // a failed read leaves the buffer
    EXPECT_EQ(words[0], 7);
    Clsfil(6);
    EXPECT_EQ(Rdrec(6, 3, back), 1);  // unit closed
    EXPECT_EQ(Wrrec(6, 3, bytes), 1);
}

TEST(RecordServicesFiles, EditViewOfLongRecordsKeepsTheRest) {
    TempDataDir dir;
    std::vector<unsigned char> file = Repeat(512, 0);
    auto second = Repeat(512, 'S');
    file.insert(file.end(), second.begin(), second.end());
    TempDataDir::WriteBytes("OFFLINET.DAT", file);

    Open4(6, "OFFLINET.DAT");
    std::string view;
    EXPECT_EQ(Rdr140(6, 2, view), 0);
    EXPECT_EQ(view, std::string(140, 'S'));
    EXPECT_EQ(Wrr140(6, 2, std::string(140, 'e')), 0);
    EXPECT_EQ(Wrr140(6, 3, std::string(140, 'n')), 0);  // a new record: the rest is zero
    Close(6);

    auto bytes = TempDataDir::ReadBytes("OFFLINET.DAT");
    ASSERT_EQ(bytes.size(), 3u * 512);
    EXPECT_EQ(std::string(bytes.begin() + 512, bytes.begin() + 652), std::string(140, 'e'));
    EXPECT_EQ(std::string(bytes.begin() + 652, bytes.begin() + 1024), std::string(372, 'S'));
    EXPECT_EQ(std::string(bytes.begin() + 1024, bytes.begin() + 1164), std::string(140, 'n'));
    EXPECT_EQ(std::string(bytes.begin() + 1164, bytes.end()), std::string(372, '\0'));

    // A unit of 128-byte records cannot hold a 140-byte view.
    ASSERT_EQ(Opnfil(6, 128, "SHORT.DAT"), 0);
    EXPECT_EQ(Wrrec(6, 1, std::string(128, 'q')), 0);
    view = "unchanged";
    EXPECT_EQ(Rdr140(6, 1, view), 1);
    EXPECT_EQ(view, "unchanged");
    EXPECT_EQ(Wrr140(6, 1, std::string(140, 'w')), 1);
    EXPECT_EQ(Rdrec(6, 1, view), 0);
    EXPECT_EQ(view, std::string(128, 'q'));
    Clsfil(6);
}

TEST(RecordServicesPrices, ReadRoundsToSixDecimals) {
    TempDataDir dir;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double stored;
        int16_t status;
        double expected;
    } cases[] = {
        {12.3456789, 0, 12.345679},
        {-99999.99, 0, -99999.99},
        {0.0000004, 0, 0.0},
        {1e15, 2, 1e15},  // too wide for 20 positions with 6 decimals: kept as stored
        {nan, 2, nan},
    };
    ASSERT_EQ(Opnfil(6, 8, "PR010205.DAT"), 0);
    long rec = 1;
    for (const auto& c : cases) {
        EXPECT_EQ(Wrprc(6, rec, c.stored), 0);
        double price = 5.0;
        EXPECT_EQ(Rdprc(6, rec, price), c.status) << c.stored;
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(price));
        else
            EXPECT_EQ(price, c.expected) << c.stored;
        ++rec;
    }
    double price = 5.0;
    EXPECT_EQ(Rdprc(6, rec, price), 1);  // past the end
    EXPECT_EQ(price, 5.0);
    Clsfil(6);
    EXPECT_EQ(TempDataDir::ReadBytes("PR010205.DAT").size(), 8u * (rec - 1));
    EXPECT_EQ(Wrprc(6, 1, 1.0), 1);  // unit closed
}

// ---- Transaction list

// Builds an account's transaction file: record 1 the counter, then one
// record per transaction.
struct Tx {
    std::string symbol;
    float date_number;
    std::string code = "B";
    std::string source = "";  // income: the paying security
};

void WriteTransactionFile(const std::string& name, const std::vector<Tx>& txs) {
    Record header(128, 0);
    TransactionFileHeader{static_cast<int16_t>(txs.size() + 1)}.Encode(header);
    std::vector<unsigned char> bytes = header.bytes();
    for (const Tx& tx : txs) {
        TransactionRecord t;
        t.symbol = tx.symbol;
        t.code = tx.code;
        t.date_number = tx.date_number;
        t.SetCashText(tx.source);
        Record r;
        t.Encode(r);
        bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    }
    TempDataDir::WriteBytes(name, bytes);
}

struct LoadResult {
    std::vector<int16_t> list;
    int16_t count = -5, pages = -5, overflow = -5, total = -5;
};

LoadResult Load(float from_date, const std::string& symbol, const std::string& code, int layout) {
    LoadResult r;
    Ldtrns(r.list, r.count, from_date, r.pages, Fixed(symbol, 12), Fixed(code, 4), r.overflow, r.total,
           layout);
    return r;
}

TEST(RecordServicesLdtrns, SortsByDateThenFileOrderAfter2000) {
    TempDataDir dir;
    // Dates of the 2000s are numbers above 1,000,000, where a 4-byte key of
    // date + index x 0.00005 cannot tell the transactions of one day apart.
    WriteTransactionFile("TRAB1.REC", {{"IBM", 1050302},
                                       {"MSFT", 1050301},
                                       {"IBM", 1050302},
                                       {"            ", 1050301},  // deleted
                                       {"GE", 991231},
                                       {"IBM", 1050302},
                                       {"XOM", 1050301},
                                       {"T", 1040101}});  // before the start date
    Opnfil(6, 128, "trab1.rec");
    LoadResult r = Load(1050101, "", "D", kAccountLayout);
    Clsfil(6);
    EXPECT_EQ(r.list, (std::vector<int16_t>{2, 7, 1, 3, 6}));
    EXPECT_EQ(r.count, 5);
    EXPECT_EQ(r.pages, 1);
    EXPECT_EQ(r.overflow, 0);
    EXPECT_EQ(r.total, 9);

    Opnfil(6, 128, "trab1.rec");
    r = Load(0, "", "D", kAccountLayout);
    Clsfil(6);
    EXPECT_EQ(r.list, (std::vector<int16_t>{5, 8, 2, 7, 1, 3, 6}));
}

TEST(RecordServicesLdtrns, ManyTransactionsOfOneDayKeepFileOrder) {
    TempDataDir dir;
    // Enough transactions on three days for a sort that is not stable to
    // mix up those of one day if the record number were not part of the key.
    const float days[] = {1050303, 1050301, 1050302};
    std::vector<Tx> txs;
    for (int i = 0; i < 90; ++i) txs.push_back({"IBM", days[i % 3]});
    WriteTransactionFile("TRAB1.REC", txs);
    Opnfil(6, 128, "TRAB1.REC");
    LoadResult r = Load(0, "", "D", kAccountLayout);
    Clsfil(6);
    std::vector<int16_t> expected;
    for (int first : {2, 3, 1})
        for (int k = first; k <= 90; k += 3) expected.push_back(static_cast<int16_t>(k));
    EXPECT_EQ(r.list, expected);
    EXPECT_EQ(r.pages, 6);
}

TEST(RecordServicesLdtrns, SelectsBySecurityWithIncomeBySource) {
    TempDataDir dir;
    WriteTransactionFile("TRAB1.REC", {{"IBM", 1050302},
                                       {"CASH", 1050301, "DI", "IBM"},
                                       {"CASH", 1050303, "ME", "IBM         MONTHLY"},
                                       {"CASH", 1050304, "CD", "IBM"},  // not an income code
                                       {"IBM", 900101},                 // any date
                                       {"IBMX", 1050101},
                                       {"CASH", 1050305, "IS", "GE"}});
    Opnfil(6, 128, "TRAB1.REC");
    LoadResult r = Load(1060101, "IBM", "S", kAccountLayout);
    Clsfil(6);
    EXPECT_EQ(r.list, (std::vector<int16_t>{5, 2, 1, 3}));
    EXPECT_EQ(r.pages, 1);
}

TEST(RecordServicesLdtrns, PagesAndEmptyFiles) {
    struct Case {
        const char* what;
        int transactions;  // -1: no file at all
        int16_t count, pages, total;
    } cases[] = {
        {"no file", -1, 0, 0, 0},   {"header only", 0, 0, 0, 1},  {"one", 1, 1, 1, 2},
        {"sixteen", 16, 16, 1, 17}, {"seventeen", 17, 17, 2, 18},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        std::vector<Tx> txs;
        for (int i = 0; i < c.transactions; ++i) txs.push_back({"IBM", 1050101.0f + static_cast<float>(i)});
        if (c.transactions >= 0) WriteTransactionFile("TRAB1.REC", txs);
        Opnfil(6, 128, "TRAB1.REC");
        LoadResult r = Load(0, "", "D", kAccountLayout);
        Clsfil(6);
        EXPECT_EQ(r.count, c.count) << c.what;
        EXPECT_EQ(r.pages, c.pages) << c.what;
        EXPECT_EQ(r.total, c.total) << c.what;
        EXPECT_EQ(r.overflow, 0) << c.what;
        EXPECT_EQ(r.list.size(), static_cast<std::size_t>(c.count)) << c.what;
    }
}

TEST(RecordServicesLdtrns, ShortFileListsWhatCouldBeRead) {
    TempDataDir dir;
    WriteTransactionFile("TRAB1.REC", {{"B", 1050302}, {"A", 1050301}, {"C", 1050303}});
    auto bytes = TempDataDir::ReadBytes("TRAB1.REC");
    Record header(128, 0);
    header.SetI16(0, 10);  // the counter promises more records than the file holds
    std::copy(header.bytes().begin(), header.bytes().end(), bytes.begin());
    TempDataDir::WriteBytes("TRAB1.REC", bytes);
    Opnfil(6, 128, "TRAB1.REC");
    LoadResult r = Load(0, "", "D", kAccountLayout);
    Clsfil(6);
    EXPECT_EQ(r.list, (std::vector<int16_t>{2, 1, 3}));
    EXPECT_EQ(r.pages, 1);
    EXPECT_EQ(r.total, 10);
}

// A file of `records` records (the counter included) whose transactions are
// all taken, written in one piece so the test stays fast.
void WriteTakenFile(int records) {
    TransactionRecord t;
    t.symbol = "IBM";
    t.date_number = 1050101;
    Record one;
    t.Encode(one);
    Record header(128, 0);
    header.SetI16(0, static_cast<int16_t>(records));
    std::vector<unsigned char> bytes = header.bytes();
    bytes.reserve(static_cast<std::size_t>(records) * 128);
    for (int r = 2; r <= records; ++r) bytes.insert(bytes.end(), one.bytes().begin(), one.bytes().end());
    TempDataDir::WriteBytes("TRBIG.REC", bytes);
}

TEST(RecordServicesLdtrns, MoreThanTwelveThousandOverflows) {
    struct Case {
        int records;
        int16_t count, pages, overflow, total;
    } cases[] = {
        {12001, 12000, 750, 0, 12001},  // 12,000 transactions fit
        {12002, 0, -9999, -1, 12001},   // the 12,001st overflows
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        WriteTakenFile(c.records);
        Opnfil(6, 128, "TRBIG.REC");
        LoadResult r = Load(0, "", "D", kAccountLayout);
        Clsfil(6);
        EXPECT_EQ(r.count, c.count) << c.records;
        EXPECT_EQ(r.pages, c.pages) << c.records;
        EXPECT_EQ(r.overflow, c.overflow) << c.records;
        EXPECT_EQ(r.total, c.total) << c.records;
        EXPECT_EQ(r.list.size(), static_cast<std::size_t>(c.count)) << c.records;
    }
}

// An off-line or block trade line: 512 bytes, the account first and the
// transaction's fields after it.
struct Line {
    std::string account, symbol, lot, date, code;
    double quantity;
    float price;
    double amount;
    std::string broker;
    double commission, bond_interest, lot_cost;
    float date_number;
    int16_t flag;
    std::string mark, source;
};

Record LineRecord(const Line& l) {
    Record r(512, 0);
    r.SetText(0, 8, l.account);
    r.SetText(8, 12, l.symbol);
    r.SetText(20, 4, l.lot);
    r.SetText(24, 8, l.date);
    r.SetText(32, 4, l.code);
    r.SetR8(36, l.quantity);
    r.SetR4(44, l.price);
    r.SetR8(48, l.amount);
    r.SetText(56, 8, l.broker);
    r.SetR8(64, l.commission);
    r.SetR8(72, l.bond_interest);
    r.SetText(80, 8, l.date);
    r.SetR8(88, l.lot_cost);
    r.SetR4(96, l.date_number);
    r.SetI16(110, l.flag);
    r.SetText(112, 4, l.mark);
    r.SetText(116, 20, l.source);
    return r;
}

void WriteLineFile(const std::string& name, const std::vector<Line>& lines) {
    Record header(512, 0);
    header.SetI16(0, static_cast<int16_t>(lines.size() + 1));
    std::vector<unsigned char> bytes = header.bytes();
    for (const Line& l : lines) {
        Record r = LineRecord(l);
        bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    }
    TempDataDir::WriteBytes(name, bytes);
}

TEST(RecordServicesLdtrns, OfflineAndBlockLayoutsTakeEveryLine) {
    for (int layout : {kBlockLayout, kOfflineLayout}) {
        TempDataDir dir;
        WriteLineFile("OFFLINET.DAT",
                      {{"AB1", "IBM", "", "03/02/05", "B", 1, 1, 1, "", 0, 0, 0, 1050302, 1, "A", ""},
                       {"", "", "", "", "", 0, 0, 0, "", 0, 0, 0, 1050301, 1, "A", ""},  // blank: still taken
                       {"AB2", "GE", "", "01/01/04", "S", 1, 1, 1, "", 0, 0, 0, 1040101, 1, "A", ""}});
        Open4(6, "OFFLINET.DAT");
        LoadResult r = Load(1060101, "IBM", "S", layout);  // selection does not apply
        Close(6);
        EXPECT_EQ(r.list, (std::vector<int16_t>{3, 2, 1})) << layout;
        EXPECT_EQ(r.total, 4);
    }
}

// ---- Lines

struct LineCase {
    const char* what;
    TransactionRecord tx;
    int16_t status;
    const char* line;  // 85 characters
};

TransactionRecord Trade(const char* symbol, const char* code, double quantity, float price, double amount,
                        double commission, double bond_interest) {
    TransactionRecord t;
    t.symbol = symbol;
    t.tax_lot = "A";
    t.trade_date = "03/15/05";
    t.code = code;
    t.quantity = quantity;
    t.price = price;
    t.amount = amount;
    t.broker = "MLY";
    t.commission = commission;
    t.bond_interest = bond_interest;
    t.date_number = 1050315;
    return t;
}

TransactionRecord With(TransactionRecord t, const std::function<void(TransactionRecord&)>& change) {
    change(t);
    return t;
}

TEST(RecordServicesTrnlin, FormatsAccountTransactions) {
    const std::vector<LineCase> cases = {
        {"a buy", Trade("IBM", "B", 100, 82.5f, 8250, 25, 0), 0,
         "    1 IBM         B    A   03/15/05    100.0000   82.5000   25.00    8250.00 MLY     "},
        {"bond interest adds to the amount", Trade("T 5.5 2010", "B", 10000, 99.5f, 9950, 0, 112.5), 0,
         "    1 T 5.5 2010  B    A   03/15/05  10000.0000   99.5000           10062.50 MLY     "},
        {"negative price and no commission are blank", Trade("IBM", "S", -5, -1, 400, -3, 0), 0,
         "    1 IBM         S    A   03/15/05     -5.0000                       400.00 MLY     "},
        {"transfer in at its lot cost",
         With(Trade("IBM", "SI", 10, 0, 500, 0, 0), [](TransactionRecord& t) { t.lot_cost = 750; }), 0,
         "    1 IBM         SI   A   03/15/05     10.0000    0.0000             750.00 MLY     "},
        {"transfer out without amount at its lot cost",
         With(Trade("IBM", "SO", 10, 0, 0, 0, 0), [](TransactionRecord& t) { t.lot_cost = 600; }), 0,
         "    1 IBM         SO   A   03/15/05     10.0000    0.0000             600.00 MLY     "},
        {"transfer out with an amount keeps it",
         With(Trade("IBM", "SO", 10, 0, 90, 0, 0), [](TransactionRecord& t) { t.lot_cost = 600; }), 0,
         "    1 IBM         SO   A   03/15/05     10.0000    0.0000              90.00 MLY     "},
        {"a split shows a zero quantity", Trade("IBM", "SP", 0, 0, 0, 0, 0), 0,
         "    1 IBM         SP   A   03/15/05      0.0000    0.0000               0.00 MLY     "},
        {"no quantity is blank", Trade("CASH", "CD", 0, 0, 100, 0, 0), 0,
         "    1 CASH        CD   A   03/15/05                0.0000             100.00 MLY     "},
        {"the no-value marker is blank", Trade("CASH", "CD", -99999.98, 0, 100, 0, 0), 0,
         "    1 CASH        CD   A   03/15/05                0.0000             100.00 MLY     "},
        {"further from the marker is shown", Trade("CASH", "CD", -99999.95, 0, 100, 0, 0), 0,
         "    1 CASH        CD   A   03/15/05 -99999.9500    0.0000             100.00 MLY     "},
        {"income under its source",
         With(Trade("CASH", "DI", 0, 0, 50, 0, 0),
              [](TransactionRecord& t) { t.SetCashText("IBM         QTR DIV"); }),
         0, "    1 IBM         DI   A   03/15/05                0.0000              50.00 MLY     "},
        {"ME too",
         With(Trade("CASH", "ME", 0, 0, 5, 0, 0), [](TransactionRecord& t) { t.SetCashText("MMKT"); }), 0,
         "    1 MMKT        ME   A   03/15/05                0.0000               5.00 MLY     "},
        {"the type word marks the line",
         With(Trade("IBM", "B", 1, 1, 1, 0, 0), [](TransactionRecord& t) { t.type = "N"; }), 0,
         "    1 IBM         B  N A   03/15/05      1.0000    1.0000               1.00 MLY     "},
        {"a deleted transaction", With(TransactionRecord{}, [](TransactionRecord& t) { t.symbol = ""; }), -10,
         nullptr},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        Record r;
        c.tx.Encode(r);
        Record header(128, 0);
        header.SetI16(0, 2);
        std::vector<unsigned char> bytes = header.bytes();
        bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
        TempDataDir::WriteBytes("TRAB1.REC", bytes);
        Opnfil(6, 128, "TRAB1.REC");
        std::string line = "unchanged";
        EXPECT_EQ(Trnlin({1}, 1, kAccountLayout, line), c.status) << c.what;
        Clsfil(6);
        if (c.line) {
            EXPECT_EQ(line.size(), 85u) << c.what;
            EXPECT_EQ(line, c.line) << c.what;
        }
    }
}

TEST(RecordServicesTrnlin, OfflineAndBlockLinesShowTheAccount) {
    const Line line = {"AB1", "IBM", "b", "03/15/05", "B",     100, 82.5f, 8250,
                       "MLY", 25,    0,   0,          1050315, 0,   "A",   ""};
    struct Case {
        int layout;
        int16_t flag;
        const char* line;
    } cases[] = {
        {kOfflineLayout, 0,
         "    1 IBM         B  A b   03/15/05    100.0000   82.5000   25.00    8250.00 AB1     "},
        {kBlockLayout, 1,
         "    1 IBM         B  A b   03/15/05    100.0000   82.5000   25.00    8250.00 AB1     "},
        // A block allocation whose flag word is 0 is marked "D".
        {kBlockLayout, 0,
         "    1 IBM         B  D b   03/15/05    100.0000   82.5000   25.00    8250.00 AB1     "},
    };
    for (const auto& c : cases) {
        TempDataDir dir;
        Line l = line;
        l.flag = c.flag;
        WriteLineFile("TRADEBLK.DAT", {l});
        Open4(6, "TRADEBLK.DAT");
        std::string text;
        EXPECT_EQ(Trnlin({1}, 1, c.layout, text), 0);
        Close(6);
        EXPECT_EQ(text, c.line) << c.layout << " flag " << c.flag;
    }
}

TEST(RecordServicesTrnlin, ReadFailuresAndNeverWrittenRecords) {
    TempDataDir dir;
    WriteTransactionFile("TRAB1.REC", {{"IBM", 1050101}});
    std::vector<unsigned char> bytes = TempDataDir::ReadBytes("TRAB1.REC");
    bytes.resize(bytes.size() + 128, 0);  // record 3 holds zeros
    TempDataDir::WriteBytes("TRAB1.REC", bytes);
    Opnfil(6, 128, "TRAB1.REC");
    std::string line = "unchanged";
    struct Case {
        std::vector<int16_t> list;
        int index;
        int layout;
        int16_t status;
    } cases[] = {
        {{1}, 0, kAccountLayout, -1},   // no entry 0
        {{1}, 2, kAccountLayout, -1},   // past the list
        {{5}, 1, kAccountLayout, -1},   // past the file
        {{2}, 1, kAccountLayout, -10},  // zero bytes: a blank symbol
        {{1}, 1, 7, -1},                // no such layout
        {{1}, 1, kOfflineLayout, -1},   // 128-byte records are too short for that layout
    };
    for (const auto& c : cases) EXPECT_EQ(Trnlin(c.list, c.index, c.layout, line), c.status) << c.index;
    EXPECT_EQ(line, "unchanged");
    Clsfil(6);
}

TEST(RecordServicesTrnlin, SuccessiveLinesShareTheOpenSource) {
    TempDataDir dir;
    // Option 81 asks for 6 decimals: the quantity is rounded to 6 decimals
    // before it is shown with 4.
    Options options{};
    records::SetOption(options, records::Opt::kSystemDecimals, 6);
    Wropts(options);
    WriteTransactionFile("TRAB1.REC", {{"IBM", 1050101}, {"GE", 1050102}});
    TransactionRecord t;
    {
        DirectFile f("TRAB1.REC", 128);
        Record r;
        ASSERT_TRUE(f.Read(2, r));
        t = TransactionRecord::Decode(r);
        t.quantity = 1.00004999;  // 1.000050 after rounding to 6 decimals, so 1.0001
        t.Encode(r);
        ASSERT_TRUE(f.Write(2, r));
    }
    Opnfil(6, 128, "TRAB1.REC");
    std::string first, second;
    ASSERT_EQ(Trnlin({1, 2}, 1, kAccountLayout, first), 0);
    ASSERT_EQ(Trnlin({1, 2}, 2, kAccountLayout, second), 0);
    Clsfil(6);
    EXPECT_EQ(first.substr(6, 12), "IBM         ");
    EXPECT_EQ(first.substr(36, 11), "     1.0001");
    EXPECT_EQ(second.substr(6, 12), "GE          ");
}

}  // namespace
