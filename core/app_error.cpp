#include "core/app_error.h"

#include <cstring>

namespace quorvella {

AppError::AppError(const QString& text) : std::runtime_error(text.toStdString()) {}

QString AppError::text() const {
    return QString::fromUtf8(what());
}

QString cannotOpenFileText(const QString& path, int errorNumber) {
    return QStringLiteral("Cannot open file \"%1\". %2")
        .arg(path, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

void throwCannotOpenFile(const QString& path, int errorNumber) {
    throw AppError(cannotOpenFileText(path, errorNumber));
}

} // namespace quorvella
