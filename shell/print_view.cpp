// Printing reports: the print job, the print view and the display
// window's printing.

#include "shell/print_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "platform/common_dialogs.h"
#include "platform/text.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "shell/app.h"
#include "shell/display_view.h"
#include "shell/printer_settings.h"
#include "shell/runner.h"

namespace shell {
namespace {

using namespace platform;

// Reports never run with shorter pages than this: the page heading alone
// takes four lines.
constexpr int16_t kShortestPageLength = 5;

// Courier of fixed pitch whose characters are exactly `char_width` apart:
// sized so that a character is no wider than the cell, then spaced out to
// fill it, so that the columns of every line stand where the report put
// them and all 132 of them fit. Sizes are in twips.
QFont CourierOfWidth(int char_width) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setKerning(false);
    constexpr int kProbeSize = 1000;
    font.setPixelSize(kProbeSize);
    const double probe = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    int size = probe > 0 ? static_cast<int>(char_width * kProbeSize / probe) : char_width * 5 / 3;
    font.setPixelSize(std::max(1, size));
    const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::max(0.0, char_width - advance));
    return font;
}

// The lines of a 132-byte line file, up to the first that cannot be read.
std::vector<std::string> ReadLineFile(const std::string& name) {
    std::vector<std::string> lines;
    records::DirectFile file(name, records::kReportLineWidth, /*create=*/false);
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) lines.push_back(rec.Text(0, records::kReportLineWidth));
    return lines;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(records::ResolveName(from), to,
                               std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

PrintColumns ComputePrintColumns(int printable_width, float left_margin, float right_margin) {
    PrintColumns columns;
    columns.left = static_cast<int>(left_margin * kTwipsPerInch);
    columns.text_width =
        static_cast<int>(printable_width - (static_cast<double>(left_margin) + right_margin) * kTwipsPerInch);
    if (columns.text_width < kMinimumTextWidth) columns.text_width = kMinimumTextWidth;
    columns.char_width = columns.text_width / kPrintColumns;
    return columns;
}

int16_t PaperPageLength(int printable_height, int line_height, int16_t printer_page_length,
                        int16_t top_lines) {
    if (printer_page_length > 0) return printer_page_length;
    const int whole_lines = printable_height / std::max(1, line_height);
    return static_cast<int16_t>(std::max<int>(kShortestPageLength, whole_lines - 1 - top_lines));
}

bool IsPageLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || line.size() - start < 5) return false;
    static constexpr std::string_view kPage = "page ";
    for (std::size_t i = 0; i < kPage.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[start + i])) != kPage[i]) return false;
    return true;
}

std::vector<long> BuildPageTable(const std::vector<std::string>& lines) {
    const long count = static_cast<long>(lines.size());
    // The offset of a page's start before its page line: the lines above
    // the report's first page line, when its first non-blank line is one.
    long offset = 0;
    for (long n = 1; n <= count; ++n) {
        if (records::IsBlank(lines[n - 1])) continue;
        if (IsPageLine(lines[n - 1])) offset = n - 1;
        break;
    }
    std::vector<long> table{1};
    for (long n = offset + 2;; ++n) {
        if (n > count) {
            table.push_back(n);
            break;
        }
        if (IsPageLine(lines[n - 1])) table.push_back(n - offset);
    }
    return table;
}

int PageNumberOf(std::string_view line) {
    if (!IsPageLine(line)) return 0;
    const std::size_t digits = line.find_first_of("0123456789");
    if (digits == std::string_view::npos) return 0;
    int number = 0;
    for (std::size_t i = digits; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i)
        number = std::min(number * 10 + (line[i] - '0'), 1000000);
    return number;
}

std::vector<PrintSheet> SheetsOfPages(const std::vector<long>& table, long line_count,
                                      const std::function<bool(long)>& blank, long lines_per_sheet) {
    std::vector<PrintSheet> sheets;
    lines_per_sheet = std::max(1L, lines_per_sheet);
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        const long first = table[i];
        long end = std::min(table[i + 1], line_count + 1);
        while (end > first && blank(end - 1)) --end;
        for (long start = first; start < end; start += lines_per_sheet)
            sheets.push_back({start, std::min(end, start + lines_per_sheet)});
    }
    if (sheets.empty() && table.size() > 1) sheets.push_back({table[0], table[1]});
    return sheets;
}

std::vector<PrintSheet> InPageNumberOrder(const std::vector<PrintSheet>& sheets,
                                          const std::function<int(const PrintSheet&)>& number) {
    // Runs of consecutive page numbers; a sheet without a number goes on
    // the run it follows. A run that starts again at 1 after a run from s
    // holds the pages 1 to s - 1 only: the next account's holdings pages
    // (s on) follow its summary pages without a break in the numbers.
    struct Run {
        std::vector<PrintSheet> sheets;
        int first = 0, last = 0;
        int limit = 0;  // the last number the run may take, 0 for any
    };
    std::vector<Run> runs;
    for (const PrintSheet& sheet : sheets) {
        const int n = number(sheet);
        const bool goes_on = !runs.empty() && (n == 0 || runs.back().last == 0 ||
                                               (n == runs.back().last + 1 &&
                                                (runs.back().limit == 0 || n <= runs.back().limit)));
        if (!goes_on) {
            Run run;
            if (n == 1 && !runs.empty() && runs.back().first > 1) run.limit = runs.back().first - 1;
            runs.push_back(std::move(run));
        }
        Run& run = runs.back();
        run.sheets.push_back(sheet);
        if (n != 0) {
            if (run.first == 0) run.first = n;
            run.last = n;
        }
    }
    std::vector<Run> ordered;
    for (Run& run : runs) {
        if (run.first == 1 && !ordered.empty() && ordered.back().first == run.last + 1)
            ordered.insert(ordered.end() - 1, std::move(run));
        else
            ordered.push_back(std::move(run));
    }
    std::vector<PrintSheet> result;
    for (const Run& run : ordered) result.insert(result.end(), run.sheets.begin(), run.sheets.end());
    return result;
}

// The print job.

ReportPrintJob::~ReportPrintJob() {
    End();
}

void ReportPrintJob::SetRerun(const ReportSelection* selection) {
    source_ = Source::Rerun;
    has_selection_ = selection != nullptr;
    if (selection) selection_ = *selection;
    prepared_ = false;
}

void ReportPrintJob::SetWindowFile(int window_number) {
    source_ = Source::WindowFile;
    window_number_ = window_number;
    prepared_ = false;
}

void ReportPrintJob::SetStartupText() {
    source_ = Source::StartupText;
    prepared_ = false;
}

bool ReportPrintJob::Prepare(QPrinter& printer) {
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    if (prepared_ && paper == prepared_paper_) return true;
    End();
    prepared_ = false;
    lines_.clear();
    table_.clear();
    sheets_.clear();

    const double to_twips = static_cast<double>(kTwipsPerInch) / std::max(1, printer.resolution());
    const int printable_width = static_cast<int>(paper.width() * to_twips);
    const int printable_height = static_cast<int>(paper.height() * to_twips);
    columns_ = ComputePrintColumns(printable_width, g_printer.LeftMargin, g_printer.RightMargin);
    font_ = CourierOfWidth(columns_.char_width);
    const QFontMetricsF metrics(font_);
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
    line_height_ = std::max(kMinimumLineHeight,
                            static_cast<int>(std::ceil(metrics.height() + std::max(0.0, metrics.leading()))));
    page_length_ = PaperPageLength(printable_height, line_height_, g_printer.PrinterPageLength,
                                   g_printer.PrinterTopLines);
    SetReportPageSettings(page_length_, g_printer.PrinterTopLines);

    if (!TakeReport()) return false;
    table_ = BuildPageTable(lines_);
    const long line_count = static_cast<long>(lines_.size());
    sheets_ = InPageNumberOrder(
        SheetsOfPages(
            table_, line_count, [this](long n) { return PrintedText(n).empty(); },
            printable_height / line_height_),
        [this, line_count](const PrintSheet& sheet) {
            for (long n = sheet.first; n < sheet.end && n <= line_count; ++n)
                if (const int number = PageNumberOf(lines_[n - 1])) return number;
            return 0;
        });
    prepared_paper_ = paper;
    prepared_ = true;
    return true;
}

bool ReportPrintJob::TakeReport() {
    std::string file;
    switch (source_) {
        case Source::StartupText:
            print_number_ = CDisplayNew::kStartupNumber;
            owns_copy_ = false;
            option30_ = false;
            // The lines as the window reads them: from startup.rpt, or from
            // memory where the data directory could not take that file.
            lines_.clear();
            for (long n = 1;; ++n) {
                std::string line;
                int16_t status = 0;
                records::Rdlin2(records::kStartupWindow, n, line, status);
                if (status != 0) break;
                lines_.push_back(line);
            }
            return true;
        case Source::WindowFile:
            option30_ = records::PageNumbersSuppressed();
            print_number_ = g_report.ReportWindowNumber++;
            owns_copy_ = true;
            file = CDisplayNew::WindowFileName(print_number_);
            CopyFile(CDisplayNew::WindowFileName(window_number_), file);
            break;
        case Source::Rerun: {
            if (has_selection_) RestoreSelection(selection_);
            // The report writes its page-number lines whatever option 30
            // says: the page starts are found by them. They are left off
            // the paper when the option asks for that.
            option30_ = records::PageNumbersSuppressed();
            {
                records::PageNumberOverride numbers_on(false);
                if (!RunReport()) return false;
            }
            print_number_ = g_report.ReportWindowNumber++;
            owns_copy_ = true;
            CDisplayNew::TakeOutputFile(print_number_);
            file = CDisplayNew::WindowFileName(print_number_);
            break;
        }
    }
    lines_ = ReadLineFile(file);
    return true;
}

bool ReportPrintJob::Print(QPrinter& printer) {
    if (!Prepare(printer)) return false;
    const int pages = PageCount();
    if (pages < 1) return false;
    int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
    int last = printer.toPage() > 0 ? std::min(printer.toPage(), pages) : pages;
    if (first > last) return false;

    QPainter painter;
    if (!BeginPrintJob(painter, printer)) return false;
    const double scale = printer.resolution() / static_cast<double>(kTwipsPerInch);
    painter.scale(scale, scale);
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    bool first_sheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!first_sheet && !printer.newPage()) {
                painter.end();
                return false;
            }
            first_sheet = false;
            DrawPage(painter, page);
        }
    }
    return painter.end();
}

std::string ReportPrintJob::PrintedText(long n) const {
    if (n < 1 || n > static_cast<long>(lines_.size())) return {};
    std::string text = TrimRight(lines_[n - 1].substr(0, kPrintColumns));
    if (option30_ && IsPageLine(text)) text.clear();
    return text;
}

void ReportPrintJob::DrawPage(QPainter& painter, int page) const {
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const PrintSheet& sheet = sheets_[page - 1];
    for (long n = sheet.first; n < sheet.end; ++n) {
        if (n < 1 || n > static_cast<long>(lines_.size())) break;
        const std::string text = PrintedText(n);
        if (text.empty()) continue;
        const double y = static_cast<double>(n - sheet.first) * line_height_ + ascent_;
        painter.drawText(QPointF(columns_.left, y), platform::ToQtDisplay(text));
    }
}

void ReportPrintJob::End() {
    // A copy of number 0 is a copy as much as any other: it goes too.
    if (owns_copy_ && print_number_ >= 0) CDisplayNew::RemoveOutputFile(print_number_);
    owns_copy_ = false;
    prepared_ = false;
}

QPrinter& ReportPrinter() {
    if (CLedraApp* app = TheApp()) return app->Printer();
    static QPrinter* own = new QPrinter;
    return *own;
}

PrintOutcome PrintWithDialog(ReportPrintJob& job, WindowHandle owner) {
    QPrinter& printer = ReportPrinter();
    if (!PrintDialog(printer, owner)) return PrintOutcome::Cancelled;
    const bool printed = job.Print(printer);
    job.End();
    return printed ? PrintOutcome::Printed : PrintOutcome::Failed;
}

bool PreviewJob(ReportPrintJob& job, WindowHandle owner) {
    QPrinter& printer = ReportPrinter();
    if (!job.Prepare(printer)) return false;
    PrintPreviewDialog(
        printer, [&job](QPrinter& target) { job.Print(target); }, owner);
    job.End();
    return true;
}

// The print view.

CPrintView::CPrintView() {
    Bind(ID_FILE_PRINT, Notify::Clicked, &CPrintView::OnFilePrint);
    Bind(ID_FILE_PRINT_PREVIEW, Notify::Clicked, &CPrintView::OnFilePrintPreview);
}

void CPrintView::OnInitialUpdate() {
    CreateControl(Static(kSendingText, "Sending Text to Printer"), QRect(20, 20, 220, 24));
    // The frame takes the size of the form.
    if (ChildFrame* frame = GetParentFrame())
        if (QWidget* widget = frame->GetWidget()) widget->resize(300, 110);
    if (g_report.OutputDestination == kOutputPrint)
        OnFilePrint();
    else if (g_report.OutputDestination == kOutputPreview)
        OnFilePrintPreview();
}

void CPrintView::OnDraw(QPainter& painter) {
    painter.fillRect(GetClientRect(), Qt::white);
}

void CPrintView::OnFilePrint() {
    ReportPrintJob job;
    const PrintOutcome outcome = PrintWithDialog(job, GetSafeHwnd());
    last_page_count_ = job.PageCount();
    // A cancelled print dialog leaves the window open and empty.
    if (outcome != PrintOutcome::Cancelled) Finish();
}

void CPrintView::OnFilePrintPreview() {
    ReportPrintJob job;
    PreviewJob(job, GetSafeHwnd());
    last_page_count_ = job.PageCount();
    Finish();
}

void CPrintView::Finish() {
    if (ChildFrame* frame = GetParentFrame()) frame->PostClose();
}

// The display window's printing.

void PrintDisplayWindow(CDisplayNew& view, bool preview) {
    ReportPrintJob job;
    if (view.IsStartupWindow()) {
        job.SetStartupText();
    } else {
        const int code = view.SavedSelection().ReportCode;
        const ReportRoutineEntry* routine = FindReportRoutine(code);
        if ((!routine || !routine->rerun_for_printing) && view.WindowNumber() >= 0)
            job.SetWindowFile(view.WindowNumber());
        else
            job.SetRerun(&view.SavedSelection());
    }
    if (preview)
        PreviewJob(job, view.GetSafeHwnd());
    else
        PrintWithDialog(job, view.GetSafeHwnd());
}

}  // namespace shell
