#include "speech/spin_field_widget.h"

#include "speech/spin_field.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

namespace quorvella {

namespace {

constexpr int arrowWidth = 15;

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

} // namespace

SpinFieldWidget::SpinFieldWidget(QWidget* parent)
    : QLineEdit(parent), m_up(makeArrow(this, Qt::UpArrow, QStringLiteral("upArrow"))),
      m_down(makeArrow(this, Qt::DownArrow, QStringLiteral("downArrow"))) {
    setTextMargins(0, 0, arrowWidth, 0);
    connect(m_up, &QToolButton::clicked, this, &SpinFieldWidget::stepUp);
    connect(m_down, &QToolButton::clicked, this, &SpinFieldWidget::stepDown);
}

void SpinFieldWidget::showText(const QString& shown) {
    if (text() != shown) {
        setText(shown);
    }
}

void SpinFieldWidget::setCaption(const QString& caption) {
    setAccessibleName(caption);
    m_up->setAccessibleName(caption + QStringLiteral("增加"));
    m_down->setAccessibleName(caption + QStringLiteral("减少"));
}

void SpinFieldWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        emit stepped(1);
        return;
    case Qt::Key_Down:
        emit stepped(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QApplication::beep();
        return;
    default:
        break;
    }
    // A key held with Ctrl is a shortcut (copy, paste, select all), a control key of its own.
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const QString typed = event->text();
    if (!shortcut) {
        for (const QChar key : typed) {
            if (!SpinField::acceptsKey(key)) {
                QApplication::beep();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void SpinFieldWidget::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking the focus leaves the field where it was.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        emit focusLost();
    }
}

void SpinFieldWidget::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int upHeight = height() / 2;
    m_up->setGeometry(width() - arrowWidth, 0, arrowWidth, upHeight);
    m_down->setGeometry(width() - arrowWidth, upHeight, arrowWidth, height() - upHeight);
}

} // namespace quorvella
