// The lesson window on a real sound server, as the learner uses it: a lesson is loaded (which
// stops the engine) and read aloud (which stops it again, then speaks). What the null sink of
// ./test.sh plays is recorded from its monitor.

#include "lessons/lesson_window.h"

#include "speech/speech_engine_factory.h"
#include "tests/support/monitor_recording.h"
#include "tests/support/recording_message_port.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(DeviceAudioLessonWindow, ALoadedLessonIsHeardStopSilencesItAndASelectionEnds) {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        GTEST_SKIP() << "no PulseAudio server for the tests: PULSE_SERVER is not set "
                        "(./test.sh starts one with a null sink)";
    }
    const DataFolder sample = DataFolder::application();
    if (!QFile::exists(sample.path(u"textindex.txt"))) {
        GTEST_SKIP() << "the sample course is not beside the tests";
    }
    QElapsedTimer clock;
    clock.start();
    const auto now = [&] { return double(clock.nsecsElapsed()) / 1e6; };
    MonitorRecording recording(clock);
    if (const QString problem = recording.start(); !problem.isEmpty()) {
        GTEST_SKIP() << "the PulseAudio server cannot be recorded: " << problem.toStdString();
    }
    const auto runUntil = [&](const auto& done, double timeoutMs) {
        return runEventsUntil(clock, done, timeoutMs);
    };

    RecordingMessagePort port;
    TForm2 window([] { return createSpeechEngine(); }, sample);
    window.FormCreate();
    window.resize(1000, 700);
    window.show();
    auto button = [&](const char* name) { return window.findChild<QPushButton*>(name); };
    auto idle = [&] { return button("BitBtn1")->isEnabled() && !button("BitBtn5")->isEnabled(); };
    auto* list = window.findChild<QListWidget*>("ListBox1");
    ASSERT_GE(list->count(), 1);
    list->setCurrentRow(0);
    emit list->itemDoubleClicked(list->item(0));
    ASSERT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();

    const double readAll = now();
    QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
    ASSERT_TRUE(runUntil([&] { return !std::isnan(recording.firstSpeech(readAll)); }, 5000))
        << "the lesson is not heard; loudest sample: " << recording.peak(readAll, now());
    runUntil([] { return false; }, 500);

    QTest::mouseClick(button("BitBtn5"), Qt::LeftButton);
    const double stopped = now();
    EXPECT_TRUE(idle());
    runUntil([&] { return recording.timeOf(recording.frameCount()) > stopped + 800; }, 3000);
    EXPECT_LE(recording.peak(stopped + kCutMs, stopped + 800), kAudible)
        << "heard after the stop: " << recording.envelope(stopped - 100, stopped + 400);

    // A word read as a selection is heard, and its end returns the buttons to idle.
    auto* pane = window.findChild<QTextEdit*>("RichEdit2");
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(4);
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    const double readSelection = now();
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(idle());
    ASSERT_TRUE(runUntil(idle, 5000)) << "the end of the selection was not reported";
    EXPECT_GT(recording.peak(readSelection, now()), kSpeech) << "the selection was not heard";
}

} // namespace
} // namespace quorvella
