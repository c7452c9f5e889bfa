#pragma once

#include "checkout/SaleState.h"
#include "settlement/AdjGrid.h"

#include <QMap>
#include <QProcess>
#include <QString>

// A register without its screen, run as a child process of a test: it stores made-up sales through the
// register's own routine, or closes a day, and reports on its standard output line by line:
//   STORED <tag> <index> <REG_ID> <REG_NO>   after a sale's transaction committed
//   FAILED <tag> <index> <description>       after a store failed (the same sale is tried again later)
//   CLOSING / CLOSED / CLOSE-FAILED          around the daily close
// The program folder is the one VANTLE_HOME names (the parent's temporary folder).
namespace RegisterDriver {

// The sales date every driver books to.
double salesDate();

// Sale `index` of register `tag`: 1 to 5 lines of several producers, now and then a return. The same
// arguments give the same sale in every process.
struct Sale
{
    RegRec header;
    QList<DtlRec> lines; // without the blank slot
};
Sale makeSale(const QString &tag, int index);

// Runs the driver when the arguments ask for it (argv[1] starting with "--driver-"); returns the exit code,
// or -1 when the arguments are a test's own.
//   --driver-store <tag> <count> [<maxFailures>]
//                                         stores sales 0..count-1; a failed sale is tried again after 100 ms,
//                                         and the failure after maxFailures (0 unless given) ends it (exit 1)
//   --driver-close                        closes salesDate() with SetCls
int run(int argc, char *argv[]);

// A driver started from the test binary.
QProcess *start(QObject *parent, const QStringList &arguments);
// Reads the driver's output into `output` until it holds `times` lines starting with `prefix`; false when the
// driver ended or ms passed first.
bool waitFor(QProcess *p, const QByteArray &prefix, QByteArray &output, int ms, int times = 1);

// Waits for the driver to end, at most ms, adding the rest of its output to `output`; true when it ended by
// itself with exit code 0 (otherwise what it wrote to its standard error is added too).
bool finish(QProcess *p, QByteArray &output, int ms);

// The cash counted at the daily close the drivers make.
AdjGrid closingGrid();

// What the drivers' outputs say was stored: (tag, index) by REG_ID, and REG_NO by REG_ID.
struct Ledger
{
    QMap<qint32, QPair<QString, int>> sales;
    QMap<qint32, qint32> numbers;
    int failures = 0;
    QStringList failureTexts;
    int duplicateIds = 0;
    // Adds one driver's output; returns the number of STORED lines read.
    int read(const QByteArray &output);
    // Quantity and amount per producer of all stored sales, a producer a line: "FMR_ID|quantity|amount".
    QString perProducer() const;
    Currency total() const;
};

} // namespace RegisterDriver
