// The sample firm: the generator writes, byte for byte, the sample-data/
// directory that is committed (after a change of a format, regenerate it
// with `scripts/sample-data`), and the firm it writes holds what the
// program's reports need: transactions, holdings, gains and value history
// for every account, and a price file for every month-end.

#include "tests/tools/sample_firm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> Files(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(SampleFirm, TheGeneratorWritesTheCommittedSampleData) {
    fixtures::TempDataDir dir;
    ASSERT_EQ(sample::WriteSampleFirm(), "");
    const auto written = Files(dir.path());
    const auto committed = Files(fs::path(LEDRA_TESTS_DIR) / ".." / "sample-data");
    for (const auto& [name, bytes] : committed) {
        const auto it = written.find(name);
        if (it == written.end()) {
            ADD_FAILURE() << name << " is committed but no longer written";
            continue;
        }
        EXPECT_TRUE(it->second == bytes) << name << " differs: run scripts/sample-data";
    }
    for (const auto& [name, bytes] : written)
        EXPECT_TRUE(committed.count(name) != 0)
            << name << " is written but not committed: run scripts/sample-data";

    // Every account has its books, and every month-end its prices.
    for (const char* account : {"SMITH1", "JONES", "KELLER", "QUINN"}) {
        for (const char* kind : {"TR", "HL", "GL"}) {
            SCOPED_TRACE(std::string(kind) + account);
            EXPECT_TRUE(written.count(std::string(kind) + account + ".REC") != 0);
        }
        EXPECT_TRUE(written.count(std::string("HL") + account + ".DAT") != 0);
    }
    for (const char* prices : {"SE013196.PRC", "SE022996.PRC", "SE063097.PRC", "SE123198.PRC"})
        EXPECT_TRUE(written.count(prices) != 0) << prices;
}

// Record n (from 1) of a committed file of fixed-length records.
records::Record CommittedRecord(const std::string& file, long n, std::size_t length) {
    std::ifstream in(fs::path(LEDRA_TESTS_DIR) / ".." / "sample-data" / file, std::ios::binary);
    records::Record rec(length, 0);
    in.seekg(static_cast<std::streamoff>((n - 1) * static_cast<long>(length)));
    in.read(reinterpret_cast<char*>(rec.data()), static_cast<std::streamsize>(length));
    return rec;
}

// The stored yield to maturity of a bond (SECURITY.EXT) is its yield at
// the price of the firm's last month end (SE123198.PRC), days counted
// 30/360, coupons half-yearly: worked out apart from the generator for a
// premium, a par and discount bonds, far from and near to their coupons.
// A bill still to mature is priced the same way with no coupon: B 99 at
// 99.90625 on 12/31/98, 166 days of 180 to its half-year, yields about
// 0.20.
TEST(SampleFirm, BondYieldsAreThoseOfTheLastMonthEndPrices) {
    struct Case {
        long entry;
        const char* symbol;
        const char* cusip;
        double price;  // 12/31/98
        float yield;
    };
    const Case cases[] = {
        {32, "FNMA", "313586AB5", 122.65625, 1.17f},       {33, "FHLB", "3133M1AC2", 98.53125, 6.62f},
        {39, "GMAC 7 02", "370424DF4", 90.84375, 10.01f},  {43, "DUK 6.75 25", "264399DK9", 95.28125, 7.15f},
        {44, "NYC 5.5 08", "649656AB1", 104.53125, 4.90f}, {45, "CA 5 11", "130583CD4", 100.0, 5.00f},
        {38, "B 99", "912795B88", 99.90625, 0.20f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.symbol);
        EXPECT_EQ(CommittedRecord("SECURITY.REC", c.entry, 128).Text(0, 9), c.cusip);
        EXPECT_EQ(CommittedRecord("SE123198.PRC", c.entry, 8).R8(0), c.price);
        EXPECT_NEAR(CommittedRecord("SECURITY.EXT", c.entry, 128).R4(54), c.yield, 0.001);
    }
}

// The performance page prints six characters of an index's heading: the
// headings of the two indexes fit whole.
TEST(SampleFirm, IndexHeadingsFitTheirSixCharacters) {
    const records::Record indexes = CommittedRecord("ACCOUNT.REC", 8, 128);  // SMITH1's
    EXPECT_EQ(indexes.Text(0, 20), "SPX         S&P500  ");
    EXPECT_EQ(indexes.Text(36, 20), "DJIA        DJIA    ");
}

}  // namespace
