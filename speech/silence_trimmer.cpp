#include "speech/silence_trimmer.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quorvella {

namespace {

// Scales count samples from first by a straight ramp: rising (fading in) or falling. No sample
// is brought quite to 0 or left quite whole, so a ramp of one sample still lowers it.
void fade(std::int16_t* first, std::size_t count, bool rising) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t step = rising ? i + 1 : count - i;
        first[i] = std::int16_t(int(first[i]) * int(step) / int(count + 1));
    }
}

} // namespace

void SilenceTrimmer::reset() {
    m_heardSound = false;
    m_leadCut = false;
    m_quiet.clear();
    m_heldMarks.clear();
    m_readyMarks.clear();
}

void SilenceTrimmer::mark(WordSpan word) {
    m_heldMarks.push_back({qint64(m_quiet.size()), word});
}

std::vector<WordMark> SilenceTrimmer::takeMarks() {
    return std::exchange(m_readyMarks, {});
}

std::vector<std::int16_t> SilenceTrimmer::take(const std::int16_t* samples, std::size_t count,
                                               int rate) {
    m_rate = rate;
    const auto isAudible = [](std::int16_t sample) { return std::abs(int(sample)) > kAudible; };
    const std::int16_t* end = samples + count;
    const auto lastAudible =
        std::find_if(std::reverse_iterator(end), std::reverse_iterator(samples), isAudible);
    std::vector<std::int16_t> playable;
    m_readyMarks.clear();
    if (lastAudible == std::reverse_iterator(samples)) { // quiet throughout
        m_quiet.insert(m_quiet.end(), samples, end);
    } else {
        const std::int16_t* audibleEnd = lastAudible.base();
        const std::int16_t* from = samples;
        if (!m_heardSound) {
            from = std::find_if(samples, end, isAudible);
            m_quiet.insert(m_quiet.end(), samples, from);
            keepLast(std::size_t(rate) * kLeadingMs / 1000);
            if (m_leadCut) {
                fade(m_quiet.data(), std::min(fadeLength(), m_quiet.size()), true);
            }
            m_heardSound = true;
        }
        // Marks are made between takes, so every held one lies in what is held.
        m_readyMarks = std::exchange(m_heldMarks, {});
        playable = std::move(m_quiet);
        playable.insert(playable.end(), from, audibleEnd);
        m_quiet.assign(audibleEnd, end);
    }
    if (!m_heardSound) { // only the last 10 ms before the first audible sample can be needed
        keepLast(std::size_t(rate) * kLeadingMs / 1000);
    }
    return playable;
}

void SilenceTrimmer::keepLast(std::size_t count) {
    if (m_quiet.size() > count) {
        const auto cut = qint64(m_quiet.size() - count);
        m_quiet.erase(m_quiet.begin(), m_quiet.end() - std::ptrdiff_t(count));
        m_leadCut = true;
        for (WordMark& mark : m_heldMarks) {
            mark.at = std::max<qint64>(mark.at - cut, 0);
        }
    }
}

std::vector<std::int16_t> SilenceTrimmer::finish() {
    std::vector<std::int16_t> tail;
    if (m_heardSound) {
        const std::size_t keep = std::size_t(m_rate) * kTrailingMs / 1000;
        tail.assign(m_quiet.begin(),
                    m_quiet.begin() + std::ptrdiff_t(std::min(keep, m_quiet.size())));
        if (m_quiet.size() > keep) {
            const std::size_t length = std::min(fadeLength(), tail.size());
            fade(tail.data() + (tail.size() - length), length, false);
        }
    }
    std::vector<WordMark> marks = std::exchange(m_heldMarks, {});
    for (WordMark& mark : marks) {
        mark.at = std::min(mark.at, qint64(tail.size()));
    }
    reset();
    m_readyMarks = std::move(marks);
    return tail;
}

} // namespace quorvella
