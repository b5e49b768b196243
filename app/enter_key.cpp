#include "app/enter_key.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace quorvella {

namespace {

// A double-click on the list's current entry, as the mouse makes it: press, release, double
// click, release, so that the list opens the entry by its own double-click handling.
bool doubleClickCurrentEntry(QListWidget& list) {
    const QModelIndex current = list.currentIndex();
    if (!current.isValid()) {
        return false;
    }
    list.scrollTo(current);
    const QPointF at = list.visualRect(current).center();
    const QPointF global = list.viewport()->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent click(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &click);
    }
    return true;
}

} // namespace

bool EnterKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !widget->hasFocus() || !widget->isEnabled() ||
        qobject_cast<QDialog*>(widget->window()) != nullptr) {
        return false;
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        if (!key->isAutoRepeat()) { // a held key presses once, as a held Space does
            button->click();
        }
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        return key->isAutoRepeat() || doubleClickCurrentEntry(*list);
    }
    return false;
}

} // namespace quorvella
