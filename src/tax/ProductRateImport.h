#pragma once

#include "base/Currency.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class clsData;

// Products' own rates from a CSV file of two columns, product number and rate in percent ("8", "10%"),
// one product a line; further columns (a name to read by) are ignored, a first line without digits is a
// heading. An empty rate takes the product's own rate away (it is charged the shop's rate again). Each good
// line sets the product's rate; a bad line is refused and listed with its reason, and nothing of it is
// stored. The good lines are stored together in one transaction. The file is UTF-8 or, as a spreadsheet
// saves it here, Shift_JIS: only the digits are read.
namespace ProductRateImport {

struct Refused
{
    int line = 0;   // counted from 1
    QString text;   // the line as it was
    QString reason;
};

struct Result
{
    int stored = 0;  // products given a rate
    int removed = 0; // products back at the shop's rate
    QList<Refused> refused;
};

// The rate a line gives in percent, as a fraction: a whole number from 0 to 100, optionally with "%".
// Nothing for any other text (a fraction such as "0.08" is refused rather than read as 0.08 %).
std::optional<Currency> RateOf(const QString &percent);

// Reads the file's lines and stores the good ones in the master database, making M_PRD_TAX when a master
// from before it lacks it. A database failure stores nothing and is thrown.
Result Run(clsData &mst, const QByteArray &csv);

} // namespace ProductRateImport
