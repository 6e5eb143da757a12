#pragma once

// A value history HL<acct>.DAT written for the performance tests: the
// header and four records a year (market values, flows, a carried series
// of zeros, incomes).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/value_history.h"
#include "records/files.h"
#include "records/record.h"

namespace perffix {

using Year = std::array<double, 12>;

inline void WriteHistory(const std::string& account, int16_t first_month, int16_t first_year,
                         const std::vector<Year>& values, const std::vector<Year>& flows,
                         const std::vector<Year>& incomes) {
    records::DirectFile f("HL" + account + ".DAT", 128);
    engine::ValueHistoryHeader h;
    h.account = records::Fixed(account, 8);
    h.start_month = first_month;
    h.first_year = first_year;
    h.end_month = 12;
    h.years = static_cast<int16_t>(values.size());
    h.last_year = static_cast<int16_t>(first_year + h.years - 1);
    records::Record head(128, 0);
    h.Encode(head);
    f.Write(1, head);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::array<const Year*, 4> series = {&values[k], &flows[k], nullptr, &incomes[k]};
        for (int s = 0; s < 4; ++s) {
            engine::ValueHistoryYear y;
            y.year = static_cast<int16_t>(first_year + k);
            if (series[s] != nullptr) y.values = *series[s];
            records::Record rec(128, 0);
            y.Encode(rec);
            f.Write(static_cast<long>(k) * 4 + 2 + s, rec);
        }
    }
}

}  // namespace perffix
