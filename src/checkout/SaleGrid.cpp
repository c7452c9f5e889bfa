#include "checkout/SaleGrid.h"

#include "checkout/SaleState.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

// Grid columns: header, alignment and share of the grid's width.
struct GridColumn { const char *header; Qt::Alignment alignment; double share; };
const GridColumn kColumns[] = {
    {"№", Qt::AlignRight | Qt::AlignVCenter, 0.08},
    {"品名", Qt::AlignLeft | Qt::AlignVCenter, 0.42},
    {"生産者", Qt::AlignLeft | Qt::AlignVCenter, 0.24},
    {"数", Qt::AlignRight | Qt::AlignVCenter, 0.07},
    {"金額", Qt::AlignRight | Qt::AlignVCenter, 0.19},
};

} // namespace

SaleGrid::SaleGrid(QWidget *parent) : QTableWidget(parent)
{
    setColumnCount(5);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    // The chosen line is framed, so that a return line keeps its light red when it is chosen.
    setStyleSheet(QStringLiteral("QTableWidget { selection-background-color: transparent; selection-color: black; }"
                                 "QTableWidget::item:selected { border-top: 2px solid #2060c0;"
                                 " border-bottom: 2px solid #2060c0; }"));
}

void SaleGrid::InitGrid()
{
    setRowCount(0);
    setColumnCount(5);
    for (int c = 0; c < 5; ++c) {
        auto *header = new QTableWidgetItem(QString::fromUtf8(kColumns[c].header));
        header->setTextAlignment(kColumns[c].alignment);
        setHorizontalHeaderItem(c, header);
    }
    setCurrentCell(-1, -1);
}

void SaleGrid::showLines(const SaleState &sale, const QColor &plain, const QColor &returned)
{
    clearContents();
    InitGrid();
    setRowCount(sale.lineCount());
    int last = -1;
    for (int i = 0; i < sale.lineCount(); ++i) {
        const DtlRec &d = sale.line(i);
        if (d.DTL_NO == 0)
            continue;
        const QString texts[] = {QString::number(d.DTL_NO), d.BCD_NM, d.FMR_NM, d.QTY.toPlainText(),
                                 d.AMT.toPlainText()};
        const QColor back = d.AMT < Currency() ? returned : plain;
        for (int c = 0; c < 5; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(kColumns[c].alignment);
            item->setBackground(back);
            setItem(i, c, item);
        }
        last = i;
    }
    if (last >= 0) {
        setCurrentCell(last, 0);
        scrollToItem(item(last, 0));
    }
}

void SaleGrid::fit(double verticalFactor)
{
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView { font-size: %1pt; }").arg(std::max(1.0, font().pointSizeF() * 0.8)));
    // The shares are of the space the rows use, so the five columns fill it without a scroll bar.
    const int width = this->width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 5; ++c)
        setColumnWidth(c, int(std::lround(width * kColumns[c].share)));
    const int rowHeight = qMax(fontMetrics().height() + 8, int(std::lround(22 * verticalFactor)));
    verticalHeader()->setDefaultSectionSize(rowHeight);
}
