#include "vocabulary/new_word_study.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "tests/vocabulary/fake_interval_timer.h"
#include "tests/vocabulary/word_folder.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

class NewWordStudyTest : public ::testing::Test {
protected:
    NewWordStudyTest() {
        m_data.write("ti.txt", Lines{"Lesson 0", "Lesson 1", "Lesson 2"});
        m_data.write("dat/kwdc1.txt", Lines{
                                          "able@'eibl@" + encodeGbk(u"能干的") + "@0",
                                          "bank@b&Nk@" + encodeGbk(u"银行") + "@0",
                                          "cat@k&t@" + encodeGbk(u"猫") + "@0",
                                          "dog@dOg@" + encodeGbk(u"狗") + "@1",
                                          "egg @eg@  @12",
                                          "short@@",
                                      });
        m_data.write("dat/bookw.txt",
                     Lines{"a mnemonic for able@s@y@n@Able to.@" + encodeGbk(u"能。"),
                           "cat@c@a@t@A cat.@x"});
        m_study.groups().loadGroupList();
    }

    // The group at position, opened, with the calls so far forgotten.
    void open(int position) {
        m_study.groups().openGroup(position);
        m_engine.calls.clear();
    }

    WordFolder m_data;
    FakeSpeechEngine m_engine;
    RecordingMessagePort m_messages;
    FakeIntervalTimer m_timer;
    NewWordStudy m_study{m_data.folder(), m_engine, m_messages, m_timer};
};

TEST_F(NewWordStudyTest, ShowingARecordFillsTheDisplaysSpeaksAndLooksUpTheDetails) {
    open(0);
    m_study.select(0);
    EXPECT_EQ(m_study.wordDisplay(), "able");
    EXPECT_EQ(m_study.phoneticDisplay(), "'eibl");
    EXPECT_EQ(decodeGbk(m_study.meaningDisplay()), u"能干的");
    EXPECT_EQ(m_engine.calls, QStringList{"SpeakText(able)"});
    EXPECT_EQ(m_study.details().fields[0], "a mnemonic for able");

    // The entry selected already, and the selection removed: nothing is shown or spoken again.
    m_study.select(0);
    m_study.select(-1);
    EXPECT_EQ(m_study.words().selected(), -1);
    EXPECT_EQ(m_study.wordDisplay(), "able");
    EXPECT_EQ(m_engine.calls.size(), 1);

    // Not ticked: shown, not spoken; a word without details gets six blanks.
    m_study.setReadsWords(false);
    m_study.select(1);
    EXPECT_EQ(m_study.wordDisplay(), "bank");
    EXPECT_EQ(m_engine.calls.size(), 1);
    EXPECT_EQ(m_study.details(), (WordDetails{{" ", " ", " ", " ", " ", " "}}));
}

TEST_F(NewWordStudyTest, ARecordWithFewerFieldsShowsBlanks) {
    m_study.search("short");
    m_study.select(0);
    EXPECT_EQ(m_study.wordDisplay(), "short");
    EXPECT_EQ(m_study.phoneticDisplay(), " ");
    EXPECT_EQ(m_study.meaningDisplay(), " ");
}

TEST_F(NewWordStudyTest, PreviousOnTheFirstRemovesTheSelectionAndNextShowsItAgain) {
    open(0);
    m_study.select(0);
    EXPECT_TRUE(m_study.move(Move::Previous));
    EXPECT_EQ(m_study.words().selected(), -1);
    EXPECT_EQ(m_study.wordDisplay(), "able");

    EXPECT_TRUE(m_study.move(Move::Next));
    EXPECT_EQ(m_study.words().selected(), 0);
    EXPECT_EQ(m_engine.calls, (QStringList{"SpeakText(able)", "SpeakText(able)"}));

    EXPECT_TRUE(m_study.move(Move::Last));
    EXPECT_FALSE(m_study.move(Move::Next)); // the first after the last, spoken, no focus
    EXPECT_EQ(m_study.wordDisplay(), "able");
    EXPECT_EQ(m_engine.calls.last(), "SpeakText(able)");
    EXPECT_TRUE(m_study.move(Move::First));
    EXPECT_EQ(m_engine.calls.size(), 4); // "第一个" on the first shows nothing again
}

TEST_F(NewWordStudyTest, PictureButtonSpeaksTheCurrentWordTickedOrNot) {
    open(0);
    m_study.setReadsWords(false);
    m_study.select(2);
    m_study.rereadWord();
    EXPECT_EQ(m_engine.calls, QStringList{"SpeakText(cat)"});
}

TEST_F(NewWordStudyTest, AutomaticReadingCyclesThroughTheList) {
    open(0);
    m_study.startAutoReading();
    EXPECT_TRUE(m_study.autoReading());
    m_study.startAutoReading(); // on already: not started again
    EXPECT_EQ(m_timer.calls, QStringList{"start(3000)"});

    for (int tick = 0; tick < 4; ++tick) {
        m_study.tick();
    }
    EXPECT_EQ(m_engine.calls, (QStringList{"SpeakText(able)", "SpeakText(bank)", "SpeakText(cat)",
                                           "SpeakText(able)"}));

    // Another group opened while on: the next tick selects its first entry.
    open(1);
    m_study.tick();
    m_study.tick(); // one entry: spoken at most once
    m_study.tick();
    EXPECT_EQ(m_engine.calls, QStringList{"SpeakText(dog)"});

    m_study.stopAutoReading();
    EXPECT_FALSE(m_study.autoReading());
}

TEST_F(NewWordStudyTest, AutomaticReadingOnAnEmptyListDoesNothing) {
    open(2);
    ASSERT_TRUE(m_study.words().empty());
    m_study.startAutoReading();
    m_study.tick();
    m_study.tick();
    EXPECT_TRUE(m_engine.calls.isEmpty());
    EXPECT_EQ(m_study.words().selected(), -1);
}

TEST_F(NewWordStudyTest, IntervalChangesRestartARunningTimer) {
    m_study.setInterval(5); // off: nothing starts
    EXPECT_TRUE(m_timer.calls.isEmpty());
    m_study.startAutoReading();
    m_study.setInterval(7);
    EXPECT_EQ(m_timer.calls, (QStringList{"start(5000)", "stop", "start(7000)"}));

    // A number being typed beyond the range counts as the nearer bound at once.
    m_timer.calls.clear();
    m_study.setInterval(0);
    m_study.setInterval(45);
    EXPECT_EQ(m_timer.calls, (QStringList{"stop", "start(1000)", "stop", "start(30000)"}));
}

TEST_F(NewWordStudyTest, SearchListsEveryLineHoldingTheText) {
    struct Case {
        const char* text;
        Lines words;
    };
    const Case cases[] = {
        {"a", {"able", "bank", "cat"}},
        {"1", {"dog", "egg "}}, // a digit also finds the group numbers
        {"egg ", {"egg "}},     // a trailing blank must stand in the line
        {"bank ", {}},          //
        {"@b", {"bank"}},       // across a separator
        {"Able", {}},           // case counts
    };
    for (const Case& c : cases) {
        m_messages.messages.clear();
        m_study.search(c.text);
        Lines found;
        for (const WordRecord& record : m_study.words().records()) {
            found.push_back(record.field(1));
            EXPECT_EQ(record.number, int(found.size()));
        }
        EXPECT_EQ(found, c.words) << c.text;
        EXPECT_EQ(m_study.groups().count(), int(c.words.size())) << c.text;
        EXPECT_EQ(m_study.words().selected(), -1);
        EXPECT_EQ(m_messages.messages,
                  c.words.empty() ? QStringList{"在本教材单词表中，找不到你的内容"} : QStringList{})
            << c.text;
    }
}

TEST_F(NewWordStudyTest, SearchForAnEmptyTextFindsNothing) {
    m_study.search("");
    EXPECT_TRUE(m_study.words().empty());
    EXPECT_EQ(m_study.groups().count(), 0);
    EXPECT_EQ(m_messages.messages, QStringList{"在本教材单词表中，找不到你的内容"});
}

TEST_F(NewWordStudyTest, SearchWithoutTheWordListReportsTheErrorOnly) {
    open(0);
    m_data.remove("dat/kwdc1.txt");
    EXPECT_THROW(m_study.search("a"), AppError);
    EXPECT_TRUE(m_study.words().empty());
    EXPECT_EQ(m_study.groups().count(), 3); // the count of the last listing stays
    EXPECT_TRUE(m_messages.messages.isEmpty());
}

} // namespace
} // namespace quorvella
