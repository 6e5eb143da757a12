#pragma once

// The chart control: a child window that draws a pie, bar or line chart
// from data sets, points, values, labels, a title, a chart type and colours.
// Its settings are reached through small handles, one for each part of the
// chart, in the same order a chart window fills it:
//
//   ChartControl chart;
//   chart.Create(view, QRect(0, 0, 100, 100), 1);
//   chart.SetIsBatched(true);                       // no repaint while filling
//   chart.Area().View3D().SetDepth(10);             // the pie's 3-D look
//   chart.Area().Bars().SetOverlap(-50);            // placement of bars
//   ChartGroup group = chart.Group(1);
//   group.SetChartType(ChartType::Pie);
//   chart.Header().SetText("ASSET ALLOCATION");
//   chart.Area().Axis("x").SetAnnotationMethod(AxisAnnotation::None);
//   group.Labels().Add("EQUITIES - 61.5%", 1);      // names data set 1
//   group.Data().SetNumSeries(1);
//   group.Data().SetNumPoints(1, 1);
//   group.Data().SetY(1, 1, 61.5);
//   group.Style(1).Line().SetColor(Rgb(255, 0, 0));
//   chart.SetIsBatched(false);                      // repaint once
//   chart.Draw(painter, ChartControl::kDrawToDevice, ChartControl::kDrawScaled,
//              page_rect);                          // into a printer page
//
// Data sets, points and labels count from 1. A handle is a light value:
// take it, use it, let it go. A handle to a part that does not exist (chart
// group 2, data set 0, the axis "z") reads as empty and changes nothing.

#include <QRect>
#include <string>
#include <string_view>

#include "platform/chart_paint.h"
#include "platform/window.h"

class QPrinter;

namespace platform {

class ChartControl;

// The chart's title.
class ChartHeader {
public:
    void SetText(std::string_view text);
    std::string Text() const;

private:
    friend class ChartControl;
    explicit ChartHeader(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// The pie's 3-D look (see ChartModel): thickness of the disc in percent of
// its diameter, the angle it is seen from, the start of the first slice.
class ChartView3D {
public:
    void SetDepth(int percent);
    void SetElevation(int degrees);  // 10 to 90
    void SetRotation(int degrees);
    int Depth() const;
    int Elevation() const;
    int Rotation() const;

private:
    friend class ChartArea;
    explicit ChartView3D(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// Placement of bars, in percent of a bar's width: the overlap of the bars
// of one point (-100 to 100; negative leaves space between them) and the
// gap between neighbouring points (0 to 500).
class ChartBars {
public:
    void SetOverlap(int percent);
    void SetGap(int percent);
    int Overlap() const;
    int Gap() const;

private:
    friend class ChartArea;
    explicit ChartBars(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// An axis: "x" runs along the points, "y" along the values. Its annotation
// method says whether it writes its values (point numbers on x) or nothing.
class ChartAxis {
public:
    void SetAnnotationMethod(AxisAnnotation method);
    AxisAnnotation AnnotationMethod() const;
    bool Exists() const { return chart_ && axis_ != 0; }

private:
    friend class ChartArea;
    ChartAxis(ChartControl* chart, char axis) : chart_(chart), axis_(axis) {}
    ChartControl* chart_;
    char axis_;  // 'x', 'y' or 0 for none
};

// The plotting area.
class ChartArea {
public:
    ChartView3D View3D() const { return ChartView3D(chart_); }
    ChartBars Bars() const { return ChartBars(chart_); }
    // "x" or "y" in either case; any other name gives an axis that does not
    // exist.
    ChartAxis Axis(std::string_view name) const;

private:
    friend class ChartControl;
    explicit ChartArea(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// The values: data sets of points. A data set added by SetNumSeries starts
// with as many points as data set 1 has, without values; a point gets its
// value from SetY. Points without a value are not drawn.
class ChartData {
public:
    void SetNumSeries(int count);
    int NumSeries() const;
    void SetNumPoints(int set, int count);
    int NumPoints(int set) const;
    void SetY(int set, int point, double value);
    // The value, or NaN for none.
    double Y(int set, int point) const;

private:
    friend class ChartGroup;
    explicit ChartData(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// The names of the data sets, shown in the legend: label i names data set i.
class ChartLabels {
public:
    // Inserts `text` as label `index` (1 to Count() + 1; beyond that it is
    // added at the end); the labels from `index` on move up by one.
    void Add(std::string_view text, int index);
    int Count() const;
    std::string Text(int index) const;  // empty when there is none

private:
    friend class ChartGroup;
    explicit ChartLabels(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// The line of a data set in a line chart: its width in pixels of the window
// and its colour.
class ChartLine {
public:
    void SetWidth(int pixels);  // 1 to 20
    void SetColor(ColorRef color);
    int Width() const;
    ColorRef Color() const;

private:
    friend class ChartStyle;
    ChartLine(ChartControl* chart, int set) : chart_(chart), set_(set) {}
    ChartControl* chart_;
    int set_;
};

// The marks at the points of a data set in a line chart.
class ChartSymbol {
public:
    void SetColor(ColorRef color);
    ColorRef Color() const;

private:
    friend class ChartStyle;
    ChartSymbol(ChartControl* chart, int set) : chart_(chart), set_(set) {}
    ChartControl* chart_;
    int set_;
};

// How one data set is drawn (sets 1 to 100).
class ChartStyle {
public:
    ChartLine Line() const { return ChartLine(chart_, set_); }
    ChartSymbol Symbol() const { return ChartSymbol(chart_, set_); }
    // The colour of the set's pie slice or bar.
    ColorRef Fill() const;

private:
    friend class ChartGroup;
    ChartStyle(ChartControl* chart, int set) : chart_(chart), set_(set) {}
    ChartControl* chart_;
    int set_;
};

// The chart proper: its type, values, labels and styles. The control has
// one chart group, number 1.
class ChartGroup {
public:
    void SetChartType(ChartType type);
    ChartType GetChartType() const;
    ChartData Data() const { return ChartData(chart_); }
    ChartLabels Labels() const { return ChartLabels(chart_); }
    ChartStyle Style(int set) const { return ChartStyle(chart_, set); }
    bool Exists() const { return chart_ != nullptr; }

private:
    friend class ChartControl;
    explicit ChartGroup(ChartControl* chart) : chart_(chart) {}
    ChartControl* chart_;
};

// The rectangle of a page (size `page`) that a window of size `window` is
// printed into: as large as it fits keeping the window's proportions, and
// centred across the side that is left over (a wide window on a tall page
// sits in the middle of the page's height, a tall one in the middle of its
// width). Empty when either size is empty.
QRect ChartPrintRect(QSize window, QSize page);

class ChartControl : public Window {
public:
    // Draw's arguments: draw straight onto the device, scaling the picture
    // the window shows to the rectangle.
    static constexpr int kDrawToDevice = 3;
    static constexpr int kDrawScaled = 4;

    ChartControl();
    ~ChartControl() override;

    // Makes the control's window at `rect` of the parent's window. False when
    // the control has a window already or the parent has none.
    bool Create(Window& parent, const QRect& rect, int id, bool visible = true);
    int GetDlgCtrlID() const { return id_; }

    // While batched, changes do not repaint the window; ending the batch
    // repaints it once.
    void SetIsBatched(bool batched);
    bool IsBatched() const { return batched_; }

    ChartHeader Header() { return ChartHeader(this); }
    ChartArea Area() { return ChartArea(this); }
    // The chart group `index`; only group 1 exists.
    ChartGroup Group(int index) { return ChartGroup(index == 1 ? this : nullptr); }

    const ChartModel& Model() const { return model_; }
    // The layout of the chart at the window's present size.
    ChartLayout Layout() const;

    // Draws the chart into `rect` (device units) of the painter's device as
    // the window shows it, scaled up or down to the rectangle: the chart is
    // laid out at the window's width and the rectangle's proportions, so
    // texts and lines keep their size relative to the chart. `format` must be
    // kDrawToDevice and `scale` kDrawScaled; false for anything else or an
    // empty rectangle.
    bool Draw(QPainter& painter, int format, int scale, const QRect& rect) const;

    // Prints the chart on one page of `printer` in ChartPrintRect of the
    // page. False when the printer does not start (for a file printer: the
    // file cannot be written).
    bool Print(QPrinter& printer) const;
    // Prints to a PDF file: one portrait Letter page with half-inch margins.
    bool PrintToPdf(const std::string& path) const;

    void OnPaint(QPainter& painter) override;

private:
    friend class ChartHeader;
    friend class ChartView3D;
    friend class ChartBars;
    friend class ChartAxis;
    friend class ChartData;
    friend class ChartLabels;
    friend class ChartLine;
    friend class ChartSymbol;
    friend class ChartStyle;
    friend class ChartGroup;

    // The size the chart is laid out at: the window's, or 640 x 480 without
    // a window.
    QSize PictureSize() const;
    // Style of data set `set`, made on first use; nullptr for a set outside
    // 1 to 100.
    SeriesStyle* StyleFor(int set);
    // A setting changed: repaint unless batched.
    void Changed();

    ChartModel model_;
    bool batched_ = false;
    int id_ = 0;
};

}  // namespace platform
