#include "lessons/lesson_icons.h"

#include <QPainter>
#include <QPixmap>

namespace quorvella {

QIcon readingIcon(ReadingIcon kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor green(0, 128, 64);
    switch (kind) {
    case ReadingIcon::ReadAll:
    case ReadingIcon::ReadSelection: {
        painter.setBrush(QColor(0, 96, 160));
        painter.drawPolygon(QPolygonF({{2, 6}, {5, 6}, {9, 2}, {9, 14}, {5, 10}, {2, 10}}));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 96, 160), 1.4));
        painter.drawArc(QRectF(7, 4, 5, 8), -60 * 16, 120 * 16);
        if (kind == ReadingIcon::ReadAll) {
            painter.drawArc(QRectF(7, 1, 8, 14), -60 * 16, 120 * 16);
        } else {
            painter.setPen(QPen(QColor(200, 120, 0), 1.4));
            painter.drawLine(QPointF(13, 3), QPointF(13, 13));
        }
        break;
    }
    case ReadingIcon::Pause:
        painter.setBrush(QColor(200, 120, 0));
        painter.drawRect(QRectF(3, 2, 3.5, 12));
        painter.drawRect(QRectF(9.5, 2, 3.5, 12));
        break;
    case ReadingIcon::Resume:
        painter.setBrush(green);
        painter.drawPolygon(QPolygonF({{4, 2}, {14, 8}, {4, 14}}));
        break;
    case ReadingIcon::Stop:
        painter.setBrush(QColor(190, 30, 30));
        painter.drawRect(QRectF(3, 3, 10, 10));
        break;
    }
    return QIcon(pixmap);
}

} // namespace quorvella
