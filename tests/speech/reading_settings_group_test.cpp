#include "speech/reading_settings_group.h"

#include "speech/spin_field_widget.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace quorvella {
namespace {

using Calls = QStringList;

// A filled lesson-window group, shown offscreen, its engine's calls so far forgotten.
class ReadingSettingsGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        group.fill();
        group.show();
        QApplication::setActiveWindow(&group);
        engine.calls.clear();
    }

    template <class Widget>
    Widget* child(const char* name) {
        auto* widget = group.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    FakeSpeechEngine engine;
    ReadingSettingsGroup group{engine, WindowKind::Lesson};
};

TEST_F(ReadingSettingsGroupTest, PickingTheThirdVoiceSelectsVoice3) {
    auto* voices = child<QComboBox>("ComboBox1");
    ASSERT_EQ(voices->count(), 3);
    EXPECT_EQ(voices->currentText(), "第1种声音");

    voices->showPopup();
    QAbstractItemView* view = voices->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, 0)).center());

    EXPECT_EQ(engine.calls, Calls({"SelectVoice(3)"}));
    EXPECT_EQ(voices->currentText(), "第3种声音");
}

// The field keeps its 65 pixels; its drop-down shows each item whole, and each item says which
// voice it is.
TEST_F(ReadingSettingsGroupTest, TheDropDownShowsEachItemWholeWithTheVoiceItNames) {
    auto* voices = child<QComboBox>("ComboBox1");
    EXPECT_EQ(voices->width(), 65);
    EXPECT_EQ(voices->toolTip(), "fake voice 1");
    voices->showPopup();
    QAbstractItemView* view = voices->view();
    for (int position = 0; position < voices->count(); ++position) {
        const QModelIndex item = view->model()->index(position, 0);
        EXPECT_EQ(item.data(Qt::ToolTipRole).toString(),
                  QStringLiteral("fake voice %1").arg(position + 1));
        EXPECT_GE(view->viewport()->width(), view->sizeHintForIndex(item).width()) << position;
    }
    voices->hidePopup();
}

TEST_F(ReadingSettingsGroupTest, ProgramSelectionsTellTheEngineNothing) {
    auto* voices = child<QComboBox>("ComboBox1");
    voices->setFocus();
    QTest::keyClicks(voices, "x");
    EXPECT_EQ(engine.calls, Calls({"SelectVoice(0)"}));

    QTest::mouseClick(child<QPushButton>("restoreVoice"), Qt::LeftButton);
    // Only the button's own call: selecting the first item again runs no handler.
    EXPECT_EQ(engine.calls, Calls({"SelectVoice(0)", "SelectVoice(1)"}));
    EXPECT_EQ(voices->currentIndex(), 0);
    EXPECT_EQ(voices->currentText(), "第1种声音");

    group.setVoiceListEnabled(false);
    EXPECT_FALSE(voices->isEnabled());
}

TEST_F(ReadingSettingsGroupTest, TheSpeedFieldTakesDigitsArrowsAndFocusLoss) {
    auto* speed = child<SpinFieldWidget>("speedField");
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, "5a0x0"); // letters refused
    QTest::keyClick(speed, Qt::Key_Up);
    QTest::mouseClick(speed->findChild<QToolButton*>("downArrow"), Qt::LeftButton);
    EXPECT_EQ(engine.calls, Calls({"Speed=5", "Speed=50", "Speed=500", "Speed=450", "Speed=445"}));
    EXPECT_EQ(speed->text(), "445");

    speed->selectAll();
    QTest::keyClicks(speed, "9999");
    child<SpinFieldWidget>("pitchField")->setFocus();
    EXPECT_EQ(speed->text(), "450");
    EXPECT_EQ(engine.calls.mid(5),
              Calls({"Speed=9", "Speed=99", "Speed=999", "Speed=9999", "Speed=450"}));
}

TEST_F(ReadingSettingsGroupTest, AnEngineErrorGoesToTheErrorBoxAndTheFieldKeepsTheText) {
    RecordingMessagePort port;
    engine.failing = {"VolumeRight"};

    auto* volume = child<SpinFieldWidget>("volumeField");
    volume->setFocus();
    QTest::keyClick(volume, Qt::Key_Backspace);
    QTest::mouseClick(child<QPushButton>("restoreVolume"), Qt::LeftButton);

    EXPECT_EQ(port.errors, QStringList({"VolumeRight failed.", "VolumeRight failed."}));
    EXPECT_EQ(volume->text(), "6553");
    EXPECT_TRUE(engine.calls.isEmpty());
}

} // namespace
} // namespace quorvella
