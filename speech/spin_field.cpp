#include "speech/spin_field.h"

#include <limits>
#include <optional>

namespace quorvella {

namespace {

constexpr long long intMin = std::numeric_limits<int>::min();
constexpr long long intMax = std::numeric_limits<int>::max();

// An optional sign followed by one or more ASCII digits, and nothing else. Saturates at the
// limits of long long so that the caller can limit to int.
std::optional<long long> parseInteger(const QString& text) {
    qsizetype at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    if (at == text.size()) {
        return std::nullopt;
    }
    long long magnitude = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        if (magnitude <= intMax) { // beyond that the result saturates anyway
            magnitude = magnitude * 10 + (c - u'0');
        }
    }
    return negative ? -magnitude : magnitude;
}

int toInt(long long value) {
    if (value < intMin) {
        return static_cast<int>(intMin);
    }
    if (value > intMax) {
        return static_cast<int>(intMax);
    }
    return static_cast<int>(value);
}

} // namespace

SpinField::SpinField(int step) : m_step(step) {}

int SpinField::value() const {
    const std::optional<long long> number = parseInteger(m_text);
    return number ? toInt(*number) : m_minimum;
}

int SpinField::limited(long long value) const {
    if (m_minimum != m_maximum) {
        // Compared one bound after the other, so that a minimum above the maximum still gives
        // one answer.
        if (value < m_minimum) {
            return m_minimum;
        }
        if (value > m_maximum) {
            return m_maximum;
        }
    }
    return toInt(value);
}

void SpinField::setValue(int value) {
    setText(QString::number(limited(value)));
}

void SpinField::setText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    if (m_changeHandler) {
        m_changeHandler();
    }
}

void SpinField::stepUp() {
    setText(QString::number(limited(static_cast<long long>(value()) + m_step)));
}

void SpinField::stepDown() {
    setText(QString::number(limited(static_cast<long long>(value()) - m_step)));
}

void SpinField::focusLost() {
    const int typed = value();
    if (limited(typed) != typed) {
        setValue(typed);
    }
}

bool SpinField::acceptsKey(QChar key, const QLocale& locale) {
    if (key >= u'0' && key <= u'9') {
        return true;
    }
    if (key == u'+' || key == u'-' || QString(key) == locale.decimalPoint()) {
        return true;
    }
    return key.category() == QChar::Other_Control && key != u'\r';
}

} // namespace quorvella
