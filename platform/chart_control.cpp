#include "platform/chart_control.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/common_dialogs.h"
#include "platform/internal_widgets.h"
#include "platform/text.h"

namespace platform {
namespace {

// Data sets a chart can style; far beyond what a chart can show legibly.
constexpr int kMaxStyledSets = 100;

const double kNoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace

// ---- header, area and axes

void ChartHeader::SetText(std::string_view text) {
    chart_->model_.header = std::string(text);
    chart_->Changed();
}
std::string ChartHeader::Text() const {
    return chart_->model_.header;
}

void ChartView3D::SetDepth(int percent) {
    chart_->model_.depth = std::clamp(percent, 0, 100);
    chart_->Changed();
}
void ChartView3D::SetElevation(int degrees) {
    chart_->model_.elevation = std::clamp(degrees, 10, 90);
    chart_->Changed();
}
void ChartView3D::SetRotation(int degrees) {
    chart_->model_.rotation = ((degrees % 360) + 360) % 360;
    chart_->Changed();
}
int ChartView3D::Depth() const {
    return chart_->model_.depth;
}
int ChartView3D::Elevation() const {
    return chart_->model_.elevation;
}
int ChartView3D::Rotation() const {
    return chart_->model_.rotation;
}

void ChartBars::SetOverlap(int percent) {
    chart_->model_.bar_overlap = std::clamp(percent, -100, 100);
    chart_->Changed();
}
void ChartBars::SetGap(int percent) {
    chart_->model_.bar_gap = std::clamp(percent, 0, 500);
    chart_->Changed();
}
int ChartBars::Overlap() const {
    return chart_->model_.bar_overlap;
}
int ChartBars::Gap() const {
    return chart_->model_.bar_gap;
}

ChartAxis ChartArea::Axis(std::string_view name) const {
    if (name == "x" || name == "X") return ChartAxis(chart_, 'x');
    if (name == "y" || name == "Y") return ChartAxis(chart_, 'y');
    return ChartAxis(chart_, 0);
}

void ChartAxis::SetAnnotationMethod(AxisAnnotation method) {
    if (!Exists()) return;
    (axis_ == 'x' ? chart_->model_.x_annotation : chart_->model_.y_annotation) = method;
    chart_->Changed();
}
AxisAnnotation ChartAxis::AnnotationMethod() const {
    if (!Exists()) return AxisAnnotation::Values;
    return axis_ == 'x' ? chart_->model_.x_annotation : chart_->model_.y_annotation;
}

// ---- chart group

void ChartGroup::SetChartType(ChartType type) {
    if (!chart_) return;
    if (type != ChartType::Line && type != ChartType::Bar && type != ChartType::Pie) return;
    chart_->model_.type = type;
    chart_->Changed();
}
ChartType ChartGroup::GetChartType() const {
    return chart_ ? chart_->model_.type : ChartType::Line;
}

void ChartData::SetNumSeries(int count) {
    if (!chart_ || count < 0) return;
    auto& values = chart_->model_.values;
    const std::size_t points = values.empty() ? 0 : values.front().size();
    values.resize(static_cast<std::size_t>(count), std::vector<double>(points, kNoValue));
    chart_->Changed();
}
int ChartData::NumSeries() const {
    return chart_ ? chart_->model_.NumSeries() : 0;
}
void ChartData::SetNumPoints(int set, int count) {
    if (!chart_ || set < 1 || set > NumSeries() || count < 0) return;
    chart_->model_.values[static_cast<std::size_t>(set - 1)].resize(static_cast<std::size_t>(count),
                                                                    kNoValue);
    chart_->Changed();
}
int ChartData::NumPoints(int set) const {
    if (!chart_ || set < 1 || set > NumSeries()) return 0;
    return static_cast<int>(chart_->model_.values[static_cast<std::size_t>(set - 1)].size());
}
void ChartData::SetY(int set, int point, double value) {
    if (point < 1 || point > NumPoints(set)) return;
    chart_->model_.values[static_cast<std::size_t>(set - 1)][static_cast<std::size_t>(point - 1)] =
        std::isfinite(value) ? value : kNoValue;
    chart_->Changed();
}
double ChartData::Y(int set, int point) const {
    if (point < 1 || point > NumPoints(set)) return kNoValue;
    return chart_->model_.values[static_cast<std::size_t>(set - 1)][static_cast<std::size_t>(point - 1)];
}

void ChartLabels::Add(std::string_view text, int index) {
    if (!chart_) return;
    auto& labels = chart_->model_.labels;
    const std::size_t at =
        std::clamp<std::size_t>(index < 1 ? 0 : static_cast<std::size_t>(index - 1), 0, labels.size());
    labels.insert(labels.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
    chart_->Changed();
}
int ChartLabels::Count() const {
    return chart_ ? static_cast<int>(chart_->model_.labels.size()) : 0;
}
std::string ChartLabels::Text(int index) const {
    if (index < 1 || index > Count()) return {};
    return chart_->model_.labels[static_cast<std::size_t>(index - 1)];
}

// ---- styles

void ChartLine::SetWidth(int pixels) {
    if (SeriesStyle* style = chart_ ? chart_->StyleFor(set_) : nullptr) {
        style->line_width = std::clamp(pixels, 1, 20);
        chart_->Changed();
    }
}
void ChartLine::SetColor(ColorRef color) {
    if (SeriesStyle* style = chart_ ? chart_->StyleFor(set_) : nullptr) {
        style->line_color = color & 0xFFFFFF;
        chart_->Changed();
    }
}
int ChartLine::Width() const {
    return chart_ ? chart_->model_.StyleOf(set_).line_width : 0;
}
ColorRef ChartLine::Color() const {
    return chart_ ? chart_->model_.StyleOf(set_).line_color : 0;
}

void ChartSymbol::SetColor(ColorRef color) {
    if (SeriesStyle* style = chart_ ? chart_->StyleFor(set_) : nullptr) {
        style->symbol_color = color & 0xFFFFFF;
        chart_->Changed();
    }
}
ColorRef ChartSymbol::Color() const {
    return chart_ ? chart_->model_.StyleOf(set_).symbol_color : 0;
}

ColorRef ChartStyle::Fill() const {
    return chart_ ? chart_->model_.StyleOf(set_).fill : 0;
}

// ---- the control

ChartControl::ChartControl() = default;
ChartControl::~ChartControl() = default;

bool ChartControl::Create(Window& parent, const QRect& rect, int id, bool visible) {
    if (IsWindow() || !parent.GetWidget()) return false;
    auto* widget = new detail::HookWidget(this, parent.GetWidget());
    widget->setGeometry(rect);
    AttachWidget(widget, true);
    id_ = id;
    if (visible) widget->show();
    return true;
}

void ChartControl::SetIsBatched(bool batched) {
    const bool ended = batched_ && !batched;
    batched_ = batched;
    if (ended) Invalidate();
}

void ChartControl::Changed() {
    if (!batched_) Invalidate();
}

SeriesStyle* ChartControl::StyleFor(int set) {
    if (set < 1 || set > kMaxStyledSets) return nullptr;
    auto& styles = model_.styles;
    while (static_cast<int>(styles.size()) < set)
        styles.push_back(DefaultSeriesStyle(static_cast<int>(styles.size()) + 1));
    return &styles[static_cast<std::size_t>(set - 1)];
}

QSize ChartControl::PictureSize() const {
    const QRect client = GetClientRect();
    if (IsWindow() && !client.isEmpty()) return client.size();
    return QSize(640, 480);
}

ChartLayout ChartControl::Layout() const {
    return LayOutChart(model_, PictureSize());
}

void ChartControl::OnPaint(QPainter& painter) {
    PaintChart(painter, model_, GetClientRect().size());
}

bool ChartControl::Draw(QPainter& painter, int format, int scale, const QRect& rect) const {
    if (format != kDrawToDevice || scale != kDrawScaled || rect.isEmpty()) return false;
    const QSize window = PictureSize();
    const double factor = static_cast<double>(rect.width()) / window.width();
    const QSizeF picture(window.width(), rect.height() / factor);
    painter.save();
    painter.setClipRect(rect);
    painter.translate(rect.topLeft());
    painter.scale(factor, factor);
    PaintChart(painter, model_, picture);
    painter.restore();
    return true;
}

QRect ChartPrintRect(QSize window, QSize page) {
    if (window.isEmpty() || page.isEmpty()) return QRect();
    const qint64 w = window.width(), h = window.height();
    const qint64 pw = page.width(), ph = page.height();
    if (w * ph < h * pw) {
        // Relatively taller than the page: full height, centred across.
        const int width = static_cast<int>((w * ph + h / 2) / h);
        return QRect(static_cast<int>((pw - width) / 2), 0, width, static_cast<int>(ph));
    }
    const int height = static_cast<int>((h * pw + w / 2) / w);
    return QRect(0, static_cast<int>((ph - height) / 2), static_cast<int>(pw), height);
}

bool ChartControl::Print(QPrinter& printer) const {
    QPainter painter;
    if (!BeginPrintJob(painter, printer)) return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    Draw(painter, kDrawToDevice, kDrawScaled, ChartPrintRect(PictureSize(), page.size()));
    return painter.end();
}

bool ChartControl::PrintToPdf(const std::string& path) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQt(path));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
    return Print(printer);
}

}  // namespace platform
