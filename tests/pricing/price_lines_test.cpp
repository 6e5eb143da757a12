// The line parser of the price import, its cleaning of lines, the layout-3
// fields, layout 7's price digits and the pricing date check.

#include "pricing/price_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "pricing/price_dates.h"

namespace pricing {
namespace {

using namespace std::string_literals;

TEST(CleanLineTest, TabsStopAtColumnNineAndOtherBytesBecomeBlanks) {
    struct Case {
        std::string line;
        std::string expected;  // the first characters of the working line
    } cases[] = {
        {"IB\tM", "IB      M"},                // a tab in column 3: M moves to column 9
        {"\tX", "        X"},                  // column 1: eight blanks
        {"1234567\tX", "1234567 X"},           // column 8: one blank
        {"12345678\tX", "12345678X"},          // column 9: dropped
        {"IBM        \t01", "IBM        01"},  // column 12: dropped
        {"A\x01\x1f\x7f\xff"
         "B",
         "A    B"},
        {"\r\n", "  "},
    };
    for (const Case& c : cases) {
        const std::string w = CleanLine(c.line, kWorkingLineWidth);
        EXPECT_EQ(w.size(), kWorkingLineWidth);
        EXPECT_EQ(w.substr(0, c.expected.size()), c.expected) << c.line;
        EXPECT_EQ(w.find_first_not_of(' ', c.expected.size()), std::string::npos) << c.line;
    }
    // Tabs that expand never push the line past 384 characters.
    EXPECT_EQ(CleanLine(std::string(600, '\t') + "X", kWorkingLineWidth), std::string(384, ' '));
    EXPECT_EQ(CleanLine(std::string(7, '\t') + std::string(400, 'Y'), kWorkingLineWidth).size(), 384u);
    // Only the layout's read width is looked at.
    EXPECT_EQ(CleanLine(std::string(90, 'Z'), 84), std::string(84, 'Z') + std::string(300, ' '));
}

TEST(ParsePriceLineTest, FieldsOfEveryLayout) {
    const std::string layout5 = "   459200101" + std::string(41, ' ') + "msft    " + "    " + "   123.4567" +
                                std::string(11, ' ') + "980115";
    const std::string layout6 = std::string(17, ' ') + "459200101" + " " + "xrx      " +
                                std::string(34, ' ') + std::string(9, ' ') + "45.25";
    struct Case {
        int16_t layout;
        std::string line;
        std::string identifier, second, date;
        double price;
        std::string digits;
    } cases[] = {
        {1, "IBM         01/15/98    123.4567", "IBM         ", "IBM         ", "01/15/98", 123.4567, ""},
        {1, "IBM         01/15/98        1234", "IBM         ", "IBM         ", "01/15/98", 0.1234, ""},
        {2, "XXibm     X    150.2500", "IBM         ", "            ", "        ", 150.25, ""},
        {4, "  BONDJ        1234", "BONDJ       ", "            ", "        ", 0.1234, ""},
        {3, R"("D","A","IBM      ","x","x","x","x","x","x",1234,"E")", "IBM         ", "            ",
         "        ", 1234, ""},
        {5, layout5, "MSFT        ", "459200101   ", "01/15/98", 123.4567, ""},
        {5, std::string(53, ' ') + "XRX     " + "    " + "       45.5", "XRX         ", "XRX         ",
         "  /  /  ", 45.5, ""},
        {6, layout6, "XRX         ", "459200101   ", "        ", 45.25, ""},
        {7, "      BONDJ             980115001234567", "BONDJ       ", "            ", "01/15/98", 0,
         "001234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const PriceLine p = ParsePriceLine(c.line, c.layout);
        EXPECT_FALSE(p.failed);
        EXPECT_EQ(p.identifier, c.identifier);
        EXPECT_EQ(p.second, c.second);
        EXPECT_EQ(p.date, c.date);
        EXPECT_DOUBLE_EQ(p.price, c.price);
        EXPECT_EQ(p.dst_digits, c.digits);
    }
}

TEST(ParsePriceLineTest, LinesThatDoNotConvertFail) {
    struct Case {
        int16_t layout;
        std::string line;
    } cases[] = {
        {1, "MSFT        01/15/98    12X.4567"},  // a letter in the price
        {1, "MSFT        01/15/98"},              // no price
        {1, std::string(500, 'X')},
        {2, "  MSFT        12a.5000"},
        {2, "  XRX"},
        {3, R"("A","B","BONDJ    ","x","x",7.25)"},  // fewer than nine closing commas
        {3, R"("D","A","MSFT     ","x","x","x","x","x","x",12x,"E")"},
        {3, R"("D","A","MSFT     ","x","x","x","x","x","x",,"E")"},
        {5, std::string(53, ' ') + "MSFT    " + "    " + "    7x.125"},
        {5, std::string(53, ' ') + "MSFT    " + "    " + "    7.\t125"},  // layout 5 does not clean its line
        {6, std::string(27, ' ') + "MSFT     " + std::string(34, ' ') + "         1x.00"},
        {7, "      XRX               9801150012A4567"},
        {7, "      MSFT              980115"},
        {0, "IBM         01/15/98    123.4567"},
        {8, "IBM         01/15/98    123.4567"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(ParsePriceLine(c.line, c.layout).failed) << c.layout << ": " << c.line;
}

TEST(TfcsvTest, IdentifierAfterTheSecondCommaAndPriceAfterTheNinthClosingComma) {
    struct Case {
        std::string line;
        std::string identifier;
        double price;
        int16_t failed;
    } cases[] = {
        {R"("D","A","IBM      ","x","x","x","x","x","x",125,"E")", "IBM         ", 125, 0},
        {R"("D","A","IBM      ","x","x","x","x","x","x",10.5,"E")", "IBM         ", 10.5, 0},
        // Only the first seven characters of the field are read.
        {R"("D","A","IBM      ","x","x","x","x","x","x",123.45678,"E")", "IBM         ", 123.456, 0},
        // A comma inside a quoted text does not count for the price, but
        // it does for the identifier.
        {R"("Smith, Jones","B","BONDJ    ","x","x","x","x","x","x",2.5,"E")",
         R"(B","BONDJ)"
         "   ",
         2.5, 0},
        // Fewer than two commas: the identifier stays as it was.
        {"no commas at all", "KEPT        ", 0, 1},
        // The ninth closing comma is the line's last character.
        {std::string(R"("D","A","IBM      ","x","x","x","x","x",)") + std::string(342, ' ') + "\",",
         "IBM         ", 0, 1},
    };
    for (const Case& c : cases) {
        std::string identifier = "KEPT        ";
        double price = 0;
        int16_t failed = 0;
        Tfcsv(CleanLine(c.line, kWorkingLineWidth), identifier, price, failed);
        EXPECT_EQ(identifier, c.identifier) << c.line;
        EXPECT_DOUBLE_EQ(price, c.price) << c.line;
        EXPECT_EQ(failed, c.failed) << c.line;
    }
}

TEST(DstPriceTest, TypeJHasSixDecimalsOthersFour) {
    double price = 0;
    EXPECT_TRUE(DstPrice("001234567", true, price));
    EXPECT_DOUBLE_EQ(price, 1.234567);
    EXPECT_TRUE(DstPrice("001234567", false, price));
    EXPECT_DOUBLE_EQ(price, 123.4567);
    EXPECT_FALSE(DstPrice("0012A4567", false, price));
    EXPECT_FALSE(DstPrice("         ", false, price));
    EXPECT_FALSE(DstPrice("", true, price));
}

TEST(TfdateTest, NormalisesAndChecksPricingDates) {
    struct Case {
        std::string date;
        bool ok;
        std::string normalised;
        float number;
    } cases[] = {
        {"01/15/98", true, " 1/15/98", 980115},
        {"1/5/98  ", true, " 1/ 5/98", 980105},
        {"02/29/96", true, " 2/29/96", 960229},
        {"02/29/97", false, "02/29/97", 0},
        {"02/29/00", false, "02/29/00", 0},  // 2000 is after the program date
        {"01/21/98", false, "01/21/98", 0},  // after the program date 01/20/98
        {"01/20/98", true, " 1/20/98", 980120},
        {"12/31/50", false, "12/31/50", 0},  // 2050, after the program date
        {"13/01/98", false, "13/01/98", 0},
        {"04/31/98", false, "04/31/98", 0},
        {"  /  /  ", false, "  /  /  ", 0},
        {"ab/cd/ef", false, "ab/cd/ef", 0},
        {"", false, "", 0},
        {"1/2/3/95", true, " 2/ 3/95", 950203},
    };
    for (const Case& c : cases) {
        std::string date = c.date;
        int16_t mode = 0, failed = 0;
        float number = 0;
        Tfdate(date, mode, failed, number, 0, 980120);
        EXPECT_EQ(failed == 0, c.ok) << c.date;
        EXPECT_EQ(mode, c.ok ? 0 : 1) << c.date;
        EXPECT_EQ(date, c.normalised) << c.date;
        if (c.ok) {
            EXPECT_EQ(number, c.number) << c.date;
        }
    }
    // Mode 3 takes any text as it is.
    std::string date = "garbage";
    int16_t mode = 3, failed = 0;
    float number = 7;
    Tfdate(date, mode, failed, number, 0, 980120);
    EXPECT_EQ(date, "garbage");
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(number, 7);
}

}  // namespace
}  // namespace pricing
