#pragma once

#include "data/Currency.h"

#include <QList>
#include <QString>

// The sale header as the register holds it until the sale is stored; the fields are named after the
// columns of D_REG.
struct RegRec
{
    qint32 REG_ID = 0;      // set when the sale is stored
    qint32 REG_NO = 0;      // receipt number since the last daily close, set when stored
    double REG_DTM = 0;     // moment of storing
    double SALES_DATE = 0;
    QString REG_USER;       // cashier; empty is stored as NULL
    qint32 DTL_CNT = 0;     // line number given to the last line added (a deleted line does not lower it)
    Currency AMT_SUM;
    Currency RCV;           // amount tendered
    Currency CHG;           // change: RCV - AMT_SUM
};

// One line of the sale, named after the columns of D_REG_DTL. DTL_NO 0 marks a blank slot, which is
// neither shown nor stored.
struct DtlRec
{
    qint32 DTL_NO = 0;
    QString BCD;            // 13 digits
    qint32 PRD_ID = 0;
    QString BCD_NM;
    qint32 FMR_ID = 0;
    QString FMR_NM;
    Currency O_PRC;         // price found by the lookup
    Currency D_PRC;         // O_PRC - PRC once the price was corrected, else 0
    Currency PRC;           // selling unit price
    Currency QTY;           // negative for goods taken back
    qint32 UNIT_ID = 0;
    Currency AMT;           // PRC x QTY
};

// The sale being rung up: gReg holds the header at index 0; gDtl runs from 0 to the blank slot that the
// next barcode fills; gDtlIdx is the slot chosen for the quantity and price dialogs.
extern QList<RegRec> gReg;
extern QList<DtlRec> gDtl;
extern qint16 gDtlIdx;
