// Long runs of the program's windows with the speech engine that speaks in-process, playing on a
// null output whose clock runs fast: automatic reading for 10,000 steps in the new-word and word
// bank windows, and 10,000 random presses of the lesson window's reading buttons. Nothing may
// crash, no end of a text may be lost, and the process's threads and memory stay flat.

#include "core/gbk_codec.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"
#include "speech/audio_output.h"
#include "speech/local_speech_engine.h"
#include "tests/app/installation.h"
#include "tests/app/program.h"
#include "tests/support/event_loop.h"
#include "tests/support/qt_printers.h"
#include "tools/lesson_file.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <malloc.h>
#include <random>
#include <unistd.h>

namespace quorvella {
namespace {

constexpr int kSteps = 10000;
constexpr int kWarmUp = 500;
constexpr double kFastClock = 1000.0; // the null output plays this many times real time
// After the warm-up, the process may hold this much more memory at the end, and no more threads.
constexpr double kRssGrowthLimitMb = 2.0;

SpeechEngineFactory fastNullSpeech() {
    return [] {
        return std::make_unique<LocalSpeechEngine>(
            std::make_unique<ClockedAudioOutput>(kFastClock));
    };
}

// Counts a signal's emissions. Unlike QSignalSpy it keeps nothing for each, so that it adds
// nothing to the memory measured.
class SignalCounter {
public:
    template <typename Sender, typename Signal>
    SignalCounter(Sender* sender, Signal signal)
        : m_connection(QObject::connect(sender, signal, [this] { ++m_count; })) {}
    ~SignalCounter() { QObject::disconnect(m_connection); }
    SignalCounter(const SignalCounter&) = delete;
    SignalCounter& operator=(const SignalCounter&) = delete;

    qsizetype count() const { return m_count; }

private:
    qsizetype m_count = 0;
    QMetaObject::Connection m_connection;
};

struct Figures {
    int threads = 0;
    double rssMb = 0;
};

// The process's threads and resident memory, its allocator's free memory given back first.
Figures processFigures() {
    malloc_trim(0);
    Figures figures;
    figures.threads = int(QDir(QStringLiteral("/proc/self/task"))
                              .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                              .size());
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        figures.rssMb = fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0;
    }
    return figures;
}

void expectFlat(const char* run, const Figures& before, const Figures& after, qint64 ms) {
    std::printf("%s: threads %d -> %d, resident memory %.1f MB -> %.1f MB (%+.2f MB), %lld ms\n",
                run, before.threads, after.threads, before.rssMb, after.rssMb,
                after.rssMb - before.rssMb, ms);
    EXPECT_LE(after.threads, before.threads) << run;
    EXPECT_LE(after.rssMb - before.rssMb, kRssGrowthLimitMb) << run;
}

// Handles the events that come for ms milliseconds (none waited for when 0).
void runFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } while (clock.elapsed() < ms);
}

// The learner picks a voice in the window's voice list: the one whose name (its tool tip) holds
// name. The long runs speak with flite's kal16, the quickest voice to make.
void pickVoice(Program& program, const char* window, const QString& name) {
    auto* voices = program.child<QComboBox>(window, "ComboBox1");
    for (int position = 0; position < voices->count(); ++position) {
        if (voices->itemData(position, Qt::ToolTipRole).toString().contains(name)) {
            voices->setCurrentIndex(position);
            emit voices->activated(position);
            return;
        }
    }
    ADD_FAILURE() << "no voice " << name.toStdString();
}

// The timer of automatic reading, made to tick every millisecond once it runs.
QTimer* fastTimer(Program& program, const char* window) {
    auto* timer = program.child<QTimer>(window, "Timer1");
    timer->setInterval(1);
    return timer;
}

TEST(LongRun, TheNewWordWindowReadsTenThousandWordsAutomatically) {
    Installation data;
    Program program(data.folder(), fastNullSpeech());
    SpeechEngine& engine = program.engineOf("TForm3");
    program.open(QStringLiteral("生词学习"));
    pickVoice(program, "TForm3", QStringLiteral("kal16"));
    program.doubleClick("TForm3", "ListBox2", 0);
    ASSERT_GT(program.child<QLineEdit>("TForm3", "Edit2")->text().toInt(), 1);

    SignalCounter done(&engine, &SpeechEngine::TextDataDone);
    auto* timer = program.child<QTimer>("TForm3", "Timer1");
    SignalCounter ticks(timer, &QTimer::timeout);
    // Each tick shows the next word and speaks it; the window never stops the speech, so the
    // word being spoken is spoken to its end and the newest word after it, the words between
    // giving way to the newer.
    const auto& speaking = dynamic_cast<const LocalSpeechEngine&>(engine);
    const auto read = [&](int steps) {
        program.press("TForm3", "Button10"); // "自动朗读"
        fastTimer(program, "TForm3");
        EXPECT_TRUE(runUntil([&] { return ticks.count() >= steps; }, 120000));
        program.press("TForm3", "Button11"); // "停止朗读"
        EXPECT_TRUE(runUntil([&] { return !speaking.isSpeaking(); }, 120000))
            << done.count() << " ends of " << ticks.count() << " words";
        runFor(100);
    };

    read(kWarmUp);
    const Figures before = processFigures();
    QElapsedTimer clock;
    clock.start();
    read(kWarmUp + kSteps);
    const Figures after = processFigures();

    // An end for each word spoken, and no end more: some words gave way, none is left over.
    EXPECT_GT(done.count(), 0);
    EXPECT_LE(done.count(), ticks.count());
    EXPECT_EQ(program.boxes(), QStringList{});
    expectFlat("new-word window, 10,000 steps", before, after, clock.elapsed());
}

// The n-th word of a bank whose words all start with "a".
std::string bankWord(int n) {
    std::string word = "a";
    for (int rest = n; rest > 0; rest /= 26) {
        word += char('a' + rest % 26);
    }
    return word;
}

// A bank of that many words, so that a listing "A" to "A" takes them all.
std::string bankOf(int words) {
    std::string bank;
    for (int n = 0; n < words; ++n) {
        bank += bankWord(n) + "@" + encodeGbk(u"词义") + "\r\n";
    }
    return bank;
}

TEST(LongRun, TheWordBankWindowReadsTenThousandWordsAutomatically) {
    Installation data;
    data.write(QStringLiteral("dat/zsks.txt"), bankOf(kSteps + 1));
    Program program(data.folder(), fastNullSpeech());
    SpeechEngine& engine = program.engineOf("TForm8");
    program.open(QStringLiteral("英语词库"));
    program.press("TForm8", "Button2"); // bank 1, "A" to "A"
    ASSERT_EQ(program.child<QLineEdit>("TForm8", "Edit2")->text(), QString::number(kSteps + 1));

    SignalCounter done(&engine, &SpeechEngine::TextDataDone);
    auto* timer = program.child<QTimer>("TForm8", "Timer1");
    SignalCounter ticks(timer, &QTimer::timeout);
    program.press("TForm8", "Button8"); // "自动朗读"
    fastTimer(program, "TForm8");
    // Each tick stops the word being spoken and speaks the next; most are cut off.
    ASSERT_TRUE(runUntil([&] { return ticks.count() >= kWarmUp; }, 60000));
    const Figures before = processFigures();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(runUntil([&] { return !timer->isActive(); }, 120000));
    const qsizetype endsDuringRun = done.count();

    // Reading stopped by itself on the last word, which is then spoken to its end, once.
    EXPECT_EQ(ticks.count(), kSteps);
    EXPECT_EQ(program.child<QLabel>("TForm8", "StaticText1")->text().toStdString(),
              bankWord(kSteps));
    EXPECT_TRUE(runUntil([&] { return done.count() > endsDuringRun; }, 10000));
    runFor(300);
    EXPECT_EQ(done.count(), endsDuringRun + 1);
    const Figures after = processFigures();
    EXPECT_EQ(program.boxes(), QStringList{});
    expectFlat("word bank window, 10,000 steps", before, after, clock.elapsed());
}

TEST(LongRun, TheLessonWindowTakesTenThousandRandomPressesOfItsReadingButtons) {
    Installation data;
    data.write(QStringLiteral("text/0.txt"),
               makeLessonFile({"    It is a dog. It is a big dog.", "    The dog is mine."},
                              LessonStudy::kLessonKey)
                   .bytes);
    Program program(data.folder(), fastNullSpeech());
    SpeechEngine& engine = program.engineOf("TForm2");
    program.open(QStringLiteral("课文学习"));
    pickVoice(program, "TForm2", QStringLiteral("kal16"));
    program.doubleClick("TForm2", "ListBox1", 0);
    auto* pane = program.child<QTextEdit>("TForm2", "RichEdit2");
    ASSERT_TRUE(pane->toPlainText().startsWith(QStringLiteral("    It is a dog.")));

    const char* names[] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"};
    QPushButton* buttons[5];
    for (int i = 0; i < 5; ++i) {
        buttons[i] = program.child<QPushButton>("TForm2", names[i]);
    }
    // The enabled buttons as a pattern: idle "11000", reading "00101", paused "00011".
    const auto pattern = [&] {
        QString enabled;
        for (QPushButton* button : buttons) {
            enabled += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return enabled;
    };
    const QStringList legal = {"11000", "00101", "00011"};
    SignalCounter done(&engine, &SpeechEngine::TextDataDone);

    std::mt19937 random(16);
    const int length = int(pane->toPlainText().size());
    const auto pressAtRandom = [&] {
        const int which = int(random() % 5);
        if (which == 1) { // a learner selects some text before reading the selection
            QTextCursor selection(pane->document());
            const int start = int(random() % std::uint32_t(length - 1));
            selection.setPosition(start);
            selection.setPosition(start + 1 + int(random() % std::uint32_t(length - start - 1)),
                                  QTextCursor::KeepAnchor);
            pane->setTextCursor(selection);
        }
        QTest::mouseClick(buttons[which], Qt::LeftButton);
        runFor(int(random() % 4));
    };
    // Left alone, a reading comes to its end and the window is idle again.
    const auto comesToItsEnd = [&] {
        if (buttons[3]->isEnabled()) {
            QTest::mouseClick(buttons[3], Qt::LeftButton); // continue a paused reading
        }
        return runUntil([&] { return pattern() == "11000"; }, 20000);
    };

    for (int press = 0; press < kWarmUp; ++press) {
        pressAtRandom();
    }
    ASSERT_TRUE(comesToItsEnd());
    const Figures before = processFigures();
    QElapsedTimer clock;
    clock.start();
    int stuck = 0;
    for (int press = 1; press <= kSteps; ++press) {
        pressAtRandom();
        if (!legal.contains(pattern())) {
            ADD_FAILURE() << "press " << press << ": buttons " << pattern().toStdString();
            break;
        }
        if (press % 1000 == 0 && !comesToItsEnd()) {
            ++stuck;
        }
    }
    EXPECT_EQ(stuck, 0) << "readings that never ended";
    // A last reading of the whole text, left alone, ends.
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    const qsizetype ends = done.count();
    EXPECT_EQ(pattern(), "00101");
    EXPECT_TRUE(comesToItsEnd());
    EXPECT_GT(done.count(), ends);
    const Figures after = processFigures();
    EXPECT_EQ(program.boxes(), QStringList{});
    std::printf("lesson window: %lld ends of text reported\n", qint64(done.count()));
    expectFlat("lesson window, 10,000 presses", before, after, clock.elapsed());
}

// A lesson that decodes to garbage (every byte value but 0, the pane's end) read aloud by each
// synthesiser: the reading comes to its end and the window to rest.
class GarbledLesson : public testing::TestWithParam<const char*> {};

TEST_P(GarbledLesson, IsReadAloudToItsEnd) {
    std::mt19937 random(1216);
    std::string garbage(1500, ' ');
    for (char& byte : garbage) {
        byte = char(1 + random() % 255);
    }
    Installation data;
    data.write(QStringLiteral("text/0.txt"),
               tedstr::encode(garbage, LessonStudy::kLessonKey) + "\r\n");
    Program program(data.folder(), fastNullSpeech());
    SignalCounter done(&program.engineOf("TForm2"), &SpeechEngine::TextDataDone);
    program.open(QStringLiteral("课文学习"));
    pickVoice(program, "TForm2", QString::fromLatin1(GetParam()));
    program.doubleClick("TForm2", "ListBox1", 0);
    program.press("TForm2", "BitBtn1");
    auto* readAll = program.child<QPushButton>("TForm2", "BitBtn1");
    EXPECT_FALSE(readAll->isEnabled());
    EXPECT_TRUE(runUntil([&] { return readAll->isEnabled(); }, 60000)) << "no end of text";
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(program.boxes(), QStringList{});
}

INSTANTIATE_TEST_SUITE_P(EachSynthesiser, GarbledLesson,
                         testing::Values("flite rms", "espeak-ng English (America)"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.index == 0 ? "flite" : "espeak_ng");
                         });

} // namespace
} // namespace quorvella
