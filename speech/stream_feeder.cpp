#include "speech/stream_feeder.h"

#include <algorithm>

namespace quorvella {

namespace {

constexpr qint64 kBytesPerFrame = 4;
// On the clock, audio is taken this far ahead of what has been played, as a stream would hold it.
constexpr qint64 kClockAheadFrames = StreamFeeder::kRate / 10;

} // namespace

StreamFeeder::StreamFeeder(AudioDevice* device, Report report)
    : m_device(device), m_report(std::move(report)) {}

void StreamFeeder::setState(bool active, bool paused) {
    ++m_changes;
    m_active = active;
    m_paused = paused;
    if (active) {
        m_idleSince = -1;
    }
}

void StreamFeeder::drop(std::uint64_t generation) {
    ++m_changes;
    observe(generation);
}

void StreamFeeder::tick(qint64 nowUSecs) {
    if (m_sink == Sink::Clock && !m_paused) {
        m_clockFrames += double(nowUSecs - m_clockAt) * kRate / 1e6;
    }
    m_clockAt = nowUSecs;
    m_now = nowUSecs;
    if (!m_active && m_idleSince < 0) {
        m_idleSince = nowUSecs;
    }
    if (m_sink == Sink::Stream) {
        if (m_device->isOpen()) {
            played();
        } else {
            // The sound server went away with the stream: what it held is lost, and the rest
            // plays on the clock from what was played, so that every text still comes to its end.
            m_sink = Sink::Clock;
            m_clockFrames = double(m_lastPlayed);
        }
    }
    if (m_queue != nullptr) {
        observe(m_queue->generation()); // a stop since the last tick
    }
    const std::uint64_t changes = m_changes;
    if (!report() || m_changes != changes) {
        return;
    }
    write();
    closeIfDrained();
}

void StreamFeeder::openSink() {
    m_sink = m_device != nullptr && m_device->open(kStreamBufferBytes) ? Sink::Stream : Sink::Clock;
    startSink();
}

// A stream that holds audio of a stopped text is replaced by a new one, opened before the old
// is closed.
void StreamFeeder::reopenStream() {
    m_sink = m_device->reopen(kStreamBufferBytes) ? Sink::Stream : Sink::None;
    startSink();
}

// The sink just opened has been given nothing and has played nothing.
void StreamFeeder::startSink() {
    m_suspended = false;
    m_primed = false;
    m_inText = false;
    m_written = 0;
    m_audioEnd = 0;
    m_lastPlayed = 0;
    m_clockFrames = 0;
    m_clockAt = m_now;
    m_events.clear();
}

void StreamFeeder::closeSink() {
    if (m_sink == Sink::Stream) {
        m_device->close();
    }
    m_sink = Sink::None;
    m_events.clear();
}

// A newer generation than the sink's audio means the speech was stopped: the events of the older
// audio go, and a sink that still holds some of it is replaced (a stream) or closed (the clock),
// which drops it at once.
void StreamFeeder::observe(std::uint64_t generation) {
    if (generation <= m_generation) {
        return;
    }
    m_generation = generation;
    m_events.clear();
    if (m_sink != Sink::None && played() < m_audioEnd) {
        ++m_changes;
        if (m_sink == Sink::Stream) {
            reopenStream();
        } else {
            closeSink();
        }
    }
}

qint64 StreamFeeder::played() {
    switch (m_sink) {
    case Sink::None:
        break;
    case Sink::Stream:
        m_lastPlayed = std::min(m_device->processedUSecs() * kRate / 1'000'000, m_written);
        break;
    case Sink::Clock:
        m_clockFrames = std::min(m_clockFrames, double(m_written)); // a silence owes nothing
        m_lastPlayed = qint64(m_clockFrames);
        break;
    }
    return m_lastPlayed;
}

// Reports each end of text once the frames before it have been played, each word once its first
// frame is. Returns false when a handler of the report changed what is played.
bool StreamFeeder::report() {
    if (m_events.empty()) {
        return true;
    }
    const qint64 frames = played();
    while (!m_events.empty() && m_events.front().frame <= frames) {
        const Pending pending = m_events.front();
        m_events.pop_front();
        const std::uint64_t changes = m_changes;
        m_report(pending.event, pending.generation);
        if (m_changes != changes) {
            return false;
        }
    }
    return true;
}

// Writes to the sink the queue's audio while speech is in flight, and silence to keep the stream
// playing. Before the first audio of a new stream nothing is written, so that the first word is
// not held back behind silence.
void StreamFeeder::write() {
    if (m_sink == Sink::None) {
        if (!m_active || m_paused) {
            return;
        }
        openSink();
    }
    if (m_sink == Sink::Stream && m_paused != m_suspended) {
        if (m_paused) {
            m_device->suspend();
        } else {
            m_device->resume();
        }
        m_suspended = m_paused;
    }
    if (m_paused) {
        return;
    }
    const qint64 room = m_sink == Sink::Stream ? m_device->bytesFree() / kBytesPerFrame
                                               : played() + kClockAheadFrames - m_written;
    if (room <= 0) {
        return;
    }
    m_buffer.resize(std::size_t(room) * 2);
    std::vector<PcmEvent> events;
    std::uint64_t generation = m_generation;
    const qint64 rendered = m_active && m_queue != nullptr
                                ? m_queue->render(m_buffer.data(), room, events, &generation)
                                : 0;
    const bool audio = rendered > 0 || !events.empty();
    if (audio && generation != m_generation) {
        // A stop came between the last look at the queue and this audio of the next text.
        observe(generation);
        if (m_sink == Sink::None) {
            openSink();
        }
    }
    m_primed = m_primed || audio;
    if (rendered > 0) {
        m_inText = true;
    }
    if (!events.empty() && events.back().endOfText && events.back().frame == rendered) {
        m_inText = false;
    }
    const qint64 frames = framesToWrite(room, rendered);
    if (frames == 0) {
        return;
    }
    std::fill(m_buffer.begin() + std::ptrdiff_t(rendered) * 2,
              m_buffer.begin() + std::ptrdiff_t(frames) * 2, std::int16_t(0));
    for (const PcmEvent& event : events) {
        m_events.push_back({m_written + event.frame, event, generation});
    }
    if (rendered > 0) {
        m_audioEnd = m_written + rendered;
    }
    if (m_sink == Sink::Stream) {
        const qint64 bytes = m_device->write(reinterpret_cast<const char*>(m_buffer.data()),
                                             frames * kBytesPerFrame);
        m_written += std::max<qint64>(bytes, 0) / kBytesPerFrame;
    } else {
        m_written += frames;
    }
}

// How much of the room to write, the audio rendered first and silence after it. Inside a text
// nothing but its audio is written: silence there would be a gap in it. Between texts, a stream
// that has not started or has run dry plays only once it holds a whole buffer, so it is given
// silence to the whole buffer; one that plays is kept only kLeadFrames ahead with silence, so
// that the next text is heard at once.
qint64 StreamFeeder::framesToWrite(qint64 room, qint64 rendered) {
    if (m_sink != Sink::Stream || !m_primed || m_inText) {
        return rendered;
    }
    const qint64 frames = played();
    if (frames == 0 || frames >= m_written) {
        return room;
    }
    const qint64 held = m_device->bufferSize() / kBytesPerFrame - room;
    return std::max(rendered, std::min(room, kLeadFrames - held));
}

// A sink is closed once the speech has ended, all its audio has been played and every event
// reported: on the clock at once, a stream after it has lingered.
void StreamFeeder::closeIfDrained() {
    if (m_sink == Sink::None || m_active || !m_events.empty() || played() < m_audioEnd) {
        return;
    }
    if (m_sink == Sink::Clock || m_now - m_idleSince >= kLingerUSecs) {
        closeSink();
    }
}

} // namespace quorvella
