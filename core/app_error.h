#pragma once
// The application's error type: the text of a failure that ends the current event handler.
// Showing it (the error box) is left to the application; this only carries the text.

#include <QString>
#include <stdexcept>

namespace quorvella {

class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& text);

    QString text() const;
};

// `Cannot open file "<path>". <reason>`, the reason being the operating system's text for
// errorNumber (an errno value).
QString cannotOpenFileText(const QString& path, int errorNumber);

[[noreturn]] void throwCannotOpenFile(const QString& path, int errorNumber);

} // namespace quorvella
