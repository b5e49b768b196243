// Speech latency and speed: SpeakText of one word to its first audio at the output and to its
// first audible sample there, a 2,000-word text to its first audio, and synthesis speed in
// multiples of real time.

#include "core/freed_memory.h"
#include "speech/local_speech_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using quorvella::AudioOutput;
using quorvella::CaptureAudioOutput;
using quorvella::LocalSpeechEngine;
using quorvella::SpeechEngine;

QString longText() {
    const QString paragraph = QStringLiteral(
        "The library opens at eight in the morning. Students come in quietly and find a seat "
        "near the windows. Some of them read newspapers, others study for their examinations, "
        "and a few simply sit and think. The librarian walks between the shelves and puts the "
        "returned books back in their places. ");
    return paragraph.repeated(40); // 50 words a paragraph
}

int voiceOf(const LocalSpeechEngine& engine, const char* prefix) {
    for (int voice = 1; voice <= engine.VoiceCount(); ++voice) {
        if (engine.VoiceName(voice).startsWith(QString::fromLatin1(prefix))) {
            return voice;
        }
    }
    return 1;
}

// From SpeakText until the first audio is queued for the output (which takes it at its next
// tick, within 10 ms).
void firstAudio(benchmark::State& state, const char* voice, const QString& text) {
    auto capture = std::make_unique<CaptureAudioOutput>(1.0);
    CaptureAudioOutput* output = capture.get();
    LocalSpeechEngine engine(std::move(capture));
    engine.SelectVoice(voiceOf(engine, voice));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        engine.SpeakText(text);
        while (output->queuedSeconds() == 0.0) {
            std::this_thread::yield();
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        engine.StopSpeech();
    }
}

void wordToFirstAudio(benchmark::State& state, const char* voice) {
    firstAudio(state, voice, QStringLiteral("library"));
}

void readAllToFirstAudio(benchmark::State& state, const char* voice) {
    firstAudio(state, voice, longText());
}

const char* const kWords[] = {
    "about",   "after",    "again",    "animal",   "answer",  "apple",     "because",   "before",
    "better",  "brother",  "children", "city",     "country", "different", "early",     "evening",
    "family",  "father",   "finish",   "garden",   "happy",   "house",     "important", "journey",
    "kitchen", "language", "library",  "little",   "morning", "mother",    "number",    "open",
    "people",  "question", "river",    "school",   "seven",   "sister",    "student",   "summer",
    "teacher", "the",      "thing",    "together", "under",   "village",   "water",     "window",
    "winter",  "yesterday"};

// From SpeakText to the first sample above -40 dBFS at an output playing in real time: the time
// until the output took its first frame, plus where in the frames that sample lies. The median
// over 50 words, in milliseconds.
void wordToFirstAudibleSample(benchmark::State& state, const char* voice) {
    auto output = std::make_unique<CaptureAudioOutput>(1.0);
    CaptureAudioOutput* capture = output.get();
    LocalSpeechEngine engine(std::move(output));
    engine.SelectVoice(voiceOf(engine, voice));
    const auto audible = [](std::int16_t s) { return std::abs(int(s)) > 328; };
    std::vector<double> latencies;
    std::vector<double> firstFrames;
    for (auto _ : state) {
        latencies.clear();
        firstFrames.clear();
        for (const char* word : kWords) {
            capture->frames.clear();
            const auto start = std::chrono::steady_clock::now();
            engine.SpeakText(QString::fromLatin1(word));
            while (capture->frames.empty()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            }
            const double firstFrame =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            auto found = capture->frames.end();
            while ((found = std::find_if(capture->frames.begin(), capture->frames.end(),
                                         audible)) == capture->frames.end()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            const auto frame = double((found - capture->frames.begin()) / 2);
            latencies.push_back(firstFrame + frame / AudioOutput::kSampleRate);
            firstFrames.push_back(firstFrame);
            engine.StopSpeech();
        }
        const auto median = [](std::vector<double>& values) {
            std::sort(values.begin(), values.end());
            return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
        };
        const double latency = median(latencies);
        state.SetIterationTime(latency);
        state.counters["median_ms"] = latency * 1000;
        state.counters["first_frame_median_ms"] = median(firstFrames) * 1000;
        state.counters["min_ms"] = latencies.front() * 1000;
        state.counters["max_ms"] = latencies.back() * 1000;
    }
}

// Audio seconds made per second of synthesis, with an output that takes audio as fast as it
// comes.
void synthesisSpeed(benchmark::State& state, const char* voice) {
    auto output = std::make_unique<CaptureAudioOutput>(1000.0);
    CaptureAudioOutput* capture = output.get();
    LocalSpeechEngine engine(std::move(output));
    engine.SelectVoice(voiceOf(engine, voice));
    QSignalSpy done(&engine, &SpeechEngine::TextDataDone);
    double audio = 0;
    double wall = 0;
    for (auto _ : state) {
        capture->frames.clear();
        done.clear();
        QElapsedTimer clock;
        clock.start();
        engine.SpeakText(longText().left(3000));
        while (done.isEmpty()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        wall += double(clock.nsecsElapsed()) / 1e9;
        audio += double(capture->frameCount()) / AudioOutput::kSampleRate;
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["x_real_time"] = audio / wall;
}

BENCHMARK_CAPTURE(wordToFirstAudio, flite_rms, "flite rms")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(wordToFirstAudio, espeak_en_us, "espeak-ng English (America)")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(wordToFirstAudibleSample, flite_rms, "flite rms")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(readAllToFirstAudio, flite_rms, "flite rms")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(readAllToFirstAudio, espeak_en_us, "espeak-ng English (America)")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(12)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(synthesisSpeed, flite_rms, "flite rms")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(synthesisSpeed, espeak_en_us, "espeak-ng English (America)")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    quorvella::keepFreedMemoryForReuse(); // as quorvella does
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
