#include "vocabulary/dictation.h"

#include "core/gbk_codec.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/recording_message_port.h"
#include "tests/vocabulary/word_folder.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

const QString kWrong = QStringLiteral("输入错误，请重新输入：");
const QString kRight = QStringLiteral("输入正确，下一个：");
const QString kSorry = QStringLiteral("SpeakText(sorry,you are not right!)");

class DictationTest : public ::testing::Test {
protected:
    DictationTest() {
        m_data.write("ti.txt", Lines{"Lesson 0", "Lesson 1"});
        m_data.write("dat/kwdc1.txt", Lines{
                                          "apple@'&pl@" + encodeGbk(u"苹果") + "@0",
                                          "Bob@bOb@" + encodeGbk(u"人名") + "@0",
                                          "ice cream @ais@" + encodeGbk(u"冰淇淋") + "@0",
                                          "one@wVn@" + encodeGbk(u"一") + "@1",
                                      });
        m_dictation.groups().loadGroupList();
    }

    void open(int position) {
        m_dictation.groups().openGroup(position);
        m_engine.calls.clear();
    }

    // Checks the answer; true when the answer field was emptied.
    Dictation::Checked check(const std::string& answer, bool* emptied = nullptr) {
        bool wasEmptied = false;
        const Dictation::Checked checked =
            m_dictation.check(answer, [&wasEmptied] { wasEmptied = true; });
        if (emptied) {
            *emptied = wasEmptied;
        }
        return checked;
    }

    WordFolder m_data;
    FakeSpeechEngine m_engine;
    RecordingMessagePort m_messages;
    Dictation m_dictation{m_data.folder(), m_engine, m_messages};
};

TEST_F(DictationTest, SelectingWithTheDefaultOptionsHidesTheWordAndSpeaksIt) {
    open(0);
    m_dictation.select(0);
    EXPECT_EQ(m_dictation.currentWord(), "apple");
    EXPECT_EQ(m_dictation.currentPhonetic(), "'&pl");
    EXPECT_EQ(m_dictation.wordDisplay(), " ");
    EXPECT_EQ(m_dictation.phoneticDisplay(), " ");
    EXPECT_EQ(decodeGbk(m_dictation.meaningDisplay()), u"苹果");
    EXPECT_EQ(decodeGbk(m_dictation.hint()), u"首字母提示：");
    EXPECT_EQ(m_dictation.prompt(), u"请输入单词");
    EXPECT_EQ(m_engine.calls, QStringList{"SpeakText(apple)"});
}

TEST_F(DictationTest, DisplayOptionsShowAndHideTheCurrentWord) {
    open(0);
    m_dictation.select(1);
    m_dictation.setShowsWord(true);
    m_dictation.setShowsPhonetic(true);
    EXPECT_EQ(m_dictation.wordDisplay(), "Bob");
    EXPECT_EQ(m_dictation.phoneticDisplay(), "bOb");

    // The hint's two forms: with its caption when ticked, the bare letter at the next selection.
    m_dictation.setShowsInitial(true);
    EXPECT_EQ(decodeGbk(m_dictation.hint()), u"首字母提示：B");
    m_dictation.select(2);
    EXPECT_EQ(m_dictation.hint(), "i");
    EXPECT_EQ(m_dictation.wordDisplay(), "ice cream ");
    EXPECT_EQ(m_dictation.phoneticDisplay(), "ais");
    m_dictation.setShowsInitial(false);
    EXPECT_EQ(decodeGbk(m_dictation.hint()), u"首字母提示：");

    m_dictation.setShowsWord(false);
    m_dictation.setShowsPhonetic(false);
    EXPECT_EQ(m_dictation.wordDisplay(), " ");
    EXPECT_EQ(m_dictation.phoneticDisplay(), " ");
    m_dictation.select(0); // the phonetic stays hidden; the word display is blanked first
    EXPECT_EQ(m_dictation.phoneticDisplay(), " ");
    EXPECT_EQ(m_dictation.wordDisplay(), " ");
}

TEST_F(DictationTest, AnswersAreComparedByteForByte) {
    struct Case {
        int row;
        std::string answer;
        Dictation::Checked checked;
    };
    const Case cases[] = {
        {0, "apple", Dictation::Checked::Right},      {0, "Apple", Dictation::Checked::Wrong},
        {0, "apple ", Dictation::Checked::Wrong},     {0, "", Dictation::Checked::Wrong},
        {1, "bob", Dictation::Checked::Wrong},        {2, "ice cream", Dictation::Checked::Wrong},
        {2, "ice cream ", Dictation::Checked::Right}, // the word ends with the blank itself
    };
    for (const Case& c : cases) {
        open(0);
        m_dictation.select(c.row);
        m_engine.calls.clear();
        bool emptied = false;
        EXPECT_EQ(check(c.answer, &emptied), c.checked) << c.answer;
        EXPECT_TRUE(emptied);
        if (c.checked == Dictation::Checked::Right) {
            EXPECT_EQ(m_dictation.prompt(), kRight);
            EXPECT_EQ(m_dictation.words().selected(), (c.row + 1) % 3);
            EXPECT_EQ(m_engine.calls.size(), 1); // the next word
        } else {
            EXPECT_EQ(m_dictation.prompt(), kWrong);
            EXPECT_EQ(m_dictation.words().selected(), c.row);
            EXPECT_EQ(m_engine.calls, QStringList{kSorry});
        }
    }
}

TEST_F(DictationTest, ARightAnswerOnTheLastWrapsToTheFirst) {
    open(0);
    m_dictation.select(2);
    m_engine.calls.clear();
    EXPECT_EQ(check("ice cream "), Dictation::Checked::Right);
    EXPECT_EQ(m_dictation.words().selected(), 0);
    EXPECT_EQ(m_engine.calls, QStringList{"SpeakText(apple)"});
}

TEST_F(DictationTest, ARightAnswerInAOneWordListKeepsTheWord) {
    open(1);
    m_dictation.select(0);
    m_engine.calls.clear();
    EXPECT_EQ(check("one"), Dictation::Checked::Right);
    EXPECT_EQ(m_dictation.prompt(), kRight);
    EXPECT_EQ(m_dictation.words().selected(), 0);
    EXPECT_TRUE(m_engine.calls.isEmpty());
}

TEST_F(DictationTest, BeforeTheFirstSelectionTheLearnerIsAskedForAGroup) {
    open(0);
    bool emptied = true;
    EXPECT_EQ(check("", &emptied), Dictation::Checked::NoWord);
    EXPECT_FALSE(emptied);
    EXPECT_EQ(m_messages.messages, QStringList{"请选定单词复习组"});
    EXPECT_EQ(m_dictation.words().selected(), -1);
    EXPECT_EQ(m_dictation.prompt(), u"请输入单词");
    EXPECT_TRUE(m_engine.calls.isEmpty());

    // The hint of an empty word is its caption alone.
    m_dictation.setShowsInitial(true);
    EXPECT_EQ(decodeGbk(m_dictation.hint()), u"首字母提示：");
}

TEST_F(DictationTest, AnotherGroupKeepsTheCurrentWordUntilASelection) {
    open(0);
    m_dictation.select(1);
    open(1);
    EXPECT_EQ(m_dictation.currentWord(), "Bob");
    EXPECT_EQ(check("Bob"), Dictation::Checked::Right);
    EXPECT_EQ(m_messages.messages, QStringList{});
    EXPECT_EQ(m_dictation.words().selected(), 0); // "下一个" with no entry: the first
    EXPECT_EQ(m_dictation.currentWord(), "one");
}

TEST_F(DictationTest, AWordBeginningWithAChineseCharacterHintsThatCharacter) {
    m_data.write("dat/kwdc1.txt", Lines{encodeGbk(u"中文") + "@p@m@0"});
    open(0);
    m_dictation.setShowsInitial(true);
    m_dictation.select(0);
    EXPECT_EQ(decodeGbk(m_dictation.hint()), u"中");
}

} // namespace
} // namespace quorvella
