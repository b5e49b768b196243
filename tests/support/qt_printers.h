#pragma once
// Lets GoogleTest print Qt strings (and lists of them) as text in its failure messages.
// Header only; include it in a test that compares QString or QStringList values.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
