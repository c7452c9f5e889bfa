// A register on SQLite killed (SIGKILL) in the middle of its work: while it stores sales one after the
// other, and while it closes a large day. After each kill the file passes SQLite's integrity check, holds
// only whole sales (every sale exactly its DTL_CNT lines, no line without its sale, every sale the register
// confirmed), and holds either the whole daily close or none of it. The registers are processes of this
// program (--driver-store, --driver-close); the kill moments are random, their seed is printed
// (VANTLE_FAULT_SEED repeats a run).
#include "FaultChecks.h"
#include "RegisterDriver.h"
#include "app/InitObj.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "support/TestProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace FaultChecks;

namespace {

constexpr int kStoreRounds = 6;
constexpr int kCloseRounds = 6;
constexpr int kLargeDay = 20000; // sales of the day that is closed

} // namespace

class TestRegisterKill : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileStoring();
    void killedWhileClosing();

private:
    QRandomGenerator m_random;
};

void TestRegisterKill::initTestCase()
{
    const quint32 seed = qEnvironmentVariableIsSet("VANTLE_FAULT_SEED")
        ? quint32(qEnvironmentVariableIntValue("VANTLE_FAULT_SEED")) : QRandomGenerator::system()->generate();
    m_random.seed(seed);
    qInfo("kill moments from seed %u (VANTLE_FAULT_SEED)", seed);
}

void TestRegisterKill::killedWhileStoring()
{
    TestProgram program;
    program.createDatabases(false, false);
    RegisterDriver::Ledger ledger;
    int unconfirmed = 0;
    for (int round = 1; round <= kStoreRounds; ++round) {
        // Far more sales than it can store before the kill; it stops by itself should the kill not come.
        RegisterDriver::Process p({QStringLiteral("--driver-store"), QStringLiteral("K%1").arg(round), QStringLiteral("5000")});
        QVERIFY2(p.waitFor("STORED", 30000), p.output().constData());
        const int delay = m_random.bounded(10, 400);
        QVERIFY2(p.killAfter(delay), "the register finished before it was killed");
        const int confirmed = ledger.read(p.output());
        const bool hotJournal = QFile::exists(program.path(ProgramFolder::TransactionFile + QStringLiteral("-journal")));

        program.openAll();
        QCOMPARE(Rows::value(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        const int stored = count(QStringLiteral("D_REG"));
        QCOMPARE(wholeSales(&ledger), QString());
        // A sale may have committed in the moment between its commit and its report, never more than one.
        const int extra = stored - ledger.sales.size() - unconfirmed;
        QVERIFY2(extra == 0 || extra == 1, qPrintable(QStringLiteral("%1 stored, %2 confirmed").arg(stored).arg(ledger.sales.size())));
        unconfirmed += extra;
        qInfo("round %d: killed %d ms after the first sale; %d sales confirmed in the round, %d stored in all, "
              "%d unconfirmed but committed; journal left behind: %s; integrity ok",
              round, delay, confirmed, stored, extra, hotJournal ? "yes" : "no");
        ReleaseObj();
    }
}

void TestRegisterKill::killedWhileClosing()
{
    TestProgram program;
    program.createDatabases(false, false);
    program.openAll();
    // A large day of three-line sales (producers 3, 7 and 45), and one sale of the next day that the close must
    // leave alone.
    const QString numbers = QStringLiteral("WITH RECURSIVE S(ID) AS (SELECT 1 UNION ALL SELECT ID + 1 FROM S WHERE ID < %1)")
                                .arg(kLargeDay);
    gDb->EXEC(Sql(R"(INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) :numbers
SELECT ID, ID, :day, :day, 'L', 3, 300 + ID % 7 * 3, 300 + ID % 7 * 3, 0 FROM S
UNION ALL SELECT :next, :next, :nextDay, :nextDay, 'L', 1, 50, 50, 0)")
                  .raw("numbers", numbers).number("next", kLargeDay + 1).date("day", RegisterDriver::salesDate())
                  .date("nextDay", RegisterDriver::salesDate() + 1));
    gDb->EXEC(Sql(R"(INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, UNIT_ID, AMT)
:numbers, L(NO, FMR) AS (VALUES (1, 3), (2, 7), (3, 45))
SELECT ID, NO, '4900000000000', 1, 'x', FMR, 'f', P, 0, P, 1, 1, P
FROM (SELECT ID, NO, FMR, CASE NO WHEN 1 THEN 100 + ID % 7 * 3 ELSE 100 END AS P FROM S, L)
UNION ALL SELECT :next, 1, '4900000000000', 1, 'x', 3, 'f', 50, 0, 50, 1, 1, 50)")
                  .raw("numbers", numbers).number("next", kLargeDay + 1));
    const QString dayTotal = Rows::value(
        Sql(R"(SELECT SUM(AMT_SUM) FROM D_REG WHERE SALES_DATE=:day)").date("day", RegisterDriver::salesDate()));
    const QString none = QStringLiteral("%1|0|0|0|0|<null>|<null>").arg(kLargeDay);
    const QString whole = QStringLiteral("0|%1|%2|1|3|%3|%3").arg(kLargeDay).arg(kLargeDay * 3).arg(dayTotal);
    ReleaseObj();

    const QString file = program.path(ProgramFolder::TransactionFile);
    const QString pristine = file + QStringLiteral(".pristine");
    QVERIFY(QFile::copy(file, pristine));

    // Round 0 closes uncut, which leaves the whole close, and tells how long the close takes, so that the kills
    // of the later rounds land mostly inside it, now and then just after it.
    int closeMs = 0;
    for (int round = 0; round <= kCloseRounds; ++round) {
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-journal"));
        QVERIFY(QFile::copy(pristine, file));
        RegisterDriver::Process p({QStringLiteral("--driver-close")});
        QVERIFY(p.waitFor("CLOSING", 30000));
        QElapsedTimer t;
        t.start();
        const int delay = round == 0 ? 0 : int(m_random.bounded(closeMs * 11 / 10 + 1));
        if (round == 0) {
            QVERIFY2(p.finish(120000), p.output().constData());
            closeMs = int(t.elapsed());
        } else {
            p.killAfter(delay);
        }
        const bool finished = p.output().contains("CLOSED");
        const bool hotJournal = QFile::exists(file + QStringLiteral("-journal"));

        program.openAll();
        QCOMPARE(Rows::value(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(wholeSales(nullptr), QString());
        QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("REG_ID=%1").arg(kLargeDay + 1)), 1);
        const QString state = closeState();
        QVERIFY2(state == none || state == whole, qPrintable(state));
        QVERIFY2(state == whole || !finished, "the register reported the close, but it is not in the file");
        QCOMPARE(wholeSales(nullptr, QStringLiteral("B_REG"), QStringLiteral("B_REG_DTL")), QString());
        qInfo("round %d: killed %d ms into the close of %d ms (%s); journal left behind: %s; found %s: %s", round,
              delay, closeMs, finished ? "after it reported CLOSED" : "before it reported", hotJournal ? "yes" : "no",
              state == none ? "none of the close" : "the whole close", qPrintable(state));
        ReleaseObj();
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const int driver = RegisterDriver::run(argc, argv); driver >= 0)
        return driver;
    TestRegisterKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_register_kill.moc"
