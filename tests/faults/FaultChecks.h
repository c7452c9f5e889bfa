#pragma once

#include "RegisterDriver.h"
#include "support/Rows.h"

#include <QString>

// Checks of the transaction database (gDb) after registers ran or died.
namespace FaultChecks {

using Rows::count;

// Checks that the table pair (D_REG/D_REG_DTL or B_REG/B_REG_DTL) holds only whole sales (every sale exactly its
// DTL_CNT lines, no line without its sale) and, given a ledger, every sale the drivers reported with its REG_NO
// and exactly its lines. Returns the first fault found, or an empty text.
QString wholeSales(const RegisterDriver::Ledger *ledger, const QString &header = QStringLiteral("D_REG"),
                   const QString &lines = QStringLiteral("D_REG_DTL"));

// "ok" from SQLite's integrity check, or what it found.
QString integrity();

} // namespace FaultChecks
