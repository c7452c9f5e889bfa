#include "checkout/fdlEditPrc.h"

#include <QLabel>
#include <QLineEdit>

fdlEditPrc::fdlEditPrc(SaleState &sale, QWidget *parent) : LineEditDialog(sale, parent)
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

SaleState::Edit fdlEditPrc::apply(const QString &typed)
{
    return m_sale.setPrice(gDtlIdx, typed);
}
