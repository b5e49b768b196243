#include "vocabulary/word_bank_window.h"

#include "core/gbk_codec.h"
#include "tests/support/event_loop.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "tests/vocabulary/word_folder.h"
#include "vocabulary/word_widgets.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quorvella {
namespace {

// Bank 1 sorted by word, with a Chinese line that ends every letter range; bank 3 for searches.
void writeBanks(const WordFolder& data) {
    data.write("dat/zsks.txt",
               Lines{"abandon@" + encodeGbk(u"放弃"), "able@" + encodeGbk(u"能干的"),
                     "bank@" + encodeGbk(u"银行"), "cat@" + encodeGbk(u"猫"), "cup",
                     "dog@" + encodeGbk(u"狗"), encodeGbk(u"中文@x"), "zoo@z"});
    data.write("dat/sj.dat",
               Lines{"bank@" + encodeGbk(u"银行；河岸"), "river@" + encodeGbk(u"河流")});
}

// The application's message port for these tests: records each message with what the window
// showed while its box was open.
class WatchingPort final : public MessagePort {
public:
    WatchingPort() : m_previous(applicationMessagePort()) { setApplicationMessagePort(this); }
    ~WatchingPort() override { setApplicationMessagePort(m_previous); }
    WatchingPort(const WatchingPort&) = delete;
    WatchingPort& operator=(const WatchingPort&) = delete;

    void showMessage(const QString& text) override {
        messages << text;
        if (watch) {
            seen << watch();
        }
    }
    void showError(const QString& text) override { errors << text; }
    void showApplicationError(const QString& text) override { errors << text; }

    QStringList messages;
    QStringList errors;
    std::function<QString()> watch;
    QStringList seen;

private:
    MessagePort* m_previous;
};

class WordBankWindow : public testing::Test {
protected:
    void SetUp() override {
        writeBanks(m_data);
        window = std::make_unique<TForm8>(
            [this] {
                auto engine = std::make_unique<FakeSpeechEngine>();
                fake = engine.get();
                return engine;
            },
            m_data.folder());
        window->FormCreate();
        window->resize(1100, 760);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        created = fake->calls;
        fake->calls.clear();
    }

    template <typename Widget>
    Widget* child(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    WordTableView* table() { return child<WordTableView>("ListView1"); }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    QString field(const char* name) { return child<QLineEdit>(name)->text(); }

    // A press of the left button at point of widget, through the window as a real one arrives.
    void pressAt(QWidget* widget, QPoint point) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(window.get(), point));
    }
    void press(const char* button) {
        auto* widget = child<QWidget>(button);
        pressAt(widget, widget->rect().center());
    }
    void pressRow(int row) {
        pressAt(table()->viewport(), table()->visualRect(table()->model()->index(row, 1)).center());
    }
    // Keys typed into control, which has the focus, through the window.
    void type(QWidget* control, Qt::Key key, int times = 1) {
        control->setFocus();
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(window->windowHandle(), key);
        }
    }
    // Bank 1, A to C, "设置" pressed.
    void listAToC() {
        type(child<QComboBox>("ComboBox3"), Qt::Key_C);
        press("Button2");
        ASSERT_EQ(table()->model()->rowCount(), 5);
        fake->calls.clear();
    }
    QStringList column(int column) {
        QStringList texts;
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            texts << table()->model()->index(row, column).data().toString();
        }
        return texts;
    }

    WordFolder m_data;
    WatchingPort port;
    FakeSpeechEngine* fake = nullptr;
    QStringList created;
    std::unique_ptr<TForm8> window;
};

TEST_F(WordBankWindow, IsLaidOutAsTheLearnerExpects) {
    EXPECT_EQ(window->windowTitle(), u"英语词库");
    EXPECT_EQ(created, QStringList{"SelectVoice(1)"});
    EXPECT_EQ(window->engine().objectName(), "spe1");

    // The list's three columns, their captions within them.
    auto* header = table()->horizontalHeader();
    const QStringList captions = {"序号", "单词", "词义"};
    ASSERT_EQ(table()->model()->columnCount(), 3);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(table()->model()->headerData(column, Qt::Horizontal).toString(),
                  captions[column]);
        EXPECT_LE(header->fontMetrics().horizontalAdvance(captions[column]) + 8,
                  header->sectionSize(column));
    }
    EXPECT_EQ(header->sectionSize(1), 150);
    EXPECT_EQ(header->sectionSize(2), 250);

    // The boxes and their first choices; the banks and letters can only be picked.
    QStringList banks;
    for (const char* name : {"ComboBox1", "ComboBox4"}) {
        auto* box = child<QComboBox>(name);
        EXPECT_FALSE(box->isEditable()) << name;
        EXPECT_EQ(box->currentText(), "Tamsora") << name;
        EXPECT_EQ(box->currentIndex(), 0) << name;
        banks.clear();
        for (int item = 0; item < box->count(); ++item) {
            banks << box->itemText(item);
        }
    }
    EXPECT_EQ(banks, (QStringList{"Tamsora", "高中英语", "四级英语", "六级英语", "IELTS", "TOEFL",
                                  "GRE", "GMAT"}));
    for (const char* name : {"ComboBox2", "ComboBox3"}) {
        auto* box = child<QComboBox>(name);
        EXPECT_FALSE(box->isEditable()) << name;
        EXPECT_EQ(box->count(), 26) << name;
        EXPECT_EQ(box->currentText(), "A") << name;
        EXPECT_EQ(box->itemText(25), "Z") << name;
    }
    EXPECT_TRUE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(field("Edit1"), "");
    EXPECT_EQ(field("Edit2"), "0");
    EXPECT_EQ(field("SpinEdit1"), "2");
    EXPECT_EQ(label("StaticText1"), " ");
    EXPECT_EQ(label("StaticText2"), " ");

    // The left pane: the three group boxes and the exit button; the right pane: the list, the
    // moves under it and the displays under them.
    auto* left = child<QWidget>("Panel1");
    auto* right = child<QWidget>("Panel2");
    QStringList boxes;
    for (const auto* box : left->findChildren<QGroupBox*>()) {
        boxes << box->title();
    }
    EXPECT_EQ(boxes, (QStringList{"单词设置", "查找单词", "自动设置"}));
    EXPECT_TRUE(left->isAncestorOf(child<QWidget>("Button10")));
    EXPECT_LT(left->geometry().right(), right->geometry().left());
    const auto top = [&](const char* name) {
        auto* widget = child<QWidget>(name);
        return widget->mapTo(right, QPoint(0, 0)).y();
    };
    EXPECT_LT(top("ListView1"), top("Button4"));
    EXPECT_LT(top("Button4"), top("StaticText1"));
    EXPECT_LT(top("StaticText1"), top("StaticText2"));
    for (const char* name : {"Button4", "Button5", "Button6", "Button7"}) {
        EXPECT_EQ(top(name), top("Button4")) << name;
    }

    // The very large red word and the larger meaning.
    auto* word = child<QLabel>("StaticText1");
    auto* meaning = child<QLabel>("StaticText2");
    EXPECT_EQ(word->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_GT(QFontInfo(word->font()).pixelSize(), 2 * QFontInfo(meaning->font()).pixelSize() - 1);
    EXPECT_GT(QFontInfo(meaning->font()).pixelSize(), QFontInfo(window->font()).pixelSize());

    // Every caption fits its control.
    for (auto* caption : window->findChildren<QLabel*>()) {
        if (caption != word && caption != meaning && !caption->text().isEmpty()) {
            EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->width())
                << caption->text().toStdString();
        }
    }
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) {
            EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
        }
    }
    for (auto* box : window->findChildren<QComboBox*>()) {
        EXPECT_LE(box->minimumSizeHint().width(), box->width()) << box->objectName().toStdString();
    }
}

TEST_F(WordBankWindow, Button1LiesUnderTheListAndIsTheFirstStopOfTheTabOrder) {
    auto* button1 = child<QPushButton>("Button1");
    EXPECT_EQ(button1->text(), "Button1");
    EXPECT_TRUE(button1->isVisible());
    EXPECT_TRUE(table()->geometry().contains(button1->geometry()));
    // What lies at its middle is the list's.
    QWidget* seen = window->childAt(button1->mapTo(window.get(), button1->rect().center()));
    EXPECT_TRUE(seen == table() || table()->isAncestorOf(seen));

    // The window opens with Button1 in focus; Tab goes on to the bank box.
    EXPECT_EQ(QApplication::focusWidget(), button1);
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("ComboBox1"));
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), button1);

    // Pressed from the keyboard it closes the window, and automatic reading stops with it.
    listAToC();
    press("Button8");
    ASSERT_TRUE(window->browser().autoReading());
    type(button1, Qt::Key_Space);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->browser().autoReading());
}

TEST_F(WordBankWindow, SettingARangeListsItsWordsAndShowsTheFirst) {
    type(child<QComboBox>("ComboBox3"), Qt::Key_C);
    EXPECT_EQ(child<QComboBox>("ComboBox3")->currentText(), "C");
    press("Button2");
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(column(1), (QStringList{"abandon", "able", "bank", "cat", "cup"}));
    EXPECT_EQ(column(2), (QStringList{"放弃", "能干的", "银行", "猫", " "}));
    EXPECT_EQ(field("Edit2"), "5");
    EXPECT_EQ(table()->selectedRow(), 0);
    EXPECT_TRUE(table()->hasFocus());
    EXPECT_EQ(label("StaticText1"), "abandon");
    EXPECT_EQ(label("StaticText2"), u"放弃");
    EXPECT_EQ(fake->calls, (QStringList{"StopSpeech", "SpeakText(abandon)"}));
    EXPECT_TRUE(port.messages.isEmpty());

    // A range that lists nothing: the count first, then the message.
    port.watch = [this] { return field("Edit2"); };
    type(child<QComboBox>("ComboBox2"), Qt::Key_M);
    press("Button2");
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(port.messages, QStringList{"单词列表中还没有任何单词"});
    EXPECT_EQ(port.seen, QStringList{"0"});
    EXPECT_EQ(label("StaticText1"), "abandon"); // the displays stay
}

TEST_F(WordBankWindow, ClicksAndKeysShowAndSpeakTheWordAndAnEmptyClickRepeatsIt) {
    listAToC();
    pressRow(4);
    EXPECT_EQ(label("StaticText1"), "cup");
    EXPECT_EQ(label("StaticText2"), " "); // a line without a meaning
    QTest::keyClick(window->windowHandle(), Qt::Key_Up);
    EXPECT_EQ(label("StaticText1"), "cat");
    EXPECT_EQ(fake->calls,
              (QStringList{"StopSpeech", "SpeakText(cup)", "StopSpeech", "SpeakText(cat)"}));

    // A click below the rows takes the selection away and says the word once more.
    fake->calls.clear();
    pressAt(table()->viewport(), QPoint(20, table()->viewport()->height() - 5));
    EXPECT_EQ(table()->selectedRow(), -1);
    EXPECT_EQ(label("StaticText1"), "cat");
    EXPECT_EQ(fake->calls, (QStringList{"StopSpeech", "SpeakText(cat)"}));

    // Unticked: shown, not spoken.
    child<QCheckBox>("CheckBox1")->click();
    fake->calls.clear();
    pressRow(1);
    EXPECT_EQ(label("StaticText1"), "able");
    EXPECT_TRUE(fake->calls.isEmpty());
}

TEST_F(WordBankWindow, TheMoveButtonsSayWhenThereIsNothingFurther) {
    press("Button5"); // an empty list
    EXPECT_EQ(port.messages, QStringList{"单词列表中还没有任何单词"});
    listAToC();
    port.messages.clear();
    press("Button5");
    EXPECT_EQ(port.messages, QStringList{"已经是第一个了"});
    EXPECT_FALSE(table()->hasFocus());
    press("Button7");
    EXPECT_EQ(table()->selectedRow(), 4);
    EXPECT_TRUE(table()->hasFocus());
    press("Button6");
    EXPECT_EQ(port.messages, (QStringList{"已经是第一个了", "已经是最后一个了"}));
    EXPECT_EQ(table()->selectedRow(), 4);
    press("Button5");
    press("Button4");
    EXPECT_EQ(table()->selectedRow(), 0);
    EXPECT_EQ(fake->calls, (QStringList{"StopSpeech", "SpeakText(cup)", "StopSpeech",
                                        "SpeakText(cat)", "StopSpeech", "SpeakText(abandon)"}));
}

TEST_F(WordBankWindow, SearchFindsTheTextInTheChosenBank) {
    type(child<QComboBox>("ComboBox4"), Qt::Key_Down, 2);
    EXPECT_EQ(child<QComboBox>("ComboBox4")->currentText(), u"四级英语");
    auto* text = child<QLineEdit>("Edit1");
    text->setFocus();
    QInputMethodEvent typed; // Chinese arrives from the input method
    typed.setCommitString(QStringLiteral("河"));
    QApplication::sendEvent(text, &typed);
    press("Button3");
    EXPECT_EQ(column(1), (QStringList{"bank", "river"}));
    EXPECT_EQ(field("Edit2"), "2");
    EXPECT_EQ(label("StaticText1"), "bank");
    EXPECT_TRUE(port.messages.isEmpty());

    // Nothing found: two messages, the count set between them.
    port.watch = [this] { return field("Edit2"); };
    text->clear();
    press("Button3");
    EXPECT_EQ(port.messages,
              (QStringList{"在该词库中找不到你要的内容", "单词列表中还没有任何单词"}));
    EXPECT_EQ(port.seen, (QStringList{"2", "0"}));
    EXPECT_EQ(table()->model()->rowCount(), 0);
}

TEST_F(WordBankWindow, AMissingBankIsReportedAndLeavesTheCount) {
    listAToC();
    type(child<QComboBox>("ComboBox1"), Qt::Key_Down);
    press("Button2");
    EXPECT_EQ(port.errors,
              QStringList{QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                              .arg(m_data.folder().path(u"dat/gz.dat"))});
    EXPECT_EQ(table()->model()->rowCount(), 0);
    EXPECT_EQ(field("Edit2"), "5");
    EXPECT_EQ(label("StaticText1"), "abandon");
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(WordBankWindow, AutomaticReadingStepsToTheLastWordAndStops) {
    type(child<QComboBox>("ComboBox2"), Qt::Key_C);
    type(child<QComboBox>("ComboBox3"), Qt::Key_C);
    press("Button2"); // cat, cup
    ASSERT_EQ(column(1), (QStringList{"cat", "cup"}));
    auto* delay = child<SpinEdit>("SpinEdit1");
    delay->selectAll();
    QTest::keyClicks(delay, "1");
    fake->calls.clear();
    press("Button8");
    EXPECT_TRUE(fake->calls.isEmpty()); // the first step comes one delay later
    ASSERT_TRUE(runUntil([&] { return !window->browser().autoReading(); }, 5000));
    EXPECT_EQ(fake->calls, (QStringList{"StopSpeech", "SpeakText(cup)"}));
    EXPECT_EQ(table()->selectedRow(), 1);
    EXPECT_TRUE(port.messages.isEmpty());

    // "停止朗读", and closing by the frame, stop it before its first step.
    press("Button4");
    press("Button8");
    press("Button9");
    EXPECT_FALSE(window->browser().autoReading());
    press("Button8");
    auto* timer = child<QTimer>("Timer1");
    EXPECT_TRUE(timer->isActive());
    window->close();
    EXPECT_FALSE(window->browser().autoReading());
    EXPECT_FALSE(timer->isActive()) << "a step is still due";
    QApplication::processEvents();
    EXPECT_EQ(table()->selectedRow(), 0);

    // "退出关闭" hides it too.
    window->show();
    press("Button8");
    press("Button10");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->browser().autoReading());
}

// What a screen reader and outside tools find: every control by a name, the list's cells, and
// the shown word.
TEST_F(WordBankWindow, EveryControlHasAnAccessibleName) {
    listAToC();
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(window.get()) ||
            control->inherits("QScrollBar")) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
            << control->metaObject()->className() << " " << control->objectName().toStdString();
    }
    const std::pair<const char*, const char16_t*> names[] = {
        {"Edit1", u"内容"},         {"Edit2", u"单词数"},        {"SpinEdit1", u"朗读延时"},
        {"CheckBox1", u"是否发音"}, {"Button1", u"Button1"},     {"Button10", u"退出关闭"},
        {"ListView1", u"单词列表"}, {"StaticText1", u"abandon"}, {"StaticText2", u"放弃"}};
    for (const auto& [name, text] : names) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(child<QWidget>(name));
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf16(text)) << name;
    }
    // A box is named by the choice it shows, as Qt names boxes here; its captions and its
    // group box label it.
    const std::pair<const char*, QStringList> boxes[] = {
        {"ComboBox1", {"单词库：", "单词设置"}},
        {"ComboBox2", {"范 围：", "从", "单词设置"}},
        {"ComboBox3", {"到", "单词设置"}},
        {"ComboBox4", {"单词库：", "查找单词"}}};
    for (const auto& [name, captions] : boxes) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(child<QWidget>(name));
        QStringList labels;
        for (const auto& [label, relation] : box->relations(QAccessible::Label)) {
            labels << label->text(QAccessible::Name);
        }
        EXPECT_EQ(labels, captions) << name;
        EXPECT_EQ(box->text(QAccessible::Value), child<QComboBox>(name)->currentText()) << name;
    }
    QAccessibleTableInterface* cells =
        QAccessible::queryAccessibleInterface(table())->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 5);
    EXPECT_EQ(cells->cellAt(2, 2)->text(QAccessible::Name), u"银行");
}

} // namespace
} // namespace quorvella
