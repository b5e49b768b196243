#pragma once
// A drawn test: its question rows with the learner's answers, the current row, what the answer
// pane shows, the status line, the moves between questions, grading and resetting the answers.
// Drawing from the bank is QuestionBank's; showing the rows and the pane is left to the view.

#include "core/message_port.h"

#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// One drawn question: its sequence number in the test and the seven fields of its bank line
// (GBK bytes), with the learner's choice.
struct QuestionRecord {
    int number = 0; // 1, 2, ... within the test
    std::string question;
    std::array<std::string, 4> options; // the texts of options A, B, C and D
    std::string answer;                 // the right option's letter as the bank has it
    std::string explanation;
    std::string choice = " "; // " " while unanswered, else "A", "B", "C" or "D"

    bool operator==(const QuestionRecord&) const = default;
};

// Makes the row of a bank line: its fields split at "@" (an empty field is a blank, a trailing
// "@" adds none), a line of fewer than seven fields padded with blanks, one of more cut to its
// first seven, and the choice a blank.
QuestionRecord questionRecord(std::string_view line, int number);

// What the answer pane shows. Showing a row fills it; it keeps its texts while no row is current.
struct TestPane {
    QString numberLine = QStringLiteral("第0道题目");
    std::string question;                                             // GBK
    std::array<std::string, 4> optionCaptions = {"A", "B", "C", "D"}; // GBK
    int checked = -1;                   // the option button checked, or -1
    std::string answer = " ";           // GBK
    std::string explanation = "Label5"; // GBK
    bool answerShown = false; // the check box "显示解释与答案", and the two labels it shows

    bool operator==(const TestPane&) const = default;
};

// Told of every change, as it happens, so that a view shows the state before a message follows.
class MockTestObserver {
public:
    virtual ~MockTestObserver() = default;
    // Before and after a run of changes of the rows (emptying the list, appending rows); after
    // one, displayChanged follows.
    virtual void rowsAboutToChange() = 0;
    virtual void rowsChanged() = 0;
    // The pane, the status line or the current row changed.
    virtual void displayChanged() = 0;
};

class MockTest final {
public:
    // Row changes that the observer sees as one: told before the first and after the last, also
    // when an error ends the run.
    class RowChange {
    public:
        explicit RowChange(MockTest& test);
        ~RowChange();
        RowChange(const RowChange&) = delete;
        RowChange& operator=(const RowChange&) = delete;

    private:
        MockTest& m_test;
    };

    enum Option { A = 0, B = 1, C = 2, D = 3 };

    explicit MockTest(MessagePort& messages);

    void setObserver(MockTestObserver* observer) { m_observer = observer; }

    const std::vector<QuestionRecord>& rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    // The current row (0-based), or -1 when none is.
    int current() const { return m_current; }
    const TestPane& pane() const { return m_pane; }
    const QString& status() const { return m_status; }

    // Empties the list; no row is current afterwards. The pane keeps what it shows.
    void clearRows();
    // Appends the row of a bank line (questionRecord).
    void splite(std::string_view line, int number);
    // After a test has been drawn: the status line says a test is in progress and the first row
    // becomes current.
    void testDrawn();

    // Makes row current (-1: the list lost its selection). A row that becomes current is shown
    // in the pane; selecting the current row again shows nothing anew.
    void select(int row);

    // The option button went from unchecked to checked: the current row's choice becomes its
    // letter. Pressing the checked button does nothing; with no current row nothing is recorded.
    void choose(Option option);

    // "第一道", "上一道", "下一道", "最后一道".
    void first();
    void previous();
    void next();
    void last();

    // The check box "显示解释与答案" changed: the answer and explanation are shown or hidden.
    void setAnswerShown(bool shown);

    // "已做完试题": reports the first unanswered question and makes it current, or writes the
    // score to the status line and reports it.
    void grade();

    // "清除本次结果": every choice becomes a blank. The option buttons keep their checks until a
    // row is shown again.
    void resetAnswers();

    // "清除试题", and the first step of "退出关闭": the list is emptied and the pane, the status
    // line and the check box go back to their cleared state.
    void clear();

private:
    void show(int row);
    void setStatus(const QString& status);
    void displayChanged();

    MessagePort& m_messages;
    MockTestObserver* m_observer = nullptr;
    std::vector<QuestionRecord> m_rows;
    int m_current = -1;
    TestPane m_pane;
    QString m_status = QStringLiteral("准备测试......");
    int m_changeDepth = 0;
};

} // namespace quorvella
