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
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "support/TestProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

using namespace FaultChecks;

namespace {

constexpr int kStoreRounds = 6;
constexpr int kCloseRounds = 6;
constexpr int kLargeDay = 20000;      // sales of the day that is closed
constexpr int kLinesPerSale = 3;
const QList<int> kProducers{3, 7, 45};

quint32 seed()
{
    static const quint32 s = qEnvironmentVariableIsSet("VANTLE_FAULT_SEED")
        ? quint32(qEnvironmentVariableIntValue("VANTLE_FAULT_SEED")) : QRandomGenerator::system()->generate();
    return s;
}

// Waits for a line of the driver that starts with `prefix`; what was read before stays in `output`.
bool waitForLine(QProcess *p, const QByteArray &prefix, QByteArray &output, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (output.startsWith(prefix) || output.contains('\n' + prefix))
            return true;
        if (p->state() == QProcess::NotRunning)
            return false;
        p->waitForReadyRead(50);
        output += p->readAllStandardOutput();
    }
    return false;
}

QString dayCriteria(const QString &table)
{
    return table + QStringLiteral(".SALES_DATE=") + SqlDialect::date(RegisterDriver::salesDate());
}

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
    m_random.seed(seed());
    qInfo("kill moments from seed %u (VANTLE_FAULT_SEED)", seed());
}

void TestRegisterKill::killedWhileStoring()
{
    TestProgram program;
    program.createDatabases(false, false);
    RegisterDriver::Ledger ledger;
    int unconfirmed = 0;
    for (int round = 1; round <= kStoreRounds; ++round) {
        // Far more sales than it can store before the kill; it stops by itself should the kill not come.
        QProcess *p = RegisterDriver::start(this, {QStringLiteral("--driver-store"), QStringLiteral("K%1").arg(round),
                                                   QStringLiteral("5000")});
        QByteArray output;
        QVERIFY2(waitForLine(p, "STORED", output, 30000), output.constData());
        const int delay = m_random.bounded(10, 400);
        QThread::msleep(delay);
        QVERIFY2(p->state() == QProcess::Running, "the register finished before it was killed");
        p->kill();
        QVERIFY(p->waitForFinished(10000));
        QCOMPARE(p->exitStatus(), QProcess::CrashExit);
        output += p->readAllStandardOutput();
        const int confirmed = ledger.read(output);
        const bool hotJournal = QFile::exists(program.path(ProgramFolder::TransactionFile + QStringLiteral("-journal")));
        delete p;

        program.openAll();
        QCOMPARE(integrity(), QStringLiteral("ok"));
        const int stored = count(QStringLiteral("D_REG"));
        QCOMPARE(wholeSales(&ledger), QString());
        // A sale may have committed in the moment between its commit and its report, never more than one.
        const int extra = stored - ledger.sales.size() - unconfirmed;
        QVERIFY2(extra == 0 || extra == 1, qPrintable(QStringLiteral("%1 stored, %2 confirmed").arg(stored).arg(ledger.sales.size())));
        unconfirmed += extra;
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("(SELECT DISTINCT REG_NO FROM D_REG) AS T")).toLong(), stored);
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
    // A large day, written directly, and one sale of the next day that the close must leave alone.
    const QString day = SqlDialect::date(RegisterDriver::salesDate());
    gDb->Begintrans();
    for (int first = 1; first <= kLargeDay; first += 500) {
        QStringList headers, lines;
        for (int id = first; id < first + 500 && id <= kLargeDay; ++id) {
            headers << QStringLiteral("(%1,%1,%2,%2,'L',%3,%4,%4,0)").arg(id).arg(day).arg(kLinesPerSale).arg(300 + id % 7 * kLinesPerSale);
            for (int n = 1; n <= kLinesPerSale; ++n)
                lines << QStringLiteral("(%1,%2,'4900000000000',1,'x',%3,'f',%4,0,%4,1,1,%4)")
                             .arg(id).arg(n).arg(kProducers[n - 1]).arg(n == 1 ? 100 + id % 7 * kLinesPerSale : 100);
        }
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) VALUES ")
                  + headers.join(u','));
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, "
                                 "UNIT_ID, AMT) VALUES ") + lines.join(u','));
    }
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%1,%1,%2,%2,'L',1,50,50,0)").arg(kLargeDay + 1).arg(SqlDialect::date(RegisterDriver::salesDate() + 1)));
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, "
                             "UNIT_ID, AMT) VALUES (%1,1,'4900000000000',1,'x',3,'f',50,0,50,1,1,50)").arg(kLargeDay + 1));
    gDb->CommitTrans();
    const Currency dayTotal = gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG"), dayCriteria(QStringLiteral("D_REG"))).toCurrency();
    ReleaseObj();

    const QString file = program.path(ProgramFolder::TransactionFile);
    const QString pristine = file + QStringLiteral(".pristine");
    QVERIFY(QFile::copy(file, pristine));
    const auto restore = [&] {
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-journal"));
        return QFile::copy(pristine, file);
    };

    // How long the close takes uncut, so that the kills land inside it.
    QProcess *p = RegisterDriver::start(this, {QStringLiteral("--driver-close")});
    QByteArray output;
    QVERIFY(waitForLine(p, "CLOSING", output, 30000));
    QElapsedTimer t;
    t.start();
    QVERIFY(p->waitForFinished(120000));
    const int closeMs = int(t.elapsed());
    output += p->readAllStandardOutput();
    QVERIFY2(p->exitCode() == 0 && output.contains("CLOSED"), output.constData());
    delete p;
    qInfo("closing %d sales uncut: %d ms", kLargeDay, closeMs);

    int none = 0, whole = 0;
    for (int round = 1; round <= kCloseRounds; ++round) {
        QVERIFY(restore());
        p = RegisterDriver::start(this, {QStringLiteral("--driver-close")});
        output.clear();
        QVERIFY(waitForLine(p, "CLOSING", output, 30000));
        // Mostly inside the close; now and then just after it.
        const int delay = int(m_random.bounded(closeMs * 11 / 10 + 1));
        QThread::msleep(delay);
        p->kill();
        QVERIFY(p->waitForFinished(10000));
        output += p->readAllStandardOutput();
        const bool finished = output.contains("CLOSED");
        const bool hotJournal = QFile::exists(file + QStringLiteral("-journal"));
        delete p;

        program.openAll();
        QCOMPARE(integrity(), QStringLiteral("ok"));
        QCOMPARE(wholeSales(nullptr), QString());
        QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("REG_ID=%1").arg(kLargeDay + 1)), 1);
        const qint32 open = count(QStringLiteral("D_REG"), dayCriteria(QStringLiteral("D_REG")));
        const qint32 adj = count(QStringLiteral("D_ADJ"), dayCriteria(QStringLiteral("D_ADJ")));
        const qint32 adjDtl = count(QStringLiteral("D_ADJ_DTL"), dayCriteria(QStringLiteral("D_ADJ_DTL")));
        const qint32 backup = count(QStringLiteral("B_REG"), dayCriteria(QStringLiteral("B_REG")));
        const qint32 backupLines = count(QStringLiteral("B_REG_DTL"));
        const QString state = QStringLiteral("D_REG %1, D_ADJ %2, D_ADJ_DTL %3, B_REG %4, B_REG_DTL %5")
                                  .arg(open).arg(adj).arg(adjDtl).arg(backup).arg(backupLines);
        if (open == kLargeDay) {
            QVERIFY2(adj == 0 && adjDtl == 0 && backup == 0 && backupLines == 0, qPrintable(state));
            QVERIFY2(!finished, "the register reported the close, but it is not in the file");
            ++none;
        } else {
            QVERIFY2(open == 0 && adj == 1 && adjDtl == kProducers.size() && backup == kLargeDay
                         && backupLines == kLargeDay * kLinesPerSale, qPrintable(state));
            QCOMPARE(gDb->DSUM(QStringLiteral("SALES_AMT"), QStringLiteral("D_ADJ_DTL")).toCurrency(), dayTotal);
            QCOMPARE(gDb->DLookup(QStringLiteral("AMT_SUM"), QStringLiteral("D_ADJ")).toCurrency(), dayTotal);
            QCOMPARE(wholeSales(nullptr, QStringLiteral("B_REG"), QStringLiteral("B_REG_DTL")), QString());
            ++whole;
        }
        qInfo("round %d: killed %d ms into the close (%s); journal left behind: %s; found %s: %s", round, delay,
              finished ? "after it reported CLOSED" : "before it reported", hotJournal ? "yes" : "no",
              open == kLargeDay ? "none of the close" : "the whole close", qPrintable(state));
        ReleaseObj();
    }
    qInfo("%d kills left none of the close, %d the whole close", none, whole);
    QFile::remove(pristine);
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
