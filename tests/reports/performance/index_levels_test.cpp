// Index levels month by month from the price files, and the dates the
// performance table's rows go by.

#include "reports/performance/index_levels.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "records/index.h"
#include "reports/performance/performance_table.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

constexpr float kNA = -999.99f;

TEST(Mnapsec, LevelsByMonth) {
    fixtures::TempDataDir dir;
    fixtures::WriteSecurities({{"CASH", "CASH", "CASH", "", "1"}, {"SPX", "SPX", "S&P 500", "", "P"}});
    // Day 30: January's and March's 30th, February's last day; no April
    // file; May's price 0 is no level.
    fixtures::WritePrices(" 1/30/97", {1.0, 700.0});
    fixtures::WritePrices(" 2/28/97", {1.0, 710.0});
    fixtures::WritePrices(" 3/30/97", {1.0, 720.0});
    fixtures::WritePrices(" 5/30/97", {1.0, 0.0});
    std::array<float, 8> levels;
    levels.fill(1.0f);
    reports::Mnapsec(1, 30, 97, 5, 97, "SPX         ", levels, 1);
    EXPECT_EQ(levels, (std::array<float, 8>{1.0f, 700.0f, 710.0f, 720.0f, kNA, kNA, 1.0f, 1.0f}));

    // A month-end report: every month's last day (03/31 has no file).
    levels.fill(1.0f);
    reports::Mnapsec(2, 30, 97, 4, 97, "SPX", levels, 0);
    EXPECT_EQ(levels, (std::array<float, 8>{710.0f, kNA, kNA, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f}));

    // Not in SECURITY.IDX, or blank: no levels.
    for (const char* symbol : {"DJI", ""}) {
        levels.fill(1.0f);
        reports::Mnapsec(1, 30, 97, 2, 97, symbol, levels, 0);
        EXPECT_EQ(levels, (std::array<float, 8>{kNA, kNA, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f})) << symbol;
    }
}

TEST(Mnapsec, CreatesNoSecurityIndex) {
    fixtures::TempDataDir dir;
    std::array<float, 4> levels{};
    reports::Mnapsec(1, 31, 97, 3, 97, "SPX", levels, 0);
    EXPECT_EQ(levels, (std::array<float, 4>{kNA, kNA, kNA, 0.0f}));
    EXPECT_FALSE(fixtures::TempDataDir::Exists(records::kSecurityIndex));
}

TEST(Mnapdat, OpeningAndMonthEndNumbers) {
    struct Case {
        const char* start;
        const char* opening;
        double start_number, opening_number, month_end_number;
    };
    const std::vector<Case> cases = {
        {"12/31/96", "12/31/96", 961231, 0, 961130},
        {"12/31/96", " 3/15/97", 961231, 970315, 970228},
        {" 1/15/99", " 1/10/00", 990115, 1000110, 991231},
        {" 1/15/99", " 3/10/00", 990115, 1000310, 1000229},
        // One date as two writers put it: no opening date of its own.
        {" 7/31/00", " 7/31/ 0", 1000731, 0, 1000630},
        {" 7/31/ 0", " 7/31/00", 1000731, 0, 1000630},
    };
    for (const Case& c : cases) {
        const reports::TableDates d = reports::Mnapdat(c.start, c.opening);
        EXPECT_EQ(d.start_number, c.start_number) << c.start << " " << c.opening;
        EXPECT_EQ(d.opening_number, c.opening_number) << c.start << " " << c.opening;
        EXPECT_EQ(d.month_end_number, c.month_end_number) << c.start << " " << c.opening;
    }
}

}  // namespace
