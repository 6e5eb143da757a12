#include "records/chars.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace records;
using namespace std::string_literals;

TEST(CharsInsert, SetsOneCharacterAndIgnoresPositionsOutsideTheText) {
    std::string text(32, ' ');
    Insert('X', text, 1);
    Insert('Y', text, 32);
    Insert('Z', text, 0);
    Insert('Z', text, 33);
    EXPECT_EQ(text, "X" + std::string(30, ' ') + "Y");
    std::string line(132, ' ');
    Putchr(line, 132, '*');
    Putchr(line, 200, '*');
    EXPECT_EQ(line.size(), 132u);
    EXPECT_EQ(line[131], '*');
}

TEST(CharsInset, FindsFirstOccurrenceWithinN) {
    struct Case {
        char c;
        const char* text;
        int16_t n;
        int16_t result;
        int16_t n_after;
    } cases[] = {
        {'C', " IMCPA", 6, 4, 6}, {'A', "ABCA", 4, 1, 4},   {'A', "xyzA", 3, -1, 3},  // beyond n
        {'A', "A", 0, -1, 0},                                                         // n < 1
        {'A', "A", -5, -1, -5},   {'Q', "PQ", 500, 2, 178},  // n lowered, search stops at the text's end
    };
    for (const auto& c : cases) {
        int16_t n = c.n;
        EXPECT_EQ(Inset(c.c, c.text, n), c.result) << c.text;
        EXPECT_EQ(n, c.n_after) << c.text;
    }
}

TEST(CharsLengths, Len28AndLength) {
    EXPECT_EQ(Len28("COMMON STOCK                "), 12);
    EXPECT_EQ(Len28(std::string(28, ' ')), 1);
    EXPECT_EQ(Len28(std::string(27, ' ') + "X"), 28);
    EXPECT_EQ(Len28(std::string(28, 'A') + "BEYOND"), 28);  // only 28 characters count
    EXPECT_EQ(Length("ABC$DEF"), 3);
    EXPECT_EQ(Length("$"), 0);
    EXPECT_EQ(Length(std::string(60, 'A')), 50);
    EXPECT_EQ(Length(std::string(50, 'A') + "$"), 50);
    EXPECT_EQ(Length("NO DOLLAR"), 9);
}

TEST(CharsUpshft, UpperCasesFirstNLetters) {
    struct Case {
        const char* text;
        int16_t n;
        const char* result;
        int16_t n_after;
    } cases[] = {
        {"abc def", 7, "ABC DEF", 7}, {"abc9z{", 6, "ABC9Z{", 6}, {"abcdef", 3, "ABCdef", 3},
        {"abc", 0, "abc", 0},         {"abc", 900, "ABC", 132},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int16_t n = c.n;
        Upshft(text, n);
        EXPECT_EQ(text, c.result);
        EXPECT_EQ(n, c.n_after);
    }
    std::string long_line(200, 'a');
    int16_t n = 200;
    Upshft(long_line, n);
    EXPECT_EQ(long_line, std::string(132, 'A') + std::string(68, 'a'));
}

TEST(CharsSubstg, CopiesRangeIntoBlankFilledResult) {
    struct Case {
        const char* field;
        int i, j;
        std::string result;
    } cases[] = {
        {"ABCDEFGH", 3, 5, "CDE"}, {"ABCDEFGH", 1, 8, "ABCDEFGH"},
        {"ABCDEFGH", 5, 4, ""},    {"ABCDEFGH", 6, 20, "FGH"},  // past the field's end
        {"ABCDEFGH", -2, 2, "AB"},
    };
    for (const auto& c : cases) {
        std::string result = "garbage";
        Substg(result, c.field, c.i, c.j);
        EXPECT_EQ(result, c.result + std::string(32 - c.result.size(), ' ')) << c.i << ".." << c.j;
    }
    std::string result;
    Substg(result, std::string(40, 'X'), 1, 40);
    EXPECT_EQ(result, std::string(32, 'X'));
}

TEST(CharsCenter, MovesRightByHalfTheTrailingBlanks) {
    struct Case {
        std::string text;
        int n;
        std::string result;
        int16_t status;
    } cases[] = {
        {"ABCD      ", 10, "   ABCD   ", 0},
        {"ABCD     ", 9, "  ABCD   ", 0},     // odd remainder rounds down
        {" AB       ", 10, "    AB    ", 0},  // leading blanks move along
        {"AB\0\0\0\0"s, 6, "  AB\0\0"s, 0},   // NULs count as trailing blanks
        {"ABCDEFGHIJ", 10, "ABCDEFGHIJ", 0},
        {"          ", 10, "          ", 1},
        {"ABCD      ", 0, "ABCD      ", 1},
        {"AB    XY", 4, " AB   XY", 0},  // only the first n count
        {"AB  ", 40, " AB ", 0},         // n beyond the text is cut to it
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int16_t status = 9;
        Center(text, c.n, status);
        EXPECT_EQ(text, c.result) << c.text;
        EXPECT_EQ(status, c.status) << c.text;
    }
}

TEST(CharsMatch, WildcardsAgreeWithAnything) {
    struct Case {
        const char* a;
        const char* b;
        int n;
        int16_t result;
    } cases[] = {
        {"AB?D", "ABCD", 4, 0}, {"ABCD", "ABCE", 4, 100}, {"ABCD", "ABCE", 3, 0}, {"????", "WXYZ", 4, 0},
        {"ABCD", "A?CD", 4, 0}, {"ABCD", "XBCD", 0, 0},   {"AB", "AB  ", 4, 0},   {"AB", "ABC", 3, 100},
    };
    for (const auto& c : cases) EXPECT_EQ(Match(c.a, c.b, c.n), c.result) << c.a << " vs " << c.b;
}

TEST(CharsCmpstr, DifferenceOfSignedCodesAtFirstMismatch) {
    EXPECT_EQ(Cmpstr("ABCDEFGHI", "ABCDEFGHI"), 0);
    EXPECT_EQ(Cmpstr("ABCDEFGHIX", "ABCDEFGHIY"), 0);  // only 9 count
    EXPECT_EQ(Cmpstr("ABD", "ABC"), 1);
    EXPECT_EQ(Cmpstr("A", "C"), -2);
    EXPECT_EQ(Cmpstr("AB", "AB       "), 0);
    EXPECT_EQ(Cmpstr("\xe9", "A"), -23 - 65);  // a code above 127 is negative
}

TEST(CharsStub4, AcceptsFourArgumentsAndDoesNothing) {
    std::string s = "keep";
    int n = 3;
    Stub4(s, n, 1.5, "x");
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(n, 3);
}

TEST(CharsBelowBlankWord, NeverWrittenWordsOrderBelowBlanks) {
    EXPECT_TRUE(BelowBlankWord(std::string(4, '\0')));
    EXPECT_TRUE(BelowBlankWord("AB\0\0"s));  // a tiny real, though its first byte is above a blank
    EXPECT_FALSE(BelowBlankWord("    "));
    EXPECT_FALSE(BelowBlankWord("12/1"));
    EXPECT_FALSE(BelowBlankWord(""));  // padded with blanks
}

}  // namespace
