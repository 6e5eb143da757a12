// The set time and date: reading the joined waittime and waitdate, the year
// window for two-digit years, the checks and their texts, and the moment the
// transfer falls due.

#include "feedbatch/wait_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace feedbatch {
namespace {

struct ParseCase {
    const char* waittime;
    const char* waitdate;
    const char* error;  // "" when the setting is usable
    WaitTarget target;  // when usable
};

TEST(WaitCheckTest, SettingsAreReadAndChecked) {
    const std::vector<ParseCase> cases = {
        {"18:30", "1997/03/07", "", {18, 30, 1997, 3, 7}},
        {"18:30", "1997-03-07", "", {18, 30, 1997, 3, 7}},
        {"18-30", "1997:3:7", "", {18, 30, 1997, 3, 7}},
        {"0:0", "2001/12/31", "", {0, 0, 2001, 12, 31}},
        {"24:59", "1998/01/01", "", {24, 59, 1998, 1, 1}},
        // Two-digit years by the window: 51-99 the 1900s, 00-50 the 2000s.
        {"18:30", "97/03/07", "", {18, 30, 1997, 3, 7}},
        {"18:30", "51/01/02", "", {18, 30, 1951, 1, 2}},
        {"18:30", "50/01/02", "", {18, 30, 2050, 1, 2}},
        {"18:30", "05/01/02", "", {18, 30, 2005, 1, 2}},
        {"18:30", "00/02/29", "", {18, 30, 2000, 2, 29}},
        {"18:30", "1996/02/29", "", {18, 30, 1996, 2, 29}},
        {"18:30", "1997/02/29", "February 29, 1997 is not a valid day", {}},
        {"18:30", "97/02/29", "February 29, 1997 is not a valid day", {}},
        {"18:30", "1997/04/31", "April 31, 1997 is not a valid day", {}},
        {"18:30", "1997/12/0", "December 0, 1997 is not a valid day", {}},
        {"18:30", "1997/01/32", "January 32, 1997 is not a valid day", {}},
        {"18:30", "1997/13/01", "Invalid date format", {}},
        {"18:30", "1997/0/01", "Invalid date format", {}},
        {"18:30", "", "Invalid date format", {}},
        {"25:00", "1997/03/07", "25:0 Is not a valid time", {}},
        {"18:60", "1997/03/07", "18:60 Is not a valid time", {}},
        {"18:30", "1997/03/07/1", "Invalid Date or Time format: 18:30:1997/03/07/1", {}},
        {"18:30:00", "1997/03/07", "Invalid Date or Time format: 18:30:00:1997/03/07", {}},
        // Fields are read by their leading digits; none reads as 0.
        {"6pm:30", "1997/03/07", "", {6, 30, 1997, 3, 7}},
        {"x:30", "1997/03/07", "", {0, 30, 1997, 3, 7}},
        // The text ends at a line end.
        {"18:30", "1997/03/07\r\n/1", "", {18, 30, 1997, 3, 7}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(std::string(c.waittime) + " " + c.waitdate);
        const WaitSetting s = ParseWaitSetting(JoinWaitSetting(c.waittime, c.waitdate));
        EXPECT_EQ(s.error, c.error);
        if (*c.error) continue;
        EXPECT_EQ(s.target.hour, c.target.hour);
        EXPECT_EQ(s.target.minute, c.target.minute);
        EXPECT_EQ(s.target.year, c.target.year);
        EXPECT_EQ(s.target.month, c.target.month);
        EXPECT_EQ(s.target.day, c.target.day);
    }
}

TEST(WaitCheckTest, SumFollowsTheFieldsAsWritten) {
    EXPECT_EQ(ParseWaitSetting("18:30:1997/03/07").sum, 18 + 30 + 1997 + 3 + 7);
    EXPECT_EQ(ParseWaitSetting("18:30:97/03/07").sum, 18 + 30 + 97 + 3 + 7);
    EXPECT_NE(ParseWaitSetting("18:31:1997/03/07").sum, ParseWaitSetting("18:30:1997/03/07").sum);
}

TEST(WaitCheckTest, TheTwoSettingsHoldAtMost48Characters) {
    const std::string time(30, '1');
    const std::string date(30, '2');
    EXPECT_EQ(JoinWaitSetting(time, date), time + ":" + std::string(18, '2'));
    EXPECT_EQ(JoinWaitSetting(std::string(60, '1'), date), std::string(48, '1') + ":");
    EXPECT_EQ(JoinWaitSetting("18:30", "1997/03/07"), "18:30:1997/03/07");
}

TEST(WaitCheckTest, DueFromTheTargetMinuteOn) {
    const WaitTarget target{18, 30, 1997, 3, 7};
    struct Case {
        int year, month, day, hour, minute;
        bool due;
    };
    const std::vector<Case> cases = {
        {1997, 3, 7, 18, 29, false}, {1997, 3, 7, 18, 30, true},    {1997, 3, 7, 23, 59, true},
        {1997, 3, 7, 9, 45, false},  {1997, 3, 8, 0, 0, true},      {1997, 3, 6, 23, 59, false},
        {1998, 1, 1, 0, 0, true},    {1996, 12, 31, 23, 59, false}, {1997, 4, 1, 1, 0, true},
    };
    for (const Case& c : cases) {
        std::tm now{};
        now.tm_year = c.year - 1900;
        now.tm_mon = c.month - 1;
        now.tm_mday = c.day;
        now.tm_hour = c.hour;
        now.tm_min = c.minute;
        EXPECT_EQ(TargetReached(target, now), c.due)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
    }
}

TEST(WaitCheckTest, YearWindow) {
    const std::vector<std::pair<int, int>> cases = {{0, 2000},  {1, 2001},  {50, 2050},   {51, 1951},
                                                    {99, 1999}, {100, 100}, {1997, 1997}, {2024, 2024}};
    for (const auto& [written, year] : cases) EXPECT_EQ(WindowedYear(written), year) << written;
}

}  // namespace
}  // namespace feedbatch
