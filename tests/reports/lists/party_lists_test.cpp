// The broker list, BRSORT.DAT and the custodian list.

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "reports/lists/broker_list.h"
#include "reports/lists/custodian_list.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/lists/list_fixture.h"

namespace {

using fixtures::TempDataDir;

class PartyLists : public ::testing::Test {
protected:
    void SetUp() override {
        listfix::WriteFirm();
        fixtures::WriteBrokers(listfix::Brokers());
        fixtures::WriteCustodians(listfix::Custodians());
    }
    void ExpectWholeLines(const std::string& file) {
        for (const std::string& line : fixtures::ReportFileLines(file)) EXPECT_EQ(line.size(), 132u);
    }
    TempDataDir dir_;
};

TEST_F(PartyLists, BrokerListOfAllBrokersMatchesGolden) {
    reports::Brkrlist("A   ", "        ", "BROKERS.TXT ");
    ExpectWholeLines("BROKERS.TXT");
    fixtures::CompareWithGolden("reports/lists/broker_list_all.txt", fixtures::ReportText("BROKERS.TXT"));
}

TEST_F(PartyLists, BrokerListOfOneBrokerMatchesGolden) {
    reports::Brkrlist("S   ", "SCHWAB  ", "XXX.TXT     ");
    fixtures::CompareWithGolden("reports/lists/broker_list_one.txt", fixtures::ReportText("XXX.TXT"));
}

TEST_F(PartyLists, BrokerNotInTheIndexGivesTheHeadingOnly) {
    for (const char* id : {"NOBODY  ", "$$$$$$  "}) {
        reports::Brkrlist("S   ", id, "ONE.TXT");
        const std::vector<std::string> lines = fixtures::ReportFileLines("ONE.TXT");
        ASSERT_EQ(lines.size(), 10u) << id;  // firm heading 4, broker heading 6
        EXPECT_EQ(records::TrimRight(lines[9]), "") << id;
    }
}

TEST_F(PartyLists, CustodianListOfAllCustodiansMatchesGolden) {
    reports::Csdnlist("A   ", "        ", "CUSTS.TXT   ");
    ExpectWholeLines("CUSTS.TXT");
    fixtures::CompareWithGolden("reports/lists/custodian_list_all.txt", fixtures::ReportText("CUSTS.TXT"));
}

TEST_F(PartyLists, CustodianListOfOneCustodianMatchesGolden) {
    reports::Csdnlist("S   ", "BNYM    ", "XXX.TXT     ");
    fixtures::CompareWithGolden("reports/lists/custodian_list_one.txt", fixtures::ReportText("XXX.TXT"));
}

TEST_F(PartyLists, CustodianSelectionsThatListNothingOrEverything) {
    // A selection other than "S   " lists every custodian.
    reports::Csdnlist("    ", "BNYM    ", "ALL.TXT");
    for (const char* id : {"STATEST", "BNYM", "NTRUST"})
        EXPECT_NE(fixtures::ReportText("ALL.TXT").find(std::string("     ") + id), std::string::npos) << id;
    reports::Csdnlist("A   ", "        ", "ALL2.TXT");
    EXPECT_EQ(fixtures::ReportText("ALL.TXT"), fixtures::ReportText("ALL2.TXT"));
    // "$$$$" and blank entries are passed over in the one-custodian list too.
    reports::Csdnlist("S   ", "$$$$$$  ", "NONE.TXT");
    EXPECT_EQ(fixtures::ReportFileLines("NONE.TXT").size(), 12u);  // the headings alone
}

TEST_F(PartyLists, UnreadableCustodianRecordEndsTheListWithALine) {
    // CUSTDN.REC cut after BNYM's first record (entry 3, records 7-9):
    // STATEST is listed, the deleted entry passed over, and the list ends
    // at BNYM's second record.
    records::DirectFile file("CUSTDN.REC", 128);
    ASSERT_TRUE(file.Truncate(7));
    reports::Csdnlist("A   ", "        ", "CUT.TXT");
    const std::string text = fixtures::ReportText("CUT.TXT");
    EXPECT_NE(text.find("STATEST "), std::string::npos);
    EXPECT_EQ(text.find("BNYM"), std::string::npos);
    EXPECT_NE(text.find(" CUSTDN.REC record 8 could not be read.\n"), std::string::npos);
}

TEST_F(PartyLists, EmptyDirectoryListsTheHeadingsOnly) {
    TempDataDir empty;
    reports::Brkrlist("A   ", "        ", "B.TXT");
    reports::Csdnlist("A   ", "        ", "C.TXT");
    EXPECT_EQ(fixtures::ReportFileLines("B.TXT").size(), 10u);
    EXPECT_EQ(fixtures::ReportFileLines("C.TXT").size(), 12u);
    EXPECT_FALSE(TempDataDir::Exists("BROKER.IDX"));
    EXPECT_FALSE(TempDataDir::Exists("CUSTDN.REC"));
    // BRSORT.DAT says: no brokers.
    const std::vector<unsigned char> sort = TempDataDir::ReadBytes("BRSORT.DAT");
    ASSERT_EQ(sort.size(), 128u);
    EXPECT_EQ(sort[0], 1);
    EXPECT_EQ(sort[1], 0);
}

// The BRSORT.DAT record of a broker: ID, the 60 bytes of its third record,
// zeros.
std::vector<unsigned char> SortRecord(const std::string& id, const std::string& long_name,
                                      const std::string& rest) {
    records::Record rec(128, 0);
    rec.SetText(0, 8, id);
    rec.SetText(8, 32, long_name);
    rec.SetText(40, 28, rest);
    return rec.bytes();
}

std::vector<unsigned char> SortHeader(int16_t last) {
    records::Record rec(128, 0);
    rec.SetI16(0, last);
    return rec.bytes();
}

TEST_F(PartyLists, BrokerSortFileIsRewrittenWholeAfterADelete) {
    const reports::BrokerTable table = reports::Brksrt();
    EXPECT_EQ(table.ids,
              (std::vector<std::string>{"AGED    ", "BEAR    ", "MERRIL  ", "PAINE   ", "SCHWAB  "}));
    EXPECT_EQ(table.first_records, (std::vector<long>{16, 7, 1, 19, 13}));

    // Delete MERRIL (its key becomes "$$$$$$"): the file shrinks to count + 1
    // records, and no record of the deleted broker is left behind it.
    std::vector<fixtures::PartyFields> brokers = listfix::Brokers();
    brokers[0].id = "$$$$$$";
    fixtures::WriteBrokers(brokers);
    reports::Brksrt();

    std::vector<unsigned char> expected = SortHeader(5);
    for (const auto& [id, name] :
         std::vector<std::pair<std::string, std::string>>{{"AGED", "A. G. EDWARDS"},
                                                          {"BEAR", "BEAR STEARNS"},
                                                          {"PAINE", "PAINEWEBBER"},
                                                          {"SCHWAB", "CHARLES SCHWAB & CO"}}) {
        const std::vector<unsigned char> rec = SortRecord(id, name + " LONG NAME", "REST OF " + id);
        expected.insert(expected.end(), rec.begin(), rec.end());
    }
    EXPECT_EQ(TempDataDir::ReadBytes("BRSORT.DAT"), expected);
    EXPECT_EQ(records::Bkrck2("BEAR"), 3);
    EXPECT_EQ(records::Bkrck2("MERRIL"), 0);
}

TEST_F(PartyLists, BrokerWithoutAThirdRecordGetsSixtyBlanks) {
    // PAINE is the last entry (records 19-21): cut its third record off.
    records::DirectFile file("BROKER.REC", 128);
    ASSERT_TRUE(file.Truncate(20));
    reports::Brksrt();
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("BRSORT.DAT");
    ASSERT_EQ(bytes.size(), 6u * 128u);
    // Ascending IDs: AGED, BEAR, MERRIL, PAINE, SCHWAB; PAINE is record 5.
    records::Record paine(128, 0);
    paine.SetText(0, 8, "PAINE");
    paine.SetText(8, 60, "");
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 4 * 128, bytes.begin() + 5 * 128), paine.bytes());
}

}  // namespace
