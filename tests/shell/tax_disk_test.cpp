// The tax disk check: OK proves that A:IRSTAX can be made (the folder A of
// the data directory), says so when it cannot and waits; Enter and Escape
// do not close the dialog, Cancel does.

#include "shell/tax_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/scripted_interaction.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using namespace shell;
using fixtures::TempDataDir;
using D = CCheckDriveADlg;

void ExpectNoFailures(const ScriptedInteraction& script) {
    for (const std::string& failure : script.Failures()) ADD_FAILURE() << failure;
    EXPECT_EQ(script.StepsLeft(), 0u);
}

TEST(TaxDisk, DiskInTheDriveEndsTheCheckAndLeavesNoOldFile) {
    TempDataDir dir;
    std::filesystem::create_directory("A");
    std::ofstream("A/IRSTAX") << "old tax records\n";
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kCheckDriveADialogId).Click(D::kOkButton).ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists("A/IRSTAX"));
}

struct NoDiskCase {
    std::string name;
    void (*prepare)();
};

class TaxDiskMissing : public ::testing::TestWithParam<NoDiskCase> {};

TEST_P(TaxDiskMissing, ReportsTheDiskAndWaitsForAnotherTryOrCancel) {
    TempDataDir dir;
    GetParam().prepare();
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kCheckDriveADialogId)
        .Click(D::kOkButton)
        .ExpectMessageBox("Unable to create file on A: (floppy drive)", IDOK, "Disk Error")
        // Escape and Enter move the focus; the dialog stays.
        .Press(Key::Escape)
        .Focus(D::kOkButton)
        .Run("still open", [] { return std::string(); })
        .Click(D::kOkButton)
        .ExpectMessageBox("Unable to create file on A: (floppy drive)", IDOK, "Disk Error")
        .Click(D::kCancelButton)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ExpectNoFailures(script);
    ASSERT_EQ(script.MessageBoxes().size(), 2u);
    EXPECT_EQ(script.MessageBoxes()[0].flags & MB_ICONMASK, MB_ICONEXCLAMATION);
}

INSTANTIATE_TEST_SUITE_P(Drives, TaxDiskMissing,
                         ::testing::Values(NoDiskCase{"NoFolderA", [] {}},
                                           // A file where the folder should be: nothing can be
                                           // made inside it.
                                           NoDiskCase{"FolderAIsAFile", [] { std::ofstream("A") << "x"; }}),
                         [](const auto& info) { return info.param.name; });

TEST(TaxDisk, DiskPutInAfterTheFirstTry) {
    TempDataDir dir;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kCheckDriveADialogId)
        .Click(D::kOkButton)
        .ExpectMessageBox("Unable to create file on A: (floppy drive)", IDOK, "Disk Error")
        .Run("insert the disk",
             [] { return std::filesystem::create_directory("A") ? "" : "could not make A"; })
        .Click(D::kOkButton)
        .ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ExpectNoFailures(script);
}

}  // namespace
