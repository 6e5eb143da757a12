// Property sheets under the scripted interaction: pages initialised when
// first shown, OK applying the shown pages in order, a refusing page
// keeping the sheet open on it, Cancel applying nothing, the same control
// id on two pages, Enter moving the focus, the script step `page ID`, and
// the keys of a page beside the sheet's OK and Cancel.

#include "platform/property_sheet.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <string>
#include <vector>

#include "platform/dialog_keys.h"
#include "platform/scripted_interaction.h"
#include "tests/tools/script_driver.h"

namespace {

using namespace platform;

constexpr int kSheetId = 900;
constexpr int kField = 1001;  // on both pages
constexpr int kOther = 1002;

// A page with two edits that records what happens to it.
class LogPage : public PropertyPage {
public:
    LogPage(int id, std::string caption, std::vector<std::string>& log, std::string refuse_text = "")
        : PropertyPage({id, caption, Column({Edit(kField), Edit(kOther)})}),
          log_(log),
          refuse_text_(std::move(refuse_text)) {}
    bool OnInitDialog() override {
        log_.push_back("init " + Caption());
        SetDlgItemText(kField, Caption());
        return true;
    }
    bool OnApply() override {
        const std::string text = GetDlgItemText(kField);
        log_.push_back("apply " + Caption() + " " + text);
        return refuse_text_.empty() || text != refuse_text_;
    }

private:
    std::vector<std::string>& log_;
    std::string refuse_text_;
};

struct SheetRun {
    std::vector<std::string> log;
    LogPage one{801, "One", log};
    LogPage two{802, "Two", log, "bad"};
    LogPage three{803, "Three", log};
    int result = 0;
    void Sheet() {
        PropertySheet sheet(kSheetId, "Sheet");
        sheet.AddPage(&one);
        sheet.AddPage(&two);
        sheet.AddPage(&three);
        result = sheet.DoModal();
    }
};

TEST(PropertySheet, PagesInitialiseWhenShownAndApplyInOrder) {
    struct Case {
        const char* name;
        std::string script;
        int result;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {"OK at once applies the first page only",
         "dialog 900\nexpect-text 1001 One\nclick 1\nclosed\n",
         IDOK,
         {"init One", "apply One One"}},
        {"pages apply in page order, not the order shown",
         "dialog 900\npage 803\nset 1001 C\npage 802\nclick 1\nclosed\n",
         IDOK,
         {"init One", "init Three", "init Two", "apply One One", "apply Two Two", "apply Three C"}},
        {"a refusing page keeps the sheet open on it",
         "dialog 900\npage 802\nset 1001 bad\npage 803\nclick 1\n"
         "expect-text 1001 bad\nset 1001 good\nclick 1\nclosed\n",
         IDOK,
         {"init One", "init Two", "init Three", "apply One One", "apply Two bad", "apply One One",
          "apply Two good", "apply Three Three"}},
        {"Cancel applies nothing",
         "dialog 900\npage 802\nset 1001 X\nclick 2\nclosed\n",
         IDCANCEL,
         {"init One", "init Two"}},
        {"Escape on a page cancels the sheet",
         "dialog 900\nfocus 1002\nkey escape\nclosed\n",
         IDCANCEL,
         {"init One"}},
        {"Enter moves the focus and closes nothing",
         "dialog 900\nfocus 1001\nkey enter\nset 1002 typed\nclick 1\nclosed\n",
         IDOK,
         {"init One", "apply One One"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SheetRun run;
        const tools::ParsedScript parsed = tools::ParseScript(c.script, nullptr);
        ASSERT_TRUE(parsed.errors.empty()) << parsed.errors.front();
        ScriptedInteraction script{[](const std::string&) {}};
        for (const ScriptStep& step : parsed.steps) script.Add(step);
        ScopedInteraction installed(script);
        run.Sheet();
        script.FailIfStepsLeft();
        for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.log, c.log);
    }
}

TEST(PropertySheet, PageStepNeedsAKnownPage) {
    SheetRun run;
    ScriptedInteraction script{[](const std::string&) {}};
    ScopedInteraction installed(script);
    script.ExpectDialog(kSheetId).SelectPage(999);
    run.Sheet();
    ASSERT_FALSE(script.Failures().empty());
    EXPECT_NE(script.Failures().front().find("has no page 999"), std::string::npos)
        << script.Failures().front();
    EXPECT_EQ(run.result, IDCANCEL);
}

// A page shows in the sheet's window, beside the sheet's OK and Cancel:
// its controls take other letters than theirs ("Acct. Short Name" not
// Alt+C), while two pages, never shown together, may share one.
TEST(PropertySheet, PagesLeaveTheSheetsKeysToItsButtons) {
    const auto page_table = [](int id, const char* caption) {
        return DialogTemplate{id, caption,
                              Column({Row({Label("Acct. Short Name"), Edit(kField)}),
                                      Row({Label("Other Name"), Edit(kOther)})})};
    };
    PropertyPage one(page_table(801, "One"));
    PropertyPage two(page_table(802, "Two"));
    PropertySheet sheet(kSheetId, "Sheet");
    sheet.AddPage(&one);
    sheet.AddPage(&two);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(KeyFaults(sheet), std::vector<std::string>{});
    const auto label_of = [](PropertyPage& page, int field) {
        for (QLabel* label : page.GetWidget()->findChildren<QLabel*>())
            if (label->buddy() == page.GetDlgItem(field).Widget()) return label->text().toStdString();
        return std::string();
    };
    EXPECT_EQ(label_of(one, kField), "&Acct. Short Name");
    EXPECT_EQ(label_of(two, kField), "&Acct. Short Name");
    EXPECT_EQ(label_of(one, kOther), "Other &Name");
    sheet.DestroyWindow();

    // An own letter of a page that a sheet's button holds is a fault of
    // that page.
    PropertyPage own({803, "Own", Column({CheckBox(kField, "&Cancel Orders")})});
    PropertySheet second(kSheetId, "Sheet");
    second.AddPage(&own);
    ASSERT_TRUE(second.Create());
    EXPECT_EQ(KeyFaults(second),
              std::vector<std::string>{"page \"Own\": Alt+C is \"Cancel\" and \"Cancel Orders\""});
    second.DestroyWindow();
}

}  // namespace
