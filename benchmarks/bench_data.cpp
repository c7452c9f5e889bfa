// How much the data layer adds to a lookup: DLookup and DCount on an indexed key of a 100,000-row table,
// against the same statement through Qt's SQLite driver directly and through the SQLite library itself.
#include "app/InitObj.h"
#include "base/MessagePresenter.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/clsDb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int Rows = 100000;
constexpr int Lookups = 20000;

void fillSales()
{
    gDb->Begintrans();
    for (int id = 1; id <= Rows; ++id)
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                                 "VALUES (%1,%1,#2024-04-01 09:00:00#,#2024-04-01 00:00:00#,1,%2,%2,0)")
                      .arg(id).arg(100 + id % 900));
    gDb->CommitTrans();
}

template <typename F>
double microsecondsPerCall(F &&call)
{
    QRandomGenerator random(42);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Lookups; ++i)
        call(int(random.bounded(Rows)) + 1);
    return timer.nsecsElapsed() / 1000.0 / Lookups;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("VANTLE_HOME", dir.path().toUtf8());
    RecordingPresenter quiet;
    MessagePresenter::install(&quiet);
    if (const QString problem = ProgramFolder::create(dir.path(), false); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    InitObj();
    fillSales();
    long checksum = 0;

    const double lookup = microsecondsPerCall([&](int id) {
        checksum += gDb->DLookup(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG"), QStringLiteral("REG_ID=%1").arg(id)).toLong();
    });
    const double count = microsecondsPerCall([&](int id) {
        checksum += gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("REG_ID=%1").arg(id)).toLong();
    });

    QSqlDatabase qt = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
    qt.setDatabaseName(dir.filePath(ProgramFolder::TransactionFile));
    qt.open();
    const double qtRaw = microsecondsPerCall([&](int id) {
        QSqlQuery q(qt);
        q.setForwardOnly(true);
        q.exec(QStringLiteral("SELECT AMT_SUM FROM D_REG WHERE REG_ID=%1").arg(id));
        if (q.next())
            checksum += q.value(0).toLongLong();
    });

    sqlite3 *db = nullptr;
    sqlite3_open(dir.filePath(ProgramFolder::TransactionFile).toUtf8().constData(), &db);
    const double cRaw = microsecondsPerCall([&](int id) {
        const QByteArray sql = QStringLiteral("SELECT AMT_SUM FROM D_REG WHERE REG_ID=%1").arg(id).toUtf8();
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW)
            checksum += sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    });
    sqlite3_close(db);

    std::printf("table D_REG, %d rows; %d lookups each on the key REG_ID (checksum %ld)\n", Rows, Lookups, checksum);
    std::printf("DLookup                     %8.2f us/call\n", lookup);
    std::printf("DCount                      %8.2f us/call\n", count);
    std::printf("Qt SQLite driver, raw query %8.2f us/call\n", qtRaw);
    std::printf("SQLite library, raw query   %8.2f us/call\n", cRaw);
    std::printf("ratio DLookup / Qt raw      %8.2f\n", lookup / qtRaw);
    std::printf("ratio DCount / Qt raw       %8.2f\n", count / qtRaw);
    std::printf("ratio DLookup / SQLite raw  %8.2f\n", lookup / cRaw);
    ReleaseObj();
    return 0;
}
