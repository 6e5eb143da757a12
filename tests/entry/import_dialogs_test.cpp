// The import dialog (167), the Map Transaction Codes dialog (178) and the
// Block Size Computation dialog (183) through their menu commands, and the
// member imports end to end: from an empty data directory to the accounts
// the Account dialog lists, and to the off-line lines Edit Transactions
// lists.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/import_transactions_dialog.h"
#include "member_file.h"
#include "platform/dialog.h"
#include "platform/scripted_interaction.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"
#include "shell/report_globals.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/program_run.h"

namespace {

using fixtures::TempDataDir;
using records::Record;

class ImportDialogsTest : public ::testing::Test {
protected:
    void Start() {
        run_ = std::make_unique<tools::ProgramRun>(
            dir_.path(), tools::ProgramRun::Options{.today = tools::LocalDate(1998, 12, 8)});
        ASSERT_TRUE(run_->Started());
    }
    void Script(const std::string& text) {
        EXPECT_TRUE(run_->RunScript(text));
        for (const std::string& f : run_->Failures()) ADD_FAILURE() << f;
    }

    TempDataDir dir_;
    std::unique_ptr<tools::ProgramRun> run_;
};

// The dialog of each code: its caption, and the groups that belong to
// other codes hidden and disabled.
TEST(ImportDialogTest, CaptionAndGroupsByCode) {
    struct Case {
        int code;
        int16_t source;
        const char* caption;
        bool deposits;
        bool members;
    };
    const Case cases[] = {
        {44, 4, "Import Transactions: Fidelity", false, true},
        {281, 1, "Import Transactions: Bear Stearns", false, false},
        {291, 11, "Import Transactions: Credit Union", true, false},
        {292, 12, "Import Transactions: American Skandia", false, false},
        {322, 0, "Asset Allocation Report", false, false},
        {323, 0, "Post Asset Allocation", false, false},
    };
    using D = entry::CImportTransactionsDlg;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TempDataDir dir;
        shell::g_report.ReportCode = c.code;
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        script.ExpectDialog(entry::kImportTransactionsDialogId)
            .Run("caption",
                 [&] {
                     platform::Dialog* d = platform::Dialog::FindOpen(entry::kImportTransactionsDialogId);
                     const std::string caption = d ? d->GetWindowText() : "";
                     return caption == c.caption ? std::string() : "caption " + caption;
                 })
            .ExpectVisible(D::kDepositsGroup, c.deposits)
            .ExpectVisible(D::kTransferDate, c.deposits)
            .ExpectVisible(D::kTransferDateLabel, c.deposits)
            .ExpectVisible(D::kBuyRadio, c.deposits)
            .ExpectVisible(D::kCashCodeCheck, c.members)
            .ExpectVisible(D::kCashCodeLabel, c.members)
            .ExpectVisible(D::kColumn, c.members)
            .ExpectVisible(D::kColumnSpin, c.members)
            .ExpectVisible(D::kStart, c.members)
            .ExpectVisible(D::kStartLabel, c.members)
            .ExpectVisible(1167, false)
            .ExpectChecked(1173, true)
            .Click(platform::IDCANCEL)
            .ExpectClosed();
        D dialog(nullptr);
        dialog.SetSourceIndex(c.source);
        EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
        for (const std::string& f : script.Failures()) ADD_FAILURE() << f;
        EXPECT_EQ(script.StepsLeft(), 0u);
    }
}

// Member accounts: the proposed identifier, the column edit and its spin,
// the file name's length, a directory, and the starting identifier's
// range; 32767 is taken, and the request reaches the globals.
TEST_F(ImportDialogsTest, MemberImportRequest) {
    const std::string name47 = std::string(43, 'M') + ".DAT";
    const std::string name48 = std::string(44, 'M') + ".DAT";
    fixtures::WriteMemberFile(name47, {});
    fixtures::WriteMemberFile(name48, {});
    std::filesystem::create_directory("FOLDER");
    Start();
    Script(
        "menu \"Setup/Import Member Accounts\"\n"
        "dialog 167\n"
        "  expect-text 1402 \"00001\"\n"
        "  expect-text 1399 \"1\"\n"
        "  expect-check 1396 on\n"
        "  set 1399 \"7\"\n"
        "  expect-text 1399 \"4\"\n"
        "  set 1399 \"0\"\n"
        "  expect-text 1399 \"1\"\n"
        "  spin 1398 up\n"
        "  expect-text 1399 \"2\"\n"
        "  spin 1398 up\n"
        "  spin 1398 up\n"
        "  spin 1398 up\n"
        "  expect-text 1399 \"4\"\n"
        "  spin 1398 down\n"
        "  spin 1398 down\n"
        "  spin 1398 down\n"
        "  spin 1398 down\n"
        "  expect-text 1399 \"1\"\n"
        "  set 1095 \"" +
        name48 +
        "\"\n"
        "  set 1402 \"32768\"\n"
        "  click 1\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1." +
        name48 +
        ": Illegal import file name or file does not exist.\"\n"
        "    expect-text 2 \"2.Account number greater than 32767\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1095 \"FOLDER\"\n"
        "  set 1402 \"0\"\n"
        "  set 1399 \"\"\n"
        "  click 1\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.FOLDER: Illegal import file name or file does not exist.\"\n"
        "    expect-text 2 \"2.Empty Column Number.\"\n"
        "    expect-text 3 \"3.Illegal Starting Account ID: 0\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1095 \"" +
        name47 +
        "\"\n"
        "  set 1399 \"3\"\n"
        "  check 1396 off\n"
        "  set 1402 \"32767\"\n"
        "  click 1174\n"
        "  set 1167 \"MEMBERS.TXT\"\n"
        "  click 1\n"
        "closed\n"
        "exists MEMBERS.TXT\n"
        "contains MEMBERS.TXT \"DOWNLOAD CLIENT DATA REPORT\"\n");
    EXPECT_EQ(shell::g_report.ListFileName, name47);
    EXPECT_EQ(shell::g_report.ReportFlag1, 0);
    EXPECT_EQ(shell::g_report.LedgerSecurityType.substr(0, 2), std::string("\x03\x00", 2));
    EXPECT_EQ(shell::g_report.SelectedAccount, "32767");
}

// A stored identifier that Nxtacid refuses: its message in a box, and the
// starting identifier left empty (OK then asks for one).
TEST_F(ImportDialogsTest, RefusedStoredIdentifierLeavesTheEditEmpty) {
    fixtures::WriteMemberFile("MEMBERS.DAT", {});
    Start();
    {
        records::DirectFile common("COMMON.FIL", 128);
        Record rec(128, 0);
        rec.SetText(0, 8, "010000  ");
        common.Write(29, rec);
    }
    Script(
        "menu \"Setup/Import Member Accounts\"\n"
        "dialog 167\n"
        "  message \"Starting account identifier is too large.\" \"Diagnostic\" ok\n"
        "  expect-text 1402 \"\"\n"
        "  set 1095 \"MEMBERS.DAT\"\n"
        "  click 1\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.Illegal Starting Account ID: \"\n"
        "    click 1\n"
        "  closed\n"
        "  click 2\n"
        "closed\n");
}

// The export file of the asset allocation report: an empty name passes;
// an existing file is left as it was; a directory does not pass.
TEST_F(ImportDialogsTest, AssetAllocationExportName) {
    TempDataDir::WriteBytes("EXPORT.DAT", {'k', 'e', 'e', 'p'});
    Start();
    const auto before = std::filesystem::last_write_time("EXPORT.DAT");
    std::filesystem::create_directory("FOLDER");
    Script(
        "command 32912\n"
        "dialog 167\n"
        "  set 1095 \"FOLDER\"\n"
        "  click 1\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.FOLDER: Illegal export file name.\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1095 \"EXPORT.DAT\"\n"
        "  click 1\n"
        "closed\n"
        "message \"This item is not available.\" \"Report Diagnostic\" ok\n"
        "command 32912\n"
        "dialog 167\n"
        "  click 1\n"
        "closed\n"
        "message \"This item is not available.\" \"Report Diagnostic\" ok\n");
    EXPECT_EQ(TempDataDir::ReadBytes("EXPORT.DAT"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(std::filesystem::last_write_time("EXPORT.DAT"), before);
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator("."))
        if (e.path().filename().string().rfind("LDRAPROB", 0) == 0) ++files;
    EXPECT_EQ(files, 0u);
}

// The credit union: a refused transfer date, then transfers on a date
// (Enter runs OK).
TEST_F(ImportDialogsTest, CreditUnionRequest) {
    fixtures::WriteMemberFile("CU.DAT", {});
    Start();
    Script(
        "command 32955\n"
        "dialog 167\n"
        "  expect-check 1391 on\n"
        "  expect-visible 1402 off\n"
        "  set 1095 \"CU.DAT\"\n"
        "  check 1392 on\n"
        "  set 1394 \"13/45/98\"\n"
        "  click 1\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.Illegal transfer date: 13/45/98\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1394 \"12/01/98\"\n"
        "  key enter\n"
        "closed\n"
        "children 2\n");
    EXPECT_EQ(shell::g_report.ReportFlag1, 2);
    EXPECT_EQ(shell::g_report.TransferDate, "12/01/98");
}

// Map Transaction Codes: a first run shows 21 empty edits and OK writes a
// map of blank slots; a code typed with a trailing blank is stored blank
// padded and shown without the blank; American Skandia keeps its map in
// record 121; no other record of COMMON.FIL changes.
TEST_F(ImportDialogsTest, MapTransactionCodes) {
    Start();
    const std::vector<unsigned char> before = TempDataDir::ReadBytes("COMMON.FIL");
    Script(
        "command 32936\n"
        "dialog 178\n"
        "  expect-text 1169 \"\"\n"
        "  expect-text 1179 \"\"\n"
        "  key escape\n"
        "  key enter\n"
        "  click 1380\n"
        "closed\n"
        "command 32972\n"
        "dialog 178\n"
        "  set 1169 \"BY \"\n"
        "  set 1179 \"BKCH\"\n"
        "  click 1380\n"
        "closed\n"
        "command 32972\n"
        "dialog 178\n"
        "  expect-text 1169 \"BY\"\n"
        "  expect-text 1179 \"BKCH\"\n"
        "  set 1170 \"SL\"\n"
        "  click 1140\n"
        "closed\n");
    records::DirectFile common("COMMON.FIL", 128, false);
    Record rec;
    ASSERT_TRUE(common.Read(111, rec));
    EXPECT_EQ(rec.Text(0, 128), std::string(124, ' ') + "VORN");
    ASSERT_TRUE(common.Read(121, rec));
    std::string map121(124, ' ');
    map121.replace(0, 4, "BY  ");
    map121.replace(80, 4, "BKCH");
    EXPECT_EQ(rec.Text(0, 128), map121 + "VORN");
    const std::vector<unsigned char> after = TempDataDir::ReadBytes("COMMON.FIL");
    for (std::size_t r = 0; r * 128 < before.size(); ++r) {
        if (r + 1 == 111 || r + 1 == 121) continue;
        const auto from = static_cast<std::ptrdiff_t>(r * 128);
        const auto to = static_cast<std::ptrdiff_t>(std::min(before.size(), (r + 1) * 128));
        EXPECT_TRUE(std::equal(before.begin() + from, before.begin() + to, after.begin() + from))
            << "record " << r + 1;
    }
}

// Block size: every field empty gives the five messages in order; Escape
// and Enter do not close; the manager code is stored in capitals.
TEST_F(ImportDialogsTest, BlockSizeRequest) {
    fixtures::WriteBrokers({{.id = "MERRIL"}, {.id = "SCHWAB"}});
    Start();
    Script(
        "command 32948\n"
        "dialog 183\n"
        "  expect-text 1207 \"????\"\n"
        "  key escape\n"
        "  key enter\n"
        "  click 1139\n"
        "  dialog 142\n"
        "    expect-text 1177 \"1.Invalid unit price:\"\n"
        "    expect-text 2 \"2.Invalid settlement date:\"\n"
        "    expect-text 3 \"3.Invalid pricing date:\"\n"
        "    expect-text 4 \"4.Invalid percentage:\"\n"
        "    expect-text 5 \"5.Invalid commission:\"\n"
        "    click 1\n"
        "  closed\n"
        "  set 1196 \"12/01/98\"\n"
        "  set 1197 \"12/04/98\"\n"
        "  set 1201 \"0.05\"\n"
        "  set 1202 \"1,250.5\"\n"
        "  set 1203 \"2.5\"\n"
        "  set 1207 \"ab\"\n"
        "  select 1069 1\n"
        "  click 1205\n"
        "  click 1206\n"
        "  click 1139\n"
        "closed\n"
        "message \"This item is not available.\" \"Report Diagnostic\" ok\n");
    const shell::ReportGlobals& g = shell::g_report;
    EXPECT_EQ(g.ManagerCode, "AB");
    EXPECT_EQ(g.BlockBroker, "SCHWAB");
    EXPECT_EQ(g.StartDate, "12/04/98");
    EXPECT_EQ(g.EndDate, "12/01/98");
    EXPECT_DOUBLE_EQ(g.BlockCommission, 0.05);
    EXPECT_DOUBLE_EQ(g.BlockUnitPrice, 1250.5);
    EXPECT_FLOAT_EQ(g.BlockPercentage, 2.5f);
    EXPECT_EQ(g.BlockPostFlag, "Y   ");
    EXPECT_EQ(g.BlockLotType, "R   ");
}

// End to end from an empty data directory: the members set up, the
// Account dialog lists them; the credit union's deposits, with option 59,
// listed by Edit Transactions, and a cash line opens the cash dialog.
TEST_F(ImportDialogsTest, MemberImportsEndToEnd) {
    fixtures::MemberFields ann;
    ann.number = "00000000000012345";
    ann.suffix = "S01";
    ann.lines = {"ANN MEMBER", "1 MAIN STREET", "", "", ""};
    ann.deposits[0] = {"981201", "000100000", "0001000", "0001000"};
    fixtures::MemberFields bob = ann;
    bob.number = "00000000000067890";
    bob.lines[0] = "BOB MEMBER";
    fixtures::WriteMemberFile("MEMBERS.DAT", {fixtures::MemberLine(ann), fixtures::MemberLine(bob)});
    Start();
    records::Options options = records::Rdopts();
    records::SetOption(options, records::Opt::kCashLinesForTrades, 1);
    records::Wropts(options);
    Script(
        "menu \"Setup/Import Member Accounts\"\n"
        "dialog 167\n"
        "  set 1095 \"MEMBERS.DAT\"\n"
        "  click 1\n"
        "closed\n"
        "children 2\n"
        "menu \"Setup/Account\"\n"
        "dialog 106\n"
        "  select 1004 \"000001\"\n"
        "  select 1004 \"000002\"\n"
        "  key escape\n"
        "closed\n"
        "command 32955\n"
        "dialog 167\n"
        "  set 1095 \"MEMBERS.DAT\"\n"
        "  click 1\n"
        "closed\n"
        "children 3\n"
        "command 32892\n"
        "child active expect-count 1040 4\n"
        "child active dblclick 1040 1\n"
        "dialog 145\n"
        "  click 2\n"
        "closed\n");
}

}  // namespace
