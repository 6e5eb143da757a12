// Reading and writing the splits of one security in a year's split file.

#include "records/stock_splits.h"

#include <algorithm>
#include <cmath>

#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/store_counter.h"

namespace records {
namespace {

constexpr std::size_t kSymbolWidth = 12;

// A year as the files hold it: 0-50 count as 100 + YY.
int16_t WindowedYear(int16_t year) {
    return static_cast<int16_t>(WindowYear(year));
}

float DateNumber(int16_t month, int16_t day, int16_t year) {
    return static_cast<float>((static_cast<long>(WindowedYear(year)) * 100 + month) * 100 + day);
}

// A stored date number (YYMMDD, or 1YYMMDD for 2000-2050) as month, day
// and two-digit year.
void SplitDate(float number, int16_t& month, int16_t& day, int16_t& year) {
    const DateNumberParts parts = SplitDateNumber(std::lround(number));
    year = static_cast<int16_t>(parts.year % 100);
    month = static_cast<int16_t>(parts.month);
    day = static_cast<int16_t>(parts.day);
}

}  // namespace

void Rdsplt(std::string_view symbol, int year, std::string& message, SplitList& list) {
    list = SplitList{};
    const std::string key = Fixed(symbol, kSymbolWidth);
    if (Ccksym(key) == 0) {
        // The symbol as three four-character words, then the text.
        message = Write(kUnknownSplitSecurityLayout,
                        {std::string_view(key).substr(0, 4), std::string_view(key).substr(4, 4),
                         std::string_view(key).substr(8, 4)});
        return;
    }
    // Reading never creates the year's file.
    const std::string name = SplitFileName(year);
    const DirectFile file(name, kSplitRecordLength, false);
    Record rec;
    if (!file.Read(1, rec)) return;
    const int16_t stored_last = SplitFileHeader::Decode(rec).last_record;
    if (CheckStoreCounter(stored_last, file.Count()).damaged) {
        message = StoreDamagedMessage(name, stored_last);
        return;
    }
    list.last_record = stored_last;
    for (long r = 2; r <= list.last_record; ++r) {
        if (!file.Read(r, rec)) return;
        if (rec.Text(0, kSymbolWidth) != key) continue;
        list.position = static_cast<int16_t>(r);
        const SplitRecord stored = SplitRecord::Decode(rec);
        list.count = std::clamp<int16_t>(stored.count, 0, kMaxSplits);
        for (int k = 0; k < list.count; ++k) {
            const StockSplit& s = stored.splits[k];
            SplitEntry& e = list.splits[k];
            e.ratio = s.ratio;
            SplitDate(s.ex_date, e.ex_month, e.ex_day, e.ex_year);
            SplitDate(s.pay_date, e.pay_month, e.pay_day, e.pay_year);
            e.posted = s.posted;
        }
        return;
    }
}

std::string Wrsplt(std::string_view symbol, int year, SplitList& list) {
    const std::string key = Fixed(symbol, kSymbolWidth);
    if (list.position == 0 && list.count < 1) return {};

    const std::string name = SplitFileName(year);
    DirectFile file(name, kSplitRecordLength);
    // The last record in use as the file holds it now: the new record goes
    // right after it, where Rdsplt reads.
    Record header(kSplitRecordLength, 0);
    const int16_t stored_last = file.Read(1, header) ? SplitFileHeader::Decode(header).last_record : 0;
    const StoreCounter counter = CheckStoreCounter(stored_last, file.Count());
    if (counter.damaged) return StoreDamagedMessage(name, stored_last);
    Record rec(kSplitRecordLength, 0);
    SplitRecord stored;
    if (list.position == 0) {
        if (counter.Full()) return StoreFullMessage(name);
        list.position = static_cast<int16_t>(counter.last + 1);
        list.last_record = list.position;
    } else {
        list.last_record = static_cast<int16_t>(std::max<long>(counter.last, list.position));
        if (file.Read(list.position, rec)) stored = SplitRecord::Decode(rec);
    }

    stored.symbol = key;
    stored.count = list.count;
    if (list.count >= 1) {
        for (int k = 0; k < kMaxSplits; ++k) {
            StockSplit& s = stored.splits[k];
            if (k >= list.count) {
                s = StockSplit{};
                continue;
            }
            SplitEntry& e = list.splits[k];
            e.ex_year = WindowedYear(e.ex_year);
            e.pay_year = WindowedYear(e.pay_year);
            s.ratio = e.ratio;
            s.ex_date = DateNumber(e.ex_month, e.ex_day, e.ex_year);
            s.pay_date = DateNumber(e.pay_month, e.pay_day, e.pay_year);
            s.posted = e.posted;
        }
    }

    SplitFileHeader{list.last_record}.Encode(header);
    file.Write(1, header);
    stored.Encode(rec);
    file.Write(list.position, rec);
    return {};
}

}  // namespace records
