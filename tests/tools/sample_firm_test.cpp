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

}  // namespace
