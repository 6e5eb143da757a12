// The field helpers: fixed fields, and the checks of typed numbers, dates
// and file names, as tables of cases.

#include "shell/field_helpers.h"

#include <gtest/gtest.h>

namespace {

using namespace shell;

TEST(FixedFields, TrimCutsAtTheWidthAndDropsTrailingBlanks) {
    EXPECT_EQ(TrimField("ACCT1   ", 8), "ACCT1");
    EXPECT_EQ(TrimField("ACCT1   XYZ", 8), "ACCT1");  // what follows the field is not its
    EXPECT_EQ(TrimField(" A B    ", 8), " A B");      // leading and inner blanks stay
    EXPECT_EQ(TrimField("        ", 8), "");
    EXPECT_EQ(TrimField("AB", 8), "AB");
}

TEST(FixedFields, PadFillsToTheWidthAndLeavesLongerTexts) {
    std::string field = "AB";
    PadField(field, 6);
    EXPECT_EQ(field, "AB    ");
    EXPECT_EQ(PadFieldTo("", 4), "    ");
    EXPECT_EQ(PadFieldTo("ABCDEFGH", 4), "ABCDEFGH");
    EXPECT_EQ(TrimField(PadFieldTo("XYZ", 12), 12), "XYZ");
}

struct TextCase {
    const char* text;
    bool valid;
};

TEST(CheckNumberText, Cases) {
    const TextCase cases[] = {
        {"1,234.50", true},     {"-  12", true},  {"12 3", false}, {"-", false},   {".", false},
        {"   ", true},          {"", true},       {"12", true},    {"12 ", true},  {"+7.", true},
        {".5", true},           {"1.2.3", false}, {"12a", false},  {"--1", false}, {"1-", false},
        {"  -1,000,000", true}, {"1.5 x", false}, {"0", true},
    };
    for (const TextCase& c : cases) EXPECT_EQ(CheckNumberText(c.text), c.valid) << '"' << c.text << '"';
}

struct DateCase {
    const char* text;
    bool valid;
    const char* rewritten;  // the text afterwards
};

TEST(CheckDateText, CasesAndTheZeroFilledForm) {
    const DateCase cases[] = {
        {"2/29/96", true, "02/29/96"},
        {"2/29/95", false, "2/29/95"},
        {"13/01/95", false, "13/01/95"},
        {"1/5/3", true, "01/05/03"},
        {"1/5", false, "1/5"},
        {"12/31/99", true, "12/31/99"},
        {" 1/ 5/99", true, "01/05/99"},
        {"01/05/99  ", true, "01/05/99"},
        {"4/31/99", false, "4/31/99"},
        {"0/10/99", false, "0/10/99"},
        {"1/0/99", false, "1/0/99"},
        {"1/5/999", false, "1/5/999"},
        {"1-5-99", false, "1-5-99"},
        {"2/29/00", true, "02/29/00"},
        {"12/31/99x", false, "12/31/99x"},
        // Four-digit years: only those two digits can stand for are taken.
        {"1/5/1999", true, "01/05/99"},
        {"12/31/2026", true, "12/31/26"},
        {"12/31/2051", false, "12/31/2051"},
        {"1/1/1950", false, "1/1/1950"},
        {"1/1/1951", true, "01/01/51"},
        {"12/31/2050", true, "12/31/50"},
        {"2/29/2000", true, "02/29/00"},
        {"2/29/1900", false, "2/29/1900"},
        {"2/29/2001", false, "2/29/2001"},
        {"1/5/19999", false, "1/5/19999"},
    };
    for (const DateCase& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(CheckDateText(text), c.valid) << c.text;
        EXPECT_EQ(text, c.rewritten) << c.text;
    }
    std::string blank = "        ";
    EXPECT_TRUE(CheckBlankOrDate(blank));
    std::string date = "3/4/05";
    EXPECT_TRUE(CheckBlankOrDate(date));
    EXPECT_EQ(date, "03/04/05");
    std::string bad = "3/40/05";
    EXPECT_FALSE(CheckBlankOrDate(bad));
}

TEST(CheckFileNameText, Cases) {
    const TextCase cases[] = {
        {"REPORT", true},         {"XXX.TXT", true},     {"1ABC", false},   {"ABCDEFGHI", false},
        {"ABCDEFGH.TXTX", false}, {"ABCDEFGH.TX", true}, {"A_B.TXT", true}, {"", false},
        {"A B.TXT", false},       {"AB.T_T", false},     {"AB.T.T", false}, {"ABCDEFGH", true},
        {"_AB", false},           {"a.1", true},
    };
    for (const TextCase& c : cases) EXPECT_EQ(CheckFileNameText(c.text), c.valid) << '"' << c.text << '"';
}

TEST(ParseDateText, PartsAndWindowedNumber) {
    struct Case {
        const char* text;
        int month, day, year;
        long number;
    };
    const Case cases[] = {
        {"12/31/99", 12, 31, 99, 991231}, {"01/02/03", 1, 2, 103, 1030102},
        {"1/5/51", 1, 5, 51, 510105},     {" 1/ 5/50", 1, 5, 150, 1500105},
        {"2/29/97", 2, 29, 97, 970229},   {"2/30/96", 0, 0, 0, -1},
        {"4/31/99", 0, 0, 0, -1},         {"13/01/99", 0, 0, 0, -1},
        {"12-31-99", 0, 0, 0, -1},        {"", 0, 0, 0, -1},
        {"12/31/", 0, 0, 0, -1},          {"12/31/999", 0, 0, 0, -1},
    };
    for (const Case& c : cases) {
        const ParsedDate parsed = ParseDateText(c.text);
        EXPECT_EQ(parsed.month, c.month) << c.text;
        EXPECT_EQ(parsed.day, c.day) << c.text;
        EXPECT_EQ(parsed.year, c.year) << c.text;
        EXPECT_EQ(parsed.number, c.number) << c.text;
    }
}

}  // namespace

TEST(ReadNumberText, DropsCommasAndBlanksAndAlwaysHasAPoint) {
    struct Case {
        const char* typed;
        bool valid;
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1,250.50", true, "1250.50", 1250.5},
        {"100", true, "100.", 100.0},
        {"  -  12", true, "-12.", -12.0},
        {"+7.", true, "+7.", 7.0},
        {".5", true, ".5", 0.5},
        {"  -1,000,000", true, "-1000000.", -1000000.0},
        {"", true, "", 0.0},
        {"   ", true, "", 0.0},
        {"0.1", true, "0.1", 0.1},
        {"12a", false, "", 0.0},
        {"1.2.3", false, "", 0.0},
    };
    for (const Case& c : cases) {
        const NumberText n = ReadNumberText(c.typed);
        EXPECT_EQ(n.valid, c.valid) << '"' << c.typed << '"';
        EXPECT_EQ(n.text, c.text) << '"' << c.typed << '"';
        EXPECT_EQ(n.value, c.value) << '"' << c.typed << '"';
    }
}
