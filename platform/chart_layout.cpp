// Layout of a chart: where the title, the legend, the pie's slices, the
// bars, the lines and the axis texts go in a picture of a given size. Sizes
// are pixels of the window the chart is laid out for; a printed chart is the
// same picture scaled, so fonts are set by pixel size and every measure
// derives from the picture's size.

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/chart_paint.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Colours of data sets that stay apart from each other on screen and paper.
constexpr ColorRef kPalette[] = {
    Rgb(0x1f, 0x77, 0xb4), Rgb(0xff, 0x7f, 0x0e), Rgb(0x2c, 0xa0, 0x2c), Rgb(0xd6, 0x27, 0x28),
    Rgb(0x94, 0x67, 0xbd), Rgb(0x8c, 0x56, 0x4b), Rgb(0xe3, 0x77, 0xc2), Rgb(0x7f, 0x7f, 0x7f),
    Rgb(0xbc, 0xbd, 0x22), Rgb(0x17, 0xbe, 0xcf), Rgb(0xae, 0xc7, 0xe8), Rgb(0xff, 0xbb, 0x78),
    Rgb(0x98, 0xdf, 0x8a), Rgb(0xff, 0x98, 0x96), Rgb(0xc5, 0xb0, 0xd5), Rgb(0xc4, 0x9c, 0x94),
};
constexpr int kPaletteSize = static_cast<int>(sizeof kPalette / sizeof kPalette[0]);

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

QFontMetricsF Metrics(const QFont& font, const QPaintDevice* device) {
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

double TextWidth(const QFontMetricsF& fm, const std::string& text) {
    return fm.horizontalAdvance(ToQtDisplay(text));
}

// The value of every finite point of the model.
std::vector<double> FiniteValues(const ChartModel& model) {
    std::vector<double> all;
    for (const auto& set : model.values)
        for (double v : set)
            if (std::isfinite(v)) all.push_back(v);
    return all;
}

int MaxPoints(const ChartModel& model) {
    std::size_t points = 0;
    for (const auto& set : model.values) points = std::max(points, set.size());
    return static_cast<int>(points);
}

// A step of 1, 2 or 5 times a power of ten near `raw`.
double NiceStep(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
    return nice * power;
}

std::string FormatTick(double value, double step) {
    int decimals = 0;
    while (decimals < 6 &&
           std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    if (std::fabs(value) < step * 1e-6) value = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

struct Scale {
    double min = 0, max = 1, step = 1;
};

Scale ValueScale(const ChartModel& model, double plot_height, double text_size) {
    std::vector<double> values = FiniteValues(model);
    if (model.type == ChartType::Bar) values.push_back(0);
    double lo = values.empty() ? 0 : *std::min_element(values.begin(), values.end());
    double hi = values.empty() ? 1 : *std::max_element(values.begin(), values.end());
    if (hi - lo < 1e-9) {
        const double pad = std::max(1.0, std::fabs(hi) * 0.1);
        lo -= pad;
        hi += pad;
    }
    const double ticks = std::clamp(plot_height / (text_size * 3), 2.0, 10.0);
    Scale s;
    s.step = NiceStep((hi - lo) / ticks);
    s.min = std::floor(lo / s.step + 1e-9) * s.step;
    s.max = std::ceil(hi / s.step - 1e-9) * s.step;
    return s;
}

// Lays out the legend of a pie or bar chart as columns of entries, no
// larger than `room`: at the right of the picture between room's top and
// bottom (`right`), or centred under the chart at the bottom of `room`. The
// entries go into more columns before the font shrinks (down to 8 pixels),
// and texts are shortened, in the middle so that the percentage at the end
// of a pie label stays, only when nothing else fits.
void ColumnLegend(ChartLayout& layout, const ChartModel& model, double base, const QRectF& room, bool right,
                  const QPaintDevice* device) {
    const int n = model.NumSeries();
    struct Shape {
        double size, row, pad, swatch, gap, text_width;
        int cols, rows;
        double Width() const { return cols * (swatch + gap + text_width) + (cols - 1) * size + 2 * pad; }
        double Height() const { return rows * row + 2 * pad; }
    };
    // The shape of one column at a font size; `cols` and `rows` follow.
    auto shape_at = [&](double size) {
        const QFontMetricsF fm = Metrics(ChartFont(size, false), device);
        Shape shape{size, std::ceil(fm.height() * 1.35), size * 0.6, std::round(size * 0.9), size * 0.5, 0, 1,
                    n};
        for (int set = 1; set <= n; ++set)
            shape.text_width = std::max(shape.text_width, TextWidth(fm, Trim(model.LabelOf(set))));
        return shape;
    };
    auto in_columns = [n](Shape shape, int cols) {
        shape.cols = cols;
        shape.rows = (n + cols - 1) / cols;
        return shape;
    };
    std::optional<Shape> found;
    for (double size = base; size >= 8 && !found; size -= 1) {
        const Shape one = shape_at(size);
        for (int cols = 1; cols <= n && !found; ++cols) {
            const Shape shape = in_columns(one, cols);
            if (shape.Height() <= room.height() && shape.Width() <= room.width()) found = shape;
        }
    }
    if (!found) {
        // The smallest font in as few columns as the height allows, the
        // texts shortened to the width.
        const Shape one = shape_at(8);
        int cols = 1;
        while (cols < n && in_columns(one, cols).Height() > room.height()) ++cols;
        Shape shape = in_columns(one, cols);
        shape.text_width =
            std::max(shape.size, (room.width() - 2 * shape.pad - (cols - 1) * shape.size) / cols -
                                     shape.swatch - shape.gap);
        found = shape;
    }
    const Shape& shape = *found;
    const QFontMetricsF fm = Metrics(ChartFont(shape.size, false), device);
    const double width = shape.Width(), height = shape.Height();
    layout.legend = right ? QRectF(room.right() - width,
                                   room.top() + std::max(0.0, (room.height() - height) / 2), width, height)
                          : QRectF(room.center().x() - width / 2, room.bottom() - height, width, height);
    for (int set = 1; set <= n; ++set) {
        const int col = (set - 1) / shape.rows, line = (set - 1) % shape.rows;
        const double x = layout.legend.left() + shape.pad +
                         col * (shape.swatch + shape.gap + shape.text_width + shape.size);
        const double y = layout.legend.top() + shape.pad + line * shape.row;
        ChartLegendEntry entry;
        entry.set = set;
        entry.swatch = QRectF(x, y + (shape.row - shape.swatch) / 2, shape.swatch, shape.swatch);
        const QString text =
            fm.elidedText(ToQtDisplay(Trim(model.LabelOf(set))), Qt::ElideMiddle, shape.text_width + 0.5);
        entry.text = {text, QRectF(x + shape.swatch + shape.gap, y, shape.text_width, shape.row), shape.size,
                      false, Qt::AlignLeft | Qt::AlignVCenter};
        layout.legend_entries.push_back(entry);
    }
}

// Lays out the legend of a line chart as rows of entries under the plot;
// returns its top.
double RowLegend(ChartLayout& layout, const ChartModel& model, double size, double margin,
                 const QPaintDevice* device) {
    const int n = model.NumSeries();
    const QFontMetricsF fm = Metrics(ChartFont(size, false), device);
    const double row = std::ceil(fm.height() * 1.35), pad = size * 0.5, sample = size * 2.2, gap = size * 0.5;
    const double space = size * 1.5, available = layout.size.width() - 2 * margin - 2 * pad;
    // Entries in rows, each row as wide as it needs.
    std::vector<std::vector<int>> lines(1);
    std::vector<double> widths(1, 0);
    auto entry_width = [&](int set) {
        return std::min(available, sample + gap + TextWidth(fm, Trim(model.LabelOf(set))));
    };
    for (int set = 1; set <= n; ++set) {
        const double w = entry_width(set);
        if (!lines.back().empty() && widths.back() + space + w > available) {
            lines.emplace_back();
            widths.push_back(0);
        }
        widths.back() += (lines.back().empty() ? 0 : space) + w;
        lines.back().push_back(set);
    }
    const double height = static_cast<double>(lines.size()) * row + 2 * pad;
    const double top = layout.size.height() - margin - height;
    double legend_width = 0;
    for (double w : widths) legend_width = std::max(legend_width, w);
    layout.legend =
        QRectF((layout.size.width() - legend_width) / 2 - pad, top, legend_width + 2 * pad, height);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        double x = (layout.size.width() - widths[i]) / 2;
        const double y = top + pad + static_cast<double>(i) * row;
        for (int set : lines[i]) {
            const double w = entry_width(set);
            ChartLegendEntry entry;
            entry.set = set;
            entry.swatch = QRectF(x, y, sample, row);
            const double text_width = w - sample - gap;
            const QString text =
                fm.elidedText(ToQtDisplay(Trim(model.LabelOf(set))), Qt::ElideRight, text_width + 0.5);
            entry.text = {text, QRectF(x + sample + gap, y, text_width, row), size, false,
                          Qt::AlignLeft | Qt::AlignVCenter};
            layout.legend_entries.push_back(entry);
            x += w + space;
        }
    }
    return top;
}

void LayOutPie(ChartLayout& layout, const ChartModel& model) {
    const double elevation = model.elevation * kPi / 180;
    const double tilt = std::sin(elevation);
    const double edge = 0.02 * model.depth * std::cos(elevation);  // of the radius
    const QRectF& plot = layout.plot;
    const double radius = 0.94 * std::min(plot.width() / 2, plot.height() / (2 * tilt + edge));
    if (radius <= 0) return;
    layout.pie_depth = radius * edge;
    const double height = 2 * radius * tilt + layout.pie_depth;
    layout.pie_top =
        QRectF(plot.center().x() - radius, plot.center().y() - height / 2, 2 * radius, 2 * radius * tilt);

    double total = 0;
    for (const auto& set : model.values)
        if (!set.empty() && std::isfinite(set.front()) && set.front() > 0) total += set.front();
    if (total <= 0) return;
    double start = model.rotation;
    for (int s = 1; s <= model.NumSeries(); ++s) {
        const auto& set = model.values[static_cast<std::size_t>(s - 1)];
        // Nothing negative or empty has a place on a pie; the legend still
        // names it with its value.
        if (set.empty() || !std::isfinite(set.front()) || set.front() <= 0) continue;
        const double span = 360 * set.front() / total;
        layout.slices.push_back({s, start, span});
        start += span;
    }
}

// The x positions of the points of a line chart or the middle of each
// point's bars.
double PointX(const ChartLayout& layout, int point, int points, double inset) {
    if (points <= 1) return layout.plot.center().x();
    return layout.plot.left() + inset + (point - 1) * (layout.plot.width() - 2 * inset) / (points - 1);
}

// Every how many points a number is written: the smallest of 1, 2, 5, 10,
// 20, 50, ... that leaves each number `needed` pixels when the points lie
// `room` pixels apart.
int LabelEvery(double room, double needed, int points) {
    int every = 1;
    for (int power = 1; room * every < needed && every < points; power *= 10)
        for (int f : {2, 5, 10}) {
            every = f * power;
            if (room * every >= needed) break;
        }
    return every;
}

void LayOutAxes(ChartLayout& layout, const ChartModel& model, double text_size, double right, double bottom,
                double top, double margin, const QPaintDevice* device) {
    const QFontMetricsF fm = Metrics(ChartFont(text_size, false), device);
    const int points = MaxPoints(model);
    const bool bars = model.type == ChartType::Bar;
    const bool x_values = model.x_annotation == AxisAnnotation::Values && points > 0;
    const bool y_values = model.y_annotation == AxisAnnotation::Values;
    const double x_label_height = x_values ? fm.height() * 1.4 : text_size * 0.5;

    // The widest point number decides the room kept at the right for the
    // label under the last point.
    const double widest_x = x_values ? TextWidth(fm, std::to_string(points)) : 0;
    if (!bars) right -= widest_x / 2;
    double plot_height = bottom - top - x_label_height;
    const Scale scale = ValueScale(model, plot_height, text_size);
    layout.y_min = scale.min;
    layout.y_max = scale.max;
    double label_width = 0;
    std::vector<std::string> tick_texts;
    for (double v = scale.min; v <= scale.max + scale.step * 1e-6; v += scale.step) {
        layout.y_ticks.push_back(v);
        tick_texts.push_back(FormatTick(v, scale.step));
        label_width = std::max(label_width, TextWidth(fm, tick_texts.back()));
    }
    const double left = margin + (y_values ? label_width + text_size * 0.6 : 0);
    // Room above the top grid line for half a label.
    const double plot_top = top + fm.height() / 2;
    plot_height = bottom - x_label_height - plot_top;
    layout.plot = QRectF(left, plot_top, std::max(1.0, right - left), std::max(1.0, plot_height));

    if (y_values)
        for (std::size_t i = 0; i < layout.y_ticks.size(); ++i) {
            const double y = layout.YOf(layout.y_ticks[i]);
            layout.y_labels.push_back({QString::fromStdString(tick_texts[i]),
                                       QRectF(margin, y - fm.height() / 2, label_width, fm.height()),
                                       text_size, false, Qt::AlignRight | Qt::AlignVCenter});
        }

    const int sets = model.NumSeries();
    double inset = 0;
    if (bars && points > 0 && sets > 0) {
        const double step = 1 - model.bar_overlap / 100.0;  // from one bar's start to the next, in bar widths
        const double cluster = 1 + (sets - 1) * step;
        const double slot = layout.plot.width() / points;
        const double bar = slot / (cluster + model.bar_gap / 100.0);
        const double zero = layout.YOf(std::clamp(0.0, scale.min, scale.max));
        for (int p = 1; p <= points; ++p) {
            const double first = layout.plot.left() + (p - 1) * slot + (slot - cluster * bar) / 2;
            for (int s = 1; s <= sets; ++s) {
                const auto& set = model.values[static_cast<std::size_t>(s - 1)];
                if (static_cast<int>(set.size()) < p || !std::isfinite(set[static_cast<std::size_t>(p - 1)]))
                    continue;
                const double y = layout.YOf(set[static_cast<std::size_t>(p - 1)]);
                layout.bars.push_back(
                    {s, p,
                     QRectF(QPointF(first + (s - 1) * step * bar, std::min(y, zero)),
                            QPointF(first + (s - 1) * step * bar + bar, std::max(y, zero)))});
            }
        }
    } else if (!bars && points > 0) {
        double widest_line = 1;
        for (int s = 1; s <= sets; ++s)
            widest_line = std::max<double>(widest_line, model.StyleOf(s).line_width);
        const double symbol = std::max(widest_line + 4, text_size * 0.6);
        inset = std::max(4.0, symbol / 2 + 2);
        const double spacing =
            points > 1 ? (layout.plot.width() - 2 * inset) / (points - 1) : layout.plot.width();
        layout.symbol_size = spacing >= symbol * 1.6 ? symbol : 0;
        layout.lines.resize(static_cast<std::size_t>(sets));
        for (int s = 1; s <= sets; ++s) {
            const auto& set = model.values[static_cast<std::size_t>(s - 1)];
            for (int p = 1; p <= static_cast<int>(set.size()); ++p) {
                const double v = set[static_cast<std::size_t>(p - 1)];
                if (!std::isfinite(v)) continue;
                layout.lines[static_cast<std::size_t>(s - 1)].push_back(
                    {p, QPointF(PointX(layout, p, points, inset), layout.YOf(v))});
            }
        }
    }

    if (x_values) {
        // Every k-th point is numbered, k the smallest of 1, 2, 5, 10, 20,
        // ... that keeps the numbers apart.
        const double room =
            bars ? layout.plot.width() / points
                 : (points > 1 ? (layout.plot.width() - 2 * inset) / (points - 1) : widest_x * 2);
        // Multiples of `every`, and point 1 when it keeps clear of the first
        // of them.
        const double needed = widest_x * 1.8;
        const int every = LabelEvery(room, needed, points);
        const double y = layout.plot.bottom() + fm.height() * 0.3;
        for (int p = 1; p <= points; ++p) {
            if (p % every != 0 && !(p == 1 && (every == 1 || room * (every - 1) >= needed))) continue;
            const double x = bars ? layout.plot.left() + (p - 0.5) * layout.plot.width() / points
                                  : PointX(layout, p, points, inset);
            const std::string text = std::to_string(p);
            const double w = TextWidth(fm, text) + 2;
            layout.x_labels.push_back({QString::fromStdString(text), QRectF(x - w / 2, y, w, fm.height()),
                                       text_size, false, Qt::AlignCenter});
        }
    }
}

}  // namespace

QFont ChartFont(double pixels, bool bold) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

QColor ToQColor(ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

SeriesStyle DefaultSeriesStyle(int set) {
    const int i = std::max(0, set - 1);
    ColorRef color = kPalette[i % kPaletteSize];
    if (i >= kPaletteSize) {
        // Past the palette, the same colours again a shade darker.
        const QColor darker = ToQColor(color).darker(100 + 30 * (i / kPaletteSize));
        color = Rgb(static_cast<unsigned>(darker.red()), static_cast<unsigned>(darker.green()),
                    static_cast<unsigned>(darker.blue()));
    }
    return {color, color, 1, color};
}

SeriesStyle ChartModel::StyleOf(int set) const {
    if (set >= 1 && set <= static_cast<int>(styles.size())) return styles[static_cast<std::size_t>(set - 1)];
    return DefaultSeriesStyle(set);
}

std::string ChartModel::LabelOf(int set) const {
    if (set >= 1 && set <= static_cast<int>(labels.size())) return labels[static_cast<std::size_t>(set - 1)];
    return {};
}

double ChartLayout::YOf(double value) const {
    if (y_max <= y_min) return plot.bottom();
    return plot.bottom() - (value - y_min) / (y_max - y_min) * plot.height();
}

std::vector<const ChartText*> ChartLayout::Texts() const {
    std::vector<const ChartText*> texts;
    for (const auto& t : header) texts.push_back(&t);
    for (const auto& e : legend_entries) texts.push_back(&e.text);
    for (const auto& t : y_labels) texts.push_back(&t);
    for (const auto& t : x_labels) texts.push_back(&t);
    return texts;
}

ChartLayout LayOutChart(const ChartModel& model, QSizeF size, const QPaintDevice* device) {
    ChartLayout layout;
    layout.size = size;
    if (size.width() < 8 || size.height() < 8) return layout;
    // Texts grow with the picture's area, within readable bounds.
    const double text_size = std::clamp(std::sqrt(size.width() * size.height()) / 38, 9.0, 16.0);
    const double margin = std::round(text_size);
    double top = margin;

    // The title: smaller when it does not fit across, then in several lines.
    const std::string title = Trim(model.header);
    if (!title.empty()) {
        const double width = size.width() - 2 * margin;
        double header_size = std::round(text_size * 1.4);
        while (header_size > text_size &&
               TextWidth(Metrics(ChartFont(header_size, true), device), title) > width)
            header_size -= 1;
        const QFontMetricsF fm = Metrics(ChartFont(header_size, true), device);
        const QRectF needed = fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::AlignHCenter | Qt::TextWordWrap,
                                              ToQtDisplay(title));
        layout.header.push_back({ToQtDisplay(title),
                                 QRectF(margin, margin, width, std::ceil(needed.height())), header_size, true,
                                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap});
        top = layout.header.back().rect.bottom() + margin * 0.8;
    }

    const bool legend = !model.labels.empty() && model.NumSeries() > 0;
    double bottom = size.height() - margin;
    double right = size.width() - margin;
    if (legend && model.type == ChartType::Line) {
        bottom = RowLegend(layout, model, text_size, margin, device) - margin * 0.6;
    } else if (legend) {
        // Beside the chart in a wide picture, under it in a tall one.
        if (size.width() >= size.height()) {
            ColumnLegend(layout, model, text_size,
                         QRectF(QPointF(size.width() / 2, top), QPointF(right, bottom)), true, device);
            right = layout.legend.left() - margin;
        } else {
            ColumnLegend(layout, model, text_size,
                         QRectF(QPointF(margin, top + (bottom - top) / 2), QPointF(right, bottom)), false,
                         device);
            bottom = layout.legend.top() - margin;
        }
    }

    if (model.type == ChartType::Pie) {
        layout.plot =
            QRectF(QPointF(margin, top), QPointF(std::max(margin + 1, right), std::max(top + 1, bottom)));
        LayOutPie(layout, model);
    } else if (model.NumSeries() > 0) {
        LayOutAxes(layout, model, text_size, right, bottom, top, margin, device);
    }
    return layout;
}

}  // namespace platform
