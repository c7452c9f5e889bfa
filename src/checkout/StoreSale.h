#pragma once

#include "checkout/SaleState.h"

class clsData;

// Stores the sale held in memory: allocates REG_ID (unique over D_REG and B_REG, counted on from the
// control value NEW_REG_ID) and REG_NO (1 + the largest in D_REG), then inserts the D_REG header and one
// D_REG_DTL row per line whose DTL_NO is not 0, all in one transaction of `db`. The cashier's name comes
// from the workstation setting REG_USER of `ini`.
//
// Registers that share the database may store at the same moment: on SQLite the write transaction already
// serialises them; on a server the transaction first locks the NEW_REG_ID row, so the numbers are read
// and written by one register at a time. A duplicate key or a deadlock still rolls the attempt back and
// allocates again, a few times, before it counts as a failure.
//
// On success the header's REG_ID, REG_NO, REG_DTM, SALES_DATE and REG_USER are filled in and REG_ID is
// returned. On failure everything is rolled back, the header is left as it was and the error is thrown.
//
// A server connection that breaks during the commit leaves it open whether the server committed. The
// connection is opened again and the sale looked up by its REG_ID, moment and number of lines: found, it
// counts as stored; missing, it is stored again. When the server cannot be reached to tell, the error is
// thrown with the attempt's numbers left in the header (REG_ID not 0). A header that carries a REG_ID is
// looked up first in the same way, so such a sale is never stored twice.
//
// Storing is an explicit action: a database that could not be opened (see clsData::openConfigured) is
// opened again first, and asks again when that fails.
//
// With the master database `mst` the sale's tax is stored with it, in the same transaction: the rate of each
// line (its product's own rate, else the shop's TAX_RT) and per rate the total and the tax it contains
// (tax/SaleTaxRows). Rates that cannot be read fail the store like any database error.
qint32 StoreSale(RegRec &reg, const QList<DtlRec> &lines, double salesDate, clsData &db, clsData &ini,
                 clsData *mst = nullptr);

// The header statement and a line statement, as the register sends them.
QString SaleHeaderInsert(const RegRec &reg);
QString SaleLineInsert(qint32 regId, const DtlRec &line);
