#pragma once
// What the PulseAudio null sink "quorvella_test" plays, recorded from its monitor with parec, with
// each frame placed on the test's clock. ./test.sh starts the server and sets PULSE_SERVER.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quorvella {

inline constexpr int kRate = 48000;  // the recording's frames per second
inline constexpr int kSpeech = 2000; // speech peaks above this
// A sample above this is audible (-54 dBFS): the fading tail of a word is, silence is not.
inline constexpr int kAudible = 64;
// How far a time read from the recording may be off: the sink renders a little ahead of its
// clock (its latency, about 10 ms here) and the monitor hands frames on as they are rendered.
inline constexpr double kClockSlackMs = 20;
// Stop and pause are silent this soon on the recording.
inline constexpr double kCutMs = 40;

// How long interleaved stereo frames at kRate sound, from their first audible sample to their
// last, in milliseconds: a capture's length to compare with a recording's.
inline double audibleMs(const std::vector<std::int16_t>& frames) {
    std::size_t first = frames.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i + 1 < frames.size(); i += 2) {
        if (std::max(std::abs(int(frames[i])), std::abs(int(frames[i + 1]))) > kAudible) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    }
    return first < last ? double(last - first) * 1000.0 / kRate : 0.0;
}

// How the recorder asks the server for its frames. A recorder that asks for a low latency makes
// the server play at that latency too; one that asks nothing lets it run at its default, high
// latency, as an ordinary recording program does on many desktops.
enum class RecordingLatency { Low, ServerDefault };

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
    QString start(RecordingLatency latency = RecordingLatency::Low) {
        QObject::connect(&m_parec, &QProcess::readyReadStandardOutput, [this] { read(); });
        QStringList arguments = {QStringLiteral("-d"),
                                 QStringLiteral("quorvella_test.monitor"),
                                 QStringLiteral("--format=s16le"),
                                 QStringLiteral("--rate=48000"),
                                 QStringLiteral("--channels=2"),
                                 QStringLiteral("--raw")};
        if (latency == RecordingLatency::Low) {
            arguments << QStringLiteral("--latency-msec=10");
        }
        m_parec.start(QStringLiteral("parec"), arguments);
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
    double firstAudible(double fromMs) const { return find(fromMs, kAudible, true); }
    double lastAudible(double fromMs) const { return find(fromMs, kAudible, false); }

    // The runs of sound from frame on: stretches of samples above `above` that no stretch of
    // gapMs or more at or below it divides, as [first, last] times.
    std::vector<std::pair<double, double>> soundRuns(qint64 from, double gapMs,
                                                     int above = kAudible) const {
        std::vector<std::pair<double, double>> runs;
        const auto gap = qint64(gapMs * kRate / 1000);
        qint64 last = -1;
        for (qint64 f = from; f < frameCount(); ++f) {
            if (sampleAt(f) <= above) {
                continue;
            }
            if (last < 0 || f - last >= gap) {
                runs.emplace_back(timeOf(f), timeOf(f));
            }
            runs.back().second = timeOf(f);
            last = f;
        }
        return runs;
    }

    // The first and the last audible sample between two times.
    std::pair<double, double> audibleWithin(double fromMs, double toMs) const {
        double first = toMs;
        double last = fromMs;
        for (qint64 f = frameAt(fromMs); f < frameAt(toMs + 1); ++f) {
            if (sampleAt(f) > kAudible) {
                first = std::min(first, timeOf(f));
                last = timeOf(f);
            }
        }
        return {first, last};
    }

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

// Runs the event loop until done() or until timeoutMs have passed on clock; returns done().
template <typename Done>
bool runEventsUntil(const QElapsedTimer& clock, const Done& done, double timeoutMs) {
    QTimer wake; // the loop looks at done() at least this often
    wake.start(2);
    const double until = double(clock.nsecsElapsed()) / 1e6 + timeoutMs;
    while (!done() && double(clock.nsecsElapsed()) / 1e6 < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

} // namespace quorvella
