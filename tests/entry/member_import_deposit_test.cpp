// The member account import in deposit mode: each member's deposits as
// lines of OFFLINET.DAT on the member's account, with cash lines when
// option 59 asks for them, transfers on the transfer date, and the
// custodian account numbers that the look-up completes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/update.h"
#include "entry/member_import.h"
#include "member_file.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "records/transaction_lines.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::MemberDeposit;
using fixtures::MemberFields;
using fixtures::TempDataDir;
using records::OfflineTranRecord;
using records::Record;

MemberFields Member(const std::string& number, const std::string& suffix, const std::string& name) {
    MemberFields m;
    m.number = number;
    m.suffix = suffix;
    m.lines = {name, "1 MAIN STREET", "", "", ""};
    return m;
}

// The member's block as the import stores it in the note lines.
std::array<std::string, 4> Notes(const MemberFields& m) {
    std::string block = fixtures::MemberLine(m).substr(186, 240);
    return {block.substr(0, 60), block.substr(60, 60), block.substr(120, 60), block.substr(180, 60)};
}

fixtures::ClientFields Client(const std::string& id, const std::string& custodian, const MemberFields& m) {
    fixtures::ClientFields c;
    c.id = id;
    c.address[0] = m.lines[0];
    c.custodian_account = custodian;
    const auto notes = Notes(m);
    for (int i = 0; i < 4; ++i) c.notes[static_cast<std::size_t>(i)] = notes[static_cast<std::size_t>(i)];
    return c;
}

int16_t Counter() {
    records::DirectFile f("OFFLINET.DAT", 512, /*create=*/false);
    Record rec;
    return f.Read(1, rec) ? rec.I16(0) : -1;
}

OfflineTranRecord Line(long n) {
    records::DirectFile f("OFFLINET.DAT", 512, /*create=*/false);
    Record rec;
    EXPECT_TRUE(f.Read(n, rec)) << "OFFLINET.DAT record " << n;
    return OfflineTranRecord::Decode(rec);
}

class DepositImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteProgramDate("06/30/03");
        fixtures::WriteFirmHeading("CREDIT UNION ADVISERS");
        fixtures::SecurityEntry cash;
        cash.symbol = "MMKT";
        cash.type = "L";
        fixtures::SecurityEntry ibm;
        ibm.symbol = "IBM";
        ibm.cusip = "459200101";
        ibm.type = "1";
        ibm.category = "12";
        fixtures::WriteSecurityFiles({cash, ibm});
    }

    void SetOption59(bool on) {
        records::Options options = records::Rdopts();
        records::SetOption(options, records::Opt::kCashLinesForTrades, on ? 1 : 0);
        records::Wropts(options);
    }

    void Import(const std::vector<MemberFields>& members, const char* code = "B   ",
                const char* transfer = "        ") {
        std::vector<std::string> lines;
        for (const MemberFields& m : members) lines.push_back(fixtures::MemberLine(m));
        fixtures::WriteMemberFile("DEPOSITS.DAT", lines);
        int16_t start = 0;
        entry::Mdwnacct(1, records::Fixed("DEPOSITS.DAT", 48), code, transfer, "N   ", 0, start,
                        "DEPOSITS.TXT");
    }

    TempDataDir dir_;
};

TEST_F(DepositImportTest, DepositsBecomeLinesOfTheMembersAccounts) {
    MemberFields ann = Member("00000000000012345", "S01", "ANN MEMBER");
    ann.deposits[0] = {"030615", "000100000", "0001250", "0001000"};
    ann.deposits[2] = {"030620", "000002500", "0000100", "0000200"};  // 2.5 at 2.00
    MemberFields bob = Member("00000000000067890", "S01", "BOB MEMBER");
    bob.deposits[1] = {"030616", "000050000", "0000500", "0000500"};
    bob.deposits[3] = {"030617", "000000000", "0001000", "0001000"};  // amount 0: left out
    MemberFields stranger = Member("00000000000099999", "S01", "NOT A CLIENT");
    stranger.deposits[0] = {"030618", "000001000", "0000100", "0000100"};
    MemberFields bad = Member("00000000000012345", "S01", "ANN MEMBER");
    bad.deposits[0] = {"030619", "0001X0000", "0000100", "0000100"};
    bad.deposits[1] = {"030619", "000001000", "00001.0", "0000100"};  // a point in F7.2 reads
    // BOB's stored address differs after its first line: match code 4.
    MemberFields bob_stored = bob;
    bob_stored.lines[1] = "2 MAIN STREET";
    fixtures::WriteClients({Client("ANN     ", "00000000000012345S01", ann),
                            Client("BOB     ", "00000000000067890S01", bob_stored)});

    Import({ann, bob, stranger, bad});

    EXPECT_EQ(Counter(), 6);
    records::DirectFile securities("SECURITY.REC", 128, false);
    Record ibm;
    ASSERT_TRUE(securities.Read(2, ibm));
    const double key = engine::Trnkey(engine::CurrentSecurity::FromRecord(ibm, 2));
    EXPECT_NE(key, 0.0);

    const OfflineTranRecord first = Line(2);
    EXPECT_EQ(first.account, "ANN     ");
    EXPECT_EQ(first.symbol, records::Fixed("IBM", 12));
    EXPECT_EQ(first.tax_lot, "    ");
    EXPECT_EQ(first.trade_date, " 6/15/03");
    EXPECT_EQ(first.code, "B   ");
    EXPECT_DOUBLE_EQ(first.shares, 100.0);
    EXPECT_FLOAT_EQ(first.price, 10.0f);
    EXPECT_DOUBLE_EQ(first.amount, 1000.0);
    EXPECT_EQ(first.broker, std::string(8, ' '));
    EXPECT_DOUBLE_EQ(first.commission, 0.0);
    EXPECT_DOUBLE_EQ(first.bond_interest, 0.0);
    EXPECT_EQ(first.second_date, "06/15/03");
    EXPECT_DOUBLE_EQ(first.second_amount, 1250.0);
    EXPECT_FLOAT_EQ(first.date_number, 1030615.0f);
    EXPECT_DOUBLE_EQ(first.sort_key, key);
    EXPECT_EQ(first.security_entry, 2);
    EXPECT_EQ(first.match_code, 1);
    EXPECT_EQ(first.entry_kind, "A   ");
    EXPECT_EQ(first.reserved, std::string(20, ' '));
    EXPECT_EQ(first.member, "00000000000012345S01");
    EXPECT_EQ(first.address, fixtures::MemberLine(ann).substr(186, 240));

    const OfflineTranRecord third = Line(3);
    EXPECT_EQ(third.trade_date, " 6/20/03");
    EXPECT_DOUBLE_EQ(third.shares, 2.5);
    EXPECT_DOUBLE_EQ(third.amount, 5.0);
    EXPECT_EQ(Line(4).account, "BOB     ");
    EXPECT_EQ(Line(4).match_code, 4);
    // A member without an account: its line, with a blank account.
    EXPECT_EQ(Line(5).account, std::string(8, ' '));
    EXPECT_EQ(Line(5).match_code, 3);
    // The bad member's second group reads ("00001.0" is 1.0).
    EXPECT_DOUBLE_EQ(Line(6).second_amount, 1.0);

    fixtures::CompareWithGolden("entry/member_import_deposits.txt", fixtures::ReportText("DEPOSITS.TXT"));
}

// Option 59 with buys: a cash line "FI" after every security line. With
// transfers ("SI"): no cash line, the transfer date in the transaction
// date, the group's own date as the second date.
TEST_F(DepositImportTest, CashLinesAndTransfers) {
    MemberFields ann = Member("00000000000012345", "S01", "ANN MEMBER");
    ann.deposits[0] = {"030615", "000100000", "0001250", "0001000"};
    ann.deposits[1] = {"030616", "000001000", "0000100", "0000100"};
    fixtures::WriteClients({Client("ANN     ", "00000000000012345S01", ann)});
    SetOption59(true);

    Import({ann}, "B   ");
    EXPECT_EQ(Counter(), 5);
    const OfflineTranRecord cash = Line(3);
    EXPECT_EQ(cash.account, "ANN     ");
    EXPECT_EQ(cash.symbol, records::Fixed("CASH", 12));
    EXPECT_EQ(cash.code, "FI  ");
    EXPECT_DOUBLE_EQ(cash.shares, -99999.99);
    EXPECT_FLOAT_EQ(cash.price, -999.99f);
    EXPECT_DOUBLE_EQ(cash.amount, 1000.0);
    EXPECT_DOUBLE_EQ(cash.second_amount, -99999.99);
    EXPECT_DOUBLE_EQ(cash.sort_key, 0.0);
    EXPECT_EQ(cash.security_entry, 0);
    EXPECT_EQ(cash.trade_date, " 6/15/03");
    EXPECT_EQ(cash.second_date, "06/15/03");
    EXPECT_EQ(cash.member, "00000000000012345S01");
    EXPECT_EQ(Line(5).code, "FI  ");
    EXPECT_EQ(Line(4).symbol, records::Fixed("IBM", 12));

    // Transfers append after the lines already there.
    Import({ann}, "SI  ", "07/01/03");
    EXPECT_EQ(Counter(), 7);
    EXPECT_EQ(Line(6).code, "SI  ");
    EXPECT_EQ(Line(6).trade_date, " 7/ 1/03");
    EXPECT_EQ(Line(6).second_date, "06/15/03");
    EXPECT_EQ(Line(7).trade_date, " 7/ 1/03");
    EXPECT_EQ(Line(7).second_date, "06/16/03");

    // A transfer date with a blank second half (characters 5-8) keeps
    // that half of each group's date.
    Import({ann}, "SI  ", "09/1    ");
    EXPECT_EQ(Line(8).trade_date, " 9/15/03");
    EXPECT_EQ(Line(9).trade_date, " 9/16/03");

    // A member whose four amounts are all 0 only rewrites the counter.
    MemberFields idle = Member("00000000000012345", "S01", "ANN MEMBER");
    Import({idle}, "B   ");
    EXPECT_EQ(Counter(), 9);
}

// A stored custodian account number of 17 characters (no suffix) matches
// a member with any suffix and is completed with it; one with another
// suffix does not match; a deleted account is passed over.
TEST_F(DepositImportTest, CustodianNumbersMatchedAndCompleted) {
    MemberFields ann = Member("00000000000012345", "S07", "ANN MEMBER");
    ann.deposits[0] = {"030615", "000001000", "0000100", "0000100"};
    MemberFields cy = Member("00000000000055555", "S01", "CY MEMBER");
    cy.deposits[0] = {"030615", "000001000", "0000100", "0000100"};
    fixtures::WriteClients({Client("$$$$$$  ", "00000000000012345", ann),
                            Client("OTHER   ", "00000000000055555S02", cy),
                            Client("ANN     ", "00000000000012345", ann)});

    Import({ann, cy});
    EXPECT_EQ(Line(2).account, "ANN     ");
    EXPECT_EQ(Line(3).account, std::string(8, ' '));
    records::DirectFile accounts("ACCOUNT.REC", 128, false);
    Record r3;
    ASSERT_TRUE(accounts.Read(19, r3));
    EXPECT_EQ(r3.Text(32, 32), records::Fixed("00000000000012345S07", 32));
    ASSERT_TRUE(accounts.Read(11, r3));
    EXPECT_EQ(r3.Text(32, 32), records::Fixed("00000000000055555S02", 32));

    // Completed, the number now matches that suffix alone.
    MemberFields other_suffix = ann;
    other_suffix.suffix = "S08";
    Import({ann, other_suffix});
    EXPECT_EQ(Line(4).account, "ANN     ");
    EXPECT_EQ(Line(5).account, std::string(8, ' '));
}

// A counter record that holds no record number of its own (zero or
// below) counts as an empty file: the lines start at record 2 and none is
// written over by the counter or lost before the file's start.
TEST_F(DepositImportTest, CounterBelowOneCountsAsEmpty) {
    MemberFields ann = Member("00000000000012345", "S01", "ANN MEMBER");
    ann.deposits[0] = {"030615", "000100000", "0001250", "0001000"};
    ann.deposits[1] = {"030616", "000002000", "0001250", "0001000"};
    fixtures::WriteClients({Client("ANN     ", "00000000000012345S01", ann)});
    for (const int16_t stored : {int16_t{0}, int16_t{-3}}) {
        SCOPED_TRACE(stored);
        {
            records::DirectFile f("OFFLINET.DAT", 512);
            Record first(512, 0);
            first.SetI16(0, stored);
            f.Write(1, first);
        }
        Import({ann});
        EXPECT_EQ(Counter(), 3);
        EXPECT_DOUBLE_EQ(Line(2).shares, 100.0);
        EXPECT_DOUBLE_EQ(Line(3).shares, 2.0);
        std::filesystem::remove(records::ResolveName("OFFLINET.DAT"));
    }
}

// Without "IBM" in SECURITY.IDX the lines carry no sort key and no
// security entry, and the report says why; a deposit whose numbers do
// not read is left out with a line.
TEST_F(DepositImportTest, UnknownSecurityAndUnreadableDeposits) {
    fixtures::SecurityEntry only;
    only.symbol = "MMKT";
    only.type = "L";
    fixtures::WriteSecurityFiles({only});
    MemberFields ann = Member("00000000000012345", "S01", "ANN MEMBER");
    ann.deposits[0] = {"030615", "000001000", "0000100", "0000100"};
    ann.deposits[1] = {"030616", "00000A000", "0000100", "0000100"};
    ann.deposits[2] = {"030617", "000001000", "00001X0", "0000100"};
    fixtures::WriteClients({Client("ANN     ", "00000000000012345S01", ann)});

    Import({ann});
    EXPECT_EQ(Counter(), 2);
    EXPECT_DOUBLE_EQ(Line(2).sort_key, 0.0);
    EXPECT_EQ(Line(2).security_entry, 0);
    fixtures::CompareWithGolden("entry/member_import_unknown_security.txt",
                                fixtures::ReportText("DEPOSITS.TXT"));
}

}  // namespace
