#pragma once
// The integer spin field: its text, value, range, step, arrows, focus-loss write-back, change
// handler and which typed keys it accepts. Showing it, beeping and reading keys are left to views.

#include <QLocale>
#include <QString>

#include <functional>
#include <utility>

namespace quorvella {

class SpinField final {
public:
    // Runs after every change of the field's text; it reads the field's value itself.
    using ChangeHandler = std::function<void()>;

    // The field as a window first shows it: text "0", minimum and maximum 0.
    explicit SpinField(int step = 1);

    const QString& text() const { return m_text; }
    // The integer the text holds; a text that is no integer (empty, a lone sign, "1.5") counts as
    // the minimum. A number beyond what an int holds gives the nearest int.
    int value() const;

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int step() const { return m_step; }
    // Assigning the bounds leaves the shown text as it is.
    void setMinimum(int minimum) { m_minimum = minimum; }
    void setMaximum(int maximum) { m_maximum = maximum; }

    // value limited to the range: below the minimum gives the minimum, above the maximum the
    // maximum. With minimum == maximum the value is returned unchanged.
    int limited(long long value) const;

    // Shows the limited value.
    void setValue(int value);
    // The text as the learner typed it, or as the program writes it.
    void setText(const QString& text);
    // The arrows: value plus or minus the step, limited.
    void stepUp();
    void stepDown();
    // Writes the limited value back when the typed value lies outside the range.
    void focusLost();

    // Every change of the text runs the handler; a write that leaves the text as it was does not.
    void setChangeHandler(ChangeHandler handler) { m_changeHandler = std::move(handler); }

    // A typed character the field takes: a digit, "+", "-", the locale's decimal separator or a
    // control character other than Enter ("\r"). A view refuses any other key with a beep.
    static bool acceptsKey(QChar key, const QLocale& locale = QLocale());

private:
    QString m_text = QStringLiteral("0");
    int m_minimum = 0;
    int m_maximum = 0;
    int m_step;
    ChangeHandler m_changeHandler;
};

} // namespace quorvella
