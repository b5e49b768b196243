#include "core/qt_translations.h"

#include "app/message_box_port.h"
#include "tests/support/qt_printers.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(ChineseQtTexts, MessageBoxButtonsAndDialogTitlesAreChinese) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qtbase_zh_CN.qm"))) {
        GTEST_SKIP() << "Qt's Chinese translations are not installed (qt6-translations-l10n)";
    }
    EXPECT_TRUE(installChineseQtTexts().contains(QStringLiteral("qtbase_zh_CN.qm")));
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);
    EXPECT_EQ(QLocale().territory(), QLocale::China);

    // The program's own message box, answered by a timer set before it opens.
    MessageBoxPort boxes;
    QString okText;
    QTimer::singleShot(0, [&okText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        okText = box->button(QMessageBox::Ok)->text();
        box->button(QMessageBox::Ok)->click();
    });
    boxes.showMessage(QStringLiteral("Lesson 1"));
    EXPECT_EQ(okText, QStringLiteral("确定"));

    const QFontDialog fontDialog;
    EXPECT_EQ(fontDialog.windowTitle(), QStringLiteral("选择字体"));
    const QColorDialog colorDialog;
    EXPECT_EQ(colorDialog.windowTitle(), QStringLiteral("选择颜色"));
}

} // namespace
} // namespace quorvella
