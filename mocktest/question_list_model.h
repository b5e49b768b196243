#pragma once
// The drawn test as a table model with the columns "序号" (sequence number) and "试题" (question);
// the other cells of each row stay in the MockTest it reads. The window tells it of changes.

#include "mocktest/mock_test.h"

#include <QAbstractTableModel>

namespace quorvella {

class QuestionListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn = 0, QuestionColumn = 1 };

    explicit QuestionListModel(const MockTest& test, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Around a change of the test's rows.
    void rowsAboutToChange() { beginResetModel(); }
    void rowsChanged() { endResetModel(); }

private:
    const MockTest& m_test;
};

} // namespace quorvella
