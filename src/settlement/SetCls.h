#pragma once

class AdjGrid;
class clsData;

// The daily close of a sales day and its undo, on the transaction database.

// Closes the day in one transaction: the settlement row from the grid (only when the day had a sale), the
// day's sales per producer, the day's sales moved to the backup tables. On a failure everything is rolled
// back, the operator is told "日次締処理に失敗しました。" and the result is false.
bool SetCls(clsData &db, const AdjGrid &grid, double salesDate, double now);
// The same for gSalesDate on gDb at the current moment.
bool SetCls(const AdjGrid &grid);

// Opens a closed day again: its sales come back from the backup tables and its settlement rows go. Returns
// the total of the rows the statements touched. Runs in one transaction: on a failure nothing changes and the
// DbError reaches the caller.
long CancelDailyAdj(clsData &db, double salesDate);
long CancelDailyAdj();
