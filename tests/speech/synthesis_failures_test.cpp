#include "speech/espeak_api.h"
#include "speech/espeak_backend.h"
#include "speech/local_speech_engine.h"

#include "core/app_error.h"
#include "tests/support/event_loop.h"
#include "tests/support/qt_printers.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace quorvella {
namespace {

constexpr double kFast = 25.0;
constexpr int kToneRate = 16000;
constexpr std::size_t kSamplesPerCharacter = kToneRate / 100; // 10 ms

// How many times needle occurs in text.
int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

// Speaks text to its end and returns the number of TextDataDone reports, waiting a little
// after the first for any second one.
int speakToEnd(LocalSpeechEngine& engine, const QString& text) {
    QSignalSpy done(&engine, &SpeechEngine::TextDataDone);
    engine.SpeakText(text);
    EXPECT_TRUE(runUntil([&] { return done.count() > 0; }));
    runUntil([] { return false; }, 150);
    return int(done.count());
}

// A synthesiser that makes 10 ms of a steady tone for each character of a sentence. It throws
// std::bad_alloc for one chosen sentence before making any of it, and holds in another until it
// is let go.
class ScriptedBackend final : public SynthesisBackend {
public:
    QStringList voiceNames() const override { return {QStringLiteral("tone")}; }

    bool synthesize(int /*voice*/, const QString& text, const VoiceSettings&,
                    const SampleSink& sink, const WordSink&) override {
        const QString sentence = text.trimmed();
        std::unique_lock lock(m_mutex);
        m_asked << sentence;
        if (sentence == m_throwOn) {
            throw std::bad_alloc();
        }
        if (sentence == m_holdOn) {
            m_holding = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return !m_holding; });
        }
        lock.unlock();
        const std::vector<std::int16_t> samples(std::size_t(sentence.size()) * kSamplesPerCharacter,
                                                1000);
        return sink(samples.data(), samples.size(), kToneRate);
    }

    void throwOn(const QString& sentence) {
        std::lock_guard lock(m_mutex);
        m_throwOn = sentence;
    }
    void holdOn(const QString& sentence) {
        std::lock_guard lock(m_mutex);
        m_holdOn = sentence;
    }
    // Waits until a sentence is held; false after 10 s.
    bool waitUntilHolding() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_holding; });
    }
    void letGo() {
        {
            std::lock_guard lock(m_mutex);
            m_holding = false;
        }
        m_changed.notify_all();
    }
    QStringList takeAsked() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_asked, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QString m_throwOn;
    QString m_holdOn;
    bool m_holding = false;
    QStringList m_asked;
};

class SynthesisFailures : public testing::Test {
protected:
    SynthesisFailures()
        : worker([this] {
              std::vector<std::unique_ptr<SynthesisBackend>> backends;
              backends.push_back(std::make_unique<ScriptedBackend>());
              backend = static_cast<ScriptedBackend*>(backends[0].get());
              return backends;
          }) {
        auto made = std::make_unique<CaptureAudioOutput>(kFast);
        output = made.get();
        engine = std::make_unique<LocalSpeechEngine>(std::move(made), worker);
    }

    // The tone frames captured, in characters of text.
    double charactersHeard() const {
        return double(output->frameCount()) /
               (double(kSamplesPerCharacter) * AudioOutput::kSampleRate / kToneRate);
    }

    ScriptedBackend* backend = nullptr; // set by the worker before the engine has its voices
    SynthesisWorker worker;
    CaptureAudioOutput* output = nullptr;
    std::unique_ptr<LocalSpeechEngine> engine;
};

// The sentence that cannot be made is left out with one line on stderr; the text's other
// sentences are heard, it ends once, and the next text is spoken as usual.
TEST_F(SynthesisFailures, ASentenceThatThrowsIsSkippedAndItsTextStillEnds) {
    struct Case {
        const char* text;
        const char* failing;
        int charactersSpoken;
    };
    const Case cases[] = {
        {"One. Two. Three.", "One.", 10},
        {"One. Two. Three.", "Two.", 10},
        {"One. Two. Three.", "Three.", 8},
        {"Alone.", "Alone.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " failing at " + c.failing);
        backend->throwOn(QString::fromLatin1(c.failing));
        output->frames.clear();
        backend->takeAsked();
        testing::internal::CaptureStderr();
        EXPECT_EQ(speakToEnd(*engine, QString::fromLatin1(c.text)), 1);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(occurrences(printed, "quorvella:"), 1) << printed;
        EXPECT_EQ(occurrences(printed, "quorvella: a sentence could not be spoken and is "
                                       "skipped: not enough memory\n"),
                  1)
            << printed;
        EXPECT_EQ(backend->takeAsked(), QString::fromLatin1(c.text).split(QLatin1Char(' ')));
        EXPECT_NEAR(charactersHeard(), c.charactersSpoken, 0.1);

        backend->throwOn(QString());
        output->frames.clear();
        EXPECT_EQ(speakToEnd(*engine, QStringLiteral("Next one.")), 1);
        EXPECT_NEAR(charactersHeard(), 9, 0.1);
    }
}

// A stop while the worker is busy with a text drops the sentences of it still to be cut; neither
// the stop nor the next text waits for the sentence being made.
TEST_F(SynthesisFailures, AStopDropsTheTextBeingCut) {
    backend->holdOn(QStringLiteral("One."));
    QSignalSpy done(engine.get(), &SpeechEngine::TextDataDone);
    engine->SpeakText(QStringLiteral("One. Two. Three."));
    ASSERT_TRUE(backend->waitUntilHolding());
    engine->StopSpeech();
    engine->SpeakText(QStringLiteral("Four."));
    backend->letGo();
    ASSERT_TRUE(runUntil([&] { return done.count() > 0; }));
    runUntil([] { return false; }, 150);
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(backend->takeAsked(), (QStringList{"One.", "Four."}));
    EXPECT_NEAR(charactersHeard(), 5, 0.1);
}

TEST_F(SynthesisFailures, SynthesisersThatFailToLoadLeaveNoVoices) {
    testing::internal::CaptureStderr(); // before the worker, which starts loading at once
    SynthesisWorker failing([]() -> std::vector<std::unique_ptr<SynthesisBackend>> {
        throw std::runtime_error("the voice data is damaged");
    });
    EXPECT_THROW(LocalSpeechEngine(std::make_unique<NullAudioOutput>(), failing), AppError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quorvella: the speech synthesisers could not be loaded: the voice data is "
              "damaged\n");
}

// espeak-ng's functions, played by the test: each call's result is chosen, the synthesis gives
// 100 ms of tone through the callback espeak-ng was given.
struct FakeEspeak {
    static inline std::string failingVoice; // selecting it gives EE_NOT_FOUND
    static inline espeak_ERROR rateResult = EE_OK;
    static inline espeak_ERROR pitchResult = EE_OK;
    static inline espeak_ERROR synthResult = EE_OK; // a failing synthesis says nothing
    static inline t_espeak_callback* callback = nullptr;
    static inline std::atomic<int> syntheses = 0;
    static inline std::atomic<int> callbackResult = 0;

    static void reset() {
        failingVoice.clear();
        rateResult = pitchResult = synthResult = EE_OK;
        syntheses = 0;
        callbackResult = 0;
    }

    static std::unique_ptr<EspeakBackend> backend(QList<QByteArray> identifiers) {
        auto api = std::make_unique<EspeakBackend::Api>();
        api->initializePath = [](const char*) { return 0; };
        api->initialize = [](espeak_AUDIO_OUTPUT, int, const char*, int) { return 22050; };
        api->setSynthCallback = [](t_espeak_callback* c) { callback = c; };
        api->listVoices = [](espeak_VOICE*) -> const espeak_VOICE** { return nullptr; };
        api->setVoiceByName = [](const char* name) {
            return name == failingVoice ? EE_NOT_FOUND : EE_OK;
        };
        api->setParameter = [](espeak_PARAMETER parameter, int, int) {
            return parameter == espeakRATE ? rateResult : pitchResult;
        };
        api->synth = [](const void*, size_t, unsigned int, espeak_POSITION_TYPE, unsigned int,
                        unsigned int, unsigned int*, void* userData) {
            ++syntheses;
            if (synthResult == EE_OK) {
                std::vector<short> samples(2205, 1000);
                espeak_EVENT events[1] = {};
                events[0].type = espeakEVENT_LIST_TERMINATED;
                events[0].user_data = userData;
                callbackResult = callback(samples.data(), int(samples.size()), events);
            }
            return synthResult;
        };
        api->terminate = [] { return EE_OK; };
        QStringList names;
        for (const QByteArray& identifier : identifiers) {
            names << QStringLiteral("espeak-ng ") + QString::fromLatin1(identifier);
        }
        return EspeakBackend::create(std::move(api), std::move(identifiers), std::move(names));
    }
};

// A voice, rate or pitch that cannot be set stops the sentence before any of it is said in
// another voice; a synthesis that fails is reported too. Both name the voice and the error.
TEST(EspeakFailures, AFailedCallIsReportedAndNothingIsSaidAfterASettingFails) {
    struct Case {
        const char* failing;
        const char* failingVoice;
        espeak_ERROR rate, pitch, synth;
        const char* error; // empty: the sentence is said
    };
    const Case cases[] = {
        {"nothing", "", EE_OK, EE_OK, EE_OK, ""},
        {"the voice", "gmw/en-test", EE_OK, EE_OK, EE_OK,
         "espeak-ng could not select the voice gmw/en-test (espeak-ng error 2)"},
        {"the rate", "", EE_INTERNAL_ERROR, EE_OK, EE_OK,
         "espeak-ng could not set the rate of the voice gmw/en-test (espeak-ng error -1)"},
        {"the pitch", "", EE_OK, EE_INTERNAL_ERROR, EE_OK,
         "espeak-ng could not set the pitch of the voice gmw/en-test (espeak-ng error -1)"},
        {"the synthesis", "", EE_OK, EE_OK, EE_INTERNAL_ERROR,
         "espeak-ng could not speak with the voice gmw/en-test (espeak-ng error -1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("failing: ") + c.failing);
        FakeEspeak::reset();
        FakeEspeak::failingVoice = c.failingVoice;
        FakeEspeak::rateResult = c.rate;
        FakeEspeak::pitchResult = c.pitch;
        FakeEspeak::synthResult = c.synth;
        const auto backend = FakeEspeak::backend({"gmw/en-test"});
        std::size_t samples = 0;
        const SampleSink sink = [&](const std::int16_t*, std::size_t count, int rate) {
            EXPECT_EQ(rate, 22050);
            samples += count;
            return true;
        };
        const WordSink words = [](WordSpan) {};
        std::string error;
        try {
            EXPECT_TRUE(backend->synthesize(0, QStringLiteral("Hello."), {}, sink, words));
        } catch (const SynthesisError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(samples, error.empty() ? 2205U : 0U);
        const bool settingFailed = c.failingVoice[0] != '\0' || c.rate != EE_OK || c.pitch != EE_OK;
        EXPECT_EQ(FakeEspeak::syntheses.load(), settingFailed ? 0 : 1);
    }
}

// What the sink throws does not pass through espeak-ng: espeak-ng is told to stop, and it comes
// out of synthesize once espeak-ng has returned.
TEST(EspeakFailures, WhatTheSinkThrowsStopsEspeakAndComesOutAfterIt) {
    FakeEspeak::reset();
    const auto backend = FakeEspeak::backend({"gmw/en-test"});
    const SampleSink sink = [](const std::int16_t*, std::size_t, int) -> bool {
        throw std::bad_alloc();
    };
    EXPECT_THROW(backend->synthesize(0, QStringLiteral("Hello."), {}, sink, [](WordSpan) {}),
                 std::bad_alloc);
    EXPECT_EQ(FakeEspeak::syntheses.load(), 1);
    EXPECT_EQ(FakeEspeak::callbackResult.load(), 1);
}

// Through the engine: a voice that cannot be selected says nothing, its text ends, a line on
// stderr names it, and another voice speaks afterwards.
TEST(EspeakFailures, AVoiceThatCannotBeSelectedSaysNothingAndItsTextEnds) {
    FakeEspeak::reset();
    FakeEspeak::failingVoice = "gmw/en-broken";
    SynthesisWorker worker([] {
        std::vector<std::unique_ptr<SynthesisBackend>> backends;
        backends.push_back(FakeEspeak::backend({"gmw/en-working", "gmw/en-broken"}));
        return backends;
    });
    auto made = std::make_unique<CaptureAudioOutput>(kFast);
    CaptureAudioOutput* output = made.get();
    LocalSpeechEngine engine(std::move(made), worker);
    ASSERT_EQ(engine.VoiceCount(), 2);

    engine.SelectVoice(2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("Good morning. Good night.")), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quorvella: a sentence could not be spoken and is skipped: espeak-ng could not "
              "select the voice gmw/en-broken (espeak-ng error 2)\n"
              "quorvella: a sentence could not be spoken and is skipped: espeak-ng could not "
              "select the voice gmw/en-broken (espeak-ng error 2)\n");
    EXPECT_EQ(output->frameCount(), 0);
    EXPECT_EQ(FakeEspeak::syntheses.load(), 0);

    engine.SelectVoice(1);
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("Good morning.")), 1);
    EXPECT_EQ(FakeEspeak::syntheses.load(), 1);
    EXPECT_GT(output->frameCount(), 0);
}

} // namespace
} // namespace quorvella
