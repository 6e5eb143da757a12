#include "records/broker_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// Writes an index file: record 1 with the count, then the keys 16 a record.
void WriteIndex(const std::string& name, const std::vector<std::string>& keys) {
    std::vector<unsigned char> bytes(128, 0);
    Record first(128, 0);
    first.SetI16(0, static_cast<int16_t>(keys.size()));
    bytes = first.bytes();
    for (std::size_t start = 0; start < keys.size(); start += 16) {
        Record r(128, ' ');
        for (std::size_t i = 0; i < 16 && start + i < keys.size(); ++i) r.SetText(i * 8, 8, keys[start + i]);
        bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    }
    TempDataDir::WriteBytes(name, bytes);
}

// Writes n records of a record file, record k filled with the letter
// 'A' + k - 1.
void WriteRecords(const std::string& name, int n) {
    std::vector<unsigned char> bytes;
    for (int k = 1; k <= n; ++k) bytes.insert(bytes.end(), 128, static_cast<unsigned char>('A' + k - 1));
    TempDataDir::WriteBytes(name, bytes);
}

std::vector<std::string> Keys(int n, const char* prefix) {
    std::vector<std::string> keys;
    for (int i = 1; i <= n; ++i) keys.push_back(Fixed(prefix + std::to_string(i), 8));
    return keys;
}

TEST(BrokerFilesOpen, OpensThePairAndReadsTheCount) {
    struct Case {
        const char* name;
        int16_t (*open)(int16_t&);
        const char* index;
        const char* records;
    } cases[] = {{"brokers", Opnbrk, "BROKER.IDX", "BROKER.REC"},
                 {"custodians", Opncus, "CUSTDN.IDX", "CUSTDN.REC"}};
    for (const auto& c : cases) {
        TempDataDir dir;
        WriteIndex(c.index, Keys(20, "K"));
        WriteRecords(c.records, 3);
        int16_t count = -1;
        EXPECT_EQ(c.open(count), 1) << c.name;
        EXPECT_EQ(count, 20) << c.name;
        // Unit 7 holds the entry records of the same pair.
        std::string p1, p2, p3;
        EXPECT_EQ(Rdbrec(1, p1, p2, p3), 101) << c.name;
        EXPECT_EQ(p1, std::string(128, 'A')) << c.name;
        Clsbrk();
        EXPECT_FALSE(IsOpen(kBrokerIndexUnit));
        EXPECT_FALSE(IsOpen(kBrokerRecordUnit));
    }
}

TEST(BrokerFilesOpen, UnreadableCountIsStatusTwoWithCountZero) {
    TempDataDir dir;  // no files: they are created empty and record 1 cannot be read
    int16_t count = 77;
    EXPECT_EQ(Opnbrk(count), 2);
    EXPECT_EQ(count, 0);
    Clsbrk();
}

TEST(BrokerFilesIndex, StatusWordsEncodeRecordAndKeyCount) {
    TempDataDir dir;
    WriteIndex("BROKER.IDX", Keys(40, "B"));  // records 2, 3 and 4
    WriteRecords("BROKER.REC", 0);
    int16_t count = 0;
    ASSERT_EQ(Opnbrk(count), 1);

    struct Case {
        int n, rec;
        int16_t status;
        const char* first_key;
    } cases[] = {
        {16, 3, 461, "B17     "},  // second index record: keys 17 to 32
        {16, 2, 361, "B1      "}, {3, 4, 431, "B33     "},
        {16, 5, 662, nullptr},     // past the end: failed, keys unchanged
        {16, 700, 4626, nullptr},  // (7000 + 16) x 10 + 2 = 70162, modulo 65,536
    };
    for (const auto& c : cases) {
        std::vector<std::string> keys = {"untouched"};
        EXPECT_EQ(Rdbidx(c.n, c.rec, keys), c.status) << c.rec;
        if (c.first_key) {
            ASSERT_EQ(keys.size(), static_cast<std::size_t>(c.n));
            EXPECT_EQ(keys[0], c.first_key);
        } else {
            EXPECT_EQ(keys, std::vector<std::string>{"untouched"});
        }
    }
    Clsbrk();
}

TEST(BrokerFilesIndex, WritesKeysAndCount) {
    TempDataDir dir;
    WriteIndex("BROKER.IDX", Keys(3, "B"));
    int16_t count = 0;
    ASSERT_EQ(Opnbrk(count), 1);
    EXPECT_EQ(Wrbidx(3, {"NEWKEY", "SECOND"}), 3001);  // written past the end: the file grows
    EXPECT_EQ(Wrbcnt(18), 1);
    Clsbrk();

    auto bytes = TempDataDir::ReadBytes("BROKER.IDX");
    ASSERT_EQ(bytes.size(), 3u * 128);
    Record first(128), third(128);
    std::copy(bytes.begin(), bytes.begin() + 128, first.bytes().begin());
    std::copy(bytes.begin() + 256, bytes.end(), third.bytes().begin());
    EXPECT_EQ(first.I16(0), 18);
    EXPECT_EQ(third.Text(0, 16), "NEWKEY  SECOND  ");
    EXPECT_TRUE(IsBlank(third.Text(16, 112)));  // keys not given are blank

    // The count write fails once the pair is closed.
    EXPECT_EQ(Wrbcnt(1), 2);
}

TEST(BrokerFilesEntries, ReadStopsAtTheFirstFailingRecord) {
    TempDataDir dir;
    WriteIndex("BROKER.IDX", {});
    struct Case {
        int records_in_file;
        int rec;
        int16_t status;
    } cases[] = {
        {6, 4, 401},  // entry 2: records 4 to 6
        {5, 4, 404},  // third record missing
        {4, 4, 403},  // second record missing
        {3, 4, 402},  // first record missing
    };
    for (const auto& c : cases) {
        WriteRecords("BROKER.REC", c.records_in_file);
        int16_t count = 0;
        Opnbrk(count);
        std::string p1 = "one", p2 = "two", p3 = "three";
        EXPECT_EQ(Rdbrec(c.rec, p1, p2, p3), c.status) << c.records_in_file;
        EXPECT_EQ(p1, c.records_in_file >= 4 ? std::string(128, 'D') : "one");
        EXPECT_EQ(p2, c.records_in_file >= 5 ? std::string(100, 'E') : "two");
        EXPECT_EQ(p3, c.records_in_file >= 6 ? std::string(60, 'F') : "three");
        Clsbrk();
    }
}

TEST(BrokerFilesEntries, WriteKeepsTheStoredTailsOfTheShortParts) {
    TempDataDir dir;
    WriteIndex("BROKER.IDX", {});
    WriteRecords("BROKER.REC", 6);
    int16_t count = 0;
    Opnbrk(count);
    EXPECT_EQ(Wrbrec(1, std::string(128, 'x'), std::string(100, 'y'), std::string(60, 'z')), 3001);
    EXPECT_EQ(Wrbrec(7, "first", "second", "third"), 9001);  // a new entry extends the file
    Clsbrk();

    auto bytes = TempDataDir::ReadBytes("BROKER.REC");
    ASSERT_EQ(bytes.size(), 9u * 128);
    auto text = [&](int rec, std::size_t off, std::size_t len) {
        return std::string(bytes.begin() + (rec - 1) * 128 + static_cast<long>(off),
                           bytes.begin() + (rec - 1) * 128 + static_cast<long>(off + len));
    };
    EXPECT_EQ(text(1, 0, 128), std::string(128, 'x'));
    EXPECT_EQ(text(2, 0, 100), std::string(100, 'y'));
    EXPECT_EQ(text(2, 100, 28), std::string(28, 'B'));  // stored tail kept
    EXPECT_EQ(text(3, 0, 60), std::string(60, 'z'));
    EXPECT_EQ(text(3, 60, 68), std::string(68, 'C'));
    EXPECT_EQ(text(4, 0, 128), std::string(128, 'D'));  // entry 2 untouched
    EXPECT_EQ(text(8, 0, 100), Fixed("second", 100));
    EXPECT_EQ(text(8, 100, 28), std::string(28, '\0'));  // a new record's tail is zero
}

TEST(BrokerFilesEntries, FailedWritesAddTheirBitsAndWrapModulo65536) {
    TempDataDir dir;
    Clsbrk();  // units 6 and 7 not open: every write fails
    EXPECT_EQ(Wrbrec(1, "a", "b", "c"), 3015);
    struct Case {
        int rec;
        int16_t status;
    } cases[] = {
        {31, -32521},  // 33,000 + 15 = 33,015 reads back as a negative 2-byte word
        {64, 479},     // 66,000 + 15 = 66,015, modulo 65,536
    };
    for (const auto& c : cases) EXPECT_EQ(Wrbrec(c.rec, "a", "b", "c"), c.status) << c.rec;
    EXPECT_EQ(Wrbidx(66, {}), 465);  // 66,001 modulo 65,536
}

}  // namespace
