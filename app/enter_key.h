#pragma once
// The Enter key in the windows: Return and the keypad's Enter press a push button that has the
// keyboard focus, as Space does, and open the current entry of a list that has it (the lesson
// list, the answers list, a word window's group list) as a double-click on that entry does.
// Dialogs keep Qt's own rule (their default button); a field with a meaning of its own for Enter
// (the dictation field, the search fields, the spin fields) is left alone.

#include <QObject>

namespace quorvella {

class EnterKey final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Installed on the application, so that it sees each key press before the focused widget.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quorvella
