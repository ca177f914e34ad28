#include "app/program_picture.h"

#include <QLinearGradient>
#include <QPainter>

namespace vimbrel {

QPixmap programPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // The browser window behind.
    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(70, 130, 210));
    sky.setColorAt(1, QColor(30, 70, 150));
    painter.setPen(QPen(QColor(20, 40, 90), 2));
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawRect(QRectF(4, 12, 56, 2));
    painter.setBrush(QColor(250, 210, 60));
    for (int i = 0; i < 3; ++i) {
        painter.drawEllipse(QPointF(10 + i * 6, 8), 2, 2);
    }

    // The picture in front: a white frame with hills and a sun.
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(12, 20, 40, 34));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(175, 220, 255));
    painter.drawRect(QRectF(15, 23, 34, 28));
    painter.setBrush(QColor(60, 160, 70));
    const QPointF hills[] = {{15, 51}, {24, 36}, {31, 44}, {38, 33}, {49, 51}};
    painter.drawPolygon(hills, 5);
    painter.setBrush(QColor(255, 190, 40));
    painter.drawEllipse(QPointF(42, 29), 3.5, 3.5);
    painter.end();
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(programPicture(size));
    }
    return icon;
}

} // namespace vimbrel
