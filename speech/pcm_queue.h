#pragma once
// The audio of one engine on its way from the synthesis thread to the engine's output: mono
// chunks in, resampled as they come to stereo frames at the output rate, taken out by the output.
// When the frames are played is the output's.

#include "speech/word_span.h"

#include <QtGlobal>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace quorvella {

struct PcmChunk {
    std::vector<std::int16_t> samples; // mono
    int sampleRate = 16000;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
    bool endOfText = false; // a marker with no samples: the text ends here (rate, gains unused)
    std::vector<WordMark> marks{}; // words starting at these samples (at may be samples.size())
};

// What an output meets while it renders: after frame frames of the rendered audio, the end of a
// text or the start of a word.
struct PcmEvent {
    qint64 frame = 0;
    bool endOfText = false;
    WordSpan word; // unless endOfText

    bool operator==(const PcmEvent&) const = default;
};

class PcmQueue {
public:
    static constexpr int kOutputRate = 48000; // stereo 16-bit frames

    PcmQueue();
    ~PcmQueue();
    PcmQueue(const PcmQueue&) = delete;
    PcmQueue& operator=(const PcmQueue&) = delete;

    // Producer side (any thread). A chunk of an older generation than the current one is
    // dropped: it belongs to a text that has been stopped. Returns false then.
    //
    // The samples of one text go through one resampler whose state is kept from chunk to chunk
    // (a filter needs the samples on both sides of a chunk's edge), so a few milliseconds of
    // each chunk come out with the next one. The end of a text brings out the rest, and the next
    // text starts afresh, at its own rate. The gains of a text's last chunk apply to that rest.
    bool push(PcmChunk chunk, std::uint64_t generation);

    std::uint64_t generation() const { return m_generation.load(); }

    // Drops everything queued, and what the resampler holds, and starts a new generation;
    // returns it.
    std::uint64_t clear();

    // Seconds of audio queued and not yet rendered, what the resampler holds included.
    double bufferedSeconds() const;

    // Consumer side (the output's thread). Renders up to frames stereo 16-bit frames at
    // kOutputRate into out (2 * frames samples) and returns how many it rendered. Lists in order
    // the ends of text passed and the words whose first frame is reached, each at the number of
    // frames rendered before it. A word's frame is its first sample's moment resampled, so it is
    // exact to the output frame. generation, when given, is set to the generation the audio
    // rendered belongs to.
    qint64 render(std::int16_t* out, qint64 frames, std::vector<PcmEvent>& events,
                  std::uint64_t* generation = nullptr);

private:
    class Resampler;
    struct Block {
        std::vector<std::int16_t> frames; // interleaved left, right
        bool endOfText = false;           // a marker with no frames
        std::vector<WordMark> marks{};    // at: a frame of this block, or its size
        std::size_t nextMark = 0;         // the first mark not yet rendered
    };
    void placeMarks(const PcmChunk& chunk);

    // The producer's side: the resampler and the text it is in, one push at a time. A stop does
    // not wait for it: the resampler is reset by the next push of the new generation.
    std::mutex m_producerMutex;
    std::unique_ptr<Resampler> m_resampler;
    std::uint64_t m_resamplerGeneration = 0;
    float m_gainLeft = 1.0F;
    float m_gainRight = 1.0F;
    std::vector<float> m_resampled;
    // Where the text's words fall in its output: frames of the text made so far, the frame at
    // which the resampler's present run of input started, and the input samples of that run.
    qint64 m_textFrames = 0;
    qint64 m_runStart = 0;
    qint64 m_runInput = 0;
    std::vector<WordMark> m_pendingMarks; // at: a frame of the text not yet made

    // What the output takes from.
    mutable std::mutex m_mutex;
    std::deque<Block> m_blocks;
    std::size_t m_position = 0; // frames of the head block already rendered
    qint64 m_queuedFrames = 0;  // frames in the blocks not yet rendered
    double m_heldFrames = 0;    // output frames the resampler holds back
    std::atomic<std::uint64_t> m_generation{1};
};

} // namespace quorvella
