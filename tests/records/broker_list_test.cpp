#include "records/broker_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

std::vector<unsigned char> Index(int count, const std::vector<std::string>& keys) {
    Record head(128, 0);
    head.SetI16(0, static_cast<int16_t>(count));
    head.SetText(100, 4, "KEEP");  // bytes the save keeps
    std::vector<unsigned char> out(head.bytes());
    for (std::size_t i = 0; i < keys.size(); i += 16) {
        Record r(128, ' ');
        for (std::size_t k = i; k < keys.size() && k < i + 16; ++k) r.SetText((k - i) * 8, 8, keys[k]);
        out.insert(out.end(), r.bytes().begin(), r.bytes().end());
    }
    return out;
}

// Entry n's three records: its short name and long name name it.
std::vector<unsigned char> Entries(int n) {
    std::vector<unsigned char> out;
    for (int e = 1; e <= n; ++e) {
        Record r1(128, ' '), r2(128, ' '), r3(128, ' ');
        r1.SetText(0, 32, "ADDRESS OF " + std::to_string(e));
        r2.SetText(64, 12, "SHORT " + std::to_string(e));
        r3.SetText(0, 60, std::string(59, 'L') + std::to_string(e % 10));
        for (const Record* r : {&r1, &r2, &r3}) out.insert(out.end(), r->bytes().begin(), r->bytes().end());
    }
    return out;
}

TEST(BrokerList, LoadSkipsDeletedKeysAndStopsWhereTheIndexEnds) {
    struct Case {
        const char* name;
        int count;
        std::vector<std::string> keys;
        int entries;
        std::vector<std::string> expected;  // identifier=short name
    };
    std::vector<std::string> many;
    for (int i = 1; i <= 20; ++i) many.push_back("B" + std::to_string(i));
    const std::vector<Case> cases = {
        {"a deleted key still moves the records on",
         3,
         {"B1", "$$$$$$$$", "LONGKEY8"},
         3,
         {"B1=SHORT 1", "LONGKEY8=SHORT 3"}},
        {"a first word of $$$$ deletes, whatever follows",
         4,
         {std::string("$$$$\0\0\0\0", 8), "$$$$", "$$$$AB", "B4"},
         4,
         {"B4=SHORT 4"}},
        {"a count beyond the index", 40, {"B1", "B2"}, 2, {"B1=SHORT 1", "B2=SHORT 2"}},
        {"missing records leave empty fields", 2, {"B1", "B2"}, 1, {"B1=SHORT 1", "B2="}},
        {"a second index record", 20, many, 20, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        TempDataDir::WriteBytes("BROKER.IDX", Index(c.count, c.keys));
        TempDataDir::WriteBytes("BROKER.REC", Entries(c.entries));
        const auto list = LoadBrokerList(BrokerListKind::Brokers);
        if (c.expected.empty()) {
            ASSERT_EQ(list.size(), 20u);
            EXPECT_EQ(list[19]->identifier, "B20");
            EXPECT_EQ(list[19]->short_name, "SHORT 20");
            continue;
        }
        std::vector<std::string> got;
        for (const auto& b : list) got.push_back(b->identifier + "=" + b->short_name);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(BrokerList, SaveIsCompactAndReadsBack) {
    TempDataDir dir;
    TempDataDir::WriteBytes("CUSTDN.IDX", Index(3, {"C1", "$$$$$$$$", "C3"}));
    TempDataDir::WriteBytes("CUSTDN.REC", Entries(3));
    const auto list = LoadBrokerList(BrokerListKind::Custodians);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]->firm_long_name, std::string(59, 'L') + "3");  // all 60 characters
    EXPECT_EQ(list[1]->address[0], "ADDRESS OF 3");
    ASSERT_EQ(SaveBrokerList(BrokerListKind::Custodians, list), "");
    const std::vector<unsigned char> index = TempDataDir::ReadBytes("CUSTDN.IDX");
    ASSERT_EQ(index.size(), 256u);
    EXPECT_EQ(index[0], 2);
    EXPECT_EQ(std::string(index.begin() + 100, index.begin() + 104), "KEEP");
    EXPECT_EQ(std::string(index.begin() + 128, index.begin() + 144), "C1      C3      ");
    EXPECT_EQ(TempDataDir::ReadBytes("CUSTDN.REC").size(), 6u * 128);
    const auto again = LoadBrokerList(BrokerListKind::Custodians);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1]->short_name, "SHORT 3");
    EXPECT_EQ(again[1]->firm_long_name, list[1]->firm_long_name);
}

}  // namespace
