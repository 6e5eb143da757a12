// The program's own pictures, painted with QPainter.

#include "platform/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace platform {
namespace {

const QColor kInk(0x1f, 0x3a, 0x5f);
const QColor kPaper(0xf4, 0xf1, 0xe8);
const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kAmber(0xe0, 0x9a, 0x1b);
const QColor kGrey(0x8a, 0x8f, 0x98);

// An open ledger with a rising bar chart on its right page and the
// program's name underneath.
QPixmap DrawBackground() {
    QPixmap pixmap(420, 300);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF left(40, 30, 170, 200), right(210, 30, 170, 200);
    p.setPen(QPen(kInk, 2));
    p.setBrush(kPaper);
    p.drawRoundedRect(left, 6, 6);
    p.drawRoundedRect(right, 6, 6);
    p.drawLine(QPointF(210, 34), QPointF(210, 226));

    // Ruled lines and a margin on the left page.
    p.setPen(QPen(QColor(0xb8, 0xc4, 0xd6), 1));
    for (int y = 60; y < 220; y += 16) p.drawLine(QPointF(52, y), QPointF(198, y));
    p.setPen(QPen(QColor(0xd9, 0x8c, 0x8c), 1));
    p.drawLine(QPointF(82, 40), QPointF(82, 222));

    // Bars rising across the right page, with a trend line.
    const double heights[] = {40, 62, 55, 88, 110, 140};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        QLinearGradient g(0, 210 - heights[i], 0, 210);
        g.setColorAt(0, kGreen.lighter(130));
        g.setColorAt(1, kGreen.darker(120));
        p.setBrush(g);
        p.drawRect(QRectF(224 + i * 25, 210 - heights[i], 16, heights[i]));
    }
    QPainterPath trend;
    for (int i = 0; i < 6; ++i) {
        const QPointF pt(232 + i * 25, 200 - heights[i]);
        if (i == 0)
            trend.moveTo(pt);
        else
            trend.lineTo(pt);
    }
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trend);

    QFont font("Serif", 28, QFont::Bold);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, 236, 420, 50), Qt::AlignCenter, "Ledra");
    return pixmap;
}

// Three bars on a page: the program.
void DrawApplication(QPainter& p, double s) {
    p.setPen(QPen(kInk, s / 16));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(s * 0.1, s * 0.08, s * 0.8, s * 0.84), s * 0.08, s * 0.08);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    const double h[] = {0.25, 0.42, 0.6};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(s * (0.22 + i * 0.2), s * (0.8 - h[i]), s * 0.14, s * h[i]));
}

// A page with text lines: a report.
void DrawDocument(QPainter& p, double s) {
    p.setPen(QPen(kInk, s / 16));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.18, s * 0.08, s * 0.64, s * 0.84));
    p.setPen(QPen(kGrey, s / 20));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(s * 0.28, s * (0.25 + i * 0.13)), QPointF(s * 0.72, s * (0.25 + i * 0.13)));
}

// A plug and a socket: apart and grey when the line is down, closing and
// amber while dialling, joined and green when connected.
void DrawLine(QPainter& p, double s, double gap, const QColor& colour) {
    p.setPen(QPen(kInk, s / 20));
    p.setBrush(colour);
    const double mid = s / 2;
    p.drawRoundedRect(QRectF(s * 0.06, mid - s * 0.18, s * 0.3, s * 0.36), s * 0.05, s * 0.05);
    p.drawRoundedRect(QRectF(s * 0.64, mid - s * 0.18, s * 0.3, s * 0.36), s * 0.05, s * 0.05);
    const double pin_end = s * 0.36 + s * 0.28 * (1 - gap);
    p.setPen(QPen(kInk, s / 14));
    p.drawLine(QPointF(s * 0.36, mid - s * 0.08), QPointF(pin_end, mid - s * 0.08));
    p.drawLine(QPointF(s * 0.36, mid + s * 0.08), QPointF(pin_end, mid + s * 0.08));
}

}  // namespace

QPixmap DrawPicture(Picture picture, int size) {
    if (picture == Picture::Background) return DrawBackground();
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    if (picture == Picture::None) return pixmap;
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    switch (picture) {
        case Picture::Application:
            DrawApplication(p, s);
            break;
        case Picture::Document:
            DrawDocument(p, s);
            break;
        case Picture::LineDown:
            DrawLine(p, s, 1.0, kGrey);
            break;
        case Picture::LineDialling:
            DrawLine(p, s, 0.5, kAmber);
            break;
        case Picture::LineUp:
            DrawLine(p, s, 0.0, kGreen);
            break;
        default:
            break;
    }
    return pixmap;
}

QIcon PictureIcon(Picture picture) {
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(DrawPicture(picture, size));
    return icon;
}

}  // namespace platform
