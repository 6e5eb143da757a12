// The chart control: its settings fill the chart the way the chart window
// fills it, the layout follows the values (slice angles, bar heights, line
// points), nothing leaves the picture, the pixels show the colours set, and
// a chart prints into a page keeping its proportions.
//
// LEDRA_CHART_PICTURES=<folder> saves each picture drawn here as a PNG (and
// the printed page as a PDF) in that folder, for a person to look at.

#include "platform/chart_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/chart_files.h"
#include "platform/plain_window.h"
#include "tests/fixtures/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

fs::path FixtureDir() {
    return fs::path(LEDRA_TESTS_DIR) / "fixtures" / "charts";
}

// Saves a picture when LEDRA_CHART_PICTURES names a folder.
void Keep(const QImage& image, const std::string& name) {
    const QByteArray folder = qgetenv("LEDRA_CHART_PICTURES");
    if (folder.isEmpty()) return;
    fs::create_directories(folder.toStdString());
    image.save(QString::fromStdString((fs::path(folder.toStdString()) / (name + ".png")).string()));
}

// The chart window's filling, step by step: the fixed settings, then a pie
// file's title and slices or Grapher.out's names and values.
void FixedSettings(ChartControl& chart) {
    chart.SetIsBatched(true);
    chart.Area().View3D().SetDepth(10);
    chart.Area().View3D().SetElevation(30);
    chart.Area().View3D().SetRotation(30);
    chart.Area().Bars().SetOverlap(-50);
    chart.Area().Bars().SetGap(100);
}

void FillPie(ChartControl& chart, const PieChartData& data, ChartType type) {
    FixedSettings(chart);
    ChartData values = chart.Group(1).Data();
    chart.Group(1).SetChartType(type);
    chart.Header().SetText(data.title);
    chart.Area().Axis("x").SetAnnotationMethod(AxisAnnotation::None);
    int p = 0;
    for (const PieSlice& slice : data.slices) {
        ++p;
        values.SetNumSeries(p);
        if (p == 1) values.SetNumPoints(1, 1);
        values.SetY(p, 1, slice.percent);
        chart.Group(1).Labels().Add(slice.Label(), p);
    }
    chart.SetIsBatched(false);
}

void FillLine(ChartControl& chart, const LineChartData& data) {
    FixedSettings(chart);
    ChartData values = chart.Group(1).Data();
    chart.Group(1).SetChartType(ChartType::Line);
    const int n = static_cast<int>(data.names.size());
    for (int i = 1; i <= n; ++i) chart.Group(1).Labels().Add(data.names[static_cast<std::size_t>(i - 1)], i);
    values.SetNumSeries(n);
    for (int p = 1; p <= static_cast<int>(data.values[0].size()); ++p)
        for (int s = 1; s <= n; ++s) {
            values.SetNumPoints(s, p);
            values.SetY(s, p, data.values[static_cast<std::size_t>(s - 1)][static_cast<std::size_t>(p - 1)]);
        }
    chart.Header().SetText("Performance");
    const ColorRef colors[] = {255, 65280, 16711680};
    for (int s = 1; s <= n; ++s) {
        ChartStyle style = chart.Group(1).Style(s);
        style.Line().SetWidth(4);
        style.Line().SetColor(colors[s - 1]);
        style.Symbol().SetColor(colors[s - 1]);
    }
    chart.SetIsBatched(false);
}

PieChartData AssetAllocation() {
    return ReadPieChartFile(FixtureDir(), ChartFile::AssetAllocation).data;
}
PieChartData IndustryCategories() {
    return ReadPieChartFile(FixtureDir(), ChartFile::IndustryCategory).data;
}
LineChartData Performance() {
    return ReadLineChartFile(FixtureDir()).data;
}

// A chart window of its own size inside a plain window, as the chart window
// holds it.
struct ChartWindow {
    explicit ChartWindow(QSize size = QSize(640, 480)) {
        frame.Create("Chart");
        frame.GetWidget()->resize(size);
        frame.ShowWindow(SW_SHOW);
        chart.Create(frame, QRect(0, 0, 100, 100), 1);
        chart.MoveWindow(0, 0, size.width(), size.height());
    }
    QImage Grab() const { return chart.GetWidget()->grab().toImage(); }
    PlainWindow frame;
    ChartControl chart;
};

TEST(ChartControl, FilledAsTheChartWindowFillsIt) {
    ChartControl pie;
    FillPie(pie, AssetAllocation(), ChartType::Pie);
    const ChartModel& m = pie.Model();
    EXPECT_EQ(m.type, ChartType::Pie);
    EXPECT_EQ(m.header, "ASSET ALLOCATION - SMITH FAMILY");
    ASSERT_EQ(m.NumSeries(), 7);
    // Only data set 1 was given its point count: the others took it.
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(pie.Group(1).Data().NumPoints(s), 1) << s;
    EXPECT_EQ(pie.Group(1).Data().Y(2, 1), 61.5);
    EXPECT_EQ(pie.Group(1).Labels().Count(), 7);
    EXPECT_EQ(pie.Group(1).Labels().Text(7), "TOTAL ACCRUED INTEREST - 0.2%");
    EXPECT_EQ(pie.Area().Axis("x").AnnotationMethod(), AxisAnnotation::None);
    EXPECT_EQ(pie.Area().Axis("y").AnnotationMethod(), AxisAnnotation::Values);
    EXPECT_EQ((std::vector<int>{m.depth, m.elevation, m.rotation, m.bar_overlap, m.bar_gap}),
              (std::vector<int>{10, 30, 30, -50, 100}));

    ChartControl line;
    FillLine(line, Performance());
    const ChartModel& l = line.Model();
    EXPECT_EQ(l.type, ChartType::Line);
    EXPECT_EQ(l.header, "Performance");
    ASSERT_EQ(l.NumSeries(), 3);
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(line.Group(1).Data().NumPoints(s), 13);
    EXPECT_EQ(line.Group(1).Data().Y(3, 13), 10.9);
    EXPECT_EQ(line.Group(1).Labels().Text(2), " S&P 500");
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue};
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(ToQColor(line.Group(1).Style(s).Line().Color()), expected[s - 1]) << s;
        EXPECT_EQ(ToQColor(line.Group(1).Style(s).Symbol().Color()), expected[s - 1]) << s;
        EXPECT_EQ(line.Group(1).Style(s).Line().Width(), 4);
    }
}

TEST(ChartControl, DataSetsPointsAndLabels) {
    ChartControl chart;
    ChartData data = chart.Group(1).Data();
    data.SetNumSeries(2);
    EXPECT_EQ(data.NumPoints(2), 0);
    data.SetNumPoints(1, 3);
    data.SetY(1, 2, 5.0);
    EXPECT_TRUE(std::isnan(data.Y(1, 1)));  // a point without a value
    EXPECT_EQ(data.Y(1, 2), 5.0);
    data.SetNumSeries(3);  // a new set takes data set 1's points, without values
    EXPECT_EQ(data.NumPoints(3), 3);
    EXPECT_TRUE(std::isnan(data.Y(3, 2)));
    data.SetNumPoints(1, 1);
    EXPECT_TRUE(std::isnan(data.Y(1, 2)));
    data.SetNumPoints(1, 2);  // a point given again has no value
    EXPECT_TRUE(std::isnan(data.Y(1, 2)));

    // Outside the data nothing changes.
    const ChartModel before = chart.Model();
    data.SetY(0, 1, 1);
    data.SetY(4, 1, 1);
    data.SetY(1, 3, 1);
    data.SetNumPoints(9, 5);
    data.SetNumSeries(-1);
    chart.Group(1).Data().SetY(1, 1, std::nan(""));
    EXPECT_TRUE(std::isnan(data.Y(1, 1)));
    chart.Group(2).Data().SetNumSeries(9);
    chart.Group(2).SetChartType(ChartType::Pie);
    chart.Group(2).Labels().Add("lost", 1);
    chart.Group(1).SetChartType(static_cast<ChartType>(7));
    chart.Area().Axis("z").SetAnnotationMethod(AxisAnnotation::None);
    chart.Group(1).Style(0).Line().SetColor(255);
    EXPECT_EQ(chart.Model().values.size(), before.values.size());
    EXPECT_EQ(chart.Model().type, ChartType::Line);
    EXPECT_TRUE(chart.Model().labels.empty());
    EXPECT_TRUE(chart.Model().styles.empty());
    EXPECT_EQ(chart.Model().x_annotation, AxisAnnotation::Values);
    EXPECT_FALSE(chart.Group(2).Exists());
    EXPECT_FALSE(chart.Area().Axis("z").Exists());

    // A label goes in at its index; later ones move up.
    ChartLabels labels = chart.Group(1).Labels();
    labels.Add("B", 1);
    labels.Add("A", 1);
    labels.Add("D", 9);
    labels.Add("C", 3);
    EXPECT_EQ(chart.Model().labels, (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(labels.Text(0), "");
    EXPECT_EQ(labels.Text(5), "");
}

// Sets beyond the palette still differ from the sets before them.
TEST(ChartControl, DefaultColoursStayApart) {
    std::vector<ColorRef> fills;
    for (int s = 1; s <= 40; ++s) fills.push_back(DefaultSeriesStyle(s).fill);
    for (std::size_t i = 0; i < fills.size(); ++i)
        for (std::size_t j = i + 1; j < fills.size(); ++j)
            EXPECT_NE(fills[i], fills[j]) << i + 1 << " " << j + 1;
}

// Repaints: each change repaints at once, a batch only at its end.
class CountingChart : public ChartControl {
public:
    void OnPaint(QPainter& painter) override {
        ++paints;
        ChartControl::OnPaint(painter);
    }
    int paints = 0;
};

TEST(ChartControl, BatchedChangesRepaintOnceAtTheEnd) {
    PlainWindow frame;
    frame.Create("Chart");
    frame.GetWidget()->resize(300, 200);
    frame.ShowWindow(SW_SHOW);
    CountingChart chart;
    ASSERT_TRUE(chart.Create(frame, QRect(0, 0, 300, 200), 1));
    EXPECT_FALSE(chart.Create(frame, QRect(0, 0, 300, 200), 1));
    EXPECT_EQ(chart.GetDlgCtrlID(), 1);
    QApplication::processEvents();
    const int start = chart.paints;

    chart.SetIsBatched(true);
    chart.Header().SetText("Title");
    chart.Group(1).Data().SetNumSeries(1);
    QApplication::processEvents();
    EXPECT_EQ(chart.paints, start);
    chart.SetIsBatched(false);
    QApplication::processEvents();
    EXPECT_EQ(chart.paints, start + 1);
    chart.Header().SetText("Another");
    QApplication::processEvents();
    EXPECT_EQ(chart.paints, start + 2);
}

ChartControl& PieOf(ChartControl& chart, const std::vector<double>& values, int rotation = 0) {
    chart.Group(1).SetChartType(ChartType::Pie);
    chart.Group(1).Data().SetNumSeries(static_cast<int>(values.size()));
    for (int s = 1; s <= static_cast<int>(values.size()); ++s) {
        chart.Group(1).Data().SetNumPoints(s, 1);
        chart.Group(1).Data().SetY(s, 1, values[static_cast<std::size_t>(s - 1)]);
    }
    chart.Area().View3D().SetRotation(rotation);
    return chart;
}

struct SliceCase {
    const char* what;
    std::vector<double> values;
    int rotation;
    std::vector<ChartSlice> slices;  // set, start, span
};

const std::vector<SliceCase> kSlices = {
    {"quarters", {25, 25, 50}, 0, {{1, 0, 90}, {2, 90, 90}, {3, 180, 180}}},
    {"any total", {1, 2, 3, 6}, 0, {{1, 0, 30}, {2, 30, 60}, {3, 90, 90}, {4, 180, 180}}},
    {"turned", {50, 50}, 30, {{1, 30, 180}, {2, 210, 180}}},
    {"negative and missing values get no slice", {-5, 40, 0, 60}, 0, {{2, 0, 144}, {4, 144, 216}}},
    {"one slice", {0.2}, 0, {{1, 0, 360}}},
    {"nothing positive", {-1, 0}, 0, {}},
};

TEST(ChartControl, PieSlicesFollowTheValues) {
    for (const SliceCase& c : kSlices) {
        SCOPED_TRACE(c.what);
        ChartControl chart;
        const ChartLayout layout = PieOf(chart, c.values, c.rotation).Layout();
        ASSERT_EQ(layout.slices.size(), c.slices.size());
        for (std::size_t i = 0; i < c.slices.size(); ++i) {
            EXPECT_EQ(layout.slices[i].set, c.slices[i].set);
            EXPECT_NEAR(layout.slices[i].start, c.slices[i].start, 1e-9);
            EXPECT_NEAR(layout.slices[i].span, c.slices[i].span, 1e-9);
        }
    }
}

// The 3-D look: seen from 30 degrees the disc is half as high as wide and
// shows an edge; seen from above it is round and flat.
TEST(ChartControl, PieTiltAndEdge) {
    ChartControl chart;
    PieOf(chart, {1, 1});
    ChartLayout flat = chart.Layout();
    EXPECT_NEAR(flat.pie_top.height(), flat.pie_top.width(), 1e-9);
    EXPECT_EQ(flat.pie_depth, 0);
    chart.Area().View3D().SetElevation(30);
    chart.Area().View3D().SetDepth(10);
    ChartLayout tilted = chart.Layout();
    EXPECT_NEAR(tilted.pie_top.height(), tilted.pie_top.width() / 2, 1e-9);
    EXPECT_GT(tilted.pie_depth, 0);
    EXPECT_TRUE(tilted.plot.contains(tilted.pie_top.adjusted(0, 0, 0, tilted.pie_depth)));
}

TEST(ChartControl, BarsStandOnZeroWithTheirPlacement) {
    ChartControl chart;
    FillPie(chart, {"T", {{"A", 10}, {"B", 40}, {"C", -10}}}, ChartType::Bar);
    const ChartLayout layout = chart.Layout();
    ASSERT_EQ(layout.bars.size(), 3u);
    const double zero = layout.YOf(0);
    EXPECT_NEAR(layout.bars[0].rect.bottom(), zero, 1e-9);
    EXPECT_NEAR(layout.bars[1].rect.height(), 4 * layout.bars[0].rect.height(), 1e-6);
    EXPECT_NEAR(layout.bars[2].rect.top(), zero, 1e-9);  // below the line
    EXPECT_NEAR(layout.bars[2].rect.height(), layout.bars[0].rect.height(), 1e-6);
    EXPECT_LE(layout.y_min, -10);
    EXPECT_GE(layout.y_max, 40);
    // Overlap -50: half a bar between bars; gap 100: one bar's width shared
    // out on both sides of the group.
    const double bar = layout.bars[0].rect.width();
    EXPECT_NEAR(layout.bars[1].rect.left() - layout.bars[0].rect.right(), bar / 2, 1e-6);
    EXPECT_NEAR(layout.bars[0].rect.left() - layout.plot.left(), bar / 2, 1e-6);
    EXPECT_NEAR(layout.plot.right() - layout.bars[2].rect.right(), bar / 2, 1e-6);
    EXPECT_TRUE(layout.x_labels.empty());  // the x axis writes nothing
}

TEST(ChartControl, LinePointsFollowTheValues) {
    ChartControl chart;
    LineChartData data = Performance();
    FillLine(chart, data);
    chart.Group(1).Data().SetNumPoints(2, 14);  // point 14 of set 2 has no value
    chart.Group(1).Data().SetNumPoints(1, 14);
    chart.Group(1).Data().SetY(1, 14, 20.0);
    const ChartLayout layout = chart.Layout();
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(layout.lines[0].size(), 14u);
    EXPECT_EQ(layout.lines[1].size(), 13u);
    for (std::size_t s = 0; s < 3; ++s)
        for (std::size_t p = 0; p < layout.lines[s].size(); ++p) {
            const double v = chart.Group(1).Data().Y(static_cast<int>(s) + 1, static_cast<int>(p) + 1);
            EXPECT_NEAR(layout.lines[s][p].at.y(), layout.YOf(v), 1e-9);
            if (p > 0) {
                EXPECT_GT(layout.lines[s][p].at.x(), layout.lines[s][p - 1].at.x());
            }
            EXPECT_TRUE(layout.plot.adjusted(-0.01, -0.01, 0.01, 0.01).contains(layout.lines[s][p].at));
        }
    EXPECT_LE(layout.y_min, 0);
    EXPECT_GE(layout.y_max, 20);
    EXPECT_GT(layout.symbol_size, 0);
    EXPECT_FALSE(layout.x_labels.empty());
    EXPECT_EQ(layout.x_labels.front().text, QString("1"));
}

// Whatever the size and however many labels, every text stays inside the
// picture, the legend keeps clear of the chart, and no text is cut off.
TEST(ChartControl, NothingLeavesThePicture) {
    const QSize sizes[] = {{640, 480}, {300, 200}, {1200, 300}, {200, 600}, {900, 700}};
    std::vector<std::pair<std::string, std::function<void(ChartControl&)>>> charts = {
        {"pie", [](ChartControl& c) { FillPie(c, AssetAllocation(), ChartType::Pie); }},
        {"bar", [](ChartControl& c) { FillPie(c, IndustryCategories(), ChartType::Bar); }},
        {"line", [](ChartControl& c) { FillLine(c, Performance()); }},
        {"many slices",
         [](ChartControl& c) {
             PieChartData data{"ASSET ALLOCATION - A LONG ACCOUNT NAME FOR A NARROW WINDOW", {}};
             for (int i = 1; i <= 36; ++i)
                 data.slices.push_back({"SECURITY TYPE NUMBER " + std::to_string(i), 100.0 / 36});
             FillPie(c, data, ChartType::Pie);
         }},
        {"many periods",
         [](ChartControl& c) {
             LineChartData data{{" ACCOUNT PORTFOLIO", " S&P 500"}, {{}, {}}};
             for (int p = 0; p < 360; ++p) {
                 data.values[0].push_back(std::sin(p / 20.0) * 1200);
                 data.values[1].push_back(p * 0.5);
             }
             FillLine(c, data);
         }},
    };
    for (const auto& [name, fill] : charts)
        for (const QSize& size : sizes) {
            SCOPED_TRACE(name + " " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
            ChartWindow window(size);
            fill(window.chart);
            const ChartLayout layout = window.chart.Layout();
            const QRectF picture(QPointF(0, 0), QSizeF(size));
            for (const ChartText* text : layout.Texts()) {
                EXPECT_TRUE(picture.contains(text->rect)) << text->text.toStdString();
                EXPECT_GE(text->size, 8) << text->text.toStdString();
            }
            EXPECT_TRUE(picture.contains(layout.legend));
            EXPECT_FALSE(layout.legend.intersects(layout.plot));
            for (const ChartText& header : layout.header) EXPECT_FALSE(header.rect.intersects(layout.plot));
            // A legend entry keeps its whole text where there is room for it.
            if (size.width() >= 640 && name != "many slices") {
                for (const ChartLegendEntry& e : layout.legend_entries)
                    EXPECT_FALSE(e.text.text.contains(QChar(0x2026))) << e.text.text.toStdString();
            }
            Keep(window.Grab(),
                 name + "-" + std::to_string(size.width()) + "x" + std::to_string(size.height()));
        }
}

// The picture on screen: each slice in its colour where the layout puts it,
// each line in the colour set for it.
TEST(ChartControl, PicturesShowTheColoursSet) {
    ChartWindow pie;
    FillPie(pie.chart, AssetAllocation(), ChartType::Pie);
    const QImage pie_image = pie.Grab();
    Keep(pie_image, "pie");
    const ChartLayout layout = pie.chart.Layout();
    ASSERT_EQ(layout.slices.size(), 7u);
    for (const ChartSlice& slice : layout.slices) {
        if (slice.span < 10) continue;  // too thin to hit reliably
        const double a = (slice.start + slice.span / 2) * M_PI / 180;
        const QRectF& top = layout.pie_top;
        const QPoint at(static_cast<int>(top.center().x() + 0.6 * top.width() / 2 * std::sin(a)),
                        static_cast<int>(top.center().y() - 0.6 * top.height() / 2 * std::cos(a)));
        EXPECT_EQ(pie_image.pixelColor(at), ToQColor(DefaultSeriesStyle(slice.set).fill)) << slice.set;
    }

    ChartWindow line;
    FillLine(line.chart, Performance());
    const QImage line_image = line.Grab();
    Keep(line_image, "line");
    int red = 0, green = 0, blue = 0;
    for (int y = 0; y < line_image.height(); ++y)
        for (int x = 0; x < line_image.width(); ++x) {
            const QColor c = line_image.pixelColor(x, y);
            red += c == QColor(Qt::red);
            green += c == QColor(Qt::green);
            blue += c == QColor(Qt::blue);
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(green, 200);
    EXPECT_GT(blue, 200);

    ChartWindow bar;
    FillPie(bar.chart, IndustryCategories(), ChartType::Bar);
    const QImage bar_image = bar.Grab();
    Keep(bar_image, "bar");
    for (const ChartBar& b : bar.chart.Layout().bars)
        EXPECT_EQ(bar_image.pixelColor(b.rect.center().toPoint()), ToQColor(DefaultSeriesStyle(b.set).fill))
            << b.set;
}

struct PrintRectCase {
    const char* what;
    QSize window, page;
    QRect rect;
};

const std::vector<PrintRectCase> kPrintRects = {
    {"wide window on a tall page: full width, centred down the page",
     {800, 400},
     {1000, 1300},
     {0, 400, 1000, 500}},
    {"tall window on a wide page: full height, centred across",
     {300, 600},
     {1300, 1000},
     {400, 0, 500, 1000}},
    {"tall window on a taller page", {400, 500}, {1000, 2000}, {0, 375, 1000, 1250}},
    {"window taller than the page's proportions", {200, 500}, {1000, 2000}, {100, 0, 800, 2000}},
    {"same proportions", {500, 650}, {1000, 1300}, {0, 0, 1000, 1300}},
    {"odd remainder truncated", {640, 480}, {1001, 1000}, {0, 124, 1001, 751}},
    {"empty window", {0, 480}, {1000, 1300}, {}},
};

TEST(ChartControl, PrintRectangleKeepsTheWindowsProportions) {
    for (const PrintRectCase& c : kPrintRects) EXPECT_EQ(ChartPrintRect(c.window, c.page), c.rect) << c.what;
}

// The bounding box of everything not white.
QRect Inked(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(ChartControl, DrawsIntoARectangleOfAPage) {
    ChartWindow window(QSize(640, 400));
    FillLine(window.chart, Performance());
    QImage page(850, 1100, QImage::Format_RGB32);
    page.fill(Qt::gray);
    const QRect rect = ChartPrintRect(QSize(640, 400), page.size());
    EXPECT_EQ(rect, QRect(0, 284, 850, 531));
    {
        QPainter painter(&page);
        EXPECT_FALSE(window.chart.Draw(painter, 1, 4, rect));
        EXPECT_FALSE(window.chart.Draw(painter, 3, 0, rect));
        EXPECT_FALSE(window.chart.Draw(painter, 3, 4, QRect()));
        EXPECT_TRUE(window.chart.Draw(painter, ChartControl::kDrawToDevice, ChartControl::kDrawScaled, rect));
    }
    Keep(page, "page");
    // The chart fills its rectangle and nothing outside it.
    EXPECT_EQ(page.pixelColor(rect.topLeft()), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(rect.bottomRight()), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(rect.left(), rect.top() - 1), QColor(Qt::gray));
    EXPECT_EQ(page.pixelColor(rect.left(), rect.bottom() + 1), QColor(Qt::gray));
    // The same picture as on screen, scaled: the title's ink sits as far
    // down the rectangle, relatively, as in the window.
    const QImage screen = window.Grab();
    const ChartLayout layout = window.chart.Layout();
    const QRect screen_plot = layout.plot.toRect();
    const double scale = rect.width() / 640.0;
    QImage scaled_page = page.copy(rect);
    const QRect page_ink =
        Inked(scaled_page.copy(QRect(QPoint(0, 0), QSize(rect.width(), screen_plot.top() * scale))));
    const QRect screen_ink = Inked(screen.copy(QRect(0, 0, 640, screen_plot.top())));
    EXPECT_NEAR(page_ink.top(), screen_ink.top() * scale, 3 * scale);
    EXPECT_NEAR(page_ink.height(), screen_ink.height() * scale, 3 * scale);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ChartControl, PrintsToAPdfFile) {
    fixtures::TempDataDir dir;
    ChartWindow window(QSize(640, 480));
    FillPie(window.chart, AssetAllocation(), ChartType::Pie);
    const fs::path pdf = dir.path() / "chart.pdf";
    ASSERT_TRUE(window.chart.PrintToPdf(pdf.string()));
    const std::string bytes = ReadAll(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // One Letter page, upright.
    const auto box = bytes.find("/MediaBox [");
    ASSERT_NE(box, std::string::npos);
    double x0 = -1, y0 = -1, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(bytes.c_str() + box + 11, "%lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4);
    EXPECT_EQ((std::vector<double>{x0, y0, x1, y1}), (std::vector<double>{0, 0, 612, 792}));
    EXPECT_EQ(bytes.find("/MediaBox [", box + 1), std::string::npos);
    const QByteArray folder = qgetenv("LEDRA_CHART_PICTURES");
    if (!folder.isEmpty())
        fs::copy_file(pdf, fs::path(folder.toStdString()) / "pie.pdf", fs::copy_options::overwrite_existing);

    EXPECT_FALSE(window.chart.PrintToPdf((dir.path() / "no such folder" / "chart.pdf").string()));
}

}  // namespace
