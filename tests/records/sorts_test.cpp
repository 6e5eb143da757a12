#include "records/sorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(SortShell, SortsFloatsCarryingTags) {
    std::vector<float> keys{3.0f, 1.0f, 2.0f};
    std::vector<int16_t> tags{1, 2, 3};
    Shell(3, keys, tags);
    EXPECT_EQ(keys, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(tags, (std::vector<int16_t>{2, 3, 1}));
}

TEST(SortShell, EqualNumbersStayButEqualTextsAreExchanged) {
    std::vector<float> f{5.0f, 5.0f};
    std::vector<int16_t> tags{1, 2};
    Shell(2, f, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{1, 2}));

    std::vector<double> d{5.0, 5.0};
    Sheldb(2, d, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{1, 2}));

    std::vector<std::string> t{"SAME", "SAME"};
    Shel12(2, t, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{2, 1}));
}

TEST(SortShell, CountBelowTwoOrBeyondTheVectorsIsSafe) {
    std::vector<float> keys{2.0f, 1.0f, 0.0f};
    std::vector<int16_t> tags{1, 2, 3};
    Shell(1, keys, tags);
    Shell(0, keys, tags);
    Shell(-4, keys, tags);
    EXPECT_EQ(tags, (std::vector<int16_t>{1, 2, 3}));
    Shell(2, keys, tags);  // only the first two entries
    EXPECT_EQ(keys, (std::vector<float>{1.0f, 2.0f, 0.0f}));
    std::vector<int16_t> short_tags{1, 2};
    Shell(50, keys, short_tags);  // cut to the shorter vector
    EXPECT_EQ(keys, (std::vector<float>{1.0f, 2.0f, 0.0f}));
}

// Sorted output, and every tag still beside its own key, for many sizes:
// catches a gap or bound mistake that small examples can hide.
TEST(SortShell, LargeRandomArraysSortCompletely) {
    std::mt19937 rng(7);
    for (int n : {2, 3, 7, 16, 17, 100, 1000}) {
        std::vector<double> keys(static_cast<std::size_t>(n));
        std::vector<int16_t> tags(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            keys[static_cast<std::size_t>(i)] = static_cast<double>(rng() % 50);
            tags[static_cast<std::size_t>(i)] = static_cast<int16_t>(i);
        }
        const std::vector<double> original = keys;
        Sheldb(n, keys, tags);
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << n;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(keys[static_cast<std::size_t>(i)],
                      original[static_cast<std::size_t>(tags[static_cast<std::size_t>(i)])]);
        std::vector<int16_t> seen = tags;
        std::sort(seen.begin(), seen.end());
        for (int i = 0; i < n; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
}

TEST(SortShell, TextsCompareAsSignedCodes) {
    std::vector<std::string> keys{"apple", "Banana", " blank", "\xC0high", "Apple"};
    std::vector<int16_t> tags{1, 2, 3, 4, 5};
    Shel12(5, keys, tags);
    // Codes above 127 first, then blank, upper case, lower case.
    EXPECT_EQ(tags, (std::vector<int16_t>{4, 3, 5, 2, 1}));

    // Only the key width counts: the 9th character is beyond an 8-character key.
    std::vector<std::string> ids{"ACCOUNT1Z", "ACCOUNT1A", "ACCOUNT0"};
    std::vector<int16_t> t3{1, 2, 3};
    Shlk8(3, ids, t3);
    EXPECT_EQ(ids[0], "ACCOUNT0");
    // The two equal 8-character keys are exchanged when compared.
    EXPECT_EQ(t3, (std::vector<int16_t>{3, 2, 1}));
}

TEST(SortShell, LongKeysCarryIdentifiersAndTags) {
    std::vector<std::string> keys{"SMITH JOHN", "ADAMS ANN", "JONES MARY"};
    std::vector<std::string> ids{"SMITH", "ADAMS", "JONES"};
    std::vector<int16_t> tags{1, 9, 17};
    Shlk32(3, keys, ids, tags);
    EXPECT_EQ(ids, (std::vector<std::string>{"ADAMS", "JONES", "SMITH"}));
    EXPECT_EQ(tags, (std::vector<int16_t>{9, 17, 1}));

    // A 16-character sort ignores what lies past 16 characters.
    std::vector<std::string> k16{"CUSTODIAN-000002Z", "CUSTODIAN-000001Y", "CUSTODIAN-000002A"};
    std::vector<std::string> id16{"B", "A", "C"};
    std::vector<int16_t> t16{2, 1, 3};
    Shlk16(3, k16, id16, t16);
    EXPECT_EQ(id16[0], "A");
    std::vector<std::string> k12{"SYMBOL-0002", "SYMBOL-0001"};
    std::vector<int16_t> t12{2, 1};
    Shel16(2, k12, t12);
    EXPECT_EQ(t12, (std::vector<int16_t>{1, 2}));
}

Record ReadRecordOf(const std::string& name, long n) {
    DirectFile f(name, 128);
    Record rec;
    EXPECT_TRUE(f.Read(n, rec)) << name << " record " << n;
    return rec;
}

TEST(SortWorkFiles, WrsortWritesTheSortedRunAndEmptiesIt) {
    TempDataDir dir;
    int n = 3;
    std::vector<std::string> ids{"SMITH", "ADAMS", "JONES"};
    std::vector<int16_t> tags{1, 9, 17};
    std::vector<std::string> keys16;
    std::vector<std::string> keys32{"SMITH JOHN", "ZED ANN", "JONES MARY"};
    Wrsort(n, ids, tags, 4, kSortByKey32, keys16, keys32);
    EXPECT_EQ(n, 0);
    ASSERT_EQ(TempDataDir::ReadBytes("SORT4.DAT").size(), 3u * 128u);
    Record first = ReadRecordOf("SORT4.DAT", 1);
    EXPECT_EQ(first.I16(0), 17);
    EXPECT_EQ(first.Text(2, 8), "JONES   ");
    EXPECT_EQ(first.Text(10, 32), Fixed("JONES MARY", 32));
    EXPECT_EQ(ReadRecordOf("SORT4.DAT", 3).Text(2, 8), "ADAMS   ");
    EXPECT_FALSE(IsOpen(16));
}

TEST(SortWorkFiles, WrsortReplacesALongerEarlierRun) {
    TempDataDir dir;
    TempDataDir::WriteBytes("SORT2.DAT", std::vector<unsigned char>(10 * 128, 'x'));
    int n = 0;
    std::vector<std::string> ids, k16, k32;
    std::vector<int16_t> tags;
    Wrsort(n, ids, tags, 2, kSortByIdentifier, k16, k32);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(TempDataDir::Exists("SORT2.DAT"));
    EXPECT_EQ(TempDataDir::ReadBytes("SORT2.DAT").size(), 0u);

    n = 2;
    ids = {"B", "A"};
    tags = {2, 1};
    Wrsort(n, ids, tags, 2, kSortByIdentifier, k16, k32);
    EXPECT_EQ(TempDataDir::ReadBytes("SORT2.DAT").size(), 2u * 128u);
    EXPECT_EQ(ReadRecordOf("SORT2.DAT", 1).Text(2, 8), "A       ");

    n = 1;
    Wrsort(n, ids, tags, 12, kSortByIdentifier, k16, k32);  // no such work file
    EXPECT_EQ(n, 1);
}

// Writes runs with Wrsort, merges them with Rdsort and returns the
// identifiers of the output file in order.
std::vector<std::string> Merge(const std::vector<std::vector<std::pair<std::string, std::string>>>& runs,
                               int kind, std::vector<int16_t>& winners) {
    int total = 0;
    int16_t tag = 1;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        std::vector<std::string> ids, k16, k32;
        std::vector<int16_t> tags;
        for (const auto& [id, key] : runs[r]) {
            ids.push_back(id);
            (kind == kSortByKey16 ? k16 : k32).push_back(key);
            tags.push_back(tag++);
        }
        int n = static_cast<int>(ids.size());
        total += n;
        Wrsort(n, ids, tags, static_cast<int>(r + 1), kind, k16, k32);
    }
    const int files = static_cast<int>(runs.size());
    for (int i = 1; i <= files; ++i) Open(11 + i, "SORT" + std::to_string(i) + ".DAT");
    Open(8, "MERGED.IDX");
    MergeState state;
    state.read_positions.assign(static_cast<std::size_t>(files), 1);
    for (int i = 1; i <= total; ++i) {
        int16_t winner = -1;
        Rdsort(files, state, winner, kind, i == total ? 1 : 0);
        winners.push_back(winner);
    }
    for (int i = 1; i <= files; ++i) Close(11 + i);
    Close(8);
    std::vector<std::string> out;
    DirectFile merged("MERGED.IDX", 128);
    Record rec;
    for (long r = 1; merged.Read(r, rec); ++r)
        for (std::size_t k = 0; k < 16; ++k) out.push_back(rec.Text(8 * k, 8));
    return out;
}

TEST(SortWorkFiles, RdsortMergesRunsIntoIndexRecords) {
    TempDataDir dir;
    std::vector<std::vector<std::pair<std::string, std::string>>> runs(3);
    // 20 accounts over three runs, keyed by name; ids A01..A20 in name order.
    for (int i = 1; i <= 20; ++i) {
        char id[8], key[16];
        std::snprintf(id, sizeof id, "A%02d", i);
        std::snprintf(key, sizeof key, "NAME %02d", i);
        runs[static_cast<std::size_t>((i * 7) % 3)].push_back({id, key});
    }
    std::vector<int16_t> winners;
    std::vector<std::string> out = Merge(runs, kSortByKey32, winners);
    ASSERT_EQ(out.size(), 32u);  // two output records
    for (int i = 1; i <= 20; ++i) {
        char id[8];
        std::snprintf(id, sizeof id, "A%02d", i);
        EXPECT_EQ(out[static_cast<std::size_t>(i - 1)], Fixed(id, 8)) << i;
    }
    for (std::size_t i = 20; i < 32; ++i) EXPECT_EQ(out[i], "        ");
    std::vector<int16_t> seen = winners;
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < 20; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i + 1);
}

TEST(SortWorkFiles, RdsortBy16CharacterKeys) {
    TempDataDir dir;
    std::vector<int16_t> winners;
    std::vector<std::string> out =
        Merge({{{"C", "CUST 3"}, {"A", "CUST 9"}}, {{"B", "CUST 1"}}}, kSortByKey16, winners);
    ASSERT_EQ(out.size(), 16u);
    EXPECT_EQ(out[0], "B       ");
    EXPECT_EQ(out[1], "C       ");
    EXPECT_EQ(out[2], "A       ");
    EXPECT_EQ(winners, (std::vector<int16_t>{3, 1, 2}));  // tags in Wrsort's sorted order
}

TEST(SortWorkFiles, RdsortOnExhaustedRunsKeepsTheTagAndAppendsNothing) {
    TempDataDir dir;
    int n = 1;
    std::vector<std::string> ids{"ONLY"}, k16, k32;
    std::vector<int16_t> tags{5};
    Wrsort(n, ids, tags, 1, kSortByIdentifier, k16, k32);
    Open(12, "SORT1.DAT");
    Open(8, "OUT.IDX");
    MergeState state;
    state.read_positions = {1};
    int16_t winner = 0;
    Rdsort(1, state, winner, kSortByIdentifier, 0);
    EXPECT_EQ(winner, 5);
    EXPECT_EQ(state.buffer_count, 1);
    EXPECT_EQ(state.read_positions[0], 2);
    winner = 77;
    Rdsort(1, state, winner, kSortByIdentifier, 0);
    EXPECT_EQ(winner, 77);
    EXPECT_EQ(state.buffer_count, 1);
    Rdsort(1, state, winner, kSortByIdentifier, 1);  // the flush writes what waits
    EXPECT_EQ(state.buffer_count, 0);
    EXPECT_EQ(state.output_record, 2);
    Close(12);
    Close(8);
    EXPECT_EQ(ReadRecordOf("OUT.IDX", 1).Text(0, 16), "ONLY            ");
}

TEST(SortFndpos, SearchesBackwards) {
    struct Case {
        std::string text;
        char c;
        int from, to, mode;
        int position, status;
    } cases[] = {
        {"AB CD   ", ' ', 1, 8, 1, 5, 0},                // last non-blank
        {"AB CD   ", ' ', 1, 4, 0, 3, 0},                // last blank before position 5
        {"ABCD", ' ', 1, 4, 0, 0, 1},                    // no blank
        {"        ", ' ', 1, 8, 1, 0, 2},                // all blank
        {std::string("AB\0\0", 4), ' ', 1, 4, 1, 2, 0},  // NUL bytes pad like the character
        {"ABC", ' ', 0, 3, 1, 0, 3},
        {"ABC", ' ', 1, 0, 1, 0, 3},
        {"AB", ' ', 1, 32, 1, 2, 0},  // `to` past the end
        {"x.y.z", '.', 1, 5, 0, 4, 0},
        {"x.y.z", '.', 1, 3, 0, 2, 0},
        {"x.y.z", '.', 3, 3, 0, 0, 1},
    };
    for (const auto& c : cases) {
        int position = -1, status = -1;
        Fndpos(c.text, c.c, c.from, c.to, position, c.mode, status);
        EXPECT_EQ(position, c.position) << "[" << c.text << "] " << c.from << "-" << c.to;
        EXPECT_EQ(status, c.status) << "[" << c.text << "] " << c.from << "-" << c.to;
    }
}

TEST(SortReordr, TurnsTheNameLastWordFirst) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"ALPHA B GAMMA", "GAMMA ALPHA B"},
        {"JOHN SMITH", "SMITH JOHN"},
        {"SMITH", "SMITH"},
        {"", ""},
        {"  LEADING", "LEADING"},  // the blanks before it become the tail
        {"DE LA CRUZ", "CRUZ DE LA"},
        {std::string(27, 'A') + " BCDE", "BCDE " + std::string(27, 'A')},  // 32 characters
    };
    for (const auto& c : cases) {
        std::string name = Fixed(c.in, 32);
        Reordr(name);
        EXPECT_EQ(name, Fixed(c.out, 32)) << c.in;
    }
}

}  // namespace
