#pragma once
// Trims the audio of one text as it is made: the silence before its first sound to at most
// 20 ms, the silence after its last sound to at most 100 ms; the pauses inside it stay. Making
// the audio and queueing it are the synthesis worker's.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvella {

class SilenceTrimmer {
public:
    // A sample whose magnitude is at most this is silence (-54 dBFS): the faint noise a voice
    // leaves in its pauses is, a fading sound is not until it falls this low.
    static constexpr int kSilence = 64;
    static constexpr int kLeadingMs = 20;
    static constexpr int kTrailingMs = 100;

    // Starts a new text.
    void reset();

    // Takes the next samples of the text (mono, at rate) and returns those that can be played
    // now: silence is held back until a sound follows it or the text ends.
    std::vector<std::int16_t> take(const std::int16_t* samples, std::size_t count, int rate);

    // The text has ended: returns what is kept of the silence at its end, at rate().
    std::vector<std::int16_t> finish();
    int rate() const { return m_rate; }

private:
    void keepLast(std::size_t count);

    bool m_heardSound = false;
    int m_rate = 16000;
    std::vector<std::int16_t> m_silence; // since the last sound; before the first, its last 20 ms
};

} // namespace quorvella
