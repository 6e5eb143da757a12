// The broker/bank record read and written at its byte offsets, keeping
// the unused bytes, and the 80-character lines of the cross reference
// extract.

#include "records/cross_reference_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

Record ReadRecord69() {
    DirectFile common(kCommonFile, 128, false);
    Record rec;
    EXPECT_TRUE(common.Read(kBrokerBankRecordNumber, rec));
    return rec;
}

TEST(BrokerBankRecordTest, WriteKeepsBytesPast48AndReadsBack) {
    TempDataDir dir;
    Record before(128, 0);
    for (std::size_t i = 48; i < 128; ++i) before.data()[i] = static_cast<unsigned char>(i);
    before.SetText(0, 48, std::string(48, 'x'));
    {
        DirectFile common(kCommonFile, 128);
        ASSERT_TRUE(common.Write(kBrokerBankRecordNumber, before));
    }
    BrokerBankRecord record{"123", "FIRST NATIONAL", "O"};
    ASSERT_TRUE(WriteBrokerBankRecord(record));
    const Record after = ReadRecord69();
    EXPECT_EQ(after.Text(0, 48), "123 FIRST NATIONAL" + std::string(26, ' ') + "O   ");
    for (std::size_t i = 48; i < 128; ++i) EXPECT_EQ(after.data()[i], i) << i;

    std::string number = "n", name = "m", tag = "t";
    Rdcom69(number, name, tag);
    EXPECT_EQ(number, "123 ");
    EXPECT_EQ(name, "FIRST NATIONAL" + std::string(26, ' '));
    EXPECT_EQ(tag, "O   ");
}

TEST(BrokerBankRecordTest, UnreadableRecordLeavesCallerFields) {
    TempDataDir dir;
    std::string number = "n", name = "m", tag = "t";
    Rdcom69(number, name, tag);  // no COMMON.FIL
    EXPECT_EQ(number + name + tag, "nmt");
}

TEST(BrokerBankRecordTest, WordsWithoutTextBecomeBlanks) {
    BrokerBankRecord record{std::string(4, '\0'), std::string("AB\0\0", 4) + std::string(4, '\0') + "CD",
                            std::string("N\0\0\0", 4)};
    BlankEmptyWords(record);
    EXPECT_EQ(record.number, "    ");
    // A word with a character above the blank keeps its bytes.
    EXPECT_EQ(record.name, std::string("AB\0\0", 4) + "    CD" + std::string(30, ' '));
    EXPECT_EQ(record.tag, std::string("N\0\0\0", 4));
}

TEST(CrossReferenceExtractTest, Lines) {
    EXPECT_EQ(ExtractQuantity(1500), "000001500");
    EXPECT_EQ(ExtractQuantity(10.5), "000000011");
    EXPECT_EQ(ExtractQuantity(10.4), "000000010");
    EXPECT_EQ(ExtractQuantity(0), "000000000");
    EXPECT_EQ(ExtractQuantity(1e9), "*********");
    const std::string tail24(24, ' ');
    EXPECT_EQ(ExtractSecurityLine("123456789AB", "ACME CORP"),
              "11 123456789 ACME CORP" + std::string(23, ' ') + std::string(35, ' '));
    EXPECT_EQ(ExtractBrokerLine("000105", "123 ", "BANK"), "12 000105123 BANK" + std::string(36 + 27, ' '));
    EXPECT_EQ(ExtractAccountLine('O', "123-45-6789", 1500, "JOHN DOE"),
              "21O123-45-6789 000001500JOHN DOE" + std::string(24, ' ') + tail24);
    EXPECT_EQ(ExtractAddressLine('*', "CITY"),
              "2*" + std::string(22, ' ') + "CITY" + std::string(28, ' ') + tail24);
    EXPECT_EQ(ExtractTrailerLine(0, 0), "31 0000000000000000" + std::string(61, ' '));
    EXPECT_EQ(ExtractTrailerLine(12, 2500), "31 0000012000002500" + std::string(61, ' '));
    for (const std::string& line : {ExtractSecurityLine("", ""), ExtractTrailerLine(1, 1)})
        EXPECT_EQ(line.size(), 80u);
}

// A damaged description or address holding a line end or other bytes below
// the blank: each extract record stays one line of 80 characters.
TEST(CrossReferenceExtractTest, BytesBelowTheBlankBecomeBlanks) {
    const std::string damaged("AC\nME\r\0CORP", 11);
    const std::vector<std::string> lines = {ExtractSecurityLine("IBM\n", damaged),
                                            ExtractBrokerLine("000105", "12\n4", damaged),
                                            ExtractAccountLine('O', "123\r", 1, damaged),
                                            ExtractAddressLine('2', damaged)};
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 80u);
        EXPECT_EQ(std::count_if(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }),
                  0)
            << line;
    }
    EXPECT_EQ(lines[0].substr(0, 26), "11 IBM       AC ME  CORP  ");
}

}  // namespace
