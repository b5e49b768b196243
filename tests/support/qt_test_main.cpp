// The main of test programs that need Qt's event loop and widgets (offscreen), with Qt's own texts
// in Chinese as the program has them.

#include "core/qt_translations.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quorvella::installChineseQtTexts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
