// What a notice run costs after a busy day: 1,500 producers with notices on, 4,000 sales of three lines by
// random producers on the day. Measured: the selection (who is due, with their items: the producers'
// addresses, the day's sales per producer and item, the notices already sent, the plan), composing every
// message, and a whole run through a sender that takes each message at once, so that what is left is the
// record of what was sent (a claim and a mark per notice, durable commits). Sending itself is bounded by
// the mail server. SQLite always; the MariaDB server too when VANTLE_TEST_MARIADB_DSN (with _USER and
// _PASSWORD) names one, whose databases vantle_trn and vantle_mst are emptied and filled.
#include "app/InitObj.h"
#include "base/Common.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "notice/MailSender.h"
#include "notice/NoticeMessage.h"
#include "notice/NoticeRun.h"
#include "notice/NoticeTables.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Producers = 1500;
constexpr int Sales = 4000;
constexpr int LinesPerSale = 3;
constexpr int Rounds = 5;

class TakingSender : public MailSender
{
public:
    Result send(const QString &, const QString &, const QByteArray &message) override
    {
        bytes += message.size();
        return {};
    }
    qint64 bytes = 0;
};

QString serverText(const QString &database)
{
    return ConnectionText::server(qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN"), QString(), database,
                                  qEnvironmentVariable("VANTLE_TEST_MARIADB_USER"),
                                  qEnvironmentVariable("VANTLE_TEST_MARIADB_PASSWORD"));
}

// Empties a server database and creates its tables, then points the workstation at it.
void useServer(const QString &folder, const QString &prefix, const QString &database, Schema::Store store)
{
    auto cnn = Connection::open(serverText(database));
    Recordset tables = cnn->query(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE()"),
                                  Recordset::Kind::ForwardOnly);
    for (; !tables.EOF_(); tables.MoveNext())
        cnn->execute(QStringLiteral("DROP TABLE ") + tables.Fields(0).toString());
    for (const QString &ddl : Schema::createStatements(store, Schema::Engine::MariaDb))
        cnn->execute(ddl);
    for (const QString &row : ProgramFolder::initialRows(store, folder, false))
        cnn->execute(row);
    auto info = Connection::open(ConnectionText::file(folder + QStringLiteral("/INFO.MDB"), QString(), QString(), QString()));
    const auto set = [&](const QString &key, const QString &value) {
        info->execute(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD=") + SqlDialect::text(prefix + key));
        info->execute(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (%1, %2)")
                          .arg(SqlDialect::text(prefix + key), SqlDialect::text(value)));
    };
    set(QStringLiteral("_TYPE"), QStringLiteral("1"));
    set(QStringLiteral("_DSN"), qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN"));
    set(QStringLiteral("_NAME"), database);
    set(QStringLiteral("_USER"), qEnvironmentVariable("VANTLE_TEST_MARIADB_USER"));
    set(QStringLiteral("_PSWD"), qEnvironmentVariable("VANTLE_TEST_MARIADB_PASSWORD"));
}

// Rows in batches of 500 per statement, all in one transaction.
void insertRows(clsData &data, const QString &head, int count, const std::function<QString(int)> &values)
{
    data.Begintrans();
    for (int start = 1; start <= count; start += 500) {
        QStringList rows;
        for (int i = start; i < start + 500 && i <= count; ++i)
            rows << u'(' + values(i) + u')';
        data.EXEC(head + rows.join(u','));
    }
    data.CommitTrans();
}

void fill(double day)
{
    NoticeTables::Ensure(*gMst, QStringLiteral("M_FMR_NTC"));
    NoticeTables::Ensure(*gDb, QStringLiteral("D_NTC"));
    insertRows(*gMst, QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES "), Producers,
               [](int i) { return QStringLiteral("%1,'生産者 %1'").arg(i); });
    insertRows(*gMst, QStringLiteral("INSERT INTO M_FMR_NTC (FMR_ID, NTC_ADRS, NTC_FLG) VALUES "), Producers,
               [](int i) { return QStringLiteral("%1,'farmer%1@example.jp',1").arg(i); });
    const QString dtm = SqlDialect::date(day + 0.5);
    const QString date = SqlDialect::date(day);
    insertRows(*gDb, QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) VALUES "),
               Sales, [&](int i) { return QStringLiteral("%1,%1,%2,%3,3,900,1000,100").arg(i).arg(dtm, date); });
    QRandomGenerator random(17);
    QList<int> producerOf(Sales * LinesPerSale + 1);
    for (int &p : producerOf)
        p = int(random.bounded(Producers)) + 1;
    insertRows(*gDb,
               QStringLiteral("INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, O_PRC, D_PRC, PRC, QTY, "
                              "UNIT_ID, AMT) VALUES "),
               Sales * LinesPerSale, [&](int i) {
                   const int sale = (i - 1) / LinesPerSale + 1;
                   const int line = (i - 1) % LinesPerSale + 1;
                   return QStringLiteral("%1,%2,'4900000000017',1,'野菜 %3',%4,300,0,300,1,1,300")
                       .arg(sale).arg(line).arg(i % 20).arg(producerOf[i]);
               });
}

double medianMs(QList<qint64> nanos)
{
    std::sort(nanos.begin(), nanos.end());
    return nanos[nanos.size() / 2] / 1e6;
}

void run(const char *engine)
{
    const double day = DateValue::fromQDate(QDate::currentDate());
    fill(day);
    gMst->SaveCtrl(NoticeSettings::TimesKey, QStringLiteral("0:00"));
    gMst->SaveCtrl(NoticeSettings::ServerKey, QStringLiteral("127.0.0.1"));
    gMst->SaveCtrl(NoticeSettings::FromKey, QStringLiteral("shop@example.jp"));
    QList<qint64> select, compose;
    int due = 0;
    QElapsedTimer timer;
    for (int round = 0; round < Rounds; ++round) {
        timer.start();
        const QList<PlannedNotice> plan = NoticePlan::Plan(0, FmrNotice::Recipients(*gMst), DaySales::Read(*gDb, day),
                                                           NoticeLog::Read(*gDb, day));
        select << timer.nsecsElapsed();
        timer.start();
        due = 0;
        for (const PlannedNotice &p : plan) {
            if (p.decision != PlannedNotice::Decision::Send)
                continue;
            ++due;
            NoticeMessage::Compose({QStringLiteral("みのり直売所"), QStringLiteral("shop@example.jp"), p.to, p.sales,
                                    day, 0, day + 0.5});
        }
        compose << timer.nsecsElapsed();
    }
    TakingSender sender;
    timer.start();
    const NoticeRun::Summary s = NoticeRun(*gDb, *gMst).send(DateValue::fromQDateTime(QDateTime::currentDateTime()),
                                                             sender, QStringLiteral("bench"));
    const double whole = timer.nsecsElapsed() / 1e6;
    timer.start();
    const NoticeRun::Summary again = NoticeRun(*gDb, *gMst).send(DateValue::fromQDateTime(QDateTime::currentDateTime()),
                                                                 sender, QStringLiteral("bench"));
    const double second = timer.nsecsElapsed() / 1e6;
    std::printf("%s: %d producers, %d sales of %d lines; %d notices due\n", engine, Producers, Sales, LinesPerSale, due);
    std::printf("%s: selection (addresses, sales per producer and item, sent, plan)  median %8.1f ms (%d rounds)\n",
                engine, medianMs(select), Rounds);
    std::printf("%s: composing %d messages                                        median %8.1f ms\n", engine, due,
                medianMs(compose));
    std::printf("%s: whole run, sender taking each at once: %d sent in %.0f ms (%.2f ms a notice, %lld bytes)\n",
                engine, s.sent, whole, whole / std::max(1, s.sent), static_cast<long long>(sender.bytes));
    std::printf("%s: a second run in the same slot: %d sent in %.0f ms\n", engine, again.sent, second);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    RecordingPresenter quiet;
    MessagePresenter::install(&quiet);
    for (bool onServer : {false, true}) {
        if (onServer && qEnvironmentVariableIsEmpty("VANTLE_TEST_MARIADB_DSN")) {
            std::printf("MariaDB: skipped (VANTLE_TEST_MARIADB_DSN not set)\n");
            break;
        }
        QTemporaryDir dir;
        qputenv("VANTLE_HOME", dir.path().toUtf8());
        gLogPath.clear();
        if (const QString problem = ProgramFolder::create(dir.path(), false); !problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        try {
            if (onServer) {
                useServer(dir.path(), QStringLiteral("DB"), QStringLiteral("vantle_trn"), Schema::Store::Transaction);
                useServer(dir.path(), QStringLiteral("MST"), QStringLiteral("vantle_mst"), Schema::Store::Master);
            }
            InitObj();
            run(onServer ? "MariaDB" : "SQLite");
        } catch (const std::exception &e) {
            std::fprintf(stderr, "failed: %s\n", e.what());
            return 1;
        }
        if (!quiet.shown().isEmpty())
            std::fprintf(stderr, "message: %s\n", qPrintable(quiet.shown().first().prompt));
        ReleaseObj();
    }
    return 0;
}
