// The script driver's steps on a main window of its own: menu paths whose
// captions hold "/" or "&", the focus leaving the window's control, child
// windows and the top-level menu items.

#include <gtest/gtest.h>

#include "platform/main_frame.h"
#include "platform/view.h"
#include "tests/tools/script_driver.h"

namespace {

using namespace platform;

class DoneView : public View {
public:
    void OnInitialUpdate() override {
        CreateControl(Button(50, "Done"), QRect(10, 10, 80, 30));
        CreateControl(CheckBox(53, "Disable"), QRect(100, 10, 80, 30));
        Bind(50, Notify::Clicked, [this] { GetParentFrame()->PostClose(); });
        GetParentFrame()->SetWindowText("Report");
    }
};

class ScriptMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            frame.Create("Test", {Popup("&File", {Command(1, "E&xit\tAlt+F4")}),
                                  Popup("Modules", {Popup("Asset Allocation", {Command(2, "Input/Modify")}),
                                                    Command(3, "Jack White && Company")})}));
        frame.AddToolBarEdit(61447, 8);
        frame.Bind(1, Notify::Clicked, [this] { log += "exit "; });
        frame.Bind(2, Notify::Clicked, [this] { log += "input "; });
        frame.Bind(3, Notify::Clicked, [this] { log += "jack "; });
        frame.Bind(61447, Notify::FocusLost, [this] { log += "left:" + frame.GetDlgItemText(61447) + " "; });
        frame.ShowWindow(SW_SHOW);
    }
    std::string Failures() {
        std::string all;
        for (const std::string& f : driver.Failures()) all += f + "\n";
        return all;
    }

    MainFrame frame;
    tools::ScriptDriver driver{&frame};
    std::string log;
};

TEST_F(ScriptMenuTest, MenuPathsReadAsThePersonSeesThem) {
    EXPECT_TRUE(
        driver.Run("menu \"File/Exit\"\n"
                   "menu \"Modules/Asset Allocation/Input/Modify\"\n"
                   "menu \"Modules/Jack White & Company\"\n"
                   "expect-menu \"File\" on\n"
                   "expect-menu \"Modules\" on\n"))
        << Failures();
    EXPECT_EQ(log, "exit input jack ");
    EXPECT_FALSE(driver.Run("menu \"Modules/Asset Allocation\"\n"));
    EXPECT_NE(Failures().find("there is no menu item \"Modules/Asset Allocation\""), std::string::npos);
    frame.DeleteTopLevelMenu("Modules");
    EXPECT_FALSE(driver.Run("expect-menu \"Modules\" on\n"));
    EXPECT_NE(Failures().find("the menu bar has no item \"Modules\""), std::string::npos);
}

TEST_F(ScriptMenuTest, LeaveRunsTheFocusLostOfTheControl) {
    EXPECT_TRUE(driver.Run("set 61447 \"01/02/03\"\nleave\nleave\n")) << Failures();
    EXPECT_EQ(log, "left:01/02/03 ");  // the second leave finds no control with the focus
}

TEST_F(ScriptMenuTest, ChildWindowSteps) {
    DocTemplateList templates;
    templates.Add({"Report", [] { return std::make_unique<DoneView>(); }});
    frame.OpenView(*templates.Get(0));
    EXPECT_TRUE(
        driver.Run("children 1\n"
                   "child-open \"Report\"\n"
                   "child active expect-visible 53 on\n"
                   "child \"Report\" check 53 on\n"
                   "child \"Report\" click 50\n"
                   "child-closed \"Report\"\n"
                   "children 0\n"))
        << Failures();
    EXPECT_FALSE(driver.Run("child \"Report\" click 50\n"));
    EXPECT_NE(Failures().find("the child window \"Report\" is not open"), std::string::npos) << Failures();
    EXPECT_FALSE(driver.Run("child \"Report\" press 50\n"));
    EXPECT_NE(Failures().find("is not a child window step"), std::string::npos) << Failures();
}

// Which child window is active and whether it is maximized: it must be in
// that state and fill the area, a frame held to a smaller size is not.
TEST_F(ScriptMenuTest, ActiveAndMaximizedChildSteps) {
    DocTemplateList templates;
    templates.Add({"Report", [] { return std::make_unique<DoneView>(); }});
    frame.GetWidget()->resize(800, 600);
    ChildFrame* first = frame.OpenView(*templates.Get(0));
    ChildFrame* second = frame.OpenView(*templates.Get(0));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(driver.Run("child-active \"Report:2\"\nchild active expect-maximized off\n")) << Failures();
    EXPECT_FALSE(driver.Run("child-active \"Report\"\n"));
    EXPECT_NE(Failures().find("the active child window is \"Report:2\", not \"Report\""), std::string::npos)
        << Failures();
    EXPECT_FALSE(driver.Run("child \"Report\" expect-maximized on\n"));
    EXPECT_NE(Failures().find("the child window \"Report\" is not maximized"), std::string::npos)
        << Failures();

    second->ShowWindow(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(driver.Run("child \"Report:2\" expect-maximized on\nchild \"Report\" expect-maximized off\n"))
        << Failures();
    EXPECT_FALSE(driver.Run("child active expect-maximized off\n"));
    EXPECT_NE(Failures().find("the active child window is maximized"), std::string::npos) << Failures();
    second->GetWidget()->setMaximumSize(300, 200);
    EXPECT_FALSE(driver.Run("child active expect-maximized on\n"));
    EXPECT_NE(Failures().find("is maximized but fills 300x200 of the area's"), std::string::npos)
        << Failures();
    EXPECT_FALSE(driver.Run("child active expect-maximized maybe\n"));
    EXPECT_NE(Failures().find("\"maybe\" is not on or off"), std::string::npos) << Failures();
}

}  // namespace
