// The small readings of the settings: the request-file list, yes-or-no
// values, files of the home directory, the title's call type and the show
// state of the command line.

#include "feedbatch/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "feedbatch/input_list.h"
#include "feedbatch/program.h"
#include "platform/constants.h"

namespace feedbatch {
namespace {

std::vector<std::string> Names(const std::string& value) {
    InputList list(value);
    std::vector<std::string> names;
    while (std::optional<std::string> name = list.Next()) names.push_back(*name);
    return names;
}

TEST(InputListTest, NamesBetweenCommas) {
    struct Case {
        const char* value;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"a", {"a"}},
        {"a,,b", {"a", "b"}},
        {"a, b", {"a", " b"}},
        {",a,", {"a"}},
        {",,,", {}},
        {"", {}},
        {"req one.txt,dir\\two.txt", {"req one.txt", "dir\\two.txt"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Names(c.value), c.names) << c.value;
}

TEST(InputListTest, RewindStartsAgain) {
    InputList list("a,b");
    EXPECT_EQ(list.Next(), "a");
    list.Rewind();
    EXPECT_EQ(list.Next(), "a");
    EXPECT_EQ(list.Next(), "b");
    EXPECT_EQ(list.Next(), std::nullopt);
    EXPECT_EQ(list.Next(), std::nullopt);
}

TEST(SettingsTest, Readings) {
    EXPECT_TRUE(IsYes("Y"));
    EXPECT_TRUE(IsYes("yes"));
    EXPECT_FALSE(IsYes("No"));
    EXPECT_FALSE(IsYes(""));
    EXPECT_FALSE(IsYes(" Y"));

    EXPECT_EQ(HomeFile("", "vexa.log"), "vexa.log");
    EXPECT_EQ(HomeFile("/data/feed/", "vexa.log"), "/data/feed/vexa.log");
    EXPECT_EQ(HomeFile("/data/feed", "vexa.log"), "/data/feed/vexa.log");
    EXPECT_EQ(HomeFile("C:\\feed\\", "qordata.par"), "C:/feed/qordata.par");
    EXPECT_EQ(HostPath("dir\\req.txt"), "dir/req.txt");

    EXPECT_EQ(TitleSuffix("tcpip"), " (TCP/IP)");
    EXPECT_EQ(TitleSuffix("TcpIp"), " (TCP/IP)");
    EXPECT_EQ(TitleSuffix("dialup"), " (Dial-Up)");
    EXPECT_EQ(TitleSuffix(""), " (Dial-Up)");
    EXPECT_EQ(TitleSuffix("tcp/ip"), " (Dial-Up)");
}

TEST(SettingsTest, ShowStateOfTheCommandLine) {
    EXPECT_EQ(ShowCommandOf("1"), platform::SW_HIDE);
    EXPECT_EQ(ShowCommandOf("2"), platform::SW_SHOWMINIMIZED);
    EXPECT_EQ(ShowCommandOf("3"), platform::SW_SHOWMAXIMIZED);
    EXPECT_EQ(ShowCommandOf("4"), platform::SW_SHOWMINNOACTIVE);
    EXPECT_EQ(ShowCommandOf(""), platform::SW_SHOW);
    EXPECT_EQ(ShowCommandOf("5"), platform::SW_SHOW);
    EXPECT_EQ(ShowCommandOf("hidden"), platform::SW_SHOW);
}

}  // namespace
}  // namespace feedbatch
