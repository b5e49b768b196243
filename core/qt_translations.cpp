#include "core/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quorvella {

namespace {

// qtbase holds the dialogs, message boxes and context menus; qtmultimedia Qt Multimedia's own.
// qt_zh_CN.qm is left out: it only points to these and to modules the program does not use.
constexpr const char* kCatalogues[] = {"qtbase_zh_CN.qm", "qtmultimedia_zh_CN.qm"};

const QString kTranslatorName = QStringLiteral("quorvella-qt-zh_CN");

} // namespace

QStringList installChineseQtTexts() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    QCoreApplication* application = QCoreApplication::instance();
    QStringList installed;
    const auto already =
        application->findChildren<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly);
    for (const QTranslator* translator : already) {
        installed << translator->filePath().section(QLatin1Char('/'), -1);
    }
    if (!already.isEmpty()) {
        return installed;
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : kCatalogues) {
        auto* translator = new QTranslator(application);
        if (translator->load(QString::fromLatin1(catalogue), folder) &&
            QCoreApplication::installTranslator(translator)) {
            translator->setObjectName(kTranslatorName);
            installed << translator->filePath().section(QLatin1Char('/'), -1);
        } else {
            delete translator;
        }
    }
    return installed;
}

} // namespace quorvella
