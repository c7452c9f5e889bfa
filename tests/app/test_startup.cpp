// The start of a run (one copy, the date choice) and its end (hand-over to the settlement, backup).
#include "app/BackupDb.h"
#include "app/Screens.h"
#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "base/DateValue.h"
#include "base/Progress.h"
#include "base/ProgressWindow.h"
#include "checkout/frmReg.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/SqlDialect.h"
#include "data/clsINI.h"
#include "settlement/SetCls.h"
#include "settlement/frmAdj.h"
#include "support/Rows.h"
#include "support/ShownWindow.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>

using StartUp::CalendarExit;
using StartUp::Screen;

namespace {

// Today of the test clock.
const double kToday = DateValue::fromParts(2024, 4, 1);

void addSale(const char *table, int regId, double salesDate)
{
    gDb->EXEC(QStringLiteral("INSERT INTO %1 (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%2, %2, %3, %3, 1, 100, 100, 0)")
                  .arg(QString::fromLatin1(table)).arg(regId).arg(SqlDialect::date(salesDate)));
}

void addClose(double salesDate)
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, ADJ_DTM, AMT_SUM) VALUES (%1, %1, 100)").arg(SqlDialect::date(salesDate)));
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

// What the date choice says, as the cashier reads it.
const QString kCloseFirst = QStringLiteral("締処理を行って下さい。");
const QString kAlreadyPaid = QStringLiteral("精算済の日付です。設定できません。");
const QString kAlreadyClosed = QStringLiteral("指定日は締済です。別な日を選んで下さい。");
const QString kReopen = QStringLiteral("指定日は締済です。集計処理を取り消しますか？");

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void proposedDay();
    void refusedDays();
    void lastClosedDayFollowsDailyAdj();
    void reopeningADay();
    void closingTheRegisterEndsTheRun();
    void progressWindowShowsOnlyLongWork();
    void oneCopyAtATime();

private:
    // The date choice with the scripted calendar and m_reopen for reopening a day.
    Screen choose() { return StartUp::ChooseSalesDate(m_calendar.show(), m_reopen); }
    void startOver()
    {
        m_program->messages().clear();
        m_calendar = ScriptedCalendar{{}, {}, {}, &m_program->messages()};
    }

    std::unique_ptr<TestProgram> m_program;
    ScriptedCalendar m_calendar;
    std::function<long()> m_reopen;
};

void TestStartUp::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases();
    m_program->openAll();
    startOver();
    // Reopening a day must not happen unless a test asks for it.
    m_reopen = [] () -> long { throw std::logic_error("the day was reopened"); };
}

void TestStartUp::cleanup()
{
    m_program.reset();
}

void TestStartUp::proposedDay()
{
    // Nothing stored: today, without a word.
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_calendar.proposed, QList<double>{kToday});
    QVERIFY(m_program->messages().shown().isEmpty());

    // Open sales of an earlier day: the warning first, then that day is proposed, and taken even though a
    // later day is closed; the days between without sales are closed.
    startOver();
    addSale("D_REG", 1, kToday - 3);
    addSale("D_REG", 2, kToday);
    addClose(kToday - 1);
    m_calendar.steps.append({CalendarExit::Closed, 0}); // closed without confirming: the proposed day counts
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_calendar.proposed, QList<double>{kToday - 3});
    QCOMPARE(gSalesDate, kToday - 3);
    QCOMPARE(m_program->messages().prompts(), QStringList{kCloseFirst});
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
    QCOMPARE(m_calendar.messagesBefore.first(), 1);
    QVERIFY(m_program->logLines().first().endsWith(QStringLiteral("Marveno[注意]締処理を行って下さい。")));
    QCOMPARE(StartUp::CheckSalesDate(kToday - 2).message, kAlreadyClosed);
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Open);
}

void TestStartUp::refusedDays()
{
    // A day before the last close: refused, and the calendar opens on the proposed day again.
    addClose(kToday - 2);
    m_calendar.confirm(kToday - 5);
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_program->messages().prompts(), QStringList{kAlreadyClosed});
    QCOMPARE(m_calendar.proposed, (QList<double>{kToday, kToday}));

    // A paid day, even with open sales; a producer row without a payment closing does not make it paid.
    startOver();
    addSale("D_REG", 1, kToday);
    addClose(kToday);
    Rows::adjDtl(kToday, 1, "1", "100");
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=") + SqlDialect::date(kToday));
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::End);
    QCOMPARE(m_program->messages().prompts(), QStringList{kAlreadyPaid});
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=NULL"));
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Open);

    // Leaving the calendar ends the run without checking anything.
    startOver();
    m_calendar.steps.append({CalendarExit::EndProgram, 0});
    QCOMPARE(choose(), Screen::End);
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestStartUp::lastClosedDayFollowsDailyAdj()
{
    addClose(kToday - 1);
    addSale("B_REG", 1, kToday - 1);

    // Daily closing not in use: the last closed day is refused like any closed day.
    Rows::local("DAILY_ADJ", QStringLiteral("0"));
    m_calendar.confirm(kToday - 1);
    QCOMPARE(choose(), Screen::End);
    QCOMPARE(m_program->messages().prompts(), QStringList{kAlreadyClosed});

    // In use: the question, with No as the default; No (or just Enter) shows the settlement.
    Rows::local("DAILY_ADJ", QStringLiteral("1"));
    startOver();
    m_calendar.confirm(kToday - 1);
    QCOMPARE(choose(), Screen::Settlement);
    QCOMPARE(m_program->messages().prompts(), QStringList{kReopen});
    const auto question = m_program->messages().shown().first();
    QCOMPARE(question.flags, Msg::YesNo | Msg::DefaultButton2);
    QCOMPARE(question.answer, int(Msg::No));
    QCOMPARE(gSalesDate, kToday - 1);
    QVERIFY(m_program->logLines().last().endsWith(kReopen + QStringLiteral("[NO]")));
}

void TestStartUp::reopeningADay()
{
    addClose(kToday - 1);
    addSale("B_REG", 1, kToday - 1);
    addSale("B_REG", 2, kToday - 1);
    Rows::local("DAILY_ADJ", QStringLiteral("1"));

    // Reopening fails: the failure is shown, the day stays closed and the calendar comes back.
    m_reopen = [] () -> long { throw DbError(QStringLiteral("ロックされています。")); };
    m_program->messages().queueAnswer(Msg::Yes);
    m_calendar.confirm(kToday - 1);
    m_calendar.confirm(kToday);
    QCOMPARE(choose(), Screen::Register);
    QCOMPARE(m_program->messages().prompts(), (QStringList{kReopen, QStringLiteral("ロックされています。")}));
    QCOMPARE(gSalesDate, kToday);
    QCOMPARE(Rows::count(QStringLiteral("D_ADJ")), 1);

    // The program's own reopening: the day's sales are open again and its settlement is gone.
    startOver();
    m_program->messages().queueAnswer(Msg::Yes);
    m_calendar.confirm(kToday - 1);
    QCOMPARE(StartUp::ChooseSalesDate(m_calendar.show()), Screen::Register);
    QCOMPARE(gSalesDate, kToday - 1);
    QCOMPARE(Rows::count(QStringLiteral("D_REG"), Rows::on(QStringLiteral("SALES_DATE"), kToday - 1)), 2);
    QCOMPARE(Rows::count(QStringLiteral("D_ADJ")), 0);
}

void TestStartUp::closingTheRegisterEndsTheRun()
{
    const QString backups = m_program->path(QStringLiteral("backup"));
    QVERIFY(QDir().mkpath(backups));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), backups));
    Rows::local("DAILY_ADJ", QStringLiteral("1"));
    addSale("D_REG", 1, kToday);
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
    Rows::local("DAILY_ADJ", QStringLiteral("0"));
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
    QCOMPARE(watched, (QStringList{QStringLiteral("バックアップ中"), QStringLiteral("stays")}));
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<ProgressWindow *>(w)); // gone with the copy
    QVERIFY(QFileInfo(backups + QStringLiteral("/20240401.mdb")).size() > 0);
    QVERIFY(!StartUp::SettlementTakesOver()); // and safe to ask once the database is closed
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

void TestStartUp::oneCopyAtATime()
{
    const QString path = m_program->path(QStringLiteral("vantle.lock"));
    {
        SingleInstance first(path);
        QVERIFY(first.acquire());
        SingleInstance second(path);
        QVERIFY(!second.acquire());
    }
    // A copy that crashed leaves its lock file behind: the next copy takes it over.
    QProcess copy;
    copy.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), path});
    QVERIFY(copy.waitForReadyRead(10000));
    QCOMPARE(copy.readAll().trimmed(), QByteArray("locked"));
    SingleInstance mine(path);
    QVERIFY(!mine.acquire());
    copy.kill();
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
