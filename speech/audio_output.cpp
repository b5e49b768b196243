#include "speech/audio_output.h"

#include <algorithm>

namespace quorvella {

ClockedAudioOutput::ClockedAudioOutput(double clockRate, QObject* parent)
    : AudioOutput(parent), m_clockRate(clockRate) {
    // A child by name, so that a test can ask whether the output is playing its clock.
    m_timer.setParent(this);
    m_timer.setObjectName(QStringLiteral("playClock"));
    m_timer.setInterval(10);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ClockedAudioOutput::tick);
}

// Frames are played as they are taken, so there is nothing held back to drop.
void ClockedAudioOutput::playingChanged() {
    if (isPlaying() && !m_timer.isActive()) {
        m_clock.start();
        m_due = 0;
        m_timer.start();
    } else if (!isPlaying()) {
        m_timer.stop();
    }
}

void ClockedAudioOutput::tick() {
    const double elapsed = double(m_clock.nsecsElapsed()) / 1e9;
    m_clock.restart();
    m_due += elapsed * kSampleRate * m_clockRate;
    auto frames = qint64(m_due);
    m_due -= double(frames);
    // The frames due are taken a slice at a time, so that the buffer stays small however long
    // the tick was late and however fast the clock runs; once the queue runs dry, the rest of the
    // time due is silence, and once a handler has paused the output, it waits.
    while (frames > 0 && m_queue != nullptr && isPlaying()) {
        const qint64 slice = std::min(frames, kSliceFrames);
        frames -= slice;
        if (!renderSlice(slice)) {
            return;
        }
    }
}

bool ClockedAudioOutput::renderSlice(qint64 frames) {
    m_buffer.resize(std::size_t(frames) * 2);
    std::vector<PcmEvent> events;
    const qint64 rendered = m_queue->render(m_buffer.data(), frames, events);
    // Each end of text and each word is reported once the frames before it have been played, and
    // not before those after it: a capture sees exactly where each text ends and each word starts.
    // The frames of one tick stand for the time since the last, so a word is reported at most one
    // tick after its moment.
    // A handler that stops the speech drops what this tick took after its event.
    const std::uint64_t generation = m_queue->generation();
    qint64 done = 0;
    for (const PcmEvent& event : events) {
        if (event.frame > done) {
            played(m_buffer.data() + 2 * done, event.frame - done);
            done = event.frame;
        }
        if (event.endOfText) {
            emit textPlayed();
        } else {
            emit wordPlayed(event.word);
        }
        if (m_queue == nullptr || m_queue->generation() != generation) {
            return false;
        }
    }
    if (rendered > done) {
        played(m_buffer.data() + 2 * done, rendered - done);
    }
    return rendered == frames;
}

void CaptureAudioOutput::played(const std::int16_t* data, qint64 count) {
    frames.insert(frames.end(), data, data + count * 2);
}

} // namespace quorvella
