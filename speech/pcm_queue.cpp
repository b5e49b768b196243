#include "speech/pcm_queue.h"

#include <algorithm>
#include <cmath>

namespace quorvella {

namespace {

std::int16_t scaled(float sample, float gain) {
    return static_cast<std::int16_t>(std::clamp(sample * gain, -32768.0F, 32767.0F));
}

} // namespace

bool PcmQueue::push(PcmChunk chunk, std::uint64_t generation) {
    std::lock_guard lock(m_mutex);
    if (generation != m_generation.load()) {
        return false;
    }
    m_bufferedSeconds += double(chunk.samples.size()) / chunk.sampleRate;
    m_chunks.push_back(std::move(chunk));
    return true;
}

std::uint64_t PcmQueue::clear() {
    std::lock_guard lock(m_mutex);
    m_chunks.clear();
    m_position = 0;
    m_bufferedSeconds = 0;
    return ++m_generation;
}

double PcmQueue::bufferedSeconds() const {
    std::lock_guard lock(m_mutex);
    return m_bufferedSeconds;
}

qint64 PcmQueue::render(std::int16_t* out, qint64 frames, int outputRate,
                        std::vector<qint64>& endsAt) {
    std::lock_guard lock(m_mutex);
    qint64 rendered = 0;
    while (!m_chunks.empty()) {
        PcmChunk& head = m_chunks.front();
        const auto size = std::ptrdiff_t(head.samples.size());
        if (head.endOfText || m_position >= double(size)) {
            if (head.endOfText) {
                endsAt.push_back(rendered);
            }
            m_position = std::max(0.0, m_position - double(size));
            m_chunks.pop_front();
            continue;
        }
        if (rendered == frames) {
            break;
        }
        // Linear interpolation from the chunk's rate to the output's.
        const double step = double(head.sampleRate) / outputRate;
        const double before = m_position;
        while (rendered < frames && m_position < double(size)) {
            const auto index = std::ptrdiff_t(m_position);
            const double fraction = m_position - double(index);
            const float next = index + 1 < size ? head.samples[std::size_t(index + 1)]
                                                : head.samples[std::size_t(index)];
            const float sample =
                float(head.samples[std::size_t(index)] * (1.0 - fraction) + next * fraction);
            out[2 * rendered] = scaled(sample, head.gainLeft);
            out[2 * rendered + 1] = scaled(sample, head.gainRight);
            ++rendered;
            m_position += step;
        }
        const double consumed = std::min(m_position, double(size)) - before;
        m_bufferedSeconds = std::max(0.0, m_bufferedSeconds - consumed / head.sampleRate);
    }
    return rendered;
}

} // namespace quorvella
