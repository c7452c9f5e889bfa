#pragma once

#include <QDate>
#include <QString>

class Progress;

// A program folder with years of a large shop behind it, for the history benchmark. Every day before
// `today` is closed: its sales in B_REG/B_REG_DTL, its settlement in D_ADJ, its sales per producer in
// D_ADJ_DTL; the shop closes its producers' payments on the 15th and at the month end (the default rules),
// so every period that ended before today is paid (D_PAY/D_PAY_DTL, CLS_DATE set) and the days since the
// last closing wait for the closing of today. The rows are written in bulk through SQLite itself, in large
// transactions, not through the register's routines one by one.
namespace HistoryShop {

inline constexpr int Producers = 1500;
inline constexpr int Products = 999;
inline constexpr int Barcodes = 30000;

struct Shape
{
    int days = 0;           // closed days before today
    int salesPerDay = 3000; // each with 5 to 11 lines
    QDate today;            // the day the benchmark rings up and closes

    QString describe() const;
};

// Creates the program folder (which must not exist or be empty) and fills it; `progress` counts the days
// written. Returns "" when done, else what went wrong.
QString build(const QString &folder, const Shape &shape, Progress &progress);
// Whether the folder was built with that shape (and completely).
bool holds(const QString &folder, const Shape &shape);

// Today's sales as the register leaves them before the close: salesPerDay sales in D_REG/D_REG_DTL, and
// NEW_REG_ID at the last of them.
void addToday(const QString &folder, const Shape &shape);
// Takes every row of today out again (sales, the close, the payment closing), so that the folder is as
// it was built.
void removeToday(const QString &folder, const Shape &shape);

} // namespace HistoryShop
