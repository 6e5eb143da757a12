// The report runner and the output switch: the fields the report routines
// get, the work file purged before every run, the page length of each
// destination, the named file, the display window and the update of the
// data base.

#include "shell/runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"
#include "records/groups.h"
#include "records/index.h"
#include "records/report_output.h"
#include "shell/command_ids.h"
#include "shell/dispatch.h"
#include "shell/display_view.h"
#include "shell/printer_settings.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/file_size_limit.h"
#include "tests/fixtures/record_files.h"
#include "tests/fixtures/report_data.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/shell/road_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace shell;
using fixtures::TempDataDir;
using road::Played;

constexpr int kTestCode = 101;

TEST(ReportFields, GlobalsBecomeBlankPaddedFieldsOfTheirWidths) {
    struct Case {
        const char* what;
        std::function<void(ReportGlobals&)> set;
        std::function<void(const ReportFields&)> check;
    };
    const std::vector<Case> cases = {
        {"named file",
         [](ReportGlobals& g) {
             g.OutputDestination = kOutputFile;
             g.OutputFileName = "MYREPORT.TXT";
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.output_name, "MYREPORT.TXT");
             EXPECT_EQ(f.output_mode, 3);
             EXPECT_EQ(f.name_length, 12);
         }},
        {"display",
         [](ReportGlobals& g) {
             g.OutputDestination = kOutputDisplay;
             g.OutputFileName = "MYREPORT.TXT";
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.output_name, "XXX.TXT     ");
             EXPECT_EQ(f.output_mode, 1);
         }},
        {"print", [](ReportGlobals& g) { g.OutputDestination = kOutputPrint; },
         [](const ReportFields& f) {
             EXPECT_EQ(f.output_name, "XXX.TXT     ");
             EXPECT_EQ(f.output_mode, 1);
         }},
        {"selection",
         [](ReportGlobals& g) {
             g.SelectionScope = 1;
             g.SelectedAccount = "ABC123";
             g.ManagerCode = "JS";
             g.SelectedSecurity = "IBM";
             g.StartDate = "01/01/98";
             g.EndDate = "12/31/98";
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.scope, "A   ");
             EXPECT_EQ(f.account, "ABC123  ");
             EXPECT_EQ(f.search_text, "ABC123" + std::string(26, ' '));
             EXPECT_EQ(f.manager, "JS  ");
             EXPECT_EQ(f.security, "IBM         ");
             EXPECT_EQ(f.start, "01/01/98");
             EXPECT_EQ(f.end, "12/31/98");
             EXPECT_EQ(f.zero1, 0);
             EXPECT_EQ(f.zero2, 0);
         }},
        {"selected accounts, flags set",
         [](ReportGlobals& g) {
             g.SelectionScope = 2;
             g.ReportFlag1 = 5;
             g.ReportFlag2 = 1;
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.scope, "S   ");
             EXPECT_EQ(f.flag_text1, "Y   ");
             EXPECT_EQ(f.flag_number1, 1);
             EXPECT_EQ(f.flag_text2, "Y   ");
         }},
        {"flags clear", [](ReportGlobals&) {},
         [](const ReportFields& f) {
             EXPECT_EQ(f.flag_text1, "N   ");
             EXPECT_EQ(f.flag_number1, 2);
             EXPECT_EQ(f.flag_text2, "N   ");
         }},
        {"long texts are cut at their widths",
         [](ReportGlobals& g) {
             g.SelectedAccount = std::string(40, 'A');
             g.GroupDescription = std::string(40, 'G');
             g.ListFileName = "compfile.lst";
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.account, std::string(8, 'A'));
             EXPECT_EQ(f.search_text, std::string(32, 'A'));
             EXPECT_EQ(f.group, std::string(32, 'G'));
             EXPECT_EQ(f.list_file, "compfile.lst");
             EXPECT_EQ(f.import_file, "compfile.lst" + std::string(36, ' '));
         }},
        {"performance",
         [](ReportGlobals& g) {
             g.PerformanceKind = 4;
             g.PerformancePeriod = 1;
             g.ReportVariant = 3;
         },
         [](const ReportFields& f) {
             EXPECT_EQ(f.performance_kind, 5);
             EXPECT_EQ(f.period, "Q   ");
             EXPECT_EQ(f.report_variant, 3);
         }},
        {"import number in the ledger security type",
         [](ReportGlobals& g) { g.LedgerSecurityType = std::string("\x07\x01  ", 4); },
         [](const ReportFields& f) {
             EXPECT_EQ(f.import_number, 0x0107);
             EXPECT_EQ(f.period, "M   ");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReportGlobals globals;
        c.set(globals);
        c.check(PrepareReportFields(globals));
    }
}

class RunnerTest : public road::RoadTest {
protected:
    // The test report records the page settings its headings got.
    ReportRoutineOverride Report() {
        return ReportRoutineOverride(kTestCode, {[this](ReportFields& fields) {
                                         ++runs_;
                                         road::WritePagedReport(1);
                                         page_length_ = records::FirmHeadingBlock().page_length;
                                         top_lines_ = records::FirmHeadingBlock().top_lines;
                                         if (fields.output_mode == kOutputModeFile)
                                             records::Acopy(records::kReportWorkFile, fields.output_name);
                                     }});
    }

    int runs_ = 0;
    int page_length_ = -1;
    int top_lines_ = -1;
};

// The message of a run that could not write some of its files: one
// sentence a cause, the user's file first, "create" only where every file
// of the sentence was new (wherever in it the new file comes), a copy
// that went with the run's failure not among the files that failed, every
// earlier file kept said to be kept, the user's file first, long lists
// counted, the routine's note last.
TEST(FailedWritesText, OneSentenceACauseWithTheUsersFileFirst) {
    using records::FailedWrite;
    using records::WriteFault;
    const FailedWrite output{"/data/REPORT.TXT", false, WriteFault::kDiskFull, true};
    const FailedWrite work{"/data/OUTPUT.TMP", false, WriteFault::kDiskFull};
    const FailedWrite made{"TEMP1.WRK", true, WriteFault::kReadOnly};
    const FailedWrite also_made{"CCONTROL.FIL", true, WriteFault::kReadOnly};
    const FailedWrite denied{"COMMON.FIL", false, WriteFault::kNoPermission};
    const FailedWrite odd{"HLDATA.DAT", false, WriteFault::kOther};
    const FailedWrite old_file{"OLD.DAT", false, WriteFault::kReadOnly};
    const FailedWrite summary_dropped{"/data/SUMMARY.DAT", false, WriteFault::kDiskFull, true, true};
    const FailedWrite chart_failed{"/data/PIECHART.OUT", false, WriteFault::kDiskFull, true};
    std::vector<FailedWrite> many;
    for (const char* name : {"A.TMP", "B.TMP", "C.TMP", "D.TMP", "E.TMP", "F.TMP", "G.TMP", "H.TMP", "I.TMP"})
        many.push_back({name, false, WriteFault::kDiskFull});
    struct Case {
        const char* name;
        std::vector<FailedWrite> failed;
        std::string output_file;
        std::vector<std::string> kept;
        std::string note;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"the user's file alone", {output}, "REPORT.TXT  ", {"REPORT.TXT"}, "",
         "Could not write REPORT.TXT: the disk is full. The earlier REPORT.TXT is kept."},
        {"the user's file before the work files, named in any case", {work, output}, "report.txt", {"REPORT.TXT"},
         "", "Could not write REPORT.TXT and OUTPUT.TMP: the disk is full. The earlier REPORT.TXT is kept."},
        {"no earlier file to keep", {work, output}, "REPORT.TXT", {}, "",
         "Could not write REPORT.TXT and OUTPUT.TMP: the disk is full."},
        {"the user's file written", {work}, "REPORT.TXT", {}, "", "Could not write OUTPUT.TMP: the disk is full."},
        {"new files", {made, also_made}, "", {}, "",
         "Could not create TEMP1.WRK and CCONTROL.FIL: the data directory is read-only."},
        {"a cause a sentence", {made, denied, odd, also_made}, "", {}, "",
         "Could not create TEMP1.WRK and CCONTROL.FIL: the data directory is read-only. Could not write "
         "COMMON.FIL: permission denied. Could not write HLDATA.DAT."},
        {"a new file before an existing one", {made, old_file}, "", {}, "",
         "Could not write TEMP1.WRK and OLD.DAT: the data directory is read-only."},
        {"an existing file before a new one", {old_file, made}, "", {}, "",
         "Could not write OLD.DAT and TEMP1.WRK: the data directory is read-only."},
        {"a long list", many, "", {}, "",
         "Could not write A.TMP, B.TMP, C.TMP, D.TMP, E.TMP, F.TMP, G.TMP and 2 other files: the disk is full."},
        {"a file twice", {work, work}, "", {}, "", "Could not write OUTPUT.TMP: the disk is full."},
        {"a copy that went with the run, kept", {work, summary_dropped}, "", {"SUMMARY.DAT"}, "",
         "Could not write OUTPUT.TMP: the disk is full. The earlier SUMMARY.DAT is kept."},
        {"every earlier file kept, the user's first",
         {work, summary_dropped, chart_failed, output},
         "REPORT.TXT",
         {"PIECHART.OUT", "SUMMARY.DAT", "REPORT.TXT"},
         "",
         "Could not write REPORT.TXT, OUTPUT.TMP and PIECHART.OUT: the disk is full. The earlier REPORT.TXT, "
         "PIECHART.OUT and SUMMARY.DAT are kept."},
        {"a copy that went with the run, none earlier", {work, summary_dropped}, "", {}, "",
         "Could not write OUTPUT.TMP: the disk is full."},
        {"the user's file that went with the run", {work, {"/data/REPORT.TXT", false, WriteFault::kDiskFull, true, true}},
         "REPORT.TXT", {"REPORT.TXT"}, "",
         "Could not write REPORT.TXT and OUTPUT.TMP: the disk is full. The earlier REPORT.TXT is kept."},
        {"the routine's note", {work}, "", {}, "No account was rebuilt.",
         "Could not write OUTPUT.TMP: the disk is full. No account was rebuilt."},
        {"the routine's note alone", {}, "", {}, "No account was rebuilt.", "No account was rebuilt."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FailedWritesText(c.failed, c.output_file, c.kept, c.note), c.expected) << c.name;
}

// The update's sentences on the accounts it did not rebuild: told where
// a file of the run could not be written or where the accounts' rebuilt
// files could not be put in place, with how many accounts and why, the
// cause left out where a sentence of the files gives it already.
TEST(NotRebuiltText, HowManyAccountsAndWhy) {
    using records::FailedWrite;
    using records::WriteFault;
    const FailedWrite report{"/data/OUTPUT.TMP", false, WriteFault::kDiskFull};
    const FailedWrite dropped{"/data/REPORT.TXT", false, WriteFault::kDiskFull, true, true};
    const std::vector<std::string> nine = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9"};
    struct Case {
        const char* name;
        engine::UpdateOutcome outcome;
        std::vector<FailedWrite> failed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"every account rebuilt", {18, {}, WriteFault::kDiskFull}, {report}, ""},
        {"lots that do not add up, nothing lost", {17, {"SMITH1"}, std::nullopt}, {}, ""},
        {"no account, the cause told by the files", {0, {"A", "B"}, WriteFault::kDiskFull}, {report},
         "No account was rebuilt: each keeps its holdings and gains files."},
        {"no account, the files written", {0, {"A", "B"}, WriteFault::kDiskFull}, {},
         "The rebuilt holdings and gains files could not be put in place: the disk is full. No account was "
         "rebuilt: each keeps its holdings and gains files."},
        {"a copy that went with the run tells no cause", {0, {"A"}, WriteFault::kDiskFull}, {dropped},
         "The rebuilt holdings and gains files could not be put in place: the disk is full. No account was "
         "rebuilt: each keeps its holdings and gains files."},
        {"another cause", {0, {"A"}, WriteFault::kReadOnly}, {report},
         "The rebuilt holdings and gains files could not be put in place: the data directory is read-only. No "
         "account was rebuilt: each keeps its holdings and gains files."},
        {"one account of several", {17, {"SMITH1"}, WriteFault::kDiskFull}, {},
         "The rebuilt holdings and gains files could not be put in place: the disk is full. 1 of 18 accounts was "
         "not rebuilt: SMITH1 keeps its holdings and gains files."},
        {"some accounts", {15, {"EVANS", "HARRIS", "PARKER"}, WriteFault::kDiskFull}, {report},
         "3 of 18 accounts were not rebuilt: EVANS, HARRIS and PARKER keep their holdings and gains files."},
        {"many accounts, counted", {991, nine, WriteFault::kDiskFull}, {report},
         "9 of 1000 accounts were not rebuilt: A1, A2, A3, A4, A5, A6, A7 and 2 other accounts keep their "
         "holdings and gains files."},
        {"lots that do not add up, the report lost", {17, {"SMITH1"}, std::nullopt}, {report},
         "1 of 18 accounts was not rebuilt: SMITH1 keeps its holdings and gains files."},
    };
    for (const Case& c : cases) EXPECT_EQ(NotRebuiltText(c.outcome, c.failed), c.expected) << c.name;
}

TEST_F(RunnerTest, PageLengthOfEachDestination) {
    const auto report = Report();
    struct Case {
        int destination;
        int16_t printer_page_length;
        int16_t printer_top_lines;
        int page_length;
    };
    const Case cases[] = {
        {kOutputFile, 0, 3, 58},     {kOutputFile, 66, 3, 66},   {kOutputFile, -1, 0, 58},
        {kOutputDisplay, 66, 3, 58}, {kOutputDisplay, 0, 0, 58},
    };
    g_report.ReportCode = kTestCode;
    g_report.OutputFileName = "PAGES.TXT";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.destination) + " " + std::to_string(c.printer_page_length));
        g_printer.PrinterPageLength = c.printer_page_length;
        g_printer.PrinterTopLines = c.printer_top_lines;
        g_report.OutputDestination = c.destination;
        const Played played = Play("", [&] { RouteReportOutput(*frame_); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        EXPECT_EQ(page_length_, c.page_length);
        EXPECT_EQ(top_lines_, 0);
    }
}

TEST_F(RunnerTest, NamedFileHoldsTheReportAndNoWindowOpens) {
    const auto report = Report();
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "MYREPORT.TXT";
    const std::size_t before = Children();
    const Played played = Play("", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 1);
    EXPECT_EQ(Children(), before);
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("MYREPORT.TXT");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("TEST REPORT"), std::string::npos);
    EXPECT_NE(text.find("PAGE   1"), std::string::npos);
}

// A run's record writes go out together as their files close: one that
// fails then (a file size limit stands in for a full disk) has no routine
// left to see it, so the run's end tells it, naming the file. What the run
// made after the loss may come from data it could not keep: its copy does
// not take the named file's place, and the message names that file first.
TEST_F(RunnerTest, AWriteThatFailsAsARunsFileClosesIsTold) {
    const ReportRoutineOverride report(kTestCode, {[](ReportFields& fields) {
                                           road::WritePagedReport(1);
                                           {
                                               const fixtures::FileSizeLimit limit(16 * 1024);
                                               records::DirectFile data("HLDATA.DAT", 1024);
                                               records::Record rec(1024);
                                               for (long n = 1; n <= 64; ++n) data.Write(n, rec);
                                           }
                                           if (fields.output_mode == kOutputModeFile)
                                               records::Acopy(records::kReportWorkFile, fields.output_name);
                                       }});
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "MYREPORT.TXT";
    const Played played =
        Play("message \"Could not write MYREPORT.TXT and HLDATA.DAT.\" \"Report Diagnostic\" ok\n",
             [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    ASSERT_EQ(played.message_boxes.size(), 1u);
    EXPECT_TRUE(records::TakeFailedWrites().empty());
    EXPECT_FALSE(TempDataDir::Exists("MYREPORT.TXT"));
}

// A routine that writes no report but loses a write gets the message of
// what could not be written, and that alone: "This item is not
// available." is for a routine that wrote nothing and lost nothing.
TEST_F(RunnerTest, ARoutineThatWritesNoReportButLosesAWriteIsToldOnlyThat) {
    const ReportRoutineOverride report(kTestCode, {[](ReportFields&) {
                                           records::DirectFile lost("NOFOLDER/LOST.DAT", 128);
                                           lost.Write(1, records::Record(128, 'x'));
                                       }});
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputDisplay;
    const std::size_t before = Children();
    const Played played = Play("message \"Could not create LOST.DAT.\" \"Report Diagnostic\" ok\n",
                               [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(played.message_boxes.size(), 1u);
    EXPECT_EQ(Children(), before);
}

TEST_F(RunnerTest, AFileNameThatDoesNotFitIsRefusedNotCut) {
    const auto report = Report();
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "QUARTERLY.REPORT";
    const Played played =
        Play("message \"Illegal file name\" \"Report Diagnostic\" ok\n", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 0);
    EXPECT_FALSE(TempDataDir::Exists("QUARTERLY.RE"));
}

TEST_F(RunnerTest, CodesWithoutRoutineNeverShowAnEarlierRunsOutput) {
    // Their dialogs run, but no report routine exists for them: the
    // generic request dialogs', the block size dialog's, the invoices' and
    // the imports' without a routine.
    std::vector<int> codes = {89, 243, 244, 261, 262, 292, 302, 303, 322, 323, 362, 363};
    for (int code = 281; code <= 290; ++code) codes.push_back(code);
    for (const int code : codes) {
        for (const int destination : {kOutputFile, kOutputDisplay}) {
            SCOPED_TRACE(std::to_string(code) + " to " + std::to_string(destination));
            road::WritePagedReport(1, "AN EARLIER REPORT");
            g_report.ReportCode = code;
            g_report.OutputDestination = destination;
            g_report.OutputFileName = "STALE.TXT";
            const std::size_t before = Children();
            const Played played = Play("message \"This item is not available.\" \"Report Diagnostic\" ok\n",
                                       [&] { RouteReportOutput(*frame_); });
            EXPECT_TRUE(played.failures.empty()) << played.Failures();
            ASSERT_EQ(played.message_boxes.size(), 1u);
            EXPECT_EQ(played.message_boxes[0].flags & 0xF0, platform::MB_ICONEXCLAMATION);
            EXPECT_EQ(Children(), before);
            EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
            EXPECT_FALSE(TempDataDir::Exists("STALE.TXT"));
        }
    }
}

// Every report code the runner serves, to a file and to the display, on an
// empty data directory: none may show the report an earlier run left.
TEST_F(RunnerTest, EveryReportCodeRunsWithoutShowingAnEarlierRun) {
    std::vector<int> codes = {44,  63,  89,  162, 243, 244, 261, 262, 292,
                              302, 303, 322, 323, 341, 342, 343, 362, 363};
    for (int code = 281; code <= 290; ++code) codes.push_back(code);
    for (int code = 81; code <= 95; ++code) codes.push_back(code);
    for (int code = 101; code <= 109; ++code) codes.push_back(code);
    for (int code = 181; code <= 186; ++code) codes.push_back(code);
    for (int code = 201; code <= 204; ++code) codes.push_back(code);
    for (int code = 221; code <= 228; ++code) codes.push_back(code);
    codes.push_back(121);
    // And every code of the routine table.
    for (const int code : ReportRoutineCodes())
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    for (const int code : codes) {
        for (const int destination : {kOutputFile, kOutputDisplay}) {
            SCOPED_TRACE(std::to_string(code) + " to " + std::to_string(destination));
            road::WritePagedReport(1, "AN EARLIER REPORT");
            std::error_code error;
            fs::remove("SWEEP.TXT", error);
            g_report.ReportCode = code;
            // The performance module runs the report of its dialog's list
            // line: the first, monthly performance.
            g_report.ReportVariant = code == 121 ? 1 : 0;
            g_report.OutputDestination = destination;
            g_report.OutputFileName = "SWEEP.TXT";
            const std::size_t before = Children();
            // "not available" is answered as it comes (Escape answers OK).
            const Played played = Play("", [&] { RouteReportOutput(*frame_); });
            // Each code ends one way or the other, never both, never neither:
            // the message, or its own report (a fresh file or a new window).
            std::size_t not_available = 0;
            for (const platform::MessageBoxRequest& box : played.message_boxes) {
                EXPECT_EQ(box.text, "This item is not available.");
                ++not_available;
            }
            EXPECT_LE(not_available, 1u);
            // A code with a routine runs it, whatever the directory holds
            // (the price import needs its input file, which the import
            // dialog makes sure of).
            if (FindReportRoutine(code) != nullptr && code != 63) {
                EXPECT_EQ(not_available, 0u);
            }
            const bool shown =
                destination == kOutputFile ? TempDataDir::Exists("SWEEP.TXT") : Children() > before;
            EXPECT_NE(shown, not_available == 1) << (shown ? "a report and the message" : "neither");
            if (destination == kOutputFile && shown) {
                const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("SWEEP.TXT");
                const std::string text(bytes.begin(), bytes.end());
                EXPECT_FALSE(text.empty());
                EXPECT_EQ(text.find("AN EARLIER REPORT"), std::string::npos);
            }
            if (destination == kOutputDisplay) {
                EXPECT_LE(Children(), before + 1);
                if (shown) {
                    auto* view = dynamic_cast<CDisplayNew*>(frame_->MDIGetActive()->GetView());
                    ASSERT_NE(view, nullptr);
                    std::string line;
                    for (long n = 1; view->GetLine(n, line); ++n)
                        EXPECT_EQ(line.find("AN EARLIER REPORT"), std::string::npos);
                    view->GetParentFrame()->DestroyWindow();
                }
            }
        }
    }
}

// Every code of the routine table on the sample firm, through the runner
// as the menus run it, with a few selections each (all accounts, one
// account, a manager code, a group in compfile.lst): each ends without the
// "not available" message and without an earlier run's lines, and its
// report shows the firm's data (an account, a name, a security, a broker)
// beyond its headings. The update of the data base is the exception: on a
// sound firm its report is its heading. The price import reads an input
// file and has a sweep of its own on the sample firm. Each code's pages
// and time are printed.
TEST_F(RunnerTest, EveryRoutineRunsOnTheSampleFirm) {
    fixtures::TempDataDir::CopySampleFirm();
    {
        std::vector<std::string> accounts;
        std::string description;
        std::vector<std::string> messages;
        ASSERT_TRUE(records::ExpandGroup(accounts, "GROWTH", description, messages));
        ASSERT_TRUE(records::WriteAccountLines(accounts, records::kAccountListFile));
        g_report.GroupDescription = description;
    }
    const std::vector<std::string> firm_words = {
        "SMITH1",      "ADAMS",  "KELLER", "SMITH FAMILY TRUST", "ADAMS FOUNDATION", "ALDEN", "BAXTER",
        "CORWIN",      "FTRUST", "HARBOR", "INTL BUSINESS",      "GENERAL ELECTRIC", "IBM",   "MSFT",
        "U S TREASURY"};
    struct Selection {
        const char* name;
        int scope;
        const char* manager;
        const char* account;
    };
    const Selection selections[] = {
        {"all accounts", 1, "????", "SMITH1"},
        {"one account", 2, "????", "SMITH1"},
        {"manager code", 1, "AB", "ADAMS"},
    };
    g_report.StartDate = "01/01/98";
    g_report.EndDate = "12/31/98";
    g_report.ListFileName = records::kAccountListFile;
    for (const int code : ReportRoutineCodes()) {
        // The price import and the member imports read an input file of
        // their own; the imports have their own run on the sample firm.
        if (code == 63 || code == 44 || code == 291) continue;
        const auto started = std::chrono::steady_clock::now();
        int pages = 0;
        bool shown = false;
        // The form 1099-B and the trade memorandum take one trade date: one
        // on which the sample firm traded.
        g_report.StartDate = code == 91 || code == 92 ? "01/03/96" : "01/01/98";
        for (const Selection& s : selections) {
            for (const int destination : {kOutputFile, kOutputDisplay}) {
                if (destination == kOutputDisplay && &s != &selections[0]) continue;
                SCOPED_TRACE(std::to_string(code) + " " + s.name + " to " + std::to_string(destination));
                road::WritePagedReport(1, "AN EARLIER REPORT");
                std::error_code error;
                fs::remove("SAMPLE.TXT", error);
                g_report.ReportCode = code;
                g_report.ReportVariant = code == 121 ? 1 : 0;
                g_report.SelectionScope = s.scope;
                g_report.ManagerCode = s.manager;
                g_report.SelectedAccount = code == 343                  ? "INTL"
                                           : code == 341 || code == 342 ? "SMITH"
                                                                        : s.account;
                g_report.OutputDestination = destination;
                g_report.OutputFileName = "SAMPLE.TXT";
                const std::size_t before = Children();
                const Played played = Play("", [&] { RouteReportOutput(*frame_); });
                EXPECT_TRUE(played.failures.empty()) << played.Failures();
                EXPECT_TRUE(played.message_boxes.empty());
                std::vector<std::string> lines;
                if (destination == kOutputFile) {
                    ASSERT_TRUE(TempDataDir::Exists("SAMPLE.TXT"));
                    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("SAMPLE.TXT");
                    std::string text(bytes.begin(), bytes.end());
                    std::size_t at = 0;
                    for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
                        lines.push_back(text.substr(at, end - at));
                } else {
                    ASSERT_EQ(Children(), before + 1);
                    auto* view = dynamic_cast<CDisplayNew*>(frame_->MDIGetActive()->GetView());
                    ASSERT_NE(view, nullptr);
                    std::string line;
                    for (long n = 1; view->GetLine(n, line); ++n) lines.push_back(line);
                    view->GetParentFrame()->DestroyWindow();
                }
                EXPECT_FALSE(lines.empty());
                for (const std::string& line : lines) {
                    EXPECT_EQ(line.find("AN EARLIER REPORT"), std::string::npos);
                    if (line.find("PAGE ") != std::string::npos) ++pages;
                    for (const std::string& word : firm_words)
                        if (line.find(word) != std::string::npos) shown = true;
                }
            }
        }
        if (code != 162) {
            EXPECT_TRUE(shown) << "code " << code << " shows none of the firm's data";
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
                .count();
        std::printf("[ sweep    ] code %d: %d pages, %lld ms\n", code, pages, static_cast<long long>(ms));
    }
}

// The fixed income analyses and summary on the sample firm as of the
// program date and as of an earlier date (holdings rebuilt from the
// transactions), to a file and to the display: each names the sample's
// accounts.
TEST_F(RunnerTest, FixedIncomeReportsRunOnTheSampleFirm) {
    fixtures::TempDataDir::CopySampleFirm();
    g_report.ManagerCode = "????";
    g_report.SelectionScope = 1;
    g_report.SelectedAccount = "A";
    for (const std::string& date : {records::ProgramDateText(), std::string(" 1/02/97")}) {
        g_report.EndDate = date;
        for (int code = 222; code <= 228; ++code) {
            for (const int destination : {kOutputFile, kOutputDisplay}) {
                SCOPED_TRACE(std::to_string(code) + " to " + std::to_string(destination) + " as of " + date);
                road::WritePagedReport(1, "AN EARLIER REPORT");
                std::error_code error;
                fs::remove("SAMPLE.TXT", error);
                g_report.ReportCode = code;
                g_report.OutputDestination = destination;
                g_report.OutputFileName = "SAMPLE.TXT";
                const std::size_t before = Children();
                const Played played = Play("", [&] { RouteReportOutput(*frame_); });
                EXPECT_TRUE(played.failures.empty()) << played.Failures();
                EXPECT_TRUE(played.message_boxes.empty());
                std::vector<std::string> lines;
                if (destination == kOutputFile) {
                    ASSERT_TRUE(TempDataDir::Exists("SAMPLE.TXT"));
                    lines = fixtures::ReportFileLines("SAMPLE.TXT");
                } else {
                    ASSERT_EQ(Children(), before + 1);
                    auto* view = dynamic_cast<CDisplayNew*>(frame_->MDIGetActive()->GetView());
                    ASSERT_NE(view, nullptr);
                    std::string line;
                    for (long n = 1; view->GetLine(n, line); ++n) lines.push_back(line);
                    view->GetParentFrame()->DestroyWindow();
                }
                int accounts = 0;
                for (const std::string& line : lines) {
                    EXPECT_EQ(line.find("AN EARLIER REPORT"), std::string::npos);
                    if (line.find(code == 228 ? "CLIENT NAME: " : " - ") != std::string::npos ||
                        line.find("No transactions in account") != std::string::npos)
                        ++accounts;
                }
                EXPECT_GT(accounts, 0);
            }
        }
    }
}

TEST_F(RunnerTest, UpdateOfTheDataBaseShowsItsWarningsInAWindow) {
    // An account that bought a security since deleted from the index.
    fixtures::WriteSecurities({{.symbol = "CASH", .cusip = "CASH", .type = " "},
                               {.symbol = "$$$$", .cusip = "OLDCO", .type = "1", .category = "12"}});
    fixtures::WriteAccounts({{.id = "SC1"}});
    fixtures::WriteTransactions("SC1", {fixtures::Transaction("B", "OLDCO", "", " 1/10/97", 10, 100, 0, 2)});

    const std::size_t before = Children();
    const Played played = Play("", [&] { frame_->InvokeCommand(kCmdUpdateDataBase); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_report.ReportCode, 162);
    ASSERT_EQ(Children(), before + 1);
    auto* view = dynamic_cast<CDisplayNew*>(frame_->MDIGetActive()->GetView());
    ASSERT_NE(view, nullptr);
    std::vector<std::string> shown;
    std::string line;
    for (long n = 1; view->GetLine(n, line); ++n) shown.push_back(line);
    EXPECT_EQ(shown,
              (std::vector<std::string>{
                  std::string(32, ' ') + "Update Database", std::string(32, ' ') + "---------------", "",
                  " *** Warning: SC1      has a transaction for OLDCO       which has been deleted."}));
    EXPECT_TRUE(TempDataDir::Exists("O000000.TMP"));
    view->GetParentFrame()->DestroyWindow();
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
}

TEST_F(RunnerTest, UpdateOfTheDataBaseIntoANamedFile) {
    g_report.ReportCode = 162;
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "UPDATE.TXT";
    const Played played = Play("", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("UPDATE.TXT");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 32 + 15), std::string(32, ' ') + "Update Database");
    EXPECT_NE(text.find("---------------"), std::string::npos);
}

}  // namespace

namespace {

// The member imports on the sample firm through their rows: code 44 sets
// a member up from the request's starting identifier, with the cash
// balance code in the requested column of the manager code; code 291 then
// finds the new account by its custodian account number and puts its
// deposit into OFFLINET.DAT as a buy of the firm's IBM.
TEST_F(RunnerTest, MemberImportsRunOnTheSampleFirm) {
    fixtures::TempDataDir::CopySampleFirm();
    std::string line(431, ' ');
    const auto put = [&line](std::size_t column, const std::string& text) {
        line.replace(column - 1, text.size(), text);
    };
    put(1, "1");
    put(6, "00000000000055555S01");
    put(66, std::string("030615") + "000100000" + "0001000" + "0001000");
    put(187, "SAMPLE MEMBER");
    TempDataDir::WriteBytes("MEMBERS.DAT", std::vector<unsigned char>(line.begin(), line.end()));

    g_report.ListFileName = "MEMBERS.DAT";
    g_report.ReportFlag1 = 1;
    g_report.LedgerSecurityType = std::string("\x03\x00  ", 4);
    g_report.SelectedAccount = "00500";
    g_report.ReportCode = 44;
    g_report.OutputDestination = kOutputFile;
    g_report.OutputFileName = "IMPORT.TXT";
    Played played = Play("", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.message_boxes.empty());
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes("IMPORT.TXT");
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("DOWNLOAD CLIENT DATA REPORT"), std::string::npos);
    EXPECT_NE(text.find("SAMPLE MEMBER"), std::string::npos);
    const int entry = records::Ckcltt("000500  ");
    ASSERT_GT(entry, 0);
    records::DirectFile accounts("ACCOUNT.REC", 128, false);
    records::Record r2;
    ASSERT_TRUE(accounts.Read(8L * entry - 6, r2));
    EXPECT_EQ(r2.Text(16, 4), "  S ");

    g_report.ReportCode = 291;
    g_report.TransferDate = "";
    played = Play("", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.message_boxes.empty());
    const std::vector<unsigned char> deposits = TempDataDir::ReadBytes("IMPORT.TXT");
    text.assign(deposits.begin(), deposits.end());
    EXPECT_NE(text.find("DOWNLOAD DEPOSIT DATA REPORT"), std::string::npos);
    EXPECT_NE(text.find("000500  IBM"), std::string::npos);
    records::DirectFile offline("OFFLINET.DAT", 512, false);
    records::Record rec;
    ASSERT_TRUE(offline.Read(1, rec));
    EXPECT_GE(rec.I16(0), 2);
    ASSERT_TRUE(offline.Read(rec.I16(0), rec));
    EXPECT_EQ(rec.Text(0, 20), "000500  IBM         ");
    EXPECT_EQ(rec.Text(32, 4), "B   ");
    EXPECT_DOUBLE_EQ(rec.R8(48), 1000.0);
}

}  // namespace
