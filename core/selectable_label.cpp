#include "core/selectable_label.h"

namespace quorvella {

SelectableLabel::SelectableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

void SelectableLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

} // namespace quorvella
