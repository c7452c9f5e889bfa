// The start of a run (one copy, the date choice) and its end (hand-over to the settlement, backup).
#include "app/Screens.h"
#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "base/DateValue.h"
#include "base/ProgressWindow.h"
#include "checkout/frmReg.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
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

const double kToday = DateValue::fromParts(2024, 4, 1); // of the test clock

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

// What the date choice says, as the cashier reads it.
const QString kCloseFirst = QStringLiteral("締処理を行って下さい。");
const QString kAlreadyClosed = QStringLiteral("指定日は締済です。別な日を選んで下さい。");
const QString kReopen = QStringLiteral("指定日は締済です。集計処理を取り消しますか？");

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void proposedAndRefusedDays();
    void reopeningTheLastClosedDay();
    void closingTheRegisterEndsTheRun();
    void progressWindowShowsOnlyLongWork();
    void oneCopyAtATime();

private:
    // The date choice with a calendar that confirms the given days in turn (then ends the program), or is
    // closed without confirming at the first showing (closed); it records the day proposed and the number of
    // messages shown before each showing. m_reopen reopens a day, the program's own reopening when empty.
    Screen choose(QList<double> confirmed, bool closed = false)
    {
        m_proposed.clear();
        m_messagesBefore.clear();
        auto calendar = [this, confirmed, closed]() mutable {
            m_proposed.append(gSalesDate);
            m_messagesBefore.append(m_program->messages().shown().size());
            if (closed || confirmed.isEmpty())
                return std::exchange(closed, false) ? CalendarExit::Closed : CalendarExit::EndProgram;
            gSalesDate = confirmed.takeFirst();
            return CalendarExit::Confirmed;
        };
        return m_reopen ? StartUp::ChooseSalesDate(calendar, m_reopen) : StartUp::ChooseSalesDate(calendar);
    }

    std::unique_ptr<TestProgram> m_program;
    QList<double> m_proposed;
    QList<qsizetype> m_messagesBefore;
    std::function<long()> m_reopen;
};

void TestStartUp::init()
{
    m_program = TestProgram::opened();
    // Reopening a day must not happen unless a test asks for it.
    m_reopen = [] () -> long { throw std::logic_error("the day was reopened"); };
}

void TestStartUp::cleanup()
{
    m_program.reset();
}

void TestStartUp::proposedAndRefusedDays()
{
    RecordingPresenter &messages = m_program->messages();
    // Nothing stored: today, without a word; leaving the calendar ends the run.
    QCOMPARE(choose({kToday}), Screen::Register);
    QCOMPARE(m_proposed, QList<double>{kToday});
    QCOMPARE(choose({}), Screen::End);
    QVERIFY(messages.shown().isEmpty());

    // Open sales of an earlier day: the warning before the calendar, then that day is proposed, and taken
    // even though a later day is closed; the days between without sales are closed.
    addSale("D_REG", 1, kToday - 3);
    addSale("D_REG", 2, kToday);
    addClose(kToday - 1);
    QCOMPARE(choose({}, true), Screen::Register);
    QCOMPARE(m_proposed, QList<double>{kToday - 3});
    QCOMPARE(gSalesDate, kToday - 3);
    QCOMPARE(messages.prompts(), QStringList{kCloseFirst});
    QCOMPARE(messages.shown().first().flags, int(Msg::Exclamation));
    QCOMPARE(m_messagesBefore, QList<qsizetype>{1});
    QVERIFY(m_program->logLines().first().endsWith(QStringLiteral("Marveno[注意]締処理を行って下さい。")));
    QCOMPARE(StartUp::CheckSalesDate(kToday - 2).message, kAlreadyClosed);

    // A day before the last close: refused, and the calendar opens on the proposed day again.
    gDb->EXEC(QStringLiteral("DELETE FROM D_REG WHERE REG_ID=1"));
    messages.clear();
    QCOMPARE(choose({kToday - 5, kToday}), Screen::Register);
    QCOMPARE(messages.prompts(), QStringList{kAlreadyClosed});
    QCOMPARE(m_proposed, (QList<double>{kToday, kToday}));

    // A paid day, even with open sales; a producer row without a payment closing does not make it paid.
    addClose(kToday);
    Rows::adjDtl(kToday, 1, "1", "100");
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=") + SqlDialect::date(kToday));
    messages.clear();
    QCOMPARE(choose({kToday}), Screen::End);
    QCOMPARE(messages.prompts(), QStringList{QStringLiteral("精算済の日付です。設定できません。")});
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=NULL"));
    QCOMPARE(StartUp::CheckSalesDate(kToday).state, StartUp::DayState::Open);
}

void TestStartUp::reopeningTheLastClosedDay()
{
    RecordingPresenter &messages = m_program->messages();
    addClose(kToday - 1);
    addSale("B_REG", 1, kToday - 1);
    addSale("B_REG", 2, kToday - 1);

    // Daily closing not in use: the last closed day is refused like any closed day.
    Rows::local("DAILY_ADJ", QStringLiteral("0"));
    QCOMPARE(choose({kToday - 1}), Screen::End);
    QCOMPARE(messages.prompts(), QStringList{kAlreadyClosed});

    // In use: the question, with No as the default; No (or just Enter) shows the settlement.
    Rows::local("DAILY_ADJ", QStringLiteral("1"));
    messages.clear();
    QCOMPARE(choose({kToday - 1}), Screen::Settlement);
    QCOMPARE(messages.prompts(), QStringList{kReopen});
    QCOMPARE(messages.shown().first().flags, Msg::YesNo | Msg::DefaultButton2);
    QCOMPARE(gSalesDate, kToday - 1);
    QVERIFY(m_program->logLines().last().endsWith(kReopen + QStringLiteral("[NO]")));

    // Yes, and the reopening fails: the failure is shown, the day stays closed and the calendar comes back.
    m_reopen = [] () -> long { throw DbError(QStringLiteral("ロックされています。")); };
    messages.clear();
    messages.queueAnswer(Msg::Yes);
    QCOMPARE(choose({kToday - 1, kToday}), Screen::Register);
    QCOMPARE(messages.prompts(), (QStringList{kReopen, QStringLiteral("ロックされています。")}));
    QCOMPARE(Rows::count(QStringLiteral("D_ADJ")), 1);

    // The program's own reopening: the day's sales are open again and its settlement is gone.
    m_reopen = nullptr;
    messages.queueAnswer(Msg::Yes);
    QCOMPARE(choose({kToday - 1}), Screen::Register);
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
    QVERIFY(settlement && gDb && QDir(backups).isEmpty());
    delete settlement; // not closed: its close would end the run

    // Without daily closing the run ends: the database is closed and copied under the backup's window, and
    // the event loop ends once the copy is complete.
    Rows::local("DAILY_ADJ", QStringLiteral("0"));
    QStringList captions;
    QTimer watch; // the backup's window as it is up
    connect(&watch, &QTimer::timeout, [&captions] {
        if (auto *window = shownWindow<ProgressWindow>(); window && captions.isEmpty())
            captions << window->windowTitle();
    });
    watch.start(0);
    QTimer::singleShot(60000, [] { QCoreApplication::exit(1); }); // hanging
    QTimer::singleShot(0, OpenRegister(), &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!shownWindow<frmAdj>() && !gDb);
    QCOMPARE(captions, QStringList{QStringLiteral("バックアップ中")});
    QVERIFY(QFileInfo(backups + QStringLiteral("/20240401.mdb")).size() > 0);
    QVERIFY(!StartUp::SettlementTakesOver()); // and safe to ask once the database is closed
}

void TestStartUp::progressWindowShowsOnlyLongWork()
{
    ProgressWindow window(QStringLiteral("支払締処理中"), 300);
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
    // A second copy is refused; one that crashed leaves its lock file behind, and the next copy takes it over.
    const QString path = m_program->path(QStringLiteral("vantle.lock"));
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
