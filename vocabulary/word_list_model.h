#pragma once
// A word list as a table model: one row per record, the columns a window chooses (the number or
// a field), the GBK fields decoded as they are shown. It resets once per change of the list.

#include "vocabulary/word_list.h"

#include <QAbstractTableModel>
#include <QString>
#include <vector>

class QTableView;

namespace quorvella {

struct WordColumn {
    QString caption;
    int field = 0; // 0: the record's number; n: its field n (a blank when it has fewer)
    int width = 0; // pixels; 0 keeps the view's default
    Qt::Alignment alignment = Qt::AlignLeft;
};

class WordListModel final : public QAbstractTableModel, private WordListObserver {
    Q_OBJECT

public:
    // The model observes list from now on; when the list goes first, the model shows no rows.
    WordListModel(WordList& list, std::vector<WordColumn> columns, QObject* parent = nullptr);
    ~WordListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const std::vector<WordColumn>& columns() const { return m_columns; }

private:
    void wordsAboutToChange() override { beginResetModel(); }
    void wordsChanged() override { endResetModel(); }
    void wordListDestroyed() override { m_list = nullptr; }

    WordList* m_list;
    std::vector<WordColumn> m_columns;
};

} // namespace quorvella
