#include "mocktest/mock_test.h"

#include "core/gbk_codec.h"
#include "tests/mocktest/bank_folder.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

TEST(QuestionRecordOfALine, HoldsSevenFieldsAndABlankChoice) {
    struct Case {
        const char* what;
        std::string line;
        QuestionRecord record;
    };
    const std::string hanzi = encodeGbk(u"题");
    // 0x81 0x40 is one character whose second byte is "@": it splits nothing.
    const std::string atTrail = "\x81\x40";
    const std::vector<Case> cases = {
        {"a well-formed line", "Q@a@b@c@d@B@why", {7, "Q", {"a", "b", "c", "d"}, "B", "why", " "}},
        {"an empty option A", "Q@@b@c@d@A@why", {7, "Q", {" ", "b", "c", "d"}, "A", "why", " "}},
        {"a trailing @ adds no field",
         "Q@a@b@c@d@A@why@",
         {7, "Q", {"a", "b", "c", "d"}, "A", "why", " "}},
        {"blanks belong to their fields",
         " Q @a@b@c@d@ A@why ",
         {7, " Q ", {"a", "b", "c", "d"}, " A", "why ", " "}},
        {"fewer than seven fields are padded with blanks",
         "Q@a@b",
         {7, "Q", {"a", "b", " ", " "}, " ", " ", " "}},
        {"an empty line", "", {7, " ", {" ", " ", " ", " "}, " ", " ", " "}},
        {"more than seven fields keep the first seven",
         "Q@a@b@c@d@A@why@extra@more",
         {7, "Q", {"a", "b", "c", "d"}, "A", "why", " "}},
        {"Chinese text and an @ inside a character",
         hanzi + "@a" + atTrail + "b@b@c@d@C@" + hanzi,
         {7, hanzi, {"a" + atTrail + "b", "b", "c", "d"}, "C", hanzi, " "}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(questionRecord(c.line, 7), c.record) << c.what;
    }
}

// A test of count questions "Q1" ... with answer "A", drawn: the first row is current.
class TakingATest : public testing::Test {
protected:
    void draw(int count) {
        test.clearRows();
        for (int n = 1; n <= count; ++n) {
            test.splite(bankLine(n), n);
        }
        test.testDrawn();
    }
    void answer(int row, MockTest::Option option) {
        test.select(row);
        test.choose(option);
    }
    std::vector<std::string> choices() const {
        std::vector<std::string> all;
        for (const QuestionRecord& row : test.rows()) {
            all.push_back(row.choice);
        }
        return all;
    }

    RecordingMessagePort port;
    MockTest test{port};
};

TEST_F(TakingATest, ShowingARowFillsThePaneAndChecksItsStoredChoice) {
    test.clearRows();
    test.splite("Q1@a1@b1@c1@d1@A@why 1", 1);
    test.splite(encodeGbk(u"第二题@甲@乙@丙@丁@D@解释"), 2);
    test.splite("Q3@a3@b3@c3@d3@C@why 3", 3);
    test.testDrawn();
    TestPane expected;
    expected.numberLine = QStringLiteral("第1道目");
    expected.question = "Q1";
    expected.optionCaptions = {"A.a1", "B.b1", "C.c1", "D.d1"};
    expected.answer = "A";
    expected.explanation = "why 1";
    EXPECT_EQ(test.pane(), expected);

    test.next();
    test.choose(MockTest::B);
    EXPECT_EQ(test.rows()[1].choice, "B");
    EXPECT_EQ(test.pane().numberLine, u"第2道目");
    EXPECT_EQ(test.pane().question, encodeGbk(u"第二题"));
    EXPECT_EQ(test.pane().optionCaptions[0], encodeGbk(u"A.甲"));
    EXPECT_EQ(test.pane().optionCaptions[3], encodeGbk(u"D.丁"));
    EXPECT_EQ(test.pane().explanation, encodeGbk(u"解释"));

    test.next(); // never answered: nothing checked, though the previous question had a check
    EXPECT_EQ(test.pane().checked, -1);
    EXPECT_EQ(test.pane().numberLine, u"第3道目");
    test.previous();
    EXPECT_EQ(test.pane().checked, int(MockTest::B));
    EXPECT_EQ(choices(), (std::vector<std::string>{" ", "B", " "}));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TakingATest, AChoiceReplacesTheLastAndNeedsACurrentRow) {
    draw(3);
    test.choose(MockTest::A);
    test.choose(MockTest::D);
    test.choose(MockTest::D); // the checked button again: nothing
    EXPECT_EQ(choices(), (std::vector<std::string>{"D", " ", " "}));
    // The list lost its selection: the pane keeps what it shows, and a check records nothing.
    test.select(-1);
    EXPECT_EQ(test.pane().numberLine, u"第1道目");
    test.choose(MockTest::B);
    EXPECT_EQ(test.pane().checked, int(MockTest::B));
    EXPECT_EQ(choices(), (std::vector<std::string>{"D", " ", " "}));
    // Selecting the row shows its own answer again.
    test.select(0);
    EXPECT_EQ(test.pane().checked, int(MockTest::D));
}

TEST_F(TakingATest, TheFourMovesAndTheirMessage) {
    enum Move { First, Previous, Next, Last };
    struct Case {
        const char* what;
        int count;
        int currentBefore; // -1: no current row
        Move move;
        int currentAfter;
        bool message;
    };
    const std::vector<Case> cases = {
        {"first", 5, 3, First, 0, false},
        {"previous", 5, 3, Previous, 2, false},
        {"previous on the first row", 5, 0, Previous, 0, false},
        {"next", 5, 3, Next, 4, false},
        {"next on the last row", 5, 4, Next, 4, true},
        {"last", 5, 1, Last, 4, false},
        {"previous with no current row", 5, -1, Previous, -1, false},
        {"next with no current row takes the first", 5, -1, Next, 0, false},
        {"one question: first", 1, 0, First, 0, false},
        {"one question: previous", 1, 0, Previous, 0, false},
        {"one question: next", 1, 0, Next, 0, true},
        {"one question: last", 1, 0, Last, 0, false},
        {"an empty test: first", 0, -1, First, -1, false},
        {"an empty test: previous", 0, -1, Previous, -1, false},
        {"an empty test: next", 0, -1, Next, -1, true},
        {"an empty test: last", 0, -1, Last, -1, false},
    };
    for (const Case& c : cases) {
        draw(c.count);
        test.select(c.currentBefore);
        port.messages.clear();
        switch (c.move) {
        case First:
            test.first();
            break;
        case Previous:
            test.previous();
            break;
        case Next:
            test.next();
            break;
        case Last:
            test.last();
            break;
        }
        EXPECT_EQ(test.current(), c.currentAfter) << c.what;
        EXPECT_EQ(port.messages, c.message ? QStringList{"已经是最后一道了"} : QStringList{})
            << c.what;
    }
}

TEST_F(TakingATest, GradingReportsTheScoreOrTheFirstUnansweredQuestion) {
    using Choices = std::vector<std::string>;
    struct Case {
        const char* what;
        Lines bank;
        Choices choices;
        QString status; // empty: kept as it was
        QStringList messages;
        int currentAfter;
    };
    Lines ten;
    for (int n = 1; n <= 10; ++n) {
        ten.push_back(bankLine(n, n <= 7 ? "A" : "B"));
    }
    const Choices allA(10, "A");
    Choices fourMissing = allA;
    fourMissing[3] = " ";
    Choices fourAndSevenMissing = fourMissing;
    fourAndSevenMissing[6] = " ";
    const std::vector<Case> cases = {
        {"7 of 10 right", ten, allA, "本次测试共:10题;共做对:7题", {"共做对7道题"}, 9},
        {"question 4 unanswered", ten, fourMissing, "", {"对不起，第4道题还没有做!"}, 3},
        {"only the first unanswered is reported",
         ten,
         fourAndSevenMissing,
         "",
         {"对不起，第4道题还没有做!"},
         3},
        {"an answer that is not exactly A-D is always wrong",
         {bankLine(1, "a"), bankLine(2, " A"), bankLine(3, "A "), bankLine(4, "AB"),
          bankLine(5, "")},
         Choices(5, "A"),
         "本次测试共:5题;共做对:0题",
         {"共做对0道题"},
         4},
        {"no questions", {}, {}, "", {"还没有选试题进行测试！"}, -1},
    };
    for (const Case& c : cases) {
        test.clearRows();
        for (std::size_t i = 0; i < c.bank.size(); ++i) {
            test.splite(c.bank[i], int(i) + 1);
        }
        test.testDrawn();
        for (std::size_t i = 0; i < c.choices.size(); ++i) {
            if (c.choices[i] != " ") {
                answer(int(i), MockTest::Option(c.choices[i][0] - 'A'));
            }
        }
        const QString before = test.status();
        port.messages.clear();
        test.grade();
        EXPECT_EQ(test.status(), c.status.isEmpty() ? before : c.status) << c.what;
        EXPECT_EQ(port.messages, c.messages) << c.what;
        EXPECT_EQ(test.current(), c.currentAfter) << c.what;
        EXPECT_EQ(choices(), c.choices) << c.what;
    }
}

// The status line is written before the score is reported, and the unanswered question is made
// current only after it has been reported.
TEST_F(TakingATest, GradingChangesTheDisplayInTheOrderTheLearnerSeesIt) {
    class Watcher final : public MockTestObserver {
    public:
        Watcher(const MockTest& test, const RecordingMessagePort& port)
            : m_test(test), m_port(port) {}
        void rowsAboutToChange() override {}
        void rowsChanged() override {}
        void displayChanged() override {
            seen << QStringLiteral("%1 | %2 | row %3")
                        .arg(m_port.messages.size())
                        .arg(m_test.status())
                        .arg(m_test.current());
        }
        QStringList seen;

    private:
        const MockTest& m_test;
        const RecordingMessagePort& m_port;
    };
    draw(2);
    test.choose(MockTest::A);
    Watcher watcher(test, port);
    test.setObserver(&watcher);
    test.grade();
    EXPECT_EQ(watcher.seen, (QStringList{"1 | 测试正在进行中......  | row 1"}));
    EXPECT_EQ(port.messages, (QStringList{"对不起，第2道题还没有做!"}));
    test.choose(MockTest::B);
    watcher.seen.clear();
    test.grade();
    EXPECT_EQ(watcher.seen, (QStringList{"1 | 本次测试共:2题;共做对:1题 | row 1"}));
    EXPECT_EQ(port.messages.last(), u"共做对1道题");
    test.setObserver(nullptr);
}

TEST_F(TakingATest, ResettingClearsEveryAnswerButLeavesTheButtonsAndTheStatus) {
    draw(3);
    answer(0, MockTest::A);
    answer(1, MockTest::C);
    answer(2, MockTest::B);
    test.grade();
    const QString score = test.status();
    ASSERT_EQ(score, u"本次测试共:3题;共做对:1题");
    port.messages.clear();
    test.resetAnswers();
    EXPECT_EQ(port.messages, QStringList{"清除完毕"});
    EXPECT_EQ(choices(), (std::vector<std::string>{" ", " ", " "}));
    EXPECT_EQ(test.status(), score);
    // The button still checked on the shown question records nothing when pressed.
    EXPECT_EQ(test.pane().checked, int(MockTest::B));
    test.choose(MockTest::B);
    EXPECT_EQ(test.rows()[2].choice, " ");
    test.grade();
    EXPECT_EQ(port.messages.last(), u"对不起，第1道题还没有做!");
    EXPECT_EQ(test.current(), 0);
    EXPECT_EQ(test.pane().checked, -1);

    // On an empty test the message is shown too.
    draw(0);
    port.messages.clear();
    test.resetAnswers();
    EXPECT_EQ(port.messages, QStringList{"清除完毕"});
}

TEST_F(TakingATest, ClearingEmptiesTheListAndResetsThePaneAndStatus) {
    draw(4);
    answer(2, MockTest::C);
    test.setAnswerShown(true);
    test.clear();
    EXPECT_TRUE(test.rows().empty());
    EXPECT_EQ(test.current(), -1);
    TestPane cleared;
    cleared.numberLine = QStringLiteral(" ");
    cleared.question = " ";
    cleared.explanation = " ";
    EXPECT_EQ(test.pane(), cleared);
    EXPECT_EQ(test.status(), u"没有测题 ");
    EXPECT_TRUE(port.messages.isEmpty());
    // An option checked now has no row to go to.
    test.choose(MockTest::A);
    EXPECT_TRUE(test.rows().empty());
}

} // namespace
} // namespace quorvella
