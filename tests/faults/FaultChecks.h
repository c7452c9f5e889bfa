#pragma once

#include "RegisterDriver.h"
#include "support/Rows.h"

#include <QString>

// Checks of the transaction database (gDb) after registers ran or died. Each gives the first fault it finds, or
// an empty text.
namespace FaultChecks {

using Rows::count;

// The table pair (D_REG/D_REG_DTL or B_REG/B_REG_DTL) holds only whole sales: every sale exactly its DTL_CNT
// lines, no line without its sale, no REG_NO twice; given a ledger, every sale the drivers reported, with its
// REG_NO and exactly the lines it was made with.
QString wholeSales(const RegisterDriver::Ledger *ledger, const QString &header = QStringLiteral("D_REG"),
                   const QString &lines = QStringLiteral("D_REG_DTL"));

// D_REG holds n sales whose REG_ID and REG_NO each run 1..n without a gap.
QString numbered(int n);

// What the daily close of the drivers' day has moved: that day's sales still open, its sales and (all) lines
// kept in B_REG/B_REG_DTL, its D_ADJ and D_ADJ_DTL rows, the sum of D_ADJ and of D_ADJ_DTL, joined with "|".
QString closeState();

} // namespace FaultChecks
