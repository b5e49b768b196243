// The engine on a real sound server: what the learner hears, recorded from the monitor of the
// PulseAudio null sink that ./test.sh starts, and when the end of each text is reported.

#include "speech/device_audio_output.h"
#include "speech/local_speech_engine.h"
#include "speech/speech_engine_factory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace quorvella {
namespace {

constexpr int kRate = 48000;  // the recording's frames per second
constexpr int kSpeech = 2000; // speech peaks above this
// A sample above this is audible (-54 dBFS): the fading tail of a word is, silence is not.
constexpr int kAudible = 64;
// The end of a text is reported this long after its last audible sample at most.
constexpr double kEndReportMs = 150;
// How far a time read from the recording may be off: the sink renders a little ahead of its
// clock (its latency, about 10 ms here) and the monitor hands frames on as they are rendered.
constexpr double kClockSlackMs = 20;
// Stop and pause are silent this soon on the recording.
constexpr double kCutMs = 40;

const QString kLongText = QStringLiteral(
    "The library opens at eight in the morning. Students come in quietly and find a seat near "
    "the windows. Some of them read newspapers, others study for their examinations.");

// Records the null sink's monitor with parec. Each frame's time on the test's clock comes from
// when the frames arrive: frame n was rendered no later than it arrived, and the earliest
// arrival relative to its position is the tightest such bound, so that bound calibrates.
class MonitorRecording {
public:
    explicit MonitorRecording(const QElapsedTimer& clock) : m_clock(clock) {}
    ~MonitorRecording() {
        if (m_parec.state() != QProcess::NotRunning) {
            m_parec.kill();
            m_parec.waitForFinished(2000);
        }
    }

    // Returns an empty string once the recording runs, else why it does not.
    QString start() {
        QObject::connect(&m_parec, &QProcess::readyReadStandardOutput, [this] { read(); });
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("-d"), QStringLiteral("quorvella_test.monitor"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--rate=48000"),
                       QStringLiteral("--channels=2"), QStringLiteral("--raw"),
                       QStringLiteral("--latency-msec=10")});
        if (!m_parec.waitForStarted(3000)) {
            return QStringLiteral("parec cannot be started: ") + m_parec.errorString();
        }
        QElapsedTimer waited;
        waited.start();
        while (frameCount() < kRate / 4 && waited.elapsed() < 3000 &&
               m_parec.state() == QProcess::Running) {
            m_parec.waitForReadyRead(10);
        }
        if (frameCount() < kRate / 4) {
            return QStringLiteral("parec records nothing from quorvella_test.monitor: ") +
                   QString::fromLocal8Bit(m_parec.readAllStandardError()).trimmed();
        }
        return {};
    }

    qint64 frameCount() const { return qint64(m_samples.size() / 2); }

    // When the sink rendered frame n, in milliseconds of the test's clock, and back.
    double timeOf(qint64 frame) const { return m_offsetMs + double(frame) * 1000.0 / kRate; }
    qint64 frameAt(double ms) const {
        return std::clamp(qint64(std::llround((ms - m_offsetMs) * kRate / 1000.0)), qint64(0),
                          frameCount());
    }

    // The largest absolute sample between two times.
    int peak(double fromMs, double toMs) const {
        int result = 0;
        for (qint64 f = frameAt(fromMs); f < frameAt(toMs); ++f) {
            result = std::max(result, sampleAt(f));
        }
        return result;
    }

    // The time of the first sample of speech and of the last audible sample after fromMs; NaN
    // when there is none.
    double firstSpeech(double fromMs) const { return find(fromMs, kSpeech, true); }
    double lastAudible(double fromMs) const { return find(fromMs, kAudible, false); }

    // The loudness of 20 ms blocks between two times, for failure messages.
    std::string envelope(double fromMs, double toMs) const {
        std::string text;
        for (double t = fromMs; t < toMs; t += 20) {
            text += std::to_string(peak(t, t + 20)) + ' ';
        }
        return text;
    }

private:
    int sampleAt(qint64 frame) const {
        return std::max(std::abs(int(m_samples[std::size_t(2 * frame)])),
                        std::abs(int(m_samples[std::size_t(2 * frame + 1)])));
    }

    double find(double fromMs, int above, bool first) const {
        double found = std::numeric_limits<double>::quiet_NaN();
        for (qint64 f = frameAt(fromMs); f < frameCount(); ++f) {
            if (sampleAt(f) > above) {
                found = timeOf(f);
                if (first) {
                    break;
                }
            }
        }
        return found;
    }

    void read() {
        m_pending += m_parec.readAllStandardOutput();
        const qsizetype whole = m_pending.size() / 4 * 4;
        const auto* data = reinterpret_cast<const std::int16_t*>(m_pending.constData());
        m_samples.insert(m_samples.end(), data, data + whole / 2);
        m_pending.remove(0, whole);
        const double arrived = double(m_clock.nsecsElapsed()) / 1e6;
        m_offsetMs = std::min(m_offsetMs, arrived - double(frameCount()) * 1000.0 / kRate);
    }

    const QElapsedTimer& m_clock;
    QProcess m_parec;
    QByteArray m_pending;
    std::vector<std::int16_t> m_samples; // interleaved left, right
    double m_offsetMs = std::numeric_limits<double>::max();
};

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
        ASSERT_NE(dynamic_cast<DeviceAudioOutput*>(&m_engine->output()), nullptr)
            << "the engine does not play on the PulseAudio server that the recording hears";
        QObject::connect(m_engine, &SpeechEngine::TextDataDone,
                         [this] { m_doneAt.push_back(now()); });
    }

    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    // Runs the event loop until done() or the timeout; returns done().
    template <typename Done>
    bool runUntil(Done done, int timeoutMs) {
        QTimer wake; // the loop looks at done() at least this often
        wake.start(2);
        const double until = now() + timeoutMs;
        while (!done() && now() < until) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        return done();
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
