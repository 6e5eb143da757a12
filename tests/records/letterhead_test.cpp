#include "records/letterhead.h"

#include <gtest/gtest.h>

#include <string>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

Record ReadCommon(int n) {
    DirectFile common(kCommonFile, 128, false);
    Record rec;
    EXPECT_TRUE(common.Read(n, rec)) << "record " << n;
    return rec;
}

void WriteCommon(int n, const Record& rec) {
    DirectFile common(kCommonFile, 128);
    ASSERT_TRUE(common.Write(n, rec));
}

std::string Line(char c, std::size_t width) {
    std::string line;
    for (std::size_t i = 0; i < width; ++i) line += static_cast<char>(c + i % 26);
    return line;
}

// Eight distinct lines of full width, so that every byte of the layout is
// told apart.
LetterheadLines FullLines() {
    LetterheadLines lines;
    for (std::size_t i = 0; i < kLetterheadLines; ++i)
        lines[i] = Line(static_cast<char>(i % 2 ? 'a' : 'A'), LetterheadWidth(i));
    for (std::size_t i = 0; i < kLetterheadLines; ++i) lines[i][0] = static_cast<char>('1' + i);
    return lines;
}

TEST(Letterhead, WritesEachPartOfEachLineAtItsPlace) {
    TempDataDir dir;
    // Bytes 41-128 of record 22 belong to no line and must stay as they are.
    Record before(128, 0);
    before.SetText(40, 88, "NOT THE LETTERHEAD'S");
    before.data()[127] = 0x7F;
    WriteCommon(kLetterheadTailsRecord, before);

    const LetterheadLines lines = FullLines();
    Wletrhd(lines);

    const Record tails = ReadCommon(22), heads = ReadCommon(23), contact = ReadCommon(24);
    struct Place {
        const Record* rec;
        std::size_t offset;
        std::size_t line;
        std::size_t from;  // first character of the line (0-based)
        std::size_t width;
    };
    const Place places[] = {
        {&tails, 0, 0, 32, 8},    {&tails, 8, 1, 32, 8},   {&tails, 16, 2, 32, 8},   {&tails, 24, 3, 32, 8},
        {&tails, 32, 4, 32, 8},   {&heads, 0, 0, 0, 32},   {&heads, 32, 1, 0, 32},   {&heads, 64, 2, 0, 32},
        {&heads, 96, 3, 0, 32},   {&contact, 0, 4, 0, 32}, {&contact, 32, 5, 0, 32}, {&contact, 64, 6, 0, 32},
        {&contact, 96, 7, 0, 32},
    };
    for (const Place& p : places)
        EXPECT_EQ(p.rec->Text(p.offset, p.width), lines[p.line].substr(p.from, p.width))
            << "line " << p.line + 1 << " from character " << p.from + 1;
    for (std::size_t i = 40; i < 128; ++i) EXPECT_EQ(tails.data()[i], before.data()[i]) << "byte " << i + 1;

    EXPECT_EQ(Letrhd(), lines);
}

TEST(Letterhead, ShortLinesArePaddedAndLongOnesCut) {
    TempDataDir dir;
    LetterheadLines lines;
    lines[0] = "FIRST LINE";  // 10 characters, stored with 30 blanks
    lines[5] = std::string(32, 'C') + "LOST";
    lines[4] = std::string(45, 'E');
    Wletrhd(lines);

    const LetterheadLines read = Letrhd();
    EXPECT_EQ(read[0], "FIRST LINE" + std::string(30, ' '));
    EXPECT_EQ(read[4], std::string(40, 'E'));
    EXPECT_EQ(read[5], std::string(32, 'C'));
    for (std::size_t i : {1, 2, 3}) EXPECT_EQ(read[i], std::string(40, ' '));
    for (std::size_t i : {6, 7}) EXPECT_EQ(read[i], std::string(32, ' '));
    EXPECT_EQ(ReadCommon(23).Text(0, 32), "FIRST LINE" + std::string(22, ' '));
    EXPECT_EQ(ReadCommon(22).Text(0, 8), std::string(8, ' '));
}

TEST(Letterhead, NeverWrittenOrMissingRecordsReadAsBlankLines) {
    TempDataDir dir;
    const auto all_blank = [](const LetterheadLines& lines) {
        for (std::size_t i = 0; i < kLetterheadLines; ++i)
            if (lines[i] != std::string(LetterheadWidth(i), ' ')) return false;
        return true;
    };
    // No COMMON.FIL at all.
    EXPECT_TRUE(all_blank(Letrhd()));
    // Records 22 to 24 of zero bytes (written past by another record).
    WriteCommon(30, Record(128, 0));
    EXPECT_TRUE(all_blank(Letrhd()));

    // Record 22 only: the tails are read, the rest stays blank.
    Record tails(128, ' ');
    tails.SetText(0, 8, "TAIL-ONE");
    WriteCommon(22, tails);
    DirectFile(kCommonFile, 128).Truncate(22);
    const LetterheadLines read = Letrhd();
    EXPECT_EQ(read[0], std::string(32, ' ') + "TAIL-ONE");
    EXPECT_EQ(read[5], std::string(32, ' '));
}

TEST(Letterhead, OnlyWordsBelowFourBlanksBecomeBlanks) {
    TempDataDir dir;
    Record heads(128, ' ');
    heads.SetText(0, 12, "ABCDEFGHIJKL");
    heads.data()[4] = 0;      // "\0FGH": read as a number it is still above four blanks
    heads.data()[11] = 0x01;  // "IJK\1": below four blanks
    // A word ending in a character above 127 keeps its text.
    heads.SetText(32, 4, "Soci");
    heads.data()[36] = 't';
    heads.data()[37] = static_cast<unsigned char>(0xC3);
    heads.data()[38] = 'a';
    heads.data()[39] = static_cast<unsigned char>(0xE9);
    WriteCommon(22, Record(128, ' '));
    WriteCommon(23, heads);
    WriteCommon(24, Record(128, ' '));

    const LetterheadLines read = Letrhd();
    EXPECT_EQ(read[0].substr(0, 12), std::string("ABCD\0FGH    ", 12));
    EXPECT_EQ(read[1].substr(0, 8),
              "Socit\xC3"
              "a\xE9");
}

}  // namespace
