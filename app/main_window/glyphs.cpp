#include "app/main_window/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vimbrel {
namespace {

constexpr int kSize = 16;

void drawShow(QPainter& painter)
{
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(QColor(170, 215, 255));
    painter.drawRect(1, 2, 13, 11);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 150, 60));
    const QPointF hills[] = {{2, 12}, {6, 6}, {9, 9}, {11, 7}, {14, 12}};
    painter.drawPolygon(hills, 5);
    painter.setBrush(QColor(250, 200, 40));
    painter.drawEllipse(QPointF(11, 5), 1.5, 1.5);
}

void drawCircledLetter(QPainter& painter, const QColor& colour, const QString& letter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(1, 1, 14, 14);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, letter);
}

void drawFolder(QPainter& painter)
{
    painter.setPen(QColor(140, 100, 20));
    painter.setBrush(QColor(245, 200, 80));
    painter.drawRect(1, 3, 5, 2);
    painter.drawRect(1, 5, 13, 9);
}

void drawExecute(QPainter& painter)
{
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 1, 9, 12);
    painter.drawLine(3, 4, 8, 4);
    painter.drawLine(3, 7, 8, 7);
    painter.setPen(QPen(QColor(200, 40, 40), 2));
    painter.drawLine(8, 11, 14, 11);
    painter.drawLine(12, 9, 14, 11);
    painter.drawLine(12, 13, 14, 11);
}

void drawUndo(QPainter& painter)
{
    painter.setPen(QPen(QColor(40, 90, 180), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(3, 3, 10, 9), 90 * 16, -200 * 16);
    painter.drawLine(3, 5, 7, 2);
    painter.drawLine(3, 5, 7, 8);
}

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::Show:
        drawShow(painter);
        break;
    case Glyph::Version:
        drawCircledLetter(painter, QColor(40, 110, 200), QStringLiteral("i"));
        break;
    case Glyph::Help:
        drawCircledLetter(painter, QColor(30, 150, 90), QStringLiteral("?"));
        break;
    case Glyph::Folder:
        drawFolder(painter);
        break;
    case Glyph::Execute:
        drawExecute(painter);
        break;
    case Glyph::Undo:
        drawUndo(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace vimbrel
