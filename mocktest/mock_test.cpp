#include "mocktest/mock_test.h"

#include "core/byte_text.h"
#include "core/splite.h"

#include <cstddef>
#include <utility>

namespace quorvella {

namespace {

constexpr std::size_t kFields = 7;
constexpr const char* kLetters[] = {"A", "B", "C", "D"};

} // namespace

QuestionRecord questionRecord(std::string_view line, int number) {
    std::vector<std::string> fields = quorvella::splite(line);
    fields.resize(kFields, " ");
    QuestionRecord record;
    record.number = number;
    record.question = std::move(fields[0]);
    for (std::size_t i = 0; i < 4; ++i) {
        record.options[i] = std::move(fields[1 + i]);
    }
    record.answer = std::move(fields[5]);
    record.explanation = std::move(fields[6]);
    return record;
}

MockTest::RowChange::RowChange(MockTest& test) : m_test(test) {
    if (m_test.m_changeDepth++ == 0 && m_test.m_observer != nullptr) {
        m_test.m_observer->rowsAboutToChange();
    }
}

MockTest::RowChange::~RowChange() {
    if (--m_test.m_changeDepth == 0 && m_test.m_observer != nullptr) {
        m_test.m_observer->rowsChanged();
        m_test.m_observer->displayChanged(); // the current row may be another
    }
}

MockTest::MockTest(MessagePort& messages) : m_messages(messages) {}

void MockTest::clearRows() {
    const RowChange change(*this);
    m_rows.clear();
    m_current = -1;
}

void MockTest::splite(std::string_view line, int number) {
    const RowChange change(*this);
    m_rows.push_back(questionRecord(line, number));
}

void MockTest::testDrawn() {
    setStatus(QStringLiteral("测试正在进行中...... "));
    first();
}

void MockTest::select(int row) {
    if (row < -1 || row >= rowCount()) {
        row = -1;
    }
    if (row == m_current) {
        return;
    }
    m_current = row;
    if (row >= 0) {
        show(row);
    }
    displayChanged();
}

void MockTest::show(int row) {
    const QuestionRecord& record = m_rows[std::size_t(row)];
    m_pane.numberLine = QStringLiteral("第%1道目").arg(record.number);
    m_pane.question = record.question;
    for (std::size_t i = 0; i < 4; ++i) {
        m_pane.optionCaptions[i] = std::string(kLetters[i]) + "." + record.options[i];
    }
    m_pane.answer = record.answer;
    m_pane.explanation = record.explanation;
    m_pane.checked = -1;
    for (int i = 0; i < 4; ++i) {
        if (record.choice == kLetters[i]) {
            m_pane.checked = i;
        }
    }
}

void MockTest::choose(Option option) {
    if (m_pane.checked == int(option)) {
        return;
    }
    m_pane.checked = int(option);
    if (m_current >= 0) {
        m_rows[std::size_t(m_current)].choice = kLetters[int(option)];
    }
    displayChanged();
}

void MockTest::first() {
    if (!m_rows.empty()) {
        select(0);
    }
}

void MockTest::previous() {
    if (m_current > 0) {
        select(m_current - 1);
    }
}

void MockTest::next() {
    if (m_current + 1 == rowCount()) {
        m_messages.showMessage(QStringLiteral("已经是最后一道了"));
        return;
    }
    select(m_current + 1);
}

void MockTest::last() {
    if (!m_rows.empty()) {
        select(rowCount() - 1);
    }
}

void MockTest::setAnswerShown(bool shown) {
    if (m_pane.answerShown != shown) {
        m_pane.answerShown = shown;
        displayChanged();
    }
}

void MockTest::grade() {
    const int n = rowCount();
    if (n == 0) {
        m_messages.showMessage(QStringLiteral("还没有选试题进行测试！"));
        return;
    }
    int correct = 0;
    for (int i = 0; i < n; ++i) {
        const QuestionRecord& record = m_rows[std::size_t(i)];
        if (trimmed(record.choice).empty()) {
            m_messages.showMessage(QStringLiteral("对不起，第%1道题还没有做!").arg(i + 1));
            select(i);
            return;
        }
        if (record.answer == record.choice) {
            ++correct;
        }
    }
    setStatus(QStringLiteral("本次测试共:%1题;共做对:%2题").arg(n).arg(correct));
    m_messages.showMessage(QStringLiteral("共做对%1道题").arg(correct));
}

void MockTest::resetAnswers() {
    for (QuestionRecord& record : m_rows) {
        record.choice = " ";
    }
    m_messages.showMessage(QStringLiteral("清除完毕"));
}

void MockTest::clear() {
    clearRows();
    m_pane.numberLine = QStringLiteral(" ");
    m_pane.question = " ";
    m_pane.checked = -1;
    m_pane.optionCaptions = {"A", "B", "C", "D"};
    m_pane.answer = " ";
    m_pane.explanation = " ";
    m_status = QStringLiteral("没有测题 ");
    m_pane.answerShown = false;
    displayChanged();
}

void MockTest::setStatus(const QString& status) {
    m_status = status;
    displayChanged();
}

void MockTest::displayChanged() {
    if (m_observer != nullptr) {
        m_observer->displayChanged();
    }
}

} // namespace quorvella
