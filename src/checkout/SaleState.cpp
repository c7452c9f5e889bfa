#include "checkout/SaleState.h"

QList<RegRec> gReg{RegRec()};
QList<DtlRec> gDtl{DtlRec()};
qint16 gDtlIdx = 0;
