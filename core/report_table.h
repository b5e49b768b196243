#pragma once
// The report-style tables of the windows' lists: grid lines, whole rows, one selected row at
// most, no editing. What the rows hold and how the columns are sized is the window's.

class QTableView;

namespace quorvella {

// Sets table up as a report: grid lines, whole rows selected, one row at most, no editing, no
// row numbers, rows one line of its font high, column headers that never light up.
void setUpReportTable(QTableView& table);

// The selected row of a report table, or -1.
int selectedRow(const QTableView& table);

// Selects row (-1: none) and brings it into view; a row already selected is left as it is.
void showSelectedRow(QTableView& table, int row);

} // namespace quorvella
