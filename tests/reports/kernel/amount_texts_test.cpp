#include "reports/kernel/amount_texts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* what;
    std::function<std::string()> text;
    std::string expected;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(c.text(), c.expected) << c.what;
}

TEST(AmountTexts, Amount16) {
    using reports::Amount16;
    Check({
        {"zero", [] { return Amount16(0.0); }, "           0.00 "},
        {"separators", [] { return Amount16(1234567.891); }, "   1,234,567.89 "},
        {"negative in brackets", [] { return Amount16(-1234.5); }, "      (1,234.50)"},
        {"binary tie rounds away from zero", [] { return Amount16(0.125); }, "           0.13 "},
        {"negative tie", [] { return Amount16(-0.125); }, "          (0.13)"},
        {"below a half cent held under the tie", [] { return Amount16(2.675); }, "           2.67 "},
        {"negative that prints as zero has no brackets", [] { return Amount16(-0.001); }, "           0.00 "},
        {"widest with separators", [] { return Amount16(999999999.99); }, " 999,999,999.99 "},
        // A number that fills its field has no room for separators.
        {"widest", [] { return Amount16(999999999999.99); }, "999999999999.99 "},
        {"overflow", [] { return Amount16(1e13); }, "*************** "},
    });
}

TEST(AmountTexts, Amount12) {
    using reports::Amount12;
    Check({
        {"zero", [] { return Amount12(0.0); }, "        0.00"},
        {"negative keeps its minus", [] { return Amount12(-1234.5); }, "   -1,234.50"},
        {"binary tie rounds away from zero", [] { return Amount12(0.125); }, "        0.13"},
        {"widest with separators", [] { return Amount12(9999999.99); }, "9,999,999.99"},
        {"too narrow for separators", [] { return Amount12(99999999.99); }, " 99999999.99"},
        {"widest", [] { return Amount12(999999999.99); }, "999999999.99"},
        {"overflow", [] { return Amount12(1e10); }, "************"},
    });
}

TEST(AmountTexts, NumberColumnAndText) {
    using reports::NumberColumn;
    using reports::NumberText;
    Check({
        {"whole units drop the point", [] { return NumberColumn(1234567, "(F11.0,' ')", 11, true, 12); },
         "  1,234,567 "},
        {"whole negative in brackets", [] { return NumberColumn(-1234567, "(F11.0,' ')", 11, true, 12); },
         " (1,234,567)"},
        {"without brackets the minus stays",
         [] { return NumberColumn(-1234567, "(F11.0,' ')", 11, false, 12); }, " -1,234,567 "},
        {"whole zero", [] { return NumberColumn(0, "(F11.0,' ')", 11, true, 12); }, "          0 "},
        {"half rounds away from zero", [] { return NumberColumn(2.5, "(F8.0)", 8, false, 8); }, "       3"},
        {"overflow", [] { return NumberColumn(-1e9, "(F10.0,'  ')", 10, true, 12); }, "**********  "},
        {"the work text is 32 positions", [] { return NumberText(-12.5, "(F10.3,' ')", 10, true); },
         "   (12.500)" + std::string(21, ' ')},
        {"nothing beyond the field", [] { return NumberText(1.0, "(F6.2,'XYZ')", 6, false); },
         "  1.00" + std::string(26, ' ')},
    });
}

TEST(AmountTexts, NumberTextIntoReplacesTheCallersText) {
    std::string text = "left over from the line before, longer than thirty-two";
    reports::NumberTextInto(text, -5.0, "(F9.2,' ')", 9, true);
    EXPECT_EQ(text, "    (5.00)" + std::string(22, ' '));
}

TEST(AmountTexts, BracketedText) {
    using reports::BracketedText;
    auto first8 = [](std::string s) { return s.substr(0, 8); };
    Check({
        {"zero", [&] { return first8(BracketedText(0.0, "(F5.1,'   ')", 5)); }, "  0.0   "},
        {"negative in brackets", [&] { return first8(BracketedText(-12.34, "(F5.1,'   ')", 5)); },
         "(12.3)  "},
        {"no separators", [&] { return first8(BracketedText(999.94, "(F6.1,'  ')", 6)); }, " 999.9  "},
        {"tie", [&] { return first8(BracketedText(0.25, "(F5.1,'   ')", 5)); }, "  0.3   "},
        {"negative that prints as zero", [&] { return first8(BracketedText(-0.04, "(F5.1,'   ')", 5)); },
         "  0.0   "},
        {"widest negative", [&] { return first8(BracketedText(-99.9, "(F5.1,'   ')", 5)); }, "(99.9)  "},
        {"overflow", [&] { return first8(BracketedText(-123.4, "(F5.1,'   ')", 5)); }, "*****   "},
    });
    EXPECT_EQ(BracketedText(1.0, "(F6.2,' ')", 6).size(), 32u);
}

}  // namespace
