#include "pricing/dividend_split_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "records/dates.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/store_counter.h"

namespace pricing {

namespace {

constexpr std::size_t kDateWidth = 8;
constexpr std::size_t kSymbolWidth = 12;

constexpr const char* kCreatingLayout = "(5X,'Creating dividend file...                            ')";
constexpr const char* kDividendRefusedLayout =
    "(1X,'Warning: dividend not filed, ex-date ',2A4,', pay date ',2A4)";
constexpr const char* kSplitRefusedLayout =
    "(1X,'Warning: split of ',3A4,' not filed, ex-date ',2A4,', pay date ',2A4)";
constexpr const char* kSplitsFullLayout =
    "(1X,'Warning: split of ',3A4,' not filed, eight splits already in ',3A4)";

struct DateParts {
    int month = 0;
    int day = 0;
    int year = 0;
};

bool IsDate(const DateParts& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.year >= 0 && d.year <= 99;
}

// A group of one or two digits.
bool ReadGroup(const std::string& group, int& value) {
    if (group.empty() || group.size() > 2) return false;
    value = 0;
    for (char c : group) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// A dividend date as the pricing run hands it over: scanned from the right,
// each group is the non-blank characters up to the next "/", so " 3/15/98"
// and "3/15/98 " read alike. False for anything that is not three groups
// of one or two digits making a date.
bool DividendDate(std::string_view text, DateParts& d) {
    const std::string date = records::Fixed(text, kDateWidth);
    int values[3] = {0, 0, 0};
    int i = static_cast<int>(kDateWidth) - 1;
    for (int g = 0; g < 3; ++g) {
        std::string group;
        for (; i >= 0 && date[static_cast<std::size_t>(i)] != '/'; --i)
            if (date[static_cast<std::size_t>(i)] != ' ')
                group.insert(group.begin(), date[static_cast<std::size_t>(i)]);
        if (!ReadGroup(group, values[g])) return false;
        if (g < 2) {
            if (i < 0) return false;  // fewer than three groups
            --i;                      // the "/"
        }
    }
    if (i >= 0) return false;  // a fourth group
    d.year = values[0];
    d.day = values[1];
    d.month = values[2];
    return IsDate(d);
}

// A split date as the split dialogs read it: positions 1-2, 4-5 and 7-8.
bool SplitDate(std::string_view text, DateParts& d) {
    int16_t month = 0, day = 0, year = 0;
    if (!records::Redate(records::Fixed(text, kDateWidth), month, day, year)) return false;
    d = {month, day, year};
    return IsDate(d);
}

// A stored split date number in the split dialogs' form: the plain form
// YYMMDD of 2000-2050 is brought to 1YYMMDD.
float WindowedSplitNumber(float stored) {
    if (!std::isfinite(stored) || std::fabs(stored) > 1.0e7f) return stored;
    const long n = std::lround(stored);
    if (n < 0) return stored;
    const records::DateNumberParts parts = records::SplitDateNumber(n);
    return records::WindowedDateNumber(parts.month, parts.day, parts.year % 100);
}

// Texts of 8 and 12 characters as words of four for the warning lines.
records::OutItem Word(const std::string& text, std::size_t k) {
    return std::string_view(text).substr(4 * k, 4);
}

void Warn(const WarningSink& sink, std::string_view line) {
    if (sink) sink(line);
}

}  // namespace

void Wrdiv(float amount, std::string_view ex_date, std::string_view pay_date, int16_t record,
           int16_t record_count, const WarningSink& sink) {
    if (record < 1) return;
    DateParts ex, pay;
    if (!DividendDate(ex_date, ex) || !DividendDate(pay_date, pay)) {
        const std::string e = records::Fixed(ex_date, kDateWidth);
        const std::string p = records::Fixed(pay_date, kDateWidth);
        Warn(sink, records::Write(kDividendRefusedLayout, {Word(e, 0), Word(e, 1), Word(p, 0), Word(p, 1)}));
        return;
    }

    records::DirectFile file(records::DividendFileName(pay.year), records::kDividendRecordLength);
    records::Record rec;
    if (!file.Read(1, rec)) {
        std::puts(records::Write(kCreatingLayout).c_str());
        const records::Record blank = records::DividendRecord::NewFileRecord();
        const long count = std::max<long>(record_count, record);
        for (long n = 1; n <= count; ++n) file.Write(n, blank);
    }

    records::DividendRecord dividends;
    if (file.Read(record, rec)) {
        dividends = records::DividendRecord::Decode(rec);
    } else {
        rec = records::Record(records::kDividendRecordLength, 0);
    }
    records::DividendSlot& slot = dividends.months[static_cast<std::size_t>(pay.month - 1)];
    slot.amount = amount;
    slot.ex_date = static_cast<float>((ex.year * 100 + ex.month) * 100 + ex.day);
    slot.pay_day = static_cast<uint8_t>(pay.day);
    dividends.Encode(rec);
    file.Write(record, rec);
}

void Wrspl(std::string_view symbol, std::string_view ex_date, std::string_view pay_date, float ratio,
           const WarningSink& sink) {
    const std::string key = records::Fixed(symbol, kSymbolWidth);
    DateParts ex, pay;
    if (!SplitDate(ex_date, ex) || !SplitDate(pay_date, pay)) {
        const std::string e = records::Fixed(ex_date, kDateWidth);
        const std::string p = records::Fixed(pay_date, kDateWidth);
        Warn(sink, records::Write(kSplitRefusedLayout, {Word(key, 0), Word(key, 1), Word(key, 2), Word(e, 0),
                                                        Word(e, 1), Word(p, 0), Word(p, 1)}));
        return;
    }
    records::StockSplit entry;
    entry.ratio = ratio;
    entry.ex_date = records::WindowedDateNumber(ex.month, ex.day, ex.year);
    entry.pay_date = records::WindowedDateNumber(pay.month, pay.day, pay.year);
    entry.posted = 2;  // entered and not yet posted: a downloaded split still needs posting

    const std::string name = records::SplitFileName(pay.year);
    records::DirectFile file(name, records::kSplitRecordLength);
    records::Record header(records::kSplitRecordLength, 0);
    int last = 0;
    if (file.Read(1, header))
        last = records::SplitFileHeader::Decode(header).last_record;
    else
        header = records::Record(records::kSplitRecordLength, 0);
    // The split dialogs read records 2 to the last in use: a last record
    // beyond the file's records (or below 1) would put the split where they
    // never read it, and a full file has no record left.
    const records::StoreCounter counter = records::CheckStoreCounter(last, file.Count());
    if (counter.damaged || counter.Full()) {
        Warn(sink, " Warning: split of " + records::TrimRight(key) + " not filed, " +
                       (counter.damaged ? records::StoreDamagedMessage(name, last) : records::StoreFullMessage(name)));
        return;
    }
    last = static_cast<int>(counter.last);

    records::Record rec;
    for (long r = 2; r <= last; ++r) {
        if (!file.Read(r, rec)) break;
        if (rec.Text(0, kSymbolWidth) != key) continue;
        // The security's record: the first of its symbol, the one the split
        // dialogs read. A record whose splits were all deleted takes this
        // one as its first.
        records::SplitRecord stored = records::SplitRecord::Decode(rec);
        const int count = std::clamp<int>(stored.count, 0, records::kMaxSplits);
        for (int k = 0; k < count; ++k) {
            const records::StockSplit& s = stored.splits[static_cast<std::size_t>(k)];
            if (s.ratio == entry.ratio && WindowedSplitNumber(s.ex_date) == entry.ex_date &&
                WindowedSplitNumber(s.pay_date) == entry.pay_date)
                return;
        }
        if (count >= records::kMaxSplits) {
            Warn(sink, records::Write(kSplitsFullLayout, {Word(key, 0), Word(key, 1), Word(key, 2),
                                                          Word(name, 0), Word(name, 1), Word(name, 2)}));
            return;
        }
        if (count == 0) stored.splits.fill(records::StockSplit{});
        stored.splits[static_cast<std::size_t>(count)] = entry;
        stored.count = static_cast<int16_t>(count + 1);
        stored.Encode(rec);
        file.Write(r, rec);
        return;
    }

    // A new record after the last in use.
    const int16_t position = static_cast<int16_t>(last + 1);
    records::SplitRecord fresh;
    fresh.symbol = key;
    fresh.count = 1;
    fresh.splits[0] = entry;
    records::Record out(records::kSplitRecordLength, 0);
    fresh.Encode(out);
    file.Write(position, out);
    records::SplitFileHeader{position}.Encode(header);
    file.Write(1, header);
}

}  // namespace pricing
