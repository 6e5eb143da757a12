// The keystroke filters, typed character by character into a real edit (and
// a combo box's edit part) through the simulated user: the text, the caret
// and the beeps after each case.

#include "shell/key_filters.h"

#include <gtest/gtest.h>

#include "platform/plain_window.h"
#include "platform/scripted_interaction.h"

namespace {

using namespace platform;
using namespace shell;

enum : int { kNumberEdit = 1001, kDateEdit = 1002, kDateCombo = 1003 };

class KeyFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Create("Filters"));
        window.CreateControl(Edit(kNumberEdit), QRect(10, 10, 200, 24));
        window.CreateControl(Edit(kDateEdit), QRect(10, 40, 200, 24));
        window.CreateControl(ComboBox(kDateCombo), QRect(10, 70, 200, 24));
        window.Bind(kNumberEdit, Notify::Changed,
                    [this] { FilterNumberKey(window.GetDlgItem(kNumberEdit)); });
        window.Bind(kDateEdit, Notify::Changed, [this] { FilterDateKey(window.GetDlgItem(kDateEdit)); });
        window.Bind(kDateCombo, Notify::Changed,
                    [this] { FilterDateComboKey(window.GetDlgItem(kDateCombo)); });
        window.ShowWindow(SW_SHOW);
        g_number_entry_flag = 1;
    }
    void TearDown() override { window.DestroyWindow(); }

    int Caret(int id) {
        int start = 0, end = 0;
        window.GetDlgItem(id).GetSel(start, end);
        return end;
    }

    ScriptedInteraction script;
    ScopedInteraction installed{script};
    PlainWindow window;
};

struct TypingCase {
    const char* typed;
    const char* text;
    int caret;
    std::size_t beeps;
};

TEST_F(KeyFilterTest, NumberTyping) {
    const TypingCase cases[] = {
        {"1234", "1,234", 5, 0}, {"1234567.5", "1,234,567.5", 11, 0},
        {"12a", "12", 2, 1},     {"1.2.", "1.2", 3, 1},
        {"12-", "12", 2, 1},     {"-1234", "-1,234", 6, 0},
        {"12,", "12", 2, 1},     {"1 2", "1 ", 2, 1},
        {"  5", "  5", 3, 0},    {".25", ".25", 3, 0},
        {"+-1", "+1", 2, 1},
    };
    for (const TypingCase& c : cases) {
        window.SetDlgItemText(kNumberEdit, "");
        const std::size_t beeps_before = script.Beeps().size();
        EXPECT_EQ(window.UserType(kNumberEdit, c.typed), "");
        EXPECT_EQ(window.GetDlgItemText(kNumberEdit), c.text) << c.typed;
        EXPECT_EQ(Caret(kNumberEdit), c.caret) << c.typed;
        EXPECT_EQ(script.Beeps().size() - beeps_before, c.beeps) << c.typed;
        EXPECT_EQ(g_number_entry_flag, 1) << c.typed;
    }
    for (unsigned type : script.Beeps()) EXPECT_EQ(type, MB_ICONASTERISK);
}

TEST_F(KeyFilterTest, NumberCommasFollowTheCaretInTheMiddle) {
    window.SetDlgItemText(kNumberEdit, "");
    window.UserType(kNumberEdit, "1234");  // 1,234 with the caret at the end
    window.GetDlgItem(kNumberEdit).SetSel(1, 1);
    window.UserType(kNumberEdit, "9");  // 19,234: the caret stays after the 9
    EXPECT_EQ(window.GetDlgItemText(kNumberEdit), "19,234");
    EXPECT_EQ(Caret(kNumberEdit), 2);
    EXPECT_TRUE(script.Beeps().empty());
}

TEST_F(KeyFilterTest, NumberFilterSleepsWhileTheFlagIsClear) {
    g_number_entry_flag = 0;
    window.SetDlgItemText(kNumberEdit, "");
    window.UserType(kNumberEdit, "12x4");
    EXPECT_EQ(window.GetDlgItemText(kNumberEdit), "12x4");
    EXPECT_TRUE(script.Beeps().empty());
}

TEST_F(KeyFilterTest, DateTyping) {
    const TypingCase cases[] = {
        {"1231", "12/31", 5, 0},
        {"12/31/999", "12/31/99", 8, 1},
        {"1a", "1", 1, 1},
        {"123199", "12/31/99", 8, 0},
        {"1/5/99", "1/5/99", 6, 0},
        {"1/2/3/", "1/2/3", 5, 1},
        {"1 ", "1", 1, 1},
        // A year beginning 19 or 20 may take four digits, no more.
        {"12/31/2026", "12/31/2026", 10, 0},
        {"1/5/19991", "1/5/1999", 8, 1},
        {"1/5/3000", "1/5/30", 6, 2},
    };
    for (int id : {kDateEdit, kDateCombo}) {
        for (const TypingCase& c : cases) {
            window.SetDlgItemText(id, "");
            const std::size_t beeps_before = script.Beeps().size();
            EXPECT_EQ(window.UserType(id, c.typed), "");
            EXPECT_EQ(window.GetDlgItemText(id), c.text) << id << " " << c.typed;
            EXPECT_EQ(Caret(id), c.caret) << id << " " << c.typed;
            EXPECT_EQ(script.Beeps().size() - beeps_before, c.beeps) << id << " " << c.typed;
        }
    }
}

TEST_F(KeyFilterTest, DateTextsSetWhole) {
    struct Case {
        const char* set;
        const char* text;
    };
    const Case cases[] = {
        {"   ", ""},               // all blank: emptied
        {" 1/ 5/99", " 1/ 5/99"},  // blanks that pad a one-digit month or day
        {"1 /5/99", "1/5/99"},     // a blank elsewhere goes
        {"123456", "12/34/56"},    // each third digit in a row starts the next part
    };
    for (const Case& c : cases) {
        window.SetDlgItemText(kDateEdit, c.set);
        EXPECT_EQ(window.GetDlgItemText(kDateEdit), c.text) << '"' << c.set << '"';
    }
}

}  // namespace
