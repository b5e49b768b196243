// The voices' audio on its way to the output: mono chunks at the synthesisers' rates in, 48 kHz
// stereo out of a capturing output, as the engine plays it.

#include "speech/audio_output.h"
#include "speech/pcm_queue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

namespace quorvella {
namespace {

constexpr double kOut = AudioOutput::kSampleRate;
constexpr double kAmplitude = 16000;
constexpr float kGainRight = 0.5F;
// The resampler's start-up and the ring after a sine stops abruptly: left out of comparisons.
constexpr qint64 kEdgeFrames = qint64(0.02 * kOut);

// One text of a synthesiser: a sine at frequency, made at rate, streamed in chunks of chunk
// samples (flite 1600 at 16 kHz, espeak-ng about 100 ms at 22.05 kHz).
struct Tone {
    int rate;
    int chunk;
    double frequency;
    int samples;

    qint64 expectedFrames() const { return std::llround(samples * kOut / rate); }
};

std::vector<std::int16_t> sine(const Tone& tone) {
    std::vector<std::int16_t> samples(std::size_t(tone.samples));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = std::int16_t(std::lround(
            kAmplitude * std::sin(2 * std::numbers::pi * tone.frequency * double(i) / tone.rate)));
    }
    return samples;
}

// Pushes a text's chunks and its end as the synthesis thread does, a chunk every millisecond.
void pushText(PcmQueue& queue, const Tone& tone, std::uint64_t generation) {
    const std::vector<std::int16_t> samples = sine(tone);
    for (std::size_t at = 0; at < samples.size(); at += std::size_t(tone.chunk)) {
        const auto end = std::min(samples.size(), at + std::size_t(tone.chunk));
        PcmChunk chunk{
            {samples.begin() + std::ptrdiff_t(at), samples.begin() + std::ptrdiff_t(end)},
            tone.rate,
            1.0F,
            kGainRight,
            false};
        queue.push(std::move(chunk), generation);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    queue.push(PcmChunk{{}, 16000, 1.0F, 1.0F, true, {}}, generation);
}

struct Played {
    std::vector<std::int16_t> frames; // interleaved left, right
    std::vector<qint64> endsAt;       // frames played when each end of text was reported
};

// Plays texts through a capturing output (five times real time, so that its renders and the
// pushes from another thread interleave) until every end has been reported, and a little more.
Played play(PcmQueue& queue, const std::vector<Tone>& tones) {
    CaptureAudioOutput output(5.0);
    output.attach(&queue);
    Played played;
    QObject::connect(&output, &AudioOutput::textPlayed,
                     [&] { played.endsAt.push_back(output.frameCount()); });
    const std::uint64_t generation = queue.generation();
    std::thread producer([&] {
        for (const Tone& tone : tones) {
            pushText(queue, tone, generation);
        }
    });
    output.setActive(true);
    QElapsedTimer clock;
    clock.start();
    while (played.endsAt.size() < tones.size() && clock.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const qint64 settle = clock.elapsed() + 100;
    while (clock.elapsed() < settle) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    producer.join();
    played.frames = output.frames;
    return played;
}

std::vector<double> channel(const std::vector<std::int16_t>& frames, qint64 from, qint64 to,
                            int which) {
    std::vector<double> samples;
    for (qint64 i = from; i < to; ++i) {
        samples.push_back(frames[std::size_t(2 * i + which)]);
    }
    return samples;
}

double dbfs(double level) {
    return 20 * std::log10(level / 32768.0);
}

// The largest difference, in dBFS, between samples and the ideal sine of the input's amplitude
// at frequency whose phase fits them best (the resampler's delay shows only as a phase).
double errorToIdealSine(const std::vector<double>& samples, double frequency) {
    const double step = 2 * std::numbers::pi * frequency / kOut;
    double inPhase = 0;
    double quadrature = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        inPhase += samples[i] * std::sin(step * double(i));
        quadrature += samples[i] * std::cos(step * double(i));
    }
    const double phase = std::atan2(quadrature, inPhase);
    double error = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        error =
            std::max(error, std::abs(samples[i] - kAmplitude * std::sin(step * double(i) + phase)));
    }
    return dbfs(error);
}

double rms(const std::vector<double>& samples) {
    double sum = 0;
    for (const double sample : samples) {
        sum += sample * sample;
    }
    return std::sqrt(sum / double(samples.size()));
}

// Each text is played whole, from its own start, with its end reported once its last frame
// has been played; returns its frames of one channel, its start-up and end left out.
std::vector<std::vector<double>> playedTexts(const Played& played, const std::vector<Tone>& tones,
                                             int which) {
    std::vector<std::vector<double>> texts;
    EXPECT_EQ(played.endsAt.size(), tones.size());
    qint64 start = 0;
    for (std::size_t i = 0; i < tones.size() && i < played.endsAt.size(); ++i) {
        const qint64 expectedEnd = start + tones[i].expectedFrames();
        EXPECT_NEAR(double(played.endsAt[i]), double(expectedEnd), 2.0) << "end of text " << i;
        texts.push_back(channel(played.frames, start + kEdgeFrames,
                                std::min(played.endsAt[i], expectedEnd) - kEdgeFrames, which));
        start = played.endsAt[i];
    }
    EXPECT_EQ(qint64(played.frames.size() / 2), start) << "frames after the last end";
    return texts;
}

// A 1 kHz sine in the engines' chunk sizes, and texts one after another at the two rates: each
// comes out as the ideal sine at 48 kHz, chunk edges and the start of the next text included.
TEST(PcmQueue, ASineInTheEnginesChunksComesOutAsTheIdealSine) {
    const std::vector<Tone> tones = {
        {16000, 1600, 1000, 16000 + 700}, // flite
        {22050, 2205, 1000, 22050 + 999}, // espeak-ng
        {16000, 1600, 1000, 8000},        // flite again: the rate changes between texts
    };
    PcmQueue queue;
    const Played played = play(queue, tones);
    const auto left = playedTexts(played, tones, 0);
    const auto right = playedTexts(played, tones, 1);
    for (std::size_t i = 0; i < left.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "text " << i << " at " << tones[i].rate << " Hz");
        EXPECT_LT(errorToIdealSine(left[i], tones[i].frequency), -60.0);
        EXPECT_NEAR(rms(right[i]) / rms(left[i]), kGainRight, 0.001);
    }
}

// Flat within 0.5 dB up to 7 kHz for a voice at 16 kHz.
TEST(PcmQueue, TheFrequencyResponseIsFlatUpTo7kHzAt16kHz) {
    std::vector<Tone> tones;
    for (const double frequency : {100.0, 1000.0, 3000.0, 5000.0, 6000.0, 7000.0}) {
        tones.push_back({16000, 1600, frequency, 8000});
    }
    PcmQueue queue;
    const auto texts = playedTexts(play(queue, tones), tones, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const double gain = dbfs(rms(texts[i])) - dbfs(kAmplitude / std::numbers::sqrt2);
        EXPECT_NEAR(gain, 0.0, 0.5) << tones[i].frequency << " Hz";
    }
}

// A stop drops the audio of the stopped text, held back or queued, and its late chunks; the
// next text starts clean.
TEST(PcmQueue, AStopDropsEverythingAndTheNextTextStartsClean) {
    PcmQueue queue;
    const Tone stopped{16000, 1600, 440, 16000};
    const std::vector<std::int16_t> samples = sine(stopped);
    const std::uint64_t old = queue.generation();
    for (int at = 0; at < 4 * 1600; at += 1600) {
        ASSERT_TRUE(
            queue.push({{samples.begin() + at, samples.begin() + at + 1600 - 37}, 16000}, old));
    }
    EXPECT_NEAR(queue.bufferedSeconds(), 4 * (1600 - 37) / 16000.0, 0.001);
    EXPECT_NE(queue.clear(), old);
    EXPECT_EQ(queue.bufferedSeconds(), 0.0);
    EXPECT_FALSE(queue.push({{samples.begin(), samples.begin() + 1600}, 16000}, old));
    EXPECT_FALSE(queue.push(PcmChunk{{}, 16000, 1.0F, 1.0F, true, {}}, old));
    EXPECT_EQ(queue.bufferedSeconds(), 0.0);

    const std::vector<Tone> next = {{16000, 1600, 1000, 8000}};
    const Played played = play(queue, next);
    const auto texts = playedTexts(played, next, 0);
    ASSERT_EQ(texts.size(), 1U);
    EXPECT_LT(errorToIdealSine(texts[0], 1000), -60.0);
    // Nothing of the stopped text before it, not even its start-up.
    EXPECT_LT(errorToIdealSine(channel(played.frames, 0, kEdgeFrames, 0), 1000), -20.0);
}

// A word mark comes out at the frame where its sample's sound is heard: clicks marked in the
// engines' chunks, at both rates, one text after the other, and a mark at the very end of a text.
TEST(PcmQueue, AWordMarkIsRenderedAtTheFrameOfItsSample) {
    PcmQueue queue;
    std::vector<qint64> clicks; // the output frames at which the marked clicks should sound
    std::vector<PcmEvent> expected;
    qint64 textStart = 0;
    for (const int rate : {16000, 22050, 16000}) {
        const double ratio = kOut / rate;
        std::vector<std::int16_t> samples(3000, 0);
        samples[500] = samples[2500] = 20000;
        for (int at = 0; at < 3000; at += 1000) {
            PcmChunk chunk{{samples.begin() + at, samples.begin() + at + 1000}, rate};
            for (const int click : {500, 2500}) {
                if (click >= at && click < at + 1000) {
                    chunk.marks.push_back({click - at, {click, 1}});
                    clicks.push_back(textStart + std::llround(click * ratio));
                    expected.push_back({clicks.back(), false, {click, 1}});
                }
            }
            if (at == 2000) {
                chunk.marks.push_back({1000, {3000, 0}});
                expected.push_back({textStart + std::llround(3000 * ratio), false, {3000, 0}});
            }
            ASSERT_TRUE(queue.push(std::move(chunk), queue.generation()));
        }
        ASSERT_TRUE(queue.push(PcmChunk{{}, rate, 1.0F, 1.0F, true, {}}, queue.generation()));
        textStart += std::llround(3000 * ratio);
        expected.push_back({textStart, true, {}});
    }

    std::vector<std::int16_t> out;
    std::vector<PcmEvent> events;
    for (;;) {
        std::vector<std::int16_t> buffer(2 * 480);
        std::vector<PcmEvent> some;
        const qint64 rendered = queue.render(buffer.data(), 480, some);
        for (PcmEvent& event : some) {
            event.frame += qint64(out.size() / 2);
            events.push_back(event);
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + 2 * rendered);
        if (rendered == 0 && some.empty()) {
            break;
        }
    }
    ASSERT_EQ(events.size(), expected.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].endOfText, expected[i].endOfText) << i;
        EXPECT_EQ(events[i].word, expected[i].word) << i;
        EXPECT_NEAR(double(events[i].frame), double(expected[i].frame), 1.0) << i;
    }
    for (const qint64 click : clicks) { // the loudest frame near each click is at its mark
        qint64 loudest = click - 20;
        for (qint64 f = click - 20; f <= click + 20; ++f) {
            if (std::abs(out[std::size_t(2 * f)]) > std::abs(out[std::size_t(2 * loudest)])) {
                loudest = f;
            }
        }
        EXPECT_NEAR(double(loudest), double(click), 1.0);
    }
}

} // namespace
} // namespace quorvella
