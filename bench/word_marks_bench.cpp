// How late each word's mark comes against its first frame being played, on the null output's
// real-time clock, over a lesson paragraph: the median, the worst and the earliest of the marks of
// one reading. The goal is a median of at most 50 ms (one tick of the output's clock).

#include "core/freed_memory.h"
#include "speech/local_speech_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using quorvella::AudioOutput;
using quorvella::ClockedAudioOutput;
using quorvella::LocalSpeechEngine;
using quorvella::SpeechEngine;

// The null output's clock, noting when it plays what: each tick takes the frames due since the
// last, so frame f of a tick that ends with frame e is played (e - f) / rate before the tick.
class TimedNullOutput final : public ClockedAudioOutput {
public:
    TimedNullOutput() : ClockedAudioOutput(1.0) { clock.start(); }

    struct Played {
        qint64 nsecs;    // when
        qint64 endFrame; // frames played in all, these included
    };
    std::vector<Played> log;
    qint64 frames = 0;
    QElapsedTimer clock;

protected:
    void played(const std::int16_t* /*data*/, qint64 count) override {
        frames += count;
        log.push_back({clock.nsecsElapsed(), frames});
    }
};

int firstVoiceOf(const LocalSpeechEngine& engine, const char* synthesiser) {
    for (int voice = 1; voice <= engine.VoiceCount(); ++voice) {
        if (engine.VoiceName(voice).startsWith(QString::fromLatin1(synthesiser))) {
            return voice;
        }
    }
    return 0;
}

void markLateness(benchmark::State& state, const char* synthesiser) {
    auto output = std::make_unique<TimedNullOutput>();
    TimedNullOutput* timed = output.get();
    LocalSpeechEngine engine(std::move(output));
    const int voice = firstVoiceOf(engine, synthesiser);
    if (voice == 0) {
        state.SkipWithError("no voice of this synthesiser");
        return;
    }
    engine.SelectVoice(voice);
    struct Shown {
        qint64 nsecs;
        qint64 frame; // the word's first frame
    };
    std::vector<Shown> shown;
    QObject::connect(&engine, &SpeechEngine::WordReached, [&](int, int) {
        shown.push_back({timed->clock.nsecsElapsed(), timed->frames});
    });
    QSignalSpy done(&engine, &SpeechEngine::TextDataDone);
    for (auto _ : state) {
        shown.clear();
        timed->log.clear();
        done.clear();
        QElapsedTimer wall;
        wall.start();
        engine.SpeakText(QStringLiteral(
            "The library opens at eight in the morning. Students come in quietly and find a seat "
            "near the windows. Some of them read newspapers, others study for their "
            "examinations."));
        while (done.isEmpty()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        state.SetIterationTime(double(wall.nsecsElapsed()) / 1e9);

        std::vector<double> lateMs;
        for (const Shown& s : shown) {
            const auto tick = std::find_if(timed->log.begin(), timed->log.end(),
                                           [&](const auto& p) { return p.endFrame > s.frame; });
            if (tick == timed->log.end()) {
                state.SkipWithError("a word was marked after its text's last frame");
                return;
            }
            const double playedNs = double(tick->nsecs) - double(tick->endFrame - s.frame) * 1e9 /
                                                              AudioOutput::kSampleRate;
            lateMs.push_back((double(s.nsecs) - playedNs) / 1e6);
        }
        if (lateMs.empty()) {
            state.SkipWithError("no word was marked");
            return;
        }
        std::sort(lateMs.begin(), lateMs.end());
        state.counters["marks"] = double(lateMs.size());
        state.counters["median_ms"] = lateMs[lateMs.size() / 2];
        state.counters["worst_ms"] = lateMs.back();
        state.counters["earliest_ms"] = lateMs.front();
    }
}

BENCHMARK_CAPTURE(markLateness, flite, "flite")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(markLateness, espeak_ng, "espeak-ng")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    quorvella::keepFreedMemoryForReuse(); // as quorvella does
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
