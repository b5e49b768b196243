#pragma once
// The parts that the new-word, review and word bank windows share on screen: the word list
// table, the group chooser, the sky-blue word panel, the interval field and the picture button
// that re-reads a word. They show what the windows' logic holds and report what the learner does.

#include "core/message_port.h"
#include "speech/spin_field.h"
#include "speech/spin_field_widget.h"
#include "vocabulary/word_list_model.h"

#include <QFrame>
#include <QGroupBox>
#include <QTableView>
#include <QToolButton>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace quorvella {

// A report-style word list: grid lines, whole rows, one selected row at most, no editing. The
// learner's selection is reported; the program's is shown without being reported again.
class WordTableView final : public QTableView {
    Q_OBJECT

public:
    WordTableView(WordListModel* model, QWidget* parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;
    // Selects row (-1: none) and brings it into view.
    void showSelectedRow(int row);

signals:
    // The selected row changed to row (-1: the selection was removed).
    void rowSelected(int row);
};

// The group box "选择单词": the grouping-mode box ComboBox2 and the group list ListBox2, whose
// double-click (also on its empty part) opens the selected group.
class GroupChooser final : public QGroupBox {
    Q_OBJECT

public:
    explicit GroupChooser(QWidget* parent = nullptr);

    // Replaces the group list's entries (GBK bytes); no entry is selected afterwards.
    void showGroups(const std::vector<std::string>& groups);
    // The selected entry of the group list, or -1.
    int selectedGroup() const;

    QComboBox* ComboBox2;
    QListWidget* ListBox2;

signals:
    void groupDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The sky-blue panel with the word StaticText1 (red, bold, large serif), the phonetic
// StaticText2 and the meaning StaticText3.
class WordPanel final : public QFrame {
    Q_OBJECT

public:
    explicit WordPanel(QWidget* parent = nullptr);

    // Shows the three texts (GBK bytes).
    void show(const std::string& word, const std::string& phonetic, const std::string& meaning);

    QLabel* StaticText1;
    QLabel* StaticText2;
    QLabel* StaticText3;
};

// An integer field with arrows whose rules are SpinField's: the interval and delay fields.
class SpinEdit final : public SpinFieldWidget {
    Q_OBJECT

public:
    SpinEdit(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int value() const { return m_field.value(); }
    const SpinField& field() const { return m_field; }

signals:
    // Each change of the field's text, typed, stepped or written back.
    void changed();

private:
    SpinField m_field;
};

// The picture button that speaks the current word again (hint "重读这个单词", hand cursor).
QToolButton* makeRereadButton(const QString& name, QWidget* parent);

// The count field beside "单词数：", showing "0" at first.
QLineEdit* makeCountField(const QString& name, QWidget* parent);

// connect() for a window's handlers that show the window's state afterwards: the handler (a
// member taking the signal's arguments or none) runs inside runHandler, then render runs, also
// when an error ended the handler, so the window shows the state the logic reached.
template <typename Sender, typename Signal, typename Window, typename Handler>
QMetaObject::Connection connectRendered(Sender* sender, Signal signal, Window* window,
                                        Handler handler, void (Window::*render)()) {
    return QObject::connect(sender, signal, window, [=](auto&&... arguments) {
        runHandler([&] {
            invokeHandler(handler, window, std::forward<decltype(arguments)>(arguments)...);
        });
        std::invoke(render, window);
    });
}

// The font of the word displays: "华文中宋" where it is installed, else a bold CJK serif.
QFont wordDisplayFont(int pixelSize);

} // namespace quorvella
