#include "engine/entry_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record.h"

namespace {

using engine::EntryForm;

TEST(EntryFormFields, PadsCutsAndCollectsRejections) {
    EntryForm form;
    form.SetField(2, "IBM");
    form.SetField(3, std::string(100, 'x'));
    EXPECT_EQ(form.Field(2), "IBM" + std::string(77, ' '));
    EXPECT_EQ(form.Field(3).size(), 80u);
    EXPECT_EQ(form.Field(18), std::string(80, ' '));
    EXPECT_FALSE(form.Rejected(1, 20));

    form.Reject(5, "Bad.");
    form.Reject(19);
    EXPECT_TRUE(form.Rejected(1, 18));
    EXPECT_EQ(form.Flag(5), 1);
    EXPECT_EQ(form.Message(5), "Bad." + std::string(76, ' '));
    EXPECT_EQ(form.Message(19), std::string(80, ' '));
    EXPECT_FALSE(form.Rejected(6, 18));

    form.ClearResults();
    EXPECT_FALSE(form.Rejected(1, 20));
    EXPECT_EQ(form.Message(5), std::string(80, ' '));
    EXPECT_EQ(engine::Pakwrd(form.Field(2), 12), "IBM         ");
}

struct NumberCase {
    std::string text;
    bool reads;
    double value;
};

TEST(EntryFormNumbers, ReadUnderTheFixedPointLayout) {
    const std::vector<NumberCase> cases = {
        {"1234.5", true, 1234.5},
        {"-0.05", true, -0.05},
        {"100", true, 0.01},           // no point: the last four digits are decimals
        {"  1 000.00", true, 1000.0},  // blanks count as nothing
        {"", true, 0.0},
        {"abc", false, 0.0},
        {"1,000.00", false, 0.0},
        {"1e5", false, 0.0},
        // Only the first 20 characters are read.
        {"12345678901234567.00" + std::string(10, '9'), true, 12345678901234567.0},
    };
    for (const NumberCase& c : cases) {
        EntryForm form;
        form.SetField(10, c.text);
        double d = 99;
        EXPECT_EQ(engine::ReadEntryNumber(form.Field(10), d), c.reads) << c.text;
        EXPECT_DOUBLE_EQ(d, c.value) << c.text;
        float f = 99;
        engine::ReadEntryNumber(form.Field(10), f);
        EXPECT_FLOAT_EQ(f, static_cast<float>(c.value)) << c.text;
    }
}

TEST(EntryFormNumbers, ValuesTooWideForTheLayoutAreNotNumeric) {
    for (double v : {0.0, -1234.5678, 999999999999999.0}) {
        int16_t flag = 0;
        std::string message(80, ' ');
        engine::Cknum8(v, flag, message);
        EXPECT_EQ(flag, 0) << v;
        EXPECT_EQ(message, std::string(80, ' '));
    }
    for (double v : {1e16, -1e15, 1e300}) {
        int16_t flag = 0;
        std::string message;
        engine::Cknum8(v, flag, message);
        EXPECT_EQ(flag, 1) << v;
        EXPECT_EQ(records::TrimRight(message), "Value must be numeric.");
    }
    int16_t flag = 0;
    std::string message;
    engine::Cknum4(3.0e20f, flag, message);
    EXPECT_EQ(flag, 1);
}

struct DateCase {
    std::string typed;
    float low, high;
    std::string message;    // "" when the date passes
    std::string rewritten;  // a date that only fails its bounds is rewritten too
    float number;           // for a passing date, and for one that only fails its bounds
};

TEST(EntryFormDates, CkdatmChecksRewritesAndExplains) {
    const std::vector<DateCase> cases = {
        {"12/31/98", 0, 1991231, "", "12/31/98", 981231},
        {"1/5/03", 0, 1991231, "", " 1/ 5/03", 1030105},
        {"2/29/95", 0, 1991231, "", " 2/29/95", 950229},    // February always has 29 days
        {"1/2/3/45", 0, 1991231, "", " 2/ 3/45", 1450203},  // left of the month is not read
        {" 6/ 1/50", 0, 1991231, "", " 6/ 1/50", 1500601},  // 50 is still in the 2000s
        {"6/1/51", 0, 1991231, "", " 6/ 1/51", 510601},
        {"2/30/98", 0, 1991231, "Date 2/30/98  not valid.", "", 0},
        {"13/01/98", 0, 1991231, "Date 13/01/98 not valid.", "", 0},
        {"00/10/98", 0, 1991231, "Date 00/10/98 not valid.", "", 0},
        {"4/31/98", 0, 1991231, "Date 4/31/98  not valid.", "", 0},
        {"12-31-98", 0, 1991231, "Invalid form, enter date in form MO/DA/YR.", "", 0},
        {"123/1/95", 0, 1991231, "Invalid form, enter date in form MO/DA/YR.", "", 0},
        {"1/95", 0, 1991231, "Invalid form, enter date in form MO/DA/YR.", "", 0},
        {"", 0, 1991231, "Invalid form, enter date in form MO/DA/YR.", "", 0},
        {"01/01/95", 950615, 1991231, "Date must be no earlier than  6/15/95.", " 1/ 1/95", 950101},
        {"06/01/05", 0, 1050531, "Date must be no later than  5/31/05.", " 6/ 1/05", 1050601},
        {"01/01/00", 0, 1001231, "", " 1/ 1/00", 1000101},
        {"01/02/00", 0, 1000101, "Date must be no later than  1/ 1/00.", " 1/ 2/00", 1000102},
        // A bound whose year part fits two places is shown under I2 as it is.
        {"1/1/51", 0, 51231, "Date must be no later than 12/31/ 5.", " 1/ 1/51", 510101},
    };
    for (const DateCase& c : cases) {
        std::string date = records::Fixed(c.typed, 8);
        const std::string before = date;
        int16_t flag = 7;
        float number = -1;
        std::string message(80, ' ');
        engine::Ckdatm(date, flag, number, c.low, c.high, message);
        if (c.message.empty()) {
            EXPECT_EQ(flag, 0) << c.typed;
            EXPECT_EQ(date, c.rewritten) << c.typed;
            EXPECT_EQ(number, c.number) << c.typed;
            EXPECT_EQ(message, std::string(80, ' ')) << c.typed;
        } else {
            EXPECT_EQ(flag, 1) << c.typed;
            EXPECT_EQ(records::TrimRight(message), c.message) << c.typed;
            EXPECT_EQ(message.size(), 80u);
            EXPECT_EQ(date, c.rewritten.empty() ? before : c.rewritten) << c.typed;
            // The number is stored before the bounds are tested.
            EXPECT_EQ(number, c.number == 0 ? -1.0f : c.number) << c.typed;
        }
    }
}

TEST(EntryFormDates, DateTextNumberWindowsAndTreatsBlankAsNone) {
    EXPECT_EQ(engine::DateTextNumber("01/02/95"), 950102.0f);
    EXPECT_EQ(engine::DateTextNumber(" 6/15/10"), 1100615.0f);
    EXPECT_EQ(engine::DateTextNumber("        "), 0.0f);
    EXPECT_EQ(engine::DateTextNumber("ab/cd/ef"), 0.0f);
}

}  // namespace
