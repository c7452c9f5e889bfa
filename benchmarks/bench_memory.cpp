// The memory of a register over a long day: one run rings up many sales (2,000 unless a number is given) on a
// temporary demo program folder with SQLite databases. The sales go through the register screen (frmReg,
// offscreen), driven by keys as the scanner and the cashier drive it: three to five lines a sale from the
// barcode master and in-store codes, now and then a returned article, the amount tendered, the change and the
// confirmation, which stores the sale through the registration routine and prints the receipt on the virtual
// receipt printer. With --store-only the screen is left out and the sales go straight to the registration
// routine. Printed: peak resident memory (VmHWM) and current resident memory (VmRSS) after 100 sales, at
// every further 500 and at the end, and the growth between 100 sales and the end.
#include "app/InitObj.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "checkout/GetBcdData.h"
#include "checkout/StoreSale.h"
#include "checkout/frmReg.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

struct Memory { long peakKb = 0; long residentKb = 0; };

Memory memoryNow()
{
    Memory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2)
            continue;
        if (parts[0] == "VmHWM:")
            m.peakKb = parts[1].toLong();
        else if (parts[0] == "VmRSS:")
            m.residentKb = parts[1].toLong();
    }
    return m;
}

void report(int sales, const Memory &m, double msPerSale)
{
    std::printf("%6d sales  peak (VmHWM) %7.1f MB  resident (VmRSS) %7.1f MB  %6.2f ms/sale\n", sales,
                m.peakKb / 1024.0, m.residentKb / 1024.0, msPerSale);
    std::fflush(stdout);
}

// The codes a sale is made of: the demo shop's barcode master and in-store codes built from its products and
// producers (product 3 digits, producer 4, price in tens of yen 4, two digits not read).
struct Codes {
    QStringList master;
    QStringList inStore;
};

Codes codesOfTheShop()
{
    Codes c;
    Recordset rs = gMst->GetStaticRst(QStringLiteral("SELECT BCD, PRD_ID, FMR_ID FROM M_PRD_BCD ORDER BY BCD"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        c.master << rs.Fields(0).toString();
        const int product = rs.Fields(1).toLong();
        const int producer = rs.Fields(2).toLong();
        if (product < 1000 && producer < 10000 && c.inStore.size() < 50)
            c.inStore << QStringLiteral("%1%2%3%4")
                             .arg(product, 3, 10, QLatin1Char('0'))
                             .arg(producer, 4, 10, QLatin1Char('0'))
                             .arg(10 + c.inStore.size() * 7, 4, 10, QLatin1Char('0'))
                             .arg(QStringLiteral("00"));
    }
    return c;
}

// One sale's scans: a code and whether the article is returned.
struct Scan { QString code; bool returned; };

QList<Scan> saleOf(const Codes &codes, QRandomGenerator &random, int sale)
{
    QList<Scan> scans;
    const int lines = 3 + int(random.bounded(3));
    for (int i = 0; i < lines; ++i) {
        const bool inStore = !codes.inStore.isEmpty() && random.bounded(4) == 0;
        const QStringList &list = inStore ? codes.inStore : codes.master;
        // A return in every tenth sale, never its first line, so that the total stays positive.
        scans.append({list.at(int(random.bounded(list.size()))), sale % 10 == 9 && i == lines - 1});
    }
    return scans;
}

class ScreenRegister
{
public:
    ScreenRegister()
    {
        m_form.resize(1020, 752);
        m_form.show();
        m_form.activateWindow();
        if (!QTest::qWaitForWindowExposed(&m_form))
            std::fputs("the register screen was not exposed\n", stderr);
    }

    // Rings up one sale by keys; false when the sale was not stored.
    bool ring(const QList<Scan> &scans)
    {
        const qint32 before = m_form.mLastRegId();
        for (const Scan &s : scans) {
            if (s.returned)
                type(QStringLiteral("-"));
            type(s.code);
            key(Qt::Key_Return);
        }
        // The amount tendered: the total rounded up to the next thousand yen.
        const qint64 total = m_form.lblSUM->text().remove(u',').toLongLong();
        // Payment: Enter on the empty barcode, or (a sale that sums to nothing) a click on the amount tendered.
        if (total != 0)
            key(Qt::Key_Return);
        else
            QTest::mouseClick(m_form.lblRCV, Qt::LeftButton);
        type(QString::number((std::max<qint64>(total, 0) / 1000 + 1) * 1000));
        key(Qt::Key_Enter);             // the change is shown
        key(Qt::Key_Return);            // confirmed: stored and printed
        QCoreApplication::processEvents();
        const bool stored = m_form.mLastRegId() != before && m_form.RegMode() == frmReg::ScanMode;
        if (!stored) {
            QStringList codes;
            for (const Scan &s : scans)
                codes << (s.returned ? QStringLiteral("-") : QString()) + s.code;
            std::fprintf(stderr, "not stored: mode %d, lines %d, total %s, change %s, codes %s\n", m_form.RegMode(),
                         int(m_form.mDtlCnt()), qPrintable(m_form.lblSUM->text()),
                         qPrintable(m_form.lblCHG->text()), qPrintable(codes.join(u' ')));
            key(Qt::Key_F4);            // the sale is cancelled and the next one starts afresh
        }
        return stored;
    }

private:
    QWidget *target() { return QApplication::focusWidget() ? QApplication::focusWidget() : &m_form; }
    void type(const QString &text) { QTest::keyClicks(target(), text); }
    void key(Qt::Key k) { QTest::keyClick(target(), k); }

    frmReg m_form;
};

// The same sale without the screen: the lines as the screen builds them, stored by the registration routine.
bool storeDirectly(const QList<Scan> &scans)
{
    RegRec reg;
    QList<DtlRec> lines;
    Currency sum;
    for (const Scan &s : scans) {
        DtlRec d;
        d.BCD = PaddedBarcode(s.code);
        if (GetBcdData(d) < 0)
            continue;
        d.DTL_NO = qint32(lines.size() + 1);
        d.QTY = Currency::fromInt(s.returned ? -1 : 1);
        d.AMT = d.PRC * d.QTY;
        sum += d.AMT;
        lines << d;
    }
    lines << DtlRec();
    reg.DTL_CNT = qint32(lines.size() - 1);
    reg.AMT_SUM = sum;
    reg.RCV = Currency::fromInt((std::max<int64_t>(sum.wholePart(), 0) / 1000 + 1) * 1000);
    reg.CHG = reg.RCV - sum;
    return StoreSale(reg, lines, gSalesDate, *gDb, *gIni) > 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool storeOnly = args.removeAll(QStringLiteral("--store-only")) > 0;
    const int total = args.isEmpty() ? 2000 : args.first().toInt();
    if (total < 100) {
        std::fputs("usage: bench_memory [SALES >= 100] [--store-only]\n", stderr);
        return 2;
    }

    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("register"));
    const QString prints = dir.filePath(QStringLiteral("prints"));
    qputenv("VANTLE_HOME", home.toUtf8());
    qputenv("VANTLE_PRINT_DIR", prints.toUtf8());
    // Nothing must wait for an answer; a message shown is reported at the end.
    RecordingPresenter messages;
    MessagePresenter::install(&messages);
    const QString problem = ProgramFolder::create(home, true);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    InitObj();
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    const Codes codes = codesOfTheShop();
    if (codes.master.isEmpty()) {
        std::fputs("the demo masters hold no barcodes\n", stderr);
        return 1;
    }
    std::printf("%d sales %s on SQLite, %lld master codes, %lld in-store codes\n", total,
                storeOnly ? "stored by the registration routine (no screen)" : "rung up on the register screen (offscreen)",
                qint64(codes.master.size()), qint64(codes.inStore.size()));
    report(0, memoryNow(), 0);

    int failed = 0;
    Memory at100, atEnd;
    {
        std::unique_ptr<ScreenRegister> screen;
        if (!storeOnly)
            screen = std::make_unique<ScreenRegister>();
        QRandomGenerator random(20240401);
        QElapsedTimer timer;
        timer.start();
        qint64 lastMs = 0;
        int lastCount = 0;
        for (int sale = 0; sale < total; ++sale) {
            const QList<Scan> scans = saleOf(codes, random, sale);
            const bool stored = screen ? screen->ring(scans) : storeDirectly(scans);
            if (!stored)
                ++failed;
            // Every receipt the virtual printer wrote is taken away, as paper leaves the printer.
            if ((sale + 1) % 100 == 0) {
                QDir folder(prints);
                for (const QString &file : folder.entryList(QDir::Files))
                    folder.remove(file);
            }
            const int done = sale + 1;
            if (done == 100 || done % 500 == 0 || done == total) {
                const qint64 now = timer.elapsed();
                const Memory m = memoryNow();
                report(done, m, double(now - lastMs) / (done - lastCount));
                lastMs = now;
                lastCount = done;
                if (done == 100)
                    at100 = m;
                atEnd = m;
            }
        }
    }
    const qint32 stored = gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QString()).toLong();
    const qint32 lines = gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG_DTL"), QString()).toLong();
    std::printf("stored: %d sales, %d lines; not stored: %d; messages shown: %lld\n", stored, lines, failed,
                qint64(messages.shown().size()));
    for (const QString &prompt : messages.prompts().mid(0, 5))
        std::printf("  message: %s\n", qPrintable(prompt));
    std::printf("growth from 100 to %d sales: resident %+.1f MB, peak %+.1f MB\n", total,
                (atEnd.residentKb - at100.residentKb) / 1024.0, (atEnd.peakKb - at100.peakKb) / 1024.0);
    ReleaseObj();
    MessagePresenter::install(nullptr);
    return failed == 0 && stored == total ? 0 : 1;
}
