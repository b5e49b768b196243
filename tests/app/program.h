#pragma once
// The program as a test runs it: every window created over a data folder as start-up creates
// them, the launcher shown, its message boxes shown for real and answered; and the few gestures
// the tests make on the windows (launcher buttons, double-clicks on list entries).

#include "app/launcher_window.h"
#include "app/start_up.h"
#include "lessons/lesson_window.h"
#include "tests/app/box_answerer.h"
#include "tests/support/fake_speech_engine.h"
#include "vocabulary/word_bank_window.h"
#include "vocabulary/word_list_window.h"
#include "vocabulary/word_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quorvella {

// Speech engines that record what they are told; the program's windows get one each.
inline SpeechEngineFactory fakeSpeech() {
    return [] { return std::make_unique<FakeSpeechEngine>(); };
}

class Program {
public:
    Program(const DataFolder& folder, SpeechEngineFactory speech = fakeSpeech())
        : m_startUp(StartUpOptions{folder, std::move(speech)}) {
        m_started = m_startUp.createWindows();
        if (m_started) {
            launcher()->showMaximized();
        }
    }
    ~Program() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->hide();
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return m_started; }
    // What the message boxes said, start-up's included.
    QStringList& boxes() { return m_answerer.boxes; }
    const QStringList& oddBoxes() const { return m_answerer.odd; }

    QWidget* launcher() const { return m_startUp.window(QStringLiteral("TForm1")); }
    QWidget* window(const char* name) const { return m_startUp.window(QString::fromLatin1(name)); }

    // Presses the launcher's button with this caption; the window it shows.
    QWidget* open(const QString& caption) {
        for (auto* button : launcher()->findChildren<QAbstractButton*>()) {
            if (button->text() == caption) {
                QTest::mouseClick(button, Qt::LeftButton);
                return QApplication::activeWindow();
            }
        }
        ADD_FAILURE() << "no launcher button " << caption.toStdString();
        return nullptr;
    }

    template <typename Widget = QWidget>
    Widget* child(const char* window, const char* name) const {
        auto* widget = this->window(window)->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << window << "." << name;
        return widget;
    }

    void press(const char* window, const char* button) {
        QTest::mouseClick(child<QAbstractButton>(window, button), Qt::LeftButton);
    }

    // A double-click on entry row of the list; with row -1, on the list's empty part while no
    // entry is selected.
    static void doubleClick(QListWidget* list, int row) {
        if (row >= 0 && row < list->count()) {
            list->setCurrentRow(row);
        } else {
            list->clearSelection();
        }
        if (auto* chooser = qobject_cast<GroupChooser*>(list->parentWidget())) {
            emit chooser->groupDoubleClicked();
        } else if (row >= 0 && row < list->count()) {
            emit list->itemDoubleClicked(list->item(row));
        }
    }
    void doubleClick(const char* window, const char* list, int row) {
        doubleClick(child<QListWidget>(window, list), row);
    }

    // The speech engine of a speaking window ("TForm2", "TForm3", "TForm4", "TForm8").
    SpeechEngine& engineOf(const char* name) const {
        QWidget* shown = window(name);
        if (auto* lessons = qobject_cast<TForm2*>(shown)) {
            return lessons->engine();
        }
        if (auto* words = qobject_cast<WordListWindow*>(shown)) {
            return words->engine();
        }
        return qobject_cast<TForm8*>(shown)->engine();
    }
    FakeSpeechEngine& fakeEngineOf(const char* name) const {
        return dynamic_cast<FakeSpeechEngine&>(engineOf(name));
    }

private:
    BoxAnswerer m_answerer; // before the windows: start-up's boxes are answered too
    StartUp m_startUp;
    bool m_started = false;
};

} // namespace quorvella
