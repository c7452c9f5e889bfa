#pragma once

#include "base/Currency.h"

#include <QLabel>
#include <QString>

// Rows the tests write straight into the databases (sales, producers, settlement rows, control values) and
// what they read back (counts, values, money).
// Names carry apostrophes and Japanese text: they must reach every table unchanged.
namespace Rows {

inline const QString kFarmName = QStringLiteral("O'Neil 農園");
inline const QString kBankName = QStringLiteral("みのり'信用金庫");

Currency money(const char *text);
double day(int year, int month, int dayOfMonth);

// A sale of the day with one line per producer and amount given; REG_ID is id, lines 1..n.
struct Line { int fmrId; const char *qty; const char *amount; };
void sale(int id, double salesDate, std::initializer_list<Line> lines);

// A producer of the master with a bank account and the two transfer fees.
void producer(int fmrId, const char *fee1, const char *fee2);

// One row of daily sales per producer, unpaid.
void adjDtl(double salesDate, int fmrId, const char *qty, const char *amount);

// Counts and single values of the transaction database.
qint32 count(const QString &table, const QString &criteria = QString());
// A value of the first row of a query on the transaction database.
QString value(const QString &sql);
// The rows of a query on the transaction database, one a line, each its values joined with "|" (a Null as
// <null>, a date at midnight without its time).
QString row(const QString &sql);
// The criterion "column=#date#".
QString on(const QString &column, double date);

// Sets a control value of the master or local database.
void master(const char *key, const QString &value);
void local(const char *key, const QString &value);

// Makes the next statement of that kind on the table fail with an engine error (a trigger), or removes that
// failure again. kind is INSERT, UPDATE or DELETE.
void failOn(const QString &kind, const QString &table);
void stopFailing(const QString &kind, const QString &table);

// The back colour a label shows.
inline QColor backOf(QLabel *label)
{
    return label->palette().color(QPalette::Window);
}

} // namespace Rows
