#pragma once

#include "base/Currency.h"

#include <QString>
#include <array>

class clsData;

// The cash settlement of one sales day, as the settlement screen shows it: ten denomination rows (10,000 yen
// down to 1 yen) with the opening float, the counted cash, the standard float, the change kept for the next
// day and the deposit, each a piece count held as the text of its cell, and the yen total of each column.
// Also the operator's place in the grid and what his keys do there; the screen only mirrors this state.
class AdjGrid
{
public:
    static constexpr int Rows = 10;
    // Row captions of the denomination column and their values in yen.
    static QString AmtCaption(int row);
    static Currency AmtValue(int row);
    // The two-digit number of a row in column and control-value names ("01" .. "10").
    static QString Suffix(int row);
    // The piece count a cell text stands for (its numeric value; an empty cell is 0).
    static qint16 Count(const QString &caption);

    std::array<QString, Rows> PREV, CASH, DEF, CHG, POST;
    QString PREV_SUM, CASH_SUM, DEF_SUM, CHG_SUM, POST_SUM;

    // The current row 0..9; ConfirmRow while the closing question is shown, ClosedRow once the day is closed.
    static constexpr qint16 ConfirmRow = -1;
    static constexpr qint16 ClosedRow = -2;
    qint16 RowIdx = 0;
    // 0: the cash column is being counted; 1: the change column is being corrected.
    qint16 ColIdx = 0;
    // 0: the next digit replaces the cell; -1: it is appended.
    qint16 InputFlg = 0;

    // Fills the grid for a sales day: the stored settlement when the day has one, else zeros with the opening
    // float; then the standard float (DEF_01..DEF_10 of the master) and the totals. Back at the first cash cell.
    void InitFrm(clsData &db, clsData &master, double salesDate);
    // Opening float of a day without settlement: the change kept at the last settlement before it, row by row
    // where the denominations match, or the standard float when there was none.
    void SetPrev(clsData &db, clsData &master, double salesDate);
    // The stored settlement of the day.
    void GetData(clsData &db, double salesDate);
    // Change and deposit of every row and the five totals.
    void SetCalsSum();

    // What a key asks of the screen beyond the grid.
    enum class Action { None, CloseScreen, RunClosing, TransferRequest, DailyReport, OpenDrawer };
    // The key-down step of a key (Qt key code). The caller runs the action, then SetCalsSum.
    Action KeyDown(int key);
    // The key-press step of a typed character: digits go into the current cell.
    void KeyPress(QChar character);
    // A click on a cash or change cell makes it the current one, after the figures of the cell left are
    // worked out.
    void ClickCash(int row);
    void ClickChange(int row);

    // The cell the operator is typing into, or nullptr while no row is current.
    QString *currentCell();

private:
    bool changeWithinCash() const;
};
