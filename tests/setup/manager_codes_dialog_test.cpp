// Portfolio Manager Codes: the 100-slot table read and written back with
// the bytes of records 10 and 83 that are not slots kept, a short code
// padded, the emptied table, the full table that takes no new code, and
// Delete's confirmation.

#include "setup/manager_codes_dialog.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/common_file.h"
#include "records/record.h"
#include "shell/manager_codes.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CManagerCodesDlg;
using setup::kManagerCodesDialogId;
using D = CManagerCodesDlg;

// The code of slot n (1-100) in a full table: "M001" to "M100".
std::string SlotCode(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "M%03d", n);
    return text;
}

// Writes records 10 and 81-83 with the codes in their slots (blank slots
// after the last), record 10 bytes 1-16 and 57-128 and record 83 bytes
// 105-128 holding bytes of their own.
void WriteTable(const std::vector<std::string>& codes) {
    struct Part {
        int record;
        std::size_t offset;
        int count;
    };
    const Part parts[] = {{10, 16, 10}, {81, 0, 32}, {82, 0, 32}, {83, 0, 26}};
    std::size_t next = 0;
    for (const Part& p : parts) {
        records::Record rec(128, 0);
        for (std::size_t b = 0; b < 128; ++b) rec.data()[b] = static_cast<unsigned char>(0x80 + b % 64);
        for (int k = 0; k < p.count; ++k, ++next)
            rec.SetText(p.offset + 4 * k, 4, next < codes.size() ? codes[next] : "");
        fixtures::WriteCommonRecord(p.record, rec);
    }
}

std::vector<std::string> Lines(const Window& w) {
    const Control c = w.GetDlgItem(D::kCodes);
    std::vector<std::string> lines;
    for (int i = 0; i < c.GetCount(); ++i) lines.push_back(c.GetText(i));
    return lines;
}

class ManagerCodesTest : public ::testing::Test {
protected:
    int Run(D& dialog) {
        const int result = dialog.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
};

TEST_F(ManagerCodesTest, AFullTableSurvivesOpeningAndDoneByteForByte) {
    std::vector<std::string> codes;
    for (int n = 1; n <= 100; ++n) codes.push_back(SlotCode(n));
    WriteTable(codes);
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("COMMON.FIL");
    D dialog;
    script_.ExpectDialog(kManagerCodesDialogId)
        .Run("all 100 codes, slots 41, 42, 73 and 74 among them",
             [&] { return Lines(dialog) == codes ? "" : "lines"; })
        .ExpectText(D::kCodes, "M001")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), before);
}

TEST_F(ManagerCodesTest, ATwoCharacterCodeIsStoredWithTwoBlanksAndListedWithThem) {
    WriteTable({"JS", "", "KLM"});  // a blank slot between codes
    {
        D dialog;
        script_.ExpectDialog(kManagerCodesDialogId)
            .Run("listed",
                 [&] {
                     return Lines(dialog) == std::vector<std::string>{"JS  ", "KLM "} ? "" : "lines";
                 })
            .SetText(D::kCodes, "AB")
            .Press(Key::Enter)  // Enter moves on: leaving the box adds the code
            .ExpectText(D::kCodes, "AB")
            .SetText(D::kCodes, "KLM ")
            .Focus(D::kDone)  // equal to a line: not added again
            .Run("added",
                 [&] {
                     return Lines(dialog) == std::vector<std::string>{"JS  ", "KLM ", "AB"} ? "" : "lines";
                 })
            .Click(D::kDone)
            .ExpectClosed();
        EXPECT_EQ(Run(dialog), IDOK);
    }
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("COMMON.FIL");
    EXPECT_EQ(std::string(bytes.begin() + 9 * 128 + 16, bytes.begin() + 9 * 128 + 32), "JS  KLM AB      ");
    EXPECT_EQ(bytes[9 * 128 + 15], 0x80 + 15);  // record 10 byte 16 kept
    int16_t position = -999, status = 0;
    records::Chksec("AB  ", position, status);
    EXPECT_EQ(status, records::kChksecFound);

    D again;
    script_.ExpectDialog(kManagerCodesDialogId)
        .Run("listed again",
             [&] {
                 return Lines(again) == std::vector<std::string>{"JS  ", "KLM ", "AB  "} ? "" : "lines";
             })
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(again), IDCANCEL);
}

TEST_F(ManagerCodesTest, DeletingEveryCodeWritesBlankSlots) {
    WriteTable({"AAA", "BBB"});
    D dialog;
    script_.ExpectDialog(kManagerCodesDialogId)
        .Click(D::kDelete)
        .ExpectMessageBox("Are you sure you want to delete Manager Code AAA ", IDCANCEL, "Confirm Delete")
        .Run("kept", [&] { return Lines(dialog).size() == 2 ? "" : "lines"; })
        .Click(D::kDelete)
        .ExpectMessageBox("Are you sure you want to delete Manager Code AAA ", IDOK, "Confirm Delete")
        .ExpectText(D::kCodes, "BBB ")
        .Click(D::kDelete)
        .ExpectMessageBox("Are you sure you want to delete Manager Code BBB ", IDOK, "Confirm Delete")
        .Run("empty", [&] { return Lines(dialog).empty() ? "" : "lines"; })
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("COMMON.FIL");
    EXPECT_EQ(std::string(bytes.begin() + 9 * 128 + 16, bytes.begin() + 9 * 128 + 56), std::string(40, ' '));
    for (const int r : {81, 82})
        EXPECT_EQ(std::string(bytes.begin() + (r - 1) * 128, bytes.begin() + r * 128), std::string(128, ' '));
    EXPECT_EQ(std::string(bytes.begin() + 82 * 128, bytes.begin() + 82 * 128 + 104), std::string(104, ' '));
    EXPECT_EQ(bytes[82 * 128 + 104], 0x80 + 104 % 64);  // record 83 beyond the slots kept
    for (const char* code : {"AAA ", "BBB ", "????"}) {
        int16_t position = -999, status = 0;
        records::Chksec(code, position, status);
        EXPECT_NE(status, records::kChksecFound) << code;
    }
}

TEST_F(ManagerCodesTest, AFullTableTakesNoNewCode) {
    std::vector<std::string> codes;
    for (int n = 1; n <= 100; ++n) codes.push_back(SlotCode(n));
    WriteTable(codes);
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("COMMON.FIL");
    D dialog;
    script_.ExpectDialog(kManagerCodesDialogId)
        .SetText(D::kCodes, "NEW")
        .Focus(D::kDone)
        .ExpectMessageBox(shell::kManagerTableFullText, IDOK, shell::kManagerTableFullCaption)
        .Run("not added", [&] { return Lines(dialog) == codes ? "" : "lines"; })
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), before);
}

}  // namespace
