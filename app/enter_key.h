#pragma once
// Enter presses the focused push button: in every window Return and the keypad's Enter act on a
// button with the keyboard focus as Space does. Dialogs keep Qt's own rule (their default button),
// and a field that has a meaning of its own for Enter (the dictation field) never sees the change:
// only a focused push button does.

#include <QObject>

namespace quorvella {

class EnterPressesButtons final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Installed on the application, so that it sees every key press before the focused widget.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quorvella
