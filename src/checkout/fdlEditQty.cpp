#include "checkout/fdlEditQty.h"

#include <QLabel>
#include <QLineEdit>

fdlEditQty::fdlEditQty(SaleState &sale, QWidget *parent) : LineEditDialog(sale, parent)
{
    setWindowTitle(QStringLiteral("数量変更"));
    lblBCD_NM = valueLabel();
    lblFMR_NM = valueLabel();
    lblPRC = valueLabel();
    txtQTY = valueBox();
    lblAMT = valueLabel();
    build({{QStringLiteral("品名"), lblBCD_NM}, {QStringLiteral("生産者"), lblFMR_NM}, {QStringLiteral("単価"), lblPRC},
           {QStringLiteral("数量"), txtQTY}, {QStringLiteral("金額"), lblAMT}});
    for (QLabel *l : {lblPRC, lblAMT})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetData();
    txtQTY->setFocus();
}

void fdlEditQty::SetData()
{
    const DtlRec &d = line();
    lbllDTL_NO->setText(QStringLiteral("№ %1").arg(d.DTL_NO));
    lblBCD_NM->setText(d.BCD_NM);
    lblFMR_NM->setText(d.FMR_NM);
    lblPRC->setText(d.PRC.toPlainText());
    txtQTY->setText(d.QTY.toPlainText());
    lblAMT->setText(d.AMT.toPlainText());
}

SaleState::Edit fdlEditQty::apply(const QString &typed)
{
    return m_sale.setQuantity(gDtlIdx, typed);
}
