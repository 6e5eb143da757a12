// The program colours: entries added as windows ask for them, the colour
// file's round trip (only entries with colours, no stale bytes of a longer
// old file), colouring of a dialog, and the colour dialog.

#include "shell/colors.h"

#include <gtest/gtest.h>

#include <QPalette>
#include <QWidget>
#include <fstream>

#include "platform/scripted_interaction.h"
#include "shell/color_dialog.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;
using fixtures::TempDataDir;

class ColorsTest : public ::testing::Test {
protected:
    void SetUp() override { ColorList().clear(); }
    void TearDown() override { ColorList().clear(); }
    TempDataDir dir;
};

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const CColorCntrl& e : ColorList()) names.push_back(e.name);
    return names;
}

TEST_F(ColorsTest, UnknownNamesAreAddedOnceWithoutColours) {
    CtlColorContext dc;
    EXPECT_EQ(GetCtlColorBrush(dc, "Letterhead Dialog"), nullptr);
    EXPECT_EQ(GetCtlColorBrush(dc, "Letterhead Dialog"), nullptr);
    EXPECT_EQ(GetCtlColorBrush(dc, ""), nullptr);
    EXPECT_EQ(Names(), std::vector<std::string>{"Letterhead Dialog"});
    EXPECT_FALSE(dc.transparent);
    EXPECT_FALSE(dc.text_color);
}

TEST_F(ColorsTest, AnEntryWithColoursGivesItsBrushAndTextColour) {
    CtlColorContext none;
    GetCtlColorBrush(none, "Options Text");
    FindColorEntry("Options Text")->desc.background = Rgb(10, 20, 30);
    FindColorEntry("Options Text")->desc.text = Rgb(200, 0, 0);
    CtlColorContext dc;
    const QBrush* brush = GetCtlColorBrush(dc, "Options Text");
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->color(), QColor(10, 20, 30));
    EXPECT_EQ(brush->style(), Qt::SolidPattern);
    EXPECT_TRUE(dc.transparent);
    EXPECT_EQ(dc.text_color, Rgb(200, 0, 0));
}

TEST_F(ColorsTest, FileRoundTripKeepsOnlyColouredEntriesAndEmptiesTheList) {
    ColorList() = {{"A Dialog", {Rgb(1, 2, 3), 0, {}}},
                   {"B Listbox", {0, 0, {}}},
                   {"C Text", {0, Rgb(4, 5, 6), {}}},
                   {"Name with \xe9 and more Scrollbar", {Rgb(7, 8, 9), Rgb(10, 11, 12), {}}}};
    ASSERT_TRUE(SaveColors());
    EXPECT_TRUE(ColorList().empty());
    ASSERT_TRUE(LoadColors());
    ASSERT_EQ(Names(), (std::vector<std::string>{"A Dialog", "C Text", "Name with \xe9 and more Scrollbar"}));
    EXPECT_EQ(ColorList()[0].desc.background, Rgb(1, 2, 3));
    EXPECT_EQ(ColorList()[1].desc.text, Rgb(4, 5, 6));
    EXPECT_EQ(ColorList()[2].desc.background, Rgb(7, 8, 9));
    EXPECT_EQ(ColorList()[2].desc.text, Rgb(10, 11, 12));
}

TEST_F(ColorsTest, AShorterListLeavesNoStaleBytesOfTheOldFile) {
    for (int i = 0; i < 30; ++i)
        ColorList().push_back({"Window " + std::to_string(i) + " Dialog", {Rgb(1, 1, 1), 0, {}}});
    ASSERT_TRUE(SaveColors());
    const auto long_size = TempDataDir::ReadBytes(kColorFile).size();
    ColorList() = {{"X Dialog", {Rgb(9, 9, 9), 0, {}}}};
    ASSERT_TRUE(SaveColors());
    const auto bytes = TempDataDir::ReadBytes(kColorFile);
    EXPECT_LT(bytes.size(), long_size);
    EXPECT_EQ(bytes.size(), 4u + 4u + 4u + 8u + 4u + 4u);  // mark, count, one entry
    ASSERT_TRUE(LoadColors());
    EXPECT_EQ(Names(), std::vector<std::string>{"X Dialog"});
    EXPECT_FALSE(TempDataDir::Exists(std::string(kColorFile) + ".new"));
}

TEST_F(ColorsTest, MissingOrDamagedFileStartsEmpty) {
    ColorList() = {{"Old Dialog", {Rgb(1, 1, 1), 0, {}}}};
    EXPECT_TRUE(LoadColors());  // no file: no colours chosen yet
    EXPECT_TRUE(ColorList().empty());
    for (const std::string& junk : {std::string("LCOL\x05\0\0\0", 8), std::string("not a colour file"),
                                    std::string("LCOL\x01\0\0\0\xff\xff\xff\x7f", 12), std::string()}) {
        TempDataDir::WriteBytes(kColorFile, std::vector<unsigned char>(junk.begin(), junk.end()));
        EXPECT_FALSE(LoadColors());
        EXPECT_TRUE(ColorList().empty());
    }
}

TEST_F(ColorsTest, ADialogAsksForItsKindsAndTakesItsBackground) {
    Dialog letterhead(
        {191, "Letterhead", Column({Label("Firm"), ListBox(10), ScrollBar(11), Button(IDOK, "OK")})});
    ASSERT_TRUE(letterhead.Create());
    ColorWindow(letterhead);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Letterhead Dialog", "Letterhead Listbox",
                                                 "Letterhead Scrollbar", "Letterhead Text"}));
    const QColor before = letterhead.GetWidget()->palette().color(QPalette::Window);

    FindColorEntry("Letterhead Dialog")->desc.background = Rgb(0, 128, 255);
    FindColorEntry("Letterhead Listbox")->desc.text = Rgb(255, 0, 0);
    ColorWindow(letterhead);
    EXPECT_EQ(letterhead.GetWidget()->palette().color(QPalette::Window), QColor(0, 128, 255));
    EXPECT_NE(before, QColor(0, 128, 255));
    EXPECT_EQ(letterhead.GetDlgItem(10).Widget()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(ColorList().size(), 4u);
    letterhead.DestroyWindow();
}

TEST_F(ColorsTest, ColourDialogSetsTheSelectedEntrysBackground) {
    ColorList() = {{"Options Dialog", {0, Rgb(1, 1, 1), {}}}, {"Letterhead Text", {}}};
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    CColorSelectDlg dialog;
    script.ExpectDialog(134)
        .Run("the entries listed, the first selected",
             [&]() -> std::string {
                 Control list = dialog.GetDlgItem(CColorSelectDlg::kEntryList);
                 if (list.GetCount() != 2 || list.GetText(0) != "Options Dialog" || list.GetCurSel() != 0)
                     return "the list is not as expected";
                 return {};
             })
        .SelectText(CColorSelectDlg::kEntryList, "Letterhead Text")
        .Click(CColorSelectDlg::kSelectColor)
        .AnswerColorDialog(Rgb(12, 34, 56))
        .Click(IDOK)
        .ExpectClosed();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(FindColorEntry("Letterhead Text")->desc.background, Rgb(12, 34, 56));
    EXPECT_EQ(FindColorEntry("Letterhead Text")->desc.text, 0u);
    EXPECT_EQ(FindColorEntry("Options Dialog")->desc.background, 0u);
}

}  // namespace
