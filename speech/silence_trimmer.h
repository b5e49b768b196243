#pragma once
// Trims the audio of one text as it is made: what comes before its first audible sample to at
// most 10 ms, what comes after its last to at most 100 ms; the pauses inside it stay whole.
// Making the audio and queueing it are the synthesis worker's.

#include "speech/word_span.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvella {

class SilenceTrimmer {
public:
    // A sample whose magnitude is above this is audible (-40 dBFS). Below it lie the faint noise
    // some voices leave in their pauses (flite awb's reaches -42 dBFS) and the quietest edge of a
    // consonant; the 10 ms kept before the first audible sample hold that edge. (A word must be
    // audible within 20 ms of its first frame and within 30 ms of SpeakText: the output's
    // resampling may move its first audible sample by a few milliseconds, and the output takes
    // its first frame up to one tick, 10 ms, after the synthesiser made it.)
    static constexpr int kAudible = 328;
    static constexpr int kLeadingMs = 10;
    static constexpr int kTrailingMs = 100;
    // Where a stretch of quiet audio is cut, it is faded over this much, so that the cut itself
    // makes no click.
    static constexpr int kFadeMs = 5;

    // Starts a new text.
    void reset();

    // Takes the next samples of the text (mono, at rate) and returns those that can be played
    // now: quiet audio is held back until an audible sample follows it or the text ends.
    std::vector<std::int16_t> take(const std::int16_t* samples, std::size_t count, int rate);

    // The text has ended: returns what is kept of the quiet audio at its end, at rate().
    std::vector<std::int16_t> finish();
    int rate() const { return m_rate; }

    // A word starts with the next sample taken. Its mark stays with that sample; where the sample
    // is cut away, with the first sample kept after it.
    void mark(WordSpan word);
    // The marks that the samples last returned by take or finish carry (at: an index into them,
    // or their size for a word whose sound was all cut away at the end).
    std::vector<WordMark> takeMarks();

private:
    void keepLast(std::size_t count);
    std::size_t fadeLength() const { return std::size_t(m_rate) * kFadeMs / 1000; }

    bool m_heardSound = false;
    bool m_leadCut = false; // audio before the first audible sample has been dropped
    int m_rate = 16000;
    std::vector<std::int16_t> m_quiet;  // since the last audible sample; before the first, its
                                        // last 10 ms
    std::vector<WordMark> m_heldMarks;  // at: an index into m_quiet
    std::vector<WordMark> m_readyMarks; // at: an index into the samples last returned
};

} // namespace quorvella
