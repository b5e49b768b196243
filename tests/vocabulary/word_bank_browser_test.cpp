#include "vocabulary/word_bank_browser.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "tests/vocabulary/fake_interval_timer.h"
#include "tests/vocabulary/word_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvella {
namespace {

constexpr int kTamsora = 0;
constexpr int kBand4 = 2;

// A message port whose boxes stay open while whileOpen runs: what a tick of the timer does when
// it falls due during a modal box.
class OpenBoxPort final : public MessagePort {
public:
    void showMessage(const QString& text) override {
        messages << text;
        if (whileOpen) {
            auto run = std::move(whileOpen); // once: the box's own events
            whileOpen = nullptr;
            run();
        }
        messages << QStringLiteral("closed");
    }
    void showError(const QString& text) override { messages << text; }
    void showApplicationError(const QString& text) override { messages << text; }

    QStringList messages;
    std::function<void()> whileOpen;
};

class WordBankBrowserTest : public ::testing::Test {
protected:
    WordBankBrowserTest() {
        // Sorted by word as the banks are: a capital, an empty line, leading blanks, a line
        // without a meaning, and a Chinese line that ends any letter range.
        m_data.write("dat/zsks.txt",
                     Lines{"3d@" + encodeGbk(u"三维"), "abandon@" + encodeGbk(u"放弃"),
                           "Abc@capital", "able@" + encodeGbk(u"能干的"), "", "  ace @ trim ",
                           "bank@" + encodeGbk(u"银行"), "cat", "dog@" + encodeGbk(u"狗"),
                           encodeGbk(u"中文@Chinese"), "zoo@" + encodeGbk(u"动物园")});
        m_data.write("dat/sj.dat",
                     Lines{"bank@" + encodeGbk(u"银行；河岸"), "bankrupt@" + encodeGbk(u"破产的"),
                           "river@" + encodeGbk(u"河流"), "rob@" + encodeGbk(u"抢劫")});
    }

    Lines listedWords() const {
        Lines words;
        for (const WordRecord& record : m_browser.words().records()) {
            words.push_back(record.field(1));
            EXPECT_EQ(record.number, int(words.size()));
        }
        return words;
    }

    // Five words, the first current, the calls so far forgotten.
    void listFive() {
        ASSERT_TRUE(m_browser.list(kTamsora, "A", "C"));
        ASSERT_EQ(m_browser.words().size(), 5);
        m_engine.calls.clear();
    }

    WordFolder m_data;
    FakeSpeechEngine m_engine;
    RecordingMessagePort m_messages;
    FakeIntervalTimer m_timer;
    WordBankBrowser m_browser{m_data.folder(), m_engine, m_messages, m_timer};
};

TEST_F(WordBankBrowserTest, CreationSelectsTheFirstVoice) {
    m_browser.create();
    EXPECT_EQ(m_engine.calls, QStringList{"SelectVoice(1)"});
    EXPECT_EQ(m_browser.wordDisplay(), " ");
    EXPECT_EQ(m_browser.meaningDisplay(), " ");
    EXPECT_EQ(m_browser.count(), 0);
}

TEST_F(WordBankBrowserTest, ListingTakesTheLettersOfTheRangeUpToTheFirstInitialAfterIt) {
    struct Case {
        const char* from;
        const char* to;
        Lines words;
    };
    const Case cases[] = {
        // The capital and the empty line are passed over; the line keeps its blanks.
        {"A", "A", {"abandon", "able", "  ace "}},
        {"A", "B", {"abandon", "able", "  ace ", "bank"}},
        {"C", "C", {"cat"}},
        {"M", "C", {}}, // every initial sorts before m until the first after c ends it
        {"A", "Z", {"abandon", "able", "  ace ", "bank", "cat", "dog"}}, // the Chinese line ends it
        {"Y", "Z", {}},
        {"a", "b", {"abandon", "able", "  ace ", "bank"}},
    };
    for (const Case& c : cases) {
        m_messages.messages.clear();
        m_engine.calls.clear();
        const bool focus = m_browser.list(kTamsora, c.from, c.to);
        const std::string range = std::string(c.from) + "-" + c.to;
        EXPECT_EQ(listedWords(), c.words) << range;
        EXPECT_EQ(m_browser.count(), int(c.words.size())) << range;
        if (c.words.empty()) {
            EXPECT_FALSE(focus) << range;
            EXPECT_EQ(m_messages.messages, QStringList{WordBankBrowser::kNoWords}) << range;
            EXPECT_EQ(m_browser.words().selected(), -1) << range;
            EXPECT_TRUE(m_engine.calls.isEmpty()) << range;
        } else {
            // "第一个": the first row is current, shown and spoken.
            EXPECT_TRUE(focus) << range;
            EXPECT_TRUE(m_messages.messages.isEmpty()) << range;
            EXPECT_EQ(m_browser.words().selected(), 0) << range;
            EXPECT_EQ(m_browser.wordDisplay(), c.words.front()) << range;
            EXPECT_EQ(
                m_engine.calls,
                (QStringList{
                    "StopSpeech",
                    QStringLiteral("SpeakText(%1)").arg(QString::fromStdString(c.words.front()))}))
                << range;
        }
    }
}

TEST_F(WordBankBrowserTest, ListedRowsKeepTheLineAsRead) {
    m_browser.list(kTamsora, "A", "A");
    const std::vector<WordRecord> expected = {
        {1, {"abandon", encodeGbk(u"放弃")}},
        {2, {"able", encodeGbk(u"能干的")}},
        {3, {"  ace ", " trim "}},
    };
    EXPECT_EQ(m_browser.words().records(), expected);
    EXPECT_EQ(decodeGbk(m_browser.meaningDisplay()), u"放弃");
}

TEST_F(WordBankBrowserTest, SearchFindsTheTextAnywhereInTheLine) {
    struct Case {
        std::string needle;
        Lines words;
    };
    const Case cases[] = {
        {encodeGbk(u"河"), {"bank", "river"}}, // only in meanings
        {"bank", {"bank", "bankrupt"}},
        {"k@", {"bank"}}, // across the separator
        {"Bank", {}},     // case counts
        {"", {}},         // an empty text is in no line
    };
    for (const Case& c : cases) {
        m_messages.messages.clear();
        m_browser.search(kBand4, c.needle);
        EXPECT_EQ(listedWords(), c.words) << c.needle;
        EXPECT_EQ(m_browser.count(), int(c.words.size())) << c.needle;
        EXPECT_EQ(m_messages.messages,
                  c.words.empty()
                      ? (QStringList{WordBankBrowser::kNotInThisBank, WordBankBrowser::kNoWords})
                      : QStringList{})
            << c.needle;
        EXPECT_EQ(m_browser.words().selected(), c.words.empty() ? -1 : 0) << c.needle;
    }
}

// The messages of a search that finds nothing come in order, the count being set between them.
TEST_F(WordBankBrowserTest, AFailedSearchSetsTheCountBetweenItsTwoMessages) {
    OpenBoxPort port;
    WordBankBrowser browser(m_data.folder(), m_engine, port, m_timer);
    browser.list(kTamsora, "A", "A");
    QStringList counts;
    port.whileOpen = [&] {
        counts << QString::number(browser.count());
        port.whileOpen = [&] { counts << QString::number(browser.count()); };
    };
    browser.search(kBand4, "nowhere");
    EXPECT_EQ(port.messages, (QStringList{WordBankBrowser::kNotInThisBank, "closed",
                                          WordBankBrowser::kNoWords, "closed"}));
    EXPECT_EQ(counts, (QStringList{"3", "0"}));
}

TEST_F(WordBankBrowserTest, ABankThatCannotBeOpenedEmptiesTheListAndChangesNothingElse) {
    listFive();
    m_browser.move(Move::Last);
    const std::string word = m_browser.wordDisplay();
    m_engine.calls.clear();
    m_data.remove("dat/zsks.txt");
    m_data.remove("dat/sj.dat");
    const std::pair<std::function<void()>, const char16_t*> operations[] = {
        {[&] { m_browser.list(kTamsora, "A", "Z"); }, u"dat/zsks.txt"},
        {[&] { m_browser.search(kBand4, "bank"); }, u"dat/sj.dat"}};
    for (const auto& [operation, file] : operations) {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const AppError& error) {
            EXPECT_EQ(error.text(),
                      QStringLiteral("Cannot open file \"%1\". No such file or directory")
                          .arg(m_data.folder().path(file)));
        }
        EXPECT_TRUE(m_browser.words().empty());
        EXPECT_EQ(m_browser.words().selected(), -1);
        EXPECT_EQ(m_browser.count(), 5);
        EXPECT_EQ(m_browser.wordDisplay(), word);
    }
    EXPECT_TRUE(m_messages.messages.isEmpty());
    EXPECT_TRUE(m_engine.calls.isEmpty());
}

TEST_F(WordBankBrowserTest, MovesSayWhenThereIsNothingFurtherAndNeverWrap) {
    struct Case {
        int from; // the current row before the move; -1: none
        Move move;
        int to;
        QString message; // empty: none, and the list gets the focus
    };
    const Case cases[] = {
        {-1, Move::First, 0, {}},
        {0, Move::First, 0, {}},
        {3, Move::First, 0, {}},
        {-1, Move::Previous, -1, {}},
        {0, Move::Previous, 0, WordBankBrowser::kAlreadyFirst},
        {3, Move::Previous, 2, {}},
        {-1, Move::Next, 0, {}},
        {2, Move::Next, 3, {}},
        {4, Move::Next, 4, WordBankBrowser::kAlreadyLast},
        {-1, Move::Last, 4, {}},
        {1, Move::Last, 4, {}},
        {4, Move::Last, 4, {}},
    };
    const char* const words[] = {"abandon", "able", "  ace ", "bank", "cat"};
    for (const Case& c : cases) {
        listFive();
        m_browser.select(c.from);
        m_engine.calls.clear();
        m_messages.messages.clear();
        const bool focus = m_browser.move(c.move);
        const std::string what = std::to_string(c.from) + " move " + std::to_string(int(c.move));
        EXPECT_EQ(m_browser.words().selected(), c.to) << what;
        EXPECT_EQ(focus, c.message.isEmpty()) << what;
        EXPECT_EQ(m_messages.messages, c.message.isEmpty() ? QStringList{} : QStringList{c.message})
            << what;
        // Only a row that becomes current is spoken.
        const QStringList spoken =
            c.to == c.from || c.to < 0
                ? QStringList{}
                : QStringList{"StopSpeech", QStringLiteral("SpeakText(%1)").arg(words[c.to])};
        EXPECT_EQ(m_engine.calls, spoken) << what;
    }
}

TEST_F(WordBankBrowserTest, AnEmptyListAnswersEveryMoveWithItsMessage) {
    m_browser.list(kTamsora, "M", "C");
    for (const Move move : {Move::First, Move::Previous, Move::Next, Move::Last}) {
        m_messages.messages.clear();
        EXPECT_FALSE(m_browser.move(move));
        EXPECT_EQ(m_messages.messages, QStringList{WordBankBrowser::kNoWords});
    }
    m_messages.messages.clear();
    m_browser.startAutoReading(2);
    EXPECT_EQ(m_messages.messages, QStringList{WordBankBrowser::kNoWords});
    EXPECT_TRUE(m_timer.calls.isEmpty());
}

TEST_F(WordBankBrowserTest, LosingTheSelectionShowsAndSpeaksThatRowAgain) {
    listFive();
    m_browser.select(3);
    m_browser.select(-1);
    EXPECT_EQ(m_browser.words().selected(), -1);
    EXPECT_EQ(m_browser.wordDisplay(), "bank");
    EXPECT_EQ(m_engine.calls,
              (QStringList{"StopSpeech", "SpeakText(bank)", "StopSpeech", "SpeakText(bank)"}));
}

TEST_F(WordBankBrowserTest, WithSpeakingOffWordsAreShownAndNothingIsStoppedOrSpoken) {
    listFive();
    m_browser.setSpeaks(false);
    m_browser.move(Move::Next);
    m_browser.move(Move::Last);
    m_browser.select(-1);
    EXPECT_EQ(m_browser.wordDisplay(), "cat");
    EXPECT_EQ(m_browser.meaningDisplay(), " "); // a line without a meaning
    EXPECT_TRUE(m_engine.calls.isEmpty());
    m_browser.setSpeaks(true);
    m_browser.move(Move::First);
    EXPECT_EQ(m_engine.calls, (QStringList{"StopSpeech", "SpeakText(abandon)"}));
}

TEST_F(WordBankBrowserTest, AutomaticReadingStepsToTheLastWordAndStops) {
    listFive();
    m_browser.startAutoReading(2);
    EXPECT_EQ(m_timer.calls, QStringList{"start(2000)"});
    EXPECT_TRUE(m_engine.calls.isEmpty()); // the first step comes one delay later
    for (int tick = 0; tick < 4; ++tick) {
        EXPECT_TRUE(m_browser.autoReading());
        m_browser.tick();
    }
    EXPECT_EQ(m_engine.calls,
              (QStringList{"StopSpeech", "SpeakText(able)", "StopSpeech", "SpeakText(  ace )",
                           "StopSpeech", "SpeakText(bank)", "StopSpeech", "SpeakText(cat)"}));
    EXPECT_FALSE(m_browser.autoReading());
    EXPECT_TRUE(m_messages.messages.isEmpty());
}

TEST_F(WordBankBrowserTest, AutomaticReadingStartedOnTheLastWordSaysSoAndStops) {
    listFive();
    m_browser.move(Move::Last);
    m_engine.calls.clear();
    m_browser.startAutoReading(2);
    EXPECT_FALSE(m_browser.tick());
    EXPECT_EQ(m_messages.messages, QStringList{WordBankBrowser::kAlreadyLast});
    EXPECT_FALSE(m_browser.autoReading());
    EXPECT_TRUE(m_engine.calls.isEmpty());
}

TEST_F(WordBankBrowserTest, AutomaticReadingGoesOnThroughANewListAndStopsOnAnEmptyOne) {
    listFive();
    m_browser.startAutoReading(2);
    m_browser.search(kBand4, "ban"); // bank, bankrupt; bank current
    m_engine.calls.clear();
    m_browser.tick();
    EXPECT_EQ(m_engine.calls, (QStringList{"StopSpeech", "SpeakText(bankrupt)"}));
    EXPECT_FALSE(m_browser.autoReading()); // the last row

    m_browser.startAutoReading(2);
    m_browser.list(kTamsora, "M", "C");
    m_messages.messages.clear();
    m_browser.tick();
    EXPECT_EQ(m_messages.messages, QStringList{WordBankBrowser::kNoWords});
    EXPECT_FALSE(m_browser.autoReading());
}

TEST_F(WordBankBrowserTest, PressingAgainRestartsOnlyForAnotherDelay) {
    listFive();
    m_browser.startAutoReading(2);
    m_browser.startAutoReading(2);
    m_browser.startAutoReading(3);
    m_browser.startAutoReading(0);  // a delay being typed counts as the nearer bound
    m_browser.startAutoReading(45); //
    m_browser.stopAutoReading();
    EXPECT_EQ(m_timer.calls,
              (QStringList{"start(2000)", "start(3000)", "start(1000)", "start(20000)", "stop"}));
    EXPECT_FALSE(m_browser.autoReading());
}

// Ticks fall due while a modal box is open: they wait for it instead of stacking boxes.
TEST_F(WordBankBrowserTest, ATickWhileAMessageIsOpenWaitsForIt) {
    OpenBoxPort port;
    WordBankBrowser browser(m_data.folder(), m_engine, port, m_timer);
    browser.list(kTamsora, "A", "D");

    // On the last word: the ticks behind the box find the timer stopped when it closes.
    browser.move(Move::Last);
    browser.startAutoReading(2);
    port.whileOpen = [&] {
        browser.tick();
        browser.tick();
    };
    browser.tick();
    EXPECT_EQ(port.messages, (QStringList{WordBankBrowser::kAlreadyLast, "closed"}));
    EXPECT_FALSE(browser.autoReading());

    // A box of "上一个" while reading: the waiting tick steps on once it has closed.
    port.messages.clear();
    browser.move(Move::First);
    browser.startAutoReading(2);
    m_engine.calls.clear();
    port.whileOpen = [&] {
        browser.tick();
        port.messages << QStringLiteral("spoken: %1").arg(m_engine.calls.size());
    };
    EXPECT_TRUE(browser.move(Move::Previous)); // the tick's step gives the list the focus
    EXPECT_EQ(port.messages, (QStringList{WordBankBrowser::kAlreadyFirst, "spoken: 0", "closed"}));
    EXPECT_EQ(browser.words().selected(), 1);
    EXPECT_EQ(m_engine.calls, (QStringList{"StopSpeech", "SpeakText(able)"}));
    EXPECT_TRUE(browser.autoReading());
}

TEST_F(WordBankBrowserTest, ABankOutsideTheEightIsRefusedBeforeAnythingChanges) {
    listFive();
    EXPECT_THROW(m_browser.list(8, "A", "Z"), AppError);
    EXPECT_THROW(m_browser.search(-1, "a"), AppError);
    EXPECT_EQ(m_browser.words().size(), 5);
}

} // namespace
} // namespace quorvella
