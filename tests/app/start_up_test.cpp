#include "app/start_up.h"

#include "app/launcher_window.h"
#include "app/quorvella_application.h"
#include "core/app_error.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

const QStringList kOrder = {"TForm1", "TForm2", "TForm3", "TForm4", "TForm5",
                            "TForm6", "TForm7", "TForm8", "TForm10"};

StartUpOptions fakeOptions(const QString& folder) {
    return {DataFolder(folder), [] { return std::make_unique<FakeSpeechEngine>(); }};
}

QPushButton* launcherButton(StartUp& startUp, const QString& caption) {
    for (auto* button : startUp.window("TForm1")->findChildren<QPushButton*>()) {
        if (button->text() == caption) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

int instancesOf(const QString& name) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += widget->objectName() == name ? 1 : 0;
    }
    return count;
}

class StartUpTest : public testing::Test {
protected:
    void SetUp() override {
        QFile catalogue(folder.filePath("textindex.txt"));
        ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
        catalogue.write("Lesson 1  The Library\r\n");
        QFile groups(folder.filePath("ti.txt"));
        ASSERT_TRUE(groups.open(QIODevice::WriteOnly));
        groups.write("Lesson 1\r\n");
    }

    QTemporaryDir folder; // the catalogue and the lesson groups, nothing else
    RecordingMessagePort port;
};

TEST(StartUpWithoutData, ShowsOneErrorBoxPerWindowThatReadsAFileAtCreation) {
    QTemporaryDir empty;
    RecordingMessagePort port;
    StartUp startUp(fakeOptions(empty.path()));
    ASSERT_TRUE(startUp.createWindows());
    EXPECT_EQ(startUp.creationOrder(), kOrder);
    // The lesson window reads its catalogue, the new-word and review windows their group lists.
    QStringList expected;
    for (const char* file : {"textindex.txt", "ti.txt", "ti.txt"}) {
        expected << QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                        .arg(empty.filePath(QString::fromLatin1(file)));
    }
    EXPECT_EQ(port.errors, expected);
}

TEST_F(StartUpTest, CreatesTheNineWindowsOnceInTheFixedOrder) {
    StartUp startUp(fakeOptions(folder.path()));
    ASSERT_TRUE(startUp.createWindows());
    EXPECT_EQ(startUp.creationOrder(), kOrder);
    for (const QString& name : kOrder) {
        EXPECT_EQ(instancesOf(name), 1) << name.toStdString();
        EXPECT_FALSE(startUp.window(name)->isVisible()) << name.toStdString();
    }
    EXPECT_EQ(startUp.window("TForm1")->windowTitle(), "Tamsora");
    EXPECT_EQ(startUp.window("TForm2")->windowTitle(), "Tamsora课文学习");
    EXPECT_EQ(startUp.window("TForm7")->windowTitle(), "Tamsora（模拟练习）");
}

TEST_F(StartUpTest, EveryActivityButtonShowsItsWindowMaximisedAndOnlyOnce) {
    StartUp startUp(fakeOptions(folder.path()));
    ASSERT_TRUE(startUp.createWindows());
    const QList<std::pair<QString, QString>> buttons = {
        {"课文学习", "TForm2"}, {"生词学习", "TForm3"}, {"单词复习", "TForm4"},
        {"英语语法", "TForm5"}, {"课后答案", "TForm6"}, {"模拟测试", "TForm7"},
        {"英语词库", "TForm8"}, {"软件帮助", "TForm10"}};
    for (const auto& [caption, name] : buttons) {
        QWidget* window = startUp.window(name);
        QTest::mouseClick(launcherButton(startUp, caption), Qt::LeftButton);
        EXPECT_TRUE(window->isVisible()) << name.toStdString();
        EXPECT_TRUE(window->isMaximized()) << name.toStdString();
        window->showMinimized();
        QTest::mouseClick(launcherButton(startUp, caption), Qt::LeftButton);
        EXPECT_TRUE(window->isMaximized() && !window->isMinimized()) << name.toStdString();
        EXPECT_EQ(instancesOf(name), 1) << name.toStdString();
        window->close(); // only hides it
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(startUp.window(name), window);
    }
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();
}

// With a learner's window still open, as in the program: the loop ends because the launcher
// closed, not because the last window did.
TEST_F(StartUpTest, TheExitButtonEndsTheEventLoop) {
    StartUp startUp(fakeOptions(folder.path())); // runStartUp creates the windows
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(startUp.window("TForm1")->isMaximized());
        QTest::mouseClick(launcherButton(startUp, "课文学习"), Qt::LeftButton);
        ASSERT_TRUE(startUp.window("TForm2")->isVisible());
        auto* exitButton = startUp.window("TForm1")->findChild<QPushButton*>("Button9");
        ASSERT_NE(exitButton, nullptr);
        EXPECT_EQ(exitButton->text(), "退出程序");
        QTest::mouseClick(exitButton, Qt::LeftButton);
    });
    QTimer failsafe;
    failsafe.callOnTimeout([] { QCoreApplication::exit(99); });
    failsafe.start(5000);
    EXPECT_EQ(runStartUp(startUp), 0);
}

TEST_F(StartUpTest, AFailingCreationHandlerGivesOneErrorBoxAndStartUpGoesOn) {
    StartUp startUp(fakeOptions(folder.path()));
    startUp.replaceCreationHandler("TForm3", [] {
        throw AppError(QStringLiteral("Cannot open file \"/x/ti.txt\". No such file or directory"));
    });
    ASSERT_TRUE(startUp.createWindows());
    EXPECT_EQ(port.errors,
              QStringList{"Cannot open file \"/x/ti.txt\". No such file or directory."});
    EXPECT_EQ(startUp.creationOrder(), kOrder);
    EXPECT_NE(startUp.window("TForm10"), nullptr);
}

TEST_F(StartUpTest, AnEngineThatCannotBeMadeStopsStartUpWithApplicationError) {
    StartUp startUp({DataFolder(folder.path()), []() -> std::unique_ptr<SpeechEngine> {
                         throw AppError(QStringLiteral("No speech synthesiser could be loaded"));
                     }});
    EXPECT_EQ(runStartUp(startUp), 1);
    ASSERT_EQ(port.applicationErrors.size(), 1);
    const QString& text = port.applicationErrors.front();
    EXPECT_TRUE(text.startsWith("Exception AppError in module quorvella at "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(".\nNo speech synthesiser could be loaded.")) << text.toStdString();
    EXPECT_EQ(startUp.creationOrder(), QStringList{"TForm1"}); // the lesson window was not built
    EXPECT_EQ(startUp.window("TForm1")->isVisible(), false);
    EXPECT_TRUE(port.errors.isEmpty());
}

TEST(NoFilesWritten, SettingsOfQtsDialogsGoNowhere) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    writeNoSettingsFiles();
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.setValue(QStringLiteral("FileDialog/lastVisited"), QStringLiteral("/tmp"));
    settings.sync();
    EXPECT_NE(settings.status(), QSettings::NoError);
    EXPECT_TRUE(QDir(home.path()).isEmpty());
    EXPECT_FALSE(QFile::exists(settings.fileName()));
}

} // namespace
} // namespace quorvella
