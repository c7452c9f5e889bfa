// What a scan and a stored sale cost at the register, on a master of 100,000 barcodes, 999 products and
// 2,000 producers, with durable commits: the barcode lookup for a master code and for an in-store code
// (median and 99th percentile), the storing of a 20-line sale, and the same 21 rows inserted by plain SQL
// in one transaction on the same connection. SQLite always; the MariaDB server too when
// VANTLE_TEST_MARIADB_DSN (with _USER and _PASSWORD) names one, whose databases vantle_trn and vantle_mst
// are emptied and filled.
#include "app/InitObj.h"
#include "base/Common.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "checkout/GetBcdData.h"
#include "checkout/StoreSale.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Barcodes = 100000;
constexpr int Products = 999;
constexpr int Producers = 2000;
constexpr int Lookups = 20000;
constexpr int Sales = 200;
constexpr int LinesPerSale = 20;

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

QString masterCode(int i)
{
    return QStringLiteral("45%1").arg(qint64(i) * 7919 % 100000000000LL, 11, 10, QLatin1Char('0'));
}

// Rows in batches of 500 per statement, all in one transaction.
void insertRows(const QString &head, int count, const std::function<QString(int)> &values)
{
    gMst->Begintrans();
    for (int start = 1; start <= count; start += 500) {
        QStringList rows;
        for (int i = start; i < start + 500 && i <= count; ++i)
            rows << u'(' + values(i) + u')';
        gMst->EXEC(head + rows.join(u','));
    }
    gMst->CommitTrans();
}

void fillMasters()
{
    insertRows(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES "), Producers,
               [](int i) { return QStringLiteral("%1,'生産者 %1'").arg(i); });
    insertRows(QStringLiteral("INSERT INTO M_PRD (PRD_ID, PRD_NM) VALUES "), Products,
               [](int i) { return QStringLiteral("%1,'商品 %1'").arg(i); });
    insertRows(QStringLiteral("INSERT INTO M_PRD_BCD (BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID) VALUES "), Barcodes,
               [](int i) {
                   return QStringLiteral("'%1',%2,%3,'登録品 %4',%5,1")
                       .arg(masterCode(i)).arg(i % Products + 1).arg(i % Producers + 1).arg(i).arg(100 + i % 900);
               });
}

struct Figures { double median; double p99; };

Figures figuresOf(QList<qint64> nanos)
{
    std::sort(nanos.begin(), nanos.end());
    return {nanos[nanos.size() / 2] / 1000.0, nanos[std::min<qsizetype>(nanos.size() - 1, nanos.size() * 99 / 100)] / 1000.0};
}

Figures timeLookups(const std::function<QString(QRandomGenerator &)> &code, qint64 &checksum)
{
    QRandomGenerator random(42);
    QList<qint64> nanos;
    nanos.reserve(Lookups);
    QElapsedTimer timer;
    for (int i = 0; i < Lookups; ++i) {
        DtlRec d;
        d.BCD = code(random);
        timer.start();
        const qint32 r = GetBcdData(d);
        nanos << timer.nsecsElapsed();
        checksum += r + d.PRC.wholePart();
    }
    return figuresOf(nanos);
}

QList<DtlRec> twentyLines()
{
    QList<DtlRec> lines;
    for (int n = 1; n <= LinesPerSale; ++n) {
        DtlRec d;
        d.BCD = masterCode(n);
        GetBcdData(d);
        d.DTL_NO = n;
        d.QTY = Currency::fromInt(n % 3 == 0 ? -1 : 1);
        d.AMT = d.PRC * d.QTY;
        lines << d;
    }
    lines << DtlRec();
    return lines;
}

void run(const char *engine)
{
    fillMasters();
    qint64 checksum = 0;
    const Figures master = timeLookups([](QRandomGenerator &r) { return masterCode(int(r.bounded(Barcodes)) + 1); }, checksum);
    const Figures inStore = timeLookups([](QRandomGenerator &r) {
        return QStringLiteral("%1%2%3%4")
            .arg(int(r.bounded(Products)) + 1, 3, 10, QLatin1Char('0'))
            .arg(int(r.bounded(Producers)) + 1, 4, 10, QLatin1Char('0'))
            .arg(int(r.bounded(10000)), 4, 10, QLatin1Char('0'))
            .arg(QStringLiteral("00"));
    }, checksum);

    const QList<DtlRec> lines = twentyLines();
    RegRec header;
    header.DTL_CNT = LinesPerSale;
    for (const DtlRec &d : lines)
        header.AMT_SUM += d.AMT;
    QList<qint64> store;
    QList<qint64> raw;
    QElapsedTimer timer;
    Connection &cnn = *gDb->connection();
    for (int i = 0; i < Sales; ++i) {
        RegRec reg = header;
        timer.start();
        StoreSale(reg, lines, gSalesDate, *gDb, *gIni, gMst.get());
        store << timer.nsecsElapsed();

        // The same rows by hand: one transaction, 21 plain inserts, no numbering, no tax rows.
        RegRec plain = header;
        plain.REG_ID = 1000000 + i;
        plain.REG_NO = 1000000 + i;
        plain.REG_DTM = plain.SALES_DATE = gSalesDate;
        timer.start();
        cnn.begin();
        cnn.execute(SaleHeaderInsert(plain));
        for (const DtlRec &d : lines)
            if (d.DTL_NO != 0)
                cnn.execute(SaleLineInsert(plain.REG_ID, d));
        cnn.commit();
        raw << timer.nsecsElapsed();
    }
    const Figures s = figuresOf(store);
    const Figures r = figuresOf(raw);
    std::printf("%s: GetBcdData master code   median %8.1f us   p99 %8.1f us   (%d lookups)\n", engine, master.median,
                master.p99, Lookups);
    std::printf("%s: GetBcdData in-store code median %8.1f us   p99 %8.1f us   (%d lookups)\n", engine, inStore.median,
                inStore.p99, Lookups);
    std::printf("%s: store a %d-line sale      median %8.1f us   p99 %8.1f us   (%d sales)\n", engine, LinesPerSale,
                s.median, s.p99, Sales);
    std::printf("%s: same 21 rows, raw SQL     median %8.1f us   p99 %8.1f us   ratio %.2f\n", engine, r.median, r.p99,
                s.median / r.median);
    std::printf("%s: (checksum %lld)\n", engine, static_cast<long long>(checksum));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    RecordingPresenter quiet;
    MessagePresenter::install(&quiet);
    gSalesDate = DateValue::fromParts(2024, 4, 1);
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
