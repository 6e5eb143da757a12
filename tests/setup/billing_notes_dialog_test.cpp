// Billing Notes: never-written records shown empty, lines kept whole with
// their leading blanks and letters above 127, records 72 to 74 written by
// OK and left alone by Cancel.

#include "setup/billing_notes_dialog.h"

#include <gtest/gtest.h>

#include "platform/scripted_interaction.h"
#include "records/record.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CBillingNotesDlg;
using setup::kBillingNotesDialogId;
using D = CBillingNotesDlg;

class BillingNotesTest : public ::testing::Test {
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

TEST_F(BillingNotesTest, NeverWrittenRecordsShowEmptyAndOkWritesTheSixLines) {
    // Records 72 to 74 exist but were never written; record 75 follows.
    for (int r = 72; r <= 74; ++r) fixtures::WriteCommonRecord(r, records::Record(128, 0));
    fixtures::WriteCommonRecord(75, records::Record(128, 'z'));
    const std::string full(64, 'F');
    D dialog;
    script_.ExpectDialog(kBillingNotesDialogId);
    for (const int id : D::kLineIds) script_.ExpectText(id, "");
    script_.SetText(D::kLineIds[0], "Fees are due on receipt.")
        .SetText(D::kLineIds[1], "   Indented note")
        .SetText(D::kLineIds[3], full + "overflow")  // held to 64 characters
        .SetText(D::kLineIds[5], "Caf\xE9")
        .Click(D::kOk)
        .ExpectClosed();
    EXPECT_EQ(Run(dialog), IDOK);

    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("COMMON.FIL");
    ASSERT_EQ(bytes.size(), 75u * 128u);
    const std::string blank(64, ' ');
    const std::string expected = records::Fixed("Fees are due on receipt.", 64) +
                                 records::Fixed("   Indented note", 64) + blank + full + blank +
                                 records::Fixed("Caf\xE9", 64);
    EXPECT_EQ(std::string(bytes.begin() + 71 * 128, bytes.begin() + 74 * 128), expected);
    EXPECT_EQ(bytes[74 * 128], 'z');

    D again;
    script_.ExpectDialog(kBillingNotesDialogId)
        .ExpectText(D::kLineIds[1], "   Indented note")
        .ExpectText(D::kLineIds[3], full)
        .ExpectText(D::kLineIds[5], "Caf\xE9")
        .ExpectText(D::kLineIds[2], "")
        .SetText(D::kLineIds[0], "changed")
        .Click(D::kCancel)
        .ExpectClosed();
    EXPECT_EQ(Run(again), IDCANCEL);
    EXPECT_EQ(TempDataDir::ReadBytes("COMMON.FIL"), bytes);
}

}  // namespace
