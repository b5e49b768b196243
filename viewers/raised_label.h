#pragma once
// A heading drawn as raised text: a light edge above and left, a shadow below and right.

#include <QColor>
#include <QWidget>

namespace quorvella {

class RaisedLabel final : public QWidget {
    Q_OBJECT

public:
    RaisedLabel(const QString& text, const QColor& colour, int pixelSize,
                QWidget* parent = nullptr);

    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_colour;
};

} // namespace quorvella
