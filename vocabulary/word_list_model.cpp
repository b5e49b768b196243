#include "vocabulary/word_list_model.h"

#include "core/gbk_codec.h"

#include <utility>

namespace quorvella {

WordListModel::WordListModel(WordList& list, std::vector<WordColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_list(&list), m_columns(std::move(columns)) {
    m_list->setObserver(this);
}

WordListModel::~WordListModel() {
    if (m_list) {
        m_list->setObserver(nullptr);
    }
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_list ? 0 : m_list->size();
}

int WordListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const WordColumn& column = m_columns[std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const WordRecord& record = m_list->at(index.row());
        return column.field == 0 ? QString::number(record.number)
                                 : decodeGbk(record.field(std::size_t(column.field)));
    }
    case Qt::TextAlignmentRole:
        return int(column.alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant WordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount()) {
        return m_columns[std::size_t(section)].caption;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace quorvella
