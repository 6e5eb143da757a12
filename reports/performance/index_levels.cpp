#include "reports/performance/index_levels.h"

#include "records/dates.h"
#include "records/files.h"
#include "records/index.h"
#include "records/prices.h"
#include "records/record.h"

namespace reports {

namespace {

constexpr float kNoLevel = -999.99f;
constexpr std::size_t kPriceRecordLength = 8;

}  // namespace

void Mnapsec(int16_t first_month, int16_t day, int16_t first_year, int16_t last_month, int16_t last_year,
             std::string_view symbol, std::span<float> levels, int first_entry) {
    const long months = (static_cast<long>(last_year) - first_year) * 12 + last_month - first_month + 1;
    auto slot = [&](long n) -> float* {
        const long at = first_entry + n - 1;
        if (at < 0 || at >= static_cast<long>(levels.size())) return nullptr;
        return &levels[static_cast<std::size_t>(at)];
    };
    for (long n = 1; n <= months; ++n)
        if (float* level = slot(n)) *level = kNoLevel;
    if (months < 1 || records::TrimRight(symbol).empty()) return;
    // The index is looked up only when SECURITY.IDX is there: the look-up
    // would otherwise create it.
    if (!records::DirectFile(records::kSecurityIndex, 128, false).ok()) return;
    const int entry = records::Fndsym(records::Fixed(symbol, 12));
    if (entry <= 0) return;

    records::MonthLengths lengths = records::MonthLengthTable;
    records::Setfeb(lengths, last_year);
    const bool month_ends = last_month >= 1 && last_month <= 12 && day == lengths[last_month - 1];
    int16_t month = first_month, year = first_year;
    for (long n = 1; n <= months; ++n) {
        records::Setfeb(lengths, year);
        const int16_t length = (month >= 1 && month <= 12) ? lengths[month - 1] : 31;
        int16_t d = month_ends || day > length ? length : day;
        std::string date;
        int16_t y = year;
        records::Wrdate(date, month, d, y);
        records::DirectFile prices(records::PriceFileName(date), kPriceRecordLength, false);
        records::Record rec;
        if (prices.ok() && prices.Read(entry, rec)) {
            const double price = records::StoredPrice(rec);
            if (price > 0)
                if (float* level = slot(n)) *level = static_cast<float>(price);
        }
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
}

}  // namespace reports
