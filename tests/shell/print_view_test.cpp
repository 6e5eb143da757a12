// Printing reports: where the 132 columns go on the paper, the page length
// from the paper, the page starts, the print view's print and preview runs
// to a PDF printer, and the report display window's printing.
//
// LEDRA_PRINT_PDF=<folder> keeps a copy of the printed PDF there, for a
// person to look at.

#include "shell/print_view.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "records/common_file.h"
#include "records/options.h"
#include "records/report_output.h"
#include "shell/command_ids.h"
#include "shell/dispatch.h"
#include "shell/display_view.h"
#include "shell/printer_settings.h"
#include "shell/runner.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/shell/pdf_pages.h"
#include "tests/shell/road_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace shell;
using fixtures::TempDataDir;
using road::Played;

constexpr int kTestCode = 101;  // a report code whose routine the tests provide

void KeepPdf(const std::string& path, const std::string& name) {
    const QByteArray folder = qgetenv("LEDRA_PRINT_PDF");
    if (folder.isEmpty()) return;
    fs::create_directories(folder.toStdString());
    std::error_code error;
    fs::copy_file(path, fs::path(folder.toStdString()) / name, fs::copy_options::overwrite_existing, error);
}

TEST(PrintColumns, AllColumnsFitBetweenTheMargins) {
    struct Case {
        int printable_width;
        float left, right;
        int text_width, char_width, left_x;
    };
    const Case cases[] = {
        {11520, 0.5f, 0.5f, 10080, 76, 720},  // 8 inches printable
        {11520, 3.0f, 3.0f, 3600, 27, 4320},  // margins leave too little: 2.5 inches
        {12240, 0.0f, 0.0f, 12240, 92, 0},
        {15840, 0.25f, 0.75f, 14400, 109, 360},  // landscape
    };
    for (const Case& c : cases) {
        const PrintColumns columns = ComputePrintColumns(c.printable_width, c.left, c.right);
        EXPECT_EQ(columns.text_width, c.text_width) << c.printable_width << " " << c.left << " " << c.right;
        EXPECT_EQ(columns.char_width, c.char_width);
        EXPECT_EQ(columns.left, c.left_x);
        EXPECT_LE(columns.char_width * kPrintColumns, columns.text_width);
    }
}

TEST(PrintColumns, PageLengthComesFromThePaperUnlessTheOptionsGiveOne) {
    EXPECT_EQ(PaperPageLength(62 * 240, 240, 0, 3), 58);
    EXPECT_EQ(PaperPageLength(62 * 240 + 239, 240, 0, 3), 58);
    EXPECT_EQ(PaperPageLength(62 * 240, 240, 0, 0), 61);
    EXPECT_EQ(PaperPageLength(62 * 240, 240, 66, 3), 66);
    // A sheet too short for a page heading still gets a usable page.
    EXPECT_EQ(PaperPageLength(3 * 240, 240, 0, 0), 5);
}

std::vector<std::string> Lines(std::initializer_list<const char*> texts) {
    std::vector<std::string> lines;
    for (const char* t : texts) lines.emplace_back(t);
    return lines;
}

TEST(PageTable, PagesStartAtTheirPageLinesLessTheTopLines) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::vector<long> table;
    };
    const Case cases[] = {
        {"no lines: one empty page", {}, {1, 2}},
        {"no page lines: one page", Lines({" Update Database", " ---", " ", " warning"}), {1, 5}},
        {"heading first",
         Lines({" ", "  PAGE   1", " FIRM", "a", " ", "  PAGE   2", " FIRM", "b"}),
         {1, 5, 9}},
        {"three top lines stay with each page",
         Lines({"", "", "", "  PAGE   1", "x", "y", "", "", "", "  page   2", "z"}),
         {1, 7, 12}},
        {"any case, after leading blanks", Lines({"Page 1", "a", "   pAgE 2", "b"}), {1, 3, 5}},
        {"a first line that is no page line keeps the offset 0",
         Lines({" TITLE", "  PAGE 1", "a", "  PAGE 2"}),
         {1, 2, 4, 5}},
        {"PAGEANT and PAGE without a blank are no page lines",
         Lines({"  PAGE 1", "PAGEANT", "PAGE"}),
         {1, 4}},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildPageTable(c.lines), c.table) << c.what;
}

// Sheets of a report of `count` lines whose lines `blank` hold nothing.
std::vector<PrintSheet> Sheets(const std::vector<long>& table, long count, std::set<long> blank,
                               long per_sheet) {
    return SheetsOfPages(
        table, count, [&blank](long n) { return blank.count(n) != 0; }, per_sheet);
}

std::set<long> LinesFromTo(long first, long last) {
    std::set<long> lines;
    for (long n = first; n <= last; ++n) lines.insert(n);
    return lines;
}

TEST(PageTable, PagesGoOnSheetsWithoutBlankSheets) {
    using S = std::vector<PrintSheet>;
    // Longer than a sheet: as many sheets as the lines need.
    EXPECT_EQ(Sheets({1, 150}, 149, {}, 60), (S{{1, 61}, {61, 121}, {121, 150}}));
    EXPECT_EQ(Sheets({1, 61, 70}, 69, {}, 60), (S{{1, 61}, {61, 70}}));
    EXPECT_EQ(Sheets({1, 62, 70}, 69, {}, 60), (S{{1, 61}, {61, 62}, {62, 70}}));
    // A page filled three blank lines past the sheet (a summary page
    // filled to the page length, then its closing lines): one sheet.
    EXPECT_EQ(Sheets({1, 64, 80}, 79, LinesFromTo(58, 63), 60), (S{{1, 58}, {64, 80}}));
    // Text past the sheet still gets its sheet.
    EXPECT_EQ(Sheets({1, 64}, 63, LinesFromTo(58, 62), 60), (S{{1, 61}, {61, 64}}));
    // A page with nothing printed takes no sheet.
    EXPECT_EQ(Sheets({1, 5, 9}, 8, LinesFromTo(5, 8), 60), (S{{1, 5}}));
    // A report without lines, or with nothing but blanks: one empty sheet.
    EXPECT_EQ(Sheets({1, 2}, 0, {}, 60), (S{{1, 2}}));
    EXPECT_EQ(Sheets({1, 4}, 3, LinesFromTo(1, 3), 60), (S{{1, 4}}));
}

TEST(PageTable, SheetsGoInTheOrderOfTheirPageNumbers) {
    struct Case {
        const char* what;
        std::vector<int> numbers;  // page number of each sheet, in report order
        std::vector<int> printed;  // the numbers in printed order
    };
    const Case cases[] = {
        {"in order already", {1, 2, 3}, {1, 2, 3}},
        {"an appraisal: holdings, then the summary pages numbered 1 and 2", {3, 4, 1, 2}, {1, 2, 3, 4}},
        {"two accounts", {3, 4, 1, 2, 3, 4, 5, 1, 2}, {1, 2, 3, 4, 1, 2, 3, 4, 5}},
        {"summary suppressed: holdings from 2", {2, 3, 1}, {1, 2, 3}},
        {"two accounts, summary suppressed", {2, 3, 1, 2, 1}, {1, 2, 3, 1, 2}},
        {"a sheet without page line stays with its page", {3, 0, 4, 1, 0, 2}, {1, 0, 2, 3, 0, 4}},
        {"no page lines", {0, 0}, {0, 0}},
        {"a report starting again at 1 is not moved", {1, 2, 1, 2}, {1, 2, 1, 2}},
        {"a run that does not go on from it stays ahead", {5, 6, 1, 2}, {5, 6, 1, 2}},
    };
    for (const Case& c : cases) {
        std::vector<PrintSheet> sheets;
        for (std::size_t i = 0; i < c.numbers.size(); ++i)
            sheets.push_back({static_cast<long>(i + 1), static_cast<long>(i + 2)});
        const std::vector<PrintSheet> ordered = InPageNumberOrder(
            sheets, [&c](const PrintSheet& sheet) { return c.numbers[sheet.first - 1]; });
        std::vector<int> printed;
        for (const PrintSheet& sheet : ordered) printed.push_back(c.numbers[sheet.first - 1]);
        EXPECT_EQ(printed, c.printed) << c.what;
    }
}

TEST(PageTable, PageNumbersOfPageLines) {
    EXPECT_EQ(PageNumberOf("                    PAGE   3"), 3);
    EXPECT_EQ(PageNumberOf("  page 12 of the run"), 12);
    EXPECT_EQ(PageNumberOf("  PAGE"), 0);
    EXPECT_EQ(PageNumberOf(" TOTAL 3"), 0);
}

class PrintTest : public road::RoadTest {
protected:
    void SetUp() override {
        road::RoadTest::SetUp();
        records::Record heading(128, ' ');
        heading.SetText(0, 50, "LEDRA TEST ADVISERS");
        records::DirectFile(records::kCommonFile, 128).Write(records::kFirmHeadingRecord, heading);
    }

    // The test report: `pages` pages of the page length the run was given.
    ReportRoutineOverride Report(int pages, bool rerun = true) {
        return ReportRoutineOverride(kTestCode, {[this, pages](ReportFields& fields) {
                                                     ++runs_;
                                                     seen_fields_ = fields;
                                                     page_numbers_suppressed_ =
                                                         records::PageNumbersSuppressed();
                                                     option30_on_disk_ = records::OptionValue(
                                                         records::Rdopts(), records::Opt::kNoPageNumbers);
                                                     road::WritePagedReport(pages);
                                                 },
                                                 rerun});
    }

    void SetOption30(unsigned char value) {
        records::Options options = records::Rdopts();
        records::SetOption(options, records::Opt::kNoPageNumbers, value);
        records::Wropts(options);
    }

    // The start-up text of two lines in its window, as start-up opens it;
    // nullptr when the window is not the start-up text's.
    CDisplayNew* OpenStartupText() {
        {
            std::ofstream text("startup.txt", std::ios::binary);
            text << "Welcome to the program\r\nSecond line\r\n";
        }
        records::Options options = records::Rdopts();
        records::SetOption(options, records::Opt::kStartupTutorial, 1);
        records::Wropts(options);
        g_app_state.startup_text_pending = 1;
        g_report.LineSource = kLinesFromReportFile;
        platform::ChildFrame* child = frame_->OpenTemplateWindow(kDisplayTemplate);
        auto* view = child ? dynamic_cast<CDisplayNew*>(child->GetView()) : nullptr;
        return view && view->IsStartupWindow() ? view : nullptr;
    }

    int runs_ = 0;
    ReportFields seen_fields_;
    bool page_numbers_suppressed_ = true;
    unsigned char option30_on_disk_ = 0;
};

TEST_F(PrintTest, PrintDestinationPrintsEveryPageToThePrinterAndCleansUp) {
    const auto report = Report(3);
    QPrinter& printer = PdfPrinter("printed.pdf");
    g_printer.LeftMargin = 0.5f;
    g_printer.RightMargin = 0.5f;
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputPrint;
    const std::size_t before = Children();
    const Played played = Play("print ok\n", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 1);

    const std::string pdf = (dir_.path() / "printed.pdf").string();
    ASSERT_TRUE(fs::exists(pdf));
    KeepPdf(pdf, "print_destination.pdf");
    // Letter paper holds the page of the paper's page length whole.
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const int page_length =
        PaperPageLength(static_cast<int>(paper.height() * 1440 / printer.resolution()), 240, 0, 0);
    EXPECT_EQ(records::FirmHeadingBlock().page_length, page_length);
    EXPECT_EQ(road::PdfPageCount(pdf), 3);

    // The copy taken for printing is gone, the print view closes itself.
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
    EXPECT_EQ(g_report.ReportWindowNumber, 1);
    road::RoadTest::Settle();
    EXPECT_EQ(Children(), before);
}

TEST_F(PrintTest, UpdateOfTheDataBaseToThePrinterAndToThePreview) {
    g_report.ReportCode = 162;
    struct Case {
        int destination;
        const char* answer;
        const char* pdf;
    };
    const Case cases[] = {{kOutputPrint, "print ok\n", "update_printed.pdf"},
                          {kOutputPreview, "print cancel\n", "update_preview.pdf"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pdf);
        PdfPrinter(c.pdf);
        g_report.OutputDestination = c.destination;
        const int number = g_report.ReportWindowNumber;
        const Played played = Play(c.answer, [&] { RouteReportOutput(*frame_); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        EXPECT_EQ(road::PdfPageCount((dir_.path() / c.pdf).string()), 1);
        KeepPdf((dir_.path() / c.pdf).string(), c.pdf);
        EXPECT_EQ(g_report.ReportWindowNumber, number + 1);
        EXPECT_FALSE(TempDataDir::Exists(CDisplayNew::WindowFileName(number)));
        road::RoadTest::Settle();
    }
}

TEST_F(PrintTest, PageNumbersAreWrittenForThePageStartsButOptionThirtyStaysOnDisk) {
    const auto report = Report(2);
    SetOption30(1);
    PdfPrinter("option30.pdf");
    ReportPrintJob job;
    job.SetRerun(nullptr);
    g_report.ReportCode = kTestCode;
    ASSERT_TRUE(job.Print(app_->Printer()));
    // The report ran with its page lines, the file kept the option.
    EXPECT_FALSE(page_numbers_suppressed_);
    EXPECT_EQ(option30_on_disk_, 1);
    EXPECT_EQ(records::OptionValue(records::Rdopts(), records::Opt::kNoPageNumbers), 1);
    EXPECT_TRUE(job.PageNumbersWereSuppressed());
    EXPECT_EQ(job.PageCount(), 2);
    EXPECT_EQ(job.PageTable()[1], job.PageLength() + 1);
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "option30.pdf").string()), 2);
    // After the run the option counts again.
    EXPECT_TRUE(records::PageNumbersSuppressed());
    job.End();
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
}

TEST_F(PrintTest, PrinterOptionsPageLengthAndTopLinesReachTheReport) {
    const auto report = Report(2);
    PdfPrinter("long.pdf");
    g_printer.PrinterPageLength = 40;
    g_printer.PrinterTopLines = 3;
    g_report.ReportCode = kTestCode;
    ReportPrintJob job;
    ASSERT_TRUE(job.Print(app_->Printer()));
    EXPECT_EQ(job.PageLength(), 40);
    EXPECT_EQ(records::FirmHeadingBlock().page_length, 40);
    EXPECT_EQ(records::FirmHeadingBlock().top_lines, 3);
    // Pages of 3 top lines and 40 lines: the second starts at line 44.
    EXPECT_EQ(job.PageTable(), (std::vector<long>{1, 44, 87}));
}

TEST_F(PrintTest, CancelledPrintDialogRunsNothingAndLeavesTheViewOpen) {
    const auto report = Report(1);
    PdfPrinter("never.pdf");
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputPrint;
    const std::size_t before = Children();
    const Played played = Play("print cancel\n", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 0);
    EXPECT_FALSE(fs::exists(dir_.path() / "never.pdf"));
    road::RoadTest::Settle();
    ASSERT_EQ(Children(), before + 1);
    auto* view = dynamic_cast<CPrintView*>(frame_->MDIGetActive()->GetView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDlgItemText(CPrintView::kSendingText), "Sending Text to Printer");

    // File Print from the open view prints after all.
    const Played again = Play("print ok\n", [&] { frame_->InvokeCommand(platform::ID_FILE_PRINT); });
    EXPECT_TRUE(again.failures.empty()) << again.Failures();
    EXPECT_EQ(runs_, 1);
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "never.pdf").string()), 1);
    road::RoadTest::Settle();
    EXPECT_EQ(Children(), before);
}

TEST_F(PrintTest, PreviewShowsThePagesAndClosesTheView) {
    const auto report = Report(2);
    PdfPrinter("preview.pdf");
    g_report.ReportCode = kTestCode;
    g_report.OutputDestination = kOutputPreview;
    const std::size_t before = Children();
    const Played played = Play("print cancel\n", [&] { RouteReportOutput(*frame_); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 1);
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "preview.pdf").string()), 2);
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
    road::RoadTest::Settle();
    EXPECT_EQ(Children(), before);
}

TEST_F(PrintTest, ACodeWithoutRoutineIsNotAvailableAndPrintsNothing) {
    PdfPrinter("nothing.pdf");
    road::WritePagedReport(1, "LEFT BY AN EARLIER RUN");
    g_report.ReportCode = 243;
    for (const int destination : {kOutputPrint, kOutputPreview}) {
        g_report.OutputDestination = destination;
        const std::string answer = destination == kOutputPrint ? "print ok\n" : "";
        const Played played =
            Play(answer + "message \"This item is not available.\" \"Report Diagnostic\" ok\n",
                 [&] { RouteReportOutput(*frame_); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        EXPECT_FALSE(fs::exists(dir_.path() / "nothing.pdf"));
        EXPECT_FALSE(TempDataDir::Exists("OUTPUT.TMP"));
    }
}

// A display window of the test report, with its selection.
CDisplayNew* OpenDisplay(CMainFrame& frame) {
    g_report.OutputDestination = kOutputDisplay;
    RouteReportOutput(frame);
    platform::ChildFrame* child = frame.MDIGetActive();
    return child ? dynamic_cast<CDisplayNew*>(child->GetView()) : nullptr;
}

TEST_F(PrintTest, DisplayWindowPrintsItsReportRunAgainWithItsOwnSelection) {
    const auto report = Report(2);
    PdfPrinter("window.pdf");
    g_report.ReportCode = kTestCode;
    g_report.SelectedAccount = "ACCT01";
    CDisplayNew* view = OpenDisplay(*frame_);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->WindowNumber(), 0);
    EXPECT_EQ(runs_, 1);

    // Another selection since; printing reruns with the window's one.
    g_report.SelectedAccount = "OTHER";
    g_report.ReportCode = 183;
    const Played played = Play("print ok\n", [&] { frame_->InvokeCommand(platform::ID_FILE_PRINT); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 2);
    EXPECT_EQ(seen_fields_.account, "ACCT01  ");
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "window.pdf").string()), 2);
    // The print copy (number 1) is gone; the window keeps its file.
    EXPECT_FALSE(TempDataDir::Exists("O000001.TMP"));
    EXPECT_TRUE(TempDataDir::Exists("O000000.TMP"));
    EXPECT_EQ(g_report.ReportWindowNumber, 2);

    // The preview of the window the same way.
    const Played preview =
        Play("print cancel\n", [&] { frame_->InvokeCommand(platform::ID_FILE_PRINT_PREVIEW); });
    EXPECT_TRUE(preview.failures.empty()) << preview.Failures();
    EXPECT_EQ(runs_, 3);
    EXPECT_FALSE(TempDataDir::Exists("O000002.TMP"));
}

TEST_F(PrintTest, PrintCopyNumberZeroIsDeletedToo) {
    const auto report = Report(1);
    PdfPrinter("first.pdf");
    // The first window of the run (a new document) holds no report file, so
    // the first print run takes number 0.
    g_report.ReportCode = kTestCode;
    platform::ChildFrame* first = frame_->GetChildFrames().front();
    frame_->MDIActivate(first);
    auto* view = dynamic_cast<CDisplayNew*>(first->GetView());
    ASSERT_NE(view, nullptr);
    ASSERT_LT(view->WindowNumber(), 0);
    ASSERT_EQ(g_report.ReportWindowNumber, 0);
    const Played played = Play("print ok\n", [&] {
        ReportPrintJob job;
        job.SetRerun(nullptr);
        PrintWithDialog(job, view->GetSafeHwnd());
    });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(g_report.ReportWindowNumber, 1);
    EXPECT_FALSE(TempDataDir::Exists("O000000.TMP"));
}

TEST_F(PrintTest, WindowNumbersGoPastSixteenBits) {
    const auto report = Report(1);
    g_report.ReportCode = kTestCode;
    g_report.ReportWindowNumber = 32767;
    CDisplayNew* last16 = OpenDisplay(*frame_);
    ASSERT_NE(last16, nullptr);
    EXPECT_EQ(last16->WindowNumber(), 32767);
    CDisplayNew* beyond = OpenDisplay(*frame_);
    ASSERT_NE(beyond, nullptr);
    EXPECT_EQ(beyond->WindowNumber(), 32768);
    EXPECT_TRUE(TempDataDir::Exists("O032768.TMP"));
    EXPECT_EQ(beyond->LineCount(), 58);
    beyond->GetParentFrame()->DestroyWindow();
    last16->GetParentFrame()->DestroyWindow();
    EXPECT_FALSE(TempDataDir::Exists("O032768.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("O032767.TMP"));
}

TEST_F(PrintTest, UpdateOfTheDataBasePrintsTheWindowsLinesWithoutRunningAgain) {
    const auto report = Report(1, /*rerun=*/false);
    PdfPrinter("update.pdf");
    g_report.ReportCode = kTestCode;
    CDisplayNew* view = OpenDisplay(*frame_);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(runs_, 1);
    const Played played = Play("print ok\n", [&] { PrintDisplayWindow(*view, false); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(runs_, 1);
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "update.pdf").string()), 1);
    EXPECT_TRUE(TempDataDir::Exists("O000000.TMP"));
    EXPECT_FALSE(TempDataDir::Exists("O000001.TMP"));
}

TEST_F(PrintTest, LongReportWithoutPageLinesGoesOnAsManySheetsAsItNeeds) {
    const auto report = ReportRoutineOverride(kTestCode, {[](ReportFields&) {
                                                  std::string name;
                                                  records::Prtout(" ", "START", name);
                                                  for (int i = 1; i <= 150; ++i)
                                                      records::Prtout(" warning " + std::to_string(i));
                                                  records::Prtout(" ", "END", name);
                                              }});
    PdfPrinter("warnings.pdf");
    g_report.ReportCode = kTestCode;
    ReportPrintJob job;
    ASSERT_TRUE(job.Print(app_->Printer()));
    EXPECT_EQ(job.Lines().size(), 150u);
    EXPECT_EQ(job.PageCount(), 3);
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "warnings.pdf").string()), 3);
}

TEST_F(PrintTest, StartupTextPrintsAsItIsAndStays) {
    CDisplayNew* view = OpenStartupText();
    ASSERT_NE(view, nullptr);
    PdfPrinter("startup.pdf");
    const int before = g_report.ReportWindowNumber;
    const Played played = Play("print ok\n", [&] { PrintDisplayWindow(*view, false); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    EXPECT_EQ(road::PdfPageCount((dir_.path() / "startup.pdf").string()), 1);
    EXPECT_EQ(g_report.ReportWindowNumber, before);
    EXPECT_TRUE(TempDataDir::Exists("startup.rpt"));
}

// Where startup.rpt cannot be made in the data directory (here a folder
// takes its name, as a folder that cannot be written refuses the file),
// the start-up text the window shows from memory prints as well.
TEST_F(PrintTest, StartupTextKeptInMemoryPrints) {
    fs::create_directory("startup.rpt");
    CDisplayNew* view = OpenStartupText();
    ASSERT_NE(view, nullptr);
    PdfPrinter("kept.pdf");
    const Played played = Play("print ok\n", [&] { PrintDisplayWindow(*view, false); });
    EXPECT_TRUE(played.failures.empty()) << played.Failures();
    const std::vector<std::string> pages = road::PdfPageTexts(dir_.path() / "kept.pdf");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Welcome to the program"), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("Second line"), std::string::npos) << pages[0];
}

// The number of a page's page line ("PAGE   3"), 0 when it has none.
int PrintedPageNumber(const std::string& page) {
    std::size_t at = 0;
    for (std::size_t end; at < page.size(); at = end + 1) {
        end = page.find('\n', at);
        if (end == std::string::npos) end = page.size();
        if (const int number = PageNumberOf(page.substr(at, end - at))) return number;
    }
    return 0;
}

// Every report of the sample firm printed to a PDF, for one account, and
// the appraisals for all accounts: each sheet holds text, and the pages
// come out in the order of their numbers (each account's or report's
// pages from 1 on). The text is read back from the PDF, so what any face
// the machine gives "Courier" draws is checked.
TEST_F(PrintTest, NoReportPrintsABlankSheetAndPagesComeInNumberOrder) {
    fixtures::TempDataDir::CopySampleFirm();
    g_report.EndDate = "12/31/98";
    struct Run {
        int code;
        int scope;
    };
    std::vector<Run> runs;
    for (const int code : ReportRoutineCodes()) {
        // Imports read input files, the update of the data base changes it.
        if (code == 63 || code == 44 || code == 291 || code == 162) continue;
        runs.push_back({code, 2});
    }
    for (const int code : {103, 106, 101, 201}) runs.push_back({code, 1});
    int appraisal_sheets = 0;
    for (const Run& run : runs) {
        const std::string name = "code" + std::to_string(run.code) + "-" + std::to_string(run.scope) + ".pdf";
        SCOPED_TRACE(name);
        g_report.StartDate = run.code == 91 || run.code == 92 ? "01/03/96" : "01/01/98";
        g_report.ReportCode = run.code;
        g_report.ReportVariant = run.code == 121 ? 1 : 0;
        g_report.SelectionScope = run.scope;
        g_report.ManagerCode = "????";
        g_report.SelectedAccount = run.code == 343                      ? "INTL"
                                   : run.code == 341 || run.code == 342 ? "SMITH"
                                                                        : "SMITH1";
        g_report.OutputDestination = kOutputPrint;
        PdfPrinter(name);
        const Played played = Play("print ok\n", [&] { RouteReportOutput(*frame_); });
        EXPECT_TRUE(played.failures.empty()) << played.Failures();
        road::RoadTest::Settle();
        KeepPdf((dir_.path() / name).string(), name);
        const std::vector<std::string> pages = road::PdfPageTexts(dir_.path() / name);
        ASSERT_FALSE(pages.empty()) << "pdftotext (poppler-utils) reads the printed pages";
        EXPECT_EQ(static_cast<int>(pages.size()), road::PdfPageCount((dir_.path() / name).string()));
        int last = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_NE(pages[p].find_first_not_of(" \n"), std::string::npos) << "sheet " << p + 1 << " is blank";
            const int number = PrintedPageNumber(pages[p]);
            if (number == 0) continue;
            EXPECT_TRUE(number == 1 || number == last + 1)
                << "sheet " << p + 1 << " is page " << number << " after page " << last;
            last = number;
        }
        if (run.code == 103 && run.scope == 2) {
            // SMITH1 as of 12/31/98: two holdings pages, the summary of the
            // portfolio and the common stocks page, in that order by number.
            ASSERT_EQ(pages.size(), 4u);
            EXPECT_NE(pages[0].find("SUMMARY OF INVESTMENT PORTFOLIO"), std::string::npos);
            EXPECT_NE(pages[1].find("COMMON STOCKS"), std::string::npos);
            EXPECT_EQ(PrintedPageNumber(pages[3]), 4);
            appraisal_sheets = static_cast<int>(pages.size());
        }
    }
    EXPECT_EQ(appraisal_sheets, 4);
}

}  // namespace
