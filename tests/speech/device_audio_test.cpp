// The engine on a real sound server: what the learner hears, recorded from the monitor of the
// PulseAudio null sink that ./test.sh starts, and when the end of each text is reported.

#include "speech/audio_output.h"
#include "speech/device_audio_output.h"
#include "speech/first_play_audio_output.h"
#include "speech/local_speech_engine.h"
#include "speech/speech_engine_factory.h"
#include "tests/support/monitor_recording.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace quorvella {
namespace {

// The end of a text is reported this long after its last audible sample at most.
constexpr double kEndReportMs = 150;

const QString kLongText = QStringLiteral(
    "The library opens at eight in the morning. Students come in quietly and find a seat near "
    "the windows. Some of them read newspapers, others study for their examinations.");

class DeviceAudio : public testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
            GTEST_SKIP() << "no PulseAudio server for the tests: PULSE_SERVER is not set "
                            "(./test.sh starts one with a null sink)";
        }
        m_clock.start();
        m_recording = std::make_unique<MonitorRecording>(m_clock);
        const QString problem = m_recording->start();
        if (!problem.isEmpty()) {
            GTEST_SKIP() << "the PulseAudio server cannot be recorded: " << problem.toStdString();
        }
        m_speech = createSpeechEngine();
        m_engine = dynamic_cast<LocalSpeechEngine*>(m_speech.get());
        ASSERT_NE(m_engine, nullptr);
        ASSERT_NE(DeviceAudioOutput::open(), nullptr)
            << "the PulseAudio server that the recording hears cannot be played on";
        QObject::connect(m_engine, &SpeechEngine::TextDataDone,
                         [this] { m_doneAt.push_back(now()); });
    }

    void TearDown() override {
        // The engine chose its output when it first played: the device, whose sound was heard.
        if (m_engine != nullptr) {
            if (const auto* first = dynamic_cast<FirstPlayAudioOutput*>(&m_engine->output());
                first != nullptr && first->chosen() != nullptr) {
                EXPECT_NE(dynamic_cast<DeviceAudioOutput*>(first->chosen()), nullptr);
            }
        }
    }

    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    // Runs the event loop until done() or the timeout; returns done().
    template <typename Done>
    bool runUntil(Done done, int timeoutMs) {
        return runEventsUntil(m_clock, done, timeoutMs);
    }
    void runFor(int ms) {
        runUntil([] { return false; }, ms);
    }
    // Runs until speech is recorded after fromMs; returns when it was, or NaN.
    double waitUntilHeard(double fromMs) {
        runUntil([&] { return !std::isnan(m_recording->firstSpeech(fromMs)); }, 5000);
        return m_recording->firstSpeech(fromMs);
    }
    // Runs until the recording reaches the time ms.
    void recordUntil(double ms) {
        runUntil([&] { return m_recording->timeOf(m_recording->frameCount()) > ms; },
                 int(ms - now()) + 2000);
    }

    // The text spoken from fromMs is heard, its end is reported once, and that report comes
    // when its last audible sample has just been played.
    void expectHeardAndEndReported(double fromMs) {
        ASSERT_TRUE(runUntil([&] { return !m_doneAt.empty(); }, 15000))
            << "no TextDataDone; loudest sample since the text was spoken: "
            << m_recording->peak(fromMs, now());
        const double done = m_doneAt.front();
        recordUntil(done + 400);
        EXPECT_EQ(m_doneAt.size(), 1U);
        ASSERT_GT(m_recording->peak(fromMs, done + 400), kSpeech)
            << "the text was not heard, but its end was reported";
        const double last = m_recording->lastAudible(fromMs);
        EXPECT_GE(done - last, -kClockSlackMs) << "the end was reported before the sound ended";
        EXPECT_LE(done - last, kEndReportMs) << "the end was reported late";
        if (HasFailure()) {
            ADD_FAILURE() << "loudness from 200 ms before the last sound, in 20 ms blocks: "
                          << m_recording->envelope(last - 200, done + 100);
        }
    }

    QElapsedTimer m_clock;
    std::unique_ptr<MonitorRecording> m_recording;
    std::unique_ptr<SpeechEngine> m_speech;
    LocalSpeechEngine* m_engine = nullptr;
    std::vector<double> m_doneAt; // when each TextDataDone came
};

// Loading a lesson stops the engine; reading it aloud stops it again and speaks.
TEST_F(DeviceAudio, ALessonReadAfterTwoStopsIsHeardAndEnds) {
    m_engine->StopSpeech();
    runFor(1000);
    m_engine->StopSpeech();
    const double spoken = now();
    m_engine->SpeakText(QStringLiteral("Hello, this is a test of the voice."));
    expectHeardAndEndReported(spoken);
}

// A word is chosen while the last one is still being spoken: the last stops, the new one is
// heard to its end.
TEST_F(DeviceAudio, AWordSpokenOverAnotherCutsItAndIsHeard) {
    const double first = now();
    m_engine->SpeakText(kLongText);
    const double heard = waitUntilHeard(first);
    ASSERT_FALSE(std::isnan(heard)) << "the first text was not heard";
    runUntil([&] { return now() > heard + 600; }, 2000);
    m_engine->StopSpeech();
    const double second = now();
    m_engine->SpeakText(QStringLiteral("library"));
    expectHeardAndEndReported(second);
    // The long text would go on for seconds; the word takes well under one.
    EXPECT_LT(m_recording->lastAudible(second) - second, 1500);
}

TEST_F(DeviceAudio, PauseIsSilentAndContinueGoesOnToTheEnd) {
    const double spoken = now();
    m_engine->SpeakText(kLongText);
    const double heard = waitUntilHeard(spoken);
    ASSERT_FALSE(std::isnan(heard)) << "the text was not heard";
    runUntil([&] { return now() > heard + 800; }, 2000);
    m_engine->PauseSpeech();
    const double paused = now();
    runFor(1000);
    m_engine->ResumeSpeech();
    const double resumed = now();
    recordUntil(resumed);
    EXPECT_LE(m_recording->peak(paused + kCutMs, resumed - kClockSlackMs), kAudible)
        << "heard while paused: " << m_recording->envelope(paused - 100, resumed + 100);
    EXPECT_TRUE(m_doneAt.empty());
    const double heardAgain = waitUntilHeard(resumed);
    ASSERT_FALSE(std::isnan(heardAgain)) << "not heard after continue";
    EXPECT_LT(heardAgain - resumed, 150)
        << "heard late after continue: " << m_recording->envelope(resumed - 100, resumed + 500);
    expectHeardAndEndReported(resumed);
}

// The GUI thread busy for half a second while a text is read: what is heard has no gap, as long
// from its first sound to its last as the text was made.
TEST_F(DeviceAudio, AStallOfTheGuiThreadLeavesNoGap) {
    double made = 0;
    {
        auto output = std::make_unique<CaptureAudioOutput>(25.0);
        CaptureAudioOutput* capture = output.get();
        LocalSpeechEngine alone(std::move(output));
        int done = 0;
        QObject::connect(&alone, &SpeechEngine::TextDataDone, [&] { ++done; });
        alone.SpeakText(kLongText);
        ASSERT_TRUE(runUntil([&] { return done > 0; }, 10000));
        made = audibleMs(capture->frames);
    }
    const double spoken = now();
    m_engine->SpeakText(kLongText);
    const double heard = waitUntilHeard(spoken);
    ASSERT_FALSE(std::isnan(heard)) << "the text was not heard";
    runUntil([&] { return now() > heard + 1000; }, 2000);
    QThread::msleep(500);
    expectHeardAndEndReported(spoken);
    const double length = m_recording->lastAudible(spoken) - m_recording->firstAudible(spoken);
    EXPECT_NEAR(length, made, 30) << "a gap in what was heard";
}

TEST_F(DeviceAudio, StopIsSilentAtOnceAndReportsNoEnd) {
    const double spoken = now();
    m_engine->SpeakText(kLongText);
    const double heard = waitUntilHeard(spoken);
    ASSERT_FALSE(std::isnan(heard)) << "the text was not heard";
    runUntil([&] { return now() > heard + 800; }, 2000);
    m_engine->StopSpeech();
    const double stopped = now();
    recordUntil(stopped + 1500);
    EXPECT_LE(m_recording->peak(stopped + kCutMs, stopped + 1500), kAudible)
        << "heard after the stop: " << m_recording->envelope(stopped - 100, stopped + 400);
    EXPECT_TRUE(m_doneAt.empty());
}

// No order of calls leaves the output unable to play: after random speaking, pausing,
// continuing and stopping, the engine is heard again and reports the end.
TEST_F(DeviceAudio, AfterRandomCallsTheNextTextIsHeardAndEnds) {
    const QStringList words = {QStringLiteral("apple"), QStringLiteral("Good morning."), kLongText,
                               QString()};
    std::mt19937 random(7);
    for (int step = 0; step < 300; ++step) {
        switch (random() % 5) {
        case 0:
        case 1:
            m_engine->SpeakText(words.at(int(random() % words.size())));
            break;
        case 2:
            m_engine->PauseSpeech();
            break;
        case 3:
            m_engine->ResumeSpeech();
            break;
        case 4:
            m_engine->StopSpeech();
            break;
        }
        runFor(int(random() % 30));
    }
    m_engine->ResumeSpeech();
    m_engine->StopSpeech();
    m_doneAt.clear();
    const double spoken = now();
    m_engine->SpeakText(QStringLiteral("Hello, this is a test of the voice."));
    expectHeardAndEndReported(spoken);
}

} // namespace
} // namespace quorvella
