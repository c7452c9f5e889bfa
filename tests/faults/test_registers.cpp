// Several registers share one transaction database and ring up sales at the same moment through the register's
// own storing routine, each a process of this program (started with --driver-store): on one SQLite file in the
// program folder, and again on the MariaDB server. Afterwards every sale they reported is stored whole, once,
// with REG_ID and REG_NO each running 1..n without a gap (the counter row created by the first sale), and the
// daily close books the right totals per producer.
// VANTLE_REGISTERS sets the number of registers (4 unless given), VANTLE_REGISTER_SALES the sales per register
// (40 unless given; the shop's day is 250). A large shop: VANTLE_REGISTERS=12 VANTLE_REGISTER_SALES=300.
#include "FaultChecks.h"
#include "RegisterDriver.h"
#include "app/InitObj.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "settlement/AdjGrid.h"
#include "settlement/SetCls.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTest>

using namespace FaultChecks;

namespace {

int fromEnvironment(const char *name, int fallback)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

} // namespace

class TestRegisters : public QObject
{
    Q_OBJECT

public:
    explicit TestRegisters(bool onServer) : m_onServer(onServer) {}

private slots:
    void severalRegistersOneDay();

private:
    bool m_onServer;
};

void TestRegisters::severalRegistersOneDay()
{
    const int registers = fromEnvironment("VANTLE_REGISTERS", 4);
    const int perRegister = fromEnvironment("VANTLE_REGISTER_SALES", 40);
    QVERIFY(registers > 0 && perRegister > 0);
    const int total = registers * perRegister;

    TestProgram program;
    program.createDatabases(false, m_onServer);
    program.openAll();
    // Without the counter row the first sales of all registers race to create it.
    gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD='NEW_REG_ID'"));
    ReleaseObj();

    QElapsedTimer clock;
    clock.start();
    QList<QProcess *> drivers;
    // Each register stops at its first failed sale: storing at the same moment must never fail.
    for (int r = 1; r <= registers; ++r)
        drivers << RegisterDriver::start(this, {QStringLiteral("--driver-store"), QStringLiteral("R%1").arg(r),
                                                QString::number(perRegister)});
    // A register that hangs fails the test instead of holding it up: 280 s, or 0.2 s a sale for a long run.
    const QDeadlineTimer deadline(qMax<qint64>(280000, qint64(total) * 200));
    RegisterDriver::Ledger ledger;
    for (QProcess *p : drivers) {
        QVERIFY2(p->waitForFinished(int(qMax<qint64>(1, deadline.remainingTime()))), "a register did not finish in time");
        const QByteArray output = p->readAllStandardOutput();
        const int stored = ledger.read(output);
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 (output.right(600) + p->readAllStandardError().right(600)).constData());
        QCOMPARE(stored, perRegister);
        QVERIFY2(!output.contains("MESSAGE"), output.constData());
    }
    const qint64 storeMs = clock.elapsed();
    QCOMPARE(ledger.duplicateIds, 0);
    QCOMPARE(ledger.sales.size(), total);

    program.openAll();
    gSalesDate = RegisterDriver::salesDate();
    QCOMPARE(count(QStringLiteral("D_REG")), total);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("(SELECT DISTINCT REG_ID FROM D_REG) AS T")).toLong(), total);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("(SELECT DISTINCT REG_NO FROM D_REG) AS T")).toLong(), total);
    for (const char *column : {"REG_ID", "REG_NO"}) {
        QCOMPARE(gDb->DMin(QString::fromLatin1(column), QStringLiteral("D_REG")).toLong(), 1);
        QCOMPARE(gDb->DMax(QString::fromLatin1(column), QStringLiteral("D_REG")).toLong(), total);
    }
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toLong(), total);
    QCOMPARE(wholeSales(&ledger), QString());
    const qint32 lines = count(QStringLiteral("D_REG_DTL"));

    // The day closes to the totals of what the registers stored.
    AdjGrid grid;
    for (int i = 0; i < AdjGrid::Rows; ++i)
        grid.PREV[i] = grid.CASH[i] = grid.DEF[i] = QStringLiteral("0");
    grid.SetCalsSum();
    clock.restart();
    QVERIFY(SetCls(*gDb, grid, gSalesDate, gSalesDate + 0.75));
    const qint64 closeMs = clock.elapsed();
    QVERIFY(program.messages().shown().isEmpty());
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 0);
    QCOMPARE(count(QStringLiteral("B_REG")), total);
    QCOMPARE(count(QStringLiteral("B_REG_DTL")), lines);
    QCOMPARE(count(QStringLiteral("D_ADJ")), 1);
    QCOMPARE(gDb->DLookup(QStringLiteral("AMT_SUM"), QStringLiteral("D_ADJ")).toCurrency(), ledger.total());

    // Per producer: quantity and amount booked against those of the sales the registers made.
    QStringList booked, figures;
    Recordset rs = gDb->GetFwdOnlyRst(QStringLiteral("SELECT FMR_ID, SALES_QTY, SALES_AMT FROM D_ADJ_DTL ORDER BY FMR_ID"));
    for (; !rs.EOF_(); rs.MoveNext())
        booked << QStringLiteral("%1:%2:%3").arg(rs.Fields(0).toLong()).arg(rs.Fields(1).toCurrency().toPlainText(),
                                                                            rs.Fields(2).toCurrency().toPlainText());
    const auto expected = ledger.perProducer();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        figures << QStringLiteral("%1:%2:%3").arg(it.key()).arg(it->first.toPlainText(), it->second.toPlainText());
    QCOMPARE(booked, figures);
    qInfo("%s: %d registers x %d sales (%d lines): stored in %lld ms (%.1f sales/s); "
          "closed in %lld ms; total %s; per producer %s",
          m_onServer ? "MariaDB server" : "SQLite file", registers, perRegister, lines, storeMs,
          total * 1000.0 / qMax<qint64>(storeMs, 1), closeMs,
          qPrintable(ledger.total().toPlainText()), qPrintable(figures.join(u' ')));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const int driver = RegisterDriver::run(argc, argv); driver >= 0)
        return driver;
    return runOnBothEngines<TestRegisters>(argc, argv);
}

#include "test_registers.moc"
