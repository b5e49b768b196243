#include "mocktest/question_list_model.h"

#include "core/gbk_codec.h"

namespace quorvella {

QuestionListModel::QuestionListModel(const MockTest& test, QObject* parent)
    : QAbstractTableModel(parent), m_test(test) {}

int QuestionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_test.rowCount();
}

int QuestionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant QuestionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_test.rowCount() || index.column() >= 2) {
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    const QuestionRecord& record = m_test.rows()[std::size_t(index.row())];
    return index.column() == NumberColumn ? QString::number(record.number)
                                          : decodeGbk(record.question);
}

QVariant QuestionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        switch (section) {
        case NumberColumn:
            return QStringLiteral("序号");
        case QuestionColumn:
            return QStringLiteral("试题");
        default:
            break;
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace quorvella
