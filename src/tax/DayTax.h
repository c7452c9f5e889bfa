#pragma once

#include "base/Currency.h"

#include <QList>

class clsData;

// A sales day's sales and tax per rate as they were charged, for the accountant: the open sales of the day
// and the closed ones that are not open again (a reopened day counts once). Sales stored before their tax
// was kept have no rate; they are counted apart, with their total.
struct DayTax
{
    struct Rate
    {
        Currency rate;
        Currency amount;
        Currency tax;
        qint32 sales = 0; // sales with lines at this rate
    };
    QList<Rate> rates; // lowest rate first
    qint32 unrecordedSales = 0;
    Currency unrecordedAmount;

    Currency amount() const;
    Currency tax() const;

    static DayTax Load(clsData &db, double salesDate);
};
