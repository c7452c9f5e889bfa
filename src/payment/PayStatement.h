#pragma once

#include "base/Currency.h"

#include <QList>
#include <QString>
#include <optional>

class clsData;

// One producer's payment statement of a payment closing: every sales day of the period with its quantity and
// amount, the commission, the bank fee and what was transferred, to the account the closing paid to. The
// producer keeps it for the tax return.
struct PayStatement
{
    struct Day { double date = 0; Currency qty; Currency amount; };

    qint32 fmrId = 0;
    QString fmrName;
    QList<Day> days;                 // D_ADJ_DTL rows the closing settled, by date
    Currency salesQty;               // D_PAY_DTL
    Currency salesAmt;
    Currency feeAmt;
    std::optional<Currency> feeRate; // the rate, where the shop's rate gives exactly this commission
    Currency payAmt;
    Currency bankFee;
    Currency realAmt;
    QString bankName;                // the account as the closing recorded it
    QString branchName;
    QString accountKind;
    QString accountNo;
    QString accountName;
};

// The statements of one closing, with what every page shares.
struct PayStatementSet
{
    QString shopName;     // COM_NM
    double closingDate = 0;
    double payDate = 0;
    double periodFrom = 0; // the day after the previous closing, or the first sales day of this one
    QList<PayStatement> statements; // by producer code
    QString error;        // why there are none: no payment closing that day, no such producer in it

    // Reads the closing of that day, every producer or only `fmrId` (0: all).
    static PayStatementSet Load(clsData &db, clsData &mst, double closingDate, qint32 fmrId = 0);
};
