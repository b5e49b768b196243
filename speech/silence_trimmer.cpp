#include "speech/silence_trimmer.h"

#include <algorithm>
#include <cstdlib>

namespace quorvella {

void SilenceTrimmer::reset() {
    m_heardSound = false;
    m_silence.clear();
}

std::vector<std::int16_t> SilenceTrimmer::take(const std::int16_t* samples, std::size_t count,
                                               int rate) {
    m_rate = rate;
    const auto isSound = [](std::int16_t sample) { return std::abs(int(sample)) > kSilence; };
    const std::int16_t* end = samples + count;
    const auto lastSound =
        std::find_if(std::reverse_iterator(end), std::reverse_iterator(samples), isSound);
    std::vector<std::int16_t> playable;
    if (lastSound == std::reverse_iterator(samples)) { // silence throughout
        m_silence.insert(m_silence.end(), samples, end);
    } else {
        const std::int16_t* soundEnd = lastSound.base();
        const std::int16_t* from = samples;
        if (!m_heardSound) {
            from = std::find_if(samples, end, isSound);
            m_silence.insert(m_silence.end(), samples, from);
            keepLast(std::size_t(rate) * kLeadingMs / 1000);
            m_heardSound = true;
        }
        playable = std::move(m_silence);
        playable.insert(playable.end(), from, soundEnd);
        m_silence.assign(soundEnd, end);
    }
    if (!m_heardSound) { // only the last 20 ms of the leading silence can be needed
        keepLast(std::size_t(rate) * kLeadingMs / 1000);
    }
    return playable;
}

void SilenceTrimmer::keepLast(std::size_t count) {
    if (m_silence.size() > count) {
        m_silence.erase(m_silence.begin(), m_silence.end() - std::ptrdiff_t(count));
    }
}

std::vector<std::int16_t> SilenceTrimmer::finish() {
    std::vector<std::int16_t> tail;
    if (m_heardSound) {
        const std::size_t keep = std::size_t(m_rate) * kTrailingMs / 1000;
        tail.assign(m_silence.begin(),
                    m_silence.begin() + std::ptrdiff_t(std::min(keep, m_silence.size())));
    }
    reset();
    return tail;
}

} // namespace quorvella
