#include "engine/value_history.h"

#include <cstring>

#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"

namespace engine {

namespace {

using records::Record;

constexpr std::size_t kRecordLength = 128;

Record Full(const Record& rec) {
    if (rec.size() >= kRecordLength) return rec;
    Record copy(kRecordLength, 0);
    if (rec.size() > 0) std::memcpy(copy.data(), rec.data(), rec.size());
    return copy;
}

void Extend(Record& rec) {
    if (rec.size() < kRecordLength) rec.bytes().resize(kRecordLength, 0);
}

std::string HistoryFileName(std::string_view account) {
    return records::Paknam(account, "HL", ".DAT");
}

bool ReadHeader(int unit, ValueHistoryHeader& header, Record& rec) {
    if (!records::ReadRecord(unit, 1, rec)) return false;
    header = ValueHistoryHeader::Decode(rec);
    return true;
}

bool ReadYear(int unit, long n, ValueHistoryYear& year) {
    Record rec;
    if (n < 1 || !records::ReadRecord(unit, n, rec)) return false;
    year = ValueHistoryYear::Decode(rec);
    return true;
}

// Writes a year record, keeping the bytes beyond the twelve values of a
// record that is already there.
void WriteYear(int unit, long n, const ValueHistoryYear& year) {
    Record rec;
    if (!records::ReadRecord(unit, n, rec)) rec = Record(kRecordLength, 0);
    year.Encode(rec);
    records::WriteRecord(unit, n, rec);
}

ValueHistoryYear Filled(int16_t year, double value) {
    ValueHistoryYear y;
    y.year = year;
    y.values.fill(value);
    return y;
}

}  // namespace

// ---- Codec

ValueHistoryHeader ValueHistoryHeader::Decode(const Record& in) {
    const Record rec = Full(in);
    ValueHistoryHeader h;
    h.account = rec.Text(0, 8);
    h.start_month = rec.I16(8);
    h.first_year = rec.I16(10);
    h.end_month = rec.I16(12);
    h.last_year = rec.I16(14);
    h.years = rec.I16(16);
    return h;
}

void ValueHistoryHeader::Encode(Record& rec) const {
    Extend(rec);
    rec.SetText(0, 8, account);
    rec.SetI16(8, start_month);
    rec.SetI16(10, first_year);
    rec.SetI16(12, end_month);
    rec.SetI16(14, last_year);
    rec.SetI16(16, years);
}

ValueHistoryYear ValueHistoryYear::Decode(const Record& in) {
    const Record rec = Full(in);
    ValueHistoryYear y;
    y.year = rec.I16(0);
    for (int m = 0; m < 12; ++m) y.values[m] = rec.R8(2 + 8 * m);
    return y;
}

void ValueHistoryYear::Encode(Record& rec) const {
    Extend(rec);
    rec.SetI16(0, year);
    for (int m = 0; m < 12; ++m) rec.SetR8(2 + 8 * m, values[m]);
}

int16_t HistoryYear(int year) {
    if (year < 0) return static_cast<int16_t>(year < -32768 ? -32768 : year);
    return static_cast<int16_t>(records::WindowYear(year % 100));
}

// ---- Rperf, Wperf

int16_t Rperf(std::string_view account, int16_t year, int16_t& record, int16_t& year_out,
              MonthlyValues& market_values, MonthlyValues& capital_flows, MonthlyValues& incomes) {
    const int16_t y = HistoryYear(year);
    if (y < 0) return kHistoryYearOutside;
    const int unit = kValueHistoryUnit;
    records::Open(unit, HistoryFileName(account));
    records::UnitGuard guard(unit);

    ValueHistoryHeader header;
    Record rec;
    if (!ReadHeader(unit, header, rec)) {
        // No history yet: start the file with this year, so that the
        // record number handed back names a year the file holds whole.
        header.account = records::Fixed(account, 8);
        header.start_month = 1;
        header.first_year = y;
        header.end_month = 12;
        header.last_year = y;
        header.years = 1;
        Record head(kRecordLength, 0);
        header.Encode(head);
        records::WriteRecord(unit, 1, head);
        for (int s = 0; s < 4; ++s) WriteYear(unit, 2 + s, Filled(y, 0.0));
        market_values.fill(0.0);
        capital_flows.fill(0.0);
        incomes.fill(0.0);
        record = 2;
        year_out = y;
        return kHistoryDone;
    }
    // A year outside the file's years would address the header or records
    // past the year structure: refuse it.
    if (!header.SpanFits(y) || !header.Holds(y)) return kHistoryYearOutside;

    const long r = header.YearRecord(y);
    record = static_cast<int16_t>(r);
    ValueHistoryYear values;
    if (ReadYear(unit, r + kMarketValueSeries, values)) {
        year_out = values.year;
        market_values = values.values;
    }
    if (ReadYear(unit, r + kCapitalFlowSeries, values)) capital_flows = values.values;
    if (ReadYear(unit, r + kIncomeSeries, values)) incomes = values.values;
    return kHistoryDone;
}

int16_t Wperf(std::string_view account, int16_t /*year*/, int16_t record, int16_t year_word,
              const MonthlyValues& market_values, const MonthlyValues& capital_flows,
              const MonthlyValues& incomes) {
    const int unit = kValueHistoryUnit;
    records::Open(unit, HistoryFileName(account));
    records::UnitGuard guard(unit);

    ValueHistoryHeader header;
    Record rec;
    if (!ReadHeader(unit, header, rec) || !header.SpanFits(header.first_year)) return kHistoryYearOutside;
    // The record number must be the first record of a year the file holds;
    // anything else would overwrite the header or another year's series.
    const long offset = static_cast<long>(record) - 2;
    const long span = static_cast<long>(header.last_year) - header.first_year + 1;
    if (offset < 0 || offset % 4 != 0 || offset / 4 >= span) return kHistoryYearOutside;

    ValueHistoryYear values;
    values.year = year_word;
    values.values = market_values;
    WriteYear(unit, record + kMarketValueSeries, values);
    values.values = capital_flows;
    WriteYear(unit, record + kCapitalFlowSeries, values);
    values.values = incomes;
    WriteYear(unit, record + kIncomeSeries, values);
    return kHistoryDone;
}

// ---- Hlapnd

bool Hlapnd(std::string_view /*account*/, int16_t year, int unit) {
    const int16_t n = HistoryYear(year);
    ValueHistoryHeader header;
    Record head;
    if (!ReadHeader(unit, header, head)) return true;
    if (!header.SpanFits(n)) return false;
    if (n < header.first_year) return true;

    if (n > header.last_year) {
        const int old_last = header.last_year;
        MonthlyValues carried{};
        ValueHistoryYear last;
        if (header.Holds(old_last) && ReadYear(unit, header.YearRecord(old_last) + kCarriedSeries, last))
            carried = last.values;
        header.last_year = n;
        header.years = static_cast<int16_t>(n - header.first_year + 1);
        header.Encode(head);
        records::WriteRecord(unit, 1, head);
        // Years are added from the year after the old last one, but never
        // before the first year (a header whose last year lies before its
        // first one has no year records to follow).
        const int from = old_last + 1 > header.first_year ? old_last + 1 : header.first_year;
        for (int p = from; p <= n; ++p) {
            const long r = header.YearRecord(p);
            const int16_t py = static_cast<int16_t>(p);
            WriteYear(unit, r + kMarketValueSeries, Filled(py, 0.0));
            WriteYear(unit, r + kCapitalFlowSeries, Filled(py, 0.0));
            ValueHistoryYear c;
            c.year = py;
            c.values = carried;
            WriteYear(unit, r + kCarriedSeries, c);
            WriteYear(unit, r + kIncomeSeries, Filled(py, 0.0));
        }
        return true;
    }
    // The first year of a file that holds no year records yet: write its
    // records. A year already written keeps its figures.
    ValueHistoryYear first;
    if (n == header.first_year && !ReadYear(unit, header.YearRecord(n), first)) {
        const long r = header.YearRecord(n);
        for (int s = 0; s < 4; ++s) WriteYear(unit, r + s, Filled(n, 0.0));
    }
    return true;
}

// ---- Hladja

bool Hladja(std::string_view account, int16_t month, int16_t year, double series1_amount,
            double series2_amount, double series3_amount, int16_t series1_switch) {
    if (month < 1 || month > 12) return true;
    const int16_t y = HistoryYear(year);
    const int unit = kValueHistoryUnit;
    records::Open(unit, HistoryFileName(account));
    records::UnitGuard guard(unit);

    ValueHistoryHeader header;
    Record head;
    if (!ReadHeader(unit, header, head)) return true;
    if (!header.SpanFits(y)) return false;
    if (y < header.first_year) return true;

    // A month beyond the history moves its end there; the visit starts at
    // the old last year so that the new years carry on from its December.
    int visit = y;
    if (y > header.last_year) {
        visit = header.last_year;
        header.end_month = month;
        header.last_year = y;
    } else if (y == header.last_year && month > header.end_month) {
        header.end_month = month;
    }
    header.years = static_cast<int16_t>(header.last_year - header.first_year + 1);
    header.Encode(head);
    records::WriteRecord(unit, 1, head);
    if (visit < header.first_year) visit = header.first_year;

    double carry1 = 0.0, carry3 = 0.0;
    for (int v = visit; v <= header.last_year; ++v) {
        const int16_t vy = static_cast<int16_t>(v);
        const int from = (v == y) ? month : 1;  // first month adjusted, 1-based
        const bool adjusted = v >= y;
        const long r = header.YearRecord(v);
        ValueHistoryYear rec;

        // Market values: a missing year takes the carry; the amount goes
        // into every month from the starting one that has a value.
        bool present = ReadYear(unit, r + kMarketValueSeries, rec) && rec.year == vy;
        if (!present) rec = Filled(vy, carry1);
        if (series1_switch == 1 && adjusted)
            for (int m = from; m <= 12; ++m)
                if (rec.values[m - 1] != kNoMarketValue) rec.values[m - 1] += series1_amount;
        if (!present || adjusted) WriteYear(unit, r + kMarketValueSeries, rec);
        carry1 = rec.values[11] > 0 ? kNoMarketValue : rec.values[11];

        // Capital flows: the amount in the given month alone.
        present = ReadYear(unit, r + kCapitalFlowSeries, rec) && rec.year == vy;
        if (!present) rec = Filled(vy, 0.0);
        if (v == y) rec.values[month - 1] += series2_amount;
        if (!present || adjusted) WriteYear(unit, r + kCapitalFlowSeries, rec);

        // Carried series: carried on into missing years, raised from the
        // starting month.
        present = ReadYear(unit, r + kCarriedSeries, rec) && rec.year == vy;
        if (!present) rec = Filled(vy, carry3);
        if (adjusted)
            for (int m = from; m <= 12; ++m) rec.values[m - 1] += series3_amount;
        if (!present || adjusted) WriteYear(unit, r + kCarriedSeries, rec);
        carry3 = rec.values[11];

        // Incomes: only a missing year is written (zeros).
        present = ReadYear(unit, r + kIncomeSeries, rec) && rec.year == vy;
        if (!present) WriteYear(unit, r + kIncomeSeries, Filled(vy, 0.0));
    }
    return true;
}

bool HistoryDamaged(std::string_view account, int16_t year) {
    const records::DirectFile file(HistoryFileName(account), kRecordLength, false);
    Record rec;
    if (!file.Read(1, rec)) return false;
    return !ValueHistoryHeader::Decode(rec).SpanFits(HistoryYear(year));
}

}  // namespace engine
