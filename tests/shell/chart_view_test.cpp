// The chart window: the chart view fills the chart control from the chart
// data file of the chosen kind in the data directory, opens no window when
// the file cannot be drawn (each error with its own message), keeps the
// chart over its whole client area and prints it keeping its proportions.
//
// LEDRA_CHART_PICTURES=<folder> saves each chart window drawn here as a PNG
// and the printed page as a PDF, for a person to look at.

#include "shell/chart_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/chart_files.h"
#include "platform/message_box.h"
#include "platform/scripted_interaction.h"
#include "records/report_output.h"
#include "shell/app.h"
#include "shell/chart_select_dialog.h"
#include "shell/command_ids.h"
#include "shell/print_view.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/shell/pdf_pages.h"
#include "tests/tools/script_driver.h"

namespace {

namespace fs = std::filesystem;
using namespace shell;
using Kind = platform::ChartType;

fs::path FixtureDir() {
    return fs::path(LEDRA_TESTS_DIR) / "fixtures" / "charts";
}

fs::path PictureDir() {
    const QByteArray folder = qgetenv("LEDRA_CHART_PICTURES");
    if (folder.isEmpty()) return {};
    fs::create_directories(folder.toStdString());
    return fs::path(folder.toStdString());
}

void Keep(const QImage& image, const std::string& name) {
    if (const fs::path dir = PictureDir(); !dir.empty())
        image.save(QString::fromStdString((dir / (name + ".png")).string()));
}

void CopyFixture(const std::string& name) {
    fs::copy_file(FixtureDir() / name, fs::current_path() / name, fs::copy_options::overwrite_existing);
}

void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

// The program started on a fresh data directory, with no dialog or message
// box expected during its start-up.
class ChartWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<CLedraApp>();
        platform::ScriptedInteraction none;
        platform::ScopedInteraction installed(none);
        ASSERT_TRUE(app_->InitInstance(platform::SW_SHOW));
        ASSERT_TRUE(none.Failures().empty()) << none.Failures().front();
        frame_ = app_->GetMainFrame();
    }
    void TearDown() override {
        platform::ScriptedInteraction none;
        platform::ScopedInteraction installed(none);
        app_.reset();
    }

    // Opens a chart window of the kind and type, as the Charts command does
    // after its dialog. `script` answers what the window shows.
    platform::ChildFrame* OpenChart(int kind, int type, platform::ScriptedInteraction& script) {
        ChartKind = static_cast<int16_t>(kind);
        ChartType = static_cast<int16_t>(type);
        platform::ScopedInteraction installed(script);
        platform::ChildFrame* child = frame_->OpenTemplateWindow(kChartTemplate);
        QApplication::processEvents();
        return child;
    }

    int SubWindows() const { return static_cast<int>(frame_->GetMdiArea()->subWindowList().size()); }

    fixtures::TempDataDir dir_;
    std::unique_ptr<CLedraApp> app_;
    CMainFrame* frame_ = nullptr;
};

CChartView* ViewOf(platform::ChildFrame* child) {
    return child ? dynamic_cast<CChartView*>(child->GetView()) : nullptr;
}

// ---- charts drawn from the report writers' files

struct DrawnCase {
    std::string name;
    int kind;
    int type;
    std::string file;  // copied from the fixtures
    std::string title;
    Kind chart_type;
    std::string header;
    int sets;
    int points;
    int label;  // a label to check: its number and text
    std::string label_text;
};

const std::vector<DrawnCase> kDrawn = {
    {"AssetAllocationPie", 1, 1, "PIECHART.OUT", "Asset Allocation", Kind::Pie,
     "ASSET ALLOCATION - SMITH FAMILY", 7, 1, 7, "TOTAL ACCRUED INTEREST - 0.2%"},
    {"AssetAllocationBar", 1, 2, "PIECHART.OUT", "Asset Allocation", Kind::Bar,
     "ASSET ALLOCATION - SMITH FAMILY", 7, 1, 1, "CASH & EQUIVALENTS - 4.3%"},
    // The industry category file's label starts one column in, and a
    // category without a name keeps its percentage.
    {"IndustryCategoryPie", 2, 1, "PIECHRT1.OUT", "Industry Category", Kind::Pie,
     " COMMON STOCKS - SMITH FAMILY", 8, 1, 3, "COMPUTERS & SOFTWARE - 22.6%"},
    {"IndustryCategoryBar", 2, 2, "PIECHRT1.OUT", "Industry Category", Kind::Bar,
     " COMMON STOCKS - SMITH FAMILY", 8, 1, 7, " - 7.5%"},
    // The performance chart is a line chart whatever the type says.
    {"PerformanceLine", 3, 2, "GRAPHER.OUT", "Performance", Kind::Line, "Performance", 3, 13, 2, " S&P 500"},
    {"PerformanceAfterPie", 3, 1, "GRAPHER.OUT", "Performance", Kind::Line, "Performance", 3, 13, 1,
     " SMITH   PORTFOLIO"},
};

class ChartDrawn : public ChartWindowTest, public ::testing::WithParamInterface<DrawnCase> {};

TEST_P(ChartDrawn, FillsTheChartFromTheFileOfItsKind) {
    const DrawnCase& c = GetParam();
    CopyFixture(c.file);
    platform::ScriptedInteraction script;
    platform::ChildFrame* child = OpenChart(c.kind, c.type, script);
    EXPECT_TRUE(script.MessageBoxes().empty()) << script.MessageBoxes().front().text;
    CChartView* view = ViewOf(child);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame_->MDIGetActive(), child);
    EXPECT_EQ(child->GetWindowText(), c.title);

    const platform::ChartControl& chart = view->Chart();
    ASSERT_TRUE(chart.IsWindow());
    EXPECT_EQ(chart.GetDlgCtrlID(), CChartView::kChartId);
    EXPECT_FALSE(chart.IsBatched());
    const platform::ChartModel& m = chart.Model();
    EXPECT_EQ(m.type, c.chart_type);
    EXPECT_EQ(m.header, c.header);
    ASSERT_EQ(m.NumSeries(), c.sets);
    for (int s = 0; s < c.sets; ++s) EXPECT_EQ(static_cast<int>(m.values[s].size()), c.points) << s;
    EXPECT_EQ(m.LabelOf(c.label), c.label_text);
    EXPECT_EQ(static_cast<int>(m.labels.size()), c.sets);
    EXPECT_EQ((std::vector<int>{m.depth, m.elevation, m.rotation, m.bar_overlap, m.bar_gap}),
              (std::vector<int>{10, 30, 30, -50, 100}));
    if (c.chart_type == Kind::Line) {
        EXPECT_EQ(m.values[2][12], 10.9);
        EXPECT_EQ(m.x_annotation, platform::AxisAnnotation::Values);
    } else {
        // One data set of one point a slice; no point numbers on the x axis.
        EXPECT_EQ(m.x_annotation, platform::AxisAnnotation::None);
    }

    // The chart covers the view.
    EXPECT_FALSE(view->GetClientRect().isEmpty());
    EXPECT_EQ(chart.GetWidget()->geometry(), view->GetClientRect());
    const QImage picture = chart.GetWidget()->grab().toImage();
    Keep(picture, "view_" + c.name);
    EXPECT_EQ(picture.size(), view->GetClientRect().size() * picture.devicePixelRatio());
}

INSTANTIATE_TEST_SUITE_P(Files, ChartDrawn, ::testing::ValuesIn(kDrawn),
                         [](const auto& info) { return info.param.name; });

// Pixels of a colour, give or take the blending at the edges of lines.
int CountNear(const QImage& image, QColor wanted) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 40 && std::abs(c.green() - wanted.green()) < 40 &&
                std::abs(c.blue() - wanted.blue()) < 40)
                ++n;
        }
    return n;
}

TEST_F(ChartWindowTest, PerformanceLinesAreRedGreenAndBlueAndWide) {
    CopyFixture("GRAPHER.OUT");
    platform::ScriptedInteraction script;
    CChartView* view = ViewOf(OpenChart(3, 2, script));
    ASSERT_NE(view, nullptr);
    const platform::ChartModel& m = view->Chart().Model();
    const platform::ColorRef colors[] = {platform::Rgb(255, 0, 0), platform::Rgb(0, 255, 0),
                                         platform::Rgb(0, 0, 255)};
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(m.StyleOf(s).line_color, colors[s - 1]) << s;
        EXPECT_EQ(m.StyleOf(s).symbol_color, colors[s - 1]) << s;
        EXPECT_EQ(m.StyleOf(s).line_width, 4) << s;
    }
    const QImage picture = view->Chart().GetWidget()->grab().toImage();
    for (const QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
        EXPECT_GT(CountNear(picture, c), 200) << c.name().toStdString();
}

TEST_F(ChartWindowTest, ChartFollowsTheWindowsSize) {
    CopyFixture("PIECHART.OUT");
    platform::ScriptedInteraction script;
    platform::ChildFrame* child = OpenChart(1, 1, script);
    CChartView* view = ViewOf(child);
    ASSERT_NE(view, nullptr);
    for (const QSize size : {QSize(300, 500), QSize(700, 260)}) {
        child->GetWidget()->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(view->Chart().GetWidget()->geometry(), view->GetClientRect());
        EXPECT_LT(view->GetClientRect().width(), size.width());
        EXPECT_GT(view->GetClientRect().width(), size.width() - 40);
    }
    // Sizes without room leave the chart where it was.
    const QRect before = view->Chart().GetWidget()->geometry();
    view->OnSize(0, 200);
    view->OnSize(200, 0);
    EXPECT_EQ(view->Chart().GetWidget()->geometry(), before);
}

// ---- files the chart cannot be drawn from

struct ErrorCase {
    std::string name;
    int kind;
    std::vector<std::pair<std::string, std::string>> files;  // written before the window opens
    std::string message;
};

const std::vector<ErrorCase> kErrors = {
    {"NoAssetAllocationFile", 1, {}, "Chart data file does not exist."},
    // Only the file of the chosen kind counts.
    {"NoIndustryCategoryFile",
     2,
     {{"PIECHART.OUT", "TITLE\r\nCASH                             10.0\r\n"}},
     "Chart data file does not exist."},
    {"NoGrapherFile", 3, {{"PieChart.out", "TITLE\r\n"}}, "Chart data file does not exist."},
    {"AssetAllocationEmpty", 1, {{"PIECHART.OUT", ""}}, "PieChart.out does not have title."},
    {"IndustryCategoryEmpty", 2, {{"PIECHRT1.OUT", ""}}, "PieChart.out does not have title."},
    {"AssetAllocationTitleOnly",
     1,
     {{"PIECHART.OUT", "ASSET ALLOCATION - NOBODY\r\n"}},
     "0 data records in file."},
    {"AssetAllocationBadPercentage",
     1,
     {{"PIECHART.OUT",
       "T\r\nCASH                             10.0\r\nEQUITIES                        N/A\r\n"}},
     "PieChart.out has improperly formatted percentage."},
    {"IndustryCategoryBadPercentage",
     2,
     {{"PIECHRT1.OUT", " T\r\n BANKS                            x12.4\r\n"}},
     "PieChart.out has improperly formatted percentage."},
    {"GrapherEmpty", 3, {{"GRAPHER.OUT", ""}}, "Grapher.out does not have record 1."},
    {"GrapherNoCount", 3, {{"GRAPHER.OUT", " MONTHS\r\n"}}, "Grapher.out does not have record 1."},
    {"GrapherFourSets",
     3,
     {{"GRAPHER.OUT", " 4\r\nA\r\nB\r\nC\r\nD\r\nMONTHS\r\n 1 1.0 2.0 3.0 4.0\r\n"}},
     "Grapher.out has more than 10 data sets."},
    {"GrapherNamesMissing", 3, {{"GRAPHER.OUT", " 2\r\n PORTFOLIO\r\n"}}, "Grapher.out:Error reading names."},
    {"GrapherNoPeriods", 3, {{"GRAPHER.OUT", " 1\r\n PORTFOLIO\r\n MONTHS\r\n"}}, "0 data records in file."},
};

class ChartError : public ChartWindowTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ChartError, ShowsItsMessageAndOpensNoWindow) {
    const ErrorCase& c = GetParam();
    for (const auto& [name, text] : c.files) WriteFile(name, text);
    const int children = static_cast<int>(frame_->GetChildFrames().size());
    const int subwindows = SubWindows();
    platform::ScriptedInteraction script;
    script.ExpectMessageBox(c.message, platform::IDOK, "Charting Error");
    EXPECT_EQ(OpenChart(c.kind, 2, script), nullptr);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(script.StepsLeft(), 0u);
    ASSERT_EQ(script.MessageBoxes().size(), 1u);
    EXPECT_EQ(script.MessageBoxes()[0].flags, platform::MB_OK);
    EXPECT_EQ(static_cast<int>(frame_->GetChildFrames().size()), children);
    EXPECT_EQ(SubWindows(), subwindows);
}

INSTANTIATE_TEST_SUITE_P(Files, ChartError, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return info.param.name; });

TEST_F(ChartWindowTest, ControlThatCannotBeMadeEndsTheWindow) {
    // The control of an open chart window exists already: making it again
    // fails as a control that cannot be made does.
    CopyFixture("PIECHART.OUT");
    platform::ScriptedInteraction opened;
    CChartView* view = ViewOf(OpenChart(1, 1, opened));
    ASSERT_NE(view, nullptr);
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.ExpectMessageBox("m_pie.create failed.", platform::IDOK, "CChartView::OnCreate.");
    EXPECT_EQ(view->OnCreate(), -1);
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    ASSERT_EQ(script.MessageBoxes().size(), 1u);
    EXPECT_EQ(script.MessageBoxes()[0].flags, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// ---- the Charts command from the menu and the tool bar

TEST_F(ChartWindowTest, ChartsCommandOpensTheChosenChart) {
    CopyFixture("PIECHRT1.OUT");
    CopyFixture("GRAPHER.OUT");
    tools::ScriptDriver driver(frame_);
    EXPECT_TRUE(
        driver.Run("menu \"Charts/Charts\"\n"
                   "dialog 147\n"
                   "  click 1031\n"
                   "  click 1032\n"
                   "  click 1\n"
                   "closed\n"
                   "child-open \"Industry Category\"\n"
                   "command 32838\n"  // the tool bar button
                   "dialog 147\n"
                   "  click 1063\n"
                   "  click 1\n"
                   "closed\n"
                   "child-open \"Performance\"\n"
                   "menu \"Charts/Charts\"\n"
                   "dialog 147\n"
                   "  click 2\n"
                   "closed\n"
                   "menu \"Charts/Charts\"\n"
                   "dialog 147\n"
                   "  click 1\n"  // asset allocation: no file
                   "closed\n"
                   "message \"Chart data file does not exist.\" \"Charting Error\" ok\n"
                   "children 3\n"
                   "child \"Performance\" close\n"
                   "child-closed \"Performance\"\n"))
        << driver.Failures().front();
    CChartView* view = nullptr;
    for (platform::ChildFrame* child : frame_->GetChildFrames())
        if (child->GetWindowText() == "Industry Category") view = ViewOf(child);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Chart().Model().type, Kind::Pie);
    EXPECT_EQ(view->Chart().Model().NumSeries(), 8);
    Keep(frame_->GetMainWindow()->grab().toImage(), "program_with_charts");
}

// ---- printing

// The page the chart is printed on, painted first in a colour the chart
// never uses, so that the part it covers shows.
QRect PrintedArea(CChartView& view, QSize page) {
    QImage image(page, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    {
        QPainter painter(&image);
        view.OnPrint(painter, QRect(QPoint(0, 0), page));
    }
    QRect covered;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(255, 0, 255)) covered |= QRect(x, y, 1, 1);
    return covered;
}

TEST_F(ChartWindowTest, PrintsAsLargeAsThePageAllowsKeepingTheWindowsProportions) {
    CopyFixture("PIECHART.OUT");
    platform::ScriptedInteraction script;
    platform::ChildFrame* child = OpenChart(1, 2, script);
    CChartView* view = ViewOf(child);
    ASSERT_NE(view, nullptr);

    struct Case {
        const char* what;
        QSize frame;
        QSize page;
    };
    for (const Case& c :
         {Case{"wide window on a portrait page: centred down the page", {600, 300}, {850, 1100}},
          Case{"tall window on a landscape page: centred across", {300, 520}, {1100, 850}}}) {
        child->GetWidget()->resize(c.frame);
        QApplication::processEvents();
        const QSize window = view->GetClientRect().size();
        const QRect area = PrintedArea(*view, c.page);
        EXPECT_EQ(area, platform::ChartPrintRect(window, c.page)) << c.what;
        // The proportions of the window, within a pixel of rounding.
        EXPECT_NEAR(static_cast<double>(area.width()) / area.height(),
                    static_cast<double>(window.width()) / window.height(), 2.0 / area.height())
            << c.what;
        const int spare_left = area.left(), spare_right = c.page.width() - 1 - area.right();
        const int spare_top = area.top(), spare_bottom = c.page.height() - 1 - area.bottom();
        EXPECT_LE(std::abs(spare_left - spare_right), 1) << c.what;
        EXPECT_LE(std::abs(spare_top - spare_bottom), 1) << c.what;
        EXPECT_TRUE((spare_left == 0 && spare_right == 0) || (spare_top == 0 && spare_bottom == 0)) << c.what;
    }
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(ChartWindowTest, FilePrintPrintsThroughThePrintDialog) {
    CopyFixture("PIECHART.OUT");
    CopyFixture("GRAPHER.OUT");
    QPrinter& printer = app_->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));

    struct Case {
        std::string name;
        int kind;
        int type;
    };
    for (const Case& c : {Case{"pie", 1, 1}, Case{"bar", 1, 2}, Case{"line", 3, 2}}) {
        platform::ScriptedInteraction opened;
        platform::ChildFrame* child = OpenChart(c.kind, c.type, opened);
        ASSERT_NE(ViewOf(child), nullptr) << c.name;
        child->GetWidget()->resize(640, 420);
        QApplication::processEvents();

        const fs::path pdf = fs::current_path() / (c.name + ".pdf");
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        // Cancelled: nothing printed.
        script.AnswerPrintDialog(false);
        EXPECT_TRUE(frame_->InvokeCommand(platform::ID_FILE_PRINT)) << c.name;
        EXPECT_FALSE(fs::exists(pdf)) << c.name;
        script.AnswerPrintDialog(true);
        EXPECT_TRUE(frame_->InvokeCommand(platform::ID_FILE_PRINT)) << c.name;
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
        const std::string bytes = ReadAll(pdf);
        EXPECT_EQ(bytes.substr(0, 5), "%PDF-") << c.name;
        EXPECT_NE(bytes.find("/Count 1"), std::string::npos) << c.name;
        if (const fs::path dir = PictureDir(); !dir.empty())
            fs::copy_file(pdf, dir / ("print_" + c.name + ".pdf"), fs::copy_options::overwrite_existing);
        child->DestroyWindow();
    }
}

// The share of dark pixels on each page of a PDF, rendered by pdftoppm
// (poppler-utils, scripts/deps) at a low resolution; nothing when it cannot
// be rendered.
std::vector<double> InkPerPage(const fs::path& pdf) {
    const fs::path prefix = pdf.parent_path() / (pdf.stem().string() + "-page");
    const std::string command =
        "pdftoppm -r 20 -gray '" + pdf.string() + "' '" + prefix.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    std::vector<double> ink;
    for (int page = 1;; ++page) {
        QImage image;
        for (const std::string& number : {std::to_string(page), "0" + std::to_string(page)})
            if (image.load(QString::fromStdString(prefix.string() + "-" + number + ".pgm"))) break;
        if (image.isNull()) break;
        long dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 160) ++dark;
        ink.push_back(static_cast<double>(dark) / (image.width() * image.height()));
    }
    return ink;
}

// Each print job starts afresh: a chart printed after a report printed
// through the same printer is drawn as fully as a chart printed alone.
TEST_F(ChartWindowTest, AChartPrintedAfterAReportIsDrawn) {
    CopyFixture("PIECHART.OUT");
    {
        // The start-up text, which the print reads as its window does.
        std::ofstream text(records::kStartupText, std::ios::binary);
        for (int i = 1; i <= 120; ++i) text << " REPORT LINE " << i << "\r\n";
    }
    QPrinter& printer = app_->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
    platform::ScriptedInteraction opened;
    platform::ChildFrame* child = OpenChart(1, 1, opened);
    ASSERT_NE(ViewOf(child), nullptr);
    child->GetWidget()->resize(640, 420);
    QApplication::processEvents();

    auto print_chart = [&](const std::string& name) {
        printer.setOutputFileName(QString::fromStdString((fs::current_path() / name).string()));
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        script.AnswerPrintDialog(true);
        child->ActivateFrame();
        EXPECT_TRUE(frame_->InvokeCommand(platform::ID_FILE_PRINT));
        EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    };
    print_chart("alone.pdf");
    {
        printer.setOutputFileName(QString::fromStdString((fs::current_path() / "report.pdf").string()));
        platform::ScriptedInteraction script;
        platform::ScopedInteraction installed(script);
        script.AnswerPrintDialog(true);
        ReportPrintJob job;
        job.SetStartupText();
        EXPECT_EQ(PrintWithDialog(job, frame_->GetSafeHwnd()), PrintOutcome::Printed);
    }
    print_chart("after.pdf");

    // The report's text, read back whatever face drew it (a thin one has
    // little ink at a low resolution).
    const std::vector<std::string> report = road::PdfPageTexts(fs::current_path() / "report.pdf");
    ASSERT_GE(report.size(), 1u) << "pdftotext (poppler-utils) reads the printed pages";
    EXPECT_NE(report[0].find("REPORT LINE 1"), std::string::npos) << report[0];
    // The chart's ink is its filled slices.
    const std::vector<double> alone = InkPerPage(fs::current_path() / "alone.pdf");
    const std::vector<double> after = InkPerPage(fs::current_path() / "after.pdf");
    ASSERT_EQ(alone.size(), 1u) << "pdftoppm (poppler-utils) renders the printed pages";
    ASSERT_EQ(after.size(), 1u);
    EXPECT_GT(alone[0], 0.01);
    EXPECT_GT(after[0], alone[0] * 0.9) << "alone " << alone[0] << ", after a report " << after[0];
    if (const fs::path dir = PictureDir(); !dir.empty())
        for (const char* name : {"report.pdf", "alone.pdf", "after.pdf"})
            fs::copy_file(name, dir / (std::string("print_sequence_") + name),
                          fs::copy_options::overwrite_existing);
}

TEST_F(ChartWindowTest, PrinterThatDoesNotStartIsReported) {
    CopyFixture("PIECHART.OUT");
    platform::ScriptedInteraction opened;
    ASSERT_NE(ViewOf(OpenChart(1, 1, opened)), nullptr);
    QPrinter& printer = app_->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(
        QString::fromStdString((fs::current_path() / "no such folder" / "c.pdf").string()));
    platform::ScriptedInteraction script;
    platform::ScopedInteraction installed(script);
    script.AnswerPrintDialog(true).ExpectMessageBox(std::nullopt, platform::IDOK);
    EXPECT_TRUE(frame_->InvokeCommand(platform::ID_FILE_PRINT));
    EXPECT_TRUE(script.Failures().empty()) << script.Failures().front();
    EXPECT_EQ(script.StepsLeft(), 0u);
}

}  // namespace
