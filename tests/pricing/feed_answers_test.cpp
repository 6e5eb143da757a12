// The answer parsers: prices, J values, dividends and splits out of the
// server's answer lines, the warnings of the number check, and answers of
// any bytes leaving their outputs at the values for nothing found.

#include "pricing/feed_answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pricing/feed_dates.h"
#include "records/prices.h"

namespace {

using namespace pricing;
using records::kNoPriceValue;

std::string Answer(std::string text) {
    text.resize(200, ' ');
    return text;
}

// A non-numeric-data warning line: four numbers I6, the character between
// bars and the answer's first 64 columns.
std::string NonNumeric(const char* numbers, char bad, const std::string& answer) {
    return std::string(" Warning: non-numeric data found; ") + numbers + "  |" + bad + "| " +
           Answer(answer).substr(0, 64) + "\n";
}

struct PriceCase {
    const char* answer;
    double price;
    int warnings;
};

TEST(FeedAnswers, PriceAnswers) {
    const std::vector<PriceCase> cases = {
        {"IBM,105.25,X", 105.25, 0},
        {"IBM,105,X", 105.0, 0},          // a whole number reads as one
        {"IBM,105", 105.0, 0},            // the field runs to the end of the answer
        {"IBM, 1 05.2 5 ,X", 105.25, 0},  // blanks are ignored
        {"IBM,105.25\r\n", 105.25, 0},    // a line end ends the field
        {"IBM,0.5,X,Y,Z", 0.5, 0},
        {"IBM,E,NO DATA", kNoPriceValue, 0},  // an error answer
        {"IBM,Error 105.25", kNoPriceValue, 0},
        {"IBM 105.25", kNoPriceValue, 0},   // no comma
        {"IBM,,X", kNoPriceValue, 0},       // an empty field
        {"IBM,1.2.3,X", kNoPriceValue, 0},  // passes the check, does not read
        {"IBM,1O5.25,X", kNoPriceValue, 1},
        {"IBM,-1.5,X", kNoPriceValue, 1},  // no sign is taken
        {"IBM,+1.5,X", kNoPriceValue, 1},
        {"IBM,N/A,X", kNoPriceValue, 1},
    };
    for (const PriceCase& c : cases) {
        std::string warnings_text;
        int16_t warnings = 3;
        double price = 1.0;
        Prsprc(Answer(c.answer), price, warnings, StringWarnings(warnings_text));
        EXPECT_DOUBLE_EQ(price, c.price) << c.answer;
        EXPECT_EQ(warnings, 3 + c.warnings) << c.answer;
        if (c.warnings == 0) {
            EXPECT_EQ(warnings_text, "") << c.answer;
        }
    }
}

TEST(FeedAnswers, NonNumericPriceWritesItsWarningLine) {
    std::string text;
    int16_t warnings = 0;
    double price = 0;
    Prsprc(Answer("IBM,1O5.25,X"), price, warnings, StringWarnings(text));
    EXPECT_EQ(text, NonNumeric("     5    10     6     6", 'O', "IBM,1O5.25,X"));

    // A J answer names its own field codes; line ends among the answer's
    // first characters are shown as blanks, so the warning stays one line.
    text.clear();
    float j = 0;
    Prsprj(Answer("IBM,105.25,7-5\r\nmore"), price, j, warnings, StringWarnings(text));
    EXPECT_EQ(text, NonNumeric("    12    14    13     8", '-', "IBM,105.25,7-5  more"));
    EXPECT_DOUBLE_EQ(price, 105.25);
    EXPECT_EQ(warnings, 2);
}

struct JCase {
    const char* answer;
    double price;
    float j_value;
    int warnings;
};

TEST(FeedAnswers, AlternatePriceAnswers) {
    const std::vector<JCase> cases = {
        {"IBM,105.25,0.75,X", 105.25, 0.75f, 0},
        {"IBM,105,2,X", 105.0, 2.0f, 0},  // the price's point does not hide the J field
        {"IBM,105.25,3", 105.25, 3.0f, 0},
        {"IBM,105.25", 105.25, 0.0f, 0},  // no J field
        {"IBM,105.25,,X", 105.25, 0.0f, 0},
        {"IBM,105.25,A", 105.25, 0.0f, 1},
        {"IBM,1.2.3,0.5", kNoPriceValue, 0.5f, 0},  // a price that does not read
        {"IBM,1O5,0.5", kNoPriceValue, 0.0f, 1},    // a refused price ends the answer
        {"IBM,E,0.5", kNoPriceValue, 0.0f, 0},
    };
    for (const JCase& c : cases) {
        std::string text;
        int16_t warnings = 0;
        double price = 1.0;
        float j = 9.0f;
        Prsprj(Answer(c.answer), price, j, warnings, StringWarnings(text));
        EXPECT_DOUBLE_EQ(price, c.price) << c.answer;
        EXPECT_FLOAT_EQ(j, c.j_value) << c.answer;
        EXPECT_EQ(warnings, c.warnings) << c.answer;
    }
}

struct DividendCase {
    const char* answer;
    DividendAnswer expected;
    int warnings;
};

DividendAnswer Dividend(float amount, const char* ex, const char* pay) {
    DividendAnswer a;
    a.amount = amount;
    a.ex_date = ex;
    a.pay_date = pay;
    return a;
}

DividendAnswer Split(float ratio, const char* ex, const char* pay) {
    DividendAnswer a;
    a.split_ratio = ratio;
    a.split_ex_date = ex;
    a.split_pay_date = pay;
    return a;
}

TEST(FeedAnswers, DividendAnswers) {
    const DividendAnswer nothing;
    const std::vector<DividendCase> cases = {
        {"X,I,980301,0.25,Q,980315", Dividend(0.25f, "03/01/98", "03/15/98"), 0},
        {"X,A,980301,0.25,Q,980315", Dividend(0.25f, "03/01/98", "03/15/98"), 0},
        {"X,G,021231,1,Q,030115", Dividend(1.0f, "12/31/02", "01/15/03"), 0},
        {"X,C,980301,0.25,Q,980315", Dividend(0.25f, "03/01/98", "03/15/98"), 0},
        {"X,M,980301,0.25,Q,980315", Dividend(0.25f, "03/01/98", "03/15/98"), 0},
        {"X,S,980301,0.25,Q,980315", Split(0.25f, "03/01/98", "03/15/98"), 0},
        {"X,O,980301,2,Q,980315", Split(2.0f, "03/01/98", "03/15/98"), 0},
        {"X,S,980301,2,,980315", Split(2.0f, "03/01/98", "03/15/98"), 0},
        {"X,I,N/A,0.25,Q,N/A", Dividend(0.25f, "N/A     ", "N/A     "), 0},
        {"X,I,980301,0.25", Dividend(0.25f, "03/01/98", "        "), 0},  // no pay date
        {"X,I,,0.25,Q,980315", Dividend(0.25f, "        ", "03/15/98"), 0},
        {"X,I,19980301,0.25,Q,19980315", Dividend(0.25f, "98/03/19", "98/03/19"), 0},  // only characters move
        {"X,U,980301,0.25,Q,980315", nothing, 0},
        {"X,E,980301,0.25,Q,980315", nothing, 0},  // an error answer, not code E
        {"X, ,980301,0.25,Q,980315", nothing, 0},
        {"X,Z,980301,0.25,Q,980315", nothing, 0},
        {"X,Z,980301,0.2Z,Q,980315", nothing, 1},  // an unknown code's fields are still checked
        {"X,I,980301,-0.25,Q,980315", nothing, 1},
        {"X,I,980301,,Q,980315", nothing, 0},
        {"XI980301", nothing, 0},
    };
    for (const DividendCase& c : cases) {
        std::string text;
        int16_t warnings = 0;
        DividendAnswer a;
        Prsdaa(Answer(c.answer), a, warnings, StringWarnings(text));
        EXPECT_FLOAT_EQ(a.amount, c.expected.amount) << c.answer;
        EXPECT_EQ(a.ex_date, c.expected.ex_date) << c.answer;
        EXPECT_EQ(a.pay_date, c.expected.pay_date) << c.answer;
        EXPECT_FLOAT_EQ(a.split_ratio, c.expected.split_ratio) << c.answer;
        EXPECT_EQ(a.split_ex_date, c.expected.split_ex_date) << c.answer;
        EXPECT_EQ(a.split_pay_date, c.expected.split_pay_date) << c.answer;
        EXPECT_EQ(warnings, c.warnings) << c.answer;
    }
}

TEST(FeedAnswers, ADividendAnswerWritesOnlyTheValuesOfItsKind) {
    DividendAnswer a = Split(3.0f, "01/02/98", "01/09/98");
    int16_t warnings = 0;
    Prsdaa(Answer("X,I,980301,0.25,Q,980315"), a, warnings, nullptr);
    EXPECT_FLOAT_EQ(a.amount, 0.25f);
    EXPECT_FLOAT_EQ(a.split_ratio, 3.0f);
    EXPECT_EQ(a.split_ex_date, "01/02/98");
    // A field that does not read keeps what the caller held.
    a = Dividend(0.5f, "02/01/98", "02/15/98");
    Prsdaa(Answer("X,I,980301,1.2.3,Q,"), a, warnings, nullptr);
    EXPECT_FLOAT_EQ(a.amount, 0.5f);
    EXPECT_EQ(a.ex_date, "03/01/98");
    EXPECT_EQ(a.pay_date, "02/15/98");
}

TEST(FeedAnswers, ColumnHelpers) {
    const std::string full(200, 'A');
    EXPECT_EQ(Lstchr(Answer("")), 2);
    EXPECT_EQ(Lstchr(Answer("X")), 2);
    EXPECT_EQ(Lstchr(Answer("IBM,1")), 6);
    EXPECT_EQ(Lstchr(full), 201);

    std::string warnings;
    const WarningSink sink = StringWarnings(warnings);
    const std::string answer = Answer("A,B\rC");
    EXPECT_EQ(Fndstr(answer, ',', 1, 6, sink), 2);
    EXPECT_EQ(Fndstr(answer, ',', 3, 6, sink), 0);
    EXPECT_EQ(Fndstr(answer, ',', 4, 3, sink), 0);  // end before start
    EXPECT_EQ(Fndend(answer, ',', 3, 6, sink), 4);  // the carriage return
    EXPECT_EQ(Fndend(answer, ',', 5, 6, sink), 6);  // none: the end
    EXPECT_EQ(Fndend(full, ',', 1, 201, sink), 201);
    EXPECT_EQ(warnings, "");
    EXPECT_EQ(Fndstr(answer, ',', 0, 6, sink), 0);
    EXPECT_EQ(Fndend(answer, ',', 1, 202, sink), 0);
    EXPECT_EQ(warnings,
              " Warning: parsing error in FNDSTR, start =    0 end =    6\n"
              " Warning: parsing error in FNDSTR, start =    1 end =  202\n");
}

TEST(FeedAnswers, NumberCheck) {
    struct Case {
        const char* text;
        int start, end;
        InsperStatus status;
        int end_after;
        const char* text_after;
    };
    const std::vector<Case> cases = {
        {"A,105,B", 3, 5, kFieldGood, 6, "A,105.B"},  // the point over the delimiter
        {"A,1.5,B", 3, 5, kFieldGood, 5, "A,1.5,B"},       {"A, 1 ,B", 3, 5, kFieldGood, 6, "A, 1 .B"},
        {"A,1x5,B", 3, 5, kFieldNotNumeric, 5, "A,1x5,B"}, {"A,,B", 3, 2, kFieldEmpty, 2, "A,,B"},
        {"A,5", 0, 3, kFieldOutOfRange, 3, "A,5"},         {"A,5", 3, 201, kFieldOutOfRange, 201, "A,5"},
    };
    for (const Case& c : cases) {
        std::string text = Answer(c.text);
        std::string warnings_text;
        int16_t warnings = 0;
        int end = c.end;
        EXPECT_EQ(Insper(text, c.start, end, warnings, 6, StringWarnings(warnings_text)), c.status) << c.text;
        EXPECT_EQ(end, c.end_after) << c.text;
        EXPECT_EQ(text, Answer(c.text_after)) << c.text;
        EXPECT_EQ(warnings, c.status == kFieldNotNumeric ? 1 : 0) << c.text;
    }
    std::string warnings_text;
    std::string text = Answer("A,5");
    int end = 201;
    int16_t warnings = 0;
    Insper(text, 3, end, warnings, 6, StringWarnings(warnings_text));
    EXPECT_EQ(warnings_text, " Warning: parsing error in INSPER, start =    3 end =  201\n");

    // A whole number in column 200 takes its point past the text.
    text = std::string(196, 'A') + ",105";
    end = 200;
    EXPECT_EQ(Insper(text, 198, end, warnings, 6, nullptr), kFieldGood);
    EXPECT_EQ(end, 201);
    EXPECT_EQ(text.substr(196), ",105.");
}

TEST(FeedAnswers, DateForms) {
    struct Case {
        const char* in;
        const char* ymdmdy;
        const char* mdyymd;
    };
    // Both only move characters: what comes in in the other form comes out
    // shuffled, never refused.
    const std::vector<Case> cases = {
        {"980315", "03/15/98", "  9831  "},   {"03/15/98", "/1/5//03", "980315  "},
        {" 1/ 5/98", "/ /5// 1", "98 1 5  "}, {"N/A", "N/A     ", "  N/    "},
        {"N/AX", "AX/  /N/", "  N/X   "},     {"", "  /  /  ", "        "},
    };
    for (const Case& c : cases) {
        std::string a = c.in;
        Ymdmdy(a);
        EXPECT_EQ(a, c.ymdmdy) << c.in;
        std::string b = c.in;
        Mdyymd(b);
        EXPECT_EQ(b, c.mdyymd) << c.in;
    }
}

// Answers of any bytes: none may crash or read outside the answer, and
// each leaves its outputs at their values for nothing found.
TEST(FeedAnswers, BadAnswersYieldNothing) {
    const std::vector<std::string> answers = {
        "",
        ",",
        std::string(200, ','),
        std::string(200, 'A'),
        std::string(199, 'A') + ",",
        std::string(198, 'A') + ",I",
        std::string("IBM,\0"
                    "105.25,X",
                    13),
        "IBM,\xff\xfe\x80,X",
        "X,\xe9,980301,0.25,Q,980315",
        "IBM,12345678901234567890,X",  // 20 digits: the point falls outside the read
        "IBM,123456789012345678901234567890123,X",
        "IBM,                    105.25,X",
        "\r\n,\r\n,\r\n,\r\n",
    };
    for (const std::string& raw : answers) {
        std::string text;
        int16_t warnings = 0;
        double price = 0;
        Prsprc(raw, price, warnings, StringWarnings(text));
        EXPECT_DOUBLE_EQ(price, kNoPriceValue) << raw;
        float j = 4;
        Prsprj(raw, price, j, warnings, StringWarnings(text));
        EXPECT_DOUBLE_EQ(price, kNoPriceValue) << raw;
        EXPECT_FLOAT_EQ(j, 0) << raw;
        DividendAnswer a;
        Prsdaa(raw, a, warnings, StringWarnings(text));
        EXPECT_FLOAT_EQ(a.amount, 0) << raw;
        EXPECT_FLOAT_EQ(a.split_ratio, 0) << raw;
        EXPECT_EQ(a.ex_date, "        ") << raw;
        EXPECT_EQ(a.pay_date, "        ") << raw;
        EXPECT_EQ(a.split_ex_date, "        ") << raw;
    }
}

// A full answer of 200 characters: the last field ends at column 200.
TEST(FeedAnswers, AFieldRunningToColumn200) {
    const std::string answer = std::string(193, 'A') + ",105.25";
    int16_t warnings = 0;
    double price = 0;
    Prsprc(answer, price, warnings, nullptr);
    EXPECT_DOUBLE_EQ(price, 105.25);
    Prsprc(std::string(196, 'A') + ",105", price, warnings, nullptr);
    EXPECT_DOUBLE_EQ(price, 105.0);
    EXPECT_EQ(warnings, 0);
}

}  // namespace
