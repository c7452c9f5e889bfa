// What years of a large shop's history cost the register: a program folder with DAYS closed days of
// SALES sales (5 to 11 lines each, 1,500 producers, payment closings on the 15th and at the month end) and
// one more day rung up, on which are timed: the start to the calendar's data, the calendar's month change,
// the barcode lookup, storing a sale, the daily close of the day, its payment closing, the daily report,
// the transfer request, and the end-of-run backup beside a plain copy of the same file.
//
//   bench_history DAYS [SALES] [--folder DIR] [--no-backup]
//
// Without --folder the shop is built in a temporary folder and removed afterwards. With it, a folder built
// earlier with the same DAYS and SALES is used again (the day rung up is taken out at the end), otherwise
// it is built there; DIR must then not exist or be empty.
#include "HistoryShop.h"

#include "app/BackupDb.h"
#include "app/InitObj.h"
#include "app/StartUp.h"
#include "base/Clock.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "base/ProgressWindow.h"
#include "base/TerminalProgress.h"
#include "calendar/frmSetCal.h"
#include "checkout/GetBcdData.h"
#include "checkout/StoreSale.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/SchemaUpgrade.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/PainterSurface.h"
#include "settlement/AdjGrid.h"
#include "settlement/PayCls.h"
#include "settlement/SetCls.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

qint64 processorNanos()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double medianMs(QList<qint64> nanos)
{
    std::sort(nanos.begin(), nanos.end());
    const qsizetype n = nanos.size();
    return (n % 2 ? nanos[n / 2] : (nanos[n / 2 - 1] + nanos[n / 2]) / 2) / 1e6;
}

// The wall time of each run of a piece of work, and the processor time this program spent in it: on a
// machine that others share the wall time wanders with their load and their disk, the processor time
// much less.
struct Samples
{
    QList<qint64> wall;
    QList<qint64> processor;

    void run(const std::function<void()> &work)
    {
        const qint64 started = processorNanos();
        QElapsedTimer timer;
        timer.start();
        work();
        wall << timer.nsecsElapsed();
        processor << processorNanos() - started;
    }
};

void row(const char *figure, const Samples &s, const QString &note = QString())
{
    std::printf("  %-44s %10.3f ms  %10.3f ms cpu   %s\n", figure, medianMs(s.wall), medianMs(s.processor),
                qPrintable(note));
    std::fflush(stdout);
}

QString transactionFile(const QString &folder)
{
    return QDir(folder).filePath(ProgramFolder::TransactionFile);
}

// Drops the file's pages from the system's cache, so that the next start reads it from the disk.
void evict(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// The start as Main makes it, up to the calendar with the marks of its month.
std::unique_ptr<frmSetCal> startUp()
{
    InitObj();
    StartUp::UpgradeDatabases(Progress::none());
    gSalesDate = StartUp::ProposedSalesDate();
    return std::make_unique<frmSetCal>();
}

// The one place that stores a sale, as the register does on its last Enter.
void storeSale(const QList<DtlRec> &lines)
{
    RegRec reg;
    reg.DTL_CNT = qint32(lines.size()) - 1;
    for (const DtlRec &d : lines)
        reg.AMT_SUM += d.AMT;
    reg.RCV = reg.AMT_SUM;
    StoreSale(reg, lines, gSalesDate, *gDb, *gIni);
}

// Eight lines as the register holds them after their scans (the last slot blank).
QList<DtlRec> eightLines()
{
    QList<DtlRec> lines;
    for (int n = 1; n <= 8; ++n) {
        DtlRec d;
        d.BCD = QStringLiteral("%1%2012000").arg(n * 7, 3, 10, QLatin1Char('0')).arg(n * 101, 4, 10, QLatin1Char('0'));
        GetBcdData(d);
        d.DTL_NO = n;
        d.QTY = Currency::fromInt(1);
        d.AMT = d.PRC;
        lines << d;
    }
    lines << DtlRec();
    return lines;
}

QString barcodeToScan(QRandomGenerator &random)
{
    if (random.bounded(6) == 0)
        return QStringLiteral("%1%2012000").arg(1 + random.bounded(HistoryShop::Products), 3, 10, QLatin1Char('0'))
            .arg(1 + random.bounded(HistoryShop::Producers), 4, 10, QLatin1Char('0'));
    const int i = 1 + int(random.bounded(HistoryShop::Barcodes));
    return QStringLiteral("49") + QString::number(1000000000LL + i * 7LL).rightJustified(11, u'0');
}

// The file copied as a file manager copies it, in blocks of a megabyte; `onDisk` also waits until the
// copy is on the disk, as the backup does.
qint64 plainCopy(const QString &from, const QString &to, bool onDisk)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return -1;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (qint64 n; (n = in.read(buffer.data(), buffer.size())) > 0;)
        out.write(buffer.constData(), n);
    out.flush();
    if (onDisk)
        ::fsync(out.handle());
    return out.size();
}

void registerFigures(const HistoryShop::Shape &shape, const QString &folder, FixedClock &clock)
{
    const double today = DateValue::fromQDate(shape.today);
    const QString file = transactionFile(folder);
    // A folder built by an earlier version gets this version's indexes first (once).
    QStringList ran;
    Samples upgrade;
    upgrade.run([&] {
        if (const QString problem = SchemaUpgrade::upgradeFile(file, Schema::Store::Transaction, Progress::none(), &ran);
            !problem.isEmpty())
            std::printf("  upgrade failed: %s\n", qPrintable(problem));
    });
    if (!ran.isEmpty())
        row("upgrade of the file to this version's indexes", upgrade, ran.join(QStringLiteral("; ")));
    evict(file);
    Samples cold;
    cold.run([] { startUp(); ReleaseObj(); });
    row("start to the calendar's data, file not cached", cold);
    Samples starts;
    std::unique_ptr<frmSetCal> calendar;
    for (int i = 0; i < 5; ++i) {
        ReleaseObj();
        calendar.reset();
        starts.run([&calendar] { calendar = startUp(); });
    }
    row("start to the calendar's data", starts, QStringLiteral("median of 5"));

    // A month of the history is read from the disk the first time it is shown, from the cache after.
    Samples months, again;
    for (int i = 0; i < 12; ++i)
        months.run([&calendar] { calendar->cmdPREVClick(); });
    for (int i = 0; i < 12; ++i)
        again.run([&calendar] { calendar->cmdPOSTClick(); });
    row("calendar: month change, month first shown", months, QStringLiteral("median of 12, back a year"));
    row("calendar: month change", again, QStringLiteral("median of 12, the same months again"));
    calendar.reset();
    gSalesDate = today;

    QRandomGenerator random(7);
    Samples scans;
    for (int i = 0; i < 2000; ++i) {
        DtlRec d;
        d.BCD = barcodeToScan(random);
        scans.run([&d] { GetBcdData(d); });
    }
    row("GetBcdData", scans, QStringLiteral("median of 2,000"));

    const QList<DtlRec> lines = eightLines();
    Samples stores;
    for (int i = 0; i < 100; ++i)
        stores.run([&lines] { storeSale(lines); });
    row("store a sale of 8 lines", stores, QStringLiteral("median of 100"));

    AdjGrid grid;
    grid.InitFrm(*gDb, *gMst, today);
    clock.set(QDateTime(shape.today, QTime(18, 0)));
    Samples closes;
    for (int i = 0; i < 3; ++i) {
        closes.run([&grid, today] { SetCls(*gDb, grid, today, Clock::Now()); });
        if (i < 2) { // opened again, and its copies taken out, so that every close is the day's first
            CancelDailyAdj(*gDb, today);
            gDb->EXEC(QStringLiteral("DELETE B_REG_DTL.* FROM B_REG_DTL LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID "
                                     "WHERE B_REG.SALES_DATE=") + SqlDialect::date(today));
            gDb->EXEC(QStringLiteral("DELETE B_REG.* FROM B_REG WHERE SALES_DATE=") + SqlDialect::date(today));
        }
    }
    row("daily close", closes, QStringLiteral("median of 3, %1 sales").arg(shape.salesPerDay + 100));

    Samples payments;
    for (int i = 0; i < 3; ++i) {
        bool paid = false;
        payments.run([&paid] { paid = PayClsDue() && PayCls(*gDb, *gMst, gClsDate, gPayDate); });
        if (!paid)
            std::printf("  (the payment closing did not run)\n");
        if (i < 2) {
            const QString cls = SqlDialect::date(gClsDate);
            gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=NULL WHERE CLS_DATE=") + cls);
            gDb->EXEC(QStringLiteral("DELETE D_PAY_DTL.* FROM D_PAY_DTL WHERE CLS_DATE=") + cls);
            gDb->EXEC(QStringLiteral("DELETE D_PAY.* FROM D_PAY WHERE CLS_DATE=") + cls);
        }
    }
    row("payment closing", payments, QStringLiteral("median of 3, due check included"));

    // Both forms as the preview draws them, on a picture of an A4 page.
    const QSize a4(int(kPageWidthTwips / PictureSurface::TwipsPerPixel),
                   int(kPageHeightTwips / PictureSurface::TwipsPerPixel));
    Samples reports;
    for (int i = 0; i < 5; ++i)
        reports.run([&] { PictureSurface page(a4); PrintDailyRpt(page, 567, 567, today); });
    row("daily report", reports, QStringLiteral("median of 5, on the preview's picture"));
    Samples transfers;
    int pages = 0;
    for (int i = 0; i < 3; ++i)
        transfers.run([&] {
            PictureSurface page(a4);
            LoadTrnData(gClsDate);
            pages = TrnPageCount();
            for (int p = 1; p <= pages; ++p) {
                page.Cls();
                PrintBankTrnPage(page, 567, 567, p);
            }
        });
    row("transfer request", transfers, QStringLiteral("median of 3, all %1 pages").arg(pages));
    ReleaseObj();
}

void backupFigures(const QString &folder)
{
    const QString file = transactionFile(folder);
    const QString copy = QDir(folder).filePath(QStringLiteral("backup/copy.mdb"));
    QDir().mkpath(QDir(folder).filePath(QStringLiteral("backup")));
    Samples plain, synced, backups;
    for (int i = 0; i < 2; ++i) {
        plain.run([&] { plainCopy(file, copy, false); });
        QFile::remove(copy);
        synced.run([&] { plainCopy(file, copy, true); });
        QFile::remove(copy);
        backups.run([&] {
            if (const QString problem = BackupSqliteFile(file, copy); !problem.isEmpty())
                std::printf("  backup failed: %s\n", qPrintable(problem));
        });
        QFile::remove(copy);
    }
    row("plain copy of the file", plain, QStringLiteral("median of 2, %1 MB").arg(QFileInfo(file).size() >> 20));
    row("plain copy, written to the disk", synced, QStringLiteral("median of 2"));
    row("backup", backups, QStringLiteral("median of 2, %1 x the plain copy, %2 x the copy written to the disk")
                               .arg(medianMs(backups.wall) / medianMs(plain.wall), 0, 'f', 2)
                               .arg(medianMs(backups.wall) / medianMs(synced.wall), 0, 'f', 2));
    Samples windowed;
    windowed.run([&] {
        ProgressWindow window(kBackupCaption);
        BackupSqliteFile(file, copy, window);
    });
    QFile::remove(copy);
    row("backup with its window", windowed);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString folder;
    if (const qsizetype at = args.indexOf(QStringLiteral("--folder")); at >= 0 && at + 1 < args.size()) {
        folder = args.at(at + 1);
        args.remove(at, 2);
    }
    const bool backup = args.removeAll(QStringLiteral("--no-backup")) == 0;
    bool ok = !args.isEmpty();
    HistoryShop::Shape shape;
    shape.days = ok ? args.value(0).toInt(&ok) : 0;
    if (ok && args.size() > 1)
        shape.salesPerDay = args.value(1).toInt(&ok);
    if (!ok || shape.days < 0 || shape.salesPerDay < 1) {
        std::fputs("usage: bench_history DAYS [SALES] [--folder DIR] [--no-backup]\n", stderr);
        return 2;
    }
    shape.today = QDate(2030, 6, 15);
    QTemporaryDir temporary;
    if (folder.isEmpty())
        folder = temporary.filePath(QStringLiteral("shop"));
    folder = QDir(folder).absolutePath();

    std::printf("bench_history: %s\n", qPrintable(shape.describe()));
    if (!HistoryShop::holds(folder, shape)) {
        TerminalProgress progress(QStringLiteral("building the history, days"));
        QElapsedTimer built;
        built.start();
        if (const QString problem = HistoryShop::build(folder, shape, progress); !problem.isEmpty()) {
            std::fprintf(stderr, "cannot build %s: %s\n", qPrintable(folder), qPrintable(problem));
            return 1;
        }
        progress.finish();
        std::printf("  built in %.1f s\n", built.elapsed() / 1000.0);
    }
    std::printf("  %s: %lld MB\n", qPrintable(transactionFile(folder)), QFileInfo(transactionFile(folder)).size() >> 20);

    RecordingPresenter quiet;
    MessagePresenter::install(&quiet);
    FixedClock clock(QDateTime(shape.today, QTime(9, 0)));
    Clock::install(&clock);
    qputenv("VANTLE_HOME", QFile::encodeName(folder));
    try {
        HistoryShop::removeToday(folder, shape);
        HistoryShop::addToday(folder, shape);
        registerFigures(shape, folder, clock);
        HistoryShop::removeToday(folder, shape);
        if (backup)
            backupFigures(folder);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    for (const QString &prompt : quiet.prompts())
        std::printf("  message: %s\n", qPrintable(prompt));
    Clock::install(nullptr);
    return 0;
}
