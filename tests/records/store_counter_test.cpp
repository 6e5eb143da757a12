// The "last record in use" counters of the keyed stores (ACCTBILL.DAT,
// INCDIST.DAT, TRADEBLK.DAT, a year's split file): a full store refuses a
// new entry and keeps its bytes; a counter out of range (negative, or past
// the file's records) is refused on reading and on writing with a message
// naming the file, and nothing is written.

#include "records/store_counter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/module_stores.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/stock_splits.h"
#include "records/transaction_lines.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(StoreCounter, RangeOfACounterAgainstTheFile) {
    struct Case {
        long counter, records;
        long last;
        bool damaged, full;
    };
    const std::vector<Case> cases = {
        {0, 0, 1, false, false},           {1, 1, 1, false, false},     {0, 1, 1, false, false},
        {3, 3, 3, false, false},           {2, 5, 2, false, false},     {4, 3, 1, true, false},
        {0, 3, 1, true, false},            {-1, 3, 1, true, false},     {-32768, 40000, 1, true, false},
        {20303, 3, 1, true, false},        {32767, 32767, 32767, false, true},
    };
    for (const Case& c : cases) {
        const StoreCounter got = CheckStoreCounter(c.counter, c.records);
        EXPECT_EQ(got.last, c.last) << c.counter << " in " << c.records;
        EXPECT_EQ(got.damaged, c.damaged) << c.counter << " in " << c.records;
        EXPECT_EQ(got.Full(), c.full) << c.counter << " in " << c.records;
    }
}

// One store as the dialogs use it: its file, record length, a write of a
// new entry (the message, empty when done) and a read (the message of a
// refused counter).
struct Store {
    const char* name;
    std::size_t length;
    std::function<std::string()> write;
    std::function<std::string()> read;
};

const std::vector<Store>& Stores() {
    static const std::vector<Store> stores = {
        {kAccountBillingFile, 128,
         [] {
             AccountBilling entry;
             entry.account = "NEWACCT ";
             return WriteAccountBilling(entry).message;
         },
         [] {
             AccountBilling entry;
             std::string damage;
             ReadAccountBilling("NEWACCT", entry, &damage);
             return damage;
         }},
        {kIncomeDistributionFile, 512,
         [] { return WriteIncomeDistributions(1998, "NEWSYM", DistributionRows{}).message; },
         [] {
             DistributionRows rows{};
             std::string damage;
             ReadIncomeDistributions(1998, "NEWSYM", rows, &damage);
             return damage;
         }},
        {kBlockTradeFile, 512,
         [] {
             long rec = 0;
             std::string message;
             AppendBlockAllocation(std::string(kEditViewLength, ' '), rec, &message);
             return message;
         },
         [] { return std::string(); }},
        {"SECR1998.SPL", 256,
         [] {
             SplitList list;
             list.count = 1;
             list.splits[0] = {2.0f, 3, 1, 98, 3, 15, 98, 2};
             return Wrsplt("IBM", 1998, list);
         },
         [] {
             SplitList list;
             std::string message;
             Rdsplt("IBM", 1998, message, list);
             return message;
         }},
    };
    return stores;
}

// A store of `records` records whose record 1 holds the counter (and the
// block marker TRADEBLK.DAT needs), record 2 an entry of another key; the
// rest of the file is a hole.
void MakeStore(const Store& s, long records, int16_t counter) {
    {
        DirectFile file(s.name, s.length);
        Record first(s.length, 0);
        first.SetI16(0, counter);
        if (std::string(s.name) == kBlockTradeFile) first.SetText(2, 4, "BLOK");
        ASSERT_TRUE(file.Write(1, first));
        Record entry(s.length, ' ');
        entry.SetText(0, 8, "OTHER");
        if (records >= 2) {
            ASSERT_TRUE(file.Write(2, entry));
        }
    }
    std::filesystem::resize_file(s.name, static_cast<std::uintmax_t>(records) * s.length);
}

struct CounterCase {
    const char* label;
    long records;
    int16_t counter;
    const char* message;  // after the file's name
};

class StoreCounters : public ::testing::TestWithParam<std::tuple<std::size_t, CounterCase>> {};

TEST_P(StoreCounters, AreRefusedWithTheFileKeptAsItWas) {
    TempDataDir dir;
    fixtures::WriteSecurities({{.symbol = "IBM"}});
    const Store& s = Stores()[std::get<0>(GetParam())];
    const CounterCase& c = std::get<1>(GetParam());
    MakeStore(s, c.records, c.counter);
    const auto size = std::filesystem::file_size(s.name);
    const std::vector<unsigned char> head = [&] {
        std::vector<unsigned char> bytes = TempDataDir::ReadBytes(s.name);
        bytes.resize(std::min<std::size_t>(bytes.size(), 2 * s.length));
        return bytes;
    }();

    EXPECT_EQ(s.write(), std::string(s.name) + c.message);
    EXPECT_EQ(std::filesystem::file_size(s.name), size) << "the file does not grow";
    std::vector<unsigned char> after = TempDataDir::ReadBytes(s.name);
    after.resize(head.size());
    EXPECT_EQ(after, head) << "the counter and the first entry are kept";
    // Reading refuses a damaged counter with the same message; a full store
    // reads as it is.
    const std::string read = s.read();
    if (std::string(c.message) != " is full." && std::string(s.name) != kBlockTradeFile) {
        EXPECT_EQ(read, std::string(s.name) + c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreCounters,
    ::testing::Combine(::testing::Range<std::size_t>(0, 4),
                       ::testing::Values(CounterCase{"full", 32767, 32767, " is full."},
                                         CounterCase{"wrapped", 3, -32768,
                                                     " is damaged: its last record in use (-32768) is out of range."},
                                         CounterCase{"negative", 3, -5,
                                                     " is damaged: its last record in use (-5) is out of range."},
                                         CounterCase{"beyond the file", 3, 20303,
                                                     " is damaged: its last record in use (20303) is out of range."})),
    [](const auto& info) {
        std::string name = std::string(Stores()[std::get<0>(info.param)].name) + "_" + std::get<1>(info.param).label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(SplitFile, ASplitAddedBehindAShortRecordIsRefusedAndOneAddedToASoundFileReadsBack) {
    TempDataDir dir;
    fixtures::WriteSecurities({{.symbol = "IBM"}, {.symbol = "T"}});
    // The header promises 20,302 records; the file holds one and a short
    // one.
    {
        Record head(kSplitRecordLength, 0);
        head.SetI16(0, 20302);
        std::vector<unsigned char> bytes = head.bytes();
        bytes.resize(bytes.size() + 100, 1);
        TempDataDir::WriteBytes("SECR1998.SPL", bytes);
    }
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("SECR1998.SPL");
    std::string message;
    SplitList list;
    Rdsplt("IBM", 1998, message, list);
    EXPECT_EQ(message, "SECR1998.SPL is damaged: its last record in use (20302) is out of range.");
    list.count = 1;
    list.splits[0] = {2.0f, 3, 1, 98, 3, 15, 98, 2};
    EXPECT_EQ(Wrsplt("IBM", 1998, list), message);
    EXPECT_EQ(TempDataDir::ReadBytes("SECR1998.SPL"), before);

    // A sound file: the split goes right after the last record in use and
    // reads back, though the pricing run's list was read before another
    // security was added.
    SplitList t, ibm;
    Rdsplt("T", 1999, message, t);
    Rdsplt("IBM", 1999, message, ibm);
    t.count = ibm.count = 1;
    t.splits[0] = ibm.splits[0] = {3.0f, 4, 1, 99, 4, 15, 99, 2};
    EXPECT_EQ(Wrsplt("T", 1999, t), "");
    EXPECT_EQ(Wrsplt("IBM", 1999, ibm), "");
    EXPECT_EQ(ibm.position, 3);
    SplitList back;
    message.clear();
    Rdsplt("IBM", 1999, message, back);
    EXPECT_EQ(message, "");
    EXPECT_EQ(back.count, 1);
    EXPECT_EQ(back.position, 3);
    EXPECT_EQ(back.last_record, 3);
}

}  // namespace
