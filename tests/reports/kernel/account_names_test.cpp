#include "reports/kernel/account_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using fixtures::TempDataDir;

TEST(Gtacnm, PlaceInTheIndexAndShortName) {
    TempDataDir dir;
    std::vector<fixtures::ClientFields> clients;
    for (int i = 1; i <= 18; ++i) {
        fixtures::ClientFields c;
        c.id = "AC" + std::to_string(i);
        c.short_name = "NAME OF AC" + std::to_string(i);
        clients.push_back(c);
    }
    clients[3].id = "$$$$$$";
    fixtures::WriteClients(clients);
    fixtures::WriteAccountKeys({"AC1", "AC2", "AC3", "$$$$$$", "AC5", "AC6", "AC7", "AC8", "AC9", "AC10",
                                "AC11", "AC12", "AC13", "AC14", "AC15", "AC16", "AC17", "AC18"},
                               17);  // AC18 stands past the count
    struct Case {
        const char* id;
        int position;
        int index_record;
        long first_record;
        const char* short_name;
    } cases[] = {
        {"AC1", 1, 2, 1, "NAME OF AC1"},
        {"AC5", 5, 2, 33, "NAME OF AC5"},
        {"AC16", 16, 2, 121, "NAME OF AC16"},
        {"AC17", 1, 3, 129, "NAME OF AC17"},
        {"AC18", 0, 0, 0, ""},  // past the count
        {"AC4", 0, 0, 0, ""},
        {"ac1", 0, 0, 0, ""},  // halves compared exactly
    };
    for (const Case& c : cases) {
        const reports::AccountPlace place = reports::Gtacnm(c.id);
        EXPECT_EQ(place.position, c.position) << c.id;
        EXPECT_EQ(place.index_record, c.index_record) << c.id;
        if (c.position > 0) {
            EXPECT_EQ(place.first_record(), c.first_record) << c.id;
        }
        EXPECT_EQ(records::TrimRight(place.short_name), c.short_name) << c.id;
    }
}

TEST(Gtacnm, EmptyOrMissingIndexGivesPositionZero) {
    TempDataDir dir;
    EXPECT_EQ(reports::Gtacnm("AC1").position, 0);
    fixtures::WriteAccountKeys({"AC1"}, 0);
    EXPECT_EQ(reports::Gtacnm("AC1").position, 0);
}

}  // namespace
