#pragma once

#include "base/Currency.h"

#include <QHash>
#include <QList>
#include <QString>

class clsData;

// One producer's sales of a sales day so far, summed per item name, returns included (their lines carry
// negative quantities and amounts).
struct SaleItem
{
    QString name; // BCD_NM; "" for lines stored without a name
    Currency qty;
    Currency amt;
};

struct ProducerSales
{
    QList<SaleItem> items; // by name
    Currency qty;
    Currency amt;
    // What tells one state of the sales from a later one: every new sale line raises the count, and a sale
    // stored later carries a higher REG_ID.
    qint64 lineCount = 0;
    qint64 lastRegId = 0;
};

namespace DaySales {

// The sales of one sales day of every register, by producer. They are in D_REG/D_REG_DTL while the day is
// open; the daily close moves them to B_REG/B_REG_DTL, and a register still running on the closed day may
// add new ones to D_REG. Both are read; a closed sale that is back in D_REG (the close was undone) counts
// once.
QHash<qint32, ProducerSales> Read(clsData &db, double salesDate);

} // namespace DaySales
