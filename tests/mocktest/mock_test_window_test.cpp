#include "mocktest/mock_test_window.h"

#include "core/gbk_codec.h"
#include "tests/mocktest/bank_folder.h"
#include "tests/support/event_loop.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"
#include "tests/support/splitter_drag.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

namespace quorvella {
namespace {

// A port that records each message with what the window showed when it appeared.
class WatchingPort final : public MessagePort {
public:
    explicit WatchingPort(std::function<QString()> shown)
        : m_shown(std::move(shown)), m_previous(applicationMessagePort()) {
        setApplicationMessagePort(this);
    }
    ~WatchingPort() override { setApplicationMessagePort(m_previous); }
    WatchingPort(const WatchingPort&) = delete;
    WatchingPort& operator=(const WatchingPort&) = delete;

    void showMessage(const QString& text) override { messages << text + " | " + m_shown(); }
    void showError(const QString& text) override { errors << text; }
    void showApplicationError(const QString& text) override { errors << text; }

    QStringList messages;
    QStringList errors;

private:
    std::function<QString()> m_shown;
    MessagePort* m_previous;
};

// Presses the mouse on a point of a widget through its window, as a real press arrives.
void pressAt(QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, modifiers, widget->mapTo(top, point));
}

// Twelve questions: two written out, with Chinese text and signs that rich text and button
// captions would take for marks, then Q3 ... Q12, each answered by A.
Lines fixtureBank() {
    Lines lines = {
        encodeGbk(u"The firemen soon _____ the fire.@put out@gave out@went out@broke out@A@"
                  u"put out 意为“扑灭”。"),
        encodeGbk(u"He likes <b>rock</b> _____ roll.@&@and@or@but@B@固定搭配。"),
    };
    for (int n = 3; n <= 12; ++n) {
        lines.push_back(bankLine(n));
    }
    return lines;
}

class MockTestWindow : public testing::Test {
protected:
    void SetUp() override {
        data.writeBank(fixtureBank());
        window = std::make_unique<TForm7>(data.folder());
        window->FormCreate();
        window->resize(1100, 760);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Widget>
    Widget* child(const QString& name) {
        auto* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QTableView* table() { return child<QTableView>("ListView1"); }
    QRadioButton* option(int i) {
        return child<QRadioButton>(QStringLiteral("RadioButton%1").arg(i));
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    void press(const char* button) {
        QWidget* widget = child<QWidget>(button);
        pressAt(widget, widget->rect().center());
    }
    // A press on the option button's mark, at its left end.
    void pressOption(int i) { pressAt(option(i), QPoint(8, option(i)->height() / 2)); }
    void pressRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect cell = table()->visualRect(table()->model()->index(row, 1));
        pressAt(table()->viewport(), cell.center(), modifiers);
    }
    QStringList column(int column) {
        QStringList texts;
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            texts << table()->model()->index(row, column).data().toString();
        }
        return texts;
    }
    QStringList captions() {
        QStringList texts;
        for (int i = 1; i <= 4; ++i) {
            texts << option(i)->text();
        }
        return texts;
    }
    // The option buttons checked, by number.
    QList<int> checked() {
        QList<int> numbers;
        for (int i = 1; i <= 4; ++i) {
            if (option(i)->isChecked()) {
                numbers << i;
            }
        }
        return numbers;
    }
    std::vector<std::string> choices() {
        std::vector<std::string> all;
        for (const QuestionRecord& row : window->test().rows()) {
            all.push_back(row.choice);
        }
        return all;
    }

    BankFolder data;
    RecordingMessagePort port;
    std::unique_ptr<TForm7> window;
};

TEST_F(MockTestWindow, StartsReadyWithItsPanesAndControls) {
    EXPECT_EQ(window->windowTitle(), u"Tamsora（模拟练习）");
    EXPECT_EQ(text("Label1"), u"题库中共有150题可供选择");
    auto* sizes = child<QComboBox>("ComboBox2");
    auto* groups = child<QComboBox>("ComboBox3");
    EXPECT_EQ(sizes->count(), 15);
    EXPECT_EQ(sizes->currentText(), "10");
    EXPECT_EQ(sizes->itemText(14), "150");
    EXPECT_EQ(groups->count(), 15);
    EXPECT_EQ(groups->currentText(), u"第一组");
    EXPECT_FALSE(sizes->isEditable());
    EXPECT_FALSE(groups->isEditable());

    // Two columns, the number's and the question's, their captions fitting.
    auto* header = table()->horizontalHeader();
    ASSERT_EQ(table()->model()->columnCount(), 2);
    const QStringList headings = {"序号", "试题"};
    const int widths[] = {50, 400};
    for (int column = 0; column < 2; ++column) {
        EXPECT_EQ(table()->model()->headerData(column, Qt::Horizontal).toString(),
                  headings[column]);
        EXPECT_EQ(header->sectionSize(column), widths[column]);
        EXPECT_LE(header->fontMetrics().horizontalAdvance(headings[column]), widths[column] - 12);
    }
    EXPECT_EQ(table()->model()->rowCount(), 0);

    EXPECT_EQ(text("Panel3"), u"第0道题目");
    EXPECT_EQ(text("Label2"), "");
    EXPECT_EQ(captions(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_TRUE(checked().isEmpty());
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(text("Label5"), "Label5");
    EXPECT_EQ(text("Label6"), " ");
    EXPECT_FALSE(child<QLabel>("Label5")->isVisible());
    EXPECT_FALSE(child<QLabel>("Label6")->isVisible());
    EXPECT_EQ(text("StaticText1"), u"准备测试......");
    const QColor red(Qt::red);
    EXPECT_EQ(child<QLabel>("Panel3")->palette().color(QPalette::WindowText),
              QColor(0xFF, 0x00, 0xFF));
    for (const char* name : {"Label5", "Label6", "StaticText1"}) {
        EXPECT_EQ(child<QLabel>(name)->palette().color(QPalette::WindowText), red) << name;
    }
    const std::pair<const char*, const char16_t*> buttons[] = {
        {"Button1", u"生成试题"},   {"Button2", u"清除试题"},     {"Button3", u"第一道"},
        {"Button4", u"上一道"},     {"Button5", u"下一道"},       {"Button6", u"最后一道"},
        {"Button7", u"已做完试题"}, {"Button8", u"清除本次结果"}, {"Button9", u"退出关闭"}};
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(child<QPushButton>(name)->text(), QString::fromUtf16(caption)) << name;
    }
    EXPECT_EQ(child<QCheckBox>("CheckBox1")->text(), u"显示解释与答案");

    // The learner can drag the splitter between the two panes.
    auto* splitter = child<QSplitter>("Splitter1");
    const int left = splitter->sizes().at(0);
    EXPECT_EQ(left, 500);
    dragSplitterHandle(*splitter, 1, QPoint(-80, 0));
    EXPECT_EQ(splitter->sizes().at(0), left - 80);
}

// The text of the label that labels a control for an assistive tool, or nothing.
QString labelledBy(QWidget* control) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
    const auto labels = node->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
}

// Every control is found from outside by its name: a button by its caption, the list by the
// caption of its group box. A drop-down box's name is its text on this platform; the caption
// beside it labels it.
TEST_F(MockTestWindow, EveryControlHasAnAccessibleName) {
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QTableView*>(widget) != nullptr;
        if (!control || !widget->isVisible()) {
            continue;
        }
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
        if (node == nullptr || node->text(QAccessible::Name).isEmpty()) {
            unnamed << widget->objectName() + " " + widget->metaObject()->className();
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(table())->text(QAccessible::Name),
              u"本次测试试题");
    EXPECT_EQ(labelledBy(child<QComboBox>("ComboBox2")), u"生成试题数量：");
    EXPECT_EQ(labelledBy(child<QComboBox>("ComboBox3")), u"请选择试题组：");
}

TEST_F(MockTestWindow, DrawAnswerMoveShowTheAnswersAndGrade) {
    WatchingPort watching([this] { return text("StaticText1") + " | " + text("Panel3"); });
    press("Button1");
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(column(1).mid(0, 3), (QStringList{"The firemen soon _____ the fire.",
                                                "He likes <b>rock</b> _____ roll.", "Q3"}));
    EXPECT_EQ(text("StaticText1"), u"测试正在进行中...... ");
    EXPECT_EQ(table()->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(text("Panel3"), u"第1道目");
    EXPECT_EQ(text("Label2"), "The firemen soon _____ the fire.");
    EXPECT_EQ(captions(), (QStringList{"A.put out", "B.gave out", "C.went out", "D.broke out"}));

    pressOption(2);
    EXPECT_EQ(checked(), QList<int>{2});
    press("Button5");
    EXPECT_EQ(text("Panel3"), u"第2道目");
    EXPECT_TRUE(checked().isEmpty());
    // Shown as written: no rich text, and "&" is not taken for a shortcut mark.
    EXPECT_EQ(text("Label2"), "He likes <b>rock</b> _____ roll.");
    EXPECT_EQ(option(1)->text(), "A.&&");
    QAccessibleInterface* first = QAccessible::queryAccessibleInterface(option(1));
    EXPECT_EQ(first->text(QAccessible::Name), "A.&");
    pressOption(2);
    press("Button4");
    EXPECT_EQ(checked(), QList<int>{2});
    press("Button6");
    EXPECT_EQ(text("Panel3"), u"第10道目");

    // The answer and explanation follow the question shown while the box is checked.
    pressAt(child<QCheckBox>("CheckBox1"), QPoint(8, child<QCheckBox>("CheckBox1")->height() / 2));
    EXPECT_TRUE(child<QLabel>("Label5")->isVisible());
    EXPECT_TRUE(child<QLabel>("Label6")->isVisible());
    EXPECT_EQ(text("Label5"), "why 10");
    EXPECT_EQ(text("Label6"), "A");
    press("Button3");
    EXPECT_EQ(text("Label5"), u"put out 意为“扑灭”。");
    EXPECT_EQ(text("Label6"), "A");

    // Questions 1 and 2 are answered B, of which 2 is right: question 3 is reported and shown.
    press("Button7");
    EXPECT_EQ(
        watching.messages,
        QStringList{QStringLiteral("对不起，第3道题还没有做! | 测试正在进行中......  | 第1道目")});
    EXPECT_EQ(text("Panel3"), u"第3道目");
    for (int row = 2; row < 10; ++row) {
        pressRow(row);
        pressOption(row % 2 == 0 ? 1 : 3); // A on 3, 5, 7, 9; C on 4, 6, 8, 10
    }
    press("Button5");
    EXPECT_EQ(watching.messages.last(), u"已经是最后一道了 | 测试正在进行中......  | 第10道目");
    press("Button7");
    // The status line shows the score before the message appears.
    EXPECT_EQ(watching.messages.last(), u"共做对5道题 | 本次测试共:10题;共做对:5题 | 第10道目");
    EXPECT_EQ(text("StaticText1"), u"本次测试共:10题;共做对:5题");
    EXPECT_EQ(choices(),
              (std::vector<std::string>{"B", "B", "A", "C", "A", "C", "A", "C", "A", "C"}));
    EXPECT_TRUE(watching.errors.isEmpty()) << watching.errors.join('\n').toStdString();
}

TEST_F(MockTestWindow, TheKeysMoveThroughTheListAndTheOptions) {
    press("Button1");
    pressRow(1);
    EXPECT_EQ(text("Panel3"), u"第2道目");
    QTest::keyClick(table(), Qt::Key_Down);
    EXPECT_EQ(text("Panel3"), u"第3道目");
    pressOption(1);
    QTest::keyClick(option(1), Qt::Key_Down); // the arrow keys check the next option
    EXPECT_EQ(checked(), QList<int>{2});
    EXPECT_EQ(window->test().rows()[2].choice, "B");
}

TEST_F(MockTestWindow, TheBoxesRefuseAGroupTheSizeDoesNotHave) {
    WatchingPort watching([this] { return child<QComboBox>("ComboBox3")->currentText(); });
    auto* sizes = child<QComboBox>("ComboBox2");
    auto* groups = child<QComboBox>("ComboBox3");
    QTest::keyClick(groups, Qt::Key_End); // "第十五组" at size 10
    EXPECT_EQ(groups->currentText(), u"第十五组");
    QTest::keyClick(sizes, Qt::Key_End); // "150": back to the first group, without a message
    EXPECT_EQ(groups->currentText(), u"第一组");
    QTest::keyClick(groups, Qt::Key_Down);
    EXPECT_EQ(groups->currentText(), u"第一组");
    EXPECT_EQ(watching.messages, QStringList{QStringLiteral("对不起，总共只有1组试题 | 第一组")});

    // Size 10, the second group: the bank's last two lines, numbered from 1.
    QTest::keyClick(sizes, Qt::Key_Home);
    QTest::keyClick(groups, Qt::Key_Down);
    press("Button1");
    EXPECT_EQ(column(0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(1), (QStringList{"Q11", "Q12"}));
    EXPECT_EQ(watching.messages.size(), 1);
}

TEST_F(MockTestWindow, AListWithoutSelectionKeepsThePaneAndRecordsNoCheck) {
    press("Button1");
    pressRow(3);
    EXPECT_EQ(text("Panel3"), u"第4道目");
    pressRow(3, Qt::ControlModifier); // the learner removes the selection
    EXPECT_TRUE(table()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(text("Panel3"), u"第4道目");
    pressOption(3);
    EXPECT_EQ(choices(), std::vector<std::string>(10, " "));
    // "下一道" then takes the first question.
    press("Button5");
    EXPECT_EQ(text("Panel3"), u"第1道目");
    EXPECT_TRUE(checked().isEmpty());
}

TEST_F(MockTestWindow, ClearingTheResultKeepsTheChecksUntilAQuestionIsShownAgain) {
    press("Button1");
    pressOption(2);
    press("Button8");
    EXPECT_EQ(port.messages, QStringList{"清除完毕"});
    EXPECT_EQ(checked(), QList<int>{2});
    pressOption(2); // still checked: records nothing
    EXPECT_EQ(window->test().rows()[0].choice, " ");
    press("Button7");
    EXPECT_EQ(port.messages.last(), u"对不起，第1道题还没有做!");
    press("Button5");
    press("Button4");
    EXPECT_TRUE(checked().isEmpty());
}

TEST_F(MockTestWindow, ClearingAndLeavingEmptyTheTestAndResetThePane) {
    QTest::keyClick(child<QComboBox>("ComboBox2"), Qt::Key_Down); // "20"
    press("Button1");
    pressOption(4);
    child<QCheckBox>("CheckBox1")->click();
    press("Button2");
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(text("Panel3"), " ");
    EXPECT_EQ(text("Label2"), " ");
    EXPECT_EQ(captions(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_TRUE(checked().isEmpty());
    EXPECT_EQ(text("Label5"), " ");
    EXPECT_EQ(text("Label6"), " ");
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(child<QLabel>("Label5")->isVisible());
    EXPECT_FALSE(child<QLabel>("Label6")->isVisible());
    EXPECT_EQ(text("StaticText1"), u"没有测题 ");
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentText(), "20");
    press("Button7");
    EXPECT_EQ(port.messages.last(), u"还没有选试题进行测试！");

    // Closed by its frame the window keeps its test; "退出关闭" clears it and hides the window.
    press("Button1");
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(table()->model()->rowCount(), 12);
    EXPECT_EQ(text("Panel3"), u"第1道目");
    press("Button9");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(text("StaticText1"), u"没有测题 ");
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();
}

TEST_F(MockTestWindow, ABankThatCannotBeOpenedIsReportedAndLeavesTheListEmpty) {
    press("Button1");
    QFile::remove(data.bankPath());
    press("Button1");
    EXPECT_EQ(port.errors,
              QStringList{QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                              .arg(data.bankPath())});
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(text("Panel3"), u"第1道目");
    EXPECT_EQ(text("StaticText1"), u"测试正在进行中...... ");
}

// An assistive tool reads the list's cells and presses the options and the check box through
// the accessibility interface.
TEST_F(MockTestWindow, AScreenReaderReadsTheListAndAnswers) {
    press("Button1");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table());
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface* cells = list->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 10);
    EXPECT_EQ(cells->columnCount(), 2);
    EXPECT_EQ(cells->cellAt(2, 1)->text(QAccessible::Name), "Q3");
    EXPECT_EQ(cells->cellAt(2, 0)->text(QAccessible::Name), "3");

    QAccessibleInterface* optionC = QAccessible::queryAccessibleInterface(option(3));
    EXPECT_EQ(optionC->text(QAccessible::Name), "C.went out");
    optionC->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press is animated: the button is clicked a moment later.
    EXPECT_TRUE(runUntil([&] { return window->test().rows()[0].choice == "C"; }, 2000));
    QAccessibleInterface* show =
        QAccessible::queryAccessibleInterface(child<QCheckBox>("CheckBox1"));
    show->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(child<QLabel>("Label6")->isVisible());
    QAccessibleInterface* answer = QAccessible::queryAccessibleInterface(child<QLabel>("Label6"));
    EXPECT_EQ(answer->text(QAccessible::Name), "A");
    QAccessibleInterface* number = QAccessible::queryAccessibleInterface(child<QLabel>("Panel3"));
    EXPECT_EQ(number->text(QAccessible::Name), u"第1道目");
}

} // namespace
} // namespace quorvella
