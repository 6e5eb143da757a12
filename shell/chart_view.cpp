#include "shell/chart_view.h"

#include <QPrinter>
#include <filesystem>
#include <string>

#include "platform/chart_files.h"
#include "platform/common_dialogs.h"
#include "platform/main_frame.h"
#include "platform/message_box.h"
#include "shell/app.h"
#include "shell/chart_select_dialog.h"

namespace shell {
namespace {

using platform::ChartControl;

// The lines of the performance chart: red for the account, then green and
// blue for the two indexes.
constexpr platform::ColorRef kLineColors[] = {255, 65280, 16711680};

platform::ChartFile FileOfKind(int kind) {
    switch (kind) {
        case 1:
            return platform::ChartFile::AssetAllocation;
        case 2:
            return platform::ChartFile::IndustryCategory;
        default:
            return platform::ChartFile::Performance;
    }
}

// The owner of the view's message boxes: the main window, since the chart
// window does not show until its chart is filled.
platform::WindowHandle OwnerOf(const CChartView& view) {
    const platform::ChildFrame* frame = view.GetParentFrame();
    const platform::MainFrame* main = frame ? frame->GetMainFrame() : nullptr;
    return main ? main->GetSafeHwnd() : view.GetSafeHwnd();
}

}  // namespace

const char* ChartTitle(int chart_kind) {
    switch (FileOfKind(chart_kind)) {
        case platform::ChartFile::AssetAllocation:
            return "Asset Allocation";
        case platform::ChartFile::IndustryCategory:
            return "Industry Category";
        case platform::ChartFile::Performance:
            break;
    }
    return "Performance";
}

CChartView::CChartView() {
    Bind(platform::ID_FILE_PRINT, platform::Notify::Clicked, &CChartView::OnFilePrint);
}
CChartView::~CChartView() = default;

int CChartView::OnCreate() {
    if (!m_pie.Create(*this, QRect(0, 0, 100, 100), kChartId)) {
        platform::MessageBox("m_pie.create failed.", "CChartView::OnCreate.",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION, OwnerOf(*this));
        return -1;
    }
    // No repaint until the chart is complete. The fixed settings: the pie's
    // 3-D look and the room between bars.
    m_pie.SetIsBatched(true);
    m_pie.Area().View3D().SetDepth(10);
    m_pie.Area().View3D().SetElevation(30);
    m_pie.Area().View3D().SetRotation(30);
    m_pie.Area().Bars().SetOverlap(-50);
    m_pie.Area().Bars().SetGap(100);

    const std::string error =
        FileOfKind(ChartKind) == platform::ChartFile::Performance ? FillLine() : FillPie();
    m_pie.SetIsBatched(false);
    if (!error.empty()) {
        platform::MessageBox(error, platform::kChartErrorCaption, platform::MB_OK, OwnerOf(*this));
        return -1;
    }
    return 0;
}

std::string CChartView::FillPie() {
    const auto read = platform::ReadPieChartFile(std::filesystem::current_path(), FileOfKind(ChartKind));
    if (!read.ok()) return read.error;

    platform::ChartGroup group = m_pie.Group(1);
    group.SetChartType(ChartType == 1 ? platform::ChartType::Pie : platform::ChartType::Bar);
    m_pie.Header().SetText(read.data.title);
    // Each slice is a data set of one point: the x axis has nothing to count.
    m_pie.Area().Axis("x").SetAnnotationMethod(platform::AxisAnnotation::None);
    platform::ChartData data = group.Data();
    int p = 0;
    for (const platform::PieSlice& slice : read.data.slices) {
        ++p;
        data.SetNumSeries(p);
        if (p == 1) data.SetNumPoints(1, 1);
        data.SetY(p, 1, slice.percent);
        group.Labels().Add(slice.Label(), p);
    }
    return {};
}

std::string CChartView::FillLine() {
    const auto read = platform::ReadLineChartFile(std::filesystem::current_path());
    if (!read.ok()) return read.error;

    platform::ChartGroup group = m_pie.Group(1);
    group.SetChartType(platform::ChartType::Line);
    const int sets = static_cast<int>(read.data.names.size());
    for (int s = 1; s <= sets; ++s) group.Labels().Add(read.data.names[static_cast<std::size_t>(s - 1)], s);
    platform::ChartData data = group.Data();
    data.SetNumSeries(sets);
    const int points = static_cast<int>(read.data.values[0].size());
    for (int p = 1; p <= points; ++p) {
        for (int s = 1; s <= sets; ++s) {
            data.SetNumPoints(s, p);
            data.SetY(s, p,
                      read.data.values[static_cast<std::size_t>(s - 1)][static_cast<std::size_t>(p - 1)]);
        }
    }
    m_pie.Header().SetText("Performance");
    for (int s = 1; s <= sets; ++s) {
        platform::ChartStyle style = group.Style(s);
        style.Line().SetWidth(4);
        style.Line().SetColor(kLineColors[s - 1]);
        style.Symbol().SetColor(kLineColors[s - 1]);
    }
    return {};
}

void CChartView::OnInitialUpdate() {
    if (platform::ChildFrame* frame = GetParentFrame(); frame && frame->GetWindowText().empty())
        frame->SetWindowText(ChartTitle(ChartKind));
}

void CChartView::OnSize(int width, int height) {
    if (width < 1 || height < 1 || !m_pie.IsWindow()) return;
    m_pie.MoveWindow(0, 0, width, height);
    m_pie.Invalidate();
}

void CChartView::OnDestroy() {
    m_pie.DestroyWindow();
}

void CChartView::OnFilePrint() {
    CLedraApp* app = TheApp();
    QPrinter fallback;
    QPrinter& printer = app ? app->Printer() : fallback;
    if (!OnPreparePrinting(printer)) return;
    QPainter painter;
    if (!platform::BeginPrintJob(painter, printer)) {
        platform::MessageBox("The chart could not be printed: the printer did not start.", "Print",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION, GetSafeHwnd());
        return;
    }
    OnBeginPrinting();
    OnPrint(painter, printer.pageLayout().paintRectPixels(printer.resolution()));
    painter.end();
    OnEndPrinting();
}

bool CChartView::OnPreparePrinting(QPrinter& printer) {
    return platform::PrintDialog(printer, GetSafeHwnd());
}

void CChartView::OnPrint(QPainter& painter, const QRect& page) {
    const QRect target = platform::ChartPrintRect(GetClientRect().size(), page.size());
    m_pie.Draw(painter, ChartControl::kDrawToDevice, ChartControl::kDrawScaled, target);
}

}  // namespace shell
