#include "engine/accounts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

using Bytes = std::vector<unsigned char>;

Bytes FileBytes(const std::string& name) {
    return TempDataDir::ReadBytes(name);
}

// The bytes of record n (from 1) of a file image of 128-byte records.
Bytes RecordOf(const Bytes& file, long n) {
    const auto at = static_cast<std::size_t>(n - 1) * 128;
    if (file.size() < at + 128) return {};
    return Bytes(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at + 128));
}

Bytes Raw(const Record& rec) {
    return rec.bytes();
}

// A record whose every byte tells the file and record it came from.
Record Marked(unsigned char file_mark, long n) {
    Record rec(128);
    for (std::size_t i = 0; i < 128; ++i) rec.data()[i] = static_cast<unsigned char>(file_mark + n * 7 + i);
    return rec;
}

void WriteRecords(const std::string& name, const std::vector<Record>& recs) {
    records::DirectFile f(name, 128);
    for (std::size_t i = 0; i < recs.size(); ++i) f.Write(static_cast<long>(i + 1), recs[i]);
}

std::vector<fixtures::AccountFields> Accounts(const std::vector<std::string>& ids) {
    std::vector<fixtures::AccountFields> out;
    for (const std::string& id : ids) {
        fixtures::AccountFields f;
        f.id = id;
        f.name = "Name of " + id;
        f.short_name = "Short " + id;
        f.manager = "MG" + id.substr(0, 2);
        out.push_back(f);
    }
    return out;
}

// ---- Ckacid

struct IdentifierCase {
    std::string id;
    int16_t error;
};

class CkacidTest : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(CkacidTest, AcceptsOnlyFileNameSafeIdentifiers) {
    EXPECT_EQ(engine::Ckacid(GetParam().id), GetParam().error) << "[" << GetParam().id << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Accounts, CkacidTest,
    ::testing::Values(IdentifierCase{"AB12", 0}, IdentifierCase{"A-1_#", 0}, IdentifierCase{"!#%&-_", 0},
                      IdentifierCase{"@9", 0}, IdentifierCase{"ABCDEF", 0},
                      IdentifierCase{"ABCDEFgh", 0},  // characters 7-8 are never examined
                      IdentifierCase{"ABC   ..", 0}, IdentifierCase{"ab12", 1}, IdentifierCase{"AB 12", 1},
                      IdentifierCase{"AB12.X", 1}, IdentifierCase{" AB", 1}, IdentifierCase{"        ", 1},
                      IdentifierCase{"", 1}, IdentifierCase{"      XY", 1}, IdentifierCase{"A{", 1},
                      IdentifierCase{"A~", 1}, IdentifierCase{"A\tB", 1}, IdentifierCase{"A\xe9", 1}));

TEST(Accounts, CkacidRefusesEachReservedCharacter) {
    for (char c : std::string("'.$\"/\\[]:|<>+=;,()*?^`")) {
        EXPECT_EQ(engine::Ckacid(std::string("AB") + c), 1) << c;
        EXPECT_EQ(engine::Ckacid(std::string(1, c) + "AB"), 1) << c;
    }
}

// ---- Fndacc

TEST(Accounts, FndaccGivesEntryAndShortName) {
    TempDataDir dir;
    std::vector<std::string> ids;
    for (int i = 1; i <= 18; ++i) ids.push_back("AC" + std::to_string(i));
    fixtures::WriteAccounts(Accounts(ids));

    struct Case {
        std::string id;
        int16_t entry;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"AC1", 2, "Short AC1"},
        {"AC2     ", 3, "Short AC2"},
        {"AC16", 17, "Short AC16"},
        {"AC17", 18, "Short AC17"},
        {"AC18", 19, "Short AC18"},
        {"ac1", 0, ""},
        {"AC19", 0, ""},
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        int16_t entry = -5;
        std::string name = "junk";
        engine::Fndacc(c.id, entry, name);
        EXPECT_EQ(entry, c.entry) << c.id;
        EXPECT_EQ(name, records::Fixed(c.name, 32)) << c.id;
    }
}

TEST(Accounts, FndaccLooksOnlyAtCountedKeys) {
    TempDataDir dir;
    fixtures::WriteAccounts(Accounts({"AAA", "BBB", "CCC"}));
    // The count says two: the third key is a leftover.
    Record head(128, 0);
    head.SetI16(0, 2);
    records::DirectFile("ACCOUNT.IDX", 128).Write(1, head);
    int16_t entry = 0;
    std::string name;
    engine::Fndacc("CCC", entry, name);
    EXPECT_EQ(entry, 0);
    EXPECT_EQ(name, std::string(32, ' '));
}

TEST(Accounts, FndaccWithoutIndexFindsNothing) {
    TempDataDir dir;
    int16_t entry = 7;
    std::string name;
    engine::Fndacc("AAA", entry, name);
    EXPECT_EQ(entry, 0);
    EXPECT_EQ(name, std::string(32, ' '));
}

// ---- Cpyacc

// Source account SRC (entry 2 of three) with all four files.
struct CopyFixture {
    TempDataDir dir;
    std::vector<Record> holdings, gains, history, transactions;

    CopyFixture() {
        fixtures::WriteAccounts(Accounts({"AAA", "SRC", "ZZZ"}));
        // Holdings: header, cash lot (record 2) -> lot 4 -> end; record 3
        // deleted on the free chain (next free 3 -> 6, the first never used);
        // record 5 holds a lot that no link reaches.
        holdings.assign(5, Record(128, 0));
        records::HoldingsHeader h;
        h.first_lot = 2;
        h.account = "SRC     ";
        h.records_in_use = 5;
        h.next_free = 3;
        h.label = "REBUILD ";
        h.Encode(holdings[0]);
        holdings[0].data()[100] = 0x5a;  // a stray byte the copy does not carry
        records::HoldingRecord cash;
        cash.next = 4;
        cash.symbol = "CASH        ";
        cash.security_record = 2;
        cash.quantity = cash.cost = 1234.5;
        holdings[1] = Marked(0x10, 2);
        cash.Encode(holdings[1]);
        records::DeletedLot deleted;
        deleted.next_free = 6;
        holdings[2] = Marked(0x20, 3);
        deleted.Encode(holdings[2]);
        records::HoldingRecord lot;
        lot.next = -1;
        lot.holding_key = 5.0e14;
        lot.symbol = "IBM         ";
        lot.security_record = 7;
        lot.quantity = 100;
        lot.cost = 9000;
        holdings[3] = Marked(0x30, 4);
        lot.Encode(holdings[3]);
        records::HoldingRecord orphan = lot;
        orphan.symbol = "ORPHAN      ";
        holdings[4] = Marked(0x40, 5);
        orphan.Encode(holdings[4]);
        WriteRecords("HLSRC.REC", holdings);

        records::GainsHeader gh;
        gh.account = "SRC     ";
        gh.label = "REBUILD ";
        gh.count = 2;
        gains = {Marked(0x50, 1), Marked(0x50, 2), Marked(0x50, 3)};
        gh.Encode(gains[0]);
        WriteRecords("GLSRC.REC", gains);

        history = {Marked(0x60, 1), Marked(0x60, 2), Marked(0x60, 3), Marked(0x60, 4), Marked(0x60, 5)};
        history[0].SetText(0, 8, "SRC");
        WriteRecords("HLSRC.DAT", history);

        transactions = {Marked(0x70, 1), Marked(0x70, 2), Marked(0x70, 3)};
        transactions[0].SetI16(0, 3);
        WriteRecords("TRSRC.REC", transactions);
    }
};

TEST(Accounts, CpyaccCopiesAccountRecordsIndexAndFiles) {
    CopyFixture fx;
    const Bytes account_records = FileBytes("ACCOUNT.REC");
    int16_t error = 9;
    std::string message = "untouched";
    engine::Cpyacc("SRC", "NEW1", error, message, 80);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(message, "untouched");

    // Index: count 4, the new key fourth, after the others.
    const Bytes index = FileBytes("ACCOUNT.IDX");
    EXPECT_EQ(RecordOf(index, 1)[0], 4);
    EXPECT_EQ(std::string(index.begin() + 128, index.begin() + 160), "AAA     SRC     ZZZ     NEW1    ");
    EXPECT_EQ(std::string(index.begin() + 160, index.begin() + 256), std::string(96, ' '));

    // The new account's eight records are byte copies of the source's (entry
    // 2, records 9-16), at records 25-32; the others are untouched.
    const Bytes recs = FileBytes("ACCOUNT.REC");
    ASSERT_EQ(recs.size(), 32u * 128);
    EXPECT_TRUE(std::equal(account_records.begin(), account_records.end(), recs.begin()));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(RecordOf(recs, 25 + i), RecordOf(account_records, 9 + i)) << i;

    int16_t entry = 0;
    std::string name;
    engine::Fndacc("NEW1", entry, name);
    EXPECT_EQ(entry, 5);
    EXPECT_EQ(name, records::Fixed("Short SRC", 32));

    // Holdings: header with the first four fields only, the cash lot with
    // security record 1, the other lot and the free-chain record as they
    // were; the unreachable record is not copied.
    Bytes expected(5 * 128, 0);
    Record head(128, 0);
    head.SetI16(0, 2);
    head.SetText(2, 8, "NEW1");
    head.SetI16(10, 5);
    head.SetI16(12, 3);
    std::copy(head.bytes().begin(), head.bytes().end(), expected.begin());
    Record cash = fx.holdings[1];
    cash.SetI16(22, 1);
    std::copy(cash.bytes().begin(), cash.bytes().end(), expected.begin() + 128);
    std::copy(fx.holdings[2].bytes().begin(), fx.holdings[2].bytes().end(), expected.begin() + 256);
    std::copy(fx.holdings[3].bytes().begin(), fx.holdings[3].bytes().end(), expected.begin() + 384);
    EXPECT_EQ(FileBytes("HLNEW1.REC"), Bytes(expected.begin(), expected.begin() + 4 * 128));

    // Gains and value history: the new identifier in bytes 1-8 of record 1,
    // every other byte as in the source. Transactions: byte copy.
    auto with_id = [](std::vector<Record> recs) {
        recs[0].SetText(0, 8, "NEW1");
        Bytes out;
        for (const Record& r : recs) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
        return out;
    };
    EXPECT_EQ(FileBytes("GLNEW1.REC"), with_id(fx.gains));
    EXPECT_EQ(FileBytes("HLNEW1.DAT"), with_id(fx.history));
    EXPECT_EQ(FileBytes("TRNEW1.REC"), FileBytes("TRSRC.REC"));
    // The source's files are as they were.
    EXPECT_EQ(RecordOf(FileBytes("HLSRC.REC"), 1), Raw(fx.holdings[0]));
    EXPECT_FALSE(TempDataDir::Exists("TRNEW1.EXT"));
    EXPECT_FALSE(TempDataDir::Exists("HLNEW1.EXT"));
}

TEST(Accounts, CpyaccRefusalsChangeNothing) {
    struct Case {
        std::string source, target, message;
    };
    const std::vector<Case> cases = {
        {"NONE", "NEW2", "invalid account identifier"},
        {"", "NEW2", "invalid account identifier"},
        {"SRC", "new2", "invalid account identifier"},
        {"SRC", "NE W2", "invalid account identifier"},
        {"SRC", "NEW.2", "invalid account identifier"},
        {"SRC", "", "invalid account identifier"},
        {"SRC", "ZZZ", "ZZZ     is already in the system."},
        {"SRC", "SRC", "SRC     is already in the system."},
    };
    for (const Case& c : cases) {
        CopyFixture fx;
        fixtures::WriteAccounts(Accounts({"AAA", "SRC", "ZZZ", "NEW1"}));
        const Bytes index = FileBytes("ACCOUNT.IDX"), recs = FileBytes("ACCOUNT.REC");
        int16_t error = 0;
        std::string message;
        engine::Cpyacc(c.source, c.target, error, message);
        EXPECT_EQ(error, 1) << c.target;
        EXPECT_EQ(message, records::Fixed(c.message, 80)) << c.target;
        EXPECT_EQ(FileBytes("ACCOUNT.IDX"), index) << c.target;
        EXPECT_EQ(FileBytes("ACCOUNT.REC"), recs) << c.target;
        EXPECT_FALSE(TempDataDir::Exists("TRNEW2.REC"));
    }
    // The message as the copy shows it: the identifier, four blanks and the
    // text.
    CopyFixture fx;
    fixtures::WriteAccounts(Accounts({"AAA", "SRC", "ZZZ", "NEW1"}));
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("SRC", "NEW1", error, message);
    EXPECT_EQ(message.substr(0, 33), "NEW1    is already in the system.");
    EXPECT_EQ(message.size(), 80u);
}

TEST(Accounts, CpyaccWhenCountIsMultipleOf16StartsNewIndexRecord) {
    TempDataDir dir;
    std::vector<std::string> ids;
    for (int i = 1; i <= 16; ++i) ids.push_back("A" + std::to_string(i));
    fixtures::WriteAccounts(Accounts(ids));
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("A3", "B1", error, message);
    ASSERT_EQ(error, 0);
    const Bytes index = FileBytes("ACCOUNT.IDX");
    ASSERT_EQ(index.size(), 3u * 128);
    EXPECT_EQ(RecordOf(index, 1)[0], 17);
    EXPECT_EQ(std::string(index.begin() + 256, index.end()), records::Fixed("B1", 128));
    // The account's records are those of A3, from the new base 8 x 17 - 7.
    const Bytes recs = FileBytes("ACCOUNT.REC");
    for (int i = 0; i < 8; ++i) EXPECT_EQ(RecordOf(recs, 129 + i), RecordOf(recs, 17 + i));
}

TEST(Accounts, CpyaccCopiesFilesOfMoreThan10000Records) {
    TempDataDir dir;
    fixtures::WriteAccounts(Accounts({"BIG"}));
    const long kRecords = 10'050;
    {
        records::DirectFile tr("TRBIG.REC", 128);
        records::DirectFile gl("GLBIG.REC", 128);
        records::DirectFile hl("HLBIG.DAT", 128);
        Record head(128, 0);
        head.SetI16(0, static_cast<int16_t>(kRecords));
        tr.Write(1, head);
        for (long n = 2; n <= kRecords; ++n) tr.Write(n, Marked(0x11, n));
        for (long n = 1; n <= kRecords + 1; ++n) {
            gl.Write(n, Marked(0x22, n));
            hl.Write(n, Marked(0x33, n));
        }
    }
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("BIG", "COPY", error, message);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(FileBytes("TRCOPY.REC"), FileBytes("TRBIG.REC"));
    for (const char* kind : {"GL%s.REC", "HL%s.DAT"}) {
        char source[16], copy[16];
        std::snprintf(source, sizeof source, kind, "BIG");
        std::snprintf(copy, sizeof copy, kind, "COPY");
        Bytes expected = FileBytes(source);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kRecords + 1) * 128) << kind;
        std::copy_n("COPY    ", 8, expected.begin());
        EXPECT_EQ(FileBytes(copy), expected) << kind;
    }
}

TEST(Accounts, CpyaccOfAccountWithoutFilesGivesEmptyCopies) {
    TempDataDir dir;
    fixtures::WriteAccounts(Accounts({"BARE"}));
    // Files left under the new name by an account deleted earlier are
    // replaced, not merged.
    WriteRecords("HLNEW.DAT", {Marked(1, 1), Marked(1, 2)});
    WriteRecords("TRNEW.REC", {Marked(2, 1)});
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("BARE", "NEW", error, message);
    ASSERT_EQ(error, 0);
    Record head(128, 0);
    head.SetI16(0, -1);
    head.SetText(2, 8, "NEW");
    head.SetI16(10, 1);
    head.SetI16(12, 2);
    EXPECT_EQ(FileBytes("HLNEW.REC"), Raw(head));
    for (const char* name : {"GLNEW.REC", "HLNEW.DAT", "TRNEW.REC"}) {
        EXPECT_TRUE(TempDataDir::Exists(name)) << name;
        EXPECT_TRUE(FileBytes(name).empty()) << name;
    }
    // The source's files were not created by the copy.
    for (const char* name : {"HLBARE.REC", "GLBARE.REC", "HLBARE.DAT", "TRBARE.REC"})
        EXPECT_FALSE(TempDataDir::Exists(name)) << name;
}

TEST(Accounts, CpyaccHoldingsWalkEndsOnLoopsAndEmptyHeaders) {
    struct Case {
        const char* what;
        int16_t first, in_use, next_free;
        int16_t link2, link3;
        Bytes header;  // expected first 14 bytes of the copy's header
        std::size_t records;
    };
    auto header_bytes = [](int16_t first, int16_t in_use, int16_t next_free) {
        Record h(128, 0);
        h.SetI16(0, first);
        h.SetText(2, 8, "DST");
        h.SetI16(10, in_use);
        h.SetI16(12, next_free);
        return h.bytes();
    };
    const std::vector<Case> cases = {
        {"loop 2 -> 3 -> 2", 2, 3, 4, 3, 2, header_bytes(2, 3, 4), 3},
        {"link back to the header", 2, 3, 4, 1, -1, header_bytes(2, 3, 4), 2},
        {"zero records in use reads as empty", 2, 0, 4, 3, -1, header_bytes(-1, 1, 2), 1},
        {"zero next free reads as empty", 2, 3, 0, 3, -1, header_bytes(-1, 1, 2), 1},
    };
    for (const Case& c : cases) {
        TempDataDir dir;
        fixtures::WriteAccounts(Accounts({"SRC"}));
        std::vector<Record> hl(3, Record(128, 0));
        hl[0].SetI16(0, c.first);
        hl[0].SetI16(10, c.in_use);
        hl[0].SetI16(12, c.next_free);
        hl[1].SetI16(0, c.link2);
        hl[1].SetText(10, 12, "AAA");
        hl[2].SetI16(0, c.link3);
        hl[2].SetText(10, 12, "BBB");
        WriteRecords("HLSRC.REC", hl);
        int16_t error = 0;
        std::string message;
        engine::Cpyacc("SRC", "DST", error, message);
        ASSERT_EQ(error, 0) << c.what;
        const Bytes copy = FileBytes("HLDST.REC");
        ASSERT_EQ(copy.size(), c.records * 128) << c.what;
        EXPECT_EQ(RecordOf(copy, 1), c.header) << c.what;
        if (c.records >= 2) {
            EXPECT_EQ(RecordOf(copy, 2), Raw(hl[1])) << c.what;
        }
    }
}

TEST(Accounts, CpyaccThatCannotWriteAFileAddsNoAccount) {
    CopyFixture fx;
    // A folder in the place of the new gains file: the file cannot be
    // replaced.
    std::filesystem::create_directory("GLNEW1.REC");
    std::ofstream("GLNEW1.REC/keep") << "x";
    const Bytes index = FileBytes("ACCOUNT.IDX"), recs = FileBytes("ACCOUNT.REC");
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("SRC", "NEW1", error, message);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(message, records::Fixed("could not write GLNEW1.REC", 80));
    EXPECT_EQ(FileBytes("ACCOUNT.IDX"), index);
    EXPECT_EQ(FileBytes("ACCOUNT.REC"), recs);
    EXPECT_TRUE(std::filesystem::is_directory("GLNEW1.REC"));
}

TEST(Accounts, CpyaccOfAccountWithUnreadableRecordsIsRefused) {
    CopyFixture fx;
    // ZZZ's block (records 17-24) is cut short.
    std::filesystem::resize_file("ACCOUNT.REC", 20 * 128);
    const Bytes index = FileBytes("ACCOUNT.IDX"), recs = FileBytes("ACCOUNT.REC");
    int16_t error = 0;
    std::string message;
    engine::Cpyacc("ZZZ", "NEW1", error, message);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(message, records::Fixed("the account records could not be copied", 80));
    EXPECT_EQ(FileBytes("ACCOUNT.IDX"), index);
    EXPECT_EQ(FileBytes("ACCOUNT.REC"), recs);
    EXPECT_FALSE(TempDataDir::Exists("TRNEW1.REC"));
}

}  // namespace
