// The billing notes of COMMON.FIL records 72 to 74: the lines at their
// places, records never written and words of control bytes read as
// blanks, letters above 127 kept, a missing record ending the reading.

#include "records/billing_notes.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

std::string Line(const std::string& text) {
    return Fixed(text, 64);
}

TEST(BillingNotes, LinesLieTwoToARecordAndComeBackAsWritten) {
    TempDataDir dir;
    fixtures::WriteCommonRecord(71, Record(128, 'x'));
    fixtures::WriteCommonRecord(75, Record(128, 'y'));
    const BillingNotes notes = {Line("Fees are billed quarterly in advance."),
                                Line("   indented"),
                                Line(std::string(64, 'M')),
                                Line(""),
                                Line("Caf\xE9 \xE9t\xE9"),
                                Line("end")};
    Wbnote(notes);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("COMMON.FIL");
    ASSERT_EQ(bytes.size(), 75u * 128u);
    std::string all;
    for (const std::string& line : notes) all += line;
    EXPECT_EQ(std::string(bytes.begin() + 71 * 128, bytes.begin() + 74 * 128), all);
    EXPECT_EQ(bytes[71 * 128 - 1], 'x');
    EXPECT_EQ(bytes[74 * 128], 'y');
    EXPECT_EQ(Rbnote(), notes);
}

TEST(BillingNotes, NeverWrittenWordsReadAsBlanksAndOthersAreKept) {
    TempDataDir dir;
    Record r72(128, 0);  // never written
    Record r73(128, ' ');
    // "é" (0xE9) as the fourth byte of a word, then a word of control
    // bytes, then a word with one printable byte among zeros.
    r73.SetText(0, 8, "abc\xE9\x01\x02\x03\x04");
    r73.data()[8] = 'Z';
    r73.data()[9] = 0;
    r73.data()[10] = 0;
    r73.data()[11] = 0;
    fixtures::WriteCommonRecord(72, r72);
    fixtures::WriteCommonRecord(73, r73);
    // Record 74 is missing: lines 5 and 6 are blank.
    const BillingNotes notes = Rbnote();
    EXPECT_EQ(notes[0], std::string(64, ' '));
    EXPECT_EQ(notes[1], std::string(64, ' '));
    EXPECT_EQ(notes[2].substr(0, 12), std::string("abc\xE9    Z\0\0\0", 12));
    EXPECT_EQ(notes[4], std::string(64, ' '));
    EXPECT_EQ(notes[5], std::string(64, ' '));
}

}  // namespace
