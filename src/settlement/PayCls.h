#pragma once

#include "base/Currency.h"
#include "base/Progress.h"
#include "base/Variant.h"

#include <QString>

class clsData;

// The producer payment closing: every producer's unpaid sales up to a closing date, less the shop's
// commission and the producer's transfer fee, stored as one payment line each and one summary row.

// The closing date and payment date of the payment closing about to run (set by PayClsDue; the payment-date
// dialog may move gPayDate).
extern double gClsDate;
extern double gPayDate;

// One producer's payment for a closing period.
struct PayAmounts
{
    Currency sales;   // SALES_AMT: sold in the period
    Currency fee;     // FEE_AMT: commission, the fraction of a yen dropped
    Currency pay;     // PAY_AMT: due to the producer
    Currency bankFee; // BANK_FEE: FEE_1 under 30,000 yen payable, FEE_2 from 30,000 on; 0 without master row
    Currency real;    // REAL_AMT: transferred; zero or negative when the fee eats the payment
};
PayAmounts ComputePay(Currency sales, Currency rate, bool inMaster, const Variant &fee1, const Variant &fee2);

// Is a payment closing due after the close of salesDate? The period due is the one holding the oldest unpaid
// sales day, or, when that day lies in a period already paid (a day closed late), the first period after
// the last one paid. Only one period counts, so two ended periods are settled by two daily closes. When due,
// clsDate and payDate are set. When the closing settings give no closing or payment date, nothing is due and
// problem tells which setting to fix.
bool PayClsDue(clsData &local, clsData &db, clsData &master, double salesDate, double &clsDate, double &payDate,
               QString &problem);
// The same with gIni, gDb, gMst, gSalesDate, setting gClsDate and gPayDate; settings without a date are told
// to the operator.
bool PayClsDue();

// Settles the period closed on clsDate in one transaction on db (producer master rows read from master).
// Returns false after a failure, when nothing of it remains; the failure is written to the log and the
// caller tells the operator. The zero date is refused as either date. `progress` counts the payment lines
// stored of all.
bool PayCls(clsData &db, clsData &master, double clsDate, double payDate, Progress &progress = Progress::none());
bool PayCls(Progress &progress = Progress::none());

// The caption of the window shown while a long payment closing runs.
inline const QString kPayClsCaption = QStringLiteral("支払締処理中");

namespace PayClsText {
// Before the setting's problem, on its own line.
inline const char *const Skipped = "支払締処理を行いませんでした。売上は未精算のまま残ります。";
} // namespace PayClsText
