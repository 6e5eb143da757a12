// The main frame's tool bar: the system-date edit first, then the buttons
// of the commands that have no menu item of their own, each with an icon
// the program paints for itself.

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "platform/constants.h"
#include "shell/command_ids.h"
#include "shell/key_filters.h"
#include "shell/main_frame.h"
#include "shell/report_dialog_parts.h"

namespace shell {
namespace {

enum class Glyph {
    Pencil,
    Person,
    Building,
    Certificate,
    Tag,
    TagAuto,
    Ledger,
    UpDown,
    CrossReference,
    Clipboard,
    Pie,
    Table,
    LineChart,
    BarChart,
    Palette,
    Question,
};

const QColor kInk(0x1f, 0x3a, 0x5f);
const QColor kPaper(0xf4, 0xf1, 0xe8);
const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kRed(0xb0, 0x3a, 0x2e);
const QColor kAmber(0xe0, 0x9a, 0x1b);

// Paints a glyph on a 24-unit grid scaled to the pixmap's size.
void PaintGlyph(QPainter& p, Glyph glyph) {
    const QPen ink(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    auto page = [&](QRectF r) {
        p.setBrush(kPaper);
        p.drawRect(r);
        p.setBrush(Qt::NoBrush);
    };
    switch (glyph) {
        case Glyph::Pencil:
            page(QRectF(4, 3, 13, 18));
            for (int y = 8; y <= 16; y += 4) p.drawLine(QPointF(7, y), QPointF(12, y));
            p.setPen(QPen(kAmber, 3.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(20, 6), QPointF(12, 17));
            p.setPen(ink);
            p.drawLine(QPointF(12, 17), QPointF(11, 20));
            break;
        case Glyph::Person:
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(12, 8), 4, 4);
            p.drawChord(QRectF(4, 13, 16, 14), 0, 180 * 16);
            break;
        case Glyph::Building:
            page(QRectF(5, 6, 14, 15));
            p.drawLine(QPointF(3, 6), QPointF(21, 6));
            p.drawLine(QPointF(3, 6), QPointF(12, 2));
            p.drawLine(QPointF(21, 6), QPointF(12, 2));
            for (int x = 8; x <= 16; x += 4) p.drawLine(QPointF(x, 9), QPointF(x, 18));
            break;
        case Glyph::Certificate:
            page(QRectF(3, 4, 18, 13));
            p.drawLine(QPointF(6, 8), QPointF(14, 8));
            p.drawLine(QPointF(6, 11), QPointF(12, 11));
            p.setBrush(kAmber);
            p.drawEllipse(QPointF(16, 16), 3, 3);
            p.drawLine(QPointF(15, 19), QPointF(14, 22));
            p.drawLine(QPointF(17, 19), QPointF(18, 22));
            break;
        case Glyph::Tag:
        case Glyph::TagAuto: {
            QPainterPath tag;
            tag.moveTo(3, 12);
            tag.lineTo(9, 5);
            tag.lineTo(20, 5);
            tag.lineTo(20, 19);
            tag.lineTo(9, 19);
            tag.closeSubpath();
            p.setBrush(glyph == Glyph::Tag ? kPaper : QColor(0xdc, 0xee, 0xe2));
            p.drawPath(tag);
            p.drawEllipse(QPointF(8.5, 12), 1.5, 1.5);
            p.setFont(QFont("Sans", 8, QFont::Bold));
            p.drawText(QRectF(10, 5, 10, 14), Qt::AlignCenter, "$");
            if (glyph == Glyph::TagAuto) {
                p.setPen(QPen(kGreen, 2));
                p.drawLine(QPointF(19, 1), QPointF(19, 8));
                p.drawLine(QPointF(16, 5), QPointF(19, 8));
                p.drawLine(QPointF(22, 5), QPointF(19, 8));
            }
            break;
        }
        case Glyph::Ledger:
            p.setBrush(kPaper);
            p.drawRect(QRectF(3, 4, 9, 16));
            p.drawRect(QRectF(12, 4, 9, 16));
            p.setPen(QPen(kInk, 1));
            for (int y = 8; y <= 16; y += 3) {
                p.drawLine(QPointF(5, y), QPointF(10, y));
                p.drawLine(QPointF(14, y), QPointF(19, y));
            }
            break;
        case Glyph::UpDown:
            p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(8, 20), QPointF(8, 4));
            p.drawLine(QPointF(4, 8), QPointF(8, 4));
            p.drawLine(QPointF(12, 8), QPointF(8, 4));
            p.setPen(QPen(kRed, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(16, 4), QPointF(16, 20));
            p.drawLine(QPointF(12, 16), QPointF(16, 20));
            p.drawLine(QPointF(20, 16), QPointF(16, 20));
            break;
        case Glyph::CrossReference:
            page(QRectF(2, 3, 10, 12));
            page(QRectF(12, 9, 10, 12));
            p.setPen(QPen(kGreen, 2));
            p.drawLine(QPointF(8, 12), QPointF(16, 12));
            p.drawLine(QPointF(13, 9), QPointF(16, 12));
            p.drawLine(QPointF(13, 15), QPointF(16, 12));
            break;
        case Glyph::Clipboard:
            p.setBrush(QColor(0xc8, 0xa2, 0x6e));
            p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
            page(QRectF(6, 6, 12, 14));
            p.setBrush(kInk);
            p.drawRect(QRectF(9, 2, 6, 4));
            for (int y = 10; y <= 16; y += 3) p.drawLine(QPointF(8, y), QPointF(16, y));
            break;
        case Glyph::Pie:
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(12, 12), 9, 9);
            p.setBrush(kGreen);
            p.drawPie(QRectF(3, 3, 18, 18), 90 * 16, -130 * 16);
            p.setBrush(kAmber);
            p.drawPie(QRectF(3, 3, 18, 18), -40 * 16, -70 * 16);
            break;
        case Glyph::Table:
            page(QRectF(3, 4, 18, 16));
            p.setPen(QPen(kInk, 1));
            for (int y = 8; y < 20; y += 4) p.drawLine(QPointF(3, y), QPointF(21, y));
            p.drawLine(QPointF(10, 4), QPointF(10, 20));
            break;
        case Glyph::LineChart: {
            p.drawLine(QPointF(3, 3), QPointF(3, 21));
            p.drawLine(QPointF(3, 21), QPointF(21, 21));
            p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath line;
            line.moveTo(5, 17);
            line.lineTo(10, 12);
            line.lineTo(14, 14);
            line.lineTo(20, 6);
            p.drawPath(line);
            break;
        }
        case Glyph::BarChart:
            p.drawLine(QPointF(3, 21), QPointF(21, 21));
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawRect(QRectF(5, 13, 4, 8));
            p.setBrush(kAmber);
            p.drawRect(QRectF(10, 8, 4, 13));
            p.setBrush(kInk);
            p.drawRect(QRectF(15, 4, 4, 17));
            break;
        case Glyph::Palette:
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(12, 12), 9, 8);
            p.setPen(Qt::NoPen);
            p.setBrush(kRed);
            p.drawEllipse(QPointF(8, 9), 2, 2);
            p.setBrush(kAmber);
            p.drawEllipse(QPointF(13, 7), 2, 2);
            p.setBrush(kGreen);
            p.drawEllipse(QPointF(17, 11), 2, 2);
            p.setBrush(kInk);
            p.drawEllipse(QPointF(9, 15), 2, 2);
            break;
        case Glyph::Question:
            p.setBrush(QColor(0xdc, 0xe6, 0xf2));
            p.drawEllipse(QPointF(12, 12), 9, 9);
            p.setFont(QFont("Sans", 12, QFont::Bold));
            p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "?");
            break;
    }
}

QIcon GlyphIcon(Glyph glyph) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        PaintGlyph(p, glyph);
        icon.addPixmap(pixmap);
    }
    return icon;
}

struct ToolButton {
    int command;  // 0: a separator
    const char* tip;
    Glyph glyph;
};

const ToolButton kToolButtons[] = {
    {kCmdToolTransactionEditor, "Transaction Editor", Glyph::Pencil},
    {0, nullptr, Glyph::Pencil},
    {kCmdToolAccount, "Account", Glyph::Person},
    {kCmdToolBroker, "Broker", Glyph::Building},
    {kCmdToolSecurity, "Security", Glyph::Certificate},
    {0, nullptr, Glyph::Pencil},
    {kCmdToolManualPricing2, "Manual Pricing", Glyph::Tag},
    {kCmdToolAutoPricing, "Auto Pricing", Glyph::TagAuto},
    {0, nullptr, Glyph::Pencil},
    {kCmdToolTransactionLedger, "Transaction Ledger", Glyph::Ledger},
    {kCmdToolGainsLosses, "Gains (Losses)", Glyph::UpDown},
    {kCmdToolCrossReference, "Security Cross Reference", Glyph::CrossReference},
    {0, nullptr, Glyph::Pencil},
    {kCmdToolWorkingAppraisal, "Working Appraisal", Glyph::Clipboard},
    {kCmdToolAccountAppraisal, "Account Appraisal", Glyph::Pie},
    {kCmdToolPositionSummary, "Position Summary", Glyph::Table},
    {0, nullptr, Glyph::Pencil},
    {kCmdToolPerformance, "Performance Module", Glyph::LineChart},
    {kCmdToolCharts, "Charts", Glyph::BarChart},
    {0, nullptr, Glyph::Pencil},
    // The program colours have no menu item: this button is their way in.
    {kCmdColors, "Colors", Glyph::Palette},
    {0, nullptr, Glyph::Pencil},
    {platform::ID_APP_ABOUT, "About", Glyph::Question},
};

}  // namespace

bool CMainFrame::CreateToolBar() {
    // The system-date edit takes the first place of the bar.
    // It takes a date as typed, MM/DD/YYYY at most; the commit keeps MM/DD/YY.
    platform::Control edit = AddToolBarEdit(kSystemDateEdit, kDateLimit);
    if (!edit) return false;
    edit.LimitText(kDateLimit);
    Bind(kSystemDateEdit, platform::Notify::Changed, [this] { FilterDateKey(GetDlgItem(kSystemDateEdit)); });
    Bind(kSystemDateEdit, platform::Notify::FocusLost, [this] { OnSystemDateKillFocus(); });
    AddToolBarSeparator();
    for (const ToolButton& button : kToolButtons) {
        if (button.command == 0)
            AddToolBarSeparator();
        else
            AddToolBarButton(button.command, button.tip, GlyphIcon(button.glyph));
    }
    return true;
}

}  // namespace shell
