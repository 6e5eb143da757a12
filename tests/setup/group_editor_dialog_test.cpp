// The Group Editor: opening on group.dat and super.dat, choosing, making,
// filling, describing and deleting groups and super groups, the captions
// that follow the mode and the name, and the files written only by Done.

#include "setup/group_editor_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/scripted_interaction.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/temp_dir.h"

namespace {

using namespace platform;
using fixtures::TempDataDir;
using setup::CGroupEditorDlg;
using setup::kGroupEditorDialogId;
using D = CGroupEditorDlg;

void WriteText(const std::string& name, const std::string& text) {
    TempDataDir::WriteBytes(name, {text.begin(), text.end()});
}

std::string ReadText(const std::string& name) {
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(name);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> Lines(const Window& w, int id) {
    const Control c = w.GetDlgItem(id);
    std::vector<std::string> lines;
    for (int i = 0; i < c.GetCount(); ++i) lines.push_back(c.GetText(i));
    return lines;
}

const std::string kGroups = "GROWTH Growth accounts\r\n2\r\nACC001\r\nACC002\r\nINCOME \r\n1\r\nACC003\r\n";
const std::string kSupers = "BOTH Growth and income\r\n2\r\nGROWTH\r\nINCOME\r\n";

class GroupEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::WriteAccounts({{.id = "ACC001"}, {.id = "ACC002"}, {.id = "ACC003"}});
        WriteText("group.dat", kGroups);
        WriteText("super.dat", kSupers);
        script_.ExpectDialog(kGroupEditorDialogId);
    }

    int Run() {
        const int result = dialog_.DoModal();
        for (const std::string& failure : script_.Failures()) ADD_FAILURE() << failure;
        EXPECT_EQ(script_.StepsLeft(), 0u);
        return result;
    }

    TempDataDir dir_;
    ScriptedInteraction script_;
    ScopedInteraction installed_{script_};
    D dialog_;
};

TEST_F(GroupEditorTest, OpensOnTheGroupsWithNothingChosen) {
    script_.ExpectChecked(D::kGroupMode, true)
        .Run("opening",
             [&]() -> std::string {
                 if (Lines(dialog_, D::kNameList) != std::vector<std::string>{"GROWTH", "INCOME"})
                     return "names";
                 if (Lines(dialog_, D::kCandidateList) !=
                     std::vector<std::string>{"ACC001", "ACC002", "ACC003"})
                     return "candidates";
                 return Lines(dialog_, D::kMemberList).empty() ? "" : "members";
             })
        .ExpectText(D::kNameFrame, "Select Group to Edit")
        .ExpectText(D::kCandidateFrame, "Accounts")
        .ExpectText(D::kMemberFrame, "Contents of Group")
        .ExpectText(D::kDeleteButton, "Delete Group ")
        .ExpectEnabled(D::kDeleteButton, false)
        .ExpectEnabled(D::kCandidateList, false)
        .ExpectEnabled(D::kDescriptionEdit, false)
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(GroupEditorTest, ChoosingAGroupShowsItsMembersDescriptionAndCaptions) {
    script_.SelectText(D::kNameList, "GROWTH")
        .ExpectText(D::kNameEdit, "GROWTH")
        .ExpectText(D::kNameShown, "GROWTH")
        .ExpectText(D::kDescriptionEdit, "Growth accounts")
        .ExpectText(D::kDeleteButton, "Delete Group GROWTH")
        .ExpectText(D::kRemovePrompt, "Select Account to Remove From Group GROWTH")
        .ExpectText(D::kAddPrompt, "Select Account to Add to Group GROWTH")
        .ExpectText(D::kDescriptionLabel, "Description of Group GROWTH")
        .ExpectEnabled(D::kDeleteButton, true)
        .ExpectEnabled(D::kCandidateList, true)
        .Run("members",
             [&] {
                 return Lines(dialog_, D::kMemberList) == std::vector<std::string>{"ACC001", "ACC002"}
                            ? ""
                            : "members";
             })
        .Click(D::kSuperMode)
        .ExpectText(D::kCandidateFrame, "Groups")
        .ExpectText(D::kNameFrame, "Select Super Group to Edit")
        .ExpectText(D::kMemberFrame, "Contents of Super Group")
        .SelectText(D::kNameList, "BOTH")
        .ExpectText(D::kRemovePrompt, "Select Group to Remove From Super Group BOTH")
        .ExpectText(D::kAddPrompt, "Select Group to Add to Super Group BOTH")
        .ExpectText(D::kDeleteButton, "Delete Super Group BOTH")
        .Run("super group",
             [&]() -> std::string {
                 if (Lines(dialog_, D::kMemberList) != std::vector<std::string>{"GROWTH", "INCOME"})
                     return "members";
                 return Lines(dialog_, D::kCandidateList) == std::vector<std::string>{"GROWTH", "INCOME"}
                            ? ""
                            : "candidates";
             })
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(GroupEditorTest, DoneWithoutChangesWritesTheSameFiles) {
    script_.SelectText(D::kNameList, "INCOME").Click(D::kDone).ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(ReadText("group.dat"), kGroups);
    EXPECT_EQ(ReadText("super.dat"), kSupers);
}

TEST_F(GroupEditorTest, NewGroupFilledDescribedAndSaved) {
    script_
        .Type(D::kNameEdit, "NEW-1")  // the "-" is refused
        .ExpectText(D::kNameEdit, "NEW1")
        .Focus(D::kNameList)  // leaving the name makes the group
        .Run("made",
             [&] {
                 return Lines(dialog_, D::kNameList) == std::vector<std::string>{"GROWTH", "INCOME", "NEW1"}
                            ? ""
                            : "names";
             })
        .SelectText(D::kCandidateList, "ACC003")
        .SelectText(D::kCandidateList, "ACC001")
        .SelectText(D::kCandidateList, "ACC003")  // already a member
        .Run("members",
             [&] {
                 return Lines(dialog_, D::kMemberList) == std::vector<std::string>{"ACC003", "ACC001"}
                            ? ""
                            : "members";
             })
        .SelectText(D::kMemberList, "ACC003")  // a member chosen is taken out
        .SetText(D::kDescriptionEdit, "New accounts")
        .Focus(D::kNameList)
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(script_.Beeps(), std::vector<unsigned>{MB_ICONASTERISK});
    EXPECT_EQ(ReadText("group.dat"), kGroups + "NEW1 New accounts\r\n1\r\nACC001\r\n");
    EXPECT_EQ(ReadText("super.dat"), kSupers);
}

TEST_F(GroupEditorTest, BeginningOfAnExistingNameMakesNoGroup) {
    script_.SetText(D::kNameEdit, "grow")
        .Focus(D::kNameList)
        .Run("names",
             [&] {
                 return Lines(dialog_, D::kNameList) == std::vector<std::string>{"GROWTH", "INCOME"}
                            ? ""
                            : "names";
             })
        // No group is named exactly so: a candidate adds nothing.
        .SelectText(D::kCandidateList, "ACC001")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(ReadText("group.dat"), kGroups);
}

TEST_F(GroupEditorTest, NewSuperGroupOfGroups) {
    script_.Click(D::kSuperMode)
        .SetText(D::kNameEdit, "ALL")
        .Focus(D::kNameList)
        .SelectText(D::kCandidateList, "INCOME")
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(ReadText("super.dat"), kSupers + "ALL \r\n1\r\nINCOME\r\n");
    EXPECT_EQ(ReadText("group.dat"), kGroups);
}

// Delete names what it deletes, a group or a super group, and asks first.
struct DeleteCase {
    const char* name;
    bool super_mode;
    const char* chosen;
    const char* question;
    std::string group_file;  // after Done
    std::string super_file;  // after Done; empty: any that no longer holds the chosen name
};

class GroupEditorDelete : public GroupEditorTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(GroupEditorDelete, AsksFirstNamingWhatItDeletes) {
    const DeleteCase& c = GetParam();
    if (c.super_mode) script_.Click(D::kSuperMode);
    std::vector<std::string> before;
    script_.SelectText(D::kNameList, c.chosen)
        .Run("before",
             [&] {
                 before = Lines(dialog_, D::kNameList);
                 return std::string();
             })
        .Click(D::kDeleteButton)
        .ExpectMessageBox(c.question, IDCANCEL, "Confirm Delete")
        .Run("kept", [&] { return Lines(dialog_, D::kNameList) == before ? "" : "deleted"; })
        .Click(D::kDeleteButton)
        .ExpectMessageBox(c.question, IDOK, "Confirm Delete")
        .ExpectText(D::kNameEdit, "")
        .ExpectEnabled(D::kDeleteButton, false)
        .Run("gone",
             [&] {
                 std::vector<std::string> left = before;
                 std::erase(left, std::string(c.chosen));
                 return Lines(dialog_, D::kNameList) == left && left.size() + 1 == before.size() ? ""
                                                                                                 : "names";
             })
        .Click(D::kDone)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(ReadText("group.dat"), c.group_file);
    if (c.super_file.empty())
        EXPECT_EQ(ReadText("super.dat").find(c.chosen), std::string::npos) << ReadText("super.dat");
    else
        EXPECT_EQ(ReadText("super.dat"), c.super_file);
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupEditorDelete,
                         ::testing::Values(
                             // A super group naming the deleted group keeps the name.
                             DeleteCase{"Group", false, "GROWTH",
                                        "Are you sure you want to delete Group GROWTH",
                                        "INCOME \r\n1\r\nACC003\r\n", kSupers},
                             DeleteCase{"SuperGroup", true, "BOTH",
                                        "Are you sure you want to delete Super Group BOTH", kGroups, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GroupEditorTest, EscapeWritesNothing) {
    script_.SelectText(D::kNameList, "GROWTH")
        .SelectText(D::kMemberList, "ACC001")
        .Click(D::kSuperMode)
        .SetText(D::kNameEdit, "XYZ")
        .Focus(D::kNameList)
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(ReadText("group.dat"), kGroups);
    EXPECT_EQ(ReadText("super.dat"), kSupers);
}

TEST_F(GroupEditorTest, FileThatCannotBeWrittenKeepsTheDialogOpen) {
    std::filesystem::create_directory("super.dat.new");
    script_.SelectText(D::kNameList, "GROWTH")
        .SelectText(D::kMemberList, "ACC002")
        .Click(D::kDone)
        .ExpectMessageBox("Unable to write super.dat", IDOK, "Group Editor")
        .Run("still open", [&] { return dialog_.IsEnded() ? "closed" : ""; })
        .Press(Key::Escape)
        .ExpectClosed();
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(ReadText("super.dat"), kSupers);
}

TEST(GroupEditor, MissingFilesOpenEmptyAndDoneMakesThem) {
    TempDataDir dir;
    ScriptedInteraction script;
    ScopedInteraction installed(script);
    script.ExpectDialog(kGroupEditorDialogId).Click(D::kDone).ExpectClosed();
    D dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Failures().empty());
    EXPECT_EQ(ReadText("group.dat"), "");
    EXPECT_EQ(ReadText("super.dat"), "");
}

}  // namespace
