// quorvella_walkthrough: the program itself (the same start-up, windows and handlers, over the
// data beside the executable) walked through by a script once it has started: a lesson loaded, a
// word group opened, a bank listed and read automatically, a test drawn, then the launcher's exit
// button. For tests that watch what the program does to the file system. Exit status 0 when every
// step did what it should and no message box opened, else 3.

#include "app/start_up.h"
#include "core/message_port.h"
#include "vocabulary/word_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace quorvella {
namespace {

int g_faults = 0;

void fault(const QString& what) {
    std::fprintf(stderr, "walkthrough: %s\n", qPrintable(what));
    ++g_faults;
}

void runFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

template <typename Widget = QWidget>
Widget* child(StartUp& startUp, const char* window, const char* name) {
    auto* widget =
        startUp.window(QString::fromLatin1(window))->findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        fault(QStringLiteral("no %1 in %2").arg(QLatin1String(name), QLatin1String(window)));
    }
    return widget;
}

void press(QAbstractButton* button) {
    if (button != nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    runFor(50);
}

void open(StartUp& startUp, const QString& caption) {
    for (auto* button :
         startUp.window(QStringLiteral("TForm1"))->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            press(button);
            return;
        }
    }
    fault(QStringLiteral("no launcher button ") + caption);
}

void expect(bool good, const char* step) {
    std::printf("walkthrough: %s%s\n", step, good ? "" : " FAILED");
    if (!good) {
        fault(QString::fromLatin1(step));
    }
}

int count(StartUp& startUp, const char* window, const char* field) {
    auto* edit = child<QLineEdit>(startUp, window, field);
    return edit != nullptr ? edit->text().toInt() : -1;
}

void walk(StartUp& startUp) {
    // Any message box is a fault: it is reported and answered.
    auto* boxes = new QTimer(qApp);
    boxes->callOnTimeout([] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            fault(QStringLiteral("a box said: ") + box->text());
            box->button(QMessageBox::Ok)->click();
        }
    });
    boxes->start(10);
    expect(startUp.window(QStringLiteral("TForm1"))->isVisible(), "start-up");

    open(startUp, QStringLiteral("课文学习"));
    auto* lessons = child<QListWidget>(startUp, "TForm2", "ListBox1");
    lessons->setCurrentRow(0);
    emit lessons->itemDoubleClicked(lessons->item(0));
    runFor(50);
    expect(count(startUp, "TForm2", "Edit3") > 0, "a lesson loaded");

    open(startUp, QStringLiteral("生词学习"));
    child<QListWidget>(startUp, "TForm3", "ListBox2")->setCurrentRow(0);
    emit child<GroupChooser>(startUp, "TForm3", "GroupBox1")->groupDoubleClicked();
    press(child<QAbstractButton>(startUp, "TForm3", "Button1")); // the first word, spoken
    expect(count(startUp, "TForm3", "Edit2") > 0, "a word group opened");

    open(startUp, QStringLiteral("英语词库"));
    press(child<QAbstractButton>(startUp, "TForm8", "Button2"));
    expect(count(startUp, "TForm8", "Edit2") > 0, "a bank listed");
    auto* words = child<QTableView>(startUp, "TForm8", "ListView1");
    press(child<QAbstractButton>(startUp, "TForm8", "Button8")); // two seconds a word
    runFor(4500);
    press(child<QAbstractButton>(startUp, "TForm8", "Button9"));
    expect(words->selectionModel()->currentIndex().row() >= 2, "automatic reading");

    open(startUp, QStringLiteral("模拟测试"));
    press(child<QAbstractButton>(startUp, "TForm7", "Button1"));
    expect(child<QTableView>(startUp, "TForm7", "ListView1")->model()->rowCount() == 10,
           "a test drawn");

    runFor(300);                                                 // the last word's speech ends
    press(child<QAbstractButton>(startUp, "TForm1", "Button9")); // "退出程序"
}

} // namespace
} // namespace quorvella

int main(int argc, char** argv) {
    const int code = quorvella::runQuorvella(argc, argv, quorvella::walk);
    return code == 0 && quorvella::g_faults == 0 ? 0 : 3;
}
