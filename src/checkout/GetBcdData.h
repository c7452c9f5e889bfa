#pragma once

#include "checkout/SaleState.h"

class clsData;

// The barcode as the register stores it: the typed digits left-padded with "0" to 13 characters; of a
// longer entry only the last 13 digits remain.
QString PaddedBarcode(const QString &digits);

// Fills a sale line from its barcode (BCD, 13 digits) through the master database:
//   1  the code is in the barcode master;
//   0  an in-store code (product 3 digits, producer 4, price in tens of yen 4, two digits not read) whose
//      product and producer both exist;
//  -1  an in-store code whose product is unknown (its producer exists);
//  -2  an in-store code whose producer is unknown, whatever the product.
// The producer name is looked up in every case. DTL_NO, QTY, AMT and D_PRC are left alone. Database
// failures are thrown to the caller.
qint32 GetBcdData(DtlRec &dtl, clsData &mst);
// The same through the program's master database (gMst).
qint32 GetBcdData(DtlRec &dtl);
