// Message boxes, the common dialogs, beeps and the wait cursor through the
// interaction seam.

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <filesystem>
#include <fstream>

#include "platform/common_dialogs.h"
#include "platform/feedback.h"
#include "platform/scripted_interaction.h"

namespace {

using namespace platform;

TEST(MessageBoxFlagsTest, ButtonsAndEscapeAnswers) {
    struct Row {
        unsigned flags;
        std::vector<int> answers;
        int escape;
    };
    const Row rows[] = {
        {MB_OK | MB_ICONEXCLAMATION, {IDOK}, IDOK},
        {MB_OKCANCEL, {IDOK, IDCANCEL}, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, 0},
        {MB_YESNOCANCEL | MB_ICONQUESTION, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, 0},
        {MB_RETRYCANCEL | MB_ICONSTOP, {IDRETRY, IDCANCEL}, IDCANCEL},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MessageBoxAnswers(r.flags), r.answers) << r.flags;
        EXPECT_EQ(MessageBoxEscapeAnswer(r.flags), r.escape) << r.flags;
    }
}

class SeamTest : public ::testing::Test {
protected:
    ScriptedInteraction script{[](const std::string&) {}};
    ScopedInteraction installed{script};
};

TEST_F(SeamTest, MessageBoxesAnsweredInTurn) {
    script.ExpectMessageBox("Delete Transaction Import", IDOK, "Diagnostic")
        .ExpectMessageBox(std::nullopt, IDNO)  // any text
        .ExpectMessageBox("Retry?", IDRETRY);
    EXPECT_EQ(MessageBox("Delete Transaction Import", "Diagnostic", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBox("Are you sure?", "Confirm Delete", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Retry?", "Line", MB_RETRYCANCEL), IDRETRY);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(script.MessageBoxes().size(), 3u);
    EXPECT_EQ(script.MessageBoxes()[1].caption, "Confirm Delete");
}

TEST_F(SeamTest, UnexpectedMessageBoxFailsWithItsText) {
    EXPECT_EQ(MessageBox("This item is not available.", "Report Diagnostic", MB_OK | MB_ICONEXCLAMATION),
              IDOK);
    ASSERT_EQ(script.Failures().size(), 1u);
    EXPECT_EQ(script.Failures()[0],
              "unexpected message box \"Report Diagnostic\": \"This item is not available.\": the script has "
              "ended");
}

TEST_F(SeamTest, CaptionMustMatchWhenGiven) {
    script.ExpectMessageBox("Illegal System Date", IDOK, "Illegal System Date");
    EXPECT_EQ(MessageBox("Illegal System Date", "Other", MB_OK), IDOK);
    ASSERT_TRUE(script.Failed());
    EXPECT_NE(script.Failures()[0].find("expects the caption \"Illegal System Date\""), std::string::npos);
}

TEST_F(SeamTest, FileDialogsTakeTheScriptsName) {
    const std::filesystem::path existing = std::filesystem::temp_directory_path() / "ledra-seam-prices.pri";
    std::ofstream(existing) << "x";
    script.AnswerFileDialog(existing.string()).AnswerFileDialog(std::nullopt).AnswerFileDialog("NEW.TXT");
    FileDialogRequest open;
    open.filter = "Price Files (*.pri)|*.pri|All Files (*.*)|*.*||";
    EXPECT_EQ(GetOpenFileName(open), existing.string());
    EXPECT_EQ(GetOpenFileName(open), std::nullopt);  // cancelled
    EXPECT_EQ(GetSaveFileName({}), "NEW.TXT");       // a new file may be named for saving
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(script.FileDialogs().size(), 3u);
    EXPECT_EQ(script.FileDialogs()[0].filter, open.filter);
    EXPECT_TRUE(script.FileDialogs()[2].save);
    std::filesystem::remove(existing);
}

TEST_F(SeamTest, OpenDialogRefusesAMissingFile) {
    script.AnswerFileDialog("/no/such/file.trn");
    EXPECT_EQ(GetOpenFileName({}), std::nullopt);
    ASSERT_TRUE(script.Failed());
    EXPECT_NE(script.Failures()[0].find("does not exist"), std::string::npos);
}

TEST_F(SeamTest, FontColourAndPrinterDialogs) {
    script.AnswerFontDialog(FontChoice{"Courier", 10})
        .AnswerColorDialog(Rgb(255, 0, 0))
        .AnswerColorDialog(std::nullopt)
        .AnswerPrintDialog(true)
        .AnswerPrintDialog(false);
    const auto font = ChooseFont({});
    ASSERT_TRUE(font);
    EXPECT_EQ(font->face, "Courier");
    EXPECT_EQ(ChooseColor({}), std::optional<ColorRef>(0x0000FFu));
    EXPECT_EQ(ChooseColor({}), std::nullopt);
    QPrinter printer(QPrinter::ScreenResolution);
    EXPECT_TRUE(PrintSetupDialog(printer));
    EXPECT_FALSE(PrintDialog(printer));
    EXPECT_FALSE(script.Failed());
}

TEST_F(SeamTest, BeepsAreCounted) {
    MessageBeep(MB_ICONASTERISK);
    MessageBeep();
    EXPECT_EQ(script.Beeps(), (std::vector<unsigned>{MB_ICONASTERISK, MB_OK}));
}

TEST(FileFilterTest, ClassicFiltersSplitIntoPairs) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(ParseFileFilter("Transaction Files (*.trn)|*.trn|All Files (*.*)|*.*||"),
              (Pairs{{"Transaction Files (*.trn)", "*.trn"}, {"All Files (*.*)", "*.*"}}));
    EXPECT_EQ(ParseFileFilter("Asset Allocation Export File (*.*)|*.*||"),
              (Pairs{{"Asset Allocation Export File (*.*)", "*.*"}}));
    EXPECT_EQ(ParseFileFilter("Text|*.txt;*.lst"), (Pairs{{"Text", "*.txt;*.lst"}}));
    EXPECT_EQ(ParseFileFilter(""), Pairs{});
}

TEST(WaitCursorTest, Nests) {
    EXPECT_FALSE(WaitCursor::IsShown());
    {
        WaitCursor outer;
        {
            WaitCursor inner;
            EXPECT_TRUE(WaitCursor::IsShown());
        }
        EXPECT_TRUE(WaitCursor::IsShown());
    }
    EXPECT_FALSE(WaitCursor::IsShown());
}

}  // namespace
