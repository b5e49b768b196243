#include "speech/local_speech_engine.h"

#include "speech/silence_trimmer.h"
#include "tests/support/event_loop.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>

namespace quorvella {
namespace {

constexpr double kFast = 25.0;

struct Reached {
    int offset;
    int length;
    qint64 frame; // frames captured when the word was reported
};

int firstVoiceOf(const LocalSpeechEngine& engine, const QString& synthesiser) {
    for (int voice = 1; voice <= engine.VoiceCount(); ++voice) {
        if (engine.VoiceName(voice).startsWith(synthesiser)) {
            return voice;
        }
    }
    return 0;
}

class WordsOfEachSynthesiser : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        auto output = std::make_unique<CaptureAudioOutput>(kFast);
        capture = output.get();
        engine = std::make_unique<LocalSpeechEngine>(std::move(output));
        const int voice = firstVoiceOf(*engine, QString::fromLatin1(GetParam()));
        ASSERT_GT(voice, 0) << "no " << GetParam() << " voice";
        engine->SelectVoice(voice);
        QObject::connect(engine.get(), &SpeechEngine::WordReached, [this](int offset, int length) {
            reached.push_back({offset, length, capture->frameCount()});
        });
    }

    void speakToEnd(const QString& text) {
        QSignalSpy done(engine.get(), &SpeechEngine::TextDataDone);
        engine->SpeakText(text);
        ASSERT_TRUE(runUntil([&] { return done.count() > 0; }, 60000));
    }

    QList<int> offsets() const {
        QList<int> result;
        for (const Reached& r : reached) {
            result << r.offset;
        }
        return result;
    }

    CaptureAudioOutput* capture = nullptr;
    std::unique_ptr<LocalSpeechEngine> engine;
    std::vector<Reached> reached;
};

// Each word of text (a run of letters, accents included, or digits) as offset and length.
QList<std::pair<int, int>> wordSpans(const QString& text) {
    QList<std::pair<int, int>> spans;
    static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{M}\\p{N}]+"));
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        if (match.captured().at(0).unicode() < 0x2E80) { // not Chinese, which these voices skip
            spans.push_back({int(match.capturedStart()), int(match.capturedLength())});
        }
    }
    return spans;
}

QList<int> wordStarts(const QString& text) {
    QList<int> starts;
    for (const auto& span : wordSpans(text)) {
        starts << span.first;
    }
    return starts;
}

int peakBetween(const CaptureAudioOutput& capture, qint64 from, qint64 to) {
    int result = 0;
    for (qint64 i = 2 * from; i < 2 * to; ++i) {
        result = std::max(result, std::abs(int(capture.frames[std::size_t(i)])));
    }
    return result;
}

TEST_P(WordsOfEachSynthesiser, EachWordIsReportedAtItsFirstCharacterAsItsSoundStarts) {
    // A Chinese word, full-width punctuation with no blank after it, two blanks, a line break
    // and an accented letter.
    const QString text = QStringLiteral("Good morning, 老师！We  like the café\nby the river。");
    speakToEnd(text);
    EXPECT_EQ(offsets(), wordStarts(text));
    EXPECT_EQ(offsets(), (QList<int>{0, 5, 17, 21, 26, 30, 35, 38, 42}));
    QList<std::pair<int, int>> spans;
    for (const Reached& r : reached) {
        spans.push_back({r.offset, r.length});
    }
    EXPECT_EQ(spans, wordSpans(text)); // the whole word, and nothing but the word
    ASSERT_FALSE(reached.empty());
    // The mark goes with the sound: the first word at once, and each word's own audio follows
    // its mark (within 50 ms of it, the stretch up to the next mark is not silent).
    EXPECT_LT(reached.front().frame, AudioOutput::kSampleRate / 50);
    for (std::size_t i = 0; i < reached.size(); ++i) {
        const qint64 from = reached[i].frame;
        const qint64 to = i + 1 < reached.size() ? reached[i + 1].frame : capture->frameCount();
        EXPECT_GT(peakBetween(*capture, from, std::min(to, from + AudioOutput::kSampleRate / 20)),
                  SilenceTrimmer::kAudible)
            << "no sound at the mark of "
            << text.mid(reached[i].offset, reached[i].length).toStdString();
    }
}

TEST_P(WordsOfEachSynthesiser, EveryWordOfALongTextIsReportedOnceInOrder) {
    const QStringList sentences = {
        QStringLiteral("The river runs past the old mill and under the stone bridge."),
        QStringLiteral("Children walk along its banks on their way to school every morning."),
        QStringLiteral("In the summer the water is low and warm, and fish rest in the shade."),
        QStringLiteral("Their teacher tells them stories about the town as it was long ago."),
    };
    QString text;
    while (wordStarts(text).size() < 200) {
        text += sentences.at(wordStarts(text).size() % sentences.size()) + u' ';
    }
    const QList<int> expected = wordStarts(text);
    ASSERT_GE(expected.size(), 200);
    speakToEnd(text);
    EXPECT_EQ(offsets(), expected);
}

TEST_P(WordsOfEachSynthesiser, PausedNoWordIsReportedAndStoppedNoneFollows) {
    const QString text = QStringLiteral(
        "One two three four five six seven eight nine ten. Eleven twelve thirteen fourteen.");
    engine->SpeakText(text);
    ASSERT_TRUE(runUntil([&] { return reached.size() >= 2; }));
    engine->PauseSpeech();
    const std::size_t atPause = reached.size();
    runUntil([] { return false; }, 200); // 5 s of audio at the capture's clock
    EXPECT_EQ(reached.size(), atPause);
    engine->ResumeSpeech();
    ASSERT_TRUE(runUntil([&] { return reached.size() >= atPause + 2; }));
    engine->StopSpeech();
    const std::size_t atStop = reached.size();
    runUntil([] { return false; }, 200);
    EXPECT_EQ(reached.size(), atStop);
    EXPECT_LT(atStop, std::size_t(wordStarts(text).size()));
}

// A window that stops at the end of a text and speaks another (while a further text was queued)
// sees no word of the text it dropped, even one whose audio the output took in the same tick.
TEST_P(WordsOfEachSynthesiser, AStopInAnEndOfTextReportDropsTheWordsQueuedAfterIt) {
    engine->SpeakText(QStringLiteral("Alpha"));
    engine->SpeakText(QStringLiteral("Bravo charlie delta."));
    std::size_t atRestart = 0;
    int ends = 0;
    QObject::connect(engine.get(), &SpeechEngine::TextDataDone, [&] {
        if (++ends == 1) {
            engine->StopSpeech();
            atRestart = reached.size();
            engine->SpeakText(QStringLiteral("Echo"));
        }
    });
    ASSERT_TRUE(runUntil([&] { return ends == 2; }));
    ASSERT_EQ(atRestart, 1U);
    EXPECT_EQ(reached.size(), 2U);
    for (std::size_t i = atRestart; i < reached.size(); ++i) {
        EXPECT_EQ(std::pair(reached[i].offset, reached[i].length), std::pair(0, 4));
    }
}

INSTANTIATE_TEST_SUITE_P(Voices, WordsOfEachSynthesiser, testing::Values("flite", "espeak-ng"));

} // namespace
} // namespace quorvella
