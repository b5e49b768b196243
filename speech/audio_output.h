#pragma once
// Where an engine's audio is played: pulls stereo frames from the engine's queue while speech is
// in flight, pauses and resumes, and reports each end of text once its audio has been played and
// each word as its first frame is played.
// Making the audio is the synthesis worker's job.

#include "speech/pcm_queue.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <vector>

namespace quorvella {

class AudioOutput : public QObject {
    Q_OBJECT

public:
    static constexpr int kSampleRate = PcmQueue::kOutputRate; // stereo 16-bit frames

    using QObject::QObject;
    ~AudioOutput() override = default;

    void attach(PcmQueue* queue) { m_queue = queue; }

    // Whether the engine has speech in flight; an output plays only while it has and is not
    // paused.
    void setActive(bool active) {
        m_active = active;
        playingChanged();
    }
    void pause() {
        m_paused = true;
        playingChanged();
    }
    void resume() {
        m_paused = false;
        playingChanged();
    }
    // Drops audio that has left the queue but has not been played yet; ends a pause.
    void drop() {
        m_paused = false;
        dropHeldAudio();
        playingChanged();
    }

    bool isActive() const { return m_active; }
    bool isPaused() const { return m_paused; }
    bool isPlaying() const { return m_active && !m_paused; }

signals:
    void textPlayed();
    // The first frame of a word's sound is being played now.
    void wordPlayed(WordSpan word);

protected:
    // Starts or stops taking audio as isPlaying() says.
    virtual void playingChanged() = 0;
    virtual void dropHeldAudio() {}

    PcmQueue* m_queue = nullptr;

private:
    bool m_active = false;
    bool m_paused = false;
};

// An output that plays by a clock: frames are taken from the queue as time passes, at
// clockRate times real time; a shortage of audio is a moment of silence, not a debt.
class ClockedAudioOutput : public AudioOutput {
    Q_OBJECT

public:
    explicit ClockedAudioOutput(double clockRate, QObject* parent = nullptr);

protected:
    void playingChanged() override;
    // The frames just played.
    virtual void played(const std::int16_t* /*frames*/, qint64 /*count*/) {}

private:
    static constexpr qint64 kSliceFrames = kSampleRate / 10;

    void tick();
    // Plays up to frames frames of the queue and reports their events; false when the queue ran
    // dry or a handler stopped the speech.
    bool renderSlice(qint64 frames);

    double m_clockRate;
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_due = 0; // frames the clock owes, below one
    std::vector<std::int16_t> m_buffer;
};

// No audio device: samples are consumed at real-time pace and not heard. Measurements may run
// its clock fast.
class NullAudioOutput final : public ClockedAudioOutput {
    Q_OBJECT

public:
    explicit NullAudioOutput(double clockRate = 1.0, QObject* parent = nullptr)
        : ClockedAudioOutput(clockRate, parent) {}
};

// Keeps every frame it plays, for tests and measurements; its clock may run fast.
class CaptureAudioOutput final : public ClockedAudioOutput {
    Q_OBJECT

public:
    explicit CaptureAudioOutput(double clockRate = 1.0, QObject* parent = nullptr)
        : ClockedAudioOutput(clockRate, parent) {}

    std::vector<std::int16_t> frames; // interleaved left, right

    qint64 frameCount() const { return qint64(frames.size() / 2); }
    // Seconds of audio made and not yet taken.
    double queuedSeconds() const { return m_queue != nullptr ? m_queue->bufferedSeconds() : 0.0; }

protected:
    void played(const std::int16_t* data, qint64 count) override;
};

} // namespace quorvella
