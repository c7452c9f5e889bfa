#pragma once

#include <QColor>
#include <QTableWidget>

class SaleState;

// The register's list of the sale's lines: №, 品名, 生産者, 数, 金額, one row per line, the last line chosen
// and in view. Rows are chosen whole and framed, so that a return line keeps its colour when chosen; the
// columns share the width the rows use, so the five of them fill it without a scroll bar.
class SaleGrid : public QTableWidget
{
public:
    explicit SaleGrid(QWidget *parent);

    // No rows, the headers, no line chosen.
    void InitGrid();
    // The sale's lines; a line of goods taken back on `returned`, the others on `plain`.
    void showLines(const SaleState &sale, const QColor &plain, const QColor &returned);
    // Column widths and row height for the grid's current size and font; `verticalFactor` scales the
    // design row height.
    void fit(double verticalFactor);
};
