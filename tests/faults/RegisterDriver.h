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

// A driver started from the test binary, and what it wrote to its standard output so far.
class Process
{
public:
    explicit Process(const QStringList &arguments);
    const QByteArray &output() const { return m_output; }
    // Reads the output until it holds `times` lines starting with `prefix`; false when the driver ended or ms
    // passed first.
    bool waitFor(const QByteArray &prefix, int ms, int times = 1);
    // Waits for the driver to end, at most ms; true when it ended by itself with exit code 0 (otherwise what
    // it wrote to its standard error is added to the output).
    bool finish(int ms);
    // Kills the driver (SIGKILL) ms from now and reads the rest of its output; true when it still ran then.
    bool killAfter(int ms);

private:
    QProcess m_process;
    QByteArray m_output;
};

// The cash counted at the daily close the drivers make.
AdjGrid closingGrid();

// What the drivers' outputs say was stored: (tag, index) by REG_ID, and REG_NO by REG_ID. A REG_ID reported
// twice counts once in `sales`.
struct Ledger
{
    QMap<qint32, QPair<QString, int>> sales;
    QMap<qint32, qint32> numbers;
    int failures = 0;
    // Adds one driver's output; returns the number of STORED lines read.
    int read(const QByteArray &output);
    // Quantity and amount per producer of all stored sales, a producer a line: "FMR_ID|quantity|amount".
    QString perProducer() const;
};

} // namespace RegisterDriver
