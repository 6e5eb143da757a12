#include "reports/kernel/holdings_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using End = reports::LotIterator::End;

struct LotCase {
    const char* what;
    int lots;
    std::vector<int16_t> links;  // links of records 2, 3, ... (empty: a plain list)
    std::vector<int16_t> records_read;
    End end;
};

class LotIteratorTable : public ::testing::TestWithParam<LotCase> {};

TEST_P(LotIteratorTable, FollowsTheLinksAndAlwaysEnds) {
    TempDataDir dir;
    const LotCase& c = GetParam();
    std::vector<fixtures::LotFields> lots;
    for (int i = 0; i < c.lots; ++i)
        lots.push_back({.symbol = "SYM" + std::to_string(i), .quantity = 1.0 + i});
    fixtures::WriteHoldings("ACC1", lots, c.links);
    reports::LotIterator it("HLACC1.REC");
    std::vector<int16_t> read;
    int16_t record = 0;
    records::HoldingRecord lot;
    while (it.Next(record, lot)) {
        read.push_back(record);
        EXPECT_EQ(records::TrimRight(lot.symbol), "SYM" + std::to_string(record - 2));
    }
    EXPECT_EQ(read, c.records_read);
    EXPECT_EQ(it.end(), c.end);
    EXPECT_FALSE(it.Next(record, lot));  // an ended walk stays ended
}

INSTANTIATE_TEST_SUITE_P(
    Lots, LotIteratorTable,
    ::testing::Values(LotCase{"a plain list", 3, {}, {2, 3, 4}, End::kListEnd},
                      LotCase{"an empty list", 0, {}, {}, End::kListEnd},
                      LotCase{"links out of order", 3, {4, -1, 3}, {2, 4, 3}, End::kListEnd},
                      // 4 records in the file: four steps, then the loop is cut.
                      LotCase{"a looping chain", 3, {3, 4, 2}, {2, 3, 4, 2}, End::kLooped},
                      LotCase{"a lot that links to itself", 1, {2}, {2, 2}, End::kLooped},
                      LotCase{"a link past the end of the file", 2, {3, 9}, {2, 3}, End::kReadFailed},
                      LotCase{"a link to record 0", 2, {0}, {2}, End::kReadFailed}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LotIterator, MissingFileEndsAtOnce) {
    TempDataDir dir;
    reports::LotIterator it("HLNONE.REC");
    int16_t record = 0;
    records::HoldingRecord lot;
    EXPECT_FALSE(it.Next(record, lot));
    EXPECT_EQ(it.end(), End::kReadFailed);
    EXPECT_FALSE(TempDataDir::Exists("HLNONE.REC"));
}

// A file cut inside a record: the lots before it are walked, the cut lot
// cannot be read; a file cut inside its header has no lots.
TEST(LotIterator, ACutFileEndsTheWalkWhereItsWholeRecordsEnd) {
    struct Cut {
        std::uintmax_t size;
        std::vector<int16_t> records_read;
    };
    for (const Cut& c : {Cut{3 * 128 + 40, {2, 3}}, Cut{4 * 128, {2, 3, 4}}, Cut{100, {}}, Cut{0, {}}}) {
        TempDataDir dir;
        fixtures::WriteHoldings("ACC1", {{.symbol = "SYM0"}, {.symbol = "SYM1"}, {.symbol = "SYM2"}});
        std::filesystem::resize_file("HLACC1.REC", c.size);
        reports::LotIterator it("HLACC1.REC");
        std::vector<int16_t> read;
        int16_t record = 0;
        records::HoldingRecord lot;
        while (it.Next(record, lot)) read.push_back(record);
        EXPECT_EQ(read, c.records_read) << c.size;
        EXPECT_EQ(it.end(), c.size == 4 * 128 ? End::kListEnd : End::kReadFailed) << c.size;
    }
}

TEST(HoldingsSource, EarlierReportDateReplaysIntoTheWorkFile) {
    TempDataDir dir;
    fixtures::WriteHoldings("ACC1", {{.symbol = "STORED", .quantity = 5}});
    fixtures::WriteTransactions("ACC1",
                                {fixtures::Transaction("B", "BOUGHT", "", " 1/10/97", 10, 100, 0, 2)});

    const reports::HoldingsSource now = reports::PrepareHoldings("ACC1", 981208.0f, 981208.0f);
    EXPECT_EQ(now.file, "HLACC1.REC");
    EXPECT_FALSE(now.replayed);

    const reports::HoldingsSource earlier = reports::PrepareHoldings("ACC1", 971231.0f, 981208.0f);
    EXPECT_EQ(earlier.file, "HL.TMP");
    EXPECT_TRUE(earlier.replayed);
    EXPECT_EQ(earlier.replay_status, 0);
    reports::LotIterator it(earlier.file);
    std::vector<std::string> symbols;
    int16_t record = 0;
    records::HoldingRecord lot;
    while (it.Next(record, lot)) symbols.push_back(records::TrimRight(lot.symbol));
    EXPECT_EQ(std::count(symbols.begin(), symbols.end(), "BOUGHT"), 1);
    EXPECT_EQ(std::count(symbols.begin(), symbols.end(), "STORED"), 0);
}

}  // namespace
