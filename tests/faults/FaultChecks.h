#pragma once

#include "RegisterDriver.h"
#include "support/Rows.h"

#include <QString>

// Checks of the transaction database (gDb) after registers ran or died.
namespace FaultChecks {

using Rows::count;

// Sales of the table pair (D_REG/D_REG_DTL or B_REG/B_REG_DTL) whose number of lines differs from DTL_CNT,
// and lines whose sale is missing.
qint32 brokenSales(const QString &header, const QString &lines);
qint32 orphanLines(const QString &header, const QString &lines);

// Compares the stored sales with what the drivers made: every sale of the ledger is in the table pair with its
// REG_NO and exactly its lines. Returns the first difference, or an empty text.
QString compareWithLedger(const RegisterDriver::Ledger &ledger, const QString &header, const QString &lines);

// "ok" from SQLite's integrity check, or what it found.
QString integrity();

} // namespace FaultChecks
