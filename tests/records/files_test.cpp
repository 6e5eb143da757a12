#include "records/files.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "records/file_names.h"
#include "records/record.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/fixtures/file_size_limit.h"
#include "tests/fixtures/unwritable_folder.h"

namespace {

using fixtures::TempDataDir;
using namespace records;

// A disk that takes 16 KB per file while it lives: writes past that fail.
class SmallDisk : public fixtures::FileSizeLimit {
public:
    SmallDisk() : FileSizeLimit(16 * 1024) {}
};

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

// A file the user may only read opens for reading: through a unit, as a
// DirectFile, mapped and as text lines. Writes to it are refused and leave
// it as it was. Root ignores a file's mode, so the opens run in a child
// process that takes an unprivileged user where the test runs as root.
TEST(FilesReadOnly, AFileTheUserMayOnlyReadOpensForReading) {
    TempDataDir dir;
    std::vector<unsigned char> bytes;
    for (const char* text : {"R1", "R2"}) {
        std::string record = text;
        record.resize(126, ' ');
        record += "\r\n";
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    TempDataDir::WriteBytes("RO.REC", bytes);

    const std::vector<std::pair<const char*, std::function<bool()>>> checks = {
        {"a unit open reads a record",
         [] {
             Open(5, "RO.REC");
             Record rec;
             const bool read = IsOpen(5) && ReadRecord(5, 2, rec) && rec.Text(0, 2) == "R2";
             const bool refused = !WriteRecord(5, 1, Record(128, 'X'));
             Close(5);
             return read && refused;
         }},
        {"a DirectFile reads a record",
         [] {
             DirectFile file("RO.REC", 128);
             Record rec;
             const bool read = file.ok() && file.Count() == 2 && file.Read(1, rec) && rec.Text(0, 2) == "R1";
             return read && !file.Write(2, Record(128, 'X'));
         }},
        {"a mapping reads the records",
         [] {
             const MappedRecords mapped("RO.REC", 128);
             return mapped.Count() == 2 && std::string(reinterpret_cast<const char*>(mapped.data()) + 128, 2) == "R2";
         }},
        {"a text file reads a line",
         [] {
             Openaw(6, "RO.REC");
             std::string line;
             const bool read = ReadLine(6, line) && line.substr(0, 2) == "R1";
             Close(6);
             return read;
         }},
    };
    const fixtures::UnwritableRun run = fixtures::RunInUnwritableFolder(
        {fixtures::UnwritableFolder::Kind::kNoPermission}, dir.path(), [&](const std::filesystem::path&) {
            const int fd = ::open("RO.REC", O_RDWR);
            if (fd >= 0) {
                ::close(fd);
                return std::string("this user may write a file of mode 0444\n");
            }
            std::string failed;
            for (const auto& [what, check] : checks)
                if (!check()) failed += std::string(what) + " failed\n";
            return failed;
        });
    if (!run.skipped().empty()) GTEST_SKIP() << run.skipped();
    EXPECT_EQ(run.result(), "");
    EXPECT_EQ(run.After("RO.REC"), bytes);
}

// An open over a unit that still holds a file tells the check (which the
// test programs make fatal) and still closes that file and opens the new
// one; an open over a closed unit tells nothing.
std::vector<std::string> g_reopens;
void NoteReopen(int unit, const std::string& held, std::string_view opening) {
    g_reopens.push_back(std::to_string(unit) + " " + std::filesystem::path(held).filename().string() + " " +
                        std::string(opening));
}

TEST(FilesUnits, AReopenOfAnOpenUnitIsToldAndStillReplacesTheFile) {
    TempDataDir dir;
    g_reopens.clear();
    const UnitReopenCheck previous = SetUnitReopenCheck(NoteReopen);
    Open(6, "FIRST.REC");
    ASSERT_TRUE(WriteRecord(6, 1, Record(128, 'A')));
    Openaw(6, "SECOND.TXT");  // a text file over a direct one
    ASSERT_TRUE(WriteLine(6, "LINE"));
    Close(6);
    Opn132(6, "THIRD.REC");  // the unit was closed
    CloseDelete(6);
    Open(7, "NODIR/X.REC");  // an open that failed still holds the unit
    Open(7, "FOURTH.REC");
    Close(7);
    SetUnitReopenCheck(previous);

    EXPECT_EQ(g_reopens, (std::vector<std::string>{"6 FIRST.REC SECOND.TXT", "7  FOURTH.REC"}));
    EXPECT_EQ(TempDataDir::ReadBytes("FIRST.REC").size(), 128u);  // written out as it closed
    const auto text = TempDataDir::ReadBytes("SECOND.TXT");
    EXPECT_EQ(std::string(text.begin(), text.end()), "LINE\r\n");
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

// The bytes of a file as the disk holds them, without writing out what the
// record layer buffers.
std::vector<unsigned char> DiskBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Random reads, writes (one record, runs of records, over and past the
// end), counts and cuts through two DirectFiles on one file (spelt in two
// cases, of two record lengths) and the unit table, against a plain byte
// model: every read sees every write at once, whichever object made it,
// and the disk holds the model whenever every object is closed or the
// buffered writes are asked for. Files of up to some 2,000 records take
// the buffer's runs of blocks, its growing reads and its flushes along
// the way. Within a run, where a cut waits for the writes that follow it,
// the same holds.
class FilesDirectShared : public ::testing::TestWithParam<bool> {};

TEST_P(FilesDirectShared, SharedFileSeesEveryWriteAndLeavesItOnDisk) {
    TempDataDir dir;
    std::optional<RunFileCache> run;
    if (GetParam()) run.emplace();
    std::mt19937 rng(57);
    std::vector<unsigned char> model;
    auto model_write = [&](std::size_t off, const unsigned char* p, std::size_t n) {
        if (model.size() < off + n) model.resize(off + n, 0);
        std::memcpy(model.data() + off, p, n);
    };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        {
            auto a = std::make_unique<DirectFile>("SHARE.REC", 128);
            auto b = std::make_unique<DirectFile>("share.rec", 64);
            Open(5, "Share.Rec");
            UnitGuard guard(5);
            long last = 1;
            for (int op = 0; op < 300; ++op) {
                DirectFile& f = rng() % 2 ? *a : *b;
                const std::size_t len = f.record_length();
                // Records in order (the next, the same again) as often as anywhere.
                const long pick = rng() % 4;
                const long n = pick == 0   ? last + 1
                               : pick == 1 ? last
                                           : 1 + static_cast<long>(rng() % (rng() % 8 == 0 ? 2500 : 400));
                last = n;
                switch (rng() % 7) {
                    case 0:
                    case 1: {
                        Record rec(len);
                        for (std::size_t i = 0; i < len; ++i) rec.data()[i] = static_cast<unsigned char>(rng());
                        if (rng() % 5 == 0) rec.bytes().resize(len / 2);  // the rest of the slot is zero
                        ASSERT_TRUE(f.Write(n, rec));
                        std::vector<unsigned char> slot(len, 0);
                        std::memcpy(slot.data(), rec.data(), rec.size());
                        model_write((n - 1) * len, slot.data(), len);
                        break;
                    }
                    case 2: {
                        std::vector<unsigned char> run(len * (1 + rng() % 40));
                        for (auto& c : run) c = static_cast<unsigned char>(rng());
                        ASSERT_TRUE(f.WriteRecords(n, run.data(), run.size() / len));
                        model_write((n - 1) * len, run.data(), run.size());
                        break;
                    }
                    case 3: {
                        Record rec;
                        const std::size_t off = (n - 1) * len;
                        const bool inside = off + len <= model.size();
                        ASSERT_EQ(f.Read(n, rec), inside) << n;
                        if (inside) {
                            ASSERT_TRUE(std::equal(rec.bytes().begin(), rec.bytes().end(), model.begin() + off))
                                << n;
                        }
                        break;
                    }
                    case 4: {
                        Record rec;
                        const long u = 1 + static_cast<long>(rng() % 300);
                        const bool inside = u * 128 <= static_cast<long>(model.size());
                        ASSERT_EQ(ReadRecord(5, u, rec), inside);
                        if (inside) {
                            ASSERT_TRUE(std::equal(rec.bytes().begin(), rec.bytes().end(),
                                                   model.begin() + (u - 1) * 128));
                        }
                        break;
                    }
                    case 5:
                        ASSERT_EQ(f.Count(), static_cast<long>(model.size() / len));
                        break;
                    case 6:
                        if (rng() % 8 == 0) {
                            const long keep = static_cast<long>(rng() % (model.size() / len + 1));
                            ASSERT_TRUE(f.Truncate(keep));
                            model.resize(keep * len);
                        } else if (rng() % 8 == 0) {
                            FlushPendingWrites();
                            ASSERT_EQ(DiskBytes("SHARE.REC"), model);
                        }
                        break;
                }
            }
            std::vector<unsigned char> whole;
            ASSERT_TRUE(a->ReadWhole(whole));
            ASSERT_TRUE(std::equal(whole.begin(), whole.end(), model.begin()));
        }
        ASSERT_EQ(DiskBytes("SHARE.REC"), model);
    }
}

INSTANTIATE_TEST_SUITE_P(FilesDirect, FilesDirectShared, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InARun" : "OutsideARun"; });

// Writes still in the buffer of an open file reach a mapping of the file,
// a text file opened on it and a reader that asks for them.
TEST(FilesDirect, BufferedWritesReachOtherReaders) {
    TempDataDir dir;
    DirectFile f("BUF.REC", 128);
    Record rec(128);
    for (long n = 1; n <= 3; ++n) {
        rec.SetText(0, 4, "R" + std::to_string(n) + "\r\n");
        ASSERT_TRUE(f.Write(n, rec));
    }
    const MappedRecords mapped("BUF.REC", 128);
    ASSERT_EQ(mapped.Count(), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.data()) + 256, 2), "R3");
    {
        TextFile text("BUF.REC", false);
        std::string line;
        ASSERT_TRUE(text.ReadLine(line));
        EXPECT_EQ(line, "R1");
    }
    rec.SetText(0, 4, "R4  ");
    ASSERT_TRUE(f.Write(4, rec));
    FlushPendingWrites();
    EXPECT_EQ(DiskBytes("BUF.REC").size(), 4u * 128);
}

// Text lines are buffered: a second text file on the same name, opened
// while the first still writes, reads every line written so far, and the
// disk has them all once the file closes.
TEST(FilesUnits, BufferedTextLinesReachTheDisk) {
    TempDataDir dir;
    std::string expected;
    {
        TextFile out("LINES.TXT");
        for (int i = 0; i < 5000; ++i) {
            const std::string line = "line " + std::to_string(i);
            ASSERT_TRUE(out.WriteLine(line));
            expected += line + "\r\n";
        }
        TextFile in("LINES.TXT");
        std::string line;
        int count = 0;
        while (in.ReadLine(line)) ++count;
        EXPECT_EQ(count, 5000);
    }
    const std::vector<unsigned char> disk = DiskBytes("LINES.TXT");
    EXPECT_EQ(std::string(disk.begin(), disk.end()), expected);
}

// Under a RunFileCache, COMMON.FIL and the securities and price files stay
// open between routines: a later open sees the program's own writes, a file
// the record layer replaces or deletes is read anew, and once the run ends a
// change made by other means is seen.
TEST(FilesRunCache, KeptFilesFollowTheProgramsChanges) {
    TempDataDir dir;
    auto first_byte = [](const char* name) {
        DirectFile f(name, 128, false);
        Record rec;
        return f.Read(1, rec) ? rec.data()[0] : -1;
    };
    auto write_first = [](const char* name, unsigned char c) {
        DirectFile f(name, 128);
        Record rec(128, c);
        f.Write(1, rec);
    };
    TempDataDir::WriteBytes("COMMON.FIL", std::vector<unsigned char>(128, 1));
    TempDataDir::WriteBytes("SE063098.PRC", std::vector<unsigned char>(128, 1));
    {
        RunFileCache run;
        EXPECT_EQ(first_byte("COMMON.FIL"), 1);
        write_first("common.fil", 2);
        EXPECT_EQ(first_byte("COMMON.FIL"), 2);
        EXPECT_EQ(DiskBytes("COMMON.FIL"), std::vector<unsigned char>(128, 2));  // on disk once closed
        ASSERT_TRUE(ReplaceFile("COMMON.FIL", std::vector<unsigned char>(128, 3)));
        EXPECT_EQ(first_byte("COMMON.FIL"), 3);
        EXPECT_EQ(first_byte("SE063098.PRC"), 1);
        Open(9, "SE063098.PRC");
        CloseDelete(9);
        EXPECT_EQ(first_byte("SE063098.PRC"), -1);  // deleted, not kept
        {
            RunFileCache nested;
            EXPECT_EQ(first_byte("COMMON.FIL"), 3);
        }
        TempDataDir::WriteBytes("COMMON.FIL.new", std::vector<unsigned char>(128, 4));
        std::filesystem::rename("COMMON.FIL.new", "COMMON.FIL");
        EXPECT_EQ(first_byte("COMMON.FIL"), 3);  // changed by other means during the run: kept
    }
    EXPECT_EQ(first_byte("COMMON.FIL"), 4);
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

// A work file whose buffered writes could not all reach the disk (here a
// file size limit stands in for a full disk) is never moved over its
// target, although every Write of a run took its record and the failure
// came only when the last handle closed; the failure is listed once for
// the run's end. Outside a run the failing Write itself says so. A work
// file written whole is moved.
TEST(FilesMove, AWorkFileWhoseWritesFailedNeverReplacesItsTarget) {
    TempDataDir dir;
    {
        std::ofstream target("TARGET.REC", std::ios::binary);
        target << std::string(128, 'T');
    }
    Record rec(1024);
    std::memset(rec.data(), 'W', rec.size());
    std::optional<SmallDisk> disk(std::in_place);
    ASSERT_TRUE(disk->ok());
    {
        RunFileCache run;
        DirectFile work("WORK.TMP", rec.size());
        DirectFile data("DATA.TMP", rec.size());
        ASSERT_TRUE(work.ok());
        for (long n = 1; n <= 64; ++n) {
            EXPECT_TRUE(work.Write(n, rec)) << n;  // buffered
            EXPECT_TRUE(data.Write(n, rec)) << n;
        }
    }
    bool failed_at_once = false;
    {
        DirectFile other("OTHER.TMP", rec.size());
        for (long n = 1; n <= 64 && !failed_at_once; ++n) failed_at_once = !other.Write(n, rec);
    }
    disk.reset();
    EXPECT_TRUE(failed_at_once);
    EXPECT_FALSE(MoveFileOver("WORK.TMP", "TARGET.REC"));
    EXPECT_EQ(dir.ReadBytes("TARGET.REC"), std::vector<unsigned char>(128, 'T'));
    const std::vector<FailedWrite> failed = TakeFailedWrites();
    ASSERT_EQ(failed.size(), 1u);  // WORK.TMP's failure went to the move, OTHER.TMP's to its Write
    EXPECT_EQ(std::filesystem::path(failed[0].path).filename(), "DATA.TMP");
    EXPECT_TRUE(TakeFailedWrites().empty());

    // Written again in full, the work file moves, and the failure noted for
    // its first writing does not stick to it.
    {
        DirectFile work("WORK.TMP", rec.size());
        for (long n = 1; n <= 64; ++n) ASSERT_TRUE(work.Write(n, rec));
    }
    EXPECT_TRUE(MoveFileOver("WORK.TMP", "TARGET.REC"));
    EXPECT_EQ(dir.ReadBytes("TARGET.REC").size(), 64u * rec.size());
    EXPECT_FALSE(std::filesystem::exists("WORK.TMP"));
}

// A deleted file's lost writes are still told at the run's end, but no
// longer stick to its inode: a file that takes the inode afterwards (here
// a second name of it, which the kernel shows as the same device and
// inode, as it shows a new file that reuses them) is not refused.
TEST(FilesMove, ADeletedFilesFailureDoesNotStickToItsInode) {
    TempDataDir dir;
    TempDataDir::WriteBytes("TARGET.REC", std::vector<unsigned char>(128, 'T'));
    Record rec(1024);
    {
        RunFileCache run;
        {
            const SmallDisk disk;
            ASSERT_TRUE(disk.ok());
            OpenDirect(5, "LOST.TMP", rec.size());
            for (long n = 1; n <= 64; ++n) WriteRecord(5, n, rec);
            Close(5);  // its writes go out and fail
        }
        std::filesystem::create_hard_link("LOST.TMP", "AGAIN.TMP");
        OpenDirect(5, "LOST.TMP", rec.size());
        ASSERT_TRUE(CloseDelete(5));
        {
            DirectFile again("AGAIN.TMP", 128);
            ASSERT_TRUE(again.Truncate(0));
            ASSERT_TRUE(again.Write(1, Record(128, 'A')));
        }
        EXPECT_TRUE(MoveFileOver("AGAIN.TMP", "TARGET.REC"));
    }
    EXPECT_EQ(TempDataDir::ReadBytes("TARGET.REC"), std::vector<unsigned char>(128, 'A'));
    const std::vector<FailedWrite> failed = TakeFailedWrites();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(std::filesystem::path(failed[0].path).filename(), "LOST.TMP");
}

// The run's end writes out what a file still open buffers before it puts
// the run's replacements in place: a routine that left a unit open cannot
// let a run that lost its writes replace the user's file.
TEST(FilesReplace, ARunThatLosesTheWritesOfAFileLeftOpenReplacesNothing) {
    TempDataDir dir;
    TempDataDir::WriteBytes("USER.TXT", {'o', 'l', 'd', '\r', '\n'});
    Record rec(1024);
    {
        const SmallDisk disk;
        ASSERT_TRUE(disk.ok());
        {
            RunFileCache run;
            TextReplacement user("USER.TXT");
            ASSERT_TRUE(user.WriteLine("new"));
            ASSERT_TRUE(user.Commit());
            OpenDirect(5, "LEFT.TMP", rec.size());
            for (long n = 1; n <= 20; ++n) WriteRecord(5, n, rec);  // past what the disk takes
        }
        Close(5);
    }
    EXPECT_EQ(TempDataDir::ReadBytes("USER.TXT"), (std::vector<unsigned char>{'o', 'l', 'd', '\r', '\n'}));
    EXPECT_FALSE(TempDataDir::Exists("USER.TXT.new"));
    const std::vector<FailedWrite> failed = TakeFailedWrites();
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(std::filesystem::path(failed[0].path).filename(), "LEFT.TMP");
    EXPECT_EQ(std::filesystem::path(failed[1].path).filename(), "USER.TXT");
    EXPECT_TRUE(failed[1].replacement && failed[1].dropped);
}

TEST(FilesReplace, WritesBesideAndRenames) {
    TempDataDir dir;
    TempDataDir::WriteBytes("HLX.REC", {1, 2, 3});
    ASSERT_TRUE(ReplaceFile("hlx.rec", {9}));
    EXPECT_EQ(TempDataDir::ReadBytes("HLX.REC"), std::vector<unsigned char>{9});
    EXPECT_FALSE(TempDataDir::Exists("HLX.REC.new"));
    EXPECT_FALSE(ReplaceFile("NODIR/X", {1}));
    EXPECT_FALSE(ReplaceFile("", {1}));  // no name is a failure, not a file replaced
}

TEST(FilesReplace, SeveralFilesAreRenamedOnlyWhenAllWereWritten) {
    TempDataDir dir;
    TempDataDir::WriteBytes("A.IDX", {1});
    TempDataDir::WriteBytes("A.REC", {2});
    EXPECT_EQ(ReplaceFiles({{"A.IDX", {7}}, {"NODIR/A.REC", {8}}}), "NODIR/A.REC");
    EXPECT_EQ(TempDataDir::ReadBytes("A.IDX"), std::vector<unsigned char>{1});
    EXPECT_FALSE(TempDataDir::Exists("A.IDX.new"));
    EXPECT_EQ(ReplaceFiles({{"a.idx", {7}}, {"a.rec", {8}}}), "");
    EXPECT_EQ(TempDataDir::ReadBytes("A.IDX"), std::vector<unsigned char>{7});
    EXPECT_EQ(TempDataDir::ReadBytes("A.REC"), std::vector<unsigned char>{8});
}

// A target replaced several times gets exactly its last content, however
// long the earlier ones were: within a run the later content is written
// over the earlier one that waits beside the target, and a file left
// beside it by a run that was killed is no part of the next.
TEST(FilesReplace, ATextReplacementHoldsOnlyItsLastContent) {
    struct Case {
        const char* name;
        bool in_run;
        std::vector<std::vector<std::string>> contents;  // the replacements, in order
    };
    const std::string long_line(70000, 'L');  // past what a replacement buffers
    const Case cases[] = {
        {"shorter after longer, in a run", true, {{long_line, "two"}, {"one"}}},
        {"longer after shorter, in a run", true, {{"one"}, {long_line}, {"a", "b"}}},
        {"empty last, in a run", true, {{"one", "two"}, {}}},
        {"one replacement, in a run", true, {{"only"}}},
        {"outside a run", false, {{long_line}, {"one"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        TempDataDir::WriteBytes("TARGET.TXT", std::vector<unsigned char>(5000, 'E'));
        TempDataDir::WriteBytes("TARGET.TXT.new", std::vector<unsigned char>(90000, 'K'));  // a killed run's
        std::string expected;
        {
            std::optional<RunFileCache> run;
            if (c.in_run) run.emplace();
            for (const std::vector<std::string>& content : c.contents) {
                TextReplacement replacement("TARGET.TXT");
                expected.clear();
                for (const std::string& line : content) {
                    EXPECT_TRUE(replacement.WriteLine(line));
                    expected += line + "\r\n";
                }
                EXPECT_TRUE(replacement.Commit());
            }
        }
        EXPECT_TRUE(TakeFailedWrites().empty());
        const std::vector<unsigned char> target = TempDataDir::ReadBytes("TARGET.TXT");
        EXPECT_EQ(std::string(target.begin(), target.end()), expected);
        EXPECT_FALSE(TempDataDir::Exists("TARGET.TXT.new"));
    }
}

// A text file that outgrows the disk: outside a run the line that does not
// fit fails at once; in a run the lines are buffered and the failure is
// told at the run's end, naming the file.
TEST(FilesUnits, FailedTextWriteIsToldOutsideAndInsideARun) {
    TempDataDir dir;
    const std::string line(98, 'L');
    std::optional<SmallDisk> disk(std::in_place);
    ASSERT_TRUE(disk->ok());
    int written_outside = 0;
    {
        TextFile out("OUTSIDE.TXT");
        while (written_outside < 400 && out.WriteLine(line)) ++written_outside;
    }
    bool all_taken_in_run = true;
    {
        RunFileCache run;
        TextFile out("INSIDE.TXT");
        for (int i = 0; i < 400; ++i) all_taken_in_run = out.WriteLine(line) && all_taken_in_run;
    }
    disk.reset();
    EXPECT_EQ(written_outside, 16 * 1024 / 100);  // the lines that fit whole
    EXPECT_TRUE(all_taken_in_run);
    const std::vector<FailedWrite> failed = TakeFailedWrites();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(std::filesystem::path(failed[0].path).filename(), "INSIDE.TXT");
}

void WriteWork(const char* name, unsigned char fill, long records) {
    DirectFile work(name, 128);
    for (long n = 1; n <= records; ++n) work.Write(n, Record(128, fill));
}

}  // namespace

// Within a run the mapping of a kept file (the securities master) is taken
// again while the file is the same, and shows the program's writes in
// place; a file grown, replaced or changed in size is mapped afresh, and a
// name the run does not keep is mapped each time.
TEST(FilesMapped, AKeptFilesMappingServesARunWhileTheFileIsTheSame) {
    TempDataDir dir;
    TempDataDir::WriteBytes("SECURITY.REC", std::vector<unsigned char>(3 * 128, 'a'));
    TempDataDir::WriteBytes("OTHER.REC", std::vector<unsigned char>(2 * 128, 'o'));
    RunFileCache run;
    const unsigned char* first = nullptr;
    {
        MappedRecords m("SECURITY.REC", 128);
        ASSERT_EQ(m.Count(), 3);
        first = m.data();
    }
    {
        MappedRecords m("SECURITY.REC", 128);
        EXPECT_EQ(m.data(), first);  // the kept mapping
        DirectFile f("SECURITY.REC", 128);
        ASSERT_TRUE(f.Write(2, Record(128, 'b')));
    }
    {
        MappedRecords m("SECURITY.REC", 128);
        ASSERT_EQ(m.Count(), 3);
        EXPECT_EQ(m.data()[128], 'b');
        EXPECT_EQ(m.data()[0], 'a');
        DirectFile f("SECURITY.REC", 128);
        ASSERT_TRUE(f.Write(4, Record(128, 'c')));
    }
    {
        MappedRecords m("SECURITY.REC", 128);
        ASSERT_EQ(m.Count(), 4);
        EXPECT_EQ(m.data()[3 * 128], 'c');
    }
    WriteWork("WORK.TMP", 'n', 4);
    ASSERT_TRUE(MoveFileOver("WORK.TMP", "SECURITY.REC"));
    {
        MappedRecords m("SECURITY.REC", 128);
        ASSERT_EQ(m.Count(), 4);
        EXPECT_EQ(m.data()[0], 'n');
    }
    {
        MappedRecords one("OTHER.REC", 128);
        MappedRecords two("OTHER.REC", 128);
        EXPECT_NE(one.data(), two.data());
        EXPECT_EQ(two.Count(), 2);
    }
}

// Each account of a run frees its working storage before the next one
// allocates its own. A run keeps the freed top of the heap for it instead
// of handing it back to the system after every account, and gives it back
// when the outermost run ends.
TEST(RunFileCache, KeepsTheMemoryItFreesUntilTheRunEnds) {
    // Blocks above the C library's per-thread caches and below its mapping
    // threshold come from the top of the heap and go back to it; so many
    // that holes an earlier test left in the heap hold few of them.
    constexpr int kBlocks = 16384;
    const auto allocate_and_free = [] {
        std::vector<char*> blocks;
        for (int i = 0; i < kBlocks; ++i) {
            blocks.push_back(static_cast<char*>(std::malloc(2000)));
            if (blocks.back() == nullptr) return false;
            std::memset(blocks.back(), i & 0xff, 2000);
        }
        for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
        return true;
    };
    constexpr std::size_t kFreed = std::size_t{kBlocks} * 2000;
    if (mallinfo2().arena == 0) GTEST_SKIP() << "the heap is not the C library's";

    ASSERT_TRUE(allocate_and_free());
    EXPECT_LT(mallinfo2().keepcost, kFreed / 8) << "outside a run the heap goes back at once";
    {
        RunFileCache run;
        {
            RunFileCache nested;
            ASSERT_TRUE(allocate_and_free());
        }
        EXPECT_GE(mallinfo2().keepcost, kFreed / 2) << "a nested run's end is not the run's end";
    }
    EXPECT_LT(mallinfo2().keepcost, kFreed / 8) << "the run's end gives the heap back";
    ASSERT_TRUE(allocate_and_free());
    EXPECT_LT(mallinfo2().keepcost, kFreed / 8) << "after a run the heap goes back at once again";
}
