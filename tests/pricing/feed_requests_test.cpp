// The request lines of the automatic pricing run: 200 columns, the fixed
// letters, the dates and the CUSIP number up to its last non-blank
// character.

#include "pricing/feed_requests.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace pricing;

struct RequestCase {
    const char* name;
    std::function<void(std::string&)> build;
    std::string expected;  // the line without its trailing blanks
};

std::string Padded(const std::string& head) {
    return head + std::string(kFeedLineWidth - head.size(), ' ');
}

TEST(FeedRequests, EachRequestLineTakesItsColumns) {
    const std::vector<RequestCase> cases = {
        {"dividend period", [](std::string& r) { Reqdaa(r, "01/01/98", "12/31/98", "IBM         "); },
         "DAA980101981231IBM"},
        {"dividend dates written with blanks",
         [](std::string& r) { Reqdaa(r, " 1/ 5/98", " 2/ 1/99", "IBM"); }, "DAA980105990201IBM"},
        {"dividend period into 2003", [](std::string& r) { Reqdaa(r, "12/15/02", " 1/15/03", "T"); },
         "DAA021215030115T"},
        {"price class B", [](std::string& r) { Reqv(r, "980310", 'B', "IBM"); }, "VB980310IBM"},
        {"price class M", [](std::string& r) { Reqv(r, "980310", 'M', "IBM"); }, "VM980310IBM"},
        {"price class E", [](std::string& r) { Reqv(r, "980310", 'E', "IBM"); }, "VE980310IBM"},
        {"price class O", [](std::string& r) { Reqv(r, "980310", 'O', "IBM"); }, "VO980310IBM"},
        {"alternate price", [](std::string& r) { Reqj(r, "980310", "IBM"); }, "J980310IBM"},
        {"information", [](std::string& r) { Reqi(r, "980310", "IBM"); }, "!I980310IBM"},
        {"CUSIP of 12 characters", [](std::string& r) { Reqv(r, "030102", 'B', "459200101XYZ"); },
         "VB030102459200101XYZ"},
        {"CUSIP past 12 characters is cut", [](std::string& r) { Reqj(r, "030102", "459200101XYZ99"); },
         "J030102459200101XYZ"},
        {"blank inside a CUSIP is kept", [](std::string& r) { Reqi(r, "030102", "BRK B       "); },
         "!I030102BRK B"},
    };
    for (const RequestCase& c : cases) {
        std::string request = "left over from the last security";
        c.build(request);
        EXPECT_EQ(request, Padded(c.expected)) << c.name;
    }
}

TEST(FeedRequests, BlankCusipGivesOneBlankAfterTheDates) {
    std::string request;
    Reqdaa(request, "01/01/98", "12/31/98", "            ");
    ASSERT_EQ(request.size(), kFeedLineWidth);
    EXPECT_EQ(request, Padded("DAA980101981231 "));
    Reqv(request, "980310", 'B', "");
    EXPECT_EQ(request, Padded("VB980310"));
}

}  // namespace
