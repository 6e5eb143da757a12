#pragma once

// What a chart shows (ChartModel) and how it is laid out (chart_layout.cpp)
// and painted (chart_paint.cpp). The chart control (chart_control.h) keeps a
// model and paints it into its window or into a printer page; the layout is
// a function of its own so that the geometry can be checked without looking
// at pixels.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <string>
#include <vector>

#include "platform/interaction.h"

class QPainter;
class QPaintDevice;

namespace platform {

enum class ChartType { Line = 1, Bar = 2, Pie = 3 };

// What an axis writes along itself.
enum class AxisAnnotation { Values = 0, None = 1 };

// How one data set is drawn: its pie slice or bar in `fill`, its line in
// `line_color` and `line_width` (pixels of the window), its point marks in
// `symbol_color`.
struct SeriesStyle {
    ColorRef fill = 0;
    ColorRef line_color = 0;
    int line_width = 1;
    ColorRef symbol_color = 0;
};

// The default style of data set `set` (from 1): colours that stay apart
// from each other, fill, line and symbol in the same colour.
SeriesStyle DefaultSeriesStyle(int set);

QColor ToQColor(ColorRef color);

// The chart's font at a size in pixels.
QFont ChartFont(double pixels, bool bold);

struct ChartModel {
    ChartType type = ChartType::Line;
    std::string header;
    // values[set][point], both from 0; a point without a value is NaN and
    // is not drawn.
    std::vector<std::vector<double>> values;
    // labels[i] names data set i + 1 (a pie's slice, a bar, a line) in the
    // legend.
    std::vector<std::string> labels;
    // styles[i] draws data set i + 1; sets beyond the list take their
    // default style.
    std::vector<SeriesStyle> styles;

    // The 3-D look of a pie: the thickness of the disc in percent of its
    // diameter, the angle (degrees) the disc is seen from (90: straight from
    // above, flat), and how far (degrees, clockwise) the first slice starts
    // past 12 o'clock.
    int depth = 0;
    int elevation = 90;
    int rotation = 0;

    // Placement of bars, in percent of a bar's width: how far the bars of
    // one point overlap (negative: the space between them) and the space
    // between the groups of bars of neighbouring points.
    int bar_overlap = 0;
    int bar_gap = 100;

    AxisAnnotation x_annotation = AxisAnnotation::Values;
    AxisAnnotation y_annotation = AxisAnnotation::Values;

    int NumSeries() const { return static_cast<int>(values.size()); }
    SeriesStyle StyleOf(int set) const;  // set from 1
    std::string LabelOf(int set) const;  // set from 1; empty when none
};

// A text placed by the layout.
struct ChartText {
    QString text;
    QRectF rect;
    double size = 0;  // the font's pixel size
    bool bold = false;
    int flags = 0;  // Qt alignment flags
};

struct ChartLegendEntry {
    int set = 0;  // the data set it stands for, from 1
    QRectF swatch;
    ChartText text;
};

// One pie slice: the data set, and where it lies on the disc in degrees
// clockwise from 12 o'clock.
struct ChartSlice {
    int set = 0;
    double start = 0;
    double span = 0;
};

struct ChartBar {
    int set = 0;
    int point = 0;  // from 1
    QRectF rect;
};

struct ChartLinePoint {
    int point = 0;  // from 1
    QPointF at;
};

struct ChartLayout {
    QSizeF size;
    std::vector<ChartText> header;  // one or more lines
    QRectF legend;                  // empty when there is no legend
    std::vector<ChartLegendEntry> legend_entries;
    QRectF plot;  // the pie's disc (with its edge) or the axes' frame

    // Pie: the top face of the disc is the ellipse `pie_top`, and its edge
    // `pie_depth` pixels thick.
    QRectF pie_top;
    double pie_depth = 0;
    std::vector<ChartSlice> slices;

    // Bar and line charts: the value axis and the point axis.
    double y_min = 0, y_max = 1;
    std::vector<ChartText> y_labels;
    std::vector<double> y_ticks;  // the values at the grid lines
    std::vector<ChartText> x_labels;
    std::vector<ChartBar> bars;
    std::vector<std::vector<ChartLinePoint>> lines;  // lines[set - 1]; holes break a line
    double symbol_size = 0;                          // 0: no point marks

    // The vertical position of a value on the value axis.
    double YOf(double value) const;
    // Every text of the layout, for checks that nothing leaves the picture.
    std::vector<const ChartText*> Texts() const;
};

// Lays the chart out in a picture of `size` pixels. Texts are measured on
// `device` (the screen when null).
ChartLayout LayOutChart(const ChartModel& model, QSizeF size, const QPaintDevice* device = nullptr);

// Paints the chart into (0, 0)-size of the painter.
void PaintChart(QPainter& painter, const ChartModel& model, QSizeF size);

}  // namespace platform
