#include "records/common_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

Record ReadCommon(int n) {
    DirectFile f(kCommonFile, 128);
    Record rec;
    EXPECT_TRUE(f.Read(n, rec)) << "record " << n;
    return rec;
}

TEST(CommonFileSetsdt, StoresTextAndWindowedDateNumber) {
    struct Case {
        const char* date;
        float number;
    } cases[] = {
        {"03/31/05", 1050331.0f},  // years below 51 count as 100 + YY
        {"12/31/99", 991231.0f},  {"01/01/50", 1500101.0f}, {"01/01/51", 510101.0f}, {"02/29/00", 1000229.0f},
    };
    for (const auto& c : cases) {
        TempDataDir dir;  // no COMMON.FIL yet: the first date makes the record
        ASSERT_EQ(Setsdt(c.date), 0) << c.date;
        Record rec = ReadCommon(kProgramDateRecord);
        EXPECT_EQ(rec.Text(0, 8), c.date);
        EXPECT_EQ(rec.R4(8), c.number) << c.date;
    }
}

TEST(CommonFileSetsdt, KeepsTheRestOfTheRecordAndOtherRecords) {
    TempDataDir dir;
    Record old(128, 'x');
    fixtures::WriteCommonRecord(kProgramDateRecord, old);
    Record other(128, 'y');
    fixtures::WriteCommonRecord(3, other);
    ASSERT_EQ(Setsdt("07/04/26"), 0);
    Record rec = ReadCommon(kProgramDateRecord);
    EXPECT_EQ(rec.Text(0, 8), "07/04/26");
    EXPECT_EQ(rec.R4(8), 1260704.0f);
    EXPECT_EQ(rec.Text(12, 116), std::string(116, 'x'));
    EXPECT_EQ(ReadCommon(3).Text(0, 128), std::string(128, 'y'));
}

TEST(CommonFileSetsdt, TextThatIsNoDateLeavesTheRecord) {
    TempDataDir dir;
    Record old(128, 'x');
    fixtures::WriteCommonRecord(kProgramDateRecord, old);
    EXPECT_EQ(Setsdt("ab/cd/ef"), 2);
    EXPECT_EQ(ReadCommon(kProgramDateRecord).Text(0, 128), std::string(128, 'x'));
}

TEST(CommonFileOptions, EmptyFileReadsAsZerosAndWriteRoundTrips) {
    TempDataDir dir;
    Options none = Rdopts();
    for (unsigned char b : none) EXPECT_EQ(b, 0);

    Options opts{};
    SetOption(opts, Opt::kCouponDueDescription, 1);  // option 2
    SetOption(opts, Opt::kLotTexts, 1);              // option 64
    SetOption(opts, Opt::kSystemDecimals, 6);        // option 81
    opts.back() = 'Z';                               // byte 128, past the options
    Wropts(opts);
    EXPECT_EQ(Rdopts(), opts);
    // Option n is byte n of record 31.
    auto bytes = TempDataDir::ReadBytes(kCommonFile);
    ASSERT_EQ(bytes.size(), 31u * 128u);
    EXPECT_EQ(bytes[30 * 128 + 1], 1);
    EXPECT_EQ(bytes[30 * 128 + 80], 6);
    EXPECT_FALSE(IsOpen(6));
}

TEST(CommonFilePrinter, WriteSetsMarksAndReadChecksThem) {
    TempDataDir dir;
    PrinterWords words{};
    words[0] = 60;  // page length
    words[1] = 3;   // top margin
    words[40] = -7;
    Wrprto(words);
    EXPECT_EQ(words[62], 123);  // the caller's array carries the marks
    EXPECT_EQ(words[63], 456);
    EXPECT_EQ(Rdprto(), words);
    Record rec = ReadCommon(kPrinterSettingsRecord);
    EXPECT_EQ(rec.I16(0), 60);
    EXPECT_EQ(rec.I16(124), 123);
    EXPECT_EQ(rec.I16(126), 456);
}

TEST(CommonFilePrinter, RecordWithoutBothMarksReadsAsZeros) {
    struct Case {
        int16_t mark1;
        int16_t mark2;
    } cases[] = {{0, 0}, {123, 0}, {0, 456}, {456, 123}};
    for (const auto& c : cases) {
        TempDataDir dir;
        Record rec(128, 0);
        rec.SetI16(0, 66);
        rec.SetI16(124, c.mark1);
        rec.SetI16(126, c.mark2);
        fixtures::WriteCommonRecord(kPrinterSettingsRecord, rec);
        PrinterWords words = Rdprto();
        for (int16_t w : words) EXPECT_EQ(w, 0) << c.mark1 << "/" << c.mark2;
    }
    TempDataDir empty;
    for (int16_t w : Rdprto()) EXPECT_EQ(w, 0);
}

// Writes the manager code table: code k (1-100) into record 10 (codes 1-10
// at bytes 17-56) or records 81-83; every other place stays zero bytes.
void WriteManagerTable(const std::map<int, std::string>& codes) {
    Record r10(128, 0), r81(128, 0), r82(128, 0), r83(128, 0);
    for (const auto& [k, code] : codes) {
        if (k <= 10)
            r10.SetText(16 + 4 * (k - 1), 4, code);
        else if (k <= 42)
            r81.SetText(4 * (k - 11), 4, code);
        else if (k <= 74)
            r82.SetText(4 * (k - 43), 4, code);
        else
            r83.SetText(4 * (k - 75), 4, code);
    }
    fixtures::WriteCommonRecord(10, r10);
    fixtures::WriteCommonRecord(81, r81);
    fixtures::WriteCommonRecord(82, r82);
    fixtures::WriteCommonRecord(83, r83);
}

TEST(CommonFileChksec, TableNeverWrittenGivesStatus1) {
    TempDataDir dir;
    int16_t position = 7, status = -1;
    Chksec("AB  ", position, status);
    EXPECT_EQ(status, kChksecNoTable);
    EXPECT_EQ(position, 0);
    WriteManagerTable({});  // records present, all zero bytes
    position = 7;
    Chksec("AB  ", position, status);
    EXPECT_EQ(status, kChksecNoTable);
    EXPECT_EQ(position, 0);
}

TEST(CommonFileChksec, FindsCodesInEveryRecordOfTheTable) {
    TempDataDir dir;
    WriteManagerTable({{1, "AAAA"},
                       {10, "JJ  "},
                       {11, "K1  "},
                       {42, "K42 "},
                       {43, "K43 "},
                       {74, "K74 "},
                       {75, "K75 "},
                       {100, "LAST"}});
    struct Case {
        const char* code;
        int16_t position;
    } cases[] = {{"AAAA", 1},  {"JJ", 10},   {"K1  ", 11}, {"K42 ", 42},
                 {"K43 ", 43}, {"K74 ", 74}, {"K75 ", 75}, {"LAST", 100}};
    for (const auto& c : cases) {
        int16_t position = -999, status = -1;
        Chksec(c.code, position, status);
        EXPECT_EQ(status, kChksecFound) << c.code;
        EXPECT_EQ(position, c.position) << c.code;
    }
    int16_t position = -999, status = -1;
    Chksec("ZZZZ", position, status);
    EXPECT_EQ(status, kChksecNoMatch);
    EXPECT_EQ(position, 0);
}

TEST(CommonFileChksec, QuestionMarksInTheTableMatchAnyCharacter) {
    TempDataDir dir;
    WriteManagerTable({{3, "XY  "}, {5, "AB??"}, {6, "ABCD"}, {7, "????"}});
    struct Case {
        const char* code;
        int16_t status;
        int16_t position;
    } cases[] = {
        {"ABXY", kChksecFound, 5}, {"AB  ", kChksecFound, 5},
        {"ABCD", kChksecFound, 5},  // the earlier pattern wins over the later exact code
        {"ACXY", kChksecFound, 7},  // "????" matches anything
        {"ab??", kChksecFound, 7},  // case matters for the pattern at 5
    };
    for (const auto& c : cases) {
        int16_t position = 0, status = -1;
        Chksec(c.code, position, status);
        EXPECT_EQ(status, c.status) << c.code;
        EXPECT_EQ(position, c.position) << c.code;
    }
    // Without the catch-all, a code that no pattern covers is not found;
    // a "?" in the given code is an ordinary character.
    WriteManagerTable({{3, "XY  "}, {5, "AB??"}});
    for (const char* code : {"ACXY", "A???", "xy  "}) {
        int16_t position = 0, status = -1;
        Chksec(code, position, status);
        EXPECT_EQ(status, kChksecNoMatch) << code;
        EXPECT_EQ(position, 0) << code;
    }
}

TEST(CommonFileChksec, ExactCodeNeedsAnAccountOfThatManager) {
    TempDataDir dir;
    WriteManagerTable({{2, "JOE "}, {4, "ANN "}});
    fixtures::WriteAccounts(
        {{.id = "A1", .manager = "ANN "}, {.id = "A2", .manager = "ANN "}, {.id = "A3", .manager = "SUE "}});
    // An account of the manager: the code's position.
    int16_t position = 0, status = -1;
    Chksec("ANN ", position, status);
    EXPECT_EQ(status, kChksecFound);
    EXPECT_EQ(position, 4);
    // No account of the manager: status 3, position 0.
    position = 0;
    Chksec("JOE ", position, status);
    EXPECT_EQ(status, kChksecNoAccount);
    EXPECT_EQ(position, 0);
    // -999 asks for the table position alone.
    position = -999;
    Chksec("JOE ", position, status);
    EXPECT_EQ(status, kChksecFound);
    EXPECT_EQ(position, 2);
}

TEST(CommonFileChksec, PositionRequestDoesNotTouchTheAccountFile) {
    TempDataDir dir;
    WriteManagerTable({{9, "AB??"}, {12, "JOE "}});
    int16_t position = -999, status = -1;
    Chksec("JOE ", position, status);
    EXPECT_EQ(status, kChksecFound);
    EXPECT_EQ(position, 12);
    EXPECT_FALSE(TempDataDir::Exists("ACCOUNT.REC"));
    EXPECT_FALSE(IsOpen(10));
}

TEST(CommonFileChksec, UnreadableLaterRecordsLeaveCodesUnwritten) {
    TempDataDir dir;
    Record r10(128, 0);
    r10.SetText(16, 4, "FRST");
    fixtures::WriteCommonRecord(10, r10);  // records 81-83 missing
    int16_t position = -999, status = -1;
    Chksec("FRST", position, status);
    EXPECT_EQ(status, kChksecFound);
    EXPECT_EQ(position, 1);
    position = -999;
    Chksec("????", position, status);
    EXPECT_EQ(status, kChksecNoMatch);
}

}  // namespace
