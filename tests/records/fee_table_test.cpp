// BILTABLE.DAT: the fields of a record at their places, a short file read
// as far as it goes, and all 36 records written.

#include "records/fee_table.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(FeeTable, AShortFileLoadsItsRecordsAndLeavesTheOtherCodesZero) {
    TempDataDir dir;
    {
        DirectFile f(kFeeTableFile, 128);
        for (int n = 1; n <= 10; ++n) {
            Record rec(128, 0xEE);  // reserved and unused bytes are not read
            rec.SetI16(0, static_cast<int16_t>(n % 3));
            for (int k = 0; k < kFeeSteps; ++k) {
                rec.SetR8(10 + 16 * k, n * 1000.0 + k);
                rec.SetR8(18 + 16 * k, n * 0.001 + k * 0.0001);
            }
            f.Write(n, rec);
        }
        // Half a record 11: it cannot be read.
        Record half(64, 1);
        DirectFile half_file(kFeeTableFile, 64);
        half_file.Write(21, half);
    }
    const FeeTable table = Inptab();
    for (int c = 0; c < kFeeCodes; ++c) {
        const int n = c + 1;
        EXPECT_EQ(table.types[c], n <= 10 ? n % 3 : 0) << n;
        for (int k = 0; k < kFeeSteps; ++k) {
            EXPECT_EQ(table.break_points[c][k], n <= 10 ? n * 1000.0 + k : 0.0) << n;
            EXPECT_EQ(table.percentages[c][k], n <= 10 ? n * 0.001 + k * 0.0001 : 0.0) << n;
        }
    }
}

TEST(FeeTable, WritesAll36RecordsFieldByField) {
    TempDataDir dir;
    FeeTable table;
    table.types[0] = 2;
    table.break_points[0] = {100000, 250000, 500000, 1000000, 0};
    table.percentages[0] = {0.015, 0.0125, 0.01, 0.0075, 0.005};
    table.types[35] = 1;
    table.percentages[35][0] = 0.0125;
    Wrttab(table);

    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(kFeeTableFile);
    ASSERT_EQ(bytes.size(), 36u * 128u);
    std::vector<unsigned char> expected(36 * 128, 0);
    Record first(128, 0);
    first.SetI16(0, 2);
    for (int k = 0; k < kFeeSteps; ++k) {
        first.SetR8(10 + 16 * k, table.break_points[0][k]);
        first.SetR8(18 + 16 * k, table.percentages[0][k]);
    }
    Record last(128, 0);
    last.SetI16(0, 1);
    last.SetR8(18, 0.0125);
    std::copy(first.bytes().begin(), first.bytes().end(), expected.begin());
    std::copy(last.bytes().begin(), last.bytes().end(), expected.begin() + 35 * 128);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Inptab().percentages[0], table.percentages[0]);
}

}  // namespace
