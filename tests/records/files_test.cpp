#include "records/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/file_names.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

TEST(FilesPaknam, BuildsNamesWithoutBlanks) {
    struct Case {
        const char* account;
        const char* kind;
        const char* ext;
        const char* expected;
    } cases[] = {
        {"AB 1    ", "TR  ", ".REC", "TRAB1.REC   "},
        {"        ", "HL  ", ".REC", "HL.REC      "},
        {"AB1     ", "HL  ", ".REC", "HLAB1.REC   "},
        {"ABCDEFGH", "GL  ", ".TMP", "GLABCDEF.TMP"},  // only six characters of the id
        {"X", "CASHHL", ".EXT", "CAX.EXT     "},       // only two characters of the kind
    };
    for (const auto& c : cases) EXPECT_EQ(Paknam(c.account, c.kind, c.ext), c.expected) << c.account;
}

TEST(FilesDirect, RecordsAtFixedOffsetsAndExtendOnWrite) {
    TempDataDir dir;
    {
        DirectFile f("DATA.REC", 8);
        ASSERT_TRUE(f.ok());
        Record r(8);
        r.SetR8(0, 12.5);
        EXPECT_TRUE(f.Write(3, r));
        EXPECT_EQ(f.Count(), 3);
        Record back;
        EXPECT_TRUE(f.Read(3, back));
        EXPECT_DOUBLE_EQ(back.R8(0), 12.5);
        EXPECT_TRUE(f.Read(1, back));  // the gap reads as zeros
        EXPECT_EQ(back.R8(0), 0.0);
        EXPECT_FALSE(f.Read(4, back));
        EXPECT_FALSE(f.Read(0, back));
    }
    auto bytes = TempDataDir::ReadBytes("DATA.REC");
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(bytes[16 + 6], 0x29);  // 12.5 = 0x4029000000000000, little-endian
    EXPECT_EQ(bytes[16 + 7], 0x40);
}

TEST(FilesDirect, FieldsAreLittleEndian) {
    Record r(16);
    r.SetI16(0, -2);
    r.SetI32(2, 0x01020304);
    r.SetR4(6, 1.0f);
    r.SetText(10, 6, "AB");
    EXPECT_EQ(r.bytes()[0], 0xfe);
    EXPECT_EQ(r.bytes()[1], 0xff);
    EXPECT_EQ(r.bytes()[2], 0x04);
    EXPECT_EQ(r.bytes()[5], 0x01);
    EXPECT_EQ(r.bytes()[9], 0x3f);
    EXPECT_EQ(r.Text(10, 6), "AB    ");
    EXPECT_EQ(r.I16(0), -2);
    EXPECT_EQ(r.I32(2), 0x01020304);
    EXPECT_EQ(r.R4(6), 1.0f);
}

TEST(FilesNames, ResolveCaseInsensitivelyAndMapDriveA) {
    TempDataDir dir;
    TempDataDir::WriteBytes("Common.Fil", {1, 2, 3});
    EXPECT_EQ(ResolveName("COMMON.FIL  "), "Common.Fil");
    EXPECT_EQ(ResolveName("common.fil"), "Common.Fil");
    EXPECT_EQ(ResolveName("NEW.DAT"), "NEW.DAT");  // new files keep the creator's spelling
    EXPECT_EQ(ResolveName("A:IRSTAX"), "A/IRSTAX");
    EXPECT_EQ(ResolveName("sub\\x.txt"), "sub/x.txt");
    std::filesystem::create_directory("a");
    EXPECT_EQ(ResolveName("A:IRSTAX"), "a/IRSTAX");
}

// Names resolve in every folder, and a file created (or renamed) after a
// look-up is found by the next.
TEST(FilesNames, ResolvedNamesFollowTheDirectory) {
    TempDataDir dir;
    TempDataDir::WriteBytes("Common.Fil", {1});
    TempDataDir::WriteBytes("hl.tmp", {2});
    std::filesystem::create_directory("a");
    TempDataDir::WriteBytes("a/IrsTax", {3});
    const std::vector<std::string_view> names = {"COMMON.FIL", "HL.TMP", "GL.TMP", "A:IRSTAX",
                                                 "A:NEW",      "hl.tmp", "",       "Common.Fil  "};
    std::vector<std::string> one_by_one;
    for (std::string_view name : names) one_by_one.push_back(ResolveName(name));
    EXPECT_EQ(one_by_one[0], "Common.Fil");
    EXPECT_EQ(one_by_one[1], "hl.tmp");
    EXPECT_EQ(one_by_one[2], "GL.TMP");
    EXPECT_EQ(one_by_one[3], "a/IrsTax");

    TempDataDir::WriteBytes("gl.TMP", {4});
    std::filesystem::rename("hl.tmp", "Hl.Tmp");
    const std::vector<std::string> after = {ResolveName("GL.TMP"), ResolveName("HL.TMP")};
    EXPECT_EQ(after, (std::vector<std::string>{"gl.TMP", "Hl.Tmp"}));
    // A file opened by its resolved path is not looked up again.
    DirectFile file(ResolvedPath{after[1]}, 1);
    EXPECT_TRUE(file.ok());
    EXPECT_EQ(file.Count(), 1);
}

TEST(FilesUnits, FailedOpenMakesReadsFailInsteadOfCrashing) {
    TempDataDir dir;
    Open(5, "NODIR/X.REC");
    EXPECT_FALSE(IsOpen(5));
    Record r;
    EXPECT_FALSE(ReadRecord(5, 1, r));
    EXPECT_FALSE(WriteRecord(5, 1, Record(128)));
    Close(5);
    EXPECT_FALSE(ReadRecord(41, 1, r));  // outside the table
    EXPECT_FALSE(ReadRecord(9, 1, r));   // never opened
}

TEST(FilesUnits, TextLinesReadLfAndCrLfAndWriteCrLf) {
    TempDataDir dir;
    std::string content = "one\r\ntwo\nthree";
    TempDataDir::WriteBytes("LIST.TXT", {content.begin(), content.end()});
    Openaw(14, "list.txt");
    {
        UnitGuard g(14);
        std::string line;
        ASSERT_TRUE(ReadLine(14, line));
        EXPECT_EQ(line, "one");
        ASSERT_TRUE(ReadLine(14, line));
        EXPECT_EQ(line, "two");
        ASSERT_TRUE(WriteLine(14, "TWO"));  // replaces what follows
    }
    EXPECT_FALSE(IsOpen(14));
    auto bytes = TempDataDir::ReadBytes("LIST.TXT");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "one\r\ntwo\nTWO\r\n");
}

TEST(FilesPurge, MissingFileLeavesNothingBehind) {
    TempDataDir dir;
    Purge("GONE.DAT    ");
    EXPECT_FALSE(TempDataDir::Exists("GONE.DAT"));
    TempDataDir::WriteBytes("HERE.DAT", {1});
    Purge("here.dat");
    EXPECT_FALSE(TempDataDir::Exists("HERE.DAT"));
}

TEST(FilesPurge, DelacfDeletesTheAccountFilesOnly) {
    TempDataDir dir;
    for (const char* n :
         {"HLAB1.REC", "HLAB1.EXT", "HLAB1.DAT", "TRAB1.REC", "TRAB1.EXT", "GLAB1.REC", "TRAB2.REC"})
        TempDataDir::WriteBytes(n, {1});
    Delacf("AB1   ");
    for (const char* n : {"HLAB1.REC", "HLAB1.EXT", "HLAB1.DAT", "TRAB1.REC", "TRAB1.EXT", "GLAB1.REC"})
        EXPECT_FALSE(TempDataDir::Exists(n)) << n;
    EXPECT_TRUE(TempDataDir::Exists("TRAB2.REC"));
}

TEST(FilesFinit, DeletesWorkFilesAndResetsQorCounters) {
    TempDataDir dir;
    TempDataDir::WriteBytes("PCONTROL.FIL", {1});
    TempDataDir::WriteBytes("TEMP3.WRK", {1});
    Finit();
    EXPECT_FALSE(TempDataDir::Exists("PCONTROL.FIL"));
    EXPECT_FALSE(TempDataDir::Exists("TEMP3.WRK"));
    auto bytes = TempDataDir::ReadBytes("QOR.DAT");
    ASSERT_EQ(bytes.size(), 4u * 128u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bytes[3 * 128 + i], 0);

    // Existing counters are reset and the rest of the record is kept.
    std::vector<unsigned char> qor(4 * 128, 7);
    TempDataDir::WriteBytes("QOR.DAT", qor);
    Finit();
    bytes = TempDataDir::ReadBytes("QOR.DAT");
    EXPECT_EQ(bytes[3 * 128 + 3], 0);
    EXPECT_EQ(bytes[3 * 128 + 4], 7);
    EXPECT_EQ(bytes[0], 7);
}

TEST(FilesDelirs, NeedsTheDriveAFolder) {
    TempDataDir dir;
    EXPECT_EQ(Delirs(), 1);
    std::filesystem::create_directory("A");
    TempDataDir::WriteBytes("A/IRSTAX", {1});
    EXPECT_EQ(Delirs(), 0);
    EXPECT_FALSE(TempDataDir::Exists("A/IRSTAX"));
    EXPECT_EQ(Delirs(), 0);  // a missing file is created and deleted
}

TEST(FilesReplace, WritesBesideAndRenames) {
    TempDataDir dir;
    TempDataDir::WriteBytes("HLX.REC", {1, 2, 3});
    ASSERT_TRUE(ReplaceFile("hlx.rec", {9}));
    EXPECT_EQ(TempDataDir::ReadBytes("HLX.REC"), std::vector<unsigned char>{9});
    EXPECT_FALSE(TempDataDir::Exists("HLX.REC.new"));
    EXPECT_FALSE(ReplaceFile("NODIR/X", {1}));
}

}  // namespace
