#pragma once

#include "base/Progress.h"
#include "data/Currency.h"
#include "data/Variant.h"

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

// The commission rate of the shop (FEE_RT of the master); 0.15 when it is not set.
Currency CommissionRate(clsData &master);

// Is a payment closing due after the close of salesDate? Only the earliest ended period that is still unpaid
// counts, so two ended periods are settled by two daily closes. When due, clsDate and payDate are set.
bool PayClsDue(clsData &local, clsData &db, double salesDate, double &clsDate, double &payDate);
// The same with gIni, gDb, gSalesDate, setting gClsDate and gPayDate.
bool PayClsDue();

// Settles the period closed on clsDate in one transaction on db (producer master rows read from master).
// Returns false after a failure, when nothing of it remains; the failure is written to the log and the
// caller tells the operator. `progress` counts the producers settled of all.
bool PayCls(clsData &db, clsData &master, double clsDate, double payDate, Progress &progress = Progress::none());
bool PayCls(Progress &progress = Progress::none());

// The caption of the window shown while a long payment closing runs.
inline const QString kPayClsCaption = QStringLiteral("支払締処理中");
