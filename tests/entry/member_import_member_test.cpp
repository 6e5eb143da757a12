// The member account import in member mode, and the starting identifier
// it proposes: accounts set up byte for byte, their history files and
// index keys, the report, and the members it passes over.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/member_import.h"
#include "member_file.h"
#include "records/files.h"
#include "records/record.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::MemberFields;
using fixtures::TempDataDir;
using records::Record;

Record ReadRecord(const std::string& file, long n) {
    records::DirectFile f(file, 128, /*create=*/false);
    Record rec;
    EXPECT_TRUE(f.Read(n, rec)) << file << " record " << n;
    return rec;
}

// The three members of the first run.
std::vector<MemberFields> ThreeMembers() {
    MemberFields a;
    a.number = "00000000000012345";
    a.suffix = "S01";
    a.tax_id = "123456789";
    a.lines = {"JOHN Q MEMBER", "12 ELM STREET", "SPRINGFIELD IL", "", ""};
    a.zip = "62701";
    MemberFields b;
    b.number = "00000000000067890";
    b.suffix = "S0N";  // column 25 "N": cash balance code "C"
    b.tax_id = "987654321";
    b.lines = {"MARY ROE", "APT 4", "9 OAK AVENUE", "DECATUR IL", "ATTN TRUSTEE"};
    b.zip = "62521";
    MemberFields c;
    c.number = "00000000000011111";
    c.suffix = "S02";
    c.tax_id = "555443333";
    c.lines = {"PAT DOE", "", "", "", ""};
    return {a, b, c};
}

// R1 to R8 of a new member account, written out from the account file's
// layout field by field.
std::array<Record, 8> ExpectedAccount(const std::array<std::string, 5>& lines, const std::string& manager,
                                      const std::string& tax_id, const std::string& custodian,
                                      const std::string& cash_code, const std::string& block) {
    std::array<Record, 8> r;
    for (Record& rec : r) rec = Record(128, ' ');
    for (int i = 0; i < 4; ++i) r[0].SetText(32 * i, 32, lines[i]);
    r[1].SetText(16, 4, manager);
    r[1].SetText(52, 32, lines[0]);
    r[1].SetText(84, 12, tax_id);
    r[1].SetText(120, 8, "06/30/03");
    r[2].SetText(0, 32, lines[4]);
    r[2].SetText(32, 32, custodian);
    r[2].SetI16(80, 12);
    r[2].SetText(94, 4, cash_code);
    r[2].data()[126] = 0;
    r[2].data()[127] = 0;
    for (int b = 0; b < 36; ++b) r[3].data()[b] = 0;
    r[3].data()[36] = '0';
    for (int b = 37; b < 41; ++b) r[3].data()[b] = 0;
    r[3].SetI16(41, 3);
    r[3].SetI16(43, 2);
    r[3].SetI16(45, 1);
    for (int b = 91; b < 103; ++b) r[3].data()[b] = 0;
    for (int b = 111; b < 115; ++b) r[3].data()[b] = 0;
    for (int b = 116; b < 128; ++b) r[3].data()[b] = 0;
    r[4].SetText(0, 120, block.substr(0, 120));
    r[5].SetText(0, 120, block.substr(120, 120));
    return r;
}

class MemberImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteProgramDate("06/30/03");
        fixtures::WriteFirmHeading("CREDIT UNION ADVISERS");
    }

    // Member mode from the identifier, with the manager code flag and
    // column given; returns the starting identifier afterwards.
    int16_t Import(const std::vector<std::string>& lines, int16_t start, const char* flag = "N   ",
                   int16_t column = 1) {
        fixtures::WriteMemberFile("MEMBERS.DAT", lines);
        entry::Mdwnacct(0, records::Fixed("MEMBERS.DAT", 48), "    ", "        ", flag, column, start,
                        "MEMBERS.TXT ");
        return start;
    }

    TempDataDir dir_;
};

TEST_F(MemberImportTest, ThreeMembersBecomeAccounts41To43) {
    std::vector<std::string> lines;
    for (const MemberFields& m : ThreeMembers()) lines.push_back(fixtures::MemberLine(m));
    // A record of another type is passed over without a line.
    MemberFields other = ThreeMembers()[0];
    other.type = "2";
    lines.insert(lines.begin() + 1, fixtures::MemberLine(other));

    EXPECT_EQ(Import(lines, 41, "Y   ", 2), 44);

    // The index: three keys, counted in record 1.
    EXPECT_EQ(ReadRecord("ACCOUNT.IDX", 1).I16(0), 3);
    const Record keys = ReadRecord("ACCOUNT.IDX", 2);
    EXPECT_EQ(keys.Text(0, 24), "000041  000042  000043  ");

    // Each member's block as the import sees it: the postal code two
    // blanks after the last address text.
    std::string block_a(240, ' '), block_b(240, ' '), block_c(240, ' ');
    block_a.replace(0, 13, "JOHN Q MEMBER");
    block_a.replace(30, 13, "12 ELM STREET");
    block_a.replace(60, 21, "SPRINGFIELD IL  62701");
    block_b.replace(0, 8, "MARY ROE");
    block_b.replace(30, 5, "APT 4");
    block_b.replace(60, 12, "9 OAK AVENUE");
    block_b.replace(90, 10, "DECATUR IL");
    block_b.replace(120, 19, "ATTN TRUSTEE  62521");
    block_c.replace(0, 7, "PAT DOE");
    const std::array<std::array<Record, 8>, 3> expected = {
        ExpectedAccount({"JOHN Q MEMBER", "12 ELM STREET", "SPRINGFIELD IL  62701", "", ""}, " S  ",
                        "123456789", "00000000000012345S01", "S", block_a),
        ExpectedAccount({"MARY ROE", "APT 4", "9 OAK AVENUE", "DECATUR IL", "ATTN TRUSTEE  62521"}, " C  ",
                        "987654321", "00000000000067890S0N", "C", block_b),
        ExpectedAccount({"PAT DOE", "", "", "", ""}, " S  ", "555443333", "00000000000011111S02", "S",
                        block_c),
    };
    for (int k = 1; k <= 3; ++k)
        for (int r = 0; r < 8; ++r) {
            SCOPED_TRACE("account " + std::to_string(k) + " R" + std::to_string(r + 1));
            EXPECT_EQ(ReadRecord("ACCOUNT.REC", 8L * k - 7 + r).bytes(),
                      expected[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(r)].bytes());
        }

    // Each history file: the year of the program date, all zero.
    for (const char* id : {"000041", "000042", "000043"}) {
        SCOPED_TRACE(id);
        const std::string file = std::string("HL") + id + ".DAT";
        Record header(128, 0);
        header.SetText(0, 8, std::string(id) + "  ");
        header.SetI16(8, 6);
        header.SetI16(10, 103);
        header.SetI16(12, 12);
        header.SetI16(14, 103);
        header.SetI16(16, 1);
        EXPECT_EQ(ReadRecord(file, 1).bytes(), header.bytes());
        Record year(128, 0);
        year.SetI16(0, 103);
        for (long r = 2; r <= 5; ++r) EXPECT_EQ(ReadRecord(file, r).bytes(), year.bytes());
        records::DirectFile f(file, 128, false);
        EXPECT_EQ(f.Count(), 5);
    }

    EXPECT_EQ(ReadRecord("COMMON.FIL", 29).Text(0, 8), "000043  ");
    int16_t next = 0, error = 9;
    std::string message;
    entry::Nxtacid(next, error, message);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(next, 44);

    fixtures::CompareWithGolden("entry/member_import_accounts.txt", fixtures::ReportText("MEMBERS.TXT"));
}

// Members not set up: marked "NO MATCH" or "NO ACTIV", already carried by
// an account, or met twice in one file; an identifier in use is passed
// over. None of them uses an identifier.
TEST_F(MemberImportTest, MembersPassedOverAndIdentifiersInUse) {
    fixtures::ClientFields existing;
    existing.id = "000042  ";
    existing.address[0] = "OLD MEMBER";
    existing.custodian_account = "00000000000099999S01";
    fixtures::WriteClients({existing});

    MemberFields no_match = ThreeMembers()[0];
    no_match.lines[0] = "J MEMBER NO MATCH";
    MemberFields inactive = ThreeMembers()[0];
    inactive.lines[0] = "NO ACTIVITY";
    MemberFields known = ThreeMembers()[2];
    known.number = "00000000000099999";
    known.suffix = "S01";
    const std::vector<MemberFields> members = {no_match, ThreeMembers()[0], inactive,
                                               known,    ThreeMembers()[0], ThreeMembers()[1]};
    std::vector<std::string> lines;
    for (const MemberFields& m : members) lines.push_back(fixtures::MemberLine(m));

    EXPECT_EQ(Import(lines, 41), 44);
    EXPECT_EQ(ReadRecord("ACCOUNT.IDX", 1).I16(0), 3);
    EXPECT_EQ(ReadRecord("ACCOUNT.IDX", 2).Text(0, 24), "000042  000041  000043  ");
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 9).Text(0, 32), records::Fixed("JOHN Q MEMBER", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 17).Text(0, 32), records::Fixed("MARY ROE", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 1).Text(0, 32), records::Fixed("OLD MEMBER", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 18).Text(16, 4), "    ");  // flag "N": no manager code
    EXPECT_FALSE(TempDataDir::Exists("HL000042.DAT"));
    EXPECT_EQ(ReadRecord("COMMON.FIL", 29).Text(0, 8), "000043  ");
    fixtures::CompareWithGolden("entry/member_import_passed_over.txt", fixtures::ReportText("MEMBERS.TXT"));
}

// The postal code follows the last address text after two blanks, also
// when that text ends in column 300 (line 4 of the 30-column lines, note
// line 2 of the 60-column ones); short lines are blank padded.
TEST_F(MemberImportTest, PostalCodeAfterColumn300AndShortLines) {
    MemberFields m = ThreeMembers()[0];
    m.lines[3] = std::string(17, ' ') + "CITY ST";  // columns 294-300
    m.zip = "12345";
    const std::string line = fixtures::MemberLine(m);
    ASSERT_EQ(line[299], 'T');
    EXPECT_EQ(Import({line}, 1), 2);
    // Columns 303-307: "1234" ends line 4 (277-306), "5" begins line 5.
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 1).Text(96, 32),
              records::Fixed(std::string(17, ' ') + "CITY ST  1234", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 3).Text(0, 32), records::Fixed("5", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 5).Text(60, 60),
              records::Fixed("SPRINGFIELD IL", 47) + "CITY ST  1234");
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 6).Text(0, 60), records::Fixed("5", 60));

    // A line cut short after the name is padded with blanks: no tax id, no
    // deposits, and the name alone.
    TempDataDir other;
    fixtures::WriteProgramDate("06/30/03");
    std::string short_line = fixtures::MemberLine(ThreeMembers()[2]).substr(0, 191);
    while (!short_line.empty() && short_line.back() == ' ') short_line.pop_back();
    EXPECT_EQ(Import({short_line}, 7), 8);
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 1).Text(0, 32), records::Fixed("PAT D", 32));
    EXPECT_EQ(ReadRecord("ACCOUNT.REC", 2).Text(84, 12), records::Fixed("555443333", 12));
}

// A file longer than one run reads says so, and no account is set up
// once the index counts 32,767 keys.
TEST_F(MemberImportTest, StopsWithALineWhenLimitsAreReached) {
    std::vector<std::string> lines(entry::kMaxMemberLines, std::string("2"));
    lines.push_back(fixtures::MemberLine(ThreeMembers()[0]));
    EXPECT_EQ(Import(lines, 5), 5);
    std::string report = fixtures::ReportText("MEMBERS.TXT");
    EXPECT_NE(report.find("*** Import stopped: file not read to its end."), std::string::npos);
    EXPECT_FALSE(TempDataDir::Exists("HL000005.DAT"));

    // Exactly the most lines: read to the end, no line.
    lines.pop_back();
    Import(lines, 5);
    report = fixtures::ReportText("MEMBERS.TXT");
    EXPECT_EQ(report.find("*** Import stopped"), std::string::npos);

    {
        records::DirectFile index("ACCOUNT.IDX", 128);
        Record first(128, 0);
        first.SetI16(0, entry::kMaxAccountKeys);
        index.Write(1, first);
    }
    EXPECT_EQ(Import({fixtures::MemberLine(ThreeMembers()[0])}, 5), 5);
    report = fixtures::ReportText("MEMBERS.TXT");
    EXPECT_NE(report.find("*** Import stopped: file not read to its end."), std::string::npos);
    EXPECT_EQ(ReadRecord("ACCOUNT.IDX", 1).I16(0), entry::kMaxAccountKeys);
    EXPECT_FALSE(TempDataDir::Exists("HL000005.DAT"));
}

// Nxtacid on the stored identifier of record 29.
TEST(NxtacidTest, ProposesTheNextIdentifier) {
    struct Case {
        const char* name;
        std::string stored;  // empty: record 29 never written
        int16_t error;
        int16_t number;
        const char* message;
    };
    const Case cases[] = {
        {"never written", "", 0, 1, ""},
        {"zero bytes", std::string(8, '\0'), 0, 1, ""},
        {"blank", "        ", 0, 1, ""},
        {"000043", "000043  ", 0, 44, ""},
        {"9999", "  9999  ", 0, 10000, ""},
        {"010000", "010000  ", 1, 0, "Starting account identifier is too large."},
        {"not a number", "ABCDEF  ", 1, 0, "Starting account identifier is too large."},
        {"negative", "  -5    ", 1, 0, "invalid starting account identifier."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataDir dir;
        fixtures::WriteProgramDate("06/30/03");
        if (!c.stored.empty()) {
            records::DirectFile common("COMMON.FIL", 128);
            Record rec(128, 0);
            rec.SetText(0, 8, c.stored);
            common.Write(29, rec);
        }
        int16_t number = 0, error = 7;
        std::string message;
        entry::Nxtacid(number, error, message);
        EXPECT_EQ(error, c.error);
        if (c.error == 0) {
            EXPECT_EQ(number, c.number);
        }
        EXPECT_EQ(message, records::Fixed(c.message, 80));
    }
}

TEST(YmddatTest, DepositDates) {
    EXPECT_EQ(entry::Ymddat("030615"), "06/15/03");
    EXPECT_EQ(entry::Ymddat("991231"), "12/31/99");
    EXPECT_EQ(entry::Ymddat("      "), "  /  /  ");
}

}  // namespace
