// The main of the logic tests: Qt's event loop without widgets, so that a test of a library that
// needs no window cannot reach one.

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
