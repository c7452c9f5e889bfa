#pragma once

#include "checkout/SaleState.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

// What the quantity and price dialogs share: the line chosen on the register (gDtl at gDtlIdx) shown in
// labels, one box that edits a value of it, and the buttons ｷｬﾝｾﾙ (0) and 設定 (1). Enter in the box writes
// the value to the line at once and moves on as Tab does; 設定 does the same and closes; ｷｬﾝｾﾙ only
// closes. The sale decides: a box that holds neither a number nor nothing keeps the focus, and so does a
// value whose amount would be too large, after the cashier was told.
class LineEditDialog : public QDialog
{
    Q_OBJECT

public:
    QLabel *lbllDTL_NO = nullptr;
    QLabel *lblBCD_NM = nullptr;
    QLabel *lblFMR_NM = nullptr;
    QLabel *lblAMT = nullptr;
    QLineEdit *editBox = nullptr; // txtQTY or txtPRC
    QList<QPushButton *> Command1;

protected:
    struct Row { QString heading; QWidget *value; };
    LineEditDialog(SaleState &sale, QWidget *parent);
    // Lays out the heading/value rows and the buttons.
    void build(const QList<Row> &rows);
    QLabel *valueLabel();
    QLineEdit *valueBox();
    const DtlRec &line() const;
    // Writes the typed value to the line through the sale.
    virtual SaleState::Edit apply(const QString &typed) = 0;
    SaleState &m_sale;
    // Fills the controls from the line.
    virtual void SetData() = 0;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Writes the box's value to the line; false (and the focus kept in the box) when it is no number.
    bool confirm();
};
