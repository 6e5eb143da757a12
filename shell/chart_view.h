#pragma once

// The chart window's view (template 3, in a CChildFrameChart): it holds the
// chart control over its whole client area and fills it once, as the
// window is made, from the chart data file of the last choice of the chart
// dialog (ChartKind, ChartType) in the data directory. A file that is
// missing or cannot be read shows its message under "Charting Error" and
// the window does not open. File/Print prints the chart on one page, as
// large as it fits keeping the window's proportions.

#include <QPainter>
#include <QRect>

#include "platform/chart_control.h"
#include "platform/view.h"

class QPrinter;

namespace shell {

class CChartView : public platform::View {
public:
    // The chart control's child id.
    static constexpr int kChartId = 1;

    CChartView();
    ~CChartView() override;

    // Makes the chart control and fills it; 0 when the chart was filled, -1
    // when it was not (after its message), and the window is then not made.
    // The chart frame runs it as the frame is made.
    int OnCreate();
    void OnInitialUpdate() override;
    void OnSize(int width, int height) override;
    void OnDestroy() override;

    // File/Print: the print dialog on the program's printer, then the chart
    // on one page.
    void OnFilePrint();
    // The print dialog; false when it was cancelled.
    bool OnPreparePrinting(QPrinter& printer);
    void OnBeginPrinting() {}
    // Draws the chart onto the page: `page` is the printable area in device
    // units, with the painter's origin at its top-left corner.
    void OnPrint(QPainter& painter, const QRect& page);
    void OnEndPrinting() {}

    const platform::ChartControl& Chart() const { return m_pie; }

private:
    // The two fillings; each returns the message that ends the chart, or an
    // empty text.
    std::string FillPie();
    std::string FillLine();

    platform::ChartControl m_pie;
};

// The chart window's title for a chart kind: "Asset Allocation", "Industry
// Category" or "Performance".
const char* ChartTitle(int chart_kind);

}  // namespace shell
