#pragma once

// Printing reports. A report reaches paper from the print and preview
// destinations of a report command, through a print view window (template
// 2) that starts printing or the preview at once and closes itself when it
// is done, and from a report display window's File Print and File Print
// Preview.
//
// The report is run again for the paper (ReportPrintJob): the page length
// comes from the printable height, the report runs with its page-number
// lines written whatever option 30 says (so the page starts can be found),
// its work file is taken under a report window number of its own, the
// page starts are found, and each page is printed in Courier sized so that
// all 132 columns fit between the margins of the printer options. Lines
// are placed in twips (1440 an inch) as the report layout was made for.

#include <QFont>
#include <QRectF>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/view.h"
#include "shell/report_globals.h"

class QPainter;
class QPrinter;

namespace shell {

class CDisplayNew;

inline constexpr int kTwipsPerInch = 1440;
// Columns of a report line, all of which are printed.
inline constexpr int kPrintColumns = 132;
// The narrowest text width printing works with: 2.5 inches.
inline constexpr int kMinimumTextWidth = 3600;
// The least line height: six lines an inch.
inline constexpr int kMinimumLineHeight = 240;

// Where the 132 columns go across the paper, in twips.
struct PrintColumns {
    int left = 0;        // x of column 1: the left margin
    int text_width = 0;  // the printable width less both margins, at least 3600
    int char_width = 0;  // text width / 132
};
PrintColumns ComputePrintColumns(int printable_width, float left_margin, float right_margin);

// The page length a report runs with for the paper: the printer options'
// page length when above 0, otherwise the whole lines of the printable
// height less one, less the top lines.
int16_t PaperPageLength(int printable_height, int line_height, int16_t printer_page_length,
                        int16_t top_lines);

// A page line: after its leading blanks the line begins with "page " in
// any case. Report pages begin a fixed number of lines before theirs.
bool IsPageLine(std::string_view line);

// The page table of a report: the first line (from 1) of every page, then
// the line one past the last. The lines above the first page line (blank
// top lines) belong to every page: a page starts that many lines before
// its page line. A report without lines gives {1, 2}: one empty page.
std::vector<long> BuildPageTable(const std::vector<std::string>& lines);

// The number a page line carries ("  PAGE   3" is 3); 0 for any other line.
int PageNumberOf(std::string_view line);

// One sheet of paper: the report lines [first, end) drawn on it.
struct PrintSheet {
    long first = 1;
    long end = 1;
    bool operator==(const PrintSheet&) const = default;
};

// The sheets the pages of a table go on. A page's trailing blank lines
// take no paper (a page filled to the bottom of the report's page length
// and a line or two more must not leave a blank sheet behind); a page that
// still holds more lines than a sheet goes on as many sheets as it needs;
// a page with nothing printed on it (`blank` says which lines print
// nothing) takes no sheet, unless the report has nothing else: then it is
// one empty sheet.
std::vector<PrintSheet> SheetsOfPages(const std::vector<long>& table, long line_count,
                                      const std::function<bool(long)>& blank, long lines_per_sheet);

// Sheets in the order of their page numbers. An appraisal prints each
// account's holdings pages first and numbers them after the summary pages
// that follow them (3, 4, then 1, 2): a run of pages whose numbers start
// again at 1 goes before the run just ahead of it when that run goes on
// from its last number. `number` gives a sheet's page number (0 for a
// sheet without page line, which stays with the sheet before it).
std::vector<PrintSheet> InPageNumberOrder(const std::vector<PrintSheet>& sheets,
                                          const std::function<int(const PrintSheet&)>& number);

// One run of the report for the paper, and its pages.
class ReportPrintJob {
public:
    enum class Source {
        Rerun,       // run the report again (with `selection` when given)
        WindowFile,  // print a copy of a display window's own report file
        StartupText  // print startup.rpt as it is
    };

    ReportPrintJob() = default;
    ~ReportPrintJob();
    ReportPrintJob(const ReportPrintJob&) = delete;
    ReportPrintJob& operator=(const ReportPrintJob&) = delete;

    void SetRerun(const ReportSelection* selection);
    void SetWindowFile(int window_number);
    void SetStartupText();

    // Runs the report for the printer's paper; again when the paper
    // changed since the last run. False when the report could not be run
    // ("This item is not available." has been shown).
    bool Prepare(QPrinter& printer);
    // Prepares when needed and prints the pages the printer asks for (all
    // of them unless a page range was chosen); false when nothing could
    // be printed.
    bool Print(QPrinter& printer);
    // Removes the copy of the report made for printing.
    void End();

    // What the last preparation found.
    int PrintNumber() const { return print_number_; }
    // The sheets to print, in the order they are printed.
    int PageCount() const { return static_cast<int>(sheets_.size()); }
    const std::vector<PrintSheet>& Sheets() const { return sheets_; }
    // The page starts in the report's own order (BuildPageTable).
    const std::vector<long>& PageTable() const { return table_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    int16_t PageLength() const { return page_length_; }
    const PrintColumns& Columns() const { return columns_; }
    int LineHeight() const { return line_height_; }
    const QFont& Font() const { return font_; }
    bool PageNumbersWereSuppressed() const { return option30_; }

private:
    bool TakeReport();
    // The text line n (from 1) prints as: its first 132 columns without
    // trailing blanks, nothing for a page line when page numbers are off.
    std::string PrintedText(long n) const;
    void DrawPage(QPainter& painter, int page) const;

    Source source_ = Source::Rerun;
    bool has_selection_ = false;
    ReportSelection selection_;
    int window_number_ = -1;

    bool prepared_ = false;
    QRectF prepared_paper_;
    PrintColumns columns_;
    QFont font_;
    int ascent_ = 0;
    int line_height_ = kMinimumLineHeight;
    int16_t page_length_ = 0;
    int print_number_ = -1;
    bool owns_copy_ = false;
    bool option30_ = false;
    std::vector<std::string> lines_;
    std::vector<long> table_;
    std::vector<PrintSheet> sheets_;
};

// The printer reports print on: the application's, or one of its own
// when there is no application object.
QPrinter& ReportPrinter();

enum class PrintOutcome { Cancelled, Printed, Failed };
// Runs the print dialog and prints the job; the job's copy is removed.
PrintOutcome PrintWithDialog(ReportPrintJob& job, platform::WindowHandle owner);
// Prepares the job and shows its preview; the job's copy is removed after.
// False when the report could not be run.
bool PreviewJob(ReportPrintJob& job, platform::WindowHandle owner);

// The print view (template 2, form "Printer Interaction"): shows "Sending
// Text to Printer", prints (output destination 0) or previews (1) the
// report of the report globals at once and closes itself when the print
// job or the preview has ended. A cancelled print dialog leaves it open
// and empty; File Print and File Print Preview then start again.
class CPrintView : public platform::View {
public:
    static constexpr int kFormId = 138;
    static constexpr int kSendingText = 1000;

    CPrintView();
    void OnInitialUpdate() override;
    void OnDraw(QPainter& painter) override;

    void OnFilePrint();
    void OnFilePrintPreview();

    // What the last job printed.
    int LastPageCount() const { return last_page_count_; }

private:
    void Finish();

    int last_page_count_ = 0;
};

// File Print and File Print Preview of a report display window: the
// start-up text prints as it is; a report whose routine may run again runs
// again with the selection the window was made with; any other report
// (one its dialog wrote, or the update of the data base) prints the lines
// the window shows.
void PrintDisplayWindow(CDisplayNew& view, bool preview);

}  // namespace shell
