#include "app/enter_key.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace quorvella {

bool EnterPressesButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr || !button->hasFocus() || !button->isEnabled() ||
        qobject_cast<QDialog*>(button->window()) != nullptr) {
        return false;
    }
    // A held key clicks once, as a held Space does.
    if (!key->isAutoRepeat()) {
        button->click();
    }
    return true;
}

} // namespace quorvella
