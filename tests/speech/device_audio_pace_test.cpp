// Words chosen at a learner's pace on a real sound server, as the word windows speak them: each
// after StopSpeech, or by SpeakText alone. Recorded from the monitor of the null sink that
// ./test.sh starts, at low latency and at the server's default latency: every word is heard whole
// or cut where the next is chosen, and quick choices leave no backlog of speech.

#include "speech/audio_output.h"
#include "speech/device_audio_output.h"
#include "speech/local_speech_engine.h"
#include "speech/speech_engine_factory.h"
#include "tests/support/monitor_recording.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <iostream>
#include <sstream>

namespace quorvella {
namespace {

const QStringList kWords = {QStringLiteral("keen"),     QStringLiteral("kettle"),
                            QStringLiteral("keyboard"), QStringLiteral("kindergarten"),
                            QStringLiteral("kingdom"),  QStringLiteral("knit")};
// Between words the stream holds digital silence. Inside a word, sound above kSound stops for a
// few milliseconds at most (a consonant's closure is quiet, not silent, and its level differs a
// little from one making to the next): a stop of kGapMs or more lies between words.
constexpr double kGapMs = 40;
constexpr int kSound = 8;
// A word heard whole lasts as long as it was made, to this: the quiet ends of a word, near the
// threshold of audible, come out a little longer or shorter from one run to the next and from
// the server. A word cut by the next choice, or lost, is shorter by far more.
constexpr double kWholeMs = 60;
// A word that waited for another follows it after a pause of at most this.
constexpr double kPauseMs = 150;
// A word cut by the next choice is heard until this soon before it is chosen.
constexpr double kCutMs = 120;
// A recorder at the server's default latency may hear what is played this much later; one at low
// latency within this.
constexpr double kRecordingLagMs = 3500;
constexpr double kLowLatencyLagMs = 500;
// How long the program has held the sound device when the first word is chosen.
constexpr double kHeldMs = 2500;
// Shorter sounds are no word but a lone sample or two above the threshold.
constexpr double kClickMs = 5;

// How long each word sounds, from its first audible sample to its last, as the engine makes it:
// the middle of three makings, since the quiet ends of a word differ a little from one to the next.
const std::vector<double>& madeMs() {
    static const std::vector<double> lengths = [] {
        auto output = std::make_unique<CaptureAudioOutput>(25.0);
        CaptureAudioOutput* capture = output.get();
        LocalSpeechEngine engine(std::move(output));
        int done = 0;
        QObject::connect(&engine, &SpeechEngine::TextDataDone, [&] { ++done; });
        std::vector<double> result;
        for (const QString& word : kWords) {
            std::vector<double> makings;
            for (int making = 0; making < 3; ++making) {
                capture->frames.clear();
                const int before = done;
                engine.SpeakText(word);
                QElapsedTimer clock;
                clock.start();
                runEventsUntil(
                    clock, [&] { return done > before; }, 10000);
                makings.push_back(audibleMs(capture->frames));
            }
            std::sort(makings.begin(), makings.end());
            result.push_back(makings[1]);
        }
        return result;
    }();
    return lengths;
}

struct Pace {
    RecordingLatency latency;
    int ms;         // between one choice and the next
    bool stopFirst; // StopSpeech before each SpeakText
};

void PrintTo(const Pace& pace, std::ostream* out) {
    *out << (pace.latency == RecordingLatency::Low ? "low latency, " : "server's latency, ")
         << pace.ms << " ms apart" << (pace.stopFirst ? ", stop first" : "");
}

std::string nameOf(const testing::TestParamInfo<Pace>& info) {
    return std::string(info.param.latency == RecordingLatency::Low ? "LowLatency"
                                                                   : "ServerLatency") +
           "Every" + std::to_string(info.param.ms) + "ms" +
           (info.param.stopFirst ? "StopAndSpeak" : "SpeakAlone");
}

class DeviceAudioPace : public testing::TestWithParam<Pace> {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
            GTEST_SKIP() << "no sound server for the tests: PULSE_SERVER is not set "
                            "(./test.sh starts one with a null sink)";
        }
        madeMs(); // made before the recording, so that nothing else is busy while it runs
        m_clock.start();
        m_recording = std::make_unique<MonitorRecording>(m_clock);
        const QString problem = m_recording->start(GetParam().latency);
        if (!problem.isEmpty()) {
            GTEST_SKIP() << "the sound server cannot be recorded: " << problem.toStdString();
        }
        m_soundDevice = holdSoundDevice();
        ASSERT_NE(m_soundDevice, nullptr)
            << "the sound server that the recording hears cannot be played on";
        m_engine = createSpeechEngine();
        QObject::connect(m_engine.get(), &SpeechEngine::TextDataDone, [this] { m_doneAt = now(); });
    }

    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    template <typename Done>
    bool runUntil(Done done, double timeoutMs) {
        return runEventsUntil(m_clock, done, timeoutMs);
    }

    QElapsedTimer m_clock;
    std::unique_ptr<MonitorRecording> m_recording;
    std::unique_ptr<AudioOutput> m_soundDevice;
    std::unique_ptr<SpeechEngine> m_engine;
    double m_doneAt = -1;
};

TEST_P(DeviceAudioPace, EveryWordIsHeardWholeOrCutByTheNextAndNoneIsLeftOver) {
    const Pace pace = GetParam();
    const std::vector<double>& made = madeMs();
    // The program holds the sound device from start-up, well before a learner can choose a word:
    // a sound server may need up to two seconds after a program's first stream has come before
    // it plays new streams at once. The engine's own stream is made by its first word.
    const bool low = pace.latency == RecordingLatency::Low;
    const double held = now();
    runUntil([&] { return now() > held + kHeldMs; }, kHeldMs + 1000);
    const qint64 from = m_recording->frameCount();

    std::vector<double> chosenAt;
    const double start = now() + 50;
    for (int i = 0; i < kWords.size(); ++i) {
        runUntil([&] { return now() >= start + i * pace.ms; }, pace.ms + 1000);
        chosenAt.push_back(now());
        if (pace.stopFirst) {
            m_engine->StopSpeech();
        }
        m_engine->SpeakText(kWords.at(i));
    }
    // Every word is over once no end has come for a while and the recording has caught up.
    ASSERT_TRUE(runUntil(
        [&] {
            return m_doneAt > chosenAt.back() && now() > m_doneAt + 1500 &&
                   m_recording->timeOf(m_recording->frameCount()) >
                       m_doneAt + (low ? kLowLatencyLagMs : kRecordingLagMs);
        },
        20000))
        << "the last word did not end";

    auto runs = m_recording->soundRuns(from, kGapMs, kSound);
    std::erase_if(runs, [](const auto& run) { return run.second - run.first < kClickMs; });
    // A word lasts from its first audible sample to its last, as it was made.
    for (auto& run : runs) {
        run = m_recording->audibleWithin(run.first, run.second);
    }
    std::ostringstream heard;
    for (const auto& [first, last] : runs) {
        heard << std::lround(last - first) << ' ';
    }
    std::ostringstream expected;
    for (const double ms : made) {
        expected << std::lround(ms) << ' ';
    }
    RecordProperty("heard_ms", heard.str());
    std::cout << "heard (ms): " << heard.str() << " made: " << expected.str() << '\n';
    SCOPED_TRACE("heard (ms): " + heard.str() + "; the words as made: " + expected.str());
    ASSERT_FALSE(runs.empty());
    const auto length = [&](std::size_t run) { return runs[run].second - runs[run].first; };

    // Whatever the pace, the last word is heard whole (at the end of the last sound, which may
    // begin with words cut by the choices before), and after the last choice nothing but the
    // word being spoken and the last.
    EXPECT_GE(length(runs.size() - 1), made.back() - kWholeMs) << "the last word";
    const double longest = *std::max_element(made.begin(), made.end());
    EXPECT_LE(runs.back().second - runs.front().first,
              chosenAt.back() - chosenAt.front() + longest + made.back() + 400)
        << "speech was left over after the last choice";

    if (pace.stopFirst) {
        // Each word is heard from its start until the next is chosen, or to its end: all of that
        // is heard, and where the words are far enough apart to be told apart, each is whole.
        double least = 0;
        for (std::size_t i = 0; i < made.size(); ++i) {
            least += std::min(made[i] - kWholeMs, i + 1 < made.size() ? pace.ms - kCutMs : 1e9);
        }
        double sum = 0;
        for (std::size_t run = 0; run < runs.size(); ++run) {
            sum += length(run);
        }
        EXPECT_GE(sum, least) << "words were lost or cut short";
        if (pace.ms >= longest + 300) {
            ASSERT_EQ(runs.size(), made.size());
            for (std::size_t i = 0; i < made.size(); ++i) {
                EXPECT_NEAR(length(i), made[i], kWholeMs) << kWords.at(int(i)).toStdString();
            }
        }
        return;
    }
    // Spoken alone, a word waits for the one being spoken, and a newer choice takes the place of
    // one still waiting: the words heard are some of the words in their order, the first and the
    // last among them, each whole. A word that follows another at once may be heard as one sound
    // with it, the two lengths and a short pause.
    const auto near = [&](double heardMs, double madeMs, double pauseMs) {
        return heardMs >= madeMs - kWholeMs && heardMs <= madeMs + kWholeMs + pauseMs;
    };
    // Whether the sounds from `run` on can be the words from `word` on, each sound some of them
    // in their order (a set of bits over the words from `word`), the first sound beginning with
    // the first word and the last ending with the last word.
    const std::function<bool(std::size_t, std::size_t)> fits = [&](std::size_t run,
                                                                   std::size_t word) {
        if (run == runs.size()) {
            return word == made.size();
        }
        const unsigned sets = word < made.size() ? 1U << (made.size() - word) : 1U;
        for (unsigned set = 1; set < sets; set += run == 0 ? 2 : 1) {
            double ms = 0;
            int count = 0;
            for (std::size_t i = word; i < made.size(); ++i) {
                if ((set >> (i - word)) & 1U) {
                    ms += made[i];
                    ++count;
                }
            }
            if (near(length(run), ms, (count - 1) * kPauseMs) &&
                fits(run + 1, word + std::size_t(std::bit_width(set)))) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(fits(0, 0)) << "the sounds are not the first word whole, some of the words whole "
                               "in their order, and the last word whole";
}

std::vector<Pace> paces() {
    std::vector<Pace> result;
    for (const RecordingLatency latency :
         {RecordingLatency::Low, RecordingLatency::ServerDefault}) {
        for (const bool stopFirst : {true, false}) {
            for (const int ms : {300, 1000, 1500, 2000, 3000}) {
                result.push_back({latency, ms, stopFirst});
            }
        }
    }
    return result;
}

INSTANTIATE_TEST_SUITE_P(DeviceAudioWords, DeviceAudioPace, testing::ValuesIn(paces()), nameOf);

} // namespace
} // namespace quorvella
