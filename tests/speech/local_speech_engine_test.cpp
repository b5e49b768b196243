#include "speech/local_speech_engine.h"

#include "core/app_error.h"
#include "speech/first_play_audio_output.h"
#include "tests/support/event_loop.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

#include <random>

namespace quorvella {
namespace {

constexpr double kFast = 25.0; // the capturing clock runs this many times real time
// Two recordings of one text agree in length to 40 ms (in interleaved samples).
constexpr double kSameLength = 2 * 0.04 * AudioOutput::kSampleRate;

const QString kLongText = QStringLiteral(
    "The library opens at eight in the morning. Students come in quietly and find a seat near "
    "the windows. Some of them read newspapers, others study for their examinations, and a few "
    "simply sit and think. The librarian walks between the shelves and puts the returned books "
    "back in their places.");

struct Engine {
    CaptureAudioOutput* output;
    std::unique_ptr<LocalSpeechEngine> engine;
};

Engine makeEngine(double clockRate = kFast) {
    auto output = std::make_unique<CaptureAudioOutput>(clockRate);
    CaptureAudioOutput* raw = output.get();
    return {raw, std::make_unique<LocalSpeechEngine>(std::move(output))};
}

void runFor(int ms) {
    runUntil([] { return false; }, ms);
}

int peak(const std::vector<std::int16_t>& samples, int channel) {
    int result = 0;
    for (std::size_t i = std::size_t(channel); i < samples.size(); i += 2) {
        result = std::max(result, std::abs(int(samples[i])));
    }
    return result;
}

double seconds(const CaptureAudioOutput& output) {
    return double(output.frameCount()) / AudioOutput::kSampleRate;
}

// Speaks text to its end and returns the number of TextDataDone reports, waiting a little
// after the first for any second one.
int speakToEnd(LocalSpeechEngine& engine, const QString& text) {
    QSignalSpy done(&engine, &SpeechEngine::TextDataDone);
    engine.SpeakText(text);
    EXPECT_TRUE(runUntil([&] { return done.count() > 0; }));
    runFor(150);
    return int(done.count());
}

int firstEspeakVoice(const LocalSpeechEngine& engine) {
    for (int voice = 1; voice <= engine.VoiceCount(); ++voice) {
        if (engine.VoiceName(voice).startsWith(QStringLiteral("espeak-ng"))) {
            return voice;
        }
    }
    return 0;
}

class EachSynthesiser : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m = makeEngine();
        const int voice = std::string(GetParam()) == "flite" ? 1 : firstEspeakVoice(*m.engine);
        ASSERT_GT(voice, 0) << "no " << GetParam() << " voice";
        ASSERT_TRUE(m.engine->VoiceName(voice).startsWith(QString::fromLatin1(GetParam())));
        m.engine->SelectVoice(voice);
    }
    Engine m;
};

TEST_P(EachSynthesiser, HelloIsHeardOnceAndEndsOnce) {
    EXPECT_EQ(speakToEnd(*m.engine, QStringLiteral("hello")), 1);
    EXPECT_GT(peak(m.output->frames, 0), 2000);
    EXPECT_GT(seconds(*m.output), 0.2);
    EXPECT_LT(seconds(*m.output), 2.0);
}

TEST_P(EachSynthesiser, AFasterSpeedGivesShorterSpeech) {
    const QString text = QStringLiteral("Reading aloud helps learners remember new words.");
    m.engine->SetSpeed(100);
    speakToEnd(*m.engine, text);
    const double slow = seconds(*m.output);
    m.output->frames.clear();
    m.engine->SetSpeed(300);
    speakToEnd(*m.engine, text);
    EXPECT_LT(seconds(*m.output), slow * 0.6) << "slow " << slow;
}

TEST_P(EachSynthesiser, PauseHoldsTheAudioAndResumeGoesOnWhereItStopped) {
    speakToEnd(*m.engine, kLongText);
    const std::vector<std::int16_t> whole = m.output->frames;
    m.output->frames.clear();

    QSignalSpy done(m.engine.get(), &SpeechEngine::TextDataDone);
    m.engine->SpeakText(kLongText);
    ASSERT_TRUE(runUntil([&] { return m.output->frameCount() > AudioOutput::kSampleRate; }));
    m.engine->PauseSpeech();
    const qint64 atPause = m.output->frameCount();
    // The output's clock stands still while paused: no frame is taken, no end is reached.
    auto* clock = m.output->findChild<QTimer*>("playClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_FALSE(clock->isActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(m.output->frameCount(), atPause);
    EXPECT_EQ(done.count(), 0);
    m.engine->ResumeSpeech();
    ASSERT_TRUE(runUntil([&] { return done.count() > 0; }));
    // Nothing lost, nothing played twice: a lost or repeated chunk is 100 ms. (Synthesis has
    // random noise in it and espeak-ng keeps a little state between texts: lengths agree to a
    // few milliseconds, samples need not.)
    EXPECT_NEAR(double(m.output->frames.size()), double(whole.size()), kSameLength);
}

TEST_P(EachSynthesiser, StopEndsTheOutputAtOnceWithoutAnEndReport) {
    QSignalSpy done(m.engine.get(), &SpeechEngine::TextDataDone);
    m.engine->SpeakText(kLongText);
    ASSERT_TRUE(runUntil([&] { return m.output->frameCount() > AudioOutput::kSampleRate; }));
    m.engine->StopSpeech();
    const qint64 atStop = m.output->frameCount();
    auto* clock = m.output->findChild<QTimer*>("playClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_FALSE(clock->isActive()) << "the output still plays after stop";
    // The synthesis thread may still be busy with the text stopped: nothing of it may reach
    // the output or report its end.
    runFor(300);
    EXPECT_EQ(m.output->frameCount(), atStop);
    EXPECT_EQ(done.count(), 0);
    // And the engine speaks again afterwards.
    EXPECT_EQ(speakToEnd(*m.engine, QStringLiteral("again")), 1);
}

TEST_P(EachSynthesiser, ALeftVolumeOfZeroSilencesTheLeftChannel) {
    m.engine->SetVolumeRight(65535);
    m.engine->SetVolumeLeft(0);
    speakToEnd(*m.engine, QStringLiteral("left and right"));
    EXPECT_EQ(peak(m.output->frames, 0), 0);
    EXPECT_GT(peak(m.output->frames, 1), 2000);
}

INSTANTIATE_TEST_SUITE_P(Voices, EachSynthesiser, testing::Values("flite", "espeak-ng"));

TEST(LocalSpeechEngine, TwoEnginesSpeakAtOnceEachAsIfAlone) {
    const auto setUp = [](LocalSpeechEngine& engine, int voice, int speed) {
        engine.SelectVoice(voice);
        engine.SetSpeed(speed);
    };
    Engine a = makeEngine();
    Engine b = makeEngine();
    const int espeak = firstEspeakVoice(*b.engine);
    setUp(*a.engine, 1, 120);
    setUp(*b.engine, espeak, 260);
    speakToEnd(*a.engine, kLongText);
    speakToEnd(*b.engine, kLongText);
    const auto aloneA = a.output->frames;
    const auto aloneB = b.output->frames;
    a.output->frames.clear();
    b.output->frames.clear();

    QSignalSpy doneA(a.engine.get(), &SpeechEngine::TextDataDone);
    QSignalSpy doneB(b.engine.get(), &SpeechEngine::TextDataDone);
    a.engine->SpeakText(kLongText);
    b.engine->SpeakText(kLongText);
    ASSERT_TRUE(runUntil([&] { return doneA.count() > 0 && doneB.count() > 0; }));
    EXPECT_NEAR(double(a.output->frames.size()), double(aloneA.size()), kSameLength);
    EXPECT_NEAR(double(b.output->frames.size()), double(aloneB.size()), kSameLength);
    EXPECT_GT(peak(a.output->frames, 0), 2000);
    EXPECT_GT(peak(b.output->frames, 0), 2000);
}

// A text spoken over another waits for it, and a newer one takes the place of one still waiting:
// quick choices leave no backlog. The text replaced reports no end; nothing to say still ends.
TEST(LocalSpeechEngine, ATextSpokenOverAnotherWaitsAndANewerOneTakesItsPlace) {
    std::vector<std::size_t> alone;
    for (const char* text : {"first", "third"}) {
        Engine m = makeEngine();
        speakToEnd(*m.engine, QString::fromLatin1(text));
        alone.push_back(m.output->frames.size());
    }
    Engine m = makeEngine();
    QSignalSpy done(m.engine.get(), &SpeechEngine::TextDataDone);
    m.engine->SpeakText(QStringLiteral("first"));
    m.engine->SpeakText(QStringLiteral("second"));
    m.engine->SpeakText(QStringLiteral("third"));
    ASSERT_TRUE(runUntil([&] { return done.count() == 2; }));
    runFor(150);
    EXPECT_EQ(done.count(), 2);
    EXPECT_NEAR(double(m.output->frames.size()), double(alone[0] + alone[1]), 2 * kSameLength);
    m.engine->SpeakText(QString());
    EXPECT_TRUE(runUntil([&] { return done.count() == 3; }));
}

TEST(LocalSpeechEngine, LimitsValuesAndKeepsTheVoiceForNumbersOutOfRange) {
    Engine m = makeEngine();
    struct Case {
        void (LocalSpeechEngine::*set)(int);
        int (LocalSpeechEngine::*get)() const;
        int written, read;
    };
    const std::vector<Case> cases = {
        {&LocalSpeechEngine::SetSpeed, &LocalSpeechEngine::Speed, 10, 80},
        {&LocalSpeechEngine::SetSpeed, &LocalSpeechEngine::Speed, 150, 150},
        {&LocalSpeechEngine::SetSpeed, &LocalSpeechEngine::Speed, 9999, 450},
        {&LocalSpeechEngine::SetPitch, &LocalSpeechEngine::Pitch, 169, 169},
        {&LocalSpeechEngine::SetPitch, &LocalSpeechEngine::Pitch, -5, 50},
        {&LocalSpeechEngine::SetVolumeRight, &LocalSpeechEngine::VolumeRight, 70000, 65535},
        {&LocalSpeechEngine::SetVolumeLeft, &LocalSpeechEngine::VolumeLeft, -1, 0},
    };
    for (const Case& c : cases) {
        (m.engine.get()->*c.set)(c.written);
        EXPECT_EQ((m.engine.get()->*c.get)(), c.read) << c.written;
    }
    EXPECT_GE(m.engine->VoiceCount(), 2);
    m.engine->SelectVoice(2);
    for (const int outside : {0, -1, m.engine->VoiceCount() + 1}) {
        m.engine->SelectVoice(outside);
        EXPECT_EQ(m.engine->Voice(), 2);
    }
}

TEST(LocalSpeechEngine, CannotBeCreatedWithoutASynthesiser) {
    SynthesisWorker none([] { return std::vector<std::unique_ptr<SynthesisBackend>>(); });
    EXPECT_THROW(LocalSpeechEngine(std::make_unique<NullAudioOutput>(), none), AppError);
}

// The output is chosen when audio first plays, once, and then follows the engine: texts end,
// pauses pause it, stops drop its audio.
TEST(LocalSpeechEngine, ChoosesItsOutputWhenAudioFirstPlays) {
    int choices = 0;
    CaptureAudioOutput* capture = nullptr;
    auto output = std::make_unique<FirstPlayAudioOutput>([&] {
        ++choices;
        auto chosen = std::make_unique<CaptureAudioOutput>(kFast);
        capture = chosen.get();
        return chosen;
    });
    FirstPlayAudioOutput* first = output.get();
    LocalSpeechEngine engine(std::move(output));
    engine.StopSpeech();
    engine.PauseSpeech();
    engine.ResumeSpeech();
    EXPECT_EQ(choices, 0) << "chosen before any audio played";

    EXPECT_EQ(speakToEnd(engine, QStringLiteral("apple")), 1);
    ASSERT_EQ(choices, 1);
    EXPECT_EQ(first->chosen(), capture);
    EXPECT_GT(capture->frameCount(), 0);
    EXPECT_FALSE(capture->isActive());

    engine.SpeakText(kLongText);
    ASSERT_TRUE(runUntil([&] { return capture->frameCount() > 0; }));
    engine.PauseSpeech();
    EXPECT_TRUE(capture->isPaused());
    EXPECT_FALSE(capture->isPlaying());
    engine.ResumeSpeech();
    EXPECT_TRUE(capture->isPlaying());
    engine.PauseSpeech();
    engine.StopSpeech(); // a stop ends the pause and drops the audio
    EXPECT_FALSE(capture->isPaused());
    EXPECT_FALSE(capture->isActive());
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("library")), 1);
    EXPECT_EQ(choices, 1);
}

// A chooser that finds no output leaves the speech unheard, and every text still ends.
TEST(LocalSpeechEngine, AChooserThatGivesNoOutputLeavesTheSpeechUnheard) {
    auto output = std::make_unique<FirstPlayAudioOutput>([] { return nullptr; });
    FirstPlayAudioOutput* first = output.get();
    LocalSpeechEngine engine(std::move(output));
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("apple")), 1);
    EXPECT_NE(first->chosen(), nullptr);
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("library")), 1);
}

int threadCount() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

TEST(LocalSpeechEngine, SurvivesAThousandRandomCallsOnTwoEngines) {
    {
        // The synthesis thread, each synthesiser set up at its first word, and whatever Qt
        // starts for itself are there before we count.
        Engine warmUp = makeEngine();
        speakToEnd(*warmUp.engine, QStringLiteral("ready"));
        warmUp.engine->SelectVoice(firstEspeakVoice(*warmUp.engine));
        speakToEnd(*warmUp.engine, QStringLiteral("ready"));
    }
    const int threadsBefore = threadCount();
    {
        std::vector<Engine> engines;
        engines.push_back(makeEngine(50.0));
        engines.push_back(makeEngine(50.0));
        const QStringList words = {QStringLiteral("apple"), QStringLiteral("library"),
                                   QStringLiteral("Good morning, everyone."), kLongText};
        std::mt19937 random(42);
        const int voices = engines[0].engine->VoiceCount();
        for (int step = 0; step < 1000; ++step) {
            LocalSpeechEngine& engine = *engines[random() % 2].engine;
            switch (random() % 6) {
            case 0:
            case 1:
                engine.SpeakText(words.at(int(random() % words.size())));
                break;
            case 2:
                engine.PauseSpeech();
                break;
            case 3:
                engine.ResumeSpeech();
                break;
            case 4:
                engine.StopSpeech();
                break;
            case 5:
                engine.SelectVoice(int(random() % (voices + 2)));
                break;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, random() % 3);
        }
        for (Engine& e : engines) {
            e.engine->ResumeSpeech();
            e.engine->StopSpeech();
        }
        // Each still speaks to its end.
        for (Engine& e : engines) {
            EXPECT_EQ(speakToEnd(*e.engine, QStringLiteral("done")), 1);
        }
    }
    EXPECT_EQ(threadCount(), threadsBefore);
}

} // namespace
} // namespace quorvella

namespace quorvella {
namespace {

// A synthesiser that makes a fixed number of samples per character and notes what it was asked.
class ToneBackend final : public SynthesisBackend {
public:
    explicit ToneBackend(QStringList names) : m_names(std::move(names)) {}
    QStringList voiceNames() const override { return m_names; }
    bool synthesize(int voice, const QString& text, const VoiceSettings&, const SampleSink& sink,
                    const WordSink&) override {
        asked << QStringLiteral("%1:%2").arg(m_names.at(voice), text.trimmed());
        const std::vector<std::int16_t> samples(std::size_t(text.size()) * 160, 1000);
        return sink(samples.data(), samples.size(), 16000);
    }
    QStringList asked; // written on the worker's thread, read after the text has ended

private:
    QStringList m_names;
};

TEST(SynthesisWorker, ListsTheVoicesOfTheSynthesisersThatLoaded) {
    ToneBackend* first = nullptr;
    ToneBackend* second = nullptr;
    SynthesisWorker worker([&] {
        std::vector<std::unique_ptr<SynthesisBackend>> backends;
        backends.push_back(std::make_unique<ToneBackend>(QStringList{"a1", "a2"}));
        backends.push_back(std::make_unique<ToneBackend>(QStringList{"b1"}));
        first = static_cast<ToneBackend*>(backends[0].get());
        second = static_cast<ToneBackend*>(backends[1].get());
        return backends;
    });
    LocalSpeechEngine engine(std::make_unique<CaptureAudioOutput>(kFast), worker);
    ASSERT_EQ(engine.VoiceCount(), 3);
    EXPECT_EQ(engine.VoiceName(2), QStringLiteral("a2"));
    engine.SelectVoice(3);
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("One. Two")), 1);
    engine.SelectVoice(2);
    EXPECT_EQ(speakToEnd(engine, QStringLiteral("Three")), 1);
    EXPECT_EQ(second->asked, (QStringList{"b1:One.", "b1:Two"}));
    EXPECT_EQ(first->asked, (QStringList{"a2:Three"}));
}

} // namespace
} // namespace quorvella
