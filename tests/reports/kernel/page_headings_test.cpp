#include "reports/kernel/page_headings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PageHeadings, ManagerHeading) {
    struct Case {
        std::string manager;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"????", "ALL "}, {"JDS ", "JDS "}, {"AB", "AB  "},
        {"", "    "},     {"??", "??  "},   {"????XY", "ALL "},  // the code is its first 4 positions
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::ManagerHeading(c.manager), c.shown) << '"' << c.manager << '"';
}

TEST(PageHeadings, DatePrintedLine) {
    struct Case {
        std::string date;
        int indent;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"12/31/2026  ", 1, " DATE PRINTED: 12/31/2026  "},
        {"12/31/2026  ", 4, "    DATE PRINTED: 12/31/2026  "},
        {"123126", 1, " DATE PRINTED: 123126      "},             // padded to the date's 12 positions
        {"12/31/2026  EXTRA", 1, " DATE PRINTED: 12/31/2026  "},  // cut to them
    };
    for (const Case& c : cases) EXPECT_EQ(reports::DatePrintedLine(c.date, c.indent), c.line) << c.date;
}

}  // namespace
