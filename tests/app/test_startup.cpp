// The start of a run (one copy, the date choice) and its end (hand-over to the settlement, backup).
#include "app/BackupDb.h"
#include "app/Screens.h"
#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Progress.h"
#include "base/ProgressWindow.h"
#include "checkout/frmReg.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "settlement/SetCls.h"
#include "settlement/frmAdj.h"
#include "support/ShownWindow.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimer>

using StartUp::CalendarExit;
using StartUp::Screen;

namespace {

// Today of the test clock and the days around it.
const double kToday = DateValue::fromParts(2024, 4, 1);

QString day(double d)
{
    return u'#' + Format::date(d, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + u'#';
}

void addSale(const QString &table, int regId, double salesDate)
{
    gDb->EXEC(QStringLiteral("INSERT INTO %1 (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%2, %2, %3, %3, 1, 100, 100, 0)")
                  .arg(table).arg(regId).arg(day(salesDate)));
}

void addClose(double salesDate)
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, ADJ_DTM, AMT_SUM) VALUES (%1, %1, 100)").arg(day(salesDate)));
}

void addPaidProducer(double salesDate, double closingDate)
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE) "
                             "VALUES (%1, 1, 1, 100, %2)").arg(day(salesDate), day(closingDate)));
}

// The first value of a query on an SQLite file, through a connection of its own.
QString onFile(const QString &file, const QString &sql)
{
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(file);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql) && query.next())
            value = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return value;
}

void setDailyAdj(int value)
{
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DAILY_ADJ"), QString::number(value)));
}

// The calendar as the loop sees it: records the proposed date at each showing and answers from a script
// (a date to confirm, or how the screen is left).
struct ScriptedCalendar
{
    struct Step { CalendarExit exit; double chosen; };
    QList<Step> steps;
    QList<double> proposed;
    QList<qsizetype> messagesBefore;
    RecordingPresenter *messages = nullptr;

    std::function<CalendarExit()> show()
    {
        return [this] {
            proposed.append(gSalesDate);
            messagesBefore.append(messages->shown().size());
            if (steps.isEmpty())
                return CalendarExit::EndProgram;
            const Step step = steps.takeFirst();
            if (step.exit == CalendarExit::Confirmed)
                gSalesDate = step.chosen;
            return step.exit;
        };
    }
    void confirm(double d) { steps.append({CalendarExit::Confirmed, d}); }
};

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyDatabaseProposesToday();
    void olderOpenSalesWarnAndAreProposed();
    void dayBeforeTheLastCloseIsRefused();
    void lastClosedDayFollowsDailyAdj();
    void reopenedDayGoesToTheRegister();
    void failedReopenKeepsTheDayClosed();
    void paidDayIsRefusedEvenWithOpenSales();
    void dayWithSalesIsAcceptedDespiteALaterClose();
    void calendarExitEndsWithoutChecking();

    void registerCloseHandsOverOnlyWithOpenSales();
    void endOfRunClosesAndBacksUp();
    void closingTheRegisterEndsTheRun();

    void progressWindowShowsOnlyLongWork();
    void secondCopyIsRefused();
    void lockOfACrashedCopyIsTakenOver();

private:
    // The date choice with the scripted calendar and m_reopen for reopening a day.
    Screen choose() { return StartUp::ChooseSalesDate(m_calendar.show(), m_reopen); }

    std::unique_ptr<TestProgram> m_program;
    ScriptedCalendar m_calendar;
    std::function<long()> m_reopen;
};

void TestStartUp::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases();
    m_program->openAll();
    m_calendar = ScriptedCalendar();
    m_calendar.messages = &m_program->messages();
    // Reopening a day must not happen unless a test asks for it.
    m_reopen = [] () -> long { throw std::logic_error("the day was reopened"); };
}

void TestStartUp::cleanup()
{
    m_program.reset();
}

void TestStartUp::emptyDatabaseProposesToday()
{
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_calendar.proposed, QList<double>{kToday});
    QVERIFY(m_program->messages().shown().isEmpty());
    QCOMPARE(gSalesDate, kToday);
}

void TestStartUp::olderOpenSalesWarnAndAreProposed()
{
    addSale(QStringLiteral("D_REG"), 1, kToday - 1);
    addSale(QStringLiteral("D_REG"), 2, kToday);
    // Closed without confirming: the proposed day is the one checked.
    m_calendar.steps.append({CalendarExit::Closed, 0});
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_calendar.proposed, QList<double>{kToday - 1});
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::CloseFirst});
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
    QCOMPARE(m_calendar.messagesBefore.first(), 1); // the warning comes before the calendar
    QVERIFY(m_program->logLines().first().endsWith(QStringLiteral("Marveno[注意]締処理を行って下さい。")));
}

void TestStartUp::dayBeforeTheLastCloseIsRefused()
{
    addClose(kToday - 2);
    m_calendar.confirm(kToday - 5);
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::AlreadyClosed});
    // After a refusal the calendar opens on the proposed day again, not on the refused one.
    QCOMPARE(m_calendar.proposed, (QList<double>{kToday, kToday}));
}

void TestStartUp::lastClosedDayFollowsDailyAdj()
{
    addClose(kToday - 1);
    addSale(QStringLiteral("B_REG"), 1, kToday - 1);

    // Daily closing not in use: the last closed day is refused like any closed day.
    setDailyAdj(0);
    m_calendar.confirm(kToday - 1);
    QCOMPARE(choose(), Screen::End);
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::AlreadyClosed});

    // In use: the question, with No as the default; No (or just Enter) shows the settlement.
    setDailyAdj(1);
    m_program->messages().clear();
    m_calendar = ScriptedCalendar{{}, {}, {}, &m_program->messages()};
    m_calendar.confirm(kToday - 1);
    QCOMPARE(choose(), Screen::Settlement);
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::ReopenQuestion});
    const auto question = m_program->messages().shown().first();
    QCOMPARE(question.flags, Msg::YesNo | Msg::DefaultButton2);
    QCOMPARE(question.answer, int(Msg::No));
    QCOMPARE(gSalesDate, kToday - 1);
    QVERIFY(m_program->logLines().last().endsWith(StartUp::ReopenQuestion + QStringLiteral("[NO]")));
}

void TestStartUp::reopenedDayGoesToTheRegister()
{
    addClose(kToday - 1);
    addSale(QStringLiteral("B_REG"), 1, kToday - 1);
    addSale(QStringLiteral("B_REG"), 2, kToday - 1);
    setDailyAdj(1);
    m_program->messages().queueAnswer(Msg::Yes);
    m_calendar.confirm(kToday - 1);
    // The program's own reopening: CancelDailyAdj of the day.
    QCOMPARE(StartUp::ChooseSalesDate(m_calendar.show()), Screen::Register);
    QCOMPARE(gSalesDate, kToday - 1);
    // The day's sales are open again and its settlement is gone.
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("SALES_DATE=") + day(kToday - 1)).toLong(), 2);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_ADJ")).toLong(), 0);
    QCOMPARE(StartUp::CheckSalesDate(kToday - 1).state, StartUp::DayState::Open);
}

void TestStartUp::failedReopenKeepsTheDayClosed()
{
    addClose(kToday - 1);
    setDailyAdj(1);
    m_reopen = [] () -> long { throw DbError(QStringLiteral("ロックされています。")); };
    m_program->messages().queueAnswer(Msg::Yes);
    m_calendar.confirm(kToday - 1);
    m_calendar.confirm(kToday);
    // The failure is shown and the calendar comes back; today (no close on or after it) is then accepted.
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_program->messages().prompts(),
             (QStringList{StartUp::ReopenQuestion, QStringLiteral("ロックされています。")}));
    QCOMPARE(gSalesDate, kToday);
}

void TestStartUp::paidDayIsRefusedEvenWithOpenSales()
{
    addSale(QStringLiteral("D_REG"), 1, kToday);
    addClose(kToday);
    addPaidProducer(kToday, kToday);
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::End);
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::AlreadyPaid});
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Refused);
    // A producer row without a payment closing does not make the day paid.
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=NULL"));
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Open);
}

void TestStartUp::dayWithSalesIsAcceptedDespiteALaterClose()
{
    addSale(QStringLiteral("D_REG"), 1, kToday - 3);
    addClose(kToday - 1);
    m_calendar.steps.append({CalendarExit::Closed, 0});
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(gSalesDate, kToday - 3);
    QCOMPARE(m_program->messages().prompts(), QStringList{StartUp::CloseFirst});
    // The same later close refuses the days between that have no sales.
    QCOMPARE(StartUp::CheckSalesDate(kToday - 2).message, StartUp::AlreadyClosed);
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Open);
}

void TestStartUp::calendarExitEndsWithoutChecking()
{
    addClose(kToday);
    addPaidProducer(kToday, kToday);
    m_calendar.steps.append({CalendarExit::EndProgram, 0});
    QCOMPARE(choose(), Screen::End);
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestStartUp::registerCloseHandsOverOnlyWithOpenSales()
{
    setDailyAdj(1);
    QVERIFY(!StartUp::SettlementTakesOver()); // nothing to close
    addSale(QStringLiteral("D_REG"), 1, kToday);
    QVERIFY(StartUp::SettlementTakesOver());
    setDailyAdj(0);
    QVERIFY(!StartUp::SettlementTakesOver());
}

void TestStartUp::endOfRunClosesAndBacksUp()
{
    addSale(QStringLiteral("D_REG"), 1, kToday);
    const QString backups = m_program->path(QStringLiteral("backup"));
    QVERIFY(QDir().mkpath(backups));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), backups));
    StartUp::CloseAndBackUp(Progress::none());
    QVERIFY(!gDb);
    QVERIFY(!StartUp::SettlementTakesOver()); // and safe to ask once the database is closed
    QVERIFY(QFileInfo(backups + QStringLiteral("/20240401.mdb")).isFile());
}

void TestStartUp::closingTheRegisterEndsTheRun()
{
    const QString backups = m_program->path(QStringLiteral("backup"));
    QVERIFY(QDir().mkpath(backups));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), backups));
    setDailyAdj(1);
    addSale(QStringLiteral("D_REG"), 1, kToday);
    gSalesDate = kToday;

    // Unclosed sales with daily closing in use: the settlement screen takes over, nothing is closed.
    QVERIFY(OpenRegister()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!shownWindow<frmReg>());
    frmAdj *settlement = shownWindow<frmAdj>();
    QVERIFY(settlement);
    QVERIFY(gDb);
    QVERIFY(QDir(backups).isEmpty());
    delete settlement; // not closed: its close would end the run

    // Without daily closing the run ends: the database is closed and copied under the backup's window,
    // which the operator cannot close, and the event loop ends once the copy is complete.
    setDailyAdj(0);
    const QString source = gIni->DB_NAME();
    QStringList watched;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&watched] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<ProgressWindow *>(w);
            if (!window || !window->isVisible() || !watched.isEmpty())
                continue;
            window->close();
            QTest::keyClick(window, Qt::Key_Escape);
            const bool stays = window->isVisible() && window->isModal();
            watched << window->windowTitle() << (stays ? QStringLiteral("stays") : QStringLiteral("went"));
        }
    });
    watch.start(0);
    QTimer hang;
    connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hang.start(60000);
    QTimer::singleShot(0, OpenRegister(), &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!shownWindow<frmAdj>());
    QVERIFY(!gDb);
    QCOMPARE(watched, (QStringList{kBackupCaption, QStringLiteral("stays")}));
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<ProgressWindow *>(w)); // gone with the copy
    const QString copy = backups + QStringLiteral("/20240401.mdb");
    QCOMPARE(onFile(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    const QString sales = QStringLiteral("SELECT COUNT(*) FROM D_REG");
    QCOMPARE(onFile(copy, sales), onFile(source, sales));
}

void TestStartUp::progressWindowShowsOnlyLongWork()
{
    ProgressWindow window(QStringLiteral("支払締処理中"), 300);
    window.report(0, 4);
    window.report(1, 4);
    QVERIFY(!window.isVisible()); // work that ends within its delay shows nothing
    QTest::qSleep(350);
    window.report(2, 4);
    QVERIFY(window.isVisible());
    QCOMPARE(window.barProgress->value(), window.barProgress->maximum() / 2);
    window.report(4, 4);
    QVERIFY(!window.isVisible()); // gone with the last step, before whatever follows the work
}

void TestStartUp::secondCopyIsRefused()
{
    const QString path = m_program->path(QStringLiteral("vantle.lock"));
    {
        SingleInstance first(path);
        QVERIFY(first.acquire());
        SingleInstance second(path);
        QVERIFY(!second.acquire());
        QVERIFY(!second.held());
    }
    SingleInstance next(path);
    QVERIFY(next.acquire()); // the first copy ended: its lock is gone
}

void TestStartUp::lockOfACrashedCopyIsTakenOver()
{
    const QString path = m_program->path(QStringLiteral("vantle.lock"));
    QProcess copy;
    copy.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    QVERIFY(copy.waitForReadyRead(10000));
    QCOMPARE(copy.readAll().trimmed(), QByteArray("locked"));
    SingleInstance mine(path);
    QVERIFY(!mine.acquire()); // the other copy runs
    copy.kill(); // a crash: no clean-up, the lock file stays behind
    QVERIFY(copy.waitForFinished(10000));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(mine.acquire());
}

// Started as "--hold-lock <path>", the test program plays a running register that holds the lock.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0) {
        QCoreApplication app(argc, argv);
        SingleInstance lock(QString::fromLocal8Bit(argv[2]));
        if (!lock.acquire())
            return 1;
        fputs("locked\n", stdout);
        fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    QApplication app(argc, argv);
    TestStartUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup.moc"
