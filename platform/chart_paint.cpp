// Painting of a chart from its layout.

#include "platform/chart_paint.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr double kPi = 3.14159265358979323846;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kAxis(0x60, 0x60, 0x60);
const QColor kGrid(0xdc, 0xdc, 0xdc);
const QColor kLegendFrame(0xc8, 0xc8, 0xc8);

void DrawText(QPainter& painter, const ChartText& text, const QColor& color) {
    painter.setFont(ChartFont(text.size, text.bold));
    painter.setPen(color);
    painter.drawText(text.rect, text.flags, text.text);
}

QPointF OnEllipse(const QRectF& ellipse, double degrees_from_noon) {
    const double a = degrees_from_noon * kPi / 180;
    return QPointF(ellipse.center().x() + ellipse.width() / 2 * std::sin(a),
                   ellipse.center().y() - ellipse.height() / 2 * std::cos(a));
}

// Points along the ellipse from `from` to `to` degrees clockwise from noon.
void AddArc(QPolygonF& polygon, const QRectF& ellipse, double from, double to, double dy = 0) {
    const int steps = std::max(2, static_cast<int>(std::ceil(std::fabs(to - from))));
    for (int i = 0; i <= steps; ++i)
        polygon << OnEllipse(ellipse, from + (to - from) * i / steps) + QPointF(0, dy);
}

void PaintPie(QPainter& painter, const ChartLayout& layout, const ChartModel& model) {
    const QRectF& top = layout.pie_top;
    // The edge shows where the disc faces the viewer: from 3 o'clock round
    // the bottom to 9 o'clock (90 to 270 degrees from noon).
    if (layout.pie_depth > 0.5) {
        for (const ChartSlice& slice : layout.slices) {
            const QColor fill = ToQColor(model.StyleOf(slice.set).fill).darker(140);
            for (int turn = -1; turn <= 1; ++turn) {
                const double from = std::max(slice.start, 90.0 + 360 * turn);
                const double to = std::min(slice.start + slice.span, 270.0 + 360 * turn);
                if (to <= from) continue;
                QPolygonF wall;
                AddArc(wall, top, from, to);
                AddArc(wall, top, to, from, layout.pie_depth);
                painter.setPen(QPen(fill.darker(115), 0.8));
                painter.setBrush(fill);
                painter.drawPolygon(wall);
            }
        }
    }
    for (const ChartSlice& slice : layout.slices) {
        QPolygonF face;
        face << top.center();
        AddArc(face, top, slice.start, slice.start + slice.span);
        painter.setPen(
            QPen(Qt::white, std::max(1.0, top.width() / 300), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(ToQColor(model.StyleOf(slice.set).fill));
        painter.drawPolygon(face);
    }
}

void PaintAxes(QPainter& painter, const ChartLayout& layout) {
    const QRectF& plot = layout.plot;
    painter.setPen(QPen(kGrid, 1));
    for (double v : layout.y_ticks) {
        const double y = layout.YOf(v);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.setPen(QPen(kAxis, 1.2));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (layout.y_min < 0 && layout.y_max > 0) {
        const double y = layout.YOf(0);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    for (const ChartText& text : layout.y_labels) DrawText(painter, text, kInk);
    for (const ChartText& text : layout.x_labels) DrawText(painter, text, kInk);
}

void DrawSymbol(QPainter& painter, int set, QPointF at, double size, const QColor& color) {
    painter.setPen(QPen(Qt::white, std::max(1.0, size / 8)));
    painter.setBrush(color);
    const double r = size / 2;
    switch ((set - 1) % 4) {
        case 0:
            painter.drawEllipse(at, r, r);
            break;
        case 1:
            painter.drawRect(QRectF(at.x() - r * 0.9, at.y() - r * 0.9, r * 1.8, r * 1.8));
            break;
        case 2:
            painter.drawPolygon(QPolygonF{at + QPointF(0, -r * 1.15), at + QPointF(r * 1.05, r * 0.75),
                                          at + QPointF(-r * 1.05, r * 0.75)});
            break;
        default:
            painter.drawPolygon(QPolygonF{at + QPointF(0, -r * 1.2), at + QPointF(r * 1.2, 0),
                                          at + QPointF(0, r * 1.2), at + QPointF(-r * 1.2, 0)});
            break;
    }
}

void PaintLines(QPainter& painter, const ChartLayout& layout, const ChartModel& model) {
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const int set = static_cast<int>(i) + 1;
        const SeriesStyle style = model.StyleOf(set);
        const auto& points = layout.lines[i];
        painter.setPen(
            QPen(ToQColor(style.line_color), style.line_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        // A point without a value breaks the line.
        QPolygonF run;
        for (std::size_t k = 0; k < points.size(); ++k) {
            if (k > 0 && points[k].point != points[k - 1].point + 1) {
                painter.drawPolyline(run);
                run.clear();
            }
            run << points[k].at;
        }
        painter.drawPolyline(run);
    }
    if (layout.symbol_size <= 0) return;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const int set = static_cast<int>(i) + 1;
        for (const ChartLinePoint& p : layout.lines[i])
            DrawSymbol(painter, set, p.at, layout.symbol_size, ToQColor(model.StyleOf(set).symbol_color));
    }
}

void PaintLegend(QPainter& painter, const ChartLayout& layout, const ChartModel& model) {
    if (layout.legend.isEmpty()) return;
    painter.setPen(QPen(kLegendFrame, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(layout.legend);
    for (const ChartLegendEntry& entry : layout.legend_entries) {
        const SeriesStyle style = model.StyleOf(entry.set);
        if (model.type == ChartType::Line) {
            const double y = entry.swatch.center().y();
            painter.setPen(QPen(ToQColor(style.line_color),
                                std::min<double>(style.line_width, entry.text.size / 3), Qt::SolidLine,
                                Qt::RoundCap));
            painter.drawLine(QPointF(entry.swatch.left(), y), QPointF(entry.swatch.right(), y));
            if (layout.symbol_size > 0)
                DrawSymbol(painter, entry.set, entry.swatch.center(), entry.text.size * 0.6,
                           ToQColor(style.symbol_color));
        } else {
            const QColor fill = ToQColor(style.fill);
            painter.setPen(QPen(fill.darker(140), 1));
            painter.setBrush(fill);
            painter.drawRect(entry.swatch);
        }
        DrawText(painter, entry.text, kInk);
    }
}

}  // namespace

void PaintChart(QPainter& painter, const ChartModel& model, QSizeF size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const ChartLayout layout = LayOutChart(model, size, painter.device());
    for (const ChartText& text : layout.header) DrawText(painter, text, kInk);
    if (model.type == ChartType::Pie) {
        PaintPie(painter, layout, model);
    } else if (model.NumSeries() > 0) {
        PaintAxes(painter, layout);
        for (const ChartBar& bar : layout.bars) {
            const QColor fill = ToQColor(model.StyleOf(bar.set).fill);
            painter.setPen(QPen(fill.darker(140), 1));
            painter.setBrush(fill);
            painter.drawRect(bar.rect);
        }
        PaintLines(painter, layout, model);
    }
    PaintLegend(painter, layout, model);
    painter.restore();
}

}  // namespace platform
