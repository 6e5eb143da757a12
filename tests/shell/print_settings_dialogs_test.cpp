// The printer options, report font and letterhead dialogs: what they show,
// what they refuse, and what they store in COMMON.FIL records 80 and 22 to
// 24, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/letterhead.h"
#include "records/record.h"
#include "shell/command_ids.h"
#include "shell/letterhead_dialog.h"
#include "shell/message_list.h"
#include "shell/printer_options_dialog.h"
#include "shell/printer_settings.h"
#include "shell/report_font_dialog.h"
#include "tests/shell/road_fixture.h"

namespace {

using namespace shell;
using fixtures::TempDataDir;
using road::Played;

records::Record ReadCommon(int n) {
    records::DirectFile common(records::kCommonFile, 128, false);
    records::Record rec;
    common.Read(n, rec);
    return rec;
}

void WriteCommon(int n, const records::Record& rec) {
    records::DirectFile(records::kCommonFile, 128).Write(n, rec);
}

// A printer settings record with every byte told apart: the fields, and
// bytes nobody owns that must come back as they were.
records::Record SettingsRecord(int16_t page_length, int16_t top, float left, float right, int32_t intensity,
                               const std::string& face) {
    records::Record rec(128);
    for (std::size_t i = 0; i < 128; ++i) rec.data()[i] = static_cast<unsigned char>(0x80 + i % 64);
    rec.SetI16(0, page_length);
    rec.SetI16(2, top);
    rec.SetR4(4, left);
    rec.SetR4(12, right);
    rec.SetI32(20, intensity);
    for (std::size_t i = 0; i < face.size(); ++i) rec.data()[64 + i] = static_cast<unsigned char>(face[i]);
    if (face.size() < 32) rec.data()[64 + face.size()] = 0;
    rec.SetI16(124, records::kPrinterMark1);
    rec.SetI16(126, records::kPrinterMark2);
    return rec;
}

class PrintSettingsTest : public road::RoadTest {};

TEST_F(PrintSettingsTest, PrinterOptionsShowTheSettings) {
    struct Case {
        const char* what;
        int16_t page_length, top;
        float left, right;
        int32_t intensity;
        const char* script;
    };
    const Case cases[] = {
        {"page length given", 57, 3, 0.5f, 0.25f, 4,
         "expect-check 1182 off\nexpect-enabled 1183 on\nexpect-text 1183 \"60\"\nexpect-text 1184 \"3\"\n"
         "expect-text 1445 \"0.5000\"\nexpect-text 1446 \"0.2500\"\nexpect-text 1447 \"4\"\n"
         "expect-text 1451 \"Nimbus Mono PS\"\n"},
        {"automatic", 0, 2, 1.0f, 0.0f, 0,
         "expect-check 1182 on\nexpect-enabled 1183 off\nexpect-text 1184 \"2\"\nexpect-text 1445 "
         "\"1.0000\"\n"
         "expect-text 1446 \"0.0000\"\n"
         // Cleared, the field shows the length files get, with the top margin.
         "check 1182 off\nexpect-enabled 1183 on\nexpect-text 1183 \"60\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_printer = {c.page_length, c.top, c.left, c.right, c.intensity, "Nimbus Mono PS"};
        const Played played = Play(std::string("dialog 180\n") + c.script + "click 1140\nclosed\n",
                                   [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
    }
}

TEST_F(PrintSettingsTest, PrinterOptionsDoneStoresRecord80AndThePageSettings) {
    struct Case {
        const char* what;
        const char* edits;
        int16_t page_length, top;
        float left, right;
        int32_t intensity;
    };
    const Case cases[] = {
        {"page length less the top margin", "set 1183 \"60\"\nset 1184 \"3\"\n", 57, 3, 0.5f, 0.5f, 2},
        {"at least 5 lines", "set 1183 \"6\"\nset 1184 \"3\"\n", 5, 3, 0.5f, 0.5f, 2},
        {"automatic stores 0", "check 1182 on\n", 0, 1, 0.5f, 0.5f, 2},
        {"margins and intensity", "set 1445 \"0.75\"\nset 1446 \"1.5\"\nset 1447 \"9\"\n", 50, 1, 0.75f, 1.5f,
         9},
        {"the largest page length", "set 1183 \"99999\"\nset 1184 \"0\"\n", 32767, 0, 0.5f, 0.5f, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const records::Record before = SettingsRecord(50, 1, 0.5f, 0.5f, 2, "Courier");
        WriteCommon(80, before);
        g_printer = ReadPrinterSettings();
        const Played played = Play(std::string("dialog 180\n") + c.edits + "click 1004\nclosed\n",
                                   [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        const records::Record expected =
            SettingsRecord(c.page_length, c.top, c.left, c.right, c.intensity, "Courier");
        EXPECT_EQ(ReadCommon(80).bytes(), expected.bytes());
        EXPECT_EQ(g_printer.PrinterPageLength, c.page_length);
        EXPECT_EQ(g_printer.PrinterTopLines, c.top);
        EXPECT_EQ(g_printer.LeftMargin, c.left);
        EXPECT_EQ(g_printer.RightMargin, c.right);
        EXPECT_EQ(g_printer.PrinterIntensity, c.intensity);
    }
}

TEST_F(PrintSettingsTest, PrinterOptionsUnchangedKeepRecord80ByteForByte) {
    // A face blank-padded rather than ended by a zero byte, and odd bytes
    // everywhere the dialog does not own.
    records::Record before = SettingsRecord(55, 4, 0.3f, 1.25f, 7, "");
    before.SetText(64, 32, "Courier New");
    WriteCommon(80, before);
    g_printer = ReadPrinterSettings();
    const Played played =
        Play("dialog 180\nclick 1004\nclosed\n", [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(ReadCommon(80).bytes(), before.bytes());
}

TEST_F(PrintSettingsTest, PrinterOptionsRefuseMarginsOutsideZeroToSix) {
    const records::Record before = SettingsRecord(50, 1, 0.5f, 0.5f, 2, "Courier");
    WriteCommon(80, before);
    g_printer = ReadPrinterSettings();
    const Played played = Play(
        "dialog 180\n"
        "set 1445 \"6.5\"\n"
        "set 1446 \"-1\"\n"
        "click 1004\n"
        "dialog 142\n"  // the errors window, on top until Done
        "  expect-text 1177 \"1.Left margin < 0.0 or > 6.0 : 6.5\"\n"
        "  click 1\n"
        "closed\n"
        "expect-visible 1183 on\n"  // still open
        "set 1445 \"6\"\n"
        "set 1446 \"0\"\n"
        "click 1004\n"
        "closed\n",
        [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(ReadCommon(80).bytes(), SettingsRecord(50, 1, 6.0f, 0.0f, 2, "Courier").bytes());
    ClearMessageList();

    WriteCommon(80, before);
    g_printer = ReadPrinterSettings();
    const Played refused =
        Play("dialog 180\nset 1445 \"6.5\"\nclick 1004\ndialog 142\nclick 1\nclosed\nclick 1140\nclosed\n",
             [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
    EXPECT_TRUE(refused.failures.empty()) << refused.Failures();
    EXPECT_EQ(ReadCommon(80).bytes(), before.bytes());
    EXPECT_EQ(g_printer.LeftMargin, 0.5f);
}

TEST_F(PrintSettingsTest, MarginMessagesNameTheTypedText) {
    g_printer = PrinterSettings();
    std::vector<std::string> shown;
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectDialog(CPrinterOptionsDlg::kDialogId)
        .SetText(CPrinterOptionsDlg::kLeftMargin, "6.5")
        .SetText(CPrinterOptionsDlg::kRightMargin, "7")
        .SetText(CPrinterOptionsDlg::kIntensity, "x")
        .Click(CPrinterOptionsDlg::kDone)
        .ExpectDialog(kReportErrorsDialogId)
        .Run("the messages",
             [&] {
                 shown = GetMessages();
                 return std::string();
             })
        .Click(platform::IDOK)
        .ExpectClosed()
        .Click(CPrinterOptionsDlg::kCancel)
        .ExpectClosed();
    CPrinterOptionsDlg dialog(frame_);
    EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[0].find("Left margin < 0.0 or > 6.0 : 6.5"), std::string::npos) << shown[0];
    EXPECT_NE(shown[1].find("Right margin < 0.0 or > 6.0 : 7"), std::string::npos) << shown[1];
    EXPECT_NE(shown[2].find("Intensity < 0 or > 9 : x"), std::string::npos) << shown[2];
    // Cancel empties the list.
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(PrintSettingsTest, PageLengthAndTopMarginTakeDigitsOnly) {
    g_printer = PrinterSettings();
    g_printer.PrinterPageLength = 50;
    const Played played = Play(
        "dialog 180\n"
        "set 1184 \"\"\n"
        "type 1184 \"1a\"\n"
        "expect-text 1184 \"1\"\n"
        "set 1183 \"\"\n"
        "type 1183 \"6x0\"\n"
        "expect-text 1183 \"60\"\n"
        "click 1004\n"
        "closed\n",
        [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_printer.PrinterPageLength, 59);
    EXPECT_EQ(g_printer.PrinterTopLines, 1);
}

TEST_F(PrintSettingsTest, SelectFontTakesTheChosenFaceIntoRecord80) {
    WriteCommon(80, SettingsRecord(50, 1, 0.5f, 0.5f, 2, "Courier"));
    g_printer = ReadPrinterSettings();
    const Played played = Play(
        "dialog 180\n"
        "click 1450\nfont cancel\nexpect-text 1451 \"Courier\"\n"
        "click 1450\nfont \"DejaVu Sans Mono\" 12\nexpect-text 1451 \"DejaVu Sans Mono\"\n"
        "click 1004\nclosed\n",
        [&] { frame_->InvokeCommand(kCmdPrinterOptions); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(ReadCommon(80).bytes(), SettingsRecord(50, 1, 0.5f, 0.5f, 2, "DejaVu Sans Mono").bytes());
    EXPECT_EQ(g_printer.PrinterFontName, "DejaVu Sans Mono");
}

TEST(ReportFont, AsksForFixedPitchFacesAndKeepsTheFaceWhenCancelled) {
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.AnswerFontDialog(platform::FontChoice{"Noto Mono", 14, true, false})
        .AnswerFontDialog(std::nullopt);
    CMyFont font("Courier");
    EXPECT_EQ(font.DoModal(), platform::IDOK);
    EXPECT_EQ(font.GetFaceName(), "Noto Mono");
    EXPECT_EQ(font.DoModal(), platform::IDCANCEL);
    EXPECT_EQ(font.GetFaceName(), "Noto Mono");
    EXPECT_TRUE(script.Failures().empty());
}

TEST_F(PrintSettingsTest, LetterheadShowsStoresAndRoundTripsRecords22To24) {
    // Records with other bytes after record 22's tails.
    records::Record tails(128, 'z');
    WriteCommon(22, tails);
    records::LetterheadLines lines;
    lines[0] = "LEDRA TEST ADVISERS, INVESTMENT COUNSEL";  // 39 characters
    lines[1] = "1 MAIN STREET";
    lines[4] = std::string(40, 'X');
    lines[5] = "Phone 555-0100";
    lines[7] = std::string(32, '8');
    records::Wletrhd(lines);
    const std::vector<unsigned char> r22 = ReadCommon(22).bytes(), r23 = ReadCommon(23).bytes(),
                                     r24 = ReadCommon(24).bytes();

    Played played = Play(
        "dialog 191\n"
        "expect-text 1246 \"LEDRA TEST ADVISERS, INVESTMENT COUNSEL\"\n"
        "expect-text 1248 \"1 MAIN STREET\"\n"
        "expect-text 1249 \"\"\n"
        "expect-text 1250 \"XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX\"\n"
        "expect-text 1251 \"Phone 555-0100\"\n"
        "expect-text 1253 \"88888888888888888888888888888888\"\n"
        "click 1380\n"
        "closed\n",
        [&] { frame_->InvokeCommand(kCmdLetterhead); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(ReadCommon(22).bytes(), r22);
    EXPECT_EQ(ReadCommon(23).bytes(), r23);
    EXPECT_EQ(ReadCommon(24).bytes(), r24);
    for (std::size_t i = 40; i < 128; ++i) EXPECT_EQ(r22[i], 'z');

    // A typed line is stored blank-padded to its width; the fields take no
    // more than their widths; Cancel stores nothing.
    played = Play(
        "dialog 191\n"
        "set 1247 \"SUITE 10\"\n"
        "type 1252 \"" +
            std::string(40, 'c') +
            "\"\n"
            "expect-text 1252 \"" +
            std::string(32, 'c') +
            "\"\n"
            "click 1380\n"
            "closed\n"
            "command 32950\n"
            "dialog 191\n"
            "set 1247 \"NOT STORED\"\n"
            "click 1140\n"
            "closed\n",
        [&] { frame_->InvokeCommand(kCmdLetterhead); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    const records::LetterheadLines read = records::Letrhd();
    EXPECT_EQ(read[3], "SUITE 10" + std::string(32, ' '));
    EXPECT_EQ(read[6], std::string(32, 'c'));
    EXPECT_EQ(read[0], lines[0] + " ");
    EXPECT_EQ(ReadCommon(23).Text(96, 32), "SUITE 10" + std::string(24, ' '));
}

}  // namespace
