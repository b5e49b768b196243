// The keyboard, through the windows as the program builds them on the sample course: Tab reaches
// every control of every window in its order, Enter presses the focused button and opens a list's
// entry, and the fields that give Enter a meaning of their own keep it.

#include "app/enter_key.h"
#include "app/launcher_window.h"
#include "app/start_up.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

class Keyboard : public testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(DataFolder::application().path(u"textindex.txt"))) {
            GTEST_SKIP() << "the sample course is not beside the tests";
        }
        qApp->installEventFilter(&enterKey);
        startUp = std::make_unique<StartUp>(StartUpOptions{
            DataFolder::application(), [] { return std::make_unique<FakeSpeechEngine>(); }});
        ASSERT_TRUE(startUp->createWindows());
    }

    void TearDown() override { qApp->removeEventFilter(&enterKey); }

    // Shows the window as the launcher does and makes it the active one.
    QWidget* open(const QString& name) {
        QWidget* window = startUp->window(name);
        if (name == QStringLiteral("TForm1")) {
            window->show();
        } else {
            showActivityWindow(*window);
        }
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << name.toStdString();
        return window;
    }

    // A key as the learner presses it: through the window system, to the focused control.
    static void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }

    static QString focusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName() : QStringLiteral("(none)");
    }

    // The controls that Tab visits from the first one, once round; a page's links, which Tab
    // visits inside the page, count once.
    static QStringList tabRound(QWidget* window, QWidget* first) {
        first->setFocus(Qt::TabFocusReason);
        QStringList names{focusName()};
        for (int presses = 0; presses < 200; ++presses) {
            press(window, Qt::Key_Tab);
            if (QApplication::focusWidget() == first) {
                break;
            }
            if (focusName() != names.back()) {
                names << focusName();
            }
        }
        return names;
    }

    EnterKey enterKey;
    RecordingMessagePort port;
    std::unique_ptr<StartUp> startUp;
};

const QStringList kReadingSettings = {"ComboBox1",  "restoreVoice", "speedField",  "restoreSpeed",
                                      "pitchField", "restorePitch", "volumeField", "restoreVolume"};

TEST_F(Keyboard, TabReachesEveryControlOfEveryWindowInItsOrder) {
    const struct {
        QString window;
        QStringList order; // from its first control; buttons of a state not reached are disabled
    } cases[] = {
        {"TForm1",
         {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7", "Button8",
          "Button9"}},
        {"TForm2", QStringList{"Edit1", "BitBtn1", "BitBtn2", "RichEdit2", "Button1", "Button8",
                               "Button10", "Button11", "Button9", "ListBox1", "Edit3", "Edit4",
                               "Edit5", "Button3", "edit2", "Button2"} +
                       kReadingSettings},
        {"TForm3", QStringList{"ComboBox2", "ListBox2", "ListView1", "Button1", "Button7",
                               "Button8", "Button9", "Image1", "Edit2", "Edit1", "Button2",
                               "SpinEdit1", "CheckBox1", "Button10", "Button11", "Button12"} +
                       kReadingSettings},
        {"TForm4", QStringList{"ComboBox2", "ListBox2", "ListView1", "Button1", "Button7",
                               "Button8", "Button9", "Edit2", "Edit1", "Button2", "Image1",
                               "Button10", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"} +
                       kReadingSettings},
        {"TForm5", {"Button1", "WebBrowser1"}},
        {"TForm6", {"ListBox1", "Button1", "RichEdit1"}},
        {"TForm7",
         {"ComboBox2", "ComboBox3", "Button1", "Button2", "ListView1", "RadioButton1", "Button3",
          "Button4", "Button5", "Button6", "CheckBox1", "Button7", "Button8", "Button9"}},
        {"TForm8",
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "CheckBox1", "Button2", "ComboBox4",
          "Edit1", "Button3", "Edit2", "SpinEdit1", "Button8", "Button9", "Button10", "ListView1",
          "Button4", "Button5", "Button6", "Button7"}},
        {"TForm10", {"Button1", "WebBrowser1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window.toStdString());
        QWidget* window = open(c.window);
        auto* first = window->findChild<QWidget*>(c.order.front());
        ASSERT_NE(first, nullptr);
        const QStringList round = tabRound(window, first);
        EXPECT_EQ(round, c.order);

        // Nothing that takes the focus is left out of the round.
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if ((control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                control->focusProxy() == nullptr && control->isVisibleTo(window) &&
                control->isEnabled() && !control->objectName().isEmpty()) {
                EXPECT_TRUE(round.contains(control->objectName()))
                    << control->objectName().toStdString() << " is not reached by Tab";
            }
        }
        window->hide();
    }
}

TEST_F(Keyboard, EnterPressesTheFocusedButton) {
    // On the launcher, Return and the keypad's Enter show the window of the focused button.
    QWidget* launcher = open(QStringLiteral("TForm1"));
    const struct {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* shown;
    } cases[] = {
        {"Button8", Qt::Key_Return, Qt::NoModifier, "TForm10"},
        {"Button4", Qt::Key_Enter, Qt::KeypadModifier, "TForm5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        launcher->findChild<QPushButton*>(QString::fromLatin1(c.button))
            ->setFocus(Qt::TabFocusReason);
        launcher->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(launcher));
        press(launcher, c.key, c.modifiers);
        EXPECT_TRUE(startUp->window(QString::fromLatin1(c.shown))->isVisible());
    }

    // The word bank's unseen "Button1", first in its Tab order, closes the window from the
    // keyboard.
    QWidget* bank = open(QStringLiteral("TForm8"));
    ASSERT_EQ(focusName(), QStringLiteral("Button1"));
    press(bank, Qt::Key_Return);
    EXPECT_FALSE(bank->isVisible());
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join(u'\n').toStdString();
}

TEST_F(Keyboard, EnterOpensTheCurrentEntryOfAList) {
    // The lesson list: the arrow keys choose a lesson, Enter opens it.
    QWidget* lessons = open(QStringLiteral("TForm2"));
    auto* list = lessons->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    auto* pane = lessons->findChild<QTextEdit*>(QStringLiteral("RichEdit2"));
    list->setFocus(Qt::TabFocusReason);
    press(lessons, Qt::Key_Down);
    press(lessons, Qt::Key_Down);
    press(lessons, Qt::Key_Return);
    const int row = list->currentRow();
    ASSERT_GT(row, 0);
    const QString title = list->item(row)->text().section(QStringLiteral("  "), 1).trimmed();
    ASSERT_FALSE(title.isEmpty());
    EXPECT_TRUE(pane->toPlainText().contains(title)) << "the lesson chosen is not shown";

    // A word window's group list: Enter opens the group; its words fill the word list.
    QWidget* review = open(QStringLiteral("TForm4"));
    auto* groups = review->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    auto* words = review->findChild<QAbstractItemView*>(QStringLiteral("ListView1"));
    groups->setFocus(Qt::TabFocusReason);
    press(review, Qt::Key_Down);
    press(review, Qt::Key_Return);
    EXPECT_GT(words->model()->rowCount(), 0) << "the group is not opened";
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join(u'\n').toStdString();
}

TEST_F(Keyboard, EnterInTheDictationFieldChecksTheAnswer) {
    QWidget* review = open(QStringLiteral("TForm4"));
    auto* groups = review->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    groups->setFocus(Qt::TabFocusReason);
    press(review, Qt::Key_Down);
    press(review, Qt::Key_Return);
    // The word list: the arrow keys choose the word to write.
    review->findChild<QWidget*>(QStringLiteral("ListView1"))->setFocus(Qt::TabFocusReason);
    press(review, Qt::Key_Down);

    auto* answer = review->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* word = review->findChild<QLineEdit*>(QStringLiteral("Edit3")); // the word asked
    ASSERT_FALSE(word->text().isEmpty());
    const QString asked = word->text();
    answer->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(answer, asked);
    press(review, Qt::Key_Return);
    // Right: the field is emptied for the next word, which is asked instead.
    EXPECT_TRUE(answer->text().isEmpty());
    EXPECT_NE(word->text(), asked);
    EXPECT_TRUE(review->isVisible());
    EXPECT_EQ(focusName(), QStringLiteral("Edit1"));
}

} // namespace
} // namespace quorvella
