#include "checkout/fdlEditPrc.h"

#include "checkout/SaleState.h"

#include <QLabel>
#include <QLineEdit>

fdlEditPrc::fdlEditPrc(QWidget *parent) : LineEditDialog(parent)
{
    setWindowTitle(QStringLiteral("単価修正"));
    lblBCD_NM = valueLabel();
    lblFMR_NM = valueLabel();
    lblO_PRC = valueLabel();
    txtPRC = valueBox();
    lblQTY = valueLabel();
    lblAMT = valueLabel();
    build({{QStringLiteral("品名"), lblBCD_NM}, {QStringLiteral("生産者"), lblFMR_NM},
           {QStringLiteral("元単価"), lblO_PRC}, {QStringLiteral("単価"), txtPRC}, {QStringLiteral("数量"), lblQTY},
           {QStringLiteral("金額"), lblAMT}});
    for (QLabel *l : {lblO_PRC, lblQTY, lblAMT})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetData();
    txtPRC->setFocus();
}

void fdlEditPrc::SetData()
{
    const DtlRec &d = line();
    lbllDTL_NO->setText(QStringLiteral("№ %1").arg(d.DTL_NO));
    lblBCD_NM->setText(d.BCD_NM);
    lblFMR_NM->setText(d.FMR_NM);
    lblO_PRC->setText(d.O_PRC.toPlainText());
    txtPRC->setText(d.PRC.toPlainText());
    lblQTY->setText(d.QTY.toPlainText());
    lblAMT->setText(d.AMT.toPlainText());
}

void fdlEditPrc::apply(Currency value)
{
    DtlRec &d = line();
    d.PRC = value;
    d.D_PRC = d.O_PRC - d.PRC;
    d.AMT = d.PRC * d.QTY;
    lblAMT->setText(d.AMT.toPlainText());
}
