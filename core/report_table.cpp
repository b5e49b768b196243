#include "core/report_table.h"

#include <QHeaderView>
#include <QTableView>

namespace quorvella {

void setUpReportTable(QTableView& table) {
    table.setShowGrid(true);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    table.horizontalHeader()->setHighlightSections(false);
    table.horizontalHeader()->setStretchLastSection(false);
}

int selectedRow(const QTableView& table) {
    const QModelIndexList rows = table.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void showSelectedRow(QTableView& table, int row) {
    if (row == selectedRow(table)) {
        return;
    }
    QItemSelectionModel* selection = table.selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = table.model()->index(row, 0);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table.scrollTo(index);
}

} // namespace quorvella
