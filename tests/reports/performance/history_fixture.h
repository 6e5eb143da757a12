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
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"

namespace perffix {

using Year = std::array<double, 12>;

// A year of month values: the months given, every other month `rest`.
inline Year Months(std::initializer_list<std::pair<int, double>> set, double rest = 0) {
    Year y;
    y.fill(rest);
    for (const auto& [m, v] : set) y[static_cast<std::size_t>(m - 1)] = v;
    return y;
}

// Account H1's values over the first half of 1997.
inline Year H1Values() {
    const double mar = 109242.0, apr = mar * 1.01, may = apr * 1.02, jun = may * 0.99;
    return Months({{1, 105000}, {2, 107100}, {3, mar}, {4, apr}, {5, may}, {6, jun}});
}

// The program date 6/30/97, the firm heading, cash, a stock, a bond and
// two index securities, and their prices at every month end from 12/31/96.
inline void WriteHalfYearMarket() {
    fixtures::WriteProgramDate(" 6/30/97");
    fixtures::WriteFirmHeading("FIRM", 58);
    fixtures::WriteSecurities({{"CASH", "CASH", "CASH", "", "1"},
                               {"STK", "STK", "STOCK CO", "", "P"},
                               {"BND", "BND", "BOND CO", "", "B", "", "", 0.0f},
                               {"SPX", "SPX", "S&P 500", "", "P"},
                               {"LEH", "LEH", "LEHMAN", "", "B"}});
    const char* ends[] = {"12/31/96", " 1/31/97", " 2/28/97", " 3/31/97", " 4/30/97", " 5/31/97", " 6/30/97"};
    for (int k = 0; k <= 6; ++k) {
        const double stock = 50.0 + k, bond = 100.0 - k * 0.5;
        const double spx = 700.0 + 7 * k, leh = 400.0 + 2 * k;
        fixtures::WritePrices(ends[k], {1.0, stock, bond, spx, leh});
    }
}

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
