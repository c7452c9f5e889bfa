#pragma once

#include "payment/PayStatement.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// 支払明細書: the payment statements of one payment closing. The list names every producer of the closing;
// the page of the chosen one is shown as it prints. 印刷 prints every producer or the chosen one on the
// report printer, PDF保存 writes them as one PDF.
class fdlPayStatement : public QDialog
{
    Q_OBJECT

public:
    fdlPayStatement(QWidget *parent, double closingDate);

    const PayStatementSet &statements() const { return m_set; }
    // The statements 印刷 and PDF保存 take: all, or the chosen producer's.
    PayStatementSet chosen() const;
    // Shows page `page` of the producer in row `row`.
    void showPage(int row, int page);
    bool SavePdf(const QString &path);
    void PrintChosen();

    QListWidget *lstProducers;
    QLabel *pctPage;
    QPushButton *cmdPrevPage;
    QPushButton *cmdNextPage;
    QLabel *lblPage;
    QRadioButton *optAll;
    QRadioButton *optOne;
    QPushButton *cmdPrint;
    QPushButton *cmdPdf;
    QPushButton *cmdClose;

private:
    PayStatementSet m_set;
    int m_row = 0;
    int m_page = 1;
};
