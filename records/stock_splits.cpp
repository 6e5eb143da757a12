// Reading and writing the splits of one security in a year's split file.

#include "records/stock_splits.h"

#include <algorithm>
#include <cmath>

#include "records/files.h"
#include "records/index.h"
#include "records/layout.h"
#include "records/record.h"

namespace records {
namespace {

constexpr std::size_t kSymbolWidth = 12;

// A year as the files hold it: 0-50 count as 100 + YY.
int16_t WindowedYear(int16_t year) {
    return year >= 0 && year <= 50 ? static_cast<int16_t>(year + 100) : year;
}

float DateNumber(int16_t month, int16_t day, int16_t year) {
    return static_cast<float>((static_cast<long>(WindowedYear(year)) * 100 + month) * 100 + day);
}

// A stored date number (YYMMDD, or 1YYMMDD for 2000-2050) as month, day
// and two-digit year.
void SplitDate(float number, int16_t& month, int16_t& day, int16_t& year) {
    const long n = std::lround(number);
    year = static_cast<int16_t>((n / 10000) % 100);
    month = static_cast<int16_t>((n / 100) % 100);
    day = static_cast<int16_t>(n % 100);
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
    const DirectFile file(SplitFileName(year), kSplitRecordLength, false);
    Record rec;
    if (!file.Read(1, rec)) return;
    list.last_record = SplitFileHeader::Decode(rec).last_record;
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

void Wrsplt(std::string_view symbol, int year, SplitList& list) {
    const std::string key = Fixed(symbol, kSymbolWidth);
    if (list.position == 0 && list.count < 1) return;

    DirectFile file(SplitFileName(year), kSplitRecordLength);
    Record rec(kSplitRecordLength, 0);
    SplitRecord stored;
    if (list.position == 0) {
        list.position = static_cast<int16_t>(std::max<int16_t>(list.last_record, 1) + 1);
        list.last_record = list.position;
    } else if (file.Read(list.position, rec)) {
        stored = SplitRecord::Decode(rec);
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

    Record header(kSplitRecordLength, 0);
    file.Read(1, header);
    SplitFileHeader{list.last_record}.Encode(header);
    file.Write(1, header);
    stored.Encode(rec);
    file.Write(list.position, rec);
}

}  // namespace records
