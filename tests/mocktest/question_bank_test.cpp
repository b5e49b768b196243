#include "mocktest/question_bank.h"

#include "core/app_error.h"
#include "tests/mocktest/bank_folder.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

TEST(QuestionBankGroups, TheNumberOfGroupsIsFifteenDividedBySizeRoundedUp) {
    const int sizes[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150};
    const int groups[] = {15, 8, 5, 4, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 1};
    ASSERT_EQ(QuestionBank::sizeItems().size(), 15);
    ASSERT_EQ(QuestionBank::groupItems().size(), 15);
    for (int position = 0; position < 15; ++position) {
        EXPECT_EQ(QuestionBank::sizeItems()[position], QString::number(sizes[position]));
        EXPECT_EQ(QuestionBank::sizeAt(position), sizes[position]);
        EXPECT_EQ(QuestionBank::groupCount(position), groups[position]) << sizes[position];
    }
    EXPECT_EQ(QuestionBank::groupCount(-1), 0) << "a box with no size chosen";
    EXPECT_EQ(QuestionBank::groupCount(-2), 0);
    EXPECT_EQ(QuestionBank::groupItems().front(), u"第一组");
    EXPECT_EQ(QuestionBank::groupItems()[7], u"第八组");
    EXPECT_EQ(QuestionBank::groupItems().back(), u"第十五组");
}

TEST(QuestionBankGroups, AGroupBeyondTheSizesGroupsIsRefusedWithTheMessage) {
    struct Case {
        const char* what;
        int sizePosition;
        int groupPosition;
        int groupAfter;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"size 150 has one group only", 14, 1, 0, {"对不起，总共只有1组试题"}},
        {"size 20 has eight groups: not the ninth", 1, 8, 0, {"对不起，总共只有8组试题"}},
        {"size 20: the eighth", 1, 7, 7, {}},
        {"size 10: the fifteenth", 0, 14, 14, {}},
        {"size 70: three groups", 6, 3, 0, {"对不起，总共只有3组试题"}},
    };
    for (const Case& c : cases) {
        RecordingMessagePort port;
        BankFolder data;
        QuestionBank bank(data.folder(), port);
        bank.sizeChanged(c.sizePosition);
        // The box shows the first group again before the message is shown.
        QList<int> shownAtMessage;
        bank.setChangeHandler([&] { shownAtMessage << int(port.messages.size()); });
        bank.groupChanged(c.groupPosition);
        EXPECT_EQ(bank.groupPosition(), c.groupAfter) << c.what;
        EXPECT_EQ(port.messages, c.messages) << c.what;
        EXPECT_EQ(shownAtMessage, QList<int>{0}) << c.what;
    }
}

TEST(QuestionBankGroups, ChangingTheSizeSetsTheFirstGroupWithoutAMessage) {
    RecordingMessagePort port;
    BankFolder data;
    QuestionBank bank(data.folder(), port);
    bank.groupChanged(11); // "第十二组" at size 10
    ASSERT_EQ(bank.groupPosition(), 11);
    bank.sizeChanged(3); // "40"
    EXPECT_EQ(bank.sizePosition(), 3);
    EXPECT_EQ(bank.groupPosition(), 0);
    EXPECT_TRUE(port.messages.isEmpty());
}

class Drawing : public testing::Test {
protected:
    // The question texts of the drawn rows, and whether they are numbered 1, 2, ... with no
    // answer.
    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < test.rows().size(); ++i) {
            const QuestionRecord& row = test.rows()[i];
            EXPECT_EQ(row.number, int(i) + 1);
            EXPECT_EQ(row.choice, " ");
            texts.push_back(row.question);
        }
        return texts;
    }

    static std::vector<std::string> range(int first, int last) {
        std::vector<std::string> texts;
        for (int n = first; n <= last; ++n) {
            texts.push_back("Q" + std::to_string(n));
        }
        return texts;
    }

    RecordingMessagePort port;
    BankFolder data;
    QuestionBank bank{data.folder(), port};
    MockTest test{port};
};

TEST_F(Drawing, TakesTheChosenGroupsLinesNumberedFromOne) {
    struct Case {
        const char* what;
        int bankSize;
        int sizePosition;
        int groupPosition;
        std::vector<std::string> questions;
    };
    const std::vector<Case> cases = {
        {"size 10, the first group", 150, 0, 0, range(1, 10)},
        {"size 10, the last group", 150, 0, 14, range(141, 150)},
        {"size 20, the eighth group runs past the end", 150, 1, 7, range(141, 150)},
        {"size 150, the only group", 150, 14, 0, range(1, 150)},
        {"size 30, the second group", 150, 2, 1, range(31, 60)},
        {"a short bank ends the group", 12, 0, 1, range(11, 12)},
    };
    for (const Case& c : cases) {
        data.writeBank(bankLines(c.bankSize));
        bank.sizeChanged(c.sizePosition);
        bank.groupChanged(c.groupPosition);
        bank.draw(test);
        EXPECT_EQ(questions(), c.questions) << c.what;
        EXPECT_EQ(test.status(), u"测试正在进行中...... ") << c.what;
        EXPECT_EQ(test.current(), 0) << c.what;
        EXPECT_EQ(test.pane().numberLine, u"第1道目") << c.what;
        EXPECT_EQ(test.pane().question, c.questions.front()) << c.what;
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(Drawing, AGroupPastTheEndOfTheBankGivesAnEmptyTestAndLeavesThePane) {
    data.writeBank(bankLines(12));
    bank.groupChanged(2); // lines 21-30
    bank.draw(test);
    EXPECT_TRUE(test.rows().empty());
    EXPECT_EQ(test.status(), u"测试正在进行中...... ");
    EXPECT_EQ(test.current(), -1);
    EXPECT_EQ(test.pane(), TestPane{});
}

TEST_F(Drawing, DrawingAgainGivesTheSameTestWithEveryAnswerReset) {
    data.writeBank(bankLines(30));
    bank.draw(test);
    const std::vector<std::string> first = questions();
    test.choose(MockTest::B);
    test.last();
    test.choose(MockTest::C);
    ASSERT_EQ(test.rows()[0].choice, "B");
    bank.draw(test);
    EXPECT_EQ(questions(), first); // no answer left, no rows added
    EXPECT_EQ(test.current(), 0);
    EXPECT_EQ(test.pane().checked, -1);
}

TEST_F(Drawing, ABankThatCannotBeOpenedLeavesTheListEmptyAndNothingElseChanged) {
    data.writeBank(bankLines(10));
    bank.draw(test);
    test.next();
    const TestPane shown = test.pane();
    ASSERT_EQ(shown.numberLine, u"第2道目");
    QFile::remove(data.bankPath());
    try {
        bank.draw(test);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Cannot open file \"%1\". No such file or directory")
                                    .arg(data.bankPath()));
    }
    EXPECT_TRUE(test.rows().empty());
    EXPECT_EQ(test.current(), -1);
    EXPECT_EQ(test.status(), u"测试正在进行中...... ");
    EXPECT_EQ(test.pane(), shown);
}

} // namespace
} // namespace quorvella
