// Command dispatch: every dispatched command of the command table reaches
// its report code, codes without an entry are not available, the date bar
// is committed first, and the commands with handlers of their own.

#include "shell/dispatch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "shell/command_ids.h"
#include "shell/display_view.h"
#include "shell/runner.h"
#include "tests/shell/road_fixture.h"

namespace {

using namespace shell;
using fixtures::TempDataDir;
using road::Played;

struct Row {
    int id;
    int group;
    int item;
    int code;
};

// The command table: command id, group, item and the code they make.
const std::vector<Row> kCommandTable = {
    {32775, 1, 1, 21},   {32780, 2, 1, 41},    {32781, 2, 2, 42},   {32782, 2, 3, 43},   {32787, 3, 1, 61},
    {32788, 3, 2, 62},   {32792, 4, 1, 81},    {32793, 4, 2, 82},   {32794, 4, 3, 83},   {32795, 4, 4, 84},
    {32796, 4, 5, 85},   {32815, 4, 6, 86},    {32798, 5, 1, 101},  {32799, 5, 2, 102},  {32800, 5, 3, 103},
    {32801, 5, 4, 104},  {32804, 6, 1, 121},   {32809, 7, 1, 141},  {32830, 8, 1, 161},  {32831, 8, 2, 162},
    {32832, 8, 3, 163},  {32849, 8, 4, 164},   {32858, 9, 1, 181},  {32850, 9, 3, 183},  {32859, 9, 2, 182},
    {32860, 4, 7, 87},   {32865, 10, 1, 201},  {32867, 10, 3, 203}, {32868, 10, 4, 204}, {32866, 10, 2, 202},
    {32869, 11, 1, 221}, {32876, 11, 8, 228},  {32874, 11, 6, 226}, {32875, 11, 7, 227}, {32870, 11, 2, 222},
    {32871, 11, 3, 223}, {32873, 11, 5, 225},  {32872, 11, 4, 224}, {32877, 9, 4, 184},  {32878, 5, 6, 106},
    {32882, 5, 7, 107},  {32881, 4, 8, 88},    {32885, 9, 5, 185},  {32899, 13, 1, 261}, {32900, 13, 2, 262},
    {32926, 14, 1, 281}, {32927, 14, 2, 282},  {32928, 14, 3, 283}, {32929, 14, 4, 284}, {32930, 14, 5, 285},
    {32931, 14, 6, 286}, {32932, 14, 7, 287},  {32933, 14, 8, 288}, {32934, 14, 9, 289}, {32935, 14, 10, 290},
    {32893, 12, 3, 243}, {32894, 12, 4, 244},  {32947, 3, 3, 63},   {32948, 4, 9, 89},   {32906, 15, 2, 302},
    {32907, 15, 3, 303}, {32913, 16, 3, 323},  {32912, 16, 2, 322}, {32951, 4, 10, 90},  {32952, 4, 11, 91},
    {32953, 4, 12, 92},  {32955, 14, 11, 291}, {32956, 2, 4, 44},   {32958, 17, 1, 341}, {32960, 17, 2, 342},
    {32961, 17, 3, 343}, {32962, 18, 2, 362},  {32910, 18, 3, 363}, {32964, 9, 6, 186},  {32965, 5, 8, 108},
    {32966, 4, 13, 93},  {32967, 4, 14, 94},   {32968, 5, 9, 109},  {32969, 4, 15, 95},  {32970, 14, 12, 292},
    {32786, 3, 1, 61},   {32810, 1, 1, 21},    {32811, 4, 1, 81},   {32812, 4, 4, 84},   {32834, 2, 1, 41},
    {32838, 7, 1, 141},  {32836, 3, 1, 61},    {32835, 2, 3, 43},   {32837, 3, 2, 62},   {32833, 2, 2, 42},
    {32843, 4, 2, 82},   {32845, 5, 1, 101},   {32848, 5, 2, 102},  {32846, 5, 3, 103},  {32847, 6, 1, 121},
};

using DispatchTest = road::RoadTest;

TEST_F(DispatchTest, EveryCommandOfTheTableDispatchesToItsCode) {
    std::set<int> table_ids;
    for (const DispatchedCommand& c : DispatchedCommands()) table_ids.insert(c.id);
    std::set<int> expected_ids;
    for (const Row& row : kCommandTable) expected_ids.insert(row.id);
    EXPECT_EQ(table_ids, expected_ids);

    for (const Row& row : kCommandTable) {
        SCOPED_TRACE("command " + std::to_string(row.id));
        g_report.CommandGroup = 0;
        g_report.ReportCode = 0;
        ASSERT_TRUE(frame_->IsCommandEnabled(row.id));
        // Whatever the code shows is cancelled: only the code counts here.
        bool invoked = false;
        Play("", [&] { invoked = frame_->InvokeCommand(row.id); });
        EXPECT_TRUE(invoked);
        EXPECT_EQ(g_report.CommandGroup, row.group);
        EXPECT_EQ(g_report.ReportCode, row.code);
        EXPECT_EQ(row.group * 20 + row.item, row.code);
    }
}

TEST_F(DispatchTest, CodesWithoutAnEntryAreNotAvailable) {
    const Row codes[] = {{0, 5, 5, 105}, {0, 4, 16, 96}, {0, 4, 20, 100}, {0, 1, 2, 22}, {0, 18, 1, 361}};
    for (const Row& c : codes) {
        SCOPED_TRACE(c.code);
        const Played played = Play("message \"This item is not available.\" \"Report Diagnostic\" ok\n", [&] {
            g_report.CommandGroup = static_cast<int16_t>(c.group);
            DispatchCommand(*frame_, static_cast<int16_t>(c.item));
        });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        ASSERT_EQ(played.message_boxes.size(), 1u);
        EXPECT_EQ(played.message_boxes[0].flags & 0xF0, platform::MB_ICONEXCLAMATION);
        EXPECT_EQ(g_report.ReportCode, c.code);
    }
}

TEST_F(DispatchTest, TheDateBarIsCommittedBeforeTheCommandRuns) {
    frame_->SetDlgItemText(kSystemDateEdit, "3/5/99");
    const Played played = Play("", [&] { frame_->InvokeCommand(kCmdInitializeTempFiles); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_report.EndDate, "03/05/99");
    EXPECT_EQ(g_report.StartDate, "01/01/99");
    EXPECT_EQ(g_report.ReportCode, 164);
}

TEST_F(DispatchTest, DeleteTransactionsDeletesTheImportOnlyWhenConfirmed) {
    std::ofstream("OFFLINET.DAT") << "downloaded";
    Played played = Play("command 32895\nmessage \"Delete Transaction Import\" \"Diagnostic\" cancel\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_TRUE(TempDataDir::Exists("OFFLINET.DAT"));
    played = Play("command 32895\nmessage \"Delete Transaction Import\" \"Diagnostic\" ok\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_FALSE(TempDataDir::Exists("OFFLINET.DAT"));
}

TEST_F(DispatchTest, CommandsThatOnlyAskOrDoNothing) {
    const Played played = Play(
        "command 32949\n"
        "message \"Are you sure you want to delete the Asset Allocation ?\" \"Confirm Delete\" ok\n"
        "command 32949\n"
        "message \"Are you sure you want to delete the Asset Allocation ?\" \"Confirm Delete\" cancel\n"
        "command 32922\n"
        "command 32963\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(played.message_boxes.size(), 2u);
}

TEST_F(DispatchTest, ImportDialogRoutesItsOutputAndItsCancelEndsTheCommand) {
    int runs = 0;
    bool ok = true;
    RegisterCodeDialog(281, [&](int code, CMainFrame&) {
        ++runs;
        EXPECT_EQ(code, 281);
        g_report.OutputDestination = kOutputDisplay;
        return ok;
    });
    // OK goes on to the output switch; the code has no report routine, so
    // the report left by the previous command does not pass for its
    // output: the switch says the item is not available.
    const std::size_t before = Children();
    road::WritePagedReport(1, "AN EARLIER REPORT");
    Played played = Play("command 32926\nmessage \"This item is not available.\" \"Report Diagnostic\" ok\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(Children(), before);
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));

    // Cancel ends the command there.
    ok = false;
    played = Play("command 32926\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(Children(), before);
    EXPECT_EQ(runs, 2);
    UnregisterCodeDialog(281);

    // Without its dialog the code is not available.
    played = Play("command 32926\nmessage \"This item is not available.\" \"Report Diagnostic\" ok\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
}

TEST_F(DispatchTest, EditTransactionsOpensTheListWithoutTheSelection) {
    int selections = 0;
    RegisterCodeDialog(21, [&](int, CMainFrame&) {
        ++selections;
        return true;
    });
    const std::size_t before = Children();
    Played played = Play("command 32892\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(selections, 0);
    EXPECT_EQ(g_report.EditDownloadedFlag, 1);
    EXPECT_EQ(Children(), before + 1);

    // The transaction editor asks for its selection first.
    g_report.EditDownloadedFlag = 0;
    played = Play("command 32775\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(Children(), before + 2);
    UnregisterCodeDialog(21);

    // Without the transaction subsystem nothing opens and the flag is not
    // left set.
    played = Play("command 32892\nmessage \"This item is not available.\" \"Report Diagnostic\" ok\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_report.EditDownloadedFlag, 0);
    EXPECT_EQ(Children(), before + 2);
}

TEST_F(DispatchTest, InitializeTempFilesRemovesTheWorkFiles) {
    std::ofstream("TEMP1.WRK") << "work";
    std::ofstream("PCONTROL.FIL") << "control";
    const Played played = Play("command 32849\n");
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_report.ReportCode, 164);
    EXPECT_FALSE(TempDataDir::Exists("TEMP1.WRK"));
    EXPECT_FALSE(TempDataDir::Exists("PCONTROL.FIL"));
}

}  // namespace
