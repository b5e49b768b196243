#pragma once
// The audio of one engine on its way from the synthesis thread to the engine's output: mono
// chunks in, stereo frames at the output's rate out. When the frames are played is the output's.

#include <QtGlobal>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace quorvella {

struct PcmChunk {
    std::vector<std::int16_t> samples; // mono
    int sampleRate = 16000;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
    bool endOfText = false; // a marker with no samples: the text ends here
};

class PcmQueue {
public:
    // Producer side (any thread). A chunk of an older generation than the current one is
    // dropped: it belongs to a text that has been stopped. Returns false then.
    bool push(PcmChunk chunk, std::uint64_t generation);

    std::uint64_t generation() const { return m_generation.load(); }

    // Drops everything queued and starts a new generation; returns it.
    std::uint64_t clear();

    // Seconds of audio queued and not yet rendered.
    double bufferedSeconds() const;

    // Consumer side (the output's thread). Renders up to frames stereo 16-bit frames at
    // outputRate into out (2 * frames samples) and returns how many it rendered. For each end
    // of text passed, appends the number of frames rendered before it to endsAt.
    qint64 render(std::int16_t* out, qint64 frames, int outputRate, std::vector<qint64>& endsAt);

private:
    mutable std::mutex m_mutex;
    std::deque<PcmChunk> m_chunks;
    double m_position = 0; // in the head chunk, in its samples
    double m_bufferedSeconds = 0;
    std::atomic<std::uint64_t> m_generation{1};
};

} // namespace quorvella
