#include "vocabulary/new_word_window.h"
#include "vocabulary/review_window.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"
#include "tests/support/event_loop.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "tests/support/splitter_drag.h"
#include "tests/vocabulary/word_folder.h"
#include "vocabulary/word_widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

namespace quorvella {
namespace {

// A course of three lesson groups (the last without words) and two letter groups.
void writeCourse(const WordFolder& data) {
    data.write("ti.txt", Lines{"Lesson 1", "Lesson 2", "Lesson 3"});
    data.write("ai.txt", Lines{"A", "B"});
    data.write("dat/kwdc1.txt", Lines{encodeGbk(u"apple@[ˈæpl]@") + encodeGbk(u"苹果") + "@0",
                                      encodeGbk(u"banana@[bəˈnɑːnə]@") + encodeGbk(u"香蕉") + "@0",
                                      encodeGbk(u"cherry@[ˈtʃeri]@") + encodeGbk(u"樱桃") + "@0",
                                      encodeGbk(u"dog@[dɒɡ]@@1")});
    data.write("dat/kwdc2.txt", Lines{"apple@p@m", "axe@p@m", "bee@p@m"});
    data.write("dat/bookw.txt",
               Lines{"apple mnemonic@@@@An apple a day.@" + encodeGbk(u"一天一个苹果。")});
}

// Presses the mouse on a point of a widget through its window, as a real press arrives.
void pressAt(QWidget* widget, QPoint point, bool twice = false) {
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, point);
    if (twice) {
        QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, at);
    } else {
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, at);
    }
}

void pressButton(QWidget* button) {
    pressAt(button, button->rect().center());
}

template <typename Window>
class VocabularyWindow : public testing::Test {
protected:
    void SetUp() override {
        writeCourse(m_data);
        window = std::make_unique<Window>(
            [this] {
                auto engine = std::make_unique<FakeSpeechEngine>();
                fake = engine.get();
                return engine;
            },
            m_data.folder());
        window->FormCreate();
        window->resize(1100, 760);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        fake->calls.clear();
    }

    template <typename Widget>
    Widget* child(const char* name) {
        auto* widget = window->template findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    WordTableView* table() { return child<WordTableView>("ListView1"); }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QString field(const char* name) { return child<QLineEdit>(name)->text(); }
    void press(const char* button) { pressButton(child<QWidget>(button)); }

    // Double-clicks the group at row of the group list (or, with -1, its empty part below them).
    void openGroup(int row) {
        auto* groups = child<QListWidget>("ListBox2");
        const QPoint point = row >= 0 ? groups->visualItemRect(groups->item(row)).center()
                                      : QPoint(20, groups->viewport()->height() - 10);
        pressAt(groups->viewport(), point, true);
        fake->calls.clear();
    }
    void pressRow(int row) {
        const QRect cell = table()->visualRect(table()->model()->index(row, 3));
        pressAt(table()->viewport(), cell.center());
    }
    QStringList column(int column) {
        QStringList texts;
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            texts << table()->model()->index(row, column).data().toString();
        }
        return texts;
    }

    WordFolder m_data;
    RecordingMessagePort m_messages;
    FakeSpeechEngine* fake = nullptr;
    std::unique_ptr<Window> window;
};

using NewWordWindow = VocabularyWindow<TForm3>;
using ReviewWindow = VocabularyWindow<TForm4>;

TEST_F(NewWordWindow, IsLaidOutAsTheLearnerExpects) {
    EXPECT_EQ(window->windowTitle(), u"生词学习");
    auto* header = table()->horizontalHeader();
    const QStringList captions = {"序号", "单词", "音标", "词义"};
    const int widths[] = {50, 150, 150, 250};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(table()->model()->headerData(column, Qt::Horizontal).toString(),
                  captions[column]);
        EXPECT_EQ(header->sectionSize(column), widths[column]);
        EXPECT_LE(header->fontMetrics().horizontalAdvance(captions[column]), widths[column] - 8);
    }
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentText(), u"按课文列表分组");
    EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 3);
    EXPECT_EQ(field("Edit2"), "0");
    EXPECT_EQ(field("SpinEdit1"), "3");
    EXPECT_TRUE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(label("Label15"), " ");

    // The side panel starts 208 pixels wide, and the learner can drag its splitter.
    auto* splitter = child<QSplitter>("Splitter1");
    EXPECT_EQ(splitter->sizes().at(1), 208);
    dragSplitterHandle(*splitter, 1, QPoint(-60, 0));
    EXPECT_EQ(splitter->sizes().at(1), 268);
}

TEST_F(NewWordWindow, OpeningAGroupAndSteppingShowsSpeaksAndDetailsEachWord) {
    openGroup(0);
    EXPECT_EQ(column(1), (QStringList{"apple", "banana", "cherry"}));
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(field("Edit2"), "3");
    EXPECT_EQ(table()->selectedRow(), -1);

    pressRow(0);
    EXPECT_EQ(label("StaticText1"), "apple");
    EXPECT_EQ(label("StaticText2"), u"[ˈæpl]");
    EXPECT_EQ(label("StaticText3"), u"苹果");
    EXPECT_EQ(label("Label15"), "apple mnemonic");
    EXPECT_EQ(label("Label19"), "An apple a day.");
    EXPECT_EQ(label("Label20"), u"一天一个苹果。");
    EXPECT_EQ(fake->calls, QStringList{"SpeakText(apple)"});

    press("Button9"); // the last
    EXPECT_EQ(table()->selectedRow(), 2);
    EXPECT_TRUE(table()->hasFocus());
    EXPECT_EQ(label("Label15"), " "); // cherry has no details
    press("Button8");                 // the first after the last
    EXPECT_EQ(label("StaticText1"), "apple");
    press("Button7"); // before the first: none selected, the displays stay
    EXPECT_EQ(table()->selectedRow(), -1);
    EXPECT_EQ(label("StaticText1"), "apple");
    EXPECT_EQ(fake->calls,
              (QStringList{"SpeakText(apple)", "SpeakText(cherry)", "SpeakText(apple)"}));

    child<QCheckBox>("CheckBox1")->click();
    press("Button1");
    press("Image1"); // the picture button speaks, ticked or not
    EXPECT_EQ(fake->calls.mid(3), QStringList{"SpeakText(apple)"});
}

// What a screen reader finds: the list by its caption with its cells, and the shown word.
TEST_F(NewWordWindow, AScreenReaderReadsTheListAndTheShownWord) {
    openGroup(0);
    pressRow(1);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), u"单词列表");
    QAccessibleTableInterface* cells = list->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 3);
    EXPECT_EQ(cells->cellAt(1, 3)->text(QAccessible::Name), u"香蕉");
    for (const auto& [name, text] : {std::pair{"StaticText1", QStringLiteral("banana")},
                                     std::pair{"StaticText3", QStringLiteral("香蕉")}}) {
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(child<QLabel>(name));
        EXPECT_EQ(shown->text(QAccessible::Name), text) << name;
    }
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(child<QWidget>("Image1"));
    EXPECT_EQ(button->text(QAccessible::Name), u"重读这个单词");
}

TEST_F(NewWordWindow, ADoubleClickWithoutASelectedGroupClearsTheListAndReportsIt) {
    openGroup(0);
    ASSERT_EQ(table()->model()->rowCount(), 3);
    child<QListWidget>("ListBox2")->clearSelection();
    openGroup(-1);
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(m_messages.errors, QStringList{"List index out of bounds (-1)"});
    EXPECT_EQ(field("Edit2"), "3"); // no scan ran
}

TEST_F(NewWordWindow, TheModeChangesTheGroupListButNotTheWords) {
    openGroup(0);
    child<QComboBox>("ComboBox2")->setCurrentIndex(1);
    EXPECT_EQ(child<QListWidget>("ListBox2")->item(1)->text(), "B");
    EXPECT_EQ(table()->model()->rowCount(), 3);
    openGroup(0);
    EXPECT_EQ(column(1), (QStringList{"apple", "axe"}));
}

TEST_F(NewWordWindow, AutomaticReadingStepsAtTheIntervalUntilStoppedOrClosed) {
    openGroup(0);
    auto* interval = child<SpinEdit>("SpinEdit1");
    interval->selectAll();
    QTest::keyClicks(interval, "1");
    press("Button10");
    ASSERT_TRUE(runUntil([&] { return fake->calls.size() >= 2; }, 5000));
    EXPECT_EQ(fake->calls.mid(0, 2), (QStringList{"SpeakText(apple)", "SpeakText(banana)"}));
    EXPECT_TRUE(table()->hasFocus());
    // Stopped: no tick is due, so nothing more is read.
    auto* timer = child<QTimer>("Timer1");
    press("Button11");
    const qsizetype spoken = fake->calls.size();
    EXPECT_FALSE(timer->isActive());
    QApplication::processEvents();
    EXPECT_EQ(fake->calls.size(), spoken);

    // Closed by its frame: the window reads no more.
    press("Button10");
    EXPECT_TRUE(timer->isActive());
    window->close();
    EXPECT_FALSE(timer->isActive());
    QApplication::processEvents();
    EXPECT_EQ(fake->calls.size(), spoken);
    EXPECT_FALSE(window->study().autoReading());
}

TEST_F(NewWordWindow, SearchListsMatchesOrSaysThereAreNone) {
    auto* text = child<QLineEdit>("Edit1");
    QTest::keyClicks(text, "an");
    press("Button2");
    EXPECT_EQ(column(1), (QStringList{"banana"}));
    EXPECT_EQ(field("Edit2"), "1");
    text->clear();
    press("Button2");
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(field("Edit2"), "0");
    EXPECT_EQ(m_messages.messages, QStringList{"在本教材单词表中，找不到你的内容"});
}

// Without its group list the window is made all the same, with an empty group list, and the
// reading settings are not filled from the engine.
TEST(VocabularyWindowWithoutData, CreationStopsAtTheMissingGroupList) {
    WordFolder empty;
    TForm4 window([] { return std::make_unique<FakeSpeechEngine>(); }, empty.folder());
    EXPECT_THROW(window.FormCreate(), AppError);
    EXPECT_EQ(window.findChild<QListWidget*>("ListBox2")->count(), 0);
    EXPECT_EQ(window.findChild<QComboBox*>("ComboBox1")->count(), 0);
}

TEST_F(ReviewWindow, ShowsOnlyNumbersAndMeaningsAndAsksForTheWord) {
    EXPECT_EQ(window->windowTitle(), u"单词复习");
    const int widths[] = {50, 1, 1, 400};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(table()->horizontalHeader()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(child<QSplitter>("Splitter1")->sizes().at(1), 208);
    EXPECT_EQ(label("StaticText5"), u"首字母提示：");
    EXPECT_EQ(label("StaticText4"), u"请输入单词");
    EXPECT_EQ(label("StaticText1"), " ");
    EXPECT_FALSE(child<QLineEdit>("Edit1")->testAttribute(Qt::WA_InputMethodEnabled));

    openGroup(0);
    pressRow(1);
    EXPECT_EQ(label("StaticText1"), " ");
    EXPECT_EQ(label("StaticText2"), " ");
    EXPECT_EQ(label("StaticText3"), u"香蕉");
    EXPECT_EQ(fake->calls, QStringList{"SpeakText(banana)"});

    child<QCheckBox>("CheckBox2")->click();
    child<QCheckBox>("CheckBox3")->click();
    child<QCheckBox>("CheckBox4")->click();
    EXPECT_EQ(label("StaticText1"), "banana");
    EXPECT_EQ(label("StaticText2"), u"[bəˈnɑːnə]");
    EXPECT_EQ(label("StaticText5"), u"首字母提示：b");
}

TEST_F(ReviewWindow, ADictationTypedAndConfirmedWithEnter) {
    openGroup(0);
    pressRow(2);
    fake->calls.clear();
    auto* answer = child<QLineEdit>("Edit1");
    pressAt(answer, answer->rect().center());

    QTest::keyClicks(answer, "Cherry");
    QTest::keyClick(answer, Qt::Key_Return);
    EXPECT_EQ(label("StaticText4"), u"输入错误，请重新输入：");
    EXPECT_EQ(fake->calls, QStringList{"SpeakText(sorry,you are not right!)"});
    EXPECT_EQ(answer->text(), "");
    EXPECT_TRUE(answer->hasFocus());

    QTest::keyClicks(answer, "cherry");
    QTest::keyClick(answer, Qt::Key_Enter);
    EXPECT_EQ(label("StaticText4"), u"输入正确，下一个：");
    EXPECT_EQ(table()->selectedRow(), 0); // the first after the last
    EXPECT_EQ(fake->calls.last(), "SpeakText(apple)");
    EXPECT_TRUE(answer->hasFocus());

    QTest::keyClicks(answer, "apple");
    press("Button2");
    EXPECT_EQ(table()->selectedRow(), 1);
    EXPECT_TRUE(m_messages.messages.isEmpty());
}

TEST_F(ReviewWindow, ACheckBeforeAnyWordAsksForAGroup) {
    press("Button2");
    EXPECT_EQ(m_messages.messages, QStringList{"请选定单词复习组"});
    EXPECT_EQ(label("StaticText4"), u"请输入单词");
    EXPECT_TRUE(fake->calls.isEmpty());
}

} // namespace
} // namespace quorvella
