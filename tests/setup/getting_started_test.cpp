// Getting started: tests/app/scripts/getting_started.script run on an empty
// data directory leaves account, broker, custodian and value history files
// equal byte for byte to files built here by hand from the record layouts,
// and the manager code typed on page 2 in the manager code table.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/record.h"
#include "shell/manager_codes.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

Record Blank() {
    return Record(128, ' ');
}

std::vector<unsigned char> Join(const std::vector<Record>& recs) {
    std::vector<unsigned char> out;
    for (const Record& r : recs) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
    return out;
}

// The eight account records with the fields the script typed; everything
// else blank, but for the numbers and the zero bytes of R4 16-35 and
// 111-114 that a new account starts with.
struct Typed {
    std::string name, address1, address2, manager, salutation, short_name, tax_id, home_phone, opened;
    std::string custodian1, custodian_id, broker_id, cash;
    int16_t month = 12;
    float price1 = 0, price2 = 0;
    double value = 0;
    int16_t letter = 2, option = 1;
    std::string objective, note1, symbol1, symbol2;
    std::string headers1[3];
};

std::vector<Record> AccountRecords(const Typed& t) {
    std::vector<Record> r(8, Blank());
    r[0].SetText(0, 32, t.name);
    r[0].SetText(32, 32, t.address1);
    r[0].SetText(64, 32, t.address2);
    r[1].SetText(16, 4, t.manager);
    r[1].SetText(20, 32, t.salutation);
    r[1].SetText(52, 32, t.short_name);
    r[1].SetText(84, 12, t.tax_id);
    r[1].SetText(96, 12, t.home_phone);
    r[1].SetText(120, 8, t.opened);
    r[2].SetText(32, 16, t.custodian1);
    r[2].SetText(64, 6, t.custodian_id);
    r[2].SetText(72, 6, t.broker_id);
    r[2].SetI16(80, t.month);
    r[2].SetText(94, 1, t.cash);
    r[3].SetR4(0, t.price1);
    r[3].SetR4(4, t.price2);
    r[3].SetR8(8, t.value);
    for (std::size_t b = 16; b <= 35; ++b) r[3].data()[b] = 0;
    r[3].SetText(36, 1, "0");
    r[3].SetR4(37, 0.0f);
    r[3].SetI16(41, 3);
    r[3].SetI16(43, t.letter);
    r[3].SetI16(45, t.option);
    r[3].SetText(87, 4, t.objective);
    for (std::size_t b = 111; b <= 114; ++b) r[3].data()[b] = 0;
    r[4].SetText(0, 60, t.note1);
    r[7].SetText(0, 9, t.symbol1);
    for (int h = 0; h < 3; ++h) r[7].SetText(12 + 8 * h, 6, t.headers1[h]);
    r[7].SetText(36, 9, t.symbol2);
    return r;
}

Record Keys(const std::vector<std::string>& keys) {
    Record r = Blank();
    for (std::size_t i = 0; i < keys.size(); ++i) r.SetText(8 * i, 8, keys[i]);
    return r;
}

// A broker or custodian entry: three records, each part followed by zeros.
struct Firm {
    std::string address1, address2, attention, short_name, phone, firm_short, firm_long;
};
std::vector<Record> FirmRecords(const Firm& f) {
    Record r1(128, 0), r2(128, 0), r3(128, 0);
    r1.SetText(0, 128, "");
    r1.SetText(0, 32, f.address1);
    r1.SetText(32, 32, f.address2);
    r2.SetText(0, 100, "");
    r2.SetText(32, 32, f.attention);
    r2.SetText(64, 12, f.short_name);
    r2.SetText(76, 12, f.phone);
    r2.SetText(88, 8, f.firm_short);
    r3.SetText(0, 60, f.firm_long);
    return {r1, r2, r3};
}

// A value history spanning 1998: the header (account, start month, start
// year 98, end month 12, last year 98, one year) and the four empty
// records of 1998.
std::vector<unsigned char> History(const std::string& account, int16_t start_month) {
    Record head(128, 0);
    head.SetText(0, 8, account);
    head.SetI16(8, start_month);
    head.SetI16(10, 98);
    head.SetI16(12, 12);
    head.SetI16(14, 98);
    head.SetI16(16, 1);
    Record year(128, 0);
    year.SetI16(0, 98);
    return Join({head, year, year, year, year});
}

std::vector<unsigned char> Read(const std::string& name) {
    return TempDataDir::ReadBytes(records::ResolveName(name));
}

TEST(GettingStarted, ScriptLeavesTheFilesOfTheLayouts) {
    TempDataDir dir;
    {
        tools::ProgramRun run(dir.path(), {tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.RunScriptFile(std::string(LEDRA_TESTS_DIR) + "/app/scripts/getting_started.script"));
        run.Close();
        for (const std::string& f : run.Failures()) ADD_FAILURE() << f;
    }

    Typed smith;
    smith.name = "JOHN AND MARY SMITH";
    smith.address1 = "12 ELM STREET";
    smith.address2 = "SPRINGFIELD IL 62701";
    smith.manager = "JD";
    smith.salutation = "Mr. and Mrs. Smith";
    smith.short_name = "SMITH JOHN";
    smith.tax_id = "123-45-6789";
    smith.home_phone = "217-555-0101";
    smith.opened = "01/02/98";
    smith.custodian1 = "BNY-44512";
    smith.custodian_id = "BNY";
    smith.broker_id = "MERRIL";
    smith.cash = "S";
    smith.month = 6;
    smith.price1 = 970.43f;
    smith.price2 = 7908.25f;
    smith.value = 125000.50;
    smith.letter = 1;
    smith.option = 2;
    smith.objective = "GROW";
    smith.note1 = "Quarterly review in person.";
    smith.symbol1 = "SPX";
    smith.headers1[0] = "S&P";
    smith.headers1[1] = "500";
    smith.headers1[2] = "INDEX";
    Typed adams;
    adams.name = "ADAMS FAMILY TRUST";
    adams.opened = "12/08/98";

    // The sort wrote the header (count, the flag word, 1, 1) and put ADAMS
    // first; the copy then added SMITH2 at the end with SMITH1's records.
    Record head(128, 0);
    head.SetI16(0, 3);
    head.SetI16(2, 1);
    head.SetI16(4, 1);
    head.SetI16(6, 1);
    EXPECT_EQ(Read("ACCOUNT.IDX"), Join({head, Keys({"ADAMS", "SMITH1", "SMITH2"})}));
    std::vector<Record> accounts = AccountRecords(adams);
    for (int copy = 0; copy < 2; ++copy)
        for (const Record& r : AccountRecords(smith)) accounts.push_back(r);
    EXPECT_EQ(Read("ACCOUNT.REC"), Join(accounts));

    Record brokers_head(128, 0);
    brokers_head.SetI16(0, 2);
    EXPECT_EQ(Read("BROKER.IDX"), Join({brokers_head, Keys({"MERRIL", "SMITHB"})}));
    std::vector<Record> brokers =
        FirmRecords({"250 VESEY STREET", "NEW YORK NY 10281", "TRADING DESK", "MERRILL", "212-449-1000",
                     "MLPFS", "MERRILL LYNCH PIERCE FENNER AND SMITH INCORPORATED"});
    for (const Record& r : FirmRecords(
             {"388 GREENWICH STREET", "", "", "SMITH BARNEY", "212-816-6000", "SBI", "SMITH BARNEY INC."}))
        brokers.push_back(r);
    EXPECT_EQ(Read("BROKER.REC"), Join(brokers));

    Record custodians_head(128, 0);
    custodians_head.SetI16(0, 1);
    EXPECT_EQ(Read("CUSTDN.IDX"), Join({custodians_head, Keys({"BNY"})}));
    EXPECT_EQ(Read("CUSTDN.REC"), Join(FirmRecords({"ONE WALL STREET", "", "CUSTODY", "BANK OF NY",
                                                    "212-495-1784", "BNY", "THE BANK OF NEW YORK"})));

    EXPECT_EQ(Read("HLSMITH1.DAT"), History("SMITH1", 1));
    EXPECT_EQ(Read("HLADAMS.DAT"), History("ADAMS", 12));
    EXPECT_EQ(Read("HLSMITH2.DAT"), History("SMITH2", 1));
    EXPECT_FALSE(TempDataDir::Exists(records::ResolveName("HLJONES.DAT")));

    const std::vector<std::string> codes = shell::ListedManagerCodes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), "JD"), codes.end());
}

}  // namespace
