#include "core/data_folder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quorvella {

QString applicationFolder() {
    QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (executable.isEmpty() && QCoreApplication::instance() != nullptr) {
        executable = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    }
    return executable.left(executable.lastIndexOf(QLatin1Char('/')) + 1);
}

DataFolder::DataFolder(QString root) : m_root(std::move(root)) {
    if (!m_root.endsWith(QLatin1Char('/'))) {
        m_root += QLatin1Char('/');
    }
}

QString DataFolder::path(QStringView relative) const {
    QString tail = relative.toString();
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return m_root + tail;
}

} // namespace quorvella
