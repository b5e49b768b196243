#include "speech/pcm_queue.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace quorvella {

// libsoxr at its high-quality setting (20-bit precision, linear phase, flat to 91% of the
// input's Nyquist frequency), streaming: mono 16-bit samples in, floats in [-1, 1) out.
class PcmQueue::Resampler {
public:
    ~Resampler() { soxr_delete(m_soxr); }

    // Whether samples have gone in since the resampler was last flushed or reset.
    bool hasInput() const { return m_hasInput; }
    int rate() const { return m_rate; }

    // Output frames held back, waiting for the input that follows.
    double held() const { return m_hasInput ? soxr_delay(m_soxr) : 0.0; }

    // Resamples count samples at rate, appending what comes out to out. A resampler at
    // another rate is replaced: flush it first to keep what it holds.
    void process(const std::int16_t* samples, std::size_t count, int rate,
                 std::vector<float>& out) {
        if (m_soxr == nullptr || rate != m_rate) {
            create(rate);
        }
        m_hasInput = true;
        const double ratio = double(kOutputRate) / rate;
        while (count > 0) {
            // Room for this input and for what is held back from the input before it.
            const auto room =
                std::size_t(std::ceil(double(count) * ratio + soxr_delay(m_soxr))) + 64;
            const std::size_t at = out.size();
            out.resize(at + room);
            std::size_t taken = 0;
            std::size_t made = 0;
            check(soxr_process(m_soxr, samples, count, &taken, out.data() + at, room, &made));
            out.resize(at + made);
            if (taken == 0 && made == 0) {
                break; // cannot happen with room for all the output; no endless loop if it does
            }
            samples += taken;
            count -= taken;
        }
    }

    // The input has ended: appends the rest of the output to out and readies the resampler for
    // a fresh signal.
    void flush(std::vector<float>& out) {
        if (!m_hasInput) {
            return;
        }
        constexpr std::size_t kRoom = 4096;
        std::size_t made = 0;
        do {
            const std::size_t at = out.size();
            out.resize(at + kRoom);
            check(soxr_process(m_soxr, nullptr, 0, nullptr, out.data() + at, kRoom, &made));
            out.resize(at + made);
        } while (made > 0);
        reset();
    }

    // Forgets the input, what it holds included.
    void reset() {
        if (m_soxr != nullptr) {
            check(soxr_clear(m_soxr));
        }
        m_hasInput = false;
    }

private:
    void create(int rate) {
        soxr_delete(m_soxr);
        m_soxr = nullptr;
        m_hasInput = false;
        const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
        soxr_error_t error = nullptr;
        m_soxr = soxr_create(double(rate), double(kOutputRate), 1, &error, &io, &quality, &runtime);
        check(error);
        m_rate = rate;
    }

    // libsoxr fails only when it cannot allocate its buffers (the rates and formats are valid):
    // that is reported as any other allocation that fails.
    static void check(soxr_error_t error) {
        if (error != nullptr) {
            throw std::bad_alloc();
        }
    }

    soxr_t m_soxr = nullptr;
    int m_rate = 0;
    bool m_hasInput = false;
};

namespace {

std::int16_t scaled(float sample, float gain) {
    return static_cast<std::int16_t>(
        std::clamp(std::lrint(sample * gain * 32768.0F), long(-32768), long(32767)));
}

} // namespace

PcmQueue::PcmQueue() : m_resampler(std::make_unique<Resampler>()) {}

PcmQueue::~PcmQueue() = default;

bool PcmQueue::push(PcmChunk chunk, std::uint64_t generation) {
    std::lock_guard producer(m_producerMutex);
    if (generation != m_generation.load()) {
        return false;
    }
    if (m_resamplerGeneration != generation) {
        // The text the resampler was in has been stopped.
        m_resampler->reset();
        m_resamplerGeneration = generation;
        m_textFrames = 0;
        m_pendingMarks.clear();
    }
    m_resampled.clear();
    if (chunk.endOfText) {
        m_resampler->flush(m_resampled);
    } else if (!chunk.samples.empty() || !chunk.marks.empty()) {
        if (m_resampler->hasInput() && chunk.sampleRate != m_resampler->rate()) {
            m_resampler->flush(m_resampled);
        }
        placeMarks(chunk);
        if (!chunk.samples.empty()) {
            m_gainLeft = chunk.gainLeft;
            m_gainRight = chunk.gainRight;
            m_resampler->process(chunk.samples.data(), chunk.samples.size(), chunk.sampleRate,
                                 m_resampled);
            m_runInput += qint64(chunk.samples.size());
        }
    }
    Block block;
    block.frames.resize(m_resampled.size() * 2);
    for (std::size_t i = 0; i < m_resampled.size(); ++i) {
        block.frames[2 * i] = scaled(m_resampled[i], m_gainLeft);
        block.frames[2 * i + 1] = scaled(m_resampled[i], m_gainRight);
    }
    const double held = m_resampler->held();
    // The marks that fall in this block go with it; at the end of a text, all that are left.
    const auto made = qint64(m_resampled.size());
    std::erase_if(m_pendingMarks, [&](const WordMark& mark) {
        if (mark.at >= m_textFrames + made && !chunk.endOfText) {
            return false;
        }
        block.marks.push_back({std::clamp<qint64>(mark.at - m_textFrames, 0, made), mark.word});
        return true;
    });
    m_textFrames += made;
    if (chunk.endOfText) {
        m_textFrames = 0;
    }

    std::lock_guard lock(m_mutex);
    if (generation != m_generation.load()) {
        return false; // stopped while this chunk was resampled
    }
    if (!block.frames.empty() || !block.marks.empty()) {
        m_queuedFrames += qint64(m_resampled.size());
        m_blocks.push_back(std::move(block));
    }
    if (chunk.endOfText) {
        m_blocks.push_back({{}, true, {}, 0});
    }
    m_heldFrames = held;
    return true;
}

// A mark at sample i of a chunk lies i input samples on in the resampler's run; libsoxr keeps
// its output in time with its input, so the word starts at frame runStart + (runInput + i) * ratio
// of the text's output.
void PcmQueue::placeMarks(const PcmChunk& chunk) {
    if (!m_resampler->hasInput()) { // a new run, after the frames made so far
        m_runStart = m_textFrames + qint64(m_resampled.size());
        m_runInput = 0;
    }
    const double ratio = double(kOutputRate) / chunk.sampleRate;
    for (const WordMark& mark : chunk.marks) {
        m_pendingMarks.push_back(
            {m_runStart + std::llround(double(m_runInput + mark.at) * ratio), mark.word});
    }
}

std::uint64_t PcmQueue::clear() {
    std::lock_guard lock(m_mutex);
    m_blocks.clear();
    m_position = 0;
    m_queuedFrames = 0;
    m_heldFrames = 0;
    return ++m_generation;
}

double PcmQueue::bufferedSeconds() const {
    std::lock_guard lock(m_mutex);
    return (double(m_queuedFrames) + m_heldFrames) / kOutputRate;
}

qint64 PcmQueue::render(std::int16_t* out, qint64 frames, std::vector<PcmEvent>& events,
                        std::uint64_t* generation) {
    std::lock_guard lock(m_mutex);
    if (generation != nullptr) {
        *generation = m_generation.load();
    }
    qint64 rendered = 0;
    while (!m_blocks.empty()) {
        Block& head = m_blocks.front();
        const std::size_t size = head.frames.size() / 2;
        while (head.nextMark < head.marks.size() &&
               head.marks[head.nextMark].at <= qint64(m_position)) {
            events.push_back({rendered, false, head.marks[head.nextMark++].word});
        }
        if (head.endOfText || m_position == size) {
            if (head.endOfText) {
                events.push_back({rendered, true, {}});
            }
            m_position = 0;
            m_blocks.pop_front();
            continue;
        }
        if (rendered == frames) {
            break;
        }
        const qint64 until = head.nextMark < head.marks.size()
                                 ? std::min(head.marks[head.nextMark].at, qint64(size))
                                 : qint64(size);
        const auto count = std::min(until - qint64(m_position), frames - rendered);
        std::memcpy(out + 2 * rendered, head.frames.data() + 2 * m_position,
                    std::size_t(count) * 2 * sizeof(std::int16_t));
        rendered += count;
        m_position += std::size_t(count);
        m_queuedFrames -= count;
    }
    return rendered;
}

} // namespace quorvella
