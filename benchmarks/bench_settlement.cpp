// The daily close and the payment closing at the size of a large shop: a day of 4,000 sales with 60,000 lines
// from 1,500 producers closed by SetCls, and a payment closing over 31 such days of per-producer rows. SQLite
// with durable commits always, MariaDB when the test server is configured (run under with-test-server.sh).
#include "support/Rows.h"

#include "base/Format.h"
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "settlement/AdjGrid.h"
#include "settlement/PayCls.h"
#include "settlement/SetCls.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

using namespace Rows;

namespace {

constexpr int kSales = 4000;
constexpr int kLinesPerSale = 15;
constexpr int kProducers = 1500;
constexpr int kDays = 31;
constexpr int kBatch = 500;

// Runs the statements of rows in batches of multi-row inserts inside one transaction.
void insertRows(clsData &db, const QString &head, const QStringList &rows)
{
    db.Begintrans();
    for (qsizetype i = 0; i < rows.size(); i += kBatch)
        db.EXEC(head + rows.mid(i, kBatch).join(u','));
    db.CommitTrans();
}

void fill(double salesDate)
{
    QStringList producers;
    for (int f = 1; f <= kProducers; ++f)
        producers << QStringLiteral("(%1,%2,%3,'本店','普通','1234567',%4,220,440)")
                         .arg(f)
                         .arg(SqlDialect::text(QStringLiteral("生産者'%1").arg(f)), SqlDialect::text(kBankName),
                              SqlDialect::text(QStringLiteral("ｾｲｻﾝｼｬ%1").arg(f)));
    insertRows(*gMst, QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2) VALUES "),
               producers);

    QStringList headers, lines;
    int line = 0;
    for (int s = 1; s <= kSales; ++s) {
        headers << QStringLiteral("(%1,%1,%2,%3,NULL,%4,%5,%5,0)")
                       .arg(s)
                       .arg(SqlDialect::date(salesDate + 0.5), SqlDialect::date(salesDate))
                       .arg(kLinesPerSale)
                       .arg(kLinesPerSale * 150);
        for (int n = 1; n <= kLinesPerSale; ++n, ++line)
            lines << QStringLiteral("(%1,%2,'4900000000000',1,'なす',%3,NULL,150,0,150,1,1,150)")
                         .arg(s).arg(n).arg(line % kProducers + 1);
    }
    insertRows(*gDb, QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) VALUES "),
               headers);
    insertRows(*gDb, QStringLiteral("INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, UNIT_ID, AMT) VALUES "),
               lines);
}

void fillMonth(double first)
{
    QStringList rows;
    for (int d = 0; d < kDays; ++d)
        for (int f = 1; f <= kProducers; ++f)
            rows << QStringLiteral("(%1,%2,40,6000)").arg(SqlDialect::date(first + d)).arg(f);
    insertRows(*gDb, QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES "), rows);
}

bool run(bool onServer)
{
    const char *engine = onServer ? "MariaDB" : "SQLite";
    TestProgram program(QDateTime(QDate(2024, 3, 31), QTime(18, 0)));
    program.createDatabases(false, onServer);
    program.openAll();
    const double closeDay = day(2024, 3, 31);
    gSalesDate = closeDay;
    fill(closeDay);
    // The other days of the month, already closed.
    fillMonth(day(2024, 3, 1));
    gDb->EXEC(QStringLiteral("DELETE FROM D_ADJ_DTL WHERE ") + on(QStringLiteral("SALES_DATE"), closeDay));

    AdjGrid grid;
    for (int i = 0; i < AdjGrid::Rows; ++i)
        grid.PREV[i] = grid.CASH[i] = grid.DEF[i] = QStringLiteral("10");
    grid.SetCalsSum();

    QElapsedTimer timer;
    timer.start();
    const bool closed = SetCls(grid);
    const qint64 closeMs = timer.elapsed();
    std::printf("%-8s SetCls: %d sales, %d lines, %d producers: %lld ms (%s)\n", engine, kSales, kSales * kLinesPerSale,
                kProducers, closeMs, closed ? "closed" : "FAILED");
    std::printf("%-8s   D_ADJ_DTL rows of the day %d, B_REG_DTL rows %d\n", engine,
                count(QStringLiteral("D_ADJ_DTL"), on(QStringLiteral("SALES_DATE"), closeDay)),
                count(QStringLiteral("B_REG_DTL")));

    timer.restart();
    const bool paid = PayCls(*gDb, *gMst, closeDay, day(2024, 4, 10));
    const qint64 payMs = timer.elapsed();
    std::printf("%-8s PayCls: %d days x %d producers = %d rows: %lld ms (%s)\n", engine, kDays, kProducers,
                kDays * kProducers, payMs, paid ? "paid" : "FAILED");
    std::printf("%-8s   D_PAY_DTL lines %d, transferred %s yen\n", engine, count(QStringLiteral("D_PAY_DTL")),
                qPrintable(value(QStringLiteral("SELECT REAL_AMT_SUM FROM D_PAY"))));
    return closed && paid;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool ok = run(false);
    if (TestProgram::serverAvailable())
        ok = run(true) && ok;
    else
        std::printf("MariaDB  not measured: no test server (run under scripts/with-test-server.sh)\n");
    return ok ? 0 : 1;
}
