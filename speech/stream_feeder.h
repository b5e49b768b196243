#pragma once
// Keeps a sound device's stream fed from an engine's queue and tells what has been played: opens
// a stream when speech starts, writes the queue's audio and silence after it, reports each end of
// text and each word once the server has played up to it, drops what the server holds of a
// stopped text, and closes a stream only once the server has played all the audio written to it.
// Without a stream it plays on a clock, unheard. When it is called, and on which thread, is left
// to its owner.

#include "speech/audio_device.h"
#include "speech/pcm_queue.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace quorvella {

class StreamFeeder {
public:
    // An end of text or a word of the queue's audio has been played; generation is the queue's
    // generation that audio belongs to.
    using Report = std::function<void(const PcmEvent& event, std::uint64_t generation)>;

    static constexpr int kRate = PcmQueue::kOutputRate; // stereo 16-bit frames
    // What a stream asks the server to hold ahead of what it plays: 100 ms, of which about 70
    // are granted. A text's audio fills it; the owner calls tick() well within that. More would
    // make a stop slower on servers that size their cycle by it.
    static constexpr qsizetype kStreamBufferBytes = kRate * 4 / 10;
    // Between texts the stream is kept this far ahead of what is played with silence, no more,
    // so that the next text is heard at once.
    static constexpr qint64 kLeadFrames = kRate / 25;
    // A stream whose audio has all been played is kept open this long after the speech ends, so
    // that words in quick succession need no new stream.
    static constexpr qint64 kLingerUSecs = 1'000'000;

    // device may be nullptr: the feeder then plays on its clock.
    StreamFeeder(AudioDevice* device, Report report);

    void attach(PcmQueue* queue) { m_queue = queue; }

    // What the engine wants: whether speech is in flight, and whether it is paused.
    void setState(bool active, bool paused);
    // The speech was stopped and the queue cleared to generation: what the stream holds of older
    // audio is dropped and its events are not reported.
    void drop(std::uint64_t generation);
    // Moves on to nowUSecs on the owner's monotonic clock: reports what has been played, writes
    // what the stream takes and closes a stream that has played everything and lingered.
    void tick(qint64 nowUSecs);

    // Whether tick() has work: a stream is open, or audio is in flight.
    bool needsTicks() const { return m_sink != Sink::None || (m_active && !m_paused); }
    bool hasStream() const { return m_sink == Sink::Stream; }
    bool playsOnClock() const { return m_sink == Sink::Clock; }

private:
    enum class Sink { None, Stream, Clock };
    struct Pending {
        qint64 frame = 0; // of the stream
        PcmEvent event;
        std::uint64_t generation = 0;
    };

    void openSink();
    void reopenStream();
    void startSink();
    void closeSink();
    void observe(std::uint64_t generation);
    qint64 played();
    bool report();
    void write();
    qint64 framesToWrite(qint64 room, qint64 rendered);
    void closeIfDrained();

    AudioDevice* m_device;
    Report m_report;
    PcmQueue* m_queue = nullptr;
    bool m_active = false;
    bool m_paused = false;

    Sink m_sink = Sink::None;
    bool m_suspended = false;
    bool m_primed = false;          // the stream has had audio: from then on it is kept playing
    bool m_inText = false;          // the audio written ends inside a text
    qint64 m_written = 0;           // frames given to the sink since it was opened
    qint64 m_audioEnd = 0;          // frames given up to the end of the last audio of the queue
    qint64 m_lastPlayed = 0;        // frames played, as last read
    std::uint64_t m_generation = 0; // of the audio the sink has been given
    std::deque<Pending> m_events;   // written, not yet played
    std::vector<std::int16_t> m_buffer;

    qint64 m_now = 0;
    qint64 m_clockAt = 0;        // when the clock last moved
    double m_clockFrames = 0;    // frames the clock has played
    qint64 m_idleSince = -1;     // when the speech stopped being in flight; -1 while it is
    std::uint64_t m_changes = 0; // counts the calls that change what is played, so that a report
                                 // whose handler makes one is noticed
};

} // namespace quorvella
