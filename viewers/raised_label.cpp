#include "viewers/raised_label.h"

#include <QPainter>

namespace quorvella {

RaisedLabel::RaisedLabel(const QString& text, const QColor& colour, int pixelSize, QWidget* parent)
    : QWidget(parent), m_text(text), m_colour(colour) {
    QFont heading = font();
    heading.setPixelSize(pixelSize);
    heading.setBold(true);
    setFont(heading);
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize RaisedLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text) + 6, metrics.height() + 6};
}

void RaisedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect area = rect().adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    painter.setPen(m_colour.lighter(170));
    painter.drawText(area.translated(-1, -1), flags, m_text);
    painter.setPen(m_colour.darker(250));
    painter.drawText(area.translated(2, 2), flags, m_text);
    painter.setPen(m_colour);
    painter.drawText(area, flags, m_text);
}

} // namespace quorvella
