#include "mocktest/question_bank.h"

#include "core/line_readers.h"

#include <string>
#include <utility>

namespace quorvella {

const QStringList& QuestionBank::sizeItems() {
    static const QStringList items = [] {
        QStringList sizes;
        for (int position = 0; position < kSizes; ++position) {
            sizes << QString::number(sizeAt(position));
        }
        return sizes;
    }();
    return items;
}

const QStringList& QuestionBank::groupItems() {
    static const QStringList items = {
        QStringLiteral("第一组"),   QStringLiteral("第二组"),   QStringLiteral("第三组"),
        QStringLiteral("第四组"),   QStringLiteral("第五组"),   QStringLiteral("第六组"),
        QStringLiteral("第七组"),   QStringLiteral("第八组"),   QStringLiteral("第九组"),
        QStringLiteral("第十组"),   QStringLiteral("第十一组"), QStringLiteral("第十二组"),
        QStringLiteral("第十三组"), QStringLiteral("第十四组"), QStringLiteral("第十五组")};
    return items;
}

int QuestionBank::groupCount(int sizePosition) {
    if (sizePosition < 0) {
        return 0;
    }
    const int n = sizePosition + 1;
    return kGroups / n + (kGroups % n != 0 ? 1 : 0);
}

QuestionBank::QuestionBank(DataFolder folder, MessagePort& messages)
    : m_folder(std::move(folder)), m_messages(messages) {}

void QuestionBank::sizeChanged(int position) {
    if (position < 0 || position >= kSizes) {
        return; // no size is chosen: the boxes keep their choices
    }
    m_sizePosition = position;
    m_groupPosition = 0;
    changed();
}

void QuestionBank::groupChanged(int position) {
    if (position < 0 || position >= kGroups) {
        return; // no group of the list is chosen: the boxes keep their choices
    }
    m_groupPosition = position;
    const int groups = groupCount(m_sizePosition);
    if (groups >= position + 1) {
        changed();
        return;
    }
    m_groupPosition = 0;
    changed();
    m_messages.showMessage(QStringLiteral("对不起，总共只有%1组试题").arg(groups));
}

void QuestionBank::changed() {
    if (m_changed) {
        m_changed();
    }
}

void QuestionBank::draw(MockTest& test) const {
    {
        const MockTest::RowChange change(test); // the list shows the rows once, when all are in
        test.clearRows();
        const int size = sizeAt(m_sizePosition);
        const int first = size * m_groupPosition + 1;
        const int last = size * (m_groupPosition + 1);
        LineReader reader(m_folder.path(u"dat/tk.txt"));
        std::string line;
        int lineNumber = 0;
        int row = 0;
        while (lineNumber < last && reader.readLine(line)) {
            ++lineNumber;
            if (lineNumber >= first) {
                ++row;
                test.splite(line, row);
            }
        }
    }
    test.testDrawn();
}

} // namespace quorvella
