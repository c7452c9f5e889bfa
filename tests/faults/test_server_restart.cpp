// The MariaDB server stops and starts again while registers run. On the screen: the sale being stored while
// the server is away fails with the message and stays on the screen, nothing of it is stored, and Enter after
// the server is back stores it once. In a register process storing sale after sale: the sales it confirmed
// are all stored whole, the failed ones not at all, and it carries on once the server is back.
// And a connection that breaks between the server's commit of a sale and its answer, through a relay: the
// sale is stored exactly once.
// The private server of scripts/with-test-server.sh is stopped and started by test-server-ctl.sh.
#include "../checkout/CheckoutFixture.h"
#include "FaultChecks.h"
#include "RegisterDriver.h"
#include "base/DateValue.h"
#include "checkout/StoreSale.h"
#include "checkout/frmReg.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "support/TcpRelay.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QProcess>
#include <QTableWidget>
#include <QTest>

using namespace FaultChecks;

namespace {

const QString kFailedToStore = QStringLiteral("レジデータ登録に失敗しました。");

// The transaction database reached through a relay.
class RelayedDb : public clsData
{
public:
    explicit RelayedDb(quint16 port) : m_port(port) { OpenCnn(); }
    void OpenCnn() override
    {
        m_dbType = QStringLiteral("MYSQL");
        openFromText(TestProgram::serverConnectionText(QStringLiteral("vantle_trn"), m_port));
    }

private:
    quint16 m_port;
};

// Keys go where the focus is; the register sees them first wherever that is.
QWidget *focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow(); }
void key(Qt::Key k) { QTest::keyClick(focus(), k); }
void type(const QString &text) { QTest::keyClicks(focus(), text); }

} // namespace

class TestServerRestart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void saleOnTheScreenWhileServerIsAway();
    void registerRunsThroughRestart();
    void commitWithoutAnswer();

private:
    // Runs test-server-ctl.sh (check, stop or start).
    bool server(const char *command);

    bool m_stopped = false;
    std::unique_ptr<TestProgram> m_program;
};

bool TestServerRestart::server(const char *command)
{
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::ForwardedChannels);
    ctl.start(QStringLiteral("bash"), {QStringLiteral(VANTLE_SERVER_CTL), QString::fromLatin1(command)});
    const bool done = ctl.waitForFinished(60000) && ctl.exitStatus() == QProcess::NormalExit && ctl.exitCode() == 0;
    m_stopped = qstrcmp(command, "stop") == 0 ? done : m_stopped && !done;
    return done;
}

void TestServerRestart::init()
{
    if (!TestProgram::serverAvailable())
        QSKIP("MariaDB test server not configured (VANTLE_TEST_MARIADB_DSN): server restart not tried");
    if (!server("check"))
        QSKIP("the test server cannot be stopped and started from here (not started by scripts/with-test-server.sh)");
    m_program = TestProgram::opened(false, true);
    gSalesDate = DateValue::fromParts(2024, 4, 1);
}

void TestServerRestart::cleanup()
{
    // Never leave the server down for the tests after this one.
    if (m_stopped)
        QVERIFY(server("start"));
    m_program.reset();
}

void TestServerRestart::saleOnTheScreenWhileServerIsAway()
{
    using namespace CheckoutFixture;
    insertMasters();
    auto form = std::make_unique<frmReg>();
    form->resize(1020, 752);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const auto ringUp = [&](const char *tendered) {
        for (const QString &code : {kTomato, kHerb}) {
            type(code);
            key(Qt::Key_Return);
        }
        key(Qt::Key_Return); // payment
        type(QString::fromLatin1(tendered));
        key(Qt::Key_Return);
    };
    const auto failures = [&] { return m_program->messages().prompts().count(kFailedToStore); };

    // A first sale while the server runs.
    ringUp("1000");
    key(Qt::Key_Return);
    QCOMPARE(form->RegMode(), 1);
    QCOMPARE(form->mLastRegId(), 1);

    // The second sale is rung up, then the server goes away before it is stored: it stays on the screen, and
    // Enter again fails the same way.
    ringUp("500");
    QVERIFY(server("stop"));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        key(Qt::Key_Return);
        QCOMPARE(failures(), attempt);
        QCOMPARE(form->RegMode(), 5);
        QCOMPARE(form->fgrdHIST->rowCount(), 2);
    }

    // The server is back: Enter stores the sale once, on the register's running connection, and the next sale
    // goes through as usual.
    QVERIFY(server("start"));
    key(Qt::Key_Return);
    QCOMPARE(form->RegMode(), 1);
    QCOMPARE(form->mLastRegId(), 2);
    ringUp("2000");
    key(Qt::Key_Return);
    QCOMPARE(form->mLastRegId(), 3);
    QCOMPARE(failures(), 2);

    QCOMPARE(numbered(3), QString());
    QCOMPARE(wholeSales(nullptr), QString());
    QCOMPARE(Rows::value(QStringLiteral("SELECT RCV FROM D_REG WHERE REG_ID=2")), QStringLiteral("500"));
}

void TestServerRestart::registerRunsThroughRestart()
{
    constexpr int sales = 60;
    // A failed sale is tried again every 100 ms; 300 failures (30 s) end the register.
    RegisterDriver::Process p({QStringLiteral("--driver-store"), QStringLiteral("S"), QString::number(sales),
                               QStringLiteral("300")});
    QVERIFY2(p.waitFor("STORED", 60000, 10), p.output().constData());
    QVERIFY(server("stop"));
    QTest::qWait(2000);
    QVERIFY(server("start"));
    QVERIFY2(p.finish(120000), p.output().right(2000).constData());

    RegisterDriver::Ledger ledger;
    QCOMPARE(ledger.read(p.output()), sales);
    QCOMPARE(ledger.sales.size(), sales); // no REG_ID reported twice
    QVERIFY2(ledger.failures > 0, "no store failed while the server was away");
    m_program->openAll();
    QCOMPARE(numbered(sales), QString());
    QCOMPARE(wholeSales(&ledger), QString());
    qInfo("%d failed attempts while the server was away, all %d sales stored afterwards", ledger.failures, sales);
}

void TestServerRestart::commitWithoutAnswer()
{
    using namespace CheckoutFixture;
    TcpRelay relay(TestProgram::serverPort());
    RelayedDb db(relay.port());
    const QList<DtlRec> lines{line(1, kTomatoName, kFarm45, "298", "1"), line(2, kHerbName, kFarm7, "150", "2"), DtlRec()};
    const QByteArray commit("\x03" "COMMIT"); // the command byte of a query, then its text

    // The server commits and its answer is lost: after reconnecting the sale is found, and counts as stored.
    RegRec first;
    relay.cutAt(commit, TcpRelay::Cut::BeforeAnswer);
    QCOMPARE(StoreSale(first, lines, gSalesDate, db, *gIni), 1);
    // The commit never reaches the server: after reconnecting the sale is missing, and is stored then.
    RegRec second;
    relay.cutAt(commit, TcpRelay::Cut::BeforeRequest);
    QCOMPARE(StoreSale(second, lines, gSalesDate, db, *gIni), 2);
    // Unanswered, and the server cannot be reached to tell: the store fails and keeps its numbers, and the
    // next attempt (Enter again) finds the sale instead of storing it a second time, even when the cashier
    // added a line meanwhile.
    RegRec third;
    relay.cutAt(commit, TcpRelay::Cut::BeforeAnswer, true);
    QVERIFY_THROWS_EXCEPTION(DbError, StoreSale(third, lines, gSalesDate, db, *gIni));
    relay.refuse(false);
    QList<DtlRec> edited = lines;
    edited.insert(2, line(3, kHerbName, kFarm7, "150", "1"));
    QCOMPARE(StoreSale(third, edited, gSalesDate, db, *gIni), 3);

    QCOMPARE(relay.cuts(), 3);
    QCOMPARE(numbered(3), QString());
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 6);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (const int driver = RegisterDriver::run(argc, argv); driver >= 0)
        return driver;
    TestServerRestart test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_server_restart.moc"
