#pragma once
// The integer spin field on screen: a line edit with up and down arrows inside its right edge.
// It refuses keys that SpinField refuses (with a beep) and reports what the learner does; the
// field's logic (SpinField) is applied by the view that owns it.

#include <QLineEdit>

class QToolButton;

namespace quorvella {

class SpinFieldWidget : public QLineEdit {
    Q_OBJECT

public:
    explicit SpinFieldWidget(QWidget* parent = nullptr);

    // Shows text as the program's; the cursor stays where it is when the text is the same.
    void showText(const QString& text);
    // The accessible name of the field and of its arrows.
    void setCaption(const QString& caption);

signals:
    // An arrow button or arrow key: +1 up, -1 down. (Typing is QLineEdit::textEdited.)
    void stepped(int direction);
    // The focus moved to another control of the window.
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void stepUp() { emit stepped(1); }
    void stepDown() { emit stepped(-1); }

    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace quorvella
