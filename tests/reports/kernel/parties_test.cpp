#include "reports/kernel/parties.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

std::vector<fixtures::PartyFields> Parties(const std::vector<std::string>& ids) {
    std::vector<fixtures::PartyFields> parties;
    for (const std::string& id : ids) {
        fixtures::PartyFields p;
        p.id = id;
        p.lines[0] = id + " NAME";
        parties.push_back(p);
    }
    return parties;
}

TEST(PartyLookUp, FirstRecordIsThreePMinusTwoForBrokersAndCustodians) {
    TempDataDir dir;
    std::vector<std::string> ids = {"B1", "$$$$$$", "B3", "", "B5"};
    for (int i = 6; i <= 18; ++i) ids.push_back("B" + std::to_string(i));
    fixtures::WriteBrokers(Parties(ids));
    fixtures::WriteCustodians(Parties({"C1", "C2", "C3"}));
    struct Case {
        reports::Party party;
        const char* id;
        long first;
    } cases[] = {
        {reports::Party::kBroker, "B1", 1},      {reports::Party::kBroker, "B3", 7},
        {reports::Party::kBroker, "B5", 13},     {reports::Party::kBroker, "B17", 49},  // second index record
        {reports::Party::kBroker, "B18", 52},    {reports::Party::kBroker, "B2", -1},
        {reports::Party::kBroker, "b1", -1},      // case matters
        {reports::Party::kBroker, "$$$$$$", -1},  // never looked up
        {reports::Party::kBroker, "    X", -1},   // first half blank: never looked up
        {reports::Party::kCustodian, "C1", 1},   {reports::Party::kCustodian, "C2", 4},
        {reports::Party::kCustodian, "C3", 7},   {reports::Party::kCustodian, "B1", -1},
    };
    for (const Case& c : cases) {
        const long first = c.party == reports::Party::kBroker ? reports::Fndbrk(c.id) : reports::Fndcus(c.id);
        EXPECT_EQ(first, c.first) << c.id;
    }
    // The entry read: the first record found is the entry's own.
    reports::PartyEntry entry;
    EXPECT_EQ(reports::ReadPartyEntry(reports::Party::kCustodian, reports::Fndcus("C2"), entry), 2);
    EXPECT_EQ(records::TrimRight(entry.lines[0]), "C2 NAME");
}

TEST(PartyLookUp, MissingFilesFindNothingAndCreateNothing) {
    TempDataDir dir;
    EXPECT_EQ(reports::Fndbrk("B1"), -1);
    EXPECT_EQ(reports::Fndcus("C1"), -1);
    reports::PartyEntry entry;
    EXPECT_EQ(reports::ReadPartyEntry(reports::Party::kBroker, 1, entry), 0);
    EXPECT_EQ(entry.lines[0], std::string(32, ' '));
    EXPECT_FALSE(TempDataDir::Exists("BROKER.IDX"));
    EXPECT_FALSE(TempDataDir::Exists("BROKER.REC"));
    EXPECT_FALSE(TempDataDir::Exists("CUSTDN.IDX"));
}

TEST(PartyLookUp, IndexCountBoundsTheSearch) {
    TempDataDir dir;
    fixtures::WriteBrokers(Parties({"B1", "B2", "B3"}));
    // Lower the count to 2: the third key stands in the file but is past it.
    records::DirectFile index("BROKER.IDX", 128);
    records::Record head(128, 0);
    head.SetI16(0, 2);
    index.Write(1, head);
    EXPECT_EQ(reports::Fndbrk("B2"), 4);
    EXPECT_EQ(reports::Fndbrk("B3"), -1);
}

TEST(PartyIds, UnusedIds) {
    struct Case {
        std::string id;
        bool unused;
    } cases[] = {{"$$$$$$  ", true},  {"        ", true}, {std::string(8, '\0'), true},
                 {"B1      ", false}, {"    B1  ", true},  // the first word decides
                 {"!   ", false}};
    for (const Case& c : cases) EXPECT_EQ(reports::IsUnusedPartyId(c.id), c.unused) << c.id;
}

}  // namespace
