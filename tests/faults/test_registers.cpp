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
#include "settlement/SetCls.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTest>
#include <list>

using namespace FaultChecks;

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
    const auto setting = [](const char *name, int fallback) {
        return qEnvironmentVariableIntValue(name) > 0 ? qEnvironmentVariableIntValue(name) : fallback;
    };
    const int registers = setting("VANTLE_REGISTERS", 4);
    const int perRegister = setting("VANTLE_REGISTER_SALES", 40);
    const int total = registers * perRegister;

    TestProgram program;
    program.createDatabases(false, m_onServer);
    program.openAll();
    // Without the counter row the first sales of all registers race to create it.
    gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD='NEW_REG_ID'"));
    ReleaseObj();

    QElapsedTimer clock;
    clock.start();
    std::list<RegisterDriver::Process> drivers;
    // Each register stops at its first failed sale: storing at the same moment must never fail.
    for (int r = 1; r <= registers; ++r)
        drivers.emplace_back(QStringList{QStringLiteral("--driver-store"), QStringLiteral("R%1").arg(r),
                                         QString::number(perRegister)});
    // A register that hangs fails the test instead of holding it up: 280 s, or 0.2 s a sale for a long run.
    const QDeadlineTimer deadline(qMax<qint64>(280000, qint64(total) * 200));
    RegisterDriver::Ledger ledger;
    for (RegisterDriver::Process &p : drivers) {
        QVERIFY2(p.finish(int(qMax<qint64>(1, deadline.remainingTime()))), p.output().right(1200).constData());
        QCOMPARE(ledger.read(p.output()), perRegister);
        QVERIFY2(!p.output().contains("MESSAGE"), p.output().constData());
    }
    const qint64 storeMs = clock.elapsed();
    QCOMPARE(ledger.sales.size(), total); // no REG_ID reported twice

    program.openAll();
    gSalesDate = RegisterDriver::salesDate();
    QCOMPARE(numbered(total), QString());
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toLong(), total);
    QCOMPARE(wholeSales(&ledger), QString());
    const qint32 lines = count(QStringLiteral("D_REG_DTL"));
    const QString sum = Rows::value(QStringLiteral("SELECT SUM(AMT_SUM) FROM D_REG"));

    // The day closes to the totals of what the registers stored, per producer too.
    clock.restart();
    QVERIFY(SetCls(*gDb, RegisterDriver::closingGrid(), gSalesDate, gSalesDate + 0.75));
    const qint64 closeMs = clock.elapsed();
    QVERIFY(program.messages().shown().isEmpty());
    QCOMPARE(closeState(), QStringLiteral("0|%1|%2|1|%3|%4|%4").arg(total).arg(lines)
                               .arg(ledger.perProducer().count(u'\n') + 1).arg(sum));
    QCOMPARE(wholeSales(nullptr), QString());
    QCOMPARE(Rows::row(QStringLiteral("SELECT FMR_ID, SALES_QTY, SALES_AMT FROM D_ADJ_DTL ORDER BY FMR_ID")),
             ledger.perProducer());
    qInfo("%s: %d registers x %d sales (%d lines): stored in %lld ms (%.1f sales/s); closed in %lld ms; total %s",
          m_onServer ? "MariaDB server" : "SQLite file", registers, perRegister, lines, storeMs,
          total * 1000.0 / qMax<qint64>(storeMs, 1), closeMs, qPrintable(sum));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const int driver = RegisterDriver::run(argc, argv); driver >= 0)
        return driver;
    return runOnBothEngines<TestRegisters>(argc, argv);
}

#include "test_registers.moc"
