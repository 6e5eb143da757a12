#include "engine/value_history.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using engine::MonthlyValues;
using engine::ValueHistoryHeader;
using engine::ValueHistoryYear;
using fixtures::TempDataDir;
using records::Record;

constexpr const char* kFile = "HLACC1.DAT";
constexpr double kNone = engine::kNoMarketValue;

MonthlyValues Months(double first, double step = 1.0) {
    MonthlyValues v{};
    for (int m = 0; m < 12; ++m) v[m] = first + step * m;
    return v;
}

// A history file: the header and, for each year from the first, its four
// series (market value = 1000y + month, flow = 100 + month, carried = 50y
// + month, income = 10 + month unless given).
struct History {
    ValueHistoryHeader header;
    std::map<long, ValueHistoryYear> records;  // by record number
};

History Span(int first, int last, int end_month = 12) {
    History h;
    h.header.account = "ACC1    ";
    h.header.start_month = 3;
    h.header.first_year = static_cast<int16_t>(first);
    h.header.end_month = static_cast<int16_t>(end_month);
    h.header.last_year = static_cast<int16_t>(last);
    h.header.years = static_cast<int16_t>(last - first + 1);
    for (int y = first; y <= last; ++y) {
        const long r = h.header.YearRecord(y);
        const double series_base[4] = {1000.0 * y, 100.0, 50.0 * y, 10.0};
        for (int s = 0; s < 4; ++s) {
            ValueHistoryYear rec;
            rec.year = static_cast<int16_t>(y);
            rec.values = Months(series_base[s] + 1);
            h.records[r + s] = rec;
        }
    }
    return h;
}

void Write(const History& h) {
    records::DirectFile f(kFile, 128);
    Record head(128, 0);
    h.header.Encode(head);
    f.Write(1, head);
    for (const auto& [n, y] : h.records) {
        Record rec(128, 0);
        y.Encode(rec);
        f.Write(n, rec);
    }
}

ValueHistoryHeader ReadHeader() {
    records::DirectFile f(kFile, 128, false);
    Record rec;
    EXPECT_TRUE(f.Read(1, rec));
    return ValueHistoryHeader::Decode(rec);
}

ValueHistoryYear ReadYear(long n) {
    records::DirectFile f(kFile, 128, false);
    Record rec;
    EXPECT_TRUE(f.Read(n, rec)) << "record " << n;
    return ValueHistoryYear::Decode(rec);
}

long RecordCount() {
    records::DirectFile f(kFile, 128, false);
    return f.Count();
}

// ---- Codec at its byte offsets

TEST(ValueHistoryFormat, HeaderAndYearRecordsSitAtTheirOffsets) {
    Record head(128, 0xAB);
    ValueHistoryHeader h;
    h.account = "XY12    ";
    h.start_month = 3;
    h.first_year = 95;
    h.end_month = 12;
    h.last_year = 103;
    h.years = 9;
    h.Encode(head);
    const std::vector<unsigned char> expect_head = {'X', 'Y', '1', '2', ' ', ' ', ' ', ' ', 3,
                                                    0,   95,  0,   12,  0,   103, 0,   9,   0};
    EXPECT_EQ(std::vector<unsigned char>(head.bytes().begin(), head.bytes().begin() + 18), expect_head);
    EXPECT_EQ(head.bytes()[18], 0xAB) << "bytes past the header fields are kept";
    EXPECT_EQ(head.bytes()[127], 0xAB);

    Record rec(128, 0xCD);
    ValueHistoryYear y;
    y.year = 101;
    y.values = Months(1.5);
    y.Encode(rec);
    EXPECT_EQ(rec.I16(0), 101);
    EXPECT_EQ(rec.R8(2), 1.5);    // January, bytes 3-10
    EXPECT_EQ(rec.R8(90), 12.5);  // December, bytes 91-98
    EXPECT_EQ(rec.bytes()[98], 0xCD) << "bytes 99-128 are kept";

    // Decoding reads the same places; a short record decodes as zeros.
    EXPECT_EQ(ValueHistoryHeader::Decode(head).last_year, 103);
    EXPECT_EQ(ValueHistoryHeader::Decode(head).account, "XY12    ");
    EXPECT_EQ(ValueHistoryYear::Decode(rec).values[6], 7.5);
    EXPECT_EQ(ValueHistoryYear::Decode(Record(10, 0)).year, 0);
}

TEST(ValueHistoryFormat, YearsAreReducedIntoTheWindow) {
    const std::vector<std::pair<int, int>> cases = {{1998, 98}, {98, 98},   {198, 98},  {2003, 103},
                                                    {3, 103},   {103, 103}, {1951, 51}, {2050, 150},
                                                    {0, 100},   {-4, -4}};
    for (auto [in, out] : cases) EXPECT_EQ(engine::HistoryYear(in), out) << in;
}

TEST(ValueHistoryFormat, YearRecordsFollowTheFirstYear) {
    ValueHistoryHeader h;
    h.first_year = 95;
    h.last_year = 97;
    EXPECT_EQ(h.YearRecord(95), 2);
    EXPECT_EQ(h.YearRecord(97), 10);
}

// ---- Rperf and Wperf

TEST(ValueHistoryRperf, ReadsTheYearInAnyOfItsSpellings) {
    TempDataDir dir;
    Write(Span(97, 102));
    for (int year : {98, 1998, 198}) {
        int16_t record = 0, year_out = 0;
        MonthlyValues mv{}, cf{}, inc{};
        EXPECT_EQ(engine::Rperf("ACC1", static_cast<int16_t>(year), record, year_out, mv, cf, inc),
                  engine::kHistoryDone);
        EXPECT_EQ(record, 6);
        EXPECT_EQ(year_out, 98);
        EXPECT_EQ(mv, Months(98001));
        EXPECT_EQ(cf, Months(101));
        EXPECT_EQ(inc, Months(11)) << "incomes come from the 4th record, not the carried series";
    }
    for (int year : {2002, 2, 102}) {
        int16_t record = 0, year_out = 0;
        MonthlyValues mv{}, cf{}, inc{};
        EXPECT_EQ(engine::Rperf("ACC1", static_cast<int16_t>(year), record, year_out, mv, cf, inc), 0);
        EXPECT_EQ(record, 22);
        EXPECT_EQ(year_out, 102);
        EXPECT_EQ(mv, Months(102001));
    }
}

TEST(ValueHistoryRperf, RefusesAYearOutsideTheFile) {
    TempDataDir dir;
    Write(Span(97, 99));
    const auto before = TempDataDir::ReadBytes(kFile);
    for (int year : {96, 1996, 2000, 51, 50, -1}) {
        int16_t record = -7, year_out = -7;
        MonthlyValues mv = Months(-1), cf = Months(-2), inc = Months(-3);
        EXPECT_EQ(engine::Rperf("ACC1", static_cast<int16_t>(year), record, year_out, mv, cf, inc),
                  engine::kHistoryYearOutside)
            << year;
        EXPECT_EQ(record, -7);
        EXPECT_EQ(year_out, -7);
        EXPECT_EQ(mv, Months(-1));
        EXPECT_EQ(inc, Months(-3));
    }
    EXPECT_EQ(TempDataDir::ReadBytes(kFile), before);
}

TEST(ValueHistoryRperf, StartsANewFileWithTheYear) {
    TempDataDir dir;
    int16_t record = 0, year_out = 0;
    MonthlyValues mv = Months(5), cf = Months(5), inc = Months(5);
    EXPECT_EQ(engine::Rperf("ACC1", 2004, record, year_out, mv, cf, inc), engine::kHistoryDone);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(year_out, 104);
    EXPECT_EQ(mv, MonthlyValues{});
    EXPECT_EQ(inc, MonthlyValues{});

    const ValueHistoryHeader h = ReadHeader();
    EXPECT_EQ(h.account, "ACC1    ");
    EXPECT_EQ(h.first_year, 104);
    EXPECT_EQ(h.last_year, 104);
    EXPECT_EQ(h.years, 1);
    EXPECT_EQ(RecordCount(), 5);
    for (long n = 2; n <= 5; ++n) EXPECT_EQ(ReadYear(n).year, 104);

    // The dialog saves at the record it was given, and reads it back.
    EXPECT_EQ(engine::Wperf("ACC1", 2004, record, year_out, Months(1), Months(2), Months(3)), 0);
    MonthlyValues mv2{}, cf2{}, inc2{};
    EXPECT_EQ(engine::Rperf("ACC1", 4, record, year_out, mv2, cf2, inc2), 0);
    EXPECT_EQ(mv2, Months(1));
    EXPECT_EQ(cf2, Months(2));
    EXPECT_EQ(inc2, Months(3));
}

TEST(ValueHistoryWperf, WritesThreeSeriesAndLeavesTheCarriedOne) {
    TempDataDir dir;
    Write(Span(95, 97));
    EXPECT_EQ(engine::Wperf("ACC1", 96, 6, 96, Months(7), Months(8), Months(9)), engine::kHistoryDone);
    EXPECT_EQ(ReadYear(6).values, Months(7));
    EXPECT_EQ(ReadYear(7).values, Months(8));
    EXPECT_EQ(ReadYear(8).values, Months(50 * 96 + 1)) << "the carried series is not touched";
    EXPECT_EQ(ReadYear(9).values, Months(9));
    EXPECT_EQ(ReadYear(2).values, Months(95001));
    EXPECT_EQ(ReadYear(10).values, Months(97001));
    EXPECT_EQ(ReadHeader().last_year, 97);
}

TEST(ValueHistoryWperf, RefusesARecordOutsideTheYears) {
    TempDataDir dir;
    Write(Span(95, 97));
    const auto before = TempDataDir::ReadBytes(kFile);
    for (int16_t record : {-2, 0, 1, 3, 5, 14, 18, 400})
        EXPECT_EQ(engine::Wperf("ACC1", 96, record, 96, Months(7), Months(8), Months(9)),
                  engine::kHistoryYearOutside)
            << record;
    EXPECT_EQ(TempDataDir::ReadBytes(kFile), before);
}

// ---- Hlapnd

TEST(ValueHistoryHlapnd, AddsYearsCarryingTheCarriedSeries) {
    TempDataDir dir;
    Write(Span(95, 97));
    records::Open(20, kFile);
    engine::Hlapnd("ACC1", 99, 20);
    records::Close(20);

    const ValueHistoryHeader h = ReadHeader();
    EXPECT_EQ(h.last_year, 99);
    EXPECT_EQ(h.years, 5);
    EXPECT_EQ(h.first_year, 95);
    EXPECT_EQ(h.start_month, 3);
    EXPECT_EQ(RecordCount(), 21) << "two years, eight records";
    for (int y : {98, 99}) {
        const long r = h.YearRecord(y);
        EXPECT_EQ(ReadYear(r).year, y);
        EXPECT_EQ(ReadYear(r).values, MonthlyValues{});
        EXPECT_EQ(ReadYear(r + 1).values, MonthlyValues{});
        EXPECT_EQ(ReadYear(r + 2).values, Months(50 * 97 + 1)) << "carried from 97";
        EXPECT_EQ(ReadYear(r + 3).values, MonthlyValues{});
    }
    EXPECT_EQ(ReadYear(10).values, Months(97001)) << "the old last year is kept";
}

TEST(ValueHistoryHlapnd, AYearAlreadyHeldOrBeforeTheFirstChangesNothing) {
    TempDataDir dir;
    Write(Span(95, 97));
    const auto before = TempDataDir::ReadBytes(kFile);
    for (int16_t year : {94, 95, 96, 97}) {
        records::Open(20, kFile);
        engine::Hlapnd("ACC1", year, 20);
        records::Close(20);
        EXPECT_EQ(TempDataDir::ReadBytes(kFile), before) << year;
    }
}

TEST(ValueHistoryHlapnd, WritesTheFirstYearOfAFileWithOnlyAHeader) {
    TempDataDir dir;
    History h = Span(103, 103);
    h.records.clear();
    Write(h);
    records::Open(20, kFile);
    engine::Hlapnd("ACC1", 2003, 20);
    records::Close(20);
    EXPECT_EQ(RecordCount(), 5);
    for (long n = 2; n <= 5; ++n) {
        EXPECT_EQ(ReadYear(n).year, 103);
        EXPECT_EQ(ReadYear(n).values, MonthlyValues{});
    }
}

TEST(ValueHistoryHlapnd, AHeaderWithItsLastYearBeforeItsFirstAddsFromTheFirstYear) {
    TempDataDir dir;
    History h = Span(103, 103);
    h.records.clear();
    h.header.last_year = 0;
    h.header.years = 0;
    Write(h);
    records::Open(20, kFile);
    engine::Hlapnd("ACC1", 104, 20);
    records::Close(20);
    EXPECT_EQ(ReadHeader().last_year, 104);
    EXPECT_EQ(ReadHeader().years, 2);
    EXPECT_EQ(RecordCount(), 9) << "years 103 and 104 only, nothing before record 2";
    EXPECT_EQ(ReadYear(6).year, 104);
}

// ---- Hladja

TEST(ValueHistoryHladja, AdjustsFromTheMonthToTheEndOfTheHistory) {
    TempDataDir dir;
    History h = Span(95, 97);
    h.records[h.header.YearRecord(97)].values[4] = kNone;  // May 97 has no value
    Write(h);
    engine::Hladja("ACC1", 3, 96, 500.0, 70.0, 30.0, 1);

    // 95 untouched; 96 from March; 97 from January.
    EXPECT_EQ(ReadYear(2).values, Months(95001));
    MonthlyValues mv96 = Months(96001), mv97 = Months(97001);
    for (int m = 2; m < 12; ++m) mv96[m] += 500;
    for (int m = 0; m < 12; ++m) mv97[m] += 500;
    mv97[4] = kNone;
    EXPECT_EQ(ReadYear(6).values, mv96);
    EXPECT_EQ(ReadYear(10).values, mv97) << "a month without a value stays without";

    MonthlyValues cf96 = Months(101);
    cf96[2] += 70;
    EXPECT_EQ(ReadYear(7).values, cf96) << "flow in March only";
    EXPECT_EQ(ReadYear(11).values, Months(101));

    MonthlyValues c96 = Months(50 * 96 + 1), c97 = Months(50 * 97 + 1);
    for (int m = 2; m < 12; ++m) c96[m] += 30;
    for (int m = 0; m < 12; ++m) c97[m] += 30;
    EXPECT_EQ(ReadYear(8).values, c96);
    EXPECT_EQ(ReadYear(12).values, c97);
    EXPECT_EQ(ReadYear(9).values, Months(11));

    const ValueHistoryHeader hd = ReadHeader();
    EXPECT_EQ(hd.last_year, 97);
    EXPECT_EQ(hd.end_month, 12);
}

TEST(ValueHistoryHladja, SwitchOffLeavesMarketValues) {
    TempDataDir dir;
    Write(Span(95, 97, 4));
    engine::Hladja("ACC1", 6, 97, 500.0, 70.0, 30.0, 0);
    EXPECT_EQ(ReadYear(10).values, Months(97001));
    EXPECT_EQ(ReadYear(11).values[5], 106 + 70);
    EXPECT_EQ(ReadHeader().end_month, 6) << "a later month of the last year moves the end month";
}

TEST(ValueHistoryHladja, AYearBeyondTheLastCreatesTheMissingYears) {
    TempDataDir dir;
    Write(Span(95, 97, 12));
    engine::Hladja("ACC1", 4, 99, 500.0, 70.0, 30.0, 1);

    const ValueHistoryHeader h = ReadHeader();
    EXPECT_EQ(h.last_year, 99);
    EXPECT_EQ(h.end_month, 4);
    EXPECT_EQ(h.years, 5);
    EXPECT_EQ(ReadYear(10).values, Months(97001)) << "the old last year is left as it was";
    MonthlyValues none;
    none.fill(kNone);
    EXPECT_EQ(ReadYear(14).year, 98);
    EXPECT_EQ(ReadYear(14).values, none) << "no value after a positive December";
    EXPECT_EQ(ReadYear(18).values, none) << "values marked missing are not adjusted";
    MonthlyValues carried98;
    carried98.fill(50 * 97 + 12);
    EXPECT_EQ(ReadYear(16).values, carried98);
    MonthlyValues carried99 = carried98;
    for (int m = 3; m < 12; ++m) carried99[m] += 30;
    EXPECT_EQ(ReadYear(20).values, carried99);
    MonthlyValues flow99{};
    flow99[3] = 70;
    EXPECT_EQ(ReadYear(15).values, MonthlyValues{});
    EXPECT_EQ(ReadYear(19).values, flow99);
    EXPECT_EQ(ReadYear(17).values, MonthlyValues{});
    EXPECT_EQ(ReadYear(21).values, MonthlyValues{});
    EXPECT_EQ(ReadYear(21).year, 99);
}

TEST(ValueHistoryHladja, ANonPositiveDecemberIsCarriedIntoANewYear) {
    TempDataDir dir;
    History h = Span(95, 97);
    h.records[h.header.YearRecord(97)].values[11] = 0.0;
    Write(h);
    engine::Hladja("ACC1", 1, 98, 5.0, 0.0, 0.0, 1);
    MonthlyValues five;
    five.fill(5.0);
    EXPECT_EQ(ReadYear(14).values, five);
}

TEST(ValueHistoryHladja, RefusedCallsChangeNothing) {
    TempDataDir dir;
    Write(Span(95, 97));
    const auto before = TempDataDir::ReadBytes(kFile);
    engine::Hladja("ACC1", 3, 94, 500.0, 70.0, 30.0, 1);  // before the first year
    engine::Hladja("ACC1", 0, 96, 500.0, 70.0, 30.0, 1);  // no such month
    engine::Hladja("ACC1", 13, 96, 500.0, 70.0, 30.0, 1);
    EXPECT_EQ(TempDataDir::ReadBytes(kFile), before);
    engine::Hladja("NOFILE", 3, 96, 500.0, 70.0, 30.0, 1);
    EXPECT_TRUE(TempDataDir::ReadBytes("HLNOFILE.DAT").empty());
}

// ---- A damaged header

// A header year far outside the years a history can span (the first year
// -32768 is bytes 11-12 "00 80") would have the routines write tens of
// thousands of years: each refuses it and leaves the file as it was.
TEST(ValueHistoryDamagedHeader, EveryRoutineRefusesItAndTheFileStaysAsItWas) {
    struct Case {
        const char* name;
        int16_t first, last;
    };
    const std::vector<Case> cases = {
        {"first year -32768", INT16_MIN, 98},
        {"last year 32767", 95, INT16_MAX},
        {"131 years", 95, 95 + 130},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        History h = Span(95, 98);
        h.header.first_year = c.first;
        h.header.last_year = c.last;
        Write(h);
        const auto before = TempDataDir::ReadBytes(kFile);

        EXPECT_TRUE(engine::HistoryDamaged("ACC1", 98));
        EXPECT_FALSE(engine::Hladja("ACC1", 3, 98, 500.0, 70.0, 30.0, 1));
        EXPECT_FALSE(engine::Hladja("ACC1", 3, 99, 500.0, 70.0, 30.0, 1));
        records::Open(20, kFile);
        EXPECT_FALSE(engine::Hlapnd("ACC1", 99, 20));
        records::Close(20);
        MonthlyValues values{}, flows{}, incomes{};
        int16_t record = 0, year = 0;
        EXPECT_EQ(engine::Rperf("ACC1", 98, record, year, values, flows, incomes),
                  engine::kHistoryYearOutside);
        for (const int16_t r : {int16_t{2}, int16_t{14}, int16_t{30002}})
            EXPECT_EQ(engine::Wperf("ACC1", 98, r, 98, values, flows, incomes), engine::kHistoryYearOutside)
                << r;
        EXPECT_EQ(TempDataDir::ReadBytes(kFile), before);
    }

    // The widest sound span is taken; no file, or no header, is not damaged.
    TempDataDir dir;
    Write(Span(60, 60 + engine::kMaxHistoryYears - 1));
    EXPECT_FALSE(engine::HistoryDamaged("ACC1", 98));
    EXPECT_TRUE(engine::HistoryDamaged("ACC1", 59));
    EXPECT_FALSE(engine::HistoryDamaged("NOFILE", 98));
}

}  // namespace
