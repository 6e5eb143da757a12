#include "records/security_once.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"
#include "records/security_file.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// What a reader saw of a record: its first byte, or -1 when it did not read.
int decodes = 0;
int FirstByte(const Record* rec) {
    ++decodes;
    return rec ? rec->data()[0] : -1;
}

TEST(RecordsOnce, EachPositionIsReadAndDecodedOnceAndUnreadableOnesReachTheDecoderAsNothing) {
    TempDataDir dir;
    for (long n = 1; n <= 3; ++n) {
        Record rec(kSecurityRecordLength, 0);
        rec.data()[0] = static_cast<unsigned char>(10 * n);
        ASSERT_TRUE(WriteSecurityRecord(n, rec));
    }
    decodes = 0;
    RecordsOnce<int> once(kSecurityRecords, kSecurityRecordLength, FirstByte);

    struct Case {
        long position;
        int seen;
    };
    // Below 1, past the end and a position no 16-bit record number gives
    // (kept in the table beside the positions) do not read.
    const std::vector<Case> cases = {{1, 10}, {3, 30}, {0, -1}, {-2, -1}, {4, -1}, {70000, -1}};
    for (const Case& c : cases) EXPECT_EQ(once.Read(c.position), c.seen) << c.position;
    const int first_pass = decodes;
    EXPECT_EQ(first_pass, static_cast<int>(cases.size()));

    // Asked again, even after the file changed under it: the decoded fields
    // are kept for the reader's life.
    Record changed(kSecurityRecordLength, 0);
    changed.data()[0] = 99;
    ASSERT_TRUE(WriteSecurityRecord(1, changed));
    for (const Case& c : cases) EXPECT_EQ(once.Read(c.position), c.seen) << c.position;
    EXPECT_EQ(decodes, first_pass);
}

TEST(RecordsOnce, AMissingFileIsNotCreatedAndNoRecordReads) {
    TempDataDir dir;
    SecurityRecordsOnce once(kSecurityRecords, kSecurityRecordLength, DecodeSecurityRecord);
    EXPECT_FALSE(once.Read(1).has_value());
    EXPECT_FALSE(TempDataDir::Exists(kSecurityRecords));
}

TEST(SecurityPositions, FindsTheFirstPlaceOfASymbolComparingTwelveCharacters) {
    TempDataDir dir;
    ASSERT_TRUE(WriteSecurityIndex({"CASH", "IBM", "MSFT", "IBM"}));
    SecurityPositions positions;
    EXPECT_EQ(positions.Find("CASH"), 1);
    EXPECT_EQ(positions.Find("IBM"), 2);  // listed twice: the first place
    EXPECT_EQ(positions.Find("MSFT        "), 3);
    EXPECT_EQ(positions.Find("MSFT        X"), 3);  // past the 12th character is not compared
    EXPECT_EQ(positions.Find("GE"), 0);
}

TEST(SecurityPositions, AMissingIndexFindsNothing) {
    TempDataDir dir;
    SecurityPositions positions;
    EXPECT_EQ(positions.Find("CASH"), 0);
}

}  // namespace
